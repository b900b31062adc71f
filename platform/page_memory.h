// Page memory: the one allocator for every large buffer of a module.
//
//   PageAlloc(bytes)  committed, zero-filled memory of at least `bytes`
//                     bytes, or null when it cannot be had (or bytes is 0
//                     or above PAGE_ALLOC_LIMIT).
//   PageFree(p)       releases a block of PageAlloc without its size; null is
//                     ignored.
//
// Any buffer may be released by another part of the module than the one that
// allocated it (the renderer releases textures made by the host frame), so
// there is exactly one allocator. On Windows it is reserve+commit pages; in
// the native build the heap stands in for pages, so that AddressSanitizer sees
// the bounds of every buffer.
//
// Test hooks: a live-block counter and failure injection.
#pragma once
#include <cstdint>

// Larger requests are refused rather than handed to the system: no buffer of
// the system comes near it, and it keeps size arithmetic of callers honest.
constexpr uint64_t PAGE_ALLOC_LIMIT = uint64_t(1) << 40;

void* PageAlloc(uint64_t bytes);
void PageFree(void* block);

// Number of blocks allocated and not yet released.
int64_t PageLiveBlocks();
// Number of successful PageAlloc calls since the module was loaded.
int64_t PageAllocCount();
// Make the allocation `n` calls from now fail (0: the next one); a negative
// value switches injection off. The failure fires once.
void PageFailAt(int64_t n);
// Make every allocation from `n` calls from now fail until PageFailAt(-1).
void PageFailFrom(int64_t n);
