// The real program on the Qt backend's offscreen platform: its main window
// opens with the main document's menu bar, and a picture of it is kept in
// <build>/artefacts for people to look at.
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include <memory>
#include <sstream>

#include "platform/Profile.h"
#include "tests/app/AppTestSupport.h"
#include "tests/support/demo/DemoCopy.h"

namespace qova::test {
namespace {

namespace fs = std::filesystem;

struct ProgramRun {
  int exitCode = -1;
  std::vector<std::string> lines;
};

[[maybe_unused]] ProgramRun RunInFolder(const std::string& folder, const std::string& command) {
  ProgramRun run;
  std::string line = "cd '" + folder + "' && " + command + " 2>/dev/null";
  FILE* pipe = ::popen(line.c_str(), "r");
  if (!pipe) return run;
  std::array<char, 4096> buffer;
  while (std::fgets(buffer.data(), int(buffer.size()), pipe)) {
    std::string text = buffer.data();
    if (!text.empty() && text.back() == '\n') text.pop_back();
    run.lines.push_back(text);
  }
  int status = ::pclose(pipe);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

// Width and height from a PNG file's header, or {0, 0} when it is not one.
[[maybe_unused]] std::pair<int, int> PngSize(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::array<unsigned char, 24> head{};
  in.read(reinterpret_cast<char*>(head.data()), head.size());
  const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (!in || !std::equal(std::begin(signature), std::end(signature), head.begin())) return {0, 0};
  auto be32 = [&](int at) { return int(head[at]) << 24 | int(head[at + 1]) << 16 | int(head[at + 2]) << 8 | head[at + 3]; };
  return {be32(16), be32(20)};
}

class AppWindowTest : public TempHomeTest {};

TEST_F(AppWindowTest, MainWindowOpensWithTheMainDocumentsMenuBar) {
#ifndef QOVA_WINDOW_SHOT
  GTEST_SKIP() << "built without the windowed interface";
#else
  const std::string picture = Path("main_window.png");
  const ProgramRun run = RunInFolder(CompleteStartFolder(),
                              std::string("timeout 60 '") + QOVA_WINDOW_SHOT + "' '" + picture + "' -platform offscreen");
  EXPECT_EQ(run.exitCode, 0);
  const std::vector<std::string> expected = {
      "title: QOVA - QOVA1", "menu: &File",   "menu: &Data", "menu: &Automation", "menu: &Tools",
      "menu: &Parameter",    "menu: &View",   "menu: &Window", "menu: &Help", "screenshot: " + picture + " saved"};
  EXPECT_EQ(run.lines, expected);
  auto [width, height] = PngSize(picture);
  EXPECT_GE(width, 640);
  EXPECT_GE(height, 480);
  const fs::path artefacts = fs::path(BinaryDir()) / "artefacts";
  fs::create_directories(artefacts);
  fs::copy_file(picture, artefacts / "qova_main_window_start.png", fs::copy_options::overwrite_existing);
#endif
}

TEST_F(AppWindowTest, MainWindowShowsAnAnalysedSampleInItsView) {
#ifndef QOVA_WINDOW_SHOT
  GTEST_SKIP() << "built without the windowed interface";
#else
  // The small family's demo: Tumour01 with its paired normal.
  demo::DemoOptions options;
  options.Folder = Path("demo/");
  options.ArrayType = "Mapping10K_Xba131";
  std::ostringstream log;
  ASSERT_TRUE(MakeDemo(options, log).empty()) << log.str();
  platform::AppProfile().SetStore(std::make_unique<platform::MemorySettingsStore>());

  const std::string folder = Path("demo");
  const std::string picture = Path("sample_window.png");
  const ProgramRun run = RunInFolder(folder, "QOVA_HOME='" + folder + "' QOVA_CONFIG_HOME='" + folder +
                                                 "' timeout 60 '" + QOVA_WINDOW_SHOT + "' '" + picture +
                                                 "' --sample Tumour01 -platform offscreen");
  EXPECT_EQ(run.exitCode, 0);
  ASSERT_FALSE(run.lines.empty());
  EXPECT_EQ(run.lines.front(), "sample: Tumour01 Analysis");
  long long drawn = 0;
  for (const std::string& line : run.lines)
    if (line.rfind("view drawn pixels: ", 0) == 0) drawn = std::stoll(line.substr(19));
  EXPECT_GT(drawn, 20000) << "the view's area is blank";
  const fs::path artefacts = fs::path(BinaryDir()) / "artefacts";
  fs::create_directories(artefacts);
  fs::copy_file(picture, artefacts / "qova_main_window.png", fs::copy_options::overwrite_existing);
#endif
}

}  // namespace
}  // namespace qova::test
