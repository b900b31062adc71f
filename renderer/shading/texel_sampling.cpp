// Texel addressing, point, bilinear and footprint sampling (see
// texel_sampling.h for the number formats).
#include "renderer/shading/texel_sampling.h"

#include <cmath>

namespace {

// The wrapped value's last steps: a negative remainder moves up by n, and
// one that rounded up to n is pulled back to the last texel.
float WrapRemainder(float r, int n) {
  if (r < 0.0f) r = r + float(n);
  if (r >= float(n)) r = float(n - 1);
  return r;
}

}  // namespace

float WrapTexelCoord(float x, int n) {
  // Already inside: the steps below would leave it unchanged (q = 0).
  if (x >= 0.0f && x < float(n)) return x;
  if (!std::isfinite(x)) return 0.0f;
  if (std::fabs(x) < 2147483648.0f) {
    // The integer part and its quotient as the rule states them; n * q is at
    // most |x| and so fits an int.
    const int q = int(x) / n;
    const float r = WrapRemainder(x - float(n * q), n);
    // Above 2^24 the float of n * q may round past x, leaving more than n
    // below 0 (-37108820 by 3 gives -4, then -1): the exact remainder then.
    if (r >= 0.0f) return r;
  }
  // Every float beyond 2^24 is a whole number; fmod is exact.
  return WrapRemainder(float(std::fmod(double(x), double(n))), n);
}

TexelPos TexelAddress(float s, float t, const map3ds& block, int width, int height) {
  TexelPos p;
  p.x = WrapTexelCoord((s * block.uScale + block.uOffset) * float(width - 1), width);
  p.y = WrapTexelCoord((t * block.vScale + block.vOffset) * float(height - 1), height);
  // Above 2^24 texels a float cannot hold every column: keep the index inside.
  p.x0 = int(p.x) < width ? int(p.x) : width - 1;
  p.y0 = int(p.y) < height ? int(p.y) : height - 1;
  p.fx = p.x - float(p.x0);
  p.fy = p.y - float(p.y0);
  return p;
}

void SamplePoint(const __Texture& slot, const TexelPos& pos, float bgra[4]) {
  const unsigned char* pixels = slot.pixels;
  const int64_t i = TexelIndex(slot.width, pos.x0, pos.y0);
  for (int c = 0; c < 4; ++c) bgra[c] = float(GetChannel(pixels, i + c));
}

void SampleBilinear(const __Texture& slot, const TexelPos& pos, BilinearEdge edge, float bgra[4]) {
  const int w = slot.width, h = slot.height;
  int x1 = pos.x0 + 1, y1 = pos.y0 + 1;
  if (edge == BilinearEdge::WrapToSecond) {
    if (x1 >= w) x1 = w > 1 ? 1 : 0;
    if (y1 >= h) y1 = h > 1 ? 1 : 0;
  } else {
    if (x1 > w - 1) x1 = w - 1;
    if (y1 > h - 1) y1 = h - 1;
  }
  const float fx = pos.fx, fy = pos.fy;
  const float w00 = (1.0f - fx) * (1.0f - fy);
  const float w11 = fx * fy;
  const float w01 = (1.0f - fx) * fy;
  const float w10 = fx * (1.0f - fy);
  const unsigned char* pixels = slot.pixels;
  const int64_t i00 = TexelIndex(w, pos.x0, pos.y0), i11 = TexelIndex(w, x1, y1);
  const int64_t i01 = TexelIndex(w, pos.x0, y1), i10 = TexelIndex(w, x1, pos.y0);
  for (int c = 0; c < 4; ++c) {
    bgra[c] = w00 * float(GetChannel(pixels, i00 + c)) + w11 * float(GetChannel(pixels, i11 + c)) +
              w01 * float(GetChannel(pixels, i01 + c)) + w10 * float(GetChannel(pixels, i10 + c));
  }
}

bool FindFootprint(const PixelCall& call, const TexelPos& pos, const map3ds& block,
                   const __Texture& slot, Footprint& fp) {
  if (call.prev == nullptr || !_Quality || !call.prev->valid) return false;
  const TexelPos prev = TexelAddress(call.prev->u, call.prev->v, block, slot.width, slot.height);
  fp.xp = prev.x;
  fp.yp = prev.y;
  fp.dx = pos.x - prev.x;
  fp.dy = pos.y - prev.y;
  const float ax = std::fabs(fp.dx), ay = std::fabs(fp.dy);
  if (!(ax + ay > 2.0f)) return false;
  // Both positions lie inside the texture, so the counts are finite.
  fp.kx = int(std::fmin(ax + 1.0f, 10.0f));
  fp.ky = int(std::fmin(ay + 1.0f, 10.0f));
  return true;
}

void SumFootprint(const __Texture& slot, const Footprint& fp, float bgra[4]) {
  // At most 100 samples of at most 32768: integer sums are exact.
  int32_t sum[4] = {0, 0, 0, 0};
  const unsigned char* pixels = slot.pixels;
  const int w = slot.width, h = slot.height;
  for (int j = 0; j < fp.ky; ++j) {
    const int y = FootprintIndex(FootprintY(fp, j), h);
    for (int i = 0; i < fp.kx; ++i) {
      const int64_t t = TexelIndex(w, FootprintIndex(FootprintX(fp, i), w), y);
      for (int c = 0; c < 4; ++c) sum[c] += GetChannel(pixels, t + c);
    }
  }
  for (int c = 0; c < 4; ++c) bgra[c] = float(sum[c]);
}

void SampleColourMap(const __Texture& slot, const map3ds& block, const PixelCall& call,
                     float bgra[4]) {
  const TexelPos pos = TexelAddress(call.u, call.v, block, slot.width, slot.height);
  Footprint fp;
  float scale;
  if (FindFootprint(call, pos, block, slot, fp)) {
    SumFootprint(slot, fp, bgra);
    scale = float(fp.kx * fp.ky * MaxChannel);
  } else {
    if (_Quality)
      SampleBilinear(slot, pos, BilinearEdge::WrapToSecond, bgra);
    else
      SamplePoint(slot, pos, bgra);
    scale = float(MaxChannel);
  }
  for (int c = 0; c < 4; ++c) bgra[c] = bgra[c] / scale;
}
