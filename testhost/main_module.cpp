// The Windows test host: loads an effect module (.AEX) by path, reads and
// checks its PiPL, finds the entry point the PiPL names and drives it.
#include <windows.h>

#include <cstdio>
#include <string>

#include "testhost/options.h"
#include "testhost/pipl.h"
#include "testhost/session.h"

namespace {
constexpr int PIPL_RESOURCE_ID = 16000;

bool ReadPipl(HMODULE module, PiplInfo& info, std::string& error) {
  HRSRC res = FindResourceA(module, MAKEINTRESOURCEA(PIPL_RESOURCE_ID), "PIPL");
  if (!res) {
    error = "no PIPL resource 16000";
    return false;
  }
  HGLOBAL loaded = LoadResource(module, res);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  DWORD size = SizeofResource(module, res);
  if (!bytes) {
    error = "the PIPL resource cannot be read";
    return false;
  }
  return ParsePipl(static_cast<const uint8_t*>(bytes), size, info, error);
}
}  // namespace

int main(int argc, char** argv) {
  HostOptions options;
  std::string error;
  if (!ParseHostOptions(argc, argv, true, options, error)) {
    std::fprintf(stderr, "velarra-host: %s\n", error.c_str());
    return HOST_EXIT_USAGE;
  }
  if (options.help) {
    std::fputs(HostUsage("velarra-host", true).c_str(), stdout);
    return HOST_EXIT_OK;
  }
  if (options.full_replay) {
    std::fprintf(stderr, "velarra-host: --full-replay needs the linked-in host\n");
    return HOST_EXIT_USAGE;
  }
  // No error dialogs from the system for a module that cannot be loaded.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  if (GetFileAttributesA(options.module_path.c_str()) == INVALID_FILE_ATTRIBUTES) {
    std::fprintf(stderr, "velarra-host: no module file '%s'\n", options.module_path.c_str());
    return HOST_EXIT_USAGE;
  }
  HMODULE module = LoadLibraryA(options.module_path.c_str());
  if (!module) {
    std::fprintf(stderr, "velarra-host: cannot load '%s' (system error %lu)\n", options.module_path.c_str(),
                 static_cast<unsigned long>(GetLastError()));
    return HOST_EXIT_MODULE;
  }
  PiplInfo pipl;
  std::string entry_name;
  if (!ReadPipl(module, pipl, error) || !PiplValidateEffect(pipl, entry_name, error)) {
    std::fprintf(stderr, "velarra-host: '%s' has no valid PiPL: %s\n", options.module_path.c_str(), error.c_str());
    FreeLibrary(module);
    return HOST_EXIT_MODULE;
  }
  if (options.pipl) {
    std::fputs(PiplDescribe(pipl).c_str(), stdout);
    FreeLibrary(module);
    return HOST_EXIT_OK;
  }
  HostEffect effect;
  effect.entry = reinterpret_cast<PF_FilterProc>(reinterpret_cast<void*>(GetProcAddress(module, entry_name.c_str())));
  if (!effect.entry) {
    std::fprintf(stderr, "velarra-host: '%s' does not export the PiPL's entry point '%s'\n",
                 options.module_path.c_str(), entry_name.c_str());
    FreeLibrary(module);
    return HOST_EXIT_MODULE;
  }
  PiplPascalString(pipl, FourCC("name"), effect.name);
  effect.pipl = &pipl;
  int status = RunHostSession(effect, options, stdout, stderr);
  FreeLibrary(module);
  return status;
}
