// The span kernels on AVX-512: sixteen pixels at a time. This file alone is
// compiled for AVX-512 (raster/CMakeLists.txt) and runs only where
// SimdPathAvailable says so.
#include "renderer/simd/lanes_avx512.h"
#include "renderer/raster/span_lanes.h"

const SpanKernels kSpanKernelsAvx512 = {&SpanLanes<LanesAvx512>::Runs, &SpanLanes<LanesAvx512>::Composite,
                                       &SpanLanes<LanesAvx512>::Power};
