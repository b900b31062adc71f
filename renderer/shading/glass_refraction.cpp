// Glass: the diffuse colour becomes the source frame seen through the
// surface, displaced along the normal's x and y by a distance that differs
// per channel (chromatic aberration). A diffuse colour of 0.5 passes the
// refracted colour unchanged; brighter or darker colours shift it.
//
// With quality and a valid previous pixel whose refracted position lies more
// than 2 pixels away, each channel averages up to 5 x 5 samples on the path
// between the two refracted positions, and the share of samples inside the
// frame caps the opacity. Otherwise one sample a channel (with quality a
// weighted 2 x 2 neighbourhood); a sample that stays outside the frame makes
// the pixel transparent.
#include <cmath>
#include <cstdint>

#include "renderer/shading/glass_internal.h"

namespace {

constexpr int GLASS_MAX_STEPS = 5;

// A sample coordinate truncated toward zero; NaN and values beyond the int
// range come back outside every frame.
int SampleIndex(float v) {
  if (!(v > -2147483648.0f && v < 2147483648.0f)) return INT32_MIN;
  return int(v);
}

float ClampFraction(float v) { return v > 0.0f ? (v < 1.0f ? v : 1.0f) : 0.0f; }

// Steps along one axis of the supersampled path: the integer part of
// min(|e| + 1, 5); NaN takes the cap.
int PathSteps(float e) {
  const float t = std::fabs(e) + 1.0f;
  return t < float(GLASS_MAX_STEPS) ? int(t) : GLASS_MAX_STEPS;
}

struct GlassSetup {
  float X, Y;          // the pixel, absolute
  float dist[3];       // displacement distance per channel
  float F;             // bend factor from the optical coefficient and nz
  float Px[3], Py[3];  // sample point per channel
  float D[3];          // diffuse colour - 0.5 per channel
};

void SupersampledPath(PixelShade& shade, const GlassSetup& g, const PixelCall& call,
                      const float Qx[3], const float Qy[3]) {
  float coverage = 0.0f;
  for (int c = 0; c < 3; ++c) {
    const float ex = Qx[c] - g.Px[c], ey = Qy[c] - g.Py[c];
    const int kx = PathSteps(ex), ky = PathSteps(ey);
    int count = 0;
    float sum = 0.0f;
    for (int j = 0; j < ky; ++j) {
      const float y = g.Py[c] + float(j) * ey / float(ky);
      int yi = SampleIndex(y);
      // Row 0 falls back to the pixel's own row too.
      if (yi <= 0 || yi >= Zheight) yi = SampleIndex(g.Y);
      for (int i = 0; i < kx; ++i) {
        const float x = g.Px[c] + float(i) * ex / float(kx);
        int xi = SampleIndex(x);
        if (xi < 0 || xi >= Zwidth) xi = SampleIndex(g.X);
        if (xi >= 0 && xi < Zwidth && yi >= 0 && yi < Zheight) {
          ++count;
          sum += GlassSource(c, xi, yi, GlassPlaneDepth(call, float(xi), float(yi)), call.src);
        }
      }
    }
    const float samples = float(kx * ky);
    coverage += float(count) / samples;
    // Samples outside the frame add nothing but count in the divisor.
    shade.diffuse[c] = ClampFraction(g.D[c] + sum / (samples * float(MaxChannel)));
  }
  const float share = coverage / 3.0f;
  if (share < shade.opacity) shade.opacity = share;
}

void SingleSamplePath(PixelShade& shade, const GlassSetup& g, const PixelCall& call) {
  const float maxChannel = float(MaxChannel);
  for (int c = 0; c < 3; ++c) {
    int xi = SampleIndex(g.Px[c]);
    if (xi < 0 || xi >= Zwidth) xi = SampleIndex(g.X);
    int yi = SampleIndex(g.Py[c]);
    if (yi < 0 || yi >= Zheight) yi = SampleIndex(g.Y);
    if (xi < 0 || xi >= Zwidth || yi < 0 || yi >= Zheight) {
      shade.diffuse[c] = 0.0f;
      shade.opacity = 0.0f;
      continue;
    }
    if (!_Quality) {
      shade.diffuse[c] =
          ClampFraction(GlassSource(c, xi, yi, call.pz, call.src) / maxChannel + g.D[c]);
      continue;
    }
    // Squared sums of the distances, not bilinear products: at fx = fy = 0
    // the pixel weighs 4/6 and its right and lower neighbours 1/6 each.
    const float fx = std::fabs(g.Px[c] - float(xi)), fy = std::fabs(g.Py[c] - float(yi));
    const float a00 = (1.0f - fx) + (1.0f - fy), a01 = (1.0f - fx) + fy;
    const float a10 = fx + (1.0f - fy), a11 = fx + fy;
    float w00 = a00 * a00, w01 = a01 * a01, w10 = a10 * a10, w11 = a11 * a11;
    float total = w00 + w01 + w10 + w11;
    if (total == 0.0f) total = 1.0f;
    const float norm = total * maxChannel;
    w00 /= norm;
    w01 /= norm;
    w10 /= norm;
    w11 /= norm;
    const int x1 = xi + 1 < Zwidth ? xi + 1 : Zwidth - 1;
    const int y1 = yi + 1 < Zheight ? yi + 1 : Zheight - 1;
    const float px = g.Px[c], py = g.Py[c];
    // In this order: with multiple refraction each sample may write.
    const float s00 = GlassSource(c, xi, yi, call.pz, call.src);
    const float s11 = GlassSource(c, x1, y1, GlassPlaneDepth(call, px + 1.0f, py + 1.0f), call.src);
    const float s01 = GlassSource(c, xi, y1, GlassPlaneDepth(call, px, py + 1.0f), call.src);
    const float s10 = GlassSource(c, x1, yi, GlassPlaneDepth(call, px + 1.0f, py), call.src);
    shade.diffuse[c] = ClampFraction(w00 * s00 + w11 * s11 + w01 * s01 + w10 * s10 + g.D[c]);
  }
}

}  // namespace

