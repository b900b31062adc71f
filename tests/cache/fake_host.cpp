#include "tests/cache/fake_host.h"

#include <cstdlib>
#include <cstring>

int64_t FakeHost::liveHandles = 0;
int64_t FakeHost::newCalls = 0;
int64_t FakeHost::disposeCalls = 0;
int64_t FakeHost::lockDepth = 0;
uint64_t FakeHost::lastSize = 0;
bool FakeHost::refuseNew = false;
bool FakeHost::lockYieldsNull = false;

FakeHost::FakeHost() {
  liveHandles = newCalls = disposeCalls = lockDepth = 0;
  lastSize = 0;
  refuseNew = lockYieldsNull = false;
  utils.host_new_handle = NewHandle;
  utils.host_lock_handle = Lock;
  utils.host_unlock_handle = Unlock;
  utils.host_dispose_handle = Dispose;
  in.utils = &utils;
}

FakeHost::~FakeHost() = default;

PF_Handle FakeHost::NewHandle(A_HandleSize size) {
  ++newCalls;
  if (refuseNew) return nullptr;
  lastSize = size;
  void** h = static_cast<void**>(std::malloc(sizeof(void*)));
  *h = std::malloc(size_t(size));
  std::memset(*h, 0xA5, size_t(size));
  ++liveHandles;
  return h;
}

void* FakeHost::Lock(PF_Handle h) {
  ++lockDepth;
  return lockYieldsNull ? nullptr : *h;
}

void FakeHost::Unlock(PF_Handle) { --lockDepth; }

void FakeHost::Dispose(PF_Handle h) {
  ++disposeCalls;
  if (!h) return;
  std::free(*h);
  std::free(h);
  --liveHandles;
}
