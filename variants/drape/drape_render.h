// Handlers of the Drape module besides the host commands of host/host.h.
#pragma once
#include "sdk/AE_Effect.h"
#include "sdk/AE_EffectUI.h"

// Sets PanelNoHover when the event's input flags ask not to draw (bit 0);
// returns 0. Nothing in the effect calls it.
PF_Err EventFlagStub(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[], PF_LayerDef* output,
                     PF_EventExtra* event);
