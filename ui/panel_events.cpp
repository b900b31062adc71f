// The panel's events: dispatch, draw, click and cursor.
#include "host/host.h"
#include "sdk/AE_EffectSuites.h"
#include "ui/panel.h"
#include "ui/panel_suites.h"
#include "ui/ui.h"  // StartHelpDocThread

A_long PanelOriginX = 0;
A_long PanelOriginY = 0;
A_u_char HoverHelp = 0;
A_u_char HoverAbout = 0;
A_u_char PanelNoHover = 1;

namespace {
// The window the event belongs to; a missing context belongs to none.
bool InEffectWindow(const PF_EventExtra* event) {
  return event->contextH && *event->contextH && (*event->contextH)->w_type == PF_Window_EFFECT;
}
}  // namespace

bool PanelOverHelp(A_long ox, A_long oy, A_long x, A_long y) {
  // 64 bits: an origin near the ends of the range must not wrap.
  int64_t dx = int64_t(x) - ox, dy = int64_t(y) - oy;
  return dx >= PANEL_HELP_X && dx <= PANEL_HELP_RIGHT && dy >= PANEL_HELP_Y &&
         dy <= PANEL_HELP_BOTTOM;
}

bool PanelOverAbout(A_long ox, A_long oy, A_long x, A_long y) {
  int64_t dx = int64_t(x) - ox, dy = int64_t(y) - oy;
  return dx >= PANEL_ABOUT_X && dx <= PANEL_ABOUT_RIGHT && dy >= PANEL_ABOUT_Y &&
         dy <= PANEL_ABOUT_BOTTOM;
}

// Draw and cursor events belong to the panel only in the Effect Controls
// window and only for its parameter; clicks reach PanelDoClick whatever the
// parameter. The window type is looked at before the effect-window fields,
// which mean nothing for the other windows. The handlers' results are not
// passed on: the event always answers 0.
PF_Err HandleEvent(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                   PF_LayerDef* output, PF_EventExtra* event) {
  if (!event) return PF_Err_NONE;
  switch (event->e_type) {
    case PF_Event_DO_CLICK:
      PanelDoClick(in_data, out_data, params, output, event);
      break;
    case PF_Event_DRAW:
      if (InEffectWindow(event) && event->effect_win.index == PANEL_PARAM_INDEX)
        PanelDraw(in_data, out_data, params, output, event);
      break;
    case PF_Event_ADJUST_CURSOR:
      if (InEffectWindow(event) && event->effect_win.index == PANEL_PARAM_INDEX)
        PanelAdjustCursor(in_data, out_data, params, output, event);
      break;
    default:  // idle and everything else
      break;
  }
  return PF_Err_NONE;
}

PF_Err PanelDraw(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                 PF_LayerDef* output, PF_EventExtra* event) {
  if (event->evt_in_flags & PF_EI_DONT_DRAW) {
    PanelNoHover = 1;
    return PF_Err_NONE;
  }
  if (!InEffectWindow(event)) return PF_Err_NONE;
  PanelNoHover = 0;
  // The hit tests take the origin the pictures are drawn at: the current
  // frame, not the update rectangle, which covers only what is redrawn.
  PanelOriginX = event->effect_win.current_frame.left;
  PanelOriginY = event->effect_win.current_frame.top;

  PanelDrawBitmap(in_data, out_data, params, output, event, BITMAP_PANEL_BANNER, PANEL_BANNER_WIDTH,
                  PANEL_BANNER_HEIGHT, 0, 0);
  PanelDrawBitmap(in_data, out_data, params, output, event,
                  HoverHelp ? BITMAP_HELP_BUTTON_HOVER : BITMAP_HELP_BUTTON, PANEL_HELP_WIDTH,
                  PANEL_HELP_HEIGHT, PANEL_HELP_X, PANEL_HELP_Y);
  PanelDrawBitmap(in_data, out_data, params, output, event,
                  HoverAbout ? BITMAP_ABOUT_BUTTON_HOVER : BITMAP_ABOUT_BUTTON, PANEL_ABOUT_WIDTH,
                  PANEL_ABOUT_HEIGHT, PANEL_ABOUT_X, PANEL_ABOUT_Y);
  return PF_Err_NONE;
}

// A click before the first draw tests against the origin (0, 0). The two
// areas do not overlap, so at most one button answers.
PF_Err PanelDoClick(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                    PF_LayerDef* output, PF_EventExtra* event) {
  if (!InEffectWindow(event)) return PF_Err_NONE;
  const PF_Point p = event->u.do_click.screen_point;
  if (PanelOverHelp(PanelOriginX, PanelOriginY, p.h, p.v)) StartHelpDocThread(0);
  if (PanelOverAbout(PanelOriginX, PanelOriginY, p.h, p.v))
    About(in_data, out_data, params, output);
  return PF_Err_NONE;
}

PF_Err PanelAdjustCursor(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                         PF_LayerDef* /*output*/, PF_EventExtra* event) {
  PF_ParamDef* panel = params ? params[PANEL_PARAM_INDEX] : nullptr;
  if (!panel) return PF_Err_NONE;
  if ((panel->flags & PF_ParamFlag_COLLAPSE_TWIRLY) || PanelNoHover) return PF_Err_NONE;
  if (!InEffectWindow(event)) return PF_Err_NONE;

  const PF_Point p = event->u.adjust_cursor.screen_point;
  const A_u_char over_help = PanelOverHelp(PanelOriginX, PanelOriginY, p.h, p.v);
  const A_u_char over_about = PanelOverAbout(PanelOriginX, PanelOriginY, p.h, p.v);
  if (over_help == HoverHelp && over_about == HoverAbout) return PF_Err_NONE;

  // The hover changes only together with the redraw that shows it: without
  // the App suite the state stays, and the next cursor event tries again.
  // Version 6 of the App suite is the table PFAppSuite4.
  PanelSuite app = {kPFAppSuite, kPFAppSuiteVersion4, nullptr};
  if (PanelAcquireSuite(in_data, out_data, app) != PF_Err_NONE) return PF_Err_NONE;
  const PFAppSuite4* suite = static_cast<const PFAppSuite4*>(app.table);
  if (!suite->PF_InvalidateRect) {
    PanelSuiteIncomplete(in_data, out_data, app);
    return PF_Err_NONE;
  }
  HoverHelp = over_help;
  HoverAbout = over_about;
  suite->PF_InvalidateRect(event->contextH, &event->effect_win.current_frame);
  event->evt_out_flags |= PF_EO_HANDLED_EVENT | PF_EO_UPDATE_NOW;
  panel->uu.change_flags |= PF_ChangeFlag_CHANGED_VALUE;
  PanelReleaseSuite(in_data, out_data, app);
  return PF_Err_NONE;
}
