// The Bezier fill: coverage of a flat patch, interpolation, the face and
// depth rules with the previous-pixel record, and the layered scene loop.
#include <cmath>
#include <set>
#include <utility>
#include <vector>

#include "tests/curved/curved_fixture.h"

namespace curved {
namespace {

class BezierFill : public CurvedFrame {
 protected:
  void Draw(__Triangle3ds* t, __Point3ds* p, int cx = 10, int cy = 10) {
    RasterPatchBezier(dst, src, width, height, t, p, cx, cy, 0, nullptr, nullptr, 0, nullptr,
                      nullptr);
  }
  std::set<std::pair<int, int>> DrawnSet() const {
    std::set<std::pair<int, int>> s;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        if (Channel(dst, x, y, 3) != 0) s.insert({x, y});
    return s;
  }
};

// Vertex 2 at (0.25, 0.25), vertex 0 eight units along x, vertex 1 four
// along y: steps 1/16 and 1/8 are exact, and every sample of the flat patch
// lies a quarter pixel from a pixel boundary.
__Point3ds FlatVertex(int k, float z, float nx, float ny, float nz, float u = 0, float v = 0) {
  const float xy[3][2] = {{8.25f, 0.25f}, {0.25f, 4.25f}, {0.25f, 0.25f}};
  return Vertex(xy[k][0], xy[k][1], z, nx, ny, nz, 1, u, v);
}

TEST_F(BezierFill, FlatPatchCoversExactlyTheLinearSamples) {
  __Point3ds p[3] = {FlatVertex(0, 3, 0, 0, 1, 0.0f, 1.0f), FlatVertex(1, 3, 0, 0, 1, 1.0f, 0.5f),
                     FlatVertex(2, 3, 0, 0, 1, 0.5f, 0.0f)};
  __Triangle3ds t = Tri(0, 1, 2);
  Draw(&t, p);

  // The samples of the plain flat triangle over the same grid.
  std::set<std::pair<int, int>> expect;
  for (int r = 0; r <= 8; ++r)
    for (int c = 0; c < 16; ++c) {
      double w1 = r / 8.0, w0 = c / 16.0;
      if (w0 + w1 > 1.0) continue;
      expect.insert({int(0.25 + 8 * w0 + 10.5), int(0.25 + 4 * w1 + 10.5)});
    }
  EXPECT_EQ(DrawnSet(), expect);

  // Every drawn pixel is the shader's colour at full coverage.
  for (const auto& px : expect) {
    EXPECT_EQ(Channel(dst, px.first, px.second, 0), 100);
    EXPECT_EQ(Channel(dst, px.first, px.second, 2), 200);
    EXPECT_EQ(Channel(dst, px.first, px.second, 3), 255);
  }

  // h = 0: every sample in the plane z = 3 with the vertices' normal; the
  // texture coordinates are the linear blend, and the plane handed on is
  // the tangent plane through the sample.
  ASSERT_FALSE(recorder.calls.empty());
  for (const ShadeCall& c : recorder.calls) {
    EXPECT_NEAR(c.z, 3.0f, 1e-5);
    EXPECT_NEAR(c.nx, 0.0f, 1e-6);
    EXPECT_NEAR(c.nz, 1.0f, 1e-6);
    EXPECT_EQ(c.textured, 1);
    double w0 = (c.x - 0.25) / 8.0, w1 = (c.y - 0.25) / 4.0, w2 = 1.0 - w0 - w1;
    EXPECT_NEAR(c.u, w0 * 0.0 + w1 * 1.0 + w2 * 0.5, 1e-5);
    EXPECT_NEAR(c.v, w0 * 1.0 + w1 * 0.5 + w2 * 0.0, 1e-5);
    EXPECT_NEAR(c.plane[0] * c.x + c.plane[1] * c.y + c.plane[2] * c.z + c.plane[3], 0.0, 1e-4);
    EXPECT_EQ(c.dst, dst);
  }
  // Depth written as the plane's z where a sample landed.
  EXPECT_EQ(ZBuff[10 * width + 12], 3.0f);

  // A normal of z 0.1 grazes the view: coverage (0.1 / 0.2)^2.
  ClearDepth();
  std::memset(dst, 0, size_t(width) * height * 4);
  for (__Point3ds& v : p) v.nz = 0.1f;
  Draw(&t, p);
  EXPECT_EQ(DrawnSet(), expect);
  for (const auto& px : expect) EXPECT_EQ(Channel(dst, px.first, px.second, 3), 63);
}

TEST_F(BezierFill, SamplesJustLeftOfTheFrameLandInColumnZero) {
  // Centre 0: vertex 2 at x = -1.7, samples every half unit along x. The
  // first (-1.7 + 0.5 = -1.2) lies outside; the second (-1.2 + 0.5 = -0.7)
  // truncates to column 0 and is drawn there.
  __Point3ds p[3] = {Vertex(6.3f, 0.25f, 3, 0, 0, 1), Vertex(-1.7f, 4.25f, 3, 0, 0, 1),
                     Vertex(-1.7f, 0.25f, 3, 0, 0, 1)};
  __Triangle3ds t = Tri(0, 1, 2);
  Draw(&t, p, 0, 10);
  bool sawOutside = false, sawColumn0 = false;
  for (const ShadeCall& c : recorder.calls) {
    sawOutside = sawOutside || c.x < -1.5f;
    sawColumn0 = sawColumn0 || std::fabs(c.x + 1.2f) < 1e-4f;
  }
  EXPECT_FALSE(sawOutside);
  EXPECT_TRUE(sawColumn0);
  EXPECT_EQ(Channel(dst, 0, 10, 3), 255);
}

TEST_F(BezierFill, UntexturedWhenAnyVertexIsNot) {
  __Point3ds p[3] = {FlatVertex(0, 3, 0, 0, 1, 0.3f, 0.3f), FlatVertex(1, 3, 0, 0, 1, 0.6f, 0.6f),
                     FlatVertex(2, 3, 0, 0, 1, 0.9f, 0.9f)};
  p[1].textured = 0;
  __Triangle3ds t = Tri(0, 1, 2);
  Draw(&t, p);
  ASSERT_FALSE(recorder.calls.empty());
  for (const ShadeCall& c : recorder.calls) {
    EXPECT_EQ(c.textured, 0);
    EXPECT_EQ(c.u, 0.0f);
    EXPECT_EQ(c.v, 0.0f);
  }
}

TEST_F(BezierFill, DepthIsWrittenBeforeShading) {
  // A near patch that shades fully transparent still hides a far one.
  recorder.opacityByMaterial[1] = 0.0f;
  __Point3ds p[6] = {FlatVertex(0, 5, 0, 0, 1), FlatVertex(1, 5, 0, 0, 1),
                     FlatVertex(2, 5, 0, 0, 1), FlatVertex(0, 3, 0, 0, 1),
                     FlatVertex(1, 3, 0, 0, 1), FlatVertex(2, 3, 0, 0, 1)};
  __Triangle3ds nearT = Tri(0, 1, 2, 1), farT = Tri(3, 4, 5, 0);
  Draw(&nearT, p);
  size_t nearCalls = recorder.calls.size();
  ASSERT_GT(nearCalls, 0u);
  EXPECT_EQ(DrawnPixels(), 0);  // coverage 0 writes nothing
  Draw(&farT, p);
  EXPECT_EQ(recorder.calls.size(), nearCalls);  // never shaded
  EXPECT_EQ(DrawnPixels(), 0);

  // Alone, the far patch draws.
  ClearDepth();
  Draw(&farT, p);
  EXPECT_GT(DrawnPixels(), 0);
}

// The plane z = (x - 0.25) + 4 (y - 0.25): every sample is nearer than all
// earlier ones at its pixel, so only what a test arranges rejects one.
__Point3ds TiltedVertex(int k, float scale) {
  const float z[3] = {8.0f, 16.0f, 0.0f};
  return FlatVertex(k, z[k], -scale, -4 * scale, scale);
}

// The drawn samples of the first grid row (w1 = 0): until x falls back.
std::vector<ShadeCall> FirstRow(const std::vector<ShadeCall>& calls) {
  std::vector<ShadeCall> row;
  for (const ShadeCall& c : calls) {
    if (!row.empty() && c.x < row.back().x) break;
    row.push_back(c);
  }
  return row;
}

TEST_F(BezierFill, DepthRejectionClearsThePreviousPixelRecord) {
  // On a level patch two samples fall in each pixel; the second ties with
  // the first, fails the strict depth test and clears the record, so only
  // the second sample of the row (after the first, alone in pixel 10) sees
  // a valid previous pixel.
  __Point3ds flat[3] = {FlatVertex(0, 3, 0, 0, 1), FlatVertex(1, 3, 0, 0, 1),
                        FlatVertex(2, 3, 0, 0, 1)};
  __Triangle3ds t = Tri(0, 1, 2);
  Draw(&t, flat);
  std::vector<ShadeCall> row = FirstRow(recorder.calls);
  ASSERT_EQ(row.size(), 9u);  // x = 0.25, 0.75, 1.75, ..., 7.75
  EXPECT_EQ(row[0].prev.valid, 0);
  EXPECT_EQ(row[1].prev.valid, 1);
  EXPECT_EQ(row[1].prev.x, row[0].x);
  for (size_t i = 2; i < row.size(); ++i) {
    EXPECT_FLOAT_EQ(row[i].x, 0.75f + float(i - 1)) << i;
    EXPECT_EQ(row[i].prev.valid, 0) << i;
  }

  // Tilted so that every sample is nearer than the ones before it: each
  // sees its predecessor.
  recorder.calls.clear();
  ClearDepth();
  std::memset(dst, 0, size_t(width) * height * 4);
  __Point3ds p[3] = {TiltedVertex(0, 1), TiltedVertex(1, 1), TiltedVertex(2, 1)};
  Draw(&t, p);
  row = FirstRow(recorder.calls);
  ASSERT_GT(row.size(), 16u);
  EXPECT_EQ(row[0].prev.valid, 0);
  for (size_t i = 1; i < row.size(); ++i) {
    EXPECT_EQ(row[i].prev.valid, 1) << i;
    EXPECT_EQ(row[i].prev.x, row[i - 1].x) << i;
    EXPECT_EQ(row[i].prev.nz, row[i - 1].nz) << i;
  }
  const size_t full = row.size();

  // Block pixel 14 of that row: its samples are skipped, and the first one
  // after them finds the record cleared.
  recorder.calls.clear();
  ClearDepth();
  ZBuff[10 * width + 14] = 1e30f;
  Draw(&t, p);
  row = FirstRow(recorder.calls);
  size_t blocked = 0;
  bool after = false;
  for (size_t i = 1; i < row.size(); ++i) {
    EXPECT_NE(int(row[i].x + 10.5f), 14);
    bool first = !after && row[i].x + 10.5f >= 15.0f;
    after = after || first;
    EXPECT_EQ(row[i].prev.valid, first ? 0 : 1) << row[i].x;
  }
  blocked = full - row.size();
  EXPECT_GE(blocked, 2u);
  EXPECT_TRUE(after);
}

TEST_F(BezierFill, LeavingTheFrameClearsThePreviousPixelRecord) {
  // The edge from vertex 2 to vertex 0 (40 units, the first row of samples)
  // starts and ends in pixel row 0 but bows 3.3 units up between (normals
  // (-1, -1, 1) and (1, -1, 1)): the row leaves the frame and comes back,
  // and the first sample back finds the record cleared. Every valid record
  // is the sample just before, less than a pixel away.
  __Point3ds p[3] = {Vertex(40, -10.25f, 0, 1, -1, 1), Vertex(0, 10, 0, 0, 0, 1),
                     Vertex(0, -10.25f, 0, -1, -1, 1)};
  __Triangle3ds t = Tri(0, 1, 2);
  Draw(&t, p);
  bool start = false, end = false;
  for (const ShadeCall& c : recorder.calls) {
    start = start || (c.x < 3 && c.y < -9.5f);
    end = end || (c.x > 37 && c.y < -9.5f);
    if (c.prev.valid) {
      ASSERT_LT(std::hypot(c.x - c.prev.x, c.y - c.prev.y), 1.0f) << c.x << ", " << c.y;
    }
  }
  EXPECT_TRUE(start && end);
}

TEST_F(BezierFill, FaceRejectionKeepsThePreviousPixelRecord) {
  // A level patch (rows a pixel row apart at w1 = 3/8 and 1/2) with normal
  // values (0, 0, k), k = 1.02, -1, 1.02: along the row w1 = 1/2 the normal's
  // z is 0.01 at both ends and negative between.
  const float k[3] = {1.02f, -1.0f, 1.02f};
  const float xy[3][2] = {{8.25f, 0.75f}, {0.25f, 4.75f}, {0.25f, 0.75f}};
  __Point3ds p[3];
  for (int i = 0; i < 3; ++i) p[i] = Vertex(xy[i][0], xy[i][1], 0, 0, 0, k[i]);
  __Triangle3ds t = Tri(0, 1, 2);
  Draw(&t, p);
  std::vector<ShadeCall> row;
  for (const ShadeCall& c : recorder.calls)
    if (std::fabs(c.y - 2.75f) < 0.01f) row.push_back(c);
  ASSERT_EQ(row.size(), 2u);
  EXPECT_NEAR(row[0].x, 0.25f, 1e-4);
  EXPECT_NEAR(row[1].x, 4.25f, 1e-4);
  EXPECT_EQ(row[0].prev.valid, 0);
  EXPECT_EQ(row[1].prev.valid, 1);
  EXPECT_EQ(row[1].prev.x, row[0].x);
  EXPECT_NEAR(row[1].nz, 0.01f, 1e-6);
}

TEST_F(BezierFill, BackPassDrawsOnlyTheFacesTurnedAway) {
  // Normal z +1 at vertices 0 and 1, -1 at vertex 2: both signs occur.
  __Point3ds p[3] = {FlatVertex(0, 3, 0, 0, 1), FlatVertex(1, 3, 0, 0, 1),
                     FlatVertex(2, 3, 0, 0, -1)};
  __Triangle3ds t = Tri(0, 1, 2);
  auto signs = [&](int* pos, int* neg) {
    *pos = *neg = 0;
    for (const ShadeCall& c : recorder.calls) (c.nz >= 0 ? *pos : *neg) += 1;
    recorder.calls.clear();
    ClearDepth();
  };
  int pos, neg;
  Draw(&t, p);
  signs(&pos, &neg);
  EXPECT_GT(pos, 0);
  EXPECT_EQ(neg, 0);

  _DrawBackFaces1 = 1;
  Draw(&t, p);
  signs(&pos, &neg);
  EXPECT_EQ(pos, 0);
  EXPECT_GT(neg, 0);

  _DubleSide = 1;  // every face, in either pass
  Draw(&t, p);
  signs(&pos, &neg);
  EXPECT_GT(pos, 0);
  EXPECT_GT(neg, 0);

  _DubleSide = 0;
  _DrawBackFaces1 = 0;
  _UseMultyRefract = 2;  // the front pass draws every face
  Draw(&t, p);
  signs(&pos, &neg);
  EXPECT_GT(pos, 0);
  EXPECT_GT(neg, 0);
  _DrawBackFaces1 = 1;  // but the back pass keeps its rule
  Draw(&t, p);
  signs(&pos, &neg);
  EXPECT_EQ(pos, 0);
  EXPECT_GT(neg, 0);
}

TEST_F(BezierFill, BrokenTrianglesDrawNothing) {
  __Triangle3ds t = Tri(0, 1, 2);
  __Point3ds zero[3] = {FlatVertex(0, 3, 0, 0, 1), FlatVertex(1, 3, 0, 0, 0),
                        FlatVertex(2, 3, 0, 0, 1)};
  Draw(&t, zero);
  const float nan = std::nanf("");
  __Point3ds bad[3] = {FlatVertex(0, nan, 0, 0, 1), FlatVertex(1, 3, 0, 0, 1),
                       FlatVertex(2, 3, 0, 0, 1)};
  Draw(&t, bad);
  // Far outside the frame, and far beyond what a frame could use.
  __Point3ds off[3] = {Vertex(5000, 5000, 0, 0, 0, 1), Vertex(5100, 5000, 0, 0, 0, 1),
                       Vertex(5000, 5050, 0, 0, 0, 1)};
  Draw(&t, off);
  __Point3ds huge[3] = {Vertex(-1e7f, -1e7f, 0, 0, 0, 1), Vertex(1e7f, -1e7f, 0, 0, 0, 1),
                        Vertex(0, 1e7f, 0, 0, 0, 1)};
  Draw(&t, huge);
  EXPECT_TRUE(recorder.calls.empty());
  EXPECT_EQ(DrawnPixels(), 0);
}

// ---------------------------------------------------------------------------
// The scene loop: each triangle through the edge layer over its padded box.
// ---------------------------------------------------------------------------

TEST_F(BezierFill, SceneLoopShowsOnlyWhatFallsInsideTheBox) {
  // Normals leaning hard toward +x lift the centre far to the right: the
  // patch bulges beyond its box (margin 4, its own extent), and what lies
  // beyond leaves its depth but is not shown. Quality does not matter.
  _Quality = 0;
  __Point3ds p[3] = {Vertex(0, 0, 0, 50, 0, 1), Vertex(4, 0, 0, 50, 0, 1),
                     Vertex(0, 4, 0, 50, 0, 1)};
  __Triangle3ds t = Tri(0, 1, 2);
  PatchBox box = PatchLayerBox(&t, p, 10, 20);
  EXPECT_EQ(box.right, 18);
  RasterSceneBezier(dst, src, width, height, 3, 1, &t, p, 10, 20, 0, nullptr, nullptr, 0, nullptr,
                    nullptr);
  ASSERT_FALSE(recorder.calls.empty());
  int outside = 0, insideDrawn = 0;
  for (const ShadeCall& c : recorder.calls) {
    EXPECT_EQ(c.dst, _EdgeLayer);
    int px = int(c.x + 10.5f), py = int(c.y + 20.5f);
    if (px >= box.right) {
      ++outside;
      EXPECT_EQ(Channel(dst, px, py, 3), 0) << px << "," << py;
      EXPECT_GT(ZBuff[py * width + px], -1e30f);
    } else if (Channel(dst, px, py, 3) != 0) {
      ++insideDrawn;
    }
  }
  EXPECT_GT(outside, 0);
  EXPECT_GT(insideDrawn, 0);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (x < box.left || x >= box.right || y < box.top || y >= box.bottom) {
        EXPECT_EQ(Channel(dst, x, y, 3), 0);
      }
}

}  // namespace
}  // namespace curved
