// Placeholders of the texture slots and glass: they change nothing. Replaced
// by the texture sampling and glass refraction sources.
#include "renderer/shading/shading_internal.h"

void ApplyTextureSlots(PixelShade&, const material3ds&, const __Texture*, const PixelCall&) {}

void ApplyGlass(PixelShade&, const GlassProp&, const PixelCall&) {}
