// The pixel converters and rectangle routines. Each is one template over the
// channel type (uint8_t or uint16_t), chosen by the renderer's depth switch
// at the time of the call. Index arithmetic is 64-bit: a 16384-pixel-wide
// 16-bit frame already passes 2^31 channel values over its rows.
#include "host/pixel_convert.h"

#include <cmath>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/page_memory.h"

namespace {

bool Deep() { return __GetDeep() != 0; }

bool ShapeUsable(const void* host, int width, int height, int stride) {
  return host && width > 0 && height > 0 && int64_t(stride) >= 4 * int64_t(width);
}

// A buffer of `values` channel values at the current depth, when *buffer is
// null; false when it cannot be had. Unless the converter writes all of it
// (`written` values), the rest reads as zero.
bool EnsureBuffer(unsigned char** buffer, int64_t values, int64_t written) {
  if (*buffer) return true;
  const uint64_t bytes = uint64_t(values) * (Deep() ? 2u : 1u);
  *buffer = static_cast<unsigned char*>(written == values ? PageAllocForOverwrite(bytes) : PageAlloc(bytes));
  return *buffer != nullptr;
}

// Moves width pixels of each of height rows; destination channel k takes
// source channel Ck. SSE2 (the x86-64 baseline) moves 16 bytes at a time: a
// 16-bit pixel is four words, reordered by one word shuffle of each half of
// the register; 8-bit channels are widened to words, shuffled the same way
// and narrowed back (the values fit, so the saturation never bites). Wider
// registers would not pay: the loop waits on memory. The pixels left over at
// the end of a row, and builds without SSE2, take the channels one by one.
template <typename T, int C0, int C1, int C2, int C3>
void Shuffle(T* dst, int64_t dstStride, const T* src, int64_t srcStride, int width, int height) {
  for (int y = 0; y < height; ++y) {
    const T* s = src + y * srcStride;
    T* d = dst + y * dstStride;
    int x = 0;
#if defined(__SSE2__)
    constexpr int order = C0 | (C1 << 2) | (C2 << 4) | (C3 << 6);
    constexpr int perVector = 16 / (4 * int(sizeof(T)));
    for (; x + perVector <= width; x += perVector) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 4 * x));
      __m128i out;
      if constexpr (sizeof(T) == 2) {
        out = _mm_shufflehi_epi16(_mm_shufflelo_epi16(v, order), order);
      } else {
        const __m128i zero = _mm_setzero_si128();
        const __m128i lo = _mm_unpacklo_epi8(v, zero), hi = _mm_unpackhi_epi8(v, zero);
        out = _mm_packus_epi16(_mm_shufflehi_epi16(_mm_shufflelo_epi16(lo, order), order),
                               _mm_shufflehi_epi16(_mm_shufflelo_epi16(hi, order), order));
      }
      _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 4 * x), out);
    }
#endif
    for (; x < width; ++x) {
      d[4 * x + 0] = s[4 * x + C0];
      d[4 * x + 1] = s[4 * x + C1];
      d[4 * x + 2] = s[4 * x + C2];
      d[4 * x + 3] = s[4 * x + C3];
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
  if (!EnsureBuffer(packed, int64_t(height) * stride, int64_t(height) * width * 4)) return false;
  ShuffleAtDepth<1, 2, 3, 0>(*packed, 4 * int64_t(width), host, stride, width, height);
  return true;
}

bool CopyPixelsARGBtoBGRA(unsigned char** packed, const void* host, int width, int height, int stride) {
  if (!packed || !ShapeUsable(host, width, height, stride)) return false;
  if (!EnsureBuffer(packed, int64_t(width) * height * 4, int64_t(width) * height * 4)) return false;
  ShuffleAtDepth<3, 2, 1, 0>(*packed, 4 * int64_t(width), host, stride, width, height);
  return true;
}

bool CopyPixelsRGBAtoARGB(void** host, const unsigned char* packed, int width, int height, int stride) {
  if (!host || !packed || width <= 0 || height <= 0 || int64_t(stride) < 4 * int64_t(width)) return false;
  unsigned char* buffer = static_cast<unsigned char*>(*host);
  if (!EnsureBuffer(&buffer, int64_t(height) * stride, int64_t(height) * width * 4)) return false;
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
