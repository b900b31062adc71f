// The link label and the skinned button, as windows of their own classes
// under a parent that records the commands they send or post.
#include <gtest/gtest.h>

#include "resources/ui_resources.h"
#include "tests/ui/ui_test_util.h"
#include "ui/controls.h"

namespace {
constexpr int LINK_ID = 1002;
constexpr int BUTTON_ID = 2002;

class Controls : public ::testing::Test {
 protected:
  void SetUp() override {
    UiTestModuleState();
    InitLinkControls();
    InitButtonControls();
    parent = CreateRecordingParent(&log);
    ASSERT_NE(parent, nullptr);
  }
  void TearDown() override {
    DestroyWindow(parent);
    PumpMessages();
    ReleaseButtonControls();
    ReleaseLinkControls();
  }
  HWND Child(const char* cls, int id, int x, int y, int width, int height) {
    return CreateWindowExA(0, cls, "Custom1", WS_CHILD | WS_VISIBLE, x, y, width, height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
  }
  const ButtonControl* ButtonRecord(HWND w) {
    return static_cast<const ButtonControl*>(FindControlRecord(w, BUTTON_CLASS_NAME));
  }
  CommandLog log;
  HWND parent = nullptr;
};

struct Ink {
  int pixels = 0;     // not the background
  int bluish = 0;     // blue clearly above red and green
  int neutral = 0;    // red = green = blue
  int darkest = 255;  // smallest channel among the ink
  int widest_blue_row = 0;
};

Ink InkOf(const Pixels& p) {
  Ink ink;
  for (int y = 0; y < p.height; ++y) {
    int blue_in_row = 0;
    for (int x = 0; x < p.width; ++x) {
      uint32_t c = p.At(x, y);
      if (c == GREY_BACKGROUND) continue;
      ++ink.pixels;
      if (Red(c) == Green(c) && Green(c) == Blue(c)) ++ink.neutral;
      if (Blue(c) > Red(c) + 40 && Blue(c) > Green(c) + 40) {
        ++ink.bluish;
        ++blue_in_row;
      }
      ink.darkest = std::min({ink.darkest, Red(c), Green(c), Blue(c)});
    }
    ink.widest_blue_row = std::max(ink.widest_blue_row, blue_in_row);
  }
  return ink;
}

// Compares a rectangle of the painted button with a skin bitmap.
int SkinMismatches(const Pixels& painted, int x0, int rows, HBITMAP skin, bool stretched_middle) {
  Pixels s = ReadBitmap(skin);
  int bad = 0;
  for (int y = 0; y < rows; ++y)
    for (int x = 0; x < SKIN_WIDTH; ++x) {
      // the middle skin is the same in every column, so any stretch of it
      // shows its first column
      uint32_t want = s.At(stretched_middle ? 0 : x, y);
      if (painted.At(x0 + x, y) != want) ++bad;
    }
  return bad;
}
}  // namespace

// Before it is attached a label is inert: the class background only, the
// arrow cursor, and clicks report nothing.
TEST_F(Controls, UnattachedLabelPaintsOnlyItsBackgroundAndIgnoresTheMouse) {
  HWND link = Child(LINK_CLASS_NAME, LINK_ID, 10, 10, 160, 18);
  ASSERT_NE(link, nullptr);
  const auto* r = static_cast<const LinkControl*>(FindControlRecord(link, LINK_CLASS_NAME));
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->window, link);
  EXPECT_EQ(r->id, LINK_ID);
  EXPECT_EQ(r->width, 160);
  EXPECT_EQ(r->height, 18);
  EXPECT_EQ(r->text, nullptr);
  EXPECT_EQ(r->attached, 0);

  InvalidateRect(link, nullptr, TRUE);
  Pixels p = ReadClient(link);
  EXPECT_EQ(InkOf(p).pixels, 0);

