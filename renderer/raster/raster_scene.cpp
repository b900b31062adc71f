// __RasterScene and __RasterSolid: the frame set-up, the buffers of one call
// and the draw-mode switch.
//
// Buffers of one __RasterScene (draw mode not 0): the depth buffer (unless
// an adopted one of the frame's size is installed), the default light (when
// the scene has no light and none is set), the three working layers, the
// glass background, the glass depth buffer and, when the scene is drawn
// band by band, the lists of the triangles of each band. They are taken all
// or nothing: when any of them cannot be had, those already taken are released,
// no state changes, nothing is drawn and RasterSceneOutOfMemory() reports it.
#include <cstring>

#include "platform/page_memory.h"
#include "renderer/raster/raster_internal.h"
#include "renderer/raster/scene_bands.h"

namespace {

bool lastCallOutOfMemory = false;

// Every byte 0xFE makes every float -1.6947395e38: farther than any depth.
constexpr int CLEARED_DEPTH_BYTE = 0xFE;

void SetFrameDepth() { MaxChannel = _Deep ? 32768 : 255; }

using SceneLoop = void (*)(VELARRA_SCENE_LOOP_ARGS);

// The scene loop of a draw mode; modes 4, 5, 7 and 11..255 have none and
// draw nothing (their buffers are still made and released).
SceneLoop SceneLoopOf(unsigned char drawMode) {
  switch (drawMode) {
    case 1: return RasterSceneLine;
    case 2: return RasterSceneWire;
    case 3: return RasterSceneFlat;
    case 6: return RasterScenePhong;
    case 8: return RasterScenePatches;
    case 9: return RasterSceneBezier;
    case 10: return RasterSceneContour;
    default: return nullptr;
  }
}

// Whether a pixel of this call may read the glass background (_BackImage)
// and, with `multiple`, the glass depths (ZBuff2) with what they start with.
// Only the glass step of the default per-pixel function reads them, for an
// enabled record it applies (record 0 without materials, else those below
// the count); the start values only with multiple refraction (after a
// back-face pass the background is the frame instead). Another per-pixel
// function may read anything.
bool GlassBuffersRead(int materialCount, const GlassProp* glass, bool multiple) {
  if (_RenderOnePixelFunc != RenderOnePixel) return true;
  if (glass == nullptr || (multiple && _UseMultyRefract == 0)) return false;
  const int records = materialCount < 1 ? 1 : materialCount;
  for (int k = 0; k < records; ++k)
    if (glass[k].enabled) return true;
  return false;
}

// Whether triangles of this call are drawn alone into the edge layer and
// merged: the Flat and Phong modes with high quality, Patches and Bezier
// always.
bool DrawsThroughEdgeLayer() {
  switch (_DrawMode) {
    case 3:
    case 6: return _Quality != 0;
    case 8:
    case 9: return true;
    default: return false;
  }
}

// Whether the Flat and Phong scene loops may draw this call band by band
// (scene_bands.cpp): the default per-pixel function without glass, whose
// steps on a row read that row alone, and walks clipped to the frame.
bool DrawnByBands(int materialCount, const GlassProp* glass) {
  return (_DrawMode == 3 || _DrawMode == 6) && gRasterClipWalks &&
         _RenderOnePixelFunc == RenderOnePixel && !GlassBuffersRead(materialCount, glass, false);
}

}  // namespace

bool RasterSceneOutOfMemory() { return lastCallOutOfMemory; }

