// The parameter tables the three plug-ins must register, written out as the
// host sees them (16.16 values as raw integers), and a field-by-field check
// of what a recording host received.
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "sdk/AE_Effect.h"
#include "testhost/host_context.h"

// 16.16 of a whole number, by plain multiplication.
constexpr A_long F(A_long whole) { return whole * 65536; }

struct ExpectedParam {
  PF_ParamType type;
  std::string name;  // for group ends: the carried-over label
  // slider / fixed slider: valid min, max, slider min, max, default
  // popup: choices, default; angle: default; point: x, y default (percent);
  // checkbox: default; colour: red, green, blue; layer: id
  A_long a = 0, b = 0, c = 0, d = 0, e = 0;
  std::string text;  // popup choices
};

inline ExpectedParam Slider(const char* n, A_long a, A_long b, A_long c, A_long d, A_long e) {
  return {PF_Param_SLIDER, n, a, b, c, d, e, ""};
}
inline ExpectedParam Fix(const char* n, A_long a, A_long b, A_long c, A_long d, A_long e) {
  return {PF_Param_FIX_SLIDER, n, a, b, c, d, e, ""};
}
inline ExpectedParam Popup(const char* n, A_long count, A_long dflt, const char* choices) {
  return {PF_Param_POPUP, n, count, dflt, 0, 0, 0, choices};
}
inline ExpectedParam Angle(const char* n, A_long dflt) { return {PF_Param_ANGLE, n, dflt, 0, 0, 0, 0, ""}; }
inline ExpectedParam Point(const char* n, A_long x, A_long y) { return {PF_Param_POINT, n, x, y, 0, 0, 0, ""}; }
inline ExpectedParam Check(const char* n, A_long dflt) { return {PF_Param_CHECKBOX, n, dflt, 0, 0, 0, 0, ""}; }
inline ExpectedParam Color(const char* n, A_long r, A_long g, A_long b) { return {PF_Param_COLOR, n, r, g, b, 0, 0, ""}; }
inline ExpectedParam Layer(const char* n, A_long id) { return {PF_Param_LAYER, n, id, 0, 0, 0, 0, ""}; }
inline ExpectedParam Group(const char* n) { return {PF_Param_GROUP_START, n, 0, 0, 0, 0, 0, ""}; }
inline ExpectedParam GroupEnd(const char* carried) { return {PF_Param_GROUP_END, carried, 0, 0, 0, 0, 0, ""}; }
inline ExpectedParam Information() { return {PF_Param_NO_DATA, "Information", 0, 0, 0, 0, 0, ""}; }

constexpr const char* RENDER_MODES = "Rough|Line|Wire|Flat|Phong|Patches|Bezier";
constexpr const char* BLINDS = "Rare|Medium|Frequently";

