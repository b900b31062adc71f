// One-pixel and thick lines on a device-context surface.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>
#include <set>
#include <utility>

#include "renderer/raster/dc_draw.h"
#include "tests/dc/dc_canvas.h"

#if defined(_WIN32)
#include "renderer/raster/dc_surface_win.h"
#endif

namespace {

constexpr uint32_t WHITE = 0xFFFFFF;
constexpr uint32_t BLACK = 0x000000;

// The line rule read literally, with no clipping: every pixel of the walk.
PixelSet PlainBresenham(int x0, int y0, int x1, int y1) {
  PixelSet s;
  if (x0 == x1 && y0 == y1) return s;
  long dx = std::labs(long(x1) - x0), dy = std::labs(long(y1) - y0);
  bool yMajor = dx < dy;
  long major = yMajor ? dy : dx, minor = yMajor ? dx : dy;
  int sx = x1 < x0 ? -1 : 1, sy = y1 < y0 ? -1 : 1;
  long error = 2 * minor - major;
  long x = x0, y = y0;
  for (long i = 0; i <= major; ++i) {
    s.insert({int(x), int(y)});
    while (error >= 0) {
      if (yMajor)
        x += sx;
      else
        y += sy;
      error -= 2 * major;
    }
    if (yMajor)
      y += sy;
    else
      x += sx;
    error += 2 * minor;
  }
  return s;
}

PixelSet Inside(const PixelSet& s, int w, int h) {
  PixelSet r;
  for (auto& p : s)
    if (p.first >= 0 && p.first < w && p.second >= 0 && p.second < h) r.insert(p);
  return r;
}

class DcLines : public ::testing::TestWithParam<SurfaceKind> {};

TEST_P(DcLines, DrawLineSetsTheBresenhamPixelsBlack) {
  Canvas c(GetParam(), 8, 8, WHITE);
  DrawLineDC(c.dc(), 0, 0, 3, 1);
  EXPECT_EQ(PixelsOf(c, BLACK), (PixelSet{{0, 0}, {1, 0}, {2, 1}, {3, 1}}));
  EXPECT_EQ(PixelsOf(c, WHITE).size(), 64u - 4u);

  // Walked from the other end, the same pixels.
  c.Fill(WHITE);
  DrawLineDC(c.dc(), 3, 1, 0, 0);
  EXPECT_EQ(PixelsOf(c, BLACK), (PixelSet{{0, 0}, {1, 0}, {2, 1}, {3, 1}}));

  // y major: one pixel a row.
  c.Fill(WHITE);
  DrawLineDC(c.dc(), 0, 0, 1, 3);
  EXPECT_EQ(PixelsOf(c, BLACK), (PixelSet{{0, 0}, {0, 1}, {1, 2}, {1, 3}}));

  // A diagonal steps the minor axis every time.
  c.Fill(WHITE);
  DrawLineDC(c.dc(), 5, 0, 2, 3);
  EXPECT_EQ(PixelsOf(c, BLACK), (PixelSet{{5, 0}, {4, 1}, {3, 2}, {2, 3}}));
}

TEST_P(DcLines, DrawLineWithEqualEndPointsTouchesNothing) {
  Canvas c(GetParam(), 4, 4, WHITE);
  DrawLineDC(c.dc(), 2, 2, 2, 2);
  EXPECT_EQ(c.Writes(), 0u);
  EXPECT_EQ(c.Reads(), 0u);
}

TEST_P(DcLines, DrawLineCutToTheSurfaceDrawsTheSamePixels) {
  // Lines with end points well outside a 16 x 12 surface, against the rule
  // walked in full; only pixels inside are ever written.
  std::mt19937 rng(12345);
  std::uniform_int_distribution<int> coord(-300, 300);
  Canvas c(GetParam(), 16, 12, WHITE);
  for (int n = 0; n < 300; ++n) {
    int x0 = coord(rng), y0 = coord(rng), x1 = coord(rng) / 10, y1 = coord(rng) / 10;
    if (n % 2) std::swap(x0, x1), std::swap(y0, y1);
    c.Fill(WHITE);
    c.ResetCounts();
    DrawLineDC(c.dc(), x0, y0, x1, y1);
    PixelSet want = Inside(PlainBresenham(x0, y0, x1, y1), 16, 12);
    ASSERT_EQ(PixelsOf(c, BLACK), want) << x0 << "," << y0 << " -> " << x1 << "," << y1;
    ASSERT_EQ(c.Writes(), want.size());
    ASSERT_EQ(c.Outside(), 0u);
  }
}

TEST_P(DcLines, DrawLineFromTheEndsOfTheIntRangeIsBounded) {
  Canvas c(GetParam(), 16, 16, WHITE);
  DrawLineDC(c.dc(), INT_MIN, INT_MIN, INT_MAX, INT_MAX);  // through the surface's diagonal
  EXPECT_EQ(c.Outside(), 0u);
  EXPECT_LE(c.Writes(), 16u);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(c.At(i, i), BLACK) << i;

  c.ResetCounts();
  DrawLineDC(c.dc(), INT_MAX, 3, INT_MIN, 9);  // nearly horizontal, 2^32 columns long
  EXPECT_EQ(c.Outside(), 0u);
  EXPECT_LE(c.Writes(), 16u);

  c.ResetCounts();
  DrawLineDC(c.dc(), -2000000000, 100, 2000000000, 100);  // never crosses the surface
  EXPECT_EQ(c.Writes(), 0u);
}

TEST_P(DcLines, ThickLineChangesNoPixel) {
  // The thick line is drawn in white with the darker-wins blend: however
  // it covers a pixel, the pixel keeps its colour.
  Canvas c(GetParam(), 24, 24, WHITE);
  std::mt19937 rng(7);
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 24; ++x) c.Set(x, y, rng() & 0xFFFFFF);
  std::vector<uint32_t> before = c.Pixels();
  DrawThickLineDC(c.dc(), 3, 4, 20, 15, 2.0f);
  EXPECT_GT(c.Writes(), 0u);  // it does visit pixels
  EXPECT_EQ(c.Outside(), 0u);
  EXPECT_EQ(c.Diff(before), "");
}

