#include "tests/panel/panel_fakes.h"

PanelCalls Calls;

PF_Err About(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[], PF_LayerDef*) {
  ++Calls.about;
  Calls.about_in = in_data;
  Calls.about_out = out_data;
  Calls.about_params = params;
  return 77;  // not passed on by the click
}

void StartHelpDocThread(int32_t mode) { Calls.help_modes.push_back(mode); }

#if defined(_WIN32)
void* ModuleInstance = nullptr;  // the test program's own module, set by the tests
#endif
