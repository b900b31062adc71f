// Per-frame cost of a plug-in's render at its defaults, 1920 x 1080, high
// quality, Phong, one thread: the whole render through the entry point (the
// cached cloth advancing four steps a frame), and, for Theatre, its parts
// (simulation, mesh, conversions, __RasterScene) and a replay render at
// frame 100: from rest (400 steps, 800 speed checkouts), and resumed from
// the checkpoint an earlier replay left there (the same checkouts, no step).
//
// Built once per plug-in (render_theatre_bench, render_tableau_bench,
// render_drape_bench); RENDER_BENCH_THEATRE selects the parts.
#include <benchmark/benchmark.h>

#include "cloth/checkpoint.h"
#include "cloth/cloth.h"
#include "host/render_frame.h"
#include "platform/page_memory.h"
#include "tests/render/render_rig.h"

namespace {

constexpr int BENCH_W = 1920, BENCH_H = 1080;

// A started instance whose cloth has run a few frames.
struct WarmRig {
  RenderRig rig;
  int frame = 0;
  explicit WarmRig(bool deep) : rig(BENCH_W, BENCH_H, deep) {
    rig.Start();
    rig.Set("Rendering mode", "Phong");
    for (; frame < 8; ++frame) rig.Render(frame);
  }
};

void BM_Render(benchmark::State& state) {
  WarmRig w(state.range(0) == 16);
  for (auto _ : state) {
    const PF_Err e = w.rig.Render(w.frame++);
    if (e) state.SkipWithError("render failed");
  }
  state.SetLabel(state.range(0) == 16 ? "16 bits" : "8 bits");
}
BENCHMARK(BM_Render)->Arg(8)->Arg(16)->Unit(benchmark::kMillisecond);

#if defined(RENDER_BENCH_THEATRE)

// The render's steps up to a built, placed and sorted mesh.
struct PreparedFrame {
  WarmRig w;
  RenderFrame f;
  explicit PreparedFrame(bool deep) : w(deep) {
    PF_ParamDef** params = w.rig.Params(w.frame);
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
    __Sort(f.triangleCount, f.triangles, f.points);
  }
  ~PreparedFrame() {
    ReleaseFrameBuffers(f);
    ReleaseTextures(f);
    CheckinTextureLayers(f, RodRenderParams);
  }
};

void BM_TheatreSimulation(benchmark::State& state) {
  WarmRig w(false);  // the cloth stays bound after the last render
  for (auto _ : state) ClothSimulate(RENDER_STEPS_PER_FRAME);
  state.SetLabel("4 steps, two 40 x 40 panels");
}
BENCHMARK(BM_TheatreSimulation)->Unit(benchmark::kMillisecond);

void BM_TheatreMesh(benchmark::State& state) {
  WarmRig w(false);
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

// Output and input into packed buffers, the target cleared, and the
// write-back.
void BM_TheatreConversions(benchmark::State& state) {
  PreparedFrame p(state.range(0) == 16);
  for (auto _ : state) {
    ReleaseFrameBuffers(p.f);
    MakeWorkingBuffers(p.f, true);
    WriteBack(p.f);
  }
  state.SetLabel(state.range(0) == 16 ? "16 bits" : "8 bits");
}
BENCHMARK(BM_TheatreConversions)->Arg(8)->Arg(16)->Unit(benchmark::kMillisecond);

void BM_TheatreRasterScene(benchmark::State& state) {
  PreparedFrame p(state.range(0) == 16);
  for (auto _ : state) DrawMesh(p.f);
  state.counters["triangles"] = p.f.triangleCount;
  state.SetLabel(state.range(0) == 16 ? "16 bits" : "8 bits");
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
