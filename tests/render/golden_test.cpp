// Golden frames of the Theatre plug-in (see golden_frames.h).
#include <gtest/gtest.h>

#include "tests/render/golden_frames.h"

namespace {

// Flat and Phong at both depths, and the turned, lit, glass and textured set
// at 16 bits: three frames each.
TEST(TheatreGolden, EveryListedSetAndDepth) {
  int checked = 0;
  EXPECT_EQ(CheckGoldenFrames("theatre", checked), "");
  EXPECT_EQ(checked, 15);
}

}  // namespace
