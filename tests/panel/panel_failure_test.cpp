// The panel when the host falls short: missing or unreleasable suites, no
// drawing reference, failing drawing calls, missing pictures, no memory.
#include "tests/panel/panel_fixture.h"

namespace {
// What the host can fail to give a drawing: a whole suite, or a function
// the panel calls (its slot null in the suite's table).
struct Lack {
  const char* what;
  void (*apply)(PanelHost& host);
};
const Lack DrawingLacks[] = {
    {kDRAWBOT_DrawSuite, [](PanelHost& h) { h.missing = {kDRAWBOT_DrawSuite}; }},
    {kDRAWBOT_SupplierSuite, [](PanelHost& h) { h.missing = {kDRAWBOT_SupplierSuite}; }},
    {kDRAWBOT_SurfaceSuite, [](PanelHost& h) { h.missing = {kDRAWBOT_SurfaceSuite}; }},
    {kDRAWBOT_PathSuite, [](PanelHost& h) { h.missing = {kDRAWBOT_PathSuite}; }},
    {kPFEffectCustomUISuite, [](PanelHost& h) { h.missing = {kPFEffectCustomUISuite}; }},
    {"GetSupplier", [](PanelHost& h) { h.draw.GetSupplier = nullptr; }},
    {"GetSurface", [](PanelHost& h) { h.draw.GetSurface = nullptr; }},
    {"NewImageFromBuffer", [](PanelHost& h) { h.supplier.NewImageFromBuffer = nullptr; }},
    {"ReleaseObject", [](PanelHost& h) { h.supplier.ReleaseObject = nullptr; }},
    {"DrawImage", [](PanelHost& h) { h.surface.DrawImage = nullptr; }},
    {"PF_GetDrawingReference", [](PanelHost& h) { h.custom_ui.PF_GetDrawingReference = nullptr; }},
};

// One picture at the panel's origin.
PF_Err DrawOne(PF_InData* in, PF_OutData* out, PF_ParamDef** params, PF_EventExtra& e, A_long id,
               A_long w, A_long h) {
  return PanelDrawBitmap(in, out, params, nullptr, &e, id, w, h, 0, 0);
}

// Each suite or function missing in turn: the message and its flag, 516
// from the picture's routine, 0 from the event, nothing drawn, the event's
// out-flags as they were, every acquired suite given back.
TEST_F(PanelTest, EachMissingDrawingSuiteStopsTheDrawing) {
  for (const Lack& lack : DrawingLacks) {
    SCOPED_TRACE(lack.what);
    PanelHostInit(host, ctx);  // full tables again
    host.missing.clear();
    lack.apply(host);
    host.requests.clear();
    std::memset(ctx.out_data.return_msg, 0, sizeof ctx.out_data.return_msg);
    ctx.out_data.out_flags = PF_OutFlag_CUSTOM_UI;
    PF_EventExtra e = PanelHostDrawEvent(host);
    e.evt_out_flags = PF_EO_ALWAYS_UPDATE;
    EXPECT_EQ(Send(e), PF_Err_NONE);
    EXPECT_EQ(MessageText(), "Not able to acquire AEFX Suite.");
    EXPECT_EQ(ctx.out_data.out_flags, PF_OutFlag_CUSTOM_UI | PF_OutFlag_DISPLAY_ERROR_MESSAGE);
    EXPECT_EQ(e.evt_out_flags, PF_EO_ALWAYS_UPDATE);
    EXPECT_TRUE(host.draws.empty());
    EXPECT_TRUE(host.images.empty());
    EXPECT_EQ(PanelHostSuitesHeld(host), 0);
    EXPECT_EQ(PanelNoHover, 0);  // the draw itself was taken
    EXPECT_EQ(DrawOne(&ctx.in_data, &ctx.out_data, params, e, 781, 360, 100),
              PF_Err_BAD_CALLBACK_PARAM);
  }
  // the drawing suites are taken in their order and the first missing one
  // ends the row; the custom UI suite is asked for all the same
  PanelHostInit(host, ctx);
  host.missing = {kDRAWBOT_SupplierSuite};
  host.requests.clear();
  PF_EventExtra e = PanelHostDrawEvent(host);
  DrawOne(&ctx.in_data, &ctx.out_data, params, e, 781, 360, 100);
  EXPECT_EQ(host.requests,
            (std::vector<std::string>{"DRAWBOT Draw Suite/1", "DRAWBOT Supplier Suite/1",
                                      "PF Effect Custom UI Suite/1"}));
}

TEST_F(PanelTest, AllSuitesAvailableAreAskedForByNameAndVersion) {
  PF_EventExtra e = PanelHostDrawEvent(host);
  e.evt_out_flags = PF_EO_UPDATE_NOW;
  EXPECT_EQ(DrawOne(&ctx.in_data, &ctx.out_data, params, e, 781, 360, 100), PF_Err_NONE);
  EXPECT_EQ(host.requests,
            (std::vector<std::string>{"DRAWBOT Draw Suite/1", "DRAWBOT Supplier Suite/1",
                                      "DRAWBOT Surface Suite/1", "DRAWBOT Path Suite/1",
                                      "PF Effect Custom UI Suite/1"}));
  EXPECT_EQ(e.evt_out_flags, PF_EO_HANDLED_EVENT);  // assigned, not added to
  Draw();
  host.requests.clear();
  Cursor(30, 30);
  EXPECT_EQ(host.requests, (std::vector<std::string>{"PF AE App Suite/6"}));
}

// The first failure is the one reported: a later error of the drawing
// reference does not replace a missing suite.
TEST_F(PanelTest, FirstFailureIsKept) {
  host.missing = {kDRAWBOT_PathSuite};
  host.failing = {"PF_GetDrawingReference"};
  PF_EventExtra e = PanelHostDrawEvent(host);
  EXPECT_EQ(DrawOne(&ctx.in_data, &ctx.out_data, params, e, 781, 360, 100),
            PF_Err_BAD_CALLBACK_PARAM);
  host.missing.clear();
  EXPECT_EQ(DrawOne(&ctx.in_data, &ctx.out_data, params, e, 781, 360, 100),
            PF_Err_INTERNAL_STRUCT_DAMAGED);
  EXPECT_TRUE(host.draws.empty());
}

// The App suite missing, or its invalidation: the message, the hover as it
// was, nothing invalidated, until a cursor event with the suite back.
TEST_F(PanelTest, MissingAppSuiteKeepsTheHoverAndInvalidatesNothing) {
  const Lack lacks[] = {{kPFAppSuite, [](PanelHost& h) { h.missing = {kPFAppSuite}; }},
                        {"PF_InvalidateRect", [](PanelHost& h) { h.app.PF_InvalidateRect = nullptr; }}};
  for (const Lack& lack : lacks) {
    SCOPED_TRACE(lack.what);
    PanelHostInit(host, ctx);
    HoverAbout = 0;
    defs[1].uu.change_flags = 0;
    Draw();
    ctx.out_data.out_flags = 0;
    std::memset(ctx.out_data.return_msg, 0, sizeof ctx.out_data.return_msg);
    host.invalidated.clear();
    lack.apply(host);
    PF_EventExtra e = Cursor(30, 30);
    EXPECT_EQ(MessageText(), "Not able to acquire AEFX Suite.");
    EXPECT_TRUE(Message());
    EXPECT_EQ(HoverAbout, 0);
    EXPECT_TRUE(host.invalidated.empty());
    EXPECT_EQ(e.evt_out_flags, 0);
    EXPECT_EQ(defs[1].uu.change_flags, 0);
    EXPECT_EQ(PanelHostSuitesHeld(host), 0);
    // the next cursor event, with the suite back, takes the change
    PanelHostInit(host, ctx);
    host.missing.clear();
    Cursor(31, 30);
    EXPECT_EQ(HoverAbout, 1);
    EXPECT_EQ(host.invalidated.size(), 1u);
  }
}

TEST_F(PanelTest, MissingBasicSuiteEndsEveryHandlerWithTheMessage) {
  Draw();
  ctx.in_data.pica_basicP = nullptr;
  host.draws.clear();
  EXPECT_EQ(Draw(), PF_Err_NONE);
  EXPECT_EQ(MessageText(), "Not able to acquire AEFX Suite.");
  EXPECT_TRUE(host.draws.empty());
  PF_EventExtra e = PanelHostDrawEvent(host);
  EXPECT_EQ(DrawOne(&ctx.in_data, &ctx.out_data, params, e, 781, 360, 100),
            PF_Err_BAD_CALLBACK_PARAM);
  ctx.out_data.out_flags = 0;
  Cursor(30, 30);
  EXPECT_TRUE(Message());
  EXPECT_EQ(HoverAbout, 0);
  EXPECT_TRUE(host.invalidated.empty());
  ctx.in_data.pica_basicP = &host.basic;
}

TEST_F(PanelTest, UnreleasableSuitesAreReported) {
  host.unreleasable = {kDRAWBOT_SurfaceSuite};
  PF_EventExtra e = PanelHostDrawEvent(host);
  // the picture is still drawn; the release failure is the result
  EXPECT_EQ(DrawOne(&ctx.in_data, &ctx.out_data, params, e, 781, 360, 100),
            PF_Err_BAD_CALLBACK_PARAM);
  EXPECT_EQ(MessageText(), "Not able to release AEFX Suite.");
  EXPECT_EQ(host.draws.size(), 1u);
  EXPECT_EQ(e.evt_out_flags, PF_EO_HANDLED_EVENT);

  Draw();
  host.unreleasable = {kPFAppSuite};
  std::memset(ctx.out_data.return_msg, 0, sizeof ctx.out_data.return_msg);
  Cursor(30, 30);
  EXPECT_EQ(MessageText(), "Not able to release AEFX Suite.");
  EXPECT_EQ(HoverAbout, 1);
  EXPECT_EQ(host.invalidated.size(), 1u);
  host.held.clear();  // the host refused them back
}

TEST_F(PanelTest, NoDrawingReferenceDrawsNothingAndLeavesTheOutFlags) {
  host.no_drawing_reference = true;
  PF_EventExtra e = PanelHostDrawEvent(host);
  e.evt_out_flags = PF_EO_NEVER_UPDATE;
  EXPECT_EQ(DrawOne(&ctx.in_data, &ctx.out_data, params, e, 781, 360, 100), PF_Err_NONE);
  EXPECT_EQ(e.evt_out_flags, PF_EO_NEVER_UPDATE);
  EXPECT_TRUE(host.draws.empty());
  EXPECT_FALSE(Message());
}

// A failing drawing call: its error comes back, the event is marked handled,
// the buffer and the image are released.
TEST_F(PanelTest, FailingDrawingCallsReleaseWhatWasMade) {
  for (const char* f : {"GetSupplier", "GetSurface", "NewImageFromBuffer", "DrawImage"}) {
    SCOPED_TRACE(f);
    host.failing = {f};
    host.draws.clear();
    const size_t images = host.images.size();
    PF_EventExtra e = PanelHostDrawEvent(host);
    EXPECT_NE(DrawOne(&ctx.in_data, &ctx.out_data, params, e, 781, 360, 100), PF_Err_NONE);
    EXPECT_TRUE(host.draws.empty());
    EXPECT_EQ(e.evt_out_flags, PF_EO_HANDLED_EVENT);
    EXPECT_EQ(host.live_images, 0);
    // only a failing DrawImage had an image made
    EXPECT_EQ(host.images.size(), images + (std::string(f) == "DrawImage" ? 1 : 0));
    EXPECT_FALSE(Message());
  }
  host.failing = {"ReleaseObject"};
  PF_EventExtra e = PanelHostDrawEvent(host);
  EXPECT_NE(DrawOne(&ctx.in_data, &ctx.out_data, params, e, 781, 360, 100), PF_Err_NONE);
  EXPECT_EQ(host.draws.size(), 1u);
  host.live_images = 0;  // the host kept it
}

// A picture that cannot be had is left out; the others are drawn.
TEST_F(PanelTest, MissingPictureIsSkipped) {
  MissingPictures() = {BITMAP_HELP_BUTTON};
  EXPECT_EQ(Draw(), PF_Err_NONE);
  EXPECT_EQ(host.draws.size(), 2u);
  EXPECT_EQ(At(70, 49), PictureColour(781, 70, 49));  // the banner shows through
  EXPECT_EQ(At(12, 13), PictureColour(782, 0, 0));
  EXPECT_FALSE(Message());
  EXPECT_EQ(host.images.size(), 2u);
}

TEST_F(PanelTest, PictureWithoutMemoryIsSkipped) {
  PageFailAt(0);  // the banner's buffer
  EXPECT_EQ(Draw(), PF_Err_NONE);
  EXPECT_EQ(host.draws.size(), 2u);
  EXPECT_EQ(At(200, 10), Background());
  EXPECT_EQ(At(70, 49), PictureColour(784, 0, 0));
  EXPECT_EQ(At(12, 13), PictureColour(782, 0, 0));
}

TEST_F(PanelTest, OnlyTheControlAreaShowsPictures) {
  PF_EventExtra e = PanelHostDrawEvent(host);
  e.effect_win.area = PF_EA_PARAM_TITLE;
  EXPECT_EQ(Send(e), PF_Err_NONE);
  EXPECT_TRUE(host.draws.empty());
  EXPECT_TRUE(host.images.empty());
  EXPECT_EQ(e.evt_out_flags, PF_EO_HANDLED_EVENT);
}

// Rows of 24-bit pixels padded to whole 32-bit words, read bottom-up.
TEST_F(PanelTest, PictureBuffersAreBottomUpDibRows) {
  EXPECT_EQ(PanelDibStride(360), 1080);
  EXPECT_EQ(PanelDibStride(73), 220);
  EXPECT_EQ(PanelDibStride(54), 164);
  EXPECT_EQ(PanelDibStride(1), 4);
  EXPECT_EQ(PanelDibStride(0), 0);
  EXPECT_EQ(PanelDibStride(-3), 0);
  EXPECT_EQ(PanelDibStride(PANEL_PICTURE_MAX_SIDE + 1), 0);

  void* bits = nullptr;
  A_long stride = 0;
  ASSERT_TRUE(LoadBitmapBits(784, &bits, 73, 40, &stride));
  EXPECT_EQ(stride, 220);
  const uint8_t* b = static_cast<const uint8_t*>(bits);
  // the first row in memory is the picture's last: blue is the row number
  EXPECT_EQ(b[0], 39);
  EXPECT_EQ(b[1], 0);
  EXPECT_EQ(b[2], 784 & 0xFF);
  EXPECT_EQ(b[39 * 220 + 3 * 72 + 0], 0);
  EXPECT_EQ(b[39 * 220 + 3 * 72 + 1], 72);
  PageFree(bits);

  for (A_long w : {0, -1, PANEL_PICTURE_MAX_SIDE + 1})
    for (A_long h : {40, 0}) {
      bits = reinterpret_cast<void*>(1);
      EXPECT_FALSE(LoadBitmapBits(784, &bits, w, h, &stride)) << w << " x " << h;
      EXPECT_EQ(bits, nullptr);
    }
  EXPECT_FALSE(LoadBitmapBits(784, &bits, 73, INT32_MIN, &stride));
  MissingPictures() = {784};
  EXPECT_FALSE(LoadBitmapBits(784, &bits, 73, 40, &stride));
  PanelNativePictures = nullptr;
  EXPECT_FALSE(LoadBitmapBits(781, &bits, 360, 100, &stride));
  EXPECT_EQ(Draw(), PF_Err_NONE);  // no pictures at all: nothing drawn, nothing left over
  EXPECT_TRUE(host.draws.empty());
}

// Pictures of hostile sizes through the drawing path.
TEST_F(PanelTest, HostileSizesDrawNothing) {
  PF_EventExtra e = PanelHostDrawEvent(host);
  for (A_long w : {0, -5, INT32_MIN, INT32_MAX})
    EXPECT_EQ(PanelDrawBitmap(&ctx.in_data, &ctx.out_data, params, nullptr, &e, 781, w, w,
                              INT32_MAX, INT32_MIN),
              PF_Err_NONE);
  EXPECT_TRUE(host.draws.empty());
  EXPECT_EQ(PanelAdjustCursor(&ctx.in_data, &ctx.out_data, nullptr, nullptr, &e), PF_Err_NONE);
  PF_ParamDef* no_panel[2] = {&defs[0], nullptr};
  EXPECT_EQ(PanelAdjustCursor(&ctx.in_data, &ctx.out_data, no_panel, nullptr, &e), PF_Err_NONE);
}
}  // namespace
