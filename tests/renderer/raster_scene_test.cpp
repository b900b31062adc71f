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
  __RasterScene(tiny.data(), tiny.data(), 1 << 30, 1 << 30, 4, 0, 0, nullptr, nullptr, 0, 0, 0,
                nullptr, nullptr, 0, nullptr, nullptr);
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
