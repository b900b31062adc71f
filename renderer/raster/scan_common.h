// Pieces shared by the three scan converters (not used elsewhere): the
// barycentric weights, the frame clip of one pass of a scan line, and the
// integer bounds of the converters' float loop conditions.
//
// Clipping rule: a pass "for x from s while x <= e" visits only the pixels
// inside 0 <= x < Zwidth; the ones it skips would fail the depth test (or be
// dropped by the writers) anyway. Where the skipped pixels feed the
// previous-pixel record, the pass reports the last skipped pixel before the
// frame and the last one after it through `ghost`, so the record seen by
// every drawn pixel is the one the unclipped pass would give. Frames are
// assumed narrower than 2^24 pixels (float pixel positions exact).
#pragma once
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "renderer/raster/rasterize.h"
#include "renderer/raster/span_kernels.h"
#include "renderer/shading/triangle_shade.h"

// Weights of (x, y) over a triangle's matrix: each 3x3 determinant over the
// determinant of the whole, negative ones set to 0, then divided by their
// sum when it is above 0 (points outside get weights on the border).
// Matrix3Det of rows (a0 a1 a2) (b0 b1 b2) (1 1 1), written out: the products
// with the ones of the last row are exact, so this is bit for bit the same
// value, without a call per weight and pixel.
inline float Det3Ones(float a0, float a1, float a2, float b0, float b1, float b2) {
  return a0 * (b1 - b2) - a1 * (b0 - b2) + a2 * (b0 - b1);
}

// The three determinants split at the scan line: with the pixel's x in the
// third column, Det3Ones is (a0 (b1 - y) - a1 (b0 - y)) + x (b0 - b1), so
// each numerator is a constant of the row plus x times a constant of the
// triangle. Evaluated in the same order as Det3Ones, the split gives bit for
// bit the same weights while a span pays one product and one sum a weight.
//
// The weights are worked in four lanes, the fourth a spare (0 + x 0, never
// read), so that the compiler can make each set of three divisions one
// vector division; every lane is the same IEEE operation as the scalar one.
struct BaryRow {
  float k[4];  // the row's part of the numerators of w0, w1, w2 (and 0)
  float c[4];  // their factors of x (and 0)
  float det;
};

inline BaryRow BaryRowAt(const BaryMatrix& m, float y) {
  const float* a = m.m.m;  // rows (X0 X1 X2) (Y0 Y1 Y2) (1 1 1)
  BaryRow r;
  r.k[2] = a[0] * (a[4] - y) - a[1] * (a[3] - y);
  r.c[2] = a[3] - a[4];
  r.k[0] = a[1] * (a[5] - y) - a[2] * (a[4] - y);
  r.c[0] = a[4] - a[5];
  r.k[1] = a[2] * (a[3] - y) - a[0] * (a[5] - y);
  r.c[1] = a[5] - a[3];
  r.k[3] = 0.0f;
  r.c[3] = 0.0f;
  r.det = m.det;
  return r;
}

inline void BaryWeightsAt(const BaryRow& r, float x, float w[3]) {
  float q[4];
  for (int k = 0; k < 4; ++k) q[k] = (r.k[k] + x * r.c[k]) / r.det;
  for (int k = 0; k < 4; ++k) q[k] = q[k] < 0.0f ? 0.0f : q[k];  // NaN stays
  const float s = std::fabs(q[0]) + std::fabs(q[1]) + std::fabs(q[2]);
  if (s > 0.0f)
    for (int k = 0; k < 4; ++k) q[k] /= s;
  for (int k = 0; k < 3; ++k) w[k] = q[k];
}

inline void BaryWeights(const BaryMatrix& m, float x, float y, float w[3]) {
  BaryWeightsAt(BaryRowAt(m, y), x, w);
}

