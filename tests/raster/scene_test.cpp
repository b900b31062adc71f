// Scene loops through __RasterScene and __RasterSolid: face tests, passes,
// the depth buffer between them, and the edge layer of high quality.
#include "platform/page_memory.h"
#include "tests/raster/raster_fixture.h"

namespace {

// Frame 32 x 32, centre (16, 16): a front-facing triangle (F) and the same
// triangle wound the other way (back-facing), vertices relative to the centre.
struct Scene {
  std::vector<__Point3ds> pts;
  std::vector<__Triangle3ds> tris;
};

Scene TwoTriangles(float zFront, float zBack) {
  Scene s;
  s.pts = {Vtx(-10, -10, zFront), Vtx(10, -10, zFront), Vtx(-10, 10, zFront),
           Vtx(-10, -10, zBack),  Vtx(10, -10, zBack),  Vtx(-10, 10, zBack)};
  s.tris = {Tri(0, 1, 2, 1), Tri(5, 4, 3, 2)};  // material 1 front, 2 back
  return s;
}

class SceneTest : public RasterTest {
 protected:
  void Render(Scene& s) {
    __RasterScene(dst_.data(), src_.data(), 32, 32, 128, int(s.pts.size()), int(s.tris.size()),
                  s.tris.data(), s.pts.data(), 16, 16, 0, nullptr, nullptr, 0, nullptr, nullptr);
  }
  void Fresh() {
    MakeFrame(32, 32);
    ZBuff = nullptr;  // __RasterScene makes its own
    Recorder::Calls().clear();
  }
  int CallsOf(int material) const {
    int n = 0;
    for (const ShadeCall& c : Recorder::Calls()) n += c.material == material;
    return n;
  }
};

}  // namespace

TEST_F(SceneTest, FacingDecidesWhatEachModeDraws) {
  float nx, ny, nz;
  Scene s = TwoTriangles(1, 2);  // the back face nearer: not hidden by the front one
  TriangleNormal(&s.tris[0], s.pts.data(), nx, ny, nz);
  ASSERT_GE(nz, 0.0f);
  TriangleNormal(&s.tris[1], s.pts.data(), nx, ny, nz);
  ASSERT_LT(nz, 0.0f);
  _Quality = 0;
  for (int mode : {1, 3, 6}) {
    for (int multy : {0, 2}) {
      Fresh();
      _DrawMode = uint8_t(mode);
      _UseMultyRefract = uint8_t(multy);
      Render(s);
      EXPECT_GT(CallsOf(1), 0) << mode;
      // Multiple refraction 2 adds the back faces to the fill modes only.
      if (mode != 1 && multy == 2)
        EXPECT_GT(CallsOf(2), 0) << mode;
      else
        EXPECT_EQ(CallsOf(2), 0) << mode << " " << multy;
    }
    Fresh();
    _DubleSide = 1;
    _UseMultyRefract = 0;
    Render(s);
    EXPECT_GT(CallsOf(2), 0) << mode;
    _DubleSide = 0;
  }
}

