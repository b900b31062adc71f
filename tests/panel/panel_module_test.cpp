// Under Wine, the built modules' panels as the host meets them: drawn from
// each module's own pictures to match its golden images, and the About
// button opening the About dialog (closed here).
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

#include "testhost/panel_host.h"
#include "testhost/panel_render.h"
#include "testhost/session.h"
#include "tests/panel/panel_golden.h"

namespace {
constexpr int GOLDEN_TOLERANCE = 0;  // exact: nothing lossy between the resources and the canvas

struct Module {
  HMODULE module = nullptr;
  PF_FilterProc entry = nullptr;
  explicit Module(const char* file) {
    module = LoadLibraryA((std::string(VELARRA_TEST_MODULE_DIR) + file).c_str());
    if (module)
      entry = reinterpret_cast<PF_FilterProc>(
          reinterpret_cast<void*>(GetProcAddress(module, "EntryPointFunc")));
  }
  ~Module() {
    if (module) FreeLibrary(module);
  }
};

// The commands the host sends before the panel is shown.
struct Instance {
  HostContext ctx;
  std::vector<PF_ParamDef> defs;
  std::vector<PF_ParamDef*> params;
  explicit Instance(PF_FilterProc entry) {
    HostContextInit(ctx);
    EXPECT_EQ(entry(PF_Cmd_GLOBAL_SETUP, &ctx.in_data, &ctx.out_data, nullptr, nullptr, nullptr),
              PF_Err_NONE);
    EXPECT_EQ(entry(PF_Cmd_PARAMS_SETUP, &ctx.in_data, &ctx.out_data, nullptr, nullptr, nullptr),
              PF_Err_NONE);
    defs.assign(ctx.registered.size() + 1, PF_ParamDef());
    for (size_t i = 1; i < defs.size(); ++i) defs[i] = ctx.registered[i - 1];
    for (PF_ParamDef& d : defs) params.push_back(&d);
  }
  ~Instance() { HostContextActivate(nullptr); }
};

TEST(PanelModules, EachPanelNormalAndHoveredMatchesItsGolden) {
  for (const char* name : {"VelarraTheatre", "VelarraTableau", "VelarraDrape"}) {
    SCOPED_TRACE(name);
    Module m((std::string(name) + ".AEX").c_str());
    ASSERT_NE(m.entry, nullptr);
    Instance inst(m.entry);
    ASSERT_EQ(RenderPanelImages(m.entry, inst.ctx, inst.params.data(), VELARRA_PANEL_OUT,
                                std::string(name) + "_win", name, stderr),
              HOST_EXIT_OK);
    for (const char* which : {"_panel", "_panel_about", "_panel_help"}) {
      const std::string out = std::string(VELARRA_PANEL_OUT) + "/" + name + "_win" + which;
      std::string message;
      EXPECT_TRUE(ComparePngFiles(out + ".png",
                                  std::string(VELARRA_PANEL_GOLDEN) + "/" + name + which + ".png",
                                  GOLDEN_TOLERANCE, out + "_diff.png", message))
          << message;
    }
  }
}

// The visible About dialog of this program, if any (other programs under
// the same Wine server may show theirs).
HWND OurAboutDialog() {
  struct Search {
    HWND found = nullptr;
  } search;
  EnumWindows(
      [](HWND w, LPARAM p) -> BOOL {
        DWORD process = 0;
        GetWindowThreadProcessId(w, &process);
        char title[64] = {};
        GetWindowTextA(w, title, sizeof title);
        if (process == GetCurrentProcessId() && IsWindowVisible(w) &&
            std::string(title) == "About Velarra") {
          reinterpret_cast<Search*>(p)->found = w;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Closes the About dialog once it shows; says whether it did.
struct DialogCloser {
  std::atomic<bool> closed{false};
  std::atomic<bool> stop{false};
  std::thread thread;
  DialogCloser() {
    thread = std::thread([this] {
      for (int i = 0; i < 1000 && !stop; ++i) {  // up to 20 s
        if (HWND dialog = OurAboutDialog()) {
          closed = true;
          PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
          return;
        }
        Sleep(20);
      }
    });
  }
  ~DialogCloser() {
    stop = true;
    thread.join();
  }
};

TEST(PanelModules, ClickOnAboutRunsTheDialogAndOutsideDoesNothing) {
  Module m("VelarraTheatre.AEX");
  ASSERT_NE(m.entry, nullptr);
  Instance inst(m.entry);
  PanelHost host;
  PanelHostInit(host, inst.ctx);
  PF_EventExtra draw = PanelHostDrawEvent(host);
  ASSERT_EQ(PanelHostSend(host, m.entry, inst.params.data(), draw), PF_Err_NONE);

  // outside both buttons: no dialog, nothing changes
  PF_EventExtra away = PanelHostClickEvent(host, host.left + 250, host.top + 50);
  EXPECT_EQ(PanelHostSend(host, m.entry, inst.params.data(), away), PF_Err_NONE);
  EXPECT_EQ(OurAboutDialog(), nullptr);
  EXPECT_EQ(away.evt_out_flags, 0);

  DialogCloser closer;
  PF_EventExtra click = PanelHostClickEvent(host, host.left + 12, host.top + 13);
  EXPECT_EQ(PanelHostSend(host, m.entry, inst.params.data(), click),
            PF_Err_NONE);  // returns once it is closed
  EXPECT_TRUE(closer.closed);
  EXPECT_EQ(click.evt_out_flags, 0);
  EXPECT_EQ(PanelHostSuitesHeld(host), 0);
  EXPECT_EQ(host.misuse, 0);
  PanelHostDone(host);
}
}  // namespace
