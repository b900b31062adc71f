// The load-time entry and the loader of a separately built renderer module.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "host/host.h"

#if defined(_WIN32)
#include <windows.h>
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);
#else
extern "C" int DllMain(void* instance, uint32_t reason, void* reserved);
#endif

namespace {
int CallDllMain(void* instance, unsigned reason) {
#if defined(_WIN32)
  return DllMain(static_cast<HINSTANCE>(instance), reason, nullptr);
#else
  return DllMain(instance, reason, nullptr);
#endif
}
}  // namespace

TEST(DllMain, KeepsTheInstanceAtProcessAttachOnly) {
  int a = 0, b = 0;
  EXPECT_EQ(CallDllMain(&a, 1), 1);
  EXPECT_EQ(ModuleInstance, &a);
  for (unsigned reason : {0u, 2u, 3u}) {
    EXPECT_EQ(CallDllMain(&b, reason), 1) << reason;
    EXPECT_EQ(ModuleInstance, &a) << reason;
  }
}

TEST(EngineModule, LoadsTheRendererModuleFromAFolder) {
  char folder[PLUGIN_FOLDER_SIZE];
  std::strcpy(folder, VELARRA_TEST_ENGINE_FOLDER);
  void* raster = LoadEngineModule(folder);
  ASSERT_NE(raster, nullptr);
  EXPECT_EQ(raster, EngineRasterSceneFunc);
  EXPECT_EQ(std::string(folder), std::string(VELARRA_TEST_ENGINE_FOLDER) + "VelarraEngine.dll");
  // the stand-in module's __RasterScene paints the first channel value
  unsigned char dst[4] = {0, 0, 0, 0};
  using Raster = void (*)(unsigned char*);
  reinterpret_cast<Raster>(raster)(dst);
  EXPECT_EQ(dst[0], 42);
  FreeEngineModule();
  EXPECT_EQ(EngineModuleHandle, nullptr);
  EXPECT_EQ(EngineRasterSceneFunc, nullptr);
  FreeEngineModule();  // a second release does nothing
  EXPECT_EQ(EngineModuleHandle, nullptr);
}

TEST(EngineModule, MissingModuleGivesNull) {
  char folder[PLUGIN_FOLDER_SIZE] = "/no/such/folder/";
  EXPECT_EQ(LoadEngineModule(folder), nullptr);
  EXPECT_EQ(EngineModuleHandle, nullptr);
  FreeEngineModule();
}

// A folder that leaves no room for the file name loads nothing and is not
// written beyond its buffer (the sanitizers watch the buffer's end).
TEST(EngineModule, FolderWithoutRoomLoadsNothing) {
  char folder[PLUGIN_FOLDER_SIZE];
  const size_t name = std::strlen("VelarraEngine.dll");
  std::memset(folder, 'a', sizeof folder);
  folder[sizeof folder - name] = 0;  // one character too long
  std::string before(folder);
  EXPECT_EQ(LoadEngineModule(folder), nullptr);
  EXPECT_EQ(std::string(folder), before);
  std::memset(folder, 'a', sizeof folder);
  folder[sizeof folder - name - 1] = 0;  // just fits: appended, nothing loads
  EXPECT_EQ(LoadEngineModule(folder), nullptr);
  EXPECT_EQ(strnlen(folder, sizeof folder), sizeof folder - 1);
  EXPECT_STREQ(folder + sizeof folder - 1 - name, "VelarraEngine.dll");
  std::memset(folder, 'a', sizeof folder);  // not terminated at all
  EXPECT_EQ(LoadEngineModule(folder), nullptr);
  EXPECT_EQ(LoadEngineModule(nullptr), nullptr);
}

#include "platform/module_services.h"

TEST(ModuleServices, FileNameIsCutLikeTheSystemQuery) {
  char buf[16];
  PlatformOverrideModuleFileName("abcdef");
  EXPECT_EQ(PlatformModuleFileName(nullptr, buf, 7), 6u);
  EXPECT_STREQ(buf, "abcdef");
  EXPECT_EQ(PlatformModuleFileName(nullptr, buf, 6), 6u);  // no room for the terminator: cut
  EXPECT_STREQ(buf, "abcde");
  EXPECT_EQ(PlatformModuleFileName(nullptr, buf, 1), 1u);
  EXPECT_STREQ(buf, "");
  EXPECT_EQ(PlatformModuleFileName(nullptr, buf, 0), 0u);
  EXPECT_EQ(PlatformModuleFileName(nullptr, nullptr, 16), 0u);
  PlatformOverrideModuleFileName(nullptr);
}

TEST(ModuleServices, TheRunningProgramHasItsOwnPath) {
  char buf[1024];
  uint32_t n = PlatformModuleFileName(nullptr, buf, sizeof buf);
  ASSERT_GT(n, 0u);
  ASSERT_LT(n, sizeof buf);
  EXPECT_EQ(std::strlen(buf), n);
  EXPECT_NE(std::string(buf).find("host_theatre_tests"), std::string::npos) << buf;
}

TEST(ModuleServices, MissingModulesAndExportsAreNull) {
  EXPECT_EQ(PlatformLoadModule(nullptr), nullptr);
  EXPECT_EQ(PlatformLoadModule("/no/such/module.dll"), nullptr);
  EXPECT_EQ(PlatformFindExport(nullptr, "x"), nullptr);
  PlatformFreeModule(nullptr);
  std::string path = std::string(VELARRA_TEST_ENGINE_FOLDER) + "VelarraEngine.dll";
  PlatformModule m = PlatformLoadModule(path.c_str());
  ASSERT_NE(m, nullptr);
  EXPECT_NE(PlatformFindExport(m, "__RasterScene"), nullptr);
  EXPECT_EQ(PlatformFindExport(m, "NoSuchExport"), nullptr);
  EXPECT_EQ(PlatformFindExport(m, nullptr), nullptr);
  PlatformFreeModule(m);
}
