#include "host/param_registration.h"

#include <cstring>

namespace {
PF_Err SetName(PF_InData* in_data, PF_ParamDef& def, const char* label) {
  if (!in_data->utils || !in_data->utils->ansi.strcpy) return PF_Err_INVALID_CALLBACK;
  in_data->utils->ansi.strcpy(def.name, label);
  return PF_Err_NONE;
}

PF_Err Add(PF_InData* in_data, PF_ParamDef& def) {
  if (!in_data->inter.add_param) return PF_Err_INVALID_CALLBACK;
  return in_data->inter.add_param(in_data->effect_ref, -1, &def);
}

// Kind and label first, as every parameter does.
PF_Err Begin(PF_InData* in_data, PF_ParamDef& def, PF_ParamType type, const char* label) {
  def.param_type = type;
  return SetName(in_data, def, label);
}
}  // namespace

void ClearParamDef(PF_ParamDef& def) { std::memset(&def, 0, sizeof def); }

PF_Err AddInformation(PF_InData* in_data, PF_ParamDef& def, const char* label) {
  PF_Err err = Begin(in_data, def, PF_Param_NO_DATA, label);
  if (err) return err;
  def.ui_flags = PF_PUI_CONTROL;
  def.ui_width = INFORMATION_UI_WIDTH;
  def.ui_height = INFORMATION_UI_HEIGHT;
  return Add(in_data, def);
}

PF_Err AddPopup(PF_InData* in_data, PF_ParamDef& def, const char* label, A_short choices, const char* names,
                A_short dephault) {
  PF_Err err = Begin(in_data, def, PF_Param_POPUP, label);
  if (err) return err;
  def.u.pd.value = dephault;
  def.u.pd.dephault = dephault;
  def.u.pd.num_choices = choices;
  def.u.pd.u.namesptr = names;
  return Add(in_data, def);
}

PF_Err AddSlider(PF_InData* in_data, PF_ParamDef& def, const char* label, A_long valid_min, A_long valid_max,
                 A_long slider_min, A_long slider_max, A_long dephault) {
  PF_Err err = Begin(in_data, def, PF_Param_SLIDER, label);
  if (err) return err;
  def.u.sd.value_str[0] = 0;
  def.u.sd.value_desc[0] = 0;
  def.u.sd.valid_min = valid_min;
  def.u.sd.valid_max = valid_max;
  def.u.sd.slider_min = slider_min;
  def.u.sd.slider_max = slider_max;
  def.u.sd.value = dephault;
  def.u.sd.dephault = dephault;
  return Add(in_data, def);
}

PF_Err AddFixSlider(PF_InData* in_data, PF_ParamDef& def, const char* label, PF_Fixed valid_min,
                    PF_Fixed valid_max, PF_Fixed slider_min, PF_Fixed slider_max, PF_Fixed dephault) {
  PF_Err err = Begin(in_data, def, PF_Param_FIX_SLIDER, label);
  if (err) return err;
  def.u.fd.value_str[0] = 0;
  def.u.fd.value_desc[0] = 0;
  def.u.fd.valid_min = valid_min;
  def.u.fd.valid_max = valid_max;
  def.u.fd.slider_min = slider_min;
  def.u.fd.slider_max = slider_max;
  def.u.fd.value = dephault;
  def.u.fd.dephault = dephault;
  def.u.fd.precision = 2;
  def.u.fd.display_flags = 0;
  return Add(in_data, def);
}

PF_Err AddAngle(PF_InData* in_data, PF_ParamDef& def, const char* label, PF_Fixed dephault) {
  PF_Err err = Begin(in_data, def, PF_Param_ANGLE, label);
  if (err) return err;
  def.u.ad.value = dephault;
  def.u.ad.dephault = dephault;
  return Add(in_data, def);
}

PF_Err AddPoint(PF_InData* in_data, PF_ParamDef& def, const char* label, PF_Fixed x_dephault,
                PF_Fixed y_dephault) {
  PF_Err err = Begin(in_data, def, PF_Param_POINT, label);
  if (err) return err;
  def.u.td.x_value = x_dephault;
  def.u.td.x_dephault = x_dephault;
  def.u.td.y_value = y_dephault;
  def.u.td.y_dephault = y_dephault;
  def.u.td.restrict_bounds = 0;
  return Add(in_data, def);
}

