// Bump map: the brightness slope of the texture to the right and downwards
// tilts the normal's x and y. Brightness is the sum of the three colour
// channels in channel units; the amount is rescaled at 16 bits so the same
// amount gives the same relief at both depths. The normal is not made unit
// length again: the lighting and glass use it as tilted.
#include <cmath>

#include "renderer/shading/texel_sampling.h"

namespace {

// 255 / 32768, exact in binary.
constexpr float DEEP_BUMP_SCALE = 0.007781982421875f;

int Brightness(const unsigned char* pixels, int width, int x, int y) {
  const int64_t i = TexelIndex(width, x, y);
  return GetChannel(pixels, i) + GetChannel(pixels, i + 1) + GetChannel(pixels, i + 2);
}

// A footprint neighbour coordinate (below 2n by construction) truncated;
// at or past the last texel it starts again at 0, so no read leaves the slot.
int NeighbourIndex(float v, int n) {
  const int i = v > 0.0f ? int(v) : 0;
  return i < n ? i : 0;
}

}  // namespace

void ApplyBumpMap(PixelShade& shade, const map3ds& block, const __Texture& slot,
                  const PixelCall& call) {
  float b = block.amount;
  if (_Deep) b = b * DEEP_BUMP_SCALE;

  const unsigned char* pixels = slot.pixels;
  const int w = slot.width, h = slot.height;
  const TexelPos pos = TexelAddress(call.u, call.v, block, w, h);
  Footprint fp;
  float centre, right, down;
  if (FindFootprint(call, pos, block, slot, fp)) {
    const float ox = std::fmax(std::fabs(fp.dx), 1.0f);
    const float oy = std::fmax(std::fabs(fp.dy), 1.0f);
    // At most 100 samples of at most 3 x 32768: exact in 32 bits.
    int32_t sumC = 0, sumR = 0, sumD = 0;
    for (int j = 0; j < fp.ky; ++j) {
      const float yf = FootprintY(fp, j);
      const int y = FootprintIndex(yf, h);
      const int yn = NeighbourIndex(yf + oy, h);
      for (int i = 0; i < fp.kx; ++i) {
        const float xf = FootprintX(fp, i);
        const int x = FootprintIndex(xf, w);
        const int xn = NeighbourIndex(xf + ox, w);
        sumC += Brightness(pixels, w, x, y);
        sumR += Brightness(pixels, w, xn, y);
        sumD += Brightness(pixels, w, x, yn);
      }
    }
    const float k = float(fp.kx * fp.ky);
    centre = float(sumC) / k;
    right = float(sumR) / k;
    down = float(sumD) / k;
  } else {
    // The last column (row) is its own neighbour: no slope across the wrap.
    const int x1 = pos.x0 + 1 < w ? pos.x0 + 1 : pos.x0;
    const int y1 = pos.y0 + 1 < h ? pos.y0 + 1 : pos.y0;
    centre = float(Brightness(pixels, w, pos.x0, pos.y0));
    right = float(Brightness(pixels, w, x1, pos.y0));
    down = float(Brightness(pixels, w, pos.x0, y1));
  }
  shade.nx = float(double(shade.nx) - (double(right) - double(centre)) * double(b) / 10.0);
  shade.ny = float(double(shade.ny) - (double(down) - double(centre)) * double(b) / 10.0);
}
