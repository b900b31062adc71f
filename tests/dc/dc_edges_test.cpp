// The darker-wins blend and the anti-aliased edge pixels of the
// device-context routines.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "renderer/raster/dc_draw.h"
#include "tests/dc/dc_canvas.h"

namespace {

constexpr uint32_t WHITE = 0xFFFFFF;
constexpr float NaN = std::numeric_limits<float>::quiet_NaN();

// Installs a depth buffer of w x h entries for one test, all 7.0.
class DepthBuffer {
 public:
  DepthBuffer(int w, int h) : depth_(size_t(w) * size_t(h), 7.0f) {
    savedBuffer_ = ZBuff, savedWidth_ = Zwidth, savedHeight_ = Zheight;
    ZBuff = depth_.data(), Zwidth = w, Zheight = h;
  }
  ~DepthBuffer() { ZBuff = savedBuffer_, Zwidth = savedWidth_, Zheight = savedHeight_; }
  float operator[](size_t i) const { return depth_[i]; }
  size_t Untouched() const {
    size_t n = 0;
    for (float d : depth_) n += d == 7.0f;
    return n;
  }

 private:
  std::vector<float> depth_;
  float* savedBuffer_;
  int savedWidth_, savedHeight_;
};

class DcEdges : public ::testing::TestWithParam<SurfaceKind> {};

TEST_P(DcEdges, BlendFadesTowardWhiteAndTheDarkerWins) {
  Canvas c(GetParam(), 4, 4, WHITE);
  // Black at d = 0 (full coverage) is black whatever lay there.
  c.Set(0, 0, 0x808080);
  BlendPixelDC(0, 0, 0, c.dc(), 0, 0, 0);
  BlendPixelDC(0, 0, 0, c.dc(), 1, 0, 0);
  EXPECT_EQ(c.At(0, 0), 0x000000u);
  EXPECT_EQ(c.At(1, 0), 0x000000u);

  // d = 255 (no coverage) fades every colour to white: nothing changes.
  c.Set(2, 0, 0x405060);
  BlendPixelDC(0, 0, 0, c.dc(), 2, 0, 255);
  EXPECT_EQ(c.At(2, 0), 0x405060u);

  // (100, 100, 100) at d = 100: e = 1 - 100/255, 100 e + 255 (1 - e) =
  // 160.78 in every channel; over white it gives 160, over (150, 200, 255)
  // the red channel keeps its darker 150.
  BlendPixelDC(100, 100, 100, c.dc(), 0, 1, 100);
  EXPECT_EQ(c.At(0, 1), 0xA0A0A0u);
  c.Set(1, 1, DCColour(150, 200, 255));
  BlendPixelDC(100, 100, 100, c.dc(), 1, 1, 100);
  EXPECT_EQ(c.At(1, 1), DCColour(150, 160, 160));

  // Channel order of the platform colour: red in the low byte.
  BlendPixelDC(0, 255, 255, c.dc(), 2, 1, 0);
  EXPECT_EQ(c.At(2, 1), 0x00FFFF00u);
  BlendPixelDC(255, 255, 0, c.dc(), 3, 1, 0);
  EXPECT_EQ(c.At(3, 1), 0x0000FFFFu);
}

TEST_P(DcEdges, BlendOfWhiteNeverChangesAPixel) {
  Canvas c(GetParam(), 16, 16, WHITE);
  std::mt19937 rng(99);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) c.Set(x, y, rng() & 0xFFFFFF);
  std::vector<uint32_t> before = c.Pixels();
  for (int d = 0; d < 256; ++d) BlendPixelDC(255, 255, 255, c.dc(), d % 16, d / 16, d);
  EXPECT_EQ(c.Diff(before), "");
}

