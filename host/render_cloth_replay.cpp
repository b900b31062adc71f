// The replay from rest ("Time dependent preview" on): the cloth restarted
// and run four steps for each frame before this one.
//
// The full replay steps from rest every time, so frame n costs 4n steps.
// The resumed replay gives the same state bit for bit from a checkpoint of
// an earlier replay of the same arrays and inputs (cloth/checkpoint.h). For
// the rod plug-ins the state also depends on the speeds of every frame
// below the checkpoint, which only the host knows: the resumed replay makes
// exactly the checkouts and check-ins of the full replay, in the same order
// at the same times, and while the speeds they give are those the
// checkpoint was made with it compares instead of stepping. At the first
// difference it resumes from the latest checkpoint at or before that frame,
// catches up with the speeds it has compared, and steps on as the full
// replay does. So the host sees the same calls, a changed keyframe anywhere
// below a checkpoint is noticed, and a failed checkout leaves the speed as
// it was, as in the full replay. Drape reads no speed during its replay:
// its checkpoints depend on the inputs alone.
#include "cloth/checkpoint.h"
#include "host/render_frame.h"

namespace {

constexpr int32_t SPF = RENDER_STEPS_PER_FRAME;

// Where a replay's rod speeds come from: the host at each step's frame
// (frame set), or nowhere (the current values throughout).
struct SpeedSource {
  RenderFrame* frame;
  PF_ParamIndex motion, folding;
};

// Steps of a replay to this frame: 4 a frame, at most 2^31 - 1; none
// before frame 1 (a negative index replays no step).
int32_t ReplaySteps() {
  const int64_t steps = int64_t(SPF) * FrameIndex;
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

// "Motion speed" and "Folding speed" for step i, at its frame's time.
void FetchSpeeds(const SpeedSource& s, int32_t i) {
  if (!s.frame) return;
  const int64_t t = int64_t(i / SPF) * s.frame->in->local_time_step;
  const A_long time = A_long(t > INT32_MAX ? INT32_MAX : t < INT32_MIN ? INT32_MIN : t);
  CheckoutSpeed(*s.frame, s.motion, time, ClothMotionSpeed);
  CheckoutSpeed(*s.frame, s.folding, time, ClothFoldingSpeed);
}

void FullReplay(const SpeedSource& s, int32_t steps) {
  for (int32_t i = 0; i < steps; ++i) {
    FetchSpeeds(s, i);
    ClothStep();
  }
}

// Step i, then the frame it completes offered as a checkpoint.
void StepAndOffer(ClothCheckpoints* store, int32_t i, int32_t steps) {
  ClothStep();
  if ((i + 1) % SPF == 0) {
    const int32_t frame = (i + 1) / SPF;
    ClothCheckpointOffer(store, frame, frame == steps / SPF);
  }
}

// From the restart state (rest in both buffers) to `steps` steps, resuming
// from a checkpoint where one is valid.
void ResumedReplay(const SpeedSource& s, uint8_t fixation, int32_t steps) {
  const bool perFrame = s.frame != nullptr;
  ClothCheckpoints* store = ClothCheckpointsOpen(ClothCaptureReplayInputs(fixation, perFrame));
  if (!store) {
    FullReplay(s, steps);
    return;
  }
  // Every checkpoint lies within the speed history, so the latest one up
  // to this frame is where the comparing can end.
  const int32_t target = ClothCheckpointLatest(store, steps / SPF);
  int32_t i = 0;
  bool resumed = !perFrame;
  if (!perFrame) {
    ClothCheckpointRestore(store, target);
    i = target * SPF;
  }
  for (; i < steps; ++i) {
    FetchSpeeds(s, i);
    const ClothFrameSpeeds speeds = ClothCurrentSpeeds();
    const int32_t frame = i / SPF;
    if (!resumed) {
      if (i < target * SPF && ClothSameSpeeds(speeds, ClothSpeedHistoryAt(store, frame))) continue;
      // The target reached, or another speed at `frame`: resume from the
      // latest checkpoint that does not depend on it, and catch up with the
      // speeds the steps since then were found to have.
      const int32_t from = i == target * SPF ? target : ClothCheckpointLatest(store, frame);
      ClothCheckpointRestore(store, from);
      for (int32_t j = from * SPF; j < i; ++j) {
        ClothUseSpeeds(ClothSpeedHistoryAt(store, j / SPF));
        StepAndOffer(store, j, steps);
      }
      ClothUseSpeeds(speeds);
      resumed = true;
    }
    ClothSpeedHistoryNote(store, frame, i % SPF == 0, speeds);
    StepAndOffer(store, i, steps);
  }
  // Every step compared: the checkpoint is this frame.
  if (!resumed) ClothCheckpointRestore(store, target);
}

}  // namespace

void ReplayWithSpeedCheckouts(RenderFrame& f, uint8_t fixation, PF_ParamIndex motion, PF_ParamIndex folding) {
  RestartCloth(fixation);
  const SpeedSource speeds{&f, motion, folding};
  const int32_t steps = ReplaySteps();
  if (ClothReplayCheckpoints && steps > 0)
    ResumedReplay(speeds, fixation, steps);
  else
    FullReplay(speeds, steps);
}

void ReplayWithPreroll(uint8_t fixation) {
  ClothSetPins(fixation, ClothRest);
  const int32_t steps = ReplaySteps();
  if (!ClothReplayCheckpoints || steps <= 0) {
    ClothResetAndPreroll(steps);
    return;
  }
  ClothResetAndPreroll(0);  // the restart alone
  ResumedReplay(SpeedSource{nullptr, 0, 0}, fixation, steps);
}
