// The default per-pixel function reached through another address: installed
// with __SetNewRenderOnePixel, it makes the renderer take its general path
// (one call a pixel, no shortcut), the reference the shortcuts must match.
// Shared by the tests and the renderer's fuzz target.
#pragma once
#include "renderer/raster/raster_internal.h"

inline float ForwardRenderOnePixel(float centerX, float centerY, unsigned char* dst,
                                   unsigned char* src, float px, float py, float pz,
                                   __Triangle3ds* tri, material3ds* materials, int materialCount,
                                   float& out0, float& out1, float& out2, __Point* normal,
                                   unsigned char textured, float u, float v, __Texture* textures,
                                   int lightCount, light3ds* lights, __PrevInfo* prev,
                                   GlassProp* glass, float planeA, float planeB, float planeC,
                                   float planeD) {
  return RenderOnePixel(centerX, centerY, dst, src, px, py, pz, tri, materials, materialCount,
                        out0, out1, out2, normal, textured, u, v, textures, lightCount, lights,
                        prev, glass, planeA, planeB, planeC, planeD);
}
