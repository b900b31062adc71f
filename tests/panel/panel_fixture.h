// A panel under test: the test host's context and drawing surface, the
// parameters of an effect (params[1] is the panel), the panel's state back
// at its initial values, and (natively) synthetic pictures whose every pixel
// tells which picture, column and row it is.
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/page_memory.h"
#include "testhost/panel_host.h"
#include "tests/panel/panel_fakes.h"
#include "ui/panel.h"

// The synthetic picture id's pixel (x, y), counted from the top: red is the
// id's low byte, green the column, blue the row.
inline uint32_t PictureColour(A_long id, int32_t x, int32_t y) {
  return uint32_t(id & 0xFF) << 16 | uint32_t(x & 0xFF) << 8 | uint32_t(y & 0xFF);
}

#if !defined(_WIN32)
// Ids the synthetic source refuses (a picture missing from the module).
inline std::vector<A_long>& MissingPictures() {
  static std::vector<A_long> missing;
  return missing;
}

inline bool SyntheticPictures(A_long id, A_long width, A_long height, A_long stride,
                              uint8_t* rows) {
  for (A_long m : MissingPictures())
    if (m == id) return false;
  for (A_long y = 0; y < height; ++y) {
    uint8_t* row = rows + size_t(height - 1 - y) * size_t(stride);  // bottom-up
    for (A_long x = 0; x < width; ++x) {
      uint32_t c = PictureColour(id, x, y);
      row[3 * x + 0] = uint8_t(c);
      row[3 * x + 1] = uint8_t(c >> 8);
      row[3 * x + 2] = uint8_t(c >> 16);
    }
  }
  return true;
}
#endif

class PanelTest : public ::testing::Test {
 protected:
  HostContext ctx;
  PanelHost host;
  PF_ParamDef defs[3];
  PF_ParamDef* params[3];
  int64_t live_pages = 0;

  void SetUp() override {
    HostContextInit(ctx);
    PanelHostInit(host, ctx);
    for (int i = 0; i < 3; ++i) {
      std::memset(&defs[i], 0, sizeof defs[i]);
      params[i] = &defs[i];
    }
    defs[1].param_type = PF_Param_NO_DATA;
    PanelOriginX = PanelOriginY = 0;
    HoverHelp = HoverAbout = 0;
    PanelNoHover = 1;
    Calls = PanelCalls();
#if !defined(_WIN32)
    MissingPictures().clear();
    PanelNativePictures = SyntheticPictures;
#endif
    PageFailAt(-1);
    live_pages = PageLiveBlocks();
  }

  void TearDown() override {
    PageFailAt(-1);
    EXPECT_EQ(PageLiveBlocks(), live_pages) << "picture buffers not released";
    EXPECT_EQ(PanelHostSuitesHeld(host), 0) << "suites not released";
    EXPECT_EQ(host.live_images, 0) << "images not released";
    for (const std::string& m : host.misuse_log) ADD_FAILURE() << "suite misuse: " << m;
    PanelHostDone(host);
    HostContextActivate(nullptr);
  }

  PF_Err Send(PF_EventExtra& e) {
    return HandleEvent(&ctx.in_data, &ctx.out_data, params, nullptr, &e);
  }
  PF_Err Draw() {
    PanelHostClearCanvas(host);
    PF_EventExtra e = PanelHostDrawEvent(host);
    return Send(e);
  }
  // Cursor and click at a point relative to the panel's frame.
  PF_EventExtra Cursor(A_long x, A_long y) {
    PF_EventExtra e = PanelHostCursorEvent(host, host.left + x, host.top + y);
    EXPECT_EQ(Send(e), PF_Err_NONE);
    return e;
  }
  PF_EventExtra Click(A_long x, A_long y) {
    PF_EventExtra e = PanelHostClickEvent(host, host.left + x, host.top + y);
    EXPECT_EQ(Send(e), PF_Err_NONE);
    return e;
  }
  // Canvas pixel at a point relative to the panel's frame.
  uint32_t At(int32_t x, int32_t y) const { return PanelHostPixel(host, x, y); }
  uint32_t Background() const {
    return uint32_t(host.background[0]) << 16 | uint32_t(host.background[1]) << 8 |
           host.background[2];
  }
  bool Message() const { return (ctx.out_data.out_flags & PF_OutFlag_DISPLAY_ERROR_MESSAGE) != 0; }
  std::string MessageText() const { return ctx.out_data.return_msg; }
};
