// Texture map: the texel's colour replaces the diffuse colour in proportion
// to the map's amount times the texel's alpha, so transparent texels leave
// the material's own colour.
#include "renderer/shading/texel_sampling.h"

void ApplyTextureMap(PixelShade& shade, const map3ds& block, const __Texture& slot,
                     const PixelCall& call) {
  float a = Clamp01(block.amount);
  float bgra[4];
  SampleColourMap(slot, block, call, bgra);
  a = a * bgra[TEXEL_ALPHA];
  float w = 1.0f - a;
  if (w < 0.0f) w = 0.0f;
  shade.diffuse[0] = a * bgra[TEXEL_RED] + w * shade.diffuse[0];
  shade.diffuse[1] = a * bgra[TEXEL_GREEN] + w * shade.diffuse[1];
  shade.diffuse[2] = a * bgra[TEXEL_BLUE] + w * shade.diffuse[2];
}
