#include "platform/page_memory.h"

#include <cstdlib>
#if defined(_WIN32)
#include <windows.h>
#endif

namespace {
int64_t LiveBlocks = 0;
int64_t AllocCount = 0;
int64_t FailCountdown = -1;  // calls until the injected failure; -1: none
bool FailSticky = false;     // keep failing once the countdown reaches 0

bool InjectedFailure() {
  if (FailCountdown < 0) return false;
  if (FailCountdown > 0) {
    --FailCountdown;
    return false;
  }
  if (!FailSticky) FailCountdown = -1;
  return true;
}
}  // namespace

void* PageAlloc(uint64_t bytes) {
  if (bytes == 0 || bytes > PAGE_ALLOC_LIMIT || InjectedFailure()) return nullptr;
#if defined(_WIN32)
  void* block = VirtualAlloc(nullptr, static_cast<SIZE_T>(bytes), MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
#else
  void* block = std::calloc(1, static_cast<size_t>(bytes));
#endif
  if (block) {
    ++LiveBlocks;
    ++AllocCount;
  }
  return block;
}

void PageFree(void* block) {
  if (!block) return;
  --LiveBlocks;
#if defined(_WIN32)
  VirtualFree(block, 0, MEM_RELEASE);
#else
  std::free(block);
#endif
}

int64_t PageLiveBlocks() { return LiveBlocks; }
int64_t PageAllocCount() { return AllocCount; }

void PageFailAt(int64_t n) {
  FailCountdown = n < 0 ? -1 : n;
  FailSticky = false;
}

void PageFailFrom(int64_t n) {
  FailCountdown = n < 0 ? -1 : n;
  FailSticky = n >= 0;
}
