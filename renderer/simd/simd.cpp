// Run-time choice of the vector path. The processor test of the compiler's
// runtime also checks that the operating system saves the wide registers.
#include "renderer/simd/simd.h"

namespace {

// Unset until the first query, so that no code runs at load.
bool chosen = false;
SimdPath active = SimdPath::Sse2;

bool HasAvx2() {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") != 0;
#else
  return false;
#endif
}

bool HasAvx512() {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512dq") &&
         __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vl");
#else
  return false;
#endif
}

SimdPath Widest() {
  if (HasAvx512()) return SimdPath::Avx512;
  return HasAvx2() ? SimdPath::Avx2 : SimdPath::Sse2;
}

}  // namespace

bool SimdPathAvailable(SimdPath path) {
  switch (path) {
    case SimdPath::Scalar:
    case SimdPath::Sse2: return true;
    case SimdPath::Avx2: return HasAvx2();
    case SimdPath::Avx512: return HasAvx512();
  }
  return false;
}

SimdPath SimdActivePath() {
  if (!chosen) {
    active = Widest();
    chosen = true;
  }
  return active;
}

bool SimdForcePath(SimdPath path) {
  if (!SimdPathAvailable(path)) return false;
  active = path;
  chosen = true;
  return true;
}

void SimdResetPath() { chosen = false; }

const char* SimdPathName(SimdPath path) {
  switch (path) {
    case SimdPath::Scalar: return "scalar";
    case SimdPath::Sse2: return "sse2";
    case SimdPath::Avx2: return "avx2";
    case SimdPath::Avx512: return "avx512";
  }
  return "?";
}
