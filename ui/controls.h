// The About dialog's own window classes: "MacStyleBtn", a push button
// painted from bitmap skins with a hover, pressed and default look, and
// "ContainerLinkC", a text label that can act as a hyperlink; and balloon
// tooltips for any control.
//
// Both classes, their fonts, brush and skins exist only while the About
// command runs: InitLinkControls, then InitButtonControls before the dialog;
// ReleaseButtonControls, then ReleaseLinkControls after it. Dialog items of
// these classes come from the dialog template; the dialog procedure then
// attaches each item to its text and flags. Everything runs on the thread of
// the modal dialog.
#pragma once
#include <windows.h>

#include <cstdint>
#include <cstdlib>

extern const char LINK_CLASS_NAME[];    // "ContainerLinkC"
extern const char BUTTON_CLASS_NAME[];  // "MacStyleBtn"

constexpr COLORREF CONTROL_BACKGROUND = RGB(232, 232, 232);  // brush of both classes and the dialog
constexpr COLORREF LINK_ACTIVE_TEXT = 0xFF0000;              // COLORREF: pure blue
constexpr COLORREF BUTTON_DISABLED_TEXT = 0x7F7F7F;
constexpr int SKIN_WIDTH = 18;
constexpr int SKIN_HEIGHT = 24;
constexpr uint8_t LINK_ATTACHED = 5;

// One a "ContainerLinkC" window, on the heap, owned by the window; its
// address is in the window's GWLP_USERDATA.
struct LinkControl {
  char* text;  // heap copy owned by the record; null until attached
  HWND window;
  int32_t id;      // the window's control id
  int32_t width;   // client size at creation
  int32_t height;
  uint8_t attached;  // LINK_ATTACHED once attached: before that painting, cursor and clicks do nothing
  uint8_t active;    // non-zero: a link (blue, underlined, hand cursor, clicks reported)
  uint8_t leftAligned;  // non-zero: text at x = 0, else centred
};

enum ButtonState : uint8_t { BUTTON_NORMAL = 0, BUTTON_HOVER = 1, BUTTON_PRESSED = 2, BUTTON_DEFAULT = 3 };

// One a "MacStyleBtn" window, on the heap, owned by the window.
struct ButtonControl {
  char* text;  // the caption, heap copy owned by the record; null until attached
  HWND window;
  int32_t id;
  int32_t x, y;  // where it is painted in its own client area: 0, 0
  int32_t width, height;  // client size at creation
  uint8_t state;      // ButtonState
  uint8_t isDefault;  // 1: rests in BUTTON_DEFAULT instead of BUTTON_NORMAL
  uint8_t enabled;    // non-zero: hover and press are shown; zero: normal skin, grey text
};

// ---- shared resources (module-level, null outside the About command) ------
// CONTROL_BACKGROUND, for painting and the dialog's colours. Each class has
// a brush of the same colour as its background, which the platform deletes
// when the class is unregistered (ClassBackgroundBrush).
extern HBRUSH LinkBackgroundBrush;
extern HFONT LinkPlainFont;         // Arial 14 bold: inactive labels
extern HFONT LinkUnderlineFont;     // Arial 14 regular, underlined: links
extern HCURSOR LinkHandCursor;      // the platform's shared hand cursor
extern HFONT ButtonFont;            // Arial 14 bold
// The twelve skins, indexed by resource id - BITMAP_BUTTON_SKIN_FIRST.
extern HBITMAP ButtonSkins[12];

// The skin triple of each state (resource ids: left cap, right cap, middle).
struct SkinTriple {
  int left, right, middle;
};
extern const SkinTriple BUTTON_SKINS_OF_STATE[4];

void InitLinkControls();
void ReleaseLinkControls();
void InitButtonControls();  // after InitLinkControls: paints with its brush
void ReleaseButtonControls();
// Register the class for `instance`; return 1.
int RegisterLinkClass(HINSTANCE instance);
int RegisterButtonClass(HINSTANCE instance);
HBRUSH ClassBackgroundBrush();  // a new brush of CONTROL_BACKGROUND
void LoadButtonBitmaps();
void FreeButtonBitmaps();

// The record of `window` when its class is `class_name`, else null.
void* FindControlRecord(HWND window, const char* class_name);
// Attach a dialog item of the class; null (and nothing changed) when the item
// does not exist or is of another class.
LinkControl* AttachLinkControl(HWND dialog, int item, const char* text, uint8_t active, uint8_t left_aligned);
ButtonControl* AttachButtonControl(HWND dialog, int item, const char* caption, uint8_t is_default);

// A balloon tooltip owned by `control`; nothing without a control, a text or
// a tooltip window. title may be null.
void AddBalloonTooltip(HWND control, const char* text, const char* title);

// Paints a button of width x height at (x, y) of dc: the caps unstretched at
// 0 and width - 18, the middle stretched between them, the text centred in
// text_rect moved 4 pixels down.
void PaintButton(HDC dc, int id, int x, int y, int width, int height, RECT* text_rect, uint8_t enabled,
                 const char* text, HBITMAP left, HBITMAP right, HBITMAP middle);

LRESULT CALLBACK LinkWndProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT CALLBACK ButtonWndProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// ---- shared by the two classes (control_record.cpp) -----------------------
// Zeroed heap memory for a record; null when none can be had.
void* ControlRecordAlloc(size_t size);
// Replace *slot by a fresh heap copy of text (the old buffer is freed).
// Returns false, keeping the old text, when no memory can be had.
bool ControlRecordSetText(char** slot, const char* text);
// "Arial", height 14, the weight and underline given, proof quality, the
// other fields 0.
HFONT ControlFont(LONG weight, BYTE underline);
// Test hook: the next n record allocations fail (0: none).
extern int ControlAllocFailNext;
// Registers a class of ours: the arrow cursor and a background brush of the
// class's own (ClassBackgroundBrush), deleted again when registering fails.
// Returns 1.
int RegisterControlClass(HINSTANCE instance, WNDPROC proc, const char* class_name);

// WM_CREATE of both classes: always a record of its own, as a dialog
// template hands its item's creation data here, which is not a record and
// not ours to free. It holds the client size, the item id and the window.
// Without memory 0: creation goes on and the control stays inert.
template <typename Record>
LRESULT CreateControlRecord(HWND window) {
  auto* r = static_cast<Record*>(ControlRecordAlloc(sizeof(Record)));
  if (!r) return 0;
  RECT client;
  GetClientRect(window, &client);
  r->width = client.right - client.left;
  r->height = client.bottom - client.top;
  r->id = GetDlgCtrlID(window);
  r->window = window;
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(r));
  return 1;
}

// WM_NCDESTROY of both classes: the record and its text are freed and the
// window forgets them before the default handling; returns 0.
template <typename Record>
LRESULT DestroyControlRecord(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (auto* r = reinterpret_cast<Record*>(GetWindowLongPtrA(window, GWLP_USERDATA))) {
    std::free(r->text);
    std::free(r);
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
  }
  DefWindowProcA(window, message, wparam, lparam);
  return 0;
}
