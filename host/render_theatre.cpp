// The Theatre render: two panels side by side on the driven rod, hung by
// their top rows at the rod's hooks (pin pattern TopTied), the right panel
// half a unit nearer the viewer.
//
// Order: parameters, frame index, texture checkouts, renderer switches,
// output geometry, cache lock, grid, bind or rebuild, the timeline branch,
// the drawing (the working target cleared after the conversion), check-ins,
// unlock and the release of the textures. Without a record the frame is
// cleared and nothing else is drawn.
#include "host/host.h"
#include "host/render_cache.h"

namespace {

constexpr uint8_t ROD_FIXATION = ClothFixation::TopTied;

void ReplayRod(RenderFrame& f, uint8_t fixation) {
  ReplayWithSpeedCheckouts(f, fixation, PARAM_MOTION_SPEED, PARAM_FOLDING_SPEED);
}

}  // namespace

PF_Err Render(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[], PF_LayerDef* output) {
  if (!in_data) return PF_Err_BAD_CALLBACK_PARAM;
  RenderFrame f;
  RenderFrameInit(f, in_data, out_data, output);
  ReadRenderParams(f, params, RodRenderParams);
  ReadRodParams(params);
  ComputeFrameIndex(in_data);
  CheckoutTextureLayers(f, RodRenderParams);
  SetRendererSwitches(f);
  TakeOutputGeometry(f, params ? params[PARAM_INPUT] : nullptr);

  LockInstanceRecord(f);
  if (ClothCache* record = static_cast<ClothCache*>(f.record)) {
    ClothCollision = f.collision ? CLOTH_COLLISION_REPEL : CLOTH_COLLISION_NONE;
    const int32_t arrayBytes = SetClothGrid(f.W, f.H, true);
    bool rebuilt = false;
    if (BindOrRebuildCloth(f, record, arrayBytes, ClothInitDouble, ROD_FIXATION, rebuilt)) {
      RunClothTimeline(f, record, rebuilt, ROD_FIXATION, ReplayRod);
      DrawClothFrame(f, true);
    }
  } else {
    ClearOutputWorld(f);  // nothing to simulate: a transparent frame
  }
  CheckinTextureLayers(f, RodRenderParams);
  UnlockInstanceRecord(f);
  ReleaseTextures(f);
  return FinishRender(f);
}
