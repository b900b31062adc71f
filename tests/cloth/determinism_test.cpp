// Determinism: the exact float bytes after a run, so any change in the order
// or precision of an operation shows. The same values hold in every build.
#include <gtest/gtest.h>

#include <cstdio>

#include "tests/cloth/cloth_rig.h"

namespace {

// Theatre's default grid: two 40 x 40 panels on the rod, "Weight" 10, the
// module's load values for the wind (100 along (10, 0, 0.1)), motion 0.01
// and folding 0.005 a step, repulsion on.
uint64_t TheatreRun(int steps) {
  ClothRig rig(40, 40, true);
  ClothWeight = 10.0f;
  ClothBlindFrequency = 1;
  rig.LayOut(ClothFixation::TopTied);
  ClothRodDrive = 1;
  ClothCollision = CLOTH_COLLISION_REPEL;
  ClothMotionSpeed = 0.01f;
  ClothFoldingSpeed = 0.005f;
  ClothSimulate(steps);
  return ClothPositionHash();
}

TEST(ClothDeterminism, TwoPanelTheatreCloth) {
  const uint64_t hash = TheatreRun(200);
  std::printf("two-panel hash %016llx\n", (unsigned long long)hash);
  EXPECT_EQ(hash, 0x8408601b9f5c216cull);
}

// One panel of the fixation plug-in: tied edges, wind, the segment test.
TEST(ClothDeterminism, OnePanelWithSegmentCollision) {
  ClothRig rig(14, 12, false);
  ClothWeight = 4.0f;
  rig.LayOut(ClothFixation::LeftTied);
  ClothCollision = CLOTH_COLLISION_SEGMENT;
  ClothSimulate(80);
  const uint64_t hash = ClothPositionHash();
  std::printf("one-panel hash %016llx\n", (unsigned long long)hash);
  EXPECT_EQ(hash, 0xc449a0f0dfaee9e9ull);
}

}  // namespace
