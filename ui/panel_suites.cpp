#include "ui/panel_suites.h"

#include <cstring>

#include "sdk/SPBasic.h"
#include "ui/panel.h"

const char PanelAcquireMessage[] = "Not able to acquire AEFX Suite.";
const char PanelReleaseMessage[] = "Not able to release AEFX Suite.";

void PanelSuiteMessage(PF_OutData* out_data, const char* message) {
  if (!out_data) return;
  static_assert(sizeof PanelAcquireMessage <= sizeof out_data->return_msg, "message fits");
  static_assert(sizeof PanelReleaseMessage <= sizeof out_data->return_msg, "message fits");
  std::memcpy(out_data->return_msg, message, std::strlen(message) + 1);
  out_data->out_flags |= PF_OutFlag_DISPLAY_ERROR_MESSAGE;
}

PF_Err PanelAcquireSuite(PF_InData* in_data, PF_OutData* out_data, PanelSuite& s) {
  s.table = nullptr;
  SPBasicSuite* basic = in_data ? in_data->pica_basicP : nullptr;
  const void* table = nullptr;
  SPErr got = basic && basic->AcquireSuite ? basic->AcquireSuite(s.name, s.version, &table)
                                           : kSPSuiteNotFoundError;
  if (got != kSPNoError || !table) {
    // A host that answers success without a table has still counted it out.
    if (got == kSPNoError && basic->ReleaseSuite) basic->ReleaseSuite(s.name, s.version);
    PanelSuiteMessage(out_data, PanelAcquireMessage);
    return PF_Err_BAD_CALLBACK_PARAM;
  }
  s.table = table;
  return PF_Err_NONE;
}

PF_Err PanelReleaseSuite(PF_InData* in_data, PF_OutData* out_data, PanelSuite& s) {
  if (!s.table) return PF_Err_NONE;
  s.table = nullptr;
  SPBasicSuite* basic = in_data ? in_data->pica_basicP : nullptr;
  if (!basic || !basic->ReleaseSuite || basic->ReleaseSuite(s.name, s.version) != kSPNoError) {
    PanelSuiteMessage(out_data, PanelReleaseMessage);
    return PF_Err_BAD_CALLBACK_PARAM;
  }
  return PF_Err_NONE;
}

PF_Err PanelSuiteIncomplete(PF_InData* in_data, PF_OutData* out_data, PanelSuite& s) {
  PanelReleaseSuite(in_data, out_data, s);
  PanelSuiteMessage(out_data, PanelAcquireMessage);
  return PF_Err_BAD_CALLBACK_PARAM;
}