inline void BuildBaryMatrix(float x0, float y0, float x1, float y1, float x2, float y2,
                            BaryMatrix& m) {
  m.m = {{x0, x1, x2, y0, y1, y2, 1.0f, 1.0f, 1.0f}};
  m.det = Matrix3Det(m.m);
}

// Unit vertex normals of the three local vertices (a zero normal as stored).
struct UnitNormals {
  __Point n[3];
};
UnitNormals MakeUnitNormals(const __Point3ds* vertices);

// Blend of three values with the weights.
inline float Blend3(const float w[3], float a, float b, float c) {
  return w[0] * a + w[1] * b + w[2] * c;
}

void PerspTextureCoordinates(const __Point3ds* vertices, float x, float y, float z,
                             const BaryMatrix& persp, float& u, float& v, float centerX,
                             float centerY);

// u and v of pixel (x, y) from the screen weights, or with the perspective
// undone while _Persp_Val is set.
inline void TextureCoordinatesAt(const __Point3ds* vertices, float x, float y, float z,
                                 const float screenW[3], const BaryMatrix& persp, float& u,
                                 float& v, float centerX, float centerY) {
  if (_Persp_Val == 0.0f) {
    u = Blend3(screenW, vertices[0].u, vertices[1].u, vertices[2].u);
    v = Blend3(screenW, vertices[0].v, vertices[1].v, vertices[2].v);
    return;
  }
  PerspTextureCoordinates(vertices, x, y, z, persp, u, v, centerX, centerY);
}

// InterpolateUV (inline for the converters).
inline void InterpolateUVAt(const __Point3ds* vertices, float x, float y, float z,
                            const BaryMatrix& screen, const BaryMatrix& persp,
                            unsigned char textured, float& u, float& v, float centerX,
                            float centerY) {
  if (!textured) return;
  float w[3] = {0.0f, 0.0f, 0.0f};
  if (_Persp_Val == 0.0f) BaryWeights(screen, x, y, w);
  TextureCoordinatesAt(vertices, x, y, z, w, persp, u, v, centerX, centerY);
}

// InterpolateNormalUV with the vertex normals already made unit length.
//
// The quadratic field is the quadratic triangle whose corner normals are the
// unit vertex normals and whose edge-middle control normals are the plain
// averages M01, M12, M20; its cross terms carry the factor 2 of the
// quadratic weights (w0 + w1 + w2)^2. With unit stored normals it equals the
// linear field; stored normals of other lengths bend it toward the longer.
inline void NormalUVFromWeights(__Point* normal, const __Point3ds* vertices,
                                const UnitNormals& unit, float x, float y, float z,
                                const float w[3], const BaryMatrix& persp,
                                unsigned char textured, float& u, float& v, const __Point* mid,
                                float centerX, float centerY) {
  const __Point* n = unit.n;
  if (_Quality && _UsePhong2 && mid != nullptr) {
    const float a = w[0] * w[0], b = w[1] * w[1], c = w[2] * w[2];
    const float ab = 2.0f * w[0] * w[1], bc = 2.0f * w[1] * w[2], ca = 2.0f * w[2] * w[0];
    normal->x =
        a * n[0].x + b * n[1].x + c * n[2].x + ab * mid[0].x + bc * mid[1].x + ca * mid[2].x;
    normal->y =
        a * n[0].y + b * n[1].y + c * n[2].y + ab * mid[0].y + bc * mid[1].y + ca * mid[2].y;
    normal->z =
        a * n[0].z + b * n[1].z + c * n[2].z + ab * mid[0].z + bc * mid[1].z + ca * mid[2].z;
  } else {
    normal->x = Blend3(w, n[0].x, n[1].x, n[2].x);
    normal->y = Blend3(w, n[0].y, n[1].y, n[2].y);
    normal->z = Blend3(w, n[0].z, n[1].z, n[2].z);
  }
  if (textured) TextureCoordinatesAt(vertices, x, y, z, w, persp, u, v, centerX, centerY);
}

