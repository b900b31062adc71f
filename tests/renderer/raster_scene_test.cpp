// The buffer life cycle of __RasterScene and the frame set-up of
// __RasterSolid, observed through the page allocator and the module state.
#include "tests/renderer/renderer_test_support.h"

namespace {

class RasterScene : public RendererTest {
 protected:
  // Calls __RasterScene on a w x h frame with no triangles. dst holds a
  // pattern that no draw mode may change.
  void Run(int w, int h, int lightCount = 0, light3ds* lights = nullptr) {
    const size_t bytes = size_t(w) * h * (_Deep ? 8 : 4);
    dst.assign(bytes, 0);
    src.assign(bytes, 0);
    for (size_t i = 0; i < bytes; ++i) {
      dst[i] = static_cast<unsigned char>(i * 7 + 1);
      src[i] = static_cast<unsigned char>(i * 3 + 2);
    }
    before = dst;
    allocsBefore = PageAllocCount();
    __RasterScene(dst.data(), src.data(), w, h, 4 * w, 0, 0, nullptr, nullptr, w / 2, h / 2, 0,
                  nullptr, nullptr, lightCount, lights, nullptr);
    allocs = PageAllocCount() - allocsBefore;
  }
  std::vector<unsigned char> dst, src, before;
  int64_t allocsBefore = 0, allocs = 0;
};

TEST_F(RasterScene, EveryDrawModeWithoutTrianglesLeavesTheFrameAndReleasesAll) {
  for (int mode = 0; mode < 256; ++mode) {
    for (int deep = 0; deep < 2; ++deep) {
      _DrawMode = static_cast<unsigned char>(mode);
      _Deep = static_cast<unsigned char>(deep);
      _DrawBackFaces = 1;
      const int64_t live = PageLiveBlocks();
      Run(5, 3);
      ASSERT_EQ(dst, before) << "mode " << mode;
      ASSERT_EQ(PageLiveBlocks(), live) << "mode " << mode;
      // Rough draws without buffers; the others take depth, light, three
      // layers, the glass background and the glass depths.
      ASSERT_EQ(allocs, mode == 0 ? 0 : 7) << "mode " << mode;
      ASSERT_EQ(ZBuff, nullptr);
      ASSERT_EQ(_LightDef, nullptr);
      ASSERT_EQ(_DrawBackFaces1, 0);
      ASSERT_EQ(_OwnZBuff, 0);
      ASSERT_EQ(_OwnLightDef, 0);
      ASSERT_EQ(MaxChannel, deep ? 32768 : 255);
      ASSERT_EQ(_Stride, 20);
      ASSERT_FALSE(RasterSceneOutOfMemory());
    }
  }
}

TEST_F(RasterScene, RoughModeTurnsBackFacesOffForGood) {
  _DrawMode = 0;
  _DrawBackFaces = 1;
  Zwidth = 11;  // rough drawing sets no frame geometry
  Run(4, 4);
  EXPECT_EQ(__GetDrawBackFaces(), 0);
  EXPECT_EQ(Zwidth, 11);
  _DrawMode = 6;
  Run(4, 4);
  EXPECT_EQ(__GetDrawBackFaces(), 0);
}

TEST_F(RasterScene, OwnDepthBufferLeavesTheFrameSize) {
  Run(6, 2);
  float* b = reinterpret_cast<float*>(1);
  int w = 0, h = 0;
  __GetZBuff(b, w, h);
  EXPECT_EQ(b, nullptr);
  EXPECT_EQ(w, 6);
  EXPECT_EQ(h, 2);
}

TEST_F(RasterScene, DefaultLightOnlyWhenTheSceneHasNoLight) {
  light3ds mine{};
  Run(2, 2, 1, &mine);  // a scene light: no default light is made
  EXPECT_EQ(allocs, 6);
  __SetLightDef(&mine);  // a set light is used and kept
  Run(2, 2);
  EXPECT_EQ(allocs, 6);
  EXPECT_EQ(_LightDef, &mine);
  __SetLightDef(nullptr);
  Run(2, 2);
  EXPECT_EQ(allocs, 7);
  EXPECT_EQ(_LightDef, nullptr);
}

TEST_F(RasterScene, AdoptedDepthBufferIsUsedUnclearedAndKept) {
  float* mine = static_cast<float*>(PageAlloc(4 * 3 * sizeof(float)));
  for (int i = 0; i < 12; ++i) mine[i] = float(i) - 5.5f;
  __SetZBuff(mine, 4, 3);
  _DrawBackFaces = 1;  // the back-face pass must not clear it either
  Run(4, 3);
  EXPECT_EQ(allocs, 6);  // no depth buffer of its own
  EXPECT_EQ(ZBuff, mine);
  for (int i = 0; i < 12; ++i) EXPECT_EQ(mine[i], float(i) - 5.5f);
  __SetZBuff(nullptr, 0, 0);
  PageFree(mine);
}

TEST_F(RasterScene, AdoptedDepthBufferOfAnotherSizeIsReleased) {
  float* mine = static_cast<float*>(PageAlloc(4 * 3 * sizeof(float)));
  __SetZBuff(mine, 4, 3);
  const int64_t live = PageLiveBlocks();
  Run(5, 3);
  EXPECT_EQ(allocs, 7);
  EXPECT_EQ(PageLiveBlocks(), live - 1);  // the adopted buffer went back
  EXPECT_EQ(ZBuff, nullptr);
  EXPECT_EQ(Zwidth, 5);
}

TEST_F(RasterScene, RunningOutOfMemoryAtAnyAllocationDrawsNothingAndLeaksNothing) {
  for (int deep = 0; deep < 2; ++deep) {
    for (int failing = 0; failing < 7; ++failing) {
      _Deep = static_cast<unsigned char>(deep);
      _DrawBackFaces = 1;
      Zwidth = Zheight = 0;
      const int64_t live = PageLiveBlocks();
      PageFailAt(failing);
      Run(8, 4);
      PageFailAt(-1);
      EXPECT_TRUE(RasterSceneOutOfMemory()) << "allocation " << failing;
      EXPECT_EQ(allocs, failing);  // stops at the first failure
      EXPECT_EQ(dst, before);
      EXPECT_EQ(PageLiveBlocks(), live) << "allocation " << failing;
      EXPECT_EQ(ZBuff, nullptr);
      EXPECT_EQ(_LightDef, nullptr);
      EXPECT_EQ(_EdgeLayer, nullptr);
      EXPECT_EQ(Zwidth, 0);  // no state was committed
      EXPECT_EQ(_DrawBackFaces, 1);
    }
  }
  Run(8, 4);
  EXPECT_FALSE(RasterSceneOutOfMemory());
}

TEST_F(RasterScene, FailureKeepsAnAdoptedBufferOfAnotherSize) {
  float* mine = static_cast<float*>(PageAlloc(2 * 2 * sizeof(float)));
  __SetZBuff(mine, 2, 2);
  PageFailAt(3);
  Run(3, 3);
  EXPECT_TRUE(RasterSceneOutOfMemory());
  EXPECT_EQ(ZBuff, mine);  // still the caller's, still valid
  EXPECT_EQ(Zwidth, 2);
  __SetZBuff(nullptr, 0, 0);
  PageFree(mine);
}

TEST_F(RasterScene, FramesBeyondTheAllocatorLimitFailCleanly) {
  // 4 x 46341^2 bytes overflows 32 bits; the sizes are computed in 64.
  std::vector<unsigned char> tiny(16);
  const int64_t live = PageLiveBlocks();
  _Deep = 1;
  __RasterScene(tiny.data(), tiny.data(), 1 << 28, 1 << 28, 1 << 30, 0, 0, nullptr, nullptr, 0, 0,
                0, nullptr, nullptr, 0, nullptr, nullptr);
  EXPECT_TRUE(RasterSceneOutOfMemory());
  EXPECT_EQ(PageLiveBlocks(), live);
}

TEST_F(RasterScene, SolidFillSetsTheFrameAndDetachesAMismatchedAdoptedBuffer) {
  float mine[4] = {};
  __SetZBuff(mine, 2, 2);
  std::vector<unsigned char> frame(3 * 3 * 8);
  _Deep = 1;
  __RasterSolid(frame.data(), 2, 2, 8, 0, 0, nullptr, nullptr, 1, 1, 1, 1, 1, 1);
  EXPECT_EQ(ZBuff, mine);  // same size: kept
  __RasterSolid(frame.data(), 3, 3, 12, 0, 0, nullptr, nullptr, 1, 1, 1, 1, 1, 1);
  EXPECT_EQ(ZBuff, nullptr);  // another size: detached, not released
  EXPECT_EQ(Zwidth, 3);
  EXPECT_EQ(Zheight, 3);
  EXPECT_EQ(_Stride, 12);
  EXPECT_EQ(MaxChannel, 32768);
}

}  // namespace

