// Helpers of the mesh tests: a two-panel grid bound to the cloth globals.
#pragma once
#include <cstdint>
#include <vector>

#include "cloth/cloth.h"

// Binds `particles` (2 x W x H) as ClothCur of a two-panel grid with the
// scale factors given; the positions are the caller's.
inline void BindTwoPanelGrid(std::vector<ClothParticle>& particles, int32_t W, int32_t H,
                             float scaleX = 1.0f, float scaleY = 1.0f) {
  particles.assign(size_t(2) * W * H, ClothParticle{0, 0, 0, 0});
  ClothW = W;
  ClothH = H;
  ClothTwoPanels = 1;
  ClothPanelCount = W * H;
  ClothPanelOffset = 4 * W * H;
  ClothCount = 2 * W * H;
  MeshScaleX = scaleX;
  MeshScaleY = scaleY;
  ClothCur = particles.data();
}

// The flat set-up positions: left panel x = -2.5 .. 0 at z = 1.0, right
// panel x = 0 .. 2.5 at z = 1.5, row 0 at y = +2.5, row H-1 at -2.5.
inline void LayFlatPanels(std::vector<ClothParticle>& p, int32_t W, int32_t H) {
  for (int32_t panel = 0; panel < 2; ++panel)
    for (int32_t r = 0; r < H; ++r)
      for (int32_t c = 0; c < W; ++c) {
        ClothParticle& q = p[size_t(panel) * W * H + size_t(r) * W + c];
        q.x = (panel ? 0.0f : -2.5f) + 2.5f * float(c) / float(W - 1);
        q.y = 2.5f - 5.0f * float(r) / float(H - 1);
        q.z = panel ? 1.5f : 1.0f;
        q.w = 2.15f;
      }
}
