// Replay checkpoints: saved states of a cloth replayed from rest, so that a
// later replay of the same cloth resumes at a whole frame instead of
// stepping again from rest.
//
// A replay from rest runs four steps a frame. Its state after frame c (4c
// steps) depends on the arrays' rest state and constraints, on the
// simulation inputs (ClothReplayInputs: every global a step or the restart
// reads, and the pin pattern) and, where the rod speeds are read from the
// host for each frame, on the speeds of frames 0 .. c-1. A checkpoint at c
// holds that state: both position buffers (weights included), the
// accelerations of the last step and which buffer is current. The normals
// are not kept: a step ends by computing them from the current positions
// alone, so the restore computes them again, to the same bits.
//
// The store. One per cache record, keyed by the record's rest array (page
// memory the record owns, so the key is unique while the record holds its
// arrays, whatever the host does with the handle); found through a list
// kept in the module, released by ClothCheckpointsRelease, which the
// record's release calls before it frees the arrays (grid change, flatten,
// set-down). It holds:
//   - the inputs its checkpoints were made with: other inputs empty it;
//   - the speed history, 8 bytes a frame: the speeds that frames 0 .. n-1
//     ran with, for replays that read them per frame;
//   - up to ClothCheckpointSlots() checkpoints, each ClothCount x 48 bytes.
// Memory: the store's record, its slot table and its checkpoints together
// stay within max(ClothCheckpointMinBudget, 4 x the byte size of one
// particle array), counted in bytes asked for (Windows commits each block
// in whole pages, up to a page more); the speed history comes on top.
// Which checkpoints stay when the slots are full: a frame divisible by a
// higher power of two outranks one divisible by a lower (so the kept frames
// spread evenly over the replayed range), the end of the latest replay is
// always kept, and among equal ranks the one used longest ago goes.
//
// Failure behaviour: no allocation of this module is needed for a correct
// frame. When the store, a checkpoint or the history cannot be had, the
// store is missing (null), the checkpoint is not kept, or the history stops
// growing (and with it the checkpoints beyond it); the replay then steps
// from rest or from an earlier checkpoint, with the same result.
#pragma once
#include <cstdint>

#include "cloth/cloth.h"

// 1: replays resume from checkpoints; 0: every replay steps from rest (the
// reference the checkpoints must match bit for bit) and the stores are left
// alone. Load value 1.
extern uint8_t ClothReplayCheckpoints;
// The least checkpoint budget of a store in bytes [64 MiB]; a store may use
// 4 x the particle array size when that is more.
extern int64_t ClothCheckpointMinBudget;

// Slots a store has at most, however small the cloth.
constexpr int32_t CLOTH_CHECKPOINT_MAX_SLOTS = 1024;

// The rod speeds one frame's four steps ran with.
struct ClothFrameSpeeds {
  float motion;
  float folding;
};
static_assert(sizeof(ClothFrameSpeeds) == 8, "the speed history takes 8 bytes a frame");

// Bit for bit (a NaN speed equals itself; 0 and -0 differ, as the rod's
// tests on them do).
bool ClothSameSpeeds(const ClothFrameSpeeds& a, const ClothFrameSpeeds& b);
// ClothMotionSpeed and ClothFoldingSpeed.
ClothFrameSpeeds ClothCurrentSpeeds();
void ClothUseSpeeds(const ClothFrameSpeeds& speeds);

// What a replay from rest reads besides the arrays and, with perFrameSpeeds,
// the rod speeds of each frame.
// No padding, so two are compared byte for byte (floats bit for bit).
struct ClothReplayInputs {
  float size, weight, timeScale, windForce, windDir[3], gravity;
  float motionSpeed, foldingSpeed;  // 0 with perFrameSpeeds: they are history
  int32_t w, h, count, constraintCount, panelCount, panelOffset;
  uint8_t blindFrequency, twoPanels, rodDrive, collision, fixation, perFrameSpeeds;
  uint8_t reserved[2];  // 0
};
static_assert(sizeof(ClothReplayInputs) == 72, "ClothReplayInputs has no padding");

// The inputs as the cloth globals hold them now; fixation is the pattern
// the restart pins the rest state with.
ClothReplayInputs ClothCaptureReplayInputs(uint8_t fixation, bool perFrameSpeeds);

struct ClothCheckpoints;

// The store of the arrays now bound (ClothRest and the grid globals), made
// when there is none. A store made with other inputs is released first and
// a fresh one made. Null when there are no arrays or no memory for it.
ClothCheckpoints* ClothCheckpointsOpen(const ClothReplayInputs& inputs);
// Releases the store of the arrays whose rest array is `rest`, with all its
// memory; nothing when there is none.
void ClothCheckpointsRelease(const ClothParticle* rest);

// The latest frame c <= atMost with a checkpoint, or 0 (the rest state).
int32_t ClothCheckpointLatest(const ClothCheckpoints* store, int32_t atMost);
// Puts checkpoint `frame` into the bound arrays: both buffers, the
// accelerations, ClothCur and ClothPrev, and the normals of every panel.
// Frame 0 (the rest state the restart laid out) changes nothing.
void ClothCheckpointRestore(ClothCheckpoints* store, int32_t frame);
// The cloth now in the bound arrays is the replay's state after `frame`
// frames: keep it when the policy above wants it (`end`: the last frame of
// this replay). Frames beyond the speed history are not kept.
void ClothCheckpointOffer(ClothCheckpoints* store, int32_t frame, bool end);

// Frames the speed history covers (0 .. length-1).
int32_t ClothSpeedHistoryLength(const ClothCheckpoints* store);
ClothFrameSpeeds ClothSpeedHistoryAt(const ClothCheckpoints* store, int32_t frame);
// A step of `frame` runs with `speeds` (firstStep: the frame's first). A
// step of a frame the history covers must run with the frame's speeds; when
// it does not, the history ends before that frame and the checkpoints after
// it are dropped. The first step of the frame the history ends at extends
// it. Nothing for a store whose inputs do not take per-frame speeds.
void ClothSpeedHistoryNote(ClothCheckpoints* store, int32_t frame, bool firstStep, const ClothFrameSpeeds& speeds);

// For tests and benchmarks: the frames that have checkpoints (ascending),
// at most `max` of them written to `frames`; returns how many there are.
int32_t ClothCheckpointFrames(const ClothCheckpoints* store, int32_t* frames, int32_t max);
// Slots of the store and the bytes it holds besides its speed history.
int32_t ClothCheckpointSlots(const ClothCheckpoints* store);
int64_t ClothCheckpointBytes(const ClothCheckpoints* store);
// The store of the arrays whose rest array is `rest`, or null.
ClothCheckpoints* ClothCheckpointsOf(const ClothParticle* rest);
