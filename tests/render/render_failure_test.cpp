// Renders that cannot do their work: no record, failing checkouts, memory
// running out at every allocation, and a dirty output.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "host/render_frame.h"
#include "platform/page_memory.h"
#include "tests/render/render_rig.h"

namespace {

constexpr int W = 48, H = 28;

bool AllZero(const HostWorld& w) {
  for (uint8_t b : w.pixels)
    if (b) return false;
  return true;
}

// Every pixel with alpha 0 is transparent black, and no channel exceeds the
// depth's largest value.
void ExpectCleanBackground(const HostWorld& w) {
  const bool deep = (w.world.world_flags & PF_WorldFlag_DEEP) != 0;
  int64_t covered = 0, bad = 0;
  for (int y = 0; y < w.world.height; ++y)
    for (int x = 0; x < w.world.width; ++x) {
      uint32_t c[4];
      for (int k = 0; k < 4; ++k) {
        if (deep) {
          uint16_t v;
          std::memcpy(&v, w.pixels.data() + size_t(y) * w.world.rowbytes + 8 * x + 2 * k, 2);
          c[k] = v;
        } else {
          c[k] = w.pixels[size_t(y) * w.world.rowbytes + 4 * x + k];
        }
        if (c[k] > (deep ? 32768u : 255u)) ++bad;
      }
      if (c[0] == 0 && (c[1] | c[2] | c[3])) ++bad;
      if (c[0]) ++covered;
    }
  EXPECT_EQ(bad, 0);
  EXPECT_GT(covered, 0);
}

TEST(RenderFailure, WithoutARecordTheFrameIsClearedAndTheLayersCheckedIn) {
  RenderRig rig(W, H);
  rig.ctx.fail_new_handle.at = 1;  // the instance gets no handle
  ASSERT_FALSE(rig.Start());
  rig.started = true;  // still set the module down at the end
  rig.SetLayer("Texture", 8, 8, false);
  rig.dirtyOutput = 0xAB;
  EXPECT_EQ(rig.Render(3), PF_Err_NONE);
  EXPECT_TRUE(AllZero(rig.output));
  EXPECT_EQ(rig.ctx.checkouts_open, 0);
  EXPECT_EQ(rig.ctx.checkin_calls, 4);
}

TEST(RenderFailure, AFailingCheckoutLeavesItsLayerAbsentAndEveryLayerIsCheckedIn) {
  RenderRig reference(W, H);
  ASSERT_TRUE(reference.Start());
  ASSERT_EQ(reference.Render(0), PF_Err_NONE);
  for (int n = 1; n <= 4; ++n) {
    RenderRig rig(W, H);
    ASSERT_TRUE(rig.Start());
    rig.ctx.fail_checkout.at = rig.ctx.checkout_calls + n;
    EXPECT_EQ(rig.Render(0), PF_Err_NONE) << n;  // the last check-in's result
    EXPECT_EQ(rig.Hash(), reference.Hash()) << n;
    EXPECT_EQ(rig.ctx.checkouts_open, 0);
    EXPECT_EQ(rig.ctx.checkin_calls, 4);
  }
  // A failing speed checkout of the replay: the render goes on, every
  // speed is checked in again.
  RenderRig replay(W, H);
  ASSERT_TRUE(replay.Start());
  replay.Set("Time dependent preview", "on");
  replay.ctx.fail_checkout = HostFault{replay.ctx.checkout_calls + 6, true, PF_Err_OUT_OF_MEMORY};
  EXPECT_EQ(replay.Render(2), PF_Err_NONE);
  EXPECT_EQ(replay.ctx.checkouts_open, 0);
  EXPECT_EQ(replay.ctx.checkin_calls, 4 + 16);
}

// Every allocation of a render in turn refused: the render reports
// out-of-memory, the frame comes out transparent, nothing leaks, and the
// next render works again.
void EveryAllocationFails(int frame, bool deep, bool layers) {
  RenderRig probe(W, H, deep);
  ASSERT_TRUE(probe.Start());
  if (layers) probe.SetLayer("Texture", 8, 8, deep);
  if (frame > 0) {
    ASSERT_EQ(probe.Render(0), PF_Err_NONE);
  }
  const int64_t before = PageAllocCount();
  ASSERT_EQ(probe.Render(frame), PF_Err_NONE);
  const int64_t allocations = PageAllocCount() - before;
  const uint64_t good = probe.Hash();
  ASSERT_GT(allocations, 3);
  for (int64_t n = 0; n < allocations; ++n) {
    const int64_t live = PageLiveBlocks();
    {
      RenderRig rig(W, H, deep);
      ASSERT_TRUE(rig.Start());
      if (layers) rig.SetLayer("Texture", 8, 8, deep);
      if (frame > 0) {
        ASSERT_EQ(rig.Render(0), PF_Err_NONE);
      }
      rig.dirtyOutput = 0x5A;
      PageFailAt(n);
      EXPECT_EQ(rig.Render(frame), PF_Err_OUT_OF_MEMORY) << "allocation " << n;
      PageFailAt(-1);
      EXPECT_TRUE(AllZero(rig.output)) << "allocation " << n;
      EXPECT_EQ(rig.ctx.checkouts_open, 0);
      // Memory back: the instance renders as if nothing had happened, or
      // (when its arrays went) from rest.
      EXPECT_EQ(rig.Render(frame), PF_Err_NONE);
      if (frame == 0) {
        EXPECT_EQ(rig.Hash(), good) << "allocation " << n;
      }
    }
    EXPECT_EQ(PageLiveBlocks(), live) << "allocation " << n;
  }
}

TEST(RenderFailure, EveryAllocationOfAFirstRenderCanFail) { EveryAllocationFails(0, false, true); }
TEST(RenderFailure, EveryAllocationOfACachedSixteenBitRenderCanFail) { EveryAllocationFails(1, true, true); }

TEST(RenderFailure, ASixteenBitRenderOverADirtyOutputIsTransparentOutsideTheCloth) {
  RenderRig rig(W, H, true);
  ASSERT_TRUE(rig.Start());
  rig.Set("Scale X", "40");  // leave room around the cloth
  rig.Set("Scale Y", "40");
  rig.dirtyOutput = 0xAB;
  ASSERT_EQ(rig.Render(0), PF_Err_NONE);
  ExpectCleanBackground(rig.output);
  ASSERT_EQ(rig.Render(1), PF_Err_NONE);
  ExpectCleanBackground(rig.output);
}

TEST(RenderFailure, HostileSizesAndRecordsDrawNothingOutsideTheBuffers) {
  RenderRig rig(W, H);
  ASSERT_TRUE(rig.Start());
  PF_ParamDef** params = rig.Params(0);
  HostWorld out;
  AllocWorld(out, W, H, false);
  // rowbytes shorter than a row: nothing is drawn or read.
  out.world.rowbytes = 4 * W - 4;
  EXPECT_EQ(Render(&rig.ctx.in_data, &rig.ctx.out_data, params, &out.world), PF_Err_NONE);
  AllocWorld(out, W, H, false);
  // No output at all, and no parameters.
  EXPECT_EQ(Render(&rig.ctx.in_data, &rig.ctx.out_data, params, nullptr), PF_Err_NONE);
  EXPECT_EQ(Render(&rig.ctx.in_data, &rig.ctx.out_data, nullptr, &out.world), PF_Err_NONE);
  // An input with garbage rowbytes is not read.
  params[0]->u.ld.rowbytes = -8;
  EXPECT_EQ(Render(&rig.ctx.in_data, &rig.ctx.out_data, params, &out.world), PF_Err_NONE);
  // Mesh sizes far outside the sliders are clamped.
  rig.Set("Mesh size X", "1");
  rig.Set("Mesh size Y", "100000");
  EXPECT_EQ(rig.Render(1), PF_Err_NONE);
  EXPECT_EQ(ClothW, 2);
  EXPECT_EQ(ClothH, 1000);
  EXPECT_EQ(rig.ctx.checkouts_open, 0);
}

}  // namespace
