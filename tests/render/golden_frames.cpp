#include "tests/render/golden_frames.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <vector>

#include "tests/render/render_rig.h"

#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include "stb_image.h"

// Generated from tests/render/golden/ (golden.cmake).
struct GoldenPng {
  const char* name;
  const unsigned char* data;
  unsigned size;
};
extern const char kGoldenFrameList[];
extern const GoldenPng kGoldenPngs[];

namespace {

struct Expected {
  int frame;
  std::string hash;
};

std::vector<Expected> ExpectedFrames(const std::string& plugin, const std::string& mode, int depth) {
  std::vector<Expected> out;
  std::istringstream lines(kGoldenFrameList);
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream f(line);
    std::string p, m, h;
    int d = 0, frame = -1;
    if (line.empty() || line[0] == '#' || !(f >> p >> m >> d >> frame >> h)) continue;
    if (p == plugin && m == mode && d == depth) out.push_back({frame, h});
  }
  return out;
}

// The output as 8-bit R, G, B, A rows (16-bit channels narrowed).
std::vector<uint8_t> Rgba(const HostWorld& w) {
  const bool deep = (w.world.world_flags & PF_WorldFlag_DEEP) != 0;
  std::vector<uint8_t> out(size_t(w.world.width) * w.world.height * 4);
  for (int y = 0; y < w.world.height; ++y)
    for (int x = 0; x < w.world.width; ++x) {
      const uint8_t* row = w.pixels.data() + size_t(y) * w.world.rowbytes;
      uint16_t c[4];
      for (int k = 0; k < 4; ++k) {
        if (deep) {
          uint16_t v;
          std::memcpy(&v, row + 8 * x + 2 * k, 2);
          c[k] = Narrow16(v);
        } else {
          c[k] = row[4 * x + k];
        }
      }
      uint8_t* o = out.data() + (size_t(y) * w.world.width + x) * 4;
      o[0] = uint8_t(c[1]);
      o[1] = uint8_t(c[2]);
      o[2] = uint8_t(c[3]);
      o[3] = uint8_t(c[0]);
    }
  return out;
}

bool WriteRgbaPng(const std::string& path, const std::vector<uint8_t>& rgba, int w, int h) {
  HostWorld world;
  AllocWorld(world, w, h, false);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint8_t* s = rgba.data() + (size_t(y) * w + x) * 4;
      uint8_t* d = world.pixels.data() + size_t(y) * world.world.rowbytes + 4 * x;
      d[0] = s[3];
      d[1] = s[0];
      d[2] = s[1];
      d[3] = s[2];
    }
  std::string error;
  return WritePng(world, path, error);
}

std::string Report(const std::string& base, const HostWorld& out, const std::string& plugin, const std::string& mode,
                   int frame) {
  const int w = out.world.width, h = out.world.height;
  const std::vector<uint8_t> actual = Rgba(out);
  std::string files = base + "_actual.png";
  WriteRgbaPng(files, actual, w, h);
  const std::string pngName = plugin + "_" + mode + "_" + std::to_string(frame);
  for (const GoldenPng* g = kGoldenPngs; g->name; ++g) {
    if (pngName != g->name) continue;
    int gw = 0, gh = 0, n = 0;
    unsigned char* golden = stbi_load_from_memory(g->data, int(g->size), &gw, &gh, &n, 4);
    if (golden && gw == w && gh == h) {
      std::vector<uint8_t> diff(actual.size());
      int worst = 0;
      for (size_t i = 0; i < diff.size(); ++i) {
        const int d = std::abs(int(actual[i]) - int(golden[i]));
        if (d > worst) worst = d;
        diff[i] = i % 4 == 3 ? 255 : uint8_t(d * 16 > 255 ? 255 : d * 16);
      }
      WriteRgbaPng(base + "_diff.png", diff, w, h);
      files += " and " + base + "_diff.png (largest difference " + std::to_string(worst) + " of 255 against " +
               pngName + ".png)";
    }
    stbi_image_free(golden);
  }
  return files;
}

}  // namespace

std::string CheckGoldenFrames(const std::string& plugin, const std::string& mode, int depth, int& checked) {
  checked = 0;
  const std::vector<Expected> expected = ExpectedFrames(plugin, mode, depth);
  if (expected.empty()) return "no golden frames for " + plugin + " " + mode + " " + std::to_string(depth) + "\n";
  RenderRig rig(GOLDEN_WIDTH, GOLDEN_HEIGHT, depth == 16);
  if (!rig.Start()) return "the plug-in does not start\n";
  rig.Set("Rendering mode", mode);
  std::string failures;
  for (int frame = 0; frame <= 8; ++frame) {
    if (rig.Render(frame) != PF_Err_NONE) return "render of frame " + std::to_string(frame) + " failed\n";
    char hash[17];
    std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(rig.Hash()));
    for (const Expected& e : expected) {
      if (e.frame != frame) continue;
      ++checked;
      if (e.hash == hash) continue;
      const std::string base = "golden_" + plugin + "_" + mode + "_" + std::to_string(depth) + "_" + std::to_string(frame);
      failures += plugin + " " + mode + " " + std::to_string(depth) + " bits frame " + std::to_string(frame) +
                  ": hash " + hash + ", golden " + e.hash + "; wrote " + Report(base, rig.output, plugin, mode, frame) +
                  "\n  accept with the line: " + plugin + " " + mode + " " + std::to_string(depth) + " " +
                  std::to_string(frame) + " " + hash + "\n";
    }
  }
  return failures;
}
