#include "tests/dc/dc_canvas.h"

#include <cstdio>
#include <cstdlib>

#if defined(_WIN32)
#include <windows.h>

#include "renderer/raster/dc_surface_win.h"
#endif

std::vector<SurfaceKind> SurfaceKinds() {
#if defined(_WIN32)
  return {SurfaceKind::Memory, SurfaceKind::DeviceContext};
#else
  return {SurfaceKind::Memory};
#endif
}

std::string SurfaceKindName(SurfaceKind kind) {
  return kind == SurfaceKind::Memory ? "Memory" : "DeviceContext";
}

namespace {
#if defined(_WIN32)
// DIB pixels are B, G, R, X bytes: 0x00RRGGBB as a little-endian word.
uint32_t FromDib(uint32_t v) { return (v & 0xFFu) << 16 | (v & 0xFF00u) | (v >> 16 & 0xFFu); }
uint32_t ToDib(uint32_t c) { return FromDib(c); }  // the swap is its own inverse
#endif
}  // namespace

Canvas::Canvas(SurfaceKind kind, int width, int height, uint32_t fill)
    : kind_(kind), width_(width), height_(height) {
  if (kind == SurfaceKind::Memory) {
    memory_.assign(size_t(width) * size_t(height), 0);
    memorySurface_ = MemorySurface{memory_.data(), width, height};
    inner_ = MemorySurfaceView(memorySurface_);
  } else {
#if defined(_WIN32)
    HDC dc = CreateCompatibleDC(nullptr);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down: row 0 first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (dc == nullptr || bitmap == nullptr || bits == nullptr) {
      std::fprintf(stderr, "cannot create a %dx%d memory device context\n", width, height);
      std::abort();
    }
    oldBitmap_ = SelectObject(dc, bitmap);
    deviceContext_ = dc;
    bitmap_ = bitmap;
    dibBits_ = static_cast<uint32_t*>(bits);
    inner_ = DeviceContextSurface(dc);
#else
    std::fprintf(stderr, "device contexts exist only on Windows\n");
    std::abort();
#endif
  }
  ResetCounts();
  counted_ = inner_;
  counted_.context = &count_;
  counted_.getPixel = CountedGet;
  counted_.setPixel = CountedSet;
  Fill(fill);
}

Canvas::~Canvas() {
#if defined(_WIN32)
  if (deviceContext_ != nullptr) {
    HDC dc = static_cast<HDC>(deviceContext_);
    SelectObject(dc, static_cast<HGDIOBJ>(oldBitmap_));
    DeleteObject(static_cast<HGDIOBJ>(bitmap_));
    DeleteDC(dc);
  }
#endif
}

uint32_t Canvas::CountedGet(void* context, int x, int y) {
  Count& c = *static_cast<Count*>(context);
  ++c.reads;
  if (!DCInside(c.inner, x, y)) ++c.outside;
  return c.inner.getPixel(c.inner.context, x, y);
}

void Canvas::CountedSet(void* context, int x, int y, uint32_t colour) {
  Count& c = *static_cast<Count*>(context);
  ++c.writes;
  if (!DCInside(c.inner, x, y)) ++c.outside;
  c.inner.setPixel(c.inner.context, x, y, colour);
}

uint32_t Canvas::At(int x, int y) const {
  size_t i = size_t(y) * size_t(width_) + size_t(x);
#if defined(_WIN32)
  if (kind_ == SurfaceKind::DeviceContext) {
    GdiFlush();
    return FromDib(dibBits_[i]);
  }
#endif
  return memory_[i];
}

void Canvas::Set(int x, int y, uint32_t colour) {
  size_t i = size_t(y) * size_t(width_) + size_t(x);
#if defined(_WIN32)
  if (kind_ == SurfaceKind::DeviceContext) {
    GdiFlush();
    dibBits_[i] = ToDib(colour);
    return;
  }
#endif
  memory_[i] = colour;
}

void Canvas::Fill(uint32_t colour) {
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) Set(x, y, colour);
}

std::vector<uint32_t> Canvas::Pixels() const {
  std::vector<uint32_t> p(size_t(width_) * size_t(height_));
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) p[size_t(y) * size_t(width_) + size_t(x)] = At(x, y);
  return p;
}

std::string Canvas::Diff(const std::vector<uint32_t>& expected) const {
  std::string out;
  int lines = 0;
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      uint32_t got = At(x, y), want = expected[size_t(y) * size_t(width_) + size_t(x)];
      if (got == want) continue;
      if (++lines > 20) return out + "...\n";
      char line[80];
      std::snprintf(line, sizeof line, "%d,%d: got %06X want %06X\n", x, y, unsigned(got),
                    unsigned(want));
      out += line;
    }
  }
  return out;
}

PixelSet PixelsOf(const Canvas& c, uint32_t colour) {
  PixelSet s;
  for (int y = 0; y < c.Height(); ++y)
    for (int x = 0; x < c.Width(); ++x)
      if (c.At(x, y) == colour) s.insert({x, y});
  return s;
}

RecordingSurface::RecordingSurface(int left, int top, int right, int bottom, uint32_t fill)
    : fill_(fill), surface_{this, Get, Set, left, top, right, bottom} {}

uint32_t RecordingSurface::Get(void* context, int x, int y) {
  RecordingSurface& s = *static_cast<RecordingSurface*>(context);
  s.reads.insert({x, y});
  const auto it = s.written.find({x, y});
  return it == s.written.end() ? s.fill_ : it->second;
}

void RecordingSurface::Set(void* context, int x, int y, uint32_t colour) {
  static_cast<RecordingSurface*>(context)->written[{x, y}] = colour;
}
