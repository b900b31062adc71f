// The drawing surface over a Windows device context.
#if defined(_WIN32)
#include "renderer/raster/dc_surface_win.h"

namespace {

uint32_t DeviceGetPixel(void* context, int x, int y) {
  return static_cast<uint32_t>(GetPixel(static_cast<HDC>(context), x, y));
}

void DeviceSetPixel(void* context, int x, int y, uint32_t colour) {
  SetPixel(static_cast<HDC>(context), x, y, static_cast<COLORREF>(colour & 0x00FFFFFFu));
}

}  // namespace

DCSurface DeviceContextSurface(HDC dc) {
  DCSurface s;
  s.context = dc;
  s.getPixel = DeviceGetPixel;
  s.setPixel = DeviceSetPixel;
  s.left = s.top = s.right = s.bottom = 0;
  RECT box;
  int kind = dc != nullptr ? GetClipBox(dc, &box) : ERROR;
  if (kind != ERROR && kind != NULLREGION) {
    s.left = box.left;
    s.top = box.top;
    s.right = box.right;
    s.bottom = box.bottom;
  }
  return s;
}
#endif
