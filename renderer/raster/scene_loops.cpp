// Scene loops of the rough, line, flat and Phong draw modes and of the solid
// fill: each decides per triangle, in array order, whether it is drawn in
// the current pass and hands it to its edge drawer or set-up.
#include <algorithm>
#include <cmath>

#include "renderer/raster/scene_bands.h"

namespace {

// Face test: the front pass draws triangles facing the viewer (z of the
// stored-order face normal 0 or more), the back-face pass the others;
// `everyFront` (the fill modes with _UseMultyRefract 2) draws every face in
// the front pass, and _DubleSide every face in every pass.
bool DrawnInThisPass(__Triangle3ds* triangle, __Point3ds* points, bool everyFront) {
  float nx, ny, nz;
  TriangleNormal(triangle, points, nx, ny, nz);
  if (nz >= 0.0f && _DrawBackFaces1 == 0) return true;
  if (nz < 0.0f && _DrawBackFaces1 == 1) return true;
  if (everyFront && _UseMultyRefract == 2 && _DrawBackFaces1 == 0) return true;
  return _DubleSide != 0;
}

using Setup = void (*)(unsigned char*, unsigned char*, int, int, __Texture*, material3ds*, int,
                       __Triangle3ds*, __Point3ds*, int, int, int, light3ds*, GlassProp*);

// The filled modes: with _Quality each triangle is drawn alone into the
// edge layer over its box padded by 3 pixels and merged into the frame.
//
// The box is cleared before the triangle is drawn, so only the pixels the
// triangle draws inside it can have any alpha when it is merged (the merge
// leaves pixels of alpha 0 alone). With the default per-pixel function,
// which neither reads nor writes the edge layer, the loop instead keeps the
// whole layer zero between triangles (it starts zero): it merges the box
// only where the triangle drew and clears what it drew, far fewer pixels
// than the padded box twice. The frame comes out the same.
struct FillPass {
  Setup setup;
  unsigned char *dst, *src;
  int width, height;
  __Point3ds* points;
  int centerX, centerY;
  int materialCount;
  material3ds* materials;
  __Texture* textures;
  int lightCount;
  light3ds* lights;
  GlassProp* glass;
  bool layered, tracked;

  void Draw(__Triangle3ds* tri) {
    if (!layered) {
      setup(dst, src, width, height, textures, materials, materialCount, tri, points, centerX,
            centerY, lightCount, lights, glass);
      return;
    }
    const __Point3ds &a = points[tri->vert[0]], &b = points[tri->vert[1]],
                     &c = points[tri->vert[2]];
    const float minX = std::fmin(a.x, std::fmin(b.x, c.x));
    const float maxX = std::fmax(a.x, std::fmax(b.x, c.x));
    const float minY = std::fmin(a.y, std::fmin(b.y, c.y));
    const float maxY = std::fmax(a.y, std::fmax(b.y, c.y));
    const int left = TruncToInt(minX - 3.0f + float(centerX));
    const int top = TruncToInt(minY - 3.0f + float(centerY));
    const int right = TruncToInt(maxX + 3.0f + float(centerX));
    const int bottom = TruncToInt(maxY + 3.0f + float(centerY));
    if (tracked) {
      ResetLayerTouched();
      setup(_EdgeLayer, src, width, height, textures, materials, materialCount, tri, points,
            centerX, centerY, lightCount, lights, glass);
      const LayerTouched t = gLayerTouched;
      if (t.right <= t.left) return;  // nothing drawn: the layer is still zero
      CompositeLayerRect(dst, std::max(left, t.left), std::max(top, t.top),
                         std::min(right, t.right), std::min(bottom, t.bottom));
      ClearLayerRect(t.left, t.top, t.right, t.bottom);
      return;
    }
    ClearLayerRect(left, top, right, bottom);
    setup(_EdgeLayer, src, width, height, textures, materials, materialCount, tri, points, centerX,
          centerY, lightCount, lights, glass);
    CompositeLayerRect(dst, left, top, right, bottom);
  }
};

void FillScene(Setup setup, VELARRA_SCENE_LOOP_ARGS) {
  FillPass pass{setup,     dst,       src,       width,      height, points,
                centerX,   centerY,   materialCount, materials, textures, lightCount,
                lights,    glass,     _Quality != 0, _RenderOnePixelFunc == RenderOnePixel};
  auto drawn = [&](int t) {
    return TriangleIndexed(&triangles[t], pointCount) &&
           TriangleIsFinite(&triangles[t], points, true) &&
           DrawnInThisPass(&triangles[t], points, true);
  };
  SceneBands& b = gSceneBands;
  if (b.start == nullptr) {
    for (int t = 0; t < triangleCount; ++t)
      if (drawn(t)) pass.Draw(&triangles[t]);
    return;
  }
  BinScene(b, triangleCount, triangles, points, centerY, Zheight, drawn);
  for (int band = 0; band < b.count; ++band) {
    if (b.start[band] == b.start[band + 1]) continue;  // nothing reaches its rows
    PrepareBand(b, band);
    gRowLow = band * b.rows;
    gRowHigh = gRowLow + b.rows;
    for (int e = b.start[band]; e < b.start[band + 1]; ++e) pass.Draw(&triangles[b.entries[e]]);
  }
  gRowLow = 0;
  gRowHigh = INT32_MAX;
}

}  // namespace

