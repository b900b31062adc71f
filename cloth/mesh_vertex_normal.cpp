// Folding a face normal into a vertex normal: a running mean rescaled to unit
// length after every fold (the two-panel and one-panel rod plug-ins; the
// fixation-pattern plug-in keeps the plain mean instead).
#include <cmath>

#include "cloth/mesh.h"

void AccumulateVertexNormal(__Point3ds* points, int32_t index, float nx, float ny, float nz) {
  __Point3ds& v = points[index];
  if (v.normalCount == 0) {
    v.nx = nx;
    v.ny = ny;
    v.nz = nz;
    v.normalCount = 1;
    return;
  }
  const float c = float(v.normalCount);
  const float e = c + 1.0f;
  float mx = (c * v.nx + nx) / e;
  float my = (c * v.ny + ny) / e;
  float mz = (c * v.nz + nz) / e;
  const float len = std::sqrt(mx * mx + my * my + mz * mz);
  if (len != 0.0f) {
    mx /= len;
    my /= len;
    mz /= len;
  }
  v.nx = mx;
  v.ny = my;
  v.nz = mz;
  // e is at most 256: the byte wraps to 0 after the 255th normal.
  v.normalCount = uint8_t(int32_t(e));
}
