// Phong scan conversion: per-pixel normals interpolated across the triangle,
// walked from the top vertex down, each scan line drawn as a left edge band,
// the interior and a right edge band (the bands and the vertex caps only
// with _Quality).
#include <cmath>

#include "renderer/raster/scan_common.h"

namespace {

enum class Pass { LeftBand, Interior, RightBand };

struct PhongTriangle : ShadedTriangle {
  EdgeRecord* edges = nullptr;
  UnitNormals unit{};
  __Point mid[3]{};
  const __Point* midUsed = nullptr;  // null: linear normals
  __Point normal{};

  // Normal, u and v of pixel x of a row with depth z.
  void Interpolate(const RowConstants& r, float x, float y, float z) {
    float w[3];
    BaryWeightsAt(r.bary, x, w);
    NormalUVFromWeights(&normal, vertices, unit, x, y, z, w, persp, extras ? allTextured : 0, u,
                        v, midUsed, centerX, centerY);
  }

  float Shade(float x, float y, float z, __PrevInfo* record) {
    if (direct)
      return ShadeTrianglePixel(shade, x - centerX, y - centerY, z, &normal, allTextured, u, v,
                                record, c0, c1, c2);
    return _RenderOnePixelFunc(centerX, centerY, dst, src, x - centerX, y - centerY, z, triangle,
                               materials, materialCount, c0, c1, c2, &normal, allTextured, u, v,
                               textures, lightCount, lights, record, glass, nx, ny, nz, d);
  }

  void Remember(float x, float y, unsigned char valid) {
    if (!extras) return;  // never read
    prev.nx = normal.x;
    prev.ny = normal.y;
    prev.nz = normal.z;
    prev.x = x - centerX;
    prev.y = y - centerY;
    prev.u = u;
    prev.v = v;
    prev.valid = valid;
  }

  // A pixel of a scan line that is not shaded still becomes the previous
  // pixel of the next one. Its record is only read by the next shaded pixel,
  // so it is made then (FlushPending), from the same inputs: runs of hidden pixels
  // cost a depth test each instead of an interpolation each.
  void Defer(int ix, int iy, unsigned char valid) {
    if (!extras) return;  // never read
    pending = true;
    pendingX = ix;
    pendingY = iy;
    pendingValid = valid;
  }

  // Kept out of line (it runs once per run of hidden pixels) so that the
  // per-pixel path stays small enough to be inlined into the spans.
  [[gnu::noinline]] void FlushPending() {
    pending = false;
    RowConstants other;
    const RowConstants& r =
        rows.valid && rows.y == pendingY ? rows : RowAt(other, pendingY, screen, d, ny);
    const float x = float(pendingX), y = float(pendingY);
    Interpolate(r, x, y, RowDepth(r, x, nx, nz, vertices[0].z));
    Remember(x, y, pendingValid);
  }

  // A pixel that fails the depth test (or lies outside the frame) is still
  // interpolated, so the next pixel sees its neighbour.
  void Hidden(int ix, int iy) { Defer(ix, iy, 1); }

  void ScanPixel(int ix, int iy, Pass pass, const EdgeLine& edge) {
    if (!InFrame(ix, iy)) {
      Hidden(ix, iy);
      return;
    }
    const RowConstants& r = RowAt(rows, iy, screen, d, ny);
    const float x = float(ix), y = float(iy);
    const float z = RowDepth(r, x, nx, nz, vertices[0].z);
    float oldZ = 0.0f;
    int index = NO_DEPTH_INDEX;
    if (!DepthTestZ(ix, iy, z, index, oldZ)) {
      Hidden(ix, iy);
      return;
    }
    if (pass != Pass::Interior && pure && EdgeSurelyBlank(edge, x, y)) {
      // Not drawn: the depth goes back, the neighbour record moves on.
      if (index != NO_DEPTH_INDEX) ZBuff[index] = oldZ;
      Defer(ix, iy, pass == Pass::RightBand ? 0 : 1);
      return;
    }
    if (pending) FlushPending();
    Interpolate(r, x, y, z);
    const float opacity = Shade(x, y, z, &prev);
    if (pass == Pass::Interior)
      BlendPixelFB(dst, c0, c1, c2, ix, iy, opacity);
    else
      AAEdgePixel(opacity, dst, oldZ, index, c0, c1, c2, edge.A, edge.B, edge.C, edge.lengthSquared,
                  edge.length, x, y, 1.0f, edge.xa, edge.ya, edge.xb, edge.yb);
    // No pixel after a drawn right-band pixel counts it as its neighbour.
    Remember(x, y, pass == Pass::RightBand ? 0 : 1);
  }

