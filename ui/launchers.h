// The launcher threads' procedures (ui/ui.h has the starters).
#pragma once
#include <windows.h>

// Builds HelpDocPath from PluginFolder and opens it; the parameter is unused.
DWORD WINAPI HelpDocThread(LPVOID unused);
// Opens the web address `url` (a const char*).
DWORD WINAPI OpenUrlThread(LPVOID url);