  HCURSOR arrow = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
  SetCursor(arrow);
  SendMessageA(link, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(GetCursor(), arrow);
  SendMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PumpMessages();
  EXPECT_TRUE(log.commands.empty());
}

TEST_F(Controls, ActiveLinkIsBlueUnderlinedWithTheHandAndReportsClicks) {
  HWND link = Child(LINK_CLASS_NAME, LINK_ID, 10, 10, 160, 18);
  const LinkControl* r = AttachLinkControl(parent, LINK_ID, "www.example.com", 1, 1);
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->attached, LINK_ATTACHED);
  EXPECT_STREQ(r->text, "www.example.com");

  InvalidateRect(link, nullptr, TRUE);
  Pixels p = ReadClient(link);
  Ink ink = InkOf(p);
  EXPECT_GT(ink.bluish, 20);
  EXPECT_EQ(ink.neutral, 0) << "no black or grey ink in a link";
  EXPECT_GT(ink.widest_blue_row, 60) << "an underline runs under the text";
  // left-aligned: ink reaches the first columns
  int first_ink = p.width;
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x)
      if (p.At(x, y) != GREY_BACKGROUND) first_ink = std::min(first_ink, x);
  EXPECT_LE(first_ink, 2);

  SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));
  SendMessageA(link, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, MAKEINTRESOURCEA(32649)));

  // the click is sent, not posted: it has arrived when the call returns
  SendMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  ASSERT_EQ(log.commands.size(), 1u);
  EXPECT_EQ(log.commands[0].first, static_cast<WPARAM>(LINK_ID));
  EXPECT_EQ(log.commands[0].second, 0);
}

TEST_F(Controls, InactiveLinkIsBlackBoldKeepsTheArrowAndIgnoresClicks) {
  HWND link = Child(LINK_CLASS_NAME, LINK_ID, 10, 10, 160, 18);
  ASSERT_NE(AttachLinkControl(parent, LINK_ID, "Velarra", 0, 0), nullptr);
  InvalidateRect(link, nullptr, TRUE);
  Pixels p = ReadClient(link);
  Ink ink = InkOf(p);
  EXPECT_GT(ink.pixels, 20);
  EXPECT_EQ(ink.bluish, 0);
  EXPECT_EQ(ink.neutral, ink.pixels) << "black text on grey leaves only greys";
  EXPECT_LT(ink.darkest, 40);
  // centred: the ink's left and right margins differ by at most a pixel or two
  int left = p.width, right = -1;
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x)
      if (p.At(x, y) != GREY_BACKGROUND) left = std::min(left, x), right = std::max(right, x);
  EXPECT_NEAR(left, p.width - 1 - right, 3);

  HCURSOR arrow = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
  SetCursor(arrow);
  SendMessageA(link, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(GetCursor(), arrow);
  SendMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PumpMessages();
  EXPECT_TRUE(log.commands.empty());
}

// Attaching replaces the text by a copy of the new one, whatever its length
// (a longer second text must not overrun the first one's buffer).
TEST_F(Controls, AttachTakesAFreshCopyOfEveryTextAndRefusesOtherItems) {
  Child(LINK_CLASS_NAME, LINK_ID, 10, 10, 160, 18);
  Child(BUTTON_CLASS_NAME, BUTTON_ID, 10, 40, 90, 24);
  char text[64] = "ab";
  LinkControl* r = AttachLinkControl(parent, LINK_ID, text, 1, 0);
  ASSERT_NE(r, nullptr);
  EXPECT_NE(r->text, text);
  text[0] = 'X';
  EXPECT_STREQ(r->text, "ab");
  const char longer[] = "a much longer second text than the first";
  r = AttachLinkControl(parent, LINK_ID, longer, 0, 1);
  EXPECT_STREQ(r->text, longer);
  EXPECT_EQ(r->active, 0);
  EXPECT_EQ(r->leftAligned, 1);
  ButtonControl* b = AttachButtonControl(parent, BUTTON_ID, "Go", 0);
  ASSERT_NE(b, nullptr);
  b = AttachButtonControl(parent, BUTTON_ID, "Tutorials and more", 1);
  EXPECT_STREQ(b->text, "Tutorials and more");
  EXPECT_EQ(b->state, BUTTON_DEFAULT);
  EXPECT_EQ(b->enabled, 1);

  // an item that does not exist, or of the other class
  EXPECT_EQ(AttachLinkControl(parent, 4711, "x", 1, 1), nullptr);
  EXPECT_EQ(AttachLinkControl(parent, BUTTON_ID, "x", 1, 1), nullptr);
  EXPECT_EQ(AttachButtonControl(parent, LINK_ID, "x", 1), nullptr);
  EXPECT_EQ(FindControlRecord(parent, LINK_CLASS_NAME), nullptr);
  EXPECT_EQ(FindControlRecord(nullptr, LINK_CLASS_NAME), nullptr);
  EXPECT_STREQ(b->text, "Tutorials and more");
}

