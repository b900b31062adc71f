// A balloon tooltip for a control: a tooltip window owned by the control
// (it goes away with it) with one tool covering the control's client area.
#include <windows.h>
#include <commctrl.h>

#include "host/host.h"
#include "ui/controls.h"

// The tool record the tooltip expects from 64-bit callers: 72 bytes, the
// reserved pointer included.
static_assert(sizeof(TTTOOLINFOA) == 72, "tool record size");

void AddBalloonTooltip(HWND control, const char* text, const char* title) {
  if (!control || !text) return;
  constexpr DWORD style = WS_POPUP | WS_CAPTION | TTS_BALLOON | TTS_NOPREFIX;
  static_assert(style == 0x80C00042, "tooltip window style");
  HWND tip = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, style, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, control, nullptr,
                             static_cast<HINSTANCE>(ModuleInstance), nullptr);
  if (!tip) return;
  SetWindowPos(tip, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

  TTTOOLINFOA tool = {};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_SUBCLASS | TTF_TRANSPARENT | TTF_CENTERTIP;
  static_assert((TTF_SUBCLASS | TTF_TRANSPARENT | TTF_CENTERTIP) == 0x112, "tool flags");
  tool.hwnd = control;
  tool.uId = 0;
  GetClientRect(control, &tool.rect);
  tool.hinst = nullptr;
  tool.lpszText = const_cast<char*>(text);  // the tooltip keeps its own copy
  SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  if (title) SendMessageA(tip, TTM_SETTITLEA, TTI_INFO, reinterpret_cast<LPARAM>(title));
  SendMessageA(tip, TTM_SETMAXTIPWIDTH, 0, 100);
}
