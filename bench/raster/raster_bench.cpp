// __RasterScene at 1920 x 1080 over a 60 x 60 grid mesh (6,962 triangles
// covering most of the frame), Flat and Phong with the default per-pixel
// function and light, 8 and 16 bits, high quality on and off.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "platform/page_memory.h"
#include "renderer/raster/raster_internal.h"

namespace {

constexpr int W = 1920, H = 1080, GRID = 60;

struct Mesh {
  std::vector<__Point3ds> points;
  std::vector<__Triangle3ds> triangles;
};

// A gently waved cloth-like sheet over 90 % of the frame, sorted far to near
// as the effect does.
Mesh GridMesh() {
  Mesh m;
  for (int r = 0; r < GRID; ++r)
    for (int c = 0; c < GRID; ++c) {
      __Point3ds p{};
      const float u = float(c) / (GRID - 1), v = float(r) / (GRID - 1);
      p.x = (u - 0.5f) * 0.9f * W;
      p.y = (v - 0.5f) * 0.9f * H;
      p.z = 40.0f * std::sin(6.0f * u) * std::cos(4.0f * v);
      const float dzdx = 40.0f * 6.0f * std::cos(6.0f * u) * std::cos(4.0f * v) / (0.9f * W);
      const float dzdy = -40.0f * 4.0f * std::sin(6.0f * u) * std::sin(4.0f * v) / (0.9f * H);
      const float len = std::sqrt(dzdx * dzdx + dzdy * dzdy + 1.0f);
      p.nx = -dzdx / len;
      p.ny = -dzdy / len;
      p.nz = 1.0f / len;
      p.textured = 1;
      p.u = u;
      p.v = v;
      m.points.push_back(p);
    }
  for (int r = 0; r + 1 < GRID; ++r)
    for (int c = 0; c + 1 < GRID; ++c) {
      const uint32_t a = uint32_t(r * GRID + c), b = a + 1, d = a + GRID, e = d + 1;
      m.triangles.push_back({{a, b, e}, 0, 0});
      m.triangles.push_back({{a, e, d}, 0, 0});
    }
  __Sort(int(m.triangles.size()), m.triangles.data(), m.points.data());
  return m;
}

void BM_RasterScene(benchmark::State& state) {
  const unsigned char mode = static_cast<unsigned char>(state.range(0));
  const bool deep = state.range(1) != 0;
  const bool quality = state.range(2) != 0;
  static const Mesh mesh = GridMesh();
  std::vector<__Triangle3ds> tris = mesh.triangles;
  std::vector<__Point3ds> pts = mesh.points;
  const size_t bytes = size_t(W) * H * (deep ? 8 : 4);
  unsigned char* dst = static_cast<unsigned char*>(PageAlloc(bytes));
  unsigned char* src = static_cast<unsigned char*>(PageAlloc(bytes));
  __SetDrawMode(mode);
  __SetDeep(deep ? 1 : 0);
  __SetQuality(quality ? 1 : 0);
  __SetUseMultyRefract(0);
  __SetDubleSide(1);
  for (auto _ : state) {
    __RasterScene(dst, src, W, H, 4 * W, int(pts.size()), int(tris.size()), tris.data(), pts.data(),
                  W / 2, H / 2, 0, nullptr, nullptr, 0, nullptr, nullptr);
    benchmark::DoNotOptimize(dst[0]);
  }
  state.SetLabel(std::string(mode == 3 ? "flat" : "phong") + (deep ? " 16-bit" : " 8-bit") +
                 (quality ? " quality" : ""));
  PageFree(dst);
  PageFree(src);
}

}  // namespace

BENCHMARK(BM_RasterScene)
    ->ArgsProduct({{3, 6}, {0, 1}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(1.0);
