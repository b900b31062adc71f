// Glass refraction internals: the background value a glass sample sees.
#pragma once
#include "renderer/shading/shading_internal.h"

// Depths at which two glass surfaces count as one in multiple refraction.
constexpr float GLASS_SAME_SURFACE = 30.0f;
// ZBuff2 entries at or below this are empty.
constexpr float GLASS_EMPTY_DEPTH = -1e37f;

// Channel c (0 red, 1 green, 2 blue) in channel units of what glass at depth
// z sees at pixel (x, y), which must lie inside the frame:
//   - no back-face pass before this pass: the source frame, or with
//     multiple refraction the background layer, or what is drawn at (x, y)
//     when it is opaque and at least GLASS_SAME_SURFACE from the depth
//     recorded there (then also kept in the background layer); the blue
//     channel's samples record z in ZBuff2 unless within that distance;
//   - the front pass after a back-face pass: the source frame blended with
//     the back faces drawn into the background layer, by the frame's alpha.
// A null source frame reads as transparent black: nothing shows through.
float GlassSource(int c, int x, int y, float z, const unsigned char* src);

// The triangle's plane depth at absolute pixel (x, y); the pixel's own
// depth when the plane is nearly edge-on.
inline float GlassPlaneDepth(const PixelCall& call, float x, float y) {
  if (!(call.planeC > 0.01f || call.planeC < -0.01f)) return call.pz;
  return -(call.planeD + x * call.planeA + y * call.planeB) / call.planeC;
}
