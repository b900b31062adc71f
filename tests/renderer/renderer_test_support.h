// Shared set-up of the renderer tests: the module state is global, so every
// test starts from the initial values and leaves nothing behind.
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/page_memory.h"
#include "renderer/raster/raster_internal.h"

// Puts every switch and global back to its initial value.
inline void ResetRendererState() {
  _DrawMode = 6;
  _Quality = 1;
  _Deep = 0;
  _DubleSide = 0;
  _DrawBackFaces = 0;
  _UseMultyRefract = 1;
  _UsePhong2 = 0;
  _UseGlass = 0;
  _UsePersp = 0;
  _UseReflection = 0;
  _UseCustomMats = 1;
  _DrawBackFaces1 = 0;
  _WireSize = 1.0f;
  _Persp_Val = 0.0f;
  _Persp_x = _Persp_y = 0.0f;
  _Persp_Far = 1000.0f;
  ZBuff = nullptr;
  Zwidth = Zheight = 0;
  MaxChannel = 255;
  _Stride = 0;
  _EdgeLayer = _FragLayer = _UnderLayer = _DestImage = _BackImage = nullptr;
  ZBuff2 = nullptr;
  _LightDef = nullptr;
  _OwnZBuff = _OwnLightDef = 0;
  _SortPoints = nullptr;
  _RenderOnePixelFunc = RenderOnePixel;
  PageFailAt(-1);
}

class RendererTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetRendererState();
    liveAtStart_ = PageLiveBlocks();
  }
  void TearDown() override {
    ResetRendererState();
    EXPECT_EQ(PageLiveBlocks(), liveAtStart_) << "page blocks leaked";
  }
  // A frame of w x h pixels whose pixel writers address `buffer` directly
  // (what __RasterScene sets up for its call).
  void UseFrame(int w, int h, bool deep) {
    _Deep = deep ? 1 : 0;
    MaxChannel = deep ? 32768 : 255;
    Zwidth = w;
    Zheight = h;
    _Stride = 4 * w;
  }
  int64_t liveAtStart_ = 0;
};

// A packed buffer of w x h pixels at the current depth, in ordinary memory.
struct Frame {
  Frame(int w, int h, bool deep)
      : width(w), height(h), deep(deep), bytes(size_t(w) * h * (deep ? 8 : 4), 0) {}
  int Get(int x, int y, int c) const { return GetChannelAt(x, y, c); }
  void Set(int x, int y, int c, int v) {
    SetChannel(bytes.data(), int64_t(y) * 4 * width + 4 * x + c, v);
  }
  void SetPixel(int x, int y, int r, int g, int b, int a) {
    Set(x, y, 0, r);
    Set(x, y, 1, g);
    Set(x, y, 2, b);
    Set(x, y, 3, a);
  }
  int GetChannelAt(int x, int y, int c) const {
    return GetChannel(bytes.data(), int64_t(y) * 4 * width + 4 * x + c);
  }
  unsigned char* data() { return bytes.data(); }
  int width, height;
  bool deep;
  std::vector<unsigned char> bytes;
};
