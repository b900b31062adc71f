#include "testhost/panel_pictures.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "ui/panel_ids.h"

namespace {
uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
  return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 |
         uint32_t(b[at + 3]) << 24;
}
}  // namespace

bool ReadBmpPicture(const std::string& path, A_long width, A_long height, A_long stride,
                    uint8_t* rows) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  std::vector<uint8_t> b;
  uint8_t chunk[4096];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) b.insert(b.end(), chunk, chunk + n);
  std::fclose(f);
  if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') return false;
  const uint32_t offset = Le32(b, 10);
  const int32_t w = int32_t(Le32(b, 18)), h = int32_t(Le32(b, 22));  // h > 0: bottom-up
  const uint16_t bpp = uint16_t(b[28] | b[29] << 8);
  if (w != width || h != height || w < 1 || h < 1 || bpp != 24 || Le32(b, 30) != 0) return false;
  const uint64_t file_stride = (uint64_t(w) * 3 + 3) & ~uint64_t(3);
  if (file_stride != uint64_t(stride) || uint64_t(offset) + file_stride * uint64_t(h) > b.size())
    return false;
  std::copy(b.begin() + offset, b.begin() + offset + size_t(file_stride) * size_t(h), rows);
  return true;
}

std::string PanelPictureFile(const std::string& folder, const std::string& banner, A_long id) {
  switch (id) {
    case BITMAP_PANEL_BANNER:
      return folder + "/" + banner;
    case BITMAP_ABOUT_BUTTON:
      return folder + "/about.bmp";
    case BITMAP_ABOUT_BUTTON_HOVER:
      return folder + "/about_hover.bmp";
    case BITMAP_HELP_BUTTON:
      return folder + "/help.bmp";
    case BITMAP_HELP_BUTTON_HOVER:
      return folder + "/help_hover.bmp";
    default:
      return "";
  }
}
