// Test canvases for the device-context routines: the same cases run on the
// in-memory surface and, on Windows, on a real memory device context with a
// 32-bit DIB section selected. Every surface handed to a routine counts its
// reads and writes and those that fall outside the surface.
#pragma once
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "renderer/raster/dc_surface.h"

enum class SurfaceKind { Memory, DeviceContext };

// The kinds available in this build (the device context only on Windows).
std::vector<SurfaceKind> SurfaceKinds();
std::string SurfaceKindName(SurfaceKind kind);

class Canvas {
 public:
  Canvas(SurfaceKind kind, int width, int height, uint32_t fill);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  // The counting surface to draw on.
  const DCSurface& dc() const { return counted_; }

  // Pixel (x, y) as 0x00BBGGRR, read from the storage itself (for a device
  // context: from the DIB bits, so the colour order is checked as well).
  uint32_t At(int x, int y) const;
  void Set(int x, int y, uint32_t colour);
  void Fill(uint32_t colour);
  std::vector<uint32_t> Pixels() const;

  // "x,y: got G want W" for every pixel that differs from expected (empty
  // when none does); at most 20 lines.
  std::string Diff(const std::vector<uint32_t>& expected) const;

  int Width() const { return width_; }
  int Height() const { return height_; }
  uint64_t Reads() const { return count_.reads; }
  uint64_t Writes() const { return count_.writes; }
  uint64_t Outside() const { return count_.outside; }
  void ResetCounts() { count_ = Count{inner_, 0, 0, 0}; }

 private:
  struct Count {
    DCSurface inner;
    uint64_t reads, writes, outside;
  };
  static uint32_t CountedGet(void* context, int x, int y);
  static void CountedSet(void* context, int x, int y, uint32_t colour);

  SurfaceKind kind_;
  int width_, height_;
  std::vector<uint32_t> memory_;  // the in-memory surface's pixels
  MemorySurface memorySurface_{};
  void* deviceContext_ = nullptr;  // HDC
  void* bitmap_ = nullptr;         // HBITMAP of the DIB section
  void* oldBitmap_ = nullptr;
  uint32_t* dibBits_ = nullptr;  // 0x00RRGGBB, top-down rows
  DCSurface inner_{};
  Count count_{};
  DCSurface counted_{};
};

using PixelSet = std::set<std::pair<int, int>>;

// The (x, y) of every pixel of the canvas in exactly this colour.
PixelSet PixelsOf(const Canvas& c, uint32_t colour);

// A surface over any rectangle of pixels (negative coordinates too), kept
// sparse, that records where it is read. The routines read a pixel only to
// blend into it, so for white edge pixels, which change nothing, the reads
// are the visits that cover it at all.
class RecordingSurface {
 public:
  RecordingSurface(int left, int top, int right, int bottom, uint32_t fill = 0x808080);
  const DCSurface& dc() const { return surface_; }
  std::multiset<std::pair<int, int>> reads;
  std::map<std::pair<int, int>, uint32_t> written;

 private:
  static uint32_t Get(void* context, int x, int y);
  static void Set(void* context, int x, int y, uint32_t colour);
  uint32_t fill_;
  DCSurface surface_;
};
