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

// The control record of b_ijk (i, j, k the powers of w0, w1, w2).
int Control(int i, int j, int k) {
  static const signed char kIndex[4][4] = {
      // [i][j]; k = 3 - i - j
      {B003, B012, B021, B030},
      {B102, B111, B120, -1},
      {B201, B210, -1, -1},
      {B300, -1, -1, -1},
  };
  (void)k;
  return kIndex[i][j];
}

// The blossom of the patch's x and y at the weights u, v, w: three de
// Casteljau steps, each with its own weights.
void Blossom(const PatchNet& net, const double* u, const double* v, const double* w,
             double out[2]) {
  double q[6][2], r[3][2];
  // Degree 2 from the net with u; the six records in the order of (i, j).
  int n = 0;
  for (int i = 0; i <= 2; ++i)
    for (int j = 0; i + j <= 2; ++j, ++n) {
      const int k = 2 - i - j;
      for (int c = 0; c < 2; ++c)
        q[n][c] = u[0] * net.pos64[Control(i + 1, j, k)][c] +
                  u[1] * net.pos64[Control(i, j + 1, k)][c] +
                  u[2] * net.pos64[Control(i, j, k + 1)][c];
    }
  // q index of (i, j) at degree 2: i = 0: j 0..2 -> 0..2; i = 1: j 0..1 -> 3..4; i = 2 -> 5.
  auto q2 = [](int i, int j) { return i == 0 ? j : (i == 1 ? 3 + j : 5); };
  // Degree 1 with v: (1,0,0) (0,1,0) (0,0,1).
  const int ij[3][2] = {{1, 0}, {0, 1}, {0, 0}};
  for (int m = 0; m < 3; ++m) {
    const int i = ij[m][0], j = ij[m][1];
    for (int c = 0; c < 2; ++c)
      r[m][c] = v[0] * q[q2(i + 1, j)][c] + v[1] * q[q2(i, j + 1)][c] + v[2] * q[q2(i, j)][c];
  }
  for (int c = 0; c < 2; ++c) out[c] = w[0] * r[0][c] + w[1] * r[1][c] + w[2] * r[2][c];
}

}  // namespace

// Where the box of the points, widened by the margin, lies.
PatchPart PatchControlsPart(const PatchReach& r, const double (*p)[2], int count) {
  double x0 = p[0][0], x1 = x0, y0 = p[0][1], y1 = y0;
  for (int i = 1; i < count; ++i) {
    x0 = std::fmin(x0, p[i][0]);
    x1 = std::fmax(x1, p[i][0]);
    y0 = std::fmin(y0, p[i][1]);
    y1 = std::fmax(y1, p[i][1]);
  }
  if (x1 + r.margin <= r.left || x0 - r.margin >= r.right || y1 + r.margin <= r.top ||
      y0 - r.margin >= r.bottom)
    return PatchPart::Off;
  // fmin and fmax pass NaN over: every point is tested itself.
  for (int i = 0; i < count; ++i)
    if (!(p[i][0] - r.margin > r.left && p[i][0] + r.margin < r.right &&
          p[i][1] - r.margin > r.top && p[i][1] + r.margin < r.bottom))
      return PatchPart::Partly;
  return PatchPart::Inside;
}

double RepeatedSum(double w, double step, uint64_t n) {
  Advance(w, step, n, true);
  return w;
}

uint64_t RepeatedSumCount(double step, bool inclusive) {
  double w = 0.0;
  return 1 + Advance(w, step, UINT64_MAX, inclusive);
}

PatchReach MakePatchReach(const PatchNet& net, int centerX, int centerY, double pad,
                          int zeroWeight) {
  // The powers of w0, w1, w2 of each control, in PatchControl order.
  static const signed char kPowers[PATCH_CONTROLS][3] = {
      {3, 0, 0}, {0, 3, 0}, {0, 0, 3}, {2, 1, 0}, {2, 0, 1},
      {1, 2, 0}, {0, 2, 1}, {1, 0, 2}, {0, 1, 2}, {1, 1, 1},
  };
  PatchReach r;
  r.net = &net;
  double m = std::fabs(double(centerX)) + std::fabs(double(centerY));
  for (int i = 0; i < PATCH_CONTROLS; ++i)
    if (zeroWeight < 0 || kPowers[i][zeroWeight] == 0)
      m = std::fmax(m, std::fabs(net.pos64[i][0]) + std::fabs(net.pos64[i][1]));
  // Rounding of the sums and blossoms and, for wire points, of their
  // conversion to float.
  r.scale = m;
  r.margin = 0.5 + 1e-6 * m;
  r.centerX = centerX;
  r.centerY = centerY;
  r.left = -1.5 - double(centerX) - pad;
  r.right = double(Zwidth) - 0.5 - double(centerX) + pad;
  r.top = -1.5 - double(centerY) - pad;
  r.bottom = double(Zheight) - 0.5 - double(centerY) + pad;
  r.clip = gRasterClipWalks && std::isfinite(pad);
  return r;
}

void PatchSegmentControls(const PatchNet& net, const double a[3], const double b[3],
                          double p[4][2]) {
  Blossom(net, a, a, a, p[0]);
  Blossom(net, a, a, b, p[1]);
  Blossom(net, a, b, b, p[2]);
  Blossom(net, b, b, b, p[3]);
}

PatchPart PatchSegmentPart(const PatchReach& r, const double a[3], const double b[3]) {
  double p[4][2];
  PatchSegmentControls(*r.net, a, b, p);
  return PatchControlsPart(r, p, 4);
}

PatchPart PatchTrianglePart(const PatchReach& r, const double a[3], const double b[3],
                            const double c[3]) {
  // b_ijk of the part: the blossom of i times a, j times b, k times c.
  double p[PATCH_CONTROLS][2];
  int n = 0;
  for (int i = 0; i <= 3; ++i)
    for (int j = 0; i + j <= 3; ++j) {
      const double* args[3];
      int m = 0;
      for (int k = 0; k < i; ++k) args[m++] = a;
      for (int k = 0; k < j; ++k) args[m++] = b;
      while (m < 3) args[m++] = c;
      Blossom(*r.net, args[0], args[1], args[2], p[n++]);
    }
  return PatchControlsPart(r, p, n);
}
