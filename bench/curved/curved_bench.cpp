// The curved draw modes at 1920 x 1080 on a 60 x 60 grid mesh (6,962
// triangles over most of the frame, the sheet of the flat and Phong
// benchmarks), quality on, 8 bits, double-sided as the effect draws, default
// per-pixel function: time per __RasterScene, and per frame the samples
// (grid samples of the Bezier fill and the contour band, curve points of
// the wire) and the calls an installed per-pixel function receives.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>

#include "platform/page_memory.h"
#include "renderer/raster/patch_net.h"
#include "renderer/raster/raster_internal.h"
#include "renderer/renderer.h"
#include "bench/wave_sheet.h"
#include "tests/curved/cloth_like_mesh.h"

namespace {

constexpr int kWidth = 1920, kHeight = 1080;

int64_t gShaderCalls = 0;

float CountingPixel(float centerX, float centerY, unsigned char* dst, unsigned char* src, float px,
                    float py, float pz, __Triangle3ds* tri, material3ds* materials,
                    int materialCount, float& out0, float& out1, float& out2, __Point* normal,
                    unsigned char textured, float u, float v, __Texture* textures, int lightCount,
                    light3ds* lights, __PrevInfo* prev, GlassProp* glass, float planeA,
                    float planeB, float planeC, float planeD) {
  ++gShaderCalls;
  return RenderOnePixel(centerX, centerY, dst, src, px, py, pz, tri, materials, materialCount, out0,
                        out1, out2, normal, textured, u, v, textures, lightCount, lights, prev,
                        glass, planeA, planeB, planeC, planeD);
}

struct SampleCount {
  int64_t n = 0;
  void Row() {}
  void Skip() {}
  void Sample(double, double, double) { ++n; }
  void Point(double) { ++n; }
};

// Grid samples (modes 9, 10) or curve points of the three edges (mode 2)
// of the whole mesh, as the routines walk them.
int64_t Samples(unsigned char mode, curved::ClothLikeMesh& m) {
  SampleCount count;
  for (__Triangle3ds& t : m.triangles) {
    if (mode == 2) {
      double step;
      if (PatchWireStep(&t, m.points.data(), &step))
        for (int e = 0; e < 3; ++e) WalkPatchWire(step, count);
    } else if (mode == 9 || mode == 10) {
      PatchGrid grid;
      if (PatchGridSteps(&t, m.points.data(), &grid)) WalkPatchGrid(grid, count);
    }
  }
  return count.n;
}

// The gently waved sheet of the flat and Phong benchmarks: 60 x 60 vertices
// over 90 % of the frame, depth +-40, unit normals of the surface.
curved::ClothLikeMesh GridMesh() {
  curved::ClothLikeMesh m;
  BuildWaveSheet(60, kWidth, kHeight, m.points, m.triangles);
  return m;
}

void CurvedScene(benchmark::State& state) {
  const unsigned char mode = static_cast<unsigned char>(state.range(0));
  curved::ClothLikeMesh mesh = GridMesh();
  __Sort(int(mesh.triangles.size()), mesh.triangles.data(), mesh.points.data());
  const uint64_t bytes = uint64_t(kWidth) * kHeight * 4;
  unsigned char* dst = static_cast<unsigned char*>(PageAlloc(bytes));
  unsigned char* src = static_cast<unsigned char*>(PageAlloc(bytes));
  for (uint64_t i = 0; i < bytes; ++i) src[i] = uint8_t(i * 37 >> 3);

  __SetQuality(1);
  __SetDeep(0);
  __SetDrawMode(mode);
  __SetUseMultyRefract(0);
  __SetDubleSide(1);
  // Timed with the default per-pixel function (the line and scan code skip
  // shading pixels they cannot cover only while it is installed).
  __SetDefRenderOnePixel();
  for (auto _ : state) {
    state.PauseTiming();
    std::memset(dst, 0, bytes);
    state.ResumeTiming();
    __RasterScene(dst, src, kWidth, kHeight, 4 * kWidth, int(mesh.points.size()),
                  int(mesh.triangles.size()), mesh.triangles.data(), mesh.points.data(), kWidth / 2,
                  kHeight / 2, 0, nullptr, nullptr, 0, nullptr, nullptr);
    benchmark::DoNotOptimize(dst[bytes / 2]);
  }
  // One untimed frame through a counting replacement: the calls any
  // installed per-pixel function receives.
  gShaderCalls = 0;
  __SetNewRenderOnePixel(CountingPixel);
  std::memset(dst, 0, bytes);
  __RasterScene(dst, src, kWidth, kHeight, 4 * kWidth, int(mesh.points.size()),
                int(mesh.triangles.size()), mesh.triangles.data(), mesh.points.data(), kWidth / 2,
                kHeight / 2, 0, nullptr, nullptr, 0, nullptr, nullptr);
  __SetDefRenderOnePixel();
  // Zwidth and Zheight keep the frame after the call, as the cap needs.
  state.counters["samples"] = double(Samples(mode, mesh));
  state.counters["shader_calls"] = double(gShaderCalls);
  state.counters["triangles"] = double(mesh.triangles.size());
  PageFree(dst);
  PageFree(src);
}

BENCHMARK(CurvedScene)
    ->ArgName("mode")
    ->Arg(2)
    ->Arg(8)
    ->Arg(9)
    ->Arg(10)
    ->Unit(benchmark::kMillisecond);

}  // namespace