void RasterSceneRough(VELARRA_SCENE_LOOP_ARGS) {
  (void)materialCount, (void)materials, (void)textures, (void)lightCount,
      (void)lights, (void)glass;
  for (int t = 0; t < triangleCount; ++t) {
    __Triangle3ds* tri = &triangles[t];
    if (!TriangleIndexed(tri, pointCount) || !TriangleIsFinite(tri, points, false) ||
        !DrawnInThisPass(tri, points, false))
      continue;
    DrawTriangleEdgesInverse(dst, src, width, height, tri, points, centerX, centerY);
  }
}

void RasterSceneLine(VELARRA_SCENE_LOOP_ARGS) {
  for (int t = 0; t < triangleCount; ++t) {
    __Triangle3ds* tri = &triangles[t];
    if (!TriangleIndexed(tri, pointCount) || !TriangleIsFinite(tri, points, true) ||
        !DrawnInThisPass(tri, points, false))
      continue;
    DrawTriangleEdgesShaded(dst, src, width, height, textures, materials, materialCount, tri,
                            points, centerX, centerY, lightCount, lights, glass);
  }
}

void RasterSceneFlat(VELARRA_SCENE_LOOP_ARGS) {
  FillScene(SetupTriangleFlat, dst, src, width, height, pointCount, triangleCount, triangles,
            points, centerX, centerY, materialCount, materials, textures, lightCount, lights,
            glass);
}

void RasterScenePhong(VELARRA_SCENE_LOOP_ARGS) {
  FillScene(SetupTrianglePhong, dst, src, width, height, pointCount, triangleCount, triangles,
            points, centerX, centerY, materialCount, materials, textures, lightCount, lights,
            glass);
}

void RasterSolidTriangles(unsigned char* dst, int width, int height, int pointCount,
                          int triangleCount, __Triangle3ds* triangles, __Point3ds* points,
                          int centerX, int centerY, float c0, float c1, float c2, float opacity) {
  for (int t = 0; t < triangleCount; ++t)
    if (TriangleIndexed(&triangles[t], pointCount))
      SetupTriangleSolid(dst, width, height, &triangles[t], points, centerX, centerY, c0, c1, c2,
                         opacity);
}

void __DrawScenesLineColor(float lineWidth, int c0, int c1, int c2, unsigned char* dst,
                           unsigned char* src, int width, int height, int, int triangleCount,
                           __Triangle3ds* triangles, __Point3ds* points, int centerX, int centerY) {
  // Clipped to the frame of the last render (nothing before the first one,
  // nor after one whose rows were shorter than a frame row).
  if (!FrameRowsFit()) return;
  for (int t = 0; t < triangleCount; ++t) {
    __Triangle3ds* tri = &triangles[t];
    if (!TriangleIsFinite(tri, points, false)) continue;
    float nx, ny, nz;
    TriangleNormal(tri, points, nx, ny, nz);
    if (nz >= 0.0f || _DubleSide)
      DrawTriangleEdgesColor(lineWidth, c0, c1, c2, dst, src, width, height, tri, points, centerX,
                             centerY);
  }
}
