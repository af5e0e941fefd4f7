// The cache of slow test folders: made once per build, even by processes that
// ask at once; made afresh for a new build, whose earlier caches go; each copy
// its own, naming its own folder where the made one named the cache's, with
// the made files' times.
#include "tests/support/FolderCache.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/TempHome.h"

namespace qova::test {
namespace {

namespace fs = std::filesystem;

std::string Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Write(const std::string& path, const std::string& text, std::ios::openmode mode = std::ios::trunc) {
  std::ofstream(path, std::ios::binary | mode) << text;
}

class FolderCacheTest : public TempHomeTest {
 protected:
  // Notes each run in made.log, then writes a table and a settings file that
  // names the folder it was given, both dated an hour back.
  FolderMaker Maker() {
    return [this](const std::string& root) {
      Write(Path("made.log"), root + "\n", std::ios::app);
      fs::create_directories(root + "data");
      Write(root + "data/table.txt", "rows\n");
      Write(root + "settings.ini", "Data=" + root + "data/\r\nHome=" + root.substr(0, root.size() - 1) + "\r\n");
      for (const char* file : {"data/table.txt", "settings.ini"})
        fs::last_write_time(root + file, fs::file_time_type::clock::now() - std::chrono::hours(1));
    };
  }
  [[nodiscard]] int Runs() {
    const std::string log = Read(Path("made.log"));
    return static_cast<int>(std::count(log.begin(), log.end(), '\n'));
  }
};

TEST_F(FolderCacheTest, MadeOncePerBuildAndEachCopyIsItsOwn) {
  FolderCache cache(Path("cache"), "build1");
  cache.CopyInto("tables", Path("a/"), Maker());
  cache.CopyInto("tables", Path("b"), Maker());
  EXPECT_EQ(Runs(), 1);
  const std::string made = cache.BuildFolder() + "tables/tree/";
  for (const std::string& copy : {Path("a/"), Path("b/")}) {
    EXPECT_EQ(Read(copy + "data/table.txt"), "rows\n");
    EXPECT_EQ(Read(copy + "settings.ini"), "Data=" + copy + "data/\r\nHome=" + copy.substr(0, copy.size() - 1) + "\r\n");
    for (const char* file : {"data/table.txt", "settings.ini"})
      EXPECT_EQ(fs::last_write_time(copy + file), fs::last_write_time(made + file)) << file;
  }
  // A test that changes its copy changes neither the cache nor another copy.
  Write(Path("a/data/table.txt"), "changed\n");
  cache.CopyInto("tables", Path("c/"), Maker());
  EXPECT_EQ(Read(Path("b/data/table.txt")), "rows\n");
  EXPECT_EQ(Read(Path("c/data/table.txt")), "rows\n");

  // A new build makes its own and removes the old build's.
  FolderCache rebuilt(Path("cache"), "build2");
  rebuilt.CopyInto("tables", Path("d/"), Maker());
  EXPECT_EQ(Runs(), 2);
  EXPECT_FALSE(fs::exists(cache.BuildFolder()));
  EXPECT_EQ(Read(Path("d/settings.ini")), "Data=" + Path("d/") + "data/\r\nHome=" + Path("d") + "\r\n");
}

TEST_F(FolderCacheTest, ProcessesThatAskAtOnceShareOneMaking) {
  // Each maker takes a while, so that without the lock they would overlap.
  const FolderMaker slow = [maker = Maker()](const std::string& root) {
    maker(root);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  };
  std::vector<pid_t> children;
  for (int i = 0; i < 4; ++i) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      int status = 0;
      try {
        FolderCache(Path("cache"), "build1").CopyInto("tables", Path("copy" + std::to_string(i) + "/"), slow);
      } catch (...) {
        status = 1;
      }
      ::_exit(status);
    }
    children.push_back(child);
  }
  for (const pid_t child : children) {
    int status = -1;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  EXPECT_EQ(Runs(), 1);
  for (int i = 0; i < 4; ++i) {
    const std::string copy = Path("copy" + std::to_string(i) + "/");
    EXPECT_EQ(Read(copy + "settings.ini"), "Data=" + copy + "data/\r\nHome=" + copy.substr(0, copy.size() - 1) + "\r\n");
  }
}

TEST_F(FolderCacheTest, AMakerThatFailsIsNotCachedAndFailsWhereTheFolderIsWanted) {
  FolderCache cache(Path("cache"), "build1");
  std::vector<std::string> given;
  const FolderMaker failing = [&given](const std::string& root) {
    given.push_back(root);
    throw std::runtime_error("cannot make it");
  };
  EXPECT_THROW(cache.CopyInto("tables", Path("a/"), failing), std::runtime_error);
  ASSERT_EQ(given.size(), 2u);
  EXPECT_EQ(given.back(), Path("a/"));
  EXPECT_FALSE(fs::exists(cache.BuildFolder() + "tables"));
  cache.CopyInto("tables", Path("b/"), Maker());
  EXPECT_EQ(Runs(), 1);
  EXPECT_EQ(Read(Path("b/data/table.txt")), "rows\n");
}

}  // namespace
}  // namespace qova::test
