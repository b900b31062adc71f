// A module picture drawn onto a device context, optionally with a key colour
// that stays transparent. Nothing in the effect calls these.
#include <windows.h>

#include "host/host.h"
#include "ui/panel.h"

// keyed: the picture's top-left pixel is the key; every other colour is set
// pixel by pixel. Otherwise one block transfer of width x height.
void BlitKeyedBitmap(HDC dc, int y, int x, int width, int height, int id, BYTE keyed) {
  HBITMAP bitmap = LoadBitmapA(static_cast<HINSTANCE>(ModuleInstance), MAKEINTRESOURCEA(id));
  if (!bitmap) return;
  HDC memory = CreateCompatibleDC(dc);
  if (!memory) {
    DeleteObject(bitmap);
    return;
  }
  HGDIOBJ previous = SelectObject(memory, bitmap);
  if (keyed) {
    const COLORREF key = GetPixel(memory, 0, 0);
    for (int i = 0; i < height; ++i)
      for (int j = 0; j < width; ++j) {
        const COLORREF c = GetPixel(memory, j, i);
        if (c != key && c != CLR_INVALID) SetPixel(dc, x + j, y + i, c);
      }
  } else {
    BitBlt(dc, x, y, width, height, memory, 0, 0, SRCCOPY);
  }
  SelectObject(memory, previous);  // the bitmap can only be deleted once it is out
  DeleteDC(memory);
  DeleteObject(bitmap);
}

void BlitKeyedBitmapPair(HDC dc, int y, int x, int width, int height, int id, int width2,
                         int height2, int id2) {
  BlitKeyedBitmap(dc, y, x, width, height, id, 1);
  BlitKeyedBitmap(dc, y, x + width + 20, width2, height2, id2, 0);
}
