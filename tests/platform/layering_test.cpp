// The windowed layer's toolkit stays inside platform/qt and app.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "tests/support/TempHome.h"

namespace {

namespace fs = std::filesystem;

// The windowed layer's own tests and the program's drive them through Qt events.
bool AllowedToUseQt(const std::string& relative) {
  return relative.rfind("platform/qt/", 0) == 0 || relative.rfind("app/", 0) == 0 ||
         relative.rfind("tests/platform_qt/", 0) == 0 || relative.rfind("tests/app/", 0) == 0;
}

TEST(LayeringTest, QtHeadersStayInTheWindowedLayer) {
  fs::path root = qova::test::SourceDir();
  ASSERT_TRUE(fs::exists(root / "platform")) << root;
  const std::regex qtInclude(R"(^\s*#\s*include\s*[<"](Qt[A-Za-z]*/|Q[A-Z][A-Za-z]*(\.h)?[>"]))");
  std::vector<std::string> offenders;
  int scanned = 0;
  for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
    std::string name = it->path().filename().string();
    if (it->is_directory() && (name.front() == '.' || name.rfind("build", 0) == 0)) {
      it.disable_recursion_pending();
      continue;
    }
    std::string ext = it->path().extension().string();
    if (!it->is_regular_file() || (ext != ".h" && ext != ".cpp" && ext != ".hpp")) continue;
    std::string relative = fs::relative(it->path(), root).generic_string();
    if (AllowedToUseQt(relative)) continue;
    ++scanned;
    std::ifstream in(it->path());
    std::string line;
    for (int number = 1; std::getline(in, line); ++number)
      if (std::regex_search(line, qtInclude)) offenders.push_back(relative + ":" + std::to_string(number));
  }
  EXPECT_GT(scanned, 10);
  EXPECT_TRUE(offenders.empty()) << ::testing::PrintToString(offenders);
}

}  // namespace
