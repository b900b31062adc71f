// DDA and thick anti-aliased lines, and __DrawScenesLineColor.
#include "tests/raster/raster_fixture.h"

namespace {

using PixelSet = std::set<std::pair<int, int>>;

PixelSet Box(int x0, int x1, int y0, int y1) {
  PixelSet s;
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) s.insert({x, y});
  return s;
}

// The thick line from (x0, y0) to (x1, y1), shaded through the recorder.
void Shaded(unsigned char* dst, float x0, float y0, float x1, float y1, float width = 1.0f) {
  __Triangle3ds t = Tri(0, 0, 0);
  DrawLineShaded(x0, x1, y0, y1, width, dst, dst, 0, 0, nullptr, nullptr, 0, &t, 0, nullptr, 0, 0,
                 0, 0, -1, 0, 0, nullptr, nullptr);
}

}  // namespace

TEST_F(RasterTest, DdaLineExamples) {
  MakeFrame(20, 10);
  for (size_t i = 0; i < src_.size(); ++i) src_[i] = 5;
  DrawLineInverse(10, 5, 14, 5, dst_.data(), src_.data(), 20, 10);
  EXPECT_EQ(Covered(), Box(10, 13, 5, 5));
  EXPECT_EQ(Chan(10, 5, 0), 250);
  EXPECT_EQ(Alpha(10, 5), 255);
  MakeFrame(20, 10);
  DrawLineInverse(14, 5, 10, 5, dst_.data(), src_.data(), 20, 10);
  EXPECT_EQ(Covered(), Box(10, 13, 5, 5));
  MakeFrame(20, 10);
  DrawLineInverse(7, 3, 7, 3, dst_.data(), src_.data(), 20, 10);
  EXPECT_TRUE(Covered().empty());
  // y-major (also on a tie of |dx| and |dy|), from the smaller y.
  DrawLineColor(1, 2, 3, 2, 2, 5, 5, dst_.data(), src_.data(), 20, 10);
  EXPECT_EQ(Covered(), (PixelSet{{2, 2}, {3, 3}, {4, 4}}));
  EXPECT_EQ(Chan(3, 3, 2), 3);
  // Clipped by its own width and height.
  MakeFrame(20, 10);
  DrawLineColor(1, 2, 3, -5.5f, 8, 30, 8, dst_.data(), src_.data(), 20, 10);
  EXPECT_EQ(Covered(), Box(0, 19, 8, 8));
}

TEST_F(RasterTest, ThickLineVisitsItsCapsAndRuns) {
  MakeFrame(32, 24);
  _DrawMode = 1;
  _Quality = 1;
  Shaded(dst_.data(), 10, 10, 20, 10);
  PixelSet expected = Box(7, 12, 7, 12);
  const PixelSet runs = Box(10, 20, 7, 12), end = Box(19, 24, 8, 13);
  expected.insert(runs.begin(), runs.end());
  expected.insert(end.begin(), end.end());
  EXPECT_EQ(ShadedPixels(), expected);
  EXPECT_EQ(Recorder::Calls().size(), 36u + 66u + 36u);  // every visit is shaded
  for (const ShadeCall& c : Recorder::Calls()) {
    EXPECT_FALSE(c.hasPrev);
    EXPECT_EQ(c.normal.z, 1.0f);  // the negated plane normal
    EXPECT_EQ(c.z, 0.0f);
  }
  // From (10, 10) to (14, 12): the runs stand at (10, 10), (11, 11), (12, 11),
  // (13, 12), (14, 12), and the walk ends at (15, 13), where the end cap is.
  MakeFrame(32, 24);
  Recorder::Calls().clear();
  Shaded(dst_.data(), 10, 10, 14, 12);
  expected = Box(7, 12, 7, 12);
  for (const PixelSet& part : {Box(10, 10, 7, 12), Box(11, 12, 8, 13), Box(13, 14, 9, 14),
                               Box(13, 18, 11, 16)})
    expected.insert(part.begin(), part.end());
  EXPECT_EQ(ShadedPixels(), expected);
  EXPECT_EQ(Recorder::Calls().size(), 36u + 5u * 6u + 36u);

  // One colour: only the line's own pixels are covered, fully.
  MakeFrame(32, 24);
  DrawLineSolidAA(100, 150, 200, 10, 10, 20, 10, 1.0f, dst_.data(), nullptr, 0, 0);
  EXPECT_EQ(Covered(), Box(10, 20, 10, 10));
  EXPECT_EQ(Alpha(15, 10), 255);
  EXPECT_EQ(Chan(15, 10, 1), 150);

  MakeFrame(32, 24);
  DrawLineSolidAA(100, 150, 200, 10, 10.5f, 20, 10.5f, 1.0f, dst_.data(), nullptr, 0, 0);
  PixelSet two = Box(10, 20, 10, 11);
  EXPECT_EQ(Covered(), two);
  EXPECT_EQ(Alpha(12, 10), 127);
  EXPECT_EQ(Alpha(12, 11), 127);

  _Quality = 0;
  MakeFrame(32, 24);
  DrawLineSolidAA(100, 150, 200, 10, 10, 20, 10, 1.0f, dst_.data(), nullptr, 0, 0);
  EXPECT_EQ(Covered(), Box(10, 20, 10, 10));
  EXPECT_EQ(Alpha(20, 10), 255);
}

