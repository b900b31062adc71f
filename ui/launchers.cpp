// The launchers: short-lived threads that hand a document or web address to
// the shell, so the host's thread never waits for it.
#include "ui/launchers.h"

#include <cstring>

#include "ui/ui.h"

std::atomic<bool> LauncherBusy{false};
int32_t LauncherMode = 0;
char HelpDocPath[HELP_DOC_PATH_SIZE];

namespace {
// The folder part while the path is built; written only by the help thread.
char HelpDocFolder[HELP_DOC_PATH_SIZE];

constexpr char PRODUCT_FOLDER[] = "Velarra\\";
constexpr char HELP_DOC_NAME[] = "velarradoc.html";

// Appends src to the string of length *len in dst (capacity `size`); false
// when it does not fit with its terminator.
bool Append(char* dst, size_t size, size_t* len, const char* src) {
  size_t n = std::strlen(src);
  if (n >= size - *len) return false;
  std::memcpy(dst + *len, src, n + 1);
  *len += n;
  return true;
}

// "<folder>[\]Velarra\velarradoc.html" into HelpDocPath, or false (and an
// empty path) when the folder is not terminated or the path does not fit.
bool BuildHelpDocPath() {
  HelpDocPath[0] = 0;
  const void* end = std::memchr(PluginFolder, 0, sizeof PluginFolder);
  if (!end) return false;
  size_t len = static_cast<const char*>(end) - PluginFolder;
  if (len >= sizeof HelpDocFolder) return false;
  std::memcpy(HelpDocFolder, PluginFolder, len + 1);
  // A folder of one character or none gets no separator.
  if (len > 1 && HelpDocFolder[len - 1] != '/' && HelpDocFolder[len - 1] != '\\' &&
      !Append(HelpDocFolder, sizeof HelpDocFolder, &len, "\\"))
    return false;
  if (!Append(HelpDocFolder, sizeof HelpDocFolder, &len, PRODUCT_FOLDER)) return false;
  size_t path_len = 0;
  if (!Append(HelpDocPath, sizeof HelpDocPath, &path_len, HelpDocFolder) ||
      !Append(HelpDocPath, sizeof HelpDocPath, &path_len, HELP_DOC_NAME)) {
    HelpDocPath[0] = 0;
    return false;
  }
  return true;
}

// A reference to this module for the thread, so the host can unload the
// module while the shell call is still running; null when none was had.
HMODULE HoldModule() {
  HMODULE self = nullptr;
  if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCSTR>(&HoldModule), &self))
    return nullptr;
  return self;
}

struct LaunchArgs {
  LPTHREAD_START_ROUTINE proc;
  LPVOID argument;
  HMODULE module;
};

// Hands the thread its work and the module reference it ends with.
LaunchArgs PendingLaunch;

DWORD WINAPI LauncherMain(LPVOID) {
  LaunchArgs args = PendingLaunch;  // written by the starter before the thread exists
  args.proc(args.argument);
  if (args.module) FreeLibraryAndExitThread(args.module, 0);
  return 0;
}

void StartLauncher(LPTHREAD_START_ROUTINE proc, LPVOID argument) {
  if (LauncherBusy.exchange(true)) return;  // a launcher is running
  PendingLaunch = {proc, argument, HoldModule()};
  HANDLE thread = CreateThread(nullptr, 0, LauncherMain, nullptr, 0, nullptr);
  if (!thread) {
    if (PendingLaunch.module) FreeLibrary(PendingLaunch.module);
    LauncherBusy = false;  // the next click tries again
    return;
  }
  CloseHandle(thread);
}
}  // namespace

DWORD WINAPI HelpDocThread(LPVOID) {
  LauncherBusy = true;  // already set by the starter
  if (BuildHelpDocPath()) LauncherShellOpen(HostMainWindow, HelpDocPath);
  LauncherBusy = false;
  return 0;
}

DWORD WINAPI OpenUrlThread(LPVOID url) {
  LauncherBusy = true;
  if (url) LauncherShellOpen(HostMainWindow, static_cast<const char*>(url));
  LauncherBusy = false;
  return 0;
}

void StartHelpDocThread(int32_t mode) {
  LauncherMode = mode;
  StartLauncher(HelpDocThread, nullptr);
}

void StartOpenUrlThread(const char* url) { StartLauncher(OpenUrlThread, const_cast<char*>(url)); }

void LauncherNoOp(void*) {}
void LauncherNoOp2(void*, intptr_t) {}
