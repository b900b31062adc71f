// Control net, sampling grid, wire step and layer box of the curved patches.
#include "renderer/raster/patch_net.h"

#include <cmath>
#include <limits>

#include "renderer/raster/raster_internal.h"
#include "renderer/raster/rasterize.h"

namespace {

// The single-precision weights of the edge points: 1/3 and one minus it.
constexpr float kThird = 1.0f / 3.0f;
constexpr float kTwoThirds = 1.0f - kThird;

const __Point3ds& Corner(const __Triangle3ds* t, const __Point3ds* p, int k) {
  return p[t->vert[k]];
}

// Edge point next to vertex a on the edge to b: the projection of
// (2 Pa + Pb)/3 onto a's tangent plane. `moved` receives the distance the
// projection moved it.
void EdgePoint(const __Point3ds& a, const __Point3ds& b, float out[3], float* moved) {
  float q[3] = {kTwoThirds * a.x + kThird * b.x, kTwoThirds * a.y + kThird * b.y,
                kTwoThirds * a.z + kThird * b.z};
  PatchTangentProject(a, q, out);
  if (moved) {
    float dx = out[0] - q[0], dy = out[1] - q[1], dz = out[2] - q[2];
    *moved = std::sqrt(dx * dx + dy * dy + dz * dz);
  }
}

void EdgeNormal(const __Point3ds& a, const __Point3ds& b, float out[3]) {
  out[0] = (a.nx + (a.nx + b.nx) / 2.0f) / 2.0f;
  out[1] = (a.ny + (a.ny + b.ny) / 2.0f) / 2.0f;
  out[2] = (a.nz + (a.nz + b.nz) / 2.0f) / 2.0f;
}

void EdgeTexture(const __Point3ds& a, const __Point3ds& b, float out[2]) {
  out[0] = kTwoThirds * a.u + kThird * b.u;
  out[1] = kTwoThirds * a.v + kThird * b.v;
}

int ClampTo(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

}  // namespace

void PatchTangentProject(const __Point3ds& vertex, const float q[3], float out[3]) {
  const float a = vertex.nx * vertex.nx, b = vertex.ny * vertex.ny, c = vertex.nz * vertex.nz;
  // A normal of zero length (or one whose square vanishes in single
  // precision) spans no plane: the point is marked as no number, so that the
  // triangle is not drawn, rather than left to a division by zero.
  if (!(a + b + c > 0.0f)) {
    out[0] = out[1] = out[2] = std::numeric_limits<float>::quiet_NaN();
    return;
  }
  float e = -(vertex.nx * vertex.x + vertex.ny * vertex.y + vertex.nz * vertex.z);
  LinePlanePoint(q[0], q[1], q[2], vertex.nx, vertex.ny, vertex.nz, out[0], out[1], out[2], a, b, c,
                 e);
}

bool BuildPatchNet(const __Triangle3ds* triangle, const __Point3ds* points, bool withTexture,
                   PatchNet* net) {
  const __Point3ds& p0 = Corner(triangle, points, 0);
  const __Point3ds& p1 = Corner(triangle, points, 1);
  const __Point3ds& p2 = Corner(triangle, points, 2);
  const __Point3ds* corner[3] = {&p0, &p1, &p2};

  for (int k = 0; k < 3; ++k) {
    net->pos[k][0] = corner[k]->x;
    net->pos[k][1] = corner[k]->y;
    net->pos[k][2] = corner[k]->z;
    net->nrm[k][0] = corner[k]->nx;
    net->nrm[k][1] = corner[k]->ny;
    net->nrm[k][2] = corner[k]->nz;
  }

  float h = 0.0f;
  EdgePoint(p0, p1, net->pos[B210], nullptr);
  EdgePoint(p0, p2, net->pos[B201], nullptr);
  EdgePoint(p1, p0, net->pos[B120], &h);  // its displacement lifts the centre
  EdgePoint(p1, p2, net->pos[B021], nullptr);
  EdgePoint(p2, p0, net->pos[B102], nullptr);
  EdgePoint(p2, p1, net->pos[B012], nullptr);

  EdgeNormal(p0, p1, net->nrm[B210]);
  EdgeNormal(p0, p2, net->nrm[B201]);
  EdgeNormal(p1, p0, net->nrm[B120]);
  EdgeNormal(p1, p2, net->nrm[B021]);
  EdgeNormal(p2, p0, net->nrm[B102]);
  EdgeNormal(p2, p1, net->nrm[B012]);

  // Centre: the mean of the six edge points, lifted along the mean normal
  // (not normalised) by h.
  for (int c = 0; c < 3; ++c) {
    float e = (net->pos[B210][c] + net->pos[B201][c] + net->pos[B120][c] + net->pos[B021][c] +
               net->pos[B102][c] + net->pos[B012][c]) /
              6.0f;
    float a = (net->nrm[B300][c] + net->nrm[B030][c] + net->nrm[B003][c]) * kThird;
    net->nrm[B111][c] = a;
    net->pos[B111][c] = e + a * h;
  }

  bool finite = true;
  for (int i = 0; i < PATCH_CONTROLS; ++i)
    for (int c = 0; c < 3; ++c)
      finite = finite && std::isfinite(net->pos[i][c]) && std::isfinite(net->nrm[i][c]);

  if (withTexture) {
    for (int k = 0; k < 3; ++k) {
      net->uv[k][0] = corner[k]->u;
      net->uv[k][1] = corner[k]->v;
    }
    EdgeTexture(p0, p1, net->uv[B210]);
    EdgeTexture(p0, p2, net->uv[B201]);
    EdgeTexture(p1, p0, net->uv[B120]);
    EdgeTexture(p1, p2, net->uv[B021]);
    EdgeTexture(p2, p0, net->uv[B102]);
    EdgeTexture(p2, p1, net->uv[B012]);
    net->uv[B111][0] = (p0.u + p1.u + p2.u) * kThird;
    net->uv[B111][1] = (p0.v + p1.v + p2.v) * kThird;
    for (int i = 0; i < PATCH_CONTROLS; ++i)
      finite = finite && std::isfinite(net->uv[i][0]) && std::isfinite(net->uv[i][1]);
  }
  for (int i = 0; i < PATCH_CONTROLS; ++i)
    for (int c = 0; c < 3; ++c) {
      net->pos64[i][c] = net->pos[i][c];
      net->nrm64[i][c] = net->nrm[i][c];
      if (c < 2) net->uv64[i][c] = withTexture ? net->uv[i][c] : 0.0f;
    }
  net->finite = finite;
  return finite;
}

int64_t PatchSampleCap() {
  int64_t pixels = int64_t(Zwidth > 0 ? Zwidth : 0) * int64_t(Zheight > 0 ? Zheight : 0);
  int64_t cap = pixels * 64;
  const int64_t floor = int64_t(1) << 22;
  const int64_t ceiling = int64_t(1) << 40;  // keeps every step far above 1e-16
  return cap < floor ? floor : (cap > ceiling ? ceiling : cap);
}

namespace {

// Lengths of the two edges at vertex 2, as the distance routine gives them
// (single precision, widened).
void EdgesAtVertex2(const __Triangle3ds* t, const __Point3ds* p, double* l02, double* l12) {
  const __Point3ds& p0 = Corner(t, p, 0);
  const __Point3ds& p1 = Corner(t, p, 1);
  const __Point3ds& p2 = Corner(t, p, 2);
  *l02 = Distance3(p0.x, p0.y, p0.z, p2.x, p2.y, p2.z);
  *l12 = Distance3(p1.x, p1.y, p1.z, p2.x, p2.y, p2.z);
}

bool PositiveFinite(double v) { return v > 0.0 && std::isfinite(v); }

}  // namespace

bool PatchGridSteps(const __Triangle3ds* triangle, const __Point3ds* points, PatchGrid* grid) {
  double l02, l12;
  EdgesAtVertex2(triangle, points, &l02, &l12);
  // A zero-length edge gives step 1, so a degenerate triangle still yields a
  // few samples rather than a division by zero.
  grid->s0 = l02 > 0.0 ? 1.0 / (2.0 * l02) : 1.0;
  grid->s1 = l12 > 0.0 ? 1.0 / (2.0 * l12) : 1.0;
  if (!PositiveFinite(grid->s0) || !PositiveFinite(grid->s1)) return false;
  // About (1/s0 + 1) columns by (1/s1 + 1) rows.
  double samples = (1.0 / grid->s0 + 1.0) * (1.0 / grid->s1 + 1.0);
  return samples <= double(PatchSampleCap());
}

bool PatchWireStep(const __Triangle3ds* triangle, const __Point3ds* points, double* step) {
  double l02, l12;
  EdgesAtVertex2(triangle, points, &l02, &l12);
  double r02 = l02 > 0.0 ? 1.0 / l02 : 1.0;
  double r12 = l12 > 0.0 ? 1.0 / l12 : 1.0;
  // A curve point about every 4 units of the longer edge at vertex 2.
  *step = 4.0 * (r02 < r12 ? r02 : r12);
  if (!PositiveFinite(*step)) return false;
  return 1.0 / *step + 1.0 <= double(PatchSampleCap());
}

bool PatchFaceVisible(double nz) {
  if (nz >= 0.0 && _DrawBackFaces1 == 0) return true;
  if (nz < 0.0 && _DrawBackFaces1 != 0) return true;
  if (_UseMultyRefract == 2 && _DrawBackFaces1 == 0) return true;
  return _DubleSide != 0;
}

PatchBox PatchLayerBox(const __Triangle3ds* triangle, const __Point3ds* points, int centerX,
                       int centerY) {
  const __Point3ds& p0 = Corner(triangle, points, 0);
  const __Point3ds& p1 = Corner(triangle, points, 1);
  const __Point3ds& p2 = Corner(triangle, points, 2);
  float minX = std::fmin(std::fmin(p0.x, p1.x), p2.x),
        maxX = std::fmax(std::fmax(p0.x, p1.x), p2.x);
  float minY = std::fmin(std::fmin(p0.y, p1.y), p2.y),
        maxY = std::fmax(std::fmax(p0.y, p1.y), p2.y);
  // A curved patch may bulge beyond its flat triangle by about its own size.
  float mx = std::fabs(maxX - minX), my = std::fabs(maxY - minY);
  if (!(mx >= 3.0f)) mx = 3.0f;
  if (!(my >= 3.0f)) my = 3.0f;
  PatchBox box;
  box.left = TruncToInt(minX - mx + float(centerX));
  box.top = TruncToInt(minY - my + float(centerY));
  box.right = TruncToInt(maxX + mx + float(centerX));
  box.bottom = TruncToInt(maxY + my + float(centerY));
  // Held to the frame: the layer routines touch only frame pixels anyway,
  // and a box of a huge triangle must not be walked beyond it.
  box.left = ClampTo(box.left, 0, Zwidth);
  box.right = ClampTo(box.right, 0, Zwidth);
  box.top = ClampTo(box.top, 0, Zheight);
  box.bottom = ClampTo(box.bottom, 0, Zheight);
  return box;
}
