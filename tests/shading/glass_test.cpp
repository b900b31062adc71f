// Glass refraction: channel distances, bend factor, the single-sample and
// supersampled paths, and the background each sample sees.
#include <cmath>

#include "tests/shading/shading_test_util.h"

namespace {

GlassProp Glass(float optical, float refraction, float aberration) {
  GlassProp g{};
  g.enabled = 1;
  g.optical = optical;
  g.refraction = refraction;
  g.aberration = aberration;
  return g;
}

PixelShade Shade(float nx, float ny, float nz, float diffuse = 0.5f) {
  PixelShade s = FacingShade();
  s.nx = nx;
  s.ny = ny;
  s.nz = nz;
  for (float& d : s.diffuse) d = diffuse;
  return s;
}

class GlassTest : public ShadingTest {
 protected:
  void SetUp() override {
    ShadingTest::SetUp();
    Frame(false, false);
  }
  // 16 x 16 frame; the source's channel c at (x, y) is 8x + 2y + c (times
  // 128 at 16 bits), so every sample tells where it was taken.
  void Frame(bool deep, bool quality) {
    SetFrame(16, 16, deep, quality);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        const int k = deep ? 128 : 1;
        Put(src_, 16, x, y, k * (8 * x + 2 * y), k * (8 * x + 2 * y + 1), k * (8 * x + 2 * y + 2),
            Max());
        Put(back_, 16, x, y, At(src_, 16, x, y, 0), At(src_, 16, x, y, 1), At(src_, 16, x, y, 2),
            Max());
      }
  }
  float Src(int x, int y, int c) const { return float(At(src_, 16, x, y, c)); }
  // The call of the pixel at absolute (X, Y), centre (8, 8), depth z.
  PixelCall Call(float X, float Y, float z = 0.0f, const __PrevInfo* prev = nullptr) {
    PixelCall c{};
    c.centerX = 8.0f;
    c.centerY = 8.0f;
    c.src = src_.data();
    c.px = X - 8.0f;
    c.py = Y - 8.0f;
    c.pz = z;
    c.prev = prev;
    c.planeC = 1.0f;
    c.planeD = -z;  // the plane z = const
    return c;
  }
  PixelShade Run(PixelShade s, const GlassProp& g, const PixelCall& call) {
    ApplyGlass(s, g, call);
    return s;
  }
};

TEST_F(GlassTest, HalfGreyPassesTheRefractedColourUnchanged) {
  for (bool deep : {false, true}) {
    Frame(deep, false);
    const float m = float(Max());
    // Facing the viewer: nothing is displaced, whatever the coefficient.
    PixelShade s = Run(Shade(0, 0, 1), Glass(0.7f, 9.0f, 10.0f), Call(5, 10));
    for (int c = 0; c < 3; ++c) EXPECT_FLOAT_EQ(s.diffuse[c], Src(5, 10, c) / m) << deep;
    EXPECT_EQ(s.opacity, 1.0f);
    // Other diffuse colours shift the refracted one, clamped to 0..1.
    s = Run(Shade(0, 0, 1, 0.7f), Glass(0, 9, 0), Call(5, 10));
    EXPECT_FLOAT_EQ(s.diffuse[0], Src(5, 10, 0) / m + 0.2f);
    s = Run(Shade(0, 0, 1, 0.0f), Glass(0, 9, 0), Call(1, 1));
    EXPECT_FLOAT_EQ(s.diffuse[2], 0.0f);
    s = Run(Shade(0, 0, 1, 1.0f), Glass(0, 9, 0), Call(15, 15));
    EXPECT_FLOAT_EQ(s.diffuse[2], 1.0f);
  }
}

