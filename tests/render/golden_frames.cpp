#include "tests/render/golden_frames.h"

#include <algorithm>
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

std::vector<Expected> ExpectedFrames(const std::string& plugin, const std::string& set, int depth) {
  std::vector<Expected> out;
  std::istringstream lines(kGoldenFrameList);
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream f(line);
    std::string p, m, h;
    int d = 0, frame = -1;
    if (line.empty() || line[0] == '#' || !(f >> p >> m >> d >> frame >> h)) continue;
    if (p == plugin && m == set && d == depth) out.push_back({frame, h});
  }
  return out;
}

// The settings of a set's "set NAME A;B;..." line; false when there is none.
bool SetSettings(const std::string& set, std::vector<std::string>& settings) {
  std::istringstream lines(kGoldenFrameList);
  const std::string head = "set " + set + " ";
  std::string line;
  while (std::getline(lines, line)) {
    if (line.compare(0, head.size(), head) != 0) continue;
    std::istringstream items(line.substr(head.size()));
    std::string item;
    while (std::getline(items, item, ';')) settings.push_back(item);
    return true;
  }
  return false;
}

// Applies "Label=value" as --set and "layer Label=pattern" as --layer do;
// false for anything else.
bool Apply(RenderRig& rig, const std::string& setting, bool deep) {
  const size_t eq = setting.find('=');
  if (eq == std::string::npos) return false;
  const std::string name = setting.substr(0, eq), value = setting.substr(eq + 1);
  if (name.compare(0, 6, "layer ") != 0) {
    rig.Set(name, value);
    return true;
  }
  if (value != "pattern" || rig.Index(name.substr(6)) < 1) return false;
  rig.SetLayer(name.substr(6), 256, 256, deep);  // the test host's pattern layer
  return true;
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

std::string CheckGoldenSet(const std::string& plugin, const std::string& set, int depth, int& checked) {
  const std::vector<Expected> expected = ExpectedFrames(plugin, set, depth);
  if (expected.empty()) return "no golden frames for " + plugin + " " + set + " " + std::to_string(depth) + "\n";
  std::vector<std::string> settings;
  if (!SetSettings(set, settings)) return "no set " + set + " in frames.txt\n";
  RenderRig rig(GOLDEN_WIDTH, GOLDEN_HEIGHT, depth == 16);
  if (!rig.Start()) return "the plug-in does not start\n";
  for (const std::string& s : settings)
    if (!Apply(rig, s, depth == 16)) return "set " + set + ": cannot apply '" + s + "'\n";
  std::string failures;
  for (int frame = 0; frame <= 8; ++frame) {
    if (rig.Render(frame) != PF_Err_NONE) return "render of frame " + std::to_string(frame) + " failed\n";
    char hash[17];
    std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(rig.Hash()));
    for (const Expected& e : expected) {
      if (e.frame != frame) continue;
      ++checked;
      if (e.hash == hash) continue;
      const std::string base = "golden_" + plugin + "_" + set + "_" + std::to_string(depth) + "_" + std::to_string(frame);
      failures += plugin + " " + set + " " + std::to_string(depth) + " bits frame " + std::to_string(frame) +
                  ": hash " + hash + ", golden " + e.hash + "; wrote " + Report(base, rig.output, plugin, set, frame) +
                  "\n  accept with the line: " + plugin + " " + set + " " + std::to_string(depth) + " " +
                  std::to_string(frame) + " " + hash + "\n";
    }
  }
  return failures;
}

}  // namespace

std::string CheckGoldenFrames(const std::string& plugin, int& checked) {
  checked = 0;
  // Each set and depth listed for the plug-in, in the order of the list.
  std::vector<std::pair<std::string, int>> runs;
  std::istringstream lines(kGoldenFrameList);
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream f(line);
    std::string p, set;
    int depth = 0;
    if (line.empty() || line[0] == '#' || !(f >> p >> set >> depth) || p != plugin) continue;
    if (std::find(runs.begin(), runs.end(), std::make_pair(set, depth)) == runs.end()) runs.push_back({set, depth});
  }
  if (runs.empty()) return "no golden frames for " + plugin + "\n";
  std::string failures;
  for (const auto& run : runs) failures += CheckGoldenSet(plugin, run.first, run.second, checked);
  return failures;
}