void __RasterScene(unsigned char* dst, unsigned char* src, int width, int height, int stride,
                   int pointCount, int triangleCount, __Triangle3ds* triangles, __Point3ds* points,
                   int centerX, int centerY, int materialCount, material3ds* materials,
                   __Texture* textures, int lightCount, light3ds* lights, GlassProp* glass) {
  lastCallOutOfMemory = false;
  _Stride = stride;
  SetFrameDepth();
  const uint64_t bytesPerValue = _Deep ? 2 : 1;

  if (_DrawMode == 0) {
    // Rough outlines: one pass, no depth, no layers, no light; the back-face
    // switch stays off after the call.
    _DrawBackFaces = 0;
    _DrawBackFaces1 = 0;
    RasterSceneRough(dst, src, width, height, pointCount, triangleCount, triangles, points, centerX,
                     centerY, materialCount, materials, textures, lightCount, lights, glass);
    _OwnZBuff = 0;
    return;
  }
  // No frame, or rows shorter than a frame row: nothing to draw. Pixels are
  // addressed by the stride, so with rows of fewer than 4 x width channel
  // values the right-hand pixels of the last rows, and the whole-layer copies
  // of src and dst, would lie past buffers of height rows of the stride.
  if (width <= 0 || height <= 0 || !RowsFit(stride, width)) return;

  // The layers cover height rows of the stride (4 x width, as the callers
  // pass it; a wider stride must not address past them).
  const uint64_t pixelCount = uint64_t(width) * uint64_t(height);
  const uint64_t depthBytes = pixelCount * sizeof(float);
  const uint64_t layerBytes = uint64_t(stride) * uint64_t(height) * bytesPerValue;

  // Take every buffer first, in this order, and stop at the first that
  // cannot be had; commit nothing until all are there. Only what is read
  // before it is written is taken zeroed (see the fills below).
  const bool ownDepth = !(ZBuff != nullptr && Zwidth == width && Zheight == height);
  const bool ownLight = _LightDef == nullptr && lightCount == 0;
  const bool glassReads = GlassBuffersRead(materialCount, glass, true);
  const bool layered = DrawsThroughEdgeLayer();
  // Drawn by bands (scene_bands.h), the depths of a buffer of our own and
  // the layers that start zero are cleared a band at a time, as it starts.
  SceneBands bands{0, 0, nullptr, nullptr, nullptr, false, false};
  if (DrawnByBands(materialCount, glass)) {
    bands.rows = SceneBandRows(width, _Deep != 0, layered);
    bands.count = (height - 1) / bands.rows + 1;
  }
  const bool banded = bands.count > 1;
  bool failed = false;
  auto take = [&failed](uint64_t bytes, bool zeroed) -> void* {
    if (failed) return nullptr;
    void* block = zeroed ? PageAlloc(bytes) : PageAllocForOverwrite(bytes);
    failed = block == nullptr;
    return block;
  };
  float* depth = ownDepth ? static_cast<float*>(take(depthBytes, false)) : nullptr;
  light3ds* light = ownLight ? static_cast<light3ds*>(take(sizeof(light3ds), true)) : nullptr;
  unsigned char* edge = static_cast<unsigned char*>(take(layerBytes, layered && !banded));
  unsigned char* frag = static_cast<unsigned char*>(take(layerBytes, layered && !banded));
  unsigned char* under = static_cast<unsigned char*>(take(layerBytes, false));
  unsigned char* back = static_cast<unsigned char*>(take(layerBytes, glassReads && src == nullptr));
  float* depth2 = static_cast<float*>(take(depthBytes, false));
  if (banded) {
    const uint64_t entries =
        uint64_t(SceneBandEntries(pointCount, triangleCount, triangles, points, centerY, height, bands.rows));
    bands.start = static_cast<int*>(take((2 * uint64_t(bands.count) + 1 + entries) * sizeof(int), false));
    if (bands.start != nullptr) {
      bands.cleared = bands.start + bands.count + 1;
      bands.entries = bands.cleared + bands.count;
      std::fill(bands.cleared, bands.cleared + bands.count, 0);
      bands.clearLayers = layered;
    }
  }
  if (failed) {
    PageFree(depth);
    PageFree(light);
    PageFree(edge);
    PageFree(frag);
    PageFree(under);
    PageFree(back);
    PageFree(depth2);
    PageFree(bands.start);
    lastCallOutOfMemory = true;
    return;
  }

  // Depth buffer: an adopted buffer of this size is used as it stands;
  // otherwise one of our own, cleared (an adopted one of another size is
  // released: it came from the same page allocator).
  if (ownDepth) {
    PageFree(ZBuff);
    Zwidth = width;
    Zheight = height;
    ZBuff = depth;
    if (!banded) std::memset(ZBuff, CLEARED_DEPTH_BYTE, depthBytes);
    bands.clearDepth = banded;
    _OwnZBuff = 1;
  } else {
    _OwnZBuff = 0;
  }

  // Default light, fresh zeroed page: empty name, the rest set here.
  if (ownLight) {
    light->x = 200.0f;
    light->y = 200.0f;
    light->z = 1000.0f;
    light->color[0] = light->color[1] = light->color[2] = 1.0f;
    light->multiplier = 1.0f;
    _LightDef = light;
    _OwnLightDef = 1;
  } else {
    _OwnLightDef = 0;
  }

  // The edge layer and the recorded fragments start zero where triangles
  // are drawn through the edge layer (by bands: as a band starts);
  // nothing reads them otherwise. The
  // colour under a fragment is read only where a fragment has been recorded,
  // which writes it first. The glass background is the source and the glass
  // depths are cleared when glass can read them; otherwise neither is read
  // (a back-face pass copies the frame over the background before its front
  // pass reads it).
  gSceneBands = bands;
  _DestImage = dst;
  _EdgeLayer = edge;
  _FragLayer = frag;
  _UnderLayer = under;
  _BackImage = back;
  ZBuff2 = depth2;
  if (glassReads) {
    if (src != nullptr) std::memcpy(_BackImage, src, layerBytes);
    std::memset(ZBuff2, CLEARED_DEPTH_BYTE, depthBytes);
  }

  // The first pass is the back-face pass when the switch is on. The layers
  // and ZBuff2 are kept between the passes.
  _DrawBackFaces1 = _DrawBackFaces != 0 ? 1 : 0;
  const SceneLoop loop = SceneLoopOf(_DrawMode);
  if (loop != nullptr)
    loop(dst, src, width, height, pointCount, triangleCount, triangles, points, centerX, centerY,
         materialCount, materials, textures, lightCount, lights, glass);
  if (_DrawBackFaces1) {
    // The front pass's glass refracts the back faces just drawn; a depth
    // buffer of our own starts afresh, an adopted one keeps their depths.
    if (GlassBuffersRead(materialCount, glass, false)) std::memcpy(_BackImage, dst, layerBytes);
    _DrawBackFaces1 = 0;
    if (_OwnZBuff) {
      if (gSceneBands.clearDepth)
        ResetBandDepths(gSceneBands);
      else
        std::memset(ZBuff, CLEARED_DEPTH_BYTE, depthBytes);
    }
    if (loop != nullptr)
      loop(dst, src, width, height, pointCount, triangleCount, triangles, points, centerX, centerY,
           materialCount, materials, textures, lightCount, lights, glass);
  }

  PageFree(_EdgeLayer);
  PageFree(_FragLayer);
  PageFree(_UnderLayer);
  PageFree(_BackImage);
  PageFree(ZBuff2);
  PageFree(gSceneBands.start);
  gSceneBands = SceneBands{0, 0, nullptr, nullptr, nullptr, false, false};
  _EdgeLayer = _FragLayer = _UnderLayer = _BackImage = nullptr;
  ZBuff2 = nullptr;
  _DestImage = nullptr;
  if (_OwnZBuff) {
    PageFree(ZBuff);
    ZBuff = nullptr;  // Zwidth and Zheight keep the frame size
  }
  if (_OwnLightDef) {
    PageFree(_LightDef);
    _LightDef = nullptr;
  }
  _OwnZBuff = 0;
  _OwnLightDef = 0;
}

void __RasterSolid(unsigned char* dst, int width, int height, int stride, int pointCount,
                   int triangleCount, __Triangle3ds* triangles, __Point3ds* points, int centerX,
                   int centerY, float c0, float c1, float c2, float opacity) {
  _Stride = stride;
  // An adopted depth buffer no longer matches a frame of another size: it is
  // detached (it stays the caller's), so no later call uses it at that size.
  if (ZBuff != nullptr && (Zwidth != width || Zheight != height)) ZBuff = nullptr;
  Zwidth = width;
  Zheight = height;
  SetFrameDepth();
  // Rows shorter than a frame row (negative ones too) would place pixels
  // outside the buffer's height rows of the stride.
  if (!FrameRowsFit()) return;
  RasterSolidTriangles(dst, width, height, pointCount, triangleCount, triangles, points, centerX,
                       centerY, c0, c1, c2, opacity);
}
