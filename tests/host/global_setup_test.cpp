// Global set-up of whichever plug-in is linked in (each test program links
// one): the folder cut, the host's main window, version and out-flags.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#if defined(VELARRA_TEST_DRAPE)
#include "variants/drape/drape_params.h"
#else
#include "host/host.h"
#endif
#include "platform/module_services.h"
#include "testhost/host_context.h"

namespace {
struct GlobalSetupTest : ::testing::Test {
  HostContext ctx;
  void SetUp() override {
    HostContextInit(ctx);
    PluginFolder[0] = 'x';  // stale content must not survive
    PluginFolder[1] = 0;
  }
  void TearDown() override { PlatformOverrideModuleFileName(nullptr); }
  PF_Err Run(const std::string& path) {
    PlatformOverrideModuleFileName(path.c_str());
    return EntryPointFunc(PF_Cmd_GLOBAL_SETUP, &ctx.in_data, &ctx.out_data, nullptr, nullptr, nullptr);
  }
};
}  // namespace

TEST_F(GlobalSetupTest, ReportsVersionAndOutFlagsAndNothingElse) {
  PF_OutData before;
  std::memset(&ctx.out_data, 0x5A, sizeof ctx.out_data);
  before = ctx.out_data;
  ASSERT_EQ(Run(std::string("C:\\Plugins\\Effects\\") + ShippedModuleFileName), PF_Err_NONE);
  EXPECT_EQ(ctx.out_data.my_version, 0x100001u);
  EXPECT_EQ(ctx.out_data.out_flags, 0x6008454);
  // every other byte of out_data as it was
  PF_OutData masked = ctx.out_data;
  masked.my_version = before.my_version;
  masked.out_flags = before.out_flags;
  EXPECT_EQ(0, std::memcmp(&masked, &before, sizeof before));
}

TEST_F(GlobalSetupTest, FolderKeepsItsTrailingSeparator) {
  ASSERT_EQ(Run(std::string("C:\\Plugins\\Effects\\") + ShippedModuleFileName), PF_Err_NONE);
  EXPECT_STREQ(PluginFolder, "C:\\Plugins\\Effects\\");
}

// The cut is by the shipped name's length, not at the last separator: a
// renamed copy two characters longer keeps two characters of its name.
TEST_F(GlobalSetupTest, RenamedModuleCutsByLength) {
  std::string shipped = ShippedModuleFileName;
  ASSERT_EQ(Run("C:\\Plugins\\Effects\\" + shipped.substr(0, shipped.size() - 4) + "v2.AEX"), PF_Err_NONE);
  std::string expect = "C:\\Plugins\\Effects\\" + shipped.substr(0, 2);
  EXPECT_EQ(std::string(PluginFolder), expect);
  ASSERT_EQ(Run("C:\\P\\x.AEX"), PF_Err_NONE);  // shorter than the shipped name
  EXPECT_STREQ(PluginFolder, "");
  ASSERT_EQ(Run(shipped), PF_Err_NONE);  // exactly the name: the empty folder
  EXPECT_STREQ(PluginFolder, "");
}

TEST_F(GlobalSetupTest, FailedQueryGivesAnEmptyFolder) {
  ASSERT_EQ(Run(""), PF_Err_NONE);
  EXPECT_STREQ(PluginFolder, "");
}

// A path longer than the query's buffer comes back cut; the folder is not
// meaningful then, but it stays inside its buffer and terminated.
TEST_F(GlobalSetupTest, OverlongPathStaysInsideTheFolder) {
  std::string path = "C:\\" + std::string(3000, 'a') + "\\" + ShippedModuleFileName;
  ASSERT_EQ(Run(path), PF_Err_NONE);
  size_t n = strnlen(PluginFolder, PLUGIN_FOLDER_SIZE);
  EXPECT_LT(n, size_t(PLUGIN_FOLDER_SIZE));
  EXPECT_EQ(n, size_t(PLUGIN_FOLDER_SIZE) - std::strlen(ShippedModuleFileName));
}

TEST_F(GlobalSetupTest, StoresTheHostMainWindowOrNull) {
  int window_stand_in = 0;
  ctx.main_window = &window_stand_in;
  ASSERT_EQ(Run("C:\\a\\" + std::string(ShippedModuleFileName)), PF_Err_NONE);
  EXPECT_EQ(HostMainWindow, &window_stand_in);
  EXPECT_EQ(ctx.platform_data_calls, 1);
  // the query fails: null, not the earlier window or garbage
  ctx.fail_platform_data = HostFault{2, false, PF_Err_BAD_CALLBACK_PARAM};
  ASSERT_EQ(Run("C:\\a\\" + std::string(ShippedModuleFileName)), PF_Err_NONE);
  EXPECT_EQ(HostMainWindow, nullptr);
}

TEST_F(GlobalSetupTest, SetdownChangesNothing) {
  ASSERT_EQ(Run("C:\\Plugins\\" + std::string(ShippedModuleFileName)), PF_Err_NONE);
  PF_OutData before = ctx.out_data;
  EXPECT_EQ(EntryPointFunc(PF_Cmd_GLOBAL_SETDOWN, &ctx.in_data, &ctx.out_data, nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(0, std::memcmp(&before, &ctx.out_data, sizeof before));
  EXPECT_STREQ(PluginFolder, "C:\\Plugins\\");
}
