// The three built modules, loaded as the host loads them.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

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

// The PiPL as the host reads it, built here from the published layout:
// header (1, list version 0, 11 properties), then each property: vendor
// '8BIM' and key as big-endian codes (so their bytes come reversed), id 0,
// the length, the data padded with zeros to a multiple of 4.
std::vector<uint8_t> PublishedPipl(const std::string& name) {
  std::vector<uint8_t> b = {1, 0, 0, 0, 0, 0, 11, 0, 0, 0};
  auto le32 = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(uint8_t(v >> (8 * i)));
  };
  auto code = [&](const char* c) { b.insert(b.end(), {uint8_t(c[3]), uint8_t(c[2]), uint8_t(c[1]), uint8_t(c[0])}); };
  auto property = [&](const char* key, std::vector<uint8_t> data, size_t length) {
    code("8BIM");
    code(key);
    le32(0);
    le32(uint32_t(length));
    data.resize((data.size() + 3) / 4 * 4, 0);
    b.insert(b.end(), data.begin(), data.end());
  };
  // Strings carry their padded size as the length.
  auto text = [&](const char* key, std::vector<uint8_t> data) { property(key, data, (data.size() + 3) / 4 * 4); };
  auto length_prefixed = [](const std::string& s) {
    std::vector<uint8_t> d = {uint8_t(s.size())};
    d.insert(d.end(), s.begin(), s.end());
    return d;
  };
  property("kind", {'T', 'K', 'F', 'e'}, 4);  // 'eFKT'
  text("name", length_prefixed(name));
  text("catg", length_prefixed("Morrowick"));
  const std::string entry = "EntryPointFunc";
  std::vector<uint8_t> c_string(entry.begin(), entry.end());
  c_string.push_back(0);
  text("8664", c_string);
  property("ePVR", {2, 0, 0, 0}, 4);        // 16-bit major 2, minor 0
  property("eSVR", {13, 0, 2, 0}, 4);       // 13.2
  property("eVER", {1, 0, 0x10, 0}, 4);     // 0x100001
  property("eINF", {0, 0}, 2);              // 16 bits
  property("eGLO", {0x54, 0x84, 0x00, 0x06}, 4);  // 0x6008454
  text("eMNA", length_prefixed(name));
  property("aeFL", {0, 0, 0, 0}, 4);
  return b;
}

bool Contains(const std::vector<uint8_t>& bytes, const std::vector<uint8_t>& part) {
  return std::search(bytes.begin(), bytes.end(), part.begin(), part.end()) != bytes.end();
}

TEST(Modules, PiplHasThePublishedByteLayout) {
  for (const ModuleCase& m : MODULES) {
    SCOPED_TRACE(m.file);
    Loaded l(PathOf(m));
    ASSERT_NE(l.module, nullptr);
    const uint8_t* data = nullptr;
    size_t size = 0;
    ASSERT_TRUE(PiplBytes(l.module, data, size));
    const std::vector<uint8_t> bytes(data, data + size);
    EXPECT_EQ(bytes, PublishedPipl(m.name));
    // the versions and the info flags, whole properties as published
    EXPECT_TRUE(Contains(bytes, {0x4D, 0x49, 0x42, 0x38, 0x52, 0x56, 0x50, 0x65, 0, 0, 0, 0, 4, 0, 0, 0, 2, 0, 0, 0}));
    EXPECT_TRUE(Contains(bytes, {0x4D, 0x49, 0x42, 0x38, 0x52, 0x56, 0x53, 0x65, 0, 0, 0, 0, 4, 0, 0, 0, 13, 0, 2, 0}));
    EXPECT_TRUE(Contains(bytes, {0x4D, 0x49, 0x42, 0x38, 0x46, 0x4E, 0x49, 0x65, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0}));

    // and the test host's reader takes the same values from it
    PiplInfo info;
    std::string error, entry, name;
    ASSERT_TRUE(ParsePipl(data, size, info, error)) << error;
    ASSERT_TRUE(PiplValidateEffect(info, entry, error)) << error;
    EXPECT_EQ(entry, "EntryPointFunc");
    EXPECT_TRUE(PiplPascalString(info, FourCC("name"), name));
    EXPECT_EQ(name, m.name);
    uint16_t major = 0, minor = 0, info_flags = 1;
    EXPECT_TRUE(PiplVersion(info, FourCC("ePVR"), major, minor));
    EXPECT_EQ(major * 100 + minor, 200);
    EXPECT_TRUE(PiplVersion(info, FourCC("eSVR"), major, minor));
    EXPECT_EQ(major * 100 + minor, 1302);
    EXPECT_TRUE(PiplShort(info, FourCC("eINF"), info_flags));
    EXPECT_EQ(info_flags, 0);
  }
}

// The same commands the host sends first, through the module's export.
TEST(Modules, AnswerGlobalAndParameterSetUp) {
  for (const ModuleCase& m : MODULES) {
    SCOPED_TRACE(m.file);
    Loaded l(PathOf(m));
    ASSERT_NE(l.module, nullptr);
    auto entry = reinterpret_cast<PF_FilterProc>(reinterpret_cast<void*>(GetProcAddress(l.module, "EntryPointFunc")));
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
