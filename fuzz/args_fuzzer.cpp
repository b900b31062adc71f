// Fuzz target: the test host's command line (testhost/options.h) and its
// parameter values and keyframes (testhost/param_values.h), over the
// parameters the Theatre plug-in registers.
//
// Input: text, one argument a line (so a seed reads as the command line it
// is). The arguments are parsed for both hosts (with and without a module
// operand); each --set and --layer of an accepted command line is then
// looked up, parsed and evaluated at the key frames, between them and at
// the frames of a few host times.
//
// Oracles besides the sanitizers: an accepted command line holds only
// values in the documented ranges; a parsed track has its keys in strictly
// ascending frame order; a value evaluated at any frame stays within what
// its kind allows (a popup among its choices, a checkbox 0 or 1, a colour
// within the keys' bytes); a refused value always says why.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "fuzz/plugin_host.h"
#include "testhost/options.h"
#include "testhost/param_values.h"

namespace {

constexpr size_t MAX_ARGUMENTS = 64;
constexpr double LAYER_SIDE = 640;

const std::vector<PF_ParamDef>& Registered() {
  static PluginHost* host = [] {
    PluginHost* h = new PluginHost;
    FUZZ_CHECK(StartPlugin(*h));
    return h;
  }();
  return host->ctx.registered;
}

void CheckOptions(const HostOptions& o) {
  if (o.help) return;
  for (int f : o.frames) FUZZ_CHECK(f >= o.first_frame && f <= o.last_frame && f >= 0 && f <= 1000000);
  FUZZ_CHECK(o.first_frame <= o.last_frame);
  FUZZ_CHECK(o.width >= 1 && o.width <= 16384 && o.height >= 1 && o.height <= 16384);
  FUZZ_CHECK(o.fps >= 1 && o.fps <= 1000);
  FUZZ_CHECK(o.flatten_after >= -1 && o.flatten_after <= 1000000);
  for (const HostFault* f : {&o.fail_new_handle, &o.fail_add_param, &o.fail_checkout})
    FUZZ_CHECK(f->at >= 0 && (f->at == 0 || f->error != 0));
  for (const auto& kv : o.sets) FUZZ_CHECK(!kv.first.empty());
}

// params[index] evaluated at `frame` stays within what its kind allows.
void CheckValue(const std::vector<PF_ParamDef>& registered, const ParamTrack& track, double frame) {
  PF_ParamDef def;
  ParamAtFrame(registered, {track}, track.index, frame, A_long(LAYER_SIDE), A_long(LAYER_SIDE), def);
  switch (def.param_type) {
    case PF_Param_POPUP:
      FUZZ_CHECK(def.u.pd.value >= 1 && def.u.pd.value <= def.u.pd.num_choices);
      break;
    case PF_Param_CHECKBOX:
      FUZZ_CHECK(def.u.bd.value == 0 || def.u.bd.value == 1);
      break;
    case PF_Param_COLOR: {
      const A_u_char v[3] = {def.u.cd.value.red, def.u.cd.value.green, def.u.cd.value.blue};
      for (int c = 0; c < 3; ++c) {
        double lo = 255, hi = 0;
        for (const ParamKey& k : track.keys) lo = std::fmin(lo, k.rgb[c]), hi = std::fmax(hi, k.rgb[c]);
        FUZZ_CHECK(v[c] >= std::floor(lo) && v[c] <= std::ceil(hi));
      }
      break;
    }
    default:
      break;
  }
}

void CheckTrack(const std::vector<PF_ParamDef>& registered, const std::string& name, const std::string& value) {
  const PF_ParamIndex index = FindParam(registered, name);
  FUZZ_CHECK(index >= -1 && index <= PF_ParamIndex(registered.size()));
  if (index < 1) return;
  ParamTrack track;
  std::string error;
  if (!ParseParamTrack(registered, index, value, track, error)) {
    FUZZ_CHECK(!error.empty());
    return;
  }
  FUZZ_CHECK(track.index == index && !track.keys.empty());
  for (size_t i = 0; i < track.keys.size(); ++i) {
    FUZZ_CHECK(std::isfinite(track.keys[i].frame));
    if (i > 0) FUZZ_CHECK(track.keys[i - 1].frame < track.keys[i].frame);
  }
  // The key frames, between them, and frames as far as a host time reaches
  // (what_time x fps / time_scale: int32 times at 25 frames a second).
  std::vector<double> frames;
  for (size_t i = 0; i < track.keys.size(); ++i) {
    frames.push_back(track.keys[i].frame);
    if (i > 0) frames.push_back(track.keys[i - 1].frame / 2 + track.keys[i].frame / 2);
  }
  for (double f : {-21474836.48, -1.0, 0.0, 0.5, 21474836.47}) frames.push_back(f);
  for (double f : frames) CheckValue(registered, track, f);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> arguments = {"velarra-host"};
  std::string line;
  for (size_t i = 0; i <= size && arguments.size() <= MAX_ARGUMENTS; ++i) {
    if (i == size || data[i] == '\n') {
      arguments.push_back(line);
      line.clear();
    } else {
      line += char(data[i]);
    }
  }
  std::vector<char*> argv;
  for (std::string& a : arguments) argv.push_back(&a[0]);
  argv.push_back(nullptr);

  const std::vector<PF_ParamDef>& registered = Registered();
  for (bool module : {false, true}) {
    HostOptions options;
    std::string error;
    if (!ParseHostOptions(int(arguments.size()), argv.data(), module, options, error)) {
      FUZZ_CHECK(!error.empty());
      continue;
    }
    CheckOptions(options);
    if (module) continue;  // the same --set and --layer values
    for (const auto& kv : options.sets) CheckTrack(registered, kv.first, kv.second);
    for (const auto& kv : options.layers) FUZZ_CHECK(FindParam(registered, kv.first) >= -1);
  }
  return 0;
}
