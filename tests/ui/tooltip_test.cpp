// Balloon tooltips: one tool over the control's client area, owned by the
// control, gone with it.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "tests/ui/ui_test_util.h"
#include "ui/controls.h"

namespace {
class Tooltips : public ::testing::Test {
 protected:
  void SetUp() override {
    UiTestModuleState();
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    parent = CreateRecordingParent(&log);
    control = CreateWindowExA(0, "STATIC", "x", WS_CHILD | WS_VISIBLE, 10, 10, 120, 20, parent, nullptr, nullptr,
                              nullptr);
  }
  void TearDown() override {
    if (parent) DestroyWindow(parent);
  }
  CommandLog log;
  HWND parent = nullptr, control = nullptr;
};
}  // namespace

TEST_F(Tooltips, OneBalloonToolOverTheControl) {
  AddBalloonTooltip(control, "Close window", nullptr);
  HWND tip = FindTooltipOf(control);
  ASSERT_NE(tip, nullptr);
  LONG style = GetWindowLongA(tip, GWL_STYLE);
  EXPECT_EQ(style & (WS_POPUP | TTS_BALLOON | TTS_NOPREFIX), WS_POPUP | TTS_BALLOON | TTS_NOPREFIX);
  LONG ex = GetWindowLongA(tip, GWL_EXSTYLE);
  EXPECT_EQ(ex & (WS_EX_TOOLWINDOW | WS_EX_TOPMOST), WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
  EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
  EXPECT_EQ(SendMessageA(tip, TTM_GETMAXTIPWIDTH, 0, 0), 100);

  char text[80] = {};
  TTTOOLINFOA tool = {};
  tool.cbSize = 72;
  tool.lpszText = text;
  ASSERT_TRUE(SendMessageA(tip, TTM_ENUMTOOLSA, 0, reinterpret_cast<LPARAM>(&tool)));
  EXPECT_EQ(tool.uFlags, 0x112u);  // subclass, transparent, centred tip
  EXPECT_EQ(tool.hwnd, control);
  EXPECT_EQ(tool.uId, 0u);
  EXPECT_EQ(tool.rect.left, 0);
  EXPECT_EQ(tool.rect.top, 0);
  EXPECT_EQ(tool.rect.right, 120);
  EXPECT_EQ(tool.rect.bottom, 20);
  EXPECT_STREQ(text, "Close window");

  // owned by the control's window: destroyed with it
  EXPECT_EQ(GetWindow(tip, GW_OWNER), parent);
  DestroyWindow(parent);
  parent = nullptr;
  EXPECT_FALSE(IsWindow(tip));
}

TEST_F(Tooltips, TitleWithTheInformationIcon) {
  AddBalloonTooltip(control, "text", "Title");
  HWND tip = FindTooltipOf(control);
  ASSERT_NE(tip, nullptr);
  EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
  EXPECT_EQ(SendMessageA(tip, TTM_GETMAXTIPWIDTH, 0, 0), 100);
  wchar_t title[32] = {};
  TTGETTITLE get = {sizeof get, 0, 32, title};
  SendMessageA(tip, TTM_GETTITLE, 0, reinterpret_cast<LPARAM>(&get));
  // Wine does not report titles back; where the platform does, it is ours
  if (title[0]) {
    EXPECT_STREQ(title, L"Title");
    EXPECT_EQ(get.uTitleBitmap, 1u);  // TTI_INFO
  }
}

TEST_F(Tooltips, NoneWithoutAControlOrAText) {
  AddBalloonTooltip(control, nullptr, "Title");
  EXPECT_EQ(FindTooltipOf(control), nullptr);
  AddBalloonTooltip(nullptr, "text", nullptr);
  EXPECT_EQ(FindOwnedWindow(nullptr, TOOLTIPS_CLASSA), nullptr);
}
