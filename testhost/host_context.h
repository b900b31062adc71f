// The test host's side of the effect interface: the callbacks, handles and
// suites it hands to a plug-in, with leak accounting and fault injection.
//
// One HostContext is active at a time (the interface passes no context to
// the handle callbacks); HostContextActivate makes it the target of every
// callback. effect_ref points at the context.
//
// Every function slot of in_data's callbacks, the utilities (with the ANSI
// and colour tables) and the basic suite is filled: the functions the
// plug-ins use with the implementations here, all others with traps
// (testhost/host_traps.h).
//
// Failure behaviour: callbacks never crash on bad input from the plug-in; an
// unknown or already disposed handle, a lock of a bad handle, a checkout of
// an index that does not exist, a call of a trap, are answered with null or
// an error code and counted in `misuse` with a line in `misuse_log`.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "sdk/AE_Effect.h"
#include "sdk/SPBasic.h"

struct HostHandle {
  void* block;  // the handle points here
  uint64_t size;
  uint32_t magic;
  int32_t locks;
};

struct HostSuite {
  std::string name;
  int32_t version;
  const void* table;
};

// A fault that fires at the n-th call (1-based) of a callback; with
// `sticky` every later call fails too. 0: never.
struct HostFault {
  int64_t at = 0;
  bool sticky = false;
  PF_Err error = PF_Err_OUT_OF_MEMORY;
  bool Fires(int64_t call) const { return at > 0 && (call == at || (sticky && call > at)); }
};

// Answers a parameter checkout: fill `def` with the value of parameter
// `index` at the time what_time / time_scale seconds. Returns the error the
// host reports.
using CheckoutFn = std::function<PF_Err(PF_ParamIndex index, A_long what_time, A_long time_step,
                                        A_u_long time_scale, PF_ParamDef* def)>;

struct HostContext {
  PF_InData in_data;
  PF_OutData out_data;
  PF_UtilCallbacks utils;
  SPBasicSuite basic;

  // Recorded registration.
  std::vector<PF_ParamDef> registered;  // every add_param, in order
  std::vector<PF_CustomUIInfo> ui_registrations;
  int64_t add_param_calls = 0;
  int64_t register_ui_calls = 0;
  // num_params as out_data held it when register_ui was called (-1: never)
  A_long num_params_at_register_ui = -1;
  PF_Err register_ui_result = PF_Err_NONE;

  // Handles.
  std::vector<HostHandle*> handles;  // live
  int64_t handle_allocs = 0;         // calls of host_new_handle
  int64_t handles_made = 0;
  int64_t handles_disposed = 0;

  // Checkouts.
  CheckoutFn checkout;
  int64_t checkout_calls = 0;
  int64_t checkouts_open = 0;  // successful checkouts not yet checked in
  int64_t checkin_calls = 0;
  // With record_checkouts, every checkout_param call as (index, what_time),
  // in call order, failed ones included.
  bool record_checkouts = false;
  std::vector<std::pair<PF_ParamIndex, A_long>> checkout_log;
  // With record_checkouts, every checkin_param call as the index its record
  // was last checked out with (-1: a record never checked out), in call
  // order; checkout_records maps the plug-in's record to that index.
  std::vector<PF_ParamIndex> checkin_log;
  std::vector<std::pair<const PF_ParamDef*, PF_ParamIndex>> checkout_records;

  // Suites: those registered here are available; any other answers
  // kSPSuiteNotFoundError.
  std::vector<HostSuite> suites;
  int64_t suites_acquired = 0;
  int64_t suites_released = 0;
  std::vector<std::string> suite_requests;  // "name/version", every AcquireSuite

  // The host's main window as get_platform_data reports it (null by default).
  void* main_window = nullptr;
  int64_t platform_data_calls = 0;

  // Fault injection.
  HostFault fail_new_handle;
  HostFault fail_add_param;
  HostFault fail_checkout;
  HostFault fail_platform_data;

  int64_t misuse = 0;
  std::vector<std::string> misuse_log;
};

// Clears ctx and fills in_data (callbacks, utilities, basic suite, effect_ref)
// and out_data; makes ctx the active context.
void HostContextInit(HostContext& ctx);
void HostContextActivate(HostContext* ctx);
HostContext* HostContextActive();
// Disposes of every live handle (after reporting them); returns how many.
int64_t HostContextReleaseHandles(HostContext& ctx);

// For tests that inspect a handle the plug-in holds: the record, or null if
// h is not a live handle of ctx.
HostHandle* HostFindHandle(HostContext& ctx, PF_Handle h);
// Counts a misuse with its line in the log (the first 100 are kept).
void HostContextMisuse(HostContext& ctx, const std::string& what);
