// Loader for a separately built renderer module. The effect never calls it:
// its renderer is linked into the module itself.
#include <cstring>

#include "host/host.h"
#include "platform/module_services.h"

void* EngineModuleHandle = nullptr;
void* EngineRasterSceneFunc = nullptr;
const char EngineModuleFileName[] = "VelarraEngine.dll";

// The folder buffer is taken as PLUGIN_FOLDER_SIZE characters; a path that
// would not fit loads nothing and leaves the buffer as it was.
void* LoadEngineModule(char* folder) {
  if (!folder) return nullptr;
  size_t have = strnlen(folder, PLUGIN_FOLDER_SIZE);
  size_t add = std::strlen(EngineModuleFileName);
  if (have + add + 1 > PLUGIN_FOLDER_SIZE) return nullptr;
  std::memcpy(folder + have, EngineModuleFileName, add + 1);

  EngineModuleHandle = PlatformLoadModule(folder);
  if (!EngineModuleHandle) return nullptr;
  EngineRasterSceneFunc = PlatformFindExport(EngineModuleHandle, "__RasterScene");
  return EngineRasterSceneFunc;
}

// Clears the handle, so a second call releases nothing; the function pointer
// into the released module is cleared with it.
void FreeEngineModule() {
  if (!EngineModuleHandle) return;
  PlatformFreeModule(EngineModuleHandle);
  EngineModuleHandle = nullptr;
  EngineRasterSceneFunc = nullptr;
}
