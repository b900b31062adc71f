// Depth on the triangle's plane, the depth test, and the barycentric
// interpolation of normals and texture coordinates.
#include <cmath>
#include <cstdint>

#include "renderer/raster/scan_common.h"

bool gRasterClipWalks = true;
bool gRasterSkipBlankEdges = true;
int gRowLow = 0, gRowHigh = INT32_MAX;

// Texture coordinates with the perspective division undone, so that u and v
// follow the surface.
void PerspTextureCoordinates(const __Point3ds* vertices, float x, float y, float z,
                             const BaryMatrix& persp, float& u, float& v, float centerX,
                             float centerY) {
  float xp, yp, w[3];
  PerspProject(x - centerX, y - centerY, z, xp, yp);
  BaryWeights(persp, xp, yp, w);
  u = Blend3(w, vertices[0].u, vertices[1].u, vertices[2].u);
  v = Blend3(w, vertices[0].v, vertices[1].v, vertices[2].v);
}

unsigned char ZTestWrite(float x, float y, float d, float ny, float nx, float nz,
                         __Point3ds* vertices, float& z, int& index, float& oldZ) {
  // A plane seen almost edge-on would give wild depths: the first vertex's.
  z = std::fabs(nz) < 0.01f ? vertices[0].z : -(d + ny * y + nx * x) / nz;
  if (ZBuff == nullptr) return 1;
  const int ix = TruncToInt(x), iy = TruncToInt(y);
  if (ix < 0 || iy < 0 || ix >= Zwidth || iy >= Zheight) return 0;
  const int64_t i = int64_t(ix) + int64_t(iy) * Zwidth;
  if (i > INT32_MAX) return 0;  // beyond the index range of the edge writers
  // Strictly nearer wins, so of equal depths the first drawn stays; NaN fails.
  if (!(z > ZBuff[i])) return 0;
  index = int(i);
  oldZ = ZBuff[i];
  ZBuff[i] = z;
  return 1;
}

void PerspProject(float x, float y, float z, float& xp, float& yp) {
  const float q = 1.0f - z / _Persp_Far;
  xp = x * q + _Persp_x;
  yp = y * q + _Persp_y;
}

UnitNormals MakeUnitNormals(const __Point3ds* vertices) {
  UnitNormals r;
  for (int k = 0; k < 3; ++k) {
    float nx = vertices[k].nx, ny = vertices[k].ny, nz = vertices[k].nz;
    const float length = std::sqrt(nx * nx + ny * ny + nz * nz);
    if (length > 0.0f) {
      nx /= length;
      ny /= length;
      nz /= length;
    }
    r.n[k] = {nx, ny, nz};
  }
  return r;
}

void InterpolateNormalUV(__Point* normal, __Point3ds* vertices, float x, float y, float z,
                         const BaryMatrix& screen, const BaryMatrix& persp, unsigned char textured,
                         float& u, float& v, const __Point* mid, float centerX, float centerY) {
  InterpolateNormalUVUnit(normal, vertices, MakeUnitNormals(vertices), x, y, z, screen, persp,
                          textured, u, v, mid, centerX, centerY);
}

void InterpolateUV(__Point3ds* vertices, float x, float y, float z, const BaryMatrix& screen,
                   const BaryMatrix& persp, unsigned char textured, float& u, float& v,
                   float centerX, float centerY) {
  InterpolateUVAt(vertices, x, y, z, screen, persp, textured, u, v, centerX, centerY);
}

void TriangleNormal(__Triangle3ds* triangle, __Point3ds* points, float& nx, float& ny, float& nz) {
  const __Point3ds& p0 = points[triangle->vert[0]];
  const __Point3ds& p1 = points[triangle->vert[1]];
  const __Point3ds& p2 = points[triangle->vert[2]];
  const float ux = p2.x - p1.x, uy = p2.y - p1.y, uz = p2.z - p1.z;
  const float wx = p0.x - p1.x, wy = p0.y - p1.y, wz = p0.z - p1.z;
  nx = uy * wz - uz * wy;
  ny = uz * wx - ux * wz;
  nz = ux * wy - uy * wx;
}

double Distance3(float x0, float y0, float z0, float x1, float y1, float z1) {
  const float dx = x1 - x0, dy = y1 - y0, dz = z1 - z0;
  return double(std::sqrt(dx * dx + dy * dy + dz * dz));
}

bool TriangleIsFinite(const __Triangle3ds* triangle, const __Point3ds* points, bool withZ) {
  for (int k = 0; k < 3; ++k) {
    const __Point3ds& p = points[triangle->vert[k]];
    if (!std::isfinite(p.x) || !std::isfinite(p.y)) return false;
    if (withZ && !std::isfinite(p.z)) return false;
  }
  return true;
}