TEST_F(GlassTest, ChannelDistancesAndBendFactor) {
  const float m = float(Max());
  // Edge-on normal (1, 0, 0), optical 0: F = -1, so channel c samples X - d_c.
  // Aberration 50: d = 8, 6, 4.5.
  PixelShade s = Run(Shade(1, 0, 0), Glass(0, 8, 50), Call(12, 3));
  EXPECT_FLOAT_EQ(s.diffuse[0], Src(4, 3, 0) / m);
  EXPECT_FLOAT_EQ(s.diffuse[1], Src(6, 3, 1) / m);
  EXPECT_FLOAT_EQ(s.diffuse[2], Src(7, 3, 2) / m);
  // Aberration 0: one distance for all channels.
  s = Run(Shade(1, 0, 0), Glass(0, 8, 0), Call(12, 3));
  for (int c = 0; c < 3; ++c) EXPECT_FLOAT_EQ(s.diffuse[c], Src(4, 3, c) / m);
  // Optical 1 seen edge-on: F = 0, no displacement.
  s = Run(Shade(1, 0, 0), Glass(1, 8, 50), Call(12, 3));
  for (int c = 0; c < 3; ++c) EXPECT_FLOAT_EQ(s.diffuse[c], Src(12, 3, c) / m);
  // A bumped normal (0.5, 0, 1), optical 0.5: F = -1.5, shift 0.5 x -1.5 x 4.
  s = Run(Shade(0.5f, 0, 1), Glass(0.5f, 4, 0), Call(12, 3));
  EXPECT_FLOAT_EQ(s.diffuse[0], Src(9, 3, 0) / m);
  // Downwards: normal (0, -1, 0) moves the samples to Y + d.
  s = Run(Shade(0, -1, 0), Glass(0, 5, 0), Call(2, 3));
  EXPECT_FLOAT_EQ(s.diffuse[1], Src(2, 8, 1) / m);
}

TEST_F(GlassTest, OutsideSamplesFallBackToThePixelsRowOrColumn) {
  for (bool quality : {false, true}) {
    Frame(false, quality);
    const float m = float(Max());
    // Column -8 falls back to the pixel's column 2, row 20 to row 3.
    PixelShade s = Run(Shade(1, 0, 0), Glass(0, 10, 0), Call(2, 3));
    PixelShade t = Run(Shade(0, -1, 0), Glass(0, 17, 0), Call(2, 3));
    if (!quality) {
      EXPECT_FLOAT_EQ(s.diffuse[0], Src(2, 3, 0) / m);
      EXPECT_FLOAT_EQ(t.diffuse[0], Src(2, 3, 0) / m);
    } else {
      // fx = |-8 - 2| = 10: the squared weights of a far sample.
      const float w00 = 64, w01 = 81, w10 = 121, w11 = 100, sum = 366;
      const float v =
          (w00 * Src(2, 3, 0) + w11 * Src(3, 4, 0) + w01 * Src(2, 4, 0) + w10 * Src(3, 3, 0)) /
          (sum * m);
      EXPECT_NEAR(s.diffuse[0], v, 1e-6);
    }
    EXPECT_EQ(s.opacity, 1.0f);
    EXPECT_EQ(t.opacity, 1.0f);
    // A pixel outside the frame itself: nothing to fall back to.
    s = Run(Shade(-1, 0, 0), Glass(0, 10, 0), Call(16, 3));
    for (int c = 0; c < 3; ++c) EXPECT_EQ(s.diffuse[c], 0.0f);
    EXPECT_EQ(s.opacity, 0.0f);
    s = Run(Shade(0, 0, 1), Glass(0, 0, 0), Call(3, -1));
    EXPECT_EQ(s.opacity, 0.0f);
  }
}

TEST_F(GlassTest, QualityWeighsThePixelAndItsNeighbours) {
  for (bool deep : {false, true}) {
    Frame(deep, true);
    const float m = float(Max());
    // Refraction 0: 4/6 of the pixel, 1/6 each of its right and lower ones.
    PixelShade s = Run(Shade(0, 0, 1), Glass(0, 0, 0), Call(5, 6));
    for (int c = 0; c < 3; ++c)
      EXPECT_NEAR(s.diffuse[c], (4 * Src(5, 6, c) + Src(6, 6, c) + Src(5, 7, c)) / (6 * m), 1e-6);
    // The last column is its own right neighbour.
    s = Run(Shade(0, 0, 1), Glass(0, 0, 0), Call(15, 6));
    EXPECT_NEAR(s.diffuse[0], (5 * Src(15, 6, 0) + Src(15, 7, 0)) / (6 * m), 1e-6);
    // Half a pixel off: fx = 0.5 gives weights 2.25, 0.25, 2.25, 0.25 of 5.
    s = Run(Shade(1, 0, 0), Glass(0, 4.5f, 0), Call(12, 6));
    EXPECT_NEAR(s.diffuse[0],
                (2.25f * Src(7, 6, 0) + 0.25f * Src(8, 7, 0) + 0.25f * Src(7, 7, 0) +
                 2.25f * Src(8, 6, 0)) /
                    (5 * m),
                1e-6);
    EXPECT_EQ(s.opacity, 1.0f);
  }
}

