// The load-time entry, the loader of a separately built renderer module and
// the page memory's cache.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "host/host.h"
#include "platform/page_memory.h"

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

// A released block serves the next request of about its size: cleared for
// PageAlloc, as it was for PageAllocForOverwrite (a pattern in sanitizer
// builds); a request it would hold with too much to spare gets a block of its
// own, and an injected failure still fires while blocks wait in the cache. A
// block released twice stops a sanitizer build.
TEST(PageMemory, ReleasedBlocksServeTheNextRequestClearedWhenAsked) {
  PageReleaseCached();
  const int64_t live = PageLiveBlocks();
  const uint64_t size = uint64_t(1) << 20;
  unsigned char* p = static_cast<unsigned char*>(PageAlloc(size));
  ASSERT_NE(p, nullptr);
  std::memset(p, 0xFF, size);
  PageFree(p);
  EXPECT_EQ(PageLiveBlocks(), live);
  EXPECT_EQ(PageCachedBlocks(), 1);
  unsigned char* q = static_cast<unsigned char*>(PageAlloc(size - 100));
  EXPECT_EQ(q, p);
  for (uint64_t i = 0; i < size - 100; ++i) ASSERT_EQ(q[i], 0) << i;
  q[0] = 0x77;
  PageFree(q);
  unsigned char* r = static_cast<unsigned char*>(PageAllocForOverwrite(size));
  EXPECT_EQ(r, p);
  EXPECT_NE(r[0], 0);
  PageFree(r);
  void* small = PageAlloc(4096);
  EXPECT_NE(small, p);
  PageFailAt(0);
  EXPECT_EQ(PageAlloc(size), nullptr);
  EXPECT_EQ(PageCachedBlocks(), 1);
  PageFree(small);
  EXPECT_EQ(PageLiveBlocks(), live);
#if defined(__SANITIZE_ADDRESS__)
  EXPECT_DEATH(PageFree(p), "released twice");
#endif
  PageReleaseCached();
  EXPECT_EQ(PageCachedBlocks(), 0);
  EXPECT_EQ(PageCachedBytes(), 0u);
}

// The cache keeps at most its number of blocks and bytes (the oldest go
// first, a block above the byte bound is never kept), and global set-down
// empties it.
TEST(PageMemory, TheCacheStaysBoundedAndGlobalSetdownEmptiesIt) {
  PageReleaseCached();
  std::vector<void*> blocks;
  for (int k = 0; k < PAGE_CACHE_BLOCKS + 4; ++k) blocks.push_back(PageAlloc(4096));
  for (void* b : blocks) PageFree(b);
  EXPECT_EQ(PageCachedBlocks(), PAGE_CACHE_BLOCKS);
  const uint64_t third = PAGE_CACHE_BYTES / 3 + 4096;
  blocks.clear();
  for (int k = 0; k < 3; ++k) blocks.push_back(PageAlloc(third));
  for (void* b : blocks) PageFree(b);
  EXPECT_LE(PageCachedBytes(), PAGE_CACHE_BYTES);
  EXPECT_GE(PageCachedBytes(), 2 * third);
  PageFree(PageAlloc(PAGE_CACHE_BYTES + 4096));
  EXPECT_LE(PageCachedBytes(), PAGE_CACHE_BYTES);
  EXPECT_GT(PageCachedBlocks(), 0);
  EXPECT_EQ(EntryPointFunc(PF_Cmd_GLOBAL_SETDOWN, nullptr, nullptr, nullptr, nullptr, nullptr), PF_Err_NONE);
  EXPECT_EQ(PageCachedBlocks(), 0);
  EXPECT_EQ(PageCachedBytes(), 0u);
}
