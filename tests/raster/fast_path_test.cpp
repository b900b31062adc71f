// The shortcuts taken while the default per-pixel function is in use (called
// directly with its triangle inputs chosen once, runs of pixels shaded a
// vector at a time on every vector path this machine runs, the edge layer
// merged and cleared only where a triangle drew, the glass background and
// glass depths left unprepared when no glass can read them, the frame drawn
// band by band when no glass is drawn) against the same
// function reached through a forwarding function, which takes the general
// one-call-a-pixel path: on random scenes in every draw mode, both qualities
// and depths, with every texture map, glass with and without multiple
// refraction, the perspective undo, quadratic normals and a negative, zero,
// one or two lights, the frames and the depth buffers must be the same bit for bit.
// The previous-pixel records reach the frames through the texture footprint
// and the glass supersampling of the quality passes.
#include <random>

#include "renderer/raster/scene_bands.h"
#include "renderer/simd/simd.h"
#include "tests/raster/forward_pixel.h"
#include "tests/raster/raster_fixture.h"

namespace {

constexpr int W = 48, H = 40;

struct Output {
  std::vector<unsigned char> frame;
  std::vector<float> depth;
  bool operator==(const Output& o) const {
    // Bit for bit (NaN depths included).
    return frame == o.frame && depth.size() == o.depth.size() &&
           (depth.empty() ||
            std::memcmp(depth.data(), o.depth.data(), depth.size() * sizeof(float)) == 0);
  }
};

class FastPath : public RasterTest {
 protected:
  void TearDown() override {
    SimdResetPath();
    gSceneBandRowsForced = 0;
    RasterTest::TearDown();
  }

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
      p.textured = coin(rng) != 0;
      p.u = 3.0f * pn(rng);  // wide enough for the texture footprint
      p.v = 3.0f * pn(rng);
      pts_.push_back(p);
    }
    for (int t = 0; t < triangles; ++t)
      tris_.push_back(Tri(3 * t, 3 * t + 1, 3 * t + 2, uint16_t(coin(rng))));
    // Materials 0..2 (3 is beyond the count: the default material), partly
    // transparent, with or without a highlight, texture maps and glass.
    for (int m = 0; m < 3; ++m) {
      material3ds& mat = materials_[m];
      mat = material3ds{};
      for (int c = 0; c < 3; ++c) {
        mat.diffuse[c] = 0.5f + 0.5f * pn(rng);
        mat.specular[c] = coin(rng) == 0 ? 0.0f : 1.0f;
      }
      mat.shininess = 0.2f + float(m);
      mat.shinStrength = m == 1 ? 0.0f : 0.8f;
      mat.transparency = -0.4f * float(coin(rng)) / 3.0f;
      mat.selfIllum = 0.1f * float(m);
      for (map3ds& block : mat.maps) {
        block.amount = 0.5f + 0.5f * pn(rng);
        block.uScale = block.vScale = 1.0f;
      }
      glass_[m] = GlassProp{};
      glass_[m].enabled = uint8_t(coin(rng) == 0);
      glass_[m].optical = 1.2f;
      glass_[m].refraction = 6.0f;
      glass_[m].aberration = 20.0f;
      for (int k = 0; k < 4; ++k) slotOn_[m * 4 + k] = coin(rng) == 0;
    }
    for (int i = 0; i < 2; ++i) {
      lights_[i] = light3ds{};
      lights_[i].x = 60.0f * pn(rng);
      lights_[i].y = 60.0f * pn(rng);
      lights_[i].z = 40.0f + 40.0f * pn(rng);
      for (float& c : lights_[i].color) c = 0.6f + 0.4f * pn(rng);
      lights_[i].multiplier = 1.0f + 0.3f * pn(rng);
    }
    texels_.resize(12);
    for (std::vector<uint16_t>& t : texels_) {
      t.resize(7 * 5 * 4);
      for (uint16_t& v : t) v = uint16_t(rng() % 256);
    }
  }

  // The texture slots at the frame's depth (texels are read at _Deep).
  void MakeTextures(bool deep) {
    for (int s = 0; s < 12; ++s) {
      std::vector<unsigned char>& bytes = textureBytes_[s];
      bytes.assign(texels_[s].size() * (deep ? 2 : 1), 0);
      for (size_t i = 0; i < texels_[s].size(); ++i) {
        if (deep) {
          const uint16_t v = uint16_t(texels_[s][i] * 128);
          std::memcpy(&bytes[2 * i], &v, 2);
        } else {
          bytes[i] = uint8_t(texels_[s][i]);
        }
      }
      textures_[s] = __Texture{};
      textures_[s].enabled = slotOn_[s];
      textures_[s].width = 7;
      textures_[s].height = 5;
      textures_[s].pixels = bytes.data();
      textures_[s].deep = deep;
    }
  }

  // ownDepth: the call's own depth buffer, released at its end (only the
  // frame is compared); else an adopted one, compared too.
  Output Render(RenderOnePixelFunc shader, bool withMaterials, bool deep, int lights,
                bool ownDepth) {
    _RenderOnePixelFunc = shader;
    Output out;
    out.frame.assign(size_t(W) * H * 8, 0);
    std::vector<unsigned char> source(out.frame.size());
    for (size_t i = 0; i < source.size(); ++i) source[i] = uint8_t(i * 37 + (i >> 7));
    if (deep)
      for (size_t i = 1; i < source.size(); i += 2) source[i] &= 0x7F;
    MakeTextures(deep);
    UseFrame(W, H, deep);
    // An adopted depth buffer outlives the call, so it can be compared.
    if (!ownDepth) {
      out.depth.assign(size_t(W) * H, 0.0f);
      std::memset(out.depth.data(), 0xFE, out.depth.size() * sizeof(float));
      __SetZBuff(out.depth.data(), W, H);
    }
    __RasterScene(out.frame.data(), source.data(), W, H, 4 * W, int(pts_.size()),
                  int(tris_.size()), tris_.data(), pts_.data(), W / 2, H / 2,
                  withMaterials ? 3 : 0, withMaterials ? materials_ : nullptr, textures_, lights,
                  lights_, glass_);
    __SetZBuff(nullptr, 0, 0);
    return out;
  }

  std::vector<__Point3ds> pts_;
  std::vector<__Triangle3ds> tris_;
  material3ds materials_[3];
  GlassProp glass_[3];
  light3ds lights_[2];
  bool slotOn_[12] = {};
  std::vector<std::vector<uint16_t>> texels_;
  std::vector<unsigned char> textureBytes_[12];
  __Texture textures_[12];
};

