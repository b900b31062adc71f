// The default per-pixel function: normal handling, material, light
// selection, lighting and the scaling to channel units. Expected values are
// worked out by hand from the lighting model:
//   d = multiplier (N . L), clamped below at 0
//   out_c = (diffuse_c (d (1 - s) + s) + specular_c d^exponent level) color_c
// scaled by MaxChannel and clamped.
#include <cmath>

#include "tests/renderer/renderer_test_support.h"

namespace {

class Shading : public RendererTest {
 protected:
  void SetUp() override {
    RendererTest::SetUp();
    UseFrame(64, 64, false);
  }
  // Shades the pixel at the centre-relative origin with depth 0.
  float Shade(__Point n, int materialCount = 0, material3ds* materials = nullptr,
              int lightCount = 0, light3ds* lights = nullptr, GlassProp* glass = nullptr,
              uint16_t materialIndex = 0) {
    __Triangle3ds tri{};
    tri.material = materialIndex;
    out[0] = out[1] = out[2] = -1.0f;
    return _RenderOnePixelFunc(32, 32, nullptr, nullptr, 0, 0, 0, &tri, materials,
                               materialCount, out[0], out[1], out[2], &n, 0, 0, 0, nullptr,
                               lightCount, lights, nullptr, glass, 0, 0, 1, 0);
  }
  float out[3];
};

light3ds Light(float x, float y, float z, float r = 1, float g = 1, float b = 1, float mult = 1) {
  light3ds l{};
  l.x = x;
  l.y = y;
  l.z = z;
  l.color[0] = r;
  l.color[1] = g;
  l.color[2] = b;
  l.multiplier = mult;
  return l;
}

// Diffuse (0.2, 0.4, 0.6), white highlight of exponent 50 and level 2,
// self-illumination 0.25, 40 % transparent.
material3ds Material() {
  material3ds m{};
  m.diffuse[0] = 0.2f;
  m.diffuse[1] = 0.4f;
  m.diffuse[2] = 0.6f;
  m.specular[0] = m.specular[1] = m.specular[2] = 1.0f;
  m.shininess = 0.5f;
  m.shinStrength = 2.0f;
  m.selfIllum = 0.25f;
  m.transparency = -0.4f;
  return m;
}

constexpr float TOL = 2e-3f;

TEST_F(Shading, DefaultMaterialUnderAnObliqueLight) {
  // L at 45 degrees: d = 0.70710677; the highlight 0.707^150 x 10 ~ 3e-22.
  light3ds l = Light(10, 0, 10);
  EXPECT_EQ(Shade({0, 0, 1}, 0, nullptr, 1, &l), 1.0f);
  for (float v : out) EXPECT_NEAR(v, 0.5f * 0.70710677f * 255, TOL);
  // The normal is made unit length first; its length does not matter.
  Shade({0, 0, 7}, 0, nullptr, 1, &l);
  for (float v : out) EXPECT_NEAR(v, 0.5f * 0.70710677f * 255, TOL);
  // Tilted normal, light straight above: the same angle.
  l = Light(0, 0, 100);
  Shade({-3, 0, 3}, 0, nullptr, 1, &l);
  for (float v : out) EXPECT_NEAR(v, 0.5f * 0.70710677f * 255, TOL);
}

TEST_F(Shading, MaterialColoursAndOpacity) {
  material3ds m = Material();
  // L at 60 degrees from N: d = 0.5; d^50 x 2 ~ 2e-15. Diffuse term
  // 0.5 x 0.75 + 0.25 = 0.625; light colour (1, 0.5, 0.25).
  light3ds l = Light(86.60254f, 0, 50, 1, 0.5f, 0.25f);
  EXPECT_NEAR(Shade({0, 0, 1}, 1, &m, 1, &l), 0.6f, 1e-6f);
  EXPECT_NEAR(out[0], 0.2f * 0.625f * 255, TOL);
  EXPECT_NEAR(out[1], 0.4f * 0.625f * 0.5f * 255, TOL);
  EXPECT_NEAR(out[2], 0.6f * 0.625f * 0.25f * 255, TOL);
  // Shininess 0.02: the highlight is d^2 x level = 0.25 x 2, not d^1 x 2.
  m.shininess = 0.02f;
  Shade({0, 0, 1}, 1, &m, 1, &l);
  EXPECT_NEAR(out[0], (0.2f * 0.625f + 0.5f) * 255, TOL);
}

TEST_F(Shading, TransparencyIsStoredNegatedAndClamped) {
  material3ds m = Material();
  light3ds l = Light(0, 0, 100);
  m.transparency = 0.3f;
  EXPECT_EQ(Shade({0, 0, 1}, 1, &m, 1, &l), 1.0f);
  m.transparency = -1.5f;
  EXPECT_EQ(Shade({0, 0, 1}, 1, &m, 1, &l), 0.0f);
  m.transparency = std::nanf("");
  EXPECT_EQ(Shade({0, 0, 1}, 1, &m, 1, &l), 1.0f);
}

TEST_F(Shading, LightBehindTheSurfaceLeavesSelfIllumination) {
  material3ds m = Material();
  light3ds l = Light(0, 0, -100);
  Shade({0, 0, 1}, 1, &m, 1, &l);
  EXPECT_NEAR(out[0], 0.2f * 0.25f * 255, TOL);
  EXPECT_NEAR(out[2], 0.6f * 0.25f * 255, TOL);
  // Exponent 0 (shininess 0): 0^0 = 1, so the highlight is the level itself.
  m.shininess = 0;
  m.shinStrength = 0.5f;
  m.specular[0] = 0.1f;
  Shade({0, 0, 1}, 1, &m, 1, &l);
  EXPECT_NEAR(out[0], (0.2f * 0.25f + 0.1f * 0.5f) * 255, TOL);
}

TEST_F(Shading, SelfIlluminationCountsOncePerLight) {
  material3ds m = Material();
  light3ds l[2] = {Light(0, 0, -100), Light(0, 5, -100)};
  Shade({0, 0, 1}, 1, &m, 2, l);
  EXPECT_NEAR(out[0], 2 * 0.2f * 0.25f * 255, TOL);
}

TEST_F(Shading, BackFacePassReversesTheNormalBeforeTheDoubleSidedFlip) {
  material3ds m = Material();
  m.specular[0] = m.specular[1] = m.specular[2] = 0;
  light3ds l = Light(0, 0, 100);
  _DrawBackFaces1 = 1;
  Shade({0, 0, 1}, 1, &m, 1, &l);  // (0, 0, -1): faces away, self-illumination only
  EXPECT_NEAR(out[0], 0.2f * 0.25f * 255, TOL);
  _DubleSide = 1;
  Shade({0, 0, 1}, 1, &m, 1, &l);  // flipped back: fully lit
  EXPECT_NEAR(out[0], 0.2f * 255, TOL);
  _DrawBackFaces1 = 0;
  Shade({0, 0, -1}, 1, &m, 1, &l);  // double-sided alone turns it too
  EXPECT_NEAR(out[0], 0.2f * 255, TOL);
}

TEST_F(Shading, StrongLightsClampAtTheLargestChannel) {
  material3ds m = Material();
  m.shininess = 0.01f;  // exponent 1: the highlight grows with d
  m.shinStrength = 1;
  light3ds l = Light(0, 0, 100, 1, 1, 1, 3);  // d = 3
  Shade({0, 0, 1}, 1, &m, 1, &l);
  for (float v : out) EXPECT_EQ(v, 255.0f);
}

TEST_F(Shading, OverflowingHighlightDoesNotPoisonOtherChannels) {
  // d = 3 to the power 150 overflows to infinity. A channel whose highlight
  // colour is 0 keeps its diffuse value instead of becoming NaN (then 0).
  material3ds m = Material();
  m.shininess = 1.5f;  // exponent 150
  m.shinStrength = 10;
  m.specular[0] = 1;
  m.specular[1] = 0;
  m.specular[2] = 0;
  m.diffuse[1] = 0.1f;
  m.selfIllum = 0;
  light3ds l = Light(0, 0, 100, 1, 0.5f, 0, 3);
  Shade({0, 0, 1}, 1, &m, 1, &l);
  EXPECT_EQ(out[0], 255.0f);
  EXPECT_NEAR(out[1], 0.1f * 3 * 0.5f * 255, TOL);
  EXPECT_EQ(out[2], 0.0f);  // light colour 0
  // A level of 0 is no highlight at all.
  m.shinStrength = 0;
  m.specular[1] = 1;
  Shade({0, 0, 1}, 1, &m, 1, &l);
  EXPECT_NEAR(out[1], 0.1f * 3 * 0.5f * 255, TOL);
}

TEST_F(Shading, SixteenBitWhiteIs32768) {
  UseFrame(64, 64, true);
  material3ds m{};
  m.diffuse[0] = m.diffuse[1] = m.diffuse[2] = 1;
  light3ds l = Light(0, 0, 100);
  Shade({0, 0, 1}, 1, &m, 1, &l);
  for (float v : out) EXPECT_EQ(v, 32768.0f);
}

TEST_F(Shading, LightSelectionAndGlass) {
  // Only a count of 0 takes the default light; without one the pixel is
  // black and glass is not applied. A negative count lights nothing, but
  // glass still runs. Without a frame every glass sample lies outside it,
  // so glass that runs makes the pixel transparent. Without materials the
  // glass record is record 0.
  material3ds m = Material();  // opacity 0.6
  light3ds behind = Light(0, 0, -100);
  GlassProp glass{};
  glass.enabled = 1;
  const struct {
    int materials, lights;
    bool defaultLight, glass;
    float opacity, red;
  } rows[] = {
      {1, 0, false, false, 0.6f, 0.0f},
      {1, 0, true, false, 0.6f, 0.2f * 0.25f * 255},
      {1, -1, true, false, 0.6f, 0.0f},
      {1, -1, false, true, 0.0f, 0.0f},
      {1, 0, false, true, 0.6f, 0.0f},
      {0, 1, false, true, 0.0f, 0.0f},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(testing::Message() << r.materials << " materials, " << r.lights << " lights");
    __SetLightDef(r.defaultLight ? &behind : nullptr);
    UseFrame(r.glass ? 0 : 64, r.glass ? 0 : 64, false);
    EXPECT_NEAR(Shade({0, 0, 1}, r.materials, &m, r.lights, r.lights > 0 ? &behind : nullptr,
                      r.glass ? &glass : nullptr),
                r.opacity, 1e-6f);
    EXPECT_NEAR(out[0], r.red, TOL);
    EXPECT_EQ(out[1] == 0.0f, r.red == 0.0f);
  }
}

TEST_F(Shading, BumpedNormalIsLitAsTheBumpMapLeavesIt) {
  // A right neighbour brighter by 255 in each channel at amount 0.1 takes nx
  // from 0 to -7.65; nz stays 1 and the normal is not made unit length
  // again, so a light straight above still gives d = 1.
  material3ds m{};
  m.diffuse[0] = m.diffuse[1] = m.diffuse[2] = 0.5f;
  m.maps[3].amount = 0.1f;
  m.maps[3].uScale = m.maps[3].vScale = 1.0f;
  unsigned char texels[8] = {0, 0, 0, 255, 255, 255, 255, 255};
  __Texture slots[4] = {};
  slots[2].enabled = 1;
  slots[2].width = 2;
  slots[2].height = 1;
  slots[2].pixels = texels;
  light3ds l = Light(0, 0, 100);
  __Triangle3ds tri{};
  __Point n{0, 0, 1};
  RenderOnePixel(32, 32, nullptr, nullptr, 0, 0, 0, &tri, &m, 1, out[0], out[1], out[2], &n, 1, 0,
                 0, slots, 1, &l, nullptr, nullptr, 0, 0, 1, 0);
  for (float v : out) EXPECT_NEAR(v, 0.5f * 255, TOL);
}

TEST_F(Shading, MissingMaterialGivesTheDefaultMaterial) {
  material3ds m = Material();
  light3ds l = Light(10, 0, 10);
  // Index 3 with one material: default grey, and the one glass record is
  // not read at index 3 (the sanitizer would see it).
  std::vector<GlassProp> glass(1);
  EXPECT_EQ(Shade({0, 0, 1}, 1, &m, 1, &l, glass.data(), 3), 1.0f);
  for (float v : out) EXPECT_NEAR(v, 0.5f * 0.70710677f * 255, TOL);
}

TEST_F(Shading, ZeroNormalIsLitBySelfIlluminationOnly) {
  material3ds m = Material();
  light3ds l = Light(0, 0, 100);
  Shade({0, 0, 0}, 1, &m, 1, &l);
  EXPECT_NEAR(out[1], 0.4f * 0.25f * 255, TOL);
  Shade({std::nanf(""), 0, 1}, 1, &m, 1, &l);  // a NaN normal gives 0, not NaN
  for (float v : out) EXPECT_FALSE(std::isnan(v));
}

// A replacement function that records what it was given.
struct Recorded {
  float centerX, centerY, px, py, pz, u, v, planeA, planeB, planeC, planeD;
  unsigned char *dst, *src, textured;
  __Triangle3ds* tri;
  material3ds* materials;
  int materialCount, lightCount;
  __Point* normal;
  __Texture* textures;
  light3ds* lights;
  __PrevInfo* prev;
  GlassProp* glass;
} seen;

float Recorder(float centerX, float centerY, unsigned char* dst, unsigned char* src, float px,
               float py, float pz, __Triangle3ds* tri, material3ds* materials, int materialCount,
               float& out0, float& out1, float& out2, __Point* normal, unsigned char textured,
               float u, float v, __Texture* textures, int lightCount, light3ds* lights,
               __PrevInfo* prev, GlassProp* glass, float planeA, float planeB, float planeC,
               float planeD) {
  seen = Recorded{centerX, centerY, px, py, pz, u, v, planeA, planeB, planeC, planeD, dst, src,
                  textured, tri, materials, materialCount, lightCount, normal, textures, lights,
                  prev, glass};
  out0 = 1;
  out1 = 2;
  out2 = 3;
  return 0.25f;
}

TEST_F(Shading, ReplacementReceivesEveryArgumentAndCanBeUndone) {
  __SetNewRenderOnePixel(Recorder);
  unsigned char a, b;
  __Triangle3ds tri{};
  material3ds mat{};
  __Point n{};
  __Texture tex{};
  light3ds light{};
  __PrevInfo prev{};
  GlassProp glass{};
  float o0 = 0, o1 = 0, o2 = 0;
  EXPECT_EQ(_RenderOnePixelFunc(1.5f, 2.5f, &a, &b, 3.5f, 4.5f, 5.5f, &tri, &mat, 6, o0, o1, o2,
                                &n, 7, 8.5f, 9.5f, &tex, 10, &light, &prev, &glass, 11.5f, 12.5f,
                                13.5f, 14.5f),
            0.25f);
  EXPECT_EQ(seen.centerX, 1.5f);
  EXPECT_EQ(seen.centerY, 2.5f);
  EXPECT_EQ(seen.dst, &a);
  EXPECT_EQ(seen.src, &b);
  EXPECT_EQ(seen.px, 3.5f);
  EXPECT_EQ(seen.py, 4.5f);
  EXPECT_EQ(seen.pz, 5.5f);
  EXPECT_EQ(seen.tri, &tri);
  EXPECT_EQ(seen.materials, &mat);
  EXPECT_EQ(seen.materialCount, 6);
  EXPECT_EQ(seen.normal, &n);
  EXPECT_EQ(seen.textured, 7);
  EXPECT_EQ(seen.u, 8.5f);
  EXPECT_EQ(seen.v, 9.5f);
  EXPECT_EQ(seen.textures, &tex);
  EXPECT_EQ(seen.lightCount, 10);
  EXPECT_EQ(seen.lights, &light);
  EXPECT_EQ(seen.prev, &prev);
  EXPECT_EQ(seen.glass, &glass);
  EXPECT_EQ(seen.planeA, 11.5f);
  EXPECT_EQ(seen.planeB, 12.5f);
  EXPECT_EQ(seen.planeC, 13.5f);
  EXPECT_EQ(seen.planeD, 14.5f);
  EXPECT_EQ(o0 + o1 + o2, 6.0f);

  __SetDefRenderOnePixel();
  EXPECT_EQ(_RenderOnePixelFunc, &RenderOnePixel);
  __SetNewRenderOnePixel(Recorder);
  __SetNewRenderOnePixel(nullptr);  // null restores the default
  EXPECT_EQ(_RenderOnePixelFunc, &RenderOnePixel);
}

}  // namespace
