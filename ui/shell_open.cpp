// The launchers' one call into the platform shell.
#include <windows.h>
#include <shellapi.h>

#include "ui/ui.h"

void ShellOpenWithVerb(void* owner, const char* target) {
  ShellExecuteA(static_cast<HWND>(owner), "open", target, nullptr, nullptr, SW_SHOW);
}

ShellOpenFunc LauncherShellOpen = ShellOpenWithVerb;
