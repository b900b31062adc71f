// The outlines of one triangle for the line draw modes: its three edges
// P0->P1, P1->P2, P2->P0 in stored order, shifted into image coordinates.
#include <cmath>

#include "renderer/raster/rasterize.h"

namespace {

// Copies of the triangle's vertices shifted by the image centre; false when
// a coordinate the drawer uses is not finite (nothing is drawn).
bool ShiftedCorners(const __Triangle3ds* triangle, const __Point3ds* points, int centerX,
                    int centerY, bool withZ, __Point3ds p[3]) {
  for (int k = 0; k < 3; ++k) {
    p[k] = points[triangle->vert[k]];
    p[k].x += float(centerX);
    p[k].y += float(centerY);
    if (!std::isfinite(p[k].x) || !std::isfinite(p[k].y)) return false;
    if (withZ && !std::isfinite(p[k].z)) return false;
  }
  return true;
}

}  // namespace

void DrawTriangleEdgesInverse(unsigned char* dst, unsigned char* src, int width, int height,
                              __Triangle3ds* triangle, __Point3ds* points, int centerX,
                              int centerY) {
  __Point3ds p[3];
  if (!ShiftedCorners(triangle, points, centerX, centerY, false, p)) return;
  for (int k = 0; k < 3; ++k) {
    const __Point3ds &a = p[k], &b = p[(k + 1) % 3];
    DrawLineInverse(a.x, a.y, b.x, b.y, dst, src, width, height);
  }
}

void DrawTriangleEdgesShaded(unsigned char* dst, unsigned char* src, int width, int height,
                             __Texture* textures, material3ds* materials, int materialCount,
                             __Triangle3ds* triangle, __Point3ds* points, int centerX, int centerY,
                             int lightCount, light3ds* lights, GlassProp* glass) {
  __Point3ds p[3];
  if (!ShiftedCorners(triangle, points, centerX, centerY, true, p)) return;
  // The plane in stored order, without winding fix; drawn whichever way it
  // faces, and shaded with its negated normal.
  float nx, ny, nz;
  PlaneNormal3(p, nx, ny, nz);
  float length = std::sqrt(nx * nx + ny * ny + nz * nz);
  if (length == 0.0f) length = 1.0f;
  nx /= length;
  ny /= length;
  nz /= length;
  const float d = -(nx * p[0].x + ny * p[0].y + nz * p[0].z);
  for (int k = 0; k < 3; ++k) {
    const __Point3ds &a = p[k], &b = p[(k + 1) % 3];
    DrawLineShaded(a.x, b.x, a.y, b.y, _WireSize, dst, src, width, height, textures, materials,
                   materialCount, triangle, 3, p, centerX, centerY, nx, ny, nz, d, lightCount,
                   lights, glass);
  }
}

void DrawTriangleEdgesColor(float lineWidth, int c0, int c1, int c2, unsigned char* dst,
                            unsigned char* src, int width, int height, __Triangle3ds* triangle,
                            __Point3ds* points, int centerX, int centerY) {
  __Point3ds p[3];
  if (!ShiftedCorners(triangle, points, centerX, centerY, false, p)) return;
  for (int k = 0; k < 3; ++k) {
    const __Point3ds &a = p[k], &b = p[(k + 1) % 3];
    DrawLineSolidAA(c0, c1, c2, a.x, a.y, b.x, b.y, lineWidth, dst, src, width, height);
  }
}
