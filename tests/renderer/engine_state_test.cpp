// Switches, sort, perspective, depth-buffer exchange and the 8/16-bit
// converters of the renderer interface.
#include <cmath>
#include <limits>

#include "tests/renderer/renderer_test_support.h"

namespace {

class EngineState : public RendererTest {};

// The module state as this program found it when it started, before any
// test ran: the renderer's globals are constant-initialised, so they hold
// their initial values already.
struct Snapshot {
  unsigned char switches[12];
  float wire, val, px, py, far;
  float* zbuff;
  int zw, zh, maxChannel, stride;
  light3ds* light;
  RenderOnePixelFunc pixel;
};
const Snapshot atStart = {{_DrawMode, _Quality, _Deep, _DubleSide, _DrawBackFaces,
                           _UseMultyRefract, _UsePhong2, _UseGlass, _UsePersp, _UseReflection,
                           _UseCustomMats, _DrawBackFaces1},
                          _WireSize, _Persp_Val, _Persp_x, _Persp_y, _Persp_Far, ZBuff, Zwidth,
                          Zheight, MaxChannel, _Stride, _LightDef, _RenderOnePixelFunc};

TEST_F(EngineState, InitialValuesAtLoad) {
  const unsigned char switches[12] = {6, 1, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0};
  for (int i = 0; i < 12; ++i) EXPECT_EQ(atStart.switches[i], switches[i]) << "switch " << i;
  EXPECT_EQ(atStart.wire, 1.0f);
  EXPECT_EQ(atStart.val, 0.0f);
  EXPECT_EQ(atStart.px + atStart.py, 0.0f);
  EXPECT_EQ(atStart.far, 1000.0f);
  EXPECT_EQ(atStart.zbuff, nullptr);
  EXPECT_EQ(atStart.zw + atStart.zh + atStart.stride, 0);
  EXPECT_EQ(atStart.maxChannel, 255);
  EXPECT_EQ(atStart.light, nullptr);
  EXPECT_EQ(atStart.pixel, &RenderOnePixel);
}

__Point3ds PointAtZ(float z) {
  __Point3ds p{};
  p.z = z;
  return p;
}

__Triangle3ds Tri(uint32_t a, uint32_t b, uint32_t c, uint16_t tag) {
  __Triangle3ds t{};
  t.vert[0] = a;
  t.vert[1] = b;
  t.vert[2] = c;
  t.flags = tag;  // carried untouched: identifies the triangle after sorting
  return t;
}

TEST_F(EngineState, SettersStoreTheByteAsGivenExceptQuality) {
  struct Pair {
    void (*set)(unsigned char);
    unsigned char (*get)();
  } pairs[] = {{__SetDrawMode, __GetDrawMode},         {__SetDeep, __GetDeep},
               {__SetDubleSide, __GetDubleSide},       {__SetDrawBackFaces, __GetDrawBackFaces},
               {__SetUseMultyRefract, __GetUseMultyRefract}, {__SetUsePhong2, __GetUsePhong2},
               {__SetUseGlass, __GetUseGlass},         {__SetUsePersp, __GetUsePersp},
               {__SetUseReflection, __GetUseReflection}, {__SetUseCustomMats, __GetUseCustomMats}};
  for (const Pair& p : pairs) {
    for (int v : {0, 1, 2, 7, 200, 255}) {
      p.set(static_cast<unsigned char>(v));
      EXPECT_EQ(p.get(), v);
    }
  }
  __SetQuality(7);
  EXPECT_EQ(__GetQuality(), 1);
  __SetQuality(255);
  EXPECT_EQ(__GetQuality(), 1);
  __SetQuality(0);
  EXPECT_EQ(__GetQuality(), 0);
  EXPECT_EQ(__mmx_present(), 1);
}

TEST_F(EngineState, SortOrdersFarToNearByDepthSum) {
  // Sums: t0 = 3, t1 = 1, t2 = -6, t3 = 1.5.
  std::vector<__Point3ds> pts = {PointAtZ(1), PointAtZ(1), PointAtZ(1), PointAtZ(0),
                                 PointAtZ(-2), PointAtZ(0.5f)};
  std::vector<__Triangle3ds> tris = {Tri(0, 1, 2, 0), Tri(0, 3, 3, 1), Tri(4, 4, 4, 2),
                                     Tri(5, 5, 5, 3)};
  __Sort(4, tris.data(), pts.data());
  ASSERT_EQ(tris[0].flags, 2);
  EXPECT_EQ(tris[1].flags, 1);
  EXPECT_EQ(tris[2].flags, 3);
  EXPECT_EQ(tris[3].flags, 0);
  EXPECT_EQ(_SortPoints, nullptr);
}

TEST_F(EngineState, SortKeepsTiesInMeshOrder) {
  // A flat cloth at rest: every sum equal.
  std::vector<__Point3ds> pts(3, PointAtZ(1.0f));
  std::vector<__Triangle3ds> tris;
  for (uint16_t i = 0; i < 500; ++i) tris.push_back(Tri(0, 1, 2, i));
  __Sort(int(tris.size()), tris.data(), pts.data());
  for (uint16_t i = 0; i < 500; ++i) ASSERT_EQ(tris[i].flags, i);

  // Two depths interleaved: each group keeps its own order.
  pts.push_back(PointAtZ(0.0f));
  for (uint16_t i = 0; i < 500; ++i) tris[i] = i % 2 ? Tri(3, 3, 3, i) : Tri(0, 1, 2, i);
  __Sort(int(tris.size()), tris.data(), pts.data());
  for (int i = 0; i < 250; ++i) {
    ASSERT_EQ(tris[i].flags, 2 * i + 1);
    ASSERT_EQ(tris[250 + i].flags, 2 * i);
  }
}

TEST_F(EngineState, SortPutsNaNSumsFarthestAndStaysOrdered) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  std::vector<__Point3ds> pts = {PointAtZ(2), PointAtZ(nan), PointAtZ(-1), PointAtZ(5)};
  std::vector<__Triangle3ds> tris;
  const uint32_t pattern[] = {0, 1, 2, 3, 1, 0, 3, 2, 1, 1};
  for (uint16_t i = 0; i < 10; ++i) tris.push_back(Tri(pattern[i], pattern[i], pattern[i], i));
  __Sort(10, tris.data(), pts.data());
  // NaN triangles (1, 4, 8, 9) first in mesh order, then z = -1, 2, 5.
  const uint16_t expected[] = {1, 4, 8, 9, 2, 7, 0, 5, 3, 6};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(tris[i].flags, expected[i]) << "at " << i;
}

