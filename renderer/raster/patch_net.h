// Curved patches: the cubic triangle that the Wire, Patches, Bezier and
// contour draw modes build from a mesh triangle's three vertex positions and
// vertex normals (the mesh itself is not refined).
//
// Control net. Ten records bijk, i/j/k the powers of vertex 0/1/2's weight:
// the corners are the vertices; each edge point (2 Pi + Pj)/3 is projected
// orthogonally onto the tangent plane of vertex i (through Pi, normal Ni);
// the centre is the mean E of the six edge points lifted along the mean
// normal A = (N0 + N1 + N2)/3 by h, the distance the projection moved the
// point of b120: b111 = E + A h. Normal values are (Ni + (Ni + Nj)/2)/2 at
// the edges and A at the centre, texture values the exact linear ones.
// Positions and normal values are single precision, as are the weights 1/3
// and 2/3 (2/3 is 1 - 1/3).
//
// Evaluation: every quantity is the cubic Bernstein sum over the net in
// double precision (PatchBernstein, PatchEval3, PatchEval2).
//
// Failure behaviour: a vertex normal of zero length (or a non-finite
// vertex) leaves the net without finite values; BuildPatchNet reports it,
// and the draw routines then draw nothing for the triangle: every value
// evaluated from such a net would be NaN or infinite.
//
// Bounded work: the sampling grid and the wire step are checked to be
// positive and finite, and a triangle needing more samples than the frame
// can use (PatchSampleCap) is skipped, so huge or broken geometry cannot
// hang a render.
#pragma once
#include <cstdint>

#include "renderer/renderer.h"

// Index of each control record in PatchNet, in the order of the terms of
// the Bernstein sum.
// clang-format off
enum PatchControl {
  B300, B030, B003,  // the corners, vertices 0, 1, 2
  B210, B201,        // edge points next to vertex 0
  B120, B021,        // next to vertex 1
  B102, B012,        // next to vertex 2
  B111,              // the lifted centre
  PATCH_CONTROLS
};
// clang-format on

struct PatchNet {
  float pos[PATCH_CONTROLS][3];
  float nrm[PATCH_CONTROLS][3];
  float uv[PATCH_CONTROLS][2];  // built only when asked for
  bool finite;                  // every built value is a finite number
  // The same values widened to double once, so that the per-sample sums
  // convert nothing (widening is exact: the sums are unchanged).
  double pos64[PATCH_CONTROLS][3];
  double nrm64[PATCH_CONTROLS][3];
  double uv64[PATCH_CONTROLS][2];
};

// Builds the net of the triangle's vertices (in the order of its indices).
// withTexture also builds the texture values. Returns net->finite.
bool BuildPatchNet(const __Triangle3ds* triangle, const __Point3ds* points, bool withTexture,
                   PatchNet* net);

// Orthogonal projection of q onto the tangent plane of the vertex (the
// plane through it with its normal as stored), as a line-plane meeting along
// the normal. A normal of zero squared length gives NaN coordinates.
void PatchTangentProject(const __Point3ds& vertex, const float q[3], float out[3]);

// The ten Bernstein weights of (w0, w1, w2), each with its multinomial
// factor (1, 3 or 6), in PatchControl order.
inline void PatchBernstein(double w0, double w1, double w2, double b[PATCH_CONTROLS]) {
  b[B300] = w0 * w0 * w0;
  b[B030] = w1 * w1 * w1;
  b[B003] = w2 * w2 * w2;
  b[B210] = 3.0 * w0 * w0 * w1;
  b[B201] = 3.0 * w0 * w0 * w2;
  b[B120] = 3.0 * w0 * w1 * w1;
  b[B021] = 3.0 * w1 * w1 * w2;
  b[B102] = 3.0 * w0 * w2 * w2;
  b[B012] = 3.0 * w1 * w2 * w2;
  b[B111] = 6.0 * w0 * w1 * w2;
}

