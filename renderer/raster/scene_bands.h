// Drawing a Flat or Phong scene a band of rows at a time (scene_bands.cpp):
// the bands, the rows of the frame each triangle reaches, and the lists of
// the triangles of each band, in array order.
#pragma once
#include <algorithm>
#include <cstdint>

#include "renderer/raster/rasterize.h"

// The bands of one __RasterScene call: `rows` rows each, `count` of them,
// the triangles of band b at entries[start[b]] .. entries[start[b + 1] - 1].
// A working buffer of the call; null when the scene is drawn whole.
//
// A band's rows of a depth buffer of the call's own (clearDepth) and of the
// layers that start zero (clearLayers: the edge layer and the recorded
// fragments) are cleared when a pass first draws into the band, not all at
// the start, so that they are in the cache when its triangles use them;
// rows no triangle reaches are never read. The layers are kept between the
// back-face and the front pass, the depths cleared for each pass.
struct SceneBands {
  int rows;
  int count;
  int* start;    // count + 1 offsets
  int* cleared;  // per band: CLEARED_DEPTH and CLEARED_LAYERS once done
  int* entries;  // triangle indices
  bool clearDepth, clearLayers;
};
extern SceneBands gSceneBands;
constexpr int CLEARED_DEPTH = 1, CLEARED_LAYERS = 2;

// Clears what the band's rows need before a pass draws into them.
void PrepareBand(SceneBands& b, int band);
// The depths of every band to be cleared again (a new pass).
void ResetBandDepths(SceneBands& b);

// Rows a band for a frame of this width (its depths, pixels and, when
// triangles are drawn through the edge layer, its three layers).
int SceneBandRows(int width, bool deep, bool layered);
// Test hook: a band height above 0 replaces the chosen one, so that small
// frames are drawn by bands too.
extern int gSceneBandRowsForced;

// The frame rows first .. last that a Flat or Phong triangle's walk, caps
// and edge bands may reach, or false when it reaches none (vertices
// finite).
bool TriangleRows(const __Triangle3ds* triangle, const __Point3ds* points, int centerY,
                  int height, int& first, int& last);

// Entries the lists need for every finite triangle of a scene whose indices
// lie below pointCount.
int64_t SceneBandEntries(int pointCount, int triangleCount, const __Triangle3ds* triangles,
                         const __Point3ds* points, int centerY, int height, int rows);

// Fills the lists with the triangles t for which drawn(t) holds.
template <class Drawn>
void BinScene(const SceneBands& b, int triangleCount, const __Triangle3ds* triangles,
              const __Point3ds* points, int centerY, int height, Drawn drawn) {
  // Counts, then offsets; each band's offset is its cursor while the entries
  // are filled, which leaves it at the next band's start, so the offsets are
  // moved back by one band at the end.
  std::fill(b.start, b.start + b.count + 1, 0);
  auto each = [&](auto visit) {
    for (int t = 0; t < triangleCount; ++t) {
      int first, last;
      if (!drawn(t) || !TriangleRows(&triangles[t], points, centerY, height, first, last))
        continue;
      for (int band = first / b.rows; band <= last / b.rows; ++band) visit(t, band);
    }
  };
  each([&](int, int band) { ++b.start[band + 1]; });
  for (int band = 0; band < b.count; ++band) b.start[band + 1] += b.start[band];
  each([&](int t, int band) { b.entries[b.start[band]++] = t; });
  for (int band = b.count; band > 0; --band) b.start[band] = b.start[band - 1];
  b.start[0] = 0;
}
