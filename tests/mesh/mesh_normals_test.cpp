// Face normals, their accumulation into vertices and the smoothing passes.
#include <gtest/gtest.h>

#include <cmath>

#include "cloth/mesh.h"

namespace {

__Point3ds Vertex(float x, float y, float z) {
  __Point3ds p{};
  p.x = x;
  p.y = y;
  p.z = z;
  return p;
}

void ExpectNormal(const __Point3ds& p, double nx, double ny, double nz, double tol = 1e-6) {
  EXPECT_NEAR(p.nx, nx, tol);
  EXPECT_NEAR(p.ny, ny, tol);
  EXPECT_NEAR(p.nz, nz, tol);
}

// Three perpendicular unit normals: the running mean is renormalised after
// each fold, so the result leans to the earlier two, (sqrt2, sqrt2, 1) /
// sqrt5, not the plain mean's direction (1, 1, 1) / sqrt3.
TEST(AccumulateVertexNormal, RenormalisedRunningMean) {
  __Point3ds v[2] = {};
  AccumulateVertexNormal(v, 1, 1, 0, 0);
  EXPECT_EQ(v[1].normalCount, 1);
  ExpectNormal(v[1], 1, 0, 0, 0);
  AccumulateVertexNormal(v, 1, 0, 1, 0);
  EXPECT_EQ(v[1].normalCount, 2);
  ExpectNormal(v[1], std::sqrt(0.5), std::sqrt(0.5), 0);
  AccumulateVertexNormal(v, 1, 0, 0, 1);
  EXPECT_EQ(v[1].normalCount, 3);
  ExpectNormal(v[1], std::sqrt(0.4), std::sqrt(0.4), std::sqrt(0.2));
  // Vertex 0 is not touched.
  EXPECT_EQ(v[0].normalCount, 0);
  ExpectNormal(v[0], 0, 0, 0, 0);
}

// The first normal is taken as it is, even when it is not a unit vector; a
// mean of length 0 is kept as 0 (no division by 0).
TEST(AccumulateVertexNormal, FirstNormalAndZeroMean) {
  __Point3ds v[1] = {};
  v[0].nx = 7;  // whatever was there is replaced while the count is 0
  AccumulateVertexNormal(v, 0, 2, 0, 0);
  ExpectNormal(v[0], 2, 0, 0, 0);
  AccumulateVertexNormal(v, 0, -2, 0, 0);
  EXPECT_EQ(v[0].normalCount, 2);
  ExpectNormal(v[0], 0, 0, 0, 0);
  EXPECT_FALSE(std::isnan(v[0].nx));
}

// The count is a byte: the 256th normal wraps it to 0.
TEST(AccumulateVertexNormal, CountWrapsPast255) {
  __Point3ds v[1] = {};
  v[0].normalCount = 255;
  v[0].nz = 1;
  AccumulateVertexNormal(v, 0, 0, 0, 1);
  EXPECT_EQ(v[0].normalCount, 0);
  ExpectNormal(v[0], 0, 0, 1);
}

// n = (C - B) x (A - B), unit length, folded into A, B, C.
TEST(AddTriangleNormal, OrientationAndUnitLength) {
  // In the flat cloth's layout (p, p + W, p + 1) with rows going down in y.
  __Point3ds flat[3] = {Vertex(0, 0, 1), Vertex(0, -3, 1), Vertex(2, 0, 1)};
  __Triangle3ds t{{0, 1, 2}, 0, 0};
  AddTriangleNormal(&t, flat);
  for (const __Point3ds& p : flat) {
    EXPECT_EQ(p.normalCount, 1);
    ExpectNormal(p, 0, 0, 1, 0);
  }
  // A = (0,0,0), B = (1,0,0), C = (0,0,1): (C - B) x (A - B) = (0, -1, 0).
  __Point3ds xz[3] = {Vertex(0, 0, 0), Vertex(1, 0, 0), Vertex(0, 0, 1)};
  AddTriangleNormal(&t, xz);
  ExpectNormal(xz[2], 0, -1, 0, 0);
  // Reversing the order flips it.
  __Point3ds rev[3] = {Vertex(0, 0, 0), Vertex(1, 0, 0), Vertex(0, 0, 1)};
  __Triangle3ds back{{2, 1, 0}, 0, 0};
  AddTriangleNormal(&back, rev);
  ExpectNormal(rev[0], 0, 1, 0, 0);
}

// A degenerate triangle folds a zero normal (no NaN) and still counts.
TEST(AddTriangleNormal, DegenerateGivesZero) {
  __Point3ds line[3] = {Vertex(0, 0, 0), Vertex(1, 1, 1), Vertex(2, 2, 2)};
  __Triangle3ds t{{0, 1, 2}, 0, 0};
  AddTriangleNormal(&t, line);
  for (const __Point3ds& p : line) {
    EXPECT_EQ(p.normalCount, 1);
    ExpectNormal(p, 0, 0, 0, 0);
  }
}

// 3 x 3 grid, worked by hand. Initial nx (ny = 2 nx, nz = -nx):
//   3 0 6      pass 1      1 4 6      pass 2      1 4 6
//   0 6 0      ------>     3 2 0      ------>     3 3 3
//   3 0 9                  3 0 9                  3 2 14/3
// Pass 2 uses the values it has just written: vertex 5 averages the new 3
// of vertex 4 (not its pass-1 value 2), and vertex 8 the new 2 and 3.
TEST(SmoothVertexNormals, TwoPassesInPlace) {
  const float start[9] = {3, 0, 6, 0, 6, 0, 3, 0, 9};
  const float want[9] = {1, 4, 6, 3, 3, 3, 3, 2, 14.0f / 3.0f};
  __Point3ds grid[1 + 9] = {};  // one leading vertex: the panel starts at `first`
  grid[0].nx = 100;
  for (int i = 0; i < 9; ++i) {
    grid[1 + i].nx = start[i];
    grid[1 + i].ny = 2 * start[i];
    grid[1 + i].nz = -start[i];
  }
  SmoothVertexNormals(grid, 1, 3, 3);
  EXPECT_EQ(grid[0].nx, 100);
  for (int i = 0; i < 9; ++i) {
    SCOPED_TRACE(i);
    EXPECT_FLOAT_EQ(grid[1 + i].nx, want[i]);
    EXPECT_FLOAT_EQ(grid[1 + i].ny, 2 * want[i]);
    EXPECT_FLOAT_EQ(grid[1 + i].nz, -want[i]);
  }
}

// A rectangular grid, W != H: pass 1 leaves the last column and the last row,
// pass 2 the first column and the first row.
TEST(SmoothVertexNormals, UntouchedEdgesOfRectangularGrid) {
  const int W = 4, H = 2;
  __Point3ds g[W * H] = {};
  for (int i = 0; i < W * H; ++i) g[i].nx = float(3 * (i + 1));
  SmoothVertexNormals(g, 0, W, H);
  // Pass 1, row 0: (3+6+15)/3 = 8, (6+9+18)/3 = 11, (9+12+21)/3 = 14; 12 stays.
  // Pass 2, row 1: (18+15+11)/3 = 44/3, (21+44/3+14)/3 = 149/9,
  // (24+149/9+12)/3 = 473/27; 15 stays.
  const float want[W * H] = {8, 11, 14, 12, 15, 44.0f / 3, 149.0f / 9, 473.0f / 27};
  for (int i = 0; i < W * H; ++i) EXPECT_NEAR(g[i].nx, want[i], 1e-5) << i;
}

}  // namespace
