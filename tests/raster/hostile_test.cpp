// Hostile geometry: non-finite and enormous vertices, huge triangles and
// far-away lines. Every call must end after work bounded by the frame, draw
// only inside the frame (the buffers are exact-size blocks, so the
// sanitizers see any stray write) and, for non-finite vertices, nothing.
#include <cmath>
#include <limits>

#include "platform/page_memory.h"
#include "tests/raster/raster_fixture.h"

namespace {

constexpr int W = 40, H = 30;

class Hostile : public RasterTest {
 protected:
  void SetUp() override {
    RasterTest::SetUp();
    pageDst_ = static_cast<unsigned char*>(PageAlloc(W * H * 8));
    pageSrc_ = static_cast<unsigned char*>(PageAlloc(W * H * 8));
    ASSERT_NE(pageDst_, nullptr);
    ASSERT_NE(pageSrc_, nullptr);
  }
  void TearDown() override {
    PageFree(pageDst_);
    PageFree(pageSrc_);
    RasterTest::TearDown();
  }
  void RenderAll(std::vector<__Point3ds>& pts, std::vector<__Triangle3ds>& tris) {
    for (int deep = 0; deep < 2; ++deep)
      for (int quality = 0; quality < 2; ++quality)
        for (int mode : {0, 1, 3, 6}) {
          _Deep = uint8_t(deep);
          _Quality = uint8_t(quality);
          _DrawMode = uint8_t(mode);
          _DubleSide = 1;
          __RasterScene(pageDst_, pageSrc_, W, H, 4 * W, int(pts.size()), int(tris.size()),
                        tris.data(), pts.data(), W / 2, H / 2, 0, nullptr, nullptr, 0, nullptr,
                        nullptr);
          __RasterSolid(pageDst_, W, H, 4 * W, int(pts.size()), int(tris.size()), tris.data(),
                        pts.data(), W / 2, H / 2, 1, 2, 3, 0.5f);
          __DrawScenesLineColor(2.0f, 1, 2, 3, pageDst_, pageSrc_, W, H, 0, int(tris.size()),
                                tris.data(), pts.data(), W / 2, H / 2);
          __DrawScenesLineColor(1e9f, 1, 2, 3, pageDst_, pageSrc_, W, H, 0, int(tris.size()),
                                tris.data(), pts.data(), W / 2, H / 2);
        }
    _Deep = 0;
  }
  bool Untouched() const {
    for (int i = 0; i < W * H * 8; ++i)
      if (pageDst_[i]) return false;
    return true;
  }
  unsigned char* pageDst_ = nullptr;
  unsigned char* pageSrc_ = nullptr;
};

}  // namespace

TEST_F(Hostile, NonFiniteVerticesDrawNothing) {
  const float nan = std::numeric_limits<float>::quiet_NaN(), inf = INFINITY;
  std::vector<__Point3ds> pts = {Vtx(0, 0),   Vtx(10, 0),   Vtx(0, 10),    Vtx(nan, 5),
                                 Vtx(5, inf), Vtx(-inf, 3), Vtx(4, 4, nan)};
  std::vector<__Triangle3ds> tris;
  for (uint32_t bad = 3; bad < 6; ++bad)
    for (int slot = 0; slot < 3; ++slot) {
      uint32_t v[3] = {0, 1, 2};
      v[slot] = bad;
      tris.push_back(Tri(v[0], v[1], v[2]));
    }
  RenderAll(pts, tris);
  EXPECT_TRUE(Recorder::Calls().empty());
  EXPECT_TRUE(Untouched());
  // A non-finite depth stops the modes that use depth and the plane; the
  // outline and one-colour modes do not read z.
  tris = {Tri(0, 1, 6), Tri(6, 1, 0)};
  for (int quality = 0; quality < 2; ++quality)
    for (int mode : {1, 3, 6}) {
      _Quality = uint8_t(quality);
      _DrawMode = uint8_t(mode);
      __RasterScene(pageDst_, pageSrc_, W, H, 4 * W, int(pts.size()), int(tris.size()), tris.data(),
                    pts.data(), W / 2, H / 2, 0, nullptr, nullptr, 0, nullptr, nullptr);
    }
  EXPECT_TRUE(Recorder::Calls().empty());
  EXPECT_TRUE(Untouched());
}

