// Layouts of one and two panels: positions, rest lengths, constraint order.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/cloth/cloth_rig.h"

namespace {

void ExpectConstraint(const ClothConstraint& c, int32_t a, int32_t b, float rest) {
  EXPECT_EQ(c.a, 4 * a);
  EXPECT_EQ(c.b, 4 * b);
  EXPECT_FLOAT_EQ(c.rest, rest);
}

TEST(ClothSetup, OnePanelPositionsAndRestLengths) {
  ClothRig rig(5, 3, false);
  ClothInitSingle(ClothFixation::Free);
  // 5 columns over -2.5 .. 2.5 (spacing 1.25), 3 rows from y = 2.5 down.
  const float xs[5] = {-2.5f, -1.25f, 0.0f, 1.25f, 2.5f};
  const float ys[3] = {2.5f, 0.0f, -2.5f};
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 5; ++c) {
      const ClothParticle& p = rig.posA[r * 5 + c];
      EXPECT_FLOAT_EQ(p.x, xs[c]) << r << "," << c;
      EXPECT_FLOAT_EQ(p.y, ys[r]);
      EXPECT_EQ(p.z, 1.0f);
      EXPECT_EQ(p.w, 2.15f);
      EXPECT_TRUE(SameBits(p, rig.posB[r * 5 + c]));  // at rest, weights in both
    }
  EXPECT_EQ(ClothCur, ClothPosA);
  EXPECT_EQ(ClothPrev, ClothPosB);

  // (W-1)H + (H-1)(2W-1) = 12 + 18 = 30: the 12 horizontal ones row by row,
  // then the 10 vertical, then the 8 one-way diagonals.
  ASSERT_EQ(ClothConstraintCount, 30);
  const auto& k = rig.constraints;
  ExpectConstraint(k[0], 0, 1, 1.25f);
  ExpectConstraint(k[3], 3, 4, 1.25f);
  ExpectConstraint(k[4], 5, 6, 1.25f);
  ExpectConstraint(k[11], 13, 14, 1.25f);
  ExpectConstraint(k[12], 0, 5, 2.5f);
  ExpectConstraint(k[21], 9, 14, 2.5f);
  const float diagonal = std::sqrt(1.25f * 1.25f + 2.5f * 2.5f);
  ExpectConstraint(k[22], 0, 6, diagonal);
  ExpectConstraint(k[25], 3, 9, diagonal);
  ExpectConstraint(k[26], 5, 11, diagonal);
  ExpectConstraint(k[29], 8, 14, diagonal);
  // The layout satisfies every constraint.
  for (const ClothConstraint& c : k) {
    const ClothParticle& a = rig.posA[c.a / 4];
    const ClothParticle& b = rig.posA[c.b / 4];
    const float len = std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y));
    EXPECT_NEAR(len, c.rest, 1e-6f);
  }
}

TEST(ClothSetup, TwoPanelsHalveTheWidthAndPutTheRightOneInFront) {
  ClothRig rig(3, 2, true);
  // Sentinels show what the two-panel layout leaves alone.
  for (auto& p : rig.posA) p.w = -7.0f;
  for (auto& p : rig.posB) p = ClothParticle{-7, -7, -7, -7};
  ClothInitDouble(ClothFixation::Free);
  const float left[3] = {-2.5f, -1.25f, 0.0f};
  const float right[3] = {0.0f, 1.25f, 2.5f};
  for (int r = 0; r < 2; ++r)
    for (int c = 0; c < 3; ++c) {
      const ClothParticle& l = rig.posA[r * 3 + c];
      const ClothParticle& p = rig.posA[6 + r * 3 + c];
      EXPECT_EQ(l.x, left[c]);
      EXPECT_EQ(p.x, right[c]);
      EXPECT_EQ(l.y, r == 0 ? 2.5f : -2.5f);
      EXPECT_EQ(p.y, l.y);
      EXPECT_EQ(l.z, 1.0f);
      EXPECT_EQ(p.z, 1.5f);
      EXPECT_EQ(l.w, 2.15f);
      EXPECT_EQ(p.w, -7.0f);  // the right panel's weights come from the restart
      EXPECT_TRUE(SameBits(rig.posB[r * 3 + c], l));
      EXPECT_EQ(rig.posB[6 + r * 3 + c].x, -7.0f);
    }
  // 9 constraints a panel; the right panel's follow with the panel offset.
  ASSERT_EQ(ClothConstraintCount, 18);
  const float diagonal = std::sqrt(1.25f * 1.25f + 25.0f);
  const int32_t order[9][2] = {{0, 1}, {1, 2}, {3, 4}, {4, 5}, {0, 3},
                               {1, 4}, {2, 5}, {0, 4}, {1, 5}};
  for (int panel = 0; panel < 2; ++panel)
    for (int i = 0; i < 9; ++i) {
      const float rest = i < 4 ? 1.25f : i < 7 ? 5.0f : diagonal;
      ExpectConstraint(rig.constraints[panel * 9 + i], order[i][0] + 6 * panel,
                       order[i][1] + 6 * panel, rest);
    }
  // Both panels' normals were computed: the right panel's first row is flat.
  EXPECT_EQ(rig.normals[6 + 1].z, 1.0f);
  EXPECT_EQ(ClothCur, ClothPosA);
  EXPECT_EQ(ClothNormals, rig.normals.data());
}

