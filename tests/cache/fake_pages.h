// A page allocator for the cache tests that records every call, so the
// tests can check which arrays were allocated and released in what order.
// It replaces the platform's allocator in this test program (same
// interface, including the failure injection).
#pragma once
#include <cstdint>
#include <vector>

#include "platform/page_memory.h"

struct PageEvent {
  bool alloc;       // false: a release
  uint64_t bytes;   // requested size (allocations)
  void* block;      // the block handed out or released (null: a failed allocation)
};

// Every PageAlloc and PageFree (of a non-null block) since the last clear.
std::vector<PageEvent>& PageEvents();
void ClearPageEvents();
