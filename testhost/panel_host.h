// The test host's side of an effect's own panel: the suites a panel
// acquires (custom UI, the four drawing suites, the App suite), a drawing
// surface that draws images into an RGB canvas, and events to deliver.
//
// One PanelHost is active at a time, on top of a HostContext: PanelHostInit
// puts its own basic suite into the context's in_data, which answers the
// panel's suites itself and hands every other request to the context's.
//
// The canvas stands for the part of the Effect Controls window under the
// panel: window point (x, y) is canvas pixel (x - left, y - top); drawing
// outside it is clipped. Images are made from 24-bit buffers of blue, green,
// red (kDRAWBOT_PixelLayout_24BGR). The host's interface leaves the row
// order of such a buffer open; this host reads the first row as the image's
// bottom row, as in a bottom-up device-independent bitmap, so the panel's
// pictures (read bottom-up from the module) appear upright.
//
// The suite tables are the host's full tables, held by each PanelHost: the
// functions the panel uses (PF_GetDrawingReference, GetSupplier,
// GetSurface, NewImageFromBuffer, ReleaseObject, DrawImage,
// PF_InvalidateRect) are implemented here, every other slot is a trap
// (testhost/host_traps.h), as are the event callbacks of every event.
//
// Fault injection: any suite can be made unavailable (`missing`) or
// unreleasable (`unreleasable`), any suite function can be made to answer
// an error (`failing`, by function name) or be taken out of its table (set
// its slot to null), and the drawing reference can be withheld. Every
// misuse (a release of a suite not held, an unknown or released object, a
// bad buffer) is counted in `misuse` with a line in `misuse_log`; images
// still alive are counted in `live_images`.
#pragma once
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "sdk/AE_EffectSuites.h"
#include "testhost/host_context.h"

// The panel's area in the Effect Controls window of our test host.
constexpr A_long PANEL_HOST_LEFT = 16, PANEL_HOST_TOP = 48;
constexpr A_long PANEL_HOST_WIDTH = 385, PANEL_HOST_HEIGHT = 125;

struct PanelHostImage {
  int32_t width = 0, height = 0;
  std::vector<uint8_t> rgb;  // top row first
  bool released = false;
};

struct PanelHostDraw {
  int32_t width, height;
  float x, y, alpha;
};

// The context magic this host stamps into the panel's context ('VELA').
constexpr A_u_long PANEL_HOST_CONTEXT_MAGIC = 0x56454C41;

struct PanelHost {
  HostContext* ctx = nullptr;
  SPBasicSuite basic;  // in ctx->in_data.pica_basicP while active

  // The suites handed out, full tables in the host's order.
  PF_EffectCustomUISuite1 custom_ui;
  DRAWBOT_DrawbotSuite1 draw;
  DRAWBOT_SupplierSuite1 supplier;
  DRAWBOT_SurfaceSuite1 surface;
  DRAWBOT_PathSuite1 path;
  PFAppSuite4 app;

  // The canvas: window coordinates of its top-left pixel, size, pixels.
  A_long left = PANEL_HOST_LEFT, top = PANEL_HOST_TOP;
  int32_t width = PANEL_HOST_WIDTH, height = PANEL_HOST_HEIGHT;
  std::vector<uint8_t> canvas;           // RGB, top row first
  uint8_t background[3] = {38, 38, 38};  // the host's panel grey

  // The context of the panel's events (PF_Window_EFFECT unless changed).
  PF_Context context;
  PF_Context* context_ptr = nullptr;
  PF_ContextH contextH = nullptr;

  // Fault injection.
  std::set<std::string> missing;       // suite names AcquireSuite refuses
  std::set<std::string> unreleasable;  // suite names ReleaseSuite refuses
  std::set<std::string> failing;       // function names that answer an error
  bool no_drawing_reference = false;   // PF_GetDrawingReference answers 0 and null

  // Records.
  std::map<std::string, int64_t> held;  // suite name: acquisitions not released
  int64_t acquisitions = 0;
  std::vector<std::string> requests;  // "name/version" of every AcquireSuite
  std::vector<PanelHostDraw> draws;
  std::vector<PF_Rect> invalidated;     // every PF_InvalidateRect (null: the whole context)
  std::vector<PanelHostImage*> images;  // every image made, live or released
  int64_t live_images = 0;
  int64_t misuse = 0;
  std::vector<std::string> misuse_log;

  PanelHost() = default;
  PanelHost(const PanelHost&) = delete;
  PanelHost& operator=(const PanelHost&) = delete;
  ~PanelHost();
};

// Sets up host on ctx (which must stay alive and active) and makes it the
// active panel host; the suite tables are filled anew and the canvas is
// cleared to the background.
void PanelHostInit(PanelHost& host, HostContext& ctx);
// Restores ctx's basic suite; no panel host is active afterwards.
void PanelHostDone(PanelHost& host);
void PanelHostClearCanvas(PanelHost& host);
// The number of suites still held, over all names.
int64_t PanelHostSuitesHeld(const PanelHost& host);

// An event of the panel (parameter 1, the control area, the panel's frame,
// event callbacks that are all traps); draw events update the whole frame.
PF_EventExtra PanelHostEvent(const PanelHost& host, PF_EventType type);
PF_EventExtra PanelHostDrawEvent(const PanelHost& host);
PF_EventExtra PanelHostCursorEvent(const PanelHost& host, A_long x, A_long y);  // window point
PF_EventExtra PanelHostClickEvent(const PanelHost& host, A_long x, A_long y);

// Delivers an event through the effect's entry point.
PF_Err PanelHostSend(PanelHost& host, PF_FilterProc entry, PF_ParamDef* params[],
                     PF_EventExtra& event);

// Canvas pixel (x, y) as 0xRRGGBB; 0 outside.
uint32_t PanelHostPixel(const PanelHost& host, int32_t x, int32_t y);
// The canvas as a PNG file.
bool PanelHostWritePng(const PanelHost& host, const std::string& path, std::string& error);
