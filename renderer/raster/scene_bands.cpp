// Drawing a Flat or Phong scene a band of rows at a time.
//
// With the default per-pixel function and no glass, what a triangle does on
// a row (its depth tests and writes, its shading and its previous-pixel
// record, its blends into the frame or the edge layer, the merge of that
// layer) depends only on the triangle and on what the triangles before it
// left on that row: no step reads another row. So every row goes through
// the same steps in the same order whether the triangles are drawn whole,
// one after the other, or band by band with each band's triangles in array
// order, every triangle drawing only its rows inside the band. The second
// order keeps a band's depths and pixels in the processor's cache instead
// of fetching them from memory for every triangle.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "renderer/raster/scene_bands.h"

SceneBands gSceneBands = {0, 0, nullptr, nullptr, nullptr, false, false};

namespace {

// Bytes of a band's working set the band height aims at: the depth and the
// pixels of its rows in the frame and the layers, about a second-level
// cache and a share of the third. Smaller bands set up the triangles that
// cross them more often, for little gain (measured at 1920 x 1080: 1 to
// 2.5 MB alike, 64 rows and more slower).
constexpr int64_t BAND_BYTES = 1536 * 1024;
constexpr int BAND_ROWS_LEAST = 16;
constexpr int BAND_ROWS_MOST = 128;

}  // namespace

int gSceneBandRowsForced = 0;

int SceneBandRows(int width, bool deep, bool layered) {
  if (gSceneBandRowsForced > 0) return gSceneBandRowsForced;
  const int64_t pixelBytes = deep ? 8 : 4;
  const int64_t perPixel = 4 + pixelBytes * (layered ? 4 : 1);
  const int64_t rows = BAND_BYTES / (perPixel * std::max(width, 1));
  return int(std::clamp<int64_t>(rows, BAND_ROWS_LEAST, BAND_ROWS_MOST));
}

bool TriangleRows(const __Triangle3ds* triangle, const __Point3ds* points, int centerY,
                  int height, int& first, int& last) {
  // The set-up adds the centre in single precision; the walks, caps and
  // edge bands reach at most 1.5 rows beyond the vertices' rows.
  double low = HUGE_VAL, high = -HUGE_VAL;
  for (int k = 0; k < 3; ++k) {
    const double y = double(points[triangle->vert[k]].y + float(centerY));
    low = std::min(low, y);
    high = std::max(high, y);
  }
  low = std::floor(low) - 2.0;
  high = std::ceil(high) + 2.0;
  if (!(high >= 0.0 && low < double(height))) return false;  // also NaN
  first = low < 0.0 ? 0 : int(low);
  last = high > double(height - 1) ? height - 1 : int(high);
  return true;
}

int64_t SceneBandEntries(int pointCount, int triangleCount, const __Triangle3ds* triangles,
                         const __Point3ds* points, int centerY, int height, int rows) {
  int64_t entries = 0;
  for (int t = 0; t < triangleCount; ++t) {
    int first, last;
    if (TriangleIndexed(&triangles[t], pointCount) && TriangleIsFinite(&triangles[t], points, true) &&
        TriangleRows(&triangles[t], points, centerY, height, first, last))
      entries += last / rows - first / rows + 1;
  }
  return entries;
}

void PrepareBand(SceneBands& b, int band) {
  const int first = band * b.rows;
  const int rows = std::min(b.rows, Zheight - first);
  int& done = b.cleared[band];
  if (b.clearDepth && !(done & CLEARED_DEPTH)) {
    // Every byte 0xFE: the far depth -1.6947395e38 in every float.
    std::memset(ZBuff + int64_t(first) * Zwidth, 0xFE, size_t(rows) * size_t(Zwidth) * sizeof(float));
    done |= CLEARED_DEPTH;
  }
  if (b.clearLayers && !(done & CLEARED_LAYERS)) {
    const int64_t bytesPerValue = _Deep ? 2 : 1;
    const int64_t offset = ChannelIndex(0, first, 0) * bytesPerValue;
    const size_t bytes = size_t(rows) * size_t(_Stride) * size_t(bytesPerValue);
    std::memset(_EdgeLayer + offset, 0, bytes);
    std::memset(_FragLayer + offset, 0, bytes);
    done |= CLEARED_LAYERS;
  }
}

void ResetBandDepths(SceneBands& b) {
  for (int band = 0; band < b.count; ++band) b.cleared[band] &= ~CLEARED_DEPTH;
}
