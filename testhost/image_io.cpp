#include "testhost/image_io.h"

#include <cstdio>
#include <cstring>

#include "stb_image.h"
#include "stb_image_write.h"

namespace {
uint8_t* Row(HostWorld& w, int32_t y) { return w.pixels.data() + size_t(y) * size_t(w.world.rowbytes); }
const uint8_t* Row(const HostWorld& w, int32_t y) { return w.pixels.data() + size_t(y) * size_t(w.world.rowbytes); }
bool Deep(const HostWorld& w) { return (w.world.world_flags & PF_WorldFlag_DEEP) != 0; }

// Reads pixel (x, y) as R, G, B, A at 8 bits.
void Get8(const HostWorld& w, int32_t x, int32_t y, uint8_t rgba[4]) {
  if (Deep(w)) {
    const PF_Pixel16* p = reinterpret_cast<const PF_Pixel16*>(Row(w, y)) + x;
    rgba[0] = Narrow16(p->red);
    rgba[1] = Narrow16(p->green);
    rgba[2] = Narrow16(p->blue);
    rgba[3] = Narrow16(p->alpha);
  } else {
    const PF_Pixel* p = reinterpret_cast<const PF_Pixel*>(Row(w, y)) + x;
    rgba[0] = p->red;
    rgba[1] = p->green;
    rgba[2] = p->blue;
    rgba[3] = p->alpha;
  }
}
}  // namespace

uint16_t Widen8(uint8_t v) { return static_cast<uint16_t>((uint32_t(v) * 32768u + 127u) / 255u); }
uint8_t Narrow16(uint16_t v) {
  if (v >= 32768) return 255;
  return static_cast<uint8_t>((uint32_t(v) * 255u + 16384u) / 32768u);
}

bool AllocWorld(HostWorld& w, int32_t width, int32_t height, bool deep) {
  std::memset(&w.world, 0, sizeof w.world);
  w.pixels.clear();
  if (width < 1 || height < 1 || width > WORLD_MAX_SIDE || height > WORLD_MAX_SIDE) return false;
  int32_t bpp = deep ? 8 : 4;
  w.world.width = width;
  w.world.height = height;
  w.world.rowbytes = (width + WORLD_ROW_PADDING_PIXELS) * bpp;
  w.world.world_flags = PF_WorldFlag_WRITEABLE | (deep ? PF_WorldFlag_DEEP : 0);
  w.world.extent_hint = {0, 0, width, height};
  w.world.pix_aspect_ratio = {1, 1};
  w.pixels.assign(size_t(w.world.rowbytes) * size_t(height), 0);
  w.world.data = reinterpret_cast<PF_Pixel*>(w.pixels.data());
  return true;
}

bool LoadImageWorld(const std::string& path, bool deep, HostWorld& w, std::string& error) {
  int width = 0, height = 0, channels = 0;
  if (!stbi_info(path.c_str(), &width, &height, &channels)) {
    const char* why = stbi_failure_reason();
    error = "cannot read image '" + path + "': " + (why ? why : "unknown format");
    return false;
  }
  if (width < 1 || height < 1 || width > WORLD_MAX_SIDE || height > WORLD_MAX_SIDE) {
    error = "image '" + path + "' is " + std::to_string(width) + " x " + std::to_string(height) +
            ", sides must be 1.." + std::to_string(WORLD_MAX_SIDE);
    return false;
  }
  bool sixteen = stbi_is_16_bit(path.c_str()) != 0;
  void* data = sixteen ? static_cast<void*>(stbi_load_16(path.c_str(), &width, &height, &channels, 4))
                       : static_cast<void*>(stbi_load(path.c_str(), &width, &height, &channels, 4));
  if (!data) {
    const char* why = stbi_failure_reason();
    error = "cannot decode image '" + path + "': " + (why ? why : "unknown reason");
    return false;
  }
  AllocWorld(w, width, height, deep);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      size_t at = (size_t(y) * size_t(width) + size_t(x)) * 4;
      uint16_t c[4];
      for (int k = 0; k < 4; ++k) {
        if (sixteen) {
          uint32_t v = static_cast<uint16_t*>(data)[at + k];
          c[k] = deep ? static_cast<uint16_t>((v * 32768u + 32767u) / 65535u) : static_cast<uint16_t>((v * 255u + 32767u) / 65535u);
        } else {
          uint8_t v = static_cast<uint8_t*>(data)[at + k];
          c[k] = deep ? Widen8(v) : v;
        }
      }
      if (deep) {
        PF_Pixel16* p = reinterpret_cast<PF_Pixel16*>(Row(w, y)) + x;
        *p = {c[3], c[0], c[1], c[2]};
      } else {
        PF_Pixel* p = reinterpret_cast<PF_Pixel*>(Row(w, y)) + x;
        *p = {uint8_t(c[3]), uint8_t(c[0]), uint8_t(c[1]), uint8_t(c[2])};
      }
    }
  }
  stbi_image_free(data);
  return true;
}

void FillPattern(HostWorld& w) {
  const int32_t width = w.world.width, height = w.world.height;
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      bool check = ((x / 32) + (y / 32)) % 2 == 0;
      uint8_t r = static_cast<uint8_t>(check ? 40 + (215 * x) / (width > 1 ? width - 1 : 1) : 30);
      uint8_t g = static_cast<uint8_t>(check ? 40 + (215 * y) / (height > 1 ? height - 1 : 1) : 60);
      uint8_t b = static_cast<uint8_t>(check ? 200 : 90 + (120 * x) / (width > 1 ? width - 1 : 1));
      if (Deep(w)) {
        PF_Pixel16* p = reinterpret_cast<PF_Pixel16*>(Row(w, y)) + x;
        *p = {32768, Widen8(r), Widen8(g), Widen8(b)};
      } else {
        PF_Pixel* p = reinterpret_cast<PF_Pixel*>(Row(w, y)) + x;
        *p = {255, r, g, b};
      }
    }
  }
}

bool WritePng(const HostWorld& w, const std::string& path, std::string& error) {
  const int32_t width = w.world.width, height = w.world.height;
  std::vector<uint8_t> rgba(size_t(width) * size_t(height) * 4);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) Get8(w, x, y, &rgba[(size_t(y) * size_t(width) + size_t(x)) * 4]);
  if (!stbi_write_png(path.c_str(), width, height, 4, rgba.data(), width * 4)) {
    error = "cannot write '" + path + "'";
    return false;
  }
  return true;
}

bool WritePam16(const HostWorld& w, const std::string& path, int64_t& clamped, std::string& error) {
  clamped = 0;
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) {
    error = "cannot create '" + path + "'";
    return false;
  }
  const int32_t width = w.world.width, height = w.world.height;
  std::fprintf(f, "P7\nWIDTH %d\nHEIGHT %d\nDEPTH 4\nMAXVAL 32768\nTUPLTYPE RGB_ALPHA\nENDHDR\n", width, height);
  std::vector<uint8_t> row(size_t(width) * 8);
  bool ok = true;
  for (int32_t y = 0; y < height && ok; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      uint16_t c[4];
      if (Deep(w)) {
        const PF_Pixel16* p = reinterpret_cast<const PF_Pixel16*>(Row(w, y)) + x;
        c[0] = p->red, c[1] = p->green, c[2] = p->blue, c[3] = p->alpha;
      } else {
        const PF_Pixel* p = reinterpret_cast<const PF_Pixel*>(Row(w, y)) + x;
        c[0] = Widen8(p->red), c[1] = Widen8(p->green), c[2] = Widen8(p->blue), c[3] = Widen8(p->alpha);
      }
      for (int k = 0; k < 4; ++k) {
        if (c[k] > 32768) {
          c[k] = 32768;
          ++clamped;
        }
        row[size_t(x) * 8 + size_t(k) * 2] = static_cast<uint8_t>(c[k] >> 8);
        row[size_t(x) * 8 + size_t(k) * 2 + 1] = static_cast<uint8_t>(c[k] & 0xFF);
      }
    }
    ok = std::fwrite(row.data(), 1, row.size(), f) == row.size();
  }
  if (std::fclose(f) != 0) ok = false;
  if (!ok) error = "cannot write '" + path + "'";
  return ok;
}

uint64_t WorldHash(const HostWorld& w) {
  uint64_t h = 0xcbf29ce484222325ull;
  auto mix = [&h](uint8_t b) {
    h ^= b;
    h *= 0x100000001b3ull;
  };
  const bool deep = (w.world.world_flags & PF_WorldFlag_DEEP) != 0;
  const size_t rowValues = size_t(w.world.width) * 4;
  for (A_long y = 0; y < w.world.height; ++y) {
    const uint8_t* row = Row(w, y);
    for (size_t i = 0; i < rowValues; ++i) {
      if (deep) {
        uint16_t v;
        std::memcpy(&v, row + 2 * i, 2);
        mix(uint8_t(v & 0xFF));
        mix(uint8_t(v >> 8));
      } else {
        mix(row[i]);
      }
    }
  }
  return h;
}