namespace {

// What the per-pixel function saw during a __RasterScene call.
struct PassLog {
  int calls = 0, backPassCalls = 0;
  bool defaultLightSeen = false, otherLightSeen = false;
  float centerX = 0, centerY = 0;
} passLog;

float LoggingPixel(float centerX, float centerY, unsigned char*, unsigned char*, float, float,
                   float, __Triangle3ds*, material3ds*, int, float& out0, float& out1,
                   float& out2, __Point*, unsigned char, float, float, __Texture*, int lightCount,
                   light3ds*, __PrevInfo*, GlassProp*, float, float, float, float) {
  ++passLog.calls;
  if (_DrawBackFaces1) ++passLog.backPassCalls;
  const light3ds* l = _LightDef;
  if (lightCount == 0 && l != nullptr && l->x == 200 && l->y == 200 && l->z == 1000 &&
      l->color[0] == 1 && l->color[1] == 1 && l->color[2] == 1 && l->multiplier == 1 &&
      l->name[0] == 0)
    passLog.defaultLightSeen = true;
  else
    passLog.otherLightSeen = true;
  passLog.centerX = centerX;
  passLog.centerY = centerY;
  out0 = 10;
  out1 = 20;
  out2 = 30;
  return 1.0f;
}

// One front-facing triangle around the centre of a 32 x 32 frame.
class SceneWithTriangle : public RendererTest {
 protected:
  void SetUp() override {
    RendererTest::SetUp();
    passLog = PassLog{};
    const float xy[3][2] = {{-10, -10}, {10, -10}, {0, 10}};
    for (int i = 0; i < 3; ++i) {
      points[i] = __Point3ds{};
      points[i].x = xy[i][0];
      points[i].y = xy[i][1];
      points[i].nz = 1;
      tri.vert[i] = uint32_t(i);
    }
    _Quality = 0;
    __SetNewRenderOnePixel(LoggingPixel);
  }
  void Draw() {
    dst.assign(32 * 32 * (_Deep ? 8 : 4), 0);
    src.assign(dst.size(), 0);
    __RasterScene(dst.data(), src.data(), 32, 32, 128, 3, 1, &tri, points, 16, 16, 0, nullptr,
                  nullptr, 0, nullptr, nullptr);
  }
  bool DstUntouched() const {
    for (unsigned char b : dst)
      if (b != 0) return false;
    return true;
  }
  __Point3ds points[3];
  __Triangle3ds tri{};
  std::vector<unsigned char> dst, src;
};

TEST_F(SceneWithTriangle, ShadedPixelsSeeTheDefaultLightOnlyDuringTheCall) {
  _DrawMode = 6;
  Draw();
  ASSERT_GT(passLog.calls, 0);
  EXPECT_TRUE(passLog.defaultLightSeen);
  EXPECT_FALSE(passLog.otherLightSeen);
  EXPECT_EQ(passLog.centerX, 16.0f);
  EXPECT_EQ(_LightDef, nullptr);
  EXPECT_EQ(dst[4 * (16 + 16 * 32) + 1], 20);  // the replacement's colour is drawn
}

TEST_F(SceneWithTriangle, BackFacePassRunsFirstWhenSwitchedOn) {
  _DrawMode = 3;
  _DrawBackFaces = 1;
  _DubleSide = 1;  // every face in both passes
  Draw();
  ASSERT_GT(passLog.backPassCalls, 0);
  EXPECT_GT(passLog.calls, passLog.backPassCalls);  // then the front pass
  EXPECT_EQ(_DrawBackFaces1, 0);
  EXPECT_EQ(_DrawBackFaces, 1);
}

TEST_F(SceneWithTriangle, ModesWithoutALoopDrawNothing) {
  for (int mode : {4, 5, 7, 11, 12, 100, 255}) {
    _DrawMode = static_cast<unsigned char>(mode);
    Draw();
    EXPECT_TRUE(DstUntouched()) << "mode " << mode;
  }
  EXPECT_EQ(passLog.calls, 0);
}

TEST_F(SceneWithTriangle, OutOfMemoryDrawsNothing) {
  _DrawMode = 6;
  PageFailAt(4);
  Draw();
  EXPECT_TRUE(RasterSceneOutOfMemory());
  EXPECT_TRUE(DstUntouched());
  EXPECT_EQ(passLog.calls, 0);
}

}  // namespace

