// Binding, rebuilding and releasing the arrays of the per-instance cloth
// cache record.
#include "host/cloth_cache.h"

#include "cloth/checkpoint.h"
#include "platform/page_memory.h"

namespace {

// Frees one array and nulls the record's pointer, and the cloth global when it
// pointed at that array, so nothing is left pointing at released memory.
template <typename T>
void ReleaseArray(T*& field, T*& global) {
  if (!field) return;
  if (global == field) global = nullptr;
  PageFree(field);
  field = nullptr;
}

template <typename T>
bool AllocateArray(T*& field, uint64_t bytes) {
  field = static_cast<T*>(PageAlloc(bytes));
  return field != nullptr;
}

}  // namespace

bool ClothCacheMatches(const ClothCache* record, int32_t arrayBytes) {
  return arrayBytes != 0 && record->arrayBytes == arrayBytes && record->gridW == ClothW &&
         record->gridH == ClothH;
}

void BindClothCache(const ClothCache* record) {
  ClothAcc = record->acc;
  ClothNormals = record->normals;
  ClothSpare = record->spare;
  ClothRest = record->rest;
  ClothPosA = record->posA;
  ClothPosB = record->posB;
  ClothConstraints = record->constraints;
}

void ReleaseClothCache(ClothCache* record) {
  // The replay checkpoints of these arrays go with them.
  ClothCheckpointsRelease(record->rest);
  record->arrayBytes = 0;
  record->gridW = 0;
  record->gridH = 0;
  // ClothCur and ClothPrev are always one of the two position buffers.
  if (ClothCur && (ClothCur == record->posA || ClothCur == record->posB)) ClothCur = nullptr;
  if (ClothPrev && (ClothPrev == record->posA || ClothPrev == record->posB)) ClothPrev = nullptr;
  record->savedPrevious = nullptr;
  record->savedCurrent = nullptr;
  ReleaseArray(record->constraints, ClothConstraints);
  ReleaseArray(record->acc, ClothAcc);
  ReleaseArray(record->normals, ClothNormals);
  ReleaseArray(record->spare, ClothSpare);
  ReleaseArray(record->rest, ClothRest);
  ReleaseArray(record->posA, ClothPosA);
  ReleaseArray(record->posB, ClothPosB);
}

PF_Err RebuildClothCache(ClothCache* record, int32_t arrayBytes) {
  ReleaseClothCache(record);
  BindClothCache(record);  // every array global null until the new arrays stand

  // The key must describe arrays that hold the grid's particles, and the
  // grid must fit the record's 16-bit columns and rows.
  const int64_t particleBytes = int64_t(ClothCount) * int64_t(sizeof(ClothParticle));
  if (arrayBytes <= 0 || ClothCount <= 0 || particleBytes > arrayBytes || ClothConstraintCount <= 0 ||
      ClothW <= 0 || ClothW > UINT16_MAX || ClothH <= 0 || ClothH > UINT16_MAX)
    return PF_Err_INTERNAL_STRUCT_DAMAGED;

  const uint64_t bytes = uint64_t(arrayBytes);
  const uint64_t constraintBytes = uint64_t(ClothConstraintCount) * sizeof(ClothConstraint);
  const bool ok = AllocateArray(record->constraints, constraintBytes) &&
                  AllocateArray(record->acc, bytes) && AllocateArray(record->normals, bytes) &&
                  AllocateArray(record->spare, bytes) && AllocateArray(record->rest, bytes) &&
                  AllocateArray(record->posA, bytes) && AllocateArray(record->posB, bytes);
  if (!ok) {
    ReleaseClothCache(record);
    return PF_Err_OUT_OF_MEMORY;
  }
  record->arrayBytes = arrayBytes;
  record->gridW = uint16_t(ClothW);
  record->gridH = uint16_t(ClothH);
  BindClothCache(record);
  return PF_Err_NONE;
}