inline void InterpolateNormalUVUnit(__Point* normal, const __Point3ds* vertices,
                                    const UnitNormals& unit, float x, float y, float z,
                                    const BaryMatrix& screen, const BaryMatrix& persp,
                                    unsigned char textured, float& u, float& v, const __Point* mid,
                                    float centerX, float centerY) {
  float w[3];
  BaryWeights(screen, x, y, w);
  NormalUVFromWeights(normal, vertices, unit, x, y, z, w, persp, textured, u, v, mid, centerX,
                      centerY);
}

// Constants of one scan line of a triangle, made again when the row
// changes: the row parts of the weights and the depth's d + ny y (the sum
// the depth expression forms first, so the depth is bit for bit the same).
struct RowConstants {
  bool valid = false;
  int y = 0;
  BaryRow bary;
  float depth;  // d + ny y
};

inline const RowConstants& RowAt(RowConstants& r, int iy, const BaryMatrix& screen, float d,
                                 float ny) {
  if (!r.valid || r.y != iy) {
    const float y = float(iy);
    r.valid = true;
    r.y = iy;
    r.bary = BaryRowAt(screen, y);
    r.depth = d + ny * y;
  }
  return r;
}

// Depth on the plane at x of a row: -(d + ny y + nx x) / nz, or z0 (the
// first vertex's) when the plane is almost edge-on.
inline float RowDepth(const RowConstants& r, float x, float nx, float nz, float z0) {
  return std::fabs(nz) < 0.01f ? z0 : -(r.depth + nx * x) / nz;
}

// Integer bounds of the float loop conditions, in 64 bits so that the
// saturated results of TruncToInt can be stepped past without overflow.
// Last x with x <= e, and last x with x < e (e below the int range or NaN
// gives an empty range).
inline int64_t LastAtMost(float e) { return TruncToInt(std::floor(double(e))); }
inline int64_t LastBelow(float e) { return int64_t(TruncToInt(std::ceil(double(e)))) - 1; }
inline int64_t FirstFrom(float s) { return TruncToInt(s); }

// Runs pixel(x) for x = s .. e inside [0, limit), with ghost(x) for the last
// skipped pixel on either side (see the clipping rule above).
template <class Pixel, class Ghost>
inline void RunPass(int64_t s, int64_t e, int limit, Pixel pixel, Ghost ghost) {
  if (s > e) return;
  if (!gRasterClipWalks) {
    for (int64_t x = s; x <= e; ++x) pixel(int(x));
    return;
  }
  if (e < 0 || s >= limit) {
    ghost(e);
    return;
  }
  if (s < 0) {
    ghost(-1);
    s = 0;
  }
  const int64_t last = e < limit ? e : limit - 1;
  for (int64_t x = s; x <= last; ++x) pixel(int(x));
  if (e > last) ghost(e);
}

// Rows or columns lo .. hi clipped to [0, limit) (no previous-pixel record
// involved: caps and edge bands).
inline void ClipRange(int64_t& lo, int64_t& hi, int limit) {
  if (!gRasterClipWalks) return;
  if (lo < 0) lo = 0;
  if (hi > int64_t(limit) - 1) hi = int64_t(limit) - 1;
}

inline EdgeLine MakeEdgeLine(float xa, float ya, float xb, float yb) {
  EdgeLine e;
  LineCoefficients(xa, ya, xb, yb, e.A, e.B, e.C);
  e.lengthSquared = e.A * e.A + e.B * e.B;
  e.length = std::sqrt(e.lengthSquared);
  e.xa = xa;
  e.ya = ya;
  e.xb = xb;
  e.yb = yb;
  return e;
}

// The right edge of scan line y (EdgeSpanAt3ds) with its outward extent.
inline float RightEdgeAt(int count, int start, __Point3ds* vertices, EdgeRecord* edges, float y,
                         EdgeLine& right, float& extent) {
  return EdgeSpanAt3ds(count, start, vertices, edges, y, right.A, right.B, right.C,
                       right.lengthSquared, right.length, right.xa, right.ya, right.xb, right.yb,
                       extent);
}

