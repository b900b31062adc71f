// Flat and one-colour scan conversion. Both walk the triangle from the top
// vertex down like the Phong converter, with inclusive span ends and a
// float scan condition (a vertex on a whole y is drawn by both records that
// meet there), and with a band over each whole edge instead of vertex caps.
// The Flat converter shades every pixel with the negated plane normal
// behind the depth test; the solid fill writes one colour without depth.
#include <cmath>

#include "renderer/raster/scan_common.h"

namespace {

// Pixels of the flat-shaded converter: depth test first, then the shading.
// The previous-pixel record `prev` is never filled here: its valid byte
// stays 0.
struct FlatPainter : ShadedTriangle {
  __Point normal{};  // the negated plane normal, for every pixel

  bool Visible(int ix, int iy, float& z, int& index, float& oldZ) {
    index = NO_DEPTH_INDEX;
    oldZ = 0.0f;
    if (!InFrame(ix, iy)) return false;
    const RowConstants& r = RowAt(rows, iy, screen, d, ny);
    z = RowDepth(r, float(ix), nx, nz, vertices[0].z);
    return DepthTestZ(ix, iy, z, index, oldZ);
  }

  // Shades the pixel Visible has just passed (its row is `rows`).
  float Shade(float x, float y, float z, __PrevInfo* record) {
    if (allTextured && extras) {
      float w[3] = {0.0f, 0.0f, 0.0f};
      if (_Persp_Val == 0.0f) BaryWeightsAt(rows.bary, x, w);
      TextureCoordinatesAt(vertices, x, y, z, w, persp, u, v, centerX, centerY);
    }
    if (direct)
      return ShadeTrianglePixel(shade, x - centerX, y - centerY, z, &normal, allTextured, u, v,
                                record, c0, c1, c2);
    return _RenderOnePixelFunc(centerX, centerY, dst, src, x - centerX, y - centerY, z, triangle,
                               materials, materialCount, c0, c1, c2, &normal, allTextured, u, v,
                               textures, lightCount, lights, record, glass, nx, ny, nz, d);
  }

  void Edge(int ix, int iy, const EdgeLine& e, bool scanPass) {
    // A pixel the edge writer cannot cover changes nothing (its neighbour
    // record is never valid here).
    if (pure && EdgeSurelyBlank(e, float(ix), float(iy))) return;
    float z, oldZ;
    int index;
    if (!Visible(ix, iy, z, index, oldZ)) return;
    const float x = float(ix), y = float(iy);
    const float opacity = Shade(x, y, z, scanPass ? &prev : nullptr);
    AAEdgePixel(opacity, dst, oldZ, index, c0, c1, c2, e.A, e.B, e.C, e.lengthSquared, e.length, x,
                y, 1.0f, e.xa, e.ya, e.xb, e.yb);
  }

  bool SkipsBlank() const { return pure; }
  // Runs of a row through the span kernels, when PrepareSpans chose them.
  bool Runs() const { return kernels != nullptr; }
  void Run(int y, int x0, int x1, const EdgeLine* e) { QueueRun(*this, y, x0, x1, e); }
  void Row(int y, int64_t l0, int64_t l1, const EdgeLine& left, int64_t i0, int64_t i1, int64_t r0,
           int64_t r1, const EdgeLine& right) {
    QueueRow(*this, y, l0, l1, left, i0, i1, r0, r1, right);
  }
  void Band(int x, int y, const EdgeLine& e) { Edge(x, y, e, true); }
  void EdgeBandPixel(int x, int y, const EdgeLine& e) { Edge(x, y, e, false); }

  void Interior(int ix, int iy) {
    float z, oldZ;
    int index;
    if (!Visible(ix, iy, z, index, oldZ)) return;
    const float opacity = Shade(float(ix), float(iy), z, &prev);
    BlendPixelFB(dst, c0, c1, c2, ix, iy, opacity);
  }
};

// Pixels of the one-colour fill: no depth, no shading.
struct SolidPainter {
  unsigned char* dst;
  float c0, c1, c2, opacity;

