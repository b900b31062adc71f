#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "sdk/AE_EffectSuites.h"
#include "testhost/host_context.h"
#include "testhost/host_traps.h"
#include "testhost/panel_host.h"

namespace {
struct HostContextTest : ::testing::Test {
  HostContext ctx;
  void SetUp() override { HostContextInit(ctx); }
  void TearDown() override {
    HostContextReleaseHandles(ctx);
    HostContextActivate(nullptr);
  }
  PF_UtilCallbacks& U() { return *ctx.in_data.utils; }
};
}  // namespace

TEST_F(HostContextTest, HandlesAreCountedAndNotZeroFilled) {
  PF_Handle h = U().host_new_handle(80);
  ASSERT_NE(h, nullptr);
  ASSERT_NE(HostFindHandle(ctx, h), nullptr);
  EXPECT_EQ(HostFindHandle(ctx, h)->size, 80u);
  unsigned char* p = static_cast<unsigned char*>(U().host_lock_handle(h));
  ASSERT_EQ(static_cast<void*>(p), *h);
  EXPECT_EQ(p[0], 0xA5);  // a plug-in that relies on zeros shows up
  EXPECT_EQ(p[79], 0xA5);
  std::memset(p, 0, 80);
  U().host_unlock_handle(h);
  EXPECT_EQ(ctx.handles.size(), 1u);
  U().host_dispose_handle(h);
  EXPECT_TRUE(ctx.handles.empty());
  EXPECT_EQ(ctx.handles_made, 1);
  EXPECT_EQ(ctx.handles_disposed, 1);
  EXPECT_EQ(ctx.misuse, 0);
}

TEST_F(HostContextTest, MisusedHandlesAreReportedNotFollowed) {
  PF_Handle h = U().host_new_handle(8);
  U().host_dispose_handle(h);
  U().host_dispose_handle(h);  // twice
  EXPECT_EQ(U().host_lock_handle(h), nullptr);
  void* block = nullptr;
  PF_Handle foreign = &block;
  EXPECT_EQ(U().host_lock_handle(foreign), nullptr);
  PF_Handle g = U().host_new_handle(8);
  U().host_unlock_handle(g);  // never locked
  EXPECT_EQ(ctx.misuse, 4);
  EXPECT_EQ(ctx.misuse_log.size(), 4u);
}

TEST_F(HostContextTest, HandleFailuresFireAtTheirCall) {
  ctx.fail_new_handle = HostFault{2, false, 0};
  PF_Handle a = U().host_new_handle(4);
  PF_Handle b = U().host_new_handle(4);
  PF_Handle c = U().host_new_handle(4);
  EXPECT_NE(a, nullptr);
  EXPECT_EQ(b, nullptr);
  EXPECT_NE(c, nullptr);
  ctx.fail_new_handle = HostFault{4, true, 0};  // from the 4th call on
  EXPECT_EQ(U().host_new_handle(4), nullptr);
  EXPECT_EQ(U().host_new_handle(4), nullptr);
  EXPECT_EQ(U().host_new_handle(uint64_t(1) << 40), nullptr);
  EXPECT_EQ(HostContextReleaseHandles(ctx), 2);
}

TEST_F(HostContextTest, CheckoutsAreCountedAndCanFail) {
  ctx.checkout = [](PF_ParamIndex index, A_long, A_long, A_u_long, PF_ParamDef* def) {
    std::memset(def, 0, sizeof *def);
    def->u.sd.value = index * 10;
    return PF_Err_NONE;
  };
  ctx.fail_checkout = HostFault{2, false, 33};
  PF_ParamDef d;
  PF_InteractCallbacks& in = ctx.in_data.inter;
  EXPECT_EQ(in.checkout_param(ctx.in_data.effect_ref, 3, 0, 1, 25, &d), 0);
  EXPECT_EQ(d.u.sd.value, 30);
  EXPECT_EQ(in.checkout_param(ctx.in_data.effect_ref, 3, 0, 1, 25, &d), 33);
  EXPECT_EQ(ctx.checkouts_open, 1);
  EXPECT_EQ(in.checkin_param(ctx.in_data.effect_ref, &d), 0);
  EXPECT_EQ(in.checkin_param(ctx.in_data.effect_ref, &d), 0);  // the failed one
  EXPECT_EQ(ctx.checkouts_open, 0);
}

