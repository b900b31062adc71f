// The checkpoints of a store (keeping, choosing, restoring) and its speed
// history.
#include <cstring>

#include "cloth/checkpoint_internal.h"
#include "cloth/cloth_internal.h"
#include "platform/page_memory.h"

namespace {

// Frames divisible by a higher power of two rank higher.
int32_t Rank(int32_t frame) {
  int32_t r = 0;
  while (r < 31 && (frame & 1) == 0) {
    frame >>= 1;
    ++r;
  }
  return r;
}

ClothCheckpointSlot* Find(const ClothCheckpoints* store, int32_t frame) {
  for (int32_t k = 0; k < store->slotCount; ++k)
    if (store->slots[k].frame == frame) return &store->slots[k];
  return nullptr;
}

// The slot a new checkpoint goes to: a free one, else the lowest ranked,
// the one used longest ago among equals.
ClothCheckpointSlot* Victim(ClothCheckpoints* store) {
  ClothCheckpointSlot* victim = nullptr;
  for (int32_t k = 0; k < store->slotCount; ++k) {
    ClothCheckpointSlot& s = store->slots[k];
    if (s.frame == 0) return &s;
    if (!victim || Rank(s.frame) < Rank(victim->frame) ||
        (Rank(s.frame) == Rank(victim->frame) && s.used < victim->used))
      victim = &s;
  }
  return victim;
}

// The history ends before `frame`; checkpoints after it relied on the
// speeds that are gone.
void Truncate(ClothCheckpoints* store, int32_t frame) {
  if (store->historyLength > frame) store->historyLength = frame;
  for (int32_t k = 0; k < store->slotCount; ++k)
    if (store->slots[k].frame > frame) store->slots[k].frame = 0;
}

void Append(ClothCheckpoints* store, const ClothFrameSpeeds& speeds) {
  if (store->historyLength == store->historyCapacity) {
    // Doubling, from 256 frames; capacity stays an int32 of frames.
    const int64_t capacity = store->historyCapacity == 0 ? 256 : 2 * int64_t(store->historyCapacity);
    if (capacity > INT32_MAX) return;
    void* grown = PageAlloc(uint64_t(capacity) * sizeof(ClothFrameSpeeds));
    if (!grown) return;
    if (store->history)
      std::memcpy(grown, store->history, size_t(store->historyLength) * sizeof(ClothFrameSpeeds));
    PageFree(store->history);
    store->history = static_cast<ClothFrameSpeeds*>(grown);
    store->historyCapacity = int32_t(capacity);
  }
  store->history[store->historyLength++] = speeds;
}

}  // namespace

int32_t ClothCheckpointLatest(const ClothCheckpoints* store, int32_t atMost) {
  int32_t latest = 0;
  if (!store) return latest;
  for (int32_t k = 0; k < store->slotCount; ++k) {
    const int32_t f = store->slots[k].frame;
    if (f > latest && f <= atMost) latest = f;
  }
  return latest;
}

void ClothCheckpointRestore(ClothCheckpoints* store, int32_t frame) {
  ClothCheckpointSlot* slot = store && frame > 0 ? Find(store, frame) : nullptr;
  if (!slot) return;
  const size_t n = size_t(store->stateBytes);
  std::memcpy(ClothPosA, slot->state, n);
  std::memcpy(ClothPosB, slot->state + n, n);
  std::memcpy(ClothAcc, slot->state + 2 * n, n);
  ClothCur = slot->curIsA ? ClothPosA : ClothPosB;
  ClothPrev = slot->curIsA ? ClothPosB : ClothPosA;
  ClothComputeAllNormals();
  slot->used = ++store->clock;
}

void ClothCheckpointOffer(ClothCheckpoints* store, int32_t frame, bool end) {
  if (!store || frame <= 0) return;
  if (store->inputs.perFrameSpeeds && frame > store->historyLength) return;
  if (ClothCur != ClothPosA && ClothCur != ClothPosB) return;
  if (ClothCheckpointSlot* same = Find(store, frame)) {
    same->used = ++store->clock;
    return;
  }
  ClothCheckpointSlot* slot = Victim(store);
  if (slot->frame != 0 && !end && Rank(frame) <= Rank(slot->frame)) return;
  const size_t n = size_t(store->stateBytes);
  if (!slot->state) slot->state = static_cast<unsigned char*>(PageAlloc(3 * uint64_t(n)));
  if (!slot->state) return;
  std::memcpy(slot->state, ClothPosA, n);
  std::memcpy(slot->state + n, ClothPosB, n);
  std::memcpy(slot->state + 2 * n, ClothAcc, n);
  slot->curIsA = ClothCur == ClothPosA ? 1 : 0;
  slot->frame = frame;
  slot->used = ++store->clock;
}

int32_t ClothSpeedHistoryLength(const ClothCheckpoints* store) { return store ? store->historyLength : 0; }

ClothFrameSpeeds ClothSpeedHistoryAt(const ClothCheckpoints* store, int32_t frame) {
  if (!store || frame < 0 || frame >= store->historyLength) return ClothFrameSpeeds{0.0f, 0.0f};
  return store->history[frame];
}

void ClothSpeedHistoryNote(ClothCheckpoints* store, int32_t frame, bool firstStep, const ClothFrameSpeeds& speeds) {
  if (!store || !store->inputs.perFrameSpeeds || frame < 0) return;
  if (frame < store->historyLength) {
    if (ClothSameSpeeds(store->history[frame], speeds)) return;
    Truncate(store, frame);
  }
  if (frame == store->historyLength && firstStep) Append(store, speeds);
}

int32_t ClothCheckpointFrames(const ClothCheckpoints* store, int32_t* frames, int32_t max) {
  // Ascending: repeatedly the least frame above the last one written.
  int32_t count = 0;
  int32_t last = 0;
  for (;;) {
    int32_t next = INT32_MAX;
    bool found = false;
    for (int32_t k = 0; store && k < store->slotCount; ++k) {
      const int32_t f = store->slots[k].frame;
      if (f > last && f <= next) {
        next = f;
        found = true;
      }
    }
    if (!found) return count;
    if (count < max && frames) frames[count] = next;
    ++count;
    last = next;
    if (last == INT32_MAX) return count;
  }
}
