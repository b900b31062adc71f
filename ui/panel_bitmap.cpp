// A panel picture from the module's resources as a 24-bit bottom-up
// device-independent bitmap in page memory.
//
// Windows: the BITMAP resource is loaded as a DIB section and read with the
// platform's DIB query; the bitmap is never selected into a device context
// (the platform refuses to read a bitmap that is selected into one), and the
// bitmap and the contexts are released on every path. Natively a picture
// source stands in for the resources.
#include "platform/page_memory.h"
#include "ui/panel.h"

#if defined(_WIN32)
#include <windows.h>

#include "host/host.h"
#endif

A_long PanelDibStride(A_long width) {
  if (width < 1 || width > PANEL_PICTURE_MAX_SIDE) return 0;
  return ((width * 24 + 31) / 32) * 4;
}

#if !defined(_WIN32)
PanelPictureSource PanelNativePictures = nullptr;
#endif

bool LoadBitmapBits(A_long id, void** bits, A_long width, A_long height, A_long* stride) {
  *bits = nullptr;
  if (width < 1 || height < 1 || width > PANEL_PICTURE_MAX_SIDE || height > PANEL_PICTURE_MAX_SIDE)
    return false;
  const A_long row_bytes = PanelDibStride(width);
  const uint64_t bytes = uint64_t(row_bytes) * uint64_t(height);

#if defined(_WIN32)
  HBITMAP bitmap =
      static_cast<HBITMAP>(LoadImageA(static_cast<HINSTANCE>(ModuleInstance), MAKEINTRESOURCEA(id),
                                      IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (!bitmap) return false;  // no such picture in the module
  BITMAP info = {};
  bool ok = GetObjectA(bitmap, sizeof info, &info) == sizeof info && info.bmWidth == width &&
            (info.bmHeight == height || info.bmHeight == -height);
  void* buffer = ok ? PageAlloc(bytes) : nullptr;
  if (buffer) {
    HDC screen = GetDC(nullptr);
    HDC memory = screen ? CreateCompatibleDC(screen) : nullptr;
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = height;  // positive: bottom-up rows
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 24;
    format.bmiHeader.biCompression = BI_RGB;
    ok = memory && GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), buffer, &format,
                             DIB_RGB_COLORS) == height;
    if (memory) DeleteDC(memory);
    if (screen) ReleaseDC(nullptr, screen);
  }
  DeleteObject(bitmap);
  if (!buffer || !ok) {
    PageFree(buffer);
    return false;
  }
#else
  if (!PanelNativePictures) return false;
  void* buffer = PageAlloc(bytes);
  if (!buffer) return false;
  if (!PanelNativePictures(id, width, height, row_bytes, static_cast<uint8_t*>(buffer))) {
    PageFree(buffer);
    return false;
  }
#endif
  *bits = buffer;
  *stride = row_bytes;
  return true;
}
