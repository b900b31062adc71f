// The span kernels on SSE2, the x86-64 baseline: four pixels at a time.
#include "renderer/simd/lanes_sse2.h"
#include "renderer/raster/span_lanes.h"

const SpanKernels kSpanKernelsSse2 = {&SpanLanes<LanesSse2>::Runs, &SpanLanes<LanesSse2>::Composite,
                                       &SpanLanes<LanesSse2>::Power};
