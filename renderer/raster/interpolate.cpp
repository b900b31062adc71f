// Depth on the triangle's plane, the depth test, and the barycentric
// interpolation of normals and texture coordinates.
#include <cmath>
#include <cstdint>

#include "renderer/raster/scan_common.h"

bool gRasterClipWalks = true;
bool gRasterSkipBlankEdges = true;

namespace {

// Blend of three values with the weights.
inline float Blend(const float w[3], float a, float b, float c) {
  return w[0] * a + w[1] * b + w[2] * c;
}

void TextureCoordinates(const __Point3ds* vertices, float x, float y, float z,
                        const float screenW[3], const BaryMatrix& persp, float& u, float& v,
                        float centerX, float centerY) {
  if (_Persp_Val == 0.0f) {
    u = Blend(screenW, vertices[0].u, vertices[1].u, vertices[2].u);
    v = Blend(screenW, vertices[0].v, vertices[1].v, vertices[2].v);
    return;
  }
  // Undo the perspective division so that u and v follow the surface.
  float xp, yp, w[3];
  PerspProject(x - centerX, y - centerY, z, xp, yp);
  BaryWeights(persp, xp, yp, w);
  u = Blend(w, vertices[0].u, vertices[1].u, vertices[2].u);
  v = Blend(w, vertices[0].v, vertices[1].v, vertices[2].v);
}

}  // namespace

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

// The quadratic field is the quadratic triangle whose corner normals are the
// unit vertex normals and whose edge-middle control normals are the plain
// averages M01, M12, M20; its cross terms carry the factor 2 of the
// quadratic weights (w0 + w1 + w2)^2. With unit stored normals it equals the
// linear field; stored normals of other lengths bend it toward the longer.
void InterpolateNormalUVUnit(__Point* normal, const __Point3ds* vertices,
                             const UnitNormals& unit, float x, float y, float z,
                             const BaryMatrix& screen, const BaryMatrix& persp,
                             unsigned char textured, float& u, float& v, const __Point* mid,
                             float centerX, float centerY) {
  float w[3];
  BaryWeights(screen, x, y, w);
  const __Point* n = unit.n;
  if (_Quality && _UsePhong2 && mid != nullptr) {
    const float a = w[0] * w[0], b = w[1] * w[1], c = w[2] * w[2];
    const float ab = 2.0f * w[0] * w[1], bc = 2.0f * w[1] * w[2], ca = 2.0f * w[2] * w[0];
    normal->x = a * n[0].x + b * n[1].x + c * n[2].x + ab * mid[0].x + bc * mid[1].x + ca * mid[2].x;
    normal->y = a * n[0].y + b * n[1].y + c * n[2].y + ab * mid[0].y + bc * mid[1].y + ca * mid[2].y;
    normal->z = a * n[0].z + b * n[1].z + c * n[2].z + ab * mid[0].z + bc * mid[1].z + ca * mid[2].z;
  } else {
    normal->x = Blend(w, n[0].x, n[1].x, n[2].x);
    normal->y = Blend(w, n[0].y, n[1].y, n[2].y);
    normal->z = Blend(w, n[0].z, n[1].z, n[2].z);
  }
  if (textured) TextureCoordinates(vertices, x, y, z, w, persp, u, v, centerX, centerY);
}

void InterpolateNormalUV(__Point* normal, __Point3ds* vertices, float x, float y, float z,
                         const BaryMatrix& screen, const BaryMatrix& persp,
                         unsigned char textured, float& u, float& v, const __Point* mid,
                         float centerX, float centerY) {
  InterpolateNormalUVUnit(normal, vertices, MakeUnitNormals(vertices), x, y, z, screen, persp,
                          textured, u, v, mid, centerX, centerY);
}

void InterpolateUV(__Point3ds* vertices, float x, float y, float z, const BaryMatrix& screen,
                   const BaryMatrix& persp, unsigned char textured, float& u, float& v,
                   float centerX, float centerY) {
  if (!textured) return;
  float w[3] = {0.0f, 0.0f, 0.0f};
  if (_Persp_Val == 0.0f) BaryWeights(screen, x, y, w);
  TextureCoordinates(vertices, x, y, z, w, persp, u, v, centerX, centerY);
}

void TriangleNormal(__Triangle3ds* triangle, __Point3ds* points, float& nx, float& ny,
                    float& nz) {
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
