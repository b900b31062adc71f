// Per-frame cost of a plug-in's render at its defaults, 1920 x 1080, high
// quality, Phong, one thread: the whole render command (the cached cloth
// advancing four steps), and, for Theatre, its parts and a replay render at
// frame 100: from rest (400 steps, 800 speed checkouts), and resumed from
// the checkpoint an earlier replay left there (the same checkouts, no step).
//
// Every case works on one frame: the instance renders frames 0-7, its cloth
// is kept, and before each timed iteration the cloth is put back, so every
// iteration steps from the same state to the same mesh and draws the same
// pixels. The parts (simulation, mesh, depth sort, conversions,
// __RasterScene) are that frame's, so they add up to the whole less the
// parameter conversion, the layer checkouts and the releases. The test
// host's making and filling of the output world is not timed.
//
// Built once per plug-in (render_theatre_bench, render_tableau_bench,
// render_drape_bench); RENDER_BENCH_THEATRE selects the parts.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "cloth/checkpoint.h"
#include "cloth/cloth.h"
#include "host/pixel_convert.h"
#include "host/render_frame.h"
#include "platform/page_memory.h"
#include "tests/render/render_rig.h"

namespace {

constexpr int BENCH_W = 1920, BENCH_H = 1080;
constexpr int BENCH_FRAME = 8;  // the frame every iteration renders

// The bound cloth arrays a step reads or writes. The buffer roles
// (ClothCur, ClothPrev) need no saving: four steps swap them back.
ClothParticle** const kStepArrays[] = {&ClothPosA, &ClothPosB, &ClothAcc, &ClothNormals};

struct ClothSnapshot {
  std::vector<ClothParticle> saved[4];
  void Take() {
    for (int k = 0; k < 4; ++k) saved[k].assign(*kStepArrays[k], *kStepArrays[k] + ClothCount);
  }
  void Restore() const {
    for (int k = 0; k < 4; ++k) std::memcpy(*kStepArrays[k], saved[k].data(), saved[k].size() * sizeof(ClothParticle));
  }
};

// A started instance whose cloth has run frames 0 .. BENCH_FRAME - 1.
struct WarmRig {
  RenderRig rig;
  ClothSnapshot start;
  explicit WarmRig(bool deep) : rig(BENCH_W, BENCH_H, deep) {
    rig.Start();
    rig.Set("Rendering mode", "Phong");
    for (int frame = 0; frame < BENCH_FRAME; ++frame) rig.Render(frame);
    start.Take();
  }
};

const char* DepthLabel(const benchmark::State& state) { return state.range(0) == 16 ? "16 bits" : "8 bits"; }

void BM_Render(benchmark::State& state) {
  WarmRig w(state.range(0) == 16);
  for (auto _ : state) {
    state.PauseTiming();
    w.start.Restore();
    w.rig.PrepareRender(BENCH_FRAME);
    state.ResumeTiming();
    if (w.rig.SendRender() != PF_Err_NONE) state.SkipWithError("render failed");
  }
  state.SetLabel(DepthLabel(state));
}
BENCHMARK(BM_Render)->Arg(8)->Arg(16)->Unit(benchmark::kMillisecond);

#if defined(RENDER_BENCH_THEATRE)

// The render's steps up to a built and placed mesh of the benchmark frame,
// unsorted, with the cloth where that frame's render leaves it.
struct PreparedFrame {
  WarmRig w;
  RenderFrame f;
  std::vector<__Triangle3ds> unsorted;
  explicit PreparedFrame(bool deep) : w(deep) {
    w.rig.Render(BENCH_FRAME);  // the cloth of the frame's mesh
    PF_ParamDef** params = w.rig.Params(BENCH_FRAME);
    AllocWorld(w.rig.output, BENCH_W, BENCH_H, deep);
    RenderFrameInit(f, &w.rig.ctx.in_data, &w.rig.ctx.out_data, &w.rig.output.world);
    ReadRenderParams(f, params, RodRenderParams);
    CheckoutTextureLayers(f, RodRenderParams);
    SetRendererSwitches(f);
    TakeOutputGeometry(f, params[0]);
    MakeWorkingBuffers(f, true);
    FillTextureSlots(f);
    BuildClothMesh(&f.vertexCount, &f.triangleCount, &f.triangles, &f.points, MeshTextured(f));
    PlaceMesh(f);
    unsorted.assign(f.triangles, f.triangles + f.triangleCount);
    __SetUseMultyRefract(0);
    __SetDubleSide(1);
  }
  ~PreparedFrame() {
    ReleaseFrameBuffers(f);
    ReleaseTextures(f);
    CheckinTextureLayers(f, RodRenderParams);
  }
  void Unsort() { std::memcpy(f.triangles, unsorted.data(), unsorted.size() * sizeof(__Triangle3ds)); }
};

void BM_TheatreSimulation(benchmark::State& state) {
  WarmRig w(false);  // the cloth stays bound after the last render
  for (auto _ : state) {
    state.PauseTiming();
    w.start.Restore();
    state.ResumeTiming();
    ClothSimulate(RENDER_STEPS_PER_FRAME);
  }
  state.SetLabel("4 steps, two 40 x 40 panels");
}
BENCHMARK(BM_TheatreSimulation)->Unit(benchmark::kMillisecond);

// BuildClothMesh (the placement does nothing at the defaults).
void BM_TheatreMesh(benchmark::State& state) {
  PreparedFrame p(false);
  for (auto _ : state) {
    int32_t n = 0, t = 0;
    __Triangle3ds* tris = nullptr;
    __Point3ds* pts = nullptr;
    BuildClothMesh(&n, &t, &tris, &pts, 0);
    PageFree(tris);
    PageFree(pts);
  }
}
BENCHMARK(BM_TheatreMesh)->Unit(benchmark::kMillisecond);

void BM_TheatreSort(benchmark::State& state) {
  PreparedFrame p(false);
  for (auto _ : state) {
    state.PauseTiming();
    p.Unsort();
    state.ResumeTiming();
    __Sort(p.f.triangleCount, p.f.triangles, p.f.points);
  }
  state.counters["triangles"] = p.f.triangleCount;
}
BENCHMARK(BM_TheatreSort)->Unit(benchmark::kMillisecond);

// Output and input into packed buffers, the target cleared, and the
// write-back.
void BM_TheatreConversions(benchmark::State& state) {
  PreparedFrame p(state.range(0) == 16);
  for (auto _ : state) {
    ReleaseFrameBuffers(p.f);
    MakeWorkingBuffers(p.f, true);
    WriteBack(p.f);
  }
  state.SetLabel(DepthLabel(state));
}
BENCHMARK(BM_TheatreConversions)->Arg(8)->Arg(16)->Unit(benchmark::kMillisecond);

// The sorted mesh drawn into a cleared target, as the render draws it. Not
// DrawMesh: its depth sort is timed on its own above.
void BM_TheatreRasterScene(benchmark::State& state) {
  PreparedFrame p(state.range(0) == 16);
  __Sort(p.f.triangleCount, p.f.triangles, p.f.points);
  for (auto _ : state) {
    state.PauseTiming();
    ClearRect(p.f.target, p.f.width, p.f.height, 4 * p.f.width, 0, 0, p.f.width, p.f.height);
    state.ResumeTiming();
    __RasterScene(p.f.target, p.f.source, p.f.width, p.f.height, p.f.width * 4, p.f.vertexCount, p.f.triangleCount,
                  p.f.triangles, p.f.points, p.f.width / 2, p.f.height / 2, 1, &p.f.material, p.f.slots, 1,
                  &p.f.light, &p.f.glass);
  }
  state.counters["triangles"] = p.f.triangleCount;
  state.SetLabel(DepthLabel(state));
}
BENCHMARK(BM_TheatreRasterScene)->Arg(8)->Arg(16)->Unit(benchmark::kMillisecond);

void BM_TheatreReplayAtFrame100(benchmark::State& state) {
  ClothReplayCheckpoints = uint8_t(state.range(0));
  {
    WarmRig w(false);
    w.rig.Set("Time dependent preview", "on");
    w.rig.Render(100);  // leaves the checkpoint (with them on)
    for (auto _ : state) w.rig.Render(100);
  }
  ClothReplayCheckpoints = 1;
}
BENCHMARK(BM_TheatreReplayAtFrame100)->ArgName("checkpoints")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

#endif

}  // namespace
