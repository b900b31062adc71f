#include "renderer/shading/power.h"

#include "renderer/shading/power_lanes.h"
#include "renderer/simd/lanes_scalar.h"

float ShadePow(float x, float y) { return PowLanes<LanesScalar>(x, y); }

float ShadePowZeroBelow(float y) {
  if (!(y > 0.0f && y <= 1e6f)) return -__builtin_inff();
  // The last exponent's bound: scenes use one or a few.
  static float lastY, lastBound;
  static bool known;
  if (!known || y != lastY) {
    lastY = y;
    lastBound = float(PowCore<LanesScalar>(2.0, -152.0 / double(y)));
    known = true;
  }
  return lastBound;
}
