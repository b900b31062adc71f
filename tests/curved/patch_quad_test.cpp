// The patch subdivision: the six vertices and four sub-triangles, the
// pixels it hands to the Phong set-up, and its face test.
#include <cmath>
#include <cstring>

#include "tests/curved/curved_fixture.h"

namespace curved {
namespace {

class PatchQuad : public CurvedFrame {
 protected:
  void Draw(__Triangle3ds* t, __Point3ds* p, unsigned char* into = nullptr) {
    RasterPatchQuad(into ? into : dst, src, width, height, nullptr, nullptr, 0, t, p, 20, 16, 0,
                    nullptr, nullptr);
  }
};

TEST_F(PatchQuad, FaceNormalsGiveThePlainMidpointSubdivision) {
  __Point3ds p[3] = {Vertex(-6, -4, 2, 0, 0, 1, 1, 0.0f, 0.0f),
                     Vertex(10, -2, 2, 0, 0, 1, 1, 1.0f, 0.0f),
                     Vertex(1, 12, 2, 0, 0, 1, 1, 0.5f, 1.0f)};
  __Triangle3ds t = Tri(0, 1, 2, 3);
  t.flags = 0x1234;
  __Point3ds v[6];
  __Triangle3ds s[4];
  BuildPatchQuad(&t, p, v, s);
  const float mid[3][2] = {{2, -3}, {5.5f, 5}, {-2.5f, 4}};  // (0,1), (1,2), (0,2)
  const float uv[3][2] = {{0.5f, 0}, {0.75f, 0.5f}, {0.25f, 0.5f}};
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(v[3 + k].x, mid[k][0]) << k;
    EXPECT_EQ(v[3 + k].y, mid[k][1]) << k;
    EXPECT_EQ(v[3 + k].z, 2.0f) << k;
    EXPECT_EQ(v[3 + k].nz, 1.0f) << k;
    EXPECT_EQ(v[3 + k].textured, 1) << k;
    EXPECT_EQ(v[3 + k].u, uv[k][0]) << k;
    EXPECT_EQ(v[3 + k].v, uv[k][1]) << k;
  }
  const uint32_t subs[4][3] = {{0, 3, 5}, {3, 1, 4}, {4, 2, 5}, {3, 4, 5}};
  for (int i = 0; i < 4; ++i) {
    for (int k = 0; k < 3; ++k) EXPECT_EQ(s[i].vert[k], subs[i][k]);
    EXPECT_EQ(s[i].flags, 0x1234);
    EXPECT_EQ(s[i].material, 3);
  }

