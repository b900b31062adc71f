// Fuzz target: the test host's PiPL reader (testhost/pipl.h) on any bytes.
//
// Input: the resource's bytes as they are.
//
// Oracles besides the sanitizers: a list it accepts is read back the same
// from a fresh encoding of what it read (the reader loses or invents
// nothing), and its queries answer consistently with what it read.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "testhost/pipl.h"

namespace {

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int k = 0; k < 4; ++k) out.push_back(uint8_t(v >> (8 * k)));
}

// The layout of pipl.h: header, then each property padded to 4 bytes.
std::vector<uint8_t> Encode(const PiplInfo& info) {
  std::vector<uint8_t> out = {uint8_t(info.reserved), uint8_t(info.reserved >> 8)};
  Put32(out, info.version);
  Put32(out, uint32_t(info.properties.size()));
  for (const PiplProperty& p : info.properties) {
    Put32(out, p.vendor);
    Put32(out, p.key);
    Put32(out, p.id);
    Put32(out, uint32_t(p.data.size()));
    out.insert(out.end(), p.data.begin(), p.data.end());
    while (out.size() % 4 != 2) out.push_back(0);  // the header is 10 bytes
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  PiplInfo info;
  std::string error;
  if (!ParsePipl(data, size, info, error)) {
    FUZZ_CHECK(!error.empty());
    return 0;
  }
  FUZZ_CHECK(info.properties.size() <= PIPL_MAX_PROPERTIES);
  const std::vector<uint8_t> again = Encode(info);
  PiplInfo reread;
  FUZZ_CHECK(ParsePipl(again.data(), again.size(), reread, error));
  FUZZ_CHECK(reread.reserved == info.reserved && reread.version == info.version);
  FUZZ_CHECK(reread.properties.size() == info.properties.size());
  for (size_t i = 0; i < info.properties.size(); ++i) {
    const PiplProperty &a = info.properties[i], &b = reread.properties[i];
    FUZZ_CHECK(a.vendor == b.vendor && a.key == b.key && a.id == b.id && a.data == b.data);
  }

  std::string entry, text;
  if (PiplValidateEffect(info, entry, error)) FUZZ_CHECK(!entry.empty());
  for (const uint32_t code : {FourCC("kind"), FourCC("name"), FourCC("catg"), FourCC("8664"), FourCC("ePVR"),
                              FourCC("eSVR"), FourCC("eVER"), FourCC("eINF"), FourCC("eGLO"), FourCC("eMNA")}) {
    uint32_t v;
    uint16_t major, minor;
    const PiplProperty* p = PiplFind(info, code);
    FUZZ_CHECK(PiplLong(info, code, v) == (p != nullptr && p->data.size() >= 4));
    if (PiplVersion(info, code, major, minor)) FUZZ_CHECK(p != nullptr);
    if (PiplPascalString(info, code, text)) FUZZ_CHECK(p != nullptr && text.size() + 1 <= p->data.size());
    if (PiplCString(info, code, text)) FUZZ_CHECK(p != nullptr && text.size() < p->data.size());
  }
  (void)PiplDescribe(info);
  return 0;
}
