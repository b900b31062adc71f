// The four texture slots of a material, in the order the shading needs:
// the reflection lookup first (on the normal before any bump), then the
// texture, opacity and bump maps of textured triangles, and last the blend
// of the reflection into the diffuse colour, so the reflection lies over
// the texture.
#include "renderer/shading/texel_sampling.h"

namespace {

enum : int { SLOT_TEXTURE = 0, SLOT_OPACITY = 1, SLOT_BUMP = 2, SLOT_REFLECTION = 3 };
enum : int { BLOCK_TEXTURE = 0, BLOCK_OPACITY = 2, BLOCK_BUMP = 3, BLOCK_REFLECTION = 7 };

}  // namespace

void ApplyTextureSlots(PixelShade& shade, const material3ds& material, const __Texture* slots,
                       unsigned used, const PixelCall& call) {
  float reflection[3];
  const bool reflects = (used & (1u << SLOT_REFLECTION)) != 0;
  if (reflects)
    LookupReflection(shade, material.maps[BLOCK_REFLECTION], slots[SLOT_REFLECTION], call,
                     reflection);

  if (call.textured) {
    if (used & (1u << SLOT_TEXTURE))
      ApplyTextureMap(shade, material.maps[BLOCK_TEXTURE], slots[SLOT_TEXTURE], call);
    if (used & (1u << SLOT_OPACITY))
      ApplyOpacityMap(shade, material.maps[BLOCK_OPACITY], slots[SLOT_OPACITY], call);
    if (used & (1u << SLOT_BUMP))
      ApplyBumpMap(shade, material.maps[BLOCK_BUMP], slots[SLOT_BUMP], call);
  }

  if (reflects) {
    const float amount = Clamp01(shade.reflectAmount);
    float w = 1.0f - amount;
    if (w < 0.0f) w = 0.0f;
    for (int c = 0; c < 3; ++c) shade.diffuse[c] = reflection[c] * amount + shade.diffuse[c] * w;
  }
}
