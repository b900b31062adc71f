// The step: forces, integration, the rod and the constraint passes.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/cloth/cloth_rig.h"

namespace {

// The Theatre defaults: "Weight" 10, "Gravity force" 9.8, "Accelerator" 100,
// "Wind force" 0.
void TheatreDefaults() {
  ClothWeight = 10.0f;
  ClothGravity = 9.8f;
  ClothTimeScale = 1.0f;
  ClothWindForce = 0.0f;
}

TEST(ClothStep, FreeParticleFallsByGravityTwiceTimesWeight) {
  ClothRig rig(3, 3, false);
  TheatreDefaults();
  rig.LayOut(ClothFixation::Free);
  ClothStep();
  // 2 x 9.8 x 10 x 0.0025^2 = 0.001225 along +y; the middle particle starts
  // at y = 0, so its new y is that displacement itself.
  const ClothParticle& p = rig.Cur(1, 1);
  EXPECT_NEAR(p.y, 0.001225f, 1e-7f);
  EXPECT_NEAR(p.x, 0.0f, 1e-7f);
  EXPECT_EQ(p.z, 1.0f);
  EXPECT_EQ(p.w, 10.0f);  // weights never change
  // The previous buffer keeps the start positions.
  EXPECT_EQ(ClothPrev[4].y, 0.0f);
  EXPECT_EQ(ClothCur, ClothPosB);  // one swap a step

  // Without constraints to feel rounding, every particle moves by the same
  // float increment; a second step doubles the velocity: 3 x 0.001225 in all.
  ClothRig lone(3, 3, false);
  TheatreDefaults();
  lone.LayOut(ClothFixation::Free);
  ClothConstraintCount = 0;
  ClothSimulate(2);
  EXPECT_NEAR(lone.Cur(1, 1).y, 3 * 0.001225f, 2e-7f);
  EXPECT_EQ(lone.Cur(1, 1).x, 0.0f);
}

TEST(ClothStep, PinnedParticlesNeverMove) {
  ClothRig rig(8, 8, false);
  rig.LayOut(ClothFixation::AllCorners);  // wind 100 at its load direction
  ClothCollision = CLOTH_COLLISION_REPEL;
  ClothSimulate(60);
  const int corners[4][2] = {{0, 0}, {7, 0}, {7, 7}, {0, 7}};
  for (const auto& c : corners) EXPECT_TRUE(SameBits(rig.Cur(c[0], c[1]), rig.rest[c[0] * 8 + c[1]]));
  EXPECT_NE(rig.Cur(3, 3).y, rig.rest[3 * 8 + 3].y);  // the rest moved
}

TEST(ClothStep, NoWeightOrNoAcceleratorMovesNothingButTheHooks) {
  ClothRig rig(11, 4, false);
  TheatreDefaults();
  ClothWindForce = 100.0f;
  ClothWeight = 0.0f;
  rig.LayOut(ClothFixation::TopTied);
  ClothRodDrive = 1;
  ClothMotionSpeed = 0.01f;  // f = 0: every hook slides by +v
  ClothSimulate(3);
  // d = 10 / 5 = 2: hooks at columns 0, 2, ..., 10 of the top row; column 10
  // is also the closing hook, so it slides twice a step.
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 11; ++c) {
      const ClothParticle& p = rig.Cur(r, c);
      const ClothParticle& q = rig.rest[r * 11 + c];
      float expected = q.x;
      if (r == 3 && c % 2 == 0) {
        const int shifts = c == 10 ? 6 : 3;
        for (int s = 0; s < shifts; ++s) expected += 0.01f;
      }
      EXPECT_EQ(p.x, expected) << r << "," << c;
      EXPECT_EQ(p.y, q.y);
      EXPECT_EQ(p.z, q.z);
    }

  ClothRig still(6, 6, false);
  TheatreDefaults();
  ClothWindForce = 100.0f;
  ClothTimeScale = 0.0f;  // "Accelerator" 0, the rod at rest
  still.LayOut(ClothFixation::TopTied);
  ClothRodDrive = 1;
  ClothSimulate(3);
  for (int i = 0; i < ClothCount; ++i) EXPECT_TRUE(SameBits(ClothCur[i], still.rest[i]));
  // Free particles have weight, so once the hooks move the constraints pull
  // their neighbours along even without acceleration.
  ClothMotionSpeed = 0.05f;
  ClothStep();
  EXPECT_GT(still.Cur(4, 1).x, still.rest[4 * 6 + 1].x);
}

