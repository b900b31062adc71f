// The gently waved sheet the renderer's benchmarks draw: grid x grid
// vertices over 90 % of a width x height frame, depth +-40, unit normals of
// the surface, texture coordinates 0..1, two triangles a cell.
#pragma once
#include <cmath>
#include <cstdint>
#include <vector>

#include "renderer/renderer.h"

inline void BuildWaveSheet(int grid, int width, int height, std::vector<__Point3ds>& points,
                           std::vector<__Triangle3ds>& triangles) {
  for (int r = 0; r < grid; ++r)
    for (int c = 0; c < grid; ++c) {
      __Point3ds p{};
      const float u = float(c) / (grid - 1), v = float(r) / (grid - 1);
      p.x = (u - 0.5f) * 0.9f * width;
      p.y = (v - 0.5f) * 0.9f * height;
      p.z = 40.0f * std::sin(6.0f * u) * std::cos(4.0f * v);
      const float dzdx = 40.0f * 6.0f * std::cos(6.0f * u) * std::cos(4.0f * v) / (0.9f * width);
      const float dzdy = -40.0f * 4.0f * std::sin(6.0f * u) * std::sin(4.0f * v) / (0.9f * height);
      const float len = std::sqrt(dzdx * dzdx + dzdy * dzdy + 1.0f);
      p.nx = -dzdx / len;
      p.ny = -dzdy / len;
      p.nz = 1.0f / len;
      p.textured = 1;
      p.u = u;
      p.v = v;
      points.push_back(p);
    }
  for (int r = 0; r + 1 < grid; ++r)
    for (int c = 0; c + 1 < grid; ++c) {
      const uint32_t a = uint32_t(r * grid + c), b = a + 1, d = a + grid, e = d + 1;
      triangles.push_back({{a, b, e}, 0, 0});
      triangles.push_back({{a, e, d}, 0, 0});
    }
}
