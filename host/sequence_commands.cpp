// The per-instance commands that create and release the cloth cache record
// (set-up; flatten and set-down alike).
//
// The record lives in an 80-byte host handle, reached by locking it. It is
// locked only for the length of one command. Flattening discards the cloth:
// the host is told the flattened size is 80 bytes but receives no data, and
// the next re-set-up creates an empty record.
//
// Failure behaviour: set-up returns -108 when the host gives no handle, or
// one whose lock yields no memory (that handle is disposed again); either
// way the instance is left without sequence data. Without the host's handle
// callbacks both commands return PF_Err_INVALID_CALLBACK and touch nothing.
// Set-down of an instance without a handle does nothing.
#include "host/cloth_cache.h"
#include "host/host.h"

namespace {

bool HandleCallbacksPresent(const PF_InData* in_data) {
  const PF_UtilCallbacks* u = in_data ? in_data->utils : nullptr;
  return u && u->host_new_handle && u->host_lock_handle && u->host_unlock_handle &&
         u->host_dispose_handle;
}

}  // namespace

PF_Err SequenceSetup(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef*[], PF_LayerDef*) {
  if (!HandleCallbacksPresent(in_data) || !out_data) return PF_Err_INVALID_CALLBACK;
  const PF_UtilCallbacks* u = in_data->utils;
  PF_Handle handle = u->host_new_handle(CLOTH_CACHE_BYTES);
  out_data->sequence_data = handle;
  if (!handle) return CLOTH_CACHE_NO_HANDLE;

  ClothCache* record = static_cast<ClothCache*>(u->host_lock_handle(handle));
  if (!record) {
    // A handle that yields no memory is no better than none.
    u->host_unlock_handle(handle);
    u->host_dispose_handle(handle);
    out_data->sequence_data = nullptr;
    return CLOTH_CACHE_NO_HANDLE;
  }
  // Empty: no key, no arrays, no saved roles (a fresh handle may hold
  // anything).
  *record = ClothCache{};
  u->host_unlock_handle(handle);
  out_data->flat_sdata_size = CLOTH_CACHE_BYTES;
  return PF_Err_NONE;
}

PF_Err SequenceSetdown(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef*[], PF_LayerDef*) {
  if (!in_data || !in_data->sequence_data) return PF_Err_NONE;
  if (!HandleCallbacksPresent(in_data)) return PF_Err_INVALID_CALLBACK;
  const PF_UtilCallbacks* u = in_data->utils;
  // The instance's handle as in_data gives it, for the lock as for the
  // disposal.
  PF_Handle handle = in_data->sequence_data;
  if (ClothCache* record = static_cast<ClothCache*>(u->host_lock_handle(handle))) {
    ReleaseClothCache(record);
  }
  u->host_unlock_handle(handle);
  u->host_dispose_handle(handle);
  if (out_data) out_data->sequence_data = nullptr;
  return PF_Err_NONE;
}
