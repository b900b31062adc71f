// The call points of the default per-pixel function for the texture slots
// and for glass. RenderOnePixel keeps its working values in a PixelShade and
// hands it, with the call's own inputs, to each stage in turn.
#pragma once
#include "renderer/raster/raster_internal.h"

// Working values of one RenderOnePixel call. Colours, amounts and opacity
// are fractions 0..1 until the final scaling to channel units.
struct PixelShade {
  float nx, ny, nz;     // shading normal: unit length after the face flips;
                        // the bump map may change nx, ny (not renormalised)
  float opacity;
  float diffuse[3];     // red, green, blue
  float specular[3];
  float exponent;       // specular exponent (100 x shininess)
  float level;          // specular level (shine strength)
  float selfIllum;
  float reflectAmount;  // the reflection block's amount as stored
};

// The inputs of the RenderOnePixel call that the stages read.
struct PixelCall {
  float centerX, centerY;
  unsigned char* src;     // source frame, packed R, G, B, A
  float px, py, pz;       // pixel relative to the centre, and its depth
  unsigned char textured;
  float u, v;
  const __PrevInfo* prev; // may be null
  float planeA, planeB, planeC, planeD;
};

// Runs only for a pixel whose triangle has a material. In this order: the
// reflection lookup (slot 3, with the normal of the face flips); when
// call.textured is non-zero the texture (slot 0), opacity (slot 1) and bump
// (slot 2) maps; then the blend of the reflection colour into the diffuse
// colour. `slots` are the material's four __Texture slots, `used` the mask
// of those sampled (ShadeSlotsUsed: bit k for slot k).
void ApplyTextureSlots(PixelShade& shade, const material3ds& material, const __Texture* slots,
                       unsigned used, const PixelCall& call);

// Runs when the triangle's glass record is enabled, after the texture slots
// and after a light has been found, before the lighting: replaces the diffuse
// colour by the refracted source and may lower the opacity.
void ApplyGlass(PixelShade& shade, const GlassProp& glass, const PixelCall& call);
