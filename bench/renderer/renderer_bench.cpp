// Cost of the default per-pixel function with the effect's default material
// and light, and the fixed cost of one __RasterScene (buffers taken, cleared
// and released) at 1920 x 1080 without triangles.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "renderer/raster/raster_internal.h"

namespace {

// The effect's defaults: diffuse 128/255 grey, white highlight, shininess
// 1.5 (exponent 150), shine strength 0, self-illumination 0.25, opaque; one
// white light of multiplier 1 at 45 degrees elevation, 2000 pixels away; no
// texture slot enabled and glass off.
struct EffectDefaults {
  material3ds material{};
  light3ds light{};
  __Texture slots[4]{};
  GlassProp glass{};
  EffectDefaults() {
    for (int c = 0; c < 3; ++c) {
      material.diffuse[c] = 128.0f / 255.0f;
      material.specular[c] = 1.0f;
      light.color[c] = 1.0f;
    }
    material.shininess = 1.5f;
    material.shinStrength = 0.0f;
    material.selfIllum = 0.25f;
    material.transparency = 0.0f;
    const float w = 45.0f * 3.141592f / 180.0f;
    light.x = 2000.0f * std::cos(w);
    light.y = 0.0f;
    light.z = 2000.0f * std::sin(w);
    light.multiplier = 1.0f;
  }
};

void SetDepth(bool deep) {
  _Deep = deep ? 1 : 0;
  MaxChannel = deep ? 32768 : 255;
}

void BM_RenderOnePixel(benchmark::State& state) {
  const bool deep = state.range(0) == 16;
  SetDepth(deep);
  EffectDefaults d;
  __Triangle3ds tri{};
  // A spread of normals, as across a hanging cloth.
  std::vector<__Point> normals;
  for (int i = 0; i < 64; ++i) {
    const float a = 0.05f * float(i);
    normals.push_back(__Point{std::sin(a) * 0.4f, std::cos(a) * 0.3f, 0.85f});
  }
  _DubleSide = 1;
  size_t i = 0;
  float o0, o1, o2;
  for (auto _ : state) {
    __Point& n = normals[i++ & 63];
    const float opacity = _RenderOnePixelFunc(960, 540, nullptr, nullptr, 10.0f, -20.0f, 5.0f,
                                              &tri, &d.material, 1, o0, o1, o2, &n, 0, 0, 0,
                                              d.slots, 1, &d.light, nullptr, &d.glass, 0, 0, 1, 0);
    benchmark::DoNotOptimize(opacity);
    benchmark::DoNotOptimize(o0);
    benchmark::DoNotOptimize(o1);
    benchmark::DoNotOptimize(o2);
  }
  SetDepth(false);
}
BENCHMARK(BM_RenderOnePixel)->Arg(8)->Arg(16)->ArgName("bits");

void BM_RasterSceneFixedCost(benchmark::State& state) {
  const bool deep = state.range(0) == 16;
  constexpr int W = 1920, H = 1080;
  std::vector<unsigned char> dst(size_t(W) * H * (deep ? 8 : 4));
  std::vector<unsigned char> src(dst.size());
  EffectDefaults d;
  _Deep = deep ? 1 : 0;
  _DrawMode = 6;
  _DubleSide = 1;
  for (auto _ : state) {
    __RasterScene(dst.data(), src.data(), W, H, 4 * W, 0, 0, nullptr, nullptr, W / 2, H / 2, 1,
                  &d.material, d.slots, 1, &d.light, &d.glass);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(W) * H * (deep ? 8 : 4));
  _Deep = 0;
}
BENCHMARK(BM_RasterSceneFixedCost)->Arg(8)->Arg(16)->ArgName("bits")->Unit(benchmark::kMillisecond);

}  // namespace
