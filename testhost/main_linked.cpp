// The native test host: one program per plug-in with the plug-in's code
// linked in, so the same command sequence runs under the sanitizers. Its
// page memory is counted too.
#include <cstdio>
#include <string>

#include "cloth/checkpoint.h"
#include "host/host.h"
#include "platform/page_memory.h"
#include "testhost/options.h"
#include "testhost/panel_pictures.h"
#include "testhost/session.h"
#include "ui/panel.h"

#ifndef VELARRA_EFFECT_NAME
#error "VELARRA_EFFECT_NAME names the linked-in effect"
#endif

namespace {
bool PanelPictures(A_long id, A_long width, A_long height, A_long stride, uint8_t* rows) {
  const std::string file = PanelPictureFile(VELARRA_PANEL_ART, VELARRA_PANEL_BANNER, id);
  return !file.empty() && ReadBmpPicture(file, width, height, stride, rows);
}
}  // namespace

int main(int argc, char** argv) {
  PanelNativePictures = PanelPictures;
  const char* program = argc > 0 && argv[0] ? argv[0] : "velarra-host";
  HostOptions options;
  std::string error;
  if (!ParseHostOptions(argc, argv, false, options, error)) {
    std::fprintf(stderr, "%s: %s\n", program, error.c_str());
    return HOST_EXIT_USAGE;
  }
  if (options.help) {
    std::fputs(HostUsage(program, false).c_str(), stdout);
    return HOST_EXIT_OK;
  }
  if (options.pipl) {
    std::fprintf(stderr, "%s: the linked-in effect has no PiPL; use the module host\n", program);
    return HOST_EXIT_USAGE;
  }
  if (options.full_replay) ClothReplayCheckpoints = 0;
  HostEffect effect;
  effect.entry = EntryPointFunc;
  effect.name = VELARRA_EFFECT_NAME;
  effect.live_page_blocks = PageLiveBlocks;
  return RunHostSession(effect, options, stdout, stderr);
}