void ApplyGlass(PixelShade& shade, const GlassProp& glass, const PixelCall& call) {
  GlassSetup g;
  g.X = call.px + call.centerX;
  g.Y = call.py + call.centerY;
  const float a = glass.aberration / 100.0f;
  const float k = a == 0.0f ? 1.0f : (1.0f - a) * (1.0f + a);
  g.dist[0] = glass.refraction;
  g.dist[1] = g.dist[0] * k;
  g.dist[2] = g.dist[1] * k;
  const float o = glass.optical, nz = shade.nz;
  g.F = -o * nz - (o * (nz - 1.0f) + 1.0f);
  for (int c = 0; c < 3; ++c) {
    g.Px[c] = g.X + shade.nx * g.F * g.dist[c];
    g.Py[c] = g.Y + shade.ny * g.F * g.dist[c];
    g.D[c] = shade.diffuse[c] - 0.5f;
  }

  const __PrevInfo* prev = call.prev;
  if (prev != nullptr && _DrawBackFaces != 1 && _Quality && prev->valid) {
    float pnx = prev->nx, pny = prev->ny;
    const float len = std::sqrt(prev->nx * prev->nx + prev->ny * prev->ny + prev->nz * prev->nz);
    if (len != 0.0f) {
      pnx = pnx / len;
      pny = pny / len;
    }
    float Qx[3], Qy[3];
    for (int c = 0; c < 3; ++c) {
      Qx[c] = prev->x + call.centerX + pnx * g.F * g.dist[c];
      Qy[c] = prev->y + call.centerY + pny * g.F * g.dist[c];
    }
    if (std::fabs(Qx[0] - g.Px[0]) + std::fabs(Qy[0] - g.Py[0]) > 2.0f) {
      SupersampledPath(shade, g, call, Qx, Qy);
      return;
    }
  }
  SingleSamplePath(shade, g, call);
}
