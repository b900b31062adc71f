// The triangles of one grid panel, the same in every mesh builder.
#include "cloth/mesh.h"

void MeshPanelTriangles(__Triangle3ds* out, int32_t firstVertex, int32_t W, int32_t H) {
  for (int32_t r = 0; r <= H - 2; ++r) {
    for (int32_t c = 0; c <= W - 2; ++c) {
      const uint32_t p = uint32_t(firstVertex + r * W + c);
      const uint32_t w = uint32_t(W);
      __Triangle3ds* t = out + 2 * (int64_t(r) * (W - 1) + c);
      t[0].vert[0] = p;
      t[0].vert[1] = p + w;
      t[0].vert[2] = p + 1;
      t[0].material = 0;
      t[1].vert[0] = p + 1;
      t[1].vert[1] = p + w;
      t[1].vert[2] = p + w + 1;
      t[1].material = 0;
    }
  }
}
