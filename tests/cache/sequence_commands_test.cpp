// The sequence commands: creating, keeping and releasing the record in the
// instance's host handle.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "host/cloth_cache.h"
#include "host/host.h"
#include "tests/cache/cache_test_util.h"
#include "tests/cache/fake_host.h"
#include "tests/cache/fake_pages.h"

namespace {

ClothCache* Peek(PF_Handle h) { return static_cast<ClothCache*>(*h); }

// A host output record as the host hands it over: sequence_data and the
// flattened size hold values the commands must overwrite or leave.
PF_Handle const kUntouched = reinterpret_cast<PF_Handle>(uintptr_t(0x1234));

class SequenceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearPageEvents();
    host.out.sequence_data = kUntouched;
    host.out.flat_sdata_size = -1;
  }
  void TearDown() override {
    EXPECT_EQ(FakeHost::lockDepth, 0) << "every lock is unlocked before the command returns";
    EXPECT_EQ(PageLiveBlocks(), 0);
  }
  PF_Err RunSetup() { return SequenceSetup(&host.in, &host.out, nullptr, nullptr); }
  PF_Err RunResetup() { return SequenceResetup(&host.in, &host.out, nullptr, nullptr); }
  PF_Err RunSetdown() { return SequenceSetdown(&host.in, &host.out, nullptr, nullptr); }
  // The host hands the instance's handle back in later commands.
  void HandBack() { host.in.sequence_data = host.out.sequence_data; }
  FakeHost host;
};

// Set-up asks for 80 bytes, empties the whole record (the saved roles too,
// over the host's uncleared bytes) and reports 80 as the flattened size;
// set-down straight after releases nothing but the handle.
TEST_F(SequenceTest, SetupThenSetdownTouchesOnlyTheHandle) {
  ASSERT_EQ(RunSetup(), PF_Err_NONE);
  EXPECT_EQ(FakeHost::lastSize, 80u);
  ASSERT_NE(host.out.sequence_data, nullptr);
  ASSERT_NE(host.out.sequence_data, kUntouched);
  EXPECT_EQ(host.out.flat_sdata_size, 80);
  const ClothCache* r = Peek(host.out.sequence_data);
  EXPECT_EQ(r->arrayBytes, 0);
  EXPECT_EQ(r->gridW, 0);
  EXPECT_EQ(r->gridH, 0);
  for (const void* p : {(const void*)r->rest, (const void*)r->posA, (const void*)r->posB,
                        (const void*)r->acc, (const void*)r->normals, (const void*)r->spare,
                        (const void*)r->savedPrevious, (const void*)r->savedCurrent,
                        (const void*)r->constraints})
    EXPECT_EQ(p, nullptr);

  HandBack();
  ASSERT_EQ(RunSetdown(), PF_Err_NONE);
  EXPECT_EQ(host.out.sequence_data, nullptr);
  EXPECT_EQ(FakeHost::liveHandles, 0);
  EXPECT_EQ(FakeHost::disposeCalls, 1);
  EXPECT_TRUE(PageEvents().empty());
}

// Flatten is set-down: the arrays are released in the order constraints,
// acc, normals, spare, rest, posA, posB, the handle is disposed and nothing
// is left for the host; the cloth globals no longer point at the arrays.
// Re-set-up afterwards creates a fresh, empty record.
TEST_F(SequenceTest, FlattenReleasesEverythingAndResetupStartsEmpty) {
  ASSERT_EQ(RunSetup(), PF_Err_NONE);
  HandBack();
  ClothCache* r = Peek(host.in.sequence_data);
  ASSERT_EQ(RebuildClothCache(r, SetTwoPanelGrid(6, 5)), PF_Err_NONE);
  ClothCur = r->savedCurrent = r->posA;
  ClothPrev = r->savedPrevious = r->posB;
  const std::vector<void*> arrays = {r->constraints, r->acc,  r->normals, r->spare,
                                     r->rest,        r->posA, r->posB};
  ClearPageEvents();

  ASSERT_EQ(RunSetdown(), PF_Err_NONE);  // the flatten command's handler
  ASSERT_EQ(PageEvents().size(), 7u);
  for (int i = 0; i < 7; ++i) {
    EXPECT_FALSE(PageEvents()[i].alloc);
    EXPECT_EQ(PageEvents()[i].block, arrays[i]) << i;
  }
  EXPECT_EQ(host.out.sequence_data, nullptr);
  EXPECT_EQ(FakeHost::liveHandles, 0);
  for (const void* g : {(const void*)ClothAcc, (const void*)ClothNormals, (const void*)ClothSpare,
                        (const void*)ClothRest, (const void*)ClothPosA, (const void*)ClothPosB,
                        (const void*)ClothConstraints, (const void*)ClothCur, (const void*)ClothPrev})
    EXPECT_EQ(g, nullptr);

  HandBack();  // the host has no data for the instance now
  ASSERT_EQ(RunResetup(), PF_Err_NONE);
  ASSERT_NE(host.out.sequence_data, nullptr);
  EXPECT_EQ(Peek(host.out.sequence_data)->arrayBytes, 0);
  EXPECT_EQ(host.out.flat_sdata_size, 80);
  HandBack();
  ASSERT_EQ(RunSetdown(), PF_Err_NONE);
  EXPECT_EQ(FakeHost::liveHandles, 0);
}

