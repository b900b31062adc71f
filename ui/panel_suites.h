// Acquiring and releasing host suites for the panel's handlers, with the
// message the host shows when one is missing.
#pragma once
#include "sdk/AE_Effect.h"

struct PanelSuite {
  const char* name;
  int32_t version;
  const void* table;  // null until acquired
};

// Acquires s through in_data's basic suite. On failure (no basic suite, or
// the host has no such suite) writes the acquire message and the display
// flag into out_data and answers PF_Err_BAD_CALLBACK_PARAM.
PF_Err PanelAcquireSuite(PF_InData* in_data, PF_OutData* out_data, PanelSuite& s);
// Releases s if it was acquired; a failure writes the release message and
// answers PF_Err_BAD_CALLBACK_PARAM. s is not held afterwards either way.
PF_Err PanelReleaseSuite(PF_InData* in_data, PF_OutData* out_data, PanelSuite& s);
// For an acquired suite whose table lacks a function the caller needs: the
// host has not really given it. Releases s, writes the acquire message and
// the display flag, and answers PF_Err_BAD_CALLBACK_PARAM.
PF_Err PanelSuiteIncomplete(PF_InData* in_data, PF_OutData* out_data, PanelSuite& s);
// The message and display flag alone (for a missing basic suite).
void PanelSuiteMessage(PF_OutData* out_data, const char* message);
