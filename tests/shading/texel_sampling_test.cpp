// Texel addressing, bilinear neighbours and the footprint between two pixels.
#include "renderer/shading/texel_sampling.h"

#include <cmath>
#include <limits>

#include "tests/shading/shading_test_util.h"

namespace {

map3ds Block(float uScale = 1.0f, float uOffset = 0.0f, float vScale = 1.0f, float vOffset = 0.0f) {
  map3ds b{};
  b.amount = 1.0f;
  b.uScale = uScale;
  b.uOffset = uOffset;
  b.vScale = vScale;
  b.vOffset = vOffset;
  return b;
}

// Red channel = 8 x column, green = 8 x row, blue 1, alpha full.
void Ramp(int x, int y, int* c) {
  c[TEXEL_RED] = 8 * x;
  c[TEXEL_GREEN] = 8 * y;
  c[TEXEL_BLUE] = 1;
}

using TexelSampling = ShadingTest;

TEST_F(TexelSampling, AddressWrapsIntoTheTexture) {
  const map3ds b = Block();
  // u = 1 is the last column, whatever the width.
  EXPECT_EQ(TexelAddress(1.0f, 1.0f, b, 7, 3).x0, 6);
  EXPECT_EQ(TexelAddress(1.0f, 1.0f, b, 7, 3).y0, 2);
  // W = 101: x = 125 wraps to 24; x = -10 wraps to 91.
  EXPECT_EQ(TexelAddress(1.25f, 0.0f, b, 101, 1).x0, 24);
  EXPECT_EQ(TexelAddress(-0.1f, 0.0f, b, 101, 1).x0, 91);
  EXPECT_EQ(TexelAddress(0.0f, 1.25f, b, 1, 101).y0, 24);
  EXPECT_EQ(TexelAddress(0.0f, -0.1f, b, 1, 101).y0, 91);
  // u = 2 (x = 200) wraps once; u = -1 (x = -100) lands on column 1.
  EXPECT_EQ(TexelAddress(2.0f, 0.0f, b, 101, 1).x0, 99);
  EXPECT_EQ(TexelAddress(-1.0f, 0.0f, b, 101, 1).x0, 1);
  // Scale and offset come before the width: (0.5 x 2 + 0.25) x 4 = 5 -> 0.
  EXPECT_EQ(TexelAddress(0.5f, 0.0f, Block(2.0f, 0.25f), 5, 1).x0, 0);
  EXPECT_EQ(TexelAddress(0.0f, 0.5f, Block(1, 0, 2.0f, 0.5f), 1, 5).y0, 1);
  // The fraction is what the truncation left.
  const TexelPos p = TexelAddress(0.40625f, 0.0f, b, 33, 1);  // x = 13
  EXPECT_EQ(p.x0, 13);
  EXPECT_FLOAT_EQ(p.fx, 0.0f);
  const TexelPos q = TexelAddress(0.421875f, 0.0f, b, 33, 1);  // x = 13.5
  EXPECT_EQ(q.x0, 13);
  EXPECT_FLOAT_EQ(q.fx, 0.5f);
}

TEST_F(TexelSampling, WrapKeepsEveryCoordinateInside) {
  // A tiny negative value wraps to n and is pulled back to the last texel.
  EXPECT_EQ(WrapTexelCoord(-1e-9f, 10), 9.0f);
  // Beyond the int range: exact remainders (1e10 = 101 x 99009900 + 100).
  EXPECT_EQ(WrapTexelCoord(1e10f, 101), 100.0f);
  EXPECT_EQ(WrapTexelCoord(-1e10f, 101), 1.0f);
  // Where the float of n q rounds past x: the exact remainder too.
  EXPECT_EQ(WrapTexelCoord(-37108820.0f, 3), 1.0f);
  const float inf = std::numeric_limits<float>::infinity();
  EXPECT_EQ(WrapTexelCoord(std::nanf(""), 5), 0.0f);
  EXPECT_EQ(WrapTexelCoord(inf, 5), 0.0f);
  EXPECT_EQ(WrapTexelCoord(-inf, 5), 0.0f);
  for (float x : {3e38f, -3e38f, 2147483520.0f, -2147483520.0f, -134217712.0f, 4.5f, -4.5f,
                  1e-30f}) {
    for (int n : {1, 2, 7, 101, 4096}) {
      const float w = WrapTexelCoord(x, n);
      EXPECT_GE(w, 0.0f) << x << " " << n;
      EXPECT_LT(w, float(n)) << x << " " << n;
    }
  }
}

TEST_F(TexelSampling, BilinearWeightsAndEdgeNeighbours) {
  TestTexture t(5, 3, false, Ramp);
  // Weights (1 - fx)(1 - fy), fx fy, (1 - fx) fy, fx (1 - fy) on the four
  // corners: at fx = 0.25, fy = 0.75 between columns 1, 2 and rows 0, 1.
  TexelPos p{1.25f, 0.75f, 1, 0, 0.25f, 0.75f};
  float v[4];
  SampleBilinear(t.slot, p, BilinearEdge::WrapToSecond, v);
  EXPECT_FLOAT_EQ(v[TEXEL_RED], 8.0f * 1.25f);
  EXPECT_FLOAT_EQ(v[TEXEL_GREEN], 8.0f * 0.75f);
  EXPECT_FLOAT_EQ(v[TEXEL_BLUE], 1.0f);
  EXPECT_FLOAT_EQ(v[TEXEL_ALPHA], 255.0f);

  // Between the last column and the wrap point: the texture and opacity maps
  // blend with column 1 (not 0), the reflection map with the column itself.
  TexelPos last{4.5f, 2.5f, 4, 2, 0.5f, 0.5f};
  SampleBilinear(t.slot, last, BilinearEdge::WrapToSecond, v);
  EXPECT_FLOAT_EQ(v[TEXEL_RED], 0.5f * 32.0f + 0.5f * 8.0f);
  EXPECT_FLOAT_EQ(v[TEXEL_GREEN], 0.5f * 16.0f + 0.5f * 8.0f);
  SampleBilinear(t.slot, last, BilinearEdge::Clamp, v);
  EXPECT_FLOAT_EQ(v[TEXEL_RED], 32.0f);
  EXPECT_FLOAT_EQ(v[TEXEL_GREEN], 16.0f);
}

TEST_F(TexelSampling, OneTexelWideTexturesUseTheTexelItself) {
  TestTexture one(1, 1, false, [](int, int, int* c) {
    c[0] = 10;
    c[1] = 20;
    c[2] = 30;
    c[3] = 40;
  });
  float v[4];
  for (BilinearEdge e : {BilinearEdge::WrapToSecond, BilinearEdge::Clamp}) {
    SampleBilinear(one.slot, TexelAddress(0.7f, 0.3f, Block(), 1, 1), e, v);
    EXPECT_FLOAT_EQ(v[0], 10.0f);
    EXPECT_FLOAT_EQ(v[3], 40.0f);
  }
  // One column, three rows: the rows still blend; the missing column does not
  // take part.
  TestTexture column(1, 3, false, Ramp);
  TexelPos p{0.0f, 1.5f, 0, 1, 0.0f, 0.5f};
  SampleBilinear(column.slot, p, BilinearEdge::WrapToSecond, v);
  EXPECT_FLOAT_EQ(v[TEXEL_GREEN], 12.0f);
  TexelPos bottom{0.0f, 2.5f, 0, 2, 0.0f, 0.5f};
  SampleBilinear(column.slot, bottom, BilinearEdge::WrapToSecond, v);
  EXPECT_FLOAT_EQ(v[TEXEL_GREEN], 0.5f * 16.0f + 0.5f * 8.0f);
}

// Footprint: from the previous pixel's texel towards this one.
class Footprints : public ShadingTest {
 protected:
  void SetUp() override {
    ShadingTest::SetUp();
    SetFrame(16, 16, false, true);
  }
  // W = 33 so that u = column / 32 exactly.
  TestTexture tex_{33, 33, false, Ramp};
  __PrevInfo prev_{};
  float Red(float u, float v) {
    float bgra[4];
    SampleColourMap(tex_.slot, Block(), CallAt(u, v, &prev_), bgra);
    return bgra[TEXEL_RED];
  }
  void Prev(float u, float v, unsigned char valid = 1) {
    prev_.u = u;
    prev_.v = v;
    prev_.valid = valid;
  }
};

TEST_F(Footprints, AveragesTheSamplesBetweenThePixels) {
  // xp = 2, x = 7: kx = 6 samples at 2, 2.83, 3.67, 4.5, 5.33, 6.17.
  Prev(2.0f / 32, 0.0f);
  EXPECT_FLOAT_EQ(Red(7.0f / 32, 0.0f), 8.0f * (2 + 2 + 3 + 4 + 5 + 6) / (6 * 255.0f));
  // Backwards works the same way: xp = 7, x = 2.
  Prev(7.0f / 32, 0.0f);
  EXPECT_FLOAT_EQ(Red(2.0f / 32, 0.0f), 8.0f * (7 + 6 + 5 + 4 + 3 + 2) / (6 * 255.0f));
}

TEST_F(Footprints, CappedAtTenByTen) {
  // xp = 1, x = 21: 10 samples at 1, 3, ..., 19 (not 21).
  Prev(1.0f / 32, 0.0f);
  EXPECT_FLOAT_EQ(Red(21.0f / 32, 0.0f), 8.0f * 100 / (10 * 255.0f));
  Footprint fp;
  const TexelPos pos = TexelAddress(31.0f / 32, 31.0f / 32, Block(), 33, 33);
  Prev(0.0f, 0.0f);  // 31 texels in each direction
  ASSERT_TRUE(FindFootprint(CallAt(0.0f, 0.0f, &prev_), pos, Block(), tex_.slot, fp));
  EXPECT_EQ(fp.kx, 10);
  EXPECT_EQ(fp.ky, 10);
  float bgra[4];
  SumFootprint(tex_.slot, fp, bgra);
  EXPECT_FLOAT_EQ(bgra[TEXEL_ALPHA], 100 * 255.0f);
}

TEST_F(Footprints, UsedOnlyAboveTwoTexelsWithQualityAndAValidNeighbour) {
  const float plain = 8.0f * 7 / 255.0f;  // the texel at x = 7 itself
  Prev(5.0f / 32, 0.0f);                  // |dx| + |dy| = 2: not used
  EXPECT_FLOAT_EQ(Red(7.0f / 32, 0.0f), plain);
  Prev(5.0f / 32, 0.5f / 32);  // 2.5: used, 3 x 1 samples
  EXPECT_FLOAT_EQ(Red(7.0f / 32, 0.0f), 8.0f * (5 + 5 + 6) / (3 * 255.0f));
  Prev(2.0f / 32, 0.0f, 0);  // previous pixel not valid
  EXPECT_FLOAT_EQ(Red(7.0f / 32, 0.0f), plain);
  float bgra[4];
  SampleColourMap(tex_.slot, Block(), CallAt(7.0f / 32, 0.0f, nullptr), bgra);
  EXPECT_FLOAT_EQ(bgra[TEXEL_RED], plain);
  _Quality = 0;  // point sampling ignores the neighbour
  Prev(2.0f / 32, 0.0f);
  EXPECT_FLOAT_EQ(Red(7.4f / 32, 0.0f), plain);
}

}  // namespace
