// The span kernels on AVX2: eight pixels at a time. This file alone is
// compiled for AVX2 (raster/CMakeLists.txt) and runs only where
// SimdPathAvailable says so.
#include "renderer/simd/lanes_avx2.h"
#include "renderer/raster/span_lanes.h"

const SpanKernels kSpanKernelsAvx2 = {&SpanLanes<LanesAvx2>::Runs, &SpanLanes<LanesAvx2>::Composite,
                                       &SpanLanes<LanesAvx2>::Power};
