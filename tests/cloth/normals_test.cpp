// Particle normals of flat panels, worked out by hand from the rules:
// the first row from its right and upper neighbours, the biased first
// column, the shifted corner and the running interior blend.
#include <gtest/gtest.h>

#include "tests/cloth/cloth_rig.h"

namespace {

void ExpectNormal(int r, int c, float x, float y, float z, float tolerance = 1e-6f) {
  const ClothParticle& n = ClothNormals[r * ClothW + c];
  EXPECT_NEAR(n.x, x, tolerance) << r << "," << c;
  EXPECT_NEAR(n.y, y, tolerance) << r << "," << c;
  EXPECT_NEAR(n.z, z, tolerance) << r << "," << c;
}

TEST(ClothNormals, FlatTwoByTwo) {
  ClothRig rig(2, 2, false);
  ClothInitSingle(ClothFixation::Free);
  // Spacing 5: every raw cross product is (0, 0, 25). First row: (0, 0, 1),
  // and (0, 1) copies (0, 0)'s first-row normal.
  ExpectNormal(0, 1, 0, 0, 1);
  // First column, row 0 (t = 0): (0, -0.5, 25.5) / 26.
  ExpectNormal(0, 0, 0, -0.5f / 26, 25.5f / 26);
  EXPECT_EQ(rig.normals[0].x, 0.0f);
  // Corner: (0, 0)'s normal + (0.25, -0.25, -0.25).
  ExpectNormal(1, 0, 0.25f, -0.5f / 26 - 0.25f, 25.5f / 26 - 0.25f);
  // Interior (1, 1): ((0, 0, 1) + normal(0, 1) + normal(1, 0)) / 3.
  ExpectNormal(1, 1, 0.25f / 3, (-0.5f / 26 - 0.25f) / 3, (2 + 25.5f / 26 - 0.25f) / 3);
}

TEST(ClothNormals, FlatThreeByThree) {
  ClothRig rig(3, 3, false);
  ClothInitSingle(ClothFixation::Free);
  // Spacing 2.5: raw cross products (0, 0, 6.25). a = pi / 9.
  ExpectNormal(0, 1, 0, 0, 1);
  ExpectNormal(0, 2, 0, 0, 1);
  ExpectNormal(0, 0, 0, -0.5f / 7.25f, 6.75f / 7.25f);
  // Row 1: t = pi/9, cos t = 0.93969262, cos t/2 = 0.98480775:
  // (0, -0.49240388, 6.71984631) / 7.21225019.
  const float y1 = -0.06827327f, z1 = 0.93172673f;
  ExpectNormal(1, 0, 0, y1, z1);
  ExpectNormal(2, 0, 0.25f, y1 - 0.25f, z1 - 0.25f);
  // Interior, row by row, each blending the two neighbours just stored.
  const float y11 = y1 / 3, z11 = (2 + z1) / 3;
  ExpectNormal(1, 1, 0, y11, z11);
  const float y12 = y11 / 3, z12 = (2 + z11) / 3;
  ExpectNormal(1, 2, 0, y12, z12);
  const float x21 = 0.25f / 3, y21 = (y11 + y1 - 0.25f) / 3, z21 = (1 + z11 + z1 - 0.25f) / 3;
  ExpectNormal(2, 1, x21, y21, z21);
  ExpectNormal(2, 2, x21 / 3, (y12 + y21) / 3, (1 + z12 + z21) / 3);
}

TEST(ClothNormals, OldVariantHasNoTilt) {
  ClothRig rig(3, 3, false);
  ClothInitSingle(ClothFixation::Free);
  ClothComputeNormalsOld();
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) ExpectNormal(r, c, 0, 0, 1, 0);
}

TEST(ClothNormals, ScaledToUnitL1AndSignOfTheGrid) {
  // A panel tilted about x: y and z both change along a column, so every
  // raw cross product has two components and is scaled to |y| + |z| = 1.
  ClothRig rig(4, 3, false);
  ClothInitSingle(ClothFixation::Free);
  for (auto& p : rig.posA) p.z = 1.0f + p.y;  // z rises with y (toward row 0)
  ClothComputeNormalsOld();
  // (P - R) = (-s, 0, 0), (U - R) = (-s, -2.5, -2.5): n = (0, -2.5 s, 2.5 s).
  for (int c = 0; c < 4; ++c) ExpectNormal(0, c, 0, -0.5f, 0.5f);
  ExpectNormal(2, 2, 0, -0.5f, 0.5f);
}

TEST(ClothNormals, DegenerateNeighbourhoodsStayZero) {
  ClothRig rig(3, 3, false);
  ClothInitSingle(ClothFixation::Free);
  for (auto& p : rig.posA) p = ClothParticle{0.5f, 0.5f, 0.5f, 1.0f};  // all coincident
  ClothComputeNormalsOld();
  for (const ClothParticle& n : rig.normals) {
    EXPECT_EQ(n.x, 0.0f);
    EXPECT_EQ(n.y, 0.0f);
    EXPECT_EQ(n.z, 0.0f);
  }
  ClothComputeNormals();  // the tilt alone remains in the first column
  ExpectNormal(0, 0, 0, -0.5f, 0.5f);
  ExpectNormal(0, 1, 0, 0, 0);
}

}  // namespace
