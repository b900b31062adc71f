// The curved wireframe: the curve points of each edge, the segment face
// test, the shading normal and degenerate triangles. Quality is off, so
// every segment is a one-pixel line whose pixels are each shaded once with
// the segment's normal.
#include <cmath>
#include <cstring>
#include <map>
#include <set>
#include <vector>

#include "tests/curved/curved_fixture.h"

namespace curved {
namespace {

class PatchWire : public CurvedFrame {
 protected:
  void DrawEdge(unsigned char edge, __Triangle3ds* t, __Point3ds* p) {
    DrawPatchWireEdge(edge, dst, src, width, height, t, p, 20, 20, 0, nullptr, nullptr, 0, nullptr,
                      nullptr);
  }
  void DrawAll(__Triangle3ds* t, __Point3ds* p) {
    DrawPatchWireEdges(dst, src, width, height, t, p, 20, 20, 0, nullptr, nullptr, 0, nullptr,
                       nullptr);
  }
};

// Edge lengths 10 (vertex 0 to 2) and 5 (vertex 1 to 2): step 0.4.
__Point3ds Corner(int k, float nx, float ny, float nz) {
  const float xy[3][2] = {{0.5f, 0.5f}, {10.5f, 5.5f}, {10.5f, 0.5f}};
  return Vertex(xy[k][0], xy[k][1], 0, nx, ny, nz);
}

TEST_F(PatchWire, SegmentsEndAtTheWorkedOutCurvePoints) {
  // Only vertex 2's normal leans, so the normal's x falls along edge 1 (from
  // vertex 2 to vertex 0) and tells the segments apart.
  __Point3ds p[3] = {Corner(0, 0, 0, 1), Corner(1, 0, 0, 1), Corner(2, 0.3f, 0, 1)};
  __Triangle3ds t = Tri(0, 1, 2);
  DrawEdge(1, &t, p);

  PatchNet net;
  ASSERT_TRUE(BuildPatchNet(&t, p, false, &net));
  std::set<float> expect;
  std::map<float, double> planeD;  // by the normal's x: n . p at the segment's end
  for (double tt : {0.4, 0.8, 1.0}) {
    double b[PATCH_CONTROLS], n[3], q[3];
    PatchBernstein(tt, 0.0, 1.0 - tt, b);
    PatchEval3(net.nrm, b, n);
    PatchEval3(net.pos, b, q);
    expect.insert(float(n[0]));
    planeD[float(n[0])] = n[0] * q[0] + n[1] * q[1] + n[2] * q[2];
  }
  std::set<float> seen;
  for (const ShadeCall& c : recorder.calls) {
    seen.insert(c.nx);
    EXPECT_NEAR(c.plane[3], planeD[c.nx], 1e-5);
    EXPECT_EQ(c.z, 0.0f);
    EXPECT_EQ(c.textured, 0);
    // The shading normal is the curve normal itself: the plane handed to
    // the line is its negation.
    EXPECT_EQ(c.plane[0], -c.nx);
    EXPECT_EQ(c.plane[2], -c.nz);
    EXPECT_GT(c.nz, 0.9f);
  }
  EXPECT_EQ(seen, expect);
  // The polyline runs from vertex 2 to vertex 0 along y = 0.5.
  EXPECT_GT(Channel(dst, 30, 20, 3), 0);
  EXPECT_GT(Channel(dst, 25, 20, 3), 0);
  EXPECT_GT(Channel(dst, 20, 20, 3), 0);
}

TEST_F(PatchWire, EdgeIndicesPickTheirCurves) {
  __Point3ds p[3] = {Corner(0, 0, 0, 1), Corner(1, 0, 0, 1), Corner(2, 0, 0, 1)};
  __Triangle3ds t = Tri(0, 1, 2);
  auto drawn = [&](unsigned char edge) {
    std::memset(dst, 0, size_t(width) * height * 4);
    DrawEdge(edge, &t, p);
    return std::vector<unsigned char>(dst, dst + size_t(width) * height * 4);
  };
  std::vector<unsigned char> e0 = drawn(0), e1 = drawn(1), e2 = drawn(2), e7 = drawn(7);
  EXPECT_EQ(e7, e2);  // any other index is edge 2
  EXPECT_NE(e0, e1);
  EXPECT_NE(e1, e2);
  // Edge 0 runs from vertex 2 up to vertex 1 along x = 10.5 (pixel 30).
  auto alpha = [&](const std::vector<unsigned char>& b, int x, int y) { return b[At(x, y, 3)]; };
  EXPECT_GT(alpha(e0, 30, 23), 0);
  EXPECT_EQ(alpha(e0, 25, 20), 0);
  EXPECT_GT(alpha(e1, 25, 20), 0);
  EXPECT_EQ(alpha(e1, 30, 23), 0);

  // All three edges together.
  std::memset(dst, 0, size_t(width) * height * 4);
  DrawAll(&t, p);
  EXPECT_GT(Channel(dst, 30, 23, 3), 0);
  EXPECT_GT(Channel(dst, 25, 20, 3), 0);
}

TEST_F(PatchWire, FrontPassKeepsSegmentsDownToMinusPointTwo) {
  __Triangle3ds t = Tri(0, 1, 2);
  auto calls = [&](float nz) {
    recorder.calls.clear();
    __Point3ds p[3] = {Corner(0, 0, 0, nz), Corner(1, 0, 0, nz), Corner(2, 0, 0, nz)};
    DrawAll(&t, p);
    return recorder.calls.size();
  };
  EXPECT_GT(calls(0.5f), 0u);
  EXPECT_GT(calls(-0.1f), 0u);
  EXPECT_GT(calls(-0.19f), 0u);
  EXPECT_EQ(calls(-0.21f), 0u);

  _DrawBackFaces1 = 1;  // the back pass: only what turns away
  EXPECT_EQ(calls(0.1f), 0u);
  EXPECT_GT(calls(-0.1f), 0u);
  EXPECT_GT(calls(-0.3f), 0u);

  _DubleSide = 1;
  EXPECT_GT(calls(0.1f), 0u);
  _DrawBackFaces1 = 0;
  EXPECT_GT(calls(-0.5f), 0u);
}

TEST_F(PatchWire, DegenerateAndBrokenTrianglesStaySafe) {
  __Triangle3ds t = Tri(0, 1, 2);
  // All three vertices at one point: one zero-length segment per edge,
  // which draws nothing.
  __Point3ds one[3] = {Vertex(3, 3, 1, 0, 0, 1), Vertex(3, 3, 1, 0.2f, 0, 1),
                       Vertex(3, 3, 1, 0, 0.2f, 1)};
  DrawAll(&t, one);
  // A zero normal: no finite curve at all.
  __Point3ds zero[3] = {Corner(0, 0, 0, 1), Corner(1, 0, 0, 0), Corner(2, 0, 0, 1)};
  DrawAll(&t, zero);
  // NaN and huge positions.
  __Point3ds nan[3] = {Corner(0, 0, 0, 1), Vertex(std::nanf(""), 1, 1, 0, 0, 1),
                       Corner(2, 0, 0, 1)};
  DrawAll(&t, nan);
  __Point3ds huge[3] = {Vertex(-1e30f, 0, 0, 0, 0, 1), Vertex(1e30f, 1, 0, 0, 0, 1),
                        Vertex(0, 1e30f, 0, 0, 0, 1)};
  DrawAll(&t, huge);
  __Point3ds far[3] = {Vertex(-3e5f, 0, 0, 0, 0, 1), Vertex(3e5f, 1, 0, 0, 0, 1),
                       Vertex(0, 3e5f, 0, 0, 0, 1)};
  DrawAll(&t, far);  // long curves, almost all outside the frame
  for (const ShadeCall& c : recorder.calls) {
    EXPECT_TRUE(std::isfinite(c.x) && std::isfinite(c.y));
  }
  size_t farCalls = recorder.calls.size();
  recorder.calls.clear();
  DrawAll(&t, one);
  DrawAll(&t, zero);
  DrawAll(&t, nan);
  DrawAll(&t, huge);
  EXPECT_TRUE(recorder.calls.empty());
  (void)farCalls;
}

}  // namespace
}  // namespace curved