// Half-width of a vertex cap or edge band across record a -> b: wide enough
// to cover how far a shallow edge moves in x within one and a half rows.
inline float CapReach(float xa, float ya, float xb, float yb) {
  return std::fabs(yb - ya) >= 1.0f ? 1.5f * std::fabs((xa - xb) / (yb - ya))
                                    : std::fabs(xa - xb) + 1.5f;
}

// The depth test of ZTestWrite for a pixel (ix, iy) inside the frame with
// its depth z on the plane: strictly nearer wins and stores its depth; NaN
// fails.
inline bool DepthTestZ(int ix, int iy, float z, int& index, float& oldZ) {
  if (ZBuff == nullptr) return true;
  const int64_t i = int64_t(ix) + int64_t(iy) * Zwidth;
  if (i > INT32_MAX) return false;  // beyond the index range of the edge writers
  const float held = ZBuff[i];
  if (!(z > held)) return false;
  index = int(i);
  oldZ = held;
  ZBuff[i] = z;
  return true;
}

// True when the edge writer is certain to give pixel (x, y) no coverage
// against edge e drawn `width` wide: farther than the width from both end
// points and, on the side the draw mode counts, from the line (the same
// expression as the writer's). The margin on the end-point distance covers
// the writer's own rounding. Such a pixel changes nothing (its depth is put
// back), so only its shading could matter.
inline bool EdgeSurelyBlank(const EdgeLine& e, float x, float y, float width = 1.0f) {
  if (!(std::fabs(e.lengthSquared) > 0.01f)) return true;  // the writer draws nothing
  const float margin = 1e-3f + 1e-5f * std::fabs(width);
  const float dl = (e.A * x + e.B * y + e.C) / e.length;
  const bool lineBlank = _DrawMode <= 2 ? std::fabs(dl) >= width + margin
                                        : (dl >= width + margin || dl <= -(0.5f + margin));
  if (!lineBlank) return false;  // also NaN
  const float r = width + margin;
  if (!(r > 0.0f)) return true;  // no distance is below a negative width
  const float ax = x - e.xa, ay = y - e.ya, bx = x - e.xb, by = y - e.yb;
  return ax * ax + ay * ay >= r * r && bx * bx + by * by >= r * r;
}

// The columns lo .. hi of row y narrowed to a span that holds every pixel
// EdgeSurelyBlank(e, x, y) (width 1) does not rule out: the strip along the
// line and the discs around the end points where the test can fail, both
// widened by a pixel beyond the test's reach (at most 1.5 from the line and
// 1 + margin from an end) and by a bound on the float test's rounding, which
// grows with the coordinates. Worked out in double, so the span is a
// superset of the test's pixels; the loops over a band or cap, which leave
// out blank pixels, visit only the span. lo > hi on return: none.
inline void EdgeNonBlankSpan(const EdgeLine& e, int64_t y, int64_t& lo, int64_t& hi) {
  if (!(std::fabs(e.lengthSquared) > 0.01f)) {  // every pixel blank
    hi = lo - 1;
    return;
  }
  // A line that is not finite: its test may pass anywhere (NaN distances).
  if (!(std::isfinite(e.A) && std::isfinite(e.B) && std::isfinite(e.C) &&
        std::isfinite(e.length)))
    return;
  const double fy = double(y);
  const double xa = e.xa, ya = e.ya, xb = e.xb, yb = e.yb;
  const double slack = 1e-6 * (std::fabs(xa) + std::fabs(ya) + std::fabs(xb) + std::fabs(yb) +
                               std::fabs(double(lo)) + std::fabs(double(hi)) + std::fabs(fy));
  const double reach = 2.5 + slack;  // in pixels, from the line and from each end
  double first = HUGE_VAL, last = -HUGE_VAL;
  const double A = e.A, B = e.B, C = e.C, length = e.length;
  const double rest = B * fy + C;
  if (A == 0.0) {
    if (std::fabs(rest) < reach * length) {
      first = double(lo);
      last = double(hi);
    }
  } else {
    const double x1 = (-reach * length - rest) / A, x2 = (reach * length - rest) / A;
    first = std::fmin(x1, x2);
    last = std::fmax(x1, x2);
  }
  if (std::fabs(fy - ya) < reach) {
    first = std::fmin(first, xa - reach);
    last = std::fmax(last, xa + reach);
  }
  if (std::fabs(fy - yb) < reach) {
    first = std::fmin(first, xb - reach);
    last = std::fmax(last, xb + reach);
  }
  if (!(first <= last)) {  // none (also NaN)
    hi = lo - 1;
    return;
  }
  // Converted only inside lo .. hi, which are in range.
  if (first > double(hi) || last < double(lo)) {
    hi = lo - 1;
    return;
  }
  if (first > double(lo)) lo = std::max(lo, int64_t(std::floor(first)) - 1);
  if (last < double(hi)) hi = std::min(hi, int64_t(std::ceil(last)) + 1);
}