  void CapPixel(int ix, int iy, const EdgeLine& edge) {
    const float x = float(ix), y = float(iy);
    if (pure && EdgeSurelyBlank(edge, x, y)) return;  // would change nothing
    if (!InFrame(ix, iy)) return;
    const RowConstants& r = RowAt(rows, iy, screen, d, ny);
    const float z = RowDepth(r, x, nx, nz, vertices[0].z);
    float oldZ = 0.0f;
    int index = NO_DEPTH_INDEX;
    if (!DepthTestZ(ix, iy, z, index, oldZ)) return;
    Interpolate(r, x, y, z);
    const float opacity = Shade(x, y, z, nullptr);
    AAEdgePixel(opacity, dst, oldZ, index, c0, c1, c2, edge.A, edge.B, edge.C, edge.lengthSquared,
                edge.length, x, y, 1.0f, edge.xa, edge.ya, edge.xb, edge.yb);
  }

  // Anti-aliased pixels around one end of record i: its higher vertex until
  // the walk reaches the bottom, its lower vertex after.
  void VertexCap(int i, bool lowerCaps) {
    const __Point3ds& a = vertices[edges[i].start];
    const __Point3ds& b = vertices[edges[i].end];
    const float xa = a.x, ya = a.y, xb = b.x, yb = b.y;
    const float w = CapReach(xa, ya, xb, yb);
    const float Y = lowerCaps ? (ya < yb ? ya : yb) : (yb > ya ? yb : ya);
    int64_t row0 = FirstFrom(Y - 1.5f), row1 = FirstFrom(Y + 1.5f);
    int64_t col0, col1;
    if (xa < xb) {
      col0 = FirstFrom(xa - 1.5f);
      col1 = FirstFrom(xa + w);
    } else {
      col0 = FirstFrom(xa - w);
      col1 = FirstFrom(xa + 1.5f);
    }
    ClipRows(row0, row1);
    ClipRange(col0, col1, Zwidth);
    const EdgeLine edge = MakeEdgeLine(xa, ya, xb, yb);
    if (kernels != nullptr) {
      for (int64_t r = row0; r <= row1; ++r) {
        if (!RowDrawn(r)) continue;
        int64_t first = col0, last = col1;
        if (gRasterSkipBlankEdges) EdgeNonBlankSpan(edge, r, first, last);
        RunSpan(first, last, Zwidth, [&](int a, int b) { QueueRun(*this, int(r), a, b, &edge); });
      }
      return;
    }
    for (int64_t r = row0; r <= row1; ++r)
      for (int64_t c = col0; c <= col1; ++c) CapPixel(int(c), int(r), edge);
  }

  void ScanLine(int y, const EdgeLine& left, float slope, float xmin, bool quality) {
    const float fy = float(y);
    const float xa = left.xa, ya = left.ya;
    const float xl = slope == 0.0f ? xmin : std::fmax(xmin, xa + (fy - ya) * slope);
    EdgeLine right;
    float extentR;
    const float xr = RightEdgeAt(count, edgeIndex + 1, vertices, edges, fy, right, extentR);
    const float extentL = std::fmax(3.0f, std::fabs(xl - (xa + (fy - 1.0f - ya) * slope)));
    prev.valid = 0;
    pending = false;  // a record of the row above is never read
    if (kernels != nullptr) {
      if (!RowDrawn(y)) return;
      if (quality)
        QueueRow(*this, y, FirstFrom(xl - extentL), LastAtMost(xl + 0.5f), left,
                 FirstFrom(xl + 1.0f), LastBelow(xr), FirstFrom(xr), LastAtMost(xr + extentR),
                 right);
      else
        RunSpan(FirstFrom(xl), LastBelow(xr), Zwidth,
                [&](int a, int b) { QueueRun(*this, y, a, b, nullptr); });
      return;
    }
    auto ghost = [&](int64_t x) { Hidden(int(x), y); };
    if (quality)
      RunPass(
          FirstFrom(xl - extentL), LastAtMost(xl + 0.5f), Zwidth,
          [&](int x) { ScanPixel(x, y, Pass::LeftBand, left); }, ghost);
    RunPass(
        FirstFrom(quality ? xl + 1.0f : xl), LastBelow(xr), Zwidth,
        [&](int x) { ScanPixel(x, y, Pass::Interior, left); }, ghost);
    if (quality)
      RunPass(
          FirstFrom(xr), LastAtMost(xr + extentR), Zwidth,
          [&](int x) { ScanPixel(x, y, Pass::RightBand, right); }, ghost);
  }

