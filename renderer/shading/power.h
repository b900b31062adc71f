// The highlight's power: x^y in single precision by the project's own
// routine (power_lanes.h), the same bits on every platform and in every
// vector path. Within one unit in the last place of x^y for the shader's
// inputs (x >= 0).
#pragma once

float ShadePow(float x, float y);

// A bound below which ShadePow(x, y) is +0 for every x >= 0: 2^(-152 / y),
// two binades of margin below the least float half (2^-150) against the
// routine's error of about 1e-12 and the rounding of the bound itself;
// -infinity (nothing is below it) where y is not a finite positive number
// of at most 1e6.
float ShadePowZeroBelow(float y);
