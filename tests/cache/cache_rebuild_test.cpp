// Rebuilding and binding the cloth cache record's arrays.
#include <gtest/gtest.h>

#include <vector>

#include "host/cloth_cache.h"
#include "tests/cache/cache_test_util.h"
#include "tests/cache/fake_pages.h"

namespace {

// The seven array fields in the order they are released and allocated.
std::vector<void*> ArraysInOrder(const ClothCache& r) {
  return {r.constraints, r.acc, r.normals, r.spare, r.rest, r.posA, r.posB};
}

void ExpectEmpty(const ClothCache& r) {
  EXPECT_EQ(r.arrayBytes, 0);
  EXPECT_EQ(r.gridW, 0);
  EXPECT_EQ(r.gridH, 0);
  for (void* p : ArraysInOrder(r)) EXPECT_EQ(p, nullptr);
  EXPECT_EQ(r.savedPrevious, nullptr);
  EXPECT_EQ(r.savedCurrent, nullptr);
}

void ExpectBound(const ClothCache& r) {
  EXPECT_EQ(ClothConstraints, r.constraints);
  EXPECT_EQ(ClothAcc, r.acc);
  EXPECT_EQ(ClothNormals, r.normals);
  EXPECT_EQ(ClothSpare, r.spare);
  EXPECT_EQ(ClothRest, r.rest);
  EXPECT_EQ(ClothPosA, r.posA);
  EXPECT_EQ(ClothPosB, r.posB);
}

// The allocations since the last clear must be the seven arrays of the grid,
// in order, and the record must hold exactly them.
void ExpectSevenAllocations(const ClothCache& r, int32_t arrayBytes) {
  std::vector<PageEvent> allocs;
  for (const PageEvent& e : PageEvents())
    if (e.alloc) allocs.push_back(e);
  ASSERT_EQ(allocs.size(), 7u);
  const std::vector<void*> fields = ArraysInOrder(r);
  EXPECT_EQ(allocs[0].bytes, uint64_t(ClothConstraintCount) * 12);
  for (int i = 0; i < 7; ++i) {
    SCOPED_TRACE(i);
    if (i > 0) {
      EXPECT_EQ(allocs[i].bytes, uint64_t(arrayBytes));
    }
    EXPECT_EQ(allocs[i].block, fields[i]);
  }
}

class ClothCacheTest : public ::testing::Test {
 protected:
  void SetUp() override {
    record = ClothCache{};
    ClearPageEvents();
  }
  void TearDown() override {
    ReleaseClothCache(&record);
    EXPECT_EQ(PageLiveBlocks(), 0);
  }
  ClothCache record;
};

// The first render's rebuild allocates constraints, acc, normals, spare,
// rest, posA, posB, keys the record with the size and the grid, binds the
// arrays (zero-filled) and leaves ClothCur and ClothPrev alone.
TEST_F(ClothCacheTest, FirstRebuildAllocatesAndBinds) {
  const int32_t key = SetTwoPanelGrid(40, 30);
  ClothParticle marker{};
  ClothCur = ClothPrev = &marker;
  EXPECT_FALSE(ClothCacheMatches(&record, key));
  ASSERT_EQ(RebuildClothCache(&record, key), PF_Err_NONE);
  EXPECT_EQ(record.arrayBytes, 38400);
  EXPECT_EQ(record.gridW, 40);
  EXPECT_EQ(record.gridH, 30);
  ExpectSevenAllocations(record, key);
  ExpectBound(record);
  EXPECT_EQ(ClothCur, &marker);
  EXPECT_EQ(ClothPrev, &marker);
  EXPECT_EQ(record.posB[ClothCount - 1].w, 0.0f);
  EXPECT_EQ(record.constraints[ClothConstraintCount - 1].rest, 0.0f);
  EXPECT_TRUE(ClothCacheMatches(&record, key));
}

// Same W x H: the key matches and binding restores the globals, with no
// allocation.
TEST_F(ClothCacheTest, SameGridBindsWithoutAllocating) {
  const int32_t key = SetTwoPanelGrid(12, 7);
  ASSERT_EQ(RebuildClothCache(&record, key), PF_Err_NONE);
  ClearPageEvents();
  ClothAcc = ClothNormals = ClothSpare = ClothRest = ClothPosA = ClothPosB = nullptr;
  ClothConstraints = nullptr;  // another instance's render would leave its own
  EXPECT_TRUE(ClothCacheMatches(&record, SetTwoPanelGrid(12, 7)));
  BindClothCache(&record);
  ExpectBound(record);
  EXPECT_TRUE(PageEvents().empty());
}

// Another W x H: all seven are released in the order constraints, acc,
// normals, spare, rest, posA, posB, then allocated anew; the saved roles,
// which pointed into the old buffers, are cleared, and so are ClothCur and
// ClothPrev.
TEST_F(ClothCacheTest, OtherGridReleasesAndReallocatesInOrder) {
  ASSERT_EQ(RebuildClothCache(&record, SetTwoPanelGrid(40, 30)), PF_Err_NONE);
  const std::vector<void*> old = ArraysInOrder(record);
  record.savedPrevious = ClothPrev = record.posB;
  record.savedCurrent = ClothCur = record.posA;
  ClearPageEvents();

  const int32_t key = SetTwoPanelGrid(41, 30);
  EXPECT_FALSE(ClothCacheMatches(&record, key));
  ASSERT_EQ(RebuildClothCache(&record, key), PF_Err_NONE);
  const std::vector<PageEvent>& ev = PageEvents();
  ASSERT_EQ(ev.size(), 14u);
  for (int i = 0; i < 7; ++i) {
    SCOPED_TRACE(i);
    EXPECT_FALSE(ev[i].alloc);
    EXPECT_EQ(ev[i].block, old[i]);
    EXPECT_TRUE(ev[7 + i].alloc);
  }
  ExpectSevenAllocations(record, key);
  EXPECT_EQ(record.arrayBytes, 32 * 41 * 30);
  EXPECT_EQ(record.savedPrevious, nullptr);
  EXPECT_EQ(record.savedCurrent, nullptr);
  EXPECT_EQ(ClothCur, nullptr);
  EXPECT_EQ(ClothPrev, nullptr);
  ExpectBound(record);
}

// 20 x 60 after 40 x 30 keeps the byte size but not the constraint count
// (2 x 3441 against 2 x 3461): the grid is part of the key, so it rebuilds,
// and the constraint array is sized for the new grid.
TEST_F(ClothCacheTest, SameSizeOtherShapeRebuilds) {
  ASSERT_EQ(RebuildClothCache(&record, SetTwoPanelGrid(40, 30)), PF_Err_NONE);
  EXPECT_EQ(ClothConstraintCount, 2 * 3461);
  const int32_t key = SetTwoPanelGrid(20, 60);
  EXPECT_EQ(key, record.arrayBytes);
  EXPECT_EQ(ClothConstraintCount, 2 * 3441);
  EXPECT_FALSE(ClothCacheMatches(&record, key));
  ClearPageEvents();
  ASSERT_EQ(RebuildClothCache(&record, key), PF_Err_NONE);
  ExpectSevenAllocations(record, key);
  EXPECT_EQ(record.gridW, 20);
  EXPECT_EQ(record.gridH, 60);
  // 60 x 20, the transposed grid, has the very same constraint count but
  // another layout: it rebuilds too.
  EXPECT_FALSE(ClothCacheMatches(&record, SetTwoPanelGrid(60, 20)));
}

// Allocation failure at each of the seven allocations: out of memory, the
// record empty, nothing leaked, and no cloth global left pointing at
// released or missing arrays.
TEST_F(ClothCacheTest, AllocationFailureAtEachArrayLeavesEmptyRecord) {
  for (int k = 0; k < 7; ++k) {
    SCOPED_TRACE(k);
    ASSERT_EQ(RebuildClothCache(&record, SetTwoPanelGrid(9, 5)), PF_Err_NONE);
    ClothCur = record.posA;
    ClothPrev = record.posB;
    record.savedCurrent = record.posA;
    const int32_t key = SetTwoPanelGrid(10, 5);
    PageFailAt(k);
    EXPECT_EQ(RebuildClothCache(&record, key), PF_Err_OUT_OF_MEMORY);
    PageFailAt(-1);
    ExpectEmpty(record);
    EXPECT_EQ(PageLiveBlocks(), 0);
    ExpectBound(record);  // all null
    EXPECT_EQ(ClothCur, nullptr);
    EXPECT_EQ(ClothPrev, nullptr);
    EXPECT_FALSE(ClothCacheMatches(&record, key));
    // The next render tries again and succeeds.
    ASSERT_EQ(RebuildClothCache(&record, key), PF_Err_NONE);
    ReleaseClothCache(&record);
  }
}

// A key that cannot hold the grid's particles, or a grid the record cannot
// describe, is refused without allocating: the record stays empty.
TEST_F(ClothCacheTest, InconsistentKeyIsRefused) {
  const int32_t key = SetTwoPanelGrid(8, 8);
  ClearPageEvents();
  EXPECT_EQ(RebuildClothCache(&record, key / 2), PF_Err_INTERNAL_STRUCT_DAMAGED);
  EXPECT_EQ(RebuildClothCache(&record, 0), PF_Err_INTERNAL_STRUCT_DAMAGED);
  EXPECT_EQ(RebuildClothCache(&record, -32), PF_Err_INTERNAL_STRUCT_DAMAGED);
  ClothConstraintCount = 0;
  EXPECT_EQ(RebuildClothCache(&record, key), PF_Err_INTERNAL_STRUCT_DAMAGED);
  SetTwoPanelGrid(8, 8);
  ClothW = 70000;
  EXPECT_EQ(RebuildClothCache(&record, key), PF_Err_INTERNAL_STRUCT_DAMAGED);
  EXPECT_TRUE(PageEvents().empty());
  ExpectEmpty(record);
  // An empty record never matches, not even a zero key.
  ClothW = 0;
  ClothH = 0;
  EXPECT_FALSE(ClothCacheMatches(&record, 0));
}

// Releasing leaves globals of another instance's arrays alone.
TEST_F(ClothCacheTest, ReleaseKeepsOtherInstancesGlobals) {
  ASSERT_EQ(RebuildClothCache(&record, SetTwoPanelGrid(4, 4)), PF_Err_NONE);
  ClothCache other{};
  ASSERT_EQ(RebuildClothCache(&other, SetTwoPanelGrid(5, 4)), PF_Err_NONE);
  ClothCur = other.posA;
  ReleaseClothCache(&record);
  ExpectEmpty(record);
  ExpectBound(other);
  EXPECT_EQ(ClothCur, other.posA);
  ReleaseClothCache(&other);
  EXPECT_EQ(ClothAcc, nullptr);
  EXPECT_EQ(ClothCur, nullptr);
}

}  // namespace
