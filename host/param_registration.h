// Building blocks of ParamsSetup, shared by the three plug-ins.
//
// Registration works on ONE parameter record that the caller keeps for the
// whole set-up and clears only before the first two parameters. Each Add*
// sets param_type, the label (through the host's string copy) and exactly the
// fields of its kind, then appends the record with add_param; every other
// field keeps what the previous parameters left in it, and the host sees
// those values (flags, id, group-end names, union bytes). So the order of
// calls is part of what the host receives.
//
// Values are the host's: 16.16 fixed point for fixed sliders, angles and
// points (2.5 is 163840), plain integers for sliders and popups.
// Each returns add_param's result (or the string copy's absence as
// PF_Err_INVALID_CALLBACK); the caller stops at the first non-zero one.
#pragma once
#include "sdk/AE_Effect.h"

// A decimal value in 16.16, rounded to the nearest step: FIXD(2.5) = 163840,
// FIXD(9.8) = 642253, FIXD(0.1) = 6554, FIXD(0.001) = 66. Only for constants
// well inside the 16.16 range.
constexpr PF_Fixed FIXD(double v) { return static_cast<PF_Fixed>(v * 65536.0 + (v < 0 ? -0.5 : 0.5)); }

constexpr A_short INFORMATION_UI_WIDTH = 385;
constexpr A_short INFORMATION_UI_HEIGHT = 125;

// Clears the whole record to zero bytes.
void ClearParamDef(PF_ParamDef& def);

// The custom panel area ("Information"): no data, PF_PUI_CONTROL 385 x 125.
PF_Err AddInformation(PF_InData* in_data, PF_ParamDef& def, const char* label);
PF_Err AddPopup(PF_InData* in_data, PF_ParamDef& def, const char* label, A_short choices, const char* names,
                A_short dephault);
PF_Err AddSlider(PF_InData* in_data, PF_ParamDef& def, const char* label, A_long valid_min, A_long valid_max,
                 A_long slider_min, A_long slider_max, A_long dephault);
// Precision 2 and display flags 0, as every fixed slider of the effect.
PF_Err AddFixSlider(PF_InData* in_data, PF_ParamDef& def, const char* label, PF_Fixed valid_min,
                    PF_Fixed valid_max, PF_Fixed slider_min, PF_Fixed slider_max, PF_Fixed dephault);
PF_Err AddAngle(PF_InData* in_data, PF_ParamDef& def, const char* label, PF_Fixed dephault);
PF_Err AddPoint(PF_InData* in_data, PF_ParamDef& def, const char* label, PF_Fixed x_dephault,
                PF_Fixed y_dephault);
// Checkbox with the text ""; extra_flags are ORed into the record's flags
// (and so stay on every later parameter).
PF_Err AddCheckbox(PF_InData* in_data, PF_ParamDef& def, const char* label, A_long dephault,
                   PF_ParamFlags extra_flags);
// Sets red, green and blue of the value and copies the value to the default;
// alpha is what the record holds there.
PF_Err AddColor(PF_InData* in_data, PF_ParamDef& def, const char* label, A_u_char red, A_u_char green,
                A_u_char blue);
PF_Err AddGroupStart(PF_InData* in_data, PF_ParamDef& def, const char* label);
// No label of its own: it carries the previous parameter's name.
PF_Err AddGroupEnd(PF_InData* in_data, PF_ParamDef& def);
// A layer parameter with no default layer and the given id.
PF_Err AddLayer(PF_InData* in_data, PF_ParamDef& def, const char* label, A_long id);

// After the parameters: out_data's num_params, then the panel's events
// (composition, layer and effect window; all sizes and alignments 0).
// Returns register_ui's result.
PF_Err RegisterPanel(PF_InData* in_data, PF_OutData* out_data, A_long num_params);

// A plug-in's parameters as a table: one row per parameter, in params[] order
// from index 1, each standing for one Add* call above with the same values.
enum class ParamKind : A_u_char {
  Information,
  Popup,       // a = choices, b = default, names = the choices
  Slider,      // a..e = valid min, valid max, slider min, slider max, default
  FixSlider,   // as Slider, in 16.16
  Angle,       // a = default (16.16)
  Point,       // a, b = x and y default (16.16)
  Checkbox,    // a = default, flags = extra flags
  Color,       // a, b, c = red, green, blue
  GroupStart,
  GroupEnd,    // no label: it carries the previous parameter's name
  Layer,       // a = id
};

struct ParamRow {
  ParamKind kind;
  const char* label;
  A_long a, b, c, d, e;
  const char* names;
  PF_ParamFlags flags;
};

constexpr ParamRow InformationRow(const char* label) { return {ParamKind::Information, label, 0, 0, 0, 0, 0, nullptr, 0}; }
constexpr ParamRow PopupRow(const char* label, A_short choices, const char* names, A_short dephault) {
  return {ParamKind::Popup, label, choices, dephault, 0, 0, 0, names, 0};
}
constexpr ParamRow SliderRow(const char* label, A_long valid_min, A_long valid_max, A_long slider_min,
                             A_long slider_max, A_long dephault) {
  return {ParamKind::Slider, label, valid_min, valid_max, slider_min, slider_max, dephault, nullptr, 0};
}
constexpr ParamRow FixSliderRow(const char* label, PF_Fixed valid_min, PF_Fixed valid_max, PF_Fixed slider_min,
                                PF_Fixed slider_max, PF_Fixed dephault) {
  return {ParamKind::FixSlider, label, valid_min, valid_max, slider_min, slider_max, dephault, nullptr, 0};
}
constexpr ParamRow AngleRow(const char* label, PF_Fixed dephault) {
  return {ParamKind::Angle, label, dephault, 0, 0, 0, 0, nullptr, 0};
}
constexpr ParamRow PointRow(const char* label, PF_Fixed x_dephault, PF_Fixed y_dephault) {
  return {ParamKind::Point, label, x_dephault, y_dephault, 0, 0, 0, nullptr, 0};
}
constexpr ParamRow CheckboxRow(const char* label, A_long dephault, PF_ParamFlags extra_flags) {
  return {ParamKind::Checkbox, label, dephault, 0, 0, 0, 0, nullptr, extra_flags};
}
constexpr ParamRow ColorRow(const char* label, A_u_char red, A_u_char green, A_u_char blue) {
  return {ParamKind::Color, label, red, green, blue, 0, 0, nullptr, 0};
}
constexpr ParamRow GroupStartRow(const char* label) { return {ParamKind::GroupStart, label, 0, 0, 0, 0, 0, nullptr, 0}; }
constexpr ParamRow GroupEndRow() { return {ParamKind::GroupEnd, nullptr, 0, 0, 0, 0, 0, nullptr, 0}; }
constexpr ParamRow LayerRow(const char* label, A_long id) { return {ParamKind::Layer, label, id, 0, 0, 0, 0, nullptr, 0}; }

// The whole of ParamsSetup: one record, cleared before the first two rows
// only, each row added in order (stopping at the first error), then
// RegisterPanel with the rows and the input layer as num_params.
PF_Err RegisterParamTable(PF_InData* in_data, PF_OutData* out_data, const ParamRow* rows, A_long row_count);
