// Golden image comparison (see golden_image.h).
#include "tests/shading/golden_image.h"

#include <cstdlib>
#include <cstring>

#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include "stb_image.h"
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include "stb_image_write.h"

std::string CompareGolden(const std::string& name, const std::vector<uint8_t>& rgba, int w, int h,
                          int tolerance) {
  const std::string actualPath = "shading_" + name + "_actual.png";
  const GoldenFile* file = nullptr;
  for (unsigned i = 0; i < kGoldenFileCount; ++i)
    if (name == kGoldenFiles[i].name) file = &kGoldenFiles[i];
  if (file == nullptr) {
    stbi_write_png(actualPath.c_str(), w, h, 4, rgba.data(), 4 * w);
    return "no golden image " + name + "; wrote " + actualPath;
  }
  int gw = 0, gh = 0, channels = 0;
  unsigned char* golden =
      stbi_load_from_memory(file->data, int(file->size), &gw, &gh, &channels, 4);
  if (golden == nullptr) return "golden image " + name + " does not decode";
  std::string message;
  if (gw != w || gh != h) {
    message = "golden image " + name + " is " + std::to_string(gw) + " x " + std::to_string(gh);
  } else {
    std::vector<uint8_t> diff(rgba.size());
    int64_t bad = 0;
    for (size_t i = 0; i < rgba.size(); ++i) {
      const int d = std::abs(int(rgba[i]) - int(golden[i]));
      if (d > tolerance) ++bad;
      diff[i] = (i % 4 == 3) ? 255 : uint8_t(d * 16 > 255 ? 255 : d * 16);
    }
    if (bad > 0) {
      const std::string diffPath = "shading_" + name + "_diff.png";
      stbi_write_png(actualPath.c_str(), w, h, 4, rgba.data(), 4 * w);
      stbi_write_png(diffPath.c_str(), w, h, 4, diff.data(), 4 * w);
      message = std::to_string(bad) + " channels of " + name + " differ by more than " +
                std::to_string(tolerance) + "; wrote " + actualPath + " and " + diffPath;
    }
  }
  stbi_image_free(golden);
  return message;
}
