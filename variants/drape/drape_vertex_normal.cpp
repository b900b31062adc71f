// Folding a face normal into a vertex normal, the fixation-pattern
// plug-in's way: the plain running mean of the unit face normals, not
// rescaled, so a vertex where the cloth folds gets a normal shorter than 1
// and one on a flat stretch keeps unit length. A cloth vertex receives at
// most six face normals.
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
  const float n = float(v.normalCount);
  v.nx = (n * v.nx + nx) / (n + 1.0f);
  v.ny = (n * v.ny + ny) / (n + 1.0f);
  v.nz = (n * v.nz + nz) / (n + 1.0f);
  v.normalCount = uint8_t(v.normalCount + 1);  // wraps past 255, as the count is a byte
}
