// Translation, rotations and scaling of a vertex array.
#include <gtest/gtest.h>

#include <cmath>

#include "cloth/mesh.h"

namespace {

constexpr float kQuarterTurn = 1.5707964f;  // pi / 2 in single precision

__Point3ds Vertex(float x, float y, float z, float nx, float ny, float nz, uint8_t count) {
  __Point3ds p{};
  p.x = x;
  p.y = y;
  p.z = z;
  p.nx = nx;
  p.ny = ny;
  p.nz = nz;
  p.normalCount = count;
  p.u = 0.25f;
  p.v = 0.75f;
  p.textured = 1;
  return p;
}

void ExpectXYZ(const __Point3ds& p, float x, float y, float z) {
  EXPECT_NEAR(p.x, x, 1e-5);
  EXPECT_NEAR(p.y, y, 1e-5);
  EXPECT_NEAR(p.z, z, 1e-5);
}

void ExpectN(const __Point3ds& p, float nx, float ny, float nz) {
  EXPECT_NEAR(p.nx, nx, 1e-6);
  EXPECT_NEAR(p.ny, ny, 1e-6);
  EXPECT_NEAR(p.nz, nz, 1e-6);
}

// A quarter turn about each axis through a centre off the origin, for a
// vertex with a normal (turned) and one whose count is 0 (normal kept);
// the third coordinate, u, v and the flags stay.
TEST(RotatePoints, QuarterTurnsAboutCentres) {
  {
    __Point3ds p[2] = {Vertex(3, 2, 5, 1, 0, 0, 1), Vertex(1, 4, 5, 1, 0, 0, 0)};
    RotatePointsZ(1, 2, kQuarterTurn, 2, p);
    ExpectXYZ(p[0], 1, 4, 5);  // (2, 0) from the centre turns to (0, 2)
    ExpectN(p[0], 0, 1, 0);
    ExpectXYZ(p[1], -1, 2, 5);  // (0, 2) turns to (-2, 0)
    ExpectN(p[1], 1, 0, 0);
    EXPECT_EQ(p[0].u, 0.25f);
    EXPECT_EQ(p[0].v, 0.75f);
    EXPECT_EQ(p[0].textured, 1);
    EXPECT_EQ(p[0].normalCount, 1);
  }
  {
    // Y turns (x, z): x' = dx co - dz si, z' = dx si + dz co.
    __Point3ds p[2] = {Vertex(2, 7, 0, 1, 0, 0, 3), Vertex(2, 7, 0, 1, 0, 0, 0)};
    RotatePointsY(1, 0, kQuarterTurn, 2, p);
    ExpectXYZ(p[0], 1, 7, 1);
    ExpectN(p[0], 0, 0, 1);
    ExpectN(p[1], 1, 0, 0);
  }
  {
    // X turns (y, z): y' = dy co - dz si, z' = dy si + dz co.
    __Point3ds p[2] = {Vertex(7, 1, 3, 0, 1, 0, 6), Vertex(7, 1, 3, 0, 1, 0, 0)};
    RotatePointsX(0, 3, kQuarterTurn, 2, p);
    ExpectXYZ(p[0], 7, 0, 4);
    ExpectN(p[0], 0, 0, 1);
    ExpectN(p[1], 0, 1, 0);
  }
}

// An angle that is not a quarter turn, against the formula evaluated by hand.
TEST(RotatePoints, GeneralAngle) {
  __Point3ds p[1] = {Vertex(4, -1, 2, 0.6f, 0.8f, 0, 2)};
  const float a = 0.5f;
  RotatePointsZ(1, 1, a, 1, p);
  const double co = std::cos(0.5), si = std::sin(0.5);
  ExpectXYZ(p[0], float(3 * co + 2 * si + 1), float(3 * si - 2 * co + 1), 2);
  ExpectN(p[0], float(0.6 * co - 0.8 * si), float(0.6 * si + 0.8 * co), 0);
}

// Counts of 0 or below change nothing, and only the first `count` vertices
// move.
TEST(RotatePoints, CountLimitsTheVertices) {
  __Point3ds p[2] = {Vertex(1, 0, 0, 1, 0, 0, 1), Vertex(1, 0, 0, 1, 0, 0, 1)};
  RotatePointsZ(0, 0, kQuarterTurn, 0, p);
  RotatePointsY(0, 0, kQuarterTurn, -5, p);
  ExpectXYZ(p[0], 1, 0, 0);
  RotatePointsX(0, 0, kQuarterTurn, 1, p);  // (y, z) = (0, 0): stays
  RotatePointsZ(0, 0, kQuarterTurn, 1, p);
  ExpectXYZ(p[0], 0, 1, 0);
  ExpectXYZ(p[1], 1, 0, 0);
  ExpectN(p[1], 1, 0, 0);
}

TEST(TranslatePoints, MovesPositionsOnly) {
  __Point3ds p[3] = {Vertex(1, 2, 3, 0, 0, 1, 1), Vertex(-1, -2, -3, 0, 1, 0, 1),
                     Vertex(9, 9, 9, 1, 0, 0, 1)};
  TranslatePoints(10, -20, 0.5f, 2, p);
  ExpectXYZ(p[0], 11, -18, 3.5f);
  ExpectN(p[0], 0, 0, 1);
  ExpectXYZ(p[1], 9, -22, -2.5f);
  ExpectN(p[1], 0, 1, 0);
  ExpectXYZ(p[2], 9, 9, 9);
  TranslatePoints(1, 1, 1, 0, p);
  ExpectXYZ(p[0], 11, -18, 3.5f);
}

// Each scaling touches its own axes, leaves the normals and returns count.
TEST(ScalePoints, AxesAndResult) {
  __Point3ds p[2] = {Vertex(1, 2, 3, 0, 0, 1, 1), Vertex(1, 2, 3, 0, 0, 1, 1)};
  EXPECT_EQ(ScalePoints(2, 1, p), 1);
  ExpectXYZ(p[0], 2, 4, 6);
  ExpectXYZ(p[1], 1, 2, 3);
  EXPECT_EQ(ScalePointsXYZ(0.5f, 0.25f, -1, 1, p), 1);
  ExpectXYZ(p[0], 1, 1, -6);
  EXPECT_EQ(ScalePointsX(3, 2, p), 2);
  ExpectXYZ(p[0], 3, 1, -6);
  ExpectXYZ(p[1], 3, 2, 3);
  EXPECT_EQ(ScalePointsY(-2, 2, p), 2);
  ExpectXYZ(p[1], 3, -4, 3);
  EXPECT_EQ(ScalePointsZ(10, 2, p), 2);
  ExpectXYZ(p[1], 3, -4, 30);
  ExpectN(p[1], 0, 0, 1);
  EXPECT_EQ(ScalePoints(5, 0, p), 0);
  EXPECT_EQ(ScalePointsX(5, -3, p), -3);
  ExpectXYZ(p[0], 3, -2, -60);
}

}  // namespace
