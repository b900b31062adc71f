// The help document as placed beside the modules: where the help button
// looks for it, and describing every plug-in, parameter and draw mode.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

TEST(HelpDocument, BesideTheModulesAndComplete) {
  std::ifstream in(VELARRA_HELP_DOC, std::ios::binary);
  ASSERT_TRUE(in) << VELARRA_HELP_DOC;
  std::stringstream all;
  all << in.rdbuf();
  const std::string doc = all.str();
  const char* musts[] = {
      "<title>", "Velarra Theatre", "Velarra Tableau", "Velarra Drape",
      // a sample of the parameters of each plug-in and the draw modes
      "Blind frequency", "Mesh size X", "Motion speed", "Folding speed", "Drape fixation", "Check self intersection",
      "Time dependent preview", "Optical coefficient", "Aberration", "Rendering mode", "Rough edges", "Phong",
      "Bezier"};
  for (const char* m : musts) EXPECT_NE(doc.find(m), std::string::npos) << m;
}