// Sum over the net of one three-component quantity (positions or normal
// values), each component term by term in the order of the terms; the three
// components are summed side by side (independent chains, the same result).
// T is float (the net as stored) or double (its exact widened copy).
template <class T>
inline void PatchEval3(const T (*values)[3], const double b[PATCH_CONTROLS], double out[3]) {
  double x = 0.0, y = 0.0, z = 0.0;
  for (int i = 0; i < PATCH_CONTROLS; ++i) {
    x += double(values[i][0]) * b[i];
    y += double(values[i][1]) * b[i];
    z += double(values[i][2]) * b[i];
  }
  out[0] = x, out[1] = y, out[2] = z;
}

// The z component alone (the contour band needs nothing else of the normal).
template <class T>
inline double PatchEvalZ(const T (*values)[3], const double b[PATCH_CONTROLS]) {
  double z = 0.0;
  for (int i = 0; i < PATCH_CONTROLS; ++i) z += double(values[i][2]) * b[i];
  return z;
}

template <class T>
inline void PatchEval2(const T (*values)[2], const double b[PATCH_CONTROLS], double out[2]) {
  double u = 0.0, v = 0.0;
  for (int i = 0; i < PATCH_CONTROLS; ++i) {
    u += double(values[i][0]) * b[i];
    v += double(values[i][1]) * b[i];
  }
  out[0] = u, out[1] = v;
}

// ---------------------------------------------------------------------------
// Sampling grid of the Bezier fill and the contour band: samples about half
// a unit apart along the two edges that meet at vertex 2; the edge from
// vertex 0 to vertex 1 plays no part. Rows step w1 from 0 while w1 <= 1,
// columns w0 from 0 while w0 < 1 (so vertex 0 itself is never sampled), both
// by repeated addition in double precision.
// ---------------------------------------------------------------------------
struct PatchGrid {
  double s0;  // column step of w0: 1/(2 L02), or 1 for a zero-length edge
  double s1;  // row step of w1:    1/(2 L12), or 1
};

// Most samples (and wire points) one triangle may take: 64 a frame pixel,
// never fewer than 2^22, so that small frames still draw triangles larger
// than themselves, and never more than 2^40, so every step stays far above
// the precision of the repeated additions.
int64_t PatchSampleCap();

// The grid steps of the triangle. False when it is not to be sampled: a step
// that is not positive and finite, or a sample count above PatchSampleCap.
bool PatchGridSteps(const __Triangle3ds* triangle, const __Point3ds* points, PatchGrid* grid);

// Walks the grid in order. The visitor gets Row() at the start of every
// row, Skip() for a sample beyond the triangle (w0 + w1 > 1), and
// Sample(w0, w1, w2) for every other one.
template <class Visitor>
void WalkPatchGrid(const PatchGrid& grid, Visitor& visit) {
  for (double w1 = 0.0; w1 <= 1.0; w1 += grid.s1) {
    visit.Row();
    for (double w0 = 0.0; w0 < 1.0; w0 += grid.s0) {
      if (w0 + w1 > 1.0) {
        visit.Skip();
        continue;
      }
      visit.Sample(w0, w1, 1.0 - w1 - w0);
    }
  }
}

// Pixel of a sample coordinate: truncate(v + centre + 0.5) in double
// precision. False when the pixel lies outside 0 .. limit - 1 or v is not a
// number; a value between -1 and 0 truncates to 0 and is kept.
inline bool PatchSamplePixel(double v, int centre, int limit, int* pixel) {
  double p = v + double(centre) + 0.5;
  if (!(p > -1.0 && p < double(limit))) return false;
  *pixel = int(p);
  return true;
}

// ---------------------------------------------------------------------------
// The draw routines, one triangle each (vertex x, y relative to the image
// centre). width and height are passed along but not used.
// ---------------------------------------------------------------------------

// Samples the cubic triangle and shades every sample with the per-pixel
// function; the depth is written before shading.
void RasterPatchBezier(unsigned char* dst, unsigned char* src, int width, int height,
                       __Triangle3ds* triangle, __Point3ds* points, int centerX, int centerY,
                       int materialCount, material3ds* materials, __Texture* textures,
                       int lightCount, light3ds* lights, GlassProp* glass);

