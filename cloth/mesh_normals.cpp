// Face normals of the render mesh and the smoothing of the vertex normals.
// Shared by every plug-in; the accumulation into a vertex
// (AccumulateVertexNormal) is each plug-in's own.
#include <cmath>

#include "cloth/mesh.h"

void AddTriangleNormal(const __Triangle3ds* triangle, __Point3ds* points) {
  const __Point3ds& a = points[triangle->vert[0]];
  const __Point3ds& b = points[triangle->vert[1]];
  const __Point3ds& c = points[triangle->vert[2]];
  const float ux = c.x - b.x, uy = c.y - b.y, uz = c.z - b.z;  // C - B
  const float vx = a.x - b.x, vy = a.y - b.y, vz = a.z - b.z;  // A - B
  float nx = uy * vz - uz * vy;
  float ny = uz * vx - ux * vz;
  float nz = ux * vy - uy * vx;
  const float len = std::sqrt(nx * nx + ny * ny + nz * nz);
  if (len != 0.0f) {
    nx /= len;
    ny /= len;
    nz /= len;
  }
  for (int k = 0; k < 3; ++k) AccumulateVertexNormal(points, int32_t(triangle->vert[k]), nx, ny, nz);
}

// (own + n1 + n2) / 3, summed left to right like the reference results.
static void Average3(__Point3ds& p, const __Point3ds& n1, const __Point3ds& n2) {
  p.nx = (p.nx + n1.nx + n2.nx) / 3.0f;
  p.ny = (p.ny + n1.ny + n2.ny) / 3.0f;
  p.nz = (p.nz + n1.nz + n2.nz) / 3.0f;
}

void SmoothVertexNormals(__Point3ds* points, int32_t first, int32_t W, int32_t H) {
  if (W < 2 || H < 2) return;
  __Point3ds* panel = points + first;
  // Pass 1 reads its right and next-row neighbours before they are updated.
  for (int32_t r = 0; r <= H - 2; ++r) {
    for (int32_t c = 0; c <= W - 2; ++c) {
      const int64_t p = int64_t(r) * W + c;
      Average3(panel[p], panel[p + 1], panel[p + W]);
    }
  }
  // Pass 2 reads its left and previous-row neighbours after they are updated.
  for (int32_t r = 1; r <= H - 1; ++r) {
    for (int32_t c = 1; c <= W - 1; ++c) {
      const int64_t p = int64_t(r) * W + c;
      Average3(panel[p], panel[p - 1], panel[p - W]);
    }
  }
}