// A record that cannot be allocated leaves a window that paints nothing of
// its own and ignores the mouse; destroying it frees nothing.
TEST_F(Controls, WindowWithoutARecordIsInert) {
  ControlAllocFailNext = 2;
  HWND link = Child(LINK_CLASS_NAME, LINK_ID, 10, 10, 160, 18);
  HWND button = Child(BUTTON_CLASS_NAME, BUTTON_ID, 10, 40, 90, 24);
  ControlAllocFailNext = 0;
  ASSERT_NE(link, nullptr) << "creation goes on without a record";
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(FindControlRecord(link, LINK_CLASS_NAME), nullptr);
  EXPECT_EQ(AttachLinkControl(parent, LINK_ID, "x", 1, 1), nullptr);
  EXPECT_EQ(AttachButtonControl(parent, BUTTON_ID, "x", 1), nullptr);
  SendMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageA(button, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  PumpMessages();
  EXPECT_TRUE(log.commands.empty());
  EXPECT_EQ(GetCapture(), nullptr);
  InvalidateRect(button, nullptr, TRUE);
  EXPECT_EQ(InkOf(ReadClient(button)).pixels, 0);
  DestroyWindow(link);
  DestroyWindow(button);
}

// The default button rests in its own look, hovers, presses, and posts its
// id when released inside.
TEST_F(Controls, DefaultButtonRestsHoversPressesAndPostsOnRelease) {
  HWND button = Child(BUTTON_CLASS_NAME, BUTTON_ID, 10, 40, 93, 24);
  const ButtonControl* r = AttachButtonControl(parent, BUTTON_ID, "Close", 1);
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->x, 0);
  EXPECT_EQ(r->y, 0);
  EXPECT_EQ(r->width, 93);
  auto expect_look = [&](int state, const char* what) {
    SCOPED_TRACE(what);
    InvalidateRect(button, nullptr, FALSE);
    Pixels p = ReadClient(button);
    const SkinTriple& t = BUTTON_SKINS_OF_STATE[state];
    HBITMAP left = ButtonSkins[t.left - BITMAP_BUTTON_SKIN_FIRST];
    HBITMAP right = ButtonSkins[t.right - BITMAP_BUTTON_SKIN_FIRST];
    HBITMAP middle = ButtonSkins[t.middle - BITMAP_BUTTON_SKIN_FIRST];
    // caps whole (the caption is centred, clear of them); the middle above
    // the caption, which starts 4 rows down
    EXPECT_EQ(SkinMismatches(p, 0, SKIN_HEIGHT, left, false), 0);
    EXPECT_EQ(SkinMismatches(p, 93 - SKIN_WIDTH, SKIN_HEIGHT, right, false), 0);
    EXPECT_EQ(SkinMismatches(p, 40, 4, middle, true), 0);
  };
  EXPECT_EQ(r->state, BUTTON_DEFAULT);
  EXPECT_EQ(BUTTON_SKINS_OF_STATE[BUTTON_DEFAULT].left, 127);
  EXPECT_EQ(BUTTON_SKINS_OF_STATE[BUTTON_DEFAULT].right, 126);
  EXPECT_EQ(BUTTON_SKINS_OF_STATE[BUTTON_DEFAULT].middle, 128);
  expect_look(BUTTON_DEFAULT, "at rest");

  SendMessageA(button, WM_MOUSEMOVE, 0, MAKELPARAM(20, 10));
  EXPECT_EQ(r->state, BUTTON_HOVER);
  EXPECT_EQ(GetCapture(), button);
  expect_look(BUTTON_HOVER, "hover");

  SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 10));
  EXPECT_EQ(r->state, BUTTON_PRESSED);
  expect_look(BUTTON_PRESSED, "pressed");
  PumpMessages();
  EXPECT_TRUE(log.commands.empty()) << "pressing alone reports nothing";

  SendMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(20, 10));
  EXPECT_EQ(r->state, BUTTON_DEFAULT);
  expect_look(BUTTON_DEFAULT, "released");
  EXPECT_TRUE(log.commands.empty()) << "the release is posted, not sent";
  PumpMessages();
  ASSERT_EQ(log.commands.size(), 1u);
  EXPECT_EQ(log.commands[0].first, static_cast<WPARAM>(BUTTON_ID));
  EXPECT_EQ(log.commands[0].second, 0);
  ReleaseCapture();
}

