// The Tableau plug-in: one panel on the rod with its own defaults, its mesh,
// the clearing before the cache lock, and its golden frames.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "cloth/cloth.h"
#include "host/render_frame.h"
#include "platform/page_memory.h"
#include "tests/render/golden_frames.h"
#include "tests/render/render_rig.h"

namespace {

TEST(Tableau, DefaultInstanceMovesTheHooksByTheFoldingSpeedOnlyWithRepulsionOn) {
  RenderRig rig(64, 36);
  ASSERT_TRUE(rig.Start());
  ASSERT_EQ(rig.Render(0), PF_Err_NONE);
  EXPECT_EQ(ClothTwoPanels, 0);
  EXPECT_EQ(ClothCount, 40 * 40);
  EXPECT_EQ(ClothCollision, CLOTH_COLLISION_REPEL);
  EXPECT_EQ(ClothMotionSpeed, 0.0f);
  EXPECT_EQ(ClothFoldingSpeed, 0.0025f);
  // Every hook of the top row moves toward the panel's middle by the
  // symmetric folding rule, four steps a frame; pinned hooks move by their
  // shifts alone.
  std::vector<ClothParticle> before(ClothCur, ClothCur + ClothCount);
  ASSERT_EQ(rig.Render(1), PF_Err_NONE);
  const int32_t W = ClothW, top = (ClothH - 1) * W;
  const int32_t d = ClothColumnInterval();
  for (int32_t col = 0; col < W; col += d) {
    float left = 0;
    const float shift = ClothRodOffset(float(W) / 2.0f, col, &left);
    float x = before[top + col].x;
    for (int k = 0; k < 4; ++k) x += shift;
    if (col != W - 1) {
      EXPECT_EQ(ClothCur[top + col].x, x) << "hook " << col;
    }
    EXPECT_EQ(ClothCur[top + col].y, before[top + col].y);
  }
  EXPECT_GT(ClothCur[top].x, before[top].x);          // the left end moves right
  EXPECT_LT(ClothCur[top + W - 1].x, before[top + W - 1].x);  // the right end left
}

// The one-panel mesh of a W x H grid laid out flat.
struct FlatPanel {
  std::vector<ClothParticle> a, b, n;
  std::vector<ClothConstraint> c;
  FlatPanel(int32_t W, int32_t H) : a(size_t(W) * H), b(a.size()), n(a.size()), c(4 * a.size()) {
    ClothTwoPanels = 0;
    ClothW = W;
    ClothH = H;
    ClothCount = W * H;
    ClothConstraintCount = (W - 1) * H + (H - 1) * (2 * W - 1);
    ClothPosA = a.data();
    ClothPosB = b.data();
    ClothNormals = n.data();
    ClothConstraints = c.data();
    ClothInitSingle(ClothFixation::TopTied);
    MeshScaleX = MeshScaleY = 10.0f;
  }
};

TEST(Tableau, MeshCountsAndTextureCoordinates) {
  for (auto [W, H] : {std::pair<int32_t, int32_t>{2, 5}, {7, 2}, {2, 2}, {40, 40}}) {
    FlatPanel panel(W, H);
    int32_t vertices = 0, triangles = 0;
    __Triangle3ds* tris = nullptr;
    __Point3ds* pts = nullptr;
    ASSERT_TRUE(BuildClothMesh(&vertices, &triangles, &tris, &pts, 1));
    EXPECT_EQ(vertices, W * H);
    EXPECT_EQ(triangles, 2 * (W - 1) * (H - 1));
    // u from 0.01 across the whole width; v from 0.99 down.
    EXPECT_EQ(pts[0].u, 0.01f);
    EXPECT_EQ(pts[W - 1].u, float(0.01 + double(float(W - 1) / float(W))));
    EXPECT_EQ(pts[(H - 1) * W].v, float(0.99 - double(float(H - 1) / float(H))));
    EXPECT_EQ(pts[0].textured, 1);
    EXPECT_EQ(tris[0].vert[0], 0u);
    EXPECT_EQ(tris[0].vert[1], uint32_t(W));
    EXPECT_EQ(tris[0].vert[2], 1u);
    EXPECT_EQ(tris[1].vert[2], uint32_t(W + 1));
    // A flat panel faces the viewer everywhere.
    for (int32_t i = 0; i < vertices; ++i) EXPECT_EQ(pts[i].nz, 1.0f) << i;
    PageFree(tris);
    PageFree(pts);
  }
}

TEST(Tableau, UntexturedMeshAndRefusedMemory) {
  FlatPanel panel(5, 4);
  int32_t vertices = 0, triangles = 0;
  __Triangle3ds* tris = nullptr;
  __Point3ds* pts = nullptr;
  ASSERT_TRUE(BuildClothMesh(&vertices, &triangles, &tris, &pts, 0));
  EXPECT_EQ(pts[7].textured, 0);
  EXPECT_EQ(pts[7].u, 0.0f);
  PageFree(tris);
  PageFree(pts);
  const int64_t live = PageLiveBlocks();
  PageFailAt(1);  // the triangle array
  EXPECT_FALSE(BuildClothMesh(&vertices, &triangles, &tris, &pts, 0));
  PageFailAt(-1);
  EXPECT_EQ(tris, nullptr);
  EXPECT_EQ(pts, nullptr);
  EXPECT_EQ(vertices, 0);
  EXPECT_EQ(PageLiveBlocks(), live);
}

void* LockNothing(PF_Handle) { return nullptr; }

TEST(Tableau, AHandleThatCannotBeLockedLeavesAClearedFrame) {
  RenderRig rig(40, 20);
  ASSERT_TRUE(rig.Start());
  rig.ctx.utils.host_lock_handle = LockNothing;
  rig.dirtyOutput = 0xC3;
  EXPECT_EQ(rig.Render(2), PF_Err_NONE);
  for (uint8_t b : rig.output.pixels) ASSERT_EQ(b, 0);
  EXPECT_EQ(rig.ctx.checkouts_open, 0);
  EXPECT_EQ(rig.ctx.checkin_calls, 4);
}

TEST(Tableau, GoldenFrames) {
  int checked = 0;  // Phong at both depths and the turned set at 16 bits
  EXPECT_EQ(CheckGoldenFrames("tableau", checked), "");
  EXPECT_EQ(checked, 9);
}

}  // namespace