TEST(ClothStep, NegativeWeightLiftsTheCloth) {
  ClothRig rig(3, 3, false);
  TheatreDefaults();
  ClothWeight = -10.0f;
  rig.LayOut(ClothFixation::Free);
  ClothStep();
  EXPECT_NEAR(rig.Cur(1, 1).y, -0.001225f, 1e-7f);
}

TEST(ClothStep, WindAndDampingActAlongTheNormal) {
  ClothRig rig(2, 2, false);
  rig.LayOut(ClothFixation::Free);
  // One particle, normal (0, 0, 1), wind (1, 2, 3) x 2, gravity 0.5, and a
  // last displacement of (0, 0, 0.01) (previous minus current = -0.01 in z).
  ClothGravity = 0.5f;
  ClothWindForce = 2.0f;
  ClothWindDir[0] = 1.0f;
  ClothWindDir[1] = 2.0f;
  ClothWindDir[2] = 3.0f;
  for (int i = 0; i < 4; ++i) {
    rig.normals[i] = ClothParticle{0, 0, 1, 42};
    rig.posB[i] = rig.posA[i];
    rig.posB[i].z -= 0.25f;  // 1.0 - 0.25: moved +0.25 in z last step
  }
  rig.normals[3] = ClothParticle{0, 0, -1, 42};  // the sign does not matter
  rig.acc[0].w = 5.0f;
  ClothAccumulateForces();
  // acc = (0, 2 x 0.5, 0) + n (n.wind = 6) + n x 80 x (-0.25) = (0, 1, 6 - 20).
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(rig.acc[i].x, 0.0f);
    EXPECT_EQ(rig.acc[i].y, 1.0f);
  }
  EXPECT_EQ(rig.acc[0].z, -14.0f);
  EXPECT_EQ(rig.acc[3].z, -14.0f);  // both terms are even in n
  EXPECT_EQ(rig.acc[0].w, 5.0f);   // the fourth float is not touched
}

TEST(ClothStep, RodOffsetsByMotionAndFoldingSpeed) {
  ClothRig rig(10, 2, false);
  float left = 0.0f;
  ClothMotionSpeed = 0.01f;
  ClothFoldingSpeed = 0.02f;
  // v > 0: right = v + (W - col) / W x f, left = -v - col / W x f.
  EXPECT_FLOAT_EQ(ClothRodOffset(5.0f, 3, &left), 0.024f);
  EXPECT_FLOAT_EQ(left, -0.016f);
  // v < 0: right = v - col / W x f, left = -v + (W - col) / W x f.
  ClothMotionSpeed = -0.01f;
  EXPECT_FLOAT_EQ(ClothRodOffset(5.0f, 3, &left), -0.016f);
  EXPECT_FLOAT_EQ(left, 0.024f);
  // v = 0: both toward the middle of the panel, -(col - W/2) / (W/2) x f.
  ClothMotionSpeed = 0.0f;
  EXPECT_FLOAT_EQ(ClothRodOffset(5.0f, 3, &left), 0.008f);
  EXPECT_FLOAT_EQ(left, 0.008f);
  EXPECT_FLOAT_EQ(ClothRodOffset(5.0f, 9, &left), -0.016f);
  EXPECT_EQ(ClothRodOffset(5.0f, 5, &left), 0.0f);
  // f = 0: the panels slide by -v and +v.
  ClothMotionSpeed = 0.03f;
  ClothFoldingSpeed = 0.0f;
  EXPECT_EQ(ClothRodOffset(5.0f, 7, &left), 0.03f);
  EXPECT_EQ(left, -0.03f);
}

