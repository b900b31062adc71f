// The segment-against-triangle tests of the geometric self-collision.
#include <gtest/gtest.h>

#include "tests/cloth/cloth_rig.h"

namespace {

TEST(ClothSegment, HitWritesTheCrossingPoint) {
  const float V0[3] = {0, 0, 0}, V1[3] = {1, 0, 0}, V2[3] = {0, 1, 0};
  const float S[3] = {0.25f, 0.25f, 1.0f};
  float X[3] = {9, 9, 9};
  const float down[3] = {0, 0, -2};  // crosses z = 0 at t = 0.5
  EXPECT_TRUE(SegmentTriangleHit(S, down, V0, V1, V2, X));
  EXPECT_EQ(X[0], 0.25f);
  EXPECT_EQ(X[1], 0.25f);
  EXPECT_EQ(X[2], 0.0f);
  // The triangle's winding does not matter.
  EXPECT_TRUE(SegmentTriangleHit(S, down, V0, V2, V1, X));
}

TEST(ClothSegment, MissesOutsideTheOpenSegmentOrTheTriangle) {
  const float V0[3] = {0, 0, 0}, V1[3] = {1, 0, 0}, V2[3] = {0, 1, 0};
  const float S[3] = {0.25f, 0.25f, 1.0f};
  float X[3] = {9, 9, 9};
  const float shortDown[3] = {0, 0, -0.5f};  // t = 2
  EXPECT_FALSE(SegmentTriangleHit(S, shortDown, V0, V1, V2, X));
  EXPECT_EQ(X[0], 9.0f);  // no crossing point written for t outside (0, 1)
  const float exactDown[3] = {0, 0, -1};  // t = 1: the end is excluded
  EXPECT_FALSE(SegmentTriangleHit(S, exactDown, V0, V1, V2, X));
  const float up[3] = {0, 0, 1};  // t = -1
  EXPECT_FALSE(SegmentTriangleHit(S, up, V0, V1, V2, X));
  const float onPlane[3] = {0.25f, 0.25f, 0.0f};  // t = 0: the start is excluded
  EXPECT_FALSE(SegmentTriangleHit(onPlane, up, V0, V1, V2, X));
  const float sideways[3] = {1, 0, 0};  // parallel to the plane
  EXPECT_FALSE(SegmentTriangleHit(S, sideways, V0, V1, V2, X));
  const float outside[3] = {0.8f, 0.8f, 1.0f};  // u + v = 1.6
  const float down[3] = {0, 0, -2};
  EXPECT_FALSE(SegmentTriangleHit(outside, down, V0, V1, V2, X));
  EXPECT_EQ(X[0], 0.8f);  // written before the inside test
  EXPECT_EQ(X[2], 0.0f);
  const float degenerate[3] = {2, 0, 0};  // V0, V1, this on a line: no plane
  EXPECT_FALSE(SegmentTriangleHit(S, down, V0, V1, degenerate, X));
}

TEST(ClothSegment, InsideTestDropsTheNormalsLargestAxis) {
  // Axis-aligned triangles project to a line on the two other axes; only the
  // right projection sees them at all. Each gets a hit and a miss.
  const struct {
    float v1[3], v2[3], s[3], m[3], outside[3];
  } planes[] = {
      {{0, 1, 0}, {0, 0, 1}, {1, 0.2f, 0.2f}, {-2, 0, 0}, {1, 0.7f, 0.7f}},  // x = 0
      {{1, 0, 0}, {0, 0, 1}, {0.2f, 1, 0.2f}, {0, -2, 0}, {0.7f, 1, 0.7f}},  // y = 0
      {{1, 0, 0}, {0, 1, 0}, {0.2f, 0.2f, 1}, {0, 0, -2}, {0.7f, 0.7f, 1}},  // z = 0
  };
  const float V0[3] = {0, 0, 0};
  for (const auto& p : planes) {
    float X[3];
    EXPECT_TRUE(SegmentTriangleHit(p.s, p.m, V0, p.v1, p.v2, X));
    EXPECT_FALSE(SegmentTriangleHit(p.outside, p.m, V0, p.v1, p.v2, X));
  }
  // A tilted plane with |N.y| = |N.z|: ties drop y, keeping x and z.
  const float T1[3] = {1, 0, 0}, T2[3] = {0, 1, -1};
  const float S[3] = {0.2f, 0.0f, 0.8f}, m[3] = {0, 0, -2};  // plane y + z = 0
  float X[3];
  EXPECT_TRUE(SegmentTriangleHit(S, m, V0, T1, T2, X));
  EXPECT_FLOAT_EQ(X[2], -0.0f + 0.0f);
}

TEST(ClothSegment, TrianglePairPutsACrossingParticleBack) {
  // The particle went from P0 (above the plane z = 0 of V1, V2) to X below
  // it; the line through O meets the two triangles on opposite sides of O.
  const float V1[3] = {2, 0, 0}, V2[3] = {0, 2, 0};
  const float P0[3] = {0, 0, 1};
  const float m[3] = {0, 0, 1};
  const float O[3] = {0.5f, 0.5f, 0.0f};
  float X[3] = {0, 0, -1};
  EXPECT_TRUE(SegmentCrossesTrianglePair(O, m, P0, X, V1, V2));
  EXPECT_EQ(X[0], 0.0f);
  EXPECT_EQ(X[2], 1.0f);  // back at P0

  float Y[3] = {0, 0, -1};
  const float above[3] = {0.5f, 0.5f, 2.0f};  // t0 = -1.5, t1 = -2.5
  EXPECT_FALSE(SegmentCrossesTrianglePair(above, m, P0, Y, V1, V2));
  const float aside[3] = {1.5f, 1.5f, 0.0f};  // opposite signs, but outside
  EXPECT_FALSE(SegmentCrossesTrianglePair(aside, m, P0, Y, V1, V2));
  const float flat[3] = {1, -1, 0};  // parallel to the first plane
  EXPECT_FALSE(SegmentCrossesTrianglePair(O, flat, P0, Y, V1, V2));
  EXPECT_EQ(Y[2], -1.0f);
}

TEST(ClothSegment, SelfIntersectStopsAParticleAtTheCellItCrosses) {
  ClothRig rig(6, 6, false);
  ClothInitSingle(ClothFixation::Free);
  // Previous positions: the flat panel at z = 1. Particle (0, 0) dives from
  // z = 2 above the middle of cell (3..4, 3..4) to z = 0 below it.
  const float cx = 0.5f * (rig.posB[3 * 6 + 3].x + rig.posB[4 * 6 + 4].x);
  const float cy = 0.5f * (rig.posB[3 * 6 + 3].y + rig.posB[4 * 6 + 4].y) + 0.1f;
  rig.posB[0] = ClothParticle{cx, cy, 2.0f, 2.15f};
  rig.posA[0] = ClothParticle{cx, cy, 0.0f, 2.15f};
  ClothSelfIntersect(0);
  EXPECT_NEAR(rig.posA[0].x, cx, 1e-6f);
  EXPECT_NEAR(rig.posA[0].y, cy, 1e-6f);
  EXPECT_NEAR(rig.posA[0].z, 1.0f, 1e-6f);
  // A motion that stays above the panel is left alone.
  rig.posA[0] = ClothParticle{cx, cy, 1.5f, 2.15f};
  ClothSelfIntersect(0);
  EXPECT_EQ(rig.posA[0].z, 1.5f);
  ClothSelfIntersect(-1);  // out of range: ignored
  ClothSelfIntersect(36);
}

}  // namespace
