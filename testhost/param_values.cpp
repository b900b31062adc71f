#include "testhost/param_values.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
std::string Trim(const std::string& s) {
  size_t a = 0, b = s.size();
  while (a < b && std::isspace(static_cast<unsigned char>(s[a]))) ++a;
  while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1]))) --b;
  return s.substr(a, b - a);
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

bool ParseNumber(const std::string& text, double& v) {
  std::string t = Trim(text);
  if (t.empty()) return false;
  char* end = nullptr;
  v = std::strtod(t.c_str(), &end);
  return end && *end == 0 && std::isfinite(v);
}

// 16.16 of a decimal, rounded and clamped to the representable range.
PF_Fixed ToFixed(double v) {
  double f = std::floor(v * 65536.0 + 0.5);
  if (f > 2147483647.0) return 2147483647;
  if (f < -2147483648.0) return static_cast<PF_Fixed>(-2147483647 - 1);
  return static_cast<PF_Fixed>(f);
}

A_long ToLong(double v) {
  double f = std::floor(v + 0.5);
  if (f > 2147483647.0) return 2147483647;
  if (f < -2147483648.0) return static_cast<A_long>(-2147483647 - 1);
  return static_cast<A_long>(f);
}

std::vector<std::string> Split(const std::string& s, char sep) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    size_t at = s.find(sep, start);
    parts.push_back(s.substr(start, at == std::string::npos ? std::string::npos : at - start));
    if (at == std::string::npos) break;
    start = at + 1;
  }
  return parts;
}

std::vector<std::string> Choices(const PF_ParamDef& def) {
  if (!def.u.pd.u.namesptr) return {};
  return Split(def.u.pd.u.namesptr, '|');
}

std::string Label(const PF_ParamDef& def) { return std::string(def.name, strnlen(def.name, sizeof def.name)); }

bool ParseKeyValue(const PF_ParamDef& def, const std::string& text, ParamKey& key, std::string& error) {
  const std::string t = Trim(text);
  const std::string label = "\"" + Label(def) + "\"";
  switch (def.param_type) {
    case PF_Param_SLIDER:
    case PF_Param_FIX_SLIDER:
    case PF_Param_ANGLE:
      if (ParseNumber(t, key.number)) return true;
      error = label + " takes a number, not '" + t + "'";
      return false;
    case PF_Param_POPUP: {
      std::vector<std::string> choices = Choices(def);
      for (size_t i = 0; i < choices.size(); ++i) {
        if (Lower(Trim(choices[i])) == Lower(t)) {
          key.number = double(i + 1);
          return true;
        }
      }
      double n;
      if (ParseNumber(t, n) && n == std::floor(n) && n >= 1 && n <= def.u.pd.num_choices) {
        key.number = n;
        return true;
      }
      error = label + " has no choice '" + t + "' (choices: " + (def.u.pd.u.namesptr ? def.u.pd.u.namesptr : "") + ")";
      return false;
    }
    case PF_Param_CHECKBOX: {
      std::string l = Lower(t);
      if (l == "on" || l == "true" || l == "1") {
        key.number = 1;
        return true;
      }
      if (l == "off" || l == "false" || l == "0") {
        key.number = 0;
        return true;
      }
      error = label + " takes on or off, not '" + t + "'";
      return false;
    }
    case PF_Param_COLOR: {
      if (t.size() == 7 && t[0] == '#') {
        for (int c = 0; c < 3; ++c) {
          std::string hex = t.substr(1 + 2 * c, 2);
          char* end = nullptr;
          long v = std::strtol(hex.c_str(), &end, 16);
          if (!end || *end || !std::isxdigit(static_cast<unsigned char>(hex[0]))) {
            error = label + " takes #RRGGBB or R/G/B, not '" + t + "'";
            return false;
          }
          key.rgb[c] = double(v);
        }
        return true;
      }
      std::vector<std::string> parts = Split(t, '/');
      if (parts.size() == 3) {
        bool ok = true;
        for (int c = 0; c < 3 && ok; ++c) ok = ParseNumber(parts[c], key.rgb[c]) && key.rgb[c] >= 0 && key.rgb[c] <= 255;
        if (ok) return true;
      }
      error = label + " takes #RRGGBB or R/G/B (0..255), not '" + t + "'";
      return false;
    }
    case PF_Param_POINT: {
      std::vector<std::string> parts = Split(t, '/');
      if (parts.size() == 2 && ParseNumber(parts[0], key.x) && ParseNumber(parts[1], key.y)) return true;
      error = label + " takes X/Y in pixels, not '" + t + "'";
      return false;
    }
    case PF_Param_LAYER:
      error = label + " is a layer: give it an image with --layer";
      return false;
    default:
      error = label + " (" + ParamKindName(def.param_type) + ") has no value to set";
      return false;
  }
}

// Keys may lie further apart than the double range: their difference then
// overflows, while the weighted sum of the two stays between them.
double Lerp(double a, double b, double t) {
  const double v = a + (b - a) * t;
  return std::isfinite(v) ? v : a * (1.0 - t) + b * t;
}

