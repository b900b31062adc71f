#include "renderer/shading/power.h"

#include "renderer/shading/power_lanes.h"
#include "renderer/simd/lanes_scalar.h"

float ShadePow(float x, float y) { return PowLanes<LanesScalar>(x, y); }
