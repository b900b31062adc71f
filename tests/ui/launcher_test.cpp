// The launchers: the help document's path, one launcher at a time, and
// nothing opened when the path does not fit.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/ui/import_patch.h"
#include "tests/ui/ui_test_util.h"
#include "ui/ui.h"

namespace {
class Launchers : public ::testing::Test {
 protected:
  void SetUp() override {
    UiTestModuleState();
    RecordShellOpens(&shell);
  }
  void TearDown() override {
    ReleaseShell();
    EXPECT_TRUE(WaitForLauncher());
    LauncherShellOpen = ShellOpenWithVerb;
  }
  // The path the help thread opens for `folder` ("" when it opens nothing).
  std::string OpenHelpFor(const std::string& folder) {
    std::memset(PluginFolder, 0, PLUGIN_FOLDER_SIZE);
    std::memcpy(PluginFolder, folder.data(), std::min<size_t>(folder.size(), PLUGIN_FOLDER_SIZE));
    size_t before = shell.opened.size();
    StartHelpDocThread(0);
    EXPECT_TRUE(WaitForLauncher());
    if (shell.opened.size() == before) return "";
    EXPECT_EQ(shell.opened.size(), before + 1);
    EXPECT_EQ(shell.opened.back(), HelpDocPath);
    return shell.opened.back();
  }
  ShellLog shell;
};
}  // namespace

TEST_F(Launchers, HelpPathIsTheFolderTheProductFolderAndTheDocument) {
  EXPECT_EQ(OpenHelpFor("C:\\Plugins\\Effects\\"), "C:\\Plugins\\Effects\\Velarra\\velarradoc.html");
  // a separator is added where there is none, not after a '/'
  EXPECT_EQ(OpenHelpFor("C:\\Plugins\\Effects"), "C:\\Plugins\\Effects\\Velarra\\velarradoc.html");
  EXPECT_EQ(OpenHelpFor("D:/effects/"), "D:/effects/Velarra\\velarradoc.html");
  // folders of length 0 and 1 get none
  EXPECT_EQ(OpenHelpFor(""), "Velarra\\velarradoc.html");
  EXPECT_EQ(OpenHelpFor("C"), "CVelarra\\velarradoc.html");
  EXPECT_EQ(OpenHelpFor("CD"), "CD\\Velarra\\velarradoc.html");
}

TEST_F(Launchers, EveryModeOpensTheSameDocumentOwnedByTheHostWindow) {
  std::strcpy(PluginFolder, "C:\\x\\");
  HostMainWindow = reinterpret_cast<void*>(0x1234);
  for (int32_t mode : {0, 1, -7}) {
    StartHelpDocThread(mode);
    ASSERT_TRUE(WaitForLauncher());
    EXPECT_EQ(LauncherMode, mode);
  }
  ASSERT_EQ(shell.opened.size(), 3u);
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(shell.opened[i], "C:\\x\\Velarra\\velarradoc.html");
    EXPECT_EQ(shell.owners[i], reinterpret_cast<void*>(0x1234));
  }
}

// The longest folder that still fits, one character more, and a folder
// that fills the whole buffer without a terminator: the last two open
// nothing rather than a cut or overrun path.
TEST_F(Launchers, PathsThatDoNotFitOpenNothing) {
  const size_t tail = std::strlen("Velarra\\velarradoc.html");
  std::string fits(HELP_DOC_PATH_SIZE - 1 - tail - 1, 'a');
  fits += '\\';
  std::string opened = OpenHelpFor(fits);
  EXPECT_EQ(opened.size(), static_cast<size_t>(HELP_DOC_PATH_SIZE - 1));
  EXPECT_EQ(opened, fits + "Velarra\\velarradoc.html");
  EXPECT_EQ(OpenHelpFor(std::string(fits.size() - 1, 'a') + "b"), "") << "the separator would not fit";
  EXPECT_EQ(OpenHelpFor(fits + "b\\"), "");
  EXPECT_STREQ(HelpDocPath, "");
  EXPECT_EQ(OpenHelpFor(std::string(PLUGIN_FOLDER_SIZE, 'c')), "");
  EXPECT_EQ(OpenHelpFor("C:\\ok\\"), "C:\\ok\\Velarra\\velarradoc.html") << "and the next one opens again";
}

// Two quick clicks while the first launcher is still in the shell open
// once; a click after it has ended opens again. Web addresses share the
// same busy flag.
TEST_F(Launchers, OneLauncherAtATime) {
  std::strcpy(PluginFolder, "C:\\Plugins\\");
  RecordShellOpens(&shell, /*hold=*/true);
  StartHelpDocThread(0);
  EXPECT_TRUE(LauncherBusy) << "set by the starter, before the thread runs";
  StartHelpDocThread(0);
  StartOpenUrlThread("https://www.example.com/other");
  ReleaseShell();
  ASSERT_TRUE(WaitForLauncher());
  EXPECT_EQ(shell.opened.size(), 1u);

  RecordShellOpens(&shell);
  StartHelpDocThread(0);
  ASSERT_TRUE(WaitForLauncher());
  StartOpenUrlThread(MakerWebAddress);
  ASSERT_TRUE(WaitForLauncher());
  ASSERT_EQ(shell.opened.size(), 3u);
  EXPECT_EQ(shell.opened[1], "C:\\Plugins\\Velarra\\velarradoc.html");
  EXPECT_EQ(shell.opened[2], MakerWebAddress);
}

namespace {
HANDLE WINAPI NoThread(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE, LPVOID, DWORD, LPDWORD) {
  SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return nullptr;
}
}  // namespace

// A thread that cannot be created leaves the busy flag clear, so the next
// click tries again and opens.
TEST_F(Launchers, AThreadThatCannotBeCreatedLetsTheNextClickTryAgain) {
  std::strcpy(PluginFolder, "C:\\Plugins\\");
  void* real = PatchImport("kernel32.dll", "CreateThread", reinterpret_cast<void*>(NoThread));
  ASSERT_NE(real, nullptr);
  // (the test framework makes threads too: nothing is checked until the
  // import is back)
  StartHelpDocThread(0);
  bool busy_after_help = LauncherBusy;
  StartOpenUrlThread(MakerWebAddress);
  bool busy_after_url = LauncherBusy;
  RestoreImport(reinterpret_cast<void*>(NoThread), real);
  EXPECT_FALSE(busy_after_help);
  EXPECT_FALSE(busy_after_url);
  EXPECT_TRUE(shell.opened.empty());
  StartHelpDocThread(0);
  ASSERT_TRUE(WaitForLauncher());
  ASSERT_EQ(shell.opened.size(), 1u);
  EXPECT_EQ(shell.opened[0], "C:\\Plugins\\Velarra\\velarradoc.html");
}

// The two routines that do nothing can be called and leave every launcher
// state as it was.
TEST_F(Launchers, NoOpRoutinesChangeNothing) {
  std::strcpy(HelpDocPath, "unchanged");
  LauncherNoOp(nullptr);
  LauncherNoOp2(HelpDocPath, 5);
  EXPECT_STREQ(HelpDocPath, "unchanged");
  EXPECT_FALSE(LauncherBusy);
  EXPECT_TRUE(shell.opened.empty());
}
