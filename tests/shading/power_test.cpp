// The highlight's power routine: within one unit in the last place of a
// double-precision reference on a sample of the shader's inputs, the C
// library's special values for x >= 0, and the same bits from every vector
// path as from the scalar form. (scripts/bench.sh checks 10^8 pairs.)
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "renderer/raster/span_kernels.h"
#include "renderer/shading/power.h"

namespace {

uint32_t Bits(float v) {
  uint32_t b;
  std::memcpy(&b, &v, sizeof b);
  return b;
}

// Distance in representable floats between two non-negative floats.
int64_t UlpDistance(float a, float b) { return std::llabs(int64_t(Bits(a)) - int64_t(Bits(b))); }

// Bases of N . L times a light multiplier (0 .. 1.5), exponents of the
// shininess slider (0 .. 1000), and the default exponent 150.
void Sample(std::vector<float>& x, std::vector<float>& y, int n) {
  std::mt19937 rng(11);
  std::uniform_real_distribution<float> base(0.0f, 1.5f), exponent(0.0f, 1000.0f);
  for (int i = 0; i < n; ++i) {
    x.push_back(base(rng));
    y.push_back(i % 4 == 0 ? 150.0f : exponent(rng));
  }
}

TEST(ShadePow, WithinOneUlpOfTheDoubleResult) {
  std::vector<float> x, y;
  Sample(x, y, 100000);
  int64_t worst = 0;
  for (size_t i = 0; i < x.size(); ++i) {
    const float reference = float(std::pow(double(x[i]), double(y[i])));
    const int64_t d = UlpDistance(ShadePow(x[i], y[i]), reference);
    if (d > worst) worst = d;
    ASSERT_LE(d, 1) << x[i] << " ^ " << y[i];
  }
  EXPECT_LE(worst, 1);
}

TEST(ShadePow, SpecialValuesAsTheCLibrary) {
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  struct Row {
    float x, y, expected;
  };
  const Row rows[] = {
      {0.0f, 150.0f, 0.0f},     {0.0f, 0.0f, 1.0f},        {0.0f, -1.0f, inf},
      {0.7f, 0.0f, 1.0f},       {nan, 0.0f, 1.0f},         {1.0f, nan, 1.0f},
      {1.0f, inf, 1.0f},        {inf, 2.0f, inf},          {inf, -2.0f, 0.0f},
      {2.0f, 200.0f, inf},      {0.5f, 200.0f, 0.0f},      {2.0f, -149.0f, 1.4e-45f},
      {0.5f, inf, 0.0f},        {2.0f, inf, inf},          {0.5f, -inf, inf},
      {4.0f, 0.5f, 2.0f},       {1e-45f, 0.5f, 3.7433921e-23f}, {0.25f, 3.0f, 0.015625f},
  };
  for (const Row& r : rows)
    EXPECT_EQ(Bits(ShadePow(r.x, r.y)), Bits(r.expected)) << r.x << " ^ " << r.y;
  EXPECT_TRUE(std::isnan(ShadePow(nan, 2.0f)));
  EXPECT_TRUE(std::isnan(ShadePow(0.5f, nan)));
}

// The vector paths leave out the power for lanes below the zero bound: it
// must be 0 just below the bound, for exponents of every size.
TEST(ShadePow, ZeroBelowTheZeroBound) {
  for (float y : {7.3f, 150.0f, 999.0f, 123456.0f, 1e6f}) {
    const float bound = ShadePowZeroBelow(y);
    ASSERT_GT(bound, 0.0f) << y;
    EXPECT_EQ(Bits(ShadePow(std::nextafter(bound, 0.0f), y)), Bits(0.0f)) << y;
    EXPECT_EQ(Bits(ShadePow(0.0f, y)), Bits(0.0f)) << y;
  }
  for (float y : {0.0f, -150.0f, 2e6f, std::numeric_limits<float>::infinity(),
                  std::numeric_limits<float>::quiet_NaN()})
    EXPECT_EQ(ShadePowZeroBelow(y), -std::numeric_limits<float>::infinity()) << y;
}

TEST(ShadePow, EveryVectorPathGivesTheScalarBits) {
  std::vector<float> x, y;
  Sample(x, y, 4099);  // not a multiple of any lane count
  x.insert(x.end(), {0.0f, 1.0f, 1e-45f, std::numeric_limits<float>::infinity()});
  y.insert(y.end(), {3.0f, 7.0f, 0.5f, -2.0f});
  for (SimdPath path : kSimdPaths) {
    if (path == SimdPath::Scalar || !SimdPathAvailable(path)) continue;
    std::vector<float> out(x.size());
    SpanKernelsFor(path, 0)->power(x.data(), y.data(), out.data(), int(x.size()));
    for (size_t i = 0; i < x.size(); ++i)
      ASSERT_EQ(Bits(out[i]), Bits(ShadePow(x[i], y[i])))
          << SimdPathName(path) << ": " << x[i] << " ^ " << y[i];
  }
}

}  // namespace
