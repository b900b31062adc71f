#include "tests/ui/import_patch.h"

#include <windows.h>

#include <cstdint>

namespace {
void ReplaceSlots(void* target, void* replacement) {
  auto* base = reinterpret_cast<uint8_t*>(GetModuleHandleA(nullptr));
  auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  for (auto* imp = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); imp->Name; ++imp) {
    for (auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->FirstThunk); slot->u1.Function; ++slot) {
      if (reinterpret_cast<void*>(slot->u1.Function) != target) continue;
      DWORD old;
      VirtualProtect(&slot->u1.Function, sizeof(void*), PAGE_READWRITE, &old);
      slot->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
      VirtualProtect(&slot->u1.Function, sizeof(void*), old, &old);
    }
  }
}
}  // namespace

void* PatchImport(const char* dll, const char* name, void* replacement) {
  HMODULE library = GetModuleHandleA(dll);
  void* target = library ? reinterpret_cast<void*>(GetProcAddress(library, name)) : nullptr;
  if (target) ReplaceSlots(target, replacement);
  return target;
}

void RestoreImport(void* replacement, void* original) { ReplaceSlots(replacement, original); }
