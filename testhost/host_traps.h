// Traps for the slots of the host's tables that the plug-ins must not call.
//
// The test host fills every function slot of every table it hands out:
// the functions the plug-ins use with its own implementations, every other
// slot with a trap of that slot's own signature. A trap records the call
// under the slot's name (in the active context's misuse log, so the test
// host's exit status shows it), tells HostTrapHook (the test programs make
// it fail the running test) and answers an error, so a call into a wrong
// slot never passes silently.
//
//   HOST_TRAP(ctx.utils, colorCB.Hue);  // the field's text is the slot's name
#pragma once
#include <cstdint>
#include <string>
#include <type_traits>

#include "sdk/AE_Effect.h"

// Called with the slot's name after the call is recorded; null: nothing.
using HostTrapHookFn = void (*)(const char* slot);
extern HostTrapHookFn HostTrapHook;

// Every trap call so far, over all contexts.
int64_t HostTrapCalls();
// The last trapped slot's name ("" before any).
std::string HostLastTrap();
// Whether fn is a trap; if so, *name (when given) is its slot's name.
bool HostIsTrap(const void* fn, std::string* name = nullptr);

// ---- machinery -------------------------------------------------------------
void HostTrapRecord(const char* slot);
void HostTrapRegister(const void* fn, const char* slot);

namespace host_trap {
// What a trap answers: an error for the integer results (all error codes
// here), nothing for the others.
template <typename R>
R Answer() {
  if constexpr (std::is_integral_v<R>)
    return static_cast<R>(PF_Err_INVALID_CALLBACK);
  else
    return R();
}

// One instance per (signature, unit, id): Unit keeps two source files apart,
// Id two slots of one signature.
template <typename F, typename Unit, int Id>
struct Trap;
template <typename R, typename... A, typename Unit, int Id>
struct Trap<R (*)(A...), Unit, Id> {
  static inline const char* name = "";
  static R Call(A...) {
    HostTrapRecord(name);
    return Answer<R>();
  }
};
template <typename R, typename... A, typename Unit, int Id>
struct Trap<R (*)(A..., ...), Unit, Id> {
  static inline const char* name = "";
  static R Call(A..., ...) {
    HostTrapRecord(name);
    return Answer<R>();
  }
};

template <typename Unit, int Id, typename F>
void Set(F& slot, const char* name) {
  using T = Trap<F, Unit, Id>;
  T::name = name;
  slot = &T::Call;
  HostTrapRegister(reinterpret_cast<const void*>(slot), name);
}
}  // namespace host_trap

namespace {
struct HostTrapUnit;  // one per source file
}  // namespace

#define HOST_TRAP(table, field) host_trap::Set<HostTrapUnit, __COUNTER__>((table).field, #field)
