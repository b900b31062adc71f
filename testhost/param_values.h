// Parameter values the test host hands to the plug-in: the registered
// defaults, constant values from --set NAME=VALUE, and keyframes
// NAME=frame:value,frame:value,... interpolated linearly between keys (held
// before the first and after the last; popups and checkboxes hold each key
// until the next).
//
// Value syntax by kind: sliders and fixed sliders, angles: a decimal number
// (fixed values are rounded to 16.16); popups: a choice name (any case) or
// its number from 1; checkboxes: on/off, true/false, 1/0; colours: #RRGGBB
// or R/G/B bytes; points: X/Y in layer pixels. Layers are given as image
// files with --layer instead.
//
// Failure behaviour: every parse reports a message naming the parameter and
// the value; nothing is accepted partially.
#pragma once
#include <string>
#include <vector>

#include "sdk/AE_Effect.h"

struct ParamKey {
  double frame = 0;
  double number = 0;  // slider, fixed (as a decimal), angle, popup, checkbox
  double x = 0, y = 0;  // point, pixels
  double rgb[3] = {0, 0, 0};  // colour bytes
};

struct ParamTrack {
  PF_ParamIndex index = 0;  // into params[]
  std::vector<ParamKey> keys;  // sorted by frame; at least one
};

// The registered definition whose label is `name` (blanks at the ends and
// letter case ignored; group ends, which carry another parameter's label, are
// skipped), or "#N" / "N" for params[N]. Returns the params[] index or -1.
PF_ParamIndex FindParam(const std::vector<PF_ParamDef>& registered, const std::string& name);

// Parses `value` for params[index] (registered[index - 1]).
bool ParseParamTrack(const std::vector<PF_ParamDef>& registered, PF_ParamIndex index, const std::string& value,
                     ParamTrack& track, std::string& error);

// Fills def with params[index] at `frame`: the registered definition with
// its value set from the track (or the default; points default to their
// registered percentages of the layer size). uu.change_flags is 0.
void ParamAtFrame(const std::vector<PF_ParamDef>& registered, const std::vector<ParamTrack>& tracks,
                  PF_ParamIndex index, double frame, A_long layer_width, A_long layer_height, PF_ParamDef& def);

// The registered parameters as a table, one line each, with a heading.
std::string DescribeParams(const std::vector<PF_ParamDef>& registered);
const char* ParamKindName(PF_ParamType type);
