// Sine and cosine by their series (see effect_trig.h).
#include "cloth/effect_trig.h"

#include <cmath>

namespace {

constexpr double TWO_PI = 6.283185307179586;
constexpr double PI = 3.141592653589793;

// sin x by its series on x reduced to [-pi, pi] (fmod is exact everywhere).
double ReducedSine(double x) {
  const double x2 = x * x;
  double term = x, sum = x;
  for (int k = 1; k <= 20; ++k) {
    term = -term * x2 / double((2 * k) * (2 * k + 1));
    sum += term;
  }
  return sum;
}

double ReducedCosine(double x) {
  const double x2 = x * x;
  double term = 1.0, sum = 1.0;
  for (int k = 1; k <= 20; ++k) {
    term = -term * x2 / double((2 * k - 1) * (2 * k));
    sum += term;
  }
  return sum;
}

double Reduce(double x) {
  double r = std::fmod(x, TWO_PI);
  if (r > PI) r -= TWO_PI;
  if (r < -PI) r += TWO_PI;
  return r;
}

}  // namespace

double EffectSine(double x) { return std::isfinite(x) ? ReducedSine(Reduce(x)) : 0.0; }

double EffectCosine(double x) { return std::isfinite(x) ? ReducedCosine(Reduce(x)) : 1.0; }
