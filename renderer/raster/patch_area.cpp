// Projected area of a triangle, a small geometric routine of the module.
#include <cmath>

#include "renderer/raster/patch_net.h"

float TriangleArea2D(const uint32_t* triangle, const __Point* points) {
  const __Point& a = points[triangle[0]];
  const __Point& b = points[triangle[1]];
  const __Point& c = points[triangle[2]];
  // Half the magnitude of the 2D cross product, expanded per vertex pair.
  return 0.5f *
         std::fabs(a.x * b.y - a.y * b.x - (a.x * c.y - a.y * c.x) + (b.x * c.y - b.y * c.x));
}
