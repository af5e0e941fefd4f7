// Program paths (Windows style, any case) mapped onto this machine.
#include "platform/Paths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

#include "platform/File.h"
#include "tests/support/TempHome.h"

namespace {

using namespace platform;

class PathsTest : public qova::test::TempHomeTest {
 protected:
  // Writes with the exact name given: the program's own calls would find an
  // existing file of another case instead.
  void Touch(const std::string& relative, const std::string& bytes = "x") {
    std::filesystem::create_directories(std::filesystem::path(Path(relative)).parent_path());
    std::ofstream(Path(relative), std::ios::binary) << bytes;
  }
};

TEST_F(PathsTest, DrivePrefixMapsToTheDriveRoot) {
  const std::pair<const char*, std::string> cases[] = {
      {"c:\\errorlog.txt", "errorlog.txt"},
      {"C:\\QOVA\\LOHLH\\LDdata.txt", "QOVA/LOHLH/LDdata.txt"},
      {"c:/QOVA/data/", "QOVA/data/"},
      {"D:\\x.txt", "x.txt"},
      {"c:\\", ""},
      {"c:\\data\\\\Cytoband.dtt", "data/Cytoband.dtt"},
  };
  for (const auto& [program, relative] : cases) {
    SCOPED_TRACE(program);
    EXPECT_EQ(NativePath(program), Root() + relative);
  }
  EXPECT_EQ(DriveRoot() + "/", Root());
}

TEST_F(PathsTest, ErrorLogPathLandsInTheDriveRoot) {
  Touch("errorlog.txt", "line\n");
  EXPECT_TRUE(FileExists("c:\\errorlog.txt"));
  EXPECT_EQ(NativePath("c:\\errorlog.txt"), Path("errorlog.txt"));
}

TEST_F(PathsTest, FileIsFoundIgnoringCase) {
  Touch("S01.cel");
  EXPECT_TRUE(FileExists("c:\\S01.CEL"));
  EXPECT_EQ(NativePath("c:\\S01.CEL"), Path("S01.cel"));
  EXPECT_EQ(NativePath(Path("s01.CEL")), Path("S01.cel"));
}

TEST_F(PathsTest, EveryComponentIsResolvedIgnoringCase) {
  Touch("Dir/SUB/file.CFH", "data");
  EXPECT_EQ(NativePath("c:\\dir\\sub\\File.CFH"), Path("Dir/SUB/file.CFH"));
  EXPECT_EQ(NativePath("C:/DIR/Sub/FILE.cfh"), Path("Dir/SUB/file.CFH"));
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile("c:\\dIr\\sUb\\fIlE.cFh", bytes));
  EXPECT_EQ(bytes, "data");
}

TEST_F(PathsTest, MissingNameIsKeptUnderAFolderFoundIgnoringCase) {
  Touch("Dir/a.txt");
  EXPECT_EQ(NativePath("c:\\DIR\\New.CFH"), Path("Dir/New.CFH"));
  EXPECT_EQ(NativePath("c:\\DIR\\missing\\New.CFH"), Path("Dir/missing/New.CFH"));
  ASSERT_TRUE(WriteWholeFile("c:\\DIR\\New.CFH", "n"));
  EXPECT_TRUE(FileExists(Path("Dir/New.CFH")));
}

TEST_F(PathsTest, ExactCaseWinsOverAnotherCase) {
  Touch("a.cfh", "lower");
  Touch("A.CFH", "upper");
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile("c:\\a.cfh", bytes));
  EXPECT_EQ(bytes, "lower");
  ASSERT_TRUE(ReadWholeFile("c:\\A.CFH", bytes));
  EXPECT_EQ(bytes, "upper");
  // Neither matches exactly: the first in byte order is taken, whatever the
  // order of the folder's entries.
  EXPECT_EQ(NativePath("c:\\A.cfh"), Path("A.CFH"));
  for (int variant = 1; variant < 16; ++variant) {
    std::string name = "s.cfh";
    for (int bit = 0; bit < 4; ++bit)
      if (variant & (1 << bit)) name[std::size_t(bit == 0 ? 0 : bit + 1)] -= 'a' - 'A';
    Touch("many/" + name);
  }
  EXPECT_EQ(NativePath("c:\\many\\s.cfh"), Path("many/S.CFH"));
}

