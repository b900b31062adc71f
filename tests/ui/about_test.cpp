// The About dialog, run modally as the host runs it. Each test drives the
// open dialog from a thread timer, which the dialog's own message loop
// dispatches, and ends it itself: nothing waits for a person.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "resources/ui_resources.h"
#include "testhost/host_context.h"
#include "tests/ui/gdi_count.h"
#include "tests/ui/ui_test_util.h"
#include "ui/about_dialog.h"
#include "ui/controls.h"
#include "ui/ui.h"

namespace {
using Step = std::function<void(HWND dialog)>;

// The script of the open dialog: one step a timer tick. When the steps are
// done and the dialog is still open after a few more ticks, it is ended
// here and the test fails.
std::vector<Step> Steps;
size_t NextStep = 0;
int TicksAfterSteps = 0;
bool ForcedEnd = false;

HWND FindAboutDialog() {
  HWND dialog = FindOwnedWindow(nullptr, "#32770");
  while (dialog) {
    char title[64] = {};
    GetWindowTextA(dialog, title, sizeof title);
    if (std::strcmp(title, "About Velarra") == 0 && IsWindowVisible(dialog)) return dialog;
    dialog = FindWindowExA(nullptr, dialog, "#32770", nullptr);
  }
  return nullptr;
}

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
  HWND dialog = FindAboutDialog();
  if (!dialog) return;
  if (NextStep < Steps.size()) {
    Steps[NextStep++](dialog);
  } else if (++TicksAfterSteps > 20) {
    ForcedEnd = true;
    EndDialog(dialog, -1);
  }
}

// Runs `run` (which shows the dialog) with the steps on a timer.
void Script(std::vector<Step> steps, const std::function<void()>& run) {
  Steps = std::move(steps);
  NextStep = 0;
  TicksAfterSteps = 0;
  ForcedEnd = false;
  UINT_PTR timer = SetTimer(nullptr, 0, 10, Tick);
  run();
  KillTimer(nullptr, timer);
  EXPECT_EQ(NextStep, Steps.size()) << "the dialog ended before its script";
  EXPECT_FALSE(ForcedEnd) << "the dialog did not end by itself";
}

void RunAbout(std::vector<Step> steps, PF_InData* in_data = nullptr) {
  Script(std::move(steps), [&] { EXPECT_EQ(About(in_data, nullptr, nullptr, nullptr), PF_Err_NONE); });
}

// The dialog procedure alone, with the classes prepared as About does;
// returns the dialog's result.
INT_PTR RunDialog(std::vector<Step> steps) {
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  InitLinkControls();
  InitButtonControls();
  INT_PTR result = 0;
  Script(std::move(steps), [&] {
    result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(DIALOG_ABOUT), nullptr, AboutDlgProc, 0);
  });
  ReleaseButtonControls();
  ReleaseLinkControls();
  return result;
}

void PressKey(HWND dialog, WPARAM key) { PostMessageA(dialog, WM_KEYDOWN, key, 0); }

bool ClassRegistered(const char* name) {
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  return GetClassInfoExA(GetModuleHandleA(nullptr), name, &wc) != 0;
}

std::wstring TextOf(HWND window) {
  wchar_t text[128] = {};
  GetWindowTextW(window, text, 128);
  return text;
}

class AboutDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    UiTestModuleState();
    RecordShellOpens(&shell);
  }
  void TearDown() override {
    EXPECT_TRUE(WaitForLauncher());
    LauncherShellOpen = ShellOpenWithVerb;
  }
  ShellLog shell;
};

// ---- the template ------------------------------------------------------------
struct Reader {
  const uint8_t* p;
  uint16_t U16() {
    uint16_t v;
    std::memcpy(&v, p, 2);
    p += 2;
    return v;
  }
  uint32_t U32() {
    uint32_t v;
    std::memcpy(&v, p, 4);
    p += 4;
    return v;
  }
  // a name: 0 (none), 0xFFFF and an ordinal ("#n"), or a zero-terminated
  // UTF-16 string
  std::wstring Name() {
    uint16_t first = U16();
    if (first == 0) return L"";
    if (first == 0xFFFF) return L"#" + std::to_wstring(U16());
    std::wstring s(1, static_cast<wchar_t>(first));
    for (uint16_t c; (c = U16()) != 0;) s += static_cast<wchar_t>(c);
    return s;
  }
  void AlignTo4(const uint8_t* base) {
    while ((p - base) % 4) ++p;
  }
};

