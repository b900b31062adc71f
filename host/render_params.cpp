// The render's conversion of host parameter values into the cloth's and the
// renderer's inputs.
//
// Host values: sliders and popups are integers, fixed sliders, angles and
// points 16.16 fixed point (divided by 65536 here), checkboxes 0 or not,
// colours bytes (divided by 255). Each conversion is done in double and
// stored as float, so "Bump percent" 10 gives the float nearest 0.01.
// Angles are degrees, turned into radians with the effect's pi, 3.141592.
//
// The wind direction and the light position need sines and cosines; they
// come from the project's own EffectSine and EffectCosine rather than the
// platform's maths library, whose last bit differs between builds, so that
// every build renders the same frame bit for bit.
#include <cstdio>

#include "host/host.h"
#include "host/render_frame.h"

int32_t FrameIndex = 0;
uint8_t OutputDeep = 0;

const RenderParamIndices RodRenderParams = {
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

namespace {

constexpr double EFFECT_PI = 3.141592;  // the effect's value, not a closer one

// A missing parameter record reads as zeros.
const PF_ParamDef& Param(PF_ParamDef* params[], PF_ParamIndex i) {
  static const PF_ParamDef none{};
  return params && i >= 0 && params[i] ? *params[i] : none;
}

double Fixed(PF_ParamDef* params[], PF_ParamIndex i) { return Param(params, i).u.fd.value / 65536.0; }
double Angle(PF_ParamDef* params[], PF_ParamIndex i) { return Param(params, i).u.ad.value / 65536.0; }
bool Checked(PF_ParamDef* params[], PF_ParamIndex i) { return Param(params, i).u.bd.value != 0; }

void Colour(PF_ParamDef* params[], PF_ParamIndex i, float out[3]) {
  const PF_Pixel& c = Param(params, i).u.cd.value;
  out[0] = float(c.red / 255.0);
  out[1] = float(c.green / 255.0);
  out[2] = float(c.blue / 255.0);
}

int32_t MeshSize(PF_ParamDef* params[], PF_ParamIndex i) {
  const int32_t v = Param(params, i).u.sd.value;
  return v < RENDER_MIN_MESH_SIZE ? RENDER_MIN_MESH_SIZE : v > RENDER_MAX_MESH_SIZE ? RENDER_MAX_MESH_SIZE : v;
}

}  // namespace

double EffectRadians(double degrees) { return degrees * EFFECT_PI / 180.0; }

uint8_t DrawModeOfChoice(int32_t choice) {
  static const uint8_t modes[7] = {0, 1, 2, 3, 6, 8, 9};  // Rough .. Bezier
  return choice >= 1 && choice <= 7 ? modes[choice - 1] : 6;
}

void RenderFrameInit(RenderFrame& frame, PF_InData* in_data, PF_OutData* out_data, PF_LayerDef* output) {
  frame = RenderFrame{};
  frame.in = in_data;
  frame.out = out_data;
  frame.output = output;
}

void ReadRenderParams(RenderFrame& f, PF_ParamDef* params[], const RenderParamIndices& ix) {
  f.W = MeshSize(params, ix.meshSizeX);
  f.H = MeshSize(params, ix.meshSizeY);
  f.drawMode = DrawModeOfChoice(Param(params, ix.renderingMode).u.pd.value);
  f.replay = Checked(params, ix.timeDependentPreview);
  f.collision = Checked(params, ix.checkSelfIntersection);

  ClothWeight = float(Fixed(params, ix.weight));
  ClothGravity = float(Fixed(params, ix.gravity));
  ClothWindForce = float(Fixed(params, ix.windForce));
  const double a = EffectRadians(Angle(params, ix.windXY) - 90.0);
  const double b = EffectRadians(Fixed(params, ix.windXZ));
  ClothWindDir[0] = float(10.0 * EffectCosine(a));
  ClothWindDir[1] = float(10.0 * EffectSine(a));
  ClothWindDir[2] = float(10.0 * EffectSine(b));
  ClothTimeScale = float(Fixed(params, ix.accelerator) / 100.0);

  const PF_PointDef& pos = Param(params, ix.position).u.td;
  f.px = float(pos.x_value / 65536.0);
  f.py = float(pos.y_value / 65536.0);
  MeshScaleX = float(Fixed(params, ix.scaleX));
  MeshScaleY = float(Fixed(params, ix.scaleY));
  f.rotation[0] = float(EffectRadians(Angle(params, ix.rotationX)));
  f.rotation[1] = float(EffectRadians(Angle(params, ix.rotationY)));
  f.rotation[2] = float(EffectRadians(Angle(params, ix.rotationZ)));

  material3ds& m = f.material;
  std::snprintf(m.name, sizeof m.name, "%s", "Material#0");
  Colour(params, ix.diffuse, m.diffuse);
  Colour(params, ix.specular, m.specular);
  m.shininess = float(Fixed(params, ix.shininess) / 10.0);
  m.shinStrength = float(Fixed(params, ix.shineStrength) / 10.0);
  m.selfIllum = float(Fixed(params, ix.selfIllumination) / 100.0);
  m.transparency = float(-(Fixed(params, ix.transparency) / 100.0));

  f.glass.enabled = Checked(params, ix.glass) ? 1 : 0;
  f.glass.refraction = float(Fixed(params, ix.refraction) / 10.0);
  f.glass.optical = float(Fixed(params, ix.optical) / 10.0);
  f.glass.aberration = float(Fixed(params, ix.aberration));

  static const double divisors[SLOT_COUNT] = {100.0, 100.0, 1000.0, 100.0};  // bump is per mille
  for (int s = 0; s < SLOT_COUNT; ++s) f.mapAmount[s] = float(Fixed(params, ix.amount[s]) / divisors[s]);

  light3ds& l = f.light;
  std::snprintf(l.name, sizeof l.name, "%s", "LightOne");
  const double u = EffectRadians(Angle(params, ix.rotateUV));
  const double w = EffectRadians(Fixed(params, ix.rotateWV));
  l.x = float(2000.0 * EffectCosine(w) * EffectCosine(u));
  l.y = float(2000.0 * EffectCosine(w) * EffectSine(u));
  l.z = float(2000.0 * EffectSine(w));
  Colour(params, ix.lightColor, l.color);
  l.multiplier = float(Fixed(params, ix.multiply) / 100.0);
}

void ReadRodParams(PF_ParamDef* params[]) {
  const int32_t choice = Param(params, PARAM_BLIND_FREQUENCY).u.pd.value;
  ClothBlindFrequency = uint8_t(choice < 0 ? 0 : choice > 255 ? 255 : choice);
  ClothMotionSpeed = float(Fixed(params, PARAM_MOTION_SPEED) / 1000.0);
  ClothFoldingSpeed = float(Fixed(params, PARAM_FOLDING_SPEED) / 1000.0);
  ClothRodDrive = 1;
}

void ReplayRod(RenderFrame& f, uint8_t fixation) {
  ReplayWithSpeedCheckouts(f, fixation, PARAM_MOTION_SPEED, PARAM_FOLDING_SPEED);
}

void ComputeFrameIndex(const PF_InData* in) {
  int64_t index = 0;
  if (in->local_time_step != 0) index = int64_t(in->current_time) / int64_t(in->local_time_step);
  // A time-reversed layer gives a negative index, kept as it is: only 0
  // restarts the cloth. Only INT32_MIN / -1 leaves the 32-bit range.
  FrameIndex = int32_t(index > INT32_MAX ? INT32_MAX : index);
}
