// Golden pixel sets of the three scan converters, computed from the walk
// rules: inclusive or strict span ends, the scan line of the bottom vertex,
// a middle vertex on a whole y.
#include "tests/raster/raster_fixture.h"

namespace {

using PixelSet = std::set<std::pair<int, int>>;

// Rows y of the right triangle (0, 10), (0, 0), (10, 0): the span from x = 0
// to xr = 10 - y, a whole number.
PixelSet RightTriangleRows(int yLow, bool includeRightEnd) {
  PixelSet s;
  for (int y = yLow; y <= 10; ++y)
    for (int x = 0; includeRightEnd ? x <= 10 - y : x < 10 - y; ++x) s.insert({x, y});
  return s;
}

}  // namespace

TEST_F(RasterTest, RightTrianglePixelSetsWithoutQuality) {
  __Point3ds pts[3] = {Vtx(0, 10), Vtx(0, 0), Vtx(10, 0)};
  _Quality = 0;
  MakeFrame(16, 16);
  DrawTriangle(Fill::Phong, dst_.data(), pts, Tri(0, 1, 2));
  // Phong: scan lines 10 .. 1 (never the bottom vertex's), xr excluded.
  EXPECT_EQ(Covered().size(), 45u);
  EXPECT_EQ(Covered(), RightTriangleRows(1, false));
  EXPECT_EQ(ShadedPixels(), Covered());

  MakeFrame(16, 16);
  Recorder::Calls().clear();
  DrawTriangle(Fill::Flat, dst_.data(), pts, Tri(0, 1, 2));
  // Flat: scan lines 10 .. 0, the bottom vertex's included, xr included.
  EXPECT_EQ(Covered().size(), 66u);
  EXPECT_EQ(Covered(), RightTriangleRows(0, true));

  MakeFrame(16, 16);
  DrawTriangle(Fill::Solid, dst_.data(), pts, Tri(0, 1, 2));
  EXPECT_EQ(Covered(), RightTriangleRows(0, true));
  EXPECT_EQ(Chan(3, 2, 0), 100);
  EXPECT_EQ(Chan(3, 2, 1), 150);
  EXPECT_EQ(Chan(3, 2, 2), 200);
  EXPECT_EQ(Alpha(3, 2), 255);
}

TEST_F(RasterTest, MiddleVertexOnAWholeYIsDrawnByBothRecords) {
  // Left chain (5, 10) -> (0, 5) -> (10, 0): scan line 5 ends one record and
  // starts the next.
  __Point3ds pts[3] = {Vtx(5, 10), Vtx(0, 5), Vtx(10, 0)};
  _Quality = 0;
  MakeFrame(16, 16);
  for (int y = 0; y < 16; ++y)  // opaque black: a second blend shows
    for (int x = 0; x < 16; ++x) dst_[(size_t(y) * 16 + x) * 4 + 3] = 255;
  DrawTriangle(Fill::Solid, dst_.data(), pts, Tri(0, 1, 2), 0.5f);
  EXPECT_EQ(Chan(3, 6, 0), 50);  // blended once: half of 100
  EXPECT_EQ(Chan(3, 4, 0), 50);
  EXPECT_EQ(Chan(3, 5, 0), 75);  // twice: 0.5 * 100 + 0.5 * 50
  for (int x = 0; x <= 7; ++x) EXPECT_EQ(Chan(x, 5, 0), 75) << x;
  EXPECT_EQ(Chan(8, 5, 0), 0);  // xr = 7.5

  // Flat: the second pass over scan line 5 ties on depth and is not shaded.
  MakeFrame(16, 16);
  DrawTriangle(Fill::Flat, dst_.data(), pts, Tri(0, 1, 2));
  int row5 = 0;
  for (const ShadeCall& c : Recorder::Calls()) row5 += c.y == 5.0f;
  EXPECT_EQ(row5, 8);

  // Phong: scan line 5 belongs to the second record only.
  MakeFrame(16, 16);
  Recorder::Calls().clear();
  DrawTriangle(Fill::Phong, dst_.data(), pts, Tri(0, 1, 2));
  row5 = 0;
  for (const ShadeCall& c : Recorder::Calls()) row5 += c.y == 5.0f;
  EXPECT_EQ(row5, 8);  // x < 7.5 from x = 0, once
  EXPECT_EQ(Alpha(7, 5), 255);
}

