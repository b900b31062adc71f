// The two-panel mesh builder: counts, indices, texture coordinates, normals
// and allocation failure.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "cloth/cloth.h"
#include "platform/page_memory.h"
#include "tests/mesh/mesh_test_util.h"

namespace {

struct Mesh {
  int32_t vertexCount = -1, triangleCount = -1;
  __Triangle3ds* triangles = nullptr;
  __Point3ds* points = nullptr;
  bool ok = false;
  explicit Mesh(uint8_t textured) {
    ok = BuildClothMesh(&vertexCount, &triangleCount, &triangles, &points, textured);
  }
  ~Mesh() {
    PageFree(triangles);
    PageFree(points);
  }
};

void ExpectTriangle(const __Triangle3ds& t, uint32_t a, uint32_t b, uint32_t c) {
  EXPECT_EQ(t.vert[0], a);
  EXPECT_EQ(t.vert[1], b);
  EXPECT_EQ(t.vert[2], c);
  EXPECT_EQ(t.flags, 0);
  EXPECT_EQ(t.material, 0);
}

// W = H = 2: one cell a panel, 4 triangles, 8 vertices; the right panel's
// triangles follow in the second half and index its own vertices; u of the
// left panel starts at 0.01 and of the right at 0.5, and the right panel's v
// lies one unit below the left's.
TEST(BuildClothMesh, TwoByTwoIndicesAndTextureCoordinates) {
  std::vector<ClothParticle> p;
  BindTwoPanelGrid(p, 2, 2, 3.0f, 0.5f);
  LayFlatPanels(p, 2, 2);
  Mesh m(1);
  ASSERT_TRUE(m.ok);
  ASSERT_EQ(m.vertexCount, 8);
  ASSERT_EQ(m.triangleCount, 4);
  ExpectTriangle(m.triangles[0], 0, 2, 1);
  ExpectTriangle(m.triangles[1], 1, 2, 3);
  ExpectTriangle(m.triangles[2], 4, 6, 5);
  ExpectTriangle(m.triangles[3], 5, 6, 7);

  const float u[8] = {0.01f, 0.26f, 0.01f, 0.26f, 0.5f, 0.75f, 0.5f, 0.75f};
  const float v[8] = {0.99f, 0.99f, 0.49f, 0.49f, -0.01f, -0.01f, -0.51f, -0.51f};
  for (int i = 0; i < 8; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(m.points[i].textured, 1);
    EXPECT_FLOAT_EQ(m.points[i].u, u[i]);
    EXPECT_FLOAT_EQ(m.points[i].v, v[i]);
    // x and z scale by MeshScaleX, y by MeshScaleY.
    EXPECT_EQ(m.points[i].x, 3.0f * p[i].x);
    EXPECT_EQ(m.points[i].y, 0.5f * p[i].y);
    EXPECT_EQ(m.points[i].z, 3.0f * p[i].z);
  }
}

// The texture coordinates of a 4 x 3 grid, in double and stored as float:
// u = b + 0.5 (i mod W) / W, v = 0.99 - (i div W) / H.
TEST(BuildClothMesh, TextureCoordinatesFollowTheRunningIndex) {
  const int W = 4, H = 3;
  std::vector<ClothParticle> p;
  BindTwoPanelGrid(p, W, H);
  LayFlatPanels(p, W, H);
  Mesh m(1);
  ASSERT_TRUE(m.ok);
  // Left panel, top row (r = 2), column 3: u = 0.01 + 1.5/4 = 0.385,
  // v = 0.99 - 2/3. Right panel, same place (i = 23, i div W = 5):
  // u = 0.5 + 0.375 = 0.875, v = 0.99 - 5/3.
  EXPECT_EQ(m.points[11].u, float(0.01 + 0.5 * 3 / 4.0));
  EXPECT_EQ(m.points[11].v, float(0.99 - 2 / 3.0));
  EXPECT_EQ(m.points[23].u, float(0.5 + 0.5 * 3 / 4.0));
  EXPECT_EQ(m.points[23].v, float(0.99 - 5 / 3.0));
  EXPECT_NEAR(m.points[12].v - m.points[0].v, -1.0, 1e-6);  // first of each panel
}

// Untextured: flag 0 and u = v = 0 everywhere.
TEST(BuildClothMesh, UntexturedLeavesCoordinatesZero) {
  std::vector<ClothParticle> p;
  BindTwoPanelGrid(p, 3, 2);
  LayFlatPanels(p, 3, 2);
  Mesh m(0);
  ASSERT_TRUE(m.ok);
  for (int i = 0; i < m.vertexCount; ++i) {
    EXPECT_EQ(m.points[i].textured, 0);
    EXPECT_EQ(m.points[i].u, 0.0f);
    EXPECT_EQ(m.points[i].v, 0.0f);
  }
}

// The flat set-up: every face normal is (0, 0, 1) and so is every smoothed
// vertex normal; counts are 6 inside, 1 at (0, 0) and (H-1, W-1), 2 at
// (0, W-1) and (H-1, 0), 3 along the edges, in both panels.
TEST(BuildClothMesh, FlatPanelsNormalsAndCounts) {
  const int W = 5, H = 4;
  std::vector<ClothParticle> p;
  BindTwoPanelGrid(p, W, H, 2.56f, 1.44f);
  LayFlatPanels(p, W, H);
  Mesh m(0);
  ASSERT_TRUE(m.ok);
  ASSERT_EQ(m.vertexCount, 2 * W * H);
  ASSERT_EQ(m.triangleCount, (4 * H - 4) * (W - 1));
  for (int i = 0; i < m.vertexCount; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(m.points[i].nx, 0.0f);
    EXPECT_EQ(m.points[i].ny, 0.0f);
    EXPECT_EQ(m.points[i].nz, 1.0f);
  }
  for (int base : {0, W * H}) {
    SCOPED_TRACE(base);
    EXPECT_EQ(m.points[base + 1 * W + 2].normalCount, 6);
    EXPECT_EQ(m.points[base + 2 * W + 3].normalCount, 6);
    EXPECT_EQ(m.points[base + 0].normalCount, 1);
    EXPECT_EQ(m.points[base + W - 1].normalCount, 2);
    EXPECT_EQ(m.points[base + (H - 1) * W].normalCount, 2);
    EXPECT_EQ(m.points[base + H * W - 1].normalCount, 1);
    EXPECT_EQ(m.points[base + 2].normalCount, 3);
    EXPECT_EQ(m.points[base + 2 * W].normalCount, 3);
  }
}

// A bent 2 x 2 panel (vertex 3 lifted by 1 in z), worked by hand with
// s = 1/sqrt3. Face normals: triangle (0, 2, 1) gives (0, 0, 1), triangle
// (1, 2, 3) gives (-s, s, s). Vertices 1 and 2 fold both:
// ((0,0,1) + (-s,s,s)) / 2 renormalised = (-s/2, s/2, (1+s)/2) / sqrt((1+s)/2).
// Pass 1 changes only vertex 0: ((0,0,1) + 2 n1) / 3; pass 2 only vertex 3:
// ((-s,s,s) + 2 n1) / 3. The right panel, the same shape moved, gives the
// same normals.
TEST(BuildClothMesh, BentPanelSmoothingByHand) {
  std::vector<ClothParticle> p;
  BindTwoPanelGrid(p, 2, 2);
  const float shape[4][3] = {{0, 0, 0}, {1, 0, 0}, {0, -1, 0}, {1, -1, 1}};
  for (int panel = 0; panel < 2; ++panel)
    for (int i = 0; i < 4; ++i) {
      p[4 * panel + i].x = shape[i][0] + 2.0f * panel;
      p[4 * panel + i].y = shape[i][1];
      p[4 * panel + i].z = shape[i][2] + 0.5f * panel;
    }
  Mesh m(0);
  ASSERT_TRUE(m.ok);
  const double s = 1 / std::sqrt(3.0);
  const double len = std::sqrt((1 + s) / 2);
  const double n1[3] = {-s / 2 / len, s / 2 / len, (1 + s) / 2 / len};
  const double want[4][3] = {
      {2 * n1[0] / 3, 2 * n1[1] / 3, (1 + 2 * n1[2]) / 3},
      {n1[0], n1[1], n1[2]},
      {n1[0], n1[1], n1[2]},
      {(-s + 2 * n1[0]) / 3, (s + 2 * n1[1]) / 3, (s + 2 * n1[2]) / 3},
  };
  const int counts[4] = {1, 2, 2, 1};
  for (int i = 0; i < 8; ++i) {
    SCOPED_TRACE(i);
    EXPECT_NEAR(m.points[i].nx, want[i % 4][0], 1e-6);
    EXPECT_NEAR(m.points[i].ny, want[i % 4][1], 1e-6);
    EXPECT_NEAR(m.points[i].nz, want[i % 4][2], 1e-6);
    EXPECT_EQ(m.points[i].normalCount, counts[i % 4]);
  }
}

// The cloth's own two-panel set-up, meshed: the set-up positions scaled
// (left panel from x = -2.5 at z = 1.0, right panel from x = 0 at z = 1.5,
// row 0 at y = +2.5), every vertex normal (0, 0, 1).
TEST(BuildClothMesh, MeshOfTheTwoPanelSetup) {
  const int W = 6, H = 4;
  std::vector<ClothParticle> a, b(2 * W * H), normals(2 * W * H);
  BindTwoPanelGrid(a, W, H, 2.0f, 3.0f);
  std::vector<ClothConstraint> constraints(2 * ((W - 1) * H + W * (H - 1) + (W - 1) * (H - 1)));
  ClothConstraintCount = int32_t(constraints.size());
  ClothPosA = a.data();
  ClothPosB = b.data();
  ClothNormals = normals.data();
  ClothConstraints = constraints.data();
  ClothInitDouble(ClothFixation::TopTied);
  ASSERT_EQ(ClothCur, a.data());
  Mesh m(1);
  ASSERT_TRUE(m.ok);
  EXPECT_EQ(m.points[0].x, -5.0f);
  EXPECT_EQ(m.points[0].y, 7.5f);
  EXPECT_EQ(m.points[0].z, 2.0f);
  EXPECT_EQ(m.points[W * H - 1].x, 0.0f);
  EXPECT_EQ(m.points[W * H - 1].y, -7.5f);
  EXPECT_EQ(m.points[W * H].x, 0.0f);
  EXPECT_EQ(m.points[W * H].z, 3.0f);
  EXPECT_EQ(m.points[2 * W * H - 1].x, 5.0f);
  for (int i = 0; i < m.vertexCount; ++i) {
    EXPECT_EQ(m.points[i].nz, 1.0f) << i;
    EXPECT_EQ(m.points[i].nx, 0.0f) << i;
    EXPECT_EQ(m.points[i].ny, 0.0f) << i;
  }
  ClothPosA = ClothPosB = ClothNormals = nullptr;
  ClothConstraints = nullptr;
}

// Either allocation failing: false, both pointers null, counts 0, nothing
// left allocated.
TEST(BuildClothMesh, AllocationFailureLeavesNothing) {
  std::vector<ClothParticle> p;
  BindTwoPanelGrid(p, 3, 3);
  LayFlatPanels(p, 3, 3);
  for (int which = 0; which < 2; ++which) {
    SCOPED_TRACE(which);
    const int64_t live = PageLiveBlocks();
    PageFailAt(which);
    Mesh m(1);
    PageFailAt(-1);
    EXPECT_FALSE(m.ok);
    EXPECT_EQ(m.points, nullptr);
    EXPECT_EQ(m.triangles, nullptr);
    EXPECT_EQ(m.vertexCount, 0);
    EXPECT_EQ(m.triangleCount, 0);
    EXPECT_EQ(PageLiveBlocks(), live);
  }
}

// Grid globals that do not describe a two-panel grid, or no positions: no
// mesh and no allocation.
TEST(BuildClothMesh, RejectsUnusableGrid) {
  std::vector<ClothParticle> p;
  const int64_t allocs = PageAllocCount();
  BindTwoPanelGrid(p, 3, 3);
  ClothTwoPanels = 0;
  EXPECT_FALSE(Mesh(0).ok);
  BindTwoPanelGrid(p, 3, 3);
  ClothCount = 9;  // one panel's worth
  EXPECT_FALSE(Mesh(0).ok);
  BindTwoPanelGrid(p, 1, 3);
  EXPECT_FALSE(Mesh(0).ok);
  BindTwoPanelGrid(p, 3, 3);
  ClothCur = nullptr;
  EXPECT_FALSE(Mesh(0).ok);
  EXPECT_EQ(PageAllocCount(), allocs);
}

}  // namespace
