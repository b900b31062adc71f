// "ContainerLinkC": a text label that can act as a hyperlink. Inactive it
// shows black bold text; active, blue underlined text with the hand cursor,
// and a click reports WM_COMMAND with its id to the parent.
#include <cstdlib>

#include "host/host.h"
#include "ui/controls.h"

const char LINK_CLASS_NAME[] = "ContainerLinkC";

HBRUSH LinkBackgroundBrush = nullptr;
HFONT LinkPlainFont = nullptr;
HFONT LinkUnderlineFont = nullptr;
HCURSOR LinkHandCursor = nullptr;

namespace {
LinkControl* RecordOf(HWND window) {
  return reinterpret_cast<LinkControl*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

void PaintLink(HWND window, HDC dc, const LinkControl* r) {
  // Drawn off screen and copied in one block, so the label does not flicker.
  HDC mem = CreateCompatibleDC(dc);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, r->width, r->height);
  HGDIOBJ old_bitmap = SelectObject(mem, bitmap);
  RECT client;
  GetClientRect(window, &client);
  FillRect(mem, &client, LinkBackgroundBrush);
  HGDIOBJ old_font = SelectObject(mem, r->active ? LinkUnderlineFont : LinkPlainFont);
  SetTextColor(mem, r->active ? LINK_ACTIVE_TEXT : RGB(0, 0, 0));
  int length = lstrlenA(r->text);
  SIZE extent = {};
  GetTextExtentPoint32A(mem, r->text, length, &extent);
  SetBkMode(mem, TRANSPARENT);
  int x = r->leftAligned ? 0 : (r->width - extent.cx) / 2;
  int y = (r->height - extent.cy) / 2;
  TextOutA(mem, x, y, r->text, length);
  BitBlt(dc, 0, 0, r->width, r->height, mem, 0, 0, SRCCOPY);
  SelectObject(mem, old_font);
  SelectObject(mem, old_bitmap);
  DeleteObject(bitmap);
  DeleteDC(mem);
}
}  // namespace

void InitLinkControls() {
  LinkBackgroundBrush = CreateSolidBrush(CONTROL_BACKGROUND);
  LinkPlainFont = ControlFont(FW_BOLD, FALSE);
  LinkUnderlineFont = ControlFont(FW_NORMAL, TRUE);
  LinkHandCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32649));  // IDC_HAND
  RegisterLinkClass(static_cast<HINSTANCE>(ModuleInstance));
}

// The hand cursor is the platform's shared one: it is not destroyed, only
// forgotten.
void ReleaseLinkControls() {
  LinkHandCursor = nullptr;
  if (LinkBackgroundBrush) DeleteObject(LinkBackgroundBrush);
  if (LinkPlainFont) DeleteObject(LinkPlainFont);
  if (LinkUnderlineFont) DeleteObject(LinkUnderlineFont);
  LinkBackgroundBrush = nullptr;
  LinkPlainFont = nullptr;
  LinkUnderlineFont = nullptr;
  UnregisterClassA(LINK_CLASS_NAME, static_cast<HINSTANCE>(ModuleInstance));
}

int RegisterLinkClass(HINSTANCE instance) { return RegisterControlClass(instance, LinkWndProc, LINK_CLASS_NAME); }

LinkControl* AttachLinkControl(HWND dialog, int item, const char* text, uint8_t active, uint8_t left_aligned) {
  auto* r = static_cast<LinkControl*>(FindControlRecord(GetDlgItem(dialog, item), LINK_CLASS_NAME));
  if (!r) return nullptr;
  r->attached = LINK_ATTACHED;
  r->active = active;
  if (text) ControlRecordSetText(&r->text, text);
  r->leftAligned = left_aligned;
  return r;
}

LRESULT CALLBACK LinkWndProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE:
      return CreateControlRecord<LinkControl>(window);
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      const LinkControl* r = RecordOf(window);
      if (dc && r && r->attached == LINK_ATTACHED && r->text) PaintLink(window, dc, r);
      EndPaint(window, &ps);
      return 1;
    }
    case WM_MOUSEMOVE: {
      const LinkControl* r = RecordOf(window);
      if (r && r->attached == LINK_ATTACHED && r->active && LinkHandCursor) SetCursor(LinkHandCursor);
      return 1;
    }
    case WM_LBUTTONDOWN: {
      const LinkControl* r = RecordOf(window);
      if (r && r->attached == LINK_ATTACHED && r->active)
        SendMessageA(GetParent(window), WM_COMMAND, static_cast<WPARAM>(r->id), 0);
      return 1;
    }
    case WM_COMMAND:
      PostMessageA(GetParent(window), WM_COMMAND, wparam, lparam);
      return 1;
    case WM_NCDESTROY:
      return DestroyControlRecord<LinkControl>(window, message, wparam, lparam);
    default:
      return DefWindowProcA(window, message, wparam, lparam);
  }
}
