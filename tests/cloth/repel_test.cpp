// Repulsion between particles far apart on the grid, and the cell-table
// sweep against the plain all-pairs scan it must reproduce bit for bit.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include "tests/cloth/cloth_rig.h"

namespace {

// Every particle far from every other, so only the ones a test places close
// together can interact.
void Scatter(ClothRig& rig) {
  for (int i = 0; i < ClothCount; ++i) rig.posA[i] = ClothParticle{1000.0f * i, 0, 0, 1.0f};
  ClothCur = ClothPosA;
  ClothPrev = ClothPosB;
}

float Distance(const ClothParticle& a, const ClothParticle& b) {
  return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) +
                   (a.z - b.z) * (a.z - b.z));
}

TEST(ClothRepel, DistanceFollowsTheWiderSpacingBoundedByTheNarrower) {
  ClothRig square(40, 40, true);
  EXPECT_EQ(ClothRepelDistance(), float(double(5.0f / 39.0f) * 1.5));
  ClothRig tall(20, 40, false);  // 1.5 x dx = 0.3947 < 4.5 x dy = 0.5769
  EXPECT_EQ(ClothRepelDistance(), float(double(5.0f / 19.0f) * 1.5));
  ClothRig flat(150, 20, false);  // 1.5 x dy = 0.3947 > 4.5 x dx = 0.1510
  EXPECT_EQ(ClothRepelDistance(), float(double(5.0f / 149.0f) * 4.5));
  ClothRig twoWide(60, 30, true);  // real column spacing dx / 2
  EXPECT_EQ(ClothRepelDistance(), float(double(5.0f / 59.0f * 0.5f) * 4.5));
}

TEST(ClothRepel, NineByNineBlockNeverRepels) {
  ClothRig rig(12, 12, false);
  const float d = ClothRepelDistance();
  struct Case {
    int r, c;
    bool repels;
  } cases[] = {{4, 4, false}, {0, 4, false}, {4, 0, false}, {0, 5, true},
               {5, 0, true},  {5, 3, true},  {3, 5, true}};
  for (const Case& k : cases) {
    Scatter(rig);
    // Particle (0, 0) at the origin, the other 0.5 d away along y.
    rig.posA[0] = ClothParticle{0, 0, 0, 1.0f};
    rig.posA[k.r * 12 + k.c] = ClothParticle{0, 0.5f * d, 0, 1.0f};
    ClothRepel(0);
    if (k.repels) {
      // Pushed straight away to the distance d.
      EXPECT_NEAR(rig.posA[0].y, -0.5f * d, 1e-6f) << k.r << "," << k.c;
      EXPECT_EQ(rig.posA[0].x, 0.0f);
    } else {
      EXPECT_EQ(rig.posA[0].y, 0.0f) << k.r << "," << k.c;
    }
    EXPECT_EQ(rig.posA[k.r * 12 + k.c].y, 0.5f * d);  // only i moves
  }
}

TEST(ClothRepel, DistanceTestIsStrict) {
  ClothRig rig(12, 12, false);
  const float d = ClothRepelDistance();
  Scatter(rig);
  rig.posA[0] = ClothParticle{0, 0, 0, 1.0f};
  rig.posA[11] = ClothParticle{d, 0, 0, 1.0f};  // exactly d apart: s = d x d
  ClothRepel(0);
  EXPECT_EQ(rig.posA[0].x, 0.0f);
  rig.posA[11].x = std::nextafter(d, 0.0f);
  ClothRepel(0);
  EXPECT_LT(rig.posA[0].x, 0.0f);
  EXPECT_NEAR(Distance(rig.posA[0], rig.posA[11]), d, 1e-6f);
}

TEST(ClothRepel, CoincidentParticlesMoveByAtMostATenThousandthOfD) {
  ClothRig rig(12, 12, false);
  const float d = ClothRepelDistance();
  Scatter(rig);
  rig.posA[0] = ClothParticle{1, 2, 3, 1.0f};
  rig.posA[143] = ClothParticle{1, 2, 3, 1.0f};
  ClothRepel(0);  // no direction at all: stays
  EXPECT_TRUE(SameBits(rig.posA[0], ClothParticle{1, 2, 3, 1.0f}));
  rig.posA[143] = ClothParticle{1.00005f, 2, 3, 1.0f};  // 5e-5 apart: raw difference
  ClothRepel(0);
  const float moved = 1.0f - rig.posA[0].x;
  EXPECT_GT(moved, 0.0f);
  EXPECT_LE(moved, d * 0.0001f);
  EXPECT_TRUE(std::isfinite(rig.posA[0].x));
}

TEST(ClothRepel, PinnedParticlesNeverMoveButPushOthers) {
  ClothRig rig(12, 12, false);
  const float d = ClothRepelDistance();
  Scatter(rig);
  rig.posA[0] = ClothParticle{0, 0, 0, 0.0f};  // pinned
  rig.posA[143] = ClothParticle{0, 0.25f * d, 0, 1.0f};
  ClothRepelAll();
  EXPECT_TRUE(SameBits(rig.posA[0], ClothParticle{0, 0, 0, 0.0f}));
  EXPECT_NEAR(rig.posA[143].y, d, 1e-6f);
}

