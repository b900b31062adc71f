// "MacStyleBtn": a push button painted from bitmap skins. It rests in the
// normal look (or the default look when it is the default button), shows the
// hover look while the mouse is over it (holding the mouse capture, so it
// sees the mouse leave), the pressed look while pressed, and posts
// WM_COMMAND with its id to the parent when released.
#include <cstdlib>

#include "host/host.h"
#include "resources/ui_resources.h"
#include "ui/controls.h"

const char BUTTON_CLASS_NAME[] = "MacStyleBtn";

HFONT ButtonFont = nullptr;
HBITMAP ButtonSkins[BITMAP_BUTTON_SKIN_COUNT] = {};

const SkinTriple BUTTON_SKINS_OF_STATE[4] = {
    {BITMAP_BUTTON_SKIN_NORMAL_LEFT, BITMAP_BUTTON_SKIN_NORMAL_RIGHT, BITMAP_BUTTON_SKIN_NORMAL_MIDDLE},
    {BITMAP_BUTTON_SKIN_HOVER_LEFT, BITMAP_BUTTON_SKIN_HOVER_RIGHT, BITMAP_BUTTON_SKIN_HOVER_MIDDLE},
    {BITMAP_BUTTON_SKIN_PRESSED_LEFT, BITMAP_BUTTON_SKIN_PRESSED_RIGHT, BITMAP_BUTTON_SKIN_PRESSED_MIDDLE},
    {BITMAP_BUTTON_SKIN_DEFAULT_LEFT, BITMAP_BUTTON_SKIN_DEFAULT_RIGHT, BITMAP_BUTTON_SKIN_DEFAULT_MIDDLE},
};

namespace {
HBITMAP Skin(int id) { return ButtonSkins[id - BITMAP_BUTTON_SKIN_FIRST]; }

ButtonControl* RecordOf(HWND window) {
  return reinterpret_cast<ButtonControl*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

uint8_t RestState(const ButtonControl* r) { return r->isDefault == 1 ? BUTTON_DEFAULT : BUTTON_NORMAL; }

void RedrawNow(HWND window) {
  InvalidateRect(window, nullptr, FALSE);
  UpdateWindow(window);
}
}  // namespace

void LoadButtonBitmaps() {
  for (int i = 0; i < BITMAP_BUTTON_SKIN_COUNT; ++i)
    ButtonSkins[i] = static_cast<HBITMAP>(LoadImageA(static_cast<HINSTANCE>(ModuleInstance),
                                                     MAKEINTRESOURCEA(BITMAP_BUTTON_SKIN_FIRST + i), IMAGE_BITMAP,
                                                     0, 0, LR_CREATEDIBSECTION));
}

void FreeButtonBitmaps() {
  for (HBITMAP& skin : ButtonSkins) {
    if (skin) DeleteObject(skin);
    skin = nullptr;
  }
}

void InitButtonControls() {
  ButtonFont = ControlFont(FW_BOLD, FALSE);
  LoadButtonBitmaps();
  RegisterButtonClass(static_cast<HINSTANCE>(ModuleInstance));
}

void ReleaseButtonControls() {
  if (ButtonFont) DeleteObject(ButtonFont);
  ButtonFont = nullptr;
  UnregisterClassA(BUTTON_CLASS_NAME, static_cast<HINSTANCE>(ModuleInstance));
  FreeButtonBitmaps();
}

int RegisterButtonClass(HINSTANCE instance) {
  return RegisterControlClass(instance, ButtonWndProc, BUTTON_CLASS_NAME);
}

ButtonControl* AttachButtonControl(HWND dialog, int item, const char* caption, uint8_t is_default) {
  auto* r = static_cast<ButtonControl*>(FindControlRecord(GetDlgItem(dialog, item), BUTTON_CLASS_NAME));
  if (!r) return nullptr;
  r->isDefault = is_default;
  r->state = is_default == 1 ? BUTTON_DEFAULT : BUTTON_NORMAL;
  r->enabled = 1;
  if (caption) ControlRecordSetText(&r->text, caption);
  return r;
}

LRESULT CALLBACK ButtonWndProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE:
      return CreateControlRecord<ButtonControl>(window);
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      const ButtonControl* r = RecordOf(window);
      if (dc && r) {
        RECT text_rect;
        GetWindowRect(window, &text_rect);
        OffsetRect(&text_rect, -text_rect.left, -text_rect.top);
        uint8_t state = r->enabled && r->state <= BUTTON_DEFAULT ? r->state : uint8_t{BUTTON_NORMAL};
        const SkinTriple& skins = BUTTON_SKINS_OF_STATE[state];
        PaintButton(dc, r->id, r->x, r->y, r->width, r->height, &text_rect, r->enabled, r->text, Skin(skins.left),
                    Skin(skins.right), Skin(skins.middle));
      }
      EndPaint(window, &ps);
      return 1;
    }
    case WM_MOUSEMOVE: {
      ButtonControl* r = RecordOf(window);
      if (!r || !r->enabled) return 1;
      int x = static_cast<int16_t>(LOWORD(lparam));
      int y = static_cast<int16_t>(HIWORD(lparam));
      RECT client;
      GetClientRect(window, &client);
      if (x < client.left || x >= client.right || y < client.top || y >= client.bottom) {
        ReleaseCapture();
        r->state = RestState(r);
        RedrawNow(window);
      } else if (r->state != BUTTON_HOVER) {
        SetCapture(window);
        r->state = BUTTON_HOVER;
        RedrawNow(window);
      }
      return 1;
    }
    case WM_LBUTTONDOWN: {
      ButtonControl* r = RecordOf(window);
      if (r && r->enabled) {
        r->state = BUTTON_PRESSED;
        RedrawNow(window);
      }
      return 1;
    }
    case WM_LBUTTONUP: {
      ButtonControl* r = RecordOf(window);
      if (r) {
        r->state = RestState(r);
        RedrawNow(window);
        PostMessageA(GetParent(window), WM_COMMAND, static_cast<WPARAM>(r->id), 0);
      }
      return 1;
    }
    case WM_COMMAND:
      PostMessageA(GetParent(window), WM_COMMAND, wparam, lparam);
      return 1;
    case WM_NCDESTROY:
      return DestroyControlRecord<ButtonControl>(window, message, wparam, lparam);
    default:
      return DefWindowProcA(window, message, wparam, lparam);
  }
}
