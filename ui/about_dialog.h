// The About dialog's procedure (the dialog template is DIALOG_ABOUT in
// resources/ui.rc).
#pragma once
#include <windows.h>

INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);

// The text that replaces the version item at start-up.
extern const char ABOUT_VERSION_TEXT[];  // "1.5 (64 Bit)"
// True while About runs its dialog.
extern bool AboutDialogOpen;
