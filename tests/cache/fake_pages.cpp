#include "tests/cache/fake_pages.h"

#include <cstdlib>
#include <set>

namespace {
std::set<void*> live;
int64_t allocCount = 0;
int64_t failAt = -1;    // calls from now until the one that fails
bool failFrom = false;  // every call from failAt on fails
}  // namespace

std::vector<PageEvent>& PageEvents() {
  static std::vector<PageEvent> events;
  return events;
}

void ClearPageEvents() { PageEvents().clear(); }

void* PageAlloc(uint64_t bytes) {
  bool fail = bytes == 0 || bytes > PAGE_ALLOC_LIMIT;
  if (failAt >= 0) {
    if (failAt == 0) {
      fail = true;
      if (!failFrom) failAt = -1;
    } else {
      --failAt;
    }
  }
  void* block = fail ? nullptr : std::calloc(1, size_t(bytes));
  if (block) {
    live.insert(block);
    ++allocCount;
  }
  PageEvents().push_back({true, bytes, block});
  return block;
}

void* PageAllocForOverwrite(uint64_t bytes) { return PageAlloc(bytes); }

void PageFree(void* block) {
  if (!block) return;
  live.erase(block);
  PageEvents().push_back({false, 0, block});
  std::free(block);
}

int64_t PageLiveBlocks() { return int64_t(live.size()); }
int64_t PageAllocCount() { return allocCount; }
// Nothing is cached: every release is recorded and freed.
void PageReleaseCached() {}
int PageCachedBlocks() { return 0; }
uint64_t PageCachedBytes() { return 0; }
void PageFailAt(int64_t n) {
  failAt = n;
  failFrom = false;
}
void PageFailFrom(int64_t n) {
  failAt = n;
  failFrom = true;
}
