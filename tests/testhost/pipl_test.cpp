#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "testhost/pipl.h"

namespace {
void Le32(std::vector<uint8_t>& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// A two-property list laid out by hand: kind 'eFKT', name "Ab".
std::vector<uint8_t> SmallList() {
  std::vector<uint8_t> b = {1, 0};
  Le32(b, 0);
  Le32(b, 2);
  Le32(b, FourCC("8BIM"));
  Le32(b, FourCC("kind"));
  Le32(b, 0);
  Le32(b, 4);
  Le32(b, FourCC("eFKT"));
  Le32(b, FourCC("8BIM"));
  Le32(b, FourCC("name"));
  Le32(b, 0);
  Le32(b, 3);
  b.insert(b.end(), {2, 'A', 'b', 0});  // length-prefixed, padded to 4
  return b;
}

// The words of the generated resource source, back as bytes.
std::vector<uint8_t> GeneratedTheatreBytes() {
  std::ifstream in(VELARRA_TEST_PIPL_RC);
  std::stringstream text;
  text << in.rdbuf();
  std::string s = text.str();
  std::vector<uint8_t> bytes;
  size_t begin = s.find("BEGIN"), end = s.find("END", begin);
  for (size_t at = s.find("0x", begin); at != std::string::npos && at < end; at = s.find("0x", at + 2)) {
    unsigned word = std::stoul(s.substr(at + 2, 4), nullptr, 16);
    bytes.push_back(static_cast<uint8_t>(word & 0xFF));
    bytes.push_back(static_cast<uint8_t>(word >> 8));
  }
  return bytes;
}
}  // namespace

TEST(Pipl, FourCharacterCodesAreBigEndianNumbers) {
  EXPECT_EQ(FourCC("8BIM"), 0x3842494Du);
  EXPECT_EQ(FourCCString(0x6546544Bu), "eFTK");
  EXPECT_EQ(FourCCString(0x01020304u), "????");
}

TEST(Pipl, ReadsAHandMadeList) {
  std::vector<uint8_t> b = SmallList();
  PiplInfo info;
  std::string error, name, entry;
  ASSERT_TRUE(ParsePipl(b.data(), b.size(), info, error)) << error;
  EXPECT_EQ(info.reserved, 1);
  ASSERT_EQ(info.properties.size(), 2u);
  EXPECT_EQ(info.properties[1].data.size(), 3u);  // the length as stored, padding skipped
  EXPECT_TRUE(PiplPascalString(info, FourCC("name"), name));
  EXPECT_EQ(name, "Ab");
  // no code entry: not an effect the host can call
  EXPECT_FALSE(PiplValidateEffect(info, entry, error));
  EXPECT_NE(error.find("8664"), std::string::npos);
}

TEST(Pipl, GeneratedListHasTheEffectsValues) {
  std::vector<uint8_t> b = GeneratedTheatreBytes();
  ASSERT_EQ(b.size(), 10u + 11u * 16u + 4 + 16 + 12 + 16 + 4 + 4 + 4 + 4 + 4 + 16 + 4);
  PiplInfo info;
  std::string error, entry, name, category, match;
  ASSERT_TRUE(ParsePipl(b.data(), b.size(), info, error)) << error;
  ASSERT_TRUE(PiplValidateEffect(info, entry, error)) << error;
  EXPECT_EQ(entry, "EntryPointFunc");
  EXPECT_TRUE(PiplPascalString(info, FourCC("name"), name));
  EXPECT_TRUE(PiplPascalString(info, FourCC("catg"), category));
  EXPECT_TRUE(PiplPascalString(info, FourCC("eMNA"), match));
  EXPECT_EQ(name, "Velarra Theatre");
  EXPECT_EQ(category, "Morrowick");
  EXPECT_EQ(match, "Velarra Theatre");
  uint32_t v = 0;
  EXPECT_TRUE(PiplLong(info, FourCC("eGLO"), v));
  EXPECT_EQ(v, 0x6008454u);
  EXPECT_TRUE(PiplLong(info, FourCC("eVER"), v));
  EXPECT_EQ(v, 0x100001u);
  // versions as two 16-bit numbers, major first; the info flags 16 bits
  uint16_t major = 0, minor = 0, flags = 1;
  EXPECT_TRUE(PiplVersion(info, FourCC("eSVR"), major, minor));
  EXPECT_EQ(major, 13);
  EXPECT_EQ(minor, 2);
  EXPECT_TRUE(PiplVersion(info, FourCC("ePVR"), major, minor));
  EXPECT_EQ(major, 2);
  EXPECT_EQ(minor, 0);
  EXPECT_TRUE(PiplShort(info, FourCC("eINF"), flags));
  EXPECT_EQ(flags, 0);
  ASSERT_NE(PiplFind(info, FourCC("eINF")), nullptr);
  EXPECT_EQ(PiplFind(info, FourCC("eINF"))->data.size(), 2u);
  // name: length byte 15, then the characters (16 bytes, no padding needed)
  const PiplProperty* p = PiplFind(info, FourCC("name"));
  ASSERT_NE(p, nullptr);
  ASSERT_EQ(p->data.size(), 16u);
  EXPECT_EQ(p->data[0], 15);
  // catg: "Morrowick" is 1 + 9 bytes, padded to 12 with zeros
  p = PiplFind(info, FourCC("catg"));
  ASSERT_NE(p, nullptr);
  ASSERT_EQ(p->data.size(), 12u);
  EXPECT_EQ(p->data[10], 0);
  EXPECT_EQ(p->data[11], 0);
}

// Every cut of a valid list is refused (or read as far as it is whole) and
// never read past; the sanitizers watch the exact-size copies.
TEST(Pipl, EveryTruncationIsHandled) {
  std::vector<uint8_t> full = GeneratedTheatreBytes();
  ASSERT_FALSE(full.empty());
  for (size_t n = 0; n < full.size(); ++n) {
    std::vector<uint8_t> cut(full.begin(), full.begin() + n);
    PiplInfo info;
    std::string error;
    EXPECT_FALSE(ParsePipl(cut.empty() ? nullptr : cut.data(), n, info, error)) << n;
    EXPECT_FALSE(error.empty());
  }
}

TEST(Pipl, MalformedListsAreRefused) {
  std::vector<uint8_t> b = SmallList();
  PiplInfo info;
  std::string error;
  {  // a count beyond the limit
    std::vector<uint8_t> c = b;
    c[9] = 0x7F;
    EXPECT_FALSE(ParsePipl(c.data(), c.size(), info, error));
  }
  {  // a property longer than the list
    std::vector<uint8_t> c = b;
    c[10 + 12] = 0xFF;
    EXPECT_FALSE(ParsePipl(c.data(), c.size(), info, error));
  }
  {  // list version other than 0
    std::vector<uint8_t> c = b;
    c[2] = 1;
    EXPECT_FALSE(ParsePipl(c.data(), c.size(), info, error));
  }
  {  // a Pascal length beyond its data, a C string without terminator
    std::vector<uint8_t> c = b;
    c.back() = 'x';
    c[c.size() - 4] = 9;
    ASSERT_TRUE(ParsePipl(c.data(), c.size(), info, error));
    std::string s;
    EXPECT_FALSE(PiplPascalString(info, FourCC("name"), s));
    EXPECT_FALSE(PiplCString(info, FourCC("kind"), s));
  }
  {  // another kind
    std::vector<uint8_t> c = b;
    c[10 + 16] = 'X';
    ASSERT_TRUE(ParsePipl(c.data(), c.size(), info, error));
    std::string entry;
    EXPECT_FALSE(PiplValidateEffect(info, entry, error));
    EXPECT_NE(error.find("not an effect"), std::string::npos);
  }
}