TEST_F(HostContextTest, OnlyRegisteredSuitesAreAvailable) {
  const SPBasicSuite* basic = ctx.in_data.pica_basicP;
  const void* suite = &basic;
  EXPECT_EQ(basic->AcquireSuite(kPFAppSuite, kPFAppSuiteVersion4, &suite), kSPSuiteNotFoundError);
  EXPECT_EQ(suite, nullptr);
  PFAppSuite4 app;
  std::memset(&app, 0, sizeof app);
  ctx.suites.push_back({kPFAppSuite, 6, &app});
  EXPECT_EQ(basic->AcquireSuite(kPFAppSuite, 5, &suite), kSPSuiteNotFoundError);  // another version
  EXPECT_EQ(basic->AcquireSuite(kPFAppSuite, 6, &suite), kSPNoError);
  EXPECT_EQ(suite, &app);
  EXPECT_EQ(basic->ReleaseSuite(kPFAppSuite, 6), kSPNoError);
  EXPECT_EQ(ctx.suites_acquired, 1);
  EXPECT_EQ(ctx.suites_released, 1);
  EXPECT_EQ(ctx.suite_requests.size(), 3u);
  EXPECT_EQ(basic->AcquireSuite(nullptr, 1, &suite), kSPBadParameterError);
}

TEST_F(HostContextTest, PlatformDataAnswersTheMainWindowOnly) {
  int stand_in = 0;
  ctx.main_window = &stand_in;
  void* window = nullptr;
  EXPECT_EQ(U().get_platform_data(ctx.in_data.effect_ref, PF_PlatData_MAIN_WND, &window), 0);
  EXPECT_EQ(window, &stand_in);
  EXPECT_NE(U().get_platform_data(ctx.in_data.effect_ref, 99, &window), 0);
}

TEST_F(HostContextTest, RegistrationIsRecorded) {
  PF_ParamDef d;
  std::memset(&d, 0, sizeof d);
  d.param_type = PF_Param_SLIDER;
  ctx.fail_add_param = HostFault{2, false, 9};
  EXPECT_EQ(ctx.in_data.inter.add_param(ctx.in_data.effect_ref, -1, &d), 0);
  EXPECT_EQ(ctx.in_data.inter.add_param(ctx.in_data.effect_ref, -1, &d), 9);
  EXPECT_EQ(ctx.in_data.inter.add_param(ctx.in_data.effect_ref, 5, &d), 0);  // not appending
  EXPECT_EQ(ctx.registered.size(), 2u);
  EXPECT_EQ(ctx.misuse, 1);
  ctx.out_data.num_params = 3;
  PF_CustomUIInfo ui;
  std::memset(&ui, 0, sizeof ui);
  EXPECT_EQ(ctx.in_data.inter.register_ui(ctx.in_data.effect_ref, &ui), 0);
  EXPECT_EQ(ctx.num_params_at_register_ui, 3);
}

namespace {
// Walks a table word by word: the words at `used` hold the host's own
// functions, those at `data` are no functions, every other word is a trap.
void ExpectTraps(const char* table_name, const void* table, size_t size, std::set<size_t> used,
                 std::set<size_t> data = {}) {
  SCOPED_TRACE(table_name);
  for (size_t at = 0; at + 8 <= size; at += 8) {
    if (data.count(at)) continue;
    const void* fn = nullptr;
    std::memcpy(&fn, static_cast<const char*>(table) + at, sizeof fn);
    EXPECT_NE(fn, nullptr) << "slot at " << at;
    EXPECT_EQ(HostIsTrap(fn), used.count(at) == 0) << "slot at " << at;
  }
}

struct TrapRecorder {
  HostTrapHookFn saved = HostTrapHook;
  std::vector<std::string> calls;
  static TrapRecorder* Active;
  TrapRecorder() {
    Active = this;
    HostTrapHook = [](const char* slot) { Active->calls.push_back(slot); };
  }
  ~TrapRecorder() { HostTrapHook = saved; }
};
TrapRecorder* TrapRecorder::Active = nullptr;
}  // namespace

