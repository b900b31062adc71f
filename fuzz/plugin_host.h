// The linked-in plug-in driven through the test host's context, as the host
// application drives it: shared by the targets that need its commands or
// its registered parameters.
#pragma once
#include <vector>

#include "testhost/host_context.h"

struct PluginHost {
  HostContext ctx;
  PF_Handle instance = nullptr;  // the instance's data between commands
  std::vector<PF_ParamDef*> params;  // params[] of the next command (empty: null)

  // Sends one command with the instance's data in in_data and out_data;
  // afterwards the instance's data is what the sequence commands leave.
  PF_Err Send(PF_Cmd cmd, PF_LayerDef* output = nullptr);
};

// Makes ctx the active context and sends the global and parameter set-ups;
// false when either fails.
bool StartPlugin(PluginHost& host);