// Shading may be left out for pixels that change nothing when the shader is
// the default one outside multiple refraction, which then has no effect
// beyond its result.
inline bool ShadingIsPure() {
  return gRasterSkipBlankEdges && _RenderOnePixelFunc == RenderOnePixel && _UseMultyRefract == 0;
}

// The default per-pixel function's triangle inputs; true when it is the
// function in use, so that the converter may call ShadeTrianglePixel
// directly (the same result as the call through _RenderOnePixelFunc).
inline bool PrepareDirectShade(TriangleShade& t, float centerX, float centerY, unsigned char* src,
                               __Triangle3ds* tri, material3ds* materials, int materialCount,
                               __Texture* textures, int lightCount, light3ds* lights,
                               GlassProp* glass, float nx, float ny, float nz, float d) {
  if (_RenderOnePixelFunc != RenderOnePixel) return false;
  PrepareTriangleShade(t, centerX, centerY, src, tri, materials, materialCount, textures,
                       lightCount, lights, glass, nx, ny, nz, d);
  return true;
}

inline bool InFrame(int x, int y) { return x >= 0 && y >= 0 && x < Zwidth && y < Zheight; }

// What the Flat and Phong converters keep of the triangle they draw: the
// scene arguments handed on to the per-pixel function, the screen (and
// perspective) weight matrices, the outputs of the last shaded pixel and the
// shading shortcuts chosen once a triangle.
struct ShadedTriangle {
  unsigned char* dst = nullptr;
  unsigned char* src = nullptr;
  __Texture* textures = nullptr;
  material3ds* materials = nullptr;
  int materialCount = 0;
  __Triangle3ds* triangle = nullptr;
  __Point3ds* vertices = nullptr;
  float centerX = 0.0f, centerY = 0.0f;
  float nx = 0.0f, ny = 0.0f, nz = 0.0f, d = 0.0f;
  int lightCount = 0;
  light3ds* lights = nullptr;
  GlassProp* glass = nullptr;

  unsigned char allTextured = 0;
  BaryMatrix screen{}, persp{};
  float u = 0.0f, v = 0.0f;
  __PrevInfo prev{};
  float c0 = 0.0f, c1 = 0.0f, c2 = 0.0f;
  bool pure = false;    // shading of blank edge pixels may be left out
  bool direct = false;  // the default per-pixel function, called through `shade`
  bool extras = true;   // u, v and the previous-pixel record are read
  TriangleShade shade{};
  RowConstants rows{};  // of the row last tested
  // Set (by PrepareSpans) when runs of pixels go to the span kernels; the
  // runs wait in `batch` and are drawn in order when it is full and when
  // the triangle is done (FlushRuns).
  const SpanKernels* kernels = nullptr;
  SpanJob job{};
  static constexpr int kBatch = 32;
  SpanRun batch[kBatch];
  int batched = 0;
};

