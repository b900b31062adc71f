// The curved draw modes through the Theatre plug-in: the test host runs the
// host's command sequence over the linked-in effect with "Rendering mode"
// set to Wire, Patches and Bezier, and the last of a few frames of the
// default cloth is compared with a small golden frame.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "host/host.h"
#include "platform/page_memory.h"
#include "testhost/image_io.h"
#include "testhost/options.h"
#include "testhost/session.h"
#include "tests/curved/golden_png.h"

#ifndef CURVED_GOLDEN_DIR
#define CURVED_GOLDEN_DIR "."
#endif

namespace curved {
namespace {

constexpr int kWidth = 96, kHeight = 54, kLastFrame = 3;

// Renders frames 0..kLastFrame in the given mode; the last one as R, G, B, A.
std::vector<uint8_t> RenderTheatre(const std::string& mode, bool deep) {
  HostEffect effect;
  effect.entry = EntryPointFunc;
  effect.name = "Velarra Theatre";
  effect.live_page_blocks = PageLiveBlocks;
  HostOptions options;
  options.quiet = true;
  options.first_frame = 0;
  options.last_frame = kLastFrame;
  options.width = kWidth;
  options.height = kHeight;
  options.size_given = true;
  options.deep = deep;
  options.sets.push_back({"Rendering mode", mode});
  options.out_dir = ::testing::TempDir();
  if (!options.out_dir.empty() && options.out_dir.back() == '/') options.out_dir.pop_back();
  options.prefix = "curved_" + mode + (deep ? "16" : "8");
  // The session checks that every handle, checkout and page is released.
  EXPECT_EQ(RunHostSession(effect, options, stdout, stderr), HOST_EXIT_OK) << mode;

  char number[16];
  std::snprintf(number, sizeof number, "_%04d.png", kLastFrame);
  HostWorld world;
  std::string error;
  if (!LoadImageWorld(options.out_dir + "/" + options.prefix + number, false, world, error)) {
    ADD_FAILURE() << error;
    return {};
  }
  std::vector<uint8_t> rgba;
  for (int y = 0; y < world.world.height; ++y)
    for (int x = 0; x < world.world.width; ++x) {
      const PF_Pixel& p = *reinterpret_cast<const PF_Pixel*>(
          reinterpret_cast<const char*>(world.world.data) + y * world.world.rowbytes + x * 4);
      rgba.insert(rgba.end(), {p.red, p.green, p.blue, p.alpha});
    }
  return rgba;
}

int Covered(const std::vector<uint8_t>& rgba) {
  int n = 0;
  for (size_t i = 3; i < rgba.size(); i += 4) n += rgba[i] != 0;
  return n;
}

TEST(TheatreCurved, WirePatchesAndBezierFramesOfTheDefaultCloth) {
  for (const char* mode : {"Wire", "Patches", "Bezier"}) {
    std::vector<uint8_t> frame = RenderTheatre(mode, false);
    ASSERT_EQ(frame.size(), size_t(kWidth) * kHeight * 4) << mode;
    EXPECT_GT(Covered(frame), kWidth * kHeight / 10) << mode;
    ExpectGoldenFrame(CURVED_GOLDEN_DIR, std::string("theatre_") + mode, kWidth, kHeight, frame);
  }
}

TEST(TheatreCurved, SixteenBitFramesMatchTheEightBitOnes) {
  // The same frames at 16 bits a channel, narrowed for the file, stay
  // within the golden tolerance of the 8-bit ones.
  for (const char* mode : {"Wire", "Patches", "Bezier"}) {
    std::vector<uint8_t> frame = RenderTheatre(mode, true);
    ASSERT_EQ(frame.size(), size_t(kWidth) * kHeight * 4) << mode;
    ExpectGoldenFrame(CURVED_GOLDEN_DIR, std::string("theatre_") + mode, kWidth, kHeight, frame);
  }
}

}  // namespace
}  // namespace curved
