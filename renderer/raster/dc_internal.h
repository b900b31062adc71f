// Helpers shared by the device-context routines: defined float-to-integer
// conversions, loop ranges clipped to a surface, a Bresenham walk that can
// start anywhere along its line, and the guarded depth write.
//
// Why clipped ranges: the routines take float or int end points that may lie
// anywhere (1e30, 2^31 - 1, NaN). Drawing outside a surface changes nothing,
// so every loop is first cut to the pixels that can exist; inside the
// surface exactly the same pixels are drawn in the same way, and the work is
// bounded by the surface's size rather than by the coordinates.
#pragma once
#include <climits>
#include <cmath>
#include <cstdint>

#include "renderer/raster/dc_surface.h"

namespace dc_detail {

// Truncation toward zero of a pixel coordinate, defined for every input:
// NaN and values beyond the int range land outside any surface.
inline int TruncPixel(float v) {
  if (!(v == v)) return INT_MIN;
  if (v >= 2147483648.0f) return INT_MAX;
  if (v <= -2147483648.0f) return INT_MIN;
  return static_cast<int>(v);
}

// Coverage clamped to 0..1; NaN counts as no coverage.
inline float Clamp01(float v) {
  if (!(v > 0.0f)) return 0.0f;
  return v < 1.0f ? v : 1.0f;
}

// An inclusive range of integers; empty when lo > hi.
struct Span {
  int64_t lo, hi;
  bool Empty() const { return lo > hi; }
};

constexpr Span EMPTY_SPAN{1, 0};
// Far beyond any pixel, yet safe to convert through double and to add to.
constexpr int64_t SPAN_LIMIT = int64_t(1) << 60;

// The integers x with x >= trunc(from) and x <= to, cut to [clipLo, clipHi]:
// the loop `for (x = (int)from; x <= to; x++)` over the pixels that exist.
inline Span SpanUp(float from, float to, int64_t clipLo, int64_t clipHi) {
  double f = from, t = to;
  if (!(f == f) || !(t == t) || clipLo > clipHi) return EMPTY_SPAN;
  Span s;
  if (f <= double(clipLo)) {
    s.lo = clipLo;  // trunc(f) <= clipLo whenever f <= clipLo
  } else if (f >= double(clipHi) + 1.0) {
    return EMPTY_SPAN;
  } else {
    s.lo = static_cast<int64_t>(f);
    if (s.lo < clipLo) s.lo = clipLo;
  }
  if (t >= double(clipHi)) {
    s.hi = clipHi;
  } else if (t < double(clipLo)) {
    return EMPTY_SPAN;
  } else {
    s.hi = static_cast<int64_t>(std::floor(t));
  }
  return s;
}

// The integers y with y <= trunc(from) and y >= to, cut to [clipLo, clipHi]:
// the loop `for (y = (int)from; y >= to; y--)` over the pixels that exist.
inline Span SpanDown(float from, float to, int64_t clipLo, int64_t clipHi) {
  double f = from, t = to;
  if (!(f == f) || !(t == t) || clipLo > clipHi) return EMPTY_SPAN;
  Span s;
  if (f >= double(clipHi) + 1.0) {
    s.hi = clipHi;  // trunc(f) > clipHi whenever f >= clipHi + 1
  } else if (f <= double(clipLo) - 1.0) {
    return EMPTY_SPAN;
  } else {
    s.hi = static_cast<int64_t>(f);
    if (s.hi > clipHi) s.hi = clipHi;
  }
  if (t <= double(clipLo)) {
    s.lo = clipLo;
  } else if (t > double(clipHi)) {
    return EMPTY_SPAN;
  } else {
    s.lo = static_cast<int64_t>(std::ceil(t));
  }
  return s;
}

inline Span Intersect(Span a, int64_t lo, int64_t hi) {
  if (a.lo < lo) a.lo = lo;
  if (a.hi > hi) a.hi = hi;
  return a;
}

// Bresenham's walk over int end points, in 64 bits (the differences of two
// ints need 33). Position i (0 <= i <= major) lies i steps along the major
// axis from the start and MinorSteps(i) steps along the minor axis. The
// closed form lets a walk start at any position: after i positions the
// error 2 minor - major has gained 2 minor i and lost 2 major per minor
// step, and a minor step is taken as long as it is not negative, so
// MinorSteps(i) = floor((2 minor i + major) / (2 major)).
struct Bresenham {
  int64_t x0, y0;  // start
  int sx, sy;      // -1 when the end coordinate is less than the start, else +1
  bool yMajor;     // dx < dy
  int64_t major, minor;

  Bresenham(int ax0, int ay0, int ax1, int ay1) {
    x0 = ax0;
    y0 = ay0;
    int64_t dx = int64_t(ax1) - ax0, dy = int64_t(ay1) - ay0;
    sx = ax1 < ax0 ? -1 : 1;
    sy = ay1 < ay0 ? -1 : 1;
    if (dx < 0) dx = -dx;
    if (dy < 0) dy = -dy;
    yMajor = dx < dy;
    major = yMajor ? dy : dx;
    minor = yMajor ? dx : dy;
  }

  // Requires major > 0 and 0 <= i <= major + 1 (numerator below 2^67).
  int64_t MinorSteps(int64_t i) const {
    unsigned __int128 n = static_cast<unsigned __int128>(2 * minor) * static_cast<uint64_t>(i) +
                          static_cast<uint64_t>(major);
    return static_cast<int64_t>(n / static_cast<uint64_t>(2 * major));
  }
  int64_t MajorStart() const { return yMajor ? y0 : x0; }
  int64_t MinorStart() const { return yMajor ? x0 : y0; }
  int MajorSign() const { return yMajor ? sy : sx; }
  int MinorSign() const { return yMajor ? sx : sy; }

  // The positions i in [0, last] whose major coordinate lies in [lo, hi].
  Span PositionsWithMajorIn(int64_t lo, int64_t hi, int64_t last) const {
    Span s = MajorSign() > 0 ? Span{lo - MajorStart(), hi - MajorStart()}
                             : Span{MajorStart() - hi, MajorStart() - lo};
    return Intersect(s, 0, last);
  }
  void At(int64_t i, int64_t& x, int64_t& y) const {
    int64_t a = MajorStart() + MajorSign() * i;
    int64_t b = MinorStart() + MinorSign() * MinorSteps(i);
    x = yMajor ? b : a;
    y = yMajor ? a : b;
  }
};

// The 2h values from c - s h stepping by s, as an ascending range: the
// caps and runs of the thick line.
inline Span Run(int64_t c, int s, int64_t h) {
  if (h <= 0) return EMPTY_SPAN;
  return s > 0 ? Span{c - h, c + h - 1} : Span{c - h + 1, c + h};
}

// ZBuff[zIndex] = z when a depth buffer is installed and the index lies in
// it (Zwidth x Zheight entries).
void DepthWriteDC(float z, int zIndex);

}  // namespace dc_detail
