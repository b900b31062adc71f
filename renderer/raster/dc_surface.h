// A drawing surface for the device-context routines: read and write one
// pixel in the platform's 0x00BBGGRR colours (red in the low byte, green in
// the second, blue in the third).
//
// The routines need nothing else of a device context, so the surface is a
// plain record: an opaque context handed back to two function pointers,
// plus the rectangle of pixels that exist. The routines never call
// getPixel/setPixel outside that rectangle, which is also how they bound
// their work when end points lie far outside it.
//
// Two surfaces are provided: an in-memory one (tests, the native build) and,
// on Windows, an adapter over a real device context's GetPixel/SetPixel
// (renderer/raster/dc_surface_win.h).
#pragma once
#include <cstdint>

// GetPixel's answer for a pixel that cannot be read (outside the clip
// region, or on a device without pixel access).
constexpr uint32_t DC_INVALID_COLOUR = 0xFFFFFFFFu;

struct DCSurface {
  void* context;                                      // HDC, MemorySurface*, ...
  uint32_t (*getPixel)(void* context, int x, int y);  // 0x00BBGGRR
  void (*setPixel)(void* context, int x, int y, uint32_t colour);
  // Pixels with left <= x < right and top <= y < bottom exist; an empty
  // rectangle (right <= left or bottom <= top) means nothing is drawn.
  int left, top, right, bottom;
};

inline bool DCInside(const DCSurface& s, int64_t x, int64_t y) {
  return x >= s.left && x < s.right && y >= s.top && y < s.bottom;
}

inline uint32_t DCColour(uint32_t r, uint32_t g, uint32_t b) {
  return (r & 0xFFu) | (g & 0xFFu) << 8 | (b & 0xFFu) << 16;
}
inline uint32_t DCRed(uint32_t c) { return c & 0xFFu; }
inline uint32_t DCGreen(uint32_t c) { return c >> 8 & 0xFFu; }
inline uint32_t DCBlue(uint32_t c) { return c >> 16 & 0xFFu; }

// An in-memory surface of width x height 0x00BBGGRR pixels, row-major,
// owned by the caller. Reads outside answer DC_INVALID_COLOUR and writes
// outside are dropped, as a device context does outside its clip region.
struct MemorySurface {
  uint32_t* pixels;
  int width, height;
};

// The surface view of m (m must outlive it). A negative width or height
// gives an empty surface.
DCSurface MemorySurfaceView(MemorySurface& m);
