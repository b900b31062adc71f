// The highlight's power: x^y in single precision by the project's own
// routine (power_lanes.h), the same bits on every platform and in every
// vector path. Within one unit in the last place of x^y for the shader's
// inputs (x >= 0).
#pragma once

float ShadePow(float x, float y);
