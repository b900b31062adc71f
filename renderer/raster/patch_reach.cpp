// Repeated sums and the reach of a patch (see patch_reach.h).
#include "renderer/raster/patch_reach.h"

#include <cmath>

#include "renderer/raster/raster_internal.h"
#include "renderer/raster/rasterize.h"

namespace {

// Makes up to n additions of step to w while the sum stays below 1 (at most
// 1 with `inclusive`); returns how many it made.
uint64_t Advance(double& w, double step, uint64_t n, bool inclusive) {
  uint64_t made = 0;
  while (made < n) {
    const double a = w + step;
    if (inclusive ? !(a <= 1.0) : !(a < 1.0)) break;
    int e;
    std::frexp(a, &e);
    const double top = std::ldexp(1.0, e);  // a lies in [top / 2, top), top <= 1 below 1
    const double b = a + step;
    // One addition from w inside a's binade fixes the increment d from a on.
    if (a >= 1.0 || w < top / 2.0 || b >= top || n - made < 4) {
      w = a;
      ++made;
      continue;
    }
    const double d = b - a;  // exact: both are multiples of the binade's ulp
    // Three increments short of the binade's top, so every addition of the
    // run rounds inside it; k d is exact (k times d stays below 2^53 ulps).
    const double room = std::floor((top - a) / d) - 3.0;
    if (!(d > 0.0) || !(room >= 1.0)) {
      w = a;
      ++made;
      continue;
    }
    const uint64_t rest = n - made - 1;
    const uint64_t k = double(rest) < room ? rest : uint64_t(room);
    w = a + double(k) * d;
    made += 1 + k;
  }
  return made;
}

double Spread(const PatchNet& net, int c) {
  double lo = net.pos64[0][c], hi = lo;
  for (int i = 1; i < PATCH_CONTROLS; ++i) {
    lo = std::fmin(lo, net.pos64[i][c]);
    hi = std::fmax(hi, net.pos64[i][c]);
  }
  return hi - lo;
}

}  // namespace

double RepeatedSum(double w, double step, uint64_t n) {
  Advance(w, step, n, true);
  return w;
}

uint64_t RepeatedSumCount(double step, bool inclusive) {
  double w = 0.0;
  return 1 + Advance(w, step, UINT64_MAX, inclusive);
}

PatchReach MakePatchReach(const PatchNet& net, int centerX, int centerY, double pad,
                          bool saturating) {
  PatchReach r;
  r.spreadX = Spread(net, 0);
  r.spreadY = Spread(net, 1);
  double m = std::fabs(double(centerX)) + std::fabs(double(centerY));
  for (int i = 0; i < PATCH_CONTROLS; ++i)
    m = std::fmax(m, std::fabs(net.pos64[i][0]) + std::fabs(net.pos64[i][1]));
  // Rounding of the sums and, for wire points, of their conversion to float.
  r.margin = 0.5 + 1e-6 * m;
  r.left = -1.5 - double(centerX) - pad;
  r.right = double(Zwidth) - 0.5 - double(centerX) + pad;
  r.top = -1.5 - double(centerY) - pad;
  r.bottom = double(Zheight) - 0.5 - double(centerY) + pad;
  r.clip = gRasterClipWalks && std::isfinite(pad) && !(saturating && m > 1073741824.0);
  return r;
}

bool PatchBoxMisses(const PatchReach& r, const double p[2], double radius) {
  const double rx = 3.0 * r.spreadX * radius + r.margin;
  const double ry = 3.0 * r.spreadY * radius + r.margin;
  return p[0] + rx <= r.left || p[0] - rx >= r.right || p[1] + ry <= r.top ||
         p[1] - ry >= r.bottom;
}
