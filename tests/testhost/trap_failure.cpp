// Linked into every test program that uses the test host: a call of a trap
// (a host slot the plug-ins must not call) fails the running test.
#include <gtest/gtest.h>

#include "testhost/host_traps.h"

namespace {
void FailTheTest(const char* slot) { ADD_FAILURE() << "the plug-in called " << slot << ", which it must not call"; }

const bool Installed = (HostTrapHook = FailTheTest, true);
}  // namespace
