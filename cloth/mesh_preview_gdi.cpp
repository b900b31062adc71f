// Wireframe preview of the cloth on a device context.
#include "cloth/mesh_preview_gdi.h"

#include <cmath>

#include "cloth/cloth_internal.h"

static constexpr int kPreviewSize = 400;

// 50v + 150 truncated toward zero; NaN and values GDI cannot take land on
// the nearest coordinate GDI accepts (27-bit range), never in an undefined
// conversion.
static int PreviewCoord(float v) {
  const float p = v * 50.0f + 150.0f;
  constexpr float kLimit = 134217727.0f;  // 2^27 - 1
  if (!(p == p)) return 0;
  if (p > kLimit) return int(kLimit);
  if (p < -kLimit) return -int(kLimit);
  return int(p);
}

static POINT PreviewPoint(int64_t index) {
  POINT pt;
  pt.x = PreviewCoord(ClothCur[index].x);
  pt.y = PreviewCoord(ClothCur[index].y);
  return pt;
}

BOOL DrawClothPreviewGDI(HDC dc) {
  HDC mem = CreateCompatibleDC(dc);
  if (!mem) return FALSE;
  HBITMAP bitmap = CreateCompatibleBitmap(dc, kPreviewSize, kPreviewSize);
  if (!bitmap) {
    DeleteDC(mem);
    return FALSE;
  }
  HGDIOBJ old = SelectObject(mem, bitmap);
  RECT all = {0, 0, kPreviewSize, kPreviewSize};
  FillRect(mem, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));

  if (ClothCur && ClothGridUsable()) {
    const int32_t W = ClothW, H = ClothH;
    for (int32_t r = 0; r <= H - 2; ++r) {
      for (int32_t c = 0; c <= W - 2; ++c) {
        const int64_t p = int64_t(r) * W + c;
        const POINT up = PreviewPoint(p + W);  // (r + 1, c)
        const POINT here = PreviewPoint(p);    // (r, c)
        const POINT right = PreviewPoint(p + 1);  // (r, c + 1)
        MoveToEx(mem, up.x, up.y, nullptr);
        LineTo(mem, here.x, here.y);
        LineTo(mem, right.x, right.y);
      }
    }
  }

  BitBlt(dc, 0, 0, kPreviewSize, kPreviewSize, mem, 0, 0, SRCCOPY);
  SelectObject(mem, old);
  DeleteObject(bitmap);
  return DeleteDC(mem);
}
