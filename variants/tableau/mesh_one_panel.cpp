// The one-panel mesh (Tableau, and Drape, which folds its face normals with
// its own AccumulateVertexNormal): one vertex a particle of ClothCur, two
// triangles a grid cell, the texture spanning the whole panel once.
//
// Cell (row, col) with d = row x W + col gives the triangles (d, d + W,
// d + 1) and (d + 1, d + W, d + W + 1) at 2 x (row x (W - 1) + col), which
// face +z on the flat set-up grid. Texture coordinates: u = 0.01 + col / W,
// v = 0.99 - row / H, each quotient in single precision and the sum in
// double, stored as float; so the rightmost column samples at 0.01 +
// (W - 1) / W, just short of 1.01.
#include "cloth/cloth.h"
#include "cloth/mesh_arrays.h"

bool BuildClothMesh(int32_t* vertexCount, int32_t* triangleCount, __Triangle3ds** triangles, __Point3ds** points,
                    uint8_t textured) {
  *triangles = nullptr;
  *points = nullptr;
  const int32_t W = ClothW, H = ClothH;
  if (W < 2 || H < 2 || !ClothCur || int64_t(W) * H != ClothCount || ClothCount > INT32_MAX / 4)
    return MeshBuildFailed(vertexCount, triangleCount, triangles, points);
  const int64_t tris = (2 * int64_t(H) - 2) * (W - 1);
  if (!AllocMeshArrays(ClothCount, int32_t(tris), vertexCount, triangleCount, triangles, points)) return false;

  __Point3ds* pts = *points;
  for (int32_t i = 0; i < ClothCount; ++i) {
    const int32_t col = i % W, row = i / W;
    const ClothParticle& q = ClothCur[i];
    __Point3ds& v = pts[i];
    v.x = MeshScaleX * q.x;
    v.y = MeshScaleY * q.y;
    v.z = MeshScaleX * q.z;
    if (textured) {
      v.textured = 1;
      v.u = float(0.01 + double(float(col) / float(W)));
      v.v = float(0.99 - double(float(row) / float(H)));
    }
  }

  __Triangle3ds* t = *triangles;
  MeshPanelTriangles(t, 0, W, H);
  for (int64_t k = 0; k < tris; ++k) AddTriangleNormal(t + k, pts);
  SmoothVertexNormals(pts, 0, W, H);
  return true;
}