TEST(ClothStep, RodMovesEachPanelByItsOwnShift) {
  // W - 1 = 9 is a multiple of d = 1: the last hook slides twice; with two
  // panels the left one takes the left shift.
  ClothRig rig(10, 3, true);
  ClothWeight = 0.0f;
  rig.LayOut(ClothFixation::TopTied);
  ClothRodDrive = 1;
  ClothMotionSpeed = 0.01f;
  ClothFoldingSpeed = 0.02f;
  ClothStep();
  for (int c = 0; c < 10; ++c) {
    float left = 0.0f;
    const float right = ClothRodOffset(5.0f, c, &left);
    float expectLeft = rig.rest[20 + c].x + left;
    float expectRight = rig.rest[30 + 20 + c].x + right;
    if (c == 9) {
      expectLeft += left;
      expectRight += right;
    }
    EXPECT_EQ(rig.Cur(2, c, 0).x, expectLeft) << c;
    EXPECT_EQ(rig.Cur(2, c, 1).x, expectRight) << c;
    EXPECT_EQ(rig.Cur(1, c, 0).x, rig.rest[10 + c].x);  // only the top row
  }
}

// Constraints on hand-placed particles: two free, one pinned, a chain.
struct Line {
  ClothRig rig{3, 2, false};
  explicit Line(std::initializer_list<ClothParticle> ps) {
    int i = 0;
    for (const ClothParticle& p : ps) rig.posA[i++] = p;
    for (; i < 6; ++i) rig.posA[i] = ClothParticle{100.0f * i, 0, 0, 1};
    ClothCur = ClothPosA;
  }
  void Constrain(std::initializer_list<ClothConstraint> cs) {
    int i = 0;
    for (const ClothConstraint& c : cs) rig.constraints[i++] = c;
    ClothConstraintCount = i;
  }
};

TEST(ClothConstraints, PinnedEndLeavesTheWholeCorrectionToTheOther) {
  Line line({{0, 0, 0, 0.0f}, {3, 0, 0, 2.0f}});
  line.Constrain({{0, 4, 1.0f}});
  ClothSatisfyConstraints();
  EXPECT_EQ(ClothCur[0].x, 0.0f);
  EXPECT_NEAR(ClothCur[1].x, 1.0f, 1e-6f);  // the full distance in one pass

  Line both({{0, 0, 0, 1.0f}, {0, 4, 0, 1.0f}});
  both.Constrain({{0, 4, 1.0f}});
  ClothSatisfyConstraints();  // equal weights: each end half the way
  EXPECT_NEAR(ClothCur[0].y, 1.5f, 1e-6f);
  EXPECT_NEAR(ClothCur[1].y, 2.5f, 1e-6f);

  Line heavy({{0, 0, 0, 3.0f}, {4, 0, 0, 1.0f}});
  heavy.Constrain({{0, 4, 2.0f}});
  ClothSatisfyConstraints();  // shares in proportion to w: 1.5 and 0.5
  EXPECT_NEAR(ClothCur[0].x, 1.5f, 1e-6f);
  EXPECT_NEAR(ClothCur[1].x, 3.5f, 1e-6f);
}

TEST(ClothConstraints, ChainSeesEarlierCorrections) {
  Line line({{0, 0, 0, 1.0f}, {2, 0, 0, 1.0f}, {4, 0, 0, 1.0f}});
  line.Constrain({{0, 4, 1.0f}, {4, 8, 1.0f}});
  ClothSatisfyConstraints();
  // First pair: 0 and 2 -> 0.5 and 1.5. Second pair then sees 1.5 and 4
  // (length 2.5): each moves 0.75 -> 2.25 and 3.25.
  EXPECT_NEAR(ClothCur[0].x, 0.5f, 1e-6f);
  EXPECT_NEAR(ClothCur[1].x, 2.25f, 1e-6f);
  EXPECT_NEAR(ClothCur[2].x, 3.25f, 1e-6f);
}

TEST(ClothConstraints, DegenerateAndHostileConstraintsAreSkipped) {
  Line line({{1, 1, 1, 1.0f}, {1, 1, 1, 1.0f}, {0, 0, 0, 0.0f}, {3, 0, 0, 0.0f}});
  line.Constrain({{0, 4, 1.0f},   // coincident ends
                  {8, 12, 1.0f},  // both ends pinned
                  {0, 24, 1.0f},  // beyond the last particle
                  {-4, 0, 1.0f},  // negative offset
                  {2, 4, 1.0f}}); // not a particle's start
  const std::vector<ClothParticle> before(line.rig.posA);
  ClothSatisfyConstraints();
  for (int i = 0; i < 6; ++i) {
    EXPECT_TRUE(SameBits(ClothCur[i], before[i])) << i;
    EXPECT_TRUE(std::isfinite(ClothCur[i].x));
  }
}

}  // namespace
