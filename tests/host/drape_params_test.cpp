#include "tests/host/param_table.h"
#include "variants/drape/drape_params.h"

namespace {
const char* FIXATIONS =
    "Free|Left corners|Top corners|Right corners|Bottom corners|All corners|Left tired|Top tired|Right tired|"
    "Bottom tired|All tired|Left solid|Top solid|Right solid|Bottom solid|All solid";

std::vector<ExpectedParam> DrapeTable() {
  return {
      Information(),
      Popup("Rendering mode", 7, 5, RENDER_MODES),
      Popup("Drape fixation", 16, 12, FIXATIONS),
      Slider("Mesh size X", 2, 1000, 20, 150, 40),
      Slider("Mesh size Y", 2, 1000, 20, 150, 40),
      Fix("Weight", F(-1000), F(1000), 0, F(10), 140902),
      Fix("Gravity force", F(-1000), F(1000), 0, F(20), 642253),
      Fix("Wind force", F(-1000), F(1000), 0, F(200), F(100)),
      Angle("Wind direction XY", F(90)),
      Fix("Wind direction XZ", F(-1000), F(1000), F(-180), F(180), 6554),
      Fix("Acceleration", F(-1000), F(1000), F(50), F(150), F(100)),
      Point("Position", F(50), F(50)),
      Fix("Scale X", 66, F(1000), F(10), F(150), F(100)),
      Fix("Scale Y", 66, F(1000), F(10), F(150), F(100)),
      Angle("Rotation X", 0),
      Angle("Rotation Y", 0),
      Angle("Rotation Z", 0),
      Check("Check self intersection", 1),
      Check("Time dependent preview", 0),
      Group("Material"),
      Color("Diffuse", 128, 128, 128),
      Color("Specular", 255, 255, 255),
      Fix("Shininess", F(-1000), F(1000), 0, F(100), F(15)),
      Fix("Shine strength", F(-1000), F(1000), 0, F(500), 0),
      Fix("Self illumination", F(-1000), F(1000), 0, F(100), F(30)),
      Fix("Transparancy", 0, F(100), 0, F(100), 0),
      Check("Glass", 0),
      Fix("Refraction", F(-1000), F(1000), F(-100), F(100), F(-50)),
      Fix("Optical coefficient", F(-1000), F(1000), F(-100), F(100), F(15)),
      Fix("Aberration", 0, F(1000), 0, F(100), F(20)),
      Layer("Texture", 1),
      Fix("Texture percent", F(-1000), F(1000), F(-100), F(100), F(100)),
      Layer("Texture bump", 2),
      Fix("Bump percent", F(-1000), F(1000), F(-100), F(100), F(10)),
      Layer("Texture opacity", 3),
      Fix("Opacity percent", F(-1000), F(1000), F(-100), F(100), F(100)),
      Layer("Texture reflection", 4),
      Fix("Reflection percent", 0, F(1000), 0, F(100), F(30)),
      GroupEnd("Reflection percent"),
      Group("Light"),
      Fix("Multiply", F(-1000), F(1000), 0, F(150), F(100)),
      Color("Light color", 255, 255, 255),
      Angle("Rotate UV", 0),
      Fix("Rotate WV", F(-10000), F(10000), 0, F(180), F(45)),
      GroupEnd("Rotate WV"),
  };
}
}  // namespace

TEST(DrapeParams, RegistersItsTableInOrderThenThePanel) {
  HostContext ctx;
  ASSERT_EQ(RunParamsSetup(ctx), PF_Err_NONE);
  EXPECT_EQ(ctx.add_param_calls, 45);
  ExpectRegistered(ctx.registered, DrapeTable());
  ExpectPanelRegistered(ctx, 46);
}

TEST(DrapeParams, IndicesSitTwoBelowTheatreFromWeightOn) {
  HostContext ctx;
  ASSERT_EQ(RunParamsSetup(ctx), PF_Err_NONE);
  const std::vector<PF_ParamDef>& r = ctx.registered;
  EXPECT_EQ(Name(r[PARAM_WEIGHT - 1]), "Weight");
  EXPECT_EQ(Name(r[PARAM_ROTATE_WV - 1]), "Rotate WV");
  EXPECT_EQ(r[PARAM_TEXTURE_PERCENT - 1].uu.id, 1);
  EXPECT_EQ(r[PARAM_ROTATE_WV - 1].uu.id, 4);
  EXPECT_EQ(r[PARAM_TIME_DEPENDENT_PREVIEW - 1].flags, 1);
  EXPECT_EQ(r[PARAM_ROTATION_Z - 1].flags, 0);
  EXPECT_EQ(Name(r[PARAM_MATERIAL_GROUP_END - 1]), "Reflection percent");
  EXPECT_EQ(Name(r[PARAM_LIGHT_GROUP_END - 1]), "Rotate WV");
}

TEST(DrapeParams, FailuresStopAtOnceAndRegisterUiDecides) { ExpectRegistrationFailures(45); }
