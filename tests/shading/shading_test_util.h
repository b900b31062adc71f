// Helpers of the texture-slot and glass tests: a frame of module state set
// up and restored around each test, textures and materials built in place.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <vector>

#include "renderer/shading/shading_internal.h"

// Channel values of a packed buffer at either depth, stored as the renderer
// reads them (bytes, or 16-bit values in memory order).
struct ChannelBuffer {
  std::vector<unsigned char> bytes;
  bool deep = false;
  ChannelBuffer() = default;
  ChannelBuffer(int64_t channels, bool deep16)
      : bytes(size_t(channels) * (deep16 ? 2 : 1)), deep(deep16) {}
  unsigned char* data() { return bytes.data(); }
  void Set(int64_t i, int v) {
    if (deep) {
      const uint16_t w = uint16_t(v);
      std::memcpy(&bytes[size_t(i) * 2], &w, 2);
    } else {
      bytes[size_t(i)] = uint8_t(v);
    }
  }
  int Get(int64_t i) const {
    if (deep) {
      uint16_t w;
      std::memcpy(&w, &bytes[size_t(i) * 2], 2);
      return w;
    }
    return bytes[size_t(i)];
  }
};

// A texture slot of w x h texels, B, G, R, A; fill(x, y, bgra) gives each
// texel's channels in channel units of the depth.
struct TestTexture {
  ChannelBuffer buffer;
  __Texture slot{};
  TestTexture() = default;
  TestTexture(int w, int h, bool deep16, const std::function<void(int, int, int*)>& fill)
      : buffer(int64_t(w) * h * 4, deep16) {
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        int c[4] = {0, 0, 0, deep16 ? 32768 : 255};
        fill(x, y, c);
        for (int k = 0; k < 4; ++k) buffer.Set((int64_t(y) * w + x) * 4 + k, c[k]);
      }
    slot.enabled = 1;
    slot.width = w;
    slot.height = h;
    slot.pixels = buffer.data();
    slot.deep = deep16 ? 1 : 0;
  }
  TestTexture(const TestTexture&) = delete;
  TestTexture& operator=(const TestTexture&) = delete;
};

// A material with every map at amount 1, scale 1, offset 0.
inline material3ds PlainMaterial() {
  material3ds m;
  std::memset(&m, 0, sizeof m);
  for (int c = 0; c < 3; ++c) {
    m.diffuse[c] = 0.5f;
    m.specular[c] = 1.0f;
  }
  for (map3ds& b : m.maps) {
    b.amount = 1.0f;
    b.uScale = b.vScale = 1.0f;
  }
  return m;
}

inline PixelShade FacingShade() {
  PixelShade s{};
  s.nx = 0.0f;
  s.ny = 0.0f;
  s.nz = 1.0f;
  s.opacity = 1.0f;
  for (int c = 0; c < 3; ++c) {
    s.diffuse[c] = 0.5f;
    s.specular[c] = 1.0f;
  }
  s.exponent = 150.0f;
  s.level = 10.0f;
  return s;
}

inline PixelCall CallAt(float u, float v, const __PrevInfo* prev = nullptr) {
  PixelCall c{};
  c.textured = 1;
  c.u = u;
  c.v = v;
  c.prev = prev;
  c.planeC = 1.0f;  // flat plane at depth -planeD = 0
  return c;
}

// Saves and restores the module state the shading reads, and installs a
// frame of w x h pixels at the chosen depth: the destination, background and
// source buffers, and ZBuff2 cleared to "empty".
class ShadingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = {_Quality, _Deep, _DrawBackFaces, _DrawBackFaces1, _UseMultyRefract, _DubleSide};
    savedMax_ = MaxChannel;
    savedStride_ = _Stride;
    savedW_ = Zwidth;
    savedH_ = Zheight;
    savedDest_ = _DestImage;
    savedBack_ = _BackImage;
    savedZ2_ = ZBuff2;
    savedZ_ = ZBuff;
    savedLight_ = _LightDef;
    ZBuff = nullptr;
    _DrawBackFaces = 0;
    _DrawBackFaces1 = 0;
    _UseMultyRefract = 0;
    _DubleSide = 0;
    SetFrame(16, 16, false, false);
  }
  void TearDown() override {
    _Quality = saved_[0];
    _Deep = saved_[1];
    _DrawBackFaces = saved_[2];
    _DrawBackFaces1 = saved_[3];
    _UseMultyRefract = saved_[4];
    _DubleSide = saved_[5];
    MaxChannel = savedMax_;
    _Stride = savedStride_;
    Zwidth = savedW_;
    Zheight = savedH_;
    _DestImage = savedDest_;
    _BackImage = savedBack_;
    ZBuff2 = savedZ2_;
    ZBuff = savedZ_;
    _LightDef = savedLight_;
  }

  void SetFrame(int w, int h, bool deep16, bool quality) {
    w_ = w;
    h_ = h;
    _Deep = deep16 ? 1 : 0;
    _Quality = quality ? 1 : 0;
    MaxChannel = deep16 ? 32768 : 255;
    _Stride = 4 * w;
    Zwidth = w;
    Zheight = h;
    dest_ = ChannelBuffer(int64_t(w) * h * 4, deep16);
    back_ = ChannelBuffer(int64_t(w) * h * 4, deep16);
    src_ = ChannelBuffer(int64_t(w) * h * 4, deep16);
    zbuff2_.assign(size_t(w) * h, -1.6947395e38f);
    _DestImage = dest_.data();
    _BackImage = back_.data();
    ZBuff2 = zbuff2_.data();
  }
  int Max() const { return MaxChannel; }
  // Sets pixel (x, y) of a frame buffer.
  static void Put(ChannelBuffer& b, int w, int x, int y, int r, int g, int bl, int a) {
    const int64_t i = (int64_t(y) * w + x) * 4;
    b.Set(i, r);
    b.Set(i + 1, g);
    b.Set(i + 2, bl);
    b.Set(i + 3, a);
  }
  static int At(const ChannelBuffer& b, int w, int x, int y, int c) {
    return b.Get((int64_t(y) * w + x) * 4 + c);
  }

  int w_ = 0, h_ = 0;
  ChannelBuffer dest_, back_, src_;
  std::vector<float> zbuff2_;

 private:
  std::vector<unsigned char> saved_;
  int savedMax_ = 0, savedStride_ = 0, savedW_ = 0, savedH_ = 0;
  unsigned char *savedDest_ = nullptr, *savedBack_ = nullptr;
  float *savedZ2_ = nullptr, *savedZ_ = nullptr;
  light3ds* savedLight_ = nullptr;
};
