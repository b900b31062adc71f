// The contour band: colour and coverage by the normal's z, the source
// showing through, the material choice, and the back pass.
#include <cstring>
#include <vector>

#include "tests/curved/curved_fixture.h"

namespace curved {
namespace {

class PatchContour : public CurvedFrame {
 protected:
  void SetUp() override {
    CurvedFrame::SetUp();
    // A source frame with a pattern in every channel.
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        for (int c = 0; c < 4; ++c) SetChannel(src, At(x, y, c), (x * 7 + y * 3 + c * 50) & 255);
  }
  void Draw(float nz, uint16_t material, int count, material3ds* materials) {
    p[0] = Vertex(-6, -5, 0, 0, 0, nz);
    p[1] = Vertex(7, -4, 0, 0, 0, nz);
    p[2] = Vertex(0, 8, 0, 0, 0, nz);
    t = Tri(0, 1, 2, material);
    RasterPatchContour(dst, src, width, height, &t, p, 24, 20, count, materials);
  }
  __Point3ds p[3];
  __Triangle3ds t;
};

TEST_F(PatchContour, BandInRedWithoutMaterials) {
  Draw(0.15f, 0, 0, nullptr);
  int drawn = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (Channel(dst, x, y, 3) != 0) {
        ++drawn;
        EXPECT_EQ(Channel(dst, x, y, 0), 255);
        EXPECT_EQ(Channel(dst, x, y, 1), 0);
        EXPECT_EQ(Channel(dst, x, y, 2), 0);
        EXPECT_GE(Channel(dst, x, y, 3), 254);  // coverage 1 at nz = 0.15
      }
  EXPECT_GT(drawn, 60);
  EXPECT_TRUE(recorder.calls.empty());  // no per-pixel function
  // No depth test and no depth write.
  std::vector<float> cleared(size_t(width) * height);
  std::memset(cleared.data(), 0xFE, cleared.size() * sizeof(float));
  EXPECT_EQ(std::vector<float>(ZBuff, ZBuff + cleared.size()), cleared);

  // A material list of no entries, or a negative count, is no materials.
  material3ds m;
  std::memset(&m, 0, sizeof m);
  m.diffuse[1] = 1.0f;
  std::memset(dst, 0, size_t(width) * height * 4);
  Draw(0.15f, 0, -3, &m);
  EXPECT_EQ(Channel(dst, 24, 20, 0), 255);
  EXPECT_EQ(Channel(dst, 24, 20, 1), 0);
}

TEST_F(PatchContour, MaterialColourAndTheLastMaterialBeyondTheList) {
  material3ds m[2];
  std::memset(m, 0, sizeof m);
  m[0].diffuse[0] = 1.0f;
  m[1].diffuse[0] = 0.2f, m[1].diffuse[1] = 0.4f, m[1].diffuse[2] = 0.6f;
  Draw(0.15f, 7, 2, m);  // index 7 of 2 takes material 1
  EXPECT_EQ(Channel(dst, 24, 20, 0), 51);
  EXPECT_EQ(Channel(dst, 24, 20, 1), 102);
  EXPECT_EQ(Channel(dst, 24, 20, 2), 153);
  std::memset(dst, 0, size_t(width) * height * 4);
  Draw(0.15f, 0, 2, m);
  EXPECT_EQ(Channel(dst, 24, 20, 0), 255);
  EXPECT_EQ(Channel(dst, 24, 20, 1), 0);
}

TEST_F(PatchContour, CoverageFollowsTheBand) {
  // nz = 0.075: h / 0.15 = 1/2, coverage 1/4: alpha 63 over empty pixels.
  Draw(0.075f, 0, 0, nullptr);
  EXPECT_EQ(Channel(dst, 24, 20, 3), 63);
  // nz = 0.225 on the falling side, the same coverage.
  std::memset(dst, 0, size_t(width) * height * 4);
  Draw(0.225f, 0, 0, nullptr);
  EXPECT_NEAR(Channel(dst, 24, 20, 3), 63, 1);
  // Turned away: nothing at all.
  std::memset(dst, 0, size_t(width) * height * 4);
  Draw(-0.1f, 0, 0, nullptr);
  EXPECT_EQ(DrawnPixels(), 0);
}

TEST_F(PatchContour, SourceShowsThroughWhereTheSurfaceFacesTheViewer) {
  Draw(1.0f, 0, 0, nullptr);
  int copied = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      bool touched = false;
      for (int c = 0; c < 4; ++c) touched = touched || Channel(dst, x, y, c) != 0;
      if (!touched) continue;
      ++copied;
      for (int c = 0; c < 4; ++c) EXPECT_EQ(Channel(dst, x, y, c), Channel(src, x, y, c));
    }
  EXPECT_GT(copied, 60);
  EXPECT_EQ(Channel(dst, 24, 20, 0), Channel(src, 24, 20, 0));
  EXPECT_EQ(Channel(dst, 24, 20, 3), Channel(src, 24, 20, 3));
  // Without a source nothing shows through.
  std::memset(dst, 0, size_t(width) * height * 4);
  RasterPatchContour(dst, nullptr, width, height, &t, p, 24, 20, 0, nullptr);
  EXPECT_EQ(DrawnPixels(), 0);
}

TEST_F(PatchContour, SixteenBitSourceCopy) {
  Install(32, 24);
  _Deep = 1;
  MaxChannel = 32768;
  _Stride = 4 * 32;
  PageFree(dst);
  PageFree(src);
  dst = static_cast<unsigned char*>(PageAlloc(32 * 24 * 8));
  src = static_cast<unsigned char*>(PageAlloc(32 * 24 * 8));
  for (int c = 0; c < 4; ++c) SetChannel(src, At(12, 10, c), 30000 + c);
  p[0] = Vertex(-6, -5, 0, 0, 0, 1);
  p[1] = Vertex(7, -4, 0, 0, 0, 1);
  p[2] = Vertex(0, 8, 0, 0, 0, 1);
  t = Tri(0, 1, 2);
  RasterPatchContour(dst, src, width, height, &t, p, 12, 10, 0, nullptr);
  for (int c = 0; c < 4; ++c) EXPECT_EQ(Channel(dst, 12, 10, c), 30000 + c);
  // The band in 16-bit red.
  std::memset(dst, 0, 32 * 24 * 8);
  for (int k = 0; k < 3; ++k) p[k].nz = 0.15f;
  RasterPatchContour(dst, src, width, height, &t, p, 12, 10, 0, nullptr);
  EXPECT_EQ(Channel(dst, 12, 10, 0), 32768);
  EXPECT_GE(Channel(dst, 12, 10, 3), 32700);
  _Deep = 0;
}

TEST_F(PatchContour, NothingInTheBackPass) {
  p[0] = Vertex(-6, -5, 0, 0, 0, 1);
  p[1] = Vertex(7, -4, 0, 0, 0, 1);
  p[2] = Vertex(0, 8, 0, 0, 0, 1);
  t = Tri(0, 1, 2);
  _DrawBackFaces1 = 1;
  RasterSceneContour(dst, src, width, height, 3, 1, &t, p, 24, 20, 0, nullptr, nullptr, 0, nullptr,
                     nullptr);
  EXPECT_EQ(DrawnPixels(), 0);
  _DrawBackFaces1 = 0;
  RasterSceneContour(dst, src, width, height, 3, 1, &t, p, 24, 20, 0, nullptr, nullptr, 0, nullptr,
                     nullptr);
  EXPECT_GT(DrawnPixels(), 60);
}

}  // namespace
}  // namespace curved