// Fills the shared part of a converter's triangle from its arguments; false
// when the triangle has no area on screen (or in the perspective mapping of
// its texture coordinates), so there is nothing to draw.
inline bool SetupShadedTriangle(ShadedTriangle& t, unsigned char* dst, unsigned char* src,
                                __Texture* textures, material3ds* materials, int materialCount,
                                __Triangle3ds* triangle, __Point3ds* vertices, int centerX,
                                int centerY, float nx, float ny, float nz, float d,
                                int lightCount, light3ds* lights, GlassProp* glass) {
  t.dst = dst;
  t.src = src;
  t.textures = textures;
  t.materials = materials;
  t.materialCount = materialCount;
  t.triangle = triangle;
  t.vertices = vertices;
  t.centerX = float(centerX);
  t.centerY = float(centerY);
  t.nx = nx;
  t.ny = ny;
  t.nz = nz;
  t.d = d;
  t.lightCount = lightCount;
  t.lights = lights;
  t.glass = glass;
  t.pure = ShadingIsPure();
  t.direct = PrepareDirectShade(t.shade, t.centerX, t.centerY, src, triangle, materials,
                                materialCount, textures, lightCount, lights, glass, nx, ny, nz, d);
  t.extras = !t.direct || ShadeReadsExtras(t.shade);
  t.kernels = nullptr;

  const __Point3ds* p = vertices;
  t.allTextured = (p[0].textured && p[1].textured && p[2].textured) ? 1 : 0;
  BuildBaryMatrix(p[0].x, p[0].y, p[1].x, p[1].y, p[2].x, p[2].y, t.screen);
  // Zero area (or a determinant that overflowed): nothing to draw.
  if (t.screen.det == 0.0f || !std::isfinite(t.screen.det)) return false;
  if (_Persp_Val != 0.0f && t.allTextured) {
    float q[6];
    for (int k = 0; k < 3; ++k)
      PerspProject(p[k].x - t.centerX, p[k].y - t.centerY, p[k].z, q[2 * k], q[2 * k + 1]);
    BuildBaryMatrix(q[0], q[1], q[2], q[3], q[4], q[5], t.persp);
    if (t.persp.det == 0.0f || !std::isfinite(t.persp.det)) return false;
  }
  return true;
}


// Runs of pixels of a triangle shaded by the default per-pixel function
// without texture slots or glass go to the span kernels of the active
// vector path (the same pixels as the per-pixel code, a vector at a time).
// Sets t.kernels and the triangle's part of t.job, but for the normal:
// the converter adds the interpolated or the fixed normal. Not taken for
// another per-pixel function, without a depth buffer, or on the scalar path.
void PrepareSpans(ShadedTriangle& t);

// The row constants as the span kernels take them.
inline SpanRow SpanRowOf(const RowConstants& r) {
  return SpanRow{r.y, r.depth, {r.bary.k[0], r.bary.k[1], r.bary.k[2]},
                 {r.bary.c[0], r.bary.c[1], r.bary.c[2]}, r.bary.det};
}

// Calls run(x0, x1) once for the columns s .. e inside [0, limit) (a pass
// of the per-pixel code visits the same columns with RunPass).
template <class Run>
inline void RunSpan(int64_t s, int64_t e, int limit, Run run) {
  if (s < 0) s = 0;
  if (e > int64_t(limit) - 1) e = int64_t(limit) - 1;
  if (s <= e) run(int(s), int(e));
}

