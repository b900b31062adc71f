// The checkpoint stores: the module's list of them keyed by rest array, the
// inputs they were made with, their memory budget and release.
#include <cstring>

#include "cloth/checkpoint_internal.h"
#include "platform/page_memory.h"

uint8_t ClothReplayCheckpoints = 1;
int64_t ClothCheckpointMinBudget = int64_t(64) << 20;

namespace {

// Every live store; plain data, so the module has no static initialiser.
ClothCheckpoints* Stores = nullptr;

bool SameInputs(const ClothReplayInputs& a, const ClothReplayInputs& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

// The slots a store of particle arrays of stateBytes each can have: its
// record, slot table and checkpoints (3 arrays each) within the budget.
int32_t SlotsWithinBudget(int64_t stateBytes) {
  const int64_t budget = ClothCheckpointMinBudget > 4 * stateBytes ? ClothCheckpointMinBudget : 4 * stateBytes;
  const int64_t perSlot = 3 * stateBytes + int64_t(sizeof(ClothCheckpointSlot));
  const int64_t room = budget - int64_t(sizeof(ClothCheckpoints));
  if (room < perSlot) return 0;
  const int64_t slots = room / perSlot;
  return int32_t(slots < CLOTH_CHECKPOINT_MAX_SLOTS ? slots : CLOTH_CHECKPOINT_MAX_SLOTS);
}

ClothCheckpoints* Create(const ClothReplayInputs& inputs) {
  const int64_t stateBytes = int64_t(ClothCount) * int64_t(sizeof(ClothParticle));
  const int32_t slots = SlotsWithinBudget(stateBytes);
  if (slots == 0) return nullptr;
  void* block = PageAlloc(sizeof(ClothCheckpoints) + uint64_t(slots) * sizeof(ClothCheckpointSlot));
  if (!block) return nullptr;
  // Zero-filled: every slot free, no history.
  ClothCheckpoints* store = static_cast<ClothCheckpoints*>(block);
  store->rest = ClothRest;
  std::memcpy(&store->inputs, &inputs, sizeof inputs);
  store->stateBytes = stateBytes;
  store->slotCount = slots;
  store->slots = reinterpret_cast<ClothCheckpointSlot*>(store + 1);
  store->next = Stores;
  Stores = store;
  return store;
}

}  // namespace

bool ClothSameSpeeds(const ClothFrameSpeeds& a, const ClothFrameSpeeds& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

ClothFrameSpeeds ClothCurrentSpeeds() { return ClothFrameSpeeds{ClothMotionSpeed, ClothFoldingSpeed}; }

void ClothUseSpeeds(const ClothFrameSpeeds& speeds) {
  ClothMotionSpeed = speeds.motion;
  ClothFoldingSpeed = speeds.folding;
}

ClothReplayInputs ClothCaptureReplayInputs(uint8_t fixation, bool perFrameSpeeds) {
  ClothReplayInputs in;
  std::memset(&in, 0, sizeof in);
  in.size = ClothSize;
  in.weight = ClothWeight;
  in.timeScale = ClothTimeScale;
  in.windForce = ClothWindForce;
  for (int k = 0; k < 3; ++k) in.windDir[k] = ClothWindDir[k];
  in.gravity = ClothGravity;
  if (!perFrameSpeeds) {
    in.motionSpeed = ClothMotionSpeed;
    in.foldingSpeed = ClothFoldingSpeed;
  }
  in.w = ClothW;
  in.h = ClothH;
  in.count = ClothCount;
  in.constraintCount = ClothConstraintCount;
  in.panelCount = ClothPanelCount;
  in.panelOffset = ClothPanelOffset;
  in.blindFrequency = ClothBlindFrequency;
  in.twoPanels = ClothTwoPanels;
  in.rodDrive = ClothRodDrive;
  in.collision = ClothCollision;
  in.fixation = fixation;
  in.perFrameSpeeds = perFrameSpeeds ? 1 : 0;
  return in;
}

ClothCheckpoints* ClothCheckpointsOf(const ClothParticle* rest) {
  if (!rest) return nullptr;
  for (ClothCheckpoints* s = Stores; s; s = s->next)
    if (s->rest == rest) return s;
  return nullptr;
}

ClothCheckpoints* ClothCheckpointsOpen(const ClothReplayInputs& inputs) {
  if (!ClothRest || !ClothPosA || !ClothPosB || !ClothAcc || ClothCount <= 0) return nullptr;
  ClothCheckpoints* store = ClothCheckpointsOf(ClothRest);
  if (store && SameInputs(store->inputs, inputs)) return store;
  ClothCheckpointsRelease(ClothRest);
  return Create(inputs);
}

void ClothCheckpointsRelease(const ClothParticle* rest) {
  for (ClothCheckpoints** link = &Stores; *link; link = &(*link)->next) {
    ClothCheckpoints* store = *link;
    if (store->rest != rest) continue;
    *link = store->next;
    for (int32_t k = 0; k < store->slotCount; ++k) PageFree(store->slots[k].state);
    PageFree(store->history);
    PageFree(store);
    return;
  }
}

int32_t ClothCheckpointSlots(const ClothCheckpoints* store) { return store ? store->slotCount : 0; }

int64_t ClothCheckpointBytes(const ClothCheckpoints* store) {
  if (!store) return 0;
  int64_t bytes = int64_t(sizeof(ClothCheckpoints)) + int64_t(store->slotCount) * int64_t(sizeof(ClothCheckpointSlot));
  for (int32_t k = 0; k < store->slotCount; ++k)
    if (store->slots[k].state) bytes += 3 * store->stateBytes;
  return bytes;
}
