// Per-triangle set-up: copy the three vertices into image coordinates,
// order the edge list from the top vertex, fix the winding and (shaded
// modes) compute the unit plane, then hand the triangle to its converter.
#include <cmath>

#include "renderer/raster/rasterize.h"

namespace {

bool Finite3(float a, float b, float c) {
  return std::isfinite(a) && std::isfinite(b) && std::isfinite(c);
}

// Steps 1 to 4 shared by the three set-ups: false when nothing is drawn.
// `useZ`: the shaded modes read z (depth), the solid fill does not.
bool PrepareTriangle(const __Triangle3ds* triangle, const __Point3ds* vertices, int centerX,
                     int centerY, bool useZ, __Point3ds local[3], EdgeRecord edges[3],
                     float& minY) {
  for (int k = 0; k < 3; ++k) {
    local[k] = vertices[triangle->vert[k]];
    local[k].x += float(centerX);
    local[k].y += float(centerY);
    // A vertex that is not a finite point has no pixels; skipping it keeps
    // every later walk and conversion well defined.
    if (!std::isfinite(local[k].x) || !std::isfinite(local[k].y)) return false;
    if (useZ && !std::isfinite(local[k].z)) return false;
  }
  edges[0] = {0, 1, 0};
  edges[1] = {1, 2, 0};
  edges[2] = {2, 0, 0};
  const int top = TopBottomVertex(3, local, edges, minY);
  RotateEdgeList(3, top, edges);
  return FixWinding(edges, local);
}

// Steps 5 to 8: the unit plane through the fixed triangle. False when it
// faces away (nz > 0, slivers flipped the wrong way) or is not finite (the
// products of coordinates near the float range overflow).
bool TrianglePlane(__Point3ds local[3], float& nx, float& ny, float& nz, float& d) {
  PlaneNormal3(local, nx, ny, nz);
  if (nz > 0.0f) return false;
  float length = std::sqrt(nx * nx + ny * ny + nz * nz);
  if (length == 0.0f) length = 1.0f;
  nx /= length;
  ny /= length;
  nz /= length;
  d = -(nx * local[0].x + ny * local[0].y + nz * local[0].z);
  return Finite3(nx, ny, nz) && std::isfinite(d);
}

}  // namespace

void PlaneNormal3(__Point3ds* p, float& nx, float& ny, float& nz) {
  const float x0 = p[0].x, y0 = p[0].y, z0 = p[0].z;
  const float x1 = p[1].x, y1 = p[1].y, z1 = p[1].z;
  const float x2 = p[2].x, y2 = p[2].y, z2 = p[2].z;
  nx = (y0 - y1) * (z2 - z1) - (y2 - y1) * (z0 - z1);
  ny = (x2 - x1) * (z0 - z1) - (x0 - x1) * (z2 - z1);
  nz = (x0 - x1) * (y2 - y1) - (y0 - y1) * (x2 - x1);
}

void PlaneNormalM3(__Point* p, float& nx, float& ny, float& nz) {
  const float x0 = p[0].x, y0 = p[0].y, z0 = p[0].z;
  const float x1 = p[1].x, y1 = p[1].y, z1 = p[1].z;
  const float x2 = p[2].x, y2 = p[2].y, z2 = p[2].z;
  nx = (y0 - y1) * (z2 - z1) - (y2 - y1) * (z0 - z1);
  ny = (x2 - x1) * (z0 - z1) - (x0 - x1) * (z2 - z1);
  nz = (x0 - x1) * (y2 - y1) - (y0 - y1) * (x2 - x1);
}

void VertexBounds(const uint32_t* index, __Point* points, float& minX, float& minY, float& maxX,
                  float& maxY) {
  minX = 1e11f;
  minY = 1e11f;
  maxX = -1e11f;
  maxY = -1e11f;
  // Only the triple's first vertex takes part.
  const __Point& p = points[index[0]];
  if (p.x < minX) minX = p.x;
  if (p.y < minY) minY = p.y;
  if (p.x > maxX) maxX = p.x;
  if (p.y > maxY) maxY = p.y;
}

void LinePlanePoint(float px, float py, float pz, float dx, float dy, float dz, float& x, float& y,
                    float& z, float a, float b, float c, float e) {
  // Solved along a dominant axis of D; only |dy| against |dx| decides.
  if (std::fabs(dy) > std::fabs(dx)) {
    y = (py * (a + c) - dy * (e + dx * px + dz * pz)) / (a + b + c);
    x = dx * (y - py) / dy + px;
    z = dz * (y - py) / dy + pz;
  } else if (dx != 0.0f) {
    x = (px * (b + c) - dx * (e + dy * py + dz * pz)) / (a + b + c);
    y = dy * (x - px) / dx + py;
    z = dz * (x - px) / dx + pz;
  } else {
    z = (pz * (a + b) - dz * (e + dx * px + dy * py)) / (a + b + c);
    x = dx * (z - pz) / dz + px;
    y = dy * (z - pz) / dz + py;
  }
}

void SetupTrianglePhong(unsigned char* dst, unsigned char* src, int width, int height,
                        __Texture* textures, material3ds* materials, int materialCount,
                        __Triangle3ds* triangle, __Point3ds* vertices, int centerX, int centerY,
                        int lightCount, light3ds* lights, GlassProp* glass) {
  __Point3ds local[3];
  EdgeRecord edges[3];
  float minY, nx, ny, nz, d;
  if (!PrepareTriangle(triangle, vertices, centerX, centerY, true, local, edges, minY)) return;
  if (!TrianglePlane(local, nx, ny, nz, d)) return;
  RasterTrianglePhong(dst, src, width, height, textures, materials, materialCount, triangle, 3,
                      local, edges, TruncToInt(minY), centerX, centerY, nx, ny, nz, d, lightCount,
                      lights, glass);
}

void SetupTriangleFlat(unsigned char* dst, unsigned char* src, int width, int height,
                       __Texture* textures, material3ds* materials, int materialCount,
                       __Triangle3ds* triangle, __Point3ds* vertices, int centerX, int centerY,
                       int lightCount, light3ds* lights, GlassProp* glass) {
  __Point3ds local[3];
  EdgeRecord edges[3];
  float minY, nx, ny, nz, d;
  if (!PrepareTriangle(triangle, vertices, centerX, centerY, true, local, edges, minY)) return;
  if (!TrianglePlane(local, nx, ny, nz, d)) return;
  RasterTriangleFlat(dst, src, width, height, textures, materials, materialCount, triangle, 3,
                     local, edges, TruncToInt(minY), centerX, centerY, nx, ny, nz, d, lightCount,
                     lights, glass);
}

void SetupTriangleSolid(unsigned char* dst, int width, int height, __Triangle3ds* triangle,
                        __Point3ds* vertices, int centerX, int centerY, float c0, float c1,
                        float c2, float opacity) {
  __Point3ds local[3];
  EdgeRecord edges[3];
  float minY;
  if (!PrepareTriangle(triangle, vertices, centerX, centerY, false, local, edges, minY)) return;
  RasterTriangleSolid(dst, width, height, triangle, 3, local, edges, TruncToInt(minY), centerX,
                      centerY, c0, c1, c2, opacity);
}
