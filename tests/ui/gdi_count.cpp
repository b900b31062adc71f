#include "tests/ui/gdi_count.h"

#include "tests/ui/import_patch.h"

#include <cstring>
#include <set>

namespace {
std::set<void*> Live;
int64_t Made = 0;

void Add(void* h) {
  if (!h) return;
  Live.insert(h);
  ++Made;
}
int64_t FailedReleases = 0;
void Remove(void* h, BOOL ok) {
  if (ok)
    Live.erase(h);
  else
    ++FailedReleases;
}

decltype(&CreateFontIndirectA) RealCreateFontIndirectA;
decltype(&CreateSolidBrush) RealCreateSolidBrush;
decltype(&CreateCompatibleDC) RealCreateCompatibleDC;
decltype(&CreateCompatibleBitmap) RealCreateCompatibleBitmap;
decltype(&CreateDIBSection) RealCreateDIBSection;
decltype(&DeleteObject) RealDeleteObject;
decltype(&DeleteDC) RealDeleteDC;
decltype(&LoadImageA) RealLoadImageA;
decltype(&LoadBitmapA) RealLoadBitmapA;
decltype(&GetDC) RealGetDC;
decltype(&GetWindowDC) RealGetWindowDC;
decltype(&ReleaseDC) RealReleaseDC;

HFONT WINAPI CountCreateFontIndirectA(const LOGFONTA* lf) {
  HFONT h = RealCreateFontIndirectA(lf);
  Add(h);
  return h;
}
HBRUSH WINAPI CountCreateSolidBrush(COLORREF c) {
  HBRUSH h = RealCreateSolidBrush(c);
  Add(h);
  return h;
}
HDC WINAPI CountCreateCompatibleDC(HDC dc) {
  HDC h = RealCreateCompatibleDC(dc);
  Add(h);
  return h;
}
HBITMAP WINAPI CountCreateCompatibleBitmap(HDC dc, int w, int hgt) {
  HBITMAP h = RealCreateCompatibleBitmap(dc, w, hgt);
  Add(h);
  return h;
}
HBITMAP WINAPI CountCreateDIBSection(HDC dc, const BITMAPINFO* bi, UINT usage, void** bits, HANDLE section,
                                     DWORD offset) {
  HBITMAP h = RealCreateDIBSection(dc, bi, usage, bits, section, offset);
  Add(h);
  return h;
}
BOOL WINAPI CountDeleteObject(HGDIOBJ h) {
  BOOL ok = RealDeleteObject(h);
  Remove(h, ok);
  return ok;
}
BOOL WINAPI CountDeleteDC(HDC h) {
  BOOL ok = RealDeleteDC(h);
  Remove(h, ok);
  return ok;
}
HANDLE WINAPI CountLoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int cx, int cy, UINT flags) {
  HANDLE h = RealLoadImageA(instance, name, type, cx, cy, flags);
  if (type == IMAGE_BITMAP) Add(h);  // shared cursors and icons are not ours to release
  return h;
}
HBITMAP WINAPI CountLoadBitmapA(HINSTANCE instance, LPCSTR name) {
  HBITMAP h = RealLoadBitmapA(instance, name);
  Add(h);
  return h;
}
HDC WINAPI CountGetDC(HWND w) {
  HDC h = RealGetDC(w);
  Add(h);
  return h;
}
HDC WINAPI CountGetWindowDC(HWND w) {
  HDC h = RealGetWindowDC(w);
  Add(h);
  return h;
}
int WINAPI CountReleaseDC(HWND w, HDC h) {
  int ok = RealReleaseDC(w, h);
  Remove(h, ok);
  return ok;
}

struct Hook {
  const char* dll;
  const char* name;
  void* replacement;
  void** real;
};

void Patch(const Hook& hook) { *hook.real = PatchImport(hook.dll, hook.name, hook.replacement); }
}  // namespace

void GdiCountInstall() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  const Hook hooks[] = {
      {"gdi32.dll", "CreateFontIndirectA", reinterpret_cast<void*>(CountCreateFontIndirectA),
       reinterpret_cast<void**>(&RealCreateFontIndirectA)},
      {"gdi32.dll", "CreateSolidBrush", reinterpret_cast<void*>(CountCreateSolidBrush),
       reinterpret_cast<void**>(&RealCreateSolidBrush)},
      {"gdi32.dll", "CreateCompatibleDC", reinterpret_cast<void*>(CountCreateCompatibleDC),
       reinterpret_cast<void**>(&RealCreateCompatibleDC)},
      {"gdi32.dll", "CreateCompatibleBitmap", reinterpret_cast<void*>(CountCreateCompatibleBitmap),
       reinterpret_cast<void**>(&RealCreateCompatibleBitmap)},
      {"gdi32.dll", "CreateDIBSection", reinterpret_cast<void*>(CountCreateDIBSection),
       reinterpret_cast<void**>(&RealCreateDIBSection)},
      {"gdi32.dll", "DeleteObject", reinterpret_cast<void*>(CountDeleteObject),
       reinterpret_cast<void**>(&RealDeleteObject)},
      {"gdi32.dll", "DeleteDC", reinterpret_cast<void*>(CountDeleteDC), reinterpret_cast<void**>(&RealDeleteDC)},
      {"user32.dll", "LoadImageA", reinterpret_cast<void*>(CountLoadImageA),
       reinterpret_cast<void**>(&RealLoadImageA)},
      {"user32.dll", "LoadBitmapA", reinterpret_cast<void*>(CountLoadBitmapA),
       reinterpret_cast<void**>(&RealLoadBitmapA)},
      {"user32.dll", "GetDC", reinterpret_cast<void*>(CountGetDC), reinterpret_cast<void**>(&RealGetDC)},
      {"user32.dll", "GetWindowDC", reinterpret_cast<void*>(CountGetWindowDC),
       reinterpret_cast<void**>(&RealGetWindowDC)},
      {"user32.dll", "ReleaseDC", reinterpret_cast<void*>(CountReleaseDC), reinterpret_cast<void**>(&RealReleaseDC)},
  };
  for (const Hook& h : hooks) Patch(h);
}

// Objects the system released for us (class background brushes at
// unregistration) are no longer valid: they do not count.
int64_t GdiLiveObjects() {
  int64_t n = 0;
  for (void* h : Live) n += GetObjectType(h) != 0;
  return n;
}
int64_t GdiFailedReleases() { return FailedReleases; }
int64_t GdiObjectsMade() { return Made; }
