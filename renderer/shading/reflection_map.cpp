// Reflection map: the view ray (along -z) reflected about the shading normal
// is followed from the pixel to the wall of a cube of half-size h = Zwidth
// about the frame centre; where it leaves, seen in the x-z plane and in the
// y-z plane separately, gives the lookup coordinates U and V.
#include <cmath>

#include "renderer/shading/texel_sampling.h"

namespace {

// One lookup coordinate in the plane of axis a (x or y) and z, for the line
// through (p, pz) with direction (ra, rz): of the z wall and the a wall in
// the ray's direction, the hit nearer the cube's axis wins (a later
// candidate only when strictly nearer). Starts at the value of a ray along
// z, which also stands when no wall is hit (a NaN direction).
float WallCoord(float p, float pz, float ra, float rz, float h) {
  const float twoH = 2.0f * h;
  float coord = (p + h) / twoH;
  if (std::fabs(rz) < 1e-4f && std::fabs(ra) < 1e-4f) return coord;
  float best = 1e21f;
  if (std::fabs(rz) >= 1e-5f) {
    const float Z = rz >= 0.0f ? h : -h;
    const float A = p + ra * (Z - pz) / rz;
    const float m = A * A + Z * Z;
    if (m < best) {
      best = m;
      coord = (A + h) / twoH;
    }
  }
  if (std::fabs(ra) >= 1e-5f) {
    const float A = ra >= 0.0f ? h : -h;
    const float Z = pz + rz * (A - p) / ra;
    const float m = A * A + Z * Z;
    if (m < best) {
      best = m;
      coord = (Z + h) / twoH;
    }
  }
  return coord;
}

}  // namespace

void ReflectionCoords(float nx, float ny, float nz, float px, float py, float pz, float h, float& U,
                      float& V) {
  const float rx = 2.0f * nz * nx;
  const float ry = 2.0f * nz * ny;
  const float rz = 2.0f * nz * nz - 1.0f;
  U = WallCoord(px, pz, rx, rz, h);
  V = WallCoord(py, pz, ry, rz, h);
}

void LookupReflection(const PixelShade& shade, const map3ds& block, const __Texture& slot,
                      const PixelCall& call, float rgb[3]) {
  float U, V;
  ReflectionCoords(shade.nx, shade.ny, shade.nz, call.px, call.py, call.pz, float(Zwidth), U, V);
  const TexelPos pos = TexelAddress(U, V, block, slot.width, slot.height);
  float bgra[4];
  if (_Quality)
    SampleBilinear(slot, pos, BilinearEdge::Clamp, bgra);
  else
    SamplePoint(slot, pos, bgra);
  const float m = float(MaxChannel);
  rgb[0] = bgra[TEXEL_RED] / m;
  rgb[1] = bgra[TEXEL_GREEN] / m;
  rgb[2] = bgra[TEXEL_BLUE] / m;
}
