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
// Reach of a part of the patch: the cubic over a segment or a triangle of
// the parameter domain is again a cubic Bezier curve or triangle, whose
// control points are blossoms of the patch (de Casteljau steps with the
// part's corners), and it lies in their convex hull. A part whose hull,
// widened by a margin for rounding, stays off the frame has no sample on
// it. Halving the parts brings the hulls close to the surface quickly, so
// only the parts near the frame's border are split far.
#pragma once
#include <cstdint>

#include "renderer/raster/patch_net.h"

// The value of w after n additions of step (step > 0 and finite, w >= 0).
double RepeatedSum(double w, double step, uint64_t n);

// How many of 0, step, 2 step, ... (by repeated addition) are below 1, or
// with `inclusive` at most 1.
uint64_t RepeatedSumCount(double step, bool inclusive);

// The net and the part of the plane that can reach the frame.
struct PatchReach {
  const PatchNet* net;
  double scale;          // largest |x| + |y| of the net and of the centre
  double margin;         // for the rounding of sums and of float conversions
  int centerX, centerY;
  double left, right;    // reachable x: left < x < right (centre-relative)
  double top, bottom;
  bool clip;             // false: nothing is skipped
};

// Sample pixels are kept for -1 < v + centre + 0.5 < limit (Zwidth,
// Zheight); a wire segment reaches `pad` pixels beyond its points (its
// points are at most a few hundred units apart, so where their conversion
// to int saturates the segment stays there too). Nothing is skipped with
// walks unclipped (gRasterClipWalks) or for a pad that is no finite number.
// zeroWeight (0, 1 or 2; -1 for none) is a barycentric weight that is
// exactly 0 in every sum of the walk, as along a wire edge: the controls it
// multiplies add exact zeros, so their size adds no rounding to the margin.
PatchReach MakePatchReach(const PatchNet& net, int centerX, int centerY, double pad,
                          int zeroWeight = -1);

// Where the patch over the segment from a to b (barycentric weights), or
// over the triangle a, b, c, lies: off the frame (none of its samples can
// reach it), inside it (all of them do: no part of it need be tested
// again), or partly.
enum class PatchPart { Off, Inside, Partly };
PatchPart PatchSegmentPart(const PatchReach& r, const double a[3], const double b[3]);
PatchPart PatchTrianglePart(const PatchReach& r, const double a[3], const double b[3],
                            const double c[3]);

// The four control points (x, y) of the curve of the patch over the segment
// from a to b, and where the box of such points lies.
void PatchSegmentControls(const PatchNet& net, const double a[3], const double b[3],
                          double p[4][2]);
PatchPart PatchControlsPart(const PatchReach& r, const double (*p)[2], int count);

// The grid walk of WalkPatchGrid with the samples that cannot reach the
// frame skipped: a run of them is one Skip() (for the visitors, a sample off
// the frame and one beyond the triangle have the same effect) and rows that
// cannot reach it are left out.
template <class Visitor>
class PatchGridClipper {
 public:
  PatchGridClipper(const PatchGrid& grid, const PatchReach& reach, Visitor& visit)
      : grid_(grid), reach_(reach), visit_(visit) {}

  void Walk() {
    columns_ = RepeatedSumCount(grid_.s0, false);
    const uint64_t rows = RepeatedSumCount(grid_.s1, true);
    if (columns_ == 0 || rows == 0) return;
    Rows(0, rows, 0.0);
  }

 private:
  static constexpr uint64_t LEAF = 4;

  // Rows first .. end - 1; w1 is the first row's value. Their samples lie
  // in the trapezoid w1 <= v <= last, 0 <= w0 <= 1 - v, two triangles.
  void Rows(uint64_t first, uint64_t end, double w1) {
    const double last = RepeatedSum(w1, grid_.s1, end - first - 1);
    const double a[3] = {0.0, w1, 1.0 - w1}, b[3] = {1.0 - w1, w1, 0.0};
    const double c[3] = {0.0, last, 1.0 - last}, d[3] = {1.0 - last, last, 0.0};
    const PatchPart lower = PatchTrianglePart(reach_, a, b, c);
    const PatchPart upper = PatchTrianglePart(reach_, b, d, c);
    if (lower == PatchPart::Off && upper == PatchPart::Off) {
      visit_.Row();
      return;
    }
    const bool inside = lower == PatchPart::Inside && upper == PatchPart::Inside;
    if (inside || end - first <= LEAF) {
      for (uint64_t j = first; j < end; ++j, w1 += grid_.s1) {
        visit_.Row();
        if (inside)
          Plain(0, columns_, 0.0, w1);
        else
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
    double last = RepeatedSum(w0, grid_.s0, end - first - 1);
    if (last > 1.0 - w1) last = 1.0 - w1;  // no sample beyond the triangle
    const double a[3] = {w0, w1, 1.0 - w1 - w0}, b[3] = {last, w1, 1.0 - w1 - last};
    const PatchPart part = PatchSegmentPart(reach_, a, b);
    if (part == PatchPart::Off) {
      visit_.Skip();
      return;
    }
    if (part == PatchPart::Inside || end - first <= LEAF) {
      Plain(first, end, w0, w1);
      return;
    }
    const uint64_t mid = first + (end - first) / 2;
    Columns(first, mid, w0, w1);
    Columns(mid, end, RepeatedSum(w0, grid_.s0, mid - first), w1);
  }

  // Columns first .. end - 1 of the row w1, each visited; those beyond the
  // triangle, the rest of the row, are one Skip().
  void Plain(uint64_t first, uint64_t end, double w0, double w1) {
    for (uint64_t k = first; k < end; ++k, w0 += grid_.s0) {
      if (w0 + w1 > 1.0) {
        visit_.Skip();
        return;
      }
      visit_.Sample(w0, w1, 1.0 - w1 - w0);
    }
  }

  const PatchGrid& grid_;
  const PatchReach& reach_;
  Visitor& visit_;
  uint64_t columns_ = 0;
};

// The grid walk, clipped when reach.clip holds, else every sample.
template <class Visitor>
void WalkPatchGridInFrame(const PatchGrid& grid, const PatchReach& reach, Visitor& visit) {
  if (!reach.clip) {
    WalkPatchGrid(grid, visit);
    return;
  }
  PatchGridClipper<Visitor>(grid, reach, visit).Walk();
}
