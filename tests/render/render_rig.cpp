#include "tests/render/render_rig.h"

#include <cstring>

RenderRig::RenderRig(int width, int height, bool d) : deep(d) {
  HostContextInit(ctx);
  AllocWorld(input, width, height, deep);
  FillPattern(input);
  PF_InData& in = ctx.in_data;
  in.width = width;
  in.height = height;
  in.quality = PF_Quality_HI;
  in.time_scale = 25 * RIG_TIME_STEP;
  in.time_step = RIG_TIME_STEP;
  in.local_time_step = RIG_TIME_STEP;
  in.total_time = 1000 * RIG_TIME_STEP;
  ctx.checkout = [this](PF_ParamIndex index, A_long what_time, A_long, A_u_long, PF_ParamDef* def) {
    return Fill(index, double(what_time) / RIG_TIME_STEP, *def);
  };
}

RenderRig::~RenderRig() {
  if (started) {
    Send(PF_Cmd_SEQUENCE_SETDOWN, nullptr);
    Send(PF_Cmd_GLOBAL_SETDOWN, nullptr);
  }
  HostContextReleaseHandles(ctx);
  HostContextActivate(nullptr);
}

PF_Err RenderRig::Send(PF_Cmd cmd, PF_LayerDef* out) {
  HostContextActivate(&ctx);
  ctx.in_data.sequence_data = instance;
  ctx.out_data.sequence_data = instance;
  PF_ParamDef** params = pointers.empty() ? nullptr : pointers.data();
  const PF_Err e = EntryPointFunc(cmd, &ctx.in_data, &ctx.out_data, params, out, nullptr);
  if (cmd == PF_Cmd_SEQUENCE_SETUP || cmd == PF_Cmd_SEQUENCE_RESETUP || cmd == PF_Cmd_SEQUENCE_SETDOWN ||
      cmd == PF_Cmd_SEQUENCE_FLATTEN)
    instance = ctx.out_data.sequence_data;
  return e;
}

bool RenderRig::Start() {
  if (Send(PF_Cmd_GLOBAL_SETUP, nullptr) || Send(PF_Cmd_PARAMS_SETUP, nullptr)) return false;
  Params(0);
  started = Send(PF_Cmd_SEQUENCE_SETUP, nullptr) == PF_Err_NONE;
  return started;
}

PF_ParamIndex RenderRig::Index(const std::string& name) const { return FindParam(ctx.registered, name); }

void RenderRig::Set(const std::string& name, const std::string& value) {
  const PF_ParamIndex index = Index(name);
  ParamTrack track;
  std::string error;
  if (index < 1 || !ParseParamTrack(ctx.registered, index, value, track, error)) {
    std::fprintf(stderr, "rig: cannot set %s=%s: %s\n", name.c_str(), value.c_str(), error.c_str());
    std::abort();
  }
  for (ParamTrack& t : tracks)
    if (t.index == index) t.index = -1;
  tracks.push_back(track);
}

void RenderRig::SetLayer(const std::string& name, int w, int h, bool layerDeep) {
  std::unique_ptr<HostWorld> world(new HostWorld);
  AllocWorld(*world, w, h, layerDeep);
  FillPattern(*world);
  layers[Index(name)] = std::move(world);
}

PF_Err RenderRig::Fill(PF_ParamIndex index, double frame, PF_ParamDef& def) {
  std::memset(&def, 0, sizeof def);
  if (index == 0) {
    def.param_type = PF_Param_LAYER;
    def.u.ld = input.world;
    return PF_Err_NONE;
  }
  if (index < 0 || index > PF_ParamIndex(ctx.registered.size())) return PF_Err_INVALID_INDEX;
  ParamAtFrame(ctx.registered, tracks, index, frame, input.world.width, input.world.height, def);
  if (def.param_type == PF_Param_LAYER) {
    std::memset(&def.u.ld, 0, sizeof def.u.ld);
    auto it = layers.find(index);
    if (it != layers.end()) def.u.ld = it->second->world;
  }
  return PF_Err_NONE;
}

PF_ParamDef** RenderRig::Params(double frame) {
  const size_t n = ctx.registered.size() + 1;
  values.assign(n, PF_ParamDef());
  pointers.assign(n, nullptr);
  for (size_t i = 0; i < n; ++i) {
    Fill(PF_ParamIndex(i), frame, values[i]);
    pointers[i] = &values[i];
  }
  return pointers.data();
}

PF_Err RenderRig::Render(int frame) {
  PrepareRender(frame);
  return SendRender();
}

void RenderRig::PrepareRender(int frame) {
  ctx.in_data.current_time = frame * RIG_TIME_STEP;
  Params(frame);
  AllocWorld(output, input.world.width, input.world.height, deep);
  std::memset(output.pixels.data(), dirtyOutput, output.pixels.size());
}

PF_Err RenderRig::SendRender() { return Send(PF_Cmd_RENDER, &output.world); }

PF_Err RenderRig::Flatten() { return Send(PF_Cmd_SEQUENCE_FLATTEN, nullptr); }

PF_Err RenderRig::Resetup() {
  ctx.in_data.sequence_data = instance;
  return Send(PF_Cmd_SEQUENCE_RESETUP, nullptr);
}
