// A small event handler that the Drape module carries and the effect never
// calls (draw events go to PanelDraw through HandleEvent in every plug-in):
// a draw event the host marks as not to be drawn switches the panel's hover
// handling off, as the first test of PanelDraw does.
#include "ui/panel.h"
#include "variants/drape/drape_render.h"

PF_Err EventFlagStub(PF_InData*, PF_OutData*, PF_ParamDef*[], PF_LayerDef*, PF_EventExtra* event) {
  if (event && (event->evt_in_flags & PF_EI_DONT_DRAW)) PanelNoHover = 1;
  return PF_Err_NONE;
}
