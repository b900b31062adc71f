// Hostile values through the per-pixel function: extreme amounts, distances
// and coordinates, one-texel textures. Every read stays inside its buffer
// (checked by the sanitizers) and every output is finite and in range.
#include <cmath>
#include <limits>

#include "tests/shading/shading_test_util.h"

namespace {

using ShadingHostile = ShadingTest;

TEST_F(ShadingHostile, ExtremeValuesGiveFiniteResults) {
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::nanf("");
  const float extremes[] = {0.0f, 1.0f, -1.0f, 1e30f, -1e30f, 3e38f, -3e38f, inf, -inf, nan};
  const int sizes[][2] = {{1, 1}, {1, 7}, {7, 1}, {3, 3}};
  int calls = 0;
  for (bool deep : {false, true}) {
    for (bool quality : {false, true}) {
      SetFrame(9, 7, deep, quality);
      for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 9; ++x) Put(dest_, 9, x, y, x, y, 3, (x + y) % 2 ? Max() : 0);
      for (const auto& size : sizes) {
        TestTexture t(size[0], size[1], deep, [&](int x, int y, int* c) {
          c[0] = (x * 37 + y * 11) % (deep ? 32769 : 256);
          c[1] = deep ? 32768 : 255;
          c[2] = 0;
        });
        __Texture slots[4] = {t.slot, t.slot, t.slot, t.slot};
        for (float e : extremes) {
          for (unsigned char multy : {0, 1}) {
            _UseMultyRefract = multy;
            material3ds m = PlainMaterial();
            for (map3ds& b : m.maps) {
              b.amount = e;
              b.uScale = e == 0.0f ? 1.0f : e;
              b.vOffset = e;
            }
            m.maps[0].amount = 0.5f;
            GlassProp g{1, e, e, e};
            light3ds light{};
            light.z = 100.0f;
            light.color[0] = light.color[1] = light.color[2] = 1.0f;
            light.multiplier = 1.0f;
            __Triangle3ds tri{};
            __PrevInfo prev{};
            prev.valid = 1;
            prev.nx = e;
            prev.ny = 1.0f;
            prev.nz = e;
            prev.x = e;
            prev.y = -e;
            prev.u = e;
            prev.v = 0.3f;
            __Point n{0.3f, e, 1.0f};
            float o[3];
            const float op = RenderOnePixel(4.0f, 3.0f, dest_.data(), src_.data(), e, 1.0f, e, &tri,
                                            &m, 1, o[0], o[1], o[2], &n, 1, e, -e, slots, 1, &light,
                                            &prev, &g, e, 1.0f, e, e);
            ++calls;
            EXPECT_TRUE(op >= 0.0f && op <= 1.0f) << op << " e=" << e;
            for (float v : o) EXPECT_TRUE(v >= 0.0f && v <= float(Max())) << v << " e=" << e;
          }
        }
      }
    }
  }
  EXPECT_EQ(calls, 2 * 2 * 4 * 10 * 2);
}

}  // namespace
