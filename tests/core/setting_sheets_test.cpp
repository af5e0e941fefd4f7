// The three settings sheets as their callers run them: their tabs, OK and
// Cancel only, and what OK and Cancel leave in the record and the settings file.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "core/GlobalData.h"
#include "platform/Paths.h"
#include "platform/Strings.h"
#include "tests/core/SettingSheetSupport.h"

namespace core = qova::core;

namespace qova::test {
namespace {

namespace ids = qova::resources::settings;

class SettingSheets : public SettingSheetTest {
 protected:
  SettingSheets() { core::InstallProgramSettingSheet(); }
  ~SettingSheets() override { CGlobalData::SetProgramSettingSheet(nullptr); }

  // The settings file's key=value lines by "section/key".
  std::map<std::string, std::string> FileKeys() const {
    std::map<std::string, std::string> keys;
    std::string section;
    for (const std::string& line : platform::SplitLines(SettingsBytes())) {
      if (!line.empty() && line.front() == '[') section = line.substr(1, line.size() - 2);
      const auto eq = line.find('=');
      if (eq != std::string::npos) keys[section + "/" + line.substr(0, eq)] = line.substr(eq + 1);
    }
    return keys;
  }

  CGlobalData global_;
};

TEST_F(SettingSheets, EachSheetHasItsTabsAndNoApplyButton) {
  const struct {
    const char* title;
    std::vector<std::string> tabs;
    std::function<int()> run;
  } sheets[] = {
      {"Program Setting",
       {"Folders", "Display", "Print", "Items", "Multiple", "Color", "Color2", "Scale", "Multiple", "Integral",
        "Marker", "Automatic", "Zenkor"},
       [&] { return core::RunProgramSettingSheet(*global_.ProgramSetting); }},
      {"View Setting",
       {"Print", "Items", "Multiple", "Color", "Color2", "Scale", "Multiple", "Integral", "Marker"},
       [&] { return core::RunViewSettingSheet(global_.ProgramSetting->Display); }},
      {"Setting", {"Automatic"}, [&] { return core::RunAutoSettingSheet(*global_.ProgramSetting); }},
  };
  for (const auto& s : sheets) {
    Ui().OnSheet(s.title, [&](SheetDriver& sheet) {
      EXPECT_EQ(sheet.Tabs(), s.tabs) << s.title;
      EXPECT_FALSE(sheet.Sheet().HasApplyButton()) << s.title;
      EXPECT_THROW(sheet.Apply(), platform::ui::ScriptError) << s.title;
      sheet.Cancel();
    });
    EXPECT_EQ(s.run(), IDCANCEL) << s.title;
  }
  EXPECT_FALSE(platform::FileExists(SettingsFile())) << "Cancel writes nothing";
}

TEST_F(SettingSheets, OkOnAFreshFileWritesEveryKeyOnceAndKeepsTheReadOnlySwitch) {
  ASSERT_TRUE(platform::CreateFolders(platform::FolderOf(SettingsFile())));
  ASSERT_TRUE(platform::WriteWholeFile(SettingsFile(), "[EXTRA]\nNONSELFALLELE=1\n"));
  platform::AppProfile().UseSettingsFile();
  global_.ProgramSetting->LoadFromProfile();
  Ui().OnSheet("Program Setting", [](SheetDriver& sheet) { EXPECT_TRUE(sheet.Ok()); });
  global_.EditProgramSetting();

  std::map<std::string, std::string> keys = FileKeys();
  EXPECT_EQ(keys["EXTRA/NONSELFALLELE"], "1");
  keys.erase("EXTRA/NONSELFALLELE");
  EXPECT_EQ(keys.size(), 121u);
  // Every value is the default: what a record without a file saves.
  platform::Profile profile;
  auto store = std::make_unique<TranscriptStore>();
  TranscriptStore& transcript = *store;
  profile.SetStore(std::move(store));
  ASSERT_TRUE(CProgramSetting().SaveToProfile(profile));
  for (const std::string& line : platform::SplitLines(transcript.text)) {
    const auto eq = line.find('=');
    EXPECT_EQ(keys[line.substr(0, eq)], line.substr(eq + 1)) << line;
  }

  const std::string first = SettingsBytes();
  global_.EditProgramSetting();
  EXPECT_EQ(SettingsBytes(), first) << "a second OK without changes";
}

TEST_F(SettingSheets, CancelAfterEditsOnFivePagesAndTwoFoldersChangesNothing) {
  ASSERT_TRUE(global_.ProgramSetting->SaveToProfile());
  const std::string file = SettingsBytes();
  const std::string live = Fingerprint(*global_.ProgramSetting);
  const std::string chosen[] = {Root() + "cel", Root() + "results"};
  int browse = 0;
  Ui().OnFolderDialog([&](platform::ui::FolderDialogRequest& request) {
    request.chosen = chosen[browse++];
    return true;
  });
  Ui().OnColorDialog([](platform::ui::ColorDialogRequest& request) {
    request.chosen = 0x123456;
    return true;
  });
  Ui().OnSheet("Program Setting", [&](SheetDriver& sheet) {
    DialogDriver folders = sheet.Page();
    folders.Click(ids::folders::kDataSet).Click(ids::folders::kResultSet);
    EXPECT_EQ(folders.Text(ids::folders::kResultEdit), Root() + "results/");
    Open(sheet, 1).Type(ids::sizes::kAllX, "250");
    Open(sheet, 3).Click(ids::items::kSelfCallBar);
    Open(sheet, 5).Click(ids::color::kButtons[0]).Spin(ids::color::kWidthSpins[0], -1);
    Open(sheet, 7).Type(ids::scale::kSelfMagnification, "400");
    Open(sheet, 12).Type(ids::zenkor::kRows[0][0], "-2.5").Click(ids::zenkor::kUseZenkor);
    EXPECT_TRUE(sheet.SelectPage(0));
    sheet.Cancel();
  });
  global_.EditProgramSetting();
  EXPECT_EQ(browse, 2);
  EXPECT_EQ(Fingerprint(*global_.ProgramSetting), live);
  EXPECT_EQ(SettingsBytes(), file);
  EXPECT_TRUE(messages_.Empty()) << messages_.Texts().front();
}

TEST_F(SettingSheets, ViewSettingOkChangesTheLentBlockAndNotTheFile) {
  CDisplaySetting block;
  Ui().OnSheet("View Setting", [](SheetDriver& sheet) {
    sheet.Page().Type(ids::sizes::kAllX, "321");
    EXPECT_TRUE(sheet.Ok());
  });
  EXPECT_EQ(core::RunViewSettingSheet(block), IDOK);
  EXPECT_EQ(block.PRINT.ALL_X, 321);
  EXPECT_FALSE(platform::FileExists(SettingsFile()));

  Ui().OnSheet("View Setting", [](SheetDriver& sheet) {
    sheet.Page().Type(ids::sizes::kAllX, "999");
    EXPECT_TRUE(sheet.SelectPage(1));
    sheet.Cancel();
  });
  EXPECT_EQ(core::RunViewSettingSheet(block), IDCANCEL);
  EXPECT_EQ(block.PRINT.ALL_X, 321) << "Cancel leaves the block as it was";
}

TEST_F(SettingSheets, SettingSheetOkAssignsAndSavesTheAutomaticOptions) {
  CProgramSetting& live = *global_.ProgramSetting;
  Ui().OnSheet("Setting", [](SheetDriver& sheet) {
    sheet.Page().Type(ids::automatic::kMaxReferences, "42").Click(ids::automatic::kSkipAnalyzed);
    EXPECT_TRUE(sheet.Ok());
  });
  EXPECT_EQ(core::RunAutoSettingSheet(live), IDOK);
  EXPECT_EQ(live.MAXREF, 42);
  EXPECT_EQ(live.SKIPALREADY, 1);
  EXPECT_EQ(FileKeys()["AUTO/MAXREF"], "42");

  Ui().OnSheet("Setting", [](SheetDriver& sheet) {
    sheet.Page().Type(ids::automatic::kMaxReferences, "7");
    sheet.Cancel();
  });
  const std::string file = SettingsBytes();
  EXPECT_EQ(core::RunAutoSettingSheet(live), IDCANCEL);
  EXPECT_EQ(live.MAXREF, 42);
  EXPECT_EQ(SettingsBytes(), file);
}

TEST_F(SettingSheets, UseZenkorLastsForTheRunOnly) {
  Ui().OnSheet("Program Setting", [](SheetDriver& sheet) {
    Open(sheet, 12).Type(ids::zenkor::kRows[1][0], "-0.75").Click(ids::zenkor::kUseZenkor);
    EXPECT_TRUE(sheet.Ok());
  });
  global_.EditProgramSetting();
  EXPECT_EQ(global_.ProgramSetting->NONSELFALLELE, 1);
  EXPECT_FLOAT_EQ(global_.ProgramSetting->THRESHOLDS, -0.75f);

  CProgramSetting afresh;
  afresh.LoadFromProfile();
  EXPECT_EQ(afresh.NONSELFALLELE, 0);
  EXPECT_FLOAT_EQ(afresh.THRESHOLDS, -0.75f) << "negative floats come back";
}

TEST_F(SettingSheets, ZenkorOptionListsShowTheStoredChoiceAndKeepOneTheyDoNotHold) {
  ASSERT_TRUE(platform::CreateFolders(platform::FolderOf(SettingsFile())));
  ASSERT_TRUE(platform::WriteWholeFile(SettingsFile(), "[ASCN]\nLOHOP=1\nXOP=7\n"));
  platform::AppProfile().UseSettingsFile();
  global_.ProgramSetting->LoadFromProfile();
  const std::vector<std::string> options = {"Off(default)", "On"};
  // Each round opens the sheet afresh: what it shows, what the user picks
  // (nothing when empty), and what the settings file holds after OK.
  const struct {
    int loh, x;
    const char* pickLoh;
    const char* pickX;
    const char* fileLoh;
    const char* fileX;
  } rounds[] = {
      {1, -1, "Off(default)", "", "0", "7"},
      {0, -1, "", "On", "0", "1"},
      {0, 1, "", "", "0", "1"},
  };
  for (const auto& round : rounds) {
    Ui().OnSheet("Program Setting", [&](SheetDriver& sheet) {
      DialogDriver zenkor = Open(sheet, 12);
      EXPECT_EQ(zenkor.Items(ids::zenkor::kLohOption), options);
      EXPECT_EQ(zenkor.Items(ids::zenkor::kXOption), options);
      EXPECT_EQ(zenkor.CurSel(ids::zenkor::kLohOption), round.loh);
      EXPECT_EQ(zenkor.CurSel(ids::zenkor::kXOption), round.x);
      if (*round.pickLoh) zenkor.Select(ids::zenkor::kLohOption, round.pickLoh);
      if (*round.pickX) zenkor.Select(ids::zenkor::kXOption, round.pickX);
      EXPECT_TRUE(sheet.SelectPage(0)) << "the page is left";
      EXPECT_TRUE(sheet.Ok());
    });
    global_.EditProgramSetting();
    EXPECT_EQ(FileKeys()["ASCN/LOHOP"], round.fileLoh);
    EXPECT_EQ(FileKeys()["ASCN/XOP"], round.fileX);
  }
}

// OK whose save fails says so once, naming the settings file and why, from
// Parameter > Default Setting and from the automatic options' own sheet: the
// settings file keeps its bytes and no temporary file is left beside it.
TEST_F(SettingSheets, ASaveThatFailsNamesTheSettingsFileAndWhy) {
  const std::string folder = platform::FolderOf(SettingsFile());
  const std::string kept = "[AUTO]\nMAXREF=9\n";
  const std::string denied = "Access to " + SettingsFile() + " was denied.";
  const auto programSheet = [&] { global_.EditProgramSetting(); };
  const auto autoSheet = [&] { EXPECT_EQ(core::RunAutoSettingSheet(*global_.ProgramSetting), IDOK); };
  const struct {
    const char* sheet;
    std::function<void()> run;
    bool folderTaken;  // a file stands where the settings folder should be; else the folder is read-only
    std::string why;
  } cases[] = {
      {"Program Setting", programSheet, false, denied},
      {"Setting", autoSheet, false, denied},
      {"Program Setting", programSheet, true, "the folder " + folder + " cannot be created"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.sheet) + (c.folderTaken ? ", folder taken" : ", read-only"));
    std::filesystem::remove_all(folder);
    if (c.folderTaken) {
      ASSERT_TRUE(platform::WriteWholeFile(SettingsFile().substr(0, folder.size() - 1), kept));
    } else {
      ASSERT_TRUE(platform::CreateFolders(folder));
      ASSERT_TRUE(platform::WriteWholeFile(SettingsFile(), kept));
      ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
      // Permissions do not stop the superuser; the replace then fails where a
      // read-only folder makes it fail.
      if (::geteuid() == 0) {
        platform::SetAtomicStageHook([](platform::AtomicStage stage, const std::string& target) {
          if (stage == platform::AtomicStage::TempCreated)
            throw CFileException(CFileException::accessDenied, EACCES, target);
        });
      }
    }
    platform::AppProfile().UseSettingsFile();
    global_.ProgramSetting->LoadFromProfile();
    // What OK says, not what the pages said on opening.
    Ui().OnSheet(c.sheet, [&](SheetDriver& sheet) {
      messages_.Clear();
      EXPECT_TRUE(sheet.Ok());
    });
    c.run();
    platform::SetAtomicStageHook(nullptr);
    const std::string holder = c.folderTaken ? SettingsFile().substr(0, folder.size() - 1) : SettingsFile();
    std::vector<std::string> listed;
    for (const auto& entry : std::filesystem::directory_iterator(platform::FolderOf(holder)))
      listed.push_back(entry.path().filename().string());
    std::sort(listed.begin(), listed.end());
    if (!c.folderTaken) ::chmod(folder.c_str(), 0755);
    EXPECT_EQ(messages_.Texts(),
              std::vector<std::string>{"The settings file " + SettingsFile() + " cannot be written: " + c.why});
    std::string bytes;
    ASSERT_TRUE(platform::ReadWholeFile(holder, bytes));
    EXPECT_EQ(bytes, kept);
    EXPECT_EQ(listed, (std::vector<std::string>{c.folderTaken ? "qova" : "QOVA.ini"}));
  }
}

}  // namespace
}  // namespace qova::test