TEST_F(RasterTest, ThickLineDegenerateAndNegativeWidths) {
  MakeFrame(32, 24);
  _Quality = 1;
  _DrawMode = 1;
  Shaded(dst_.data(), 10.2f, 10.3f, 10.9f, 10.8f);  // shorter than a pixel both ways
  EXPECT_TRUE(Recorder::Calls().empty());
  Shaded(dst_.data(), 10, 10, 20, 10, -2.6f);  // h = 0: no caps, no runs
  Shaded(dst_.data(), 10, 10, 20, 10, -9.0f);  // h < 0
  EXPECT_TRUE(Recorder::Calls().empty());
  EXPECT_TRUE(Covered().empty());
  // A y-major line steps its runs across x.
  Shaded(dst_.data(), 5, 2, 6, 12);
  // Row 7 is step 5, after the one x step: its run is x 3 .. 8.
  EXPECT_EQ(ShadedPixels().count({3, 7}), 1u);
  EXPECT_EQ(ShadedPixels().count({8, 7}), 1u);
  EXPECT_EQ(ShadedPixels().count({2, 7}), 0u);
  EXPECT_EQ(ShadedPixels().count({9, 7}), 0u);
}

TEST_F(RasterTest, SceneLineColourUsesTheLastFrame) {
  std::vector<__Point3ds> pts = {Vtx(10, 10.5f), Vtx(20, 10.5f), Vtx(15, 40)};
  std::vector<__Triangle3ds> tris = {Tri(0, 1, 2)};
  MakeFrame(32, 48);
  Zwidth = Zheight = 0;  // as before the first render
  __DrawScenesLineColor(1.0f, 9, 9, 9, dst_.data(), src_.data(), 32, 48, 0, 1, tris.data(),
                        pts.data(), 0, 0);
  EXPECT_TRUE(Covered().empty());

  // After a render of 32 x 48 its own width and height are ignored; a fill
  // draw mode makes the edge coverage one-sided.
  _DrawMode = 3;
  __RasterSolid(dst_.data(), 32, 48, 128, 0, 0, nullptr, nullptr, 0, 0, 0, 0, 0, 1);
  __DrawScenesLineColor(1.0f, 9, 9, 9, dst_.data(), src_.data(), 1, 1, 0, 1, tris.data(),
                        pts.data(), 0, 0);
  for (int x = 13; x <= 17; ++x) {
    EXPECT_EQ(Alpha(x, 10), 127) << x;
    EXPECT_EQ(Alpha(x, 11), 0) << x;
    EXPECT_EQ(Chan(x, 10, 0), 9);
  }
  // In a line mode both rows are covered; a back face only with double sides.
  std::fill(dst_.begin(), dst_.end(), 0);
  _DrawMode = 1;
  __DrawScenesLineColor(1.0f, 9, 9, 9, dst_.data(), src_.data(), 1, 1, 0, 1, tris.data(),
                        pts.data(), 0, 0);
  EXPECT_EQ(Alpha(15, 11), 127);
  std::fill(dst_.begin(), dst_.end(), 0);
  std::swap(tris[0].vert[0], tris[0].vert[1]);
  __DrawScenesLineColor(1.0f, 9, 9, 9, dst_.data(), src_.data(), 1, 1, 0, 1, tris.data(),
                        pts.data(), 0, 0);
  EXPECT_TRUE(Covered().empty());
  _DubleSide = 1;
  __DrawScenesLineColor(1.0f, 9, 9, 9, dst_.data(), src_.data(), 1, 1, 0, 1, tris.data(),
                        pts.data(), 0, 0);
  EXPECT_FALSE(Covered().empty());
}

TEST_F(RasterTest, LineModeScenesDrawShadedOutlines) {
  std::vector<__Point3ds> pts = {Vtx(-10, -10, 1), Vtx(10, -10, 1), Vtx(-10, 10, 1)};
  std::vector<__Triangle3ds> tris = {Tri(0, 1, 2, 3)};
  MakeFrame(32, 32);
  ZBuff = nullptr;
  _DrawMode = 1;
  _Quality = 0;
  __RasterScene(dst_.data(), src_.data(), 32, 32, 128, 3, 1, tris.data(), pts.data(), 16, 16, 0,
                nullptr, nullptr, 0, nullptr, nullptr);
  // One pixel a step: (6, 6) .. (26, 6) on the first edge, in material 3's colour.
  for (int x = 6; x <= 26; ++x) EXPECT_EQ(Chan(x, 6, 2), 250) << x;
  EXPECT_EQ(Alpha(10, 10), 0);
  for (const ShadeCall& c : Recorder::Calls()) EXPECT_GT(c.normal.z, 0.0f);  // towards the viewer
}
