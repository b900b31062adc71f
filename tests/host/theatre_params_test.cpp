#include "host/host.h"
#include "tests/host/param_table.h"

TEST(TheatreParams, RegistersTheTableInOrderThenThePanel) {
  HostContext ctx;
  ASSERT_EQ(RunParamsSetup(ctx), PF_Err_NONE);
  EXPECT_EQ(ctx.add_param_calls, 47);
  ExpectRegistered(ctx.registered, TheatreTable());
  ExpectPanelRegistered(ctx, 48);
  EXPECT_EQ(ctx.misuse, 0);
}

// The carry-over values the host is known to see, spelled out.
TEST(TheatreParams, CarriedOverFieldsReachTheHost) {
  HostContext ctx;
  ASSERT_EQ(RunParamsSetup(ctx), PF_Err_NONE);
  const std::vector<PF_ParamDef>& r = ctx.registered;  // r[i - 1] is params[i]
  for (int i = PARAM_RENDERING_MODE; i <= PARAM_ROTATION_Z; ++i) EXPECT_EQ(r[i - 1].flags, 0) << i;
  for (int i = PARAM_CHECK_SELF_INTERSECTION; i < PARAM_COUNT; ++i) EXPECT_EQ(r[i - 1].flags, 1) << i;
  EXPECT_EQ(r[PARAM_TIME_DEPENDENT_PREVIEW - 1].flags, 1);
  EXPECT_EQ(r[PARAM_TEXTURE_PERCENT - 1].uu.id, 1);
  EXPECT_EQ(r[PARAM_ROTATE_WV - 1].uu.id, 4);
  EXPECT_EQ(r[PARAM_ABERRATION - 1].uu.id, 0);
  EXPECT_EQ(Name(r[PARAM_MATERIAL_GROUP_END - 1]), "Reflection percent");
  EXPECT_EQ(Name(r[PARAM_LIGHT_GROUP_END - 1]), "Rotate WV");
  // 16.16 values the table gives as decimals
  EXPECT_EQ(r[PARAM_MOTION_SPEED - 1].u.fd.dephault, 163840);
  EXPECT_EQ(r[PARAM_ACCELERATOR - 1].u.fd.dephault, 6553600);
}

TEST(TheatreParams, FailuresStopAtOnceAndRegisterUiDecides) { ExpectRegistrationFailures(47); }

TEST(TheatreParams, EntryPointDispatchesParameterSetup) {
  HostContext ctx;
  HostContextInit(ctx);
  EXPECT_EQ(EntryPointFunc(PF_Cmd_PARAMS_SETUP, &ctx.in_data, &ctx.out_data, nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(ctx.registered.size(), 47u);
  EXPECT_EQ(ctx.out_data.num_params, 48);
}
