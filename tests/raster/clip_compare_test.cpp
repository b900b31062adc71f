// The walks against the plain reading of the rules. The Flat and Phong modes
// against their rules written out in plain_scan.h (every walk in full, the
// previous-pixel record written at every pixel passed); the rough and line
// modes, the curved modes (whose samples and wire points that cannot reach
// the frame are skipped), the lines and the solid fill clipped against the
// same code iterating every walk unclipped. On many small random scenes reaching past
// every side of the frame, both must draw the same pixels, leave the same
// depths and make the same per-pixel calls with the same neighbour records.
#include <random>
#include <string>

#include "tests/raster/plain_scan.h"
#include "tests/raster/raster_fixture.h"

namespace {

constexpr int W = 48, H = 40;

struct Outcome {
  std::vector<unsigned char> dst;
  std::vector<ShadeCall> calls;
  std::vector<float> depth;
};

bool SameCall(const ShadeCall& a, const ShadeCall& b) {
  if (a.x != b.x || a.y != b.y || a.z != b.z || a.material != b.material) return false;
  if (a.hasPrev != b.hasPrev || a.textured != b.textured || a.u != b.u || a.v != b.v) return false;
  if (a.normal.x != b.normal.x || a.normal.y != b.normal.y || a.normal.z != b.normal.z)
    return false;
  if (!a.hasPrev) return true;
  if (a.prev.valid != b.prev.valid) return false;
  if (!a.prev.valid) return true;
  return a.prev.x == b.prev.x && a.prev.y == b.prev.y && a.prev.nx == b.prev.nx &&
         a.prev.ny == b.prev.ny && a.prev.nz == b.prev.nz && a.prev.u == b.prev.u &&
         a.prev.v == b.prev.v;
}

class ClipCompare : public RasterTest {
 protected:
  void RandomScene(std::mt19937& rng, int triangles, float reach = 70.0f) {
    std::uniform_real_distribution<float> px(-reach, reach), pz(-5.0f, 5.0f), pn(-1.0f, 1.0f);
    std::uniform_int_distribution<int> coin(0, 3);
    pts_.clear();
    tris_.clear();
    for (int i = 0; i < 3 * triangles; ++i) {
      __Point3ds p = Vtx(px(rng), px(rng), pz(rng));
      if (coin(rng) == 0) p.x = float(int(p.x));  // whole coordinates hit the boundary cases
      if (coin(rng) == 0) p.y = float(int(p.y));
      p.nx = pn(rng);
      p.ny = pn(rng);
      p.nz = pn(rng);
      p.textured = coin(rng) != 0;
      p.u = pn(rng);
      p.v = pn(rng);
      pts_.push_back(p);
    }
    for (int t = 0; t < triangles; ++t)
      tris_.push_back(Tri(3 * t, 3 * t + 1, 3 * t + 2, uint16_t(t & 3)));
  }
  Outcome Render(bool clip, int mode) {
    gRasterClipWalks = clip;
    MakeFrame(W, H);
    ZBuff = nullptr;
    Recorder::Calls().clear();
    _DrawMode = uint8_t(mode);
    __RasterScene(dst_.data(), src_.data(), W, H, 4 * W, int(pts_.size()), int(tris_.size()),
                  tris_.data(), pts_.data(), W / 2, H / 2, 0, nullptr, nullptr, 0, nullptr,
                  nullptr);
    return {dst_, Recorder::Calls(), {}};
  }
  Outcome Solid(bool clip) {
    gRasterClipWalks = clip;
    MakeFrame(W, H);
    __RasterSolid(dst_.data(), W, H, 4 * W, int(pts_.size()), int(tris_.size()), tris_.data(),
                  pts_.data(), W / 2, H / 2, 120, 60, 30, 0.75f);
    return {dst_, {}, {}};
  }
  void Expect(const Outcome& a, const Outcome& b, const char* what, int round) {
    ASSERT_EQ(a.dst, b.dst) << what << " round " << round;
    ASSERT_EQ(a.depth, b.depth) << what << " round " << round;
    ASSERT_EQ(a.calls.size(), b.calls.size()) << what << " round " << round;
    for (size_t i = 0; i < a.calls.size(); ++i)
      ASSERT_TRUE(SameCall(a.calls[i], b.calls[i])) << what << " round " << round << " call " << i;
  }
  std::vector<__Point3ds> pts_;
  std::vector<__Triangle3ds> tris_;
};

}  // namespace

