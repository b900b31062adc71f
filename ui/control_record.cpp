// What the two control classes share: finding a window's record by its class,
// the heap memory of records and their texts, and their font.
#include <cstdlib>
#include <cstring>

#include "ui/controls.h"

int ControlAllocFailNext = 0;

void* ControlRecordAlloc(size_t size) {
  if (ControlAllocFailNext > 0) {
    --ControlAllocFailNext;
    return nullptr;
  }
  return std::calloc(1, size);
}

// Every attach gets a buffer of its own text's size: a later, longer text
// must not be copied into the buffer sized by an earlier one.
bool ControlRecordSetText(char** slot, const char* text) {
  size_t n = std::strlen(text) + 1;
  char* copy = static_cast<char*>(std::malloc(n));
  if (!copy) return false;
  std::memcpy(copy, text, n);
  std::free(*slot);
  *slot = copy;
  return true;
}

void* FindControlRecord(HWND window, const char* class_name) {
  char name[65];  // class names of at most 64 characters are compared
  if (!window || GetClassNameA(window, name, sizeof name) == 0) return nullptr;
  if (std::strcmp(name, class_name) != 0) return nullptr;
  return reinterpret_cast<void*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

HFONT ControlFont(LONG weight, BYTE underline) {
  LOGFONTA lf = {};
  lf.lfHeight = 14;
  lf.lfWeight = weight;
  lf.lfUnderline = underline;
  lf.lfQuality = PROOF_QUALITY;
  lstrcpynA(lf.lfFaceName, "Arial", LF_FACESIZE);
  return CreateFontIndirectA(&lf);
}
