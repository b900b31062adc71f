// Renderer module internals shared by the rasteriser, the scene loops, the
// pixel writers and the per-pixel shading. Not exported.
//
// Module state (defined in renderer/raster/state.cpp, constant-initialised):
// the working layers and ZBuff2 are valid only during one __RasterScene
// call; between calls they refer to nothing.
#pragma once
#include <cstdint>
#include <cstring>

#include "renderer/raster/matrix.h"  // Matrix3Det of the scan conversion
#include "renderer/renderer.h"

// Largest channel value: 255, or 32768 (0x8000) with 16 bits a channel.
// Set by __RasterScene and __RasterSolid.
extern int MaxChannel;
// Row length of dst, src and every layer in channel values (4 * width).
extern int _Stride;

extern unsigned char* _EdgeLayer;   // current triangle alone (edge compositing)
extern unsigned char* _FragLayer;   // recorded fragment colour + greatest coverage
extern unsigned char* _UnderLayer;  // colour under the recorded fragment
extern unsigned char* _DestImage;   // the frame of the current call (dst)
extern unsigned char* _BackImage;   // glass background: copy of src, then of dst
extern float* ZBuff2;               // glass depths (multiple refraction)
extern light3ds* _LightDef;         // light used when a scene has none
extern unsigned char _OwnZBuff;     // this call allocated ZBuff
extern unsigned char _OwnLightDef;  // this call allocated _LightDef
extern __Point3ds* _SortPoints;     // the point array during __Sort only
extern RenderOnePixelFunc _RenderOnePixelFunc;  // per-pixel function in use

// The default per-pixel function (renderer/shading/render_one_pixel.cpp).
float RenderOnePixel(float centerX, float centerY, unsigned char* dst, unsigned char* src,
                     float px, float py, float pz, __Triangle3ds* tri, material3ds* materials,
                     int materialCount, float& out0, float& out1, float& out2, __Point* normal,
                     unsigned char textured, float u, float v, __Texture* textures,
                     int lightCount, light3ds* lights, __PrevInfo* prev, GlassProp* glass,
                     float planeA, float planeB, float planeC, float planeD);

// Channel index of pixel (x, y), channel c, in dst, src and every layer.
// 64-bit: 4 * width * height exceeds 32 bits for very large frames.
inline int64_t ChannelIndex(int x, int y, int c) {
  return int64_t(y) * _Stride + int64_t(4) * x + c;
}

// True when every pixel of a frame `width` pixels wide lies within its own
// row of the stride, so within the frame's height rows of it; FrameRowsFit
// for the frame the last call set (_Stride, Zwidth).
inline bool RowsFit(int stride, int width) { return int64_t(stride) >= int64_t(4) * width; }
inline bool FrameRowsFit() { return RowsFit(_Stride, Zwidth); }

// Float to int toward zero without undefined behaviour: NaN and values below
// the int range give INT_MIN, values above it INT_MAX (both outside every
// frame, so a pixel address made from them is clipped).
inline int TruncToInt(double v) {
  if (!(v > -2147483648.0)) return INT32_MIN;
  if (v >= 2147483647.0) return INT32_MAX;
  return int(v);
}

// ---------------------------------------------------------------------------
// Pixel writers and channel access (renderer/raster/pixel_writers.cpp).
// ---------------------------------------------------------------------------

// Implicit line A x + B y + C = 0 through (x0, y0) and (x1, y1);
// A^2 + B^2 is the squared length of the edge.
void LineCoefficients(float x0, float y0, float x1, float y1, float& A, float& B, float& C);

// Writes colour (c0, c1, c2) in channel units with coverage k (0..1) into
// pixel (x, y) of dst; clipped to Zwidth x Zheight. Straight alpha: over an
// empty pixel the colour is stored unscaled with alpha k * MaxChannel.
void BlendPixelFB(unsigned char* dst, float c0, float c1, float c2, int x, int y, float k);

// zIndex value of callers without depth: the depth buffer is not touched.
constexpr int NO_DEPTH_INDEX = -1;

// Coverage of pixel (px, py) by the segment (x0, y0)-(x1, y1) of the given
// width, times opacity, written with BlendPixelFB; then, unless zIndex is
// NO_DEPTH_INDEX and when ZBuff is set, z is stored at ZBuff[zIndex] (the
// scan converters pass the old depth, so edges leave the depth buffer as it
// was).
void AAEdgePixel(float opacity, unsigned char* dst, float z, int zIndex, float c0, float c1,
                 float c2, float A, float B, float C, float lengthSquared, float length,
                 float px, float py, float width, float x0, float y0, float x1, float y1);
