// The per-instance cloth cache: the record held in the instance's host handle
// (its sequence data), and the render's operations on it.
//
// The record owns the cloth's seven arrays between renders: six particle
// arrays of arrayBytes bytes each and the constraint array. Either it is
// empty (arrayBytes 0, gridW = gridH = 0, every array pointer null) or all
// seven arrays are allocated for the grid of gridW x gridH columns and rows a
// panel. Nothing of it is saved with the project: flattening discards it.
//
// Failure behaviour: RebuildClothCache returns PF_Err_OUT_OF_MEMORY when an
// array cannot be allocated, and PF_Err_INTERNAL_STRUCT_DAMAGED when the grid
// globals and the key do not describe arrays it can allocate; either way the
// record is left empty, nothing is leaked, and the cloth's array globals are
// null, so the caller must end the render without drawing.
//
// This is the layout of the rod-driven plug-ins (Theatre and Tableau); the
// fixation-pattern plug-in keeps the constraint pointer before the two saved
// pointers and has its own record.
#pragma once
#include <cstddef>
#include <cstdint>

#include "cloth/cloth.h"
#include "sdk/AE_Effect.h"

#if defined(VELARRA_PLUGIN_DRAPE)
// The fixation-pattern plug-in keeps the constraint pointer after spare.
#include "variants/drape/drape_cache_record.h"
#else
struct ClothCache {
  // Byte size of one particle array as last allocated (two panels: 32 x W x
  // H); 0 while no arrays are held. With gridW and gridH the cache key.
  int32_t arrayBytes;
  // Columns and rows of a panel the arrays were laid out for. A grid of
  // another shape with the same W x H has the same byte size but another
  // constraint count and rest layout, so both are part of the key.
  uint16_t gridW;
  uint16_t gridH;
  ClothParticle* rest;     // restart positions (ClothRest)
  ClothParticle* posA;     // position buffer A (ClothPosA)
  ClothParticle* posB;     // position buffer B (ClothPosB)
  ClothParticle* acc;      // accelerations (ClothAcc)
  ClothParticle* normals;  // particle normals (ClothNormals)
  ClothParticle* spare;    // the seventh particle-sized array (ClothSpare)
  // Which of posA and posB were ClothPrev and ClothCur when a render last
  // saved them; they own nothing. Null until a render saves them.
  ClothParticle* savedPrevious;
  ClothParticle* savedCurrent;
  ClothConstraint* constraints;  // ClothConstraintCount constraints
};

static_assert(sizeof(void*) == 8, "the record layout is the 64-bit one");
static_assert(offsetof(ClothCache, arrayBytes) == 0 && offsetof(ClothCache, gridW) == 4 &&
                  offsetof(ClothCache, gridH) == 6 && offsetof(ClothCache, rest) == 8 &&
                  offsetof(ClothCache, posA) == 16 && offsetof(ClothCache, posB) == 24 &&
                  offsetof(ClothCache, acc) == 32 && offsetof(ClothCache, normals) == 40 &&
                  offsetof(ClothCache, spare) == 48 && offsetof(ClothCache, savedPrevious) == 56 &&
                  offsetof(ClothCache, savedCurrent) == 64 && offsetof(ClothCache, constraints) == 72,
              "ClothCache field offsets");
#endif

// The host keeps the record by size; other builds of the plug-in read it.
constexpr A_long CLOTH_CACHE_BYTES = 80;
static_assert(sizeof(ClothCache) == CLOTH_CACHE_BYTES, "ClothCache is 80 bytes");

// Error of SequenceSetup when the host gives no handle (the classic
// out-of-memory code, not the SDK's PF_Err_OUT_OF_MEMORY).
constexpr PF_Err CLOTH_CACHE_NO_HANDLE = -108;

// True when the record holds arrays for the grid now in the cloth globals:
// the same non-zero byte size and the same ClothW and ClothH.
bool ClothCacheMatches(const ClothCache* record, int32_t arrayBytes);

// Copies the record's array pointers into the cloth globals (ClothAcc,
// ClothNormals, ClothSpare, ClothRest, ClothPosA, ClothPosB,
// ClothConstraints); ClothCur and ClothPrev are left alone.
void BindClothCache(const ClothCache* record);

// Releases the record's arrays (constraints, acc, normals, spare, rest, posA,
// posB) and allocates them anew, in the order constraints
// (ClothConstraintCount x 12 bytes), acc, normals, spare, rest, posA, posB
// (arrayBytes each), for the grid now in ClothW, ClothH, ClothCount and
// ClothConstraintCount; then stores the key and binds the arrays. The saved
// pointers are cleared with the arrays they pointed into. The new arrays are
// zero-filled; the caller lays the cloth out.
PF_Err RebuildClothCache(ClothCache* record, int32_t arrayBytes);

// Releases the replay checkpoints of the record's arrays, then every array
// (in the order above), and empties it; cloth globals that pointed into the
// released arrays are set to null.
void ReleaseClothCache(ClothCache* record);
