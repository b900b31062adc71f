// The depth test on the triangle's plane: ties, edge pixels, edge-on planes,
// the frame.
#include <cmath>

#include "tests/raster/raster_fixture.h"

TEST_F(RasterTest, EqualDepthsKeepTheFirstDrawnPixel) {
  __Point3ds pts[3] = {Vtx(1, 14, 5), Vtx(1, 1, 5), Vtx(14, 1, 5)};
  for (Fill fill : {Fill::Phong, Fill::Flat}) {
    _Quality = 0;
    MakeFrame(16, 16);
    DrawTriangle(fill, dst_.data(), pts, Tri(0, 1, 2, 1));  // red
    const size_t first = Recorder::Calls().size();
    DrawTriangle(fill, dst_.data(), pts, Tri(0, 1, 2, 2));  // green, same depth
    EXPECT_EQ(Chan(3, 3, 0), 250);
    EXPECT_EQ(Chan(3, 3, 1), 10);
    if (fill == Fill::Flat) {
      EXPECT_EQ(Recorder::Calls().size(), first);  // hidden: not shaded
    }
    // A nearer one wins.
    __Point3ds nearer[3] = {Vtx(1, 14, 6), Vtx(1, 1, 6), Vtx(14, 1, 6)};
    DrawTriangle(fill, dst_.data(), nearer, Tri(0, 1, 2, 2));
    EXPECT_EQ(Chan(3, 3, 1), 250);
    Recorder::Calls().clear();
  }
}

TEST_F(RasterTest, WithQualityOnlyInteriorPixelsLeaveTheirDepth) {
  __Point3ds pts[3] = {Vtx(3.5f, 20.5f, 2), Vtx(3.5f, 3.5f, 2), Vtx(20.5f, 3.5f, 2)};
  for (Fill fill : {Fill::Phong, Fill::Flat}) {
    _Quality = 1;
    _DrawMode = fill == Fill::Phong ? 6 : 3;
    MakeFrame(26, 26);
    const std::vector<float> before = depth_;
    DrawTriangle(fill, dst_.data(), pts, Tri(0, 1, 2));
    int written = 0;
    for (int y = 0; y < 26; ++y)
      for (int x = 0; x < 26; ++x) {
        const bool changed = depth_[size_t(y) * 26 + x] != before[size_t(y) * 26 + x];
        written += changed;
        // A changed depth is an interior pixel: fully covered and inside.
        if (changed) {
          EXPECT_EQ(Alpha(x, y), 255) << x << "," << y;
          EXPECT_EQ(depth_[size_t(y) * 26 + x], 2.0f);
        }
        // Partly covered edge pixels keep the old depth.
        if (Alpha(x, y) > 0 && Alpha(x, y) < 255) {
          EXPECT_FALSE(changed) << x << "," << y;
        }
      }
    EXPECT_GT(written, 100);
  }
}

TEST_F(RasterTest, EdgeOnPlaneTakesTheFirstVertexDepth) {
  // z rises 1000 per pixel in y: |nz| of the unit plane is about 0.001.
  __Point3ds pts[3] = {Vtx(2, 12, 12000), Vtx(2, 2, 2000), Vtx(12, 2, 2000)};
  _Quality = 0;
  MakeFrame(16, 16);
  DrawTriangle(Fill::Flat, dst_.data(), pts, Tri(0, 1, 2));
  ASSERT_FALSE(Recorder::Calls().empty());
  for (const ShadeCall& c : Recorder::Calls()) EXPECT_EQ(c.z, 12000.0f);
  // A moderate slope follows the plane.
  __Point3ds tilted[3] = {Vtx(2, 12, 12), Vtx(2, 2, 2), Vtx(12, 2, 2)};
  MakeFrame(16, 16);
  Recorder::Calls().clear();
  DrawTriangle(Fill::Flat, dst_.data(), tilted, Tri(0, 1, 2));
  for (const ShadeCall& c : Recorder::Calls()) EXPECT_NEAR(c.z, c.y, 1e-3f);
}

TEST_F(RasterTest, DepthTestRules) {
  MakeFrame(4, 4);
  __Point3ds v[3] = {Vtx(0, 0, 7)};
  float z = 0, oldZ = 0;
  int index = -5;
  // Plane z = 3: (0, 0, 1, -3).
  EXPECT_EQ(ZTestWrite(1, 2, -3, 0, 0, 1, v, z, index, oldZ), 1);
  EXPECT_EQ(z, 3.0f);
  EXPECT_EQ(index, 1 + 2 * 4);
  EXPECT_EQ(depth_[9], 3.0f);
  EXPECT_EQ(ZTestWrite(1, 2, -3, 0, 0, 1, v, z, index, oldZ), 0);      // a tie fails
  EXPECT_EQ(ZTestWrite(-0.5f, 2, -3, 0, 0, 1, v, z, index, oldZ), 1);  // truncates to 0
  EXPECT_EQ(ZTestWrite(4, 0, -3, 0, 0, 1, v, z, index, oldZ), 0);      // outside
  EXPECT_EQ(ZTestWrite(0, -1, -3, 0, 0, 1, v, z, index, oldZ), 0);
  EXPECT_EQ(ZTestWrite(2, 2, std::nanf(""), 0, 0, 1, v, z, index, oldZ), 0);  // NaN depth
  ZBuff = nullptr;
  index = -5;
  EXPECT_EQ(ZTestWrite(100, 100, -3, 0, 0, 1, v, z, index, oldZ), 1);  // no buffer: passes
  EXPECT_EQ(index, -5);
}

TEST_F(RasterTest, PixelsOutsideTheFrameAreNeverShaded) {
  __Point3ds pts[3] = {Vtx(-30, 40, 1), Vtx(-20, -25, 1), Vtx(45, 5, 1)};
  for (int quality = 0; quality < 2; ++quality)
    for (Fill fill : {Fill::Phong, Fill::Flat}) {
      _Quality = quality;
      _DrawMode = 6;
      MakeFrame(20, 15);
      Recorder::Calls().clear();
      DrawTriangle(fill, dst_.data(), pts, Tri(0, 1, 2), 1.0f, 3, 4);
      EXPECT_FALSE(Recorder::Calls().empty());
      for (const ShadeCall& c : Recorder::Calls()) {
        EXPECT_GE(c.x, 0.0f);
        EXPECT_GE(c.y, 0.0f);
        EXPECT_LT(c.x, 20.0f);
        EXPECT_LT(c.y, 15.0f);
      }
      // Without a depth buffer the frame still bounds the shading.
      ZBuff = nullptr;
      Recorder::Calls().clear();
      DrawTriangle(fill, dst_.data(), pts, Tri(0, 1, 2), 1.0f, 3, 4);
      for (const ShadeCall& c : Recorder::Calls()) {
        EXPECT_GE(c.x, 0.0f);
        EXPECT_LT(c.x, 20.0f);
      }
    }
}
