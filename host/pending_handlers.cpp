// PLACEHOLDERS for command handlers that are not written yet.
//
// EntryPointFunc dispatches to every handler of its table; until a handler
// exists, its placeholder below answers without doing anything (no handle,
// no drawing, no dialog). Whoever writes a handler deletes its placeholder
// here (or, for the per-plug-in ones, excludes it for that plug-in with the
// VELARRA_PLUGIN_THEATRE / _TABLEAU / _DRAPE definition that each plug-in's
// library sets). This file is compiled into each plug-in's own library.
#if defined(VELARRA_PLUGIN_DRAPE)
#include "variants/drape/drape_params.h"
#else
#include "host/host.h"
#endif

// ---- shared by the three plug-ins ------------------------------------------

// The About dialog is in ui/ (Windows only); the native build, which has no
// dialogs, answers the command without one.
#if !defined(_WIN32)
PF_Err About(PF_InData*, PF_OutData*, PF_ParamDef*[], PF_LayerDef*) { return PF_Err_NONE; }
#endif

// The panel's events are in ui/ (velarra_panel); its help button starts the
// help-document launcher of ui/, which the native build has not either: there
// the button opens nothing.
#if !defined(_WIN32)
void StartHelpDocThread(int32_t) {}
#endif

// ---- per plug-in -----------------------------------------------------------

