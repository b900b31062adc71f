#include "host/host.h"
#include "tests/host/param_table.h"

namespace {
// Theatre's table with Tableau's four rows.
std::vector<ExpectedParam> TableauTable() {
  std::vector<ExpectedParam> t = TheatreTable();
  t[PARAM_BLIND_FREQUENCY - 1] = Popup("Blind rrequency", 3, 1, BLINDS);
  t[PARAM_MOTION_SPEED - 1] = Fix("Motion speed", F(-1000), F(1000), F(-10), F(10), 0);
  t[PARAM_CHECK_SELF_INTERSECTION - 1] = Check("Check self intersection", 1);
  t[PARAM_SHININESS - 1] = Fix("Shininess", F(-1000), F(1000), 0, F(100), F(20));
  return t;
}
}  // namespace

TEST(TableauParams, RegistersTheTheatreTableWithItsFourRows) {
  HostContext ctx;
  ASSERT_EQ(RunParamsSetup(ctx), PF_Err_NONE);
  EXPECT_EQ(ctx.add_param_calls, 47);
  ExpectRegistered(ctx.registered, TableauTable());
  ExpectPanelRegistered(ctx, 48);
  // what differs from Theatre, spelled out
  EXPECT_EQ(Name(ctx.registered[PARAM_MOTION_SPEED - 1]), "Motion speed");
  EXPECT_EQ(ctx.registered[PARAM_CHECK_SELF_INTERSECTION - 1].u.bd.value, 1);
  EXPECT_EQ(ctx.registered[PARAM_CHECK_SELF_INTERSECTION - 1].flags, 1);
}

TEST(TableauParams, FailuresStopAtOnceAndRegisterUiDecides) { ExpectRegistrationFailures(47); }
