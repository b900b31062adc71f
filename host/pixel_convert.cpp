// The pixel converters and rectangle routines. Each is one template over the
// channel type (uint8_t or uint16_t), chosen by the renderer's depth switch
// at the time of the call. Index arithmetic is 64-bit: a 16384-pixel-wide
// 16-bit frame already passes 2^31 channel values over its rows.
#include "host/pixel_convert.h"

#include <cmath>
#include <cstring>

#include "platform/page_memory.h"

namespace {

bool Deep() { return __GetDeep() != 0; }

bool ShapeUsable(const void* host, int width, int height, int stride) {
  return host && width > 0 && height > 0 && int64_t(stride) >= 4 * int64_t(width);
}

// A buffer of `values` channel values at the current depth, when *buffer is
// null; false when it cannot be had.
bool EnsureBuffer(unsigned char** buffer, int64_t values) {
  if (*buffer) return true;
  const uint64_t bytes = uint64_t(values) * (Deep() ? 2u : 1u);
  *buffer = static_cast<unsigned char*>(PageAlloc(bytes));
  return *buffer != nullptr;
}

// A pixel's four channels as one word, channel 0 in the lowest bits (the
// builds are little-endian: x86-64).
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "pixel words assume little-endian memory");
template <typename T> struct PixelWord;
template <> struct PixelWord<uint8_t> { using type = uint32_t; };
template <> struct PixelWord<uint16_t> { using type = uint64_t; };

// Moves width pixels of each of height rows; destination channel k takes
// source channel Ck. The order is fixed at compile time, so each pixel is a
// few shifts and masks of one word, which the compiler vectorises.
template <typename T, int C0, int C1, int C2, int C3>
void Shuffle(T* dst, int64_t dstStride, const T* src, int64_t srcStride, int width, int height) {
  using W = typename PixelWord<T>::type;
  constexpr int bits = 8 * int(sizeof(T));
  constexpr W mask = W(T(~T(0)));
  for (int y = 0; y < height; ++y) {
    const unsigned char* s = reinterpret_cast<const unsigned char*>(src + y * srcStride);
    unsigned char* d = reinterpret_cast<unsigned char*>(dst + y * dstStride);
    for (int x = 0; x < width; ++x) {
      W v;
      std::memcpy(&v, s + sizeof(W) * size_t(x), sizeof(W));
      const W out = ((v >> (bits * C0)) & mask) | (((v >> (bits * C1)) & mask) << bits) |
                    (((v >> (bits * C2)) & mask) << (2 * bits)) | (((v >> (bits * C3)) & mask) << (3 * bits));
      std::memcpy(d + sizeof(W) * size_t(x), &out, sizeof(W));
    }
  }
}

template <int C0, int C1, int C2, int C3>
void ShuffleAtDepth(void* dst, int64_t dstStride, const void* src, int64_t srcStride, int width, int height) {
  if (Deep())
    Shuffle<uint16_t, C0, C1, C2, C3>(static_cast<uint16_t*>(dst), dstStride, static_cast<const uint16_t*>(src),
                                      srcStride, width, height);
  else
    Shuffle<uint8_t, C0, C1, C2, C3>(static_cast<uint8_t*>(dst), dstStride, static_cast<const uint8_t*>(src),
                                     srcStride, width, height);
}

// The rectangle [x0, x1) x [y0, y1) clipped to the buffer; false when empty.
bool ClipRect(int width, int height, int& x0, int& y0, int& x1, int& y1) {
  if (x0 < 0) x0 = 0;
  if (y0 < 0) y0 = 0;
  if (x1 > width) x1 = width;
  if (y1 > height) y1 = height;
  return x0 < x1 && y0 < y1;
}

template <typename T>
void Clear(T* p, int64_t stride, int x0, int y0, int x1, int y1) {
  for (int y = y0; y < y1; ++y) std::memset(p + y * stride + 4 * int64_t(x0), 0, sizeof(T) * 4 * size_t(x1 - x0));
}

template <typename T>
void Composite(T* dst, const T* src, int64_t stride, int x0, int y0, int x1, int y1, float M) {
  const T top = T(M);
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      const int64_t i = y * stride + 4 * int64_t(x);
      T* d = dst + i;       // alpha, red, green, blue
      const T* s = src + i; // red, green, blue, alpha
      const T a = s[3];
      if (a == 0) continue;
      if (a == top) {
        d[0] = top;
        d[1] = s[0];
        d[2] = s[1];
        d[3] = s[2];
      } else if (d[0] != 0) {
        const float k = float(a) / M;
        for (int c = 0; c < 3; ++c) {
          float v = float(s[c]) * k + float(d[c + 1]) * (1.0f - k);
          if (v < 0.0f) v = 0.0f;
          if (v > M) v = M;
          d[c + 1] = T(v);
        }
        if (a > d[0]) d[0] = a;
      } else {
        d[0] = a;
        d[1] = s[0];
        d[2] = s[1];
        d[3] = s[2];
      }
    }
  }
}

