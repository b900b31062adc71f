// The in-memory drawing surface.
#include "renderer/raster/dc_surface.h"

namespace {

bool MemoryInside(const MemorySurface& m, int x, int y) {
  return x >= 0 && y >= 0 && x < m.width && y < m.height;
}

uint32_t MemoryGetPixel(void* context, int x, int y) {
  const MemorySurface& m = *static_cast<const MemorySurface*>(context);
  if (!MemoryInside(m, x, y)) return DC_INVALID_COLOUR;
  return m.pixels[int64_t(y) * m.width + x];
}

void MemorySetPixel(void* context, int x, int y, uint32_t colour) {
  const MemorySurface& m = *static_cast<const MemorySurface*>(context);
  if (!MemoryInside(m, x, y)) return;
  m.pixels[int64_t(y) * m.width + x] = colour & 0x00FFFFFFu;
}

}  // namespace

DCSurface MemorySurfaceView(MemorySurface& m) {
  DCSurface s;
  s.context = &m;
  s.getPixel = MemoryGetPixel;
  s.setPixel = MemorySetPixel;
  s.left = 0;
  s.top = 0;
  s.right = m.width > 0 ? m.width : 0;
  s.bottom = m.height > 0 ? m.height : 0;
  return s;
}
