// The Automatic page over extracted samples made by the sample generator:
// the attribute values it offers (by scanning and through the index), a
// damaged file among them, an empty folder, its checks and enabling rules.
#include <string>
#include <vector>

#include "core/BasicData.h"
#include "platform/Paths.h"
#include "platform/Strings.h"
#include "tests/core/SettingSheetSupport.h"
#include "tools/datagen/DataGen.h"
#include "tools/samplegen/SampleGen.h"

namespace core = qova::core;

namespace qova::test {
namespace {

namespace ids = qova::resources::settings::automatic;

class SettingAuto : public SettingSheetTest {
 protected:
  SettingAuto() {
    setting_.DefaultArrayDataFolder = Path("ArrayData/");
    EXPECT_TRUE(platform::CreateFolders(setting_.DefaultArrayDataFolder));
  }

  // A sample with its second and fifth attributes.
  void WriteSample(const std::string& name, const std::string& attribute2, const std::string& attribute5) {
    static const CBasicData annotation = datagen::MakeAnnotation(0);
    samplegen::SampleGenerator generator("Mapping10K_Xba131", annotation, 11);
    samplegen::SampleSpec spec;
    spec.Name = name;
    CArrayData sample = generator.Make(spec);
    sample.Header.Attribute2 = attribute2;
    sample.Header.Attribute5 = attribute5;
    sample.StoreFile(setting_.DefaultArrayDataFolder + name + ".CFH");
  }
  void WriteStudy() {
    WriteSample("S1", "tumour", "b");
    WriteSample("S2", "normal", "a");
    WriteSample("S3", "", "c");
    WriteSample("S4", "tumour", "");
  }

  // The value list after choosing each attribute in turn, as the page shows it.
  std::vector<std::vector<std::string>> ValuesOfEachAttribute() {
    std::vector<std::vector<std::string>> lists;
    setting_.LIMITREF = 1;
    Ui().OnSheet("Setting", [&](SheetDriver& sheet) {
      DialogDriver page = sheet.Page();
      for (int k = 0; k < 5; ++k) lists.push_back(page.Select(ids::kAttribute, k).Items(ids::kValue));
      sheet.Cancel();
    });
    EXPECT_EQ(core::RunAutoSettingSheet(setting_), IDCANCEL);
    return lists;
  }

  [[nodiscard]] std::vector<std::string> ErrorLogLines() const {
    std::string bytes;
    if (!platform::ReadWholeFile(Root() + "errorlog.txt", bytes)) return {};
    return platform::SplitLines(bytes);
  }

