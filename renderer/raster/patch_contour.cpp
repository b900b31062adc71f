// Contour band (draw mode 10, no menu entry): the cubic surface drawn as a
// silhouette band in the material colour where it grazes the view, with the
// source image showing through where it faces the viewer. No depth, no face
// flags and no per-pixel function.
#include <cstring>

#include "renderer/raster/patch_net.h"
#include "renderer/raster/patch_reach.h"
#include "renderer/raster/raster_internal.h"
#include "renderer/raster/rasterize.h"

namespace {

struct ContourFill {
  const PatchNet* net;
  unsigned char* dst;
  unsigned char* src;
  int centerX, centerY;
  float colour[3];

  void Row() {}
  void Skip() {}

  void Sample(double w0, double w1, double w2) {
    double b[PATCH_CONTROLS];
    PatchBernstein(w0, w1, w2, b);
    double p[3];
    PatchEval3(net->pos64, b, p);
    int px, py;
    if (!PatchSamplePixel(p[0], centerX, Zwidth, &px) ||
        !PatchSamplePixel(p[1], centerY, Zheight, &py))
      return;
    double nz = PatchEvalZ(net->nrm64, b);
    if (nz < 0.0) return;
    if (nz / 2.0 <= 0.15) {
      BlendPixelFB(dst, colour[0], colour[1], colour[2], px, py, PatchContourCoverage(nz));
    } else if (nz > 0.3 && src != nullptr) {
      // The four channel values at the module's depth, copied as they are
      // (without a source there is nothing to show through).
      const int64_t bytes = _Deep ? 2 : 1;
      const int64_t at = (int64_t(py) * Zwidth + px) * 4 * bytes;
      std::memcpy(dst + at, src + at, size_t(4 * bytes));
    }
  }
};

}  // namespace

void RasterPatchContour(unsigned char* dst, unsigned char* src, int /*width*/, int /*height*/,
                        __Triangle3ds* triangle, __Point3ds* points, int centerX, int centerY,
                        int materialCount, material3ds* materials) {
  PatchNet net;
  if (!BuildPatchNet(triangle, points, false, &net)) return;
  PatchGrid grid;
  if (!PatchGridSteps(triangle, points, &grid)) return;

  ContourFill fill = {};
  fill.net = &net;
  fill.dst = dst;
  fill.src = src;
  fill.centerX = centerX;
  fill.centerY = centerY;
  // The material's diffuse colour; an index beyond the list takes the last
  // material. A count below 1 means no materials (a negative count would
  // index before the array).
  if (materialCount > 0 && materials) {
    int m = triangle->material;
    if (m >= materialCount) m = materialCount - 1;
    for (int c = 0; c < 3; ++c) fill.colour[c] = materials[m].diffuse[c] * float(MaxChannel);
  } else {
    fill.colour[0] = float(MaxChannel);
    fill.colour[1] = 0.0f;
    fill.colour[2] = 0.0f;
  }
  const PatchReach reach = MakePatchReach(net, centerX, centerY, 0.0);
  WalkPatchGridInFrame(grid, reach, fill);
}

// Front pass only: nothing at all during the back-face pass.
void RasterSceneContour(unsigned char* dst, unsigned char* src, int width, int height,
                        int pointCount, int triangleCount, __Triangle3ds* triangles,
                        __Point3ds* points, int centerX, int centerY, int materialCount,
                        material3ds* materials, __Texture* /*textures*/, int /*lightCount*/,
                        light3ds* /*lights*/, GlassProp* /*glass*/) {
  if (_DrawBackFaces1 != 0) return;
  for (int i = 0; i < triangleCount; ++i)
    if (TriangleIndexed(&triangles[i], pointCount))
      RasterPatchContour(dst, src, width, height, &triangles[i], points, centerX, centerY,
                         materialCount, materials);
}
