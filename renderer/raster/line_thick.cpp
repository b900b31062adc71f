// Thick anti-aliased lines: a Bresenham walk that, with _Quality, draws a
// square cap of 2h x 2h pixels at each end and a run of 2h pixels across the
// major axis at every step (h = trunc(2.5 + width)); each pixel's coverage
// comes from its distance to the whole segment, so overlaps agree. Without
// _Quality the walk draws one pixel a step at the shaded opacity.
//
// The walk is clipped to Zwidth x Zheight before it iterates: it starts at
// its first step whose run can reach the frame (the Bresenham state of any
// step has a closed form) and ends at its last, and caps and runs visit only
// their pixels inside the frame, in their own order. The error term is kept
// in exact 64-bit integers (the same walk as a float error for lines shorter
// than 2^23 pixels). A negative h draws no caps and no runs.
#include <cmath>
#include <cstdint>

#include "renderer/raster/scan_common.h"

namespace {

__int128 FloorDiv128(__int128 a, __int128 b) {  // b > 0
  __int128 q = a / b;
  if ((a % b != 0) && (a < 0)) --q;
  return q;
}

// Values from, from + step, ... (n of them, step +-1) that lie in [0, limit).
template <class F>
void ForSteps(int64_t from, int64_t n, int step, int limit, F f) {
  if (n <= 0) return;
  int64_t k0 = 0, k1 = n - 1;
  if (gRasterClipWalks) {
    if (step > 0) {
      if (-from > k0) k0 = -from;
      if (int64_t(limit) - 1 - from < k1) k1 = int64_t(limit) - 1 - from;
    } else {
      if (from - (int64_t(limit) - 1) > k0) k0 = from - (int64_t(limit) - 1);
      if (from < k1) k1 = from;
    }
  }
  for (int64_t k = k0; k <= k1; ++k) f(from + step * k);
}

// Shade(x, y, c0, c1, c2) gives the pixel's opacity and colour. `pure`:
// pixels the edge writer cannot cover may be left out (the shader has no
// effect beyond its result).
template <class Shader>
void ThickLine(float x0, float y0, float x1, float y1, float lineWidth, unsigned char* dst,
               bool pure, Shader shade) {
  if (!std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(x1) || !std::isfinite(y1)) return;
  const int64_t h = TruncToInt(2.5 + double(lineWidth));
  const int64_t xs = TruncToInt(x0), ys = TruncToInt(y0);
  const int64_t DX = TruncToInt(x1 - x0), DY = TruncToInt(y1 - y0);
  if (DX == 0 && DY == 0) return;

  const EdgeLine g = MakeEdgeLine(x0, y0, x1, y1);

  const int sx = DX < 0 ? -1 : 1, sy = DY < 0 ? -1 : 1;
  int64_t major = DX < 0 ? -DX : DX, minor = DY < 0 ? -DY : DY;
  const bool xMajor = minor <= major;
  if (!xMajor) {
    const int64_t t = major;
    major = minor;
    minor = t;
  }
  const bool quality = _Quality != 0;

  auto plot = [&](int64_t x, int64_t y) {
    if (x < 0 || y < 0 || x >= Zwidth || y >= Zheight) return;  // never shaded
    if (pure && EdgeSurelyBlank(g, float(x), float(y), lineWidth)) return;
    float c0, c1, c2;
    const float opacity = shade(int(x), int(y), c0, c1, c2);
    AAEdgePixel(opacity, dst, 0.0f, NO_DEPTH_INDEX, c0, c1, c2, g.A, g.B, g.C, g.lengthSquared,
                g.length, float(x), float(y), lineWidth, g.xa, g.ya, g.xb, g.yb);
  };
  // 2h x 2h pixels from (cx, cy) stepping (dx, dy): rows outside, columns inside.
  auto cap = [&](int64_t cx, int64_t cy, int dx, int dy) {
    ForSteps(cy, 2 * h, dy, Zheight, [&](int64_t yy) {
      ForSteps(cx, 2 * h, dx, Zwidth, [&](int64_t xx) { plot(xx, yy); });
    });
  };

  if (quality) cap(xs - sx * h, ys - sy * h, sx, sy);

  // Position of step i: major coordinate start + s i, minor coordinate
  // start + s' c, with c = minor steps taken before step i.
  const int sMaj = xMajor ? sx : sy, sMin = xMajor ? sy : sx;
  const int64_t pMaj = xMajor ? xs : ys, pMin = xMajor ? ys : xs;
  const int limitMaj = xMajor ? Zwidth : Zheight;
  // 128-bit: 2 minor i reaches 2^63 for the longest lines TruncToInt allows.
  auto stepsBefore = [&](int64_t i) {
    const __int128 n = __int128(2) * minor * i - major;
    return int64_t(FloorDiv128(n, __int128(2) * major)) + 1;
  };

  int64_t iLo = 0, iHi = major;
  if (gRasterClipWalks) {
    if (sMaj > 0) {
      if (-pMaj > iLo) iLo = -pMaj;
      if (int64_t(limitMaj) - 1 - pMaj < iHi) iHi = int64_t(limitMaj) - 1 - pMaj;
    } else {
      if (pMaj - (int64_t(limitMaj) - 1) > iLo) iLo = pMaj - (int64_t(limitMaj) - 1);
      if (pMaj < iHi) iHi = pMaj;
    }
  }
  if (iLo <= iHi) {
    int64_t c = stepsBefore(iLo);
    int64_t a = pMaj + sMaj * iLo, b = pMin + sMin * c;
    int64_t err =
        int64_t(__int128(2) * minor - major + __int128(2) * minor * iLo - __int128(2) * major * c);
    for (int64_t i = iLo; i <= iHi; ++i) {
      const int64_t x = xMajor ? a : b, y = xMajor ? b : a;
      if (quality) {
        if (xMajor)
          ForSteps(y - sy * h, 2 * h, sy, Zheight, [&](int64_t yy) { plot(x, yy); });
        else
          ForSteps(x - sx * h, 2 * h, sx, Zwidth, [&](int64_t xx) { plot(xx, y); });
      } else if (x >= 0 && y >= 0 && x < Zwidth && y < Zheight) {
        float c0, c1, c2;
        const float opacity = shade(int(x), int(y), c0, c1, c2);
        BlendPixelFB(dst, c0, c1, c2, int(x), int(y), opacity);
      }
      while (err >= 0) {
        b += sMin;
        err -= 2 * major;
      }
      a += sMaj;
      err += 2 * minor;
    }
  }

  if (quality) {
    // One step past the last run.
    const int64_t a = pMaj + sMaj * (major + 1), b = pMin + sMin * stepsBefore(major + 1);
    const int64_t x = xMajor ? a : b, y = xMajor ? b : a;
    cap(x + sx * h, y + sy * h, -sx, -sy);
  }
}

}  // namespace