// Where a name leads: the part that exists as the system resolves it (a link
// followed before its ".."), the part that does not yet compared ignoring case.
TEST_F(PathsTest, TwoPathsLeadToOneFileWhereTheSystemWouldOpenOne) {
  Touch("Out/x.sgr");
  Touch("Elsewhere/deep/y.sgr");
  ASSERT_TRUE(CreateFolders(Path("Out/sub")));
  std::filesystem::create_symlink(Path("Elsewhere/deep"), Path("Out/link"));
  const std::string out = std::filesystem::canonical(Path("Out")).string() + "/";
  const std::string elsewhere = std::filesystem::canonical(Path("Elsewhere")).string() + "/";
  const struct {
    const char* a;
    const char* b;
    bool one;
    std::string leads;  // where b leads
  } cases[] = {
      {"c:\\Out\\x.sgr", "c:\\out\\SUB\\..\\.\\X.SGR", true, out + "x.sgr"},
      {"c:\\Out\\new.sgr", "c:/OUT/sub/../NEW.sgr", true, out + "NEW.sgr"},
      {"c:\\Out\\new.sgr", "c:\\Out\\gone\\..\\new.sgr", true, out + "new.sgr"},
      {"c:\\Out\\gone\\new.sgr", "c:\\Out\\GONE\\new.sgr", true, out + "GONE/new.sgr"},
      {"c:\\Elsewhere\\y.sgr", "c:\\Out\\link\\..\\y.sgr", true, elsewhere + "y.sgr"},
      {"c:\\Out\\y.sgr", "c:\\Out\\link\\..\\y.sgr", false, elsewhere + "y.sgr"},
      {"c:\\Out\\x.sgr", "c:\\Out\\x.sgr.sgr", false, out + "x.sgr.sgr"},
      {"c:\\Out\\new", "c:\\Out\\new.sgr", false, out + "new.sgr"},
      {"c:\\Out\\x.sgr", "c:\\Out2\\x.sgr", false, Root() + "Out2/x.sgr"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.a) + " | " + c.b);
    EXPECT_EQ(LeadToOneFile(c.a, c.b), c.one);
    EXPECT_EQ(LeadToOneFile(c.b, c.a), c.one);
    EXPECT_EQ(ResolvedPath(c.b), c.leads);
  }
}

TEST_F(PathsTest, FindFilesMatchesAnyCaseInAStableOrder) {
  Touch("b.cfh");
  Touch("B.CFH");
  Touch("a.cfh");
  Touch("C.Cfh");
  Touch("c.txt");
  Touch("x.CFH.bak");
  Touch(".a.cfh.0a1b2c.tmp");
  ASSERT_TRUE(CreateFolders(Path("folder.CFH")));
  std::vector<std::string> expected = {"a.cfh", "B.CFH", "b.cfh", "C.Cfh"};
  EXPECT_EQ(FindFiles("c:\\", "*.CFH"), expected);
  EXPECT_EQ(FindFiles(Root(), "*.cfh"), expected);
  EXPECT_TRUE(FindFiles("c:\\nowhere\\", "*.CFH").empty());
}

TEST(PatternTest, WildcardsMatchIgnoringCase) {
  struct Case {
    const char* name;
    const char* pattern;
    bool match;
  };
  const Case cases[] = {
      {"S01.CEL", "*.cel", true},   {"s01.cel", "*.CEL", true},    {"S01.CELX", "*.CEL", false},
      {"S01.CE", "*.CEL", false},   {"abc", "a?c", true},          {"ac", "a?c", false},
      {"anything", "*", true},      {"noext", "*.*", true},        {"a.b.c", "*.c", true},
      {"aaaa", "*a*a*a", true},     {"aab", "*a*a*a", false},      {"", "*", true},
      {"", "?", false},             {"GroupNames.CFG", "groupnames.cfg", true},
      {"x_A.CFS", "*_A.CFS", true}, {"xA.CFS", "*_A.CFS", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MatchesPattern(c.name, c.pattern), c.match) << c.name << " vs " << c.pattern;
  }
}

TEST(PathPartsTest, SplitsAndJoinsProgramPaths) {
  EXPECT_EQ(JoinPath("c:\\data\\", "a.CFH"), "c:\\data\\a.CFH");
  EXPECT_EQ(JoinPath("c:\\data", "a.CFH"), "c:\\data\\a.CFH");
  EXPECT_EQ(JoinPath("/tmp/x", "a"), "/tmp/x/a");
  EXPECT_EQ(JoinPath("/tmp/x/", "/a"), "/tmp/x/a");
  EXPECT_EQ(JoinPath("", "a"), "a");
  EXPECT_EQ(WithTrailingSeparator("c:"), "c:\\");
  EXPECT_EQ(WithTrailingSeparator("c:\\data"), "c:\\data\\");
  EXPECT_EQ(WithTrailingSeparator("/home/u"), "/home/u/");
  EXPECT_EQ(WithTrailingSeparator("/home/u/"), "/home/u/");
  EXPECT_EQ(WithTrailingSeparator(""), "");
  EXPECT_EQ(FileNameOf("dir\\sub\\a.CFH"), "a.CFH");
  EXPECT_EQ(FileNameOf("dir/sub/"), "");
  EXPECT_EQ(FileNameOf("c:a.txt"), "a.txt");
  EXPECT_EQ(FolderOf("dir\\sub\\a.CFH"), "dir\\sub\\");
  EXPECT_EQ(FolderOf("a.CFH"), "");
  EXPECT_EQ(StemOf("a.b.CFH"), "a.b");
  EXPECT_EQ(StemOf("c:\\x\\S01.CEL"), "S01");
  EXPECT_EQ(StemOf("noext"), "noext");
  EXPECT_EQ(ExtensionOf("a.b.CFH"), ".CFH");
  EXPECT_EQ(ExtensionOf("dir.d\\noext"), "");
}

