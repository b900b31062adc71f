// The pixel writers: every pixel the renderer draws ends here.
//
// Channel values run 0..MaxChannel (255, or 32768 with 16 bits); colours are
// straight, not premultiplied. Pixel (x, y) lies at channel index
// y * _Stride + 4x and is clipped to Zwidth x Zheight. Every stored value is
// clamped to 0..MaxChannel and truncated toward zero; NaN stores 0.
#include <cmath>
#include <cstring>

#include "renderer/raster/raster_internal.h"

namespace {

int ToChannel(float v, int maxChannel) {
  if (!(v > 0.0f)) return 0;  // also NaN
  if (v >= float(maxChannel)) return maxChannel;
  return int(v);
}

float Clamp01(float v) {
  if (!(v > 0.0f)) return 0.0f;  // also NaN
  return v > 1.0f ? 1.0f : v;
}

// After an edge pixel: put the depth back that the caller's depth test
// replaced (no index: the depth buffer is not touched).
void EdgeDepthWrite(float z, int zIndex) {
  if (ZBuff == nullptr || zIndex < 0) return;
  if (int64_t(zIndex) >= int64_t(Zwidth) * Zheight) return;
  ZBuff[zIndex] = z;
}

}  // namespace

int GetChannel(const unsigned char* buffer, int64_t channelIndex) {
  return _Deep ? LoadChannel<uint16_t>(buffer, channelIndex)
               : LoadChannel<uint8_t>(buffer, channelIndex);
}

void SetChannel(unsigned char* buffer, int64_t channelIndex, int value) {
  if (_Deep)
    StoreChannel<uint16_t>(buffer, channelIndex, value);
  else
    StoreChannel<uint8_t>(buffer, channelIndex, value);
}

void LineCoefficients(float x0, float y0, float x1, float y1, float& A, float& B, float& C) {
  A = y1 - y0;
  B = x0 - x1;
  C = -A * x0 - B * y0;
}

namespace {

// The blend of BlendPixelFB for one channel type; i is the pixel's first
// channel index, 0 < k <= 1.
template <class T>
void BlendTyped(unsigned char* dst, int64_t i, const float c[3], float k, int M) {
  if (k == 1.0f) {
    for (int ch = 0; ch < 3; ++ch) StoreChannel<T>(dst, i + ch, ToChannel(c[ch], M));
    StoreChannel<T>(dst, i + 3, M);
    return;
  }
  const int oldAlpha = LoadChannel<T>(dst, i + 3);
  const float cover = k * float(M);
  if (oldAlpha == 0) {
    // An empty pixel takes the colour unscaled; the coverage is its alpha.
    for (int ch = 0; ch < 3; ++ch) StoreChannel<T>(dst, i + ch, ToChannel(c[ch], M));
    StoreChannel<T>(dst, i + 3, ToChannel(cover, M));
    return;
  }
  for (int ch = 0; ch < 3; ++ch) {
    const float o = float(LoadChannel<T>(dst, i + ch));
    StoreChannel<T>(dst, i + ch, ToChannel(k * c[ch] + (1.0f - k) * o, M));
  }
  StoreChannel<T>(dst, i + 3, ToChannel(cover > float(oldAlpha) ? cover : float(oldAlpha), M));
}

}  // namespace

LayerTouched gLayerTouched = {INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};

void BlendPixelFB(unsigned char* dst, float c0, float c1, float c2, int x, int y, float k) {
  if (x < 0 || y < 0 || x >= Zwidth || y >= Zheight) return;
  if (!(k > 0.0f)) return;  // no coverage (also NaN)
  if (k > 1.0f) k = 1.0f;   // callers never pass more; keeps the blend a blend
  if (dst == _EdgeLayer) {
    // x, y lie inside the frame, so x + 1 and y + 1 cannot overflow.
    LayerTouched& t = gLayerTouched;
    if (x < t.left) t.left = x;
    if (x + 1 > t.right) t.right = x + 1;
    if (y < t.top) t.top = y;
    if (y + 1 > t.bottom) t.bottom = y + 1;
  }
  const float c[3] = {c0, c1, c2};
  if (_Deep)
    BlendTyped<uint16_t>(dst, ChannelIndex(x, y, 0), c, k, MaxChannel);
  else
    BlendTyped<uint8_t>(dst, ChannelIndex(x, y, 0), c, k, MaxChannel);
}

void AAEdgeDepthPixel(float opacity, unsigned char* dst, float z, int zIndex, float c0, float c1,
                      float c2, float A, float B, float C, float length, float px, float py,
                      float width) {
  float dist = (A * px + B * py + C) / length;
  if (_DrawMode <= 2) {
    dist = std::fabs(dist);  // a line covers both sides alike
  } else if (dist < 0.0f) {
    // Inner side of a filled triangle's edge: the first half pixel is fully
    // covered, deeper pixels are left to the interior pass.
    dist = -dist < 0.5f ? 0.0f : width;
  }
  const float coverage = Clamp01(width - dist);
  if (coverage != 0.0f)
    BlendPixelFB(dst, c0, c1, c2, TruncToInt(px), TruncToInt(py), coverage * opacity);
  EdgeDepthWrite(z, zIndex);
}

void AAEdgePixel(float opacity, unsigned char* dst, float z, int zIndex, float c0, float c1,
                 float c2, float A, float B, float C, float lengthSquared, float length, float px,
                 float py, float width, float x0, float y0, float x1, float y1) {
  // Edges of a tenth of a pixel or less cover nothing.
  if (!(std::fabs(lengthSquared) > 0.01f)) {
    EdgeDepthWrite(z, zIndex);
    return;
  }
  // Offset from the pixel to the foot of its perpendicular on the line.
  const float s = (A * px + B * py + C) / lengthSquared;
  float gx = A * s;
  float gy = -B * s;
  if (A == 0.0f || B == 0.0f) {
    // Axis-parallel edge: rounding noise must not push the foot off the span.
    if (std::fabs(gx) < 1e-4f) gx = 0.0f;
    if (std::fabs(gy) < 1e-4f) gy = 0.0f;
  }
  const float fx = px - gx;
  const float fy = py + gy;

  const float xmin = x0 < x1 ? x0 : x1, xmax = x0 < x1 ? x1 : x0;
  const float ymin = y0 < y1 ? y0 : y1, ymax = y0 < y1 ? y1 : y0;
  bool outside;
  if (std::fabs(xmax - xmin) < 1e-4f)
    outside = fy < ymin || fy > ymax;
  else if (std::fabs(ymax - ymin) < 1e-4f)
    outside = fx < xmin || fx > xmax;
  else
    outside = fx > xmax || fx < xmin || fy > ymax || fy < ymin;

  if (!outside) {
    AAEdgeDepthPixel(opacity, dst, z, zIndex, c0, c1, c2, A, B, C, length, px, py, width);
    return;
  }
  // Beyond an end: the coverage falls off with the distance to the nearer end
  // point (a tie takes the second).
  const bool nearFirst =
      std::fabs(fx - x1) + std::fabs(fy - y1) > std::fabs(fx - x0) + std::fabs(fy - y0);
  const float ex = nearFirst ? x0 : x1;
  const float ey = nearFirst ? y0 : y1;
  const float distance = std::sqrt((px - ex) * (px - ex) + (py - ey) * (py - ey));
  const float coverage = Clamp01(width - distance);
  if (coverage != 0.0f)
    BlendPixelFB(dst, c0, c1, c2, TruncToInt(px), TruncToInt(py), coverage * opacity);
  EdgeDepthWrite(z, zIndex);
}
