// Texture and glass through __RasterScene in the Phong mode, quality on and
// off, 8 and 16 bits: pixels strictly inside a quad are checked against the
// sampling rules computed here, and the whole frame against a small golden
// image made at 8 bits (tolerance 1 level; 16-bit frames are narrowed to 8
// bits first and allowed 2, since partial edge pixels truncate differently).
#include <cmath>
#include <functional>
#include <limits>
#include <string>

#include "renderer/shading/texel_sampling.h"
#include "tests/shading/golden_image.h"
#include "tests/shading/shading_test_util.h"

namespace {

constexpr int W = 32, H = 24;
// The quad spans x 3.5 .. 27.5 and y 2.5 .. 20.5 in pixels: texel
// boundaries never fall on a pixel position, so rounding cannot move one.
constexpr float QX0 = 3.5f, QX1 = 27.5f, QY0 = 2.5f, QY1 = 20.5f;
constexpr int TW = 8, TH = 6;

int To16(int v8) { return (v8 * 32768 + 128) / 255; }
int Narrow(int v16) { return (v16 * 255 + 16384) >> 15; }

// Texture texel channels in 8-bit units, B, G, R, A.
int Texel8(int x, int y, int c) {
  switch (c) {
    case TEXEL_RED:
      return 30 * x + 20;
    case TEXEL_GREEN:
      return 40 * y + 10;
    case TEXEL_BLUE:
      return (x * y * 13) % 200 + 30;
    default:
      return 255;
  }
}

// Source frame: vertical stripes, channel c of column x.
int Stripe8(int x, int c) { return 40 + (x * 53 + c * 71) % 170; }

class SceneMaps : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = {__GetDrawMode(),        __GetQuality(),   __GetDeep(),
              __GetUseMultyRefract(), __GetDubleSide(), __GetDrawBackFaces()};
  }
  void TearDown() override {
    __SetDrawMode(saved_[0]);
    __SetQuality(saved_[1]);
    __SetDeep(saved_[2]);
    __SetUseMultyRefract(saved_[3]);
    __SetDubleSide(saved_[4]);
    __SetDrawBackFaces(saved_[5]);
  }

  // Renders the quad: textured (texture map at amount 1) or glass with
  // normal (0.6, 0, 0.8), over the striped source, lit so that the output
  // is the diffuse colour itself (self-illumination 1, no highlight).
  // `tweak` may change the material, the glass record and the four slots
  // (slot 0 holds the texture when glass is off) before the render.
  using Tweak = std::function<void(material3ds&, GlassProp&, __Texture*)>;
  void Render(bool glassOn, bool deep, bool quality, const Tweak& tweak = Tweak()) {
    deep_ = deep;
    __SetDrawMode(6);
    __SetQuality(quality ? 1 : 0);
    __SetDeep(deep ? 1 : 0);
    __SetUseMultyRefract(0);
    __SetDubleSide(1);
    __SetDrawBackFaces(0);
    const int64_t n = int64_t(W) * H * 4;
    dst_ = ChannelBuffer(n, deep);
    src_ = ChannelBuffer(n, deep);
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x)
        for (int c = 0; c < 4; ++c) {
          const int v = c == 3 ? 255 : Stripe8(x, c);
          src_.Set((int64_t(y) * W + x) * 4 + c, deep ? To16(v) : v);
        }
    TestTexture tex(TW, TH, deep, [&](int x, int y, int* c) {
      for (int k = 0; k < 4; ++k) c[k] = deep ? To16(Texel8(x, y, k)) : Texel8(x, y, k);
    });
    material3ds mat = PlainMaterial();
    mat.selfIllum = 1.0f;
    mat.shinStrength = 0.0f;
    __Texture slots[4] = {};
    if (!glassOn) slots[0] = tex.slot;
    GlassProp glass{};
    glass.enabled = glassOn ? 1 : 0;
    glass.optical = 0.0f;
    glass.refraction = 10.5f;
    glass.aberration = 40.0f;
    light3ds light{};
    light.z = 1000.0f;
    light.color[0] = light.color[1] = light.color[2] = 1.0f;
    light.multiplier = 1.0f;
    if (tweak) tweak(mat, glass, slots);
    __Point3ds pts[4] = {};
    const float xs[4] = {QX0, QX1, QX1, QX0}, ys[4] = {QY0, QY0, QY1, QY1};
    for (int i = 0; i < 4; ++i) {
      pts[i].x = xs[i] - W / 2;
      pts[i].y = ys[i] - H / 2;
      pts[i].z = 10.0f;
      pts[i].textured = glassOn && !tweak ? 0 : 1;
      pts[i].u = (xs[i] - QX0) / (QX1 - QX0);
      pts[i].v = (ys[i] - QY0) / (QY1 - QY0);
      pts[i].nx = glassOn ? 0.6f : 0.0f;
      pts[i].nz = glassOn ? 0.8f : 1.0f;
    }
    __Triangle3ds tris[2] = {{{0, 1, 2}, 0, 0}, {{0, 2, 3}, 0, 0}};
    __RasterScene(dst_.data(), src_.data(), W, H, 4 * W, 4, 2, tris, pts, W / 2, H / 2, 1, &mat,
                  slots, 1, &light, &glass);
  }

  int Max() const { return deep_ ? 32768 : 255; }
  int Dst(int x, int y, int c) const { return dst_.Get((int64_t(y) * W + x) * 4 + c); }
  float Src(int x, int c) const { return float(deep_ ? To16(Stripe8(x, c)) : Stripe8(x, c)); }
  float Tex(int x, int y, int c) const {
    return float(deep_ ? To16(Texel8(x, y, c)) : Texel8(x, y, c));
  }

  // Every pixel strictly inside the quad that is fully drawn (the quality
  // edge bands may leave partial pixels along the border) must match
  // `expected` (channel units) within `tol`; most pixels must be checked.
  // Pixels near the diagonal are left to the golden image: the triangle that
  // draws them first may reach just past its edge, where its interpolation
  // clamps to the edge.
  template <class F>
  void CheckInterior(F expected, const char* what) {
    const int tol = deep_ ? 4 : 1;
    int checked = 0, bad = 0;
    for (int y = 3; y <= 20; ++y)
      for (int x = 4; x <= 27; ++x) {
        if (Dst(x, y, 3) != Max()) continue;
        const float diagonal = -0.6f * (float(x) - QX0) + 0.8f * (float(y) - QY0);
        if (std::fabs(diagonal) < 1.5f) continue;
        ++checked;
        for (int c = 0; c < 3; ++c) {
          const float e = expected(x, y, c);
          if (std::fabs(float(Dst(x, y, c)) - e) > float(tol)) {
            if (++bad < 6)
              ADD_FAILURE() << what << " pixel (" << x << ", " << y << ") channel " << c << ": "
                            << Dst(x, y, c) << " expected " << e;
          }
        }
      }
    EXPECT_EQ(bad, 0) << what;
    EXPECT_GE(checked, 24 * 18 - 2 * (24 + 18) - 3 * 24) << what;
  }

  // The frame as 8-bit RGBA for the golden comparison.
  std::vector<uint8_t> Rgba8() const {
    std::vector<uint8_t> out(size_t(W) * H * 4);
    for (size_t i = 0; i < out.size(); ++i) {
      const int v = dst_.Get(int64_t(i));
      out[i] = uint8_t(deep_ ? Narrow(v) : v);
    }
    return out;
  }

  bool deep_ = false;
  ChannelBuffer dst_, src_;
  std::vector<unsigned char> saved_;
};

