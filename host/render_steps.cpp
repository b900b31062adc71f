// The opening and closing sequences of every plug-in's Render.
#include "host/render_frame.h"

void BeginRender(RenderFrame& f, PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                 PF_LayerDef* output, const RenderParamIndices& ix) {
  RenderFrameInit(f, in_data, out_data, output);
  ReadRenderParams(f, params, ix);
}

void PrepareRender(RenderFrame& f, PF_ParamDef* params[], const RenderParamIndices& ix) {
  ComputeFrameIndex(f.in);
  CheckoutTextureLayers(f, ix);
  SetRendererSwitches(f);
  TakeOutputGeometry(f, params ? params[0] : nullptr);
}

PF_Err EndRender(RenderFrame& f, const RenderParamIndices& ix) {
  CheckinTextureLayers(f, ix);
  UnlockInstanceRecord(f);
  ReleaseTextures(f);
  return FinishRender(f);
}
