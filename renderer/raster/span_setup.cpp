// The triangle's part of a span job: the frame, the plane's depth and the
// plain shading (material or defaults, lights, face flips, opacity).
#include "renderer/raster/scan_common.h"
#include "renderer/shading/power.h"
#include "renderer/shading/shading_internal.h"

void PrepareSpans(ShadedTriangle& t) {
  t.kernels = nullptr;
  if (!t.direct || !ShadeIsPlain(t.shade) || ZBuff == nullptr) return;
  if (t.shade.lightTotal > SPAN_MAX_LIGHTS) return;
  // Depth indices are ints in the per-pixel code (larger frames fail there).
  if (int64_t(Zwidth) * Zheight > INT32_MAX || Zwidth <= 0 || Zheight <= 0) return;
  const SpanKernels* kernels = SpanKernelsFor(SimdActivePath(), Zwidth);
  if (kernels == nullptr) return;

  SpanJob& j = t.job;
  j.dst = t.dst;
  j.deep = _Deep != 0;
  j.stride = _Stride;
  j.maxChannel = float(MaxChannel);
  j.zbuff = ZBuff;
  j.zwidth = Zwidth;
  j.lineMode = _DrawMode <= 2;
  j.nx = t.nx;
  j.nz = t.nz;
  j.z0 = t.vertices[0].z;
  j.flatDepth = std::fabs(t.nz) < 0.01f;
  for (int k = 0; k < 6; ++k) j.screen[k] = t.screen.m.m[k];
  j.det = t.screen.det;
  j.interpolated = false;
  j.quadratic = false;

  PixelShade s;
  TriangleBaseShade(t.shade, s);
  j.centerX = t.centerX;
  j.centerY = t.centerY;
  j.opacity = s.opacity;
  for (int c = 0; c < 3; ++c) {
    j.diffuse[c] = s.diffuse[c];
    j.specular[c] = s.specular[c];
  }
  j.exponent = s.exponent;
  j.zeroBelow = ShadePowZeroBelow(s.exponent);
  j.level = s.level;
  j.selfIllum = s.selfIllum;
  j.lights = t.shade.lightList;
  j.lightCount = t.shade.lightTotal;
  j.backFacePass = _DrawBackFaces1 != 0;
  j.doubleSided = _DubleSide != 0;
  t.kernels = kernels;
}
