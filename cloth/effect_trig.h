// Sine and cosine computed by the project's own code, so that a value that
// reaches a frame (the wind, the light, the mesh rotations) has the same bits
// in every build: the platforms' maths libraries differ in the last bit.
//
// Numbers: double in and out; the argument is reduced to [-pi, pi] exactly
// (fmod) and summed by its Taylor series. A non-finite argument gives
// sin 0 and cos 1.
#pragma once

double EffectSine(double x);
double EffectCosine(double x);
