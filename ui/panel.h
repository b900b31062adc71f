// The effect's own panel in the Effect Controls window: the first parameter
// ("Information") is a 385 x 125 area that the effect draws itself, a banner
// with an About button and a help button that show hover pictures.
//
// Drawing goes through the host's drawing suites; the host delivers draw,
// cursor and click events through the event command. Every handler returns
// 0 to the host whatever happens; a suite that cannot be acquired or
// released leaves "Not able to acquire AEFX Suite." (or "... release ...")
// in out_data with PF_OutFlag_DISPLAY_ERROR_MESSAGE, and the routine that
// needed it answers PF_Err_BAD_CALLBACK_PARAM (516).
//
// The logic is portable; only the loading of a picture from the module's
// resources is the platform's (natively a picture source stands in).
#pragma once
#include <cstdint>

#include "sdk/AE_Effect.h"
#include "sdk/AE_EffectUI.h"
#include "ui/panel_ids.h"

// ---- layout, relative to the panel origin; hit areas inclusive ------------
constexpr A_long PANEL_BANNER_WIDTH = 360, PANEL_BANNER_HEIGHT = 100;
constexpr A_long PANEL_HELP_X = 70, PANEL_HELP_Y = 49;
constexpr A_long PANEL_HELP_WIDTH = 73, PANEL_HELP_HEIGHT = 40;
constexpr A_long PANEL_ABOUT_X = 12, PANEL_ABOUT_Y = 13;
constexpr A_long PANEL_ABOUT_WIDTH = 54, PANEL_ABOUT_HEIGHT = 54;
// The hit areas reach one pixel past the pictures (x 70 .. 143 for a help
// button 73 wide): both ends count.
constexpr A_long PANEL_HELP_RIGHT = PANEL_HELP_X + PANEL_HELP_WIDTH;       // 143
constexpr A_long PANEL_HELP_BOTTOM = PANEL_HELP_Y + PANEL_HELP_HEIGHT;     // 89
constexpr A_long PANEL_ABOUT_RIGHT = PANEL_ABOUT_X + PANEL_ABOUT_WIDTH;    // 66
constexpr A_long PANEL_ABOUT_BOTTOM = PANEL_ABOUT_Y + PANEL_ABOUT_HEIGHT;  // 67

// The parameter whose area the panel is.
constexpr PF_ParamIndex PANEL_PARAM_INDEX = 1;

// Messages handed to the host when a suite is missing.
extern const char PanelAcquireMessage[];  // "Not able to acquire AEFX Suite."
extern const char PanelReleaseMessage[];  // "Not able to release AEFX Suite."

// ---- module-level panel state (one call at a time) -------------------------
// Origin of the hit tests: left and top of the effect window's current frame
// at the last draw, the same origin the pictures are drawn at.
extern A_long PanelOriginX;
extern A_long PanelOriginY;
// The mouse was over the button at the last cursor event that changed them.
extern A_u_char HoverHelp;
extern A_u_char HoverAbout;
// Set (initially, and by a draw the host marks as not to be drawn): cursor
// events are ignored until a normal draw clears it.
extern A_u_char PanelNoHover;

// ---- handlers (HandleEvent itself is declared in host/host.h) --------------
// Draws the banner, then the help and About buttons (hover pictures when
// hovered). Returns 0.
PF_Err PanelDraw(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                 PF_LayerDef* output, PF_EventExtra* event);
// Draws picture `id` (width x height) at (x, y) of the panel through the
// drawing suites. Returns the first error met (516 for a missing suite); the
// caller ignores it.
PF_Err PanelDrawBitmap(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                       PF_LayerDef* output, PF_EventExtra* event, A_long id, A_long width,
                       A_long height, A_long x, A_long y);
// A click on help starts the help-document launcher, on About runs the About
// dialog. Returns 0; the event's out-flags are not set.
PF_Err PanelDoClick(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                    PF_LayerDef* output, PF_EventExtra* event);
// Follows the mouse over the buttons; a change of hover asks the host to
// redraw the panel. Returns 0.
PF_Err PanelAdjustCursor(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                         PF_LayerDef* output, PF_EventExtra* event);

// Whether (x, y) lies in a hit area whose origin is (ox, oy).
bool PanelOverHelp(A_long ox, A_long oy, A_long x, A_long y);
bool PanelOverAbout(A_long ox, A_long oy, A_long x, A_long y);

// ---- pictures --------------------------------------------------------------
// Bytes of one row of a 24-bit device-independent bitmap: whole 32-bit
// words. 0 for a width outside 1 .. PANEL_PICTURE_MAX_SIDE.
constexpr A_long PANEL_PICTURE_MAX_SIDE = 4096;
A_long PanelDibStride(A_long width);

// Reads picture `id` of the module (exactly width x height pixels) into a
// buffer from the page allocator: rows bottom-up (the picture's last row
// first), each pixel blue, green, red, each row padded to *stride bytes.
// Returns true with *bits set (the caller releases it with PageFree); false,
// with *bits null, for a side of 0 (or outside 1 .. PANEL_PICTURE_MAX_SIDE),
// a missing picture, a picture of another size, or no memory.
bool LoadBitmapBits(A_long id, void** bits, A_long width, A_long height, A_long* stride);

#if !defined(_WIN32)
// Natively a module has no resources: pictures come from this source, which
// the tests and the native test host set. It writes the picture into `rows`
// in the layout above (stride bytes a row, bottom-up) and answers false when
// it has no picture `id` of that size. Null: no pictures at all.
typedef bool (*PanelPictureSource)(A_long id, A_long width, A_long height, A_long stride,
                                   uint8_t* rows);
extern PanelPictureSource PanelNativePictures;
#endif

#if defined(_WIN32)
#include <windows.h>
// Device-context drawing of a module picture; the effect itself does not
// call these. BlitKeyedBitmap draws picture id at (x, y) of dc: with `keyed`
// non-zero pixel by pixel, leaving out the pixels of the picture's top-left
// colour; otherwise as one block of width x height. BlitKeyedBitmapPair
// draws id keyed, then id2 unkeyed (width2 x height2) 20 pixels to its right.
void BlitKeyedBitmap(HDC dc, int y, int x, int width, int height, int id, BYTE keyed);
void BlitKeyedBitmapPair(HDC dc, int y, int x, int width, int height, int id, int width2,
                         int height2, int id2);
#endif
