#include "renderer/raster/span_kernels.h"

#include <cstdint>

const SpanKernels* SpanKernelsFor(SimdPath path, int frameWidth) {
  if (frameWidth > INT32_MAX - 64) return nullptr;
  switch (path) {
    case SimdPath::Scalar: return nullptr;
    case SimdPath::Sse2: return &kSpanKernelsSse2;
    case SimdPath::Avx2: return &kSpanKernelsAvx2;
    case SimdPath::Avx512: return &kSpanKernelsAvx512;
  }
  return nullptr;
}
