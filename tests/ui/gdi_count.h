// Counts the GDI objects and device contexts this program makes and
// releases, by routing its imports of the creating and releasing functions
// through counters. The platform's own per-process count is not available
// under every system (Wine reports 0), so the tests keep their own.
#pragma once
#include <windows.h>

#include <cstdint>

// Patches the program's import table once; later calls do nothing.
void GdiCountInstall();
// Objects made and still alive: fonts, brushes, bitmaps (created or
// loaded), memory and window device contexts.
int64_t GdiLiveObjects();
// Releases that failed: an object deleted twice, or one that is not ours.
int64_t GdiFailedReleases();
// Objects made so far (a test can see that something was counted at all).
int64_t GdiObjectsMade();