TEST(ClothRepel, SmallGridsAndFlatGridsAtRestMoveNothing) {
  const struct {
    int w, h;
    bool two;
  } grids[] = {{5, 5, false}, {150, 20, false}, {20, 150, false}, {60, 30, true},
               {40, 40, true}, {40, 40, false}};
  for (const auto& g : grids) {
    ClothRig rig(g.w, g.h, g.two);
    rig.LayOut(ClothFixation::Free);
    if (g.w <= 5) {  // every pair within 4 rows and 4 columns, even crumpled
      for (auto& p : rig.posA) p = ClothParticle{0.1f, 0.1f, 0.1f, 1.0f};
    }
    const std::vector<ClothParticle> before(rig.posA);
    for (int i = 0; i < ClothCount; ++i) ClothRepel(i);
    EXPECT_EQ(std::memcmp(before.data(), rig.posA.data(), before.size() * 16), 0)
        << g.w << "x" << g.h;
    ClothRepelAll();
    EXPECT_EQ(std::memcmp(before.data(), rig.posA.data(), before.size() * 16), 0)
        << g.w << "x" << g.h;
  }
}

// A folded, crumpled state: the laid-out grid folded over at a random line,
// squeezed, jittered by about d, with random pins, coincident pairs and a
// few non-finite particles.
void Fold(ClothRig& rig, std::mt19937& rng, bool hostile) {
  const float d = ClothRepelDistance();
  std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
  std::uniform_int_distribution<int> pick(0, ClothCount - 1);
  const float foldX = 0.8f * unit(rng), foldY = 0.8f * unit(rng);
  const float squeeze = 0.3f + 0.3f * (unit(rng) + 1.0f);
  for (ClothParticle& p : rig.posA) {
    if (p.x > foldX) p.x = foldX - (p.x - foldX) * squeeze;  // fold over
    if (p.y > foldY) p.y = foldY - (p.y - foldY);
    p.x += 0.7f * d * unit(rng);
    p.y += 0.7f * d * unit(rng);
    p.z = 1.0f + 0.6f * d * unit(rng);
    p.w = unit(rng) < -0.8f ? 0.0f : 2.15f;
  }
  for (int k = 0; k < ClothCount / 20; ++k) rig.posA[pick(rng)] = rig.posA[pick(rng)];
  if (hostile) {
    const float inf = std::numeric_limits<float>::infinity();
    rig.posA[pick(rng)].x = std::numeric_limits<float>::quiet_NaN();
    rig.posA[pick(rng)].y = inf;
    rig.posA[pick(rng)].z = -inf;
    rig.posA[pick(rng)] = ClothParticle{3e38f, 3e38f, 3e38f, 1.0f};
    rig.posA[pick(rng)] = ClothParticle{3e38f, 3e38f, 3e38f, 1.0f};
    rig.posA[pick(rng)] = ClothParticle{-1e30f, 0.0f, 1.0f, 1.0f};
  }
}

// Crumpled into a ball a few d across: hundreds of particles share each
// cell's neighbourhood.
void Crumple(ClothRig& rig, std::mt19937& rng) {
  const float d = ClothRepelDistance();
  std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
  for (ClothParticle& p : rig.posA) {
    p.x = 1.5f * d * unit(rng);
    p.y = 1.5f * d * unit(rng);
    p.z = 1.5f * d * unit(rng);
    p.w = unit(rng) < -0.9f ? 0.0f : 1.0f;
  }
}

TEST(ClothRepel, CellTableMatchesThePlainScanBitForBit) {
  const struct {
    int w, h;
    bool two;
  } grids[] = {{7, 9, false}, {30, 20, false}, {3, 60, false}, {12, 10, true}, {40, 40, true},
               {2, 2, true},  {64, 16, false}};
  std::mt19937 rng(20261209);
  int64_t movedTotal = 0;
  for (const auto& g : grids)
    for (int trial = 0; trial < 5; ++trial) {
      ClothRig rig(g.w, g.h, g.two);
      rig.LayOut(ClothFixation::Free);
      if (trial < 4)
        Fold(rig, rng, trial == 3);
      else
        Crumple(rig, rng);
      const std::vector<ClothParticle> start(rig.posA);

      for (int i = 0; i < ClothCount; ++i) ClothRepel(i);
      const std::vector<ClothParticle> plain(rig.posA);

      std::copy(start.begin(), start.end(), rig.posA.begin());
      ClothRepelAll();
      ASSERT_EQ(std::memcmp(plain.data(), rig.posA.data(), plain.size() * 16), 0)
          << g.w << "x" << g.h << (g.two ? " two panels" : "") << " trial " << trial;
      for (size_t i = 0; i < start.size(); ++i) movedTotal += !SameBits(start[i], plain[i]);
    }
  EXPECT_GT(movedTotal, 500);  // the folds really make particles repel
}

TEST(ClothRepel, StepWithRepulsionMatchesWithOrWithoutTheTable) {
  // The step uses the table when the spare array is bound, the plain scan
  // when it is not: the same cloth either way.
  uint64_t hashes[2];
  for (int withTable = 0; withTable < 2; ++withTable) {
    ClothRig rig(16, 16, true);
    rig.LayOut(ClothFixation::TopTied);
    if (!withTable) ClothSpare = nullptr;
    ClothCollision = CLOTH_COLLISION_REPEL;
    ClothRodDrive = 1;
    ClothMotionSpeed = -0.02f;  // the panels run into each other
    ClothFoldingSpeed = 0.01f;
    ClothSimulate(120);
    hashes[withTable] = ClothPositionHash();
  }
  EXPECT_EQ(hashes[0], hashes[1]);
}

}  // namespace