// Coverage from the distance to the line alone (two-sided in the line
// modes 0..2, one-sided in the fill modes), then the depth write.
void AAEdgeDepthPixel(float opacity, unsigned char* dst, float z, int zIndex, float c0,
                      float c1, float c2, float A, float B, float C, float length, float px,
                      float py, float width);

// One channel value at channel index i: 16 bits with _Deep, else 8 bits.
int GetChannel(const unsigned char* buffer, int64_t channelIndex);

// The same access for one known channel type (uint8_t, or uint16_t at 16
// bits): per-pixel loops test _Deep once and run a loop of the right type,
// instead of testing it again after every byte store (which may alias it).
// memcpy keeps the 16-bit access free of alignment and aliasing assumptions;
// it compiles to a plain load or store.
template <class T>
inline int LoadChannel(const unsigned char* buffer, int64_t channelIndex) {
  T v;
  std::memcpy(&v, buffer + int64_t(sizeof(T)) * channelIndex, sizeof v);
  return v;
}
template <class T>
inline void StoreChannel(unsigned char* buffer, int64_t channelIndex, int value) {
  const T v = static_cast<T>(value);  // the low 8 or 16 bits
  std::memcpy(buffer + int64_t(sizeof(T)) * channelIndex, &v, sizeof v);
}
// Stores the low 16 (with _Deep) or 8 bits of value.
void SetChannel(unsigned char* buffer, int64_t channelIndex, int value);

// Zeroes the _EdgeLayer pixels with left <= x < right, top <= y < bottom
// that lie inside the frame.
void ClearLayerRect(int left, int top, int right, int bottom);
// Merges _EdgeLayer into dst over the same rectangle so that the partial
// edge pixels of neighbouring triangles of one surface join without a seam.
void CompositeLayerRect(unsigned char* dst, int left, int top, int right, int bottom);

// The pixels BlendPixelFB has written into _EdgeLayer since the last
// ResetLayerTouched: left <= x < right, top <= y < bottom (empty when
// right <= left). Lets a scene loop that keeps the layer all zero between
// triangles composite and clear only what a triangle drew.
struct LayerTouched {
  int left, top, right, bottom;
};
extern LayerTouched gLayerTouched;
inline void ResetLayerTouched() { gLayerTouched = {INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN}; }

// ---------------------------------------------------------------------------
// Scene loops called by __RasterScene's draw-mode switch. One call draws all
// triangles in array order for the current pass (_DrawBackFaces1 tells the
// back-face pass). Triangles with an index at or above pointCount are
// skipped (TriangleIndexed).
// ---------------------------------------------------------------------------
#define VELARRA_SCENE_LOOP_ARGS                                                              \
  unsigned char *dst, unsigned char *src, int width, int height, int pointCount,             \
      int triangleCount, __Triangle3ds *triangles, __Point3ds *points, int centerX,          \
      int centerY, int materialCount, material3ds *materials, __Texture *textures,           \
      int lightCount, light3ds *lights, GlassProp *glass

void RasterSceneRough(VELARRA_SCENE_LOOP_ARGS);     // 0: inverted outlines
void RasterSceneLine(VELARRA_SCENE_LOOP_ARGS);      // 1: shaded thick lines
void RasterSceneWire(VELARRA_SCENE_LOOP_ARGS);      // 2: curved edges
void RasterSceneFlat(VELARRA_SCENE_LOOP_ARGS);      // 3: flat fill
void RasterScenePhong(VELARRA_SCENE_LOOP_ARGS);     // 6: Phong fill
void RasterScenePatches(VELARRA_SCENE_LOOP_ARGS);   // 8: subdivided patches
void RasterSceneBezier(VELARRA_SCENE_LOOP_ARGS);    // 9: cubic Bezier triangles
void RasterSceneContour(VELARRA_SCENE_LOOP_ARGS);   // 10: contour band

// The loop of __RasterSolid: every triangle filled in one colour.
void RasterSolidTriangles(unsigned char* dst, int width, int height, int pointCount,
                          int triangleCount, __Triangle3ds* triangles, __Point3ds* points,
                          int centerX, int centerY, float c0, float c1, float c2,
                          float opacity);

// ---------------------------------------------------------------------------
// Engine functions that nothing calls but the sort (renderer/raster/sort.cpp
// and state.cpp).
// ---------------------------------------------------------------------------
// qsort-style compare of two __Triangle3ds by depth sum over _SortPoints:
// -1 when b's sum is greater, 1 when a's is, else 0.
int CompareTriangleDepth(const void* a, const void* b);
// Sum of the z of triangle `index`'s three vertices.
float TriangleDepthSum(int index, __Triangle3ds* triangles, __Point3ds* points);
unsigned char GetDrawBackFacesPass();
