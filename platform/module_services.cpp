#include "platform/module_services.h"

#include <cstring>
#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#include <unistd.h>
#endif

namespace {
// The override lives in a fixed buffer: no static initialiser runs at load.
char OverridePath[4096];
bool OverrideSet = false;

uint32_t CopyCut(const char* path, char* buffer, uint32_t size) {
  size_t n = std::strlen(path);
  if (n + 1 <= size) {
    std::memcpy(buffer, path, n + 1);
    return static_cast<uint32_t>(n);
  }
  std::memcpy(buffer, path, size - 1);
  buffer[size - 1] = 0;
  return size;
}
}  // namespace

uint32_t PlatformModuleFileName(PlatformModule module, char* buffer, uint32_t size) {
  if (!buffer || size == 0) return 0;
  if (OverrideSet) return CopyCut(OverridePath, buffer, size);
#if defined(_WIN32)
  DWORD n = GetModuleFileNameA(static_cast<HMODULE>(module), buffer, size);
  if (n >= size) buffer[size - 1] = 0;  // older systems leave a cut path open
  return n;
#else
  // A shared object's path: the one that holds `module`'s symbols, or the
  // program's own.
  if (module) {
    Dl_info info;
    void* symbol = dlsym(module, "EntryPointFunc");
    if (symbol && dladdr(symbol, &info) && info.dli_fname) return CopyCut(info.dli_fname, buffer, size);
  }
  char self[4096];
  ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  if (n <= 0) return 0;
  self[n] = 0;
  return CopyCut(self, buffer, size);
#endif
}

PlatformModule PlatformLoadModule(const char* path) {
  if (!path) return nullptr;
#if defined(_WIN32)
  return LoadLibraryA(path);
#else
  return dlopen(path, RTLD_NOW | RTLD_LOCAL);
#endif
}

void* PlatformFindExport(PlatformModule module, const char* name) {
  if (!module || !name) return nullptr;
#if defined(_WIN32)
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name));
#else
  return dlsym(module, name);
#endif
}

void PlatformFreeModule(PlatformModule module) {
  if (!module) return;
#if defined(_WIN32)
  FreeLibrary(static_cast<HMODULE>(module));
#else
  dlclose(module);
#endif
}

void PlatformOverrideModuleFileName(const char* path) {
  if (!path) {
    OverrideSet = false;
    return;
  }
  std::strncpy(OverridePath, path, sizeof OverridePath - 1);
  OverridePath[sizeof OverridePath - 1] = 0;
  OverrideSet = true;
}