// Re-set-up of an instance that has its handle changes nothing: no new
// handle, the record and out_data as they were.
TEST_F(SequenceTest, ResetupWithHandleChangesNothing) {
  ASSERT_EQ(RunSetup(), PF_Err_NONE);
  HandBack();
  ClothCache* r = Peek(host.in.sequence_data);
  ASSERT_EQ(RebuildClothCache(r, SetTwoPanelGrid(3, 3)), PF_Err_NONE);
  const ClothCache before = *r;
  host.out.sequence_data = kUntouched;
  host.out.flat_sdata_size = -1;
  ASSERT_EQ(RunResetup(), PF_Err_NONE);
  EXPECT_EQ(FakeHost::newCalls, 1);
  EXPECT_EQ(std::memcmp(&before, r, sizeof before), 0);
  EXPECT_EQ(host.out.sequence_data, kUntouched);
  EXPECT_EQ(host.out.flat_sdata_size, -1);
  host.out.sequence_data = host.in.sequence_data;
  ASSERT_EQ(RunSetdown(), PF_Err_NONE);
}

// No handle from the host: -108, no sequence data, nothing else written;
// re-set-up without a handle reports the same.
TEST_F(SequenceTest, RefusedHandleGivesMinus108) {
  FakeHost::refuseNew = true;
  EXPECT_EQ(RunSetup(), -108);
  EXPECT_EQ(host.out.sequence_data, nullptr);
  EXPECT_EQ(host.out.flat_sdata_size, -1);
  host.out.sequence_data = kUntouched;
  EXPECT_EQ(RunResetup(), -108);
  EXPECT_EQ(host.out.sequence_data, nullptr);
  EXPECT_EQ(FakeHost::liveHandles, 0);
}

// A handle whose lock yields no memory is treated as no handle at set-up
// (disposed again, -108) and as no record at set-down (only disposed).
TEST_F(SequenceTest, LockWithoutMemory) {
  FakeHost::lockYieldsNull = true;
  EXPECT_EQ(RunSetup(), -108);
  EXPECT_EQ(host.out.sequence_data, nullptr);
  EXPECT_EQ(FakeHost::liveHandles, 0);

  FakeHost::lockYieldsNull = false;
  ASSERT_EQ(RunSetup(), PF_Err_NONE);
  HandBack();
  FakeHost::lockYieldsNull = true;
  EXPECT_EQ(RunSetdown(), PF_Err_NONE);
  EXPECT_EQ(FakeHost::liveHandles, 0);
  EXPECT_EQ(host.out.sequence_data, nullptr);
}

// Set-down and flatten of an instance without a handle do nothing; set-down
// uses in_data's handle even when out_data carries another value.
TEST_F(SequenceTest, SetdownWithoutHandleAndWithStaleOutData) {
  host.in.sequence_data = nullptr;
  EXPECT_EQ(RunSetdown(), PF_Err_NONE);
  EXPECT_EQ(host.out.sequence_data, kUntouched);
  EXPECT_EQ(FakeHost::disposeCalls, 0);

  ASSERT_EQ(RunSetup(), PF_Err_NONE);
  HandBack();
  host.out.sequence_data = kUntouched;  // must not be locked or disposed
  EXPECT_EQ(RunSetdown(), PF_Err_NONE);
  EXPECT_EQ(FakeHost::liveHandles, 0);
  EXPECT_EQ(host.out.sequence_data, nullptr);
}

// Without the host's handle callbacks the commands report the missing
// callback instead of calling through null.
TEST_F(SequenceTest, MissingCallbacks) {
  host.in.utils = nullptr;
  EXPECT_EQ(RunSetup(), PF_Err_INVALID_CALLBACK);
  host.in.sequence_data = kUntouched;
  EXPECT_EQ(RunSetdown(), PF_Err_INVALID_CALLBACK);
  host.utils.host_lock_handle = nullptr;
  host.in.utils = &host.utils;
  EXPECT_EQ(RunSetup(), PF_Err_INVALID_CALLBACK);
  EXPECT_EQ(FakeHost::newCalls, 0);
}

}  // namespace
