// The default per-pixel function: shading normal, material, texture slots,
// light selection, glass and the lighting of one pixel.
//
// All colours, amounts and opacities are fractions 0..1 until the end, where
// the three outputs are scaled by MaxChannel (255, or 32768 at 16 bits) and
// clamped to 0..MaxChannel; NaN gives 0. The specular highlight is taken on
// N . L itself (no view vector); self-illumination counts once per light.
#include <cmath>

#include "renderer/shading/power.h"
#include "renderer/shading/shading_internal.h"
#include "renderer/shading/triangle_shade.h"

namespace {

// Without a material: 0.5 grey, white highlight of exponent 150 and level 10.
constexpr float DEFAULT_DIFFUSE = 0.5f;
constexpr float DEFAULT_EXPONENT = 150.0f;
constexpr float DEFAULT_LEVEL = 10.0f;
constexpr int REFLECTION_BLOCK = 7;
constexpr int SLOTS_PER_MATERIAL = 4;

float Clamp01(float v) {
  if (!(v > 0.0f)) return 0.0f;
  return v > 1.0f ? 1.0f : v;
}

float ToChannelUnits(float v) {
  const float scaled = v * float(MaxChannel);
  if (!(scaled > 0.0f)) return 0.0f;  // also NaN
  return scaled > float(MaxChannel) ? float(MaxChannel) : scaled;
}

// A zero factor gives zero even against an overflowed (infinite) term, so an
// overflowing highlight cannot turn a black channel into NaN. Only a product
// of zero or NaN can come from a zero factor, so one test of the product
// settles the common case; it runs six times a pixel.
float Times(float a, float b) {
  const float product = a * b;
  if (std::fabs(product) > 0.0f) return product;  // neither factor is zero
  return (a == 0.0f || b == 0.0f) ? 0.0f : product;
}

// Shading normal: reversed in the back-face pass, then turned towards the
// viewer for double-sided drawing, then made unit length.
[[gnu::always_inline]] inline void ShadingNormal(const __Point* normal, float& nx, float& ny,
                                                 float& nz) {
  nx = normal != nullptr ? normal->x : 0.0f;
  ny = normal != nullptr ? normal->y : 0.0f;
  nz = normal != nullptr ? normal->z : 0.0f;
  if (_DrawBackFaces1) {
    nx = -nx;
    ny = -ny;
    nz = -nz;
  }
  if (_DubleSide && nz < 0.0f) nz = -nz;
  const float length = std::sqrt(nx * nx + ny * ny + nz * nz);
  if (length != 0.0f) {
    nx /= length;
    ny /= length;
    nz /= length;
  }
}


// The two halves of the default per-pixel function, inlined both into the
// converters' entry points below and into RenderOnePixel, so that the call
// through the function pointer pays no extra calls.
[[gnu::always_inline]] inline void Prepare(TriangleShade& t) {
  t.fixedNormal = false;
  // Material: only for an index below the count; any other triangle is drawn
  // in the default material.
  t.index = t.tri != nullptr ? t.tri->material : 0;
  t.hasMaterial = t.materials != nullptr && t.materialCount > 0 && t.index < t.materialCount;
  // Lights: the scene's; a count of 0 (or a missing list) takes the default
  // light; a negative count is no light at all, so the pixel is black but
  // still goes through glass.
  t.lightList = t.lights;
  t.lightTotal = t.lightCount;
  if (t.lightCount < 0) {
    t.lightTotal = 0;
  } else if (t.lightCount == 0 || t.lights == nullptr) {
    t.lightList = _LightDef;
    t.lightTotal = 1;
  }
  // Glass: record 0 without materials, the triangle's own with one; a
  // triangle without a valid material has none.
  t.glassRecord = nullptr;
  if (t.glass != nullptr) {
    if (t.materialCount < 1)
      t.glassRecord = &t.glass[0];
    else if (t.hasMaterial)
      t.glassRecord = &t.glass[t.index];
  }
}

// The values of a pixel before its normal and texture slots: the defaults,
// or the triangle's material.
[[gnu::always_inline]] inline void BaseShade(const TriangleShade& t, PixelShade& s) {
  s.opacity = 1.0f;
  s.diffuse[0] = s.diffuse[1] = s.diffuse[2] = DEFAULT_DIFFUSE;
  s.specular[0] = s.specular[1] = s.specular[2] = 1.0f;
  s.exponent = DEFAULT_EXPONENT;
  s.level = DEFAULT_LEVEL;
  s.selfIllum = 0.0f;
  s.reflectAmount = 0.0f;
  if (!t.hasMaterial) return;
  const material3ds& m = t.materials[t.index];
  s.opacity = 1.0f - Clamp01(-m.transparency);  // stored negated
  for (int c = 0; c < 3; ++c) {
    s.diffuse[c] = m.diffuse[c];
    s.specular[c] = m.specular[c];
  }
  s.exponent = 100.0f * m.shininess;
  s.level = m.shinStrength;
  s.selfIllum = m.selfIllum;
  s.reflectAmount = m.maps[REFLECTION_BLOCK].amount;
}

[[gnu::always_inline]] inline float Shade(const TriangleShade& t, float px, float py, float pz,
                                         const __Point* normal, unsigned char textured, float u,
                                         float v, __PrevInfo* prev, float& out0, float& out1,
                                         float& out2) {
  PixelShade s;
  BaseShade(t, s);
  if (t.fixedNormal) {
    s.nx = t.unitNormal[0];
    s.ny = t.unitNormal[1];
    s.nz = t.unitNormal[2];
  } else {
    ShadingNormal(normal, s.nx, s.ny, s.nz);
  }

  // The inputs the texture slots and glass read; made only for them.
  auto call = [&]() {
    return PixelCall{t.centerX, t.centerY, t.src,    px,       py,       pz,       textured,
                     u,         v,         prev,     t.planeA, t.planeB, t.planeC, t.planeD};
  };

  if (const unsigned used = ShadeSlotsUsed(t))
    ApplyTextureSlots(s, t.materials[t.index], t.textures + int64_t(t.index) * SLOTS_PER_MATERIAL,
                      used, call());

  // Without the default light the pixel is black (and glass is not applied).
  out0 = out1 = out2 = 0.0f;
  if (t.lightTotal > 0 && t.lightList == nullptr) return s.opacity;

  const GlassProp* g = t.glassRecord;
  if (g != nullptr && g->enabled) ApplyGlass(s, *g, call());

  float out[3] = {0.0f, 0.0f, 0.0f};
  for (int i = 0; i < t.lightTotal; ++i) {
    const light3ds& light = t.lightList[i];
    float lx = light.x - px, ly = light.y - py, lz = light.z - pz;
    const float ll = std::sqrt(lx * lx + ly * ly + lz * lz);
    if (ll != 0.0f) {
      lx /= ll;
      ly /= ll;
      lz /= ll;
    }
    float d = light.multiplier * (s.nx * lx + s.ny * ly + s.nz * lz);
    if (!(d > 0.0f)) d = 0.0f;
    // A level of 0 is no highlight, even where d to the exponent overflows.
    const float specularTerm = s.level == 0.0f ? 0.0f : ShadePow(d, s.exponent) * s.level;
    const float diffuseTerm = d * (1.0f - s.selfIllum) + s.selfIllum;
    // Times(x, 0) is 0: without a highlight (a level of 0, as by default)
    // the inner product is left out.
    for (int c = 0; c < 3; ++c) {
      const float highlight = specularTerm == 0.0f ? 0.0f : Times(s.specular[c], specularTerm);
      out[c] += Times(s.diffuse[c] * diffuseTerm + highlight, light.color[c]);
    }
  }
  out0 = ToChannelUnits(out[0]);
  out1 = ToChannelUnits(out[1]);
  out2 = ToChannelUnits(out[2]);
  return s.opacity;
}

// The triangle's inputs, then its material, lights and glass record.
inline void Fill(TriangleShade& t, float centerX, float centerY, unsigned char* src,
                 __Triangle3ds* tri, material3ds* materials, int materialCount,
                 __Texture* textures, int lightCount, light3ds* lights, GlassProp* glass,
                 float planeA, float planeB, float planeC, float planeD) {
  t.centerX = centerX;
  t.centerY = centerY;
  t.src = src;
  t.tri = tri;
  t.materials = materials;
  t.materialCount = materialCount;
  t.textures = textures;
  t.lightCount = lightCount;
  t.lights = lights;
  t.glass = glass;
  t.planeA = planeA;
  t.planeB = planeB;
  t.planeC = planeC;
  t.planeD = planeD;
  Prepare(t);
}

}  // namespace

