#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "testhost/param_values.h"

namespace {
PF_ParamDef Def(PF_ParamType type, const char* name) {
  PF_ParamDef d;
  std::memset(&d, 0, sizeof d);
  d.param_type = type;
  std::strncpy(d.name, name, sizeof d.name - 1);
  return d;
}

// params[1..9]
std::vector<PF_ParamDef> Registered() {
  std::vector<PF_ParamDef> r;
  PF_ParamDef d = Def(PF_Param_SLIDER, "Mesh size X");
  d.u.sd.dephault = 40;
  r.push_back(d);
  d = Def(PF_Param_FIX_SLIDER, "Motion speed ");
  d.u.fd.dephault = 163840;
  r.push_back(d);
  d = Def(PF_Param_POPUP, "Blind frequency");
  d.u.pd.num_choices = 3;
  d.u.pd.dephault = 1;
  d.u.pd.u.namesptr = "Rare|Medium|Frequently";
  r.push_back(d);
  d = Def(PF_Param_CHECKBOX, "Glass");
  r.push_back(d);
  d = Def(PF_Param_COLOR, "Diffuse");
  d.u.cd.dephault = {0, 128, 128, 128};
  r.push_back(d);
  d = Def(PF_Param_POINT, "Position");
  d.u.td.x_dephault = 50 * 65536;
  d.u.td.y_dephault = 25 * 65536;
  r.push_back(d);
  d = Def(PF_Param_ANGLE, "Rotation X");
  r.push_back(d);
  d = Def(PF_Param_LAYER, "Texture");
  r.push_back(d);
  d = Def(PF_Param_GROUP_END, "Glass");  // carries an earlier label
  r.push_back(d);
  return r;
}

PF_ParamDef At(const std::vector<PF_ParamDef>& r, const std::vector<ParamTrack>& t, PF_ParamIndex i, double frame) {
  PF_ParamDef d;
  ParamAtFrame(r, t, i, frame, 640, 360, d);
  return d;
}

ParamTrack Track(const std::vector<PF_ParamDef>& r, const char* name, const char* value) {
  ParamTrack t;
  std::string error;
  EXPECT_TRUE(ParseParamTrack(r, FindParam(r, name), value, t, error)) << error;
  return t;
}
}  // namespace

TEST(ParamValues, FindsParametersByLabelOrIndex) {
  std::vector<PF_ParamDef> r = Registered();
  EXPECT_EQ(FindParam(r, "motion speed"), 2);  // case and the trailing blank ignored
  EXPECT_EQ(FindParam(r, " Motion speed "), 2);
  EXPECT_EQ(FindParam(r, "Glass"), 4);  // not the group end carrying the label
  EXPECT_EQ(FindParam(r, "#6"), 6);
  EXPECT_EQ(FindParam(r, "9"), 9);
  EXPECT_EQ(FindParam(r, "#10"), -1);
  EXPECT_EQ(FindParam(r, "99999999999"), -1);
  EXPECT_EQ(FindParam(r, "Nope"), -1);
}

TEST(ParamValues, DefaultsAndPointPercentages) {
  std::vector<PF_ParamDef> r = Registered();
  EXPECT_EQ(At(r, {}, 1, 0).u.sd.value, 40);
  EXPECT_EQ(At(r, {}, 2, 0).u.fd.value, 163840);
  EXPECT_EQ(At(r, {}, 3, 0).u.pd.value, 1);
  EXPECT_EQ(At(r, {}, 5, 0).u.cd.value.green, 128);
  // (50 %, 25 %) of 640 x 360, in 16.16 layer pixels
  EXPECT_EQ(At(r, {}, 6, 0).u.td.x_value, 320 * 65536);
  EXPECT_EQ(At(r, {}, 6, 0).u.td.y_value, 90 * 65536);
}