// Pressed, then the mouse leaves before the release: the capture goes on the
// first move outside (x = -1, a negative 16-bit coordinate), the button
// rests, and the release outside reaches the parent, not the button.
TEST_F(Controls, LeavingBeforeTheReleaseReleasesTheCaptureAndPostsNothing) {
  HWND button = Child(BUTTON_CLASS_NAME, BUTTON_ID, 10, 40, 93, 24);
  const ButtonControl* r = AttachButtonControl(parent, BUTTON_ID, "Tutorials", 0);
  SendMessageA(button, WM_MOUSEMOVE, 0, MAKELPARAM(20, 10));
  SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 10));
  ASSERT_EQ(GetCapture(), button);
  SendMessageA(button, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-1, 10));
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(r->state, BUTTON_NORMAL);
  SendMessageA(parent, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));  // where the release now goes
  PumpMessages();
  EXPECT_TRUE(log.commands.empty());

  // each edge of the client area: right and bottom are outside, 0 inside
  for (LPARAM outside : {MAKELPARAM(93, 10), MAKELPARAM(20, 24), MAKELPARAM(20, -1)}) {
    SendMessageA(button, WM_MOUSEMOVE, 0, MAKELPARAM(0, 0));
    EXPECT_EQ(r->state, BUTTON_HOVER);
    SendMessageA(button, WM_MOUSEMOVE, 0, outside);
    EXPECT_EQ(r->state, BUTTON_NORMAL);
    EXPECT_EQ(GetCapture(), nullptr);
  }
}

