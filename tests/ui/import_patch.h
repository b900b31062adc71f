// Routes one of this program's imported functions elsewhere, so a test can
// count or fail the platform calls of the code under test without a seam in
// that code.
#pragma once

// Replaces every import slot of the program that holds dll!name by
// `replacement`; returns the function the slots held (null when the program
// does not import it, and nothing is changed then).
void* PatchImport(const char* dll, const char* name, void* replacement);
// Puts `original` back into the slots that PatchImport gave `replacement`.
void RestoreImport(void* replacement, void* original);