  CProgramSetting setting_;
};

TEST_F(SettingAuto, ValuesAreTheSortedDistinctNonEmptyOnesTheSameByScanAndByIndex) {
  WriteStudy();
  const std::vector<std::vector<std::string>> expected = {
      {}, {"normal", "tumour"}, {}, {}, {"a", "b", "c"}};
  EXPECT_EQ(ValuesOfEachAttribute(), expected);
  setting_.UseFileList = 1;
  EXPECT_EQ(ValuesOfEachAttribute(), expected);
  EXPECT_TRUE(platform::FileExists(setting_.DefaultArrayDataFolder + "filelist_CFH.lst"));
  EXPECT_TRUE(messages_.Empty());
}

TEST_F(SettingAuto, ADamagedSampleIsSkippedAndNamedInTheErrorLog) {
  WriteStudy();
  const std::string damaged = setting_.DefaultArrayDataFolder + "Broken.CFH";
  ASSERT_TRUE(platform::WriteWholeFile(damaged, "not a sample"));
  EXPECT_EQ(ValuesOfEachAttribute()[1], (std::vector<std::string>{"normal", "tumour"}));
  const std::vector<std::string> log = ErrorLogLines();
  ASSERT_EQ(log.size(), 6u) << "one line per listing: the opening and five choices";
  EXPECT_NE(log[0].find(damaged), std::string::npos) << log[0];
  EXPECT_TRUE(messages_.Empty());
}

TEST_F(SettingAuto, AFolderWithoutSamplesShowsErrorAndListsNothing) {
  setting_.LIMITREF = 1;
  setting_.LIMITREFATTR = 3;
  Ui().OnSheet("Setting", [&](SheetDriver& sheet) {
    EXPECT_TRUE(sheet.Page().Items(ids::kValue).empty());
    sheet.Cancel();
  });
  EXPECT_EQ(core::RunAutoSettingSheet(setting_), IDCANCEL);
  EXPECT_EQ(messages_.Texts(), std::vector<std::string>{"error"});
}

TEST_F(SettingAuto, LimitReferenceEnablesItsControlsAndTheValueFollowsTheSecondRadio) {
  const UINT limited[] = {ids::kAttribute, ids::kIs, ids::kIdentical, ids::kGivenValue};
  const struct {
    int limit, identical;
    bool controls, value;
  } cases[] = {{0, 1, false, false}, {0, 0, false, false}, {1, 1, true, false}, {1, 0, true, true}};
  WriteStudy();
  for (const auto& c : cases) {
    setting_.LIMITREF = c.limit;
    setting_.LIMITREFIDENT = c.identical;
    Ui().OnSheet("Setting", [&](SheetDriver& sheet) {
      DialogDriver page = sheet.Page();
      for (UINT id : limited) EXPECT_EQ(page.IsEnabled(id), c.controls) << id;
      EXPECT_EQ(page.IsEnabled(ids::kValue), c.value);
      // Clicking the radios (when usable) and the box moves the rule along.
      if (c.controls) {
        page.Click(c.identical ? ids::kGivenValue : ids::kIdentical);
        EXPECT_EQ(page.IsEnabled(ids::kValue), !c.value);
      }
      page.Click(ids::kLimitReference);
      EXPECT_EQ(page.IsEnabled(ids::kAttribute), !c.controls);
      sheet.Cancel();
    });
    EXPECT_EQ(core::RunAutoSettingSheet(setting_), IDCANCEL);
  }
}

TEST_F(SettingAuto, LeavingAsksForAnAttributeAndAValueThenOkStoresThem) {
  WriteStudy();
  setting_.LIMITREF = 0;
  setting_.LIMITREFATTR = 0;
  setting_.LIMITREFSTR = "old";
  Ui().OnSheet("Setting", [&](SheetDriver& sheet) {
    DialogDriver page = sheet.Page();
    page.Click(ids::kLimitReference);
    EXPECT_FALSE(sheet.Ok());
    page.Select(ids::kAttribute, "Attribute2").Click(ids::kGivenValue);
    EXPECT_EQ(page.Text(ids::kValue), "") << "a new attribute clears the value";
    EXPECT_FALSE(sheet.Ok());
    page.Window().CheckDlgButton(int(ids::kGivenValue), BST_UNCHECKED);
    EXPECT_FALSE(sheet.Ok());
    page.Click(ids::kGivenValue).Select(ids::kValue, "tumour");
    EXPECT_TRUE(sheet.Ok());
  });
  EXPECT_EQ(core::RunAutoSettingSheet(setting_), IDOK);
  EXPECT_EQ(messages_.Texts(),
            (std::vector<std::string>{"Select Attribute", "Enter Attribute type", "Enter Attribute type"}));
  EXPECT_EQ(setting_.LIMITREF, 1);
  EXPECT_EQ(setting_.LIMITREFATTR, 2);
  EXPECT_EQ(setting_.LIMITREFIDENT, 0);
  EXPECT_EQ(setting_.LIMITREFSTR, "tumour");

  // Unchecked, the three fields keep their values whatever the controls show.
  Ui().OnSheet("Setting", [&](SheetDriver& sheet) {
    DialogDriver page = sheet.Page();
    EXPECT_EQ(page.CurSel(ids::kAttribute), 1);
    EXPECT_EQ(page.Text(ids::kValue), "tumour");
    page.Select(ids::kAttribute, "Attribute5").Click(ids::kIdentical).Click(ids::kLimitReference);
    EXPECT_TRUE(sheet.Ok());
  });
  EXPECT_EQ(core::RunAutoSettingSheet(setting_), IDOK);
  EXPECT_EQ(setting_.LIMITREF, 0);
  EXPECT_EQ(setting_.LIMITREFATTR, 2);
  EXPECT_EQ(setting_.LIMITREFIDENT, 0);
  EXPECT_EQ(setting_.LIMITREFSTR, "tumour");
}

}  // namespace
}  // namespace qova::test
