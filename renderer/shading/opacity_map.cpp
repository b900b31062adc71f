// Opacity map: the brightest of the texel's colour channels is the new
// opacity, in proportion to the map's amount times the texel's alpha. A
// white texel keeps the opacity, a black one removes it.
#include <cmath>

#include "renderer/shading/texel_sampling.h"

void ApplyOpacityMap(PixelShade& shade, const map3ds& block, const __Texture& slot,
                     const PixelCall& call) {
  float bgra[4];
  SampleColourMap(slot, block, call, bgra);
  const float a = Clamp01(block.amount) * bgra[TEXEL_ALPHA];
  const float m = std::fmax(std::fmax(bgra[TEXEL_RED], bgra[TEXEL_GREEN]), bgra[TEXEL_BLUE]);
  shade.opacity = m * a + std::fmax(1.0f - a, 0.0f) * shade.opacity;
}
