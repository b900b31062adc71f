#include "testhost/host_traps.h"

#include <map>

#include "testhost/host_context.h"

HostTrapHookFn HostTrapHook = nullptr;

namespace {
int64_t Calls = 0;
std::string Last;

std::map<const void*, const char*>& Registry() {
  static std::map<const void*, const char*> registry;
  return registry;
}
}  // namespace

void HostTrapRecord(const char* slot) {
  ++Calls;
  Last = slot;
  if (HostContext* ctx = HostContextActive())
    HostContextMisuse(*ctx, std::string("the plug-in called ") + slot + ", which it must not call");
  if (HostTrapHook) HostTrapHook(slot);
}

void HostTrapRegister(const void* fn, const char* slot) { Registry()[fn] = slot; }

int64_t HostTrapCalls() { return Calls; }
std::string HostLastTrap() { return Last; }

bool HostIsTrap(const void* fn, std::string* name) {
  auto it = Registry().find(fn);
  if (it == Registry().end()) return false;
  if (name) *name = it->second;
  return true;
}