namespace {

TEST_F(SceneWithTriangle, ShorterStrideDrawsNothing) {
  // Rows of 31 pixels for a 32-pixel frame, in buffers of 32 such rows: a
  // drawn pixel or a copy of a whole layer would reach past them.
  _DrawMode = 6;
  std::vector<unsigned char> shortRows(size_t(124) * 32), source(shortRows.size());
  __RasterScene(shortRows.data(), source.data(), 32, 32, 124, 3, 1, &tri, points, 16, 16, 0,
                nullptr, nullptr, 0, nullptr, nullptr);
  EXPECT_EQ(passLog.calls, 0);
  for (unsigned char b : shortRows) ASSERT_EQ(b, 0);
  // The one-colour fill, and the lines that follow on its frame geometry,
  // with rows a little short or running backwards from the buffer.
  for (int stride : {124, -128}) {
    __RasterSolid(shortRows.data(), 32, 32, stride, 3, 1, &tri, points, 16, 16, 255, 255, 255, 1);
    __DrawScenesLineColor(3, 255, 255, 255, shortRows.data(), source.data(), 32, 32, 0, 1, &tri,
                          points, 16, 16);
    for (unsigned char b : shortRows) ASSERT_EQ(b, 0) << "stride " << stride;
  }
}

TEST_F(SceneWithTriangle, WiderStrideStaysInsideTheLayers) {
  // Rows of 40 pixels for a 32-pixel frame: the layers must cover them (the
  // sanitizer sees any write past them).
  _DrawMode = 6;
  _Quality = 1;
  for (int deep = 0; deep < 2; ++deep) {
    _Deep = static_cast<unsigned char>(deep);
    std::vector<unsigned char> wide(size_t(160) * 32 * (deep ? 2 : 1)), source(wide.size());
    points[1].x = 40;  // reaches past the frame's right edge
    __RasterScene(wide.data(), source.data(), 32, 32, 160, 3, 1, &tri, points, 16, 16, 0, nullptr,
                  nullptr, 0, nullptr, nullptr);
    EXPECT_FALSE(RasterSceneOutOfMemory());
    EXPECT_GT(passLog.calls, 0);
  }
}

}  // namespace