TEST_F(SceneTest, RoughDrawsInvertedSourceOutlinesOfFrontFaces) {
  Scene s = TwoTriangles(1, 1);
  s.tris.pop_back();
  Fresh();
  for (size_t i = 0; i < src_.size(); i += 4) {
    src_[i] = 10;
    src_[i + 1] = 20;
    src_[i + 2] = 30;
    src_[i + 3] = 255;
  }
  _DrawMode = 0;
  _DrawBackFaces = 1;
  Render(s);
  EXPECT_EQ(__GetDrawBackFaces(), 0);  // the rough mode turns the back-face pass off
  EXPECT_TRUE(Recorder::Calls().empty());
  // Edge (6, 6) -> (26, 6): x 6 .. 25 on row 6.
  for (int x = 6; x < 26; ++x) {
    EXPECT_EQ(Chan(x, 6, 0), 245);
    EXPECT_EQ(Chan(x, 6, 1), 235);
    EXPECT_EQ(Chan(x, 6, 2), 225);
    EXPECT_EQ(Alpha(x, 6), 255);
  }
  EXPECT_EQ(Alpha(10, 10), 0);  // outline only
  const size_t outline = Covered().size();

  // Wound the other way it is drawn only with double sides.
  std::swap(s.tris[0].vert[0], s.tris[0].vert[2]);
  Fresh();
  Render(s);
  EXPECT_TRUE(Covered().empty());
  _DubleSide = 1;
  Render(s);
  EXPECT_EQ(Covered().size(), outline);

  // Without a source nothing shows through: the outline is white.
  std::swap(s.tris[0].vert[0], s.tris[0].vert[2]);
  _DubleSide = 0;
  Fresh();
  __RasterScene(dst_.data(), nullptr, 32, 32, 128, int(s.pts.size()), 1, s.tris.data(),
                s.pts.data(), 16, 16, 0, nullptr, nullptr, 0, nullptr, nullptr);
  EXPECT_EQ(Covered().size(), outline);
  EXPECT_EQ(Chan(10, 6, 0), 255);
  EXPECT_EQ(Chan(10, 6, 2), 255);
}

TEST_F(SceneTest, BackFacePassRunsFirstAndOwnedDepthIsClearedBetween) {
  // The back face is nearer (z 10) than the front face (z 5).
  Scene s = TwoTriangles(5, 10);
  _Quality = 0;
  _DrawMode = 3;
  _DrawBackFaces = 1;
  Fresh();
  Render(s);
  ASSERT_GT(CallsOf(2), 0);
  size_t lastBack = 0, firstFront = Recorder::Calls().size();
  for (size_t i = 0; i < Recorder::Calls().size(); ++i) {
    if (Recorder::Calls()[i].material == 2) lastBack = i;
    if (Recorder::Calls()[i].material == 1 && i < firstFront) firstFront = i;
  }
  EXPECT_LT(lastBack, firstFront);
  const int frontOwned = CallsOf(1);
  EXPECT_EQ(frontOwned, CallsOf(2));  // cleared: the farther front face draws whole

  // An adopted buffer keeps the back faces' depths: the front face is hidden.
  float* adopted = static_cast<float*>(PageAlloc(32 * 32 * sizeof(float)));
  ASSERT_NE(adopted, nullptr);
  std::memset(adopted, 0xFE, 32 * 32 * sizeof(float));
  __SetZBuff(adopted, 32, 32);
  Recorder::Calls().clear();
  std::fill(dst_.begin(), dst_.end(), 0);
  Render(s);
  EXPECT_GT(CallsOf(2), 0);
  EXPECT_EQ(CallsOf(1), 0);
  __SetZBuff(nullptr, 0, 0);
  PageFree(adopted);
}

TEST_F(SceneTest, HighQualityLeavesNoSeamBetweenTrianglesOfOneColour) {
  // A square of two triangles sharing the diagonal, over opaque black.
  Scene s;
  s.pts = {Vtx(-11.5f, -11.5f, 1), Vtx(3.5f, -11.5f, 1), Vtx(3.5f, 3.5f, 1), Vtx(-11.5f, 3.5f, 1)};
  s.tris = {Tri(0, 1, 2), Tri(0, 2, 3)};
  for (int mode : {3, 6}) {
    Fresh();
    for (size_t i = 3; i < dst_.size(); i += 4) dst_[i] = 255;
    _Quality = 1;
    _DubleSide = 1;
    _DrawMode = uint8_t(mode);
    Render(s);
    // Inside the square (4.5 .. 19.5 in pixels) every pixel is the colour 200.
    for (int y = 5; y <= 19; ++y)
      for (int x = 5; x <= 19; ++x) EXPECT_EQ(Chan(x, y, 0), 200) << mode << ": " << x << "," << y;
    // Half a pixel outside the edges: half the colour over black.
    EXPECT_NEAR(Chan(4, 12, 0), 100, 2);
    EXPECT_NEAR(Chan(12, 20, 0), 100, 2);
    EXPECT_EQ(Chan(2, 12, 0), 0);
    // The layer held one triangle at a time and the shader drew into it.
    for (const ShadeCall& c : Recorder::Calls()) EXPECT_NE(c.dst, dst_.data());
  }
}

