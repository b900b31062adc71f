// The default per-pixel function split at the triangle, for the scan
// converters: the inputs that stay the same over a triangle are set once and
// the material, light list and glass record chosen once, so that each pixel
// passes only what changes (a handful of register arguments instead of the
// 26 of the per-pixel function). RenderOnePixel is this pair of calls, so a
// pixel shaded either way is bit for bit the same.
#pragma once
#include "renderer/raster/raster_internal.h"

struct TriangleShade {
  // The per-pixel function's inputs that a triangle holds constant.
  float centerX, centerY;
  unsigned char* src;
  __Triangle3ds* tri;
  material3ds* materials;
  int materialCount;
  __Texture* textures;
  int lightCount;
  light3ds* lights;
  GlassProp* glass;
  float planeA, planeB, planeC, planeD;
  // Chosen by PrepareTriangleShade.
  int index;                 // the triangle's material index
  bool hasMaterial;          // index is below the count
  const light3ds* lightList; // the scene's lights or the default light
  int lightTotal;            // 0: no light (negative count); lightList null
                             // with a total of 1: no default light either
  const GlassProp* glassRecord;  // the record glass would apply, or null
  // Set by FixTriangleShadeNormal: every pixel's normal is the same, so its
  // flips and unit length are made once (ShadeTrianglePixel then ignores
  // its normal argument).
  bool fixedNormal;
  float unitNormal[3];
};

// Stores the inputs above (the per-pixel function's arguments that stay the
// same over one triangle) and chooses the material, lights and glass record
// from them.
void PrepareTriangleShade(TriangleShade& t, float centerX, float centerY, unsigned char* src,
                          __Triangle3ds* tri, material3ds* materials, int materialCount,
                          __Texture* textures, int lightCount, light3ds* lights,
                          GlassProp* glass, float planeA, float planeB, float planeC,
                          float planeD);
// For a triangle drawn with one normal for all its pixels; after
// PrepareTriangleShade.
void FixTriangleShadeNormal(TriangleShade& t, const __Point& normal);

// The default per-pixel function for pixel (px, py) relative to the centre
// (depth pz) of the prepared triangle: outputs in channel units, returns the
// opacity.
float ShadeTrianglePixel(const TriangleShade& t, float px, float py, float pz,
                         const __Point* normal, unsigned char textured, float u, float v,
                         __PrevInfo* prev, float& out0, float& out1, float& out2);

// The texture slots of the prepared triangle's material that are sampled:
// bit k for slot k (0 texture, 1 opacity, 2 bump, 3 reflection); 0 without a
// material or without texture slots. An enabled slot without texels (width
// or height 0 or less, or no pixels) counts as disabled: there is nothing to
// sample, and addressing it would read before a null pointer.
inline unsigned ShadeSlotsUsed(const TriangleShade& t) {
  if (!t.hasMaterial || t.textures == nullptr) return 0;
  const __Texture* slots = t.textures + int64_t(t.index) * 4;
  unsigned used = 0;
  for (unsigned k = 0; k < 4; ++k) {
    const __Texture& s = slots[k];
    if (s.enabled && s.width > 0 && s.height > 0 && s.pixels != nullptr) used |= 1u << k;
  }
  return used;
}

inline bool ShadeUsesGlass(const TriangleShade& t) {
  return t.glassRecord != nullptr && t.glassRecord->enabled;
}

// Whether a pixel of the prepared triangle reads u, v or the previous-pixel
// record: only the texture, opacity and bump maps and glass do. When not, a
// converter may leave them unmade.
inline bool ShadeReadsExtras(const TriangleShade& t) {
  return (ShadeSlotsUsed(t) & 7u) != 0 || ShadeUsesGlass(t);
}

// Whether the prepared triangle's pixels are shaded without any texture slot
// or glass: then only the position, depth and normal of a pixel matter, and
// its opacity is the material's.
inline bool ShadeIsPlain(const TriangleShade& t) {
  return ShadeSlotsUsed(t) == 0 && !ShadeUsesGlass(t);
}

// The values of a pixel of the prepared triangle before its normal, texture
// slots, glass and lights: the default material or the triangle's.
struct PixelShade;
void TriangleBaseShade(const TriangleShade& t, PixelShade& s);
