// Texel addressing, point, bilinear and footprint sampling (see
// texel_sampling.h for the number formats).
#include "renderer/shading/texel_sampling.h"

#include <cmath>

float WrapTexelCoord(float x, int n) {
  if (!std::isfinite(x)) return 0.0f;
  if (std::fabs(x) < 2147483648.0f) {
    // The integer part and its quotient as the rule states them; n * q is at
    // most |x| and so fits an int.
    const int q = int(x) / n;
    x = x - float(n * q);
  } else {
    // Beyond the int range every float is a whole number; fmod is exact.
    x = float(std::fmod(double(x), double(n)));
  }
  if (x < 0.0f) x = x + float(n);
  if (x >= float(n)) x = float(n - 1);
  return x;
}

TexelPos TexelAddress(float s, float t, const map3ds& block, int width, int height) {
  TexelPos p;
  p.x = WrapTexelCoord((s * block.uScale + block.uOffset) * float(width - 1), width);
  p.y = WrapTexelCoord((t * block.vScale + block.vOffset) * float(height - 1), height);
  p.x0 = int(p.x);
  p.y0 = int(p.y);
  p.fx = p.x - float(p.x0);
  p.fy = p.y - float(p.y0);
  return p;
}

void SamplePoint(const __Texture& slot, const TexelPos& pos, float bgra[4]) {
  for (int c = 0; c < 4; ++c) bgra[c] = float(TexelChannel(slot, pos.x0, pos.y0, c));
}

void SampleBilinear(const __Texture& slot, const TexelPos& pos, BilinearEdge edge,
                    float bgra[4]) {
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
  for (int c = 0; c < 4; ++c) {
    bgra[c] = w00 * float(TexelChannel(slot, pos.x0, pos.y0, c)) +
              w11 * float(TexelChannel(slot, x1, y1, c)) +
              w01 * float(TexelChannel(slot, pos.x0, y1, c)) +
              w10 * float(TexelChannel(slot, x1, pos.y0, c));
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
  for (int j = 0; j < fp.ky; ++j) {
    const int y = FootprintIndex(FootprintY(fp, j), slot.height);
    for (int i = 0; i < fp.kx; ++i) {
      const int x = FootprintIndex(FootprintX(fp, i), slot.width);
      for (int c = 0; c < 4; ++c) sum[c] += TexelChannel(slot, x, y, c);
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