TEST_F(GlassTest, SupersampledPathAveragesBetweenThePixels) {
  Frame(false, true);
  const float m = float(Max());
  // This pixel samples at (X, Y); the previous one, a pixel to the left with
  // normal (1, 0, 0) (given unnormalised), at X - 1 - 6: e = -7, 5 samples.
  __PrevInfo prev{};
  prev.valid = 1;
  prev.nx = 2.0f;
  auto callAt = [&](float X, float Y) {
    prev.x = X - 1 - 8.0f;
    prev.y = Y - 8.0f;
    return Call(X, Y, 0.0f, &prev);
  };
  PixelShade s = Run(Shade(0, 0, 1), Glass(0, 6, 0), callAt(10, 4));
  for (int c = 0; c < 3; ++c) {
    const float sum = Src(10, 4, c) + Src(8, 4, c) + Src(7, 4, c) + Src(5, 4, c) + Src(4, 4, c);
    EXPECT_NEAR(s.diffuse[c], sum / (5 * m), 1e-6);
  }
  EXPECT_EQ(s.opacity, 1.0f);
  // Running off the frame: of 16, 14.6, 13.2, 11.8, 10.4 the first stays
  // outside; it adds nothing, counts in the divisor and lowers the opacity.
  s = Run(Shade(0, 0, 1), Glass(0, 6, 0), callAt(16, 4));
  const float inside = Src(14, 4, 0) + Src(13, 4, 0) + Src(11, 4, 0) + Src(10, 4, 0);
  EXPECT_NEAR(s.diffuse[0], inside / (5 * m), 1e-6);
  EXPECT_FLOAT_EQ(s.opacity, 0.8f);
  // The covered share never raises the opacity.
  PixelShade half = Shade(0, 0, 1);
  half.opacity = 0.5f;
  EXPECT_EQ(Run(half, Glass(0, 6, 0), callAt(10, 4)).opacity, 0.5f);
}

TEST_F(GlassTest, SupersampledRowZeroFallsBackToThePixelsRow) {
  Frame(false, true);
  const float m = float(Max());
  // Previous pixel in the same column with normal (0, 1, 0): e = (0, -6),
  // rows 3, 1.8, 0.6, -0.6, -1.8 -> 3, 1, then row 0 and below fall back to 3.
  __PrevInfo prev{};
  prev.valid = 1;
  prev.ny = 1.0f;
  prev.x = 5 - 8.0f;
  prev.y = 3 - 8.0f;
  const PixelShade s = Run(Shade(0, 0, 1), Glass(0, 6, 0), Call(5, 3, 0.0f, &prev));
  EXPECT_NEAR(s.diffuse[1], (4 * Src(5, 3, 1) + Src(5, 1, 1)) / (5 * m), 1e-6);
}

TEST_F(GlassTest, SupersamplingNeedsQualityAValidNeighbourAndAPathLongerThanTwo) {
  Frame(false, true);
  const float m = float(Max());
  const float single = (4 * Src(5, 6, 0) + Src(6, 6, 0) + Src(5, 7, 0)) / (6 * m);
  __PrevInfo prev{};
  prev.valid = 1;
  prev.nx = 1.0f;
  prev.x = 5 + 4 - 8.0f;  // Q = X + 4 - 2: exactly 2 away
  prev.y = 6 - 8.0f;
  EXPECT_NEAR(Run(Shade(0, 0, 1), Glass(0, 2, 0), Call(5, 6, 0, &prev)).diffuse[0], single, 1e-6);
  // Further away, but the previous pixel is not valid.
  prev.x = 5 + 6 - 8.0f;
  prev.valid = 0;
  EXPECT_NEAR(Run(Shade(0, 0, 1), Glass(0, 2, 0), Call(5, 6, 0, &prev)).diffuse[0], single, 1e-6);
  // Valid, but a back-face pass precedes: single sample.
  prev.valid = 1;
  _DrawBackFaces = 1;
  back_ = src_;
  _BackImage = back_.data();
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) Put(back_, 16, x, y, 0, 0, 0, 0);  // nothing drawn behind
  EXPECT_NEAR(Run(Shade(0, 0, 1), Glass(0, 2, 0), Call(5, 6, 0, &prev)).diffuse[0], single, 1e-6);
  _DrawBackFaces = 0;
  EXPECT_NE(Run(Shade(0, 0, 1), Glass(0, 2, 0), Call(5, 6, 0, &prev)).diffuse[0], single);
}