TEST(ParamValues, KeyframesInterpolateLinearlyAndHoldOutside) {
  std::vector<PF_ParamDef> r = Registered();
  std::vector<ParamTrack> t = {Track(r, "Motion speed", "10:2,0:1")};  // given out of order
  EXPECT_EQ(At(r, t, 2, -5).u.fd.value, 65536);
  EXPECT_EQ(At(r, t, 2, 0).u.fd.value, 65536);
  EXPECT_EQ(At(r, t, 2, 5).u.fd.value, 98304);
  EXPECT_EQ(At(r, t, 2, 2.5).u.fd.value, 81920);
  EXPECT_EQ(At(r, t, 2, 10).u.fd.value, 131072);
  EXPECT_EQ(At(r, t, 2, 99).u.fd.value, 131072);
  // integer sliders round the interpolated value
  t = {Track(r, "Mesh size X", "0:0,3:1")};
  EXPECT_EQ(At(r, t, 1, 1).u.sd.value, 0);
  EXPECT_EQ(At(r, t, 1, 2).u.sd.value, 1);
  // points and colours by component
  t = {Track(r, "Position", "0:0/0,4:100/-40"), Track(r, "Diffuse", "0:#000000,2:10/20/255")};
  EXPECT_EQ(At(r, t, 6, 1).u.td.x_value, 25 * 65536);
  EXPECT_EQ(At(r, t, 6, 1).u.td.y_value, -10 * 65536);
  EXPECT_EQ(At(r, t, 5, 1).u.cd.value.red, 5);
  EXPECT_EQ(At(r, t, 5, 1).u.cd.value.blue, 128);  // 127.5 rounds up
}

TEST(ParamValues, ChoicesAndSwitchesHoldUntilTheNextKey) {
  std::vector<PF_ParamDef> r = Registered();
  std::vector<ParamTrack> t = {Track(r, "Blind frequency", "0:rare,10:Frequently"), Track(r, "Glass", "0:off,5:on")};
  EXPECT_EQ(At(r, t, 3, 9.9).u.pd.value, 1);
  EXPECT_EQ(At(r, t, 3, 10).u.pd.value, 3);
  EXPECT_EQ(At(r, t, 4, 4.99).u.bd.value, 0);
  EXPECT_EQ(At(r, t, 4, 5).u.bd.value, 1);
  t = {Track(r, "Blind frequency", "2")};  // by number
  EXPECT_EQ(At(r, t, 3, 0).u.pd.value, 2);
}

TEST(ParamValues, BadValuesAreRefusedWithTheLabel) {
  std::vector<PF_ParamDef> r = Registered();
  ParamTrack t;
  std::string error;
  struct Bad {
    PF_ParamIndex index;
    const char* value;
  } bad[] = {{2, "fast"},       {2, "nan"},      {2, "0:1,0:2"}, {2, "1:"},         {2, "x:1"},
             {3, "Sometimes"}, {3, "4"},        {3, "0"},       {4, "maybe"},      {5, "#GG0000"},
             {5, "300/0/0"},    {5, "1/2"},      {6, "10"},      {8, "file.png"},   {9, "1"}};
  for (const Bad& b : bad) {
    error.clear();
    EXPECT_FALSE(ParseParamTrack(r, b.index, b.value, t, error)) << b.value;
    EXPECT_NE(error.find(r[b.index - 1].name), std::string::npos) << error;
  }
  EXPECT_FALSE(ParseParamTrack(r, 0, "1", t, error));
  EXPECT_FALSE(ParseParamTrack(r, 10, "1", t, error));
}

TEST(ParamValues, TableNamesEveryParameter) {
  std::vector<PF_ParamDef> r = Registered();
  std::string table = DescribeParams(r);
  EXPECT_NE(table.find("\"Motion speed \""), std::string::npos);
  EXPECT_NE(table.find("1 (Rare)"), std::string::npos);
  EXPECT_NE(table.find("50%/25%"), std::string::npos);
  size_t lines = 0;
  for (char c : table) lines += c == '\n';
  EXPECT_EQ(lines, r.size() + 1);
}
