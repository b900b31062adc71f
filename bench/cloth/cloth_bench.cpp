// Cloth step costs: the step without collision at three grid sizes, the ten
// relaxation passes alone, and the step with repulsion through the plain
// all-pairs scan and through the cell table.
//
// Grids are the two-panel layout (2 x W x H particles) with the Theatre
// defaults: "Weight" 10, gravity 9.8, no wind, motion and folding speed 2.5
// (0.0025 a step), pre-rolled so the panels hang in folds.
#include <benchmark/benchmark.h>

#include <vector>

#include "cloth/cloth.h"

namespace {

struct Cloth {
  std::vector<ClothParticle> rest, a, b, acc, normals, spare;
  std::vector<ClothConstraint> constraints;

  Cloth(int32_t w, int32_t h, int32_t preroll) {
    const int32_t panel = w * h;
    ClothW = w;
    ClothH = h;
    ClothTwoPanels = 1;
    ClothCount = 2 * panel;
    ClothPanelCount = panel;
    ClothPanelOffset = 4 * panel;
    ClothConstraintCount = 2 * ((w - 1) * h + w * (h - 1) + (w - 1) * (h - 1));
    for (auto* v : {&rest, &a, &b, &acc, &normals, &spare}) v->assign(size_t(ClothCount), {});
    constraints.assign(size_t(ClothConstraintCount), {});
    ClothRest = rest.data();
    ClothPosA = a.data();
    ClothPosB = b.data();
    ClothAcc = acc.data();
    ClothNormals = normals.data();
    ClothSpare = spare.data();
    ClothConstraints = constraints.data();
    ClothWeight = 10.0f;
    ClothGravity = 9.8f;
    ClothTimeScale = 1.0f;
    ClothWindForce = 0.0f;
    ClothWindDir[0] = 10.0f;
    ClothWindDir[1] = 0.0f;
    ClothWindDir[2] = 0.0174533f;
    ClothBlindFrequency = 1;
    ClothRodDrive = 1;
    ClothMotionSpeed = 0.0025f;
    ClothFoldingSpeed = 0.0025f;
    ClothCollision = CLOTH_COLLISION_NONE;
    ClothInitDouble(ClothFixation::TopTied);
    rest = a;
    ClothSetPins(ClothFixation::TopTied, ClothRest);
    ClothSetPins(ClothFixation::TopTied, ClothRest + ClothPanelCount);
    ClothResetAndPreroll(preroll);
  }
};

void BM_Step(benchmark::State& state) {
  const int32_t n = int32_t(state.range(0));
  Cloth cloth(n, n, 0);
  for (auto _ : state) {
    ClothStep();
    benchmark::DoNotOptimize(ClothCur);
  }
  state.SetItemsProcessed(state.iterations() * ClothCount);
}
BENCHMARK(BM_Step)->Arg(40)->Arg(150)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_RelaxationPasses(benchmark::State& state) {
  const int32_t n = int32_t(state.range(0));
  Cloth cloth(n, n, 40);
  for (auto _ : state) {
    for (int32_t p = 0; p < CLOTH_RELAXATION_PASSES; ++p) ClothSatisfyConstraints();
    benchmark::DoNotOptimize(ClothCur);
  }
}
BENCHMARK(BM_RelaxationPasses)->Arg(40)->Arg(150)->Unit(benchmark::kMillisecond);

// One step with repulsion on; range(1) = 1 uses the cell table, 0 the plain
// scan (the spare array unbound).
void BM_StepWithRepulsion(benchmark::State& state) {
  const int32_t n = int32_t(state.range(0));
  Cloth cloth(n, n, 200);
  ClothCollision = CLOTH_COLLISION_REPEL;
  if (state.range(1) == 0) ClothSpare = nullptr;
  for (auto _ : state) {
    ClothStep();
    benchmark::DoNotOptimize(ClothCur);
  }
}
BENCHMARK(BM_StepWithRepulsion)
    ->ArgNames({"grid", "table"})
    ->Args({40, 0})
    ->Args({40, 1})
    ->Args({150, 1})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StepWithRepulsion)
    ->ArgNames({"grid", "table"})
    ->Args({150, 0})
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond);

// The repulsion phase alone, on the same folded state each time.
void BM_RepulsionPhase(benchmark::State& state) {
  const int32_t n = int32_t(state.range(0));
  Cloth cloth(n, n, 200);
  const std::vector<ClothParticle> folded(ClothCur, ClothCur + ClothCount);
  const bool table = state.range(1) != 0;
  for (auto _ : state) {
    state.PauseTiming();
    std::copy(folded.begin(), folded.end(), ClothCur);
    state.ResumeTiming();
    if (table) {
      ClothRepelAll();
    } else {
      for (int32_t i = 0; i < ClothCount; ++i) ClothRepel(i);
    }
    benchmark::DoNotOptimize(ClothCur);
  }
}
BENCHMARK(BM_RepulsionPhase)
    ->ArgNames({"grid", "table"})
    ->Args({40, 0})
    ->Args({40, 1})
    ->Args({150, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace
