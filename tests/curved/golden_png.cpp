#include "tests/curved/golden_png.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace curved {
namespace {

uint32_t Crc32(const uint8_t* data, size_t n, uint32_t crc = 0) {
  crc = ~crc;
  for (size_t i = 0; i < n; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

uint32_t Adler32(const std::vector<uint8_t>& data) {
  uint32_t a = 1, b = 0;
  for (uint8_t v : data) {
    a = (a + v) % 65521;
    b = (b + a) % 65521;
  }
  return (b << 16) | a;
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) out.push_back(uint8_t(v >> s));
}
uint32_t Get32(const uint8_t* p) {
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

void Chunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
  Put32(out, uint32_t(data.size()));
  size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  Put32(out, Crc32(&out[start], out.size() - start));
}

const uint8_t kSignature[8] = {137, 'P', 'N', 'G', 13, 10, 26, 10};

}  // namespace

bool WritePng(const std::string& path, int width, int height, const std::vector<uint8_t>& rgba) {
  if (width <= 0 || height <= 0 || rgba.size() != size_t(width) * height * 4) return false;
  std::vector<uint8_t> raw;  // each row: filter byte 0, then the pixels
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);
    raw.insert(raw.end(), rgba.begin() + size_t(y) * width * 4,
               rgba.begin() + size_t(y + 1) * width * 4);
  }
  std::vector<uint8_t> z = {0x78, 0x01};
  for (size_t at = 0; at < raw.size();) {  // raw is never empty
    size_t n = raw.size() - at < 65535 ? raw.size() - at : 65535;
    z.push_back(at + n == raw.size() ? 1 : 0);
    z.push_back(uint8_t(n)), z.push_back(uint8_t(n >> 8));
    z.push_back(uint8_t(~n)), z.push_back(uint8_t(~n >> 8));
    z.insert(z.end(), raw.begin() + at, raw.begin() + at + n);
    at += n;
  }
  Put32(z, Adler32(raw));

  std::vector<uint8_t> file(kSignature, kSignature + 8), ihdr;
  Put32(ihdr, uint32_t(width));
  Put32(ihdr, uint32_t(height));
  ihdr.insert(ihdr.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, no interlace
  Chunk(file, "IHDR", ihdr);
  Chunk(file, "IDAT", z);
  Chunk(file, "IEND", {});
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(file.data(), 1, file.size(), f) == file.size();
  return std::fclose(f) == 0 && ok;
}

bool ReadPng(const std::string& path, int* width, int* height, std::vector<uint8_t>* rgba) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  std::vector<uint8_t> file;
  uint8_t buf[4096];
  for (size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;)
    file.insert(file.end(), buf, buf + n);
  std::fclose(f);
  if (file.size() < 8 || std::memcmp(file.data(), kSignature, 8) != 0) return false;

  uint32_t w = 0, h = 0;
  std::vector<uint8_t> z;
  for (size_t at = 8; at + 12 <= file.size();) {
    uint32_t len = Get32(&file[at]);
    if (len > file.size() - at - 12) return false;
    const uint8_t* type = &file[at + 4];
    if (Crc32(type, len + 4) != Get32(type + 4 + len)) return false;
    if (!std::memcmp(type, "IHDR", 4)) {
      if (len != 13) return false;
      w = Get32(type + 4), h = Get32(type + 8);
      if (type[12] != 8 || type[13] != 6 || type[16] != 0) return false;
    } else if (!std::memcmp(type, "IDAT", 4)) {
      z.insert(z.end(), type + 4, type + 4 + len);
    } else if (!std::memcmp(type, "IEND", 4)) {
      break;
    }
    at += 12 + size_t(len);
  }
  if (w == 0 || h == 0 || w > 4096 || h > 4096 || z.size() < 6) return false;

  std::vector<uint8_t> raw;
  size_t at = 2;
  for (bool last = false; !last;) {
    if (at + 5 > z.size() || (z[at] & 6) != 0) return false;  // stored blocks only
    last = z[at] & 1;
    size_t n = z[at + 1] | size_t(z[at + 2]) << 8;
    if (at + 5 + n > z.size()) return false;
    raw.insert(raw.end(), z.begin() + at + 5, z.begin() + at + 5 + n);
    at += 5 + n;
  }
  if (at + 4 > z.size() || Get32(&z[at]) != Adler32(raw)) return false;
  const size_t row = size_t(w) * 4 + 1;
  if (raw.size() != row * h) return false;
  rgba->clear();
  for (uint32_t y = 0; y < h; ++y) {
    if (raw[y * row] != 0) return false;
    rgba->insert(rgba->end(), raw.begin() + y * row + 1, raw.begin() + (y + 1) * row);
  }
  *width = int(w), *height = int(h);
  return true;
}

void ExpectGoldenFrame(const std::string& goldenDir, const std::string& name, int width, int height,
                       const std::vector<uint8_t>& rgba) {
  const std::string path = goldenDir + "/" + name + ".png";
  if (const char* update = std::getenv("VELARRA_UPDATE_GOLDEN"); update && *update == '1') {
    ASSERT_TRUE(WritePng(path, width, height, rgba)) << path;
    return;
  }
  int w = 0, h = 0;
  std::vector<uint8_t> golden;
  ASSERT_TRUE(ReadPng(path, &w, &h, &golden)) << "cannot read " << path;
  ASSERT_EQ(w, width);
  ASSERT_EQ(h, height);
  ASSERT_EQ(rgba.size(), golden.size());
  std::vector<uint8_t> diff(golden.size(), 0);
  int bad = 0;
  for (size_t p = 0; p < golden.size(); p += 4) {
    int worst = 0;
    for (int c = 0; c < 4; ++c) worst = std::max(worst, std::abs(golden[p + c] - rgba[p + c]));
    if (worst > 2) {
      ++bad;
      diff[p] = diff[p + 1] = diff[p + 2] = 255;
    }
    diff[p + 3] = 255;
  }
  const int allowed = width * height / 200;
  if (bad > allowed) {
    WritePng(name + "_actual.png", width, height, rgba);
    WritePng(name + "_diff.png", width, height, diff);
  }
  EXPECT_LE(bad, allowed) << name << ": " << bad << " pixels differ; see " << name << "_diff.png";
}

}  // namespace curved
