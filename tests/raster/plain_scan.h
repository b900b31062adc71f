// The Flat and Phong draw modes read plainly from their rules, for comparison
// with __RasterScene: the scene loop's face test and edge layer, the set-up,
// and the scan conversion with its caps, bands, spans and previous-pixel
// record. Every walk runs in full, every pixel is depth-tested on its own,
// interpolated when the rules say so and shaded through _RenderOnePixelFunc,
// and the record is written at each pixel as it is passed.
#pragma once
#include "renderer/raster/rasterize.h"

// One front pass of draw mode 3 (Flat) or 6 (Phong) over the scene, with the
// module state as __RasterScene leaves it during a call: ZBuff (Zwidth x
// Zheight), _Stride, MaxChannel and, with _Quality, the three working
// layers. Reads _Quality, _UsePhong2, _DubleSide and _UseMultyRefract; no
// perspective (_Persp_Val 0).
void PlainScene(int mode, unsigned char* dst, unsigned char* src, int triangleCount,
                __Triangle3ds* triangles, __Point3ds* points, int centerX, int centerY,
                int materialCount, material3ds* materials, __Texture* textures, int lightCount,
                light3ds* lights, GlassProp* glass);
