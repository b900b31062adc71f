#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testhost/options.h"

namespace {
bool Parse(std::vector<std::string> args, bool module, HostOptions& o, std::string& error) {
  std::vector<char*> argv;
  static std::string program = "host";
  argv.push_back(&program[0]);
  for (std::string& a : args) argv.push_back(&a[0]);
  return ParseHostOptions(static_cast<int>(argv.size()), argv.data(), module, o, error);
}
}  // namespace

TEST(Options, ReadsEveryOption) {
  HostOptions o;
  std::string e;
  ASSERT_TRUE(Parse({"--frames", "3-7", "--size", "64x48", "--depth", "16", "--quality", "low", "--fps", "30",
                     "--set", "Weight=0:1,9:2", "--layer", "Texture=pattern", "--out", "d", "--prefix", "p",
                     "--fail-handle", "2+", "--fail-add-param", "10:1234", "--fail-checkout", "1:5",
                     "--flatten-after", "4", "m.AEX"},
                    true, o, e))
      << e;
  EXPECT_EQ(o.first_frame, 3);
  EXPECT_EQ(o.last_frame, 7);
  EXPECT_EQ(o.width, 64);
  EXPECT_EQ(o.height, 48);
  EXPECT_TRUE(o.deep);
  EXPECT_FALSE(o.high_quality);
  EXPECT_EQ(o.fps, 30);
  ASSERT_EQ(o.sets.size(), 1u);
  EXPECT_EQ(o.sets[0].first, "Weight");
  EXPECT_EQ(o.sets[0].second, "0:1,9:2");
  EXPECT_EQ(o.layers[0].second, "pattern");
  EXPECT_EQ(o.fail_new_handle.at, 2);
  EXPECT_TRUE(o.fail_new_handle.sticky);
  EXPECT_EQ(o.fail_add_param.at, 10);
  EXPECT_EQ(o.fail_add_param.error, 1234);
  EXPECT_EQ(o.fail_checkout.error, 5);
  EXPECT_EQ(o.flatten_after, 4);
  EXPECT_EQ(o.module_path, "m.AEX");
}

TEST(Options, RefusesBadArgumentsWithAMessage) {
  const std::vector<std::vector<std::string>> bad = {
      {"--frames", "7-3", "m"}, {"--frames", "x", "m"},    {"--size", "0x5", "m"},   {"--size", "64", "m"},
      {"--depth", "12", "m"},   {"--quality", "mid", "m"}, {"--fps", "0", "m"},      {"--set", "Weight", "m"},
      {"--set", "=1", "m"},     {"--fail-handle", "0", "m"}, {"--fail-add-param", "3+", "m"},
      {"--fail-checkout", "1:0", "m"}, {"--prefix", "a/b", "m"}, {"--flatten-after", "-1", "m"}, {"--bogus", "m"}, {"--out"}, {}, {"a", "b"}};
  for (const std::vector<std::string>& args : bad) {
    HostOptions o;
    std::string e;
    EXPECT_FALSE(Parse(args, true, o, e)) << (args.empty() ? "(none)" : args[0]);
    EXPECT_FALSE(e.empty());
  }
  HostOptions o;
  std::string e;
  EXPECT_FALSE(Parse({"m.AEX"}, false, o, e));  // the linked-in host takes no module
  EXPECT_TRUE(Parse({"--help"}, true, o, e));
  EXPECT_TRUE(o.help);
}