  void Band(int x, int y, const EdgeLine& e) {
    if (gRasterSkipBlankEdges && EdgeSurelyBlank(e, float(x), float(y))) return;  // no effect
    AAEdgePixel(opacity, dst, 0.0f, NO_DEPTH_INDEX, c0, c1, c2, e.A, e.B, e.C, e.lengthSquared,
                e.length, float(x), float(y), 1.0f, e.xa, e.ya, e.xb, e.yb);
  }
  bool SkipsBlank() const { return gRasterSkipBlankEdges; }
  bool Runs() const { return false; }
  void Run(int, int, int, const EdgeLine*) {}
  void Row(int, int64_t, int64_t, const EdgeLine&, int64_t, int64_t, int64_t, int64_t,
           const EdgeLine&) {}
  void EdgeBandPixel(int x, int y, const EdgeLine& e) { Band(x, y, e); }
  void Interior(int x, int y) { BlendPixelFB(dst, c0, c1, c2, x, y, opacity); }
};

// Where "for (y = yStart; yb <= y; --y)" stops.
int64_t WalkEnd(int yStart, float yb) {
  if (!(yb <= float(yStart))) return yStart;
  const int64_t y = LastBelow(yb);
  return y < yStart ? y : int64_t(yStart) - 1;
}

// Anti-aliased pixels over record i's whole bounding box, widened by 1.5
// rows and columns and by the cap reach on the right.
template <class Painter>
void EdgeBand(Painter& p, __Point3ds* vertices, EdgeRecord* edges, int i) {
  const __Point3ds& a = vertices[edges[i].start];
  const __Point3ds& b = vertices[edges[i].end];
  const float w = CapReach(a.x, a.y, b.x, b.y);
  const float ylow = std::fmin(a.y, b.y), yhigh = std::fmax(a.y, b.y);
  const float xlow = std::fmin(a.x, b.x), xhigh = std::fmax(a.x, b.x);
  int64_t row0 = FirstFrom(ylow - 1.5f), row1 = FirstFrom(yhigh + 1.5f);
  int64_t col0 = FirstFrom(xlow - 1.5f), col1 = FirstFrom(xhigh + w);
  ClipRows(row0, row1);
  ClipRange(col0, col1, Zwidth);
  const EdgeLine edge = MakeEdgeLine(a.x, a.y, b.x, b.y);
  for (int64_t r = row0; r <= row1; ++r) {
    // Most of a long edge's box is far from it: blank pixels are left out.
    int64_t first = col0, last = col1;
    if (p.SkipsBlank()) EdgeNonBlankSpan(edge, r, first, last);
    if (p.Runs()) {
      if (RowDrawn(r))
        RunSpan(first, last, Zwidth, [&](int a, int b) { p.Run(int(r), a, b, &edge); });
      continue;
    }
    for (int64_t c = first; c <= last; ++c) p.EdgeBandPixel(int(c), int(r), edge);
  }
}

template <class Painter>
void Walk(Painter& p, int count, __Point3ds* vertices, EdgeRecord* edges, int bottom) {
  const bool quality = _Quality != 0;
  auto noGhost = [](int64_t) {};  // neither converter keeps a neighbour record
  int i = 0;
  for (;;) {
    if (quality) {
      EdgeBand(p, vertices, edges, i);
      if (std::fabs(vertices[edges[i].end].y - vertices[edges[i].start].y) < 1.0f) ++i;
    }
    if (i >= count - 1) return;

    const __Point3ds& a = vertices[edges[i].start];
    const __Point3ds& b = vertices[edges[i].end];
    const float xa = a.x, ya = a.y, yb = b.y;
    const int yStart = TruncToInt(ya);
    const float dy = yb - ya;
    const float slope = std::fabs(dy) >= 1.0f ? (b.x - xa) / dy : 0.0f;
    const EdgeLine left = MakeEdgeLine(xa, ya, b.x, yb);
    const float xmin = std::fmin(xa, b.x);

    int64_t y = yStart;
    if (gRasterClipWalks && y > LastRowDrawn()) y = LastRowDrawn();
    for (; yb <= float(y); --y) {
      if (gRasterClipWalks && y < FirstRowDrawn()) break;
      const int iy = int(y);
      const float fy = float(iy);
      const float xl = slope == 0.0f ? xmin : xa + (fy - ya) * slope;
      EdgeLine right;
      float extentR;
      const float xr = RightEdgeAt(count, i + 1, vertices, edges, fy, right, extentR);
      const float extentL = std::fmax(3.0f, std::fabs(xl - (xa + (fy - 1.0f - ya) * slope)));
      if (p.Runs()) {
        if (!RowDrawn(iy)) continue;
        if (quality)
          p.Row(iy, FirstFrom(xl - extentL), LastAtMost(xl), left, FirstFrom(xl + 1.0f),
                LastAtMost(xr), FirstFrom(xr + 1.0f), LastAtMost(xr + extentR), right);
        else
          RunSpan(FirstFrom(xl), LastAtMost(xr), Zwidth,
                  [&p, iy](int a, int b) { p.Run(iy, a, b, nullptr); });
        continue;
      }
      if (quality)
        RunPass(
            FirstFrom(xl - extentL), LastAtMost(xl), Zwidth, [&](int x) { p.Band(x, iy, left); },
            noGhost);
      RunPass(
          FirstFrom(quality ? xl + 1.0f : xl), LastAtMost(xr), Zwidth,
          [&](int x) { p.Interior(x, iy); }, noGhost);
      if (quality)
        RunPass(
            FirstFrom(xr + 1.0f), LastAtMost(xr + extentR), Zwidth,
            [&](int x) { p.Band(x, iy, right); }, noGhost);
    }
    const int64_t yStop = WalkEnd(yStart, yb);

    ++i;
    if (bottom < yStop) continue;
    if (!quality) return;
  }
}

}  // namespace

void RasterTriangleFlat(unsigned char* dst, unsigned char* src, int, int, __Texture* textures,
                        material3ds* materials, int materialCount, __Triangle3ds* triangle,
                        int count, __Point3ds* vertices, EdgeRecord* edges, int bottom, int centerX,
                        int centerY, float nx, float ny, float nz, float d, int lightCount,
                        light3ds* lights, GlassProp* glass) {
  FlatPainter p;
  if (!SetupShadedTriangle(p, dst, src, textures, materials, materialCount, triangle, vertices,
                           centerX, centerY, nx, ny, nz, d, lightCount, lights, glass))
    return;
  p.normal = {-nx, -ny, -nz};
  if (p.direct) FixTriangleShadeNormal(p.shade, p.normal);
  PrepareSpans(p);
  if (p.kernels != nullptr)
    for (int k = 0; k < 3; ++k) p.job.fixedNormal[k] = p.shade.unitNormal[k];
  Walk(p, count, vertices, edges, bottom);
  if (p.kernels != nullptr) FlushRuns(p);
}

void RasterTriangleSolid(unsigned char* dst, int, int, __Triangle3ds*, int count,
                         __Point3ds* vertices, EdgeRecord* edges, int bottom, int, int, float c0,
                         float c1, float c2, float opacity) {
  SolidPainter p{dst, c0, c1, c2, opacity};
  Walk(p, count, vertices, edges, bottom);
}
