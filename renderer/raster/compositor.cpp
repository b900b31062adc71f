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
#include "renderer/raster/span_kernels.h"

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

int ToChannel(float v, int maxChannel) {
  if (!(v > 0.0f)) return 0;
  if (v >= float(maxChannel)) return maxChannel;
  return int(v);
}

// The per-pixel steps for one channel type T (uint8_t, or uint16_t at 16
// bits), so that a rectangle tests _Deep once.
template <class T>
float Channel(const unsigned char* buffer, int64_t i) {
  return float(LoadChannel<T>(buffer, i));
}

template <class T>
bool OtherSurface(int64_t i) {
  const float scale = sizeof(T) == 2 ? 1.0f / 256.0f : 1.0f;
  float greatest = 0.0f;
  for (int c = 0; c < 3; ++c) {
    const float d = std::fabs(Channel<T>(_FragLayer, i + c) - Channel<T>(_EdgeLayer, i + c)) * scale;
    if (d > greatest) greatest = d;
  }
  return greatest >= SAME_SURFACE_LIMIT;
}

template <class T>
void CompositePixel(unsigned char* dst, int64_t i, int M) {
  float a = Channel<T>(_EdgeLayer, i + 3);
  if (a <= 0.0f) return;
  if (a == float(M)) {
    // Full coverage replaces the frame and becomes the recorded fragment.
    for (int c = 0; c < 3; ++c) {
      const int e = LoadChannel<T>(_EdgeLayer, i + c);
      StoreChannel<T>(dst, i + c, e);
      StoreChannel<T>(_UnderLayer, i + c, e);
      StoreChannel<T>(_FragLayer, i + c, e);
    }
    StoreChannel<T>(dst, i + 3, M);
    return;
  }
  const float da = Channel<T>(dst, i + 3);
  if (da == 0.0f) {
    // Over an empty frame pixel the fragment is stored unblended.
    for (int c = 0; c < 3; ++c) StoreChannel<T>(dst, i + c, LoadChannel<T>(_EdgeLayer, i + c));
    StoreChannel<T>(dst, i + 3, ToChannel(a, M));
    return;
  }
  float under[3];
  if (Channel<T>(_FragLayer, i + 3) == 0.0f || OtherSurface<T>(i)) {
    // A new surface at this pixel: record the fragment and what lies under it.
    for (int c = 0; c < 3; ++c) {
      under[c] = Channel<T>(dst, i + c);
      StoreChannel<T>(_UnderLayer, i + c, LoadChannel<T>(dst, i + c));
      StoreChannel<T>(_FragLayer, i + c, LoadChannel<T>(_EdgeLayer, i + c));
    }
    StoreChannel<T>(_FragLayer, i + 3, ToChannel(a, M));
  } else {
    // The same surface: blend over the recorded background with the greater
    // of the two coverages.
    for (int c = 0; c < 3; ++c) under[c] = Channel<T>(_UnderLayer, i + c);
    const float fa = Channel<T>(_FragLayer, i + 3);
    if (a > fa)
      StoreChannel<T>(_FragLayer, i + 3, ToChannel(a, M));
    else
      a = fa;
  }
  const float t = a / float(M);
  for (int c = 0; c < 3; ++c)
    StoreChannel<T>(dst, i + c,
                    ToChannel(t * Channel<T>(_EdgeLayer, i + c) + (1.0f - t) * under[c], M));
  StoreChannel<T>(dst, i + 3, ToChannel(a > da ? a : da, M));
}

template <class T>
void CompositeRect(unsigned char* dst, const Rect& r) {
  const int M = MaxChannel;
  if (r.right <= r.left) return;
  if (const SpanKernels* kernels = SpanKernelsFor(SimdActivePath(), Zwidth)) {
    // A vector of pixels at a time.
    CompositeRow row{dst, _EdgeLayer,       _FragLayer,      _UnderLayer,
                     0,   r.right - r.left, Zwidth - r.left, sizeof(T) == 2, M};
    for (int y = r.top; y < r.bottom; ++y) {
      row.index = ChannelIndex(r.left, y, 0);
      kernels->composite(row);
    }
    return;
  }
  for (int y = r.top; y < r.bottom; ++y) {
    // Most of a padded box lies outside the triangle: its edge-layer alpha
    // is 0 and the pixel is left alone.
    const int64_t row = ChannelIndex(0, y, 0);
    for (int x = r.left; x < r.right; ++x) {
      const int64_t i = row + int64_t(4) * x;
      if (LoadChannel<T>(_EdgeLayer, i + 3) != 0) CompositePixel<T>(dst, i, M);
    }
  }
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
  if (_Deep)
    CompositeRect<uint16_t>(dst, r);
  else
    CompositeRect<uint8_t>(dst, r);
}