// Four columns: -2.5 + c x 5 x 0.5 / 3 rounded once from double gives the
// floats nearest -5/3 and -5/6 (a float sum lands one step off at c = 1).
TEST(ClothSetup, TwoPanelPositionsAreRoundedOnceFromDouble) {
  ClothRig rig(4, 2, true);
  ClothInitDouble(ClothFixation::Free);
  const float left[4] = {-2.5f, float(-5.0 / 3.0), float(-5.0 / 6.0), 0.0f};
  for (int c = 0; c < 4; ++c) EXPECT_EQ(rig.posA[c].x, left[c]) << c;
}

TEST(ClothSetup, SmallestGridHasFiveConstraintsAPanel) {
  ClothRig rig(2, 2, true);
  ASSERT_EQ(ClothConstraintCount, 10);
  ClothInitDouble(ClothFixation::Free);
  ExpectConstraint(rig.constraints[0], 0, 1, 2.5f);
  ExpectConstraint(rig.constraints[1], 2, 3, 2.5f);
  ExpectConstraint(rig.constraints[2], 0, 2, 5.0f);
  ExpectConstraint(rig.constraints[3], 1, 3, 5.0f);
  ExpectConstraint(rig.constraints[4], 0, 3, std::sqrt(2.5f * 2.5f + 25.0f));
  ExpectConstraint(rig.constraints[5], 4, 5, 2.5f);
  ExpectConstraint(rig.constraints[9], 4, 7, std::sqrt(2.5f * 2.5f + 25.0f));
}

TEST(ClothSetup, RefusesGridsItCannotLayOut) {
  ClothRig rig(4, 4, false);
  for (auto& p : rig.posA) p = ClothParticle{9, 9, 9, 9};
  ClothConstraintCount = 5;  // does not match the grid
  ClothInitSingle(ClothFixation::Free);
  EXPECT_EQ(rig.posA[0].x, 9.0f);
  EXPECT_EQ(ClothCur, nullptr);
  ClothConstraintCount = 33;
  ClothW = 1;  // below the smallest grid
  ClothInitSingle(ClothFixation::Free);
  EXPECT_EQ(rig.posA[0].x, 9.0f);
  ClothW = 4;
  ClothInitDouble(ClothFixation::Free);  // not a two-panel grid
  EXPECT_EQ(rig.posA[0].x, 9.0f);
  ClothPosB = nullptr;
  ClothInitSingle(ClothFixation::Free);
  EXPECT_EQ(rig.posA[0].x, 9.0f);
  EXPECT_EQ(ClothResetAndPreroll(3), 3);  // nothing bound to copy into: no-op
  EXPECT_EQ(rig.posA[0].x, 9.0f);
}

TEST(ClothSetup, ResetAndPrerollStartsFromTheRestState) {
  ClothRig rig(6, 6, false);
  rig.LayOut(ClothFixation::TopSolid);
  ClothWeight = 10.0f;
  ClothWindForce = 0.0f;
  // A cloth that has moved away and a rest state with its own weights.
  ClothSimulate(7);
  for (auto& p : rig.rest) p.w = 3.0f;
  EXPECT_EQ(ClothResetAndPreroll(0), 0);
  EXPECT_EQ(ClothCur, ClothPosA);
  for (int i = 0; i < ClothCount; ++i) {
    EXPECT_TRUE(SameBits(rig.posA[i], rig.rest[i]));
    EXPECT_TRUE(SameBits(rig.posB[i], rig.rest[i]));
  }
  // Pre-roll equals a restart followed by the same steps.
  EXPECT_EQ(ClothResetAndPreroll(5), 5);
  const std::vector<ClothParticle> preroll(ClothCur, ClothCur + ClothCount);
  EXPECT_EQ(ClothResetAndPreroll(0), 0);
  ClothSimulate(5);
  for (int i = 0; i < ClothCount; ++i) EXPECT_TRUE(SameBits(ClothCur[i], preroll[i]));
  EXPECT_EQ(ClothSimulate(-2), -2);  // no step
}

}  // namespace
