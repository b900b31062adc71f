// The curved draw modes through __RasterScene: a cloth-like mesh drawn in
// modes 2, 8, 9 and 10 against small golden frames, the back-face pass of
// the contour band, and hostile meshes.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "platform/page_memory.h"
#include "renderer/raster/raster_internal.h"
#include "renderer/renderer.h"
#include "tests/curved/cloth_like_mesh.h"
#include "tests/curved/golden_png.h"

#ifndef CURVED_GOLDEN_DIR
#define CURVED_GOLDEN_DIR "."
#endif

namespace curved {
namespace {

constexpr int kWidth = 80, kHeight = 60;

struct Frame {
  std::vector<uint8_t> pixels;  // R, G, B, A at 8 bits
};

// The switches as the effect sets them for a render, then one call.
Frame Render(unsigned char mode, ClothLikeMesh mesh, unsigned char quality = 1,
             unsigned char backFaces = 0) {
  __SetQuality(quality);
  __SetDrawMode(mode);
  __SetDeep(0);
  __SetUseMultyRefract(0);
  __SetDubleSide(1);
  __SetDrawBackFaces(backFaces);
  const uint64_t bytes = uint64_t(kWidth) * kHeight * 4;
  unsigned char* dst = static_cast<unsigned char*>(PageAlloc(bytes));
  unsigned char* src = static_cast<unsigned char*>(PageAlloc(bytes));
  for (uint64_t i = 0; i < bytes; ++i) src[i] = uint8_t(i * 37 >> 3);
  __Sort(int(mesh.triangles.size()), mesh.triangles.data(), mesh.points.data());
  __RasterScene(dst, src, kWidth, kHeight, 4 * kWidth, int(mesh.points.size()),
                int(mesh.triangles.size()), mesh.triangles.data(), mesh.points.data(), kWidth / 2,
                kHeight / 2, 0, nullptr, nullptr, 0, nullptr, nullptr);
  Frame f;
  f.pixels.assign(dst, dst + bytes);
  PageFree(dst);
  PageFree(src);
  __SetDrawBackFaces(0);
  __SetDubleSide(0);
  __SetUseMultyRefract(1);
  __SetDrawMode(6);
  __SetQuality(1);
  return f;
}

int Covered(const Frame& f) {
  int n = 0;
  for (size_t i = 3; i < f.pixels.size(); i += 4) n += f.pixels[i] != 0;
  return n;
}

void ExpectGolden(const std::string& name, const Frame& f) {
  ExpectGoldenFrame(CURVED_GOLDEN_DIR, name, kWidth, kHeight, f.pixels);
}

TEST(CurvedScene, GoldenFramesOfTheClothLikeMesh) {
  ClothLikeMesh mesh = BuildClothLikeMesh(14, 11, kWidth, kHeight);
  const int64_t live = PageLiveBlocks();
  struct Mode {
    unsigned char value;
    const char* name;
  } modes[] = {{2, "wire"}, {8, "patches"}, {9, "bezier"}, {10, "contour"}};
  // Deeper folds for the contour band, which shows only where the surface
  // turns nearly edge-on.
  ClothLikeMesh steep = BuildClothLikeMesh(14, 11, kWidth, kHeight, 0.4f);
  for (const Mode& m : modes) {
    const ClothLikeMesh& use = m.value == 10 ? steep : mesh;
    Frame f = Render(m.value, use);
    EXPECT_FALSE(RasterSceneOutOfMemory());
    EXPECT_GT(Covered(f), kWidth * kHeight / (m.value == 2 ? 8 : 2)) << m.name;
    ExpectGolden(m.name, f);
    // The same frame again: nothing carries over between calls.
    EXPECT_EQ(Render(m.value, use).pixels, f.pixels) << m.name;
  }
  EXPECT_EQ(PageLiveBlocks(), live);
}

TEST(CurvedScene, BezierAndContourDoNotReadQuality) {
  // Both draw the same frame with quality on and off (the default material
  // has no maps, so the per-pixel function does not read it either).
  ClothLikeMesh mesh = BuildClothLikeMesh(14, 11, kWidth, kHeight);
  EXPECT_EQ(Render(9, mesh, 0).pixels, Render(9, mesh, 1).pixels);
  EXPECT_EQ(Render(10, mesh, 0).pixels, Render(10, mesh, 1).pixels);
}

TEST(CurvedScene, ContourDrawsNothingInTheBackPass) {
  ClothLikeMesh mesh = BuildClothLikeMesh(14, 11, kWidth, kHeight);
  Frame plain = Render(10, mesh, 1, 0);
  Frame withBack = Render(10, mesh, 1, 1);
  EXPECT_EQ(plain.pixels, withBack.pixels);
}

ClothLikeMesh Hostile() {
  ClothLikeMesh m = BuildClothLikeMesh(8, 6, kWidth, kHeight);
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  const float values[] = {nan, inf, -inf, 1e30f, -1e30f, 3e6f, 0.0f};
  // Poison some vertices' positions and normals, and zero others' normals.
  for (size_t i = 0; i < m.points.size(); ++i) {
    __Point3ds& p = m.points[i];
    switch (i % 5) {
      case 0:
        p.x = values[i % 7];
        break;
      case 1:
        p.nx = p.ny = p.nz = 0.0f;
        break;
      case 2:
        p.nz = values[(i + 3) % 7];
        break;
      case 3:
        p.z = values[(i + 1) % 7];
        break;
      default:
        break;
    }
  }
  // Degenerate triangles: collinear, and all corners on one vertex.
  m.triangles.push_back({{0, 1, 2}, 0, 0});
  m.triangles.push_back({{4, 4, 4}, 0, 0});
  // A triangle far larger than the frame, and one far outside it.
  uint32_t n = uint32_t(m.points.size());
  m.points.push_back(m.points[4]);
  m.points.back().x = -2e5f, m.points.back().y = -2e5f;
  m.points.push_back(m.points[4]);
  m.points.back().x = 2e5f, m.points.back().y = -2e5f;
  m.points.push_back(m.points[4]);
  m.points.back().x = 0, m.points.back().y = 2e5f;
  m.triangles.push_back({{n, n + 1, n + 2}, 0, 0});
  return m;
}

TEST(CurvedScene, HostileMeshesEndAndStayInTheFrame) {
  const int64_t live = PageLiveBlocks();
  for (unsigned char mode : {2, 8, 9, 10})
    for (unsigned char quality : {0, 1}) {
      Frame f = Render(mode, Hostile(), quality);
      EXPECT_EQ(f.pixels.size(), size_t(kWidth) * kHeight * 4);
    }

  // Only zero normals: no finite surface anywhere, nothing drawn.
  ClothLikeMesh zero = BuildClothLikeMesh(8, 6, kWidth, kHeight);
  for (__Point3ds& p : zero.points) p.nx = p.ny = p.nz = 0.0f;
  for (unsigned char mode : {2, 8, 9, 10}) EXPECT_EQ(Covered(Render(mode, zero)), 0) << int(mode);
  EXPECT_EQ(PageLiveBlocks(), live);
}

}  // namespace
}  // namespace curved