TEST_P(DcLines, ThickLineWithEqualEndPointsOrNoWidthVisitsNothing) {
  Canvas c(GetParam(), 8, 8, WHITE);
  DrawThickLineDC(c.dc(), 4, 4, 4, 4, 3.0f);
  DrawThickLineDC(c.dc(), 1, 1, 6, 6, -3.5f);  // h = trunc(-1) is no run at all
  DrawThickLineDC(c.dc(), 1, 1, 6, 6, std::numeric_limits<float>::quiet_NaN());
  EXPECT_EQ(c.Reads() + c.Writes(), 0u);
}

// The thick line rule read literally: the start cap, a run across the major
// axis at each of the major + 1 positions of the walk, and the end cap one
// step past the last, every pixel handed to the edge pixel writer.
void PlainThickLine(const DCSurface& dc, int x0, int y0, int x1, int y1, float width) {
  if (x0 == x1 && y0 == y1) return;
  const int h = int(2.5f + width);
  float A, B, C;
  LineCoefficients(float(x0), float(y0), float(x1), float(y1), A, B, C);
  const float lengthSquared = A * A + B * B, length = std::sqrt(lengthSquared);
  auto pixel = [&](int x, int y) {
    AAEdgePixelDC(dc, A, B, C, lengthSquared, length, float(x), float(y), width, float(x0),
                  float(y0), float(x1), float(y1));
  };
  const int sx = x1 < x0 ? -1 : 1, sy = y1 < y0 ? -1 : 1;
  auto square = [&](int cx, int cy, int dir) {
    for (int j = 0; j < 2 * h; ++j)
      for (int i = 0; i < 2 * h; ++i) pixel(cx - dir * sx * (h - i), cy - dir * sy * (h - j));
  };
  square(x0, y0, 1);
  const int dx = std::abs(x1 - x0), dy = std::abs(y1 - y0);
  const bool yMajor = dx < dy;
  const int major = yMajor ? dy : dx, minor = yMajor ? dx : dy;
  int x = x0, y = y0, error = 2 * minor - major;
  for (int k = 0; k <= major; ++k) {
    for (int i = 0; i < 2 * h; ++i) {
      if (yMajor)
        pixel(x - sx * (h - i), y);
      else
        pixel(x, y - sy * (h - i));
    }
    for (; error >= 0; error -= 2 * major) (yMajor ? x : y) += yMajor ? sx : sy;
    (yMajor ? y : x) += yMajor ? sy : sx;
    error += 2 * minor;
  }
  square(x, y, -1);
}

