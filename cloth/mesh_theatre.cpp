// The two-panel mesh: one vertex a particle of ClothCur, two triangles a grid
// cell of each panel, each panel showing one half of the texture.
//
// Layout: the left panel's vertices are 0 .. P-1 and its triangles the first
// half of the array; the right panel's vertices P .. 2P-1 (P = W x H =
// ClothPanelCount) and its triangles the second half. Cell (r, c) with p =
// r x W + c gives the triangles (p, p + W, p + 1) and (p + 1, p + W, p + W +
// 1) at 2 x (r x (W - 1) + c), which face +z on the flat set-up grid.
//
// Texture coordinates follow the running vertex index i: u = b + 0.5 x (i mod
// W) / W with b = 0.01 on the left panel and 0.5 on the right, v = 0.99 - (i
// div W) / H, both in double and stored as float. The right panel's rows
// continue the left's count, so its v lies one unit below the left panel's;
// the texture lookup wraps coordinates, so it shows the same rows.
#include "cloth/cloth_internal.h"
#include "cloth/mesh_arrays.h"

bool BuildClothMesh(int32_t* vertexCount, int32_t* triangleCount, __Triangle3ds** triangles,
                    __Point3ds** points, uint8_t textured) {
  *triangles = nullptr;
  *points = nullptr;
  if (!ClothTwoPanels || !ClothGridUsable() || !ClothCur)
    return MeshBuildFailed(vertexCount, triangleCount, triangles, points);
  const int32_t W = ClothW, H = ClothH;
  // Fewer than 2 x ClothCount, which ClothGridUsable keeps below INT32_MAX / 2.
  const int64_t tris = (4 * int64_t(H) - 4) * (W - 1);
  if (tris > INT32_MAX) return MeshBuildFailed(vertexCount, triangleCount, triangles, points);
  if (!AllocMeshArrays(ClothCount, int32_t(tris), vertexCount, triangleCount, triangles, points)) return false;

  __Point3ds* pts = *points;
  for (int32_t i = 0; i < ClothCount; ++i) {
    const ClothParticle& q = ClothCur[i];
    __Point3ds& v = pts[i];
    v.x = MeshScaleX * q.x;
    v.y = MeshScaleY * q.y;
    v.z = MeshScaleX * q.z;
    if (textured) {
      const double b = i < ClothPanelCount ? 0.01 : 0.5;
      v.textured = 1;
      v.u = float(b + 0.5 * double(i % W) / double(W));
      v.v = float(0.99 - double(i / W) / double(H));
    }
    // textured 0: flag, u and v stay as allocated (0); the normal count
    // starts at 0 either way.
  }

  MeshPanelTriangles(*triangles, 0, W, H);
  MeshPanelTriangles(*triangles + tris / 2, ClothPanelCount, W, H);
  for (int64_t t = 0; t < tris; ++t) AddTriangleNormal(*triangles + t, pts);

  SmoothVertexNormals(pts, 0, W, H);
  SmoothVertexNormals(pts, ClothPanelCount, W, H);
  return true;
}
