// One simulation step: forces, Verlet integration with the driven rod,
// relaxation, collision, and the normals the next step's forces read.
#include "cloth/cloth_internal.h"

namespace {

constexpr float TIME_STEP = 0.0025f;     // simulation time of a step, used squared
constexpr float NORMAL_DAMPING = 80.0f;  // factor of the velocity along the normal

bool StepUsable() {
  return ClothGridUsable() && ClothCur != nullptr && ClothPrev != nullptr &&
         ClothAcc != nullptr && ClothNormals != nullptr &&
         (ClothConstraintCount <= 0 || ClothConstraints != nullptr);
}

// Moves the rod's hooks along x: every d-th column of the top row from 0,
// then the last column once more (so it moves twice when W-1 is a multiple
// of d). With two panels the left panel takes the left shift.
void DriveRod() {
  const int32_t w = ClothW;
  const int32_t d = ClothColumnInterval();
  float halfW = float(w) / 2.0f;
  if (halfW == 0.0f) halfW = 1.0f;
  const int32_t topRow = (ClothH - 1) * w;
  auto shift = [&](int32_t col) {
    float left = 0.0f;
    const float right = ClothRodOffset(halfW, col, &left);
    const int32_t p = topRow + col;
    if (ClothTwoPanels) {
      ClothCur[p].x += left;
      ClothCur[p + ClothPanelCount].x += right;
    } else {
      ClothCur[p].x += right;
    }
  };
  for (int32_t col = 0; col < w; col += d) shift(col);
  shift(w - 1);
}

}  // namespace

void ClothAccumulateForces() {
  if (!StepUsable()) return;
  const float wx = ClothWindDir[0] * ClothWindForce;
  const float wy = ClothWindDir[1] * ClothWindForce;
  const float wz = ClothWindDir[2] * ClothWindForce;
  for (int32_t i = 0; i < ClothCount; ++i) {
    const ClothParticle& n = ClothNormals[i];
    const ClothParticle& p = ClothCur[i];
    const ClothParticle& q = ClothPrev[i];
    float ax = 0.0f;
    float ay = ClothGravity;
    float az = 0.0f;
    ay = ay + ClothGravity;
    // Wind pushes along the normal by its component along the normal; the
    // damping opposes the last step's motion along the normal (q - p is that
    // motion reversed). Both are even in n, so the normal's sign is free.
    const float s = wx * n.x + wy * n.y + wz * n.z;
    ax = ax + n.x * s;
    ay = ay + n.y * s;
    az = az + n.z * s;
    const float damp = NORMAL_DAMPING * ((q.x - p.x) * n.x + (q.y - p.y) * n.y + (q.z - p.z) * n.z);
    ax = ax + n.x * damp;
    ay = ay + n.y * damp;
    az = az + n.z * damp;
    ClothAcc[i].x = ax;
    ClothAcc[i].y = ay;
    ClothAcc[i].z = az;
  }
}

void ClothIntegrate() {
  if (!StepUsable()) return;
  ClothParticle* t = ClothCur;
  ClothCur = ClothPrev;
  ClothPrev = t;
  // ClothPrev now holds the current positions; the older ones in ClothCur
  // are overwritten with the new ones.
  for (int32_t i = 0; i < ClothCount; ++i) {
    ClothParticle& next = ClothCur[i];
    const ClothParticle& now = ClothPrev[i];
    const ClothParticle& a = ClothAcc[i];
    const float k = next.w * TIME_STEP * TIME_STEP * ClothTimeScale;
    if (k == 0.0f) {
      next.x = now.x;
      next.y = now.y;
      next.z = now.z;
    } else {
      next.x = 2.0f * now.x - next.x + a.x * k;
      next.y = 2.0f * now.y - next.y + a.y * k;
      next.z = 2.0f * now.z - next.z + a.z * k;
    }
  }
  if (ClothRodDrive) DriveRod();
}

float ClothRodOffset(float halfW, int32_t col, float* left) {
  const float v = ClothMotionSpeed;
  const float f = ClothFoldingSpeed;
  const float w = float(ClothW);
  float right = v;
  *left = -v;
  if (f == 0.0f) return right;
  if (v == 0.0f) {
    // Every hook toward the middle of its own panel, in proportion to its
    // distance from it (away from it for f < 0).
    right = -((float(col) - halfW) / halfW) * f;
    *left = right;
  } else if (v > 0.0f) {
    // Panels move apart, the hooks nearest the seam fastest.
    right = v + (float(ClothW - col) / w) * f;
    *left = -v - (float(col) / w) * f;
  } else if (v < 0.0f) {
    // Panels move together, the hooks farthest from the seam fastest.
    right = v - (float(col) / w) * f;
    *left = -v + (float(ClothW - col) / w) * f;
  }
  return right;
}

void ClothStep() {
  if (!StepUsable()) return;
  ClothAccumulateForces();
  ClothIntegrate();
  for (int32_t pass = 0; pass < CLOTH_RELAXATION_PASSES; ++pass) ClothSatisfyConstraints();
  if (ClothCollision == CLOTH_COLLISION_SEGMENT) {
    for (int32_t i = 0; i < ClothCount; ++i) ClothSelfIntersect(i);
  } else if (ClothCollision == CLOTH_COLLISION_REPEL) {
    ClothRepelAll();
  }
  ClothComputeAllNormals();
}

int32_t ClothSimulate(int32_t steps) {
  for (int32_t i = 0; i < steps; ++i) ClothStep();
  return steps;
}