inline std::vector<ExpectedParam> TheatreTable() {
  return {
      Information(),
      Popup("Rendering mode", 7, 5, RENDER_MODES),
      Popup("Blind frequency", 3, 1, BLINDS),
      Slider("Mesh size X", 2, 1000, 20, 150, 40),
      Slider("Mesh size Y", 2, 1000, 20, 150, 40),
      Fix("Motion speed ", F(-1000), F(1000), F(-10), F(10), 163840),
      Fix("Folding speed", F(-1000), F(1000), F(-10), F(10), 163840),
      Fix("Weight", F(-1000), F(1000), 0, F(100), F(10)),
      Fix("Gravity force", F(-1000), F(1000), 0, F(20), 642253),
      Fix("Wind force", F(-1000), F(1000), 0, F(200), 0),
      Angle("Wind direction XY", F(90)),
      Fix("Wind direction XZ", F(-1000), F(1000), F(-180), F(180), 6554),
      Fix("Accelerator", F(-1000), F(1000), F(50), F(150), F(100)),
      Point("Position", F(50), F(50)),
      Fix("Scale X", 66, F(1000), F(10), F(150), F(100)),
      Fix("Scale Y", 66, F(1000), F(10), F(150), F(100)),
      Angle("Rotation X", 0),
      Angle("Rotation Y", 0),
      Angle("Rotation Z", 0),
      Check("Check self intersection", 0),
      Check("Time dependent preview", 0),
      Group("Material"),
      Color("Diffuse", 128, 128, 128),
      Color("Specular", 255, 255, 255),
      Fix("Shininess", F(-1000), F(1000), 0, F(100), F(15)),
      Fix("Shine strength", F(-1000), F(1000), 0, F(500), 0),
      Fix("Self illumination", F(-1000), F(1000), 0, F(100), F(25)),
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

// Runs the linked-in ParamsSetup against a fresh recording host.
inline PF_Err RunParamsSetup(HostContext& ctx) {
  extern PF_Err ParamsSetup(PF_InData*, PF_OutData*, PF_ParamDef*[], PF_LayerDef*);
  HostContextInit(ctx);
  return ParamsSetup(&ctx.in_data, &ctx.out_data, nullptr, nullptr);
}

inline std::string Name(const PF_ParamDef& d) { return std::string(d.name, strnlen(d.name, sizeof d.name)); }

// Every field the table and the carry-over rules fix. Flags: 0 before the
// parameter named "Check self intersection", 1 from it on; id: 0 before the
// first layer, then the last layer's id.
inline void ExpectRegistered(const std::vector<PF_ParamDef>& got, const std::vector<ExpectedParam>& want) {
  ASSERT_EQ(got.size(), want.size());
  A_long flags = 0, id = 0;
  for (size_t i = 0; i < want.size(); ++i) {
    const PF_ParamDef& d = got[i];
    const ExpectedParam& w = want[i];
    SCOPED_TRACE("parameter " + std::to_string(i + 1) + " \"" + w.name + "\"");
    if (w.name == "Check self intersection") flags = 1;  // the host's reserved bit, as always sent
    if (w.type == PF_Param_LAYER) id = w.a;
    EXPECT_EQ(d.param_type, w.type);
    EXPECT_EQ(Name(d), w.name);
    EXPECT_EQ(d.flags, flags);
    EXPECT_EQ(d.uu.id, id);
    if (i == 0) {
      EXPECT_EQ(d.ui_flags, PF_PUI_CONTROL);
      EXPECT_EQ(d.ui_width, 385);
      EXPECT_EQ(d.ui_height, 125);
    } else {
      EXPECT_EQ(d.ui_flags, 0);
      EXPECT_EQ(d.ui_width, 0);
      EXPECT_EQ(d.ui_height, 0);
    }
    switch (w.type) {
      case PF_Param_SLIDER:
        EXPECT_EQ(d.u.sd.valid_min, w.a);
        EXPECT_EQ(d.u.sd.valid_max, w.b);
        EXPECT_EQ(d.u.sd.slider_min, w.c);
        EXPECT_EQ(d.u.sd.slider_max, w.d);
        EXPECT_EQ(d.u.sd.dephault, w.e);
        EXPECT_EQ(d.u.sd.value, w.e);
        EXPECT_EQ(d.u.sd.value_str[0], 0);
        EXPECT_EQ(d.u.sd.value_desc[0], 0);
        break;
      case PF_Param_FIX_SLIDER:
        EXPECT_EQ(d.u.fd.valid_min, w.a);
        EXPECT_EQ(d.u.fd.valid_max, w.b);
        EXPECT_EQ(d.u.fd.slider_min, w.c);
        EXPECT_EQ(d.u.fd.slider_max, w.d);
        EXPECT_EQ(d.u.fd.dephault, w.e);
        EXPECT_EQ(d.u.fd.value, w.e);
        EXPECT_EQ(d.u.fd.precision, 2);
        EXPECT_EQ(d.u.fd.display_flags, 0);
        EXPECT_EQ(d.u.fd.value_str[0], 0);
        EXPECT_EQ(d.u.fd.value_desc[0], 0);
        break;
      case PF_Param_POPUP:
        EXPECT_EQ(d.u.pd.num_choices, w.a);
        EXPECT_EQ(d.u.pd.dephault, w.b);
        EXPECT_EQ(d.u.pd.value, w.b);
        ASSERT_NE(d.u.pd.u.namesptr, nullptr);
        EXPECT_STREQ(d.u.pd.u.namesptr, w.text.c_str());
        break;
      case PF_Param_ANGLE:
        EXPECT_EQ(d.u.ad.dephault, w.a);
        EXPECT_EQ(d.u.ad.value, w.a);
        break;
      case PF_Param_POINT:
        EXPECT_EQ(d.u.td.x_dephault, w.a);
        EXPECT_EQ(d.u.td.y_dephault, w.b);
        EXPECT_EQ(d.u.td.x_value, w.a);
        EXPECT_EQ(d.u.td.y_value, w.b);
        EXPECT_EQ(d.u.td.restrict_bounds, 0);
        break;
      case PF_Param_CHECKBOX:
        EXPECT_EQ(d.u.bd.value, w.a);
        EXPECT_EQ(d.u.bd.dephault, w.a);
        ASSERT_NE(d.u.bd.u.nameptr, nullptr);
        EXPECT_STREQ(d.u.bd.u.nameptr, "");
        break;
      case PF_Param_COLOR:
        EXPECT_EQ(d.u.cd.value.red, w.a);
        EXPECT_EQ(d.u.cd.value.green, w.b);
        EXPECT_EQ(d.u.cd.value.blue, w.c);
        EXPECT_EQ(d.u.cd.value.alpha, 0);
        EXPECT_EQ(0, std::memcmp(&d.u.cd.value, &d.u.cd.dephault, sizeof(PF_Pixel)));
        break;
      case PF_Param_LAYER:
        EXPECT_EQ(d.u.ld.dephault, PF_LayerDefault_NONE);
        break;
      default:
        break;
    }
  }
}

// The panel registration that follows the parameters.
inline void ExpectPanelRegistered(const HostContext& ctx, A_long num_params) {
  EXPECT_EQ(ctx.register_ui_calls, 1);
  EXPECT_EQ(ctx.num_params_at_register_ui, num_params);
  EXPECT_EQ(ctx.out_data.num_params, num_params);
  ASSERT_EQ(ctx.ui_registrations.size(), 1u);
  const PF_CustomUIInfo& ui = ctx.ui_registrations[0];
  EXPECT_EQ(ui.events, 7);
  EXPECT_EQ(ui.events, PF_CustomEFlag_COMP | PF_CustomEFlag_LAYER | PF_CustomEFlag_EFFECT);
  EXPECT_EQ(ui.comp_ui_width, 0);
  EXPECT_EQ(ui.comp_ui_height, 0);
  EXPECT_EQ(ui.comp_ui_alignment, 0);
  EXPECT_EQ(ui.layer_ui_width, 0);
  EXPECT_EQ(ui.layer_ui_height, 0);
  EXPECT_EQ(ui.layer_ui_alignment, 0);
  EXPECT_EQ(ui.preview_ui_width, 0);
  EXPECT_EQ(ui.preview_ui_height, 0);
}

// The failure paths every ParamsSetup shares.
inline void ExpectRegistrationFailures(size_t total) {
  {  // the 10th add_param fails: nine stay registered, no panel
    HostContext ctx;
    HostContextInit(ctx);
    ctx.fail_add_param = HostFault{10, false, 1234};
    extern PF_Err ParamsSetup(PF_InData*, PF_OutData*, PF_ParamDef*[], PF_LayerDef*);
    EXPECT_EQ(ParamsSetup(&ctx.in_data, &ctx.out_data, nullptr, nullptr), 1234);
    EXPECT_EQ(ctx.add_param_calls, 10);
    EXPECT_EQ(ctx.registered.size(), 9u);
    EXPECT_EQ(ctx.register_ui_calls, 0);
    EXPECT_EQ(ctx.out_data.num_params, 0);
  }
  {  // the first and the last add_param
    for (int64_t at : {int64_t(1), int64_t(total)}) {
      HostContext ctx;
      HostContextInit(ctx);
      ctx.fail_add_param = HostFault{at, false, PF_Err_OUT_OF_MEMORY};
      extern PF_Err ParamsSetup(PF_InData*, PF_OutData*, PF_ParamDef*[], PF_LayerDef*);
      EXPECT_EQ(ParamsSetup(&ctx.in_data, &ctx.out_data, nullptr, nullptr), PF_Err_OUT_OF_MEMORY);
      EXPECT_EQ(ctx.registered.size(), size_t(at - 1));
      EXPECT_EQ(ctx.register_ui_calls, 0);
    }
  }
  {  // register_ui's result is the command's
    HostContext ctx;
    HostContextInit(ctx);
    ctx.register_ui_result = 77;
    extern PF_Err ParamsSetup(PF_InData*, PF_OutData*, PF_ParamDef*[], PF_LayerDef*);
    EXPECT_EQ(ParamsSetup(&ctx.in_data, &ctx.out_data, nullptr, nullptr), 77);
    EXPECT_EQ(ctx.registered.size(), total);
  }
}
