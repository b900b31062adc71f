#include <gtest/gtest.h>

#include <cstring>

#include "sdk/AE_EffectSuites.h"
#include "testhost/host_context.h"

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
  EXPECT_EQ(U().host_get_handle_size(h), 80u);
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
  EXPECT_EQ(U().host_get_handle_size(nullptr), 0u);
  PF_Handle g = U().host_new_handle(8);
  U().host_unlock_handle(g);  // never locked
  EXPECT_EQ(ctx.misuse, 5);
  EXPECT_EQ(ctx.misuse_log.size(), 5u);
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
  EXPECT_EQ(basic->AcquireSuite(kPFAppSuite, kPFAppSuiteVersion6, &suite), kSPSuiteNotFoundError);
  EXPECT_EQ(suite, nullptr);
  PFAppSuite6 app;
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
