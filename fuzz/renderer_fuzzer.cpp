// Fuzz target: the renderer's exported interface, as another module may call
// it with anything, and the device-context routines on a checking surface.
//
// Input, front to back (ByteReader: missing bytes read as 0):
//   frame      width 0..MAX_SIDE, height 0..MAX_SIDE, stride 4 x width +
//              a signed byte, centre (0: the frame's; else two offsets),
//              a byte seeding the frame's pattern (0xFF: no source frame)
//   switches   _DrawMode, _Quality, _Deep, _DubleSide, _DrawBackFaces,
//              _UseMultyRefract, _UsePhong2 (any byte each), _WireSize
//              (at most MAX_WIRE: each segment of a wider wire covers the
//              whole frame, so the work grows with it)
//   scene      points, triangles with indices in and out of range
//              (scene_records.h), materials (count -2..MAX_MATERIALS),
//              texture slots of any size and depth, enabled or not, with
//              or without texels (texels from a pattern byte),
//              lights (count -1..MAX_LIGHTS), glass, the per-pixel function
//              (default, or one answering any floats)
//   calls      up to MAX_CALLS, each an opcode and its arguments (Call);
//              a scene of more than MAX_GRID_SAMPLES grid samples is not
//              drawn in the Bezier and contour modes
//
// Oracles besides the sanitizers: nothing written outside the frame (the
// buffers are exact-size pages, and at 8 bits the rest of the frame's
// buffer is checked) nor into the source; at 16 bits no channel above
// 32768; a call that runs out of memory leaves the frame as it was; the
// switches read back as set; every page handed out is given back; the
// per-pixel function sees readable records; the device-context routines
// touch only the surface. With the default per-pixel function, a scene
// drawn on every vector path the machine runs gives the frame and depths
// of the one-call-a-pixel path through a forwarding function; in the
// modes whose walks are clipped to the frame (rough, line, Wire, Bezier,
// contour) a scene small enough to walk in full gives the same frame and
// depths with every walk unclipped.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "fuzz/byte_reader.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/scene_records.h"
#include "platform/page_memory.h"
#include "renderer/raster/dc_draw.h"
#include "renderer/raster/patch_net.h"
#include "renderer/raster/raster_internal.h"
#include "renderer/raster/rasterize.h"
#include "renderer/renderer.h"
#include "renderer/simd/simd.h"
#include "tests/raster/forward_pixel.h"

namespace {

// Bounds that keep one input well under a second.
constexpr int MAX_SIDE = 48;
constexpr int MAX_POINTS = 40;
constexpr int MAX_TRIANGLES = 48;
constexpr int MAX_MATERIALS = 3;
constexpr int MAX_TEXTURE_SIDE = 12;
constexpr int MAX_LIGHTS = 3;
constexpr int MAX_CALLS = 6;
constexpr int MAX_EDGES = 8;
constexpr float MAX_WIRE = 16.0f;
// Most samples and box pixels of a scene walked in full for the comparison
// with the clipped walks (estimated from its triangles' sizes).
constexpr double MAX_PLAIN_WORK = 200000.0;
// Most grid samples of a scene drawn in the Bezier and contour modes. Their
// rule samples a triangle half a unit apart along its edges in 3D, up to
// the per-triangle cap (2^22 on frames this small), and a triangle folded
// or collapsed onto the frame lands them all in it: like the frame's size,
// the scene's size in 3D makes the work, so larger scenes are not drawn in
// those modes.
constexpr double MAX_GRID_SAMPLES = 131072.0;

// The frame: dst and src in page memory (the converters replace them), at
// two bytes a channel so that either depth fits; rows of `rowValues`.
struct Frame {
  int width = 0, height = 0, stride = 0, centerX = 0, centerY = 0;
  size_t rowValues = 0;  // at least 4 x width and the stride
  size_t bytes = 0;
  unsigned char* dst = nullptr;
  unsigned char* src = nullptr;
};

// Every renderer switch and global back at its load value, so that each
// input starts from the same state.
void ResetRenderer() {
  __SetDrawMode(6);
  __SetQuality(1);
  __SetDeep(0);
  __SetDubleSide(0);
  __SetDrawBackFaces(0);
  __SetUseMultyRefract(1);
  __SetUsePhong2(0);
  __SetUseGlass(0);
  __SetUsePersp(0);
  __SetUseReflection(0);
  __SetUseCustomMats(1);
  __SetDefRenderOnePixel();
  __SetLightDef(nullptr);
  __SetZBuff(nullptr, 0, 0);
  __AddPersp(0, nullptr, 0.0f, 0.0f, 0.0f, 1000.0f);
  _WireSize = 1.0f;
}

float WireSize(ByteReader& in) {
  const float w = in.Coord(4.0f);
  return w > MAX_WIRE ? MAX_WIRE : w;
}

// The replaced per-pixel function answers these, whatever they are.
float customOut[3], customOpacity;

float CustomPixel(float, float, unsigned char* dst, unsigned char*, float, float, float,
                  __Triangle3ds* tri, material3ds*, int, float& out0, float& out1, float& out2,
                  __Point* normal, unsigned char, float, float, __Texture*, int, light3ds*,
                  __PrevInfo* prev, GlassProp*, float, float, float, float) {
  // What it is handed must be readable (the sanitizers check the reads).
  volatile float sink = 0.0f;
  if (normal != nullptr) sink = sink + normal->x;
  if (prev != nullptr) sink = sink + prev->x;
  volatile unsigned sink2 = 0;
  if (tri != nullptr) sink2 = sink2 + tri->material;
  if (dst != nullptr) sink2 = sink2 + dst[0];
  out0 = customOut[0];
  out1 = customOut[1];
  out2 = customOut[2];
  return customOpacity;
}

struct Scene {
  std::vector<__Point3ds> points;
  std::vector<__Triangle3ds> triangles;
  int materialCount = 0;
  std::vector<material3ds> materials;  // empty: null
  std::vector<__Texture> textures;     // empty: null
  int lightCount = 0;
  std::vector<light3ds> lights;  // empty: null
  std::vector<GlassProp> glass;  // empty: null
  light3ds defaultLight{};