  int edgeIndex = 0;
  int count = 3;
  bool pending = false;  // a deferred previous-pixel record (Defer, Flush)
  int pendingX = 0, pendingY = 0;
  unsigned char pendingValid = 0;
};

}  // namespace

void RasterTrianglePhong(unsigned char* dst, unsigned char* src, int, int, __Texture* textures,
                         material3ds* materials, int materialCount, __Triangle3ds* triangle,
                         int count, __Point3ds* vertices, EdgeRecord* edges, int bottom,
                         int centerX, int centerY, float nx, float ny, float nz, float d,
                         int lightCount, light3ds* lights, GlassProp* glass) {
  PhongTriangle t;
  if (!SetupShadedTriangle(t, dst, src, textures, materials, materialCount, triangle, vertices,
                           centerX, centerY, nx, ny, nz, d, lightCount, lights, glass))
    return;
  t.edges = edges;
  t.count = count;
  const __Point3ds* p = vertices;
  t.unit = MakeUnitNormals(vertices);
  t.midUsed = nullptr;
  if (_Quality && _UsePhong2) {
    for (int k = 0; k < 3; ++k) {
      const __Point3ds& a = p[k];
      const __Point3ds& b = p[(k + 1) % 3];
      t.mid[k] = {(a.nx + b.nx) / 2.0f, (a.ny + b.ny) / 2.0f, (a.nz + b.nz) / 2.0f};
    }
    t.midUsed = t.mid;
  }
  PrepareSpans(t);
  const FlushRunsAtEnd flush{t};
  if (t.kernels != nullptr) {
    t.job.interpolated = true;
    t.job.quadratic = t.midUsed != nullptr;
    for (int k = 0; k < 3; ++k) {
      const __Point& n = t.unit.n[k];
      t.job.n[k][0] = n.x;
      t.job.n[k][1] = n.y;
      t.job.n[k][2] = n.z;
      t.job.mid[k][0] = t.mid[k].x;
      t.job.mid[k][1] = t.mid[k].y;
      t.job.mid[k][2] = t.mid[k].z;
    }
  }

  const bool quality = _Quality != 0;
  int i = 0;
  bool lowerCaps = false;
  for (;;) {
    if (quality) {
      t.VertexCap(i, lowerCaps);
      // A record less than a pixel high is capped, not walked.
      if (std::fabs(vertices[edges[i].end].y - vertices[edges[i].start].y) < 1.0f) ++i;
    }
    if (i >= count - 1) return;

    const __Point3ds& a = vertices[edges[i].start];
    const __Point3ds& b = vertices[edges[i].end];
    const int yStart = TruncToInt(a.y);
    const int yEnd = TruncToInt(b.y);  // its scan line belongs to the next record
    const float dy = b.y - a.y;
    const float slope = std::fabs(dy) >= 1.0f ? (b.x - a.x) / dy : 0.0f;
    const EdgeLine left = MakeEdgeLine(a.x, a.y, b.x, b.y);
    const float xmin = std::fmin(a.x, b.x);
    t.edgeIndex = i;

    // Scan lines yStart down to yEnd + 1; rows outside the frame are skipped
    // (each row starts with a fresh previous-pixel record).
    int64_t top = yStart, low = int64_t(yEnd) + 1;
    ClipRows(low, top);
    for (int64_t y = top; y >= low; --y) t.ScanLine(int(y), left, slope, xmin, quality);
    const int y = yStart < yEnd ? yStart : yEnd;  // where the walk stops

    ++i;
    if (bottom < y) continue;
    t.prev.valid = 0;
    t.pending = false;
    lowerCaps = true;
    if (!quality) return;
  }
}
