// Edge lists, winding and the small geometric routines of the set-up.
#include <cmath>

#include "tests/raster/raster_fixture.h"

namespace {

EdgeRecord E(uint8_t s, uint8_t e, uint8_t f = 0) { return EdgeRecord{s, e, f}; }

bool SameList(const EdgeRecord* a, std::initializer_list<EdgeRecord> b) {
  int i = 0;
  for (const EdgeRecord& r : b) {
    if (a[i].start != r.start || a[i].end != r.end || a[i].flag != r.flag) return false;
    ++i;
  }
  return true;
}

// Signed turn of the fixed list P0 -> P1 -> P2 (counter-clockwise > 0 with y up).
float Cross(const __Point3ds* v, const EdgeRecord* e) {
  const __Point3ds &p0 = v[e[0].start], &p1 = v[e[1].start], &p2 = v[e[1].end];
  return (p1.x - p0.x) * (p2.y - p0.y) - (p1.y - p0.y) * (p2.x - p0.x);
}

}  // namespace

TEST(EdgeList, RotateExamples) {
  EdgeRecord l[3] = {E(0, 1), E(1, 2), E(2, 0)};
  RotateEdgeList(3, 0, l);
  EXPECT_TRUE(SameList(l, {E(0, 1), E(1, 2), E(2, 0)}));
  RotateEdgeList(3, 2, l);
  EXPECT_TRUE(SameList(l, {E(2, 0), E(0, 1), E(1, 2)}));
  RotateEdgeList(3, 1, l);
  EXPECT_TRUE(SameList(l, {E(0, 1), E(1, 2), E(2, 0)}));
}

TEST(EdgeList, TopVertexTiesTakeTheLaterRecordAndMinYIsTheLeast) {
  __Point3ds v[3] = {Vtx(0, 5), Vtx(4, 5), Vtx(2, -0.5f)};
  EdgeRecord l[3] = {E(0, 1), E(1, 2), E(2, 0)};
  float minY = 0;
  EXPECT_EQ(TopBottomVertex(3, v, l, minY), 1);  // vertex 1 ties vertex 0 and comes later
  EXPECT_EQ(minY, -0.5f);
  EXPECT_EQ(TruncToInt(minY), 0);  // handed on truncated toward zero
  v[2].y = 7.9f;
  EXPECT_EQ(TopBottomVertex(3, v, l, minY), 2);
  EXPECT_EQ(TruncToInt(minY), 5);

  __Point q[3] = {{0, 3, 0}, {1, 3, 0}, {2, 3, 0}};
  EXPECT_EQ(TopBottomVertex2D(3, q, l, minY), 2);  // all equal: the last wins
  EXPECT_EQ(minY, 3.0f);
}

TEST(FixWinding, CollinearAndCoincidentLowerVerticesAreNotDrawn) {
  __Point3ds line[3] = {Vtx(0, 10), Vtx(5, 5), Vtx(10, 0)};
  EdgeRecord l[3] = {E(0, 1), E(1, 2), E(2, 0)};
  EXPECT_FALSE(FixWinding(l, line));
  __Point3ds twin[3] = {Vtx(0, 10), Vtx(5, 0), Vtx(5, 0)};
  EXPECT_FALSE(FixWinding(l, twin));  // turn 0
}

TEST(FixWinding, CoincidentTopVertexIsLeftAlone) {
  // 0/0 inside the arc cosine: no turn, true, nothing exchanged.
  __Point3ds v[3] = {Vtx(3, 10), Vtx(3, 10), Vtx(0, 0)};
  EdgeRecord l[3] = {E(0, 1, 7), E(1, 2, 8), E(2, 0, 9)};
  EXPECT_TRUE(FixWinding(l, v));
  EXPECT_TRUE(SameList(l, {E(0, 1, 7), E(1, 2, 8), E(2, 0, 9)}));
  EXPECT_EQ(v[1].x, 3.0f);
  EXPECT_EQ(v[2].x, 0.0f);
}

TEST(FixWinding, ClockwiseIsFlippedWithTheFlagsOfFirstAndLast) {
  // From the top (0, 10): to (10, 0) then (0, 0) turns clockwise.
  __Point3ds v[3] = {Vtx(0, 10, 1), Vtx(10, 0, 2), Vtx(0, 0, 3)};
  EdgeRecord l[3] = {E(0, 1, 7), E(1, 2, 8), E(2, 0, 9)};
  EXPECT_TRUE(FixWinding(l, v));
  EXPECT_TRUE(SameList(l, {E(0, 1, 9), E(1, 2, 8), E(2, 0, 7)}));
  EXPECT_EQ(v[1].x, 0.0f);  // whole records exchanged
  EXPECT_EQ(v[1].z, 3.0f);
  EXPECT_EQ(v[2].x, 10.0f);
  EXPECT_EQ(v[2].z, 2.0f);
  EXPECT_GT(Cross(v, l), 0.0f);

  __Point p[3] = {{0, 10, 1}, {10, 0, 2}, {0, 0, 3}};
  EdgeRecord m[3] = {E(0, 1, 7), E(1, 2, 8), E(2, 0, 9)};
  FixWinding2D(m, p);
  EXPECT_EQ(p[1].x, 0.0f);
  EXPECT_EQ(p[1].z, 3.0f);
  EXPECT_TRUE(SameList(m, {E(0, 1, 9), E(1, 2, 8), E(2, 0, 7)}));
}