void DrawLineShaded(float x0, float x1, float y0, float y1, float lineWidth, unsigned char* dst,
                    unsigned char* src, int, int, __Texture* textures, material3ds* materials,
                    int materialCount, __Triangle3ds* triangle, int, __Point3ds*, int centerX,
                    int centerY, float pa, float pb, float pc, float pd, int lightCount,
                    light3ds* lights, GlassProp* glass) {
  __Point normal = {-pa, -pb, -pc};
  const float cx = float(centerX), cy = float(centerY);
  // The colour outputs live for the whole line; each call overwrites them.
  float r = float(MaxChannel), g = 0.0f, b = 0.0f;
  ThickLine(x0, y0, x1, y1, lineWidth, dst, ShadingIsPure(),
            [&](int x, int y, float& c0, float& c1, float& c2) {
              const float opacity = _RenderOnePixelFunc(
                  cx, cy, dst, src, float(x) - cx, float(y) - cy, 0.0f, triangle, materials,
                  materialCount, r, g, b, &normal, 0, 0.0f, 0.0f, textures, lightCount, lights,
                  nullptr, glass, pa, pb, pc, pd);
              c0 = r;
              c1 = g;
              c2 = b;
              return opacity;
            });
}

void DrawLineSolidAA(int c0, int c1, int c2, float x0, float y0, float x1, float y1,
                     float lineWidth, unsigned char* dst, unsigned char*, int, int) {
  // Without a shader, a pixel the writer cannot cover is simply left out.
  ThickLine(x0, y0, x1, y1, lineWidth, dst, gRasterSkipBlankEdges,
            [&](int, int, float& r, float& g, float& b) {
              r = float(c0);
              g = float(c1);
              b = float(c2);
              return 1.0f;
            });
}
