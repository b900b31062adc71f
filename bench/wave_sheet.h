// The waved, folded sheet every renderer benchmark draws (and the peer
// benchmark draws the same vertices): grid x grid vertices, two triangles a
// cell, over 96 % of a width x height frame, texture coordinates 0..1 and
// unit normals of the surface.
//
// Across the frame the sheet waves like a hanging cloth: its cross-section
// is a trochoid, x = c (t - e sin t), z = c e cos t, with t running over
// three waves. Where e exceeds 1 the section loops back over itself, so the
// upper rows (e grows from 0.7 at the bottom to 1.5 at the top) fold: there
// the sheet covers pixels two and three times, partly with its back turned
// to the viewer.
#pragma once
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "renderer/renderer.h"

// Sine and cosine from their series after reducing the angle to -pi..pi:
// plain arithmetic, which every build rounds alike, so the Windows build
// draws the very vertices the native one does (the C libraries' sines
// differ in the last bit).
inline double SheetSine(double x) {
  constexpr double kPi = 3.141592653589793, kTwoPi = 2.0 * kPi;
  x -= kTwoPi * std::floor((x + kPi) / kTwoPi);
  double term = x, sum = x;
  for (int n = 1; n < 20; ++n) {
    term = -term * x * x / double((2 * n) * (2 * n + 1));
    sum += term;
  }
  return sum;
}
inline double SheetCosine(double x) { return SheetSine(x + 1.5707963267948966); }

inline void BuildWaveSheet(int grid, int width, int height, std::vector<__Point3ds>& points,
                           std::vector<__Triangle3ds>& triangles) {
  constexpr double kWaves = 3.0, kSpan = 0.96, kTwoPi = 6.283185307179586;
  const double c = kSpan * width / (kTwoPi * kWaves);
  for (int r = 0; r < grid; ++r)
    for (int col = 0; col < grid; ++col) {
      const double u = double(col) / (grid - 1), v = double(r) / (grid - 1);
      const double t = kTwoPi * kWaves * u, e = 0.7 + 0.8 * v;
      // Position and its derivatives along u and v.
      const double sine = SheetSine(t), cosine = SheetCosine(t);
      const double x = c * (t - e * sine) - 0.5 * kSpan * width;
      const double y = (v - 0.5) * kSpan * height;
      const double z = c * e * cosine;
      const double tu = kTwoPi * kWaves;
      const double xu = c * tu * (1.0 - e * cosine), zu = -c * tu * e * sine;
      const double xv = -c * 0.8 * sine, yv = kSpan * height, zv = c * 0.8 * cosine;
      // The normal is P_u x P_v; it faces the viewer (z > 0) where the
      // section runs forward.
      const double nx = -zu * yv, ny = zu * xv - xu * zv, nz = xu * yv;
      const double len = std::sqrt(nx * nx + ny * ny + nz * nz);
      __Point3ds p{};
      p.x = float(x);
      p.y = float(y);
      p.z = float(z);
      p.nx = float(nx / len);
      p.ny = float(ny / len);
      p.nz = float(nz / len);
      p.textured = 1;
      p.u = float(u);
      p.v = float(v);
      points.push_back(p);
    }
  for (int r = 0; r + 1 < grid; ++r)
    for (int col = 0; col + 1 < grid; ++col) {
      const uint32_t a = uint32_t(r * grid + col), b = a + 1, d = a + grid, e = d + 1;
      triangles.push_back({{a, b, e}, 0, 0});
      triangles.push_back({{a, e, d}, 0, 0});
    }
}

// How a mesh lies on a width x height frame whose centre is (centerX,
// centerY), sampled at pixel centres: pixels covered at all and pixels
// covered more than once.
struct SheetCoverage {
  int64_t covered = 0, overlapped = 0;
};

inline SheetCoverage MeasureCoverage(const std::vector<__Point3ds>& points,
                                     const std::vector<__Triangle3ds>& triangles, int width, int height,
                                     int centerX, int centerY) {
  std::vector<uint8_t> count(size_t(width) * height, 0);
  for (const __Triangle3ds& t : triangles) {
    double px[3], py[3];
    for (int k = 0; k < 3; ++k) {
      px[k] = double(points[t.vert[k]].x) + centerX;
      py[k] = double(points[t.vert[k]].y) + centerY;
    }
    const double area = (px[1] - px[0]) * (py[2] - py[0]) - (py[1] - py[0]) * (px[2] - px[0]);
    if (area == 0.0) continue;
    const double sign = area > 0.0 ? 1.0 : -1.0;
    const int x0 = std::max(0, int(std::floor(std::min({px[0], px[1], px[2]}))));
    const int x1 = std::min(width - 1, int(std::ceil(std::max({px[0], px[1], px[2]}))));
    const int y0 = std::max(0, int(std::floor(std::min({py[0], py[1], py[2]}))));
    const int y1 = std::min(height - 1, int(std::ceil(std::max({py[0], py[1], py[2]}))));
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x) {
        const double sx = x + 0.5, sy = y + 0.5;
        bool inside = true;
        for (int k = 0; k < 3 && inside; ++k) {
          const int j = (k + 1) % 3;
          // Strictly inside every edge: a pixel centre on an edge two
          // triangles share counts for neither.
          inside = sign * ((px[j] - px[k]) * (sy - py[k]) - (py[j] - py[k]) * (sx - px[k])) > 0.0;
        }
        uint8_t& n = count[size_t(y) * width + x];
        if (inside && n < 255) ++n;
      }
  }
  SheetCoverage c;
  for (uint8_t n : count) {
    c.covered += n > 0;
    c.overlapped += n > 1;
  }
  return c;
}

// Why the sheet does not suit the benchmarks at 1920 x 1080 around the frame
// centre, or null: it must have about 7,000 triangles, cover at least 85 % of
// the frame and fold over itself somewhere.
inline const char* WaveSheetFault(const std::vector<__Point3ds>& points,
                                  const std::vector<__Triangle3ds>& triangles) {
  constexpr int kWidth = 1920, kHeight = 1080;
  if (triangles.size() < 6500 || triangles.size() > 7500) return "the sheet should have about 7,000 triangles";
  const SheetCoverage c = MeasureCoverage(points, triangles, kWidth, kHeight, kWidth / 2, kHeight / 2);
  if (c.covered * 100 < int64_t(kWidth) * kHeight * 85) return "the sheet covers less than 85 % of the frame";
  if (c.overlapped == 0) return "the sheet does not fold over itself";
  return nullptr;
}