TEST_F(GlassTest, MultipleRefractionRecordsDepthsAndSeesOpaqueSurfaces) {
  _UseMultyRefract = 1;
  const float m = float(Max());
  // The frame holds an opaque drawing (255 - source) and one transparent
  // pixel; the background layer still holds the source.
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x)
      Put(dest_, 16, x, y, 255 - int(Src(x, y, 0)), 255 - int(Src(x, y, 1)),
          255 - int(Src(x, y, 2)), x == 6 ? 100 : Max());
  auto z2 = [&](int x, int y) { return zbuff2_[size_t(y) * 16 + x]; };
  // Aberration 50 from X = 12: red samples column 4, green 6, blue 7.
  const GlassProp g = Glass(0, 8, 50);
  // First glass lookup: nothing recorded, so the background layer; only the
  // blue channel's sample records the depth.
  PixelShade s = Run(Shade(1, 0, 0), g, Call(12, 3, 40.0f));
  EXPECT_FLOAT_EQ(s.diffuse[0], Src(4, 3, 0) / m);
  EXPECT_FLOAT_EQ(s.diffuse[2], Src(7, 3, 2) / m);
  EXPECT_EQ(z2(7, 3), 40.0f);
  EXPECT_LT(z2(4, 3), -1e37f);
  EXPECT_LT(z2(6, 3), -1e37f);
  // A surface 10 units nearer: the same glass, the background layer again,
  // and the record stays.
  s = Run(Shade(1, 0, 0), g, Call(12, 3, 50.0f));
  EXPECT_FLOAT_EQ(s.diffuse[2], Src(7, 3, 2) / m);
  EXPECT_EQ(z2(7, 3), 40.0f);
  // At least 30 units away over an opaque drawn pixel: what is drawn there,
  // kept in the background layer, and the new depth recorded.
  s = Run(Shade(1, 0, 0), g, Call(12, 3, 70.0f));
  EXPECT_FLOAT_EQ(s.diffuse[2], (255 - Src(7, 3, 2)) / m);
  EXPECT_EQ(At(back_, 16, 7, 3, 2), 255 - int(Src(7, 3, 2)));
  EXPECT_EQ(At(back_, 16, 7, 3, 0), int(Src(7, 3, 0)));  // other channels untouched
  EXPECT_EQ(z2(7, 3), 70.0f);
  // Over a pixel drawn partly transparent: the background layer.
  zbuff2_[3 * 16 + 6] = 0.0f;
  s = Run(Shade(1, 0, 0), g, Call(12, 3, 70.0f));
  EXPECT_FLOAT_EQ(s.diffuse[1], Src(6, 3, 1) / m);
  // Without multiple refraction the source is refracted and nothing written.
  _UseMultyRefract = 0;
  zbuff2_[3 * 16 + 4] = 0.0f;
  s = Run(Shade(1, 0, 0), g, Call(12, 3, 100.0f));
  EXPECT_FLOAT_EQ(s.diffuse[0], Src(4, 3, 0) / m);
  EXPECT_EQ(z2(4, 3), 0.0f);
  EXPECT_EQ(z2(7, 3), 70.0f);
}

TEST_F(GlassTest, FrontPassAfterBackFacesBlendsTheBackgroundByTheDrawnAlpha) {
  for (bool deep : {false, true}) {
    Frame(deep, false);
    _DrawBackFaces = 1;
    _DrawBackFaces1 = 0;
    const float m = float(Max());
    // Background layer: back faces drawn white at (5, 5), nothing at (6, 5).
    Put(back_, 16, 5, 5, Max(), Max(), Max(), Max());
    Put(back_, 16, 6, 5, Max(), Max(), Max(), 0);
    const int alpha = deep ? 16384 : 128;
    Put(dest_, 16, 5, 5, 0, 0, 0, alpha);
    Put(dest_, 16, 6, 5, 0, 0, 0, Max());
    PixelShade s = Run(Shade(0, 0, 1), Glass(0, 0, 0), Call(5, 5));
    const float w = float(alpha) / m;
    for (int c = 0; c < 3; ++c)
      EXPECT_NEAR(s.diffuse[c], (w * m + (1 - w) * Src(5, 5, c)) / m, 1e-6) << deep;
    s = Run(Shade(0, 0, 1), Glass(0, 0, 0), Call(6, 5));
    EXPECT_FLOAT_EQ(s.diffuse[0], Src(6, 5, 0) / m);
    // During the back-face pass itself the source is refracted.
    _DrawBackFaces1 = 1;
    s = Run(Shade(0, 0, 1), Glass(0, 0, 0), Call(5, 5));
    EXPECT_FLOAT_EQ(s.diffuse[0], Src(5, 5, 0) / m);
  }
}