// Texel position of pixel (x, y) as the quad's texture coordinates give it.
void TexelPosAt(int x, int y, float& tx, float& ty) {
  tx = (float(x) - QX0) / (QX1 - QX0) * float(TW - 1);
  ty = (float(y) - QY0) / (QY1 - QY0) * float(TH - 1);
}

TEST_F(SceneMaps, TexturedQuadShowsItsTexture) {
  for (bool deep : {true, false}) {  // 8 bits last: its frame is the one written
    for (bool quality : {false, true}) {
      Render(false, deep, quality);
      const std::string what =
          std::string("texture ") + (deep ? "16" : "8") + (quality ? " quality" : "");
      const int rgbOf[3] = {TEXEL_RED, TEXEL_GREEN, TEXEL_BLUE};
      CheckInterior(
          [&](int x, int y, int c) {
            float tx, ty;
            TexelPosAt(x, y, tx, ty);
            const int x0 = int(tx), y0 = int(ty);
            if (!quality) return Tex(x0, y0, rgbOf[c]);
            // Inside the texture: no wrap of the neighbours here.
            const float fx = tx - float(x0), fy = ty - float(y0);
            return (1 - fx) * (1 - fy) * Tex(x0, y0, rgbOf[c]) +
                   fx * fy * Tex(x0 + 1, y0 + 1, rgbOf[c]) +
                   (1 - fx) * fy * Tex(x0, y0 + 1, rgbOf[c]) +
                   fx * (1 - fy) * Tex(x0 + 1, y0, rgbOf[c]);
          },
          what.c_str());
      const std::string message = CompareGolden(
          std::string("textured_quad") + (quality ? "_quality" : ""), Rgba8(), W, H, deep ? 2 : 1);
      EXPECT_TRUE(message.empty()) << what << ": " << message;
    }
  }
}