// The key values at frame: interpolated for numbers, held for choices.
ParamKey Evaluate(const ParamTrack& track, PF_ParamType type, double frame) {
  const std::vector<ParamKey>& k = track.keys;
  if (frame <= k.front().frame) return k.front();
  if (frame >= k.back().frame) return k.back();
  size_t i = 1;
  while (k[i].frame < frame) ++i;
  const ParamKey& a = k[i - 1];
  const ParamKey& b = k[i];
  if (type == PF_Param_POPUP || type == PF_Param_CHECKBOX) return frame < b.frame ? a : b;
  // Halved first, so that the differences cannot overflow: t stays in 0..1.
  double t = (frame * 0.5 - a.frame * 0.5) / (b.frame * 0.5 - a.frame * 0.5);
  ParamKey r;
  r.frame = frame;
  r.number = Lerp(a.number, b.number, t);
  r.x = Lerp(a.x, b.x, t);
  r.y = Lerp(a.y, b.y, t);
  for (int c = 0; c < 3; ++c) r.rgb[c] = Lerp(a.rgb[c], b.rgb[c], t);
  return r;
}

std::string Fixed(PF_Fixed v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.4f", v / 65536.0);
  std::string s = buf;
  while (s.back() == '0') s.pop_back();
  if (s.back() == '.') s.pop_back();
  return s;
}
}  // namespace

const char* ParamKindName(PF_ParamType type) {
  switch (type) {
    case PF_Param_LAYER: return "layer";
    case PF_Param_SLIDER: return "slider";
    case PF_Param_FIX_SLIDER: return "fixed slider";
    case PF_Param_ANGLE: return "angle";
    case PF_Param_CHECKBOX: return "checkbox";
    case PF_Param_COLOR: return "colour";
    case PF_Param_POINT: return "point";
    case PF_Param_POPUP: return "popup";
    case PF_Param_NO_DATA: return "no data";
    case PF_Param_GROUP_START: return "group start";
    case PF_Param_GROUP_END: return "group end";
    default: return "other";
  }
}

PF_ParamIndex FindParam(const std::vector<PF_ParamDef>& registered, const std::string& name) {
  std::string t = Trim(name);
  std::string digits = !t.empty() && t[0] == '#' ? t.substr(1) : t;
  if (!digits.empty() && std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    if (digits.size() > 6) return -1;
    long n = std::strtol(digits.c_str(), nullptr, 10);
    return n >= 0 && n <= static_cast<long>(registered.size()) ? static_cast<PF_ParamIndex>(n) : -1;
  }
  std::string want = Lower(t);
  for (size_t i = 0; i < registered.size(); ++i) {
    if (registered[i].param_type == PF_Param_GROUP_END) continue;
    if (Lower(Trim(Label(registered[i]))) == want) return static_cast<PF_ParamIndex>(i + 1);
  }
  return -1;
}

bool ParseParamTrack(const std::vector<PF_ParamDef>& registered, PF_ParamIndex index, const std::string& value,
                     ParamTrack& track, std::string& error) {
  if (index < 1 || index > static_cast<PF_ParamIndex>(registered.size())) {
    error = "parameter " + std::to_string(index) + " does not exist";
    return false;
  }
  const PF_ParamDef& def = registered[index - 1];
  track = ParamTrack();
  track.index = index;
  // A colon outside a colour or point value marks keyframes.
  if (value.find(':') == std::string::npos) {
    ParamKey key;
    if (!ParseKeyValue(def, value, key, error)) return false;
    track.keys.push_back(key);
    return true;
  }
  for (const std::string& item : Split(value, ',')) {
    size_t colon = item.find(':');
    ParamKey key;
    if (colon == std::string::npos || !ParseNumber(item.substr(0, colon), key.frame)) {
      error = "\"" + Label(def) + "\": keyframe '" + item + "' is not FRAME:VALUE";
      return false;
    }
    if (!ParseKeyValue(def, item.substr(colon + 1), key, error)) return false;
    for (const ParamKey& k : track.keys) {
      if (k.frame == key.frame) {
        error = "\"" + Label(def) + "\": two keyframes at frame " + Trim(item.substr(0, colon));
        return false;
      }
    }
    track.keys.push_back(key);
  }
  std::sort(track.keys.begin(), track.keys.end(), [](const ParamKey& a, const ParamKey& b) { return a.frame < b.frame; });
  return true;
}

