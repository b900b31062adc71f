// The shortcuts taken while the default per-pixel function is in use (called
// directly with its triangle inputs chosen once, the edge layer merged and
// cleared only where a triangle drew, the glass background and glass depths
// left unprepared when no glass can read them) against the same function
// reached through a forwarding function, which takes the general path: on
// random scenes with materials, glass, both passes and both depths, the
// frames must be the same bit for bit.
#include <random>

#include "tests/raster/raster_fixture.h"

namespace {

constexpr int W = 48, H = 40;

float Forward(float centerX, float centerY, unsigned char* dst, unsigned char* src, float px,
              float py, float pz, __Triangle3ds* tri, material3ds* materials, int materialCount,
              float& out0, float& out1, float& out2, __Point* normal, unsigned char textured,
              float u, float v, __Texture* textures, int lightCount, light3ds* lights,
              __PrevInfo* prev, GlassProp* glass, float planeA, float planeB, float planeC,
              float planeD) {
  return RenderOnePixel(centerX, centerY, dst, src, px, py, pz, tri, materials, materialCount,
                        out0, out1, out2, normal, textured, u, v, textures, lightCount, lights,
                        prev, glass, planeA, planeB, planeC, planeD);
}

class FastPath : public RasterTest {
 protected:
  void RandomScene(std::mt19937& rng, int triangles) {
    std::uniform_real_distribution<float> px(-40.0f, 40.0f), pz(-20.0f, 20.0f), pn(-1.0f, 1.0f);
    std::uniform_int_distribution<int> coin(0, 3);
    pts_.clear();
    tris_.clear();
    for (int i = 0; i < 3 * triangles; ++i) {
      __Point3ds p = Vtx(px(rng), px(rng), pz(rng));
      if (coin(rng) == 0) p.x = float(int(p.x));
      p.nx = pn(rng);
      p.ny = pn(rng);
      p.nz = pn(rng);
      p.textured = 1;
      p.u = pn(rng);
      p.v = pn(rng);
      pts_.push_back(p);
    }
    for (int t = 0; t < triangles; ++t)
      tris_.push_back(Tri(3 * t, 3 * t + 1, 3 * t + 2, uint16_t(coin(rng))));
    // Materials 0..2 (3 is beyond the count: the default material), partly
    // transparent, with or without a highlight.
    for (int m = 0; m < 3; ++m) {
      materials_[m] = material3ds{};
      for (int c = 0; c < 3; ++c) {
        materials_[m].diffuse[c] = 0.5f + 0.5f * pn(rng);
        materials_[m].specular[c] = coin(rng) == 0 ? 0.0f : 1.0f;
      }
      materials_[m].shininess = 0.2f + float(m);
      materials_[m].shinStrength = m == 1 ? 0.0f : 0.8f;
      materials_[m].transparency = -0.4f * float(coin(rng)) / 3.0f;
      materials_[m].selfIllum = 0.1f * float(m);
      glass_[m] = GlassProp{};
      glass_[m].enabled = uint8_t(coin(rng) == 0);
      glass_[m].optical = 1.2f;
      glass_[m].refraction = 6.0f;
      glass_[m].aberration = 20.0f;
    }
  }

  std::vector<unsigned char> Render(RenderOnePixelFunc shader, bool withMaterials, bool deep) {
    _RenderOnePixelFunc = shader;
    std::vector<unsigned char> frame(size_t(W) * H * 8, 0);
    std::vector<unsigned char> source(frame.size());
    for (size_t i = 0; i < source.size(); ++i) source[i] = uint8_t(i * 37 + (i >> 7));
    if (deep)
      for (size_t i = 1; i < source.size(); i += 2) source[i] &= 0x7F;
    UseFrame(W, H, deep);
    ZBuff = nullptr;
    __RasterScene(frame.data(), source.data(), W, H, 4 * W, int(pts_.size()), int(tris_.size()),
                  tris_.data(), pts_.data(), W / 2, H / 2, withMaterials ? 3 : 0,
                  withMaterials ? materials_ : nullptr, nullptr, 0, nullptr, glass_);
    return frame;
  }

  std::vector<__Point3ds> pts_;
  std::vector<__Triangle3ds> tris_;
  material3ds materials_[3];
  GlassProp glass_[3];
};

TEST_F(FastPath, DefaultShaderShortcutsChangeNoPixel) {
  std::mt19937 rng(7);
  for (int round = 0; round < 24; ++round) {
    RandomScene(rng, 3 + round % 4);
    for (int mode : {3, 6})
      for (int deep = 0; deep < 2; ++deep)
        for (int quality = 0; quality < 2; ++quality) {
          _DrawMode = uint8_t(mode);
          _Quality = uint8_t(quality);
          _UseMultyRefract = uint8_t(round % 3 == 0);
          _DrawBackFaces = uint8_t(round % 4 == 1);
          _DubleSide = uint8_t(round % 2);
          _UsePhong2 = uint8_t(round % 5 == 2);
          const bool withMaterials = round % 3 != 2;
          if (round % 6 == 5)
            for (GlassProp& g : glass_) g.enabled = 0;  // no glass at all
          const std::vector<unsigned char> direct =
              Render(RenderOnePixel, withMaterials, deep != 0);
          const std::vector<unsigned char> general = Render(Forward, withMaterials, deep != 0);
          ASSERT_EQ(direct, general) << "mode " << mode << " deep " << deep << " quality "
                                     << quality << " round " << round;
        }
  }
}

}  // namespace