void PrepareTriangleShade(TriangleShade& t, float centerX, float centerY, unsigned char* src,
                          __Triangle3ds* tri, material3ds* materials, int materialCount,
                          __Texture* textures, int lightCount, light3ds* lights,
                          GlassProp* glass, float planeA, float planeB, float planeC,
                          float planeD) {
  Fill(t, centerX, centerY, src, tri, materials, materialCount, textures, lightCount, lights, glass,
       planeA, planeB, planeC, planeD);
}

void TriangleBaseShade(const TriangleShade& t, PixelShade& s) { BaseShade(t, s); }

void FixTriangleShadeNormal(TriangleShade& t, const __Point& normal) {
  ShadingNormal(&normal, t.unitNormal[0], t.unitNormal[1], t.unitNormal[2]);
  t.fixedNormal = true;
}

float ShadeTrianglePixel(const TriangleShade& t, float px, float py, float pz,
                         const __Point* normal, unsigned char textured, float u, float v,
                         __PrevInfo* prev, float& out0, float& out1, float& out2) {
  return Shade(t, px, py, pz, normal, textured, u, v, prev, out0, out1, out2);
}

float RenderOnePixel(float centerX, float centerY, unsigned char* /*dst: _DestImage is read*/,
                     unsigned char* src, float px, float py, float pz, __Triangle3ds* tri,
                     material3ds* materials, int materialCount, float& out0, float& out1,
                     float& out2, __Point* normal, unsigned char textured, float u, float v,
                     __Texture* textures, int lightCount, light3ds* lights, __PrevInfo* prev,
                     GlassProp* glass, float planeA, float planeB, float planeC,
                     float planeD) {
  TriangleShade t{};  // every field defined, also for the compiler's flow analysis
  Fill(t, centerX, centerY, src, tri, materials, materialCount, textures, lightCount, lights, glass,
       planeA, planeB, planeC, planeD);
  return Shade(t, px, py, pz, normal, textured, u, v, prev, out0, out1, out2);
}