TEST_F(EngineState, SortOfNoTrianglesTouchesNothing) {
  __Triangle3ds t = Tri(7, 8, 9, 42);
  __Sort(0, &t, nullptr);
  __Sort(-3, &t, nullptr);
  EXPECT_EQ(t.vert[0], 7u);
  EXPECT_EQ(t.flags, 42);
}

TEST_F(EngineState, PerspectiveDividesAboutTheCentre) {
  __Point3ds p[3] = {};
  p[0].x = 110;
  p[0].y = 40;
  p[0].z = 500;  // q = 0.5
  p[1].x = 101;
  p[1].y = 52;
  p[1].z = 1000;  // z = far: offset times 1e8
  p[2].x = 110;
  p[2].y = 40;
  p[2].z = 1500;  // beyond far: q = -0.5 turns the offset round
  __AddPersp(3, p, 1.0f, 100.0f, 50.0f, 1000.0f);
  EXPECT_FLOAT_EQ(p[0].x, 120.0f);
  EXPECT_FLOAT_EQ(p[0].y, 30.0f);
  EXPECT_EQ(p[0].z, 500.0f);
  EXPECT_FLOAT_EQ(p[1].x, 1e8f + 100.0f);
  EXPECT_FLOAT_EQ(p[1].y, 2e8f + 50.0f);
  EXPECT_EQ(p[2].x, 80.0f);
  EXPECT_EQ(p[2].y, 70.0f);
  EXPECT_EQ(_Persp_Val, 1.0f);
}

TEST_F(EngineState, PerspectiveWithFarOrValZeroOnlyStoresTheGlobals) {
  __Point3ds p{};
  p.x = 3;
  p.y = 4;
  p.z = 5;
  __AddPersp(1, &p, 2.0f, 7.0f, 8.0f, 0.0f);
  EXPECT_EQ(_Persp_Val, 2.0f);
  EXPECT_EQ(_Persp_x, 7.0f);
  EXPECT_EQ(_Persp_y, 8.0f);
  EXPECT_EQ(_Persp_Far, 0.0f);
  __AddPersp(1, &p, 0.0f, 1.0f, 1.0f, 10.0f);
  EXPECT_EQ(_Persp_Far, 10.0f);
  EXPECT_EQ(p.x, 3.0f);
  EXPECT_EQ(p.y, 4.0f);
  EXPECT_EQ(p.z, 5.0f);
}