TEST_F(GlassTest, PlaneDepthOfTheNeighbourSamples) {
  // A sloped plane z = x (planeA = 1, planeC = -1): the quality path samples
  // the right neighbour at the plane depth of P + (1, 0); with multiple
  // refraction the blue channel records those depths.
  Frame(false, true);
  _UseMultyRefract = 1;
  PixelCall call = Call(5, 6, 5.0f);
  call.planeA = 1.0f;
  call.planeB = 0.0f;
  call.planeC = -1.0f;
  call.planeD = 0.0f;
  Run(Shade(0, 0, 1), Glass(0, 0, 0), call);
  EXPECT_EQ(zbuff2_[6 * 16 + 5], 5.0f);  // the pixel: its own depth
  EXPECT_EQ(zbuff2_[7 * 16 + 6], 6.0f);  // (x + 1, y + 1)
  EXPECT_EQ(zbuff2_[7 * 16 + 5], 5.0f);  // (x, y + 1)
  EXPECT_EQ(zbuff2_[6 * 16 + 6], 6.0f);  // (x + 1, y)
  // A plane seen edge-on uses the pixel's depth everywhere.
  std::fill(zbuff2_.begin(), zbuff2_.end(), -1.6947395e38f);
  call.planeC = 0.005f;
  Run(Shade(0, 0, 1), Glass(0, 0, 0), call);
  EXPECT_EQ(zbuff2_[7 * 16 + 6], 5.0f);
  // Supersampled path from (10, 4) back to a neighbour with normal (1, 0, 0):
  // columns 10, 8.6, 7.2, 5.8 and 4.4, each at the plane's depth there.
  std::fill(zbuff2_.begin(), zbuff2_.end(), -1.6947395e38f);
  __PrevInfo prev{};
  prev.valid = 1;
  prev.nx = 1.0f;
  prev.x = 9 - 8.0f;
  prev.y = 4 - 8.0f;
  call = Call(10, 4, 10.0f, &prev);
  call.planeA = 1.0f;
  call.planeC = -1.0f;
  call.planeD = 0.0f;
  Run(Shade(0, 0, 1), Glass(0, 6, 0), call);
  for (int x : {10, 8, 7, 5, 4}) EXPECT_EQ(zbuff2_[4 * 16 + x], float(x)) << x;
}

// Through the per-pixel function: a fully self-illuminated material without
// highlight shows the refracted colour itself.
TEST_F(GlassTest, RenderOnePixelShowsTheRefractedSource) {
  for (bool deep : {false, true}) {
    Frame(deep, false);
    material3ds mat = PlainMaterial();
    mat.selfIllum = 1.0f;
    mat.shinStrength = 0.0f;
    __Texture slots[4] = {};
    light3ds light{};
    light.z = 1000.0f;
    light.color[0] = light.color[1] = light.color[2] = 1.0f;
    light.multiplier = 1.0f;
    GlassProp g = Glass(0, 8, 50);
    __Triangle3ds tri{};
    __Point n{1.0f, 0.0f, 0.0f};
    float o0 = -1, o1 = -1, o2 = -1;
    float op = RenderOnePixel(8, 8, dest_.data(), src_.data(), 12 - 8, 3 - 8, 0, &tri, &mat, 1, o0,
                              o1, o2, &n, 0, 0, 0, slots, 1, &light, nullptr, &g, 0, 0, 1, 0);
    EXPECT_EQ(op, 1.0f);
    EXPECT_FLOAT_EQ(o0, Src(4, 3, 0));
    EXPECT_FLOAT_EQ(o1, Src(6, 3, 1));
    EXPECT_FLOAT_EQ(o2, Src(7, 3, 2));
    // Disabled glass leaves the material colour.
    g.enabled = 0;
    RenderOnePixel(8, 8, dest_.data(), src_.data(), 4, -5, 0, &tri, &mat, 1, o0, o1, o2, &n, 0, 0,
                   0, slots, 1, &light, nullptr, &g, 0, 0, 1, 0);
    EXPECT_FLOAT_EQ(o0, 0.5f * Max());
    // A pixel outside the frame refracts nothing and is transparent.
    g.enabled = 1;
    op = RenderOnePixel(8, 8, dest_.data(), src_.data(), 4, 20, 0, &tri, &mat, 1, o0, o1, o2, &n, 0,
                        0, 0, slots, 1, &light, nullptr, &g, 0, 0, 1, 0);
    EXPECT_EQ(op, 0.0f);
    EXPECT_EQ(o0, 0.0f);
  }
}

}  // namespace
