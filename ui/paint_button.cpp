// A skinned button's picture: two caps and a stretched middle, then the
// caption, drawn off screen and copied to the window in one block.
#include "ui/controls.h"

namespace {
void CopySkin(HDC dst, HDC skins, HBITMAP skin, int x, int width) {
  if (!skin) return;  // a missing skin draws nothing
  HGDIOBJ old = SelectObject(skins, skin);
  if (width == SKIN_WIDTH)
    BitBlt(dst, x, 0, SKIN_WIDTH, SKIN_HEIGHT, skins, 0, 0, SRCCOPY);
  else
    StretchBlt(dst, x, 0, width, SKIN_HEIGHT, skins, 0, 0, SKIN_WIDTH, SKIN_HEIGHT, SRCCOPY);
  SelectObject(skins, old);
}
}  // namespace

void PaintButton(HDC dc, int /*id*/, int x, int y, int width, int height, RECT* text_rect, uint8_t enabled,
                 const char* text, HBITMAP left, HBITMAP right, HBITMAP middle) {
  if (width <= 0 || height <= 0) return;
  HDC mem = CreateCompatibleDC(dc);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, width, height);
  HGDIOBJ old_bitmap = SelectObject(mem, bitmap);
  HDC skins = CreateCompatibleDC(dc);
  // Rows below the 24-pixel skins show the dialog's grey, not an undefined
  // bitmap.
  RECT all = {0, 0, width, height};
  if (LinkBackgroundBrush) FillRect(mem, &all, LinkBackgroundBrush);

  CopySkin(mem, skins, left, 0, SKIN_WIDTH);
  CopySkin(mem, skins, right, width - SKIN_WIDTH, SKIN_WIDTH);
  if (width > 2 * SKIN_WIDTH) {
    SetStretchBltMode(mem, COLORONCOLOR);
    CopySkin(mem, skins, middle, SKIN_WIDTH, width - 2 * SKIN_WIDTH);
  }

  SetBkMode(mem, TRANSPARENT);
  if (!enabled) SetTextColor(mem, BUTTON_DISABLED_TEXT);
  HGDIOBJ old_font = nullptr;
  if (text && text_rect) {
    RECT r = *text_rect;
    r.top += 4;
    old_font = SelectObject(mem, ButtonFont);
    DrawTextA(mem, text, -1, &r, DT_CENTER);
    SelectObject(mem, old_font);
  }

  BitBlt(dc, x, y, width, height, mem, 0, 0, SRCCOPY);
  SelectObject(mem, old_bitmap);
  DeleteObject(bitmap);
  DeleteDC(skins);
  DeleteDC(mem);
}
