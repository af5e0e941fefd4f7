// The check of the planted-fault list that the test run makes before it
// builds: every edit of a list must still apply where it names, or the run
// fails naming the edit, its line and why, for each that does not.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/support/TempHome.h"

namespace qova::test {
namespace {

namespace fs = std::filesystem;

void Write(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

struct Checked {
  int status = -1;
  std::string output;
};

// `scripts/mutants --check` of the list `list` against the tree `tree`.
Checked Check(const std::string& list, const std::string& tree) {
  const std::string command = "python3 " + SourceDir() + "scripts/mutants --check --list '" + list + "' --tree '" +
                              tree + "' 2>&1";
  Checked checked;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return checked;
  std::array<char, 4096> chunk;
  while (std::fgets(chunk.data(), int(chunk.size()), pipe)) checked.output += chunk.data();
  const int status = ::pclose(pipe);
  checked.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return checked;
}

class MutantListTest : public TempHomeTest {};

TEST_F(MutantListTest, AnEditThatNoLongerAppliesFailsTheCheckNamingItsLineAndWhy) {
  // A small tree: one source file and the test folder of its library.
  const std::string tree = Path("tree/");
  Write(tree + "platform/File.cpp", "int Flush() {\n  if (::fsync(fd_) != 0) fail(errno);\n  return 0;\n}\n"
                                    "int Twice() { return 0; }\nint Again() { return 0; }\n");
  Write(tree + "tests/platform/CMakeLists.txt", "\n");
  const std::string applies =
      "== the flush is dropped\nfile platform/File.cpp\n-  if (::fsync(fd_) != 0) fail(errno);\n+\n";
  const struct {
    const char* name;
    std::string edit;  // after an edit that applies
    std::string why;   // the line the check prints for it; empty: it applies
  } cases[] = {
      {"the same edit again", applies, ""},
      {"its lines are gone",
       "== a check the code has moved past\nfile platform/File.cpp\n-  if (::fsync(fd) != 0) fail(errno);\n+\n",
       "a check the code has moved past: its '-' lines occur 0 times in platform/File.cpp, not once"},
      {"its lines occur twice", "== a return made 1\nfile platform/File.cpp\n-{ return 0; }\n+{ return 1; }\n",
       "a return made 1: its '-' lines occur 2 times in platform/File.cpp, not once"},
      {"its file is gone", "== a moved file\nfile platform/Gone.cpp\n-  return 0;\n+  return 1;\n",
       "a moved file: the file platform/Gone.cpp does not exist"},
      {"it changes nothing", "== no change\nfile platform/File.cpp\n-  return 0;\n+  return 0;\n",
       "no change: its '+' lines are its '-' lines"},
      {"its tests are not there", "== an unknown test folder\nfile platform/File.cpp\ntest platform viewz\n"
                                  "-  return 0;\n+  return 1;\n",
       "an unknown test folder: it names no test folder of tests/: viewz"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string list = Path("list.txt");
    Write(list, "# planted faults\n\n" + applies + "\n" + c.edit);
    const Checked checked = Check(list, tree);
    if (c.why.empty()) {
      EXPECT_EQ(checked.status, 0) << checked.output;
      EXPECT_EQ(checked.output, "2 edits, each applies where it names\n");
      continue;
    }
    // The stale edit starts on the list's line 8.
    EXPECT_EQ(checked.status, 1);
    EXPECT_EQ(checked.output, fs::relative(list).string() + ":8: " + c.why +
                                  "\n1 of 2 edits no longer apply where they name: mend them to the code as it is now "
                                  "(or plant the same kind of fault where the code has moved)\n");
  }
}

}  // namespace
}  // namespace qova::test
