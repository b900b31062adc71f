// Golden frames of the Theatre plug-in (see golden_frames.h).
#include <gtest/gtest.h>

#include "tests/render/golden_frames.h"

namespace {

TEST(TheatreGolden, DefaultFramesInFlatAndPhongAtBothDepths) {
  for (const char* mode : {"Flat", "Phong"})
    for (int depth : {8, 16}) {
      int checked = 0;
      EXPECT_EQ(CheckGoldenFrames("theatre", mode, depth, checked), "");
      EXPECT_EQ(checked, 3) << mode << " " << depth;
    }
}

}  // namespace