TEST_F(RasterTest, PhongPreviousPixelRecordFollowsTheSpan) {
  __Point3ds pts[3] = {Vtx(2, 12), Vtx(2, 2), Vtx(12, 2)};
  _Quality = 0;
  MakeFrame(16, 16);
  DrawTriangle(Fill::Phong, dst_.data(), pts, Tri(0, 1, 2));
  ASSERT_FALSE(Recorder::Calls().empty());
  for (const ShadeCall& c : Recorder::Calls()) {
    ASSERT_TRUE(c.hasPrev);
    if (c.x == 2.0f) {
      EXPECT_EQ(c.prev.valid, 0) << "a span starts without a neighbour";
    } else {
      EXPECT_EQ(c.prev.valid, 1);
      EXPECT_EQ(c.prev.x, c.x - 1.0f);
      EXPECT_EQ(c.prev.y, c.y);
    }
  }
}

TEST_F(RasterTest, FlatNeverHasAValidNeighbourAndUsesTheNegatedPlaneNormal) {
  __Point3ds pts[3] = {Vtx(2, 12, 0), Vtx(2, 2, 0), Vtx(12, 2, 5)};
  MakeFrame(24, 24);
  _Quality = 1;
  _DrawMode = 3;
  DrawTriangle(Fill::Flat, dst_.data(), pts, Tri(0, 1, 2));
  ASSERT_FALSE(Recorder::Calls().empty());
  const __Point n = Recorder::Calls()[0].normal;
  EXPECT_GT(n.z, 0.0f);
  for (const ShadeCall& c : Recorder::Calls()) {
    if (c.hasPrev) {
      EXPECT_EQ(c.prev.valid, 0);
    }
    EXPECT_EQ(c.normal.x, n.x);
    EXPECT_EQ(c.normal.z, n.z);
  }
}

TEST_F(RasterTest, PhongInterpolatesNormalsAndTextureCoordinates) {
  __Point3ds pts[3] = {Vtx(0, 20), Vtx(0, 0), Vtx(20, 0)};
  for (__Point3ds& p : pts) p.textured = 1;
  pts[0].u = 0, pts[0].v = 1;
  pts[1].u = 0, pts[1].v = 0;
  pts[2].u = 1, pts[2].v = 0;
  pts[0].nx = 0, pts[0].ny = 0, pts[0].nz = 2;  // normalised before blending
  pts[2].nx = 3, pts[2].ny = 0, pts[2].nz = 0;
  _Quality = 0;
  MakeFrame(24, 24);
  DrawTriangle(Fill::Phong, dst_.data(), pts, Tri(0, 1, 2));
  bool seen = false;
  for (const ShadeCall& c : Recorder::Calls()) {
    if (c.x != 5.0f || c.y != 5.0f) continue;
    seen = true;
    EXPECT_EQ(c.textured, 1);
    EXPECT_NEAR(c.u, 0.25f, 1e-6f);  // weights (0.25, 0.5, 0.25)
    EXPECT_NEAR(c.v, 0.25f, 1e-6f);
    EXPECT_NEAR(c.normal.x, 0.25f, 1e-6f);
    EXPECT_NEAR(c.normal.z, 0.75f, 1e-6f);
  }
  EXPECT_TRUE(seen);
  // One vertex untextured: u = v = 0 and textured 0 everywhere.
  pts[1].textured = 0;
  MakeFrame(24, 24);
  Recorder::Calls().clear();
  DrawTriangle(Fill::Phong, dst_.data(), pts, Tri(0, 1, 2));
  for (const ShadeCall& c : Recorder::Calls()) {
    EXPECT_EQ(c.textured, 0);
    EXPECT_EQ(c.u, 0.0f);
    EXPECT_EQ(c.v, 0.0f);
  }
}

TEST_F(RasterTest, QualityAddsAntiAliasedBandsOutsideTheEdges) {
  __Point3ds pts[3] = {Vtx(4.3f, 20.6f), Vtx(4.3f, 4.2f), Vtx(20.7f, 4.2f)};
  _Quality = 1;
  _DrawMode = 6;
  MakeFrame(28, 28);
  DrawTriangle(Fill::Phong, dst_.data(), pts, Tri(0, 1, 2));
  // Left of the vertical edge at x = 4.3: pixel 3 is 1.3 outside (no
  // coverage), pixel 4 is 0.3 outside (0.7), pixel 5 inside (the interior).
  EXPECT_EQ(Alpha(3, 10), 0);
  EXPECT_EQ(Alpha(4, 10), 178);
  EXPECT_EQ(Alpha(5, 10), 255);
  int partial = 0;
  for (int y = 0; y < 28; ++y)
    for (int x = 0; x < 28; ++x) partial += Alpha(x, y) > 0 && Alpha(x, y) < 255;
  EXPECT_GT(partial, 10);
}

