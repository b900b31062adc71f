// Shared set-up of the rasteriser tests: a frame with its own depth buffer
// installed in the module globals, and a per-pixel function that records
// every call and answers with a colour chosen by the triangle's material.
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <utility>
#include <vector>

#include "renderer/raster/rasterize.h"
#include "tests/renderer/renderer_test_support.h"

struct ShadeCall {
  float x, y, z;  // pixel in image coordinates (centre added back)
  int material;
  bool hasPrev;
  __PrevInfo prev;
  __Point normal;
  unsigned char textured;
  float u, v;
  unsigned char* dst;
};

struct Recorder {
  static std::vector<ShadeCall>& Calls() {
    static std::vector<ShadeCall> calls;
    return calls;
  }
  static float& Opacity() {
    static float opacity = 1.0f;
    return opacity;
  }
  // Colour of material m: distinct, far apart, in 8-bit units.
  static void Colour(int m, float& r, float& g, float& b) {
    static const float table[4][3] = {{200, 200, 200}, {250, 10, 10}, {10, 250, 10}, {10, 10, 250}};
    const float* c = table[m & 3];
    r = c[0];
    g = c[1];
    b = c[2];
  }
  static float Shade(float cx, float cy, unsigned char* dst, unsigned char*, float px, float py,
                     float pz, __Triangle3ds* tri, material3ds*, int, float& o0, float& o1,
                     float& o2, __Point* normal, unsigned char textured, float u, float v,
                     __Texture*, int, light3ds*, __PrevInfo* prev, GlassProp*, float, float, float,
                     float) {
    ShadeCall c{};
    c.x = px + cx;
    c.y = py + cy;
    c.z = pz;
    c.material = tri ? tri->material : -1;
    c.hasPrev = prev != nullptr;
    if (prev) c.prev = *prev;
    c.normal = *normal;
    c.textured = textured;
    c.u = u;
    c.v = v;
    c.dst = dst;
    Calls().push_back(c);
    Colour(c.material, o0, o1, o2);
    return Opacity();
  }
};

class RasterTest : public RendererTest {
 protected:
  void SetUp() override {
    RendererTest::SetUp();
    gRasterClipWalks = true;
    Recorder::Calls().clear();
    Recorder::Opacity() = 1.0f;
    _RenderOnePixelFunc = Recorder::Shade;
  }
  void TearDown() override {
    gRasterClipWalks = true;
    RendererTest::TearDown();
  }
  // A w x h frame at 8 bits with a cleared depth buffer of its own.
  void MakeFrame(int w, int h) {
    w_ = w;
    h_ = h;
    dst_.assign(size_t(w) * h * 4, 0);
    src_.assign(size_t(w) * h * 4, 0);
    depth_.assign(size_t(w) * h, 0.0f);
    std::memset(depth_.data(), 0xFE, depth_.size() * sizeof(float));
    UseFrame(w, h, false);
    ZBuff = depth_.data();
  }
  int Alpha(int x, int y) const { return dst_[(size_t(y) * w_ + x) * 4 + 3]; }
  int Chan(int x, int y, int c) const { return dst_[(size_t(y) * w_ + x) * 4 + c]; }
  // Pixels with a non-zero alpha.
  std::set<std::pair<int, int>> Covered() const {
    std::set<std::pair<int, int>> s;
    for (int y = 0; y < h_; ++y)
      for (int x = 0; x < w_; ++x)
        if (Alpha(x, y)) s.insert({x, y});
    return s;
  }
  static std::set<std::pair<int, int>> ShadedPixels() {
    std::set<std::pair<int, int>> s;
    for (const ShadeCall& c : Recorder::Calls()) s.insert({int(c.x), int(c.y)});
    return s;
  }

  int w_ = 0, h_ = 0;
  std::vector<unsigned char> dst_, src_;
  std::vector<float> depth_;
};

inline __Point3ds Vtx(float x, float y, float z = 0.0f) {
  __Point3ds p{};
  p.x = x;
  p.y = y;
  p.z = z;
  p.nz = 1.0f;
  return p;
}

inline __Triangle3ds Tri(uint32_t a, uint32_t b, uint32_t c, uint16_t material = 0) {
  __Triangle3ds t{};
  t.vert[0] = a;
  t.vert[1] = b;
  t.vert[2] = c;
  t.material = material;
  return t;
}

// Draws triangle (a, b, c) of `pts` with the Phong, Flat or Solid set-up,
// centre 0, into the test frame.
enum class Fill { Phong, Flat, Solid };
inline void DrawTriangle(Fill fill, unsigned char* dst, __Point3ds* pts, __Triangle3ds tri,
                         float opacity = 1.0f, int cx = 0, int cy = 0) {
  switch (fill) {
    case Fill::Phong:
      SetupTrianglePhong(dst, dst, 0, 0, nullptr, nullptr, 0, &tri, pts, cx, cy, 0, nullptr,
                         nullptr);
      break;
    case Fill::Flat:
      SetupTriangleFlat(dst, dst, 0, 0, nullptr, nullptr, 0, &tri, pts, cx, cy, 0, nullptr,
                        nullptr);
      break;
    case Fill::Solid:
      SetupTriangleSolid(dst, 0, 0, &tri, pts, cx, cy, 100.0f, 150.0f, 200.0f, opacity);
      break;
  }
}
