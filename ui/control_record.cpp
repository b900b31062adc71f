// What the two control classes share: their registration, finding a window's
// record by its class, the heap memory of records and their texts, and their
// font.
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

// The platform deletes a class's background brush when the class is
// unregistered, so each class gets a brush of its own in the shared colour:
// with one brush for both classes and the dialog, the first unregistration
// would delete it under the second class, and deleting it again ourselves
// could hit a handle that another object has reused meanwhile.
HBRUSH ClassBackgroundBrush() { return CreateSolidBrush(CONTROL_BACKGROUND); }

int RegisterControlClass(HINSTANCE instance, WNDPROC proc, const char* class_name) {
  WNDCLASSEXA wc = {};
  static_assert(sizeof wc == 80, "the class record is 80 bytes");
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  wc.hbrBackground = ClassBackgroundBrush();
  wc.lpszClassName = class_name;
  if (!RegisterClassExA(&wc) && wc.hbrBackground) DeleteObject(wc.hbrBackground);
  return 1;
}
