// A cloth-like test mesh: a grid of cols x rows vertices hanging in folds
// (up to depthShare of the width deep) across most of a frame (x, y relative to the centre, larger
// z nearer), textured, with unit vertex normals averaged from the faces and turned toward the
// viewer, and triangles wound to face the viewer. Header-only: the curved-mode tests and benchmarks
// share it.
#pragma once
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

#include "renderer/renderer.h"

namespace curved {

struct ClothLikeMesh {
  std::vector<__Point3ds> points;
  std::vector<__Triangle3ds> triangles;
};

inline ClothLikeMesh BuildClothLikeMesh(int cols, int rows, int width, int height,
                                        float depthShare = 0.15f) {
  ClothLikeMesh m;
  m.points.resize(size_t(cols) * rows);
  const float spanX = 0.9f * width, spanY = 0.9f * height;
  const float depth = depthShare * float(width);
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < cols; ++c) {
      __Point3ds& p = m.points[size_t(r) * cols + c];
      std::memset(&p, 0, sizeof p);
      float u = float(c) / float(cols - 1), v = float(r) / float(rows - 1);
      // Folds along x that deepen toward the bottom, and a slight sway.
      float fold = std::sin(u * 6.2831853f * 3.0f + 0.7f);
      p.x = (u - 0.5f) * spanX + 0.03f * spanX * std::sin(v * 3.1415927f) * fold;
      p.y = (v - 0.5f) * spanY;
      p.z = depth * (0.3f + 0.7f * v) * fold;
      p.textured = 1;
      p.u = u;
      p.v = v;
    }
  auto at = [&](int r, int c) { return uint32_t(r * cols + c); };
  for (int r = 0; r + 1 < rows; ++r)
    for (int c = 0; c + 1 < cols; ++c) {
      __Triangle3ds a = {{at(r, c), at(r + 1, c), at(r, c + 1)}, 0, 0};
      __Triangle3ds b = {{at(r, c + 1), at(r + 1, c), at(r + 1, c + 1)}, 0, 0};
      m.triangles.push_back(a);
      m.triangles.push_back(b);
    }
  // Face normals (P2 - P1) x (P0 - P1), turned toward the viewer, summed
  // per vertex and made unit length.
  for (__Triangle3ds& t : m.triangles) {
    __Point3ds& p0 = m.points[t.vert[0]];
    __Point3ds& p1 = m.points[t.vert[1]];
    __Point3ds& p2 = m.points[t.vert[2]];
    float ax = p2.x - p1.x, ay = p2.y - p1.y, az = p2.z - p1.z;
    float bx = p0.x - p1.x, by = p0.y - p1.y, bz = p0.z - p1.z;
    float nx = ay * bz - az * by, ny = az * bx - ax * bz, nz = ax * by - ay * bx;
    if (nz < 0) {
      std::swap(t.vert[1], t.vert[2]);
      nx = -nx, ny = -ny, nz = -nz;
    }
    for (uint32_t k : t.vert) {
      m.points[k].nx += nx;
      m.points[k].ny += ny;
      m.points[k].nz += nz;
      m.points[k].normalCount++;
    }
  }
  for (__Point3ds& p : m.points) {
    float len = std::sqrt(p.nx * p.nx + p.ny * p.ny + p.nz * p.nz);
    if (len > 0) p.nx /= len, p.ny /= len, p.nz /= len;
  }
  return m;
}

}  // namespace curved
