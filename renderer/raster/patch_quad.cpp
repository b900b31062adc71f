// Patches draw mode: every triangle split once into four flat Phong
// triangles whose new vertices, the edge midpoints, are moved toward the
// tangent planes of the edge's two vertices; drawn through the edge layer.
#include <cmath>
#include <cstring>

#include "renderer/raster/patch_net.h"
#include "renderer/raster/raster_internal.h"
#include "renderer/raster/rasterize.h"

namespace {

// Midpoint vertex of the edge (a, b): halfway between the plain midpoint m
// and the mean of its projections onto the two tangent planes; the normal
// the plain mean of the two (not normalised).
void EdgeMidpoint(const __Point3ds& a, const __Point3ds& b, bool textured, __Point3ds* out) {
  std::memset(out, 0, sizeof *out);
  float m[3] = {(a.x + b.x) / 2.0f, (a.y + b.y) / 2.0f, (a.z + b.z) / 2.0f};
  float qa[3], qb[3];
  PatchTangentProject(a, m, qa);
  PatchTangentProject(b, m, qb);
  out->x = (m[0] + (qa[0] + qb[0]) / 2.0f) / 2.0f;
  out->y = (m[1] + (qa[1] + qb[1]) / 2.0f) / 2.0f;
  out->z = (m[2] + (qa[2] + qb[2]) / 2.0f) / 2.0f;
  out->nx = (a.nx + b.nx) / 2.0f;
  out->ny = (a.ny + b.ny) / 2.0f;
  out->nz = (a.nz + b.nz) / 2.0f;
  if (textured) {
    out->textured = 1;
    out->u = (a.u + b.u) / 2.0f;
    out->v = (a.v + b.v) / 2.0f;
  }
}

bool VertexIsFinite(const __Point3ds& p) {
  return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z) && std::isfinite(p.nx) &&
         std::isfinite(p.ny) && std::isfinite(p.nz);
}

}  // namespace

void BuildPatchQuad(const __Triangle3ds* triangle, const __Point3ds* points, __Point3ds vertices[6],
                    __Triangle3ds triangles[4]) {
  for (int k = 0; k < 3; ++k) vertices[k] = points[triangle->vert[k]];
  bool textured = vertices[0].textured && vertices[1].textured && vertices[2].textured;
  EdgeMidpoint(vertices[0], vertices[1], textured, &vertices[3]);
  EdgeMidpoint(vertices[1], vertices[2], textured, &vertices[4]);
  EdgeMidpoint(vertices[0], vertices[2], textured, &vertices[5]);

  static const uint32_t kSub[4][3] = {{0, 3, 5}, {3, 1, 4}, {4, 2, 5}, {3, 4, 5}};
  for (int s = 0; s < 4; ++s) {
    for (int k = 0; k < 3; ++k) triangles[s].vert[k] = kSub[s][k];
    triangles[s].flags = triangle->flags;
    triangles[s].material = triangle->material;
  }
}

void RasterPatchQuad(unsigned char* dst, unsigned char* src, int width, int height,
                     __Texture* textures, material3ds* materials, int materialCount,
                     __Triangle3ds* triangle, __Point3ds* points, int centerX, int centerY,
                     int lightCount, light3ds* lights, GlassProp* glass) {
  __Point3ds vertices[6];
  __Triangle3ds triangles[4];
  BuildPatchQuad(triangle, points, vertices, triangles);
  for (int s = 0; s < 4; ++s) {
    __Triangle3ds* sub = &triangles[s];
    // A vertex normal of zero length leaves its midpoints without a finite
    // position: such sub-triangles are not drawn.
    if (!VertexIsFinite(vertices[sub->vert[0]]) || !VertexIsFinite(vertices[sub->vert[1]]) ||
        !VertexIsFinite(vertices[sub->vert[2]]))
      continue;
    float nx, ny, nz;
    TriangleNormal(sub, vertices, nx, ny, nz);
    if (!PatchFaceVisible(nz)) continue;
    SetupTrianglePhong(dst, src, width, height, textures, materials, materialCount, sub, vertices,
                       centerX, centerY, lightCount, lights, glass);
  }
}

// Each triangle alone through the edge layer, whatever _Quality holds, over
// its box padded by its own extent.
void RasterScenePatches(unsigned char* dst, unsigned char* src, int width, int height,
                        int pointCount, int triangleCount, __Triangle3ds* triangles,
                        __Point3ds* points, int centerX, int centerY, int materialCount,
                        material3ds* materials, __Texture* textures, int lightCount,
                        light3ds* lights, GlassProp* glass) {
  for (int i = 0; i < triangleCount; ++i) {
    __Triangle3ds* triangle = &triangles[i];
    if (!TriangleIndexed(triangle, pointCount)) continue;
    PatchBox box = PatchLayerBox(triangle, points, centerX, centerY);
    ClearLayerRect(box.left, box.top, box.right, box.bottom);
    RasterPatchQuad(_EdgeLayer, src, width, height, textures, materials, materialCount, triangle,
                    points, centerX, centerY, lightCount, lights, glass);
    CompositeLayerRect(dst, box.left, box.top, box.right, box.bottom);
  }
}
