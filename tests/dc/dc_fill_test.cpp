// Polygon fill, span crossing and shading of the device-context routines.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>
#include <memory>
#include <set>
#include <utility>
#include <vector>

#include "renderer/raster/dc_draw.h"
#include "tests/dc/dc_canvas.h"

namespace {

constexpr uint32_t BACKGROUND = 0x204060;
constexpr float NaN = std::numeric_limits<float>::quiet_NaN();

// A polygon as the fill reads it: points and an edge list of exactly
// edgeCount records on the heap, so a read past either shows under ASan.
struct Polygon {
  std::unique_ptr<__Point[]> points;
  std::unique_ptr<EdgeRecord[]> edges;
  int count;

  explicit Polygon(std::vector<std::pair<float, float>> xy)
      : points(new __Point[xy.size()]), edges(new EdgeRecord[xy.size()]), count(int(xy.size())) {
    for (int i = 0; i < count; ++i) {
      points[i] = __Point{xy[i].first, xy[i].second, 0.0f};
      edges[i] = EdgeRecord{uint8_t(i), uint8_t((i + 1) % count), 0};
    }
  }
};

PixelSet Rows(std::vector<std::pair<int, std::pair<int, int>>> rows, int dx = 0, int dy = 0) {
  PixelSet s;
  for (auto& r : rows)
    for (int x = r.second.first; x <= r.second.second; ++x) s.insert({x + dx, r.first + dy});
  return s;
}

size_t CountOther(const Canvas& c, uint32_t a, uint32_t b) {
  size_t n = 0;
  for (int y = 0; y < c.Height(); ++y)
    for (int x = 0; x < c.Width(); ++x) n += c.At(x, y) != a && c.At(x, y) != b;
  return n;
}

float Shade(float x, float y, float z) {
  float intensity = 255.0f;
  float normal[3] = {x, y, z};
  float light[3] = {-0.2f, -0.3f, 0.5f};
  ShadeFactor(intensity, normal, light);
  return intensity;
}

TEST(DcShade, ShadeFactorFromTheDotProductToTheFifth) {
  EXPECT_FLOAT_EQ(Shade(0, 0, -1), 25.5f);      // facing away: d = 0, 255 x 0.1
  EXPECT_FLOAT_EQ(Shade(0, 0, 1), 822.375f);    // d = 0.5: 255 x (100 / 32 + 0.1)
  EXPECT_FLOAT_EQ(Shade(0, 0, 0.6f), 87.465f);  // d = 0.3: 255 x 0.343
  EXPECT_FLOAT_EQ(Shade(1, 0, 0), 25.5f);       // d = -0.2 raised to 0
  float intensity = 10.0f, n[3] = {1, 1, 1}, l[3] = {0.5f, 0.5f, 0.0f};
  ShadeFactor(intensity, n, l);  // d = 1
  EXPECT_FLOAT_EQ(intensity, 1001.0f);
}

class DcFill : public ::testing::TestWithParam<SurfaceKind> {};

TEST_P(DcFill, TriangleWithAFlatTop) {
  // Edge list B(0, 10) -> C(5, 0) -> A(10, 10) -> B, as the triangle set-up
  // leaves it (starting at the last vertex of greatest y). Left edge B-C,
  // right edge C-A; from y = 10 down to 0 the interior runs from
  // trunc(left + 1) to right, the last flat record only gets edge pixels,
  // and the walk stops at record 2 without reading past the list.
  Polygon p({{0, 10}, {5, 0}, {10, 10}});
  float normal[3] = {0, 0, 1};  // d = 0.5: clamped to 255
  Canvas c(GetParam(), 14, 14, BACKGROUND);
  EXPECT_EQ(FillPolygonDC(p.count, p.points.get(), p.edges.get(), 0, c.dc(), 0, 0, 0, normal), 2);
  PixelSet want = Rows({{10, {1, 10}},
                        {9, {1, 9}},
                        {8, {2, 9}},
                        {7, {2, 8}},
                        {6, {3, 8}},
                        {5, {3, 7}},
                        {4, {4, 7}},
                        {3, {4, 6}},
                        {2, {5, 6}},
                        {1, {5, 5}}});
  EXPECT_EQ(want.size(), 55u);
  EXPECT_EQ(PixelsOf(c, 0xFFFFFF), want);
  EXPECT_EQ(CountOther(c, 0xFFFFFF, BACKGROUND), 0u);  // white edge pixels change nothing
  EXPECT_EQ(c.Outside(), 0u);
}

TEST_P(DcFill, TriangleWithAVerticalLeftEdgeAndAFlatBottom) {
  // (2, 8) -> (2, 2) -> (8, 2): left x = 2, right x = 10 - y on the closing
  // edge, and the flat bottom record at y = 2 gives its larger x, 8.
  // Normal (0, 0, 0.6): d = 0.3, 255 x 0.343 = 87.5, grey 87.
  Polygon p({{2, 8}, {2, 2}, {8, 2}});
  float normal[3] = {0, 0, 0.6f};
  Canvas c(GetParam(), 12, 12, BACKGROUND);
  EXPECT_EQ(FillPolygonDC(p.count, p.points.get(), p.edges.get(), 0, c.dc(), 0, 0, 0, normal), 2);
  PixelSet want =
      Rows({{7, {3, 3}}, {6, {3, 4}}, {5, {3, 5}}, {4, {3, 6}}, {3, {3, 7}}, {2, {3, 8}}});
  EXPECT_EQ(PixelsOf(c, 0x575757), want);
  EXPECT_EQ(CountOther(c, 0x575757, BACKGROUND), 0u);
}

TEST_P(DcFill, QuadAcrossFourRecords) {
  // (3, 9) -> (1, 5) -> (4, 1) -> (8, 6) -> (3, 9). Records 0 and 1 are the
  // left side, records 2 and 3 the right; record 2 runs upward and spans
  // nothing, and the walk stops at record 3. Facing away: grey 25.
  Polygon p({{3, 9}, {1, 5}, {4, 1}, {8, 6}});
  float normal[3] = {0, 0, -1};
  Canvas c(GetParam(), 12, 12, BACKGROUND);
  EXPECT_EQ(FillPolygonDC(p.count, p.points.get(), p.edges.get(), 0, c.dc(), 0, 0, 0, normal), 3);
  PixelSet want = Rows(
      {{8, {3, 4}}, {7, {3, 6}}, {6, {2, 8}}, {5, {2, 7}}, {4, {2, 6}}, {3, {3, 5}}, {2, {4, 4}}});
  EXPECT_EQ(want.size(), 28u);
  EXPECT_EQ(PixelsOf(c, 0x191919), want);
  EXPECT_EQ(CountOther(c, 0x191919, BACKGROUND), 0u);
}

TEST_P(DcFill, OffsetsMoveTheInteriorOnly) {
  // Interior pixels at (offsetX + x, offsetY + y); the edge pixels keep
  // their own coordinates and carry depth 0 at index 0.
  Polygon p({{3, 9}, {1, 5}, {4, 1}, {8, 6}});
  float normal[3] = {0, 0, -1};
  std::vector<float> depth(40 * 40, 7.0f);
  float* savedBuffer = ZBuff;
  int savedW = Zwidth, savedH = Zheight;
  ZBuff = depth.data(), Zwidth = 40, Zheight = 40;
  Canvas c(GetParam(), 40, 40, BACKGROUND);
  int r = FillPolygonDC(p.count, p.points.get(), p.edges.get(), 0, c.dc(), 20, 15, 0, normal);
  ZBuff = savedBuffer, Zwidth = savedW, Zheight = savedH;
  EXPECT_EQ(r, 3);
  PixelSet want = Rows(
      {{8, {3, 4}}, {7, {3, 6}}, {6, {2, 8}}, {5, {2, 7}}, {4, {2, 6}}, {3, {3, 5}}, {2, {4, 4}}},
      20, 15);
  EXPECT_EQ(PixelsOf(c, 0x191919), want);
  EXPECT_EQ(depth[0], 0.0f);
  for (size_t i = 1; i < depth.size(); ++i) ASSERT_EQ(depth[i], 7.0f) << i;
}

TEST_P(DcFill, HostilePolygonsAreBoundedAndSafe) {
  float normal[3] = {0, 0, -1};
  Canvas c(GetParam(), 32, 32, BACKGROUND);

  // A polygon far larger than the surface covers it all, in bounded work.
  Polygon big({{0, 1e6f}, {-1e6f, -1e6f}, {1e6f, -1e6f}});
  EXPECT_EQ(FillPolygonDC(big.count, big.points.get(), big.edges.get(), 0, c.dc(), 0, 0, 0, normal),
            2);
  EXPECT_EQ(PixelsOf(c, 0x191919).size(), 32u * 32u);
  EXPECT_LE(c.Reads() + c.Writes(), 20u * 32u * 32u);
  EXPECT_EQ(c.Outside(), 0u);

  // Coordinates near the float range and offsets at the int range: safe,
  // bounded.
  c.ResetCounts();
  Polygon huge({{0, 1e30f}, {-1e30f, -1e30f}, {1e30f, -1e30f}, {3e38f, 3e38f}});
  FillPolygonDC(huge.count, huge.points.get(), huge.edges.get(), 0, c.dc(), INT_MAX, INT_MIN, 0,
                normal);
  EXPECT_LE(c.Reads() + c.Writes(), 20u * 32u * 32u);
  EXPECT_EQ(c.Outside(), 0u);

  // A vertex that is not a number: nothing drawn.
  c.ResetCounts();
  Polygon nan({{3, 9}, {NaN, 5}, {8, 6}});
  EXPECT_EQ(FillPolygonDC(nan.count, nan.points.get(), nan.edges.get(), 0, c.dc(), 0, 0, 0, normal),
            2);
  Polygon inf({{3, 9}, {1, 5}, {std::numeric_limits<float>::infinity(), 6}});
  FillPolygonDC(inf.count, inf.points.get(), inf.edges.get(), 0, c.dc(), 0, 0, 0, normal);
  EXPECT_EQ(c.Reads() + c.Writes(), 0u);

  // A sliver without an interior pixel never reads its normal.
  c.ResetCounts();
  Polygon sliver({{2, 8}, {2, 2}, {2.5f, 2}});
  EXPECT_EQ(FillPolygonDC(sliver.count, sliver.points.get(), sliver.edges.get(), 0, c.dc(), 0, 0, 0,
                          nullptr),
            2);
  EXPECT_GT(c.Reads(), 0u);
  EXPECT_EQ(c.Writes(), c.Reads());  // edge pixels only

  // An empty list reads nothing; a single record stops at once.
  EXPECT_EQ(FillPolygonDC(0, nullptr, nullptr, 0, c.dc(), 0, 0, 0, normal), 0);
  Polygon one({{3, 9}});
  EXPECT_EQ(FillPolygonDC(one.count, one.points.get(), one.edges.get(), 0, c.dc(), 0, 0, 0, normal),
            0);
}

INSTANTIATE_TEST_SUITE_P(Surfaces, DcFill, ::testing::ValuesIn(SurfaceKinds()),
                         [](const ::testing::TestParamInfo<SurfaceKind>& i) {
                           return SurfaceKindName(i.param);
                         });

struct Span {
  float x, A, B, C, lengthSquared, length, x0, y0, x1, y1, extent;
};

Span SpanAt(const Polygon& p, int first, int y);

// The fill rule read literally: records in list order, a flat one (less than
// a pixel high) edged over its box widened by a pixel in x, the others walked
// scan line by scan line from their start down to their end with a left edge
// run of at least 3 pixels, the grey interior and the right edge run.
int PlainFill(const Polygon& p, const DCSurface& dc, int offsetX, int offsetY, float* normal) {
  float light[3] = {-0.2f, -0.3f, 0.5f};
  float intensity = 255.0f;
  ShadeFactor(intensity, normal, light);
  const uint32_t grey = uint32_t(std::min(255.0f, std::max(0.0f, intensity))) * 0x010101u;
  auto edgePixel = [&](int x, int y, float A, float B, float C, float l2, float l, float x0,
                       float y0, float x1, float y1) {
    AAEdgePixelDCZ(1, 0, 0, 0, 255, 255, 255, dc, A, B, C, l2, l, float(x), float(y), 1, x0, y0,
                   x1, y1);
  };
  const int last = p.count - 1;
  int i = 0;
  for (;; ++i) {
    const __Point* a = &p.points[p.edges[i].start];
    const __Point* b = &p.points[p.edges[i].end];
    if (std::fabs(a->y - b->y) < 1.0f) {
      float A, B, C;
      LineCoefficients(a->x, a->y, b->x, b->y, A, B, C);
      for (int y = int(std::min(a->y, b->y)); y <= std::max(a->y, b->y); ++y)
        for (int x = int(std::min(a->x, b->x) - 1); x <= std::max(a->x, b->x) + 1; ++x)
          edgePixel(x, y, A, B, C, A * A + B * B, std::sqrt(A * A + B * B), a->x, a->y, b->x, b->y);
      ++i;
      a = &p.points[p.edges[std::min(i, last)].start];
      b = &p.points[p.edges[std::min(i, last)].end];
    }
    if (i >= last) return last;
    const float slope = std::fabs(b->y - a->y) < 1.0f ? 0.0f : (b->x - a->x) / (b->y - a->y);
    float A, B, C;
    LineCoefficients(a->x, a->y, b->x, b->y, A, B, C);
    const float l2 = A * A + B * B, l = std::sqrt(l2);
    for (int y = int(a->y); y >= b->y; --y) {
      const float left = slope == 0.0f ? std::min(a->x, b->x) : (float(y) - a->y) * slope + a->x;
      Span r = SpanAt(p, i + 1, y);
      const float run = std::max(3.0f, std::fabs(left - ((float(y - 1) - a->y) * slope + a->x)));
      for (int x = int(left - run); x <= left; ++x)
        edgePixel(x, y, A, B, C, l2, l, a->x, a->y, b->x, b->y);
      for (int x = int(left + 1); x <= r.x; ++x)
        if (DCInside(dc, offsetX + x, offsetY + y))
          dc.setPixel(dc.context, offsetX + x, offsetY + y, grey);
      for (int x = int(r.x + 1); x <= r.x + r.extent; ++x)
        edgePixel(x, y, r.A, r.B, r.C, r.lengthSquared, r.length, r.x0, r.y0, r.x1, r.y1);
    }
  }
}

TEST(DcFillRule, EdgeVisitsAndInteriorFollowTheRule) {
  // The triangles and the quad above, and a wide triangle over negative x
  // whose long sides move 2.95 pixels a line and whose flat bottom ends
  // 0.02 short of a whole x: its edge runs reach covered pixels only because
  // they are at least 3 wide and the flat edge's box is widened.
  // Each on a surface that holds it, and on one that cuts it, with offsets.
  const std::vector<std::pair<float, float>> polygons[] = {
      {{0, 10}, {5, 0}, {10, 10}},
      {{2, 8}, {2, 2}, {8, 2}},
      {{3, 9}, {1, 5}, {4, 1}, {8, 6}},
      {{3, 25}, {1, 2}, {27, 4}, {20, 18}},
      {{-0.02f, 20}, {-59.02f, 0}, {58.98f, 0}}};
  const int windows[][4] = {{-70, -4, 70, 30}, {0, 0, 7, 6}};
  const int offsets[][2] = {{0, 0}, {-3, 2}, {4, -5}};
  float normal[3] = {0, 0, 0.6f};
  for (const auto& xy : polygons)
    for (auto& w : windows)
      for (auto& o : offsets) {
        Polygon p(xy);
        RecordingSurface got(w[0], w[1], w[2], w[3]), want(w[0], w[1], w[2], w[3]);
        EXPECT_EQ(FillPolygonDC(p.count, p.points.get(), p.edges.get(), 0, got.dc(), o[0], o[1], 0,
                                normal),
                  PlainFill(p, want.dc(), o[0], o[1], normal));
        EXPECT_EQ(got.reads, want.reads) << xy[0].first << " window " << w[2];
        EXPECT_EQ(got.written, want.written) << xy[0].first << " window " << w[2];
      }
}


Span SpanAt(const Polygon& p, int first, int y) {
  Span s;
  s.x = EdgeSpanAt(p.count, first, p.points.get(), p.edges.get(), y, s.A, s.B, s.C, s.lengthSquared,
                   s.length, s.x0, s.y0, s.x1, s.y1, s.extent);
  return s;
}

TEST(DcEdgeSpan, CrossingLineAndExtent) {
  // (0, 9) -> (0, 2) -> (20, 6) -> back. At y = 4 from record 1, the edge
  // (0, 2)-(20, 6) crosses at x = 10; its lower end has the smaller x, so
  // the next line is y = 5, crossed at 15: extent 5.
  Polygon p({{0, 9}, {0, 2}, {20, 6}});
  Span s = SpanAt(p, 1, 4);
  EXPECT_FLOAT_EQ(s.x, 10.0f);
  EXPECT_EQ(s.A, 4.0f);
  EXPECT_EQ(s.B, -20.0f);
  EXPECT_EQ(s.C, 40.0f);
  EXPECT_EQ(s.lengthSquared, 416.0f);
  EXPECT_FLOAT_EQ(s.length, std::sqrt(416.0f));
  EXPECT_EQ(s.x0, 0.0f);
  EXPECT_EQ(s.y0, 2.0f);
  EXPECT_EQ(s.x1, 20.0f);
  EXPECT_EQ(s.y1, 6.0f);
  EXPECT_FLOAT_EQ(s.extent, 5.0f);

  // No record from `first` holds y: the last record is used.
  s = SpanAt(p, 1, 8);
  EXPECT_EQ(s.x0, 20.0f);
  EXPECT_EQ(s.y1, 9.0f);
  EXPECT_FLOAT_EQ(s.x, (8.0f - 6.0f) * (0.0f - 20.0f) / (9.0f - 6.0f) + 20.0f);

  // A record running down (y1 <= y < y0) holds y for the crossing, but the
  // next line's search takes only records running up (y0 <= y' <= y1):
  // from record 0, y = 3 crosses the vertical (0, 9)-(0, 2) at 0, and y' = 4
  // is found on (0, 2)-(20, 6) at 10: extent 10.
  s = SpanAt(p, 0, 3);
  EXPECT_EQ(s.x, 0.0f);
  EXPECT_EQ(s.y0, 9.0f);
  EXPECT_FLOAT_EQ(s.extent, 10.0f);

  // A flat record crosses at its larger x; a short extent becomes 3.
  Polygon q({{2, 8}, {2, 2}, {8, 2}});
  s = SpanAt(q, 1, 2);
  EXPECT_EQ(s.x, 8.0f);
  EXPECT_EQ(s.extent, 3.0f);
}

}  // namespace
