// Device-context lines: the one-pixel black Bresenham line and the thick
// anti-aliased line (caps and runs along the same walk).
#include <cmath>

#include "renderer/raster/dc_draw.h"
#include "renderer/raster/dc_internal.h"

using dc_detail::Bresenham;
using dc_detail::Span;

namespace {

// Visits the walk's positions i in `positions` (within 0..major + 1) in
// order, calling visit(x, y) for each. The first position comes from the
// closed form, the rest from the usual error steps: error before position
// i is 2 minor - major + 2 minor i - 2 major MinorSteps(i), which lies in
// [2 minor - 2 major, 2 minor) and so fits 64 bits.
template <class Visit>
void Walk(const Bresenham& w, Span positions, Visit visit) {
  if (positions.Empty()) return;
  int64_t i = positions.lo;
  int64_t a = w.MajorStart() + w.MajorSign() * i;
  int64_t k = w.MinorSteps(i);
  int64_t b = w.MinorStart() + w.MinorSign() * k;
  __int128 e =
      __int128(2 * w.minor) - w.major + __int128(2 * w.minor) * i - __int128(2 * w.major) * k;
  int64_t error = static_cast<int64_t>(e);
  for (; i <= positions.hi; ++i) {
    if (w.yMajor)
      visit(b, a);
    else
      visit(a, b);
    while (error >= 0) {
      b += w.MinorSign();
      error -= 2 * w.major;
    }
    a += w.MajorSign();
    error += 2 * w.minor;
  }
}

// The surface's pixel range along the walk's major axis.
Span MajorRange(const DCSurface& dc, const Bresenham& w) {
  return w.yMajor ? Span{dc.top, int64_t(dc.bottom) - 1} : Span{dc.left, int64_t(dc.right) - 1};
}

// h of the thick line, kept far beyond any surface but finite; NaN draws
// nothing.
int64_t HalfWidth(float width) {
  float h = 2.5f + width;
  if (!(h == h)) return 0;
  constexpr float limit = float(int64_t(1) << 40);
  if (h >= limit) return int64_t(1) << 40;
  if (h <= -limit) return -(int64_t(1) << 40);
  return static_cast<int64_t>(h);
}

}  // namespace

void DrawLineDC(const DCSurface& dc, int x0, int y0, int x1, int y1) {
  if (x0 == x1 && y0 == y1) return;
  Bresenham w(x0, y0, x1, y1);
  Span range = MajorRange(dc, w);
  Walk(w, w.PositionsWithMajorIn(range.lo, range.hi, w.major), [&](int64_t x, int64_t y) {
    if (DCInside(dc, x, y)) dc.setPixel(dc.context, int(x), int(y), 0x000000u);
  });
}

void DrawThickLineDC(const DCSurface& dc, int x0, int y0, int x1, int y1, float width) {
  if (x0 == x1 && y0 == y1) return;
  const int64_t h = HalfWidth(width);
  const float fx0 = float(x0), fy0 = float(y0), fx1 = float(x1), fy1 = float(y1);
  float A, B, C;
  LineCoefficients(fx0, fy0, fx1, fy1, A, B, C);
  const float lengthSquared = A * A + B * B;
  const float length = std::sqrt(lengthSquared);
  const Bresenham w(x0, y0, x1, y1);

  // Every pixel is covered by its distance to the whole segment, and the
  // darker-wins blend neither depends on order nor changes a pixel twice,
  // so each range is walked in ascending order, cut to the surface.
  auto pixel = [&](int64_t x, int64_t y) {
    AAEdgePixelDC(dc, A, B, C, lengthSquared, length, float(x), float(y), width, fx0, fy0, fx1,
                  fy1);
  };
  auto square = [&](Span xs, Span ys) {
    xs = dc_detail::Intersect(xs, dc.left, int64_t(dc.right) - 1);
    ys = dc_detail::Intersect(ys, dc.top, int64_t(dc.bottom) - 1);
    for (int64_t y = ys.lo; y <= ys.hi; ++y)
      for (int64_t x = xs.lo; x <= xs.hi; ++x) pixel(x, y);
  };

  // Start cap: 2h x 2h pixels from (x0 - sx h, y0 - sy h) in the steps' direction.
  square(dc_detail::Run(x0, w.sx, h), dc_detail::Run(y0, w.sy, h));

  // Body: at each of the major + 1 positions, 2h pixels across the major
  // axis starting h steps back. Only positions whose row (or column) lies
  // in the surface can draw.
  Span range = MajorRange(dc, w);
  Walk(w, w.PositionsWithMajorIn(range.lo, range.hi, w.major), [&](int64_t x, int64_t y) {
    if (w.yMajor)
      square(dc_detail::Run(x, w.sx, h), Span{y, y});
    else
      square(Span{x, x}, dc_detail::Run(y, w.sy, h));
  });

  // End cap: the square around where the walk ended (one step past the
  // last position, as the walk leaves it), walked in the opposite direction.
  int64_t xe, ye;
  w.At(w.major + 1, xe, ye);
  square(dc_detail::Run(xe, -w.sx, h), dc_detail::Run(ye, -w.sy, h));
}