TEST_F(ClipCompare, ScenesDrawTheSameInsideTheFrame) {
  std::mt19937 rng(20261209);
  for (int round = 0; round < 60; ++round) {
    // Some scenes far larger than the frame: most curved samples fall off it.
    RandomScene(rng, 1 + round % 4, round % 5 == 4 ? 400.0f : 70.0f);
    for (int quality = 0; quality < 2; ++quality) {
      _Quality = uint8_t(quality);
      _DubleSide = uint8_t(round & 1);
      _UsePhong2 = uint8_t((round >> 1) & 1);
      for (int mode : {0, 1, 2, 9, 10}) {
        _WireSize = float(round % 3);
        const Outcome clipped = Render(true, mode);
        const Outcome plain = Render(false, mode);
        Expect(clipped, plain, std::to_string(mode).c_str(), round);
      }
      Expect(Solid(true), Solid(false), "solid", round);
    }
  }
}

TEST_F(ClipCompare, FlatAndPhongFollowThePlainReading) {
  // Through the recorder every call and its record are compared; through
  // the default per-pixel function, whose texture and bump footprints read
  // the record at high quality, the frames.
  std::mt19937 rng(20260117);
  std::uniform_int_distribution<int> byte(0, 255);
  std::vector<unsigned char> texels(8 * 8 * 4);
  for (unsigned char& t : texels) t = uint8_t(byte(rng));
  __Texture slots[16] = {};
  material3ds materials[4] = {};
  for (int m = 0; m < 4; ++m) {
    for (int k : {0, 2}) {
      slots[4 * m + k] = {1, 8, 8, texels.data(), 0};
      materials[m].maps[k == 0 ? 0 : 3] = {{}, k == 0 ? 1.0f : 0.05f, 12.0f, 12.0f, 0.0f, 0.0f};
    }
    for (int c = 0; c < 3; ++c) materials[m].diffuse[c] = 0.25f * float(m + c % 2);
  }
  light3ds light{};
  light.z = 200.0f;
  light.color[0] = light.color[1] = light.color[2] = light.multiplier = 1.0f;
  for (int round = 0; round < 60; ++round) {
    RandomScene(rng, 1 + round % 4);
    for (int quality = 0; quality < 2; ++quality)
      for (int mode : {3, 6})
        for (bool shaded : {false, true}) {
          _Quality = uint8_t(quality);
          _DubleSide = uint8_t(round & 1);
          _UsePhong2 = uint8_t((round >> 1) & 1);
          Outcome out[2];
          for (int plain = 0; plain < 2; ++plain) {
            MakeFrame(W, H);  // its depth buffer is adopted
            _RenderOnePixelFunc = shaded ? RenderOnePixel : Recorder::Shade;
            _DrawMode = uint8_t(mode);
            Recorder::Calls().clear();
            if (plain) {
              std::vector<unsigned char> layers(size_t(3) * W * H * 4, 0);
              _EdgeLayer = layers.data();
              _FragLayer = _EdgeLayer + W * H * 4;
              _UnderLayer = _FragLayer + W * H * 4;
              PlainScene(mode, dst_.data(), src_.data(), int(tris_.size()), tris_.data(),
                         pts_.data(), W / 2, H / 2, 4, materials, slots, 1, &light, nullptr);
              _EdgeLayer = _FragLayer = _UnderLayer = nullptr;
            } else {
              __RasterScene(dst_.data(), src_.data(), W, H, 4 * W, int(pts_.size()),
                            int(tris_.size()), tris_.data(), pts_.data(), W / 2, H / 2, 4,
                            materials, slots, 1, &light, nullptr);
            }
            out[plain] = {dst_, Recorder::Calls(), depth_};
          }
          Expect(out[0], out[1], mode == 3 ? "flat" : "phong", round);
        }
  }
}

