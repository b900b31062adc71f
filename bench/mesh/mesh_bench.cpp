// The render mesh of the two-panel cloth: building it (vertices, triangles,
// face normals, smoothing) and placing it (three rotations and the
// translation), per render, at the default grid (40 x 40 a panel) and at
// the sliders' largest (150 x 150).
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "cloth/cloth.h"
#include "platform/page_memory.h"
#include "tests/mesh/mesh_test_util.h"

namespace {

// A gently folded two-panel cloth, so the normals are not all alike.
void BindFoldedCloth(std::vector<ClothParticle>& p, int32_t W, int32_t H) {
  BindTwoPanelGrid(p, W, H, 2.56f, 1.44f);
  for (int32_t i = 0; i < ClothCount; ++i) {
    const int32_t panel = i / (W * H), r = (i / W) % H, c = i % W;
    const float x = (panel ? 0.0f : -2.5f) + 2.5f * float(c) / float(W - 1);
    p[i] = {x, 2.5f - 5.0f * float(r) / float(H - 1), 1.0f + 0.5f * panel + 0.3f * std::sin(6 * x), 2.15f};
  }
}

void BM_BuildClothMesh(benchmark::State& state) {
  std::vector<ClothParticle> p;
  BindFoldedCloth(p, int32_t(state.range(0)), int32_t(state.range(0)));
  for (auto _ : state) {
    int32_t vc = 0, tc = 0;
    __Triangle3ds* t = nullptr;
    __Point3ds* v = nullptr;
    BuildClothMesh(&vc, &tc, &t, &v, 1);
    benchmark::DoNotOptimize(v);
    PageFree(t);
    PageFree(v);
  }
  state.SetItemsProcessed(state.iterations() * ClothCount);
}
BENCHMARK(BM_BuildClothMesh)->Arg(40)->Arg(150)->Unit(benchmark::kMicrosecond);

void BM_PlaceMesh(benchmark::State& state) {
  std::vector<ClothParticle> p;
  BindFoldedCloth(p, int32_t(state.range(0)), int32_t(state.range(0)));
  int32_t vc = 0, tc = 0;
  __Triangle3ds* t = nullptr;
  __Point3ds* v = nullptr;
  BuildClothMesh(&vc, &tc, &t, &v, 1);
  for (auto _ : state) {
    RotatePointsX(0, 0, 0.1f, vc, v);
    RotatePointsY(0, 0, 0.2f, vc, v);
    RotatePointsZ(0, 0, 0.3f, vc, v);
    TranslatePoints(12.0f, -7.0f, 0, vc, v);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * vc);
  PageFree(t);
  PageFree(v);
}
BENCHMARK(BM_PlaceMesh)->Arg(40)->Arg(150)->Unit(benchmark::kMicrosecond);

}  // namespace
