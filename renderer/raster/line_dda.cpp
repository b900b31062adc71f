// One-pixel DDA lines in the inverted source colour or in a fixed colour:
// the outlines of the rough draw mode. They clip and address by their own
// width and height (4 (x + y width) channel values a pixel).
//
// The walk steps its major coordinate by single-precision additions of 1
// from the end point with the smaller major coordinate and stops before the
// other one. It is clipped to the frame before it iterates: below -1 such
// additions are exact (for magnitudes under 2^24), so the walk jumps to its
// first step inside the frame and stops at the frame's far side; a start
// beyond -2^24, where a float step of 1 may round back and never advance, is
// taken as exact stepping too, so every line ends.
#include <cmath>
#include <cstdint>

#include "renderer/raster/rasterize.h"

namespace {

constexpr float EXACT_STEPS = 16777216.0f;  // 2^24

bool Finite4(float a, float b, float c, float d) {
  return std::isfinite(a) && std::isfinite(b) && std::isfinite(c) && std::isfinite(d);
}

// plot(t, other0 + (t - s) m) for t = s, s + 1, ... while t < e, limited to
// the steps whose truncation lies in [0, limit).
template <class Plot>
void DdaWalk(float s, float e, float other0, float m, int limit, Plot plot) {
  float t = s;
  if (!gRasterClipWalks) {
    for (; t < e; t += 1.0f) plot(t, other0 + (t - s) * m);
    return;
  }
  if (!(t < e)) return;
  if (t <= -1.0f) {
    // First step past -1: steps below it are all off the frame.
    if (t <= -EXACT_STEPS)
      t = 0.0f;  // an integer start: the stepping reaches 0 exactly
    else
      t = float(double(t) + (std::floor(-1.0 - double(t)) + 1.0));
  }
  while (t < e && t < float(limit)) {
    plot(t, other0 + (t - s) * m);
    const float next = t + 1.0f;
    if (next == t) break;  // no longer advances (beyond 2^24)
    t = next;
  }
}

template <class Plot>
void DdaLine(float x0, float y0, float x1, float y1, int width, int height, Plot plot) {
  // A line with a non-finite end point has no pixels.
  if (!Finite4(x0, y0, x1, y1)) return;
  const float dx = x1 - x0, dy = y1 - y0;
  if (dx == 0.0f && dy == 0.0f) return;
  if (std::fabs(dx) > std::fabs(dy)) {
    if (x0 < x1)
      DdaWalk(x0, x1, y0, (y1 - y0) / (x1 - x0), width, [&](float x, float y) { plot(x, y); });
    else
      DdaWalk(x1, x0, y1, (y0 - y1) / (x0 - x1), width, [&](float x, float y) { plot(x, y); });
  } else {
    if (y0 < y1)
      DdaWalk(y0, y1, x0, (x1 - x0) / (y1 - y0), height, [&](float y, float x) { plot(x, y); });
    else
      DdaWalk(y1, y0, x1, (x0 - x1) / (y0 - y1), height, [&](float y, float x) { plot(x, y); });
  }
}

// Channel index of the pixel at (x, y) truncated, or -1 outside width x height.
int64_t DdaPixel(int width, int height, float x, float y) {
  const int ix = TruncToInt(x), iy = TruncToInt(y);
  if (ix < 0 || iy < 0 || ix >= width || iy >= height) return -1;
  return 4 * (int64_t(ix) + int64_t(iy) * width);
}

}  // namespace

void PutPixelInverse(unsigned char* dst, unsigned char* src, int width, int height, float x,
                     float y) {
  const int64_t i = DdaPixel(width, height, x, y);
  if (i < 0) return;
  // Without a source nothing shows through: it reads as black, so the
  // outline is white.
  for (int c = 0; c < 3; ++c)
    SetChannel(dst, i + c, MaxChannel - (src != nullptr ? GetChannel(src, i + c) : 0));
  SetChannel(dst, i + 3, MaxChannel);
}

void PutPixelColor(uint8_t c0, uint8_t c1, uint8_t c2, unsigned char* dst, int width, int height,
                   float x, float y) {
  const int64_t i = DdaPixel(width, height, x, y);
  if (i < 0) return;
  // The byte values are stored as given, also with 16-bit channels.
  SetChannel(dst, i, c0);
  SetChannel(dst, i + 1, c1);
  SetChannel(dst, i + 2, c2);
  SetChannel(dst, i + 3, MaxChannel);
}

void DrawLineInverse(float x0, float y0, float x1, float y1, unsigned char* dst, unsigned char* src,
                     int width, int height) {
  DdaLine(x0, y0, x1, y1, width, height,
          [&](float x, float y) { PutPixelInverse(dst, src, width, height, x, y); });
}

void DrawLineColor(int c0, int c1, int c2, float x0, float y0, float x1, float y1,
                   unsigned char* dst, unsigned char*, int width, int height) {
  DdaLine(x0, y0, x1, y1, width, height, [&](float x, float y) {
    PutPixelColor(uint8_t(c0), uint8_t(c1), uint8_t(c2), dst, width, height, x, y);
  });
}
