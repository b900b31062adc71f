// The handle callbacks of a host, for the sequence-command tests: handles
// with accounting (new, dispose, lock balance), a handle refusal and a lock
// that yields no memory on demand. New handles are filled with 0xA5 bytes,
// as a host need not clear them.
#pragma once
#include <cstdint>

#include "sdk/AE_Effect.h"

struct FakeHost {
  PF_UtilCallbacks utils{};
  PF_InData in{};
  PF_OutData out{};

  FakeHost();
  ~FakeHost();

  // Accounting since construction.
  static int64_t liveHandles;
  static int64_t newCalls;
  static int64_t disposeCalls;
  static int64_t lockDepth;  // locks not yet unlocked
  static uint64_t lastSize;  // size of the last new handle
  // Fault switches.
  static bool refuseNew;
  static bool lockYieldsNull;

  static PF_Handle NewHandle(A_HandleSize size);
  static void* Lock(PF_Handle h);
  static void Unlock(PF_Handle h);
  static void Dispose(PF_Handle h);
};
