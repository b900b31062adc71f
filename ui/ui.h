// The effect's dialogs: the About command and the launchers that open the
// help document or a web page in a background thread.
//
// Windows only (velarra_ui). The About dialog's window classes are in
// ui/controls.h, its dialog procedure in ui/about_dialog.h.
#pragma once
#include <atomic>
#include <cstdint>

#include "host/host.h"  // About, ModuleInstance, PluginFolder, HostMainWindow

// ---- the About command -------------------------------------------------------
// PF_Err About(in_data, out_data, params, output) is declared in host/host.h:
// it shows the modal About dialog, owned by the host's main window, and
// returns 0; the panel's About button calls the same function. While one
// About dialog is open, a second call does nothing (it would release the
// window classes and pictures the open dialog still uses).

// ---- the addresses the About dialog opens (one place) ----------------------
extern const char MakerWebAddress[];      // opened by the link
extern const char MakerWebDisplayText[];  // what the link shows
extern const char TutorialsWebAddress[];  // opened by "Tutorials"

// ---- launchers ---------------------------------------------------------------
// At most one launcher thread runs at a time: the starter sets LauncherBusy
// before it creates the thread, the thread clears it when the shell call has
// returned; a start while it is set does nothing. The thread keeps the module
// loaded until it has ended, so the host may unload the module meanwhile.

// Opens the help document "<PluginFolder>Velarra\velarradoc.html" (a
// separator is added after a folder of two or more characters that does not
// end in one). Every mode opens the same document; the panel passes 0.
void StartHelpDocThread(int32_t mode);
// Opens a web address; url must stay valid until the thread has used it
// (pass constant texts).
void StartOpenUrlThread(const char* url);

constexpr int HELP_DOC_PATH_SIZE = 1024;

extern std::atomic<bool> LauncherBusy;
extern int32_t LauncherMode;  // the last mode given to StartHelpDocThread
// The help document's full path, written only by the help thread; empty when
// the path does not fit into the buffer (nothing is opened then).
extern char HelpDocPath[HELP_DOC_PATH_SIZE];

// The one call into the shell: perform "open" on a document or web address,
// with no parameters and no working folder, shown normally, owned by the
// window `owner`. Its result is not looked at. Tests replace it to record
// what would be opened.
typedef void (*ShellOpenFunc)(void* owner, const char* target);
extern ShellOpenFunc LauncherShellOpen;  // ShellOpenWithVerb by default
void ShellOpenWithVerb(void* owner, const char* target);

// Two routines of the launchers that do nothing and that nothing calls.
void LauncherNoOp(void* unused);
void LauncherNoOp2(void* unused, intptr_t unused2);