TEST_P(DcEdges, BlendOutsideTheSurfaceOrOfBadColoursIsSafe) {
  Canvas c(GetParam(), 4, 4, WHITE);
  BlendPixelDC(0, 0, 0, c.dc(), -1, 0, 0);
  BlendPixelDC(0, 0, 0, c.dc(), 4, 0, 0);
  BlendPixelDC(0, 0, 0, c.dc(), 0, 4, 0);
  EXPECT_EQ(c.Reads() + c.Writes(), 0u);

  // A negative channel stops at 0 instead of borrowing from its neighbour;
  // a NaN channel is never darker.
  BlendPixelDC(-50, 255, 255, c.dc(), 0, 0, 0);
  EXPECT_EQ(c.At(0, 0), 0x00FFFF00u);
  BlendPixelDC(NaN, 10, NaN, c.dc(), 1, 0, 0);
  EXPECT_EQ(c.At(1, 0), DCColour(255, 10, 255));
}

TEST_P(DcEdges, WhiteEdgePixelsAreDrawnOnlyWithinReach) {
  // White edge pixels never change a colour; whether one is drawn shows in
  // the surface's reads. Segment (0, 0)-(4, 0): A = 0, B = -4, C = 0.
  Canvas c(GetParam(), 8, 8, 0x202020);
  auto drawn = [&](auto routine, float px, float py, float width) {
    c.ResetCounts();
    routine(c.dc(), 0.0f, -4.0f, 0.0f, 16.0f, 4.0f, px, py, width, 0.0f, 0.0f, 4.0f, 0.0f);
    return c.Reads() > 0;
  };
  for (auto routine : {AAEdgePixelDC, AAEdgePixelDC2}) {
    EXPECT_TRUE(drawn(routine, 2.0f, 0.5f, 1.0f));   // 0.5 from the line
    EXPECT_FALSE(drawn(routine, 2.0f, 1.0f, 1.0f));  // at the width: nothing
    EXPECT_TRUE(drawn(routine, 2.0f, 1.0f, 1.5f));
    EXPECT_TRUE(drawn(routine, 4.6f, 0.0f, 1.0f));  // 0.6 past the end point
    // 1.5 past the end point: the line is at distance 0, the end point at
    // 1.5, and the end point decides.
    EXPECT_FALSE(drawn(routine, 5.5f, 0.0f, 1.0f));
  }
  EXPECT_EQ(c.Writes(), 0u);  // the last case drew nothing
  EXPECT_EQ(c.Diff(std::vector<uint32_t>(64, 0x202020)), "");

  // From the line's distance alone: at the width or beyond nothing is drawn.
  c.ResetCounts();
  AAEdgeDistPixelDC(c.dc(), 0.0f, -4.0f, 0.0f, 4.0f, 2.0f, 1.0f, 1.0f);
  AAEdgeDistPixelDC(c.dc(), 0.0f, -4.0f, 0.0f, 4.0f, 2.0f, 3.0f, 2.0f);
  AAEdgeDistPixelDC(c.dc(), 0.0f, -4.0f, 0.0f, 4.0f, 2.0f, NaN, 2.0f);
  EXPECT_EQ(c.Reads() + c.Writes(), 0u);
  AAEdgeDistPixelDC(c.dc(), 0.0f, -4.0f, 0.0f, 4.0f, 2.0f, 1.5f, 2.0f);
  EXPECT_EQ(c.Reads(), 1u);
  EXPECT_EQ(c.At(2, 1), 0x202020u);
}

TEST_P(DcEdges, EdgeOfZeroLengthIsCoveredFromItsPoint) {
  // No guard against lengthSquared 0: the foot is undefined and the pixel
  // is covered by its distance to the end point.
  Canvas c(GetParam(), 8, 8, WHITE);
  AAEdgePixelDC(c.dc(), 0, 0, 0, 0, 0, 2.5f, 2.0f, 1.0f, 2.0f, 2.0f, 2.0f, 2.0f);
  EXPECT_EQ(c.Reads(), 1u);
  c.ResetCounts();
  AAEdgePixelDC(c.dc(), 0, 0, 0, 0, 0, 4.0f, 2.0f, 1.0f, 2.0f, 2.0f, 2.0f, 2.0f);
  EXPECT_EQ(c.Reads(), 0u);
}

