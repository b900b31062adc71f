// Texel addressing and sampling of the four texture slots.
//
// A slot holds W x H texels (W, H >= 1), rows end to end, four channels a
// texel in the order blue, green, red, alpha, at the renderer's channel depth
// (read through GetChannel, so _Deep decides 8 or 16 bits, not the slot's
// own deep byte). Map coordinates (s, t) become a texel position with the
// map block's scale and offset, wrapped into the texture:
//
//   x = (s * uScale + uOffset) * (W - 1), then wrapped into 0 <= x < W,
//
// so s = 1 lands on the last column and the texture repeats beyond it.
// Sample values are in channel units (0..MaxChannel); the callers turn them
// into fractions. Nothing here allocates or fails: every texel read is kept
// inside the slot whatever the coordinates (NaN, huge, negative).
#pragma once
#include <cstdint>

#include "renderer/shading/shading_internal.h"

// Blue, green, red and alpha sums or samples of one texel read.
enum : int { TEXEL_BLUE = 0, TEXEL_GREEN = 1, TEXEL_RED = 2, TEXEL_ALPHA = 3 };

// Where a map coordinate pair lands in a slot.
struct TexelPos {
  float x, y;    // wrapped position, 0 <= x < W, 0 <= y < H
  int x0, y0;    // the texel: x and y truncated
  float fx, fy;  // x - x0, y - y0
};

// Wraps one texel coordinate into 0 <= x < n (n >= 1): x - n * q with q the
// integer part of x divided by n (both truncated toward zero), plus n when
// negative, n - 1 when rounding left it at n. NaN and infinities give 0;
// values beyond the int range wrap exactly in double precision.
float WrapTexelCoord(float x, int n);

// Texel position of map coordinates (s, t) in a slot of width x height texels.
TexelPos TexelAddress(float s, float t, const map3ds& block, int width, int height);

// Channel index of channel 0 of texel (x, y) in a slot `width` texels wide.
inline int64_t TexelIndex(int width, int x, int y) { return (int64_t(y) * width + x) * 4; }

// Channel c of texel (x, y), in channel units. x and y must lie inside.
inline int TexelChannel(const __Texture& slot, int x, int y, int c) {
  return GetChannel(slot.pixels, TexelIndex(slot.width, x, y) + c);
}

// Point sampling: the four channels of texel (x0, y0).
void SamplePoint(const __Texture& slot, const TexelPos& pos, float bgra[4]);

// What a bilinear neighbour past the last column or row becomes.
enum class BilinearEdge {
  WrapToSecond,  // column (row) 1, not 0: the texture and opacity maps
  Clamp,         // the last column (row) itself: the reflection map
};

// Bilinear sampling between (x0, y0) and (x0 + 1, y0 + 1) with weights from
// fx, fy taken before the neighbour indices are adjusted by `edge`. A texture
// one texel wide (high) uses the texel itself as its neighbour; its weight
// is 0 there anyway.
void SampleBilinear(const __Texture& slot, const TexelPos& pos, BilinearEdge edge, float bgra[4]);

// The footprint between the previous pixel's texel position and this one:
// kx x ky samples on the path from (xp, yp) towards (xp + dx, yp + dy), at
// most 10 x 10, stopping one step short of the current position.
struct Footprint {
  float xp, yp;  // previous pixel's wrapped texel position
  float dx, dy;  // current minus previous position
  int kx, ky;
};

// Fills `fp` and returns true when the footprint replaces the ordinary
// sampling: a valid previous pixel, quality on, and |dx| + |dy| above 2.
bool FindFootprint(const PixelCall& call, const TexelPos& pos, const map3ds& block,
                   const __Texture& slot, Footprint& fp);

// Float coordinates of footprint sample (i, j).
inline float FootprintX(const Footprint& fp, int i) {
  return fp.xp + float(i) * fp.dx / float(fp.kx);
}
inline float FootprintY(const Footprint& fp, int j) {
  return fp.yp + float(j) * fp.dy / float(fp.ky);
}

// A footprint coordinate truncated to a texel index of a row or column of n
// texels (it lies in 0..n by construction; the clamp only guards rounding).
inline int FootprintIndex(float v, int n) {
  int i = v > 0.0f ? int(v) : 0;
  return i < n ? i : n - 1;
}

// Sums of the four channels over every footprint sample, in channel units.
void SumFootprint(const __Texture& slot, const Footprint& fp, float bgra[4]);

// The sample of the texture and opacity maps as fractions 0..1 (channel
// units / MaxChannel): footprint average, else bilinear with quality, else
// point.
void SampleColourMap(const __Texture& slot, const map3ds& block, const PixelCall& call,
                     float bgra[4]);

// 0..1; NaN becomes 0 so that a broken amount changes nothing.
inline float Clamp01(float v) { return v > 0.0f ? (v < 1.0f ? v : 1.0f) : 0.0f; }

// The texture slot stages, run by ApplyTextureSlots in this order.
void ApplyTextureMap(PixelShade& shade, const map3ds& block, const __Texture& slot,
                     const PixelCall& call);
void ApplyOpacityMap(PixelShade& shade, const map3ds& block, const __Texture& slot,
                     const PixelCall& call);
void ApplyBumpMap(PixelShade& shade, const map3ds& block, const __Texture& slot,
                  const PixelCall& call);

// The reflection lookup: the colour (red, green, blue fractions) where the
// reflected view ray of the shading normal leaves a cube of half-size Zwidth
// about the frame centre, read from the reflection slot.
void LookupReflection(const PixelShade& shade, const map3ds& block, const __Texture& slot,
                      const PixelCall& call, float rgb[3]);
// Reflection lookup coordinates (U, V) in 0..1 across the cube's walls, for
// a pixel at (px, py, pz) with unit normal (nx, ny, nz) and half-size h.
void ReflectionCoords(float nx, float ny, float nz, float px, float py, float pz, float h, float& U,
                      float& V);
