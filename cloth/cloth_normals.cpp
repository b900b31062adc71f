// Particle normals, read only by the wind and damping forces.
//
// They are not unit vectors: each cross product is scaled to unit L1 norm
// (|x| + |y| + |z| = 1) and the interior ones are then blended with the two
// neighbours already computed in the same pass. The left column is tilted
// toward -y and +z, more in the lower rows, and the blend carries the tilt
// into the panel, so the normal-directed forces act even on a flat panel.
// A vector of L1 norm 0 is kept as it is rather than divided.
#include <cmath>

#include "cloth/cloth_internal.h"

namespace {

struct V3 {
  float x, y, z;
};

V3 At(const ClothParticle* p, int32_t r, int32_t c) {
  const ClothParticle& q = p[int64_t(r) * ClothW + c];
  return V3{q.x, q.y, q.z};
}

// (P - R) x (U - R), written out as the component formulas.
V3 Cross(const V3& P, const V3& R, const V3& U) {
  V3 n;
  n.x = (P.y - R.y) * (U.z - R.z) - (U.y - R.y) * (P.z - R.z);
  n.y = (P.z - R.z) * (U.x - R.x) - (P.x - R.x) * (U.z - R.z);
  n.z = (P.x - R.x) * (U.y - R.y) - (P.y - R.y) * (U.x - R.x);
  return n;
}

V3 ScaleToUnitL1(V3 n) {
  const float s = std::fabs(n.x) + std::fabs(n.y) + std::fabs(n.z);
  if (s != 0.0f) {
    n.x = n.x / s;
    n.y = n.y / s;
    n.z = n.z / s;
  }
  return n;
}

void Store(int32_t r, int32_t c, const V3& n) {
  ClothParticle& q = ClothNormals[int64_t(r) * ClothW + c];
  q.x = n.x;
  q.y = n.y;
  q.z = n.z;
}

V3 Stored(int32_t r, int32_t c) { return At(ClothNormals, r, c); }

// Single-precision cosine for 0 <= t <= pi/3, the only range the tilt needs:
// the Taylor series in double, rounded once. It is our own so that the
// normals, and with them every later position, are the same bit for bit in
// every build whatever the platform's maths library rounds.
float TiltCosine(float t) {
  const double x2 = double(t) * double(t);
  double sum = 1.0;
  double term = 1.0;
  for (int k = 1; k <= 11; ++k) {
    term = -term * x2 / double((2 * k - 1) * (2 * k));
    sum += term;
  }
  return float(sum);
}

// First row, columns 0 .. W-2 from the right and upper neighbours; the last
// particle has no right neighbour and takes the normal of (0, W-2).
void FirstRow() {
  const int32_t w = ClothW;
  for (int32_t c = 0; c + 1 < w; ++c)
    Store(0, c, ScaleToUnitL1(Cross(At(ClothCur, 0, c), At(ClothCur, 0, c + 1), At(ClothCur, 1, c))));
  Store(0, w - 1, Stored(0, w - 2));
}

// Rows 1 .. H-1, columns 1 .. W-1 from the left and lower neighbours, each
// blended with the normals just stored below and to the left of it.
void Interior() {
  for (int32_t r = 1; r < ClothH; ++r)
    for (int32_t c = 1; c < ClothW; ++c) {
      const V3 n = ScaleToUnitL1(
          Cross(At(ClothCur, r, c), At(ClothCur, r, c - 1), At(ClothCur, r - 1, c)));
      const V3 below = Stored(r - 1, c);
      const V3 left = Stored(r, c - 1);
      Store(r, c, V3{(n.x + below.x + left.x) / 3.0f, (n.y + below.y + left.y) / 3.0f,
                     (n.z + below.z + left.z) / 3.0f});
    }
}

bool NormalsUsable() {
  return ClothCur != nullptr && ClothNormals != nullptr && ClothW >= 2 && ClothH >= 2 &&
         int64_t(ClothW) * ClothH <= CLOTH_MAX_PARTICLES;
}

}  // namespace

void ClothComputeNormals() {
  if (!NormalsUsable()) return;
  FirstRow();

  const float a = float(3.141592 / double(3 * ClothH));
  for (int32_t r = 0; r + 1 < ClothH; ++r) {
    V3 n = Cross(At(ClothCur, r, 0), At(ClothCur, r, 1), At(ClothCur, r + 1, 0));
    const float t = float(r) * a;
    n.z = float(double(n.z) + 0.5 * double(TiltCosine(t)));
    n.y = float(double(n.y) - 0.5 * double(TiltCosine(t / 2.0f)));
    Store(r, 0, ScaleToUnitL1(n));
  }

  const V3 above = Stored(ClothH - 2, 0);
  Store(ClothH - 1, 0,
        V3{float(double(above.x) + 0.25), float(double(above.y) - 0.25),
           float(double(above.z) - 0.25)});
  Interior();
}

void ClothComputeNormalsOld() {
  if (!NormalsUsable()) return;
  FirstRow();
  for (int32_t r = 0; r + 1 < ClothH; ++r)
    Store(r, 0, ScaleToUnitL1(Cross(At(ClothCur, r, 0), At(ClothCur, r, 1), At(ClothCur, r + 1, 0))));
  Store(ClothH - 1, 0, Stored(ClothH - 2, 0));
  Interior();
}
