// The highlight's power routine against the C library's powf: its accuracy
// on 10^8 random (base, exponent) pairs of the shader's ranges (bases of
// N . L times a light multiplier, 0 .. 1.5; exponents of the shininess
// slider, 0 .. 1000), each against pow in double precision, and the cost of
// one call, scalar and a vector of lanes at a time.
//
// Counters of BM_PowerAccuracy: the largest distance in floats from the
// double result rounded to float (max_ulp_*) and the largest error in units
// in the last place of the exact result (max_err_*), for ShadePow (ours)
// and glibc's powf.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "renderer/raster/span_kernels.h"
#include "renderer/shading/power.h"

namespace {

int64_t Ordered(float v) {
  int32_t b;
  std::memcpy(&b, &v, sizeof b);
  return b;
}

// Error of f in units in the last place of the float nearest to the exact r.
double UlpError(float f, double r) {
  if (std::isinf(r) || r > 3.4028234663852886e38) return std::isinf(f) ? 0.0 : 1e9;
  const float nearest = float(r);
  double ulp = std::ldexp(1.0, -149);
  if (nearest != 0.0f) {
    int e;
    std::frexp(double(nearest), &e);
    ulp = std::ldexp(1.0, e - 24 < -149 ? -149 : e - 24);
  }
  return std::fabs(double(f) - r) / ulp;
}

void BM_PowerAccuracy(benchmark::State& state) {
  const int64_t pairs = state.range(0);
  double errOurs = 0, errLibc = 0;
  int64_t ulpOurs = 0, ulpLibc = 0;
  for (auto _ : state) {
    std::mt19937_64 rng(2024);
    std::uniform_real_distribution<float> base(0.0f, 1.5f), exponent(0.0f, 1000.0f);
    for (int64_t i = 0; i < pairs; ++i) {
      const float x = base(rng), y = exponent(rng);
      const double r = std::pow(double(x), double(y));
      const float ours = ShadePow(x, y), libc = powf(x, y);
      const float rounded = float(r);
      ulpOurs = std::max(ulpOurs, int64_t(std::llabs(Ordered(ours) - Ordered(rounded))));
      ulpLibc = std::max(ulpLibc, int64_t(std::llabs(Ordered(libc) - Ordered(rounded))));
      errOurs = std::max(errOurs, UlpError(ours, r));
      errLibc = std::max(errLibc, UlpError(libc, r));
    }
  }
  state.counters["pairs"] = double(pairs);
  state.counters["max_ulp_ours"] = double(ulpOurs);
  state.counters["max_ulp_glibc"] = double(ulpLibc);
  state.counters["max_err_ours"] = errOurs;
  state.counters["max_err_glibc"] = errLibc;
}
BENCHMARK(BM_PowerAccuracy)->Arg(100000000)->Iterations(1)->Unit(benchmark::kSecond);

std::vector<float> Bases() {
  std::vector<float> v(4096);
  for (size_t i = 0; i < v.size(); ++i) v[i] = 0.2f + 0.8f * float(i) / float(v.size());
  return v;
}

void BM_ShadePow(benchmark::State& state) {
  const std::vector<float> x = Bases();
  size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(ShadePow(x[i++ & 4095], 150.0f));
}
BENCHMARK(BM_ShadePow);

void BM_Powf(benchmark::State& state) {
  const std::vector<float> x = Bases();
  size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(powf(x[i++ & 4095], 150.0f));
}
BENCHMARK(BM_Powf);

// Per pair, over 4096 pairs a call, on each vector path this machine runs.
void BM_ShadePowLanes(benchmark::State& state) {
  const SimdPath path = SimdPath(state.range(0));
  if (!SimdPathAvailable(path)) {
    state.SkipWithError("path not available");
    return;
  }
  const std::vector<float> x = Bases(), y(x.size(), 150.0f);
  std::vector<float> out(x.size());
  for (auto _ : state) {
    SpanKernelsFor(path, 0)->power(x.data(), y.data(), out.data(), int(x.size()));
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(x.size()));
  state.SetLabel(SimdPathName(path));
}
BENCHMARK(BM_ShadePowLanes)->Arg(int(SimdPath::Sse2))->Arg(int(SimdPath::Avx2))->Arg(int(SimdPath::Avx512));

}  // namespace