// Truncation of a pixel bound that may be NaN or far outside int.
int TruncBound(float v) {
  if (!(v > -1.0e9f)) return -1000000000;
  if (v > 1.0e9f) return 1000000000;
  return int(v);
}

}  // namespace

bool CopyPixelsARGBtoRGBA(unsigned char** packed, const void* host, int width, int height, int stride) {
  if (!packed || !ShapeUsable(host, width, height, stride)) return false;
  if (!EnsureBuffer(packed, int64_t(height) * stride)) return false;
  ShuffleAtDepth<1, 2, 3, 0>(*packed, 4 * int64_t(width), host, stride, width, height);
  return true;
}

bool CopyPixelsARGBtoBGRA(unsigned char** packed, const void* host, int width, int height, int stride) {
  if (!packed || !ShapeUsable(host, width, height, stride)) return false;
  if (!EnsureBuffer(packed, int64_t(width) * height * 4)) return false;
  ShuffleAtDepth<3, 2, 1, 0>(*packed, 4 * int64_t(width), host, stride, width, height);
  return true;
}

bool CopyPixelsRGBAtoARGB(void** host, const unsigned char* packed, int width, int height, int stride) {
  if (!host || !packed || width <= 0 || height <= 0 || int64_t(stride) < 4 * int64_t(width)) return false;
  unsigned char* buffer = static_cast<unsigned char*>(*host);
  if (!EnsureBuffer(&buffer, int64_t(height) * stride)) return false;
  *host = buffer;
  ShuffleAtDepth<3, 0, 1, 2>(buffer, stride, packed, 4 * int64_t(width), width, height);
  return true;
}

void CopyRectARGBtoRGBA(unsigned char* packed, int packedWidth, const void* host, int width, int height,
                        int stride) {
  if (!packed || width > packedWidth || !ShapeUsable(host, width, height, stride)) return;
  ShuffleAtDepth<1, 2, 3, 0>(packed, 4 * int64_t(packedWidth), host, stride, width, height);
}

void ClearRect(unsigned char* pixels, int width, int height, int stride, int x0, int y0, int x1, int y1) {
  if (!pixels || !ClipRect(width, height, x0, y0, x1, y1)) return;
  if (Deep())
    Clear(reinterpret_cast<uint16_t*>(pixels), stride, x0, y0, x1, y1);
  else
    Clear(pixels, stride, x0, y0, x1, y1);
}

void CompositeRectOver(unsigned char* dst, const unsigned char* src, int width, int height, int stride, int x0,
                       int y0, int x1, int y1) {
  if (!dst || !src || !ClipRect(width, height, x0, y0, x1, y1)) return;
  if (Deep())
    Composite(reinterpret_cast<uint16_t*>(dst), reinterpret_cast<const uint16_t*>(src), stride, x0, y0, x1, y1,
              32768.0f);
  else
    Composite(dst, src, stride, x0, y0, x1, y1, 255.0f);
}

void RasterSolidComposite(unsigned char* scratch, unsigned char* dst, int width, int height, int stride,
                          int pointCount, int triangleCount, __Triangle3ds* triangles, __Point3ds* points,
                          float centerX, float centerY, float red, float green, float blue, float opacity) {
  float minX = 1000000.0f, minY = 1000000.0f, maxX = -1000000.0f, maxY = -1000000.0f;
  for (int t = 0; t < triangleCount; ++t) {
    for (int k = 0; k < 3; ++k) {
      const __Point3ds& p = points[triangles[t].vert[k]];
      if (p.x < minX) minX = p.x;
      if (p.x > maxX) maxX = p.x;
      if (p.y < minY) minY = p.y;
      if (p.y > maxY) maxY = p.y;
    }
  }
  const int x0 = TruncBound(minX - 3.0f + centerX), x1 = TruncBound(maxX + 3.0f + centerX);
  const int y0 = TruncBound(minY - 3.0f + centerY), y1 = TruncBound(maxY + 3.0f + centerY);
  const float M = Deep() ? 32768.0f : 255.0f;
  __RasterSolid(scratch, width, height, stride, pointCount, triangleCount, triangles, points, TruncBound(centerX),
                TruncBound(centerY), red * M, green * M, blue * M, opacity);
  CompositeRectOver(dst, scratch, width, height, stride, x0, y0, x1, y1);
}