  material3ds* Materials() { return materials.empty() ? nullptr : materials.data(); }
  __Texture* Textures() { return textures.empty() ? nullptr : textures.data(); }
  light3ds* Lights() { return lights.empty() ? nullptr : lights.data(); }
  GlassProp* Glass() { return glass.empty() ? nullptr : glass.data(); }
};

void ReadFrame(ByteReader& in, Frame& f) {
  f.width = in.Small(0, MAX_SIDE);
  f.height = in.Small(0, MAX_SIDE);
  f.stride = 4 * f.width + int(int8_t(in.Byte()));
  if (in.Bool()) {
    f.centerX = in.Small(-MAX_SIDE, 2 * MAX_SIDE);
    f.centerY = in.Small(-MAX_SIDE, 2 * MAX_SIDE);
  } else {
    f.centerX = f.width / 2;
    f.centerY = f.height / 2;
  }
  f.rowValues = size_t(f.stride > 4 * f.width ? f.stride : 4 * f.width);
  f.bytes = f.rowValues * size_t(f.height) * 2;
  if (f.bytes == 0) return;
  f.dst = static_cast<unsigned char*>(PageAlloc(f.bytes));
  f.src = static_cast<unsigned char*>(PageAlloc(f.bytes));
  // Patterns of valid channel values at either depth (at most 0x7F7F).
  const uint8_t seed = in.Byte();
  for (size_t i = 0; i < f.bytes; ++i) {
    f.dst[i] = uint8_t((i * (seed | 1u) + seed) & 0x7F);
    f.src[i] = uint8_t((i * 37) & 0x7F);
  }
  if (seed == 0xFF) {  // no source: nothing shows through
    PageFree(f.src);
    f.src = nullptr;
  }
}

void ReadMaterial(ByteReader& in, material3ds& m) {
  for (int c = 0; c < 3; ++c) {
    m.ambient[c] = in.Coord(1.0f);
    m.diffuse[c] = in.Coord(1.0f);
    m.specular[c] = in.Coord(1.0f);
  }
  m.shininess = in.Coord(2.0f);
  m.shinStrength = in.Coord(2.0f);
  m.transparency = in.Coord(1.0f);
  m.selfIllum = in.Coord(1.0f);
  for (int block : {0, 2, 3, 7}) {
    map3ds& map = m.maps[block];
    map.amount = in.Coord(1.0f);
    map.uScale = in.Coord(2.0f);
    map.vScale = in.Coord(2.0f);
    map.uOffset = in.Coord(1.0f);
    map.vOffset = in.Coord(1.0f);
  }
}

// A slot of any size, enabled or not; its texels in page memory at the
// depth its deep byte says (the calls bring it to the frame's depth with
// __ConvertText, as a client must), none for a size of 0 or less or when
// the deep byte says so.
void ReadTexture(ByteReader& in, __Texture& t) {
  t.enabled = in.Byte();
  t.width = in.Small(-1, MAX_TEXTURE_SIDE);
  t.height = in.Small(-1, MAX_TEXTURE_SIDE);
  const uint8_t deep = in.Byte();
  t.deep = deep & 1;
  t.pixels = nullptr;
  if (t.width <= 0 || t.height <= 0 || deep == 0xFF) return;
  const size_t bytes = size_t(t.width) * size_t(t.height) * 4 * (t.deep ? 2 : 1);
  t.pixels = static_cast<unsigned char*>(PageAlloc(bytes));
  // A pattern of valid channels (16 bits: 0..32768) from one byte.
  const uint8_t seed = in.Byte();
  for (size_t i = 0; i < bytes; ++i) t.pixels[i] = uint8_t(i * (seed | 1u) + seed);
  if (t.deep)
    for (size_t i = 0; i + 1 < bytes; i += 2)
      if (t.pixels[i + 1] >= 0x80) t.pixels[i + 1] = 0x80, t.pixels[i] = 0;
}

void ReadScene(ByteReader& in, Scene& s) {
  ReadPoints(in, MAX_POINTS, float(MAX_SIDE), s.points);
  ReadTriangles(in, MAX_TRIANGLES, int(s.points.size()), s.triangles);

  s.materialCount = in.Small(-2, MAX_MATERIALS);
  const size_t records = size_t(s.materialCount > 0 ? s.materialCount : 1);
  if (in.Byte() != 1) {  // 1: no material array at all
    s.materials.assign(records, material3ds{});
    for (material3ds& m : s.materials) ReadMaterial(in, m);
  }
  if (in.Byte() != 1) {
    s.textures.assign(4 * records, __Texture{});
    for (__Texture& t : s.textures) ReadTexture(in, t);
  }
  s.lightCount = in.Small(-1, MAX_LIGHTS);
  if (s.lightCount > 0) {
    s.lights.assign(size_t(s.lightCount), light3ds{});
    for (light3ds& l : s.lights) {
      l.x = in.Coord(1000.0f);
      l.y = in.Coord(1000.0f);
      l.z = in.Coord(1000.0f);
      for (float& c : l.color) c = in.Coord(1.0f);
      l.multiplier = in.Coord(2.0f);
    }
  }
  if (in.Byte() != 1) {
    s.glass.assign(records, GlassProp{});
    for (GlassProp& g : s.glass) {
      g.enabled = in.Byte();
      g.optical = in.Coord(2.0f);
      g.refraction = in.Coord(float(MAX_SIDE));
      g.aberration = in.Coord(50.0f);
    }
  }
  s.defaultLight.x = in.Coord(1000.0f);
  s.defaultLight.y = in.Coord(1000.0f);
  s.defaultLight.z = in.Coord(1000.0f);
  s.defaultLight.color[0] = s.defaultLight.color[1] = s.defaultLight.color[2] = 1.0f;
  s.defaultLight.multiplier = 1.0f;
}

// ---- oracles ----------------------------------------------------------------

// What a call must leave alone: the source (when there is one), and at 8
// bits the part of the frame's buffer beyond the frame (kept for 16 bits). How the renderer
// places pixels within height rows of the stride is its own affair: the
// rough mode addresses by the width alone, and a stride other than 4 x
// width is outside its contract; it must only stay inside the frame.
std::vector<uint8_t> Untouchable(const Frame& f) {
  if (f.dst == nullptr) return {};
  const size_t frameBytes = f.rowValues * size_t(f.height) * (__GetDeep() ? 2 : 1);
  std::vector<uint8_t> v;
  if (f.src != nullptr) v.assign(f.src, f.src + f.bytes);
  v.insert(v.end(), f.dst + frameBytes, f.dst + f.bytes);
  return v;
}

// At 16 bits every channel of the frame stays a valid value.
void CheckChannels(const Frame& f) {
  if (!__GetDeep() || f.dst == nullptr) return;
  for (int y = 0; y < f.height; ++y)
    for (int v = 0; v < 4 * f.width; ++v) {
      uint16_t c;
      std::memcpy(&c, f.dst + (size_t(y) * f.rowValues + size_t(v)) * 2, 2);
      FUZZ_CHECK(c <= 32768);
    }
}

// ---- device-context routines -------------------------------------------------

struct CheckedSurface {
  std::vector<uint32_t> pixels;
  int width, height;
};

uint32_t CheckedGet(void* context, int x, int y) {
  CheckedSurface* s = static_cast<CheckedSurface*>(context);
  FUZZ_CHECK(x >= 0 && x < s->width && y >= 0 && y < s->height);
  return s->pixels[size_t(y) * size_t(s->width) + size_t(x)];
}

void CheckedSet(void* context, int x, int y, uint32_t colour) {
  CheckedSurface* s = static_cast<CheckedSurface*>(context);
  FUZZ_CHECK(x >= 0 && x < s->width && y >= 0 && y < s->height);
  s->pixels[size_t(y) * size_t(s->width) + size_t(x)] = colour;
}

void DrawOnSurface(ByteReader& in) {
  CheckedSurface surface;
  surface.width = in.Small(0, MAX_SIDE);
  surface.height = in.Small(0, MAX_SIDE);
  surface.pixels.assign(size_t(surface.width) * size_t(surface.height), 0x00808080u);
  const DCSurface dc{&surface, CheckedGet, CheckedSet, 0, 0, surface.width, surface.height};
  const float side = float(MAX_SIDE);
  switch (in.Small(0, 4)) {
    case 0:
      DrawLineDC(dc, in.Range(-100000, 100000), in.Range(-100000, 100000),
                 in.Range(-100000, 100000), in.Range(-100000, 100000));
      break;
    case 1:
      DrawThickLineDC(dc, in.Range(-100000, 100000), in.Range(-100000, 100000),
                      in.Range(-100000, 100000), in.Range(-100000, 100000), in.Coord(8.0f));
      break;
    case 2: {
      const float x0 = in.Coord(side), y0 = in.Coord(side), x1 = in.Coord(side),
                  y1 = in.Coord(side);
      const float A = y1 - y0, B = x0 - x1, C = x1 * y0 - x0 * y1;
      const float ls = A * A + B * B;
      AAEdgePixelDCZ(in.Coord(1.0f), 0.0f, in.Coord(64.0f), in.Range(-10, 10000), in.Coord(255.0f),
                     in.Coord(255.0f), in.Coord(255.0f), dc, A, B, C, ls, std::sqrt(ls),
                     in.Coord(side), in.Coord(side), in.Coord(4.0f), x0, y0, x1, y1);
      break;
    }
    case 3:
      BlendPixelDC(in.Coord(255.0f), in.Coord(255.0f), in.Coord(255.0f), dc,
                   in.Range(-100, 100), in.Range(-100, 100), in.Range(0, 255));
      break;
    default: {
      const int count = in.Small(0, MAX_EDGES);
      std::vector<__Point> points(size_t(count > 0 ? count : 1));
      for (__Point& p : points) p = __Point{in.Coord(side), in.Coord(side), in.Coord(64.0f)};
      std::vector<EdgeRecord> edges(size_t(count > 0 ? count : 1));
      for (int k = 0; k < count; ++k)
        edges[size_t(k)] = EdgeRecord{uint8_t(k), uint8_t((k + 1) % count), in.Byte()};
      if (in.Bool() && count > 0)  // any order of the vertices
        for (EdgeRecord& e : edges) e.start = uint8_t(in.Byte() % count), e.end = uint8_t(in.Byte() % count);
      float normal[3] = {in.Coord(1.0f), in.Coord(1.0f), in.Coord(1.0f)};
      FillPolygonDC(count, points.data(), edges.data(), 0, dc, in.Range(-64, 64), in.Range(-64, 64),
                    0, normal);
      break;
    }
  }
}

// ---- the calls ----------------------------------------------------------------

struct State {
  Frame frame;
  Scene scene;
  float* adopted = nullptr;  // a depth buffer handed over with __SetZBuff
  size_t adoptedCount = 0;   // its floats
};

// Textures at the frame's depth before a draw, as a client must keep them.
void MatchTextures(Scene& s) {
  for (__Texture& t : s.textures) __ConvertText(&t);
}

// The frame's buffers follow the depth switch through the converters.
void SetDepth(State& st, unsigned char deep) {
  const bool was = __GetDeep() != 0;
  __SetDeep(deep);
  FUZZ_CHECK(__GetDeep() == deep);
  const bool now = deep != 0;
  Frame& f = st.frame;
  if (was == now || f.dst == nullptr) return;
  const int channels = int(f.rowValues);
  auto convert = now ? __ConvertBYTE8TO16 : __ConvertBYTE16TO8;
  // The new buffers are exact-size pages; the frame keeps room for both
  // depths, so copy them into buffers of the frame's size.
  for (unsigned char** buffer : {&f.dst, &f.src}) {
    if (*buffer == nullptr) continue;
    convert(buffer, f.width, f.height, channels);
    unsigned char* whole = static_cast<unsigned char*>(PageAlloc(f.bytes));
    std::memcpy(whole, *buffer, f.rowValues * size_t(f.height) * (now ? 2 : 1));
    PageFree(*buffer);
    *buffer = whole;
  }
}

// The grid samples of the scene's triangles that the Bezier and contour
// modes walk (the whole grid, beyond the triangle too).
double GridSamples(const Scene& s) {
  double samples = 0.0;
  for (const __Triangle3ds& t : s.triangles) {
    PatchGrid grid;
    if (TriangleIndexed(&t, int(s.points.size())) && PatchGridSteps(&t, s.points.data(), &grid))
      samples += (1.0 / grid.s0 + 1.0) * (1.0 / grid.s1 + 1.0);
  }
  return samples;
}

// failAt >= 0: that many of the call's page allocations succeed, the next
// fails.
void RasterScene(State& st, int failAt) {
  Frame& f = st.frame;
  Scene& s = st.scene;
  const unsigned char mode = __GetDrawMode();
  if ((mode == 9 || mode == 10) && !(GridSamples(s) <= MAX_GRID_SAMPLES)) return;
  MatchTextures(s);
  PageFailAt(failAt);
  __RasterScene(f.dst, f.src, f.width, f.height, f.stride, int(s.points.size()),
                int(s.triangles.size()), s.triangles.data(), s.points.data(), f.centerX,
                f.centerY, s.materialCount, s.Materials(), s.Textures(), s.lightCount,
                s.Lights(), s.Glass());
  PageFailAt(-1);
  // A call of another frame size releases an adopted depth buffer.
  float* z;
  int zw, zh;
  __GetZBuff(z, zw, zh);
  if (st.adopted != nullptr && z != st.adopted) st.adopted = nullptr;
}

// The frame and the adopted depth buffer (its bits) after a draw.
struct Drawn {
  std::vector<uint8_t> frame;
  std::vector<uint8_t> depth;
  bool operator==(const Drawn& o) const { return frame == o.frame && depth == o.depth; }
};

Drawn DrawnNow(const State& st) {
  Drawn d;
  d.frame.assign(st.frame.dst, st.frame.dst + st.frame.bytes);
  if (st.adopted != nullptr) {
    const uint8_t* z = reinterpret_cast<const uint8_t*>(st.adopted);
    d.depth.assign(z, z + st.adoptedCount * sizeof(float));
  }
  return d;
}

void Restore(State& st, const Drawn& d) {
  std::memcpy(st.frame.dst, d.frame.data(), d.frame.size());
  if (st.adopted != nullptr && !d.depth.empty())
    std::memcpy(st.adopted, d.depth.data(), d.depth.size());
}

// Work of walking every sample and box pixel of the scene unclipped, about.
double PlainWork(const Scene& s) {
  double work = 0.0;
  const size_t n = s.points.size();
  for (const __Triangle3ds& t : s.triangles) {
    if (t.vert[0] >= n || t.vert[1] >= n || t.vert[2] >= n) continue;
    const __Point3ds& a = s.points[t.vert[0]];
    const __Point3ds& b = s.points[t.vert[1]];
    const __Point3ds& c = s.points[t.vert[2]];
    auto length = [](const __Point3ds& p, const __Point3ds& q) {
      const double dx = double(p.x) - q.x, dy = double(p.y) - q.y, dz = double(p.z) - q.z;
      return std::sqrt(dx * dx + dy * dy + dz * dz);
    };
    const double l02 = length(a, c), l12 = length(b, c), l01 = length(a, b);
    const double w = (2.0 * l02 + 2.0) * (2.0 * l12 + 2.0) + (l01 + 8.0) * (l01 + l02 + l12 + 8.0);
    if (!(w < MAX_PLAIN_WORK)) return HUGE_VAL;  // also NaN
    work += w;
  }
  return work;
}

// A scene without failures, with the default per-pixel function: on every
// vector path it must draw what the general path draws (one call a pixel,
// through ForwardRenderOnePixel), and where its walks may be clipped, what
// the unclipped walks draw.
void RasterSceneEveryWay(State& st) {
  const Drawn start = DrawnNow(st);
  SimdForcePath(SimdPath::Scalar);
  __SetNewRenderOnePixel(ForwardRenderOnePixel);
  RasterScene(st, -1);
  __SetDefRenderOnePixel();
  const Drawn general = DrawnNow(st);
  for (SimdPath path : kSimdPaths) {
    if (!SimdPathAvailable(path)) continue;
    Restore(st, start);
    SimdForcePath(path);
    RasterScene(st, -1);
    FUZZ_CHECK(DrawnNow(st) == general);
  }
  SimdResetPath();
  const unsigned char mode = __GetDrawMode();
  const bool clippable = mode == 0 || mode == 1 || mode == 2 || mode == 9 || mode == 10;
  if (clippable && PlainWork(st.scene) < MAX_PLAIN_WORK) {
    Restore(st, start);
    gRasterClipWalks = false;
    RasterScene(st, -1);
    gRasterClipWalks = true;
    FUZZ_CHECK(DrawnNow(st) == general);
  }
}

void Call(State& st, ByteReader& in) {
  Frame& f = st.frame;
  Scene& s = st.scene;
  std::vector<uint8_t> before = Untouchable(f);
  const bool canDraw = f.dst != nullptr;
  switch (in.Small(0, 9)) {
    case 0:
      if (canDraw && _RenderOnePixelFunc == RenderOnePixel)
        RasterSceneEveryWay(st);
      else if (canDraw)
        RasterScene(st, -1);
      break;
    case 1:  // out of memory at any of the call's buffers: nothing drawn
      if (canDraw) {
        const std::vector<uint8_t> frame(f.dst, f.dst + f.bytes);
        RasterScene(st, in.Small(0, 8));
        if (RasterSceneOutOfMemory()) FUZZ_CHECK(std::memcmp(frame.data(), f.dst, f.bytes) == 0);
      }
      break;
    case 2:
      if (canDraw) {
        const float m = __GetDeep() ? 32768.0f : 255.0f;
        __RasterSolid(f.dst, f.width, f.height, f.stride, int(s.points.size()),
                      int(s.triangles.size()), s.triangles.data(), s.points.data(), f.centerX,
                      f.centerY, in.Coord(m), in.Coord(m), in.Coord(m), in.Coord(1.0f));
        // The frame geometry is now this frame's: the line routine may follow
        // (it takes no point count: the caller keeps the indices in range).
        if (in.Bool() && TrianglesIndexed(s.triangles, s.points.size()))
          __DrawScenesLineColor(in.Coord(8.0f), in.Range(-70000, 70000), in.Range(-70000, 70000),
                                in.Range(-70000, 70000), f.dst, f.src, f.width, f.height, 0,
                                int(s.triangles.size()), s.triangles.data(), s.points.data(),
                                f.centerX, f.centerY);
        // A detached adopted buffer stays the caller's.
        float* z;
        int zw, zh;
        __GetZBuff(z, zw, zh);
        if (st.adopted != nullptr && z != st.adopted) {
          PageFree(st.adopted);
          st.adopted = nullptr;
        }
      }
      break;
    case 3: {  // takes no point count: the caller keeps the indices in range
      const int count = int(s.triangles.size()) - in.Small(0, 1);
      if (TrianglesIndexed(s.triangles, s.points.size()))
        __Sort(count, s.triangles.data(), s.points.data());
      break;
    }
    case 4: {
      const float val = in.Coord(1.0f), px = in.Coord(float(MAX_SIDE)),
                  py = in.Coord(float(MAX_SIDE)), far = in.Coord(1000.0f);
      __AddPersp(int(s.points.size()), s.points.data(), val, px, py, far);
      FUZZ_CHECK(std::memcmp(&_Persp_Val, &val, sizeof val) == 0);
      break;
    }
    case 5: {  // one switch to any byte value
      const int which = in.Small(0, 10);
      const unsigned char v = in.Byte();
      switch (which) {
        case 0: __SetDrawMode(v); FUZZ_CHECK(__GetDrawMode() == v); break;
        case 1: __SetQuality(v); FUZZ_CHECK(__GetQuality() == (v ? 1 : 0)); break;
        case 2:
          SetDepth(st, v);
          before = Untouchable(f);  // converted with the frame
          break;
        case 3: __SetDubleSide(v); FUZZ_CHECK(__GetDubleSide() == v); break;
        case 4: __SetDrawBackFaces(v); FUZZ_CHECK(__GetDrawBackFaces() == v); break;
        case 5: __SetUseMultyRefract(v); FUZZ_CHECK(__GetUseMultyRefract() == v); break;
        case 6: __SetUsePhong2(v); FUZZ_CHECK(__GetUsePhong2() == v); break;
        case 7: __SetUseGlass(v); FUZZ_CHECK(__GetUseGlass() == v); break;
        case 8: __SetUsePersp(v); FUZZ_CHECK(__GetUsePersp() == v); break;
        case 9: __SetUseReflection(v); FUZZ_CHECK(__GetUseReflection() == v); break;
        default: __SetUseCustomMats(v); FUZZ_CHECK(__GetUseCustomMats() == v); break;
      }
      break;
    }
    case 6: {  // adopt a depth buffer of any size, or none
      if (st.adopted != nullptr) {  // taken back first (still ours)
        __SetZBuff(nullptr, 0, 0);
        PageFree(st.adopted);
        st.adopted = nullptr;
      }
      const int w = in.Small(-1, MAX_SIDE), h = in.Small(-1, MAX_SIDE);
      if (w > 0 && h > 0) {
        const size_t n = size_t(w) * size_t(h);
        st.adoptedCount = n;
        st.adopted = static_cast<float*>(PageAlloc(n * sizeof(float)));
        const float fill = in.Bool() ? in.AnyFloat() : -1.6947395e38f;
        for (size_t i = 0; i < n; ++i) st.adopted[i] = fill;
      }
      __SetZBuff(st.adopted, w, h);
      break;
    }
    case 7:
      __SetLightDef(in.Bool() ? &s.defaultLight : nullptr);
      break;
    case 8: {
      const unsigned char which = in.Byte();
      if (which & 1) {
        for (int c = 0; c < 3; ++c) customOut[c] = in.AnyFloat();
        customOpacity = in.AnyFloat();
        __SetNewRenderOnePixel(CustomPixel);
      } else if (which & 2) {
        __SetNewRenderOnePixel(nullptr);  // restores the default
      } else {
        __SetDefRenderOnePixel();
      }
      _WireSize = WireSize(in);
      break;
    }
    default:
      DrawOnSurface(in);
      break;
  }
  FUZZ_CHECK(Untouchable(f) == before);
  CheckChannels(f);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ResetRenderer();
  const int64_t pagesBefore = PageLiveBlocks();
  ByteReader in(data, size);
  State st;
  ReadFrame(in, st.frame);
  __SetDrawMode(in.Byte());
  __SetQuality(in.Byte());
  SetDepth(st, in.Byte());
  __SetDubleSide(in.Byte());
  __SetDrawBackFaces(in.Byte());
  __SetUseMultyRefract(in.Byte());
  __SetUsePhong2(in.Byte());
  _WireSize = WireSize(in);
  ReadScene(in, st.scene);
  CheckChannels(st.frame);

  const int calls = in.Small(1, MAX_CALLS);
  for (int k = 0; k < calls; ++k) Call(st, in);

  // Everything back: the adopted buffer, the textures, the frame.
  __SetZBuff(nullptr, 0, 0);
  PageFree(st.adopted);
  for (__Texture& t : st.scene.textures) PageFree(t.pixels);
  PageFree(st.frame.dst);
  PageFree(st.frame.src);
  FUZZ_CHECK(PageLiveBlocks() == pagesBefore);
  return 0;
}