// The three boundary curves of the same surface as shaded anti-aliased
// polylines: edge 0 from vertex 2 to 1, edge 1 from 2 to 0, edge 2 (and any
// other index) from 0 to 1.
void DrawPatchWireEdges(unsigned char* dst, unsigned char* src, int width, int height,
                        __Triangle3ds* triangle, __Point3ds* points, int centerX, int centerY,
                        int materialCount, material3ds* materials, __Texture* textures,
                        int lightCount, light3ds* lights, GlassProp* glass);
void DrawPatchWireEdge(unsigned char edge, unsigned char* dst, unsigned char* src, int width,
                       int height, __Triangle3ds* triangle, __Point3ds* points, int centerX,
                       int centerY, int materialCount, material3ds* materials, __Texture* textures,
                       int lightCount, light3ds* lights, GlassProp* glass);

// Parameter step of the wire curves: 4 min(1/L02, 1/L12), a reciprocal
// being 1 for a zero-length edge (a curve point about every 4 units of the
// longer edge at vertex 2, the same step for all three edges). False when it
// is not positive and finite or gives more points than PatchSampleCap.
bool PatchWireStep(const __Triangle3ds* triangle, const __Point3ds* points, double* step);

// Walks the curve parameter t = 0, step, 2 step, ... by repeated addition;
// the first value at or beyond 1 that is still below 1 + step becomes
// exactly 1, so the last point lies on the end vertex. The visitor gets
// Point(t) for each.
template <class Visitor>
void WalkPatchWire(double step, Visitor& visit) {
  for (double t = 0.0;; t += step) {
    if (t >= 1.0) {
      if (!(t < 1.0 + step)) break;
      t = 1.0;
    }
    visit.Point(t);
  }
}

// The silhouette band in the material colour where the surface grazes the
// view (0 <= nz <= 0.3), the source image where it faces the viewer.
void RasterPatchContour(unsigned char* dst, unsigned char* src, int width, int height,
                        __Triangle3ds* triangle, __Point3ds* points, int centerX, int centerY,
                        int materialCount, material3ds* materials);

// Coverage of the contour band at the unnormalised normal z: rises from 0
// at 0 to 1 at 0.15 and falls back to 0 at 0.3. Only for 0 <= nz <= 0.3.
inline float PatchContourCoverage(double nz) {
  double h = nz < 0.15 ? nz : 0.3 - nz;
  double k = (h / 0.15) * (h / 0.15);
  if (!(k > 0.0)) return 0.0f;
  return k > 1.0 ? 1.0f : float(k);
}

// One subdivision into four flat triangles, the edge midpoints moved toward
// the vertices' tangent planes, each handed to the Phong set-up (the
// argument order of that set-up).
void RasterPatchQuad(unsigned char* dst, unsigned char* src, int width, int height,
                     __Texture* textures, material3ds* materials, int materialCount,
                     __Triangle3ds* triangle, __Point3ds* points, int centerX, int centerY,
                     int lightCount, light3ds* lights, GlassProp* glass);

// The six vertices (the three corners, then the midpoints of edges (0, 1),
// (1, 2), (0, 2)) and the four sub-triangles (0, 3, 5), (3, 1, 4),
// (4, 2, 5), (3, 4, 5) of RasterPatchQuad.
void BuildPatchQuad(const __Triangle3ds* triangle, const __Point3ds* points, __Point3ds vertices[6],
                    __Triangle3ds triangles[4]);

// The face test of the Bezier fill and the patches on an unnormalised
// normal z: the front pass draws nz >= 0, the back pass nz < 0; a front
// pass with multiple refraction 2 and double-sided drawing draw all.
bool PatchFaceVisible(double nz);

// The layered drawing of the Patches and Bezier loops: the box of the
// triangle's vertices, padded by its own extent (at least 3) in x and y.
struct PatchBox {
  int left, top, right, bottom;  // right and bottom exclusive
};
PatchBox PatchLayerBox(const __Triangle3ds* triangle, const __Point3ds* points, int centerX,
                       int centerY);

// Unsigned area of the triangle's projection on the x-y plane; the indices
// are the first fields of a __Triangle3ds. Nothing in the module calls it.
float TriangleArea2D(const uint32_t* triangle, const __Point* points);
