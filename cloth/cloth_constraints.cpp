// Relaxation of the distance constraints.
//
// Each constraint moves its two ends along their difference so that they
// come back to the rest length, each end by a share proportional to its
// weight (an inverse mass); a pinned end (w = 0) does not move and the other
// end then takes the whole correction. Constraints are taken in array order
// and corrected in place, so later ones see the earlier corrections.
#include <cmath>

#include "cloth/cloth_internal.h"

void ClothSatisfyConstraints() {
  if (ClothCur == nullptr || ClothConstraints == nullptr || !ClothGridUsable()) return;
  // Offsets count floats: particle index x 4. The last particle starts at
  // 4 * (count - 1).
  const int32_t last = 4 * (ClothCount - 1);
  for (int32_t i = 0; i < ClothConstraintCount; ++i) {
    const ClothConstraint& c = ClothConstraints[i];
    // One unsigned compare an end also rejects negative offsets.
    if (uint32_t(c.a) > uint32_t(last) || uint32_t(c.b) > uint32_t(last) || ((c.a | c.b) & 3))
      continue;
    ClothParticle& A = ClothCur[c.a / 4];
    ClothParticle& B = ClothCur[c.b / 4];
    const float wA = A.w;
    const float wB = B.w;
    const float dx = A.x - B.x;
    const float dy = A.y - B.y;
    const float dz = A.z - B.z;
    const float length = std::sqrt(dx * dx + dy * dy + dz * dz);
    const float weights = wA + wB;
    // Coincident ends have no direction to push along, and two pinned ends
    // have no share to give: both would divide by zero.
    if (length == 0.0f || weights == 0.0f) continue;
    const float k = (length - c.rest) / (length * weights);
    if (wA != 0.0f) {
      const float s = wA * k;
      A.x = A.x - dx * s;
      A.y = A.y - dy * s;
      A.z = A.z - dz * s;
    }
    if (wB != 0.0f) {
      const float s = wB * k;
      B.x = B.x + dx * s;
      B.y = B.y + dy * s;
      B.z = B.z + dz * s;
    }
  }
}
