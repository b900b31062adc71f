#include "renderer/raster/span_kernels.h"

const SpanKernels* SpanKernelsFor(SimdPath path) {
  switch (path) {
    case SimdPath::Scalar: return nullptr;
    case SimdPath::Sse2: return &kSpanKernelsSse2;
    case SimdPath::Avx2: return &kSpanKernelsAvx2;
  }
  return nullptr;
}