// What BlendPixelFB records of the pixels drawn into the edge layer, for a
// run of row y.
inline void TouchLayer(const unsigned char* dst, const SpanWritten& w, int y) {
  if (dst != _EdgeLayer || w.left > w.right) return;
  LayerTouched& t = gLayerTouched;
  if (w.left < t.left) t.left = w.left;
  if (w.right + 1 > t.right) t.right = w.right + 1;
  if (y < t.top) t.top = y;
  if (y + 1 > t.bottom) t.bottom = y + 1;
}

// Draws the runs waiting in the triangle's batch.
inline void FlushRuns(ShadedTriangle& t) {
  if (t.batched == 0) return;
  t.kernels->runs(t.job, t.batch, t.batched);
  for (int i = 0; i < t.batched; ++i) TouchLayer(t.dst, t.batch[i].written, t.batch[i].row.y);
  t.batched = 0;
}

// Flushes a converter's runs when it returns.
struct FlushRunsAtEnd {
  ShadedTriangle& t;
  ~FlushRunsAtEnd() {
    if (t.kernels != nullptr) FlushRuns(t);
  }
};

inline SpanRun& NextRun(ShadedTriangle& t, SpanRun::Kind kind, int y) {
  if (t.batched == ShadedTriangle::kBatch) FlushRuns(t);
  SpanRun& run = t.batch[t.batched++];
  run.kind = kind;
  run.row = SpanRowOf(RowAt(t.rows, y, t.screen, t.d, t.ny));
  return run;
}

// One run x0 .. x1 (inside the frame) of a triangle's row y through its
// kernels: the interior (edge null) or an edge band.
inline void QueueRun(ShadedTriangle& t, int y, int x0, int x1, const EdgeLine* edge) {
  SpanRun& run = NextRun(t, edge == nullptr ? SpanRun::kInterior : SpanRun::kEdge, y);
  run.x0 = x0;
  run.x1 = x1;
  if (edge != nullptr) run.edge = *edge;
}

// A scan line drawn with high quality: its left band l0 .. l1 against
// `left`, its interior i0 .. i1 and its right band r0 .. r1 against `right`
// (the columns of the per-pixel passes, before the frame clip). One run when
// the bands share no pixel inside the frame, else a run a pass.
inline void QueueRow(ShadedTriangle& t, int y, int64_t l0, int64_t l1, const EdgeLine& left,
                     int64_t i0, int64_t i1, int64_t r0, int64_t r1, const EdgeLine& right) {
  const int64_t last = int64_t(Zwidth) - 1;
  auto clip = [last](int64_t& lo, int64_t& hi) {
    if (lo < 0) lo = 0;
    if (hi > last) hi = last;
    return lo <= hi;
  };
  const bool hasLeft = clip(l0, l1), hasInner = clip(i0, i1), hasRight = clip(r0, r1);
  if (hasLeft && hasRight && l1 >= r0) {
    QueueRun(t, y, int(l0), int(l1), &left);
    if (hasInner) QueueRun(t, y, int(i0), int(i1), nullptr);
    QueueRun(t, y, int(r0), int(r1), &right);
    return;
  }
  int64_t x0 = INT64_MAX, x1 = INT64_MIN;
  if (hasLeft) x0 = std::min(x0, l0), x1 = std::max(x1, l1);
  if (hasInner) x0 = std::min(x0, i0), x1 = std::max(x1, i1);
  if (hasRight) x0 = std::min(x0, r0), x1 = std::max(x1, r1);
  if (x0 > x1) return;
  SpanRun& run = NextRun(t, SpanRun::kRow, y);
  run.x0 = int(x0);
  run.x1 = int(x1);
  // Empty parts: 1 .. 0.
  run.left0 = hasLeft ? int(l0) : 1;
  run.left1 = hasLeft ? int(l1) : 0;
  run.inner0 = hasInner ? int(i0) : 1;
  run.inner1 = hasInner ? int(i1) : 0;
  run.right0 = hasRight ? int(r0) : 1;
  run.right1 = hasRight ? int(r1) : 0;
  run.edge = left;
  run.right = right;
}
