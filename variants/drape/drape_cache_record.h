// The fixation-pattern plug-in's cloth cache record: the fields of the
// rod-driven plug-ins' record, with the constraint pointer right after the
// spare array instead of after the two saved roles. The host keeps the
// record by size; this plug-in's builds read it by this layout.
//
// host/cloth_cache.h takes this definition in place of its own when the
// Drape plug-in's sources are compiled (VELARRA_PLUGIN_DRAPE), so that the
// same binding, rebuilding and sequence commands serve this layout.
#pragma once
#include <cstddef>
#include <cstdint>

#include "cloth/cloth.h"

struct ClothCache {
  // Byte size of one particle array as last allocated (16 x W x H); 0 while
  // no arrays are held. With gridW and gridH the cache key.
  int32_t arrayBytes;
  // Columns and rows the arrays were laid out for (in the padding after the
  // key): a grid of another shape but the same W x H is another key.
  uint16_t gridW;
  uint16_t gridH;
  ClothParticle* rest;     // restart positions (ClothRest)
  ClothParticle* posA;     // position buffer A (ClothPosA)
  ClothParticle* posB;     // position buffer B (ClothPosB)
  ClothParticle* acc;      // accelerations (ClothAcc)
  ClothParticle* normals;  // particle normals (ClothNormals)
  ClothParticle* spare;    // the seventh particle-sized array (ClothSpare)
  ClothConstraint* constraints;  // ClothConstraintCount constraints
  // Which of posA and posB were ClothPrev and ClothCur when a render last
  // saved them; they own nothing.
  ClothParticle* savedPrevious;
  ClothParticle* savedCurrent;
};

static_assert(sizeof(void*) == 8, "the record layout is the 64-bit one");
static_assert(sizeof(ClothCache) == 80, "ClothCache is 80 bytes");
static_assert(offsetof(ClothCache, arrayBytes) == 0 && offsetof(ClothCache, gridW) == 4 &&
                  offsetof(ClothCache, gridH) == 6 && offsetof(ClothCache, rest) == 8 &&
                  offsetof(ClothCache, posA) == 16 && offsetof(ClothCache, posB) == 24 &&
                  offsetof(ClothCache, acc) == 32 && offsetof(ClothCache, normals) == 40 &&
                  offsetof(ClothCache, spare) == 48 && offsetof(ClothCache, constraints) == 56 &&
                  offsetof(ClothCache, savedPrevious) == 64 && offsetof(ClothCache, savedCurrent) == 72,
              "ClothCache field offsets (constraints at the sixth pointer)");