TEST_F(FastPath, DefaultShaderShortcutsChangeNoPixel) {
  std::vector<SimdPath> paths;
  for (SimdPath p : kSimdPaths)
    if (SimdPathAvailable(p)) paths.push_back(p);
  std::mt19937 rng(7);
  for (int round = 0; round < 30; ++round) {
    RandomScene(rng, 3 + round % 4);
    const bool withMaterials = round % 3 != 2;
    const int lights = round % 4 - 1;  // 0: the default light; -1: none at all
    if (round % 6 == 5)
      for (GlassProp& g : glass_) g.enabled = 0;  // no glass at all
    if (round % 5 == 4)
      for (bool& on : slotOn_) on = false;  // no texture map at all
    _UseMultyRefract = uint8_t(round % 3 == 0);
    _DrawBackFaces = uint8_t(round % 4 == 1);
    _DubleSide = uint8_t(round % 2);
    _UsePhong2 = uint8_t(round % 5 == 2);
    _Persp_Val = round % 7 == 3 ? 1.0f : 0.0f;
    _Persp_Far = 300.0f;
    gSceneBandRowsForced = round % 2 == 0 ? 0 : 8;  // 0: one band, the whole frame
    for (int mode : {1, 2, 3, 6, 8, 9})
      for (int deep = 0; deep < 2; ++deep)
        for (int quality = 0; quality < 2; ++quality) {
          _DrawMode = uint8_t(mode);
          _Quality = uint8_t(quality);
          // The reference: one call a pixel, and the per-pixel compositing.
          ASSERT_TRUE(SimdForcePath(SimdPath::Scalar));
          const bool ownDepth = round % 4 == 3;
          const Output general =
              Render(ForwardRenderOnePixel, withMaterials, deep != 0, lights, ownDepth);
          for (SimdPath path : paths) {
            ASSERT_TRUE(SimdForcePath(path));
            const Output direct =
                Render(RenderOnePixel, withMaterials, deep != 0, lights, ownDepth);
            ASSERT_TRUE(direct == general)
                << "mode " << mode << " deep " << deep << " quality " << quality << " round "
                << round << " path " << SimdPathName(path);
          }
        }
  }
}

}  // namespace
