// Depth sort of the triangles: far to near by the sum of the three vertex
// depths, so that nearer triangles are drawn later.
//
// The sort is stable: triangles of equal sums keep their mesh order on every
// platform (a flat cloth at rest makes every sum equal). A NaN sum compares
// as the farthest value, so it cannot break the ordering.
#include <algorithm>
#include <cmath>
#include <limits>

#include "renderer/raster/raster_internal.h"

namespace {

float SortKey(const __Triangle3ds& t) {
  const float sum =
      (_SortPoints[t.vert[0]].z + _SortPoints[t.vert[1]].z) + _SortPoints[t.vert[2]].z;
  return std::isnan(sum) ? -std::numeric_limits<float>::infinity() : sum;
}

}  // namespace

float TriangleDepthSum(int index, __Triangle3ds* triangles, __Point3ds* points) {
  const __Triangle3ds& t = triangles[index];
  return (points[t.vert[0]].z + points[t.vert[1]].z) + points[t.vert[2]].z;
}

int CompareTriangleDepth(const void* a, const void* b) {
  const float sa = SortKey(*static_cast<const __Triangle3ds*>(a));
  const float sb = SortKey(*static_cast<const __Triangle3ds*>(b));
  if (sb > sa) return -1;
  if (sa > sb) return 1;
  return 0;
}

void __Sort(int triangleCount, __Triangle3ds* triangles, __Point3ds* points) {
  if (triangleCount <= 0) return;
  _SortPoints = points;
  std::stable_sort(triangles, triangles + triangleCount,
                   [](const __Triangle3ds& a, const __Triangle3ds& b) {
                     return CompareTriangleDepth(&a, &b) < 0;
                   });
  _SortPoints = nullptr;
}
