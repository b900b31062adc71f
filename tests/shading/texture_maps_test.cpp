// The texture, opacity, bump and reflection maps as ApplyTextureSlots runs
// them for one pixel.
#include <cmath>

#include "renderer/shading/texel_sampling.h"
#include "tests/shading/shading_test_util.h"

namespace {

enum { TEX = 0, OPA = 1, BUMP = 2, REFL = 3 };

void Solid(int* c, int r, int g, int b, int a) {
  c[TEXEL_RED] = r;
  c[TEXEL_GREEN] = g;
  c[TEXEL_BLUE] = b;
  c[TEXEL_ALPHA] = a;
}

class TextureMaps : public ShadingTest {
 protected:
  void SetUp() override {
    ShadingTest::SetUp();
    SetFrame(16, 16, false, false);
    material_ = PlainMaterial();
    for (__Texture& s : slots_) s = __Texture{};
  }
  PixelShade Run(const PixelCall& call, PixelShade shade = FacingShade()) {
    shade.reflectAmount = material_.maps[7].amount;
    unsigned used = 0;
    for (unsigned k = 0; k < 4; ++k)
      if (slots_[k].enabled) used |= 1u << k;
    ApplyTextureSlots(shade, material_, slots_, used, call);
    return shade;
  }
  material3ds material_;
  __Texture slots_[4];
};

TEST_F(TextureMaps, TextureMapBlendsByAmountTimesAlpha) {
  TestTexture red(2, 2, false, [](int, int, int* c) { Solid(c, 255, 0, 51, 255); });
  slots_[TEX] = red.slot;
  PixelShade s = Run(CallAt(0.0f, 0.0f));
  EXPECT_FLOAT_EQ(s.diffuse[0], 1.0f);
  EXPECT_FLOAT_EQ(s.diffuse[1], 0.0f);
  EXPECT_FLOAT_EQ(s.diffuse[2], 0.2f);
  material_.maps[0].amount = 0.25f;
  s = Run(CallAt(0.0f, 0.0f));
  EXPECT_FLOAT_EQ(s.diffuse[0], 0.25f + 0.75f * 0.5f);
  EXPECT_FLOAT_EQ(s.diffuse[1], 0.75f * 0.5f);
  material_.maps[0].amount = 3.0f;  // clamped to 1
  EXPECT_FLOAT_EQ(Run(CallAt(0.0f, 0.0f)).diffuse[1], 0.0f);
  // Untextured triangles keep the material colour.
  PixelCall untextured = CallAt(0.0f, 0.0f);
  untextured.textured = 0;
  EXPECT_FLOAT_EQ(Run(untextured).diffuse[1], 0.5f);
}

TEST_F(TextureMaps, AlphaZeroTexelsChangeNothing) {
  TestTexture clear(2, 2, false, [](int, int, int* c) { Solid(c, 255, 0, 0, 0); });
  TestTexture clearBlack(2, 2, false, [](int, int, int* c) { Solid(c, 0, 0, 0, 0); });
  slots_[TEX] = clear.slot;
  slots_[OPA] = clearBlack.slot;
  for (float amount : {1.0f, 0.5f}) {
    material_.maps[0].amount = amount;
    material_.maps[2].amount = amount;
    PixelShade in = FacingShade();
    in.opacity = 0.8f;
    const PixelShade s = Run(CallAt(0.3f, 0.6f), in);
    EXPECT_FLOAT_EQ(s.diffuse[0], 0.5f);
    EXPECT_FLOAT_EQ(s.diffuse[1], 0.5f);
    EXPECT_FLOAT_EQ(s.opacity, 0.8f);
  }
}

TEST_F(TextureMaps, OpacityMapTakesTheBrightestChannel) {
  TestTexture black(2, 2, false, [](int, int, int* c) { Solid(c, 0, 0, 0, 255); });
  TestTexture white(2, 2, false, [](int, int, int* c) { Solid(c, 255, 255, 255, 255); });
  TestTexture blue(2, 2, false, [](int, int, int* c) { Solid(c, 0, 51, 102, 255); });
  PixelShade in = FacingShade();
  in.opacity = 0.6f;
  slots_[OPA] = black.slot;
  EXPECT_FLOAT_EQ(Run(CallAt(0, 0), in).opacity, 0.0f);
  material_.maps[2].amount = 0.25f;
  EXPECT_FLOAT_EQ(Run(CallAt(0, 0), in).opacity, 0.75f * 0.6f);
  material_.maps[2].amount = 1.0f;
  slots_[OPA] = white.slot;
  EXPECT_FLOAT_EQ(Run(CallAt(0, 0), in).opacity, 1.0f);
  slots_[OPA] = blue.slot;
  EXPECT_FLOAT_EQ(Run(CallAt(0, 0), in).opacity, 0.4f);
  // The opacity map does not touch the colour.
  EXPECT_FLOAT_EQ(Run(CallAt(0, 0), in).diffuse[2], 0.5f);
}

// Brightness ramp: column x has x in every colour channel, row y adds 2y.
void BumpRamp(int x, int y, int* c) { Solid(c, x + 2 * y, x + 2 * y, x + 2 * y, 255); }

TEST_F(TextureMaps, FlatBumpChangesNothing) {
  TestTexture flat(4, 4, false, [](int, int, int* c) { Solid(c, 90, 10, 200, 255); });
  slots_[BUMP] = flat.slot;
  PixelShade in = FacingShade();
  in.nx = 0.3f;
  in.ny = -0.2f;
  in.nz = 0.9f;
  for (bool quality : {false, true}) {
    _Quality = quality ? 1 : 0;
    __PrevInfo prev{};
    prev.valid = 1;
    prev.u = 0.0f;  // footprint of 3 x 3 texels
    prev.v = 0.0f;
    const PixelShade s = Run(CallAt(1.0f, 1.0f, &prev), in);
    EXPECT_EQ(s.nx, 0.3f);
    EXPECT_EQ(s.ny, -0.2f);
    EXPECT_EQ(s.nz, 0.9f);
  }
}

TEST_F(TextureMaps, BumpSlopeTiltsTheNormalAlikeAtBothDepths) {
  for (bool deep : {false, true}) {
    SetFrame(16, 16, deep, false);
    const int step = deep ? 32768 : 255;
    // Column 1 is brighter than column 0 by the full range in every channel.
    TestTexture t(3, 2, deep, [&](int x, int, int* c) {
      const int v = x == 1 ? step : 0;
      Solid(c, v, v, v, step);
    });
    slots_[BUMP] = t.slot;
    material_.maps[3].amount = 0.1f;
    const PixelShade s = Run(CallAt(0.0f, 0.0f));
    EXPECT_NEAR(s.nx, -7.65, 1e-5) << deep;
    EXPECT_EQ(s.ny, 0.0f) << deep;  // the lower neighbour is as bright
    EXPECT_EQ(s.nz, 1.0f) << deep;  // not renormalised
  }
}

TEST_F(TextureMaps, BumpLastColumnAndRowHaveNoSlope) {
  TestTexture t(4, 3, false, BumpRamp);
  slots_[BUMP] = t.slot;
  // Texel (1, 1): right neighbour brighter by 3, lower by 6.
  material_.maps[3].amount = 10.0f;  // not clamped: slope x amount / 10
  PixelShade s = Run(CallAt(1.0f / 3, 0.5f));
  EXPECT_FLOAT_EQ(s.nx, -3.0f);
  EXPECT_FLOAT_EQ(s.ny, -6.0f);
  // Last column, last row: each is its own neighbour (column 0 is darker).
  s = Run(CallAt(1.0f, 1.0f));
  EXPECT_EQ(s.nx, 0.0f);
  EXPECT_EQ(s.ny, 0.0f);
}

TEST_F(TextureMaps, BumpFootprintNeighboursWrapToZero) {
  _Quality = 1;
  // Brightness 30 x column, two equal rows.
  TestTexture t(5, 2, false, [](int x, int, int* c) { Solid(c, 10 * x, 10 * x, 10 * x, 255); });
  slots_[BUMP] = t.slot;
  __PrevInfo prev{};
  prev.valid = 1;
  prev.u = 0.25f;  // xp = 1
  // x = 4.5: kx = 4 samples at 1, 1.875, 2.75, 3.625; ox = 3.5 puts the right
  // neighbours at 4, 5, 6 and 7, of which all at or past W read column 0.
  const PixelShade s = Run(CallAt(1.125f, 0.0f, &prev));
  const double centre = 30.0 * (1 + 1 + 2 + 3) / 4, right = 30.0 * (4 + 0 + 0 + 0) / 4;
  EXPECT_NEAR(s.nx, -(right - centre) / 10, 1e-6);
  EXPECT_EQ(s.ny, 0.0f);
}

TEST_F(TextureMaps, ReflectionOfAFacingSurfaceSpansTheFrame) {
  // h = Zwidth = 100; a map 201 texels wide maps pixel px to column px + 100.
  SetFrame(100, 4, false, false);
  TestTexture t(201, 1, false, [](int x, int, int* c) { Solid(c, x, 255 - x, 7, 255); });
  slots_[REFL] = t.slot;
  for (float px : {-100.0f, -37.0f, 0.0f, 64.0f, 100.0f}) {
    PixelCall call = CallAt(0.0f, 0.0f);
    call.textured = 0;  // reflection needs no texture coordinates
    call.px = px;
    call.pz = 12.0f;
    const PixelShade s = Run(call);
    EXPECT_FLOAT_EQ(s.diffuse[0], (px + 100.0f) / 255.0f) << px;
    EXPECT_FLOAT_EQ(s.diffuse[1], (155.0f - px) / 255.0f) << px;
    EXPECT_FLOAT_EQ(s.diffuse[2], 7.0f / 255.0f) << px;
  }
  float U, V;
  ReflectionCoords(0.0f, 0.0f, 1.0f, 10.0f, -20.0f, 5.0f, 100.0f, U, V);
  EXPECT_FLOAT_EQ(U, 0.55f);
  EXPECT_FLOAT_EQ(V, 0.4f);
}

TEST_F(TextureMaps, ReflectionWallsOfATiltedNormal) {
  float U, V;
  // N = (0.6, 0, 0.8): r = (0.96, 0, 0.28). The x wall at 100 is hit at
  // z = 29.17 (nearer the axis than the z wall's x = 342.9).
  ReflectionCoords(0.6f, 0.0f, 0.8f, 0.0f, 30.0f, 0.0f, 100.0f, U, V);
  EXPECT_NEAR(U, (0.28 * 100 / 0.96 + 100) / 200, 1e-6);
  EXPECT_FLOAT_EQ(V, 0.65f);
  // N = (0.8, 0, 0.6): r = (0.96, 0, -0.28), towards the far z wall.
  ReflectionCoords(0.8f, 0.0f, 0.6f, 0.0f, 0.0f, 0.0f, 100.0f, U, V);
  EXPECT_NEAR(U, (-0.28 * 100 / 0.96 + 100) / 200, 1e-6);
  // N = (0, -0.6, 0.8): the y wall at -100.
  ReflectionCoords(0.0f, -0.6f, 0.8f, 0.0f, 0.0f, 0.0f, 100.0f, U, V);
  EXPECT_NEAR(V, (0.28 * 100 / 0.96 + 100) / 200, 1e-6);
  EXPECT_FLOAT_EQ(U, 0.5f);
  // Ray in the x-y plane only (rz and rx both below 1e-4): straight look-up.
  ReflectionCoords(0.0f, 0.0f, 0.70710678f, 40.0f, 0.0f, 0.0f, 100.0f, U, V);
  EXPECT_FLOAT_EQ(U, 0.7f);
  // A NaN normal hits no wall and keeps the facing value.
  ReflectionCoords(std::nanf(""), std::nanf(""), std::nanf(""), 40.0f, -40.0f, 0.0f, 100.0f, U, V);
  EXPECT_FLOAT_EQ(U, 0.7f);
  EXPECT_FLOAT_EQ(V, 0.3f);
}

TEST_F(TextureMaps, ReflectionBlendsOverTheTextureWithTheUnbumpedNormal) {
  SetFrame(100, 4, false, false);
  TestTexture green(2, 2, false, [](int, int, int* c) { Solid(c, 0, 255, 0, 255); });
  TestTexture mirror(201, 1, false, [](int x, int, int* c) { Solid(c, x, 0, 0, 255); });
  TestTexture bumps(4, 4, false, BumpRamp);
  slots_[TEX] = green.slot;
  slots_[REFL] = mirror.slot;
  material_.maps[7].amount = 0.5f;
  PixelCall call = CallAt(0.0f, 0.0f);
  call.px = 55.0f;  // column 155
  PixelShade s = Run(call);
  EXPECT_FLOAT_EQ(s.diffuse[0], 0.5f * 155.0f / 255.0f);
  EXPECT_FLOAT_EQ(s.diffuse[1], 0.5f);
  EXPECT_FLOAT_EQ(s.diffuse[2], 0.0f);
  // A bump map tilts the normal only after the lookup.
  slots_[BUMP] = bumps.slot;
  const PixelShade b = Run(call);
  EXPECT_NE(b.nx, 0.0f);
  EXPECT_FLOAT_EQ(b.diffuse[0], s.diffuse[0]);
  // The amount is clamped to 0..1.
  slots_[BUMP] = __Texture{};
  material_.maps[7].amount = 4.0f;
  EXPECT_FLOAT_EQ(Run(call).diffuse[1], 0.0f);
  material_.maps[7].amount = -1.0f;
  EXPECT_FLOAT_EQ(Run(call).diffuse[1], 1.0f);
}

TEST_F(TextureMaps, ReflectionBilinearClampsAtTheLastColumn) {
  SetFrame(100, 4, false, true);
  TestTexture mirror(201, 1, false,
                     [](int x, int, int* c) { Solid(c, x == 200 ? 200 : 0, 0, 0, 255); });
  slots_[REFL] = mirror.slot;
  // U = 1 - tiny: x = 199.5 blends columns 199 and 200; x between 200 and
  // the wrap point (offset 0.5 / 200) blends column 200 with itself.
  material_.maps[7].uOffset = 0.5f / 200;
  PixelCall call = CallAt(0.0f, 0.0f);
  call.px = 100.0f;  // U = 1 -> x = 200.5
  EXPECT_FLOAT_EQ(Run(call).diffuse[0], 200.0f / 255.0f);
  material_.maps[7].uOffset = -0.5f / 200;  // x = 199.5
  EXPECT_NEAR(Run(call).diffuse[0], 100.0f / 255.0f, 1e-5);
}

TEST_F(TextureMaps, DisabledSlotsAndOrderOfTheStages) {
  TestTexture t(2, 2, false, [](int, int, int* c) { Solid(c, 255, 255, 255, 255); });
  __Texture off = t.slot;
  off.enabled = 0;
  for (int k = 0; k < 4; ++k) slots_[k] = off;
  PixelShade in = FacingShade();
  in.opacity = 0.7f;
  const PixelShade s = Run(CallAt(0.5f, 0.5f), in);
  EXPECT_EQ(s.diffuse[0], 0.5f);
  EXPECT_EQ(s.opacity, 0.7f);
  EXPECT_EQ(s.nx, 0.0f);
}

}  // namespace
