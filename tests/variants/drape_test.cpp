// The Drape plug-in: its record, its defaults and pins, the replay without
// parameter fetches, its plain-mean vertex normals, and its golden frames.
#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <utility>
#include <vector>

#include "host/cloth_cache.h"
#include "host/render_frame.h"
#include "platform/page_memory.h"
#include "tests/render/golden_frames.h"
#include "tests/render/render_rig.h"

namespace {

float Length(const __Point3ds& p) { return std::sqrt(p.nx * p.nx + p.ny * p.ny + p.nz * p.nz); }

const ClothCache& Record(RenderRig& rig) {
  return *static_cast<const ClothCache*>(*rig.instance);
}

TEST(Drape, RecordKeepsTheConstraintsRightAfterTheSpareArray) {
  EXPECT_EQ(sizeof(ClothCache), 80u);
  EXPECT_EQ(offsetof(ClothCache, spare), 48u);
  EXPECT_EQ(offsetof(ClothCache, constraints), 56u);
  EXPECT_EQ(offsetof(ClothCache, savedPrevious), 64u);
  EXPECT_EQ(offsetof(ClothCache, savedCurrent), 72u);
}

TEST(Drape, SetUpAndDownWithoutARenderReleasesOnlyTheHandle) {
  const int64_t live = PageLiveBlocks();
  {
    RenderRig rig(16, 16);
    ASSERT_TRUE(rig.Start());
    const ClothCache& r = Record(rig);  // the host filled the new handle with garbage
    EXPECT_EQ(r.arrayBytes, 0);
    EXPECT_EQ(r.constraints, nullptr);
    EXPECT_EQ(r.savedPrevious, nullptr);
    EXPECT_EQ(r.savedCurrent, nullptr);
  }
  EXPECT_EQ(PageLiveBlocks(), live);
}

TEST(Drape, DefaultInstanceHangsFromItsWholeLeftEdgeInTheWind) {
  RenderRig rig(64, 36);
  ASSERT_TRUE(rig.Start());
  ASSERT_EQ(rig.Render(0), PF_Err_NONE);
  EXPECT_EQ(ClothWindForce, 100.0f);
  const float weight = float(140902 / 65536.0);  // "Weight" 2.15 as 16.16
  EXPECT_EQ(ClothWeight, weight);
  EXPECT_EQ(ClothCollision, CLOTH_COLLISION_REPEL);
  EXPECT_EQ(ClothRodDrive, 0);
  EXPECT_EQ(ClothTwoPanels, 0);
  const ClothCache& r = Record(rig);
  EXPECT_EQ(r.arrayBytes, 16 * 40 * 40);
  EXPECT_EQ(r.constraints, ClothConstraints);
  for (int32_t i = 0; i < ClothCount; ++i) EXPECT_EQ(ClothRest[i].w, i % 40 == 0 ? 0.0f : weight) << i;
}

TEST(Drape, FreeFallsFromTheFirstCachedFrame) {
  RenderRig rig(64, 36);
  ASSERT_TRUE(rig.Start());
  rig.Set("Drape fixation", "Free");
  ASSERT_EQ(rig.Render(0), PF_Err_NONE);
  ASSERT_EQ(rig.Render(1), PF_Err_NONE);
  for (int32_t i = 0; i < ClothCount; ++i) {
    EXPECT_NE(ClothCur[i].w, 0.0f);
    EXPECT_GT(ClothCur[i].y, ClothRest[i].y) << i;  // +y is down
  }
}

TEST(Drape, PreviewRunsFourStepsAFrameFromRestWithoutFetchingAnyParameter) {
  RenderRig replay(48, 27), sequence(48, 27);
  ASSERT_TRUE(replay.Start());
  ASSERT_TRUE(sequence.Start());
  replay.Set("Time dependent preview", "on");
  replay.ctx.record_checkouts = true;
  ASSERT_EQ(replay.Render(3), PF_Err_NONE);
  // The four texture layers only: out as texture, bump, opacity,
  // reflection; in as texture, opacity, bump, reflection.
  const A_long now = 3 * RIG_TIME_STEP;
  EXPECT_EQ(replay.ctx.checkout_log,
            (std::vector<std::pair<PF_ParamIndex, A_long>>{{31, now}, {33, now}, {35, now}, {37, now}}));
  EXPECT_EQ(replay.ctx.checkin_log, (std::vector<PF_ParamIndex>{31, 35, 33, 37}));
  // 12 steps with the same values: the frame that three cached renders
  // after frame 0 give.
  for (int f = 0; f <= 3; ++f) ASSERT_EQ(sequence.Render(f), PF_Err_NONE);
  EXPECT_EQ(replay.Hash(), sequence.Hash());
  ASSERT_EQ(replay.Render(0), PF_Err_NONE);  // frame 0: the rest state
  ASSERT_EQ(sequence.Render(0), PF_Err_NONE);
  EXPECT_EQ(replay.Hash(), sequence.Hash());
}

TEST(Drape, TiedPatternsOnFortyByFortyUseSpacingSeven) {
  RenderRig rig(32, 18);
  ASSERT_TRUE(rig.Start());
  rig.Set("Drape fixation", "Left tired");
  ASSERT_EQ(rig.Render(0), PF_Err_NONE);
  for (int32_t row = 0; row < 40; ++row) {
    const bool tied = row % 7 == 0 || row == 39;
    EXPECT_EQ(ClothRest[row * 40].w == 0.0f, tied) << row;
  }
  rig.Set("Drape fixation", "Bottom tired");
  ASSERT_EQ(rig.Render(0), PF_Err_NONE);
  for (int32_t col = 0; col < 40; ++col) EXPECT_EQ(ClothRest[col].w == 0.0f, col % 7 == 0 || col == 39) << col;
}

// The popup's value is taken as a byte: 268 and -244 (0x10C and
// 0x...F0C) pin as 12, "Left solid". Values outside the choices reach the
// render only from a damaged project, so they are put into params[] here.
TEST(Drape, FixationKeepsTheLowEightBitsOfThePopupValue) {
  RenderRig rig(32, 18);
  ASSERT_TRUE(rig.Start());
  for (A_long value : {268, -244}) {
    PF_ParamDef** params = rig.Params(0);
    params[rig.Index("Drape fixation")]->u.pd.value = value;
    AllocWorld(rig.output, 32, 18, false);
    rig.ctx.in_data.sequence_data = rig.ctx.out_data.sequence_data = rig.instance;
    ASSERT_EQ(EntryPointFunc(PF_Cmd_RENDER, &rig.ctx.in_data, &rig.ctx.out_data, params, &rig.output.world, nullptr),
              PF_Err_NONE);
    for (int32_t i = 0; i < ClothCount; ++i) EXPECT_EQ(ClothRest[i].w == 0.0f, i % 40 == 0) << value << " " << i;
  }
}

TEST(Drape, SwitchingTheFixationRepinsAtTheNextRender) {
  RenderRig rig(48, 27);
  ASSERT_TRUE(rig.Start());
  ASSERT_EQ(rig.Render(0), PF_Err_NONE);
  ASSERT_EQ(rig.Render(1), PF_Err_NONE);
  const std::vector<ClothParticle> hanging(ClothCur, ClothCur + ClothCount);
  rig.Set("Drape fixation", "Top solid");
  ASSERT_EQ(rig.Render(2), PF_Err_NONE);
  const int32_t top = 39 * 40;
  for (int32_t i = 0; i < ClothCount; ++i) {
    const bool pinned = i >= top;
    EXPECT_EQ(ClothPosA[i].w == 0.0f, pinned) << i;
    EXPECT_EQ(ClothPosB[i].w == 0.0f, pinned) << i;
  }
  // The new pins hold where the cloth hung; the old left edge is let go.
  for (int32_t i = top; i < ClothCount; ++i) EXPECT_EQ(ClothCur[i].x, hanging[i].x) << i;
  EXPECT_NE(ClothCur[0].x, hanging[0].x);
}

TEST(Drape, VertexNormalsArePlainMeansSoFoldsComeOutShorter) {
  __Point3ds p[1] = {};
  AccumulateVertexNormal(p, 0, 1, 0, 0);
  AccumulateVertexNormal(p, 0, 0, 1, 0);
  EXPECT_EQ(p[0].nx, 0.5f);
  EXPECT_EQ(p[0].ny, 0.5f);
  EXPECT_EQ(p[0].normalCount, 2);
  AccumulateVertexNormal(p, 0, 0, 0, 1);
  EXPECT_EQ(p[0].nz, 1.0f / 3.0f);
  EXPECT_EQ(p[0].nx, (2.0f * 0.5f + 0.0f) / 3.0f);

  RenderRig rig(48, 27);
  ASSERT_TRUE(rig.Start());
  ASSERT_EQ(rig.Render(0), PF_Err_NONE);  // the flat rest state
  int32_t n = 0, t = 0;
  __Triangle3ds* tris = nullptr;
  __Point3ds* pts = nullptr;
  ASSERT_TRUE(BuildClothMesh(&n, &t, &tris, &pts, 0));
  for (int32_t i = 0; i < n; ++i) EXPECT_NEAR(Length(pts[i]), 1.0f, 1e-6f) << i;
  PageFree(tris);
  PageFree(pts);
  for (int f = 1; f <= 12; ++f) ASSERT_EQ(rig.Render(f), PF_Err_NONE);  // blown into folds
  ASSERT_TRUE(BuildClothMesh(&n, &t, &tris, &pts, 0));
  float shortest = 1.0f;
  for (int32_t i = 0; i < n; ++i) shortest = std::fmin(shortest, Length(pts[i]));
  EXPECT_LT(shortest, 0.99f);
  PageFree(tris);
  PageFree(pts);
}

TEST(Drape, GoldenFrames) {
  int checked = 0;  // Phong at both depths and the turned set at 16 bits
  EXPECT_EQ(CheckGoldenFrames("drape", checked), "");
  EXPECT_EQ(checked, 9);
}

}  // namespace

#include "ui/panel.h"
#include "variants/drape/drape_render.h"

namespace {

TEST(Drape, EventFlagStubSwitchesHoverOffOnlyForADrawNotToBeDrawn) {
  PF_EventExtra event{};
  PanelNoHover = 0;
  EXPECT_EQ(EventFlagStub(nullptr, nullptr, nullptr, nullptr, &event), PF_Err_NONE);
  EXPECT_EQ(PanelNoHover, 0);
  event.evt_in_flags = PF_EI_DONT_DRAW;
  EXPECT_EQ(EventFlagStub(nullptr, nullptr, nullptr, nullptr, &event), PF_Err_NONE);
  EXPECT_EQ(PanelNoHover, 1);
}

}  // namespace
