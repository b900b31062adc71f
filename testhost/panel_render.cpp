#include "testhost/panel_render.h"

#include "testhost/panel_host.h"
#include "testhost/session.h"

namespace {
// Window points over the middle of the buttons and away from both.
constexpr A_long ABOUT_CENTRE_X = 12 + 27, ABOUT_CENTRE_Y = 13 + 27;
constexpr A_long HELP_CENTRE_X = 70 + 36, HELP_CENTRE_Y = 49 + 20;
constexpr A_long AWAY_X = 300, AWAY_Y = 110;

struct Run {
  PanelHost host;
  PF_FilterProc entry;
  PF_ParamDef** params;
  const std::string& name;
  FILE* err;
  int status = HOST_EXIT_OK;

  Run(PF_FilterProc e, PF_ParamDef** p, const std::string& n, FILE* f)
      : entry(e), params(p), name(n), err(f) {}

  void Fail(int code, const char* what) {
    std::fprintf(err, "%s: panel: %s\n", name.c_str(), what);
    if (status == HOST_EXIT_OK) status = code;
  }

  void Deliver(PF_EventExtra event) {
    HostContext& ctx = *host.ctx;
    ctx.out_data.out_flags &= ~PF_OutFlag_DISPLAY_ERROR_MESSAGE;
    if (PanelHostSend(host, entry, params, event) != PF_Err_NONE)
      Fail(HOST_EXIT_COMMAND, "an event returned an error");
    if (ctx.out_data.out_flags & PF_OutFlag_DISPLAY_ERROR_MESSAGE) {
      ctx.out_data.return_msg[sizeof ctx.out_data.return_msg - 1] = 0;
      std::fprintf(err, "%s: message from the effect: %s\n", name.c_str(), ctx.out_data.return_msg);
      Fail(HOST_EXIT_COMMAND, "an event left a message");
      ctx.out_data.out_flags &= ~PF_OutFlag_DISPLAY_ERROR_MESSAGE;
    }
  }

  void Draw() {
    PanelHostClearCanvas(host);
    Deliver(PanelHostDrawEvent(host));
  }

  void Hover(A_long x, A_long y) {
    const size_t before = host.invalidated.size();
    Deliver(PanelHostCursorEvent(host, host.left + x, host.top + y));
    if (host.invalidated.size() != before + 1)
      Fail(HOST_EXIT_COMMAND, "a change of hover did not ask for a redraw");
  }

  bool Write(const std::string& path) {
    std::string message;
    if (PanelHostWritePng(host, path, message)) return true;
    std::fprintf(err, "%s\n", message.c_str());
    if (status == HOST_EXIT_OK) status = HOST_EXIT_USAGE;
    return false;
  }
};
}  // namespace

int RenderPanelImages(PF_FilterProc entry, HostContext& ctx, PF_ParamDef* params[],
                      const std::string& dir, const std::string& prefix, const std::string& name,
                      FILE* err) {
  Run run(entry, params, name, err);
  PanelHostInit(run.host, ctx);
  const std::string base = dir + "/" + prefix + "_panel";

  run.Draw();
  const std::vector<uint8_t> first = run.host.canvas;
  if (run.host.draws.empty()) run.Fail(HOST_EXIT_COMMAND, "the draw event drew nothing");
  run.Write(base + ".png");
  run.Hover(ABOUT_CENTRE_X, ABOUT_CENTRE_Y);
  run.Draw();
  run.Write(base + "_about.png");
  run.Hover(HELP_CENTRE_X, HELP_CENTRE_Y);
  run.Draw();
  run.Write(base + "_help.png");
  run.Hover(AWAY_X, AWAY_Y);
  run.Draw();
  if (run.host.canvas != first)
    run.Fail(HOST_EXIT_COMMAND, "leaving the buttons did not bring the first picture back");

  for (const std::string& m : run.host.misuse_log)
    std::fprintf(err, "%s: panel misuse: %s\n", name.c_str(), m.c_str());
  if (run.host.misuse) run.Fail(HOST_EXIT_COMMAND, "the suites were misused");
  if (PanelHostSuitesHeld(run.host) != 0)
    run.Fail(HOST_EXIT_LEAK, "suites acquired and not released");
  if (run.host.live_images != 0) run.Fail(HOST_EXIT_LEAK, "images made and not released");
  PanelHostDone(run.host);
  return run.status;
}
