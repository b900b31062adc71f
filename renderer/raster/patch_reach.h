// Which parts of a curved patch can reach the frame, so that the Wire,
// Bezier and contour modes skip the rest without evaluating it and draw the
// same pixels, depths and previous-pixel records as a walk over every
// sample (gRasterClipWalks false walks them all, for the tests).
//
// Sample parameters are sums of repeated additions in double precision
// (w += step). RepeatedSum gives the value after n additions without making
// them: inside one binade [2^e, 2^(e+1)) every sum is a multiple of the
// binade's ulp u, and after one addition that starts and ends in the binade
// every further one adds the same multiple of u (round to nearest, and on a
// tie to even, leaves an even multiple, after which the tie always rounds
// the same way). So a run of additions inside a binade is one exact
// multiplication, and the walk costs a few additions a binade.
//
// Reach of a parameter box: along any direction inside the domain triangle
// the cubic moves at most 3 D per unit of weight, D the spread of the
// control net in that coordinate (a derivative of a cubic Bernstein sum is
// 3 times a quadratic sum of control differences). So every sample of a box
// lies within 3 D (dw0 + dw1) of its corner sample, and a box is skipped
// when that distance, plus a margin for rounding, stays off the frame.
#pragma once
#include <cstdint>

#include "renderer/raster/patch_net.h"

// The value of w after n additions of step (step > 0 and finite, w >= 0).
double RepeatedSum(double w, double step, uint64_t n);

// How many of 0, step, 2 step, ... (by repeated addition) are below 1, or
// with `inclusive` at most 1.
uint64_t RepeatedSumCount(double step, bool inclusive);

// The x and y spread of a net and the frame it is drawn into.
struct PatchReach {
  double spreadX, spreadY;  // max - min over the control positions
  double margin;            // pixels beyond the frame still reachable
  double left, right;       // reachable x: left < x + centre < right
  double top, bottom;
  bool clip;                // false: nothing is skipped
};

// Sample pixels are kept for -1 < v + centre + 0.5 < limit (Zwidth,
// Zheight); a wire segment reaches `pad` pixels beyond its points. Nothing
// is skipped with walks unclipped (gRasterClipWalks), for a pad that is no
// finite number, or, when `saturating` (positions converted to int), for a
// net with a coordinate beyond 2^30.
PatchReach MakePatchReach(const PatchNet& net, int centerX, int centerY, double pad,
                          bool saturating);

// Whether every point within `radius` weight (dw0 + dw1) of the corner
// sample p lies off the frame.
bool PatchBoxMisses(const PatchReach& r, const double p[2], double radius);

// The grid walk of WalkPatchGrid with the samples that cannot reach the
// frame skipped: a run of them is one Skip() (for the visitors, a sample off
// the frame and one beyond the triangle have the same effect) and rows that
// cannot reach it are left out. `position(w0, w1, w2, p)` evaluates the
// patch's x and y.
template <class Visitor, class Position>
class PatchGridClipper {
 public:
  PatchGridClipper(const PatchGrid& grid, const PatchReach& reach, Visitor& visit,
                   Position position)
      : grid_(grid), reach_(reach), visit_(visit), position_(position) {}

  void Walk() {
    columns_ = RepeatedSumCount(grid_.s0, false);
    const uint64_t rows = RepeatedSumCount(grid_.s1, true);
    if (columns_ == 0 || rows == 0) return;
    lastColumn_ = RepeatedSum(0.0, grid_.s0, columns_ - 1);
    Rows(0, rows, 0.0);
  }

 private:
  static constexpr uint64_t LEAF = 8;

  // Rows first .. end - 1; w1 is the first row's value.
  void Rows(uint64_t first, uint64_t end, double w1) {
    const double last = RepeatedSum(w1, grid_.s1, end - first - 1);
    double p[2];
    position_(0.0, w1, 1.0 - w1, p);
    const double width = lastColumn_ < 1.0 - w1 ? lastColumn_ : 1.0 - w1;
    if (PatchBoxMisses(reach_, p, width + (last - w1))) {
      visit_.Row();
      return;
    }
    if (end - first <= LEAF) {
      for (uint64_t j = first; j < end; ++j, w1 += grid_.s1) {
        visit_.Row();
        Columns(0, columns_, 0.0, w1);
      }
      return;
    }
    const uint64_t mid = first + (end - first) / 2;
    Rows(first, mid, w1);
    Rows(mid, end, RepeatedSum(w1, grid_.s1, mid - first));
  }

  // Columns first .. end - 1 of the row w1; w0 is the first one's value.
  void Columns(uint64_t first, uint64_t end, double w0, double w1) {
    if (w0 + w1 > 1.0) {  // this one and all after it lie beyond the triangle
      visit_.Skip();
      return;
    }
    const double last = RepeatedSum(w0, grid_.s0, end - first - 1);
    double p[2];
    position_(w0, w1, 1.0 - w1 - w0, p);
    if (PatchBoxMisses(reach_, p, last - w0)) {
      visit_.Skip();
      return;
    }
    if (end - first <= LEAF) {
      for (uint64_t k = first; k < end; ++k, w0 += grid_.s0) {
        if (w0 + w1 > 1.0)
          visit_.Skip();
        else
          visit_.Sample(w0, w1, 1.0 - w1 - w0);
      }
      return;
    }
    const uint64_t mid = first + (end - first) / 2;
    Columns(first, mid, w0, w1);
    Columns(mid, end, RepeatedSum(w0, grid_.s0, mid - first), w1);
  }

  const PatchGrid& grid_;
  const PatchReach& reach_;
  Visitor& visit_;
  Position position_;
  uint64_t columns_ = 0;
  double lastColumn_ = 0.0;
};

// The grid walk, clipped when reach.clip holds, else every sample.
template <class Visitor>
void WalkPatchGridInFrame(const PatchGrid& grid, const PatchNet& net, const PatchReach& reach,
                          Visitor& visit) {
  if (!reach.clip) {
    WalkPatchGrid(grid, visit);
    return;
  }
  auto position = [&net](double w0, double w1, double w2, double p[2]) {
    double b[PATCH_CONTROLS], q[3];
    PatchBernstein(w0, w1, w2, b);
    PatchEval3(net.pos64, b, q);
    p[0] = q[0];
    p[1] = q[1];
  };
  PatchGridClipper<Visitor, decltype(position)>(grid, reach, visit, position).Walk();
}
