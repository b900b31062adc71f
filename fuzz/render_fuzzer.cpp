// Fuzz target: one plug-in's commands through the test host's context
// (built once per plug-in: render_theatre_fuzzer, render_tableau_fuzzer,
// render_drape_fuzzer). The host application's side is played as it plays
// it, except that every value it hands over may be anything.
//
// Input, front to back (ByteReader: missing bytes read as 0):
//   the replay checkpoints' budget (the default, or room for a few), a
//   fault byte and the instance's set-up, then up to MAX_COMMANDS
//   commands: render (twice as likely), set-up (without an instance),
//   flatten, re-set-up, set-down. Each command starts with a fault byte:
//   a failing host_new_handle (once or from then on), a failing checkout
//   with any error code, a failing page allocation.
//   A render reads: the time (local time step, frame, time scale), the
//   quality, the output world (size 0..MAX_SIDE, either depth, any row
//   padding, rarely no pixels), the input layer (usually the output's size
//   and depth), each texture layer (none, or any size, padding and depth)
//   and up to MAX_PARAM_CHANGES parameter values, each kept, within the
//   registered range or any bits. "Mesh size" values above MAX_MESH (the
//   default among them) are folded below it and frames stay below
//   MAX_FRAME, so a replay runs at most 4 x MAX_FRAME steps of a small
//   cloth.
//
// Oracles besides the sanitizers: nothing written before or after the
// output's rows; at 16 bits no output channel above 32768; the input and
// texture layers unchanged; every checkout checked in after each render;
// with "Time dependent preview" on and no fault injected, the frame the
// same bit for bit as the full replay from rest gives (the checkpoints
// off); no misuse of the host's callbacks; after the set-downs every
// handle disposed of and every page given back.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "cloth/checkpoint.h"
#include "fuzz/byte_reader.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/plugin_host.h"
#include "platform/page_memory.h"

namespace {

constexpr int MAX_SIDE = 32;
constexpr int MAX_LAYER_SIDE = 16;
constexpr int MAX_MESH = 12;
constexpr int MAX_FRAME = 12;
// Budgets of the checkpoint store below the default: room for a few
// checkpoints of a small cloth, so that they are evicted.
constexpr int64_t SMALL_BUDGET_UNIT = 2048;
constexpr int MAX_COMMANDS = 6;
constexpr int MAX_PARAM_CHANGES = 8;
constexpr size_t GUARD_BYTES = 64;
constexpr uint8_t GUARD = 0xA5;

// A host world with guard bytes before and after its rows.
struct World {
  std::vector<uint8_t> block;
  PF_LayerDef def{};
  size_t rowsBytes = 0;

