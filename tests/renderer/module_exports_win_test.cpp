// Looks up every decorated name of the renderer's interface in each of the
// three built modules, and checks through the exports themselves that a
// name reaches the function or global it stands for.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/renderer/export_names.h"

namespace {

// The build tree's path as Windows sees it under Wine (drive Z: is /).
std::string WindowsPath(std::string path) {
  for (char& c : path)
    if (c == '/') c = '\\';
  return path.size() > 0 && path[0] == '\\' ? "Z:" + path : path;
}

class ModuleExports : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    const std::string path =
        WindowsPath(std::string(VELARRA_MODULE_DIR) + "/" + GetParam() + ".AEX");
    module_ = LoadLibraryA(path.c_str());
    ASSERT_NE(module_, nullptr) << "cannot load " << path << " (error " << GetLastError() << ")";
  }
  void TearDown() override {
    if (module_ != nullptr) FreeLibrary(module_);
  }
  FARPROC Find(const std::string& name) { return GetProcAddress(module_, name.c_str()); }
  // A function export as its declared type (through the generic pointer
  // type, which converts to any function pointer without a warning).
  template <typename F>
  F Function(const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void (*)()>(Find(name)));
  }
  HMODULE module_ = nullptr;
};

TEST_P(ModuleExports, EveryDecoratedNameIsExported) {
  const auto lines = exports::ReadDefFile(WindowsPath(VELARRA_RENDERER_EXPORTS_DEF).c_str());
  ASSERT_EQ(lines.size(), exports::Declared().size());
  for (const exports::DefLine& d : lines) EXPECT_NE(Find(d.decorated), nullptr) << d.decorated;
  EXPECT_NE(Find("EntryPointFunc"), nullptr);
}

TEST_P(ModuleExports, NamesReachTheirFunctionsAndGlobals) {
  auto* drawMode = reinterpret_cast<unsigned char*>(Find("?_DrawMode@@3EA"));
  auto* quality = reinterpret_cast<unsigned char*>(Find("?_Quality@@3EA"));
  auto* persFar = reinterpret_cast<float*>(Find("?_Persp_Far@@3MA"));
  auto getDrawMode = Function<unsigned char (*)()>("?__GetDrawMode@@YAEXZ");
  auto setQuality = Function<void (*)(unsigned char)>("?__SetQuality@@YAXE@Z");
  auto mmx = Function<unsigned char (*)()>("?__mmx_present@@YAEXZ");
  auto getZ = Function<void (*)(float*&, int&, int&)>("?__GetZBuff@@YAXAEAPEAMAEAH1@Z");
  auto setZ = Function<void (*)(float*, int, int)>("?__SetZBuff@@YAXPEAMHH@Z");
  ASSERT_TRUE(drawMode && quality && persFar && getDrawMode && setQuality && mmx && getZ && setZ);

  EXPECT_EQ(*drawMode, 6);  // initial values, as loaded
  EXPECT_EQ(*persFar, 1000.0f);
  *drawMode = 9;
  EXPECT_EQ(getDrawMode(), 9);
  setQuality(7);
  EXPECT_EQ(*quality, 1);
  EXPECT_EQ(mmx(), 1);
  float buffer[4];
  setZ(buffer, 2, 2);
  float* b = nullptr;
  int w = 0, h = 0;
  getZ(b, w, h);
  EXPECT_EQ(b, buffer);
  EXPECT_EQ(w, 2);
  setZ(nullptr, 0, 0);
  *drawMode = 6;
}

INSTANTIATE_TEST_SUITE_P(Modules, ModuleExports,
                         ::testing::Values("VelarraTheatre", "VelarraTableau", "VelarraDrape"));

}  // namespace
