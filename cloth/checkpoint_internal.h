// The checkpoint store's layout, shared by its sources (not part of the
// interface).
#pragma once
#include <cstdint>

#include "cloth/checkpoint.h"

// One checkpoint: the cloth after `frame` frames (0: a free slot). state
// holds ClothPosA, ClothPosB and ClothAcc one after the other, each
// stateBytes long; it stays allocated when the slot is freed, for the next
// checkpoint to use.
struct ClothCheckpointSlot {
  int32_t frame;
  uint8_t curIsA;    // ClothCur was ClothPosA
  uint64_t used;     // the store's clock when last saved or restored
  unsigned char* state;
};

// One page block: this record, then slotCount slots.
struct ClothCheckpoints {
  ClothCheckpoints* next;  // the module's list of stores
  const ClothParticle* rest;  // the key: the rest array of the arrays
  ClothReplayInputs inputs;
  int64_t stateBytes;  // one particle array: ClothCount x 16
  int32_t slotCount;
  uint64_t clock;
  ClothCheckpointSlot* slots;
  ClothFrameSpeeds* history;
  int32_t historyLength;
  int32_t historyCapacity;
};
