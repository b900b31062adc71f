// The single command entry the host calls for everything.
#include "host/host.h"

// Commands without a handler (2, 9, 10, 12, 13, 14, anything above 15 and
// anything negative) answer 0 and touch nothing. The handlers' results go
// back unchanged; the entry point adds no error of its own.
extern "C" PF_Err EntryPointFunc(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                                 PF_LayerDef* output, void* extra) {
  switch (cmd) {
    case PF_Cmd_ABOUT:
      return About(in_data, out_data, params, output);
    case PF_Cmd_GLOBAL_SETUP:
      return GlobalSetup(in_data, out_data, params, output);
    case PF_Cmd_GLOBAL_SETDOWN:
      return GlobalSetdown(in_data, out_data, params, output);
    case PF_Cmd_PARAMS_SETUP:
      return ParamsSetup(in_data, out_data, params, output);
    case PF_Cmd_SEQUENCE_SETUP:
      return SequenceSetup(in_data, out_data, params, output);
    case PF_Cmd_SEQUENCE_RESETUP:
      return SequenceResetup(in_data, out_data, params, output);
    case PF_Cmd_SEQUENCE_FLATTEN:
    case PF_Cmd_SEQUENCE_SETDOWN:
      return SequenceSetdown(in_data, out_data, params, output);
    case PF_Cmd_RENDER:
      return Render(in_data, out_data, params, output);
    case PF_Cmd_EVENT:
      return HandleEvent(in_data, out_data, params, output, static_cast<PF_EventExtra*>(extra));
    default:
      return PF_Err_NONE;
  }
}
