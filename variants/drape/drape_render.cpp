// The Drape render: one panel without the rod, pinned by the pattern of
// "Drape fixation", read at every render and passed to every set-up and pin
// call, so a changed pattern takes hold at the next frame without a
// restart (the pins first give every particle the current "Weight", then
// hold the new pattern where it hangs).
//
// It differs from the Tableau render in its parameter indices, the record
// layout, the missing rod and speeds, and the replay: the cloth is rerun
// from rest with the current frame's values (no parameter is fetched during
// the replay).
#include "host/render_cache.h"
#include "variants/drape/drape_params.h"

namespace {

const RenderParamIndices DrapeRenderParams = {
    PARAM_RENDERING_MODE, PARAM_MESH_SIZE_X, PARAM_MESH_SIZE_Y,
    PARAM_WEIGHT, PARAM_GRAVITY_FORCE, PARAM_WIND_FORCE, PARAM_WIND_DIRECTION_XY, PARAM_WIND_DIRECTION_XZ,
    PARAM_ACCELERATOR,
    PARAM_POSITION, PARAM_SCALE_X, PARAM_SCALE_Y, PARAM_ROTATION_X, PARAM_ROTATION_Y, PARAM_ROTATION_Z,
    PARAM_CHECK_SELF_INTERSECTION, PARAM_TIME_DEPENDENT_PREVIEW,
    PARAM_DIFFUSE, PARAM_SPECULAR, PARAM_SHININESS, PARAM_SHINE_STRENGTH, PARAM_SELF_ILLUMINATION,
    PARAM_TRANSPARENCY,
    PARAM_GLASS, PARAM_REFRACTION, PARAM_OPTICAL_COEFFICIENT, PARAM_ABERRATION,
    PARAM_MULTIPLY, PARAM_LIGHT_COLOR, PARAM_ROTATE_UV, PARAM_ROTATE_WV,
    {PARAM_TEXTURE, PARAM_TEXTURE_OPACITY, PARAM_TEXTURE_BUMP, PARAM_TEXTURE_REFLECTION},
    {PARAM_TEXTURE_PERCENT, PARAM_OPACITY_PERCENT, PARAM_BUMP_PERCENT, PARAM_REFLECTION_PERCENT},
};

// The popup's choice as a pin pattern code, kept to its low 8 bits as the
// code is a byte (268 pins as 12); codes outside 1..16 pin nothing.
uint8_t Fixation(PF_ParamDef* params[]) {
  if (!params || !params[PARAM_DRAPE_FIXATION]) return 0;
  return uint8_t(uint32_t(params[PARAM_DRAPE_FIXATION]->u.pd.value) & 0xFFu);
}

void ReplayFromRest(RenderFrame&, uint8_t fixation) { ReplayWithPreroll(fixation); }

}  // namespace

PF_Err Render(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[], PF_LayerDef* output) {
  if (!in_data) return PF_Err_BAD_CALLBACK_PARAM;
  RenderFrame f;
  BeginRender(f, in_data, out_data, params, output, DrapeRenderParams);
  const uint8_t fixation = Fixation(params);
  PrepareRender(f, params, DrapeRenderParams);
  ClearOutputWorld(f);

  LockInstanceRecord(f);
  if (ClothCache* record = static_cast<ClothCache*>(f.record)) {
    SimulateAndDrawCloth(f, record, /*twoPanels=*/false, fixation, ReplayFromRest, /*clearTarget=*/false);
  }
  return EndRender(f, DrapeRenderParams);
}
