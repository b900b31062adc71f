// One instance's life through a plug-in's entry point and the test host's
// handles: set-up, a rebuild of the arrays, flatten, re-set-up, set-down.
// Built once per rod-driven plug-in (Theatre, Tableau), each linked from its
// own code, so the commands are seen to reach these handlers in both.
#include <gtest/gtest.h>

#include "host/cloth_cache.h"
#include "host/host.h"
#include "platform/page_memory.h"
#include "testhost/host_context.h"

namespace {

PF_Err Command(HostContext& ctx, PF_Cmd cmd) {
  return EntryPointFunc(cmd, &ctx.in_data, &ctx.out_data, nullptr, nullptr, nullptr);
}

bool NoLocksHeld(const HostContext& ctx) {
  for (const HostHandle* h : ctx.handles)
    if (h->locks != 0) return false;
  return true;
}

TEST(PluginSequence, InstanceLifeThroughTheEntryPoint) {
  HostContext ctx;
  HostContextInit(ctx);
  const int64_t pages = PageLiveBlocks();

  ASSERT_EQ(Command(ctx, PF_Cmd_SEQUENCE_SETUP), PF_Err_NONE);
  ASSERT_EQ(ctx.handles.size(), 1u);
  EXPECT_EQ(ctx.handles[0]->size, 80u);
  EXPECT_EQ(ctx.out_data.flat_sdata_size, 80);
  EXPECT_TRUE(NoLocksHeld(ctx));

  // A render would lock the record and build its arrays.
  ctx.in_data.sequence_data = ctx.out_data.sequence_data;
  auto* record = static_cast<ClothCache*>(ctx.utils.host_lock_handle(ctx.in_data.sequence_data));
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->arrayBytes, 0);
  ClothW = ClothH = 5;
  ClothCount = 50;
  ClothConstraintCount = 2 * (20 + 20 + 16);
  ASSERT_EQ(RebuildClothCache(record, 16 * ClothCount), PF_Err_NONE);
  ctx.utils.host_unlock_handle(ctx.in_data.sequence_data);
  EXPECT_EQ(PageLiveBlocks(), pages + 7);

  ASSERT_EQ(Command(ctx, PF_Cmd_SEQUENCE_FLATTEN), PF_Err_NONE);
  EXPECT_EQ(ctx.out_data.sequence_data, nullptr);
  EXPECT_TRUE(ctx.handles.empty());
  EXPECT_EQ(PageLiveBlocks(), pages);

  ctx.in_data.sequence_data = nullptr;
  ASSERT_EQ(Command(ctx, PF_Cmd_SEQUENCE_RESETUP), PF_Err_NONE);
  ASSERT_EQ(ctx.handles.size(), 1u);
  ctx.in_data.sequence_data = ctx.out_data.sequence_data;
  ASSERT_EQ(Command(ctx, PF_Cmd_SEQUENCE_RESETUP), PF_Err_NONE);  // has one: nothing new
  EXPECT_EQ(ctx.handles_made, 2);
  ASSERT_EQ(Command(ctx, PF_Cmd_SEQUENCE_SETDOWN), PF_Err_NONE);
  EXPECT_TRUE(ctx.handles.empty());
  EXPECT_EQ(ctx.handles_disposed, 2);
  EXPECT_EQ(ctx.misuse, 0) << (ctx.misuse_log.empty() ? "" : ctx.misuse_log[0]);
}

TEST(PluginSequence, RefusedHandle) {
  HostContext ctx;
  HostContextInit(ctx);
  ctx.fail_new_handle.at = 1;
  EXPECT_EQ(Command(ctx, PF_Cmd_SEQUENCE_SETUP), -108);
  EXPECT_EQ(ctx.out_data.sequence_data, nullptr);
  EXPECT_TRUE(ctx.handles.empty());
  EXPECT_EQ(ctx.misuse, 0);
}

}  // namespace
