// Perspective division of the vertex positions about (px, py).
#include <cmath>

#include "renderer/raster/raster_internal.h"

namespace {
// Smallest magnitude of the divisor: a point at z = far is pushed 1e8 times
// its offset away instead of dividing by zero.
constexpr float MIN_DIVISOR = 1e-8f;
}  // namespace

void __AddPersp(int pointCount, __Point3ds* points, float val, float px, float py, float far) {
  // The globals are stored first and always: the scan conversion undoes the
  // division with them while _Persp_Val is non-zero.
  _Persp_x = px;
  _Persp_y = py;
  _Persp_Far = far;
  _Persp_Val = val;
  if (far == 0.0f || val == 0.0f) return;
  for (int i = 0; i < pointCount; ++i) {
    __Point3ds& p = points[i];
    float q = 1.0f - p.z / far;
    if (std::fabs(q) < MIN_DIVISOR) q = q < 0.0f ? -MIN_DIVISOR : MIN_DIVISOR;
    p.x = (p.x - px) / q + px;
    p.y = (p.y - py) / q + py;
  }
}