void ParamAtFrame(const std::vector<PF_ParamDef>& registered, const std::vector<ParamTrack>& tracks,
                  PF_ParamIndex index, double frame, A_long layer_width, A_long layer_height, PF_ParamDef& def) {
  std::memset(&def, 0, sizeof def);
  if (index < 1 || index > static_cast<PF_ParamIndex>(registered.size())) return;
  def = registered[index - 1];
  def.uu.change_flags = PF_ChangeFlag_NONE;
  const ParamTrack* track = nullptr;
  for (const ParamTrack& t : tracks)
    if (t.index == index) track = &t;

  switch (def.param_type) {
    case PF_Param_SLIDER:
      def.u.sd.value = track ? ToLong(Evaluate(*track, def.param_type, frame).number) : def.u.sd.dephault;
      break;
    case PF_Param_FIX_SLIDER:
      def.u.fd.value = track ? ToFixed(Evaluate(*track, def.param_type, frame).number) : def.u.fd.dephault;
      break;
    case PF_Param_ANGLE:
      def.u.ad.value = track ? ToFixed(Evaluate(*track, def.param_type, frame).number) : def.u.ad.dephault;
      break;
    case PF_Param_POPUP:
      def.u.pd.value = track ? ToLong(Evaluate(*track, def.param_type, frame).number) : def.u.pd.dephault;
      break;
    case PF_Param_CHECKBOX:
      def.u.bd.value = track ? ToLong(Evaluate(*track, def.param_type, frame).number) : def.u.bd.dephault;
      break;
    case PF_Param_COLOR:
      if (track) {
        ParamKey k = Evaluate(*track, def.param_type, frame);
        def.u.cd.value.red = static_cast<A_u_char>(ToLong(k.rgb[0]));
        def.u.cd.value.green = static_cast<A_u_char>(ToLong(k.rgb[1]));
        def.u.cd.value.blue = static_cast<A_u_char>(ToLong(k.rgb[2]));
      } else {
        def.u.cd.value = def.u.cd.dephault;
      }
      break;
    case PF_Param_POINT:
      if (track) {
        ParamKey k = Evaluate(*track, def.param_type, frame);
        def.u.td.x_value = ToFixed(k.x);
        def.u.td.y_value = ToFixed(k.y);
      } else {
        // registered in percent of the layer; delivered in layer pixels
        def.u.td.x_value = ToFixed(def.u.td.x_dephault / 65536.0 / 100.0 * layer_width);
        def.u.td.y_value = ToFixed(def.u.td.y_dephault / 65536.0 / 100.0 * layer_height);
      }
      break;
    default:
      break;
  }
}

std::string DescribeParams(const std::vector<PF_ParamDef>& registered) {
  std::string s;
  char line[1024];
  std::snprintf(line, sizeof line, "%3s  %-12s %-26s %-15s %-20s %-16s %5s %3s  %s\n", "idx", "kind", "name",
                "default", "valid range", "slider range", "flags", "id", "other");
  s += line;
  for (size_t i = 0; i < registered.size(); ++i) {
    const PF_ParamDef& d = registered[i];
    std::string dflt, valid, slider, other;
    switch (d.param_type) {
      case PF_Param_SLIDER:
        dflt = std::to_string(d.u.sd.dephault);
        valid = std::to_string(d.u.sd.valid_min) + " .. " + std::to_string(d.u.sd.valid_max);
        slider = std::to_string(d.u.sd.slider_min) + " .. " + std::to_string(d.u.sd.slider_max);
        break;
      case PF_Param_FIX_SLIDER:
        dflt = Fixed(d.u.fd.dephault);
        valid = Fixed(d.u.fd.valid_min) + " .. " + Fixed(d.u.fd.valid_max);
        slider = Fixed(d.u.fd.slider_min) + " .. " + Fixed(d.u.fd.slider_max);
        other = "precision " + std::to_string(d.u.fd.precision);
        break;
      case PF_Param_ANGLE:
        dflt = Fixed(d.u.ad.dephault) + " deg";
        break;
      case PF_Param_POPUP: {
        dflt = std::to_string(d.u.pd.dephault);
        std::vector<std::string> c = Choices(d);
        if (d.u.pd.dephault >= 1 && static_cast<size_t>(d.u.pd.dephault) <= c.size())
          dflt += " (" + c[d.u.pd.dephault - 1] + ")";
        other = std::to_string(d.u.pd.num_choices) + " choices: " + (d.u.pd.u.namesptr ? d.u.pd.u.namesptr : "");
        break;
      }
      case PF_Param_CHECKBOX:
        dflt = d.u.bd.dephault ? "on" : "off";
        break;
      case PF_Param_COLOR:
        std::snprintf(line, sizeof line, "%u/%u/%u a%u", d.u.cd.dephault.red, d.u.cd.dephault.green,
                      d.u.cd.dephault.blue, d.u.cd.dephault.alpha);
        dflt = line;
        break;
      case PF_Param_POINT:
        dflt = Fixed(d.u.td.x_dephault) + "%/" + Fixed(d.u.td.y_dephault) + "%";
        break;
      case PF_Param_LAYER:
        dflt = d.u.ld.dephault == PF_LayerDefault_NONE ? "none" : "this layer";
        break;
      case PF_Param_NO_DATA:
        if (d.ui_flags & PF_PUI_CONTROL) other = "custom control " + std::to_string(d.ui_width) + " x " + std::to_string(d.ui_height);
        break;
      default:
        break;
    }
    std::string name = "\"" + Label(d) + "\"";
    std::snprintf(line, sizeof line, "%3zu  %-12s %-26s %-15s %-20s %-16s %5d %3d  %s\n", i + 1,
                  ParamKindName(d.param_type), name.c_str(), dflt.c_str(), valid.c_str(), slider.c_str(),
                  static_cast<int>(d.flags), static_cast<int>(d.uu.id), other.c_str());
    s += line;
  }
  return s;
}
