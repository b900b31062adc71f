// One run of the test host: the command sequence the host application sends
// to an effect, with the parameter values, layers and output of the options.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

#include "testhost/options.h"
#include "testhost/pipl.h"

enum {
  HOST_EXIT_OK = 0,
  HOST_EXIT_USAGE = 1,    // bad arguments or files
  HOST_EXIT_MODULE = 2,   // the module cannot be used
  HOST_EXIT_COMMAND = 3,  // a command returned an error
  HOST_EXIT_LEAK = 4      // handles, checkouts or page memory left over
};

struct HostEffect {
  PF_FilterProc entry = nullptr;
  std::string name;  // the effect's name (PiPL) for messages and file names
  // The module's PiPL, when it has one (the Windows host reads it).
  const PiplInfo* pipl = nullptr;
  // Natively the plug-in is linked in and its page memory can be counted.
  int64_t (*live_page_blocks)() = nullptr;
};

// Runs the sequence; messages go to err, the parameter table to out.
int RunHostSession(const HostEffect& effect, const HostOptions& options, FILE* out, FILE* err);

// The effect's name without blanks, for file names ("VelarraTheatre").
std::string CompactName(const std::string& name);
