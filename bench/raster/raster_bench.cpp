// __RasterScene at 1920 x 1080 over a 60 x 60 grid mesh (6,962 triangles
// covering most of the frame), Flat and Phong with the default per-pixel
// function and light, 8 and 16 bits, high quality on and off.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "bench/wave_sheet.h"
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
  BuildWaveSheet(GRID, W, H, m.points, m.triangles);
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