TEST_F(SceneTest, EmptySceneAndSolidFill) {
  Scene s = TwoTriangles(1, 1);
  for (int mode : {0, 1, 3, 6}) {
    Fresh();
    _DrawMode = uint8_t(mode);
    __RasterScene(dst_.data(), src_.data(), 32, 32, 128, 0, 0, nullptr, nullptr, 16, 16, 0, nullptr,
                  nullptr, 0, nullptr, nullptr);
    EXPECT_TRUE(Covered().empty());
  }
  // A triangle with an index at or above the point count (also one that is
  // negative as a signed number) is skipped in every mode: here the count
  // leaves out the points of a triangle that would be drawn.
  Scene out = TwoTriangles(1, 1);
  for (__Point3ds& p : out.pts) p.nz = 1.0f;
  out.tris = {Tri(3, 4, 5, 1), Tri(4, 3, 5, 1), Tri(0, 1, 0x80000000u, 1), Tri(0xFFFFFFFFu, 1, 2, 1)};
  for (int mode : {0, 1, 2, 3, 6, 8, 9, 10}) {
    Fresh();
    _DrawMode = uint8_t(mode);
    _DubleSide = 1;
    __RasterScene(dst_.data(), src_.data(), 32, 32, 128, 3, 4, out.tris.data(), out.pts.data(), 16,
                  16, 0, nullptr, nullptr, 0, nullptr, nullptr);
    EXPECT_TRUE(Covered().empty()) << mode;
    _DubleSide = 0;
  }
  Fresh();
  __RasterSolid(dst_.data(), 32, 32, 128, 3, 4, out.tris.data(), out.pts.data(), 16, 16, 10, 20, 30,
                1);
  EXPECT_TRUE(Covered().empty());
  // The solid fill draws both windings, without shading.
  Fresh();
  _Quality = 0;
  __RasterSolid(dst_.data(), 32, 32, 128, 6, 2, s.tris.data(), s.pts.data(), 16, 16, 10, 20, 30, 1);
  EXPECT_TRUE(Recorder::Calls().empty());
  EXPECT_EQ(Chan(8, 8, 0), 10);
  EXPECT_EQ(Alpha(8, 8), 255);
  EXPECT_EQ(Covered().size(), 231u);  // 21 rows of 21 .. 1, inclusive ends
}

TEST_F(SceneTest, SixteenBitChannels) {
  Scene s = TwoTriangles(1, 1);
  s.tris.pop_back();
  _Deep = 1;
  Frame dst(32, 32, true), src(32, 32, true);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) src.SetPixel(x, y, 1000, 2000, 3000, 32768);
  _DrawMode = 0;
  __RasterScene(dst.data(), src.data(), 32, 32, 128, 6, 1, s.tris.data(), s.pts.data(), 16, 16, 0,
                nullptr, nullptr, 0, nullptr, nullptr);
  EXPECT_EQ(dst.Get(10, 6, 0), 31768);  // 32768 minus the source
  EXPECT_EQ(dst.Get(10, 6, 2), 29768);
  EXPECT_EQ(dst.Get(10, 6, 3), 32768);
  // The colour of PutPixelColor is stored as given, also with 16 bits.
  DrawLineColor(200, 100, 50, 0, 20, 5, 20, dst.data(), src.data(), 32, 32);
  EXPECT_EQ(dst.Get(2, 20, 0), 200);
  EXPECT_EQ(dst.Get(2, 20, 3), 32768);
  // A solid fill covers at full alpha 32768.
  Frame fill(32, 32, true);
  _Quality = 0;
  __RasterSolid(fill.data(), 32, 32, 128, 6, 1, s.tris.data(), s.pts.data(), 16, 16, 20000, 0, 0,
                1);
  EXPECT_EQ(fill.Get(8, 8, 0), 20000);
  EXPECT_EQ(fill.Get(8, 8, 3), 32768);
}