TEST_P(DcEdges, DepthEdgePixelCoverageAndDepthWrite) {
  // Vertical line x = 3 through (3, 0)-(3, 10): A = 10, B = 0, C = -30.
  // (40, 80, 120) over white, pixel (3.25, 5): coverage 0.75, d = 63:
  // c e + 255 (1 - e) = 93.1, 123.2, 153.4. With scale 0.5: coverage 0.375,
  // d = 159: 174.1, 189.1, 204.2.
  Canvas c(GetParam(), 8, 8, WHITE);
  DepthBuffer depth(8, 8);
  AAEdgeDepthPixelDC(1.0f, 123.0f, 0.25f, 5, 40, 80, 120, c.dc(), 10, 0, -30, 10, 3.25f, 5.0f,
                     1.0f);
  EXPECT_EQ(c.At(3, 5), DCColour(93, 123, 153));
  EXPECT_EQ(depth[5], 0.25f);
  AAEdgeDepthPixelDC(0.5f, 0.0f, 0.5f, 6, 40, 80, 120, c.dc(), 10, 0, -30, 10, 3.25f, 6.0f, 1.0f);
  EXPECT_EQ(c.At(3, 6), DCColour(174, 189, 204));
  EXPECT_EQ(depth[6], 0.5f);

  // Beyond the width nothing is drawn, but the depth is still written.
  c.ResetCounts();
  AAEdgeDepthPixelDC(1.0f, 0.0f, 0.75f, 7, 0, 0, 0, c.dc(), 10, 0, -30, 10, 5.0f, 5.0f, 1.0f);
  EXPECT_EQ(c.Reads() + c.Writes(), 0u);
  EXPECT_EQ(depth[7], 0.75f);

  // Indices outside the depth buffer are not written.
  AAEdgeDepthPixelDC(1.0f, 0.0f, 1.0f, 64, 0, 0, 0, c.dc(), 10, 0, -30, 10, 5.0f, 5.0f, 1.0f);
  AAEdgeDepthPixelDC(1.0f, 0.0f, 1.0f, -1, 0, 0, 0, c.dc(), 10, 0, -30, 10, 5.0f, 5.0f, 1.0f);
  EXPECT_EQ(depth.Untouched(), 64u - 3u);
}

TEST_P(DcEdges, DepthEdgePixelWithoutDepthBufferOnlyDraws) {
  Canvas c(GetParam(), 8, 8, WHITE);
  float* saved = ZBuff;
  ZBuff = nullptr;
  AAEdgeDepthPixelDC(1.0f, 0.0f, 0.25f, 5, 40, 80, 120, c.dc(), 10, 0, -30, 10, 3.25f, 5.0f, 1.0f);
  AAEdgePixelDCZ(1.0f, 0.0f, 0.25f, 5, 40, 80, 120, c.dc(), 10, 0, -30, 100, 10, 3.25f, 6.0f, 1.0f,
                 3, 0, 3, 10);
  ZBuff = saved;
  EXPECT_EQ(c.At(3, 5), DCColour(93, 123, 153));
  EXPECT_EQ(c.At(3, 6), DCColour(93, 123, 153));
}