TEST_F(PathsTest, StatusRemoveRenameAndCopy) {
  Touch("one.txt", "12345");
  FileStatus status;
  ASSERT_TRUE(GetFileStatus("c:\\ONE.txt", status));
  EXPECT_EQ(status.size, 5u);
  EXPECT_FALSE(status.isFolder);
  EXPECT_GT(status.creationTime, 0);
  ASSERT_TRUE(SetModificationTime("c:\\one.txt", 1000000000));
  ASSERT_TRUE(GetFileStatus("c:\\one.txt", status));
  EXPECT_EQ(status.modificationTime, 1000000000);
  EXPECT_FALSE(GetFileStatus("c:\\none.txt", status));
  ASSERT_TRUE(GetFileStatus("c:\\", status));
  EXPECT_TRUE(status.isFolder);
  EXPECT_TRUE(FolderExists("c:\\"));
  EXPECT_FALSE(FileExists("c:\\"));

  EXPECT_TRUE(CopyFileTo("c:\\one.txt", "c:\\two.txt", false));
  EXPECT_FALSE(CopyFileTo("c:\\one.txt", "c:\\TWO.txt", false));
  Touch("three.txt", "old");
  EXPECT_TRUE(CopyFileTo("c:\\one.txt", "c:\\three.txt", true));
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile("c:\\three.txt", bytes));
  EXPECT_EQ(bytes, "12345");
  EXPECT_FALSE(CopyFileTo("c:\\missing.txt", "c:\\four.txt", true));
  EXPECT_FALSE(FileExists("c:\\four.txt"));

  EXPECT_TRUE(RenameFile("c:\\TWO.TXT", "c:\\renamed.txt"));
  EXPECT_FALSE(FileExists("c:\\two.txt"));
  EXPECT_TRUE(FileExists("c:\\renamed.txt"));
  EXPECT_TRUE(RemoveFile("c:\\Renamed.TXT"));
  EXPECT_FALSE(RemoveFile("c:\\renamed.txt"));
  EXPECT_FALSE(RemoveFile("c:\\"));
}

TEST_F(PathsTest, CreateFoldersMakesParents) {
  EXPECT_TRUE(CreateFolders("c:\\QOVA\\IMF\\"));
  EXPECT_TRUE(FolderExists(Path("QOVA/IMF")));
  EXPECT_TRUE(CreateFolders("c:\\qova\\imf\\deeper"));
  EXPECT_TRUE(FolderExists(Path("QOVA/IMF/deeper")));
  Touch("plain.txt");
  EXPECT_FALSE(CreateFolders("c:\\plain.txt\\sub"));
}

class EnvironmentTest : public ::testing::Test {
 protected:
  void Save(const char* name) {
    const char* v = std::getenv(name);
    saved_.push_back({name, v ? std::optional<std::string>(v) : std::nullopt});
  }
  ~EnvironmentTest() override {
    for (auto& [name, value] : saved_) {
      if (value) setenv(name.c_str(), value->c_str(), 1); else unsetenv(name.c_str());
    }
  }
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST_F(EnvironmentTest, DefaultFoldersFollowHomeAndXdg) {
  for (const char* name : {"QOVA_HOME", "QOVA_CONFIG_HOME", "XDG_CONFIG_HOME", "HOME"}) Save(name);
  unsetenv("QOVA_HOME");
  unsetenv("QOVA_CONFIG_HOME");
  unsetenv("XDG_CONFIG_HOME");
  setenv("HOME", "/home/someone/", 1);
  EXPECT_EQ(DriveRoot(), "/home/someone/.local/share/qova");
  EXPECT_EQ(ConfigHome(), "/home/someone/.config");
  setenv("XDG_CONFIG_HOME", "/xdg", 1);
  EXPECT_EQ(ConfigHome(), "/xdg");
  setenv("QOVA_CONFIG_HOME", "/qc/", 1);
  EXPECT_EQ(ConfigHome(), "/qc");
  setenv("QOVA_HOME", "/drive", 1);
  EXPECT_EQ(NativePath("C:\\QOVA\\x.txt"), "/drive/QOVA/x.txt");
}

TEST(FoldersTest, StartFolderIsRecordedAndCanBeSet) {
  std::string before = StartFolder();
  EXPECT_EQ(before.back(), '/');
  EXPECT_EQ(CurrentFolder().back(), '/');
  SetStartFolder("/opt/qova");
  EXPECT_EQ(StartFolder(), "/opt/qova/");
  SetStartFolder(before);
  EXPECT_EQ(StartFolder(), before);
}

}  // namespace
