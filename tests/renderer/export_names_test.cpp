// The module-definition aliases: every exported function and global has
// exactly one line, and each line is well formed. (How the names decode is
// checked natively; that the modules export them, under Wine.)
#include "tests/renderer/export_names.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

namespace exports {

std::vector<DefLine> ReadDefFile(const char* path) {
  std::vector<DefLine> lines;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    const size_t comment = line.find(';');
    if (comment != std::string::npos) line.erase(comment);
    std::istringstream words(line);
    std::string alias, keyword;
    if (!(words >> alias)) continue;
    DefLine d{};
    const size_t eq = alias.find('=');
    d.decorated = alias.substr(0, eq);
    d.internal = eq == std::string::npos ? "" : alias.substr(eq + 1);
    d.data = (words >> keyword) && keyword == "DATA";
    lines.push_back(d);
  }
  return lines;
}

namespace {

// The plain name inside a decorated name "?name@@...".
std::string PlainName(const std::string& decorated) {
  if (decorated.size() < 2 || decorated[0] != '?') return "";
  return decorated.substr(1, decorated.find("@@") - 1);
}

TEST(ExportNames, EveryDeclarationHasOneWellFormedAlias) {
  const std::vector<DefLine> lines = ReadDefFile(VELARRA_RENDERER_EXPORTS_DEF);
  ASSERT_FALSE(lines.empty()) << "cannot read " << VELARRA_RENDERER_EXPORTS_DEF;
  std::map<std::string, DefLine> byName;
  for (const DefLine& d : lines) {
    const std::string name = PlainName(d.decorated);
    ASSERT_FALSE(name.empty()) << d.decorated;
    EXPECT_TRUE(byName.emplace(name, d).second) << "twice: " << name;
    EXPECT_FALSE(d.internal.empty()) << d.decorated;
  }
  const std::vector<Export> declared = Declared();
  EXPECT_EQ(declared.size(), 56u);  // 36 functions, 20 globals
  EXPECT_EQ(lines.size(), declared.size());
  for (const Export& e : declared) {
    auto it = byName.find(e.name);
    ASSERT_NE(it, byName.end()) << "no alias for " << e.name;
    EXPECT_EQ(it->second.data, e.data) << e.name;
    // Globals keep their plain name inside the module; functions are known
    // by our compiler's own decoration.
    if (e.data) EXPECT_EQ(it->second.internal, e.name);
    else EXPECT_EQ(it->second.internal.rfind("_Z", 0), 0u) << e.name;
  }
}

}  // namespace
}  // namespace exports
