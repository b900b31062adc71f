// The rasteriser's output pinned by a hash: a fixed scene in every mode of
// this module, with and without quality, at 8 and 16 bits, must give the
// same pixels on every platform and build (no contraction, no fast math).
#include <cstdint>
#include <random>

#include "tests/raster/raster_fixture.h"

namespace {

uint64_t Fnv1a(const unsigned char* p, size_t n, uint64_t h) {
  for (size_t i = 0; i < n; ++i) h = (h ^ p[i]) * 0x100000001B3ull;
  return h;
}

}  // namespace

TEST_F(RasterTest, FixedSceneHash) {
  constexpr int W = 64, H = 48;
  // A small folded sheet: 6 x 6 vertices, 50 triangles, both windings.
  std::vector<__Point3ds> pts;
  std::vector<__Triangle3ds> tris;
  for (int r = 0; r < 6; ++r)
    for (int c = 0; c < 6; ++c) {
      __Point3ds p = Vtx(-30.0f + 12.5f * c + 0.37f * r, -22.0f + 9.25f * r - 0.21f * c,
                         float((r * 7 + c * 3) % 5));
      p.nx = 0.1f * float(c - 2);
      p.ny = 0.1f * float(r - 3);
      p.nz = 1.0f;
      p.textured = 1;
      p.u = 0.2f * float(c);
      p.v = 0.2f * float(r);
      pts.push_back(p);
    }
  for (uint32_t r = 0; r < 5; ++r)
    for (uint32_t c = 0; c < 5; ++c) {
      const uint32_t a = r * 6 + c;
      tris.push_back(Tri(a, a + 1, a + 7, uint16_t(c & 3)));
      tris.push_back(Tri(a, a + 6, a + 7, uint16_t(r & 3)));
    }
  uint64_t h = 0xCBF29CE484222325ull;
  for (int deep = 0; deep < 2; ++deep)
    for (int quality = 0; quality < 2; ++quality)
      for (int mode : {0, 1, 3, 6}) {
        std::vector<unsigned char> frame(size_t(W) * H * 8, 0), source(frame.size(), 0x33);
        _Deep = uint8_t(deep);
        _Quality = uint8_t(quality);
        _DrawMode = uint8_t(mode);
        _DubleSide = 1;
        Recorder::Calls().clear();
        __RasterScene(frame.data(), source.data(), W, H, 4 * W, int(pts.size()), int(tris.size()),
                      tris.data(), pts.data(), W / 2, H / 2, 0, nullptr, nullptr, 0, nullptr,
                      nullptr);
        __RasterSolid(frame.data(), W, H, 4 * W, int(pts.size()), 6, tris.data(), pts.data(),
                      W / 2 + 1, H / 2 + 1, 90, 80, 70, 0.5f);
        h = Fnv1a(frame.data(), frame.size(), h);
        for (const ShadeCall& c : Recorder::Calls()) {
          h = Fnv1a(reinterpret_cast<const unsigned char*>(&c.z), sizeof c.z, h);
          h = Fnv1a(reinterpret_cast<const unsigned char*>(&c.normal), sizeof c.normal, h);
          h = Fnv1a(reinterpret_cast<const unsigned char*>(&c.u), sizeof c.u, h);
        }
      }
  _Deep = 0;
  // Same value natively and in the Windows build; it changes only when the
  // drawing rules of the converters, lines or pixel writers change.
  EXPECT_EQ(h, 0xf7d86ca3ca34c129ull) << std::hex << h;
}
