// The drawing surface over a real Windows device context (GetPixel and
// SetPixel). Windows only.
#pragma once
#if defined(_WIN32)
#include <windows.h>

#include "renderer/raster/dc_surface.h"

// The surface of dc, bounded by its clip box at the time of the call (for a
// memory device context: the selected bitmap). A device context without a
// clip box (GetClipBox fails) gives an empty surface. dc must outlive the
// surface; selecting another bitmap afterwards calls for a new surface.
DCSurface DeviceContextSurface(HDC dc);
#endif
