#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "testhost/image_io.h"

namespace {
std::string Scratch(const char* name) { return std::string(VELARRA_TEST_SCRATCH) + name; }

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}
}  // namespace

TEST(ImageIo, ChannelConversionsRoundAndRoundTrip) {
  EXPECT_EQ(Widen8(0), 0);
  EXPECT_EQ(Widen8(255), 32768);
  EXPECT_EQ(Widen8(128), 16448);  // 16448.25
  EXPECT_EQ(Widen8(1), 129);      // 128.5 rounds up
  EXPECT_EQ(Narrow16(32768), 255);
  EXPECT_EQ(Narrow16(65535), 255);
  EXPECT_EQ(Narrow16(64), 0);  // 0.498
  EXPECT_EQ(Narrow16(65), 1);
  for (int v = 0; v < 256; ++v) EXPECT_EQ(Narrow16(Widen8(static_cast<uint8_t>(v))), v);
}

TEST(ImageIo, WorldsArePaddedAndChecked) {
  HostWorld w;
  ASSERT_TRUE(AllocWorld(w, 10, 2, true));
  EXPECT_EQ(w.world.rowbytes, (10 + WORLD_ROW_PADDING_PIXELS) * 8);
  EXPECT_TRUE(w.world.world_flags & PF_WorldFlag_DEEP);
  EXPECT_EQ(w.pixels.size(), size_t(w.world.rowbytes) * 2);
  EXPECT_FALSE(AllocWorld(w, 0, 2, false));
  EXPECT_FALSE(AllocWorld(w, 2, WORLD_MAX_SIDE + 1, false));
  EXPECT_EQ(w.world.data, nullptr);
}

TEST(ImageIo, PamHoldsSixteenBitValuesExactly) {
  HostWorld w;
  ASSERT_TRUE(AllocWorld(w, 2, 1, true));
  PF_Pixel16* p = reinterpret_cast<PF_Pixel16*>(w.world.data);
  p[0] = {32768, 1, 256, 32767};  // alpha, red, green, blue
  p[1] = {40000, 0, 0, 0};        // not a host value: clamped
  int64_t clamped = 0;
  std::string error;
  ASSERT_TRUE(WritePam16(w, Scratch("t.pam"), clamped, error)) << error;
  EXPECT_EQ(clamped, 1);
  std::string header = "P7\nWIDTH 2\nHEIGHT 1\nDEPTH 4\nMAXVAL 32768\nTUPLTYPE RGB_ALPHA\nENDHDR\n";
  std::string body("\x00\x01\x01\x00\x7f\xff\x80\x00\x00\x00\x00\x00\x00\x00\x80\x00", 16);
  EXPECT_EQ(ReadFile(Scratch("t.pam")), header + body);
  EXPECT_FALSE(WritePam16(w, Scratch("no/such/dir/t.pam"), clamped, error));
}

TEST(ImageIo, PngRoundTripsThroughTheReader) {
  HostWorld w;
  ASSERT_TRUE(AllocWorld(w, 3, 2, false));
  FillPattern(w);
  PF_Pixel* row1 = reinterpret_cast<PF_Pixel*>(w.pixels.data() + w.world.rowbytes);
  row1[2] = {7, 200, 100, 50};
  std::string error;
  ASSERT_TRUE(WritePng(w, Scratch("t.png"), error)) << error;
  HostWorld back;
  ASSERT_TRUE(LoadImageWorld(Scratch("t.png"), false, back, error)) << error;
  ASSERT_EQ(back.world.width, 3);
  ASSERT_EQ(back.world.height, 2);
  const PF_Pixel* b1 = reinterpret_cast<const PF_Pixel*>(back.pixels.data() + back.world.rowbytes);
  EXPECT_EQ(b1[2].alpha, 7);
  EXPECT_EQ(b1[2].red, 200);
  EXPECT_EQ(b1[2].green, 100);
  EXPECT_EQ(b1[2].blue, 50);
  // the same file read into a 16-bit world
  ASSERT_TRUE(LoadImageWorld(Scratch("t.png"), true, back, error)) << error;
  const PF_Pixel16* d1 = reinterpret_cast<const PF_Pixel16*>(back.pixels.data() + back.world.rowbytes);
  EXPECT_EQ(d1[2].red, Widen8(200));
  EXPECT_EQ(d1[2].alpha, Widen8(7));
}

TEST(ImageIo, UnreadableFilesAreReported) {
  HostWorld w;
  std::string error;
  EXPECT_FALSE(LoadImageWorld(Scratch("none.png"), false, w, error));
  EXPECT_NE(error.find("none.png"), std::string::npos);
  FILE* f = std::fopen(Scratch("junk.png").c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fputs("\x89PNG\r\n\x1a\n garbage", f);
  std::fclose(f);
  EXPECT_FALSE(LoadImageWorld(Scratch("junk.png"), false, w, error));
}