TEST_F(RasterTest, BothVertexOrdersReachTheConverterAlikeAndTheSceneIsUnchanged) {
  MakeFrame(32, 32);
  __Point3ds pts[3] = {Vtx(3, 25, 1), Vtx(20, 4, 2), Vtx(27, 17, 3)};
  const std::vector<unsigned char> before(reinterpret_cast<unsigned char*>(pts),
                                          reinterpret_cast<unsigned char*>(pts) + sizeof pts);
  _Quality = 0;
  __Triangle3ds a = Tri(0, 1, 2), b = Tri(2, 1, 0);
  DrawTriangle(Fill::Flat, dst_.data(), pts, a);
  const auto first = ShadedPixels();
  const __Point firstNormal = Recorder::Calls().at(0).normal;
  ASSERT_FALSE(first.empty());
  Recorder::Calls().clear();
  std::memset(depth_.data(), 0xFE, depth_.size() * sizeof(float));
  DrawTriangle(Fill::Flat, dst_.data(), pts, b);
  EXPECT_EQ(ShadedPixels(), first);
  // The Flat normal is the negated plane normal: nz <= 0 gives a normal
  // towards the viewer, the same for both orders.
  EXPECT_GE(firstNormal.z, 0.0f);
  EXPECT_EQ(Recorder::Calls().at(0).normal.z, firstNormal.z);
  EXPECT_EQ(std::vector<unsigned char>(reinterpret_cast<unsigned char*>(pts),
                                       reinterpret_cast<unsigned char*>(pts) + sizeof pts),
            before);
  EXPECT_EQ(a.vert[0], 0u);
  EXPECT_EQ(b.vert[0], 2u);
}

TEST(Geometry, LinePlanePointExamples) {
  float x, y, z;
  LinePlanePoint(3, 4, 9, 0, 0, 1, x, y, z, 0, 0, 1, -5);
  EXPECT_EQ(x, 3.0f);
  EXPECT_EQ(y, 4.0f);
  EXPECT_EQ(z, 5.0f);
  LinePlanePoint(1, 7, 2, 0, 2, 0, x, y, z, 0, 4, 0, -6);
  EXPECT_EQ(x, 1.0f);
  EXPECT_EQ(y, 3.0f);
  EXPECT_EQ(z, 2.0f);
  // x-dominant direction: the plane x = 2 from (5, 1, 1) along (3, 0, 0).
  LinePlanePoint(5, 1, 1, 3, 0, 0, x, y, z, 9, 0, 0, -6);
  EXPECT_EQ(x, 2.0f);
  EXPECT_EQ(y, 1.0f);
  EXPECT_EQ(z, 1.0f);
}

TEST(Geometry, NormalsDistanceAndBounds) {
  __Point3ds pts[3] = {Vtx(0, 0, 0), Vtx(1, 0, 0), Vtx(0, 1, 0)};
  __Triangle3ds t = Tri(0, 1, 2), r = Tri(2, 1, 0);
  float nx, ny, nz;
  TriangleNormal(&t, pts, nx, ny, nz);  // (P2 - P1) x (P0 - P1)
  EXPECT_EQ(nz, 1.0f);
  TriangleNormal(&r, pts, nx, ny, nz);
  EXPECT_EQ(nz, -1.0f);           // opposite order, opposite normal
  PlaneNormal3(pts, nx, ny, nz);  // (P0 - P1) x (P2 - P1)
  EXPECT_EQ(nz, -1.0f);
  __Point q[3] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
  PlaneNormalM3(q, nx, ny, nz);
  EXPECT_EQ(nz, -1.0f);
  EXPECT_EQ(Distance3(1, 2, 3, 4, 6, 3), 5.0);
  float a, b, c, d;
  const uint32_t idx[3] = {1, 0, 2};
  VertexBounds(idx, q, a, b, c, d);  // the first vertex of the triple only
  EXPECT_EQ(a, 1.0f);
  EXPECT_EQ(b, 0.0f);
  EXPECT_EQ(c, 1.0f);
  EXPECT_EQ(d, 0.0f);
}

TEST(Geometry, TruncationIsDefinedForEveryInput) {
  EXPECT_EQ(TruncToInt(-0.7f), 0);
  EXPECT_EQ(TruncToInt(7.9f), 7);
  EXPECT_EQ(TruncToInt(-7.9f), -7);
  EXPECT_LT(TruncToInt(std::nanf("")), -1000000);
  EXPECT_LT(TruncToInt(-1e30f), -1000000);
  EXPECT_GT(TruncToInt(1e30f), 1000000);
  EXPECT_GT(TruncToInt(INFINITY), 1000000);
}
