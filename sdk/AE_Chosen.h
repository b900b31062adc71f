// The one place for values of the host interface that we chose ourselves.
//
// The plug-ins only compare against or pass on the published values in the
// other sdk/ headers. The host interface leaves these open (or we had no
// published value to hand); both the modules and our test host take them
// from here, so a different host only needs this file changed.
#pragma once

// Suite look-up failures of the basic suite (AcquireSuite's result when a
// suite of that name and version is not available). Chosen.
#define kSPNoError 0
#define kSPSuiteNotFoundError 0x53214664 /* 'S!Fd' chosen */
#define kSPBadParameterError 0x50617221  /* 'Par!' chosen */

// Drawbot pixel layouts: 1 is 24-bit blue, green, red as given for the
// panel pictures; the others are chosen.
#define VELARRA_CHOSEN_DRAWBOT_LAYOUT_24RGB 0
#define VELARRA_CHOSEN_DRAWBOT_LAYOUT_32BGRA 2
#define VELARRA_CHOSEN_DRAWBOT_LAYOUT_32ARGB 3
// Row order of NewImageFromBuffer: the buffer's first row is the image's
// bottom row, as in a bottom-up device-independent bitmap, so the panel's
// pictures, read bottom-up from the module, appear upright. Chosen.
#define VELARRA_CHOSEN_DRAWBOT_BUFFER_BOTTOM_UP 1

// Event types without a value of their own in our use (chosen in sequence).
#define VELARRA_CHOSEN_EVENT_KEYDOWN 8
#define VELARRA_CHOSEN_EVENT_KEYUP 10
#define VELARRA_CHOSEN_EVENT_MOUSE_EXITED 11

// Effect area of the parameter title (chosen between none, 0, and the
// control, 2).
#define VELARRA_CHOSEN_EA_PARAM_TITLE 1

// Context magic our test host stamps into the panel context.
#define VELARRA_CHOSEN_CONTEXT_MAGIC 0x56454C41 /* 'VELA' */
