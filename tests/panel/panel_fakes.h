// What the panel calls outside itself, recorded: the About dialog and the
// help-document launcher.
#pragma once
#include <cstdint>
#include <vector>

#include "host/host.h"

struct PanelCalls {
  int64_t about = 0;
  std::vector<int32_t> help_modes;  // every StartHelpDocThread
  PF_InData* about_in = nullptr;    // the arguments of the last About
  PF_OutData* about_out = nullptr;
  PF_ParamDef** about_params = nullptr;
};
extern PanelCalls Calls;
