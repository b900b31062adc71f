// The Theatre render's three timeline branches, seen through the frames it
// produces and the checkouts it makes.
#include <gtest/gtest.h>

#include <vector>

#include "host/render_frame.h"
#include "tests/render/render_rig.h"

namespace {

constexpr int W = 64, H = 36;

std::vector<uint64_t> Hashes(RenderRig& rig, const std::vector<int>& frames) {
  std::vector<uint64_t> out;
  for (int f : frames) {
    EXPECT_EQ(rig.Render(f), PF_Err_NONE) << "frame " << f;
    out.push_back(rig.Hash());
  }
  return out;
}

TEST(TheatreTimeline, WithoutReplayEveryRenderAdvancesFourStepsAndFrameZeroRestarts) {
  RenderRig seq(W, H), jumbled(W, H);
  ASSERT_TRUE(seq.Start());
  ASSERT_TRUE(jumbled.Start());
  const std::vector<uint64_t> inOrder = Hashes(seq, {0, 1, 2});
  // The first render makes the arrays and shows the rest state; 3 after 5
  // does not go back in time; frame 0 restarts.
  const std::vector<uint64_t> other = Hashes(jumbled, {5, 3, 5, 0});
  EXPECT_EQ(other[0], inOrder[0]);
  EXPECT_EQ(other[1], inOrder[1]);
  EXPECT_EQ(other[2], inOrder[2]);
  EXPECT_EQ(other[3], inOrder[0]);
  EXPECT_NE(inOrder[1], inOrder[0]);
  EXPECT_NE(inOrder[2], inOrder[1]);
}

TEST(TheatreTimeline, ZeroLocalTimeStepRestartsEveryRender) {
  RenderRig rig(W, H), reference(W, H);
  ASSERT_TRUE(rig.Start());
  ASSERT_TRUE(reference.Start());
  const uint64_t rest = Hashes(reference, {0})[0];
  rig.ctx.in_data.local_time_step = 0;
  EXPECT_EQ(Hashes(rig, {0, 7, 9}), (std::vector<uint64_t>{rest, rest, rest}));
  EXPECT_EQ(FrameIndex, 0);
  // With the replay on, no step and so no speed checkout either.
  rig.Set("Time dependent preview", "on");
  rig.ctx.record_checkouts = true;
  EXPECT_EQ(Hashes(rig, {12})[0], rest);
  EXPECT_EQ(rig.ctx.checkout_log.size(), 4u);  // the texture layers only
}

// A time-reversed layer: frame f has index -f. Only index 0 restarts, so
// the cloth goes on four steps a render; the replay has no step to run.
TEST(TheatreTimeline, NegativeFrameIndexContinuesTheCloth) {
  RenderRig rig(W, H), reference(W, H);
  ASSERT_TRUE(rig.Start());
  ASSERT_TRUE(reference.Start());
  rig.ctx.in_data.local_time_step = -RIG_TIME_STEP;
  EXPECT_EQ(Hashes(rig, {0, 1, 2}), Hashes(reference, {0, 1, 2}));
  EXPECT_EQ(FrameIndex, -2);
  rig.Set("Time dependent preview", "on");
  rig.ctx.record_checkouts = true;
  EXPECT_EQ(Hashes(rig, {3}), Hashes(reference, {0}));
  EXPECT_EQ(rig.ctx.checkout_log.size(), 4u);  // the texture layers only
}

TEST(TheatreTimeline, ReplayAtFrameTenRunsFortyStepsWithTheSpeedsOfFramesZeroToNine) {
  RenderRig rig(W, H);
  ASSERT_TRUE(rig.Start());
  rig.Set("Time dependent preview", "on");
  rig.ctx.record_checkouts = true;
  ASSERT_EQ(rig.Render(10), PF_Err_NONE);
  const PF_ParamIndex motion = rig.Index("Motion speed"), folding = rig.Index("Folding speed");
  std::vector<std::pair<PF_ParamIndex, A_long>> speeds;
  for (const auto& c : rig.ctx.checkout_log)
    if (c.first == motion || c.first == folding) speeds.push_back(c);
  ASSERT_EQ(speeds.size(), 80u);  // two a step
  for (int i = 0; i < 40; ++i) {
    EXPECT_EQ(speeds[2 * i], std::make_pair(motion, A_long((i / 4) * RIG_TIME_STEP))) << "step " << i;
    EXPECT_EQ(speeds[2 * i + 1], std::make_pair(folding, A_long((i / 4) * RIG_TIME_STEP))) << "step " << i;
  }
  EXPECT_EQ(rig.ctx.checkouts_open, 0);
}

TEST(TheatreTimeline, ReplayGivesTheSameFramesInAnyOrder) {
  RenderRig seq(W, H), jumbled(W, H);
  for (RenderRig* r : {&seq, &jumbled}) {
    ASSERT_TRUE(r->Start());
    r->Set("Time dependent preview", "on");
    r->Set("Motion speed", "0:2.5,6:-4");  // speeds that change from frame to frame
    r->Set("Folding speed", "0:0,6:5");
  }
  const std::vector<uint64_t> inOrder = Hashes(seq, {0, 1, 2, 3, 4, 5, 6});
  const std::vector<uint64_t> other = Hashes(jumbled, {6, 2, 5, 0, 3, 1, 4, 6});
  const int order[] = {6, 2, 5, 0, 3, 1, 4, 6};
  for (int k = 0; k < 8; ++k) EXPECT_EQ(other[k], inOrder[order[k]]) << "frame " << order[k];
}

TEST(TheatreTimeline, AGridChangeRebuildsAndRestartsAtANonZeroFrame) {
  RenderRig rig(W, H), fresh(W, H), shape(W, H), freshShape(W, H);
  for (RenderRig* r : {&rig, &fresh, &shape, &freshShape}) ASSERT_TRUE(r->Start());
  Hashes(rig, {0, 1, 2});
  rig.Set("Mesh size X", "41");
  fresh.Set("Mesh size X", "41");
  EXPECT_EQ(Hashes(rig, {3, 4}), Hashes(fresh, {0, 1}));
  // Another shape with the same W x H (30 x 40 after 40 x 30) rebuilds too.
  shape.Set("Mesh size X", "40");
  shape.Set("Mesh size Y", "30");
  Hashes(shape, {0, 1});
  shape.Set("Mesh size X", "30");
  shape.Set("Mesh size Y", "40");
  freshShape.Set("Mesh size X", "30");
  freshShape.Set("Mesh size Y", "40");
  EXPECT_EQ(Hashes(shape, {2, 3}), Hashes(freshShape, {0, 1}));
}

TEST(TheatreTimeline, AFlattenedInstanceStartsAgainFromRest) {
  RenderRig rig(W, H), fresh(W, H);
  ASSERT_TRUE(rig.Start());
  ASSERT_TRUE(fresh.Start());
  Hashes(rig, {0, 1, 2});
  ASSERT_EQ(rig.Flatten(), PF_Err_NONE);
  ASSERT_EQ(rig.instance, nullptr);
  ASSERT_EQ(rig.Resetup(), PF_Err_NONE);
  EXPECT_EQ(Hashes(rig, {5, 6}), Hashes(fresh, {0, 1}));
}

}  // namespace
