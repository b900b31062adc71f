// Edge compositing: each triangle is drawn alone into _EdgeLayer (E) over its
// padded bounding box, then merged into the frame so that the anti-aliased
// edges of neighbouring triangles of one surface join without a seam.
//
// Per pixel, _FragLayer (F) holds the colour of the fragment that opened the
// current surface there (or the last fully covering one) and, in its alpha,
// the greatest partial coverage composited for that surface (0: none yet);
// _UnderLayer (U) holds the colour that a later partial fragment of the same
// surface is blended over. Two partial fragments of one surface across a
// shared edge thus blend over the same background with the greater coverage,
// instead of the second blending over the first.
#include <cmath>
#include <cstring>

#include "renderer/raster/raster_internal.h"

namespace {

// Two fragments are of one surface while every channel differs by less than
// 20 levels of 8 bits (5120 units at 16 bits).
constexpr float SAME_SURFACE_LIMIT = 20.0f;

struct Rect {
  int left, top, right, bottom;
};

// The rectangle clipped to the frame (right and bottom exclusive).
Rect ClipToFrame(int left, int top, int right, int bottom) {
  Rect r{left < 0 ? 0 : left, top < 0 ? 0 : top, right > Zwidth ? Zwidth : right,
         bottom > Zheight ? Zheight : bottom};
  return r;
}

float Channel(const unsigned char* buffer, int64_t i) { return float(GetChannel(buffer, i)); }

int ToChannel(float v, int maxChannel) {
  if (!(v > 0.0f)) return 0;
  if (v >= float(maxChannel)) return maxChannel;
  return int(v);
}

bool OtherSurface(int64_t i) {
  const float scale = _Deep ? 1.0f / 256.0f : 1.0f;
  float greatest = 0.0f;
  for (int c = 0; c < 3; ++c) {
    const float d = std::fabs(Channel(_FragLayer, i + c) - Channel(_EdgeLayer, i + c)) * scale;
    if (d > greatest) greatest = d;
  }
  return greatest >= SAME_SURFACE_LIMIT;
}

void CompositePixel(unsigned char* dst, int64_t i) {
  const int M = MaxChannel;
  float a = Channel(_EdgeLayer, i + 3);
  if (a <= 0.0f) return;
  if (a == float(M)) {
    // Full coverage replaces the frame and becomes the recorded fragment.
    for (int c = 0; c < 3; ++c) {
      const int e = GetChannel(_EdgeLayer, i + c);
      SetChannel(dst, i + c, e);
      SetChannel(_UnderLayer, i + c, e);
      SetChannel(_FragLayer, i + c, e);
    }
    SetChannel(dst, i + 3, M);
    return;
  }
  const float da = Channel(dst, i + 3);
  if (da == 0.0f) {
    // Over an empty frame pixel the fragment is stored unblended.
    for (int c = 0; c < 3; ++c) SetChannel(dst, i + c, GetChannel(_EdgeLayer, i + c));
    SetChannel(dst, i + 3, ToChannel(a, M));
    return;
  }
  float under[3];
  if (Channel(_FragLayer, i + 3) == 0.0f || OtherSurface(i)) {
    // A new surface at this pixel: record the fragment and what lies under it.
    for (int c = 0; c < 3; ++c) {
      under[c] = Channel(dst, i + c);
      SetChannel(_UnderLayer, i + c, GetChannel(dst, i + c));
      SetChannel(_FragLayer, i + c, GetChannel(_EdgeLayer, i + c));
    }
    SetChannel(_FragLayer, i + 3, ToChannel(a, M));
  } else {
    // The same surface: blend over the recorded background with the greater
    // of the two coverages.
    for (int c = 0; c < 3; ++c) under[c] = Channel(_UnderLayer, i + c);
    const float fa = Channel(_FragLayer, i + 3);
    if (a > fa)
      SetChannel(_FragLayer, i + 3, ToChannel(a, M));
    else
      a = fa;
  }
  const float t = a / float(M);
  for (int c = 0; c < 3; ++c)
    SetChannel(dst, i + c, ToChannel(t * Channel(_EdgeLayer, i + c) + (1.0f - t) * under[c], M));
  SetChannel(dst, i + 3, ToChannel(a > da ? a : da, M));
}

}  // namespace

void ClearLayerRect(int left, int top, int right, int bottom) {
  if (_EdgeLayer == nullptr) return;  // only during a __RasterScene call
  const Rect r = ClipToFrame(left, top, right, bottom);
  if (r.right <= r.left) return;
  const int64_t bytesPerValue = _Deep ? 2 : 1;
  const size_t rowBytes = size_t(r.right - r.left) * 4 * size_t(bytesPerValue);
  for (int y = r.top; y < r.bottom; ++y)
    std::memset(_EdgeLayer + ChannelIndex(r.left, y, 0) * bytesPerValue, 0, rowBytes);
}

void CompositeLayerRect(unsigned char* dst, int left, int top, int right, int bottom) {
  if (_EdgeLayer == nullptr || _FragLayer == nullptr || _UnderLayer == nullptr) return;
  const Rect r = ClipToFrame(left, top, right, bottom);
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) CompositePixel(dst, ChannelIndex(x, y, 0));
}
