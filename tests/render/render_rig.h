// A host for render tests: the linked-in plug-in driven through its entry
// point like the host application does (global set-up, parameter set-up,
// instance set-up, one render per frame, set-downs), with parameter values
// by label, layer images, a fresh output world a render and the test host's
// accounting of handles and checkouts.
//
// Times: local_time_step 100 a frame, time_scale 2500 (25 frames a second).
#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/host.h"
#include "testhost/host_context.h"
#include "testhost/image_io.h"
#include "testhost/param_values.h"

constexpr A_long RIG_TIME_STEP = 100;

struct RenderRig {
  HostContext ctx;
  std::vector<ParamTrack> tracks;
  std::map<PF_ParamIndex, std::unique_ptr<HostWorld>> layers;
  HostWorld input;
  HostWorld output;
  std::vector<PF_ParamDef> values;
  std::vector<PF_ParamDef*> pointers;
  bool deep;
  // Filled with this byte before every render (0: a clean output).
  uint8_t dirtyOutput = 0;

  RenderRig(int width, int height, bool deep = false);
  ~RenderRig();
  // Global and parameter set-up, then the instance's set-up; false on any
  // error.
  bool Start();
  // Sets a parameter as the test host's --set does ("Weight", "12.5" or
  // keyframes "0:1,10:2").
  void Set(const std::string& name, const std::string& value);
  // A layer parameter gets a generated w x h picture at the rig's depth.
  void SetLayer(const std::string& name, int w, int h, bool deep);
  // params[] at `frame` (what the host hands to the command).
  PF_ParamDef** Params(double frame);
  // One render at `frame` into a fresh output world: PrepareRender, then
  // SendRender (apart, so that a benchmark times the command alone).
  PF_Err Render(int frame);
  void PrepareRender(int frame);
  PF_Err SendRender();
  // Flatten (no sequence data afterwards) and re-set-up, as the host does.
  PF_Err Flatten();
  PF_Err Resetup();
  uint64_t Hash() const { return WorldHash(output); }
  PF_ParamIndex Index(const std::string& name) const;

  PF_Handle instance = nullptr;
  bool started = false;

 private:
  PF_Err Send(PF_Cmd cmd, PF_LayerDef* out);
  PF_Err Fill(PF_ParamIndex index, double frame, PF_ParamDef& def);
};