TEST_P(DcEdges, SegmentEdgePixelWithDepth) {
  Canvas c(GetParam(), 8, 8, WHITE);
  DepthBuffer depth(8, 8);
  // Segment (0, 0)-(4, 0): A = 0, B = -4, C = 0, lengthSquared 16.
  // Past the end point by 0.55: coverage 0.45, d = 140, (40, 80, 120) gives
  // 158.0, 176.1, 194.1 at pixel (4, 0).
  AAEdgePixelDCZ(1.0f, 0.0f, 2.0f, 1, 40, 80, 120, c.dc(), 0, -4, 0, 16, 4, 4.55f, 0.0f, 1.0f, 0, 0,
                 4, 0);
  EXPECT_EQ(c.At(4, 0), DCColour(158, 176, 194));
  EXPECT_EQ(depth[1], 2.0f);
  // Within the segment, coverage from the line (AAEdgeDepthPixelDC): 0.25
  // from it with scale 1 gives the 0.75 of the vertical case above.
  AAEdgePixelDCZ(1.0f, 0.0f, 3.0f, 2, 40, 80, 120, c.dc(), 0, -4, 0, 16, 4, 2.0f, 0.25f, 1.0f, 0, 0,
                 4, 0);
  EXPECT_EQ(c.At(2, 0), DCColour(93, 123, 153));
  EXPECT_EQ(depth[2], 3.0f);
  // Scale applies past the end point too: segment (0, 2)-(4, 2) (C = 8),
  // 0.45 x 0.5 = 0.225, d = 197: 206.1, 215.2, 224.3.
  AAEdgePixelDCZ(0.5f, 0.0f, 4.0f, 3, 40, 80, 120, c.dc(), 0, -4, 8, 16, 4, 4.55f, 2.0f, 1.0f, 0, 2,
                 4, 2);
  EXPECT_EQ(c.At(4, 2), DCColour(206, 215, 224));
  EXPECT_EQ(depth[3], 4.0f);
}

TEST_P(DcEdges, ShortSegmentEdgePixelDrawsNothingButWritesTheDepth) {
  Canvas c(GetParam(), 8, 8, WHITE);
  DepthBuffer depth(8, 8);
  // An edge of length 0.1 (lengthSquared 0.01): nothing drawn, depth written.
  AAEdgePixelDCZ(1.0f, 0.0f, 9.0f, 12, 0, 0, 0, c.dc(), 0.0f, -0.1f, 0.2f, 0.01f, 0.1f, 1.0f, 2.0f,
                 1.0f, 1.0f, 2.0f, 1.1f, 2.0f);
  EXPECT_EQ(c.Reads() + c.Writes(), 0u);
  EXPECT_EQ(depth[12], 9.0f);
  // A little longer and the same pixel is drawn.
  AAEdgePixelDCZ(1.0f, 0.0f, 9.0f, 13, 0, 0, 0, c.dc(), 0.0f, -0.1005f, 0.201f, 0.0101f, 0.1005f,
                 1.0f, 2.0f, 1.0f, 1.0f, 2.0f, 1.1005f, 2.0f);
  EXPECT_EQ(c.At(1, 2), 0x000000u);
  EXPECT_EQ(depth[13], 9.0f);
}

TEST_P(DcEdges, AxisAlignedEdgeDropsTinyOffsets) {
  // Horizontal edge (0, 2)-(10, 2): A = 0, B = -10, C = 20. A pixel right
  // on the line has its foot on the segment and full coverage; a pixel
  // 1e-5 off it has its offset (1e-5) dropped, so its foot keeps the
  // pixel's own y, leaves the zero-height box, and the end point 4 away
  // decides: nothing is drawn.
  Canvas c(GetParam(), 12, 4, WHITE);
  AAEdgePixelDCZ(1.0f, 0.0f, 0.0f, -1, 0, 0, 0, c.dc(), 0, -10, 20, 100, 10, 5.0f, 2.0f, 1.0f, 0, 2,
                 10, 2);
  EXPECT_EQ(c.At(5, 2), 0x000000u);
  c.ResetCounts();
  AAEdgePixelDCZ(1.0f, 0.0f, 0.0f, -1, 0, 0, 0, c.dc(), 0, -10, 20, 100, 10, 6.0f, 2.00001f, 1.0f,
                 0, 2, 10, 2);
  EXPECT_EQ(c.Reads() + c.Writes(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Surfaces, DcEdges, ::testing::ValuesIn(SurfaceKinds()),
                         [](const ::testing::TestParamInfo<SurfaceKind>& i) {
                           return SurfaceKindName(i.param);
                         });

}  // namespace
