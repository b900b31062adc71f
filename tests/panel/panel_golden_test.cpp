// The real pictures (the BMP files the modules carry) through the panel's
// own code, rendered by the test host's panel command and compared with the
// golden images that the built modules make under Wine: the same pixels.
#include "tests/panel/panel_golden.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/page_memory.h"
#include "testhost/panel_pictures.h"
#include "testhost/panel_render.h"
#include "testhost/session.h"
#include "tests/panel/panel_fakes.h"
#include "ui/panel.h"

namespace {
// Exact: the pictures pass through no lossy step.
constexpr int GOLDEN_TOLERANCE = 0;

std::string Banner;  // the banner file of the plug-in under test

bool ArtPictures(A_long id, A_long width, A_long height, A_long stride, uint8_t* rows) {
  const std::string file = PanelPictureFile(VELARRA_PANEL_ART, Banner, id);
  return !file.empty() && ReadBmpPicture(file, width, height, stride, rows);
}

PF_Err PanelEntry(PF_Cmd cmd, PF_InData* in, PF_OutData* out, PF_ParamDef* params[],
                  PF_LayerDef* output, void* extra) {
  if (cmd != PF_Cmd_EVENT) return PF_Err_NONE;
  return HandleEvent(in, out, params, output, static_cast<PF_EventExtra*>(extra));
}

TEST(PanelGolden, EachPluginsPanelNormalAndHoveredMatchesItsGolden) {
  for (const char* plugin : {"Theatre", "Tableau", "Drape"}) {
    SCOPED_TRACE(plugin);
    std::string lower = plugin;
    for (char& c : lower) c = char(std::tolower(c));
    Banner = "banner_" + lower + ".bmp";
    PanelNativePictures = ArtPictures;
    PanelOriginX = PanelOriginY = 0;
    HoverHelp = HoverAbout = 0;
    PanelNoHover = 1;
    const int64_t pages = PageLiveBlocks();

    HostContext ctx;
    HostContextInit(ctx);
    PF_ParamDef defs[2] = {};
    PF_ParamDef* params[2] = {&defs[0], &defs[1]};
    const std::string name = std::string("Velarra") + plugin;
    ASSERT_EQ(RenderPanelImages(PanelEntry, ctx, params, VELARRA_PANEL_OUT, name + "_native", name,
                                stderr),
              HOST_EXIT_OK);
    EXPECT_EQ(PageLiveBlocks(), pages);
    HostContextActivate(nullptr);
    for (const char* which : {"_panel", "_panel_about", "_panel_help"}) {
      const std::string out = std::string(VELARRA_PANEL_OUT) + "/" + name + "_native" + which;
      std::string message;
      EXPECT_TRUE(ComparePngFiles(out + ".png",
                                  std::string(VELARRA_PANEL_GOLDEN) + "/" + name + which + ".png",
                                  GOLDEN_TOLERANCE, out + "_diff.png", message))
          << message;
    }
  }
  PanelNativePictures = nullptr;
}

// A picture file that is not the expected size is refused.
TEST(PanelGolden, PicturesOfAnotherSizeAreRefused) {
  std::vector<uint8_t> rows(size_t(PanelDibStride(54)) * 54);
  const std::string dir = VELARRA_PANEL_ART;
  EXPECT_TRUE(ReadBmpPicture(dir + "/about.bmp", 54, 54, PanelDibStride(54), rows.data()));
  EXPECT_FALSE(ReadBmpPicture(dir + "/about.bmp", 53, 54, PanelDibStride(53), rows.data()));
  EXPECT_FALSE(ReadBmpPicture(dir + "/help.bmp", 54, 54, PanelDibStride(54), rows.data()));
}
}  // namespace