  uint8_t* Rows() { return block.data() + GUARD_BYTES; }
  bool Deep() const { return (def.world_flags & PF_WorldFlag_DEEP) != 0; }
};

// width x height pixels, rows of width pixels plus a padding of -2..12
// channels, valid channel values (16 bits: at most 32768) from a pattern.
void MakeWorld(ByteReader& in, World& w, int width, int height, bool deep, bool pixels) {
  const int channelBytes = deep ? 2 : 1;
  int rowbytes = width * 4 * channelBytes + in.Small(-2, 12) * channelBytes;
  if (rowbytes < 0) rowbytes = 0;
  const size_t rowLength = size_t(rowbytes > width * 4 * channelBytes ? rowbytes : width * 4 * channelBytes);
  w.rowsBytes = height > 0 ? size_t(height) * rowLength : 0;
  w.block.assign(w.rowsBytes + 2 * GUARD_BYTES, GUARD);
  const uint8_t seed = in.Byte();
  for (size_t i = 0; i < w.rowsBytes; i += size_t(channelBytes)) {
    const uint32_t v = uint32_t(i / size_t(channelBytes)) * (seed | 1u) + seed;
    if (deep) {
      const uint16_t c = uint16_t((v & 0xFF) * 128u);
      std::memcpy(w.Rows() + i, &c, 2);
    } else {
      w.Rows()[i] = uint8_t(v);
    }
  }
  w.def = PF_LayerDef{};
  w.def.world_flags = PF_WorldFlag_WRITEABLE | (deep ? PF_WorldFlag_DEEP : 0);
  w.def.data = pixels ? reinterpret_cast<PF_Pixel*>(w.Rows()) : nullptr;
  w.def.rowbytes = rowbytes;
  w.def.width = width;
  w.def.height = height;
  w.def.extent_hint = {0, 0, width, height};
  w.def.pix_aspect_ratio = {1, 1};
}

bool GuardsIntact(const World& w) {
  for (size_t i = 0; i < GUARD_BYTES; ++i)
    if (w.block[i] != GUARD || w.block[w.block.size() - 1 - i] != GUARD) return false;
  return true;
}

// At 16 bits every channel of every pixel of the frame is 0..32768.
bool ChannelsValid(World& w) {
  if (!w.Deep() || w.def.data == nullptr) return true;
  for (int y = 0; y < w.def.height; ++y)
    for (int v = 0; v < 4 * w.def.width; ++v) {
      uint16_t c;
      std::memcpy(&c, w.Rows() + size_t(y) * size_t(w.def.rowbytes) + size_t(v) * 2, 2);
      if (c > 32768) return false;
    }
  return true;
}

struct Session {
  PluginHost host;
  std::vector<PF_ParamDef> values;  // params[] by index; 0 is the input layer
  World input;
  std::vector<std::unique_ptr<World>> layers;  // by index; null: none chosen
};

// Bounds on the work of one input. Grids above MAX_MESH (the default among
// them) would make it slow, not wrong: such sizes are folded below it.
void BoundWork(PF_ParamDef& def) {
  if (def.param_type == PF_Param_SLIDER && std::strncmp(def.name, "Mesh size", 9) == 0 &&
      def.u.sd.value > MAX_MESH)
    def.u.sd.value %= MAX_MESH + 1;
}

bool PreviewOn(const Session& s) {
  for (const PF_ParamDef& d : s.values)
    if (d.param_type == PF_Param_CHECKBOX && std::strcmp(d.name, "Time dependent preview") == 0)
      return d.u.bd.value != 0;
  return false;
}

// One parameter's value: kept, inside its registered range, or any bits.
void ReadValue(ByteReader& in, PF_ParamDef& def) {
  const int how = in.Small(0, 2);
  if (how == 0) return;
  const bool any = how == 2;
  switch (def.param_type) {
    case PF_Param_SLIDER: {
      PF_SliderDef& d = def.u.sd;
      d.value = any ? in.I32() : in.Range(d.valid_min, d.valid_max);
      break;
    }
    case PF_Param_FIX_SLIDER:
      def.u.fd.value = any ? in.I32() : in.Range(def.u.fd.valid_min, def.u.fd.valid_max);
      break;
    case PF_Param_ANGLE:
      def.u.ad.value = any ? in.I32() : in.Range(-720 * 65536, 720 * 65536);
      break;
    case PF_Param_CHECKBOX:
      def.u.bd.value = any ? in.I32() : in.Small(0, 1);
      break;
    case PF_Param_POPUP:
      def.u.pd.value = any ? in.I32() : in.Range(1, def.u.pd.num_choices);
      break;
    case PF_Param_COLOR:
      in.Bytes(&def.u.cd.value, sizeof def.u.cd.value);
      break;
    case PF_Param_POINT:
      def.u.td.x_value = any ? in.I32() : in.Range(-MAX_SIDE * 65536, 2 * MAX_SIDE * 65536);
      def.u.td.y_value = any ? in.I32() : in.Range(-MAX_SIDE * 65536, 2 * MAX_SIDE * 65536);
      break;
    default:
      break;
  }
  BoundWork(def);
}

// Every parameter at its registered default (points at the centre of the
// layer), as the host hands them before anything is changed.
void DefaultValues(Session& s) {
  const std::vector<PF_ParamDef>& registered = s.host.ctx.registered;
  s.values.assign(registered.size() + 1, PF_ParamDef{});
  s.values[0].param_type = PF_Param_LAYER;
  s.layers.clear();
  s.layers.resize(s.values.size());
  for (size_t i = 1; i < s.values.size(); ++i) {
    PF_ParamDef& d = s.values[i];
    d = registered[i - 1];
    d.uu.change_flags = PF_ChangeFlag_NONE;
    switch (d.param_type) {
      case PF_Param_SLIDER: d.u.sd.value = d.u.sd.dephault; break;
      case PF_Param_FIX_SLIDER: d.u.fd.value = d.u.fd.dephault; break;
      case PF_Param_ANGLE: d.u.ad.value = d.u.ad.dephault; break;
      case PF_Param_CHECKBOX: d.u.bd.value = d.u.bd.dephault; break;
      case PF_Param_POPUP: d.u.pd.value = d.u.pd.dephault; break;
      case PF_Param_COLOR: d.u.cd.value = d.u.cd.dephault; break;
      case PF_Param_POINT:
        d.u.td.x_value = MAX_SIDE / 2 * 65536;
        d.u.td.y_value = MAX_SIDE / 2 * 65536;
        break;
      default: break;
    }
    BoundWork(d);
  }
  s.host.params.assign(s.values.size(), nullptr);
  for (size_t i = 0; i < s.values.size(); ++i) s.host.params[i] = &s.values[i];
}

// The host's answer to a checkout: the value as it stands, a layer's world.
PF_Err Checkout(Session& s, PF_ParamIndex index, PF_ParamDef* def) {
  if (index < 0 || size_t(index) >= s.values.size()) {
    std::memset(def, 0, sizeof *def);
    return PF_Err_INVALID_INDEX;
  }
  *def = s.values[size_t(index)];
  if (def->param_type == PF_Param_LAYER) {
    const World* w = index == 0 ? &s.input : s.layers[size_t(index)].get();
    def->u.ld = w != nullptr ? w->def : PF_LayerDef{};
  }
  return PF_Err_NONE;
}

// Faults for the next command, from one byte; whether there are any.
bool ReadFaults(ByteReader& in, HostContext& ctx) {
  const uint8_t f = in.Byte();
  ctx.fail_new_handle = HostFault();
  ctx.fail_checkout = HostFault();
  if (f & 1) {
    ctx.fail_new_handle.at = ctx.handle_allocs + 1;
    ctx.fail_new_handle.sticky = (f & 2) != 0;
  }
  if (f & 4) {
    ctx.fail_checkout.at = ctx.checkout_calls + in.Small(1, 8);
    ctx.fail_checkout.sticky = (f & 8) != 0;
    ctx.fail_checkout.error = in.I32() | 1;
  }
  PageFailAt((f & 16) ? in.Small(0, 12) : -1);
  return (f & (1 | 4 | 16)) != 0;
}

void Render(Session& s, ByteReader& in, bool faults) {
  PF_InData& data = s.host.ctx.in_data;
  data.local_time_step = in.Bool() ? in.I32() : 100;
  const int64_t frame = in.Small(0, MAX_FRAME);
  int64_t time = frame * int64_t(data.local_time_step) + in.Small(-2, 2);
  if (time > INT32_MAX || time < INT32_MIN) time = 0;
  data.current_time = int32_t(time);
  data.time_scale = in.Bool() ? in.U32() : 2500;
  data.quality = in.Small(-1, 2);

  // The output, the input layer and the texture layers.
  const int width = in.Small(0, MAX_SIDE), height = in.Small(0, MAX_SIDE);
  const bool deep = in.Bool();
  World output;
  MakeWorld(in, output, width, height, deep, in.Byte() != 1);
  const uint8_t inputShape = in.Byte();
  if (inputShape < 0xF0)
    MakeWorld(in, s.input, width, height, deep, true);
  else  // another size or depth, or no pixels
    MakeWorld(in, s.input, in.Small(0, MAX_SIDE), in.Small(0, MAX_SIDE), in.Bool(), inputShape != 0xFF);
  data.width = width;
  data.height = height;
  for (size_t i = 1; i < s.values.size(); ++i) {
    if (s.values[i].param_type != PF_Param_LAYER) continue;
    s.layers[i].reset();
    if (!in.Bool()) continue;
    s.layers[i].reset(new World);
    const bool layerDeep = in.Byte() < 0xF0 ? deep : !deep;
    MakeWorld(in, *s.layers[i], in.Small(0, MAX_LAYER_SIDE), in.Small(0, MAX_LAYER_SIDE), layerDeep,
              in.Byte() != 1);
  }
  const int changes = in.Small(0, MAX_PARAM_CHANGES);
  for (int k = 0; k < changes && s.values.size() > 1; ++k)
    ReadValue(in, s.values[size_t(in.Small(1, int(s.values.size()) - 1))]);
  s.values[0].u.ld = s.input.def;

  // The layers are read, never written.
  std::vector<std::vector<uint8_t>> before;
  before.push_back(s.input.block);
  for (const auto& l : s.layers)
    if (l) before.push_back(l->block);

  const int64_t open = s.host.ctx.checkouts_open;
  const std::vector<uint8_t> blank = output.block;
  const PF_Err err = s.host.Send(PF_Cmd_RENDER, &output.def);
  PageFailAt(-1);

  // The replay resumed from checkpoints against the full replay from rest.
  if (!faults && PreviewOn(s)) {
    World full;
    full.def = output.def;
    full.block = blank;
    full.def.data = output.def.data ? reinterpret_cast<PF_Pixel*>(full.Rows()) : nullptr;
    ClothReplayCheckpoints = 0;
    const PF_Err fullErr = s.host.Send(PF_Cmd_RENDER, &full.def);
    ClothReplayCheckpoints = 1;
    FUZZ_CHECK(fullErr == err);
    FUZZ_CHECK(full.block == output.block);
  }

  FUZZ_CHECK(s.host.ctx.checkouts_open == open);
  FUZZ_CHECK(GuardsIntact(output));
  FUZZ_CHECK(ChannelsValid(output));
  size_t k = 0;
  FUZZ_CHECK(before[k++] == s.input.block);
  for (const auto& l : s.layers)
    if (l) FUZZ_CHECK(before[k++] == l->block);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ByteReader in(data, size);
  const int64_t pages = PageLiveBlocks();
  std::unique_ptr<Session> s(new Session);
  FUZZ_CHECK(StartPlugin(s->host));
  DefaultValues(*s);
  s->host.ctx.checkout = [&s](PF_ParamIndex index, A_long, A_long, A_u_long, PF_ParamDef* def) {
    return Checkout(*s, index, def);
  };

  ClothCheckpointMinBudget = in.Bool() ? int64_t(64) << 20 : in.Small(0, 31) * SMALL_BUDGET_UNIT;
  ReadFaults(in, s->host.ctx);
  s->host.Send(PF_Cmd_SEQUENCE_SETUP);
  const int commands = in.Small(1, MAX_COMMANDS);
  for (int c = 0; c < commands; ++c) {
    const int command = in.Small(0, 5);
    const bool faults = ReadFaults(in, s->host.ctx);
    switch (command) {
      case 0:
      case 1: Render(*s, in, faults); break;
      case 2:
        if (s->host.instance == nullptr) s->host.Send(PF_Cmd_SEQUENCE_SETUP);
        break;
      case 3:
        if (s->host.instance != nullptr) s->host.Send(PF_Cmd_SEQUENCE_FLATTEN);
        break;
      case 4: s->host.Send(PF_Cmd_SEQUENCE_RESETUP); break;
      default:
        if (s->host.instance != nullptr) s->host.Send(PF_Cmd_SEQUENCE_SETDOWN);
        break;
    }
    PageFailAt(-1);
  }

  s->host.ctx.fail_new_handle = HostFault();
  s->host.ctx.fail_checkout = HostFault();
  if (s->host.instance != nullptr) s->host.Send(PF_Cmd_SEQUENCE_SETDOWN);
  s->host.Send(PF_Cmd_GLOBAL_SETDOWN);
  for (const std::string& m : s->host.ctx.misuse_log) std::fprintf(stderr, "misuse: %s\n", m.c_str());
  FUZZ_CHECK(s->host.ctx.misuse == 0);
  FUZZ_CHECK(s->host.ctx.handles.empty());
  FUZZ_CHECK(s->host.ctx.checkouts_open == 0);
  FUZZ_CHECK(PageLiveBlocks() == pages);
  HostContextActivate(nullptr);
  return 0;
}
