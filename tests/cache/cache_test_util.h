// Grid globals of the two-panel cloth, as the render sets them.
#pragma once
#include <cstdint>

#include "cloth/cloth.h"

// Sets the two-panel grid globals for W x H panels and returns the cache key
// (the byte size of one particle array, 32 x W x H).
inline int32_t SetTwoPanelGrid(int32_t W, int32_t H) {
  ClothW = W;
  ClothH = H;
  ClothTwoPanels = 1;
  ClothPanelCount = W * H;
  ClothPanelOffset = 4 * W * H;
  ClothCount = 2 * W * H;
  ClothConstraintCount = 2 * ((W - 1) * H + W * (H - 1) + (W - 1) * (H - 1));
  return 32 * W * H;
}