struct ItemRow {
  int32_t id;
  const wchar_t* cls;
  int16_t x, y, cx, cy;
  const wchar_t* text;
};
}  // namespace

TEST(AboutTemplate, IsTheExtendedTemplateAsTabled) {
  HMODULE self = GetModuleHandleA(nullptr);
  HRSRC res = FindResourceA(self, MAKEINTRESOURCEA(DIALOG_ABOUT), MAKEINTRESOURCEA(5));  // RT_DIALOG
  ASSERT_NE(res, nullptr);
  const auto* base = static_cast<const uint8_t*>(LockResource(LoadResource(self, res)));
  Reader r{base};
  EXPECT_EQ(r.U16(), 1);       // version
  EXPECT_EQ(r.U16(), 0xFFFF);  // extended template
  r.U32();                     // help id
  r.U32();                     // extended style
  EXPECT_EQ(r.U32(), 0x80C808C4u);
  uint16_t items = r.U16();
  EXPECT_EQ(items, 8);
  EXPECT_EQ(static_cast<int16_t>(r.U16()), 0);
  EXPECT_EQ(static_cast<int16_t>(r.U16()), 0);
  EXPECT_EQ(r.U16(), 286);
  EXPECT_EQ(r.U16(), 326);
  EXPECT_EQ(r.Name(), L"");  // no menu
  EXPECT_EQ(r.Name(), L"");  // the dialog class
  EXPECT_EQ(r.Name(), L"About Velarra");
  EXPECT_EQ(r.U16(), 8);  // points
  r.U16();                // weight
  r.U16();                // italic, character set
  EXPECT_EQ(r.Name(), L"MS Sans Serif");

  const ItemRow rows[] = {
      {-1, L"#130", 9, 6, 268, 186, L"#780"},  // the picture: a static (class 0x82) showing bitmap 780
      {-1, L"#128", 9, 194, 267, 59, L""},     // group box (a button, class 0x80)
      {-1, L"#130", 15, 208, 143, 8, L"Velarra plug-in for Adobe\u00AE Affter Effects\u00AE."},
      {-1, L"#130", 155, 208, 26, 8, L"Version:"},
      {1033, L"#130", 182, 208, 19, 8, L"Static"},
      {1002, L"ContainerLinkC", 123, 234, 109, 11, L"Custom1"},
      {2002, L"MacStyleBtn", 145, 305, 62, 14, L"Custom1"},
      {2, L"MacStyleBtn", 213, 305, 62, 14, L"Custom1"},
  };
  for (int i = 0; i < items && i < 8; ++i) {
    SCOPED_TRACE(i);
    r.AlignTo4(base);
    r.U32();  // help id
    r.U32();  // extended style
    uint32_t style = r.U32();
    EXPECT_EQ(style & (WS_CHILD | WS_VISIBLE), static_cast<uint32_t>(WS_CHILD | WS_VISIBLE));
    if (i == 0) {
      EXPECT_EQ(style & SS_TYPEMASK, static_cast<uint32_t>(SS_BITMAP));
      EXPECT_TRUE(style & WS_BORDER);
    }
    if (i == 1) {
      EXPECT_EQ(style & 0xF, static_cast<uint32_t>(BS_GROUPBOX));
    }
    EXPECT_EQ(static_cast<int16_t>(r.U16()), rows[i].x);
    EXPECT_EQ(static_cast<int16_t>(r.U16()), rows[i].y);
    EXPECT_EQ(static_cast<int16_t>(r.U16()), rows[i].cx);
    EXPECT_EQ(static_cast<int16_t>(r.U16()), rows[i].cy);
    EXPECT_EQ(static_cast<int32_t>(r.U32()), rows[i].id);
    // the resource compiler stores class names in capitals, and the
    // platform's classes by name or by number; classes are looked up
    // without regard to case
    std::wstring cls = r.Name();
    if (cls == L"STATIC") cls = L"#130";
    if (cls == L"BUTTON") cls = L"#128";
    EXPECT_EQ(_wcsicmp(cls.c_str(), rows[i].cls), 0) << i;
    EXPECT_EQ(r.Name(), rows[i].text);
    r.p += r.U16();  // creation data
  }
}