TEST_F(SceneMaps, GlassQuadDisplacesTheStripesPerChannel) {
  // Normal (0.6, 0, 0.8), optical 0: bend factor -1, so channel c samples
  // 0.6 d_c to the left, d = 10.5, 8.82, 7.4088 (aberration 40): 6.3, 5.292
  // and 4.445 pixels. Samples left of the frame fall back to the column.
  const float shift[3] = {-6.3f, -5.292f, -4.44528f};
  for (bool deep : {true, false}) {  // 8 bits last: its frame is the one written
    for (bool quality : {false, true}) {
      Render(true, deep, quality);
      const std::string what =
          std::string("glass ") + (deep ? "16" : "8") + (quality ? " quality" : "");
      CheckInterior(
          [&](int x, int, int c) {
            const float px = float(x) + shift[c];
            // Truncation toward zero: -0.4 is column 0, inside the frame.
            const int xi = int(px) < 0 ? x : int(px);
            if (!quality) return Src(xi, c);
            // Squared-sum weights of the 2 x 2 neighbourhood, fy = 0; the
            // stripes do not change down a column.
            const float fx = std::fabs(px - float(xi));
            const int x1 = xi + 1 < W ? xi + 1 : W - 1;
            const float w00 = (2 - fx) * (2 - fx), w01 = (1 - fx) * (1 - fx);
            const float w10 = (fx + 1) * (fx + 1), w11 = fx * fx;
            return ((w00 + w01) * Src(xi, c) + (w10 + w11) * Src(x1, c)) / (w00 + w01 + w10 + w11);
          },
          what.c_str());
      // The stripes moved: red shows column x - 7 where the sample lies inside.
      if (!quality) {
        EXPECT_EQ(float(Dst(20, 10, 0)), Src(13, 0)) << what;
      }
      const std::string message = CompareGolden(
          std::string("glass_quad") + (quality ? "_quality" : ""), Rgba8(), W, H, deep ? 2 : 1);
      EXPECT_TRUE(message.empty()) << what << ": " << message;
    }
  }
}

TEST_F(SceneMaps, GlassBuffersOfTheScene) {
  // A glass quad (refraction 0, so each pixel refracts itself) at depth 100
  // over an opaque frame, with multiple refraction. Without a back-face pass
  // the first lookup finds no glass depth recorded and refracts the copy of
  // the source. With one, a quad turned away (material 1, red) is drawn
  // first and the front pass refracts the frame as that pass left it.
  for (bool backPass : {false, true}) {
    SCOPED_TRACE(backPass ? "back-face pass" : "front pass only");
    __SetDrawMode(6);
    __SetQuality(0);
    __SetDeep(0);
    __SetUseMultyRefract(1);
    __SetDubleSide(0);
    __SetDrawBackFaces(backPass ? 1 : 0);
    deep_ = false;
    const int64_t n = int64_t(W) * H * 4;
    dst_ = ChannelBuffer(n, false);
    src_ = ChannelBuffer(n, false);
    for (int64_t i = 0; i < n; ++i) {
      const int x = int(i / 4 % W), c = int(i % 4);
      src_.Set(i, c == 3 ? 255 : Stripe8(x, c));
      if (!backPass) dst_.Set(i, c == 3 ? 255 : 10 + 10 * c);
    }
    material3ds mat[2] = {PlainMaterial(), PlainMaterial()};
    for (material3ds& m : mat) {
      m.selfIllum = 1.0f;
      m.shinStrength = 0.0f;
    }
    mat[1].diffuse[0] = 1.0f;
    mat[1].diffuse[1] = mat[1].diffuse[2] = 0.0f;
    __Texture slots[8] = {};
    GlassProp glass[2] = {{1, 0.0f, 0.0f, 0.0f}, {}};
    light3ds light{};
    light.z = 1000.0f;
    light.color[0] = light.color[1] = light.color[2] = 1.0f;
    light.multiplier = 1.0f;
    __Point3ds pts[8] = {};
    const float xs[4] = {8, 24, 24, 8}, ys[4] = {6, 6, 18, 18};
    for (int i = 0; i < 8; ++i) {
      pts[i].x = xs[i % 4] - W / 2;
      pts[i].y = ys[i % 4] - H / 2;
      pts[i].z = i < 4 ? 100.0f : 50.0f;
      pts[i].nz = 1.0f;
    }
    __Triangle3ds tris[4] = {{{0, 1, 2}, 0, 0}, {{0, 2, 3}, 0, 0}, {{4, 6, 5}, 0, 1},
                             {{4, 7, 6}, 0, 1}};
    __RasterScene(dst_.data(), src_.data(), W, H, 4 * W, 8, backPass ? 4 : 2, tris, pts, W / 2,
                  H / 2, 2, mat, slots, 1, &light, glass);
    for (int c = 0; c < 3; ++c) {
      const float want = backPass ? (c == 0 ? 255.0f : 0.0f) : float(Stripe8(16, c));
      EXPECT_NEAR(float(Dst(16, 12, c)), want, 1.0f) << c;
    }
  }
}

