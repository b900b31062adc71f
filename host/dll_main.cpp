// The module's load-time entry: it only remembers the module instance.
// Nothing else runs at load or unload (no static initialisers either).
#include "host/host.h"

#if defined(_WIN32)
#include <windows.h>
#endif

void* ModuleInstance = nullptr;

#if defined(_WIN32)
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/) {
  if (reason == DLL_PROCESS_ATTACH) ModuleInstance = instance;
  return TRUE;
}
#else
// The same entry for the native build, where tests call it directly.
extern "C" int DllMain(void* instance, uint32_t reason, void* /*reserved*/) {
  if (reason == 1) ModuleInstance = instance;  // process attach
  return 1;
}
#endif
