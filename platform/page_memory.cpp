#include "platform/page_memory.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#if defined(_WIN32)
#include <windows.h>
#else
#include <malloc.h>
#endif
#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#define PAGE_POISON(p, n) ASAN_POISON_MEMORY_REGION(p, n)
#define PAGE_UNPOISON(p, n) ASAN_UNPOISON_MEMORY_REGION(p, n)
#else
#define PAGE_POISON(p, n) ((void)(p), (void)(n))
#define PAGE_UNPOISON(p, n) ((void)(p), (void)(n))
#endif

namespace {
int64_t LiveBlocks = 0;
int64_t AllocCount = 0;
int64_t FailCountdown = -1;  // calls until the injected failure; -1: none
bool FailSticky = false;     // keep failing once the countdown reaches 0

// Released blocks, oldest first. Plain arrays: no static initialiser runs at
// load.
struct CachedBlock {
  void* block;
  uint64_t capacity;
};
CachedBlock Cache[PAGE_CACHE_BLOCKS];
int CachedCount = 0;
uint64_t CachedBytes = 0;

bool InjectedFailure() {
  if (FailCountdown < 0) return false;
  if (FailCountdown > 0) {
    --FailCountdown;
    return false;
  }
  if (!FailSticky) FailCountdown = -1;
  return true;
}

void* SystemAlloc(uint64_t bytes) {
#if defined(_WIN32)
  return VirtualAlloc(nullptr, static_cast<SIZE_T>(bytes), MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
#else
  return std::calloc(1, static_cast<size_t>(bytes));
#endif
}

void SystemFree(void* block) {
#if defined(_WIN32)
  VirtualFree(block, 0, MEM_RELEASE);
#else
  std::free(block);
#endif
}

// The bytes a block of ours can hold; 0 when it cannot be kept (on Windows:
// not the base of a committed read-write allocation, which is released as it
// is).
uint64_t Capacity(void* block) {
#if defined(_WIN32)
  MEMORY_BASIC_INFORMATION info;
  if (VirtualQuery(block, &info, sizeof info) != sizeof info) return 0;
  if (info.AllocationBase != block || info.State != MEM_COMMIT || info.Protect != PAGE_READWRITE) return 0;
  return info.RegionSize;
#else
  return malloc_usable_size(block);
#endif
}

void DropCached(int k) {
  CachedBytes -= Cache[k].capacity;
  --CachedCount;
  for (int i = k; i < CachedCount; ++i) Cache[i] = Cache[i + 1];
}

void ReleaseOldest() {
  CachedBlock oldest = Cache[0];
  DropCached(0);
  PAGE_UNPOISON(oldest.block, oldest.capacity);
  SystemFree(oldest.block);
}

// The smallest cached block that holds `bytes` without wasting more than
// their size plus the slack, taken out of the cache; null when none.
void* TakeCached(uint64_t bytes) {
  int best = -1;
  for (int k = 0; k < CachedCount; ++k) {
    const uint64_t c = Cache[k].capacity;
    if (c >= bytes && c - bytes <= bytes + PAGE_CACHE_SLACK && (best < 0 || c < Cache[best].capacity)) best = k;
  }
  if (best < 0) return nullptr;
  CachedBlock taken = Cache[best];
  DropCached(best);
  PAGE_UNPOISON(taken.block, bytes);
  return taken.block;
}

// fill: the value a block taken back from the cache gets (-1: none).
void* Alloc(uint64_t bytes, int fill) {
  if (bytes == 0 || bytes > PAGE_ALLOC_LIMIT || InjectedFailure()) return nullptr;
  void* block = TakeCached(bytes);
  if (block) {
    if (fill >= 0) std::memset(block, fill, static_cast<size_t>(bytes));
  } else {
    block = SystemAlloc(bytes);
    if (!block && CachedCount > 0) {
      PageReleaseCached();
      block = SystemAlloc(bytes);
    }
  }
  if (block) {
    ++LiveBlocks;
    ++AllocCount;
  }
  return block;
}
}  // namespace

void* PageAlloc(uint64_t bytes) { return Alloc(bytes, 0); }

void* PageAllocForOverwrite(uint64_t bytes) {
#if defined(__SANITIZE_ADDRESS__)
  void* block = Alloc(bytes, -1);
  if (block) std::memset(block, 0xA5, static_cast<size_t>(bytes));
  return block;
#else
  return Alloc(bytes, -1);
#endif
}

void PageFree(void* block) {
  if (!block) return;
  // A block released twice must not be cached twice (two callers would get
  // it); sanitizer builds stop there, as the heap would.
  for (int k = 0; k < CachedCount; ++k)
    if (Cache[k].block == block) {
#if defined(__SANITIZE_ADDRESS__)
      std::fprintf(stderr, "PageFree: block %p released twice\n", block);
      std::abort();
#endif
      return;
    }
  --LiveBlocks;
  const uint64_t capacity = Capacity(block);
  if (capacity == 0 || capacity > PAGE_CACHE_BYTES) {
    SystemFree(block);
    return;
  }
  while (CachedCount == PAGE_CACHE_BLOCKS || CachedBytes + capacity > PAGE_CACHE_BYTES) ReleaseOldest();
  PAGE_POISON(block, capacity);
  Cache[CachedCount++] = CachedBlock{block, capacity};
  CachedBytes += capacity;
}

void PageReleaseCached() {
  while (CachedCount > 0) ReleaseOldest();
}

int64_t PageLiveBlocks() { return LiveBlocks; }
int64_t PageAllocCount() { return AllocCount; }
int PageCachedBlocks() { return CachedCount; }
uint64_t PageCachedBytes() { return CachedBytes; }

void PageFailAt(int64_t n) {
  FailCountdown = n < 0 ? -1 : n;
  FailSticky = false;
}

void PageFailFrom(int64_t n) {
  FailCountdown = n < 0 ? -1 : n;
  FailSticky = n >= 0;
}