PF_Err AddCheckbox(PF_InData* in_data, PF_ParamDef& def, const char* label, A_long dephault,
                   PF_ParamFlags extra_flags) {
  PF_Err err = Begin(in_data, def, PF_Param_CHECKBOX, label);
  if (err) return err;
  def.u.bd.value = dephault;
  def.u.bd.dephault = static_cast<PF_Boolean>(dephault);
  def.u.bd.u.nameptr = "";
  def.flags |= extra_flags;
  return Add(in_data, def);
}

PF_Err AddColor(PF_InData* in_data, PF_ParamDef& def, const char* label, A_u_char red, A_u_char green,
                A_u_char blue) {
  PF_Err err = Begin(in_data, def, PF_Param_COLOR, label);
  if (err) return err;
  def.u.cd.value.red = red;
  def.u.cd.value.green = green;
  def.u.cd.value.blue = blue;
  def.u.cd.dephault = def.u.cd.value;
  return Add(in_data, def);
}

PF_Err AddGroupStart(PF_InData* in_data, PF_ParamDef& def, const char* label) {
  PF_Err err = Begin(in_data, def, PF_Param_GROUP_START, label);
  if (err) return err;
  return Add(in_data, def);
}

PF_Err AddGroupEnd(PF_InData* in_data, PF_ParamDef& def) {
  def.param_type = PF_Param_GROUP_END;
  return Add(in_data, def);
}

PF_Err AddLayer(PF_InData* in_data, PF_ParamDef& def, const char* label, A_long id) {
  PF_Err err = Begin(in_data, def, PF_Param_LAYER, label);
  if (err) return err;
  def.u.ld.dephault = PF_LayerDefault_NONE;
  def.uu.id = id;
  return Add(in_data, def);
}

PF_Err RegisterPanel(PF_InData* in_data, PF_OutData* out_data, A_long num_params) {
  out_data->num_params = num_params;
  PF_CustomUIInfo ui;
  std::memset(&ui, 0, sizeof ui);
  ui.events = PF_CustomEFlag_COMP | PF_CustomEFlag_LAYER | PF_CustomEFlag_EFFECT;
  if (!in_data->inter.register_ui) return PF_Err_INVALID_CALLBACK;
  return in_data->inter.register_ui(in_data->effect_ref, &ui);
}

namespace {
PF_Err AddRow(PF_InData* in_data, PF_ParamDef& def, const ParamRow& row) {
  switch (row.kind) {
    case ParamKind::Information:
      return AddInformation(in_data, def, row.label);
    case ParamKind::Popup:
      return AddPopup(in_data, def, row.label, static_cast<A_short>(row.a), row.names, static_cast<A_short>(row.b));
    case ParamKind::Slider:
      return AddSlider(in_data, def, row.label, row.a, row.b, row.c, row.d, row.e);
    case ParamKind::FixSlider:
      return AddFixSlider(in_data, def, row.label, row.a, row.b, row.c, row.d, row.e);
    case ParamKind::Angle:
      return AddAngle(in_data, def, row.label, row.a);
    case ParamKind::Point:
      return AddPoint(in_data, def, row.label, row.a, row.b);
    case ParamKind::Checkbox:
      return AddCheckbox(in_data, def, row.label, row.a, row.flags);
    case ParamKind::Color:
      return AddColor(in_data, def, row.label, static_cast<A_u_char>(row.a), static_cast<A_u_char>(row.b),
                      static_cast<A_u_char>(row.c));
    case ParamKind::GroupStart:
      return AddGroupStart(in_data, def, row.label);
    case ParamKind::GroupEnd:
      return AddGroupEnd(in_data, def);
    case ParamKind::Layer:
      return AddLayer(in_data, def, row.label, row.a);
  }
  return PF_Err_BAD_CALLBACK_PARAM;
}
}  // namespace

PF_Err RegisterParamTable(PF_InData* in_data, PF_OutData* out_data, const ParamRow* rows, A_long row_count) {
  PF_ParamDef def;
  for (A_long i = 0; i < row_count; ++i) {
    if (i < 2) ClearParamDef(def);
    if (PF_Err err = AddRow(in_data, def, rows[i])) return err;
  }
  return RegisterPanel(in_data, out_data, row_count + 1);
}
