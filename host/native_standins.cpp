// Stand-ins for the Windows-only pieces that the shared host frame calls.
//
// The About dialog and the help-document launcher live in ui/ and need the
// Windows user interface; the native build (tests and native test hosts) has
// neither, so there the About command answers without a dialog and the
// panel's help button opens nothing.
#if !defined(_WIN32)
#include "host/host.h"
#include "ui/ui.h"

PF_Err About(PF_InData*, PF_OutData*, PF_ParamDef*[], PF_LayerDef*) { return PF_Err_NONE; }

void StartHelpDocThread(int32_t) {}
#endif