TEST_F(RasterTest, PerspectiveUndoMovesTextureCoordinatesAlongTheSurface) {
  // A(0, 0, 0) u 0, B(20, 0, 500) u 1, C(0, 20, 0) u 0, centre (2, 2). At the
  // screen middle of A-B the depth is 250; undone, the point lies 0.75 of the
  // way to B (B's own offset halves with its depth).
  __Point3ds pts[3] = {Vtx(0, 0, 0), Vtx(20, 0, 500), Vtx(0, 20, 0)};
  for (__Point3ds& p : pts) p.textured = 1;
  pts[1].u = 1;
  _Quality = 0;
  for (int persp = 0; persp < 2; ++persp) {
    _Persp_Val = float(persp);
    MakeFrame(32, 32);
    Recorder::Calls().clear();
    DrawTriangle(Fill::Flat, dst_.data(), pts, Tri(0, 1, 2), 1.0f, 2, 2);
    bool seen = false;
    for (const ShadeCall& c : Recorder::Calls())
      if (c.x == 12.0f && c.y == 2.0f) {
        seen = true;
        EXPECT_NEAR(c.z, 250.0f, 1e-3f);
        EXPECT_NEAR(c.u, persp ? 0.75f : 0.5f, 1e-5f);
      }
    EXPECT_TRUE(seen);
  }
  _Persp_Val = 0;
}

TEST_F(RasterTest, QuadraticNormalsOnlyWithQuality) {
  // Stored normals of different lengths: the quadratic field leans toward the
  // longer one; without quality the switch is ignored.
  __Point3ds pts[3] = {Vtx(2, 20), Vtx(2, 2), Vtx(20, 2)};
  pts[0].nx = 0, pts[0].ny = 0, pts[0].nz = 4;
  pts[1].nx = 0, pts[1].ny = 1, pts[1].nz = 0;
  pts[2].nx = 1, pts[2].ny = 0, pts[2].nz = 0;
  auto normalAt = [&](int quality, int phong2) {
    _Quality = uint8_t(quality);
    _UsePhong2 = uint8_t(phong2);
    _DrawMode = 6;
    MakeFrame(24, 24);
    Recorder::Calls().clear();
    DrawTriangle(Fill::Phong, dst_.data(), pts, Tri(0, 1, 2));
    for (const ShadeCall& c : Recorder::Calls())
      if (c.x == 8.0f && c.y == 8.0f) return c.normal;
    ADD_FAILURE() << "pixel (8, 8) not shaded";
    return __Point{0, 0, 0};
  };
  const __Point linear = normalAt(0, 0);
  // Weights (1/3, 1/3, 1/3): the unit normals blend to a third each.
  EXPECT_NEAR(linear.x, 1.0f / 3, 1e-6f);
  EXPECT_NEAR(linear.z, 1.0f / 3, 1e-6f);
  const __Point ignored = normalAt(0, 1);
  EXPECT_EQ(ignored.x, linear.x);
  EXPECT_EQ(ignored.z, linear.z);
  // w^2 n + 2 w w' M: z = 1/9 + 2/9 (2 + 2) = 1, x = 1/9 + 2/9 (0.5 + 0.5).
  const __Point quadratic = normalAt(1, 1);
  EXPECT_NEAR(quadratic.z, 1.0f, 1e-5f);
  EXPECT_NEAR(quadratic.x, 1.0f / 3, 1e-5f);
}

TEST_F(RasterTest, NearlyHorizontalRecordIsWalkedForOneScanLineWithoutQuality) {
  // Top record (10, 10.5) -> (0, 10) is less than a pixel high: without
  // quality it is walked for scan line 10 from its smaller x, and the next
  // record starts on the same line, so the solid fill blends it twice.
  __Point3ds pts[3] = {Vtx(10, 10.5f), Vtx(0, 10), Vtx(5, 0)};
  _Quality = 0;
  MakeFrame(16, 16);
  for (int i = 3; i < 16 * 16 * 4; i += 4) dst_[size_t(i)] = 255;
  DrawTriangle(Fill::Solid, dst_.data(), pts, Tri(0, 1, 2), 0.5f);
  for (int x = 0; x <= 9; ++x) EXPECT_EQ(Chan(x, 10, 0), 75) << x;  // xr = 9.76
  EXPECT_EQ(Chan(10, 10, 0), 0);
  EXPECT_EQ(Chan(4, 9, 0), 50);
  // Phong: no scan line of the top record (trunc 10 is not below 10), line
  // 10 once from the next record.
  MakeFrame(16, 16);
  DrawTriangle(Fill::Phong, dst_.data(), pts, Tri(0, 1, 2));
  int row10 = 0;
  for (const ShadeCall& c : Recorder::Calls()) row10 += c.y == 10.0f;
  EXPECT_EQ(row10, 10);
}
