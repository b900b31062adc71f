// The Tableau render: one full-width panel on the driven rod, hung at the
// rod's hooks (pin pattern TopTied).
//
// It differs from the Theatre render in the grid (one panel), the set-up
// (ClothInitSingle) and the clearing: the host's output is filled with
// zeros before the cache is locked, so the working copy made from it starts
// transparent and is not cleared again.
#include "host/host.h"
#include "host/render_cache.h"

PF_Err Render(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[], PF_LayerDef* output) {
  if (!in_data) return PF_Err_BAD_CALLBACK_PARAM;
  RenderFrame f;
  BeginRender(f, in_data, out_data, params, output, RodRenderParams);
  ReadRodParams(params);
  PrepareRender(f, params, RodRenderParams);
  ClearOutputWorld(f);

  LockInstanceRecord(f);
  if (ClothCache* record = static_cast<ClothCache*>(f.record)) {
    SimulateAndDrawCloth(f, record, /*twoPanels=*/false, ROD_FIXATION, ReplayRod, /*clearTarget=*/false);
  }
  return EndRender(f, RodRenderParams);
}
