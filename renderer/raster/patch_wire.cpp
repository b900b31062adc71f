// Wire draw mode: the three boundary curves of every triangle's cubic
// surface as shaded anti-aliased polylines, straight into the frame.
#include <cmath>

#include "renderer/raster/patch_net.h"
#include "renderer/raster/patch_reach.h"
#include "renderer/raster/raster_internal.h"
#include "renderer/raster/rasterize.h"

namespace {

// Face test of a curve segment on the unnormalised normal z: the front pass
// keeps segments that only slightly turn away (down to -0.2), so outlines
// do not break where the surface bends over the silhouette.
bool WireSegmentVisible(double nz) {
  if (nz >= -0.2 && _DrawBackFaces1 == 0) return true;
  if (nz < 0.0 && _DrawBackFaces1 != 0) return true;
  return _DubleSide != 0;
}

bool AllFinite(const float* v, int n) {
  for (int i = 0; i < n; ++i)
    if (!std::isfinite(v[i])) return false;
  return true;
}

// One boundary curve as a polyline: a segment from each curve point to the
// next, drawn when the normal at its end passes the face test.
struct WireCurve {
  const PatchNet* net;
  unsigned char edge;
  unsigned char* dst;
  unsigned char* src;
  int width, height;
  __Triangle3ds* triangle;
  __Point3ds* points;
  int centerX, centerY;
  int materialCount;
  material3ds* materials;
  __Texture* textures;
  int lightCount;
  light3ds* lights;
  GlassProp* glass;
  double prevX, prevY;

  void Weights(double t, double& w0, double& w1, double& w2) const {
    if (edge == 0) {  // vertex 2 to vertex 1
      w0 = 0.0, w1 = t, w2 = 1.0 - t;
    } else if (edge == 1) {  // vertex 2 to vertex 0
      w0 = t, w1 = 0.0, w2 = 1.0 - t;
    } else {  // vertex 0 to vertex 1
      w0 = 1.0 - t, w1 = t, w2 = 0.0;
    }
  }

  // The point at t becomes the previous one without a segment to it.
  void Move(double t) {
    double w0, w1, w2, b[PATCH_CONTROLS], p[3];
    Weights(t, w0, w1, w2);
    PatchBernstein(w0, w1, w2, b);
    PatchEval3(net->pos64, b, p);
    prevX = p[0];
    prevY = p[1];
  }

  void Point(double t) {
    double w0, w1, w2;
    Weights(t, w0, w1, w2);
    double b[PATCH_CONTROLS];
    PatchBernstein(w0, w1, w2, b);
    double p[3];
    PatchEval3(net->pos64, b, p);
    if (t != 0.0) {
      double n[3];
      PatchEval3(net->nrm64, b, n);
      if (WireSegmentVisible(n[2])) {
        // The plane's negated normal, n itself, becomes the shading normal.
        float line[4] = {float(prevX + centerX), float(p[0] + centerX), float(prevY + centerY),
                         float(p[1] + centerY)};
        float plane[4] = {float(-n[0]), float(-n[1]), float(-n[2]),
                          float(p[0] * n[0] + p[1] * n[1] + p[2] * n[2])};
        if (AllFinite(line, 4) && AllFinite(plane, 4))
          DrawLineShaded(line[0], line[1], line[2], line[3], _WireSize, dst, src, width, height,
                         textures, materials, materialCount, triangle, 3, points, centerX, centerY,
                         plane[0], plane[1], plane[2], plane[3], lightCount, lights, glass);
      }
    }
    prevX = p[0];
    prevY = p[1];
  }
};

// True when no segment of a run can draw a pixel. The line walk draws
// nothing for a segment whose float end points differ by less than one in
// both x and y (it truncates the extent to 0), and the run's curve, with
// control points p over a parameter span, moves by at most
// 3 max|p[i+1] - p[i]| span^-1 per unit of t. Consecutive points lie less
// than 2 step apart in t (the additions below 1 round by far less than a
// step), and each end point is off the exact curve by its rounding to float
// (2^-24 of its frame coordinate; 1e-6 allowed) and by the double sums'
// (far below 1e-12 of the largest coordinate). Half a pixel keeps the float
// difference itself clear of rounding up to 1. A curve crawling in steps far
// below a pixel (a short edge sampled with the step of a long one) is then
// passed in one test rather than point by point.
bool RunDrawsNothing(const PatchReach& r, const double p[4][2], double step, double span) {
  const double per = 2.0 * step / span;
  for (int c = 0; c < 2; ++c) {
    const double centre = double(c == 0 ? r.centerX : r.centerY);
    double move = 0.0, far = 0.0;
    for (int i = 0; i < 4; ++i) {
      if (!std::isfinite(p[i][c])) return false;  // fmax would pass it over
      if (i < 3) move = std::fmax(move, std::fabs(p[i + 1][c] - p[i][c]));
      far = std::fmax(far, std::fabs(p[i][c] + centre));
    }
    if (!(3.0 * move * per + 1e-6 * far + 1e-12 * r.scale < 0.5)) return false;
  }
  return true;
}

// The points of WalkPatchWire with the runs whose segments cannot draw (off
// the frame, or too short) passed by Move: points first .. end - 1
// (first >= 1), t the value of point first - 1, which is the previous point.
// The segments of the run lie in the hull of the curve from t to the run's
// last point.
struct WireClipper {
  WireCurve& curve;
  const PatchReach& reach;
  double step;
  static constexpr uint64_t LEAF = 4;

