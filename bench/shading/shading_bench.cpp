// Cost of the texture slots and glass: ns per shaded pixel through the
// per-pixel function, and whole 1920 x 1080 Phong frames through
// __RasterScene with a full-frame texture and with glass.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "platform/page_memory.h"
#include "renderer/shading/shading_internal.h"

namespace {

constexpr int TEXTURE = 1, OPACITY = 2, BUMP = 4, REFLECTION = 8, GLASS = 16, MINIFIED = 32;
// Glass on a normal that flips from pixel to pixel: with quality every pixel
// takes the supersampled path at its largest (5 x 5 samples a channel).
constexpr int GLASS_FOLDED = 64;

// A packed buffer of w x h pixels with a smooth pattern and full alpha, at
// the depth of `deep`.
std::vector<unsigned char> Pattern(int w, int h, bool deep) {
  const int max = deep ? 32768 : 255;
  std::vector<unsigned char> b(size_t(w) * h * 4 * (deep ? 2 : 1));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      for (int c = 0; c < 4; ++c) {
        const int v = c == 3 ? max : ((x * (c + 1) + y * (3 - c)) * 7) % (max + 1);
        const size_t i = (size_t(y) * w + x) * 4 + c;
        if (deep) {
          const uint16_t s = uint16_t(v);
          std::memcpy(&b[i * 2], &s, 2);
        } else {
          b[i] = uint8_t(v);
        }
      }
  return b;
}

material3ds Material() {
  material3ds m;
  std::memset(&m, 0, sizeof m);
  for (int c = 0; c < 3; ++c) {
    m.diffuse[c] = 0.6f;
    m.specular[c] = 1.0f;
  }
  m.shininess = 0.5f;
  m.shinStrength = 0.4f;
  for (map3ds& b : m.maps) {
    b.amount = 0.7f;
    b.uScale = b.vScale = 1.0f;
  }
  m.maps[3].amount = 0.05f;
  return m;
}

light3ds Light() {
  light3ds l{};
  l.x = 200.0f;
  l.y = 200.0f;
  l.z = 1000.0f;
  l.color[0] = l.color[1] = l.color[2] = 1.0f;
  l.multiplier = 1.0f;
  return l;
}

GlassProp Glass() { return GlassProp{1, 0.3f, 12.0f, 10.0f}; }

// RenderOnePixel over the rows of a 512 x 512 frame, left to right with the
// previous pixel's record as the Phong walk keeps it. Textures are 512 x 512
// (one texel a pixel), or 2048 x 2048 when minified (four texels a pixel,
// so the footprint averages with quality on).
void BM_ShadePixel(benchmark::State& state) {
  const int features = int(state.range(0));
  const bool deep = state.range(1) != 0;
  const bool quality = state.range(2) != 0;
  const int W = 512, H = 512;
  const int T = (features & MINIFIED) ? 2048 : 512;
  _Deep = deep ? 1 : 0;
  _Quality = quality ? 1 : 0;
  _DrawBackFaces = _DrawBackFaces1 = 0;
  _UseMultyRefract = 0;
  _DubleSide = 1;
  MaxChannel = deep ? 32768 : 255;
  _Stride = 4 * W;
  Zwidth = W;
  Zheight = H;
  std::vector<unsigned char> dst = Pattern(W, H, deep), src = Pattern(W, H, deep), back = src,
                             tex = Pattern(T, T, deep);
  std::vector<float> z2(size_t(W) * H, -1.6947395e38f);
  _DestImage = dst.data();
  _BackImage = back.data();
  ZBuff2 = z2.data();

  material3ds mat = Material();
  __Texture slots[4] = {};
  const int bits[4] = {TEXTURE, OPACITY, BUMP, REFLECTION};
  for (int k = 0; k < 4; ++k)
    if (features & (bits[k] | (k == 0 ? MINIFIED : 0)))
      slots[k] = __Texture{1, T, T, tex.data(), uint8_t(deep ? 1 : 0)};
  GlassProp glass = Glass();
  glass.enabled = (features & (GLASS | GLASS_FOLDED)) ? 1 : 0;
  const bool folded = (features & GLASS_FOLDED) != 0;
  light3ds light = Light();
  __Triangle3ds tri{};

  int row = 0;
  float out0, out1, out2, sink = 0.0f;
  for (auto _ : state) {
    __PrevInfo prev{};
    const float py = float(row) - H / 2.0f, v = float(row) / float(H - 1);
    for (int x = 0; x < W; ++x) {
      const float u = float(x) / float(W - 1);
      __Point n{0.3f * (u - 0.5f), 0.2f * (v - 0.5f), 1.0f};
      if (folded) n = __Point{x % 2 ? 0.5f : -0.5f, x % 2 ? -0.5f : 0.5f, 0.7f};
      const float px = float(x) - W / 2.0f;
      sink += RenderOnePixel(W / 2.0f, H / 2.0f, dst.data(), src.data(), px, py, 50.0f, &tri, &mat,
                             1, out0, out1, out2, &n, 1, u, v, slots, 1, &light, &prev, &glass,
                             0.0f, 0.0f, 1.0f, -50.0f);
      sink += out0 + out1 + out2;
      prev = __PrevInfo{n.x, n.y, n.z, 1, px, py, u, v};
    }
    row = (row + 1) % H;
  }
  benchmark::DoNotOptimize(sink);
  // Seconds per shaded pixel.
  state.counters["per_pixel"] = benchmark::Counter(
      double(state.iterations()) * W, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  ZBuff2 = nullptr;
  _DestImage = _BackImage = nullptr;
}

void PixelArgs(benchmark::internal::Benchmark* b) {
  b->ArgNames({"maps", "deep", "quality"});
  for (int f : {0, TEXTURE, OPACITY, BUMP, REFLECTION, TEXTURE | OPACITY | BUMP | REFLECTION, GLASS,
                GLASS_FOLDED, MINIFIED})
    for (int deep : {0, 1})
      for (int quality : {0, 1}) b->Args({f, deep, quality});
}
BENCHMARK(BM_ShadePixel)->Apply(PixelArgs);

// A whole Phong frame: a quad covering 1920 x 1080 (two triangles) with a
// full-frame texture, or glass over the source with a tilted normal.
void BM_PhongFrame(benchmark::State& state) {
  const bool glassOn = state.range(0) != 0;
  const bool deep = state.range(1) != 0;
  const bool quality = state.range(2) != 0;
  const int W = 1920, H = 1080;
  __SetDeep(deep ? 1 : 0);
  __SetQuality(quality ? 1 : 0);
  __SetDrawMode(6);
  __SetUseMultyRefract(0);
  __SetDubleSide(1);
  __SetDrawBackFaces(0);
  std::vector<unsigned char> src = Pattern(W, H, deep), tex = Pattern(W, H, deep);
  std::vector<unsigned char> dst(src.size());
  material3ds mat = Material();
  __Texture slots[4] = {};
  if (!glassOn) slots[0] = __Texture{1, W, H, tex.data(), uint8_t(deep ? 1 : 0)};
  GlassProp glass = Glass();
  glass.enabled = glassOn ? 1 : 0;
  light3ds light = Light();
  const float n[3] = {glassOn ? 0.3f : 0.0f, 0.0f, 1.0f};
  // Slightly larger than the frame so every pixel is covered.
  __Point3ds pts[4] = {};
  const float xs[4] = {-962, 962, 962, -962}, ys[4] = {-542, -542, 542, 542};
  for (int i = 0; i < 4; ++i) {
    pts[i].x = xs[i];
    pts[i].y = ys[i];
    pts[i].z = 10.0f;
    pts[i].textured = 1;
    pts[i].u = (xs[i] + 962) / 1924;
    pts[i].v = (ys[i] + 542) / 1084;
    pts[i].nx = n[0];
    pts[i].ny = n[1];
    pts[i].nz = n[2];
  }
  __Triangle3ds tris[2] = {{{0, 1, 2}, 0, 0}, {{0, 2, 3}, 0, 0}};
  for (auto _ : state) {
    std::memset(dst.data(), 0, dst.size());
    __RasterScene(dst.data(), src.data(), W, H, 4 * W, 4, 2, tris, pts, W / 2, H / 2, 1, &mat,
                  slots, 1, &light, &glass);
    benchmark::DoNotOptimize(dst.data());
  }
  // Seconds per covered pixel of the frame.
  state.counters["per_pixel"] =
      benchmark::Counter(double(state.iterations()) * W * H,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_PhongFrame)
    ->ArgNames({"glass", "deep", "quality"})
    ->ArgsProduct({{0, 1}, {0, 1}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

}  // namespace