TEST(DcThickLine, VisitsFollowTheRule) {
  // Each covered visit reads its pixel once: the multiset of reads must be
  // the plain rule's, on a surface holding the whole line and on a corner
  // that cuts it.
  const int cases[][4] = {{3, 4, 20, 15}, {30, 5, 3, 7},  {6, 38, 8, 1},
                          {37, 36, 1, 2}, {-9, 3, 44, 10}, {10, 2, 11, 30}};
  const float widths[] = {1.5f, 2.0f, 0.5f, 1.0f};
  const int windows[][4] = {{-16, -16, 56, 56}, {0, 0, 12, 9}};
  int n = 0;
  for (auto& k : cases)
    for (auto& w : windows) {
      const float width = widths[n++ % 4];
      RecordingSurface got(w[0], w[1], w[2], w[3]), want(w[0], w[1], w[2], w[3]);
      DrawThickLineDC(got.dc(), k[0], k[1], k[2], k[3], width);
      PlainThickLine(want.dc(), k[0], k[1], k[2], k[3], width);
      EXPECT_FALSE(want.reads.empty());
      EXPECT_EQ(got.reads, want.reads) << k[0] << "," << k[1] << " -> " << k[2] << "," << k[3];
    }
}

TEST_P(DcLines, ThickLineWithFarEndPointsOrHugeWidthIsBounded) {
  Canvas c(GetParam(), 32, 32, WHITE);
  DrawThickLineDC(c.dc(), -2000000000, 5, 2000000000, 20, 1.0f);
  EXPECT_EQ(c.Outside(), 0u);
  EXPECT_LE(c.Reads(), 4u * 32u * 32u);

  c.ResetCounts();
  DrawThickLineDC(c.dc(), INT_MIN, INT_MAX, INT_MAX, INT_MIN, 1.0f);
  EXPECT_EQ(c.Outside(), 0u);
  EXPECT_LE(c.Reads(), 4u * 32u * 32u);

  c.ResetCounts();
  DrawThickLineDC(c.dc(), 10, 10, 12, 20, 1e30f);  // caps and runs wider than any surface
  EXPECT_EQ(c.Outside(), 0u);
  EXPECT_LE(c.Reads(), 40u * 32u * 32u);
}

TEST(DcSurfaces, EmptySurfacesAreNeverTouched) {
  // A surface without pixels: no routine may call its operations (the
  // pixel pointer is null, so any access would crash).
  MemorySurface none{nullptr, -5, 3};
  DCSurface s = MemorySurfaceView(none);
  EXPECT_TRUE(s.right <= s.left);
  DrawLineDC(s, -10, -10, 10, 10);
  DrawThickLineDC(s, -10, -10, 10, 10, 4.0f);
  BlendPixelDC(0, 0, 0, s, 0, 0, 0);
#if defined(_WIN32)
  // No device context: GetClipBox fails and the surface is empty.
  DCSurface d = DeviceContextSurface(nullptr);
  EXPECT_EQ(d.right - d.left, 0);
  EXPECT_EQ(d.bottom - d.top, 0);
  DrawLineDC(d, 0, 0, 10, 10);
#endif
}

INSTANTIATE_TEST_SUITE_P(Surfaces, DcLines, ::testing::ValuesIn(SurfaceKinds()),
                         [](const ::testing::TestParamInfo<SurfaceKind>& i) {
                           return SurfaceKindName(i.param);
                         });

}  // namespace
