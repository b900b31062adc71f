// Bezier draw mode: every triangle drawn as a densely sampled cubic
// triangle, each sample shaded by the per-pixel function, through the edge
// layer.
#include <cfloat>
#include <cmath>

#include "renderer/raster/patch_net.h"
#include "renderer/raster/patch_reach.h"
#include "renderer/raster/raster_internal.h"
#include "renderer/raster/rasterize.h"

namespace {

// One triangle's walk over the sampling grid. The previous-pixel record
// holds the last drawn sample of the current row: a new row, a sample
// beyond the triangle or outside the frame, and a sample behind the depth
// buffer clear it; a sample that fails the face test leaves it alone.
struct BezierFill {
  const PatchNet* net;
  unsigned char* dst;
  unsigned char* src;
  __Triangle3ds* triangle;
  int centerX, centerY;
  int materialCount;
  material3ds* materials;
  __Texture* textures;
  int lightCount;
  light3ds* lights;
  GlassProp* glass;
  unsigned char textured;
  __PrevInfo prev;

  void Row() { prev.valid = 0; }
  void Skip() { prev.valid = 0; }

  void Sample(double w0, double w1, double w2) {
    double b[PATCH_CONTROLS];
    PatchBernstein(w0, w1, w2, b);
    double p[3];
    PatchEval3(net->pos64, b, p);
    int px, py;
    if (!PatchSamplePixel(p[0], centerX, Zwidth, &px) ||
        !PatchSamplePixel(p[1], centerY, Zheight, &py)) {
      prev.valid = 0;
      return;
    }

    // The face test needs only the normal's z; the rest waits for the depth
    // test (the same sums either way).
    const double nz = PatchEvalZ(net->nrm64, b);
    if (!PatchFaceVisible(nz)) return;  // the record stays as it is

    // Depth before shading: a sample that ends up fully transparent still
    // hides later samples behind it. A depth that is no finite float is
    // treated as hidden.
    int64_t index = int64_t(py) * Zwidth + px;
    if (!(p[2] > double(ZBuff[index])) || !(std::fabs(p[2]) <= double(FLT_MAX))) {
      prev.valid = 0;
      return;
    }
    ZBuff[index] = float(p[2]);

    double n[3];
    PatchEval3(net->nrm64, b, n);

    double uv[2] = {0.0, 0.0};
    if (textured) PatchEval2(net->uv64, b, uv);

    // Fade where the surface grazes the view.
    double fade = 1.0;
    if (std::fabs(n[2]) < 0.2) {
      fade = (n[2] / 0.2) * (n[2] / 0.2);
      if (fade > 1.0) fade = 1.0;
    }

    __Point normal = {float(n[0]), float(n[1]), float(n[2])};
    float x = float(p[0]), y = float(p[1]), z = float(p[2]);
    float u = float(uv[0]), v = float(uv[1]);
    float planeD = float(-(p[0] * n[0] + p[1] * n[1] + p[2] * n[2]));
    float c0 = 0.0f, c1 = 0.0f, c2 = 0.0f;
    float opacity =
        _RenderOnePixelFunc(float(centerX), float(centerY), dst, src, x, y, z, triangle, materials,
                            materialCount, c0, c1, c2, &normal, textured, u, v, textures,
                            lightCount, lights, &prev, glass, normal.x, normal.y, normal.z, planeD);
    float coverage = float(fade) * opacity;

    prev.nx = normal.x;
    prev.ny = normal.y;
    prev.nz = normal.z;
    prev.x = x;
    prev.y = y;
    prev.u = u;
    prev.v = v;
    prev.valid = 1;
    BlendPixelFB(dst, c0, c1, c2, px, py, coverage);
  }
};

}  // namespace

void RasterPatchBezier(unsigned char* dst, unsigned char* src, int /*width*/, int /*height*/,
                       __Triangle3ds* triangle, __Point3ds* points, int centerX, int centerY,
                       int materialCount, material3ds* materials, __Texture* textures,
                       int lightCount, light3ds* lights, GlassProp* glass) {
  if (!ZBuff) return;  // these modes always have one; nothing to test against
  unsigned char textured = points[triangle->vert[0]].textured & points[triangle->vert[1]].textured &
                           points[triangle->vert[2]].textured;
  PatchNet net;
  if (!BuildPatchNet(triangle, points, textured != 0, &net)) return;
  PatchGrid grid;
  if (!PatchGridSteps(triangle, points, &grid)) return;

  BezierFill fill = {};
  fill.net = &net;
  fill.dst = dst;
  fill.src = src;
  fill.triangle = triangle;
  fill.centerX = centerX;
  fill.centerY = centerY;
  fill.materialCount = materialCount;
  fill.materials = materials;
  fill.textures = textures;
  fill.lightCount = lightCount;
  fill.lights = lights;
  fill.glass = glass;
  fill.textured = textured;
  const PatchReach reach = MakePatchReach(net, centerX, centerY, 0.0);
  WalkPatchGridInFrame(grid, reach, fill);
}

// Each triangle alone through the edge layer, whatever _Quality holds, over
// its box padded by its own extent.
void RasterSceneBezier(unsigned char* dst, unsigned char* src, int width, int height,
                       int pointCount, int triangleCount, __Triangle3ds* triangles,
                       __Point3ds* points, int centerX, int centerY, int materialCount,
                       material3ds* materials, __Texture* textures, int lightCount,
                       light3ds* lights, GlassProp* glass) {
  for (int i = 0; i < triangleCount; ++i) {
    __Triangle3ds* triangle = &triangles[i];
    if (!TriangleIndexed(triangle, pointCount)) continue;
    PatchBox box = PatchLayerBox(triangle, points, centerX, centerY);
    ClearLayerRect(box.left, box.top, box.right, box.bottom);
    RasterPatchBezier(_EdgeLayer, src, width, height, triangle, points, centerX, centerY,
                      materialCount, materials, textures, lightCount, lights, glass);
    CompositeLayerRect(dst, box.left, box.top, box.right, box.bottom);
  }
}