// ---- the running dialog ------------------------------------------------------
TEST_F(AboutDialog, ItemsAttachedAtStartUpAndPictured) {
  RunAbout({[](HWND dialog) {
    // the items of the template, with their classes
    struct Want {
      int id;
      const char* cls;
    } wants[] = {{1033, "Static"}, {1002, "ContainerLinkC"}, {2002, "MacStyleBtn"}, {2, "MacStyleBtn"}};
    for (const Want& w : wants) {
      HWND item = GetDlgItem(dialog, w.id);
      ASSERT_NE(item, nullptr) << w.id;
      char cls[64] = {};
      GetClassNameA(item, cls, sizeof cls);
      EXPECT_STREQ(cls, w.cls) << w.id;
    }
    int children = 0;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) ++children;
    EXPECT_EQ(children, 8);
    EXPECT_EQ(TextOf(GetDlgItem(dialog, 1033)), L"1.5 (64 Bit)");

    const auto* link = static_cast<const LinkControl*>(FindControlRecord(GetDlgItem(dialog, 1002), LINK_CLASS_NAME));
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->attached, LINK_ATTACHED);
    EXPECT_EQ(link->active, 1);
    EXPECT_EQ(link->leftAligned, 1);
    EXPECT_STREQ(link->text, MakerWebDisplayText);
    const char* captions[] = {"Tutorials", "Close"};
    int ids[] = {2002, 2};
    for (int i = 0; i < 2; ++i) {
      const auto* b = static_cast<const ButtonControl*>(FindControlRecord(GetDlgItem(dialog, ids[i]), BUTTON_CLASS_NAME));
      ASSERT_NE(b, nullptr);
      EXPECT_STREQ(b->text, captions[i]);
      EXPECT_EQ(b->isDefault, 0);
      EXPECT_EQ(b->state, BUTTON_NORMAL);
      EXPECT_EQ(b->enabled, 1);
    }
    // tooltips on the link and on "Close", none on "Tutorials"
    const char* tips[][2] = {{"1002", "Visit author site and look at other plug-ins"}, {"2", "Close window"}};
    for (auto& t : tips) {
      HWND tip = FindTooltipOf(GetDlgItem(dialog, std::atoi(t[0])));
      ASSERT_NE(tip, nullptr) << t[0];
      char text[80] = {};
      TTTOOLINFOA tool = {};
      tool.cbSize = sizeof tool;
      tool.lpszText = text;
      SendMessageA(tip, TTM_ENUMTOOLSA, 0, reinterpret_cast<LPARAM>(&tool));
      EXPECT_STREQ(text, t[1]);
    }
    EXPECT_EQ(FindTooltipOf(GetDlgItem(dialog, 2002)), nullptr);

    // the picture shows bitmap 780, fitted to the item (its size in pixels
    // follows the dialog font: Wine stretches the bitmap into it, Windows
    // sizes the item to the bitmap); tolerance: a mean channel difference
    // below 8 against the nearest source pixel
    HWND picture = nullptr;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
      if ((GetWindowLongA(c, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP) picture = c;
    ASSERT_NE(picture, nullptr);
    HBITMAP art = static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(BITMAP_ABOUT_PICTURE),
                                                  IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    Pixels want = ReadBitmap(art);
    DeleteObject(art);
    EXPECT_EQ(want.width, 400);
    EXPECT_EQ(want.height, 300);
    Pixels shown = ReadClient(picture);
    ASSERT_GT(shown.width, 300);
    ASSERT_GT(shown.height, 200);
    double difference = 0;
    for (int y = 0; y < shown.height; ++y)
      for (int x = 0; x < shown.width; ++x) {
        uint32_t a = shown.At(x, y), b = want.At(x * want.width / shown.width, y * want.height / shown.height);
        difference += std::abs(Red(a) - Red(b)) + std::abs(Green(a) - Green(b)) + std::abs(Blue(a) - Blue(b));
      }
    EXPECT_LT(difference / (3.0 * shown.width * shown.height), 8.0) << shown.width << " x " << shown.height;

    // the whole dialog, for people to look at
    Pixels all = ReadWindow(dialog);
    EXPECT_TRUE(WritePng(VELARRA_ABOUT_PICTURE, all)) << VELARRA_ABOUT_PICTURE;
    PressKey(dialog, VK_ESCAPE);
  }});
}

