// "Time dependent preview" resumed from checkpoints against the full replay
// from rest: every scenario runs twice, once with checkpoints and once
// without (the reference), and after every render the two runs must agree
// bit for bit on the frame, the cloth arrays a later render reads (both
// position buffers, the normals, the accelerations, the rest state, the
// constraints), the buffers' roles (ClothCur, ClothPrev, savedPrevious,
// savedCurrent), the rod speed globals and the host calls (every checkout
// with its time and result, every check-in). The scenarios of render order
// and host events run at three checkpoint budgets (room for every frame, a
// few slots, one slot); the change of each parameter with room for all.
//
// Built once per plug-in: the rod-driven ones read the speeds from the host
// at each frame; Drape's replay reads nothing.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "cloth/checkpoint.h"
#include "host/cloth_cache.h"
#include "host/render_frame.h"
#include "platform/page_memory.h"
#include "tests/render/render_rig.h"

namespace {

#if defined(VELARRA_PLUGIN_DRAPE)
constexpr bool ROD = false;
#else
constexpr bool ROD = true;
#endif

constexpr int W = 32, H = 18;

// ---- the host calls ---------------------------------------------------------

using CheckoutCall = decltype(PF_InteractCallbacks::checkout_param);
using CheckinCall = decltype(PF_InteractCallbacks::checkin_param);
CheckoutCall HostCheckout = nullptr;
CheckinCall HostCheckin = nullptr;
std::vector<int64_t> Calls;  // both instances' calls, in order

PF_Err LoggedCheckout(PF_ProgPtr ref, PF_ParamIndex index, A_long time, A_long step, A_u_long scale,
                      PF_ParamDef* def) {
  const PF_Err e = HostCheckout(ref, index, time, step, scale, def);
  Calls.insert(Calls.end(), {1, int64_t(reinterpret_cast<uintptr_t>(ref)), index, time, step, int64_t(scale), e});
  return e;
}

PF_Err LoggedCheckin(PF_ProgPtr ref, PF_ParamDef* def) {
  const PF_Err e = HostCheckin(ref, def);
  Calls.insert(Calls.end(), {2, int64_t(reinterpret_cast<uintptr_t>(ref)), def ? def->u.fd.value : -1, e});
  return e;
}

// ---- what a render leaves ---------------------------------------------------

uint64_t Fnv(const void* data, size_t bytes, uint64_t h = 1469598103934665603ull) {
  const unsigned char* p = static_cast<const unsigned char*>(data);
  for (size_t i = 0; i < bytes; ++i) h = (h ^ p[i]) * 1099511628211ull;
  return h;
}

int Role(const ClothParticle* p, const ClothCache& r) { return p == r.posA ? 1 : p == r.posB ? 2 : p ? 3 : 0; }

struct Observation {
  PF_Err result = 0;
  uint64_t frame = 0;
  uint64_t arrays[6] = {};  // posA, posB, normals, acc, rest, constraints
  int roles[4] = {};        // ClothCur, ClothPrev, savedPrevious, savedCurrent
  float speeds[2] = {};     // ClothMotionSpeed, ClothFoldingSpeed
  uint64_t calls = 0;
  size_t callCount = 0;
};

std::string Describe(const Observation& o) {
  char s[400];
  std::snprintf(s, sizeof s,
                "result %d frame %016llx arrays %016llx %016llx %016llx %016llx %016llx %016llx roles %d %d %d %d "
                "speeds %a %a calls %zu/%016llx",
                int(o.result), (unsigned long long)o.frame, (unsigned long long)o.arrays[0],
                (unsigned long long)o.arrays[1], (unsigned long long)o.arrays[2], (unsigned long long)o.arrays[3],
                (unsigned long long)o.arrays[4], (unsigned long long)o.arrays[5], o.roles[0], o.roles[1],
                o.roles[2], o.roles[3], double(o.speeds[0]), double(o.speeds[1]), o.callCount,
                (unsigned long long)o.calls);
  return s;
}

Observation Observe(RenderRig& rig, PF_Err result, size_t callsBefore) {
  Observation o;
  o.result = result;
  o.frame = rig.Hash();
  const ClothCache& r = *static_cast<const ClothCache*>(*rig.instance);
  const size_t n = size_t(r.arrayBytes);
  const void* arrays[5] = {r.posA, r.posB, r.normals, r.acc, r.rest};
  for (int k = 0; k < 5; ++k) o.arrays[k] = arrays[k] ? Fnv(arrays[k], n) : 0;
  o.arrays[5] = r.constraints ? Fnv(r.constraints, size_t(ClothConstraintCount) * sizeof(ClothConstraint)) : 0;
  o.roles[0] = Role(ClothCur, r);
  o.roles[1] = Role(ClothPrev, r);
  o.roles[2] = Role(r.savedPrevious, r);
  o.roles[3] = Role(r.savedCurrent, r);
  o.speeds[0] = ClothMotionSpeed;
  o.speeds[1] = ClothFoldingSpeed;
  o.callCount = Calls.size() - callsBefore;
  o.calls = Fnv(Calls.data() + callsBefore, o.callCount * sizeof(int64_t));
  return o;
}

// ---- scenarios ---------------------------------------------------------------

// One step of a scenario on instance `rig` (0 or 1): a render of `frame`, a
// parameter set to `value`, a flatten and re-set-up ("flatten"), or the
// host's checkout number `frame` from now failing ("fail").
struct Action {
  int rig;
  std::string what;  // "render", a parameter name, "flatten", "fail"
  int frame;
  std::string value;
};

Action R(int frame, int rig = 0) { return {rig, "render", frame, ""}; }
Action S(const std::string& name, const std::string& value, int rig = 0) { return {rig, name, 0, value}; }

struct Scenario {
  std::string name;
  std::vector<Action> actions;
  bool everyBudget = true;  // false: only with room for every frame
};

// The rig's settings before every scenario: the preview on; a small grid
// wide enough for "Blind frequency" to move the ties; a heavy cloth in a
// strong wind, so that it folds onto itself within a few frames and the
// repulsion acts; rod speeds that change from frame to frame.
void BaseSettings(RenderRig& rig) {
  rig.Set("Mesh size X", "11");
  rig.Set("Mesh size Y", "5");
  rig.Set("Time dependent preview", "on");
  rig.Set("Check self intersection", "on");
  rig.Set("Weight", "100");
  rig.Set("Wind force", "600");
  if (ROD) {
    rig.Set("Motion speed", "0:2.5,9:-4");
    rig.Set("Folding speed", "0:0,9:5");
  } else {
    rig.Set("Drape fixation", "Top corners");
  }
}

struct Outcome {
  std::vector<Observation> seen;
  std::vector<std::vector<int32_t>> checkpoints;  // instance 0's frames after each render
};

// The frames the instance's arrays have checkpoints at.
std::vector<int32_t> CheckpointFrames(RenderRig& rig) {
  std::vector<int32_t> frames(CLOTH_CHECKPOINT_MAX_SLOTS);
  if (!rig.instance) return {};
  const ClothCache& r = *static_cast<const ClothCache*>(*rig.instance);
  frames.resize(size_t(ClothCheckpointFrames(ClothCheckpointsOf(r.rest), frames.data(), CLOTH_CHECKPOINT_MAX_SLOTS)));
  return frames;
}

// Runs a scenario with the checkpoints on or off; with them on, checks
// after every render that each store stays within its budget.
Outcome Play(const Scenario& sc, bool checkpoints, int64_t minBudget) {
  ClothReplayCheckpoints = checkpoints ? 1 : 0;
  ClothCheckpointMinBudget = minBudget;
  Calls.clear();
  Outcome run;
  const int64_t live = PageLiveBlocks();
  {
    RenderRig rigs[2] = {RenderRig(W, H), RenderRig(W, H)};
    for (RenderRig& rig : rigs) {
      EXPECT_TRUE(rig.Start());
      BaseSettings(rig);
      HostCheckout = rig.ctx.in_data.inter.checkout_param;
      HostCheckin = rig.ctx.in_data.inter.checkin_param;
      rig.ctx.in_data.inter.checkout_param = LoggedCheckout;
      rig.ctx.in_data.inter.checkin_param = LoggedCheckin;
    }
    for (const Action& a : sc.actions) {
      RenderRig& rig = rigs[a.rig];
      if (a.what == "render") {
        const size_t before = Calls.size();
        const PF_Err e = rig.Render(a.frame);
        run.seen.push_back(Observe(rig, e, before));
        for (RenderRig& each : rigs) {
          if (!each.instance) continue;
          const ClothCache& r = *static_cast<const ClothCache*>(*each.instance);
          const ClothCheckpoints* store = ClothCheckpointsOf(r.rest);
          if (!checkpoints) {
            EXPECT_EQ(store, nullptr);
            continue;
          }
          const int64_t budget = minBudget > 4 * int64_t(r.arrayBytes) ? minBudget : 4 * int64_t(r.arrayBytes);
          EXPECT_LE(ClothCheckpointBytes(store), budget) << "after render " << run.seen.size();
        }
        run.checkpoints.push_back(CheckpointFrames(rigs[0]));
      } else if (a.what == "flatten") {
        EXPECT_EQ(rig.Flatten(), PF_Err_NONE);
        EXPECT_EQ(rig.Resetup(), PF_Err_NONE);
      } else if (a.what == "fail") {
        rig.ctx.fail_checkout.at = rig.ctx.checkout_calls + a.frame;
      } else {
        rig.Set(a.what, a.value);
      }
    }
  }
  // The checkpoints went with the arrays at every set-down.
  EXPECT_EQ(PageLiveBlocks(), live);
  ClothReplayCheckpoints = 1;
  ClothCheckpointMinBudget = int64_t(64) << 20;
  return run;
}

std::vector<Action> Frames(std::initializer_list<int> frames) {
  std::vector<Action> out;
  for (int f : frames) out.push_back(R(f));
  return out;
}

// A value other than the one params[] holds at frame 0, in the test host's
// syntax for the parameter's kind; empty for kinds that hold no value.
std::string OtherValue(const PF_ParamDef& d) {
  char s[64];
  switch (d.param_type) {
    case PF_Param_SLIDER:
      return std::to_string(d.u.sd.value + 1);
    case PF_Param_FIX_SLIDER:
      std::snprintf(s, sizeof s, "%.4f", d.u.fd.value / 65536.0 + 1.5);
      return s;
    case PF_Param_ANGLE:
      std::snprintf(s, sizeof s, "%.4f", d.u.ad.value / 65536.0 + 10.0);
      return s;
    case PF_Param_POPUP:
      return std::to_string(d.u.pd.value % d.u.pd.num_choices + 1);
    case PF_Param_CHECKBOX:
      return d.u.bd.value ? "off" : "on";
    case PF_Param_COLOR:
      return "10/20/30";
    case PF_Param_POINT:
      return "5/7";
    default:
      return "";
  }
}

std::vector<Scenario> Scenarios() {
  std::vector<Scenario> all = {
      {"in order", Frames({0, 1, 2, 3, 4, 5, 6, 7, 8, 9})},
      {"reverse", Frames({9, 8, 7, 6, 5, 4, 3, 2, 1, 0})},
      {"random", Frames({5, 9, 2, 7, 0, 8, 3, 6, 1, 4, 9, 5})},
      {"grid change", {R(6), S("Mesh size X", "8"), R(6), R(4), S("Mesh size X", "7"), R(6), R(7)}},
      {"flatten and re-set-up", {R(6), {0, "flatten", 0, ""}, R(6), R(3), R(8)}},
      {"two instances", {S("Weight", "3", 1), R(6, 0), R(6, 1), R(4, 0), R(8, 1), R(8, 0), R(2, 1), R(9, 0)}},
      {"preview off and on", {R(6), S("Time dependent preview", "off"), R(7), R(8), S("Time dependent preview", "on"),
                              R(8), R(5), S("Time dependent preview", "off"), R(6), R(0),
                              S("Time dependent preview", "on"), R(7)}},
      // A speed checkout below the checkpoint fails, so its step keeps the
      // speed of the step before (the render's own at the first step), then
      // a texture layer's. Checkouts of a render: the four layers, then
      // "Motion speed" and "Folding speed" for each step.
      {"failed checkout", {R(8), {0, "fail", 13, ""}, R(8), R(8), {0, "fail", 5, ""}, R(6), R(9),
                           {0, "fail", 2, ""}, R(7)}},
  };
  if (ROD) {
    all.push_back({"motion keyframe below the checkpoint",
                   {R(9), S("Motion speed", "0:2.5,3:1,9:-4"), R(9), R(7), R(4), R(9)}});
    all.push_back({"folding speed at the checkpoint's last frame",
                   {R(6), S("Folding speed", "0:0,5:3,9:5"), R(6), R(7)}});
  }
  // Any one other parameter changed between renders.
  RenderRig probe(W, H);
  EXPECT_TRUE(probe.Start());
  BaseSettings(probe);
  PF_ParamDef** params = probe.Params(0);
  for (PF_ParamIndex i = 1; i < PF_ParamIndex(probe.ctx.registered.size()) + 1; ++i) {
    const std::string name = probe.ctx.registered[size_t(i) - 1].name;
    const std::string value = OtherValue(*params[i]);
    if (value.empty() || name.empty() || name == "Time dependent preview") continue;
    all.push_back({"\"" + name + "\" changed", {R(6), R(3), S(name, value), R(5), R(6), R(8), R(2)}, false});
  }
  return all;
}

TEST(ReplayFromCheckpoints, MatchesTheFullReplayBitForBitWithTheSameHostCalls) {
  const int64_t budgets[] = {int64_t(64) << 20, 16 * 1024, 0};
  for (const Scenario& sc : Scenarios()) {
    for (int64_t budget : budgets) {
      if (!sc.everyBudget && budget != budgets[0]) continue;
      SCOPED_TRACE(sc.name + ", budget " + std::to_string(budget));
      const Outcome reference = Play(sc, false, budget);
      const Outcome resumed = Play(sc, true, budget);
      ASSERT_EQ(resumed.seen.size(), reference.seen.size());
      for (size_t k = 0; k < reference.seen.size(); ++k) {
        const std::string a = Describe(resumed.seen[k]), b = Describe(reference.seen[k]);
        EXPECT_EQ(a, b) << "render " << k + 1;
      }
    }
  }
}

// What the checkpoints save: in order with room for all, every frame
// replayed is kept and the next render steps only from the one before; a
// keyframe change drops the checkpoints after the frame it changes.
TEST(ReplayFromCheckpoints, KeepsEveryFrameItPassesAndDropsThoseAChangedSpeedInvalidates) {
  const Outcome ordered = Play({"", Frames({0, 3, 4, 6})}, true, int64_t(64) << 20);
  ASSERT_EQ(ordered.checkpoints.size(), 4u);
  EXPECT_EQ(ordered.checkpoints[0], std::vector<int32_t>{});
  EXPECT_EQ(ordered.checkpoints[1], (std::vector<int32_t>{1, 2, 3}));
  EXPECT_EQ(ordered.checkpoints[3], (std::vector<int32_t>{1, 2, 3, 4, 5, 6}));
  if (!ROD) return;
  // Frame 2's speeds change: checkpoints 1 and 2 stay valid, later ones are
  // made again from frame 2 on.
  const Outcome changed = Play({"", {R(6), S("Motion speed", "0:2.5,2:7,9:-4"), R(4)}}, true, int64_t(64) << 20);
  EXPECT_EQ(changed.checkpoints[1], (std::vector<int32_t>{1, 2, 3, 4}));
  // With one slot only the end of the latest replay is kept.
  const Outcome one = Play({"", Frames({5, 2, 7})}, true, 0);
  EXPECT_EQ(one.checkpoints[2], std::vector<int32_t>{7});
}

// A checkpoint that cannot be had is no error: the render replays from rest
// (or from what it has) and gives the reference frame.
TEST(ReplayFromCheckpoints, AllocationFailuresOnlyCostTheCheckpoints) {
  const Outcome reference = Play({"", Frames({0, 6})}, false, int64_t(64) << 20);
  // The first page allocation of the replay render is the store; with the
  // per-frame speeds the second is the speed history, the third the first
  // checkpoint; without them (Drape) the second is the first checkpoint.
  using FrameList = std::vector<int32_t>;
  const std::vector<FrameList> kept = ROD ? std::vector<FrameList>{{}, {}, {2, 3, 4, 5, 6}}
                                       : std::vector<FrameList>{{}, {2, 3, 4, 5, 6}, {1, 3, 4, 5, 6}};
  for (int64_t n = 0; n < 3; ++n) {
    SCOPED_TRACE(n);
    RenderRig rig(W, H);
    ASSERT_TRUE(rig.Start());
    BaseSettings(rig);
    ASSERT_EQ(rig.Render(0), PF_Err_NONE);
    PageFailAt(n);
    EXPECT_EQ(rig.Render(6), PF_Err_NONE);
    PageFailAt(-1);
    EXPECT_EQ(rig.Hash(), reference.seen[1].frame);
    EXPECT_EQ(CheckpointFrames(rig), kept[size_t(n)]);
  }
}

}  // namespace
