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

PF_Err Render(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[], PF_LayerDef* output) {
  if (!in_data) return PF_Err_BAD_CALLBACK_PARAM;
  RenderFrame f;
  BeginRender(f, in_data, out_data, params, output, RodRenderParams);
  ReadRodParams(params);
  PrepareRender(f, params, RodRenderParams);

  LockInstanceRecord(f);
  if (ClothCache* record = static_cast<ClothCache*>(f.record)) {
    SimulateAndDrawCloth(f, record, /*twoPanels=*/true, ROD_FIXATION, ReplayRod, /*clearTarget=*/true);
  } else {
    ClearOutputWorld(f);  // nothing to simulate: a transparent frame
  }
  return EndRender(f, RodRenderParams);
}