TEST_F(SceneMaps, EnabledSlotsWithoutTexelsAreDisabled) {
  // Nothing to sample: each such slot shades as a disabled one (it used to
  // be addressed before a null pointer).
  std::vector<std::vector<int64_t>> frames;
  // Shapes: disabled; 0 wide; -1 high; no pixels; -3 wide.
  for (int shape = 0; shape < 5; ++shape) {
    Render(false, false, true, [&](material3ds& m, GlassProp&, __Texture* slots) {
      for (map3ds& b : m.maps) b.amount = 1.0f, b.uScale = b.vScale = 1.0f;
      for (int k = 0; k < 4; ++k) {
        slots[k] = __Texture{};
        slots[k].enabled = shape == 0 ? 0 : 1;
        slots[k].width = shape == 1 ? 0 : (shape == 4 ? -3 : 4);
        slots[k].height = shape == 2 ? -1 : 4;
      }
    });
    std::vector<int64_t> frame;
    for (int64_t i = 0; i < int64_t(W) * H * 4; ++i) frame.push_back(dst_.Get(i));
    frames.push_back(frame);
  }
  for (int shape = 1; shape < 5; ++shape) EXPECT_EQ(frames[size_t(shape)], frames[0]) << shape;
}

TEST_F(SceneMaps, HostileMaterialsStayInsideEveryBuffer) {
  // Every map on one-texel and one-row textures with extreme amounts, scales
  // and glass values: the sanitizers watch the reads, the frame must stay
  // within the channel range and drawn pixels keep a valid alpha.
  const float inf = std::numeric_limits<float>::infinity();
  const float values[] = {3e38f, -3e38f, 1e30f, inf, -inf, std::nanf("")};
  TestTexture dot8(1, 1, false, [](int, int, int* c) { c[0] = 200; });
  TestTexture row8(5, 1, false, [](int x, int, int* c) { c[1] = 50 * x; });
  TestTexture dot16(1, 1, true, [](int, int, int* c) { c[0] = 30000; });
  TestTexture row16(5, 1, true, [](int x, int, int* c) { c[1] = 6000 * x; });
  for (bool deep : {false, true}) {
    for (bool quality : {false, true}) {
      for (float e : values) {
        Render(true, deep, quality, [&](material3ds& m, GlassProp& g, __Texture* slots) {
          for (map3ds& b : m.maps) {
            b.amount = e;
            b.uScale = e;
            b.vOffset = e;
          }
          m.maps[0].amount = 0.5f;
          g = GlassProp{1, e, e, e};
          slots[0] = slots[2] = deep ? dot16.slot : dot8.slot;
          slots[1] = slots[3] = deep ? row16.slot : row8.slot;
        });
        for (int64_t i = 0; i < int64_t(W) * H * 4; ++i) ASSERT_LE(dst_.Get(i), Max()) << e;
      }
    }
  }
}

}  // namespace