TEST_F(AboutDialog, EnterEscapeAndCloseEndItWithTheirIds) {
  EXPECT_EQ(RunDialog({[](HWND d) { PressKey(d, VK_RETURN); }}), IDOK);
  EXPECT_EQ(RunDialog({[](HWND d) { PressKey(d, VK_ESCAPE); }}), IDCANCEL);
  EXPECT_EQ(RunDialog({[](HWND d) {
              HWND close = GetDlgItem(d, IDCANCEL);
              SendMessageA(close, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
              SendMessageA(close, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
            }}),
            IDCANCEL);
}

TEST_F(AboutDialog, CommandsWithANotificationCodeDoNotEndIt) {
  INT_PTR result = RunDialog({
      [](HWND d) {
        for (int id : {IDOK, IDCANCEL})
          for (int code : {1, 6, 0xFFFF}) {
            SendMessageA(d, WM_COMMAND, MAKEWPARAM(id, code), 0);
            EXPECT_TRUE(IsWindowVisible(d)) << id << " " << code;
          }
        SendMessageA(d, WM_COMMAND, MAKEWPARAM(4711, 0), 0);  // no such item
        EXPECT_TRUE(IsWindowVisible(d));
      },
      [](HWND d) {
        EXPECT_TRUE(IsWindowVisible(d));
        SendMessageA(d, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
      },
  });
  EXPECT_EQ(result, IDCANCEL);
}

// The link and "Tutorials" hand their addresses to a launcher, owned by the
// host's main window, and leave the dialog open.
TEST_F(AboutDialog, LinkAndTutorialsOpenTheirAddressesAndKeepTheDialog) {
  HWND host_window = CreateRecordingParent(nullptr);
  HostMainWindow = host_window;
  RunAbout({
      [&](HWND d) {
        SendMessageA(GetDlgItem(d, 1002), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
        ASSERT_TRUE(WaitForLauncher());
        ASSERT_EQ(shell.opened.size(), 1u);
        EXPECT_EQ(shell.opened[0], MakerWebAddress);
        EXPECT_EQ(shell.owners[0], host_window);
        EXPECT_TRUE(IsWindowVisible(d));
        HWND tutorials = GetDlgItem(d, 2002);
        SendMessageA(tutorials, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        SendMessageA(tutorials, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));  // posts 2002 to the dialog
      },
      [&](HWND d) {
        ASSERT_TRUE(WaitForLauncher());
        ASSERT_EQ(shell.opened.size(), 2u);
        EXPECT_EQ(shell.opened[1], TutorialsWebAddress);
        EXPECT_TRUE(IsWindowVisible(d));
        PressKey(d, VK_ESCAPE);
      },
  });
  EXPECT_EQ(std::string(MakerWebAddress).rfind("https://", 0), 0u);
  EXPECT_EQ(std::string(TutorialsWebAddress).rfind("https://", 0), 0u);
  DestroyWindow(host_window);
}

// Everything of the dialog is made for one command and released after it:
// the classes are registered only while it runs, and no font, brush, bitmap
// or device context is left behind, also on the second run.
TEST_F(AboutDialog, AboutTwiceRegistersAndReleasesEverythingEachTime) {
  GdiCountInstall();
  const int64_t live = GdiLiveObjects();
  const int64_t made = GdiObjectsMade();
  const DWORD platform_count = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  for (int run = 0; run < 2; ++run) {
    SCOPED_TRACE(run);
    EXPECT_FALSE(ClassRegistered(LINK_CLASS_NAME));
    EXPECT_FALSE(ClassRegistered(BUTTON_CLASS_NAME));
    std::vector<HGDIOBJ> shared;
    RunAbout({[&](HWND d) {
      EXPECT_TRUE(ClassRegistered(LINK_CLASS_NAME));
      EXPECT_TRUE(ClassRegistered(BUTTON_CLASS_NAME));
      shared = {LinkBackgroundBrush, LinkPlainFont, LinkUnderlineFont, ButtonFont};
      for (HBITMAP skin : ButtonSkins) shared.push_back(skin);
      for (HGDIOBJ h : shared) EXPECT_NE(GetObjectType(h), 0u);
      EXPECT_NE(LinkHandCursor, nullptr);
      RedrawWindow(d, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
      PressKey(d, VK_ESCAPE);
    }});
    EXPECT_FALSE(ClassRegistered(LINK_CLASS_NAME));
    EXPECT_FALSE(ClassRegistered(BUTTON_CLASS_NAME));
    for (HGDIOBJ h : shared) EXPECT_EQ(GetObjectType(h), 0u) << "still alive: " << h;
    EXPECT_EQ(LinkBackgroundBrush, nullptr);
    EXPECT_EQ(ButtonFont, nullptr);
    EXPECT_EQ(GdiLiveObjects(), live);
    EXPECT_EQ(GdiFailedReleases(), 0) << "an object released twice";
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), platform_count);
  }
  // fonts, brush, twelve skins, paint buffers: the counter saw them
  EXPECT_GT(GdiObjectsMade() - made, 2 * 16);
  // the shared hand cursor is still usable
  EXPECT_NE(LoadCursorA(nullptr, MAKEINTRESOURCEA(32649)), nullptr);
}

// The panel's About button under an open dialog: the second About does
// nothing, and the open dialog keeps its classes and pictures.
TEST_F(AboutDialog, AboutWhileOneIsOpenDoesNothing) {
  RunAbout({[](HWND d) {
    HBRUSH brush = LinkBackgroundBrush;
    EXPECT_EQ(About(nullptr, nullptr, nullptr, nullptr), PF_Err_NONE);
    EXPECT_EQ(LinkBackgroundBrush, brush);
    EXPECT_NE(GetObjectType(brush), 0u);
    EXPECT_TRUE(ClassRegistered(BUTTON_CLASS_NAME));
    EXPECT_TRUE(IsWindowVisible(d));
    PressKey(d, VK_ESCAPE);
  }});
  EXPECT_FALSE(AboutDialogOpen);
}

// The dialog belongs to the host's main window, which About asks the host
// for; without an answer it has no owner.
TEST_F(AboutDialog, OwnedByTheHostsMainWindow) {
  HWND main = CreateRecordingParent(nullptr);
  HostContext ctx;
  HostContextInit(ctx);
  ctx.main_window = main;
  RunAbout({[&](HWND d) {
             EXPECT_EQ(GetWindow(d, GW_OWNER), main);
             PressKey(d, VK_ESCAPE);
           }},
           &ctx.in_data);
  EXPECT_EQ(ctx.platform_data_calls, 1);
  ctx.fail_platform_data.at = 2;
  RunAbout({[&](HWND d) {
             EXPECT_EQ(GetWindow(d, GW_OWNER), nullptr);
             PressKey(d, VK_ESCAPE);
           }},
           &ctx.in_data);
  EXPECT_EQ(ctx.misuse, 0);
  HostContextActivate(nullptr);
  DestroyWindow(main);
}

// The About command of each built module, through its entry point: the
// module carries the dialog, the pictures and the classes itself.
TEST_F(AboutDialog, EachModuleShowsItsAboutThroughTheEntryPoint) {
  for (const char* file : {"VelarraTheatre.AEX", "VelarraTableau.AEX", "VelarraDrape.AEX"}) {
    SCOPED_TRACE(file);
    HMODULE module = LoadLibraryA((std::string(VELARRA_TEST_MODULE_DIR) + file).c_str());
    ASSERT_NE(module, nullptr);
    auto entry = reinterpret_cast<PF_FilterProc>(reinterpret_cast<void*>(GetProcAddress(module, "EntryPointFunc")));
    ASSERT_NE(entry, nullptr);
    HostContext ctx;
    HostContextInit(ctx);
    auto registered = [&](const char* name) {
      WNDCLASSEXA wc = {};
      wc.cbSize = sizeof wc;
      return GetClassInfoExA(module, name, &wc) != 0;
    };
    Script({[&](HWND d) {
             EXPECT_TRUE(registered("ContainerLinkC"));
             EXPECT_TRUE(registered("MacStyleBtn"));
             EXPECT_EQ(TextOf(GetDlgItem(d, 1033)), L"1.5 (64 Bit)");
             PressKey(d, VK_ESCAPE);
           }},
           [&] { EXPECT_EQ(entry(PF_Cmd_ABOUT, &ctx.in_data, &ctx.out_data, nullptr, nullptr, nullptr), PF_Err_NONE); });
    EXPECT_FALSE(registered("ContainerLinkC"));
    EXPECT_FALSE(registered("MacStyleBtn"));
    EXPECT_EQ(ctx.platform_data_calls, 1);
    HostContextActivate(nullptr);
    FreeLibrary(module);
  }
}