  void Run(uint64_t first, uint64_t end, double t) {
    const double last = RepeatedSum(t, step, end - first);
    double a[3], b[3], p[4][2];
    curve.Weights(t, a[0], a[1], a[2]);
    curve.Weights(last, b[0], b[1], b[2]);
    PatchSegmentControls(*reach.net, a, b, p);
    const PatchPart part = PatchControlsPart(reach, p, 4);
    if (part == PatchPart::Off || RunDrawsNothing(reach, p, step, last - t)) {
      curve.Move(last);
      return;
    }
    if (part == PatchPart::Inside || end - first <= LEAF) {
      for (uint64_t k = first; k < end; ++k) curve.Point(t += step);
      return;
    }
    const uint64_t mid = first + (end - first) / 2;
    Run(first, mid, t);
    Run(mid, end, RepeatedSum(t, step, mid - first));
  }
};

}  // namespace

void DrawPatchWireEdge(unsigned char edge, unsigned char* dst, unsigned char* src, int width,
                       int height, __Triangle3ds* triangle, __Point3ds* points, int centerX,
                       int centerY, int materialCount, material3ds* materials, __Texture* textures,
                       int lightCount, light3ds* lights, GlassProp* glass) {
  PatchNet net;
  if (!BuildPatchNet(triangle, points, false, &net)) return;
  double step;
  if (!PatchWireStep(triangle, points, &step)) return;
  WireCurve curve = {};
  curve.net = &net;
  curve.edge = edge;
  curve.dst = dst;
  curve.src = src;
  curve.width = width;
  curve.height = height;
  curve.triangle = triangle;
  curve.points = points;
  curve.centerX = centerX;
  curve.centerY = centerY;
  curve.materialCount = materialCount;
  curve.materials = materials;
  curve.textures = textures;
  curve.lightCount = lightCount;
  curve.lights = lights;
  curve.glass = glass;
  // A segment's pixels lie within its caps and runs of trunc(2.5 + width).
  const double pad = double(TruncToInt(2.5 + double(_WireSize))) + 4.0;
  // The curve's sums weigh the controls off its edge by an exact 0.
  const PatchReach reach = MakePatchReach(net, centerX, centerY, pad, edge < 2 ? edge : 2);
  if (!reach.clip) {
    WalkPatchWire(step, curve);
    return;
  }
  // The points below 1, then 1 itself.
  const uint64_t below = RepeatedSumCount(step, false);
  curve.Point(0.0);
  WireClipper clipper{curve, reach, step};
  if (below > 1) clipper.Run(1, below, 0.0);
  curve.Point(1.0);
}

void DrawPatchWireEdges(unsigned char* dst, unsigned char* src, int width, int height,
                        __Triangle3ds* triangle, __Point3ds* points, int centerX, int centerY,
                        int materialCount, material3ds* materials, __Texture* textures,
                        int lightCount, light3ds* lights, GlassProp* glass) {
  for (unsigned char edge = 0; edge < 3; ++edge)
    DrawPatchWireEdge(edge, dst, src, width, height, triangle, points, centerX, centerY,
                      materialCount, materials, textures, lightCount, lights, glass);
}

void RasterSceneWire(unsigned char* dst, unsigned char* src, int width, int height,
                     int pointCount, int triangleCount, __Triangle3ds* triangles,
                     __Point3ds* points, int centerX, int centerY, int materialCount,
                     material3ds* materials, __Texture* textures, int lightCount, light3ds* lights,
                     GlassProp* glass) {
  for (int i = 0; i < triangleCount; ++i)
    if (TriangleIndexed(&triangles[i], pointCount))
      DrawPatchWireEdges(dst, src, width, height, &triangles[i], points, centerX, centerY,
                         materialCount, materials, textures, lightCount, lights, glass);
}
