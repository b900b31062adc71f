// Re-set-up of an instance: an instance that lost its record (after a
// flatten, or when a project is opened) gets a fresh, empty one from the
// plug-in's own SequenceSetup (each plug-in links its own); one that still
// has its record keeps it unchanged.
#include "host/host.h"

PF_Err SequenceResetup(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[], PF_LayerDef* output) {
  if (in_data && in_data->sequence_data) return PF_Err_NONE;
  return SequenceSetup(in_data, out_data, params, output);
}
