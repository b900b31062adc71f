#include "tests/ui/ui_test_util.h"

#include <commctrl.h>

#include <cstring>

#include "host/host.h"
#include "stb_image_write.h"
#include "ui/ui.h"

// The module state that the plug-in's host frame owns; here the program is
// the module.
void* ModuleInstance = nullptr;
char PluginFolder[PLUGIN_FOLDER_SIZE];
void* HostMainWindow = nullptr;

void UiTestModuleState() {
  ModuleInstance = GetModuleHandleA(nullptr);
  PluginFolder[0] = 0;
  HostMainWindow = nullptr;
}

namespace {
LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_CREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(lparam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  }
  if (message == WM_COMMAND) {
    auto* log = reinterpret_cast<CommandLog*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (log) log->commands.push_back({wparam, lparam});
    return 0;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

Pixels FromDc(HDC source, int x, int y, int width, int height) {
  Pixels p;
  p.width = width;
  p.height = height;
  p.rgb.assign(static_cast<size_t>(width) * height, 0);
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;  // top-down
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(source, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC mem = CreateCompatibleDC(source);
  HGDIOBJ old = SelectObject(mem, dib);
  BitBlt(mem, 0, 0, width, height, source, x, y, SRCCOPY);
  GdiFlush();
  const uint32_t* src = static_cast<const uint32_t*>(bits);
  for (size_t i = 0; i < p.rgb.size(); ++i) p.rgb[i] = src[i] & 0xFFFFFF;
  SelectObject(mem, old);
  DeleteDC(mem);
  DeleteObject(dib);
  return p;
}

ShellLog* Shell = nullptr;
bool ShellHold = false;
HANDLE ShellGate = nullptr;

void RecordingShell(void* owner, const char* target) {
  if (ShellHold) WaitForSingleObject(ShellGate, 10000);
  Shell->opened.push_back(target);
  Shell->owners.push_back(owner);
}
}  // namespace

HWND CreateRecordingParent(CommandLog* log, int width, int height) {
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = RecordingProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "VelarraTestParent";
  RegisterClassExA(&wc);  // fails harmlessly when already registered
  return CreateWindowExA(0, "VelarraTestParent", "test", WS_POPUP | WS_VISIBLE, 20, 20, width, height, nullptr,
                         nullptr, wc.hInstance, log);
}

void PumpMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

Pixels ReadClient(HWND window) {
  UpdateWindow(window);
  RECT r;
  GetClientRect(window, &r);
  HDC dc = GetDC(window);
  Pixels p = FromDc(dc, 0, 0, r.right, r.bottom);
  ReleaseDC(window, dc);
  return p;
}

Pixels ReadWindow(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  RECT r;
  GetWindowRect(window, &r);
  HDC dc = GetWindowDC(window);
  Pixels p = FromDc(dc, 0, 0, r.right - r.left, r.bottom - r.top);
  ReleaseDC(window, dc);
  return p;
}

Pixels ReadBitmap(HBITMAP bitmap) {
  BITMAP info = {};
  GetObjectA(bitmap, sizeof info, &info);
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(mem, bitmap);
  Pixels p = FromDc(mem, 0, 0, info.bmWidth, info.bmHeight);
  SelectObject(mem, old);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return p;
}

bool WritePng(const char* path, const Pixels& p) {
  std::vector<unsigned char> rgb(p.rgb.size() * 3);
  for (size_t i = 0; i < p.rgb.size(); ++i) {
    rgb[i * 3] = static_cast<unsigned char>(Red(p.rgb[i]));
    rgb[i * 3 + 1] = static_cast<unsigned char>(Green(p.rgb[i]));
    rgb[i * 3 + 2] = static_cast<unsigned char>(Blue(p.rgb[i]));
  }
  return stbi_write_png(path, p.width, p.height, 3, rgb.data(), p.width * 3) != 0;
}

void RecordShellOpens(ShellLog* log, bool hold) {
  Shell = log;
  ShellHold = hold;
  if (!ShellGate) ShellGate = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  ResetEvent(ShellGate);
  LauncherShellOpen = RecordingShell;
}

void ReleaseShell() { SetEvent(ShellGate); }

bool WaitForLauncher() {
  for (int i = 0; i < 10000 && LauncherBusy; ++i) Sleep(1);
  return !LauncherBusy;
}

namespace {
struct FindArgs {
  HWND owner;
  const char* class_name;
  HWND found;
};
BOOL CALLBACK FindProc(HWND window, LPARAM lparam) {
  auto* a = reinterpret_cast<FindArgs*>(lparam);
  char name[80];
  GetClassNameA(window, name, sizeof name);
  if (lstrcmpiA(name, a->class_name) == 0 && (a->owner == nullptr || GetWindow(window, GW_OWNER) == a->owner)) {
    a->found = window;
    return FALSE;
  }
  return TRUE;
}
}  // namespace

HWND FindOwnedWindow(HWND owner, const char* class_name) {
  FindArgs a = {owner, class_name, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), FindProc, reinterpret_cast<LPARAM>(&a));
  return a.found;
}

namespace {
struct TipArgs {
  HWND control;
  HWND found;
  int count;
};
BOOL CALLBACK TipProc(HWND window, LPARAM lparam) {
  auto* a = reinterpret_cast<TipArgs*>(lparam);
  char name[80];
  GetClassNameA(window, name, sizeof name);
  if (lstrcmpiA(name, TOOLTIPS_CLASSA) != 0) return TRUE;
  ++a->count;
  TTTOOLINFOA tool = {};
  tool.cbSize = sizeof tool;
  if (a->control && SendMessageA(window, TTM_ENUMTOOLSA, 0, reinterpret_cast<LPARAM>(&tool)) &&
      tool.hwnd == a->control)
    a->found = window;
  return TRUE;
}
}  // namespace

HWND FindTooltipOf(HWND control) {
  TipArgs a = {control, nullptr, 0};
  EnumThreadWindows(GetCurrentThreadId(), TipProc, reinterpret_cast<LPARAM>(&a));
  return a.found;
}

int CountTooltips() {
  TipArgs a = {nullptr, nullptr, 0};
  EnumThreadWindows(GetCurrentThreadId(), TipProc, reinterpret_cast<LPARAM>(&a));
  return a.count;
}