// A disabled button shows the normal skin and grey text, whatever its state,
// and neither hovers nor presses.
TEST_F(Controls, DisabledButtonIsNormalAndGrey) {
  HWND button = Child(BUTTON_CLASS_NAME, BUTTON_ID, 10, 40, 93, 24);
  ButtonControl* r = AttachButtonControl(parent, BUTTON_ID, "Close", 0);
  r->enabled = 0;
  r->state = BUTTON_HOVER;
  SendMessageA(button, WM_MOUSEMOVE, 0, MAKELPARAM(20, 10));
  SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 10));
  EXPECT_EQ(r->state, BUTTON_HOVER);
  EXPECT_EQ(GetCapture(), nullptr);
  InvalidateRect(button, nullptr, FALSE);
  Pixels p = ReadClient(button);
  EXPECT_EQ(SkinMismatches(p, 0, SKIN_HEIGHT, ButtonSkins[BITMAP_BUTTON_SKIN_NORMAL_LEFT - BITMAP_BUTTON_SKIN_FIRST],
                           false),
            0);
  // the caption's darkest pixel is the grey 127, 127, 127
  Pixels normal = ReadBitmap(ButtonSkins[BITMAP_BUTTON_SKIN_NORMAL_MIDDLE - BITMAP_BUTTON_SKIN_FIRST]);
  int darkest = 255;
  for (int y = 0; y < SKIN_HEIGHT; ++y)
    for (int x = SKIN_WIDTH; x < 93 - SKIN_WIDTH; ++x)
      if (p.At(x, y) != normal.At(0, y)) darkest = std::min(darkest, Green(p.At(x, y)));
  EXPECT_EQ(darkest, 0x7F);
  // the release does not look at the enabled byte
  SendMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(20, 10));
  PumpMessages();
  EXPECT_EQ(log.commands.size(), 1u);
}

// A button 100 pixels wide: the caps unstretched at 0 and 82, the middle
// stretched over 18..81, each from its own (here single-coloured) skin.
TEST(PaintButton, CapsAtBothEndsAndTheMiddleStretchedBetween) {
  HDC screen = GetDC(nullptr);
  auto solid = [&](COLORREF c) {
    HBITMAP b = CreateCompatibleBitmap(screen, SKIN_WIDTH, SKIN_HEIGHT);
    HDC mem = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(mem, b);
    HBRUSH brush = CreateSolidBrush(c);
    RECT all = {0, 0, SKIN_WIDTH, SKIN_HEIGHT};
    FillRect(mem, &all, brush);
    DeleteObject(brush);
    SelectObject(mem, old);
    DeleteDC(mem);
    return b;
  };
  HBITMAP left = solid(RGB(200, 0, 0)), right = solid(RGB(0, 0, 200)), middle = solid(RGB(0, 200, 0));
  for (int width : {100, 36, 37}) {
    SCOPED_TRACE(width);
    HBITMAP target = CreateCompatibleBitmap(screen, width, SKIN_HEIGHT);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, target);
    RECT text = {0, 0, width, SKIN_HEIGHT};
    PaintButton(dc, 7, 0, 0, width, SKIN_HEIGHT, &text, 1, nullptr, left, right, middle);
    SelectObject(dc, old);
    DeleteDC(dc);
    Pixels p = ReadBitmap(target);
    int bad = 0;
    for (int y = 0; y < SKIN_HEIGHT; ++y)
      for (int x = 0; x < width; ++x) {
        uint32_t want = x < SKIN_WIDTH ? 0xC80000 : x >= width - SKIN_WIDTH ? 0x0000C8 : 0x00C800;
        if (p.At(x, y) != want) ++bad;
      }
    EXPECT_EQ(bad, 0);
    DeleteObject(target);
  }
  DeleteObject(left);
  DeleteObject(right);
  DeleteObject(middle);
  ReleaseDC(nullptr, screen);
}

// The twelve skins load from the resources, 18 x 24 each, and differ from
// one another (each state and part is its own picture).
TEST_F(Controls, TwelveDistinctSkinsLoad) {
  std::vector<Pixels> skins;
  for (HBITMAP skin : ButtonSkins) {
    ASSERT_NE(skin, nullptr);
    BITMAP info = {};
    GetObjectA(skin, sizeof info, &info);
    EXPECT_EQ(info.bmWidth, SKIN_WIDTH);
    EXPECT_EQ(info.bmHeight, SKIN_HEIGHT);
    EXPECT_EQ(info.bmBitsPixel, 24);
    skins.push_back(ReadBitmap(skin));
  }
  for (size_t i = 0; i < skins.size(); ++i)
    for (size_t j = i + 1; j < skins.size(); ++j) EXPECT_NE(skins[i].rgb, skins[j].rgb) << i << " " << j;
}
