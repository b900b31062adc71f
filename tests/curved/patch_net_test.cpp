// Control net, Bernstein evaluation, sampling grid, wire parameters, layer
// box and the small area routine.
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <vector>

#include "renderer/raster/patch_reach.h"
#include "tests/curved/curved_fixture.h"

namespace curved {
namespace {

const double kRootHalf = std::sqrt(0.5);

void ExpectPos(const PatchNet& net, int i, double x, double y, double z, double tol = 2e-6) {
  EXPECT_NEAR(net.pos[i][0], x, tol) << "control " << i;
  EXPECT_NEAR(net.pos[i][1], y, tol) << "control " << i;
  EXPECT_NEAR(net.pos[i][2], z, tol) << "control " << i;
}

// P0 = origin, P1 = (3, 0, 0), P2 = (0, 3, 0); only vertex 1's normal
// leans, (1, 0, 1), so only the edge points next to it leave the z = 0
// plane. Every value below is worked out by hand from the construction.
TEST(PatchNet, HandComputedCurvedTriangle) {
  __Point3ds p[3] = {Vertex(0, 0, 0, 0, 0, 1, 1, 0.0f, 0.0f),
                     Vertex(3, 0, 0, 1, 0, 1, 1, 0.9f, 0.0f),
                     Vertex(0, 3, 0, 0, 0, 1, 1, 0.0f, 0.6f)};
  __Triangle3ds t = Tri(0, 1, 2);
  PatchNet net;
  ASSERT_TRUE(BuildPatchNet(&t, p, true, &net));

  ExpectPos(net, B300, 0, 0, 0);
  ExpectPos(net, B030, 3, 0, 0);
  ExpectPos(net, B003, 0, 3, 0);
  ExpectPos(net, B210, 1, 0, 0);
  ExpectPos(net, B201, 0, 1, 0);
  // (2, 0, 0) onto the plane x + z = 3: moved by (0.5, 0, 0.5).
  ExpectPos(net, B120, 2.5, 0, 0.5);
  ExpectPos(net, B021, 2.5, 1, 0.5);
  ExpectPos(net, B102, 0, 2, 0);
  ExpectPos(net, B012, 1, 2, 0);
  // E = (7/6, 1, 1/6), A = (1/3, 0, 1), h = |(0.5, 0, 0.5)|.
  ExpectPos(net, B111, 7.0 / 6 + kRootHalf / 3, 1.0, 1.0 / 6 + kRootHalf);

  // Edge normal values (3 Ni + Nj)/4, the centre the plain mean.
  EXPECT_FLOAT_EQ(net.nrm[B120][0], 0.75f);
  EXPECT_FLOAT_EQ(net.nrm[B120][2], 1.0f);
  EXPECT_FLOAT_EQ(net.nrm[B210][0], 0.25f);
  EXPECT_FLOAT_EQ(net.nrm[B012][0], 0.25f);
  EXPECT_FLOAT_EQ(net.nrm[B102][0], 0.0f);
  EXPECT_NEAR(net.nrm[B111][0], 1.0 / 3, 1e-7);
  EXPECT_NEAR(net.nrm[B111][2], 1.0, 1e-7);

  // Texture values are the linear ones.
  EXPECT_NEAR(net.uv[B120][0], 0.6, 1e-6);
  EXPECT_NEAR(net.uv[B012][1], 0.4, 1e-6);
  EXPECT_NEAR(net.uv[B111][0], 0.3, 1e-6);
  EXPECT_NEAR(net.uv[B111][1], 0.2, 1e-6);
}

TEST(PatchNet, EvaluationReproducesCornersNormalsAndLinearTexture) {
  // A strongly curved triangle: different, non-unit normals.
  __Point3ds p[3] = {Vertex(-4, 1, 2, 0.3f, -0.2f, 1.0f, 1, 0.1f, 0.9f),
                     Vertex(6, -2, -1, -0.5f, 0.4f, 0.8f, 1, 0.7f, 0.2f),
                     Vertex(1, 7, 3, 0.1f, 0.6f, 1.4f, 1, 0.4f, 0.5f)};
  __Triangle3ds t = Tri(0, 1, 2);
  PatchNet net;
  ASSERT_TRUE(BuildPatchNet(&t, p, true, &net));

  double b[PATCH_CONTROLS], out[3], uv[2];
  for (int k = 0; k < 3; ++k) {
    double w[3] = {0, 0, 0};
    w[k] = 1;
    PatchBernstein(w[0], w[1], w[2], b);
    PatchEval3(net.pos, b, out);
    EXPECT_EQ(out[0], p[k].x);
    EXPECT_EQ(out[1], p[k].y);
    EXPECT_EQ(out[2], p[k].z);
    PatchEval3(net.nrm, b, out);
    EXPECT_EQ(out[2], p[k].nz);
  }
  for (double w0 = 0; w0 <= 1.0; w0 += 0.125)
    for (double w1 = 0; w0 + w1 <= 1.0; w1 += 0.125) {
      double w2 = 1.0 - w0 - w1;
      PatchBernstein(w0, w1, w2, b);
      double sum = 0;
      for (double bi : b) sum += bi;
      EXPECT_NEAR(sum, 1.0, 1e-12);
      PatchEval2(net.uv, b, uv);
      EXPECT_NEAR(uv[0], w0 * 0.1 + w1 * 0.7 + w2 * 0.4, 1e-6);
      EXPECT_NEAR(uv[1], w0 * 0.9 + w1 * 0.2 + w2 * 0.5, 1e-6);
    }
}

TEST(PatchNet, EqualNormalsInterpolateToThatNormal) {
  __Point3ds p[3] = {Vertex(0, 0, 0, 0.2f, -0.3f, 0.9f), Vertex(9, 1, 4, 0.2f, -0.3f, 0.9f),
                     Vertex(2, 8, -3, 0.2f, -0.3f, 0.9f)};
  __Triangle3ds t = Tri(0, 1, 2);
  PatchNet net;
  ASSERT_TRUE(BuildPatchNet(&t, p, false, &net));
  double b[PATCH_CONTROLS], n[3];
  for (double w0 = 0; w0 <= 1.0; w0 += 0.1)
    for (double w1 = 0; w0 + w1 <= 1.0; w1 += 0.1) {
      PatchBernstein(w0, w1, 1.0 - w0 - w1, b);
      PatchEval3(net.nrm, b, n);
      EXPECT_NEAR(n[0], 0.2, 1e-6);
      EXPECT_NEAR(n[1], -0.3, 1e-6);
      EXPECT_NEAR(n[2], 0.9, 1e-6);
      EXPECT_NEAR(PatchEvalZ(net.nrm, b), n[2], 1e-15);
    }
}

TEST(PatchNet, NormalsOfTheFacePlaneGiveAFlatNetWithoutLift) {
  // Normals equal to the face normal, scaled: every control point stays
  // in the plane z = 5 and the centre is the mean of the edge points.
  __Point3ds p[3] = {Vertex(0, 0, 5, 0, 0, 2), Vertex(6, 0, 5, 0, 0, 2), Vertex(0, 6, 5, 0, 0, 2)};
  __Triangle3ds t = Tri(0, 1, 2);
  PatchNet net;
  ASSERT_TRUE(BuildPatchNet(&t, p, false, &net));
  for (int i = 0; i < PATCH_CONTROLS; ++i) EXPECT_EQ(net.pos[i][2], 5.0f) << i;
  ExpectPos(net, B111, 2, 2, 5);
}

TEST(PatchNet, ZeroOrBrokenInputHasNoFiniteNet) {
  __Triangle3ds t = Tri(0, 1, 2);
  PatchNet net;
  __Point3ds zero[3] = {Vertex(0, 0, 0, 0, 0, 1), Vertex(5, 0, 0, 0, 0, 0),
                        Vertex(0, 5, 0, 0, 0, 1)};
  EXPECT_FALSE(BuildPatchNet(&t, zero, false, &net));
  EXPECT_FALSE(net.finite);

  // A normal whose square vanishes in single precision spans no plane.
  __Point3ds tiny[3] = {Vertex(0, 0, 0, 0, 0, 1), Vertex(5, 0, 0, 1e-30f, 0, 0),
                        Vertex(0, 5, 0, 0, 0, 1)};
  EXPECT_FALSE(BuildPatchNet(&t, tiny, false, &net));

  const float nan = std::numeric_limits<float>::quiet_NaN();
  __Point3ds bad[3] = {Vertex(0, 0, 0, 0, 0, 1), Vertex(nan, 0, 0, 0, 0, 1),
                       Vertex(0, 5, 0, 0, 0, 1)};
  EXPECT_FALSE(BuildPatchNet(&t, bad, false, &net));
  __Point3ds huge[3] = {Vertex(0, 0, 0, 0, 0, 1), Vertex(5, 0, 0, 1e30f, 1e30f, 1e30f),
                        Vertex(0, 5, 0, 0, 0, 1)};
  EXPECT_FALSE(BuildPatchNet(&t, huge, false, &net));

  // A non-finite texture coordinate matters only when texture is built.
  __Point3ds uv[3] = {Vertex(0, 0, 0, 0, 0, 1, 1, nan, 0), Vertex(5, 0, 0, 0, 0, 1, 1),
                      Vertex(0, 5, 0, 0, 0, 1, 1)};
  EXPECT_TRUE(BuildPatchNet(&t, uv, false, &net));
  EXPECT_FALSE(BuildPatchNet(&t, uv, true, &net));
}

// ---------------------------------------------------------------------------
// Sampling grid
// ---------------------------------------------------------------------------

struct GridLog {
  std::vector<int> rows;  // samples + skips seen before each Row()
  std::vector<std::array<double, 3>> samples;
  int skips = 0;
  int events = 0;
  void Row() { rows.push_back(events); }
  void Skip() { ++skips, ++events; }
  void Sample(double w0, double w1, double w2) {
    samples.push_back({w0, w1, w2});
    ++events;
  }
};

class PatchGridTest : public CurvedFrame {};

TEST_F(PatchGridTest, EdgeLengthsOneGiveTheWorkedOutSamples) {
  // L02 = L12 = 1: steps 1/2; rows w1 = 0, 0.5, 1; columns w0 = 0, 0.5.
  __Point3ds p[3] = {Vertex(1, 0, 0, 0, 0, 1), Vertex(0, 1, 0, 0, 0, 1), Vertex(0, 0, 0, 0, 0, 1)};
  __Triangle3ds t = Tri(0, 1, 2);
  PatchGrid grid;
  ASSERT_TRUE(PatchGridSteps(&t, p, &grid));
  EXPECT_EQ(grid.s0, 0.5);
  EXPECT_EQ(grid.s1, 0.5);
  GridLog log;
  WalkPatchGrid(grid, log);
  EXPECT_EQ(log.rows, (std::vector<int>{0, 2, 4}));
  ASSERT_EQ(log.samples.size(), 5u);
  EXPECT_EQ(log.skips, 1);  // (0.5, 1) lies beyond the triangle
  const double expect[5][3] = {{0, 0, 1}, {0.5, 0, 0.5}, {0, 0.5, 0.5}, {0.5, 0.5, 0}, {0, 1, 0}};
  for (int i = 0; i < 5; ++i)
    for (int k = 0; k < 3; ++k) EXPECT_EQ(log.samples[i][k], expect[i][k]) << i << " " << k;
}

TEST_F(PatchGridTest, ZeroLengthEdgesAtVertex2) {
  __Triangle3ds t = Tri(0, 1, 2);
  GridLog log;
  PatchGrid grid;
  // L12 = 0 (vertex 1 on vertex 2): the two rows w1 = 0 and w1 = 1.
  __Point3ds a[3] = {Vertex(4, 0, 0, 0, 0, 1), Vertex(0, 0, 0, 0, 0, 1), Vertex(0, 0, 0, 0, 0, 1)};
  ASSERT_TRUE(PatchGridSteps(&t, a, &grid));
  EXPECT_EQ(grid.s1, 1.0);
  WalkPatchGrid(grid, log);
  EXPECT_EQ(log.rows.size(), 2u);
  EXPECT_EQ(log.samples.size(), 8u + 1u);  // w0 = 0 .. 7/8 in row 0, w0 = 0 in row 1
  EXPECT_EQ(log.samples.back()[1], 1.0);

  // L02 = 0 (vertex 0 on vertex 2): the single column w0 = 0.
  __Point3ds b[3] = {Vertex(0, 0, 0, 0, 0, 1), Vertex(0, 3, 0, 0, 0, 1), Vertex(0, 0, 0, 0, 0, 1)};
  GridLog log2;
  ASSERT_TRUE(PatchGridSteps(&t, b, &grid));
  EXPECT_EQ(grid.s0, 1.0);
  WalkPatchGrid(grid, log2);
  EXPECT_EQ(log2.rows.size(), 7u);  // w1 = 0, 1/6, ... by repeated addition
  for (const auto& s : log2.samples) EXPECT_EQ(s[0], 0.0);
}

TEST_F(PatchGridTest, Vertex0IsNeverSampled) {
  __Point3ds p[3] = {Vertex(8, 0, 0, 0, 0, 1), Vertex(0, 4, 0, 0, 0, 1), Vertex(0, 0, 0, 0, 0, 1)};
  __Triangle3ds t = Tri(0, 1, 2);
  PatchGrid grid;
  ASSERT_TRUE(PatchGridSteps(&t, p, &grid));
  GridLog log;
  WalkPatchGrid(grid, log);
  double largest = 0;
  for (const auto& s : log.samples) largest = std::max(largest, s[0]);
  EXPECT_EQ(largest, 15.0 / 16.0);
  // (2 L02) columns by (2 L12 + 1) rows, less the samples beyond the
  // triangle.
  EXPECT_EQ(log.samples.size() + size_t(log.skips), 16u * 9u);
}

TEST_F(PatchGridTest, WorkIsBoundedByTheFrame) {
  __Triangle3ds t = Tri(0, 1, 2);
  PatchGrid grid;
  // 64 x 48 frame: the cap is the floor 2^22 samples.
  EXPECT_EQ(PatchSampleCap(), int64_t(1) << 22);
  __Point3ds ok[3] = {Vertex(1000, 0, 0, 0, 0, 1), Vertex(0, 1000, 0, 0, 0, 1),
                      Vertex(0, 0, 0, 0, 0, 1)};
  EXPECT_TRUE(PatchGridSteps(&t, ok, &grid));  // 2001^2 samples
  __Point3ds big[3] = {Vertex(1100, 0, 0, 0, 0, 1), Vertex(0, 1100, 0, 0, 0, 1),
                       Vertex(0, 0, 0, 0, 0, 1)};
  EXPECT_FALSE(PatchGridSteps(&t, big, &grid));  // 2201^2 samples
  __Point3ds inf[3] = {Vertex(1e30f, 0, 0, 0, 0, 1), Vertex(0, 1e30f, 0, 0, 0, 1),
                       Vertex(0, 0, 0, 0, 0, 1)};
  EXPECT_FALSE(PatchGridSteps(&t, inf, &grid));  // lengths overflow to infinity
  double step;
  EXPECT_FALSE(PatchWireStep(&t, inf, &step));
  __Point3ds far[3] = {Vertex(2e7f, 0, 0, 0, 0, 1), Vertex(0, 2e7f, 0, 0, 0, 1),
                       Vertex(0, 0, 0, 0, 0, 1)};
  EXPECT_FALSE(PatchWireStep(&t, far, &step));  // 5000001 points a curve
  EXPECT_TRUE(PatchWireStep(&t, ok, &step));

  // A 1920 x 1080 frame raises the cap to 64 samples a pixel.
  Install(1920, 1080);
  EXPECT_EQ(PatchSampleCap(), int64_t(64) * 1920 * 1080);
  EXPECT_TRUE(PatchGridSteps(&t, big, &grid));
}

TEST(RepeatedSum, JumpsLandWhereTheAdditionsDo) {
  // Steps of edges of many lengths, and some whose additions tie in the
  // upper binades (half an ulp left over), where ties to even make the first
  // increment from an odd start differ from the rest; also from such starts:
  // every sum and both counts as the additions themselves give.
  const double steps[] = {1.0 / 1.4,         1.0 / 6.0,           1.0 / 2000.6,
                          1.0 / 246913.4,    0.5 / 3.3e5,         0x1p-20 + 0x1p-54,
                          0x1p-20 + 0x3p-55, 0x1.4p-19 + 0x1p-54, 0x1.6p-18 + 0x1p-55};
  for (double s : steps) {
    for (double start : {0.0, 0.5 + 0x1p-53, 0.25 + 0x3p-54}) {
      uint64_t below = 0, atMost = 0;
      double w = start, from = start;
      uint64_t n = 0, fromN = 0;
      for (; w <= 1.0; w += s, ++n) {
        below += w < 1.0;
        ++atMost;
        if ((n & (n - 1)) == 0 || n % 9973 == 0) {
          ASSERT_EQ(RepeatedSum(start, s, n), w) << s << " " << n;
          ASSERT_EQ(RepeatedSum(from, s, n - fromN), w) << s << " " << n;
          from = w, fromN = n;
        }
      }
      if (start != 0.0) continue;
      EXPECT_EQ(RepeatedSumCount(s, false), below) << s;
      EXPECT_EQ(RepeatedSumCount(s, true), atMost) << s;
    }
  }
}

TEST(PatchSamplePixel, TruncatesTowardZeroInsideTheFrame) {
  int px = -7;
  EXPECT_TRUE(PatchSamplePixel(-1.2, 0, 10, &px));  // -0.7 truncates to column 0
  EXPECT_EQ(px, 0);
  EXPECT_FALSE(PatchSamplePixel(-1.5, 0, 10, &px));  // exactly -1
  EXPECT_TRUE(PatchSamplePixel(3.2, 5, 10, &px));
  EXPECT_EQ(px, 8);
  EXPECT_TRUE(PatchSamplePixel(9.49, 0, 10, &px));
  EXPECT_EQ(px, 9);
  EXPECT_FALSE(PatchSamplePixel(9.5, 0, 10, &px));
  EXPECT_FALSE(PatchSamplePixel(std::numeric_limits<double>::quiet_NaN(), 0, 10, &px));
  EXPECT_FALSE(PatchSamplePixel(1e300, 0, 10, &px));
  EXPECT_FALSE(PatchSamplePixel(-1e300, 0, 10, &px));
}

// ---------------------------------------------------------------------------
// Wire parameters
// ---------------------------------------------------------------------------

struct WireLog {
  std::vector<double> t;
  void Point(double v) { t.push_back(v); }
};

TEST_F(PatchGridTest, WireStepAndCurveParameters) {
  __Triangle3ds t = Tri(0, 1, 2);
  // L02 = 10, L12 = 5: step 4 min(1/10, 1/5) = 0.4.
  __Point3ds p[3] = {Vertex(0, 0, 0, 0, 0, 1), Vertex(10, 5, 0, 0, 0, 1),
                     Vertex(10, 0, 0, 0, 0, 1)};
  double step;
  ASSERT_TRUE(PatchWireStep(&t, p, &step));
  EXPECT_DOUBLE_EQ(step, 0.4);
  WireLog log;
  WalkPatchWire(step, log);
  ASSERT_EQ(log.t.size(), 4u);
  EXPECT_EQ(log.t[0], 0.0);
  EXPECT_DOUBLE_EQ(log.t[1], 0.4);
  EXPECT_DOUBLE_EQ(log.t[2], 0.8);
  EXPECT_EQ(log.t[3], 1.0);

  // A step that lands on 1 exactly ends there, once.
  WireLog quarter;
  WalkPatchWire(0.25, quarter);
  EXPECT_EQ(quarter.t, (std::vector<double>{0, 0.25, 0.5, 0.75, 1.0}));

  // All three vertices at one point: reciprocals 1, step 4, one segment.
  __Point3ds same[3] = {Vertex(2, 3, 4, 0, 0, 1), Vertex(2, 3, 4, 0, 1, 1),
                        Vertex(2, 3, 4, 1, 0, 1)};
  ASSERT_TRUE(PatchWireStep(&t, same, &step));
  EXPECT_EQ(step, 4.0);
  WireLog one;
  WalkPatchWire(step, one);
  EXPECT_EQ(one.t, (std::vector<double>{0, 1}));
}

// ---------------------------------------------------------------------------
// Layer box and area
// ---------------------------------------------------------------------------

TEST_F(PatchGridTest, LayerBoxIsPaddedByTheTrianglesOwnExtent) {
  __Triangle3ds t = Tri(0, 1, 2);
  // Extent 10 x 2: margins 10 in x and 3 (the least) in y.
  __Point3ds p[3] = {Vertex(0, 0, 0, 0, 0, 1), Vertex(10, 0, 0, 0, 0, 1), Vertex(0, 2, 0, 0, 0, 1)};
  PatchBox box = PatchLayerBox(&t, p, 20, 20);
  EXPECT_EQ(box.left, 10);
  EXPECT_EQ(box.right, 40);
  EXPECT_EQ(box.top, 17);
  EXPECT_EQ(box.bottom, 25);
  // Truncation toward zero after the addition: -0.5 - 3 + 3 gives 0 ... and
  // the box is held to the 64 x 48 frame.
  __Point3ds q[3] = {Vertex(-0.5f, -0.5f, 0, 0, 0, 1), Vertex(0.5f, 0, 0, 0, 0, 1),
                     Vertex(0, 70, 0, 0, 0, 1)};
  box = PatchLayerBox(&t, q, 3, 3);
  EXPECT_EQ(box.left, 0);   // truncate(-0.5 - 3 + 3) = 0
  EXPECT_EQ(box.right, 6);  // truncate(0.5 + 3 + 3)
  EXPECT_EQ(box.top, 0);    // -68 held to 0
  EXPECT_EQ(box.bottom, 48);
  const float nan = std::numeric_limits<float>::quiet_NaN();
  __Point3ds r[3] = {Vertex(nan, nan, 0, 0, 0, 1), Vertex(nan, nan, 0, 0, 0, 1),
                     Vertex(nan, nan, 0, 0, 0, 1)};
  box = PatchLayerBox(&t, r, 3, 3);
  EXPECT_LE(box.left, box.right);
  EXPECT_GE(box.left, 0);
  EXPECT_LE(box.right, 64);
}

TEST(TriangleArea2D, UnsignedAreaOfTheProjection) {
  __Point pts[4] = {{0, 0, 5}, {4, 0, -2}, {0, 3, 9}, {8, 6, 0}};
  uint32_t abc[3] = {0, 1, 2}, acb[3] = {0, 2, 1}, bca[3] = {1, 2, 0};
  EXPECT_EQ(TriangleArea2D(abc, pts), 6.0f);
  EXPECT_EQ(TriangleArea2D(acb, pts), 6.0f);
  EXPECT_EQ(TriangleArea2D(bca, pts), 6.0f);
  uint32_t line[3] = {0, 3, 0};
  EXPECT_EQ(TriangleArea2D(line, pts), 0.0f);
  __Point collinear[3] = {{1, 1, 0}, {3, 2, 0}, {7, 4, 0}};
  EXPECT_EQ(TriangleArea2D(abc, collinear), 0.0f);
}

TEST(PatchContourCoverage, RisesAndFallsOverTheBand) {
  EXPECT_EQ(PatchContourCoverage(0.0), 0.0f);
  EXPECT_EQ(PatchContourCoverage(0.15), 1.0f);
  EXPECT_EQ(PatchContourCoverage(0.3), 0.0f);
  EXPECT_FLOAT_EQ(PatchContourCoverage(0.075), 0.25f);
  EXPECT_FLOAT_EQ(PatchContourCoverage(0.225), 0.25f);
}

}  // namespace
}  // namespace curved