TEST_F(Hostile, EnormousTrianglesAndLinesStayBounded) {
  const float big[] = {1e30f,       -1e30f,       3e38f,      -3e38f, 1e7f, -1e7f,
                       16777217.0f, -16777217.0f, 4194305.5f, 1e5f,   -1e5f};
  std::vector<__Point3ds> pts;
  std::vector<__Triangle3ds> tris;
  uint32_t n = 0;
  auto add = [&](__Point3ds a, __Point3ds b, __Point3ds c) {
    pts.push_back(a);
    pts.push_back(b);
    pts.push_back(c);
    tris.push_back(Tri(n, n + 1, n + 2));
    tris.push_back(Tri(n + 2, n + 1, n));
    n += 3;
  };
  for (float a : big)
    for (float b : big) {
      add(Vtx(a, b, 1), Vtx(-b, a, 2), Vtx(3, -4, 0));        // far corners around the frame
      add(Vtx(a, 1, 1), Vtx(-a, 2, 1), Vtx(0, b, 1));         // huge, covering the frame
      add(Vtx(a, b, a), Vtx(a + 1, b, b), Vtx(a, b + 1, 0));  // tiny, far away
    }
  RenderAll(pts, tris);
  // Bounded: a handful of visits per frame pixel per triangle and pass.
  EXPECT_LT(Recorder::Calls().size(), size_t(W) * H * tris.size() * 64);
  for (const ShadeCall& c : Recorder::Calls()) {
    ASSERT_GE(c.x, 0.0f);
    ASSERT_GE(c.y, 0.0f);
    ASSERT_LT(c.x, float(W));
    ASSERT_LT(c.y, float(H));
  }
  EXPECT_EQ(PageLiveBlocks(), liveAtStart_ + 2);  // only this test's two buffers
}

TEST_F(Hostile, FarLinesEnd) {
  MakeFrame(W, H);
  const float far[] = {-3e38f, -1e30f,     -1e9f,       -16777217.0f, -4194305.0f, -50.0f,
                       20.0f,  4194305.0f, 16777217.0f, 1e9f,         1e30f,       3e38f};
  for (int quality = 0; quality < 2; ++quality) {
    _Quality = uint8_t(quality);
    for (float a : far)
      for (float b : far) {
        DrawLineInverse(a, 15, b, 16, dst_.data(), src_.data(), W, H);
        DrawLineInverse(12, a, 13, b, dst_.data(), src_.data(), W, H);
        DrawLineInverse(a, a, b, b, dst_.data(), src_.data(), W, H);
        DrawLineSolidAA(1, 2, 3, a, 15, b, 16, 1.0f, dst_.data(), nullptr, 0, 0);
        DrawLineSolidAA(1, 2, 3, a, b, b, a, 1e20f, dst_.data(), nullptr, 0, 0);
        DrawLineSolidAA(1, 2, 3, 12, a, 13, b, -1e20f, dst_.data(), nullptr, 0, 0);
      }
  }
  // A line through the frame from far away still draws its pixels inside:
  // the DDA row 15 from x = -1e9 to 1e9 covers the whole row.
  MakeFrame(W, H);
  DrawLineInverse(-1e9f, 15, 1e9f, 15, dst_.data(), src_.data(), W, H);
  for (int x = 0; x < W; ++x) EXPECT_EQ(Alpha(x, 15), 255) << x;
  MakeFrame(W, H);
  _Quality = 0;
  DrawLineSolidAA(1, 2, 3, -1e9f, 7, 1e9f, 7, 1.0f, dst_.data(), nullptr, 0, 0);
  for (int x = 0; x < W; ++x) EXPECT_EQ(Alpha(x, 7), 255) << x;
}
