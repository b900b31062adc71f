#include "tests/panel/panel_golden.h"

#include <cstdlib>

#include "testhost/image_io.h"

namespace {
PF_Pixel& Px(HostWorld& w, int32_t x, int32_t y) {
  return reinterpret_cast<PF_Pixel*>(w.pixels.data() + size_t(y) * size_t(w.world.rowbytes))[x];
}

}  // namespace

bool ComparePngFiles(const std::string& actual, const std::string& golden, int tolerance,
                     const std::string& diff_path, std::string& message) {
  HostWorld a, g;
  if (!LoadImageWorld(actual, false, a, message) || !LoadImageWorld(golden, false, g, message))
    return false;
  if (a.world.width != g.world.width || a.world.height != g.world.height) {
    message = actual + " is " + std::to_string(a.world.width) + " x " +
              std::to_string(a.world.height) + ", " + golden + " " + std::to_string(g.world.width) +
              " x " + std::to_string(g.world.height);
    return false;
  }
  HostWorld diff;
  AllocWorld(diff, g.world.width, g.world.height, false);
  int64_t differing = 0;
  for (int32_t y = 0; y < g.world.height; ++y)
    for (int32_t x = 0; x < g.world.width; ++x) {
      const PF_Pixel p = Px(a, x, y);
      const PF_Pixel q = Px(g, x, y);
      const bool same = std::abs(p.red - q.red) <= tolerance &&
                        std::abs(p.green - q.green) <= tolerance &&
                        std::abs(p.blue - q.blue) <= tolerance;
      PF_Pixel& d = Px(diff, x, y);
      d = same ? PF_Pixel{255, A_u_char(q.red / 3), A_u_char(q.green / 3), A_u_char(q.blue / 3)}
               : PF_Pixel{255, 255, 0, 0};
      if (!same) ++differing;
    }
  if (differing == 0) return true;
  std::string ignored;
  WritePng(diff, diff_path, ignored);
  message = std::to_string(differing) + " pixels of " + actual + " differ from " + golden +
            " by more than " + std::to_string(tolerance) + "; see " + diff_path;
  return false;
}
