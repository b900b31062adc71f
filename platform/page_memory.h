// Page memory: the one allocator for every large buffer of a module.
//
//   PageAlloc(bytes)  committed, zero-filled memory of at least `bytes`
//                     bytes, or null when it cannot be had (or bytes is 0
//                     or above PAGE_ALLOC_LIMIT).
//   PageAllocForOverwrite(bytes)
//                     the same, except that a block taken back from the
//                     cache keeps what it held: for callers that write every
//                     byte before they read it.
//   PageFree(p)       releases a block of PageAlloc without its size; null is
//                     ignored.
//   PageReleaseCached()
//                     returns every cached block to the system.
//
// Any buffer may be released by another part of the module than the one that
// allocated it (the renderer releases textures made by the host frame), so
// there is exactly one allocator. On Windows it is reserve+commit pages, and
// PageFree also takes blocks that another module reserved and committed in
// one call; in the native build the heap stands in for pages, so that
// AddressSanitizer sees the bounds of every buffer.
//
// Released blocks are kept for the next render in a small cache: every render
// takes the same buffers again, and the first touch of a fresh page costs a
// kernel fault that is dearer than clearing the page many times over. A
// request is served by the smallest cached block that holds it without
// wasting more than its own size (plus PAGE_CACHE_SLACK); PageAlloc clears
// the bytes asked for. The cache holds at most PAGE_CACHE_BLOCKS blocks and
// PAGE_CACHE_BYTES bytes, the oldest going back to the system first; it is
// emptied before a request is refused for want of memory, and at global
// set-down, so nothing outlives the module's use. In sanitizer builds a
// cached block is poisoned, a reused one is addressable only up to the bytes
// asked for, and PageAllocForOverwrite fills its block with a non-zero
// pattern, so a caller that relies on zeroes it did not ask for shows.
//
// Test hooks: a live-block counter, the cache's contents and failure
// injection.
#pragma once
#include <cstdint>

// Larger requests are refused rather than handed to the system: no buffer of
// the system comes near it, and it keeps size arithmetic of callers honest.
constexpr uint64_t PAGE_ALLOC_LIMIT = uint64_t(1) << 40;

// Bounds of the cache of released blocks: the buffers of one 16-bit render
// at 1920 x 1080 fit well within them.
constexpr int PAGE_CACHE_BLOCKS = 16;
constexpr uint64_t PAGE_CACHE_BYTES = uint64_t(256) << 20;
constexpr uint64_t PAGE_CACHE_SLACK = uint64_t(64) << 10;

void* PageAlloc(uint64_t bytes);
void* PageAllocForOverwrite(uint64_t bytes);
void PageFree(void* block);
void PageReleaseCached();

// Number of blocks allocated and not yet released (cached blocks are
// released).
int64_t PageLiveBlocks();
// Number of successful PageAlloc calls since the module was loaded.
int64_t PageAllocCount();
// Blocks and bytes held in the cache.
int PageCachedBlocks();
uint64_t PageCachedBytes();
// Make the allocation `n` calls from now fail (0: the next one); a negative
// value switches injection off. The failure fires once.
void PageFailAt(int64_t n);
// Make every allocation from `n` calls from now fail until PageFailAt(-1).
void PageFailFrom(int64_t n);