TEST_F(ClipCompare, LinesDrawTheSameInsideTheFrame) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<float> c(-90.0f, 130.0f), w(-1.0f, 3.0f), far(-1e5f, 1e5f);
  for (int round = 0; round < 410; ++round) {
    float x0 = c(rng), y0 = c(rng), x1 = c(rng), y1 = c(rng);
    const float width = w(rng);
    if (round >= 400) {  // long lines through the frame: the walk starts far outside
      x0 = far(rng);
      x1 = float(W) - x0;
      y1 = float(H) - y0;
    }
    _Quality = uint8_t(round & 1);
    _DrawMode = uint8_t(round % 3 == 0 ? 3 : 1);
    Outcome out[2];
    for (int clip = 0; clip < 2; ++clip) {
      gRasterClipWalks = clip != 0;
      MakeFrame(W, H);
      Recorder::Calls().clear();
      for (size_t i = 0; i < src_.size(); ++i) src_[i] = uint8_t(i);
      DrawLineInverse(x0, y0, x1, y1, dst_.data(), src_.data(), W, H);
      DrawLineSolidAA(40, 80, 120, y0, x1, x0, y1, width, dst_.data(), nullptr, 0, 0);
      __Triangle3ds t = Tri(0, 0, 0, 1);
      DrawLineShaded(x1, x0, y1, y0, width, dst_.data(), src_.data(), 0, 0, nullptr, nullptr, 0, &t,
                     0, nullptr, 3, 2, 0.6f, 0, -0.8f, 1, 0, nullptr, nullptr);
      out[clip] = {dst_, Recorder::Calls(), {}};
    }
    Expect(out[1], out[0], "lines", round);
  }
}

TEST_F(ClipCompare, LeavingOutBlankEdgeShadingChangesNoPixel) {
  // With the default shader (pure outside multiple refraction) the edge
  // pixels the writer cannot cover are not shaded; the frame must be the
  // same bit for bit as when every one of them is. (The Phong and Flat
  // scenes are held to the plain reading above; the Flat scene here sets
  // the fill modes' coverage for the lines and the solid fill.)
  _RenderOnePixelFunc = RenderOnePixel;
  _UseMultyRefract = 0;
  std::mt19937 rng(99);
  for (int round = 0; round < 40; ++round) {
    RandomScene(rng, 2 + round % 5);
    for (int deep = 0; deep < 2; ++deep)
      for (int mode : {1, 3}) {
        static const float widths[] = {1.0f, 0.3f, 2.5f, -3.0f, 7.0f};
        _WireSize = widths[round % 5];
        _Quality = 1;
        _Deep = uint8_t(deep);
        _DubleSide = uint8_t(round & 1);
        Outcome out[2];
        for (int skip = 0; skip < 2; ++skip) {
          gRasterSkipBlankEdges = skip != 0;
          std::vector<unsigned char> frame(size_t(W) * H * 8, 0);
          std::vector<unsigned char> source(frame.size(), 0x40);
          UseFrame(W, H, deep != 0);
          _DrawMode = uint8_t(mode);
          __RasterScene(frame.data(), source.data(), W, H, 4 * W, int(pts_.size()),
                        int(tris_.size()), tris_.data(), pts_.data(), W / 2, H / 2, 0, nullptr,
                        nullptr, 0, nullptr, nullptr);
          __DrawScenesLineColor(_WireSize, 30, 60, 90, frame.data(), source.data(), W, H, 0,
                                int(tris_.size()), tris_.data(), pts_.data(), W / 2, H / 2);
          __RasterSolid(frame.data(), W, H, 4 * W, int(pts_.size()), int(tris_.size()),
                        tris_.data(), pts_.data(), W / 2 + 3, H / 2 - 2, 500, 900, 20000, 0.6f);
          out[skip].dst = frame;
        }
        gRasterSkipBlankEdges = true;
        ASSERT_EQ(out[0].dst, out[1].dst)
            << "mode " << mode << " deep " << deep << " round " << round;
      }
  }
  _Deep = 0;
  _WireSize = 1.0f;
}
