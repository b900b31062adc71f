// The panel's events with synthetic pictures: what is drawn where, hover,
// clicks and the dispatch by window and parameter.
#include "tests/panel/panel_fixture.h"

namespace {
// Every picture lands at its place with its own pixels, top row first; the
// rest of the frame keeps the host's background.
TEST_F(PanelTest, DrawPutsTheThreePicturesAtTheFrameInOrder) {
  ASSERT_EQ(Draw(), PF_Err_NONE);
  ASSERT_EQ(host.draws.size(), 3u);
  // banner, help, About; each at the frame's origin plus its place, opaque
  EXPECT_EQ(host.draws[0].width, 360);
  EXPECT_EQ(host.draws[0].height, 100);
  EXPECT_EQ(host.draws[0].x, float(PANEL_HOST_LEFT));
  EXPECT_EQ(host.draws[0].y, float(PANEL_HOST_TOP));
  EXPECT_EQ(host.draws[1].width, 73);
  EXPECT_EQ(host.draws[1].x, float(PANEL_HOST_LEFT + 70));
  EXPECT_EQ(host.draws[1].y, float(PANEL_HOST_TOP + 49));
  EXPECT_EQ(host.draws[2].width, 54);
  EXPECT_EQ(host.draws[2].x, float(PANEL_HOST_LEFT + 12));
  EXPECT_EQ(host.draws[2].y, float(PANEL_HOST_TOP + 13));
  for (const PanelHostDraw& d : host.draws) EXPECT_EQ(d.alpha, 1.0f);

  EXPECT_EQ(At(0, 0), PictureColour(781, 0, 0));
  EXPECT_EQ(At(359, 99), PictureColour(781, 359, 99));
  EXPECT_EQ(At(200, 10), PictureColour(781, 200, 10));
  EXPECT_EQ(At(360, 0), Background());
  EXPECT_EQ(At(0, 100), Background());
  EXPECT_EQ(At(70, 49), PictureColour(784, 0, 0));
  EXPECT_EQ(At(142, 88), PictureColour(784, 72, 39));
  EXPECT_EQ(At(143, 88), PictureColour(781, 143, 88));  // the picture ends before its hit area
  EXPECT_EQ(At(12, 13), PictureColour(782, 0, 0));
  EXPECT_EQ(At(65, 66), PictureColour(782, 53, 53));
  EXPECT_EQ(host.ctx->in_data.pica_basicP, &host.basic);
  EXPECT_EQ(PanelNoHover, 0);
  EXPECT_FALSE(Message());
}

// A draw of part of the panel still draws at the frame and sets the origin
// of the hit tests to the frame, not to the part that is redrawn.
TEST_F(PanelTest, PartialRedrawKeepsPicturesAndHitAreasAtTheFrame) {
  PF_EventExtra e = PanelHostDrawEvent(host);
  e.u.draw.update_rect = {PANEL_HOST_LEFT + 100, PANEL_HOST_TOP + 30, PANEL_HOST_LEFT + 200,
                          PANEL_HOST_TOP + 60};
  ASSERT_EQ(Send(e), PF_Err_NONE);
  EXPECT_EQ(PanelOriginX, PANEL_HOST_LEFT);
  EXPECT_EQ(PanelOriginY, PANEL_HOST_TOP);
  EXPECT_EQ(At(70, 49), PictureColour(784, 0, 0));
  Click(70, 49);
  EXPECT_EQ(Calls.help_modes.size(), 1u);
}

TEST_F(PanelTest, DontDrawFlagDrawsNothingAndStopsHoverUntilANormalDraw) {
  ASSERT_EQ(Draw(), PF_Err_NONE);
  EXPECT_EQ(PanelNoHover, 0);
  host.draws.clear();
  PF_EventExtra e = PanelHostDrawEvent(host);
  e.evt_in_flags = PF_EI_DONT_DRAW;
  ASSERT_EQ(Send(e), PF_Err_NONE);
  EXPECT_TRUE(host.draws.empty());
  EXPECT_EQ(host.requests.size(), 3u * 5u);  // only the first draw's suites
  EXPECT_EQ(PanelNoHover, 1);
  EXPECT_EQ(e.evt_out_flags, 0);

  PF_EventExtra c = Cursor(30, 30);
  EXPECT_EQ(HoverAbout, 0);
  EXPECT_TRUE(host.invalidated.empty());
  EXPECT_EQ(c.evt_out_flags, 0);
  Draw();
  Cursor(30, 30);
  EXPECT_EQ(HoverAbout, 1);
  EXPECT_EQ(host.invalidated.size(), 1u);
}

// Hovering starts only after the first draw.
TEST_F(PanelTest, CursorBeforeAnyDrawIsIgnored) {
  Cursor(30, 30);
  EXPECT_EQ(HoverAbout, 0);
  EXPECT_TRUE(host.requests.empty());
}

TEST_F(PanelTest, HoverInvalidatesOnEnteringAndLeavingOnly) {
  Draw();
  PF_EventExtra a = Cursor(100, 60);  // into help
  EXPECT_EQ(HoverHelp, 1);
  EXPECT_EQ(HoverAbout, 0);
  ASSERT_EQ(host.invalidated.size(), 1u);
  const PF_Rect frame = PanelHostEvent(host, PF_Event_DRAW).effect_win.current_frame;
  EXPECT_EQ(host.invalidated[0].left, frame.left);
  EXPECT_EQ(host.invalidated[0].top, frame.top);
  EXPECT_EQ(host.invalidated[0].right, frame.right);
  EXPECT_EQ(host.invalidated[0].bottom, frame.bottom);
  EXPECT_EQ(a.evt_out_flags, PF_EO_HANDLED_EVENT | PF_EO_UPDATE_NOW);
  EXPECT_EQ(defs[1].uu.change_flags, PF_ChangeFlag_CHANGED_VALUE);

  defs[1].uu.change_flags = 0;
  PF_EventExtra b = Cursor(120, 80);  // still inside
  EXPECT_EQ(host.invalidated.size(), 1u);
  EXPECT_EQ(b.evt_out_flags, 0);
  EXPECT_EQ(defs[1].uu.change_flags, 0);

  Draw();
  EXPECT_EQ(At(70, 49), PictureColour(785, 0, 0));  // the hovered picture
  EXPECT_EQ(At(12, 13), PictureColour(782, 0, 0));

  Cursor(200, 60);  // out
  EXPECT_EQ(HoverHelp, 0);
  EXPECT_EQ(host.invalidated.size(), 2u);
  Cursor(30, 30);  // straight into About
  EXPECT_EQ(HoverAbout, 1);
  EXPECT_EQ(host.invalidated.size(), 3u);
  Draw();
  EXPECT_EQ(At(12, 13), PictureColour(783, 0, 0));
  EXPECT_EQ(At(70, 49), PictureColour(784, 0, 0));
  Cursor(100, 60);  // from About straight into help: one change, one redraw
  EXPECT_EQ(HoverAbout, 0);
  EXPECT_EQ(HoverHelp, 1);
  EXPECT_EQ(host.invalidated.size(), 4u);
}

TEST_F(PanelTest, FoldedPanelIgnoresTheCursor) {
  Draw();
  defs[1].flags = PF_ParamFlag_COLLAPSE_TWIRLY;
  PF_EventExtra e = Cursor(30, 30);
  EXPECT_EQ(HoverAbout, 0);
  EXPECT_TRUE(host.invalidated.empty());
  EXPECT_EQ(e.evt_out_flags, 0);
  defs[1].flags = 0;
  Cursor(30, 30);
  EXPECT_EQ(HoverAbout, 1);
}

// Draw and cursor events of another parameter, or of another window, are not
// the panel's; clicks are taken whatever the parameter, in the Effect
// Controls window only.
TEST_F(PanelTest, EventsOfOtherParametersAndWindows) {
  PF_EventExtra d = PanelHostDrawEvent(host);
  d.effect_win.index = 2;
  Send(d);
  EXPECT_TRUE(host.draws.empty());
  EXPECT_EQ(PanelNoHover, 1);
  // the don't-draw flag of another parameter's draw changes nothing either
  Draw();
  d.evt_in_flags = PF_EI_DONT_DRAW;
  Send(d);
  EXPECT_EQ(PanelNoHover, 0);

  PF_EventExtra c = PanelHostCursorEvent(host, host.left + 30, host.top + 30);
  c.effect_win.index = 0;
  Send(c);
  EXPECT_EQ(HoverAbout, 0);

  PF_EventExtra k = PanelHostClickEvent(host, host.left + 100, host.top + 60);
  k.effect_win.index = 7;
  Send(k);
  EXPECT_EQ(Calls.help_modes.size(), 1u);

  // the composition window: nothing at all, whatever its other fields say
  host.context.w_type = PF_Window_COMP;
  host.draws.clear();
  Draw();
  Send(k);
  PF_EventExtra c2 = PanelHostCursorEvent(host, host.left + 100, host.top + 60);
  Send(c2);
  EXPECT_TRUE(host.draws.empty());
  EXPECT_EQ(Calls.help_modes.size(), 1u);
  EXPECT_EQ(HoverHelp, 0);

  // no context at all is no window
  PF_EventExtra n = PanelHostDrawEvent(host);
  n.contextH = nullptr;
  EXPECT_EQ(Send(n), PF_Err_NONE);
  PF_Context* none = nullptr;
  n.contextH = &none;
  n.e_type = PF_Event_DO_CLICK;
  EXPECT_EQ(Send(n), PF_Err_NONE);
  EXPECT_TRUE(host.draws.empty());
}

TEST_F(PanelTest, OtherEventTypesDoNothing) {
  Draw();
  host.draws.clear();
  host.requests.clear();
  for (PF_EventType t :
       std::vector<PF_EventType>{PF_Event_NEW_CONTEXT, PF_Event_ACTIVATE, PF_Event_DRAG,
                                 PF_Event_DEACTIVATE, PF_Event_CLOSE_CONTEXT, PF_Event_IDLE,
                                 PF_Event_KEYDOWN_OBSOLETE, PF_Event_KEYDOWN, PF_Event_MOUSE_EXITED,
                                 PF_Event_NUM_EVENTS, 99, PF_Event_NONE}) {
    PF_EventExtra e = PanelHostCursorEvent(host, host.left + 30, host.top + 30);
    e.e_type = t;
    EXPECT_EQ(Send(e), PF_Err_NONE) << t;
    EXPECT_EQ(e.evt_out_flags, 0) << t;
  }
  EXPECT_TRUE(host.draws.empty());
  EXPECT_TRUE(host.requests.empty());
  EXPECT_EQ(HoverAbout, 0);
  EXPECT_EQ(HandleEvent(&ctx.in_data, &ctx.out_data, params, nullptr, nullptr), PF_Err_NONE);
}

// Both ends of each hit area count; one pixel further does not.
TEST_F(PanelTest, HitAreasAreInclusiveAtBothEnds) {
  Draw();
  Click(143, 89);
  Click(70, 49);
  EXPECT_EQ(Calls.help_modes, (std::vector<int32_t>{0, 0}));
  Click(144, 89);
  Click(143, 90);
  Click(69, 49);
  Click(70, 48);
  EXPECT_EQ(Calls.help_modes.size(), 2u);
  EXPECT_EQ(Calls.about, 0);

  Click(12, 13);
  Click(66, 67);
  EXPECT_EQ(Calls.about, 2);
  EXPECT_EQ(Calls.about_in, &ctx.in_data);
  EXPECT_EQ(Calls.about_out, &ctx.out_data);
  EXPECT_EQ(Calls.about_params, params);
  Click(67, 67);
  Click(66, 68);
  Click(11, 13);
  Click(12, 12);
  EXPECT_EQ(Calls.about, 2);
  EXPECT_EQ(Calls.help_modes.size(), 2u);

  for (PF_Point p : {PF_Point{200, 50}, PF_Point{0, 0}, PF_Point{-5, -5}, PF_Point{68, 40},
                     PF_Point{300, 120}}) {
    PF_EventExtra e = Click(p.h, p.v);
    EXPECT_EQ(e.evt_out_flags, 0);
  }
  EXPECT_EQ(Calls.about, 2);
  EXPECT_EQ(Calls.help_modes.size(), 2u);
  EXPECT_TRUE(host.requests.size() == 15u);  // clicks acquire no suite
}

TEST_F(PanelTest, HoverUsesTheSameInclusiveAreas) {
  Draw();
  Cursor(143, 89);
  EXPECT_EQ(HoverHelp, 1);
  Cursor(144, 89);
  EXPECT_EQ(HoverHelp, 0);
  Cursor(66, 67);
  EXPECT_EQ(HoverAbout, 1);
  Cursor(66, 68);
  EXPECT_EQ(HoverAbout, 0);
  EXPECT_EQ(host.invalidated.size(), 4u);
}

// Before the first draw the hit tests take the origin (0, 0).
TEST_F(PanelTest, ClickBeforeTheFirstDrawTestsAgainstTheWindowOrigin) {
  PF_EventExtra e = PanelHostClickEvent(host, 70, 49);
  Send(e);
  EXPECT_EQ(Calls.help_modes.size(), 1u);
  e = PanelHostClickEvent(host, host.left + 70, host.top + 49);
  Send(e);
  EXPECT_EQ(Calls.help_modes.size(), 1u);
}

// Coordinates near the ends of the 32-bit range do not wrap into a hit.
TEST_F(PanelTest, ExtremeCoordinatesDoNotWrap) {
  EXPECT_FALSE(PanelOverHelp(INT32_MAX, INT32_MAX, INT32_MIN + 100, INT32_MIN + 60));
  EXPECT_FALSE(PanelOverAbout(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX));
  EXPECT_TRUE(
      PanelOverHelp(INT32_MAX - 200, INT32_MAX - 200, INT32_MAX - 200 + 143, INT32_MAX - 200 + 89));
  EXPECT_TRUE(PanelOverAbout(INT32_MIN, INT32_MIN, INT32_MIN + 12, INT32_MIN + 67));
}
}  // namespace
