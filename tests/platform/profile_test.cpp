// The profile functions over the in-memory store and the settings file.
#include "platform/Profile.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>

#include "platform/File.h"
#include "platform/Paths.h"
#include "tests/support/TempHome.h"

namespace {

using namespace platform;

class ProfileTest : public qova::test::TempHomeTest {
 protected:
  ~ProfileTest() override { SetAtomicStageHook(nullptr); }
  std::string IniPath() const { return Path("qova/QOVA.ini"); }
  std::string IniText() {
    std::string text;
    EXPECT_TRUE(ReadWholeFile(IniPath(), text));
    return text;
  }
  // Runs `body` in a child process and returns its exit code.
  static int InChild(void (*body)()) {
    pid_t child = ::fork();
    if (child == 0) {
      body();
      ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
};

TEST_F(ProfileTest, SettingsFileLivesUnderTheConfigHome) {
  EXPECT_EQ(DefaultSettingsPath(), IniPath());
}

TEST_F(ProfileTest, AbsentKeysGiveTheirDefaultsInEveryStore) {
  Profile memory;
  Profile file;
  file.UseSettingsFile();
  for (Profile* p : {&memory, &file}) {
    EXPECT_EQ(p->GetProfileInt("PRINT", "ALL_X", 100), 100);
    EXPECT_EQ(p->GetProfileInt("ASCN", "THRESHOLDS", -120), -120);
    EXPECT_EQ(p->GetProfileString("Default Section", "DefaultDataFolder", "c:\\"), "c:\\");
    EXPECT_EQ(p->GetProfileString("AUTO", "LIMITREFSTR"), "");
  }
  EXPECT_FALSE(FileExists(IniPath())) << "reading must not create the file";
}

TEST_F(ProfileTest, IntegersAreParsedAsSignedDecimal) {
  struct Case {
    const char* text;
    int expected;
  };
  const Case cases[] = {
      {"42", 42},           {"-120", -120},   {" 7 ", 7},        {"+5", 5},
      {"0", 0},             {"abc", -1},      {"", -1},          {"12x", -1},
      {"1.5", -1},          {"-", -1},        {"0x10", -1},      {"2147483647", INT_MAX},
      {"-2147483648", INT_MIN},   {"-2147483649", -1},
      {"4294967176", -120},  // the 32-bit word of -120
      {"4294967296", -1},   {"99999999999999999999999", -1},
  };
  MemorySettingsStore* store = new MemorySettingsStore;
  Profile profile;
  profile.SetStore(std::unique_ptr<SettingsStore>(store));
  for (const Case& c : cases) {
    ASSERT_TRUE(store->Set("S", "K", c.text));
    EXPECT_EQ(profile.GetProfileInt("S", "K", -1), c.expected) << '"' << c.text << '"';
  }
}

TEST_F(ProfileTest, WrittenValuesReadBackIgnoringCaseOfNames) {
  Profile profile;
  profile.UseSettingsFile();
  EXPECT_TRUE(profile.WriteProfileInt("ASCN", "THRESHOLDS", -120));
  EXPECT_TRUE(profile.WriteProfileString("Default Section", "DefaultDataFolder", "c:\\QOVA\\"));
  EXPECT_TRUE(profile.WriteProfileInt("ascn", "thresholds", -121));
  EXPECT_EQ(profile.GetProfileInt("Ascn", "ThresholdS", 0), -121);
  EXPECT_EQ(profile.GetProfileString("default section", "defaultdatafolder"), "c:\\QOVA\\");
  EXPECT_EQ(IniText(), "[ASCN]\nTHRESHOLDS=-121\n\n[Default Section]\nDefaultDataFolder=c:\\QOVA\\\n");
}

TEST_F(ProfileTest, ValuesSurviveANewProcess) {
  ASSERT_EQ(InChild([] {
              Profile profile;
              profile.UseSettingsFile();
              bool ok = profile.WriteProfileInt("COLOR", "C1", 16711680) &&
                        profile.WriteProfileInt("ASCN", "THRESHOLDS", -120) &&
                        profile.WriteProfileString("AUTO", "LIMITREFSTR", "  spaced = value ");
              ::_exit(ok ? 0 : 1);
            }),
            0);
  Profile fresh;
  fresh.UseSettingsFile();
  EXPECT_EQ(fresh.GetProfileInt("COLOR", "C1", 0), 16711680);
  EXPECT_EQ(fresh.GetProfileInt("ASCN", "THRESHOLDS", 0), -120);
  EXPECT_EQ(fresh.GetProfileString("AUTO", "LIMITREFSTR"), "  spaced = value ");
}

TEST_F(ProfileTest, HandEditedFileIsRead) {
  ASSERT_TRUE(CreateFolders(Path("qova")));
  ASSERT_TRUE(WriteWholeFile(IniPath(),
                             "; written by hand\r\n[PRINT]\r\n ALL_X = 150\r\nALL_Y=\r\n\r\n"
                             "[print]\r\nEACH_X=90\r\n"));
  IniSettingsStore store(IniPath());
  EXPECT_EQ(store.Get("PRINT", "ALL_X"), " 150");
  EXPECT_EQ(store.Get("PRINT", "ALL_Y"), "");
  EXPECT_EQ(store.Get("PRINT", "EACH_X"), "90");
  EXPECT_TRUE(store.UnreadableLines().empty());
  Profile profile;
  profile.SetStore(std::make_unique<IniSettingsStore>(IniPath()));
  EXPECT_EQ(profile.GetProfileInt("PRINT", "ALL_X", 100), 150);
  EXPECT_EQ(profile.GetProfileInt("PRINT", "ALL_Y", 100), 100);
  EXPECT_EQ(profile.UnreadableLinesMessage(), std::nullopt);
}

// A damaged line costs only itself: the values around it, those below a
// header without its "]" included, are read, and the lines that were not are
// named with their numbers, in file order, in one message.
TEST_F(ProfileTest, UnreadableLinesAreNamedAndEveryOtherValueIsKept) {
  ASSERT_TRUE(CreateFolders(Path("qova")));
  ASSERT_TRUE(WriteWholeFile(IniPath(),
                             "early=1\n"                                   // 1: before any section
                             "[Default Section]\n"                         // 2
                             "DefaultDataFolder=c:\\cel\\\n"               // 3
                             "[Unclosed section\r\n"                       // 4
                             "DefaultArrayDataFolder=c:\\arrays\\\n"       // 5
                             "stray line\n"                                // 6
                             "=orphan\n"                                   // 7
                             "[PRINT]\n"                                   // 8
                             "ALL_X=abc\n"                                 // 9: not an integer
                             "ALL_Y=120\n"));                              // 10
  Profile profile;
  profile.SetStore(std::make_unique<IniSettingsStore>(IniPath()));
  EXPECT_EQ(profile.GetProfileString("Default Section", "DefaultDataFolder"), "c:\\cel\\");
  EXPECT_EQ(profile.GetProfileString("Default Section", "DefaultArrayDataFolder"), "c:\\arrays\\");
  EXPECT_EQ(profile.GetProfileInt("PRINT", "ALL_Y", 100), 120);
  EXPECT_EQ(profile.GetProfileInt("PRINT", "ALL_X", 100), 100);
  EXPECT_EQ(profile.GetProfileInt("PRINT", "ALL_X", 100), 100) << "a second read names the line once";
  EXPECT_EQ(profile.Store().UnreadableLines(),
            (std::vector<std::string>{
                "line 1: early=1 (in no [section])",
                "line 4: [Unclosed section (no closing \"]\"; the lines below it are read as part of [Default Section])",
                "line 6: stray line (not a \"key=value\" line)", "line 7: =orphan (no key before \"=\")",
                "line 9: ALL_X=abc (not a whole number)"}));
  const std::optional<std::string> message = profile.UnreadableLinesMessage();
  ASSERT_TRUE(message);
  EXPECT_EQ(message->rfind("These lines of the settings file " + IniPath() + " could not be read", 0), 0u) << *message;
  EXPECT_NE(message->find("\nline 9: ALL_X=abc"), std::string::npos) << *message;

  // A save writes the values read and drops the damaged lines.
  ASSERT_TRUE(profile.WriteProfileInt("PRINT", "ALL_X", 7));
  EXPECT_EQ(IniText(),
            "[Default Section]\nDefaultDataFolder=c:\\cel\\\nDefaultArrayDataFolder=c:\\arrays\\\n\n"
            "[PRINT]\nALL_X=7\nALL_Y=120\n");
}

// A header without its "]" opens no section: its line says where the lines
// below it went, into the section above when keys follow, and that none did
// when a header or the end of the file comes first.
TEST_F(ProfileTest, AnUnclosedHeaderSaysWhereTheLinesBelowItWent) {
  using Lines = std::vector<std::string>;
  const std::string none = "(no closing \"]\"; no key follows it)";
  const struct {
    const char* name;
    const char* text;
    Lines unreadable;
    const char* section;  // where key "k" is read, if anywhere
  } cases[] = {
      {"a header follows at once", "[MARKER]\nCOL=1\n[Unclosed section\n[Default Section]\nk=2\n",
       {"line 3: [Unclosed section " + none}, "Default Section"},
      {"keys follow", "[MARKER]\nCOL=1\n[Unclosed section\nk=2\n[Default Section]\n",
       {"line 3: [Unclosed section (no closing \"]\"; the lines below it are read as part of [MARKER])"}, "MARKER"},
      {"blank and comment lines, then a header", "[MARKER]\n[Unclosed\n\n; note\n  \n[S]\nk=2\n",
       {"line 2: [Unclosed " + none}, "S"},
      {"only a line that is no key, then a header", "[MARKER]\n[Unclosed\nstray\n[S]\nk=2\n",
       {"line 2: [Unclosed " + none, "line 3: stray (not a \"key=value\" line)"}, "S"},
      {"the last line", "[MARKER]\nk=2\n[Unclosed", {"line 3: [Unclosed " + none}, "MARKER"},
      {"the first line, a header next", "[Unclosed\n[S]\nk=2\n", {"line 1: [Unclosed " + none}, "S"},
      {"the first line, keys next", "[Unclosed\nk=2\n[S]\n",
       {"line 1: [Unclosed (no closing \"]\"; the lines below it are in no [section])",
        "line 2: k=2 (in no [section])"},
       nullptr},
      {"two in a row", "[MARKER]\n[One\n[Two\nk=2\n",
       {"line 2: [One " + none, "line 3: [Two (no closing \"]\"; the lines below it are read as part of [MARKER])"},
       "MARKER"},
  };
  ASSERT_TRUE(CreateFolders(Path("qova")));
  for (const auto& c : cases) {
    ASSERT_TRUE(WriteWholeFile(IniPath(), c.text));
    IniSettingsStore store(IniPath());
    EXPECT_EQ(store.UnreadableLines(), c.unreadable) << c.name;
    for (const char* section : {"MARKER", "Default Section", "S"}) {
      const bool here = c.section != nullptr && std::string(c.section) == section;
      EXPECT_EQ(store.Get(section, "k"), here ? std::optional<std::string>("2") : std::nullopt)
          << c.name << ", section " << section;
    }
  }
}

TEST_F(ProfileTest, ValueWithAStrayCarriageReturnEndsThereAndCanBeSavedAgain) {
  ASSERT_TRUE(CreateFolders(Path("qova")));
  ASSERT_TRUE(WriteWholeFile(IniPath(), "[Default Section]\nFolder=c:\\data\rjunk\n"));
  IniSettingsStore store(IniPath());
  EXPECT_EQ(store.Get("Default Section", "Folder"), "c:\\data");
  EXPECT_TRUE(store.Set("Default Section", "Folder", *store.Get("Default Section", "Folder")));
  EXPECT_TRUE(store.Set("Default Section", "Other", "1"));
}

TEST_F(ProfileTest, InterruptedWriteLeavesTheOldFileReadable) {
  {
    Profile profile;
    profile.UseSettingsFile();
    ASSERT_TRUE(profile.WriteProfileInt("ITEMS", "SELF", 27));
  }
  std::string before = IniText();
  ASSERT_EQ(InChild([] {
              SetAtomicStageHook([](AtomicStage stage, const std::string&) {
                if (stage == AtomicStage::BeforeRename) ::_exit(0);
              });
              Profile profile;
              profile.UseSettingsFile();
              profile.WriteProfileInt("ITEMS", "SELF", 99);
              ::_exit(1);
            }),
            0);
  EXPECT_EQ(IniText(), before);
  Profile reread;
  reread.UseSettingsFile();
  EXPECT_EQ(reread.GetProfileInt("ITEMS", "SELF", 0), 27);
}

TEST_F(ProfileTest, FailedWriteIsReportedAndKeepsTheOldValue) {
  ASSERT_TRUE(WriteWholeFile(Path("blocker"), "a file where the folder should be"));
  Profile profile;
  profile.UseSettingsFile(Path("blocker/qova/QOVA.ini"));
  EXPECT_FALSE(profile.WriteProfileInt("PRINT", "ALL_X", 5));
  EXPECT_EQ(profile.GetProfileInt("PRINT", "ALL_X", 100), 100);
  EXPECT_EQ(profile.NotSavedMessage(), "The settings file " + Path("blocker/qova/QOVA.ini") +
                                           " cannot be written: the folder " + Path("blocker/qova/") +
                                           " cannot be created");

  // The settings file's name taken by a folder after the file was read.
  profile.UseSettingsFile(Path("taken/QOVA.ini"));
  ASSERT_TRUE(profile.WriteProfileString("AUTO", "LIMITREFSTR", "old"));
  ASSERT_TRUE(RemoveFile(Path("taken/QOVA.ini")));
  ASSERT_TRUE(CreateFolders(Path("taken/QOVA.ini/")));
  EXPECT_FALSE(profile.WriteProfileString("AUTO", "LIMITREFSTR", "new"));
  EXPECT_EQ(profile.GetProfileString("AUTO", "LIMITREFSTR"), "old");
  EXPECT_EQ(profile.NotSavedMessage(), "The settings file " + Path("taken/QOVA.ini") +
                                           " cannot be written: Access to " + Path("taken/QOVA.ini") + " was denied.");
  EXPECT_FALSE(profile.WriteProfileString("AUTO", "LIMITREFSTR", "two\nlines"));
}

TEST_F(ProfileTest, BatchWritesTheFileOnceAtTheEnd) {
  Profile profile;
  profile.UseSettingsFile();
  {
    ProfileBatch outer(profile);
    EXPECT_TRUE(profile.WriteProfileInt("PRINT", "ALL_X", 1));
    {
      ProfileBatch inner(profile);
      EXPECT_TRUE(profile.WriteProfileInt("PRINT", "ALL_Y", 2));
    }
    EXPECT_FALSE(FileExists(IniPath())) << "an inner batch must not persist";
    EXPECT_EQ(profile.GetProfileInt("PRINT", "ALL_Y", 0), 2);
  }
  EXPECT_EQ(IniText(), "[PRINT]\nALL_X=1\nALL_Y=2\n");
}

TEST_F(ProfileTest, AppProfileStartsInMemory) {
  Profile& app = AppProfile();
  app.SetRegistryKey("Local AppWizard-Generated Applications");
  EXPECT_EQ(app.RegistryKey(), "Local AppWizard-Generated Applications");
  EXPECT_EQ(&app, &AppProfile());
}

}  // namespace
