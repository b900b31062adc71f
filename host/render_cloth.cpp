// Bringing the instance's cloth to the state of the frame: the grid, the
// rest state, and the three timeline branches (replay from rest, restart,
// continue the cached cloth by four steps).
#include <cstring>

#include "host/render_frame.h"

namespace {

void CopyParticles(ClothParticle* to, const ClothParticle* from) {
  std::memcpy(to, from, size_t(ClothCount) * sizeof(ClothParticle));
}

// Steps of a replay to this frame: 4 a frame, at most 2^31 - 1; none
// before frame 1 (a negative index replays no step).
int32_t ReplaySteps() {
  const int64_t steps = int64_t(RENDER_STEPS_PER_FRAME) * FrameIndex;
  return steps < 0 ? 0 : steps > INT32_MAX ? INT32_MAX : int32_t(steps);
}

// The value of a fixed slider at `time`; `value` is kept when the checkout
// fails. The check-in's result, like the checkout's, is the running result.
void CheckoutSpeed(RenderFrame& f, PF_ParamIndex index, A_long time, float& value) {
  PF_InData* in = f.in;
  if (!in->inter.checkout_param || !in->inter.checkin_param) {
    f.result = PF_Err_INVALID_CALLBACK;
    return;
  }
  PF_ParamDef def{};
  f.result = in->inter.checkout_param(in->effect_ref, index, time, in->local_time_step, in->time_scale, &def);
  if (f.result == PF_Err_NONE) value = float(def.u.fd.value / 65536.0 / 1000.0);
  f.result = in->inter.checkin_param(in->effect_ref, &def);
}

}  // namespace

int32_t SetClothGrid(int32_t W, int32_t H, bool twoPanels) {
  if (W < RENDER_MIN_MESH_SIZE || H < RENDER_MIN_MESH_SIZE || W > RENDER_MAX_MESH_SIZE || H > RENDER_MAX_MESH_SIZE)
    return 0;
  const int32_t panel = W * H;  // at most 10^6
  ClothW = W;
  ClothH = H;
  ClothCount = panel;
  ClothConstraintCount = (W - 1) * H + W * (H - 1) + (W - 1) * (H - 1);
  int32_t arrayBytes = 16 * panel;
  if (twoPanels) {
    ClothPanelCount = panel;
    ClothPanelOffset = 4 * panel;
    arrayBytes *= 2;
    ClothCount *= 2;
    ClothConstraintCount *= 2;
    ClothTwoPanels = 1;
  }
  return arrayBytes;
}

void TakeRestFromLayout() { CopyParticles(ClothRest, ClothPosA); }

void PinEveryPanel(uint8_t fixation, ClothParticle* particles) {
  ClothSetPins(fixation, particles);
  if (ClothTwoPanels) ClothSetPins(fixation, particles + ClothPanelCount);
}

void RestartCloth(uint8_t fixation) {
  PinEveryPanel(fixation, ClothRest);
  // The rest state copied to both buffers, ClothCur = A, ClothPrev = B and
  // the normals of every panel: a preroll of no step.
  ClothResetAndPreroll(0);
}

void ReplayWithSpeedCheckouts(RenderFrame& f, uint8_t fixation, PF_ParamIndex motion, PF_ParamIndex folding) {
  RestartCloth(fixation);
  const int32_t steps = ReplaySteps();
  for (int32_t i = 0; i < steps; ++i) {
    // The frame the step belongs to, and its time.
    const int64_t t = int64_t(i / RENDER_STEPS_PER_FRAME) * f.in->local_time_step;
    const A_long time = A_long(t > INT32_MAX ? INT32_MAX : t < INT32_MIN ? INT32_MIN : t);
    CheckoutSpeed(f, motion, time, ClothMotionSpeed);
    CheckoutSpeed(f, folding, time, ClothFoldingSpeed);
    ClothStep();
  }
}

void ReplayWithPreroll(uint8_t fixation) {
  ClothSetPins(fixation, ClothRest);
  ClothResetAndPreroll(ReplaySteps());
}

bool ContinueCloth(uint8_t fixation, ClothParticle* savedPrevious, ClothParticle* savedCurrent) {
  const bool roles = (savedPrevious == ClothPosA && savedCurrent == ClothPosB) ||
                     (savedPrevious == ClothPosB && savedCurrent == ClothPosA);
  if (!roles || !ClothPosA) return false;
  ClothPrev = savedPrevious;
  ClothCur = savedCurrent;
  // Both buffers pinned again, so a changed "Weight" reaches every particle,
  // also in the older buffer that the next step reads.
  ClothSetPins(fixation, ClothPosA);
  ClothSetPins(fixation, ClothPosB);
  if (ClothTwoPanels) {
    ClothSetPins(fixation, ClothPosA + ClothPanelCount);
    ClothSetPins(fixation, ClothPosB + ClothPanelCount);
  }
  // Every step swaps the roles: after four the pair is as it was, so the
  // saved roles stay valid.
  ClothSimulate(RENDER_STEPS_PER_FRAME);
  return true;
}

void SaveClothRoles(ClothParticle** savedPrevious, ClothParticle** savedCurrent) {
  *savedPrevious = ClothPrev;
  *savedCurrent = ClothCur;
}
