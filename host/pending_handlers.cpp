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

// PLACEHOLDER: the About dialog.
PF_Err About(PF_InData*, PF_OutData*, PF_ParamDef*[], PF_LayerDef*) { return PF_Err_NONE; }

// PLACEHOLDER: the panel's events.
PF_Err HandleEvent(PF_InData*, PF_OutData*, PF_ParamDef*[], PF_LayerDef*, PF_EventExtra*) { return PF_Err_NONE; }

// ---- per plug-in -----------------------------------------------------------

// PLACEHOLDER: the per-instance record of the Drape layout (Theatre and
// Tableau have host/sequence_commands.cpp).
#if defined(VELARRA_PLUGIN_DRAPE)
PF_Err SequenceSetup(PF_InData*, PF_OutData*, PF_ParamDef*[], PF_LayerDef*) { return PF_Err_NONE; }
PF_Err SequenceSetdown(PF_InData*, PF_OutData*, PF_ParamDef*[], PF_LayerDef*) { return PF_Err_NONE; }
#endif

// PLACEHOLDER: the render; the output is left as the host gave it.
PF_Err Render(PF_InData*, PF_OutData*, PF_ParamDef*[], PF_LayerDef*) { return PF_Err_NONE; }
