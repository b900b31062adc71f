// Decodes every decorated export with the Windows-style demangler and every
// alias target with our compiler's demangler, and compares both with the
// declarations in renderer/renderer.h. A changed declaration, or a
// hand-written name that encodes another type, fails here.
#include <cxxabi.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>

#include "tests/renderer/export_names.h"

namespace exports {
namespace {

#ifdef VELARRA_UNDNAME
std::string Trim(std::string s) {
  while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' ')) s.pop_back();
  return s;
}

// The demangler's last output line for one name (it echoes the input first).
std::string Undecorate(const std::string& decorated) {
  const std::string command = std::string("'") + VELARRA_UNDNAME + "' '" + decorated + "' 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return "";
  std::string last, line;
  char buffer[4096];
  while (fgets(buffer, sizeof buffer, pipe) != nullptr) {
    line = Trim(buffer);
    if (!line.empty()) last = line;
  }
  pclose(pipe);
  return last;
}
#endif

std::string DemangleOurs(const std::string& symbol) {
  int status = 0;
  char* text = abi::__cxa_demangle(symbol.c_str(), nullptr, nullptr, &status);
  if (status != 0 || text == nullptr) return symbol;  // a global: not mangled
  std::string s = text;
  std::free(text);
  return s;
}

std::map<std::string, DefLine> Aliases() {
  std::map<std::string, DefLine> byName;
  for (const DefLine& d : ReadDefFile(VELARRA_RENDERER_EXPORTS_DEF))
    byName[d.decorated.substr(1, d.decorated.find("@@") - 1)] = d;
  return byName;
}

TEST(ExportDemangle, DecoratedNamesEncodeTheDeclaredSignatures) {
#ifndef VELARRA_UNDNAME
  GTEST_SKIP() << "llvm-undname not found";
#else
  const auto aliases = Aliases();
  for (const Export& e : Declared()) {
    auto it = aliases.find(e.name);
    ASSERT_NE(it, aliases.end()) << e.name;
    EXPECT_EQ(Undecorate(it->second.decorated), e.msvc) << it->second.decorated;
  }
#endif
}

TEST(ExportDemangle, AliasTargetsAreOurCompilersNamesOfTheSameDeclarations) {
  const auto aliases = Aliases();
  for (const Export& e : Declared()) {
    auto it = aliases.find(e.name);
    ASSERT_NE(it, aliases.end()) << e.name;
    EXPECT_EQ(DemangleOurs(it->second.internal), e.ours) << it->second.internal;
  }
}

}  // namespace
}  // namespace exports