  // The pixels are those of the four plain sub-triangles drawn by the
  // Phong set-up, with or without quality.
  for (unsigned char quality : {0, 1}) {
    _Quality = quality;
    std::memset(dst, 0, size_t(width) * height * 4);
    ClearDepth();
    Draw(&t, p);
    std::vector<unsigned char> got(dst, dst + size_t(width) * height * 4);
    std::vector<float> gotDepth(ZBuff, ZBuff + size_t(width) * height);

    std::memset(dst, 0, size_t(width) * height * 4);
    ClearDepth();
    __Point3ds plain[6] = {p[0], p[1], p[2], p[0], p[1], p[0]};
    for (int k = 0; k < 3; ++k) {
      plain[3 + k].x = mid[k][0];
      plain[3 + k].y = mid[k][1];
      plain[3 + k].u = uv[k][0];
      plain[3 + k].v = uv[k][1];
    }
    for (int i = 0; i < 4; ++i)
      SetupTrianglePhong(dst, src, width, height, nullptr, nullptr, 0, &s[i], plain, 20, 16, 0,
                         nullptr, nullptr);
    EXPECT_EQ(got, std::vector<unsigned char>(dst, dst + size_t(width) * height * 4));
    EXPECT_EQ(gotDepth, std::vector<float>(ZBuff, ZBuff + size_t(width) * height));
    EXPECT_GT(DrawnPixels(), 100);
  }
}

TEST_F(PatchQuad, MidpointsMoveHalfwayTowardTheTangentPlanes) {
  // Edge (0, 1): m = (2, 0, 0); its projection on vertex 0's plane z = 0 is
  // m, on vertex 1's plane x + z = 4 it is (3, 0, 1); the vertex lies
  // halfway between m and their mean: (2.25, 0, 0.25).
  __Point3ds p[3] = {Vertex(0, 0, 0, 0, 0, 1), Vertex(4, 0, 0, 1, 0, 1),
                     Vertex(0, 4, 0, 0, 0, 1, 1)};
  __Triangle3ds t = Tri(0, 1, 2);
  __Point3ds v[6];
  __Triangle3ds s[4];
  BuildPatchQuad(&t, p, v, s);
  EXPECT_FLOAT_EQ(v[3].x, 2.25f);
  EXPECT_FLOAT_EQ(v[3].y, 0.0f);
  EXPECT_FLOAT_EQ(v[3].z, 0.25f);
  EXPECT_FLOAT_EQ(v[3].nx, 0.5f);
  EXPECT_FLOAT_EQ(v[3].nz, 1.0f);
  // Edge (0, 2) touches only level planes: the plain midpoint.
  EXPECT_EQ(v[5].x, 0.0f);
  EXPECT_EQ(v[5].y, 2.0f);
  EXPECT_EQ(v[5].z, 0.0f);
  // Only vertex 2 is textured: the new vertices are not.
  EXPECT_EQ(v[3].textured, 0);
  EXPECT_EQ(v[4].textured, 0);
  EXPECT_EQ(v[5].textured, 0);
}

TEST_F(PatchQuad, EachSubTriangleIsFaceTested) {
  // Front-facing (its face normal's z is positive).
  __Point3ds p[3] = {Vertex(-8, -6, 0, 0, 0, 1), Vertex(8, -6, 0, 0, 0, 1),
                     Vertex(0, 8, 0, 0, 0, 1)};
  __Point3ds q[3] = {p[0], p[2], p[1]};  // the same, turned away
  float nx, ny, nz;
  __Triangle3ds t = Tri(0, 1, 2);
  TriangleNormal(&t, p, nx, ny, nz);
  ASSERT_GT(nz, 0.0f);

  Draw(&t, p);
  EXPECT_GT(DrawnPixels(), 0);
  size_t front = recorder.calls.size();
  recorder.calls.clear();
  ClearDepth();
  Draw(&t, q);  // front pass, turned away: nothing
  EXPECT_TRUE(recorder.calls.empty());

  _DrawBackFaces1 = 1;
  Draw(&t, p);  // back pass, front-facing: nothing
  EXPECT_TRUE(recorder.calls.empty());
  Draw(&t, q);
  EXPECT_EQ(recorder.calls.size(), front);

  recorder.calls.clear();
  ClearDepth();
  _DrawBackFaces1 = 0;
  _UseMultyRefract = 2;  // the front pass draws both
  Draw(&t, q);
  EXPECT_EQ(recorder.calls.size(), front);
}

TEST_F(PatchQuad, ZeroOrBrokenNormalsDrawNothing) {
  __Triangle3ds t = Tri(0, 1, 2);
  __Point3ds zero[3] = {Vertex(-8, -6, 0, 0, 0, 0), Vertex(8, -6, 0, 0, 0, 1),
                        Vertex(0, 8, 0, 0, 0, 1)};
  Draw(&t, zero);
  __Point3ds nan[3] = {Vertex(-8, -6, 0, 0, 0, 1), Vertex(8, -6, 0, std::nanf(""), 0, 1),
                       Vertex(0, 8, 0, 0, 0, 1)};
  Draw(&t, nan);
  EXPECT_TRUE(recorder.calls.empty());
  EXPECT_EQ(DrawnPixels(), 0);
}

TEST_F(PatchQuad, SceneLoopDrawsThroughTheLayerWhateverTheQuality) {
  __Point3ds p[3] = {Vertex(-8, -6, 0, 0, 0, 1), Vertex(8, -6, 0, 0, 0, 1),
                     Vertex(0, 8, 0, 0, 0, 1)};
  __Triangle3ds t = Tri(0, 1, 2);
  _Quality = 0;
  RasterScenePatches(dst, src, width, height, 3, 1, &t, p, 20, 16, 0, nullptr, nullptr, 0, nullptr,
                     nullptr);
  ASSERT_FALSE(recorder.calls.empty());
  for (const ShadeCall& c : recorder.calls) EXPECT_EQ(c.dst, _EdgeLayer);
  EXPECT_GT(DrawnPixels(), 100);
}

}  // namespace
}  // namespace curved
