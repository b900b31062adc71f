// Global set-up and set-down: the plug-in folder, the host's main window,
// the version and the out-flags; set-down empties the page cache.
#include <cstring>

#include "host/host.h"
#include "platform/module_services.h"
#include "platform/page_memory.h"

char PluginFolder[PLUGIN_FOLDER_SIZE];
void* HostMainWindow = nullptr;

// The folder is the module path less the length of the shipped file name,
// cut by length and not at the last separator, so it keeps its trailing
// separator (a renamed module file of another length cuts elsewhere). A path
// shorter than the shipped name, or a failed query, leaves the folder empty
// rather than cutting before the buffer.
PF_Err GlobalSetup(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* /*params*/[], PF_LayerDef* /*output*/) {
  char path[PLUGIN_FOLDER_SIZE];
  uint32_t n = PlatformModuleFileName(ModuleInstance, path, sizeof path);
  size_t cut = std::strlen(ShippedModuleFileName);
  if (n == 0 || n < cut || n - cut >= sizeof path)
    path[0] = 0;
  else
    path[n - cut] = 0;
  path[sizeof path - 1] = 0;  // a path cut by the query still ends here
  std::memcpy(PluginFolder, path, std::strlen(path) + 1);

  void* window = nullptr;  // stays null when the host cannot say
  if (in_data && in_data->utils && in_data->utils->get_platform_data)
    in_data->utils->get_platform_data(in_data->effect_ref, PF_PlatData_MAIN_WND, &window);
  HostMainWindow = window;

  out_data->my_version = EFFECT_VERSION;
  out_data->out_flags = EFFECT_OUT_FLAGS;
  return PF_Err_NONE;
}

// The pages kept for the next render go back to the system: the host may
// unload the module after this.
PF_Err GlobalSetdown(PF_InData* /*in_data*/, PF_OutData* /*out_data*/, PF_ParamDef* /*params*/[],
                     PF_LayerDef* /*output*/) {
  PageReleaseCached();
  return PF_Err_NONE;
}