TEST_F(EngineState, DepthBufferExchange) {
  float buffer[6] = {};
  __SetZBuff(buffer, 3, 2);
  float* b = nullptr;
  int w = -1, h = -1;
  __GetZBuff(b, w, h);
  EXPECT_EQ(b, buffer);
  EXPECT_EQ(w, 3);
  EXPECT_EQ(h, 2);
  __SetZBuff(buffer, 0, 2);  // a valid pointer with width 0 removes it
  __GetZBuff(b, w, h);
  EXPECT_EQ(b, nullptr);
  EXPECT_EQ(w, 0);
  EXPECT_EQ(h, 0);
  __SetZBuff(buffer, 3, -1);
  __GetZBuff(b, w, h);
  EXPECT_EQ(b, nullptr);
  __SetZBuff(nullptr, 3, 2);
  __GetZBuff(b, w, h);
  EXPECT_EQ(w, 0);
}

// Converters ---------------------------------------------------------------

unsigned char* PageCopy8(const std::vector<int>& values) {
  auto* p = static_cast<unsigned char*>(PageAlloc(values.size()));
  for (size_t i = 0; i < values.size(); ++i) p[i] = static_cast<unsigned char>(values[i]);
  return p;
}

unsigned char* PageCopy16(const std::vector<int>& values) {
  auto* p = static_cast<unsigned char*>(PageAlloc(2 * values.size()));
  for (size_t i = 0; i < values.size(); ++i) {
    const uint16_t v = static_cast<uint16_t>(values[i]);
    std::memcpy(p + 2 * i, &v, 2);
  }
  return p;
}

int Read16(const unsigned char* p, size_t i) {
  uint16_t v;
  std::memcpy(&v, p + 2 * i, 2);
  return v;
}

TEST_F(EngineState, EveryEightBitValueSurvivesTheRoundTrip) {
  std::vector<int> all(256);
  for (int v = 0; v < 256; ++v) all[v] = v;
  unsigned char* p = PageCopy8(all);
  unsigned char* const original = p;
  __ConvertBYTE8TO16(&p, 16, 4, 64);  // 4 rows of 64 values
  ASSERT_NE(p, original);
  EXPECT_EQ(Read16(p, 255), 32768);
  EXPECT_EQ(Read16(p, 128), 16448);
  EXPECT_EQ(Read16(p, 1), 129);
  EXPECT_EQ(Read16(p, 0), 0);
  __ConvertBYTE16TO8(&p, 16, 4, 64);
  for (int v = 0; v < 256; ++v) ASSERT_EQ(p[v], v);
  PageFree(p);
}

TEST_F(EngineState, SixteenToEightRoundsAndClamps) {
  unsigned char* p = PageCopy16({32768, 16448, 1, 0, 128, 129, 32769, 65535});
  __ConvertBYTE16TO8(&p, 2, 1, 8);
  const int expected[] = {255, 128, 0, 0, 1, 1, 255, 255};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(p[i], expected[i]) << "at " << i;
  PageFree(p);
}

TEST_F(EngineState, ConverterKeepsTheBufferWhenMemoryRunsOut) {
  unsigned char* p = PageCopy8({1, 2, 3, 4});
  unsigned char* const original = p;
  PageFailAt(0);
  __ConvertBYTE8TO16(&p, 1, 1, 4);
  EXPECT_EQ(p, original);
  EXPECT_EQ(p[3], 4);
  PageFree(p);
}

TEST_F(EngineState, ConvertTextConvertsOnceToTheFrameDepth) {
  __Texture t{};
  t.enabled = 1;
  t.width = 2;
  t.height = 1;
  t.pixels = PageCopy8({255, 128, 1, 0, 10, 20, 30, 40});
  _Deep = 1;
  __ConvertText(&t);
  EXPECT_EQ(t.deep, 1);
  EXPECT_EQ(Read16(t.pixels, 0), 32768);
  EXPECT_EQ(Read16(t.pixels, 2), 129);
  unsigned char* const converted = t.pixels;
  __ConvertText(&t);  // already deep: nothing
  EXPECT_EQ(t.pixels, converted);
  EXPECT_EQ(Read16(t.pixels, 0), 32768);

  _Deep = 0;
  __ConvertText(&t);
  EXPECT_EQ(t.deep, 0);
  EXPECT_EQ(t.pixels[0], 255);
  EXPECT_EQ(t.pixels[7], 40);
  PageFree(t.pixels);
}

TEST_F(EngineState, ConvertTextLeavesDisabledOrFailedTexturesAlone) {
  __Texture t{};
  t.width = 1;
  t.height = 1;
  t.pixels = PageCopy8({9, 9, 9, 9});
  _Deep = 1;
  __ConvertText(&t);  // disabled
  EXPECT_EQ(t.deep, 0);
  t.enabled = 1;
  PageFailAt(0);
  __ConvertText(&t);  // no memory: the flag keeps telling the truth
  EXPECT_EQ(t.deep, 0);
  EXPECT_EQ(t.pixels[0], 9);
  PageFree(t.pixels);
}

}  // namespace
