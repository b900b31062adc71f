// The two pixel writers, the channel access and the implicit edge line.
// Golden values are worked out by hand from the blending rules; 8-bit
// unless stated.
#include <cmath>

#include "tests/renderer/renderer_test_support.h"

namespace {

class PixelWriters : public RendererTest {
 protected:
  void SetUp() override {
    RendererTest::SetUp();
    UseFrame(16, 8, false);
  }
  std::vector<int> Pixel(Frame& f, int x, int y) {
    return {f.Get(x, y, 0), f.Get(x, y, 1), f.Get(x, y, 2), f.Get(x, y, 3)};
  }
};

using Px = std::vector<int>;

TEST_F(PixelWriters, BlendOverAnEmptyPixelKeepsTheColourUnscaled) {
  Frame f(16, 8, false);
  BlendPixelFB(f.data(), 200, 100, 50, 3, 2, 0.5f);
  EXPECT_EQ(Pixel(f, 3, 2), (Px{200, 100, 50, 127}));
}

TEST_F(PixelWriters, BlendOverAnOpaquePixelMixesAndKeepsAlpha) {
  Frame f(16, 8, false);
  f.SetPixel(3, 2, 0, 0, 0, 255);
  BlendPixelFB(f.data(), 200, 100, 50, 3, 2, 0.5f);
  EXPECT_EQ(Pixel(f, 3, 2), (Px{100, 50, 25, 255}));
  // Over a half-covered pixel the alpha becomes the greater coverage.
  f.SetPixel(4, 2, 100, 100, 100, 60);
  BlendPixelFB(f.data(), 200, 0, 300, 4, 2, 0.25f);
  EXPECT_EQ(Pixel(f, 4, 2), (Px{125, 75, 150, 63}));
}

TEST_F(PixelWriters, FullCoverageReplacesAndClampsTheColour) {
  Frame f(16, 8, false);
  f.SetPixel(0, 0, 9, 9, 9, 9);
  BlendPixelFB(f.data(), 300.7f, -4, 254.9f, 0, 0, 1.0f);
  EXPECT_EQ(Pixel(f, 0, 0), (Px{255, 0, 254, 255}));
  BlendPixelFB(f.data(), 10, 20, 30, 0, 0, 3.0f);  // coverage above 1 counts as 1
  EXPECT_EQ(Pixel(f, 0, 0), (Px{10, 20, 30, 255}));
}

TEST_F(PixelWriters, NoCoverageOrOutsideTheFrameChangesNothing) {
  Frame f(16, 8, false);
  f.SetPixel(5, 5, 1, 2, 3, 4);
  const std::vector<unsigned char> before = f.bytes;
  BlendPixelFB(f.data(), 200, 200, 200, 5, 5, 0.0f);
  BlendPixelFB(f.data(), 200, 200, 200, 5, 5, -0.5f);
  BlendPixelFB(f.data(), 200, 200, 200, 5, 5, std::nanf(""));
  BlendPixelFB(f.data(), 200, 200, 200, 16, 0, 1.0f);
  BlendPixelFB(f.data(), 200, 200, 200, 0, -1, 1.0f);
  BlendPixelFB(f.data(), 200, 200, 200, -1, 0, 1.0f);
  BlendPixelFB(f.data(), 200, 200, 200, 0, 8, 1.0f);
  EXPECT_EQ(f.bytes, before);
}

TEST_F(PixelWriters, NaNColourStoresZero) {
  Frame f(16, 8, false);
  BlendPixelFB(f.data(), std::nanf(""), 7, 7, 1, 1, 1.0f);
  EXPECT_EQ(Pixel(f, 1, 1), (Px{0, 7, 7, 255}));
}

TEST_F(PixelWriters, SixteenBitChannels) {
  UseFrame(16, 8, true);
  Frame f(16, 8, true);
  BlendPixelFB(f.data(), 40000, 16384, 1, 2, 3, 1.0f);
  EXPECT_EQ(Pixel(f, 2, 3), (Px{32768, 16384, 1, 32768}));
  BlendPixelFB(f.data(), 0, 0, 0, 2, 3, 0.5f);
  EXPECT_EQ(Pixel(f, 2, 3), (Px{16384, 8192, 0, 32768}));
  BlendPixelFB(f.data(), 1000, 2000, 3000, 4, 3, 0.25f);
  EXPECT_EQ(Pixel(f, 4, 3), (Px{1000, 2000, 3000, 8192}));
  // The neighbours' bytes are untouched: 8 bytes a pixel.
  EXPECT_EQ(Pixel(f, 3, 3), (Px{0, 0, 0, 0}));
}

TEST_F(PixelWriters, ChannelAccessFollowsTheDepth) {
  unsigned char b[8] = {};
  SetChannel(b, 1, 0x1FF);  // low 8 bits
  EXPECT_EQ(b[1], 0xFF);
  EXPECT_EQ(GetChannel(b, 1), 255);
  _Deep = 1;
  SetChannel(b, 2, 0x18000);  // low 16 bits
  EXPECT_EQ(GetChannel(b, 2), 0x8000);
  EXPECT_EQ(b[1], 0xFF);  // channel 2 is bytes 4 and 5
}

TEST_F(PixelWriters, LineCoefficientsGiveTheImplicitLine) {
  float A, B, C;
  LineCoefficients(1, 2, 4, 6, A, B, C);
  EXPECT_EQ(A, 4.0f);
  EXPECT_EQ(B, -3.0f);
  EXPECT_EQ(C, -4.0f * 1 + 3.0f * 2);
  EXPECT_EQ(A * 4 + B * 6 + C, 0.0f);
  EXPECT_EQ(A * A + B * B, 25.0f);
}

// An edge from (0, 0) to (10, 0): A = 0, B = -10, C = 0, length 10; the
// signed distance of (x, y) is -y, so y > 0 is the inner side.
struct Edge {
  float A = 0, B = -10, C = 0, L2 = 100, L = 10;
  float x0 = 0, y0 = 0, x1 = 10, y1 = 0;
};

int EdgeAlpha(float px, float py, float width = 1.0f) {
  Frame f(16, 8, false);
  const Edge e;
  AAEdgePixel(1.0f, f.data(), 0, NO_DEPTH_INDEX, 200, 100, 50, e.A, e.B, e.C, e.L2, e.L, px, py,
              width, e.x0, e.y0, e.x1, e.y1);
  return f.Get(TruncToInt(px), TruncToInt(py), 3);
}

TEST_F(PixelWriters, LineModesCoverBothSidesByDistance) {
  _DrawMode = 1;
  EXPECT_EQ(EdgeAlpha(5, 0.25f), 191);   // 0.75
  EXPECT_EQ(EdgeAlpha(5, -0.25f), 191);  // the same on the other side
  EXPECT_EQ(EdgeAlpha(5, 0.0f), 255);
  _DrawMode = 2;
  EXPECT_EQ(EdgeAlpha(5, 0.75f), 63);
}

TEST_F(PixelWriters, FillModesCoverTheInnerHalfPixelFully) {
  for (int mode : {3, 6, 9}) {
    _DrawMode = static_cast<unsigned char>(mode);
    EXPECT_EQ(EdgeAlpha(5, 0.25f), 255);   // inside by less than half a pixel
    EXPECT_EQ(EdgeAlpha(5, 0.7f), 0);      // deeper inside: left to the interior
    EXPECT_EQ(EdgeAlpha(5, -0.25f), 191);  // outside: 1 - 0.25
  }
}

TEST_F(PixelWriters, BeyondAnEndTheEndPointDistanceCounts) {
  _DrawMode = 6;
  EXPECT_EQ(EdgeAlpha(10.75f, 0.0f), 63);  // 0.75 past (10, 0): coverage 0.25
  EXPECT_EQ(EdgeAlpha(-0.5f, 0.0f), 127);  // 0.5 before (0, 0)
  EXPECT_EQ(EdgeAlpha(11.5f, 0.0f), 0);
  // Diagonal from the end point: distance sqrt(0.3^2 + 0.4^2) = 0.5.
  EXPECT_EQ(EdgeAlpha(10.3f, -0.4f), 127);
  // A wider line reaches further.
  EXPECT_EQ(EdgeAlpha(11.5f, 0.0f, 2.0f), 127);
}

TEST_F(PixelWriters, EdgeCoverageScalesWithOpacity) {
  _DrawMode = 1;
  Frame f(16, 8, false);
  const Edge e;
  AAEdgePixel(0.5f, f.data(), 0, NO_DEPTH_INDEX, 200, 100, 50, e.A, e.B, e.C, e.L2, e.L, 5, 0.5f, 1,
              e.x0, e.y0, e.x1, e.y1);
  EXPECT_EQ(f.Get(5, 0, 3), 63);  // 0.5 x 0.5
}

TEST_F(PixelWriters, EdgeWritersPutTheOldDepthBack) {
  std::vector<float> depth(16 * 8, 7.0f);
  ZBuff = depth.data();
  Frame f(16, 8, false);
  const Edge e;
  _DrawMode = 6;
  // Inside the span, beyond the end, deep inside (no coverage): always.
  AAEdgePixel(1, f.data(), -3.5f, 5, 1, 1, 1, e.A, e.B, e.C, e.L2, e.L, 5, 0, 1, e.x0, e.y0, e.x1,
              e.y1);
  AAEdgePixel(1, f.data(), -4.5f, 6, 1, 1, 1, e.A, e.B, e.C, e.L2, e.L, 14, 0, 1, e.x0, e.y0, e.x1,
              e.y1);
  AAEdgePixel(1, f.data(), -5.5f, 7, 1, 1, 1, e.A, e.B, e.C, e.L2, e.L, 5, 3, 1, e.x0, e.y0, e.x1,
              e.y1);
  EXPECT_EQ(depth[5], -3.5f);
  EXPECT_EQ(depth[6], -4.5f);
  EXPECT_EQ(depth[7], -5.5f);
  // A degenerate edge (length 0.1) draws nothing but still writes the depth.
  AAEdgePixel(1, f.data(), -6.5f, 8, 1, 1, 1, 0.1f, 0, 0, 0.01f, 0.1f, 5, 0, 1, 5, 0, 5, 0.1f);
  EXPECT_EQ(depth[8], -6.5f);
  EXPECT_EQ(f.Get(5, 0, 0), 1);  // only the first call's colour is there
  // Without an index, or with one beyond the buffer, the depths stay.
  AAEdgePixel(1, f.data(), 99, NO_DEPTH_INDEX, 1, 1, 1, e.A, e.B, e.C, e.L2, e.L, 5, 0, 1, e.x0,
              e.y0, e.x1, e.y1);
  AAEdgePixel(1, f.data(), 99, 16 * 8, 1, 1, 1, e.A, e.B, e.C, e.L2, e.L, 5, 0, 1, e.x0, e.y0, e.x1,
              e.y1);
  for (float d : depth) EXPECT_NE(d, 99.0f);
  ZBuff = nullptr;
}

TEST_F(PixelWriters, DegenerateEdgeDrawsNothing) {
  Frame f(16, 8, false);
  const std::vector<unsigned char> before = f.bytes;
  AAEdgePixel(1, f.data(), 0, NO_DEPTH_INDEX, 200, 200, 200, 0.1f, 0, 0, 0.01f, 0.1f, 5, 0, 1, 5, 0,
              5, 0.1f);
  AAEdgePixel(1, f.data(), 0, NO_DEPTH_INDEX, 200, 200, 200, 0, 0, 0, 0, 0, 5, 0, 1, 5, 0, 5, 0);
  EXPECT_EQ(f.bytes, before);
}

TEST_F(PixelWriters, HostileEdgeValuesStayInsideTheFrame) {
  // NaN or huge pixel positions and lengths must neither crash nor write
  // outside the frame (the sanitizers watch the buffer).
  Frame f(16, 8, false);
  const float nan = std::nanf("");
  const float values[] = {nan, 1e30f, -1e30f, 3.0f, -0.0f, INFINITY};
  for (float a : values)
    for (float p : values) {
      AAEdgePixel(1, f.data(), 0, NO_DEPTH_INDEX, 1, 1, 1, a, 1, p, a * a + 1, std::sqrt(a * a + 1),
                  p, p, 1, 0, p, a, 3);
      AAEdgeDepthPixel(1, f.data(), 0, NO_DEPTH_INDEX, 1, 1, 1, a, 1, p, a, p, 2, p);
    }
  SUCCEED();
}

}  // namespace
