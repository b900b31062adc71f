// Helpers of the dialog tests: the module state the dialogs read, a parent
// window that records commands, pixels read back from windows, and a shell
// stand-in that records what would be opened.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Makes this program the module instance (its resources hold the dialog and
// the skins) and empties the plug-in folder and the host window.
void UiTestModuleState();

// A top-level window whose procedure records every WM_COMMAND it receives,
// sent or posted (after PumpMessages).
struct CommandLog {
  std::vector<std::pair<WPARAM, LPARAM>> commands;
};
HWND CreateRecordingParent(CommandLog* log, int width = 400, int height = 200);
void PumpMessages();

// The client area of `window` as 0x00RRGGBB pixels, row-major, read from
// the window's own device context after it has painted.
struct Pixels {
  int width = 0, height = 0;
  std::vector<uint32_t> rgb;
  uint32_t At(int x, int y) const { return rgb[static_cast<size_t>(y) * width + x]; }
};
Pixels ReadClient(HWND window);
// Pixels of a bitmap (any format) as 0x00RRGGBB.
Pixels ReadBitmap(HBITMAP bitmap);
// The whole window, frame and caption included, painted into a bitmap.
Pixels ReadWindow(HWND window);
// Writes pixels as an RGB PNG; false when it cannot.
bool WritePng(const char* path, const Pixels& p);

// The shell stand-in: records the owner and target of every open; while
// `hold` is set, the open waits for ReleaseShell.
struct ShellLog {
  std::vector<std::string> opened;
  std::vector<void*> owners;
};
void RecordShellOpens(ShellLog* log, bool hold = false);
void ReleaseShell();
// Waits until no launcher runs (at most ten seconds); false if one still
// runs then.
bool WaitForLauncher();

// The window of `class_name` owned by (or, for children, parented to) `owner`
// on this thread, or null.
HWND FindOwnedWindow(HWND owner, const char* class_name);

// The tooltip window on this thread with a tool for `control`, or null.
// (A tooltip created for a child window is owned by its top-level window.)
HWND FindTooltipOf(HWND control);
int CountTooltips();

// Colour helpers for text checks (text is anti-aliased).
inline int Red(uint32_t c) { return (c >> 16) & 0xFF; }
inline int Green(uint32_t c) { return (c >> 8) & 0xFF; }
inline int Blue(uint32_t c) { return c & 0xFF; }
constexpr uint32_t GREY_BACKGROUND = 0xE8E8E8;
