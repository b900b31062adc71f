// The geometric self-collision treatment: each particle's motion in the step
// tested against the triangles of the first panel's cells.
#include <cmath>

#include "cloth/cloth_internal.h"

namespace {

struct V3 {
  float x, y, z;
};

V3 Load(const float p[3]) { return V3{p[0], p[1], p[2]}; }
V3 Sub(const V3& a, const V3& b) { return V3{a.x - b.x, a.y - b.y, a.z - b.z}; }
float Dot(const V3& a, const V3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
V3 Cross(const V3& a, const V3& b) {
  return V3{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
V3 Along(const V3& o, float t, const V3& m) {
  return V3{o.x + t * m.x, o.y + t * m.y, o.z + t * m.z};
}

// Normal of the triangle (V0, V1, V2): (V0 - V1) x (V2 - V1).
V3 TriangleNormal(const V3& v0, const V3& v1, const V3& v2) {
  return Cross(Sub(v0, v1), Sub(v2, v1));
}

// Whether q lies in the triangle with corner c0 and edges e1, e2, solved in
// the plane that drops the coordinate of n's largest component.
bool Inside(const V3& q, const V3& c0, const V3& e1, const V3& e2, const V3& n) {
  const float ax = std::fabs(n.x);
  const float ay = std::fabs(n.y);
  const float az = std::fabs(n.z);
  const V3 r = Sub(q, c0);
  float r0, r1, a0, a1, b0, b1;  // the two kept coordinates of r, e1, e2
  if (ax > (ay > az ? ay : az)) {
    r0 = r.y, r1 = r.z, a0 = e1.y, a1 = e1.z, b0 = e2.y, b1 = e2.z;
  } else if (az > ay) {
    r0 = r.x, r1 = r.y, a0 = e1.x, a1 = e1.y, b0 = e2.x, b1 = e2.y;
  } else {
    r0 = r.x, r1 = r.z, a0 = e1.x, a1 = e1.z, b0 = e2.x, b1 = e2.z;
  }
  const float det = a0 * b1 - a1 * b0;
  if (det == 0.0f) return false;
  const float u = (r0 * b1 - r1 * b0) / det;
  const float v = (a0 * r1 - a1 * r0) / det;
  return u >= 0.0f && v >= 0.0f && u + v <= 1.0f;
}

void StoreXYZ(ClothParticle& p, const float x[3]) {
  p.x = x[0];
  p.y = x[1];
  p.z = x[2];
}

}  // namespace

bool SegmentTriangleHit(const float S[3], const float m[3], const float V0[3], const float V1[3],
                        const float V2[3], float X[3]) {
  const V3 s = Load(S), dir = Load(m), v0 = Load(V0), v1 = Load(V1), v2 = Load(V2);
  const V3 n = TriangleNormal(v0, v1, v2);
  const float denom = Dot(n, dir);
  if (denom == 0.0f) return false;  // parallel to the plane
  const float t = (Dot(n, v0) - Dot(n, s)) / denom;
  if (!(t > 0.0f && t < 1.0f)) return false;  // both ends excluded; NaN misses
  const V3 x = Along(s, t, dir);
  X[0] = x.x;
  X[1] = x.y;
  X[2] = x.z;
  return Inside(x, v0, Sub(v1, v0), Sub(v2, v0), n);
}

bool SegmentCrossesTrianglePair(const float O[3], const float m[3], const float P0[3], float X[3],
                                const float V1[3], const float V2[3]) {
  const V3 o = Load(O), dir = Load(m), p0 = Load(P0), x = Load(X), v1 = Load(V1), v2 = Load(V2);
  const V3 n0 = TriangleNormal(p0, v1, v2);
  const V3 n1 = TriangleNormal(x, v1, v2);
  const float d0 = Dot(n0, dir);
  const float d1 = Dot(n1, dir);
  if (d0 == 0.0f || d1 == 0.0f) return false;
  const float t0 = (Dot(n0, p0) - Dot(n0, o)) / d0;
  const float t1 = (Dot(n1, x) - Dot(n1, o)) / d1;
  // The line is not limited to a segment: it must meet the two planes on
  // opposite sides of O.
  if ((t0 < 0.0f && t1 < 0.0f) || (t0 > 0.0f && t1 > 0.0f)) return false;
  const V3 e1 = Sub(v1, x);
  const V3 e2 = Sub(v2, x);
  if (!Inside(Along(o, t0, dir), x, e1, e2, n0)) return false;
  if (!Inside(Along(o, t1, dir), x, e1, e2, n1)) return false;
  X[0] = P0[0];
  X[1] = P0[1];
  X[2] = P0[2];
  return true;
}

void ClothSelfIntersect(int32_t a) {
  if (ClothCur == nullptr || ClothPrev == nullptr || !ClothGridUsable() || a < 0 ||
      a >= ClothCount)
    return;
  const int32_t w = ClothW;
  const ClothParticle& before = ClothPrev[a];
  const float S[3] = {before.x, before.y, before.z};
  const float m[3] = {ClothCur[a].x - S[0], ClothCur[a].y - S[1], ClothCur[a].z - S[2]};
  const int32_t row = a / w;
  const int32_t col = a % w;
  for (int32_t r = 1; r < ClothH; ++r)
    for (int32_t c = 1; c < w; ++c) {
      if (r >= row - 1 && r <= row + 1 && c >= col - 1 && c <= col + 1) continue;
      const int32_t g = r * w + c;
      if (row > 0 && col > 0) {
        // The particle's own two cells swept from its previous position to
        // its current one against the corner g; a hit puts it back.
        const ClothParticle& o = ClothCur[g];
        const ClothParticle& l = ClothCur[a - 1];
        const ClothParticle& ld = ClothCur[a - w - 1];
        const float O[3] = {o.x, o.y, o.z};
        const float V1[3] = {l.x, l.y, l.z};
        const float V2[3] = {ld.x, ld.y, ld.z};
        float X[3] = {ClothCur[a].x, ClothCur[a].y, ClothCur[a].z};
        if (SegmentCrossesTrianglePair(O, m, S, X, V1, V2)) StoreXYZ(ClothCur[a], X);
      }
      // The cell (r-1 .. r, c-1 .. c) split along its diagonal from
      // (r-1, c-1) to (r, c), as the diagonal constraints run.
      const ClothParticle& q0 = ClothPrev[g];
      const ClothParticle& q1 = ClothPrev[g - 1];
      const ClothParticle& q2 = ClothPrev[g - w - 1];
      const ClothParticle& q3 = ClothPrev[g - w];
      const float A[3] = {q0.x, q0.y, q0.z};
      const float B[3] = {q1.x, q1.y, q1.z};
      const float C[3] = {q2.x, q2.y, q2.z};
      const float D[3] = {q3.x, q3.y, q3.z};
      float X[3];
      if (SegmentTriangleHit(S, m, A, B, C, X) || SegmentTriangleHit(S, m, A, C, D, X))
        StoreXYZ(ClothCur[a], X);
    }
}