// The test host's tables are full: the plug-ins' functions in their slots,
// a trap in every other one, the panel's suites and event callbacks too.
TEST_F(HostContextTest, EverySlotThePlugInsMustNotCallIsATrap) {
  ExpectTraps("PF_InteractCallbacks", &ctx.in_data.inter, offsetof(PF_InteractCallbacks, reserved_str),
              {offsetof(PF_InteractCallbacks, checkout_param), offsetof(PF_InteractCallbacks, checkin_param),
               offsetof(PF_InteractCallbacks, add_param), offsetof(PF_InteractCallbacks, register_ui)});
  ExpectTraps("PF_UtilCallbacks", &ctx.utils, sizeof ctx.utils,
              {offsetof(PF_UtilCallbacks, host_new_handle), offsetof(PF_UtilCallbacks, host_lock_handle),
               offsetof(PF_UtilCallbacks, host_unlock_handle), offsetof(PF_UtilCallbacks, host_dispose_handle),
               offsetof(PF_UtilCallbacks, ansi.strcpy), offsetof(PF_UtilCallbacks, get_platform_data)},
              {offsetof(PF_UtilCallbacks, get_batch_func_is_deprecated), offsetof(PF_UtilCallbacks, ansi.ansi_procs),
               offsetof(PF_UtilCallbacks, reserved)});
  ExpectTraps("SPBasicSuite", &ctx.basic, sizeof ctx.basic,
              {offsetof(SPBasicSuite, AcquireSuite), offsetof(SPBasicSuite, ReleaseSuite)});

  PanelHost host;
  PanelHostInit(host, ctx);
  ExpectTraps("PF_EffectCustomUISuite1", &host.custom_ui, sizeof host.custom_ui, {0});
  ExpectTraps("DRAWBOT_DrawbotSuite1", &host.draw, sizeof host.draw, {0, 8});
  ExpectTraps("DRAWBOT_SupplierSuite1", &host.supplier, sizeof host.supplier,
              {offsetof(DRAWBOT_SupplierSuite1, NewImageFromBuffer), offsetof(DRAWBOT_SupplierSuite1, ReleaseObject)});
  ExpectTraps("DRAWBOT_SurfaceSuite1", &host.surface, sizeof host.surface,
              {offsetof(DRAWBOT_SurfaceSuite1, DrawImage)});
  ExpectTraps("DRAWBOT_PathSuite1", &host.path, sizeof host.path, {});
  ExpectTraps("PFAppSuite4", &host.app, sizeof host.app, {offsetof(PFAppSuite4, PF_InvalidateRect)});
  const PF_EventExtra e = PanelHostDrawEvent(host);
  ExpectTraps("PF_EventCallbacks", &e.cbs, sizeof e.cbs, {}, {offsetof(PF_EventCallbacks, refcon)});
  PanelHostDone(host);
}

// A call of a trap is recorded under its slot's name, counted as misuse,
// handed to the hook (which fails the running test outside this one) and
// answered with an error.
TEST_F(HostContextTest, ATrapRecordsTheCallAndAnswersAnError) {
  TrapRecorder recorder;
  const int64_t before = HostTrapCalls();
  PF_Pixel rgb = {};
  A_long hue = 0;
  EXPECT_EQ(U().colorCB.Hue(ctx.in_data.effect_ref, &rgb, &hue), PF_Err_INVALID_CALLBACK);
  char text[8] = {};
  EXPECT_EQ(U().ansi.sprintf(text, "%d", 1), PF_Err_INVALID_CALLBACK);
  EXPECT_EQ(U().ansi.sin(1.0), 0.0);
  EXPECT_EQ(U().host_get_handle_size(nullptr), A_HandleSize(PF_Err_INVALID_CALLBACK));
  EXPECT_EQ(ctx.in_data.inter.abort(ctx.in_data.effect_ref), PF_Err_INVALID_CALLBACK);
  void* block = nullptr;
  EXPECT_NE(ctx.basic.AllocateBlock(16, &block), kSPNoError);
  EXPECT_EQ(block, nullptr);
  EXPECT_EQ(recorder.calls,
            (std::vector<std::string>{"colorCB.Hue", "ansi.sprintf", "ansi.sin", "host_get_handle_size", "abort",
                                      "AllocateBlock"}));
  EXPECT_EQ(HostTrapCalls() - before, 6);
  EXPECT_EQ(HostLastTrap(), "AllocateBlock");
  EXPECT_EQ(ctx.misuse, 6);
  ASSERT_FALSE(ctx.misuse_log.empty());
  EXPECT_EQ(ctx.misuse_log[0], "the plug-in called colorCB.Hue, which it must not call");
  ctx.misuse = 0;
}
