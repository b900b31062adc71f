// The three built modules, loaded as the host loads them.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "sdk/AE_Effect.h"
#include "testhost/host_context.h"
#include "testhost/pipl.h"

namespace {
struct ModuleCase {
  const char* file;
  const char* name;
  size_t params;
};
const ModuleCase MODULES[] = {
    {"VelarraTheatre.AEX", "Velarra Theatre", 47},
    {"VelarraTableau.AEX", "Velarra Tableau", 47},
    {"VelarraDrape.AEX", "Velarra Drape", 45},
};

std::string PathOf(const ModuleCase& m) { return std::string(VELARRA_TEST_MODULE_DIR) + m.file; }

struct Loaded {
  HMODULE module = nullptr;
  explicit Loaded(const std::string& path) : module(LoadLibraryA(path.c_str())) {}
  ~Loaded() {
    if (module) FreeLibrary(module);
  }
};

bool PiplBytes(HMODULE module, const uint8_t*& bytes, size_t& size) {
  HRSRC res = FindResourceA(module, MAKEINTRESOURCEA(16000), "PIPL");
  if (!res) return false;
  HGLOBAL h = LoadResource(module, res);
  bytes = static_cast<const uint8_t*>(h ? LockResource(h) : nullptr);
  size = SizeofResource(module, res);
  return bytes != nullptr;
}
}  // namespace

TEST(Modules, LoadAndExportTheEntryPoint) {
  for (const ModuleCase& m : MODULES) {
    SCOPED_TRACE(m.file);
    Loaded l(PathOf(m));
    ASSERT_NE(l.module, nullptr) << "error " << GetLastError();
    EXPECT_NE(GetProcAddress(l.module, "EntryPointFunc"), nullptr);
  }
}

TEST(Modules, PiplHoldsTheElevenPropertiesInOrder) {
  for (const ModuleCase& m : MODULES) {
    SCOPED_TRACE(m.file);
    Loaded l(PathOf(m));
    ASSERT_NE(l.module, nullptr);
    const uint8_t* bytes = nullptr;
    size_t size = 0;
    ASSERT_TRUE(PiplBytes(l.module, bytes, size));
    // header: reserved word 1, list version 0, 11 properties
    ASSERT_GE(size, 10u);
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(bytes[1], 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes) + 2, 8), std::string("\0\0\0\0\x0b\0\0\0", 8));
    // the vendor code is a 32-bit number: its bytes come reversed
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes) + 10, 8), "MIB8dnik");

    PiplInfo info;
    std::string error;
    ASSERT_TRUE(ParsePipl(bytes, size, info, error)) << error;
    const char* keys[] = {"kind", "name", "catg", "8664", "ePVR", "eSVR", "eVER", "eINF", "eGLO", "eMNA", "aeFL"};
    ASSERT_EQ(info.properties.size(), 11u);
    for (size_t i = 0; i < 11; ++i) {
      EXPECT_EQ(FourCCString(info.properties[i].key), keys[i]);
      EXPECT_EQ(FourCCString(info.properties[i].vendor), "8BIM");
      EXPECT_EQ(info.properties[i].id, 0u);
      EXPECT_EQ(info.properties[i].data.size() % 4, 0u) << keys[i];
    }
    uint32_t kind = 0, eVER = 0, eINF = 1, eGLO = 0, aeFL = 1;
    uint16_t major = 0, minor = 0;
    std::string name, category, entry, match;
    EXPECT_TRUE(PiplFourCC(info, FourCC("kind"), kind));
    EXPECT_EQ(FourCCString(kind), "eFKT");
    EXPECT_TRUE(PiplPascalString(info, FourCC("name"), name));
    EXPECT_EQ(name, m.name);
    EXPECT_TRUE(PiplPascalString(info, FourCC("catg"), category));
    EXPECT_EQ(category, "Morrowick");
    EXPECT_TRUE(PiplCString(info, FourCC("8664"), entry));
    EXPECT_EQ(entry, "EntryPointFunc");
    EXPECT_TRUE(PiplVersion(info, FourCC("ePVR"), major, minor));
    EXPECT_EQ(major, 2);
    EXPECT_EQ(minor, 0);
    EXPECT_TRUE(PiplVersion(info, FourCC("eSVR"), major, minor));
    EXPECT_EQ(major, 13);
    EXPECT_EQ(minor, 2);
    EXPECT_TRUE(PiplLong(info, FourCC("eVER"), eVER));
    EXPECT_EQ(eVER, 0x100001u);
    EXPECT_TRUE(PiplLong(info, FourCC("eINF"), eINF));
    EXPECT_EQ(eINF, 0u);
    EXPECT_TRUE(PiplLong(info, FourCC("eGLO"), eGLO));
    EXPECT_EQ(eGLO, 0x6008454u);
    EXPECT_TRUE(PiplPascalString(info, FourCC("eMNA"), match));
    EXPECT_EQ(match, m.name);
    EXPECT_TRUE(PiplLong(info, FourCC("aeFL"), aeFL));
    EXPECT_EQ(aeFL, 0u);
    EXPECT_TRUE(PiplValidateEffect(info, entry, error)) << error;
  }
}

// The same commands the host sends first, through the module's export.
TEST(Modules, AnswerGlobalAndParameterSetUp) {
  for (const ModuleCase& m : MODULES) {
    SCOPED_TRACE(m.file);
    Loaded l(PathOf(m));
    ASSERT_NE(l.module, nullptr);
    auto entry = reinterpret_cast<PF_EntryPointFunc>(reinterpret_cast<void*>(GetProcAddress(l.module, "EntryPointFunc")));
    ASSERT_NE(entry, nullptr);
    HostContext ctx;
    HostContextInit(ctx);
    EXPECT_EQ(entry(PF_Cmd_GLOBAL_SETUP, &ctx.in_data, &ctx.out_data, nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(ctx.out_data.my_version, 0x100001u);
    EXPECT_EQ(ctx.out_data.out_flags, 0x6008454);
    EXPECT_EQ(ctx.platform_data_calls, 1);
    EXPECT_EQ(entry(PF_Cmd_PARAMS_SETUP, &ctx.in_data, &ctx.out_data, nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(ctx.registered.size(), m.params);
    EXPECT_EQ(ctx.out_data.num_params, static_cast<A_long>(m.params + 1));
    EXPECT_EQ(ctx.register_ui_calls, 1);
    for (PF_Cmd unhandled : {2, 9, 10, 12, 13, 14, 16, -1})
      EXPECT_EQ(entry(unhandled, &ctx.in_data, &ctx.out_data, nullptr, nullptr, nullptr), 0) << unhandled;
    EXPECT_EQ(entry(PF_Cmd_GLOBAL_SETDOWN, &ctx.in_data, &ctx.out_data, nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(ctx.misuse, 0);
    HostContextActivate(nullptr);
  }
}
