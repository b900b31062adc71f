// Vector paths of the renderer: which instruction set the span kernels use.
//
// SSE2 is the baseline of every x86-64 processor; AVX2 and AVX-512 are
// chosen at run time when the processor and the operating system support
// them. Every path gives
// the same pixels: each lane performs the IEEE operations of the scalar
// code, in the same order, and no path contracts a multiply and an add.
#pragma once

enum class SimdPath : unsigned char {
  Scalar,  // one pixel at a time (the per-pixel code of the converters)
  Sse2,    // four lanes
  Avx2,    // eight lanes
  Avx512,  // sixteen lanes (F, DQ, BW and VL)
};

// Every path, narrowest first (tests and benchmarks run each available one).
inline constexpr SimdPath kSimdPaths[] = {SimdPath::Scalar, SimdPath::Sse2, SimdPath::Avx2,
                                          SimdPath::Avx512};

// Whether this machine can execute the path (Scalar and Sse2 always).
bool SimdPathAvailable(SimdPath path);
// The path the converters use: the widest available one, unless forced.
SimdPath SimdActivePath();
// Forces a path for tests and benchmarks; false (and nothing changes) when
// the machine cannot execute it. SimdResetPath() returns to the widest.
bool SimdForcePath(SimdPath path);
void SimdResetPath();
const char* SimdPathName(SimdPath path);
