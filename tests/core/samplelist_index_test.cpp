// The sample-file index over real sample files written by the sample classes:
// first build, incremental refresh, reading records, and what a damaged list
// or an unreadable sample does.
#include "core/SampleFileList.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/AnalyzedData.h"
#include "core/ArrayData.h"
#include "core/GlobalData.h"
#include "core/ProgramSetting.h"
#include "platform/File.h"
#include "platform/Paths.h"
#include "tests/support/TempHome.h"

namespace {

class SampleFileListTest : public qova::test::TempHomeTest {
 protected:
  void SetUp() override {
    // One folder without its trailing separator: the index adds exactly one.
    setting_.DefaultArrayDataFolder = Path("extracted");
    setting_.DefaultAnalysisResultFolder = Path("results/");
    ASSERT_TRUE(platform::CreateFolders(setting_.DefaultArrayDataFolder));
    ASSERT_TRUE(platform::CreateFolders(setting_.DefaultAnalysisResultFolder));
  }

  CArrayData Sample(const std::string& name, const std::string& attribute) const {
    CArrayData sample(name, "Mapping10K_Xba131", tables_.TypeInfo(0), CTime(1180000000));
    sample.Header.Attribute1 = attribute;
    sample.Header.Sex = "F";
    sample.Header.IsTest = 1;
    sample.Header.SelfReference = name + "_ref";
    sample.Header.NonSelfReferenceCount = 2;
    sample.Header.NonSelfReferences = "a$b";
    sample.Header.Combined = true;
    return sample;
  }
  std::string ExtractedPath(const std::string& name) const { return Path("extracted/" + name + ".CFH"); }
  void WriteExtracted(const std::string& name, const std::string& attribute = "x") {
    Sample(name, attribute).StoreFile(ExtractedPath(name));
  }
  // Moves a file's last-write time, as an edit an hour later would.
  void Touch(const std::string& path, std::int64_t seconds) {
    platform::FileStatus status;
    ASSERT_TRUE(platform::GetFileStatus(path, status));
    ASSERT_TRUE(platform::SetModificationTime(path, status.modificationTime + seconds));
  }

  // Every record of one kind's list, in order.
  std::vector<std::pair<std::string, SampleHeader>> Records(CSampleFileList& list, int kind) {
    std::vector<std::pair<std::string, SampleHeader>> records;
    if (!list.Open(kind)) return records;
    SampleHeader header;
    std::string name;
    while (list.ReadNext(header, name)) records.emplace_back(name, header);
    EXPECT_FALSE(list.IsOpen()) << "the reader closes itself at the end";
    return records;
  }
  std::vector<std::string> Names(CSampleFileList& list, int kind) {
    std::vector<std::string> names;
    for (const auto& [name, header] : Records(list, kind)) names.push_back(name);
    return names;
  }

  CGlobalData tables_;
  CProgramSetting setting_;
};

TEST_F(SampleFileListTest, RecordsCarryTheListedFieldsAndDefaultsForTheRest) {
  CArrayData sample = Sample("S01", "tumour");
  sample.Header.NonSelfBaseRange = {5, 900, 2, 3};
  sample.Header.SelfBaseRange = {7, 800, 1, 2};
  sample.Header.IsPaired = 1;
  sample.Header.SelfAnalyzed = true;
  sample.Header.Attribute5 = "fifth";
  sample.StoreFile(ExtractedPath("S01"));
  CSampleFileList list(setting_);
  ASSERT_TRUE(list.Update(kFileListExtracted));
  const auto records = Records(list, kFileListExtracted);
  ASSERT_EQ(records.size(), 1u);

  const SampleHeader& h = records[0].second;
  SampleHeader listed;
  const SampleHeader& s = sample.Header;
  listed.SampleName = s.SampleName;
  listed.ArrayType = s.ArrayType;
  listed.IsTest = s.IsTest;
  listed.Attribute1 = s.Attribute1;
  listed.Attribute5 = s.Attribute5;
  listed.Sex = s.Sex;
  listed.CreateTime = s.CreateTime;
  listed.NonSelfBaseRange = s.NonSelfBaseRange;
  listed.SelfBaseRange = s.SelfBaseRange;
  listed.IsPaired = s.IsPaired;
  listed.SelfReference = s.SelfReference;
  listed.NonSelfReferenceCount = s.NonSelfReferenceCount;
  listed.NonSelfReferences = s.NonSelfReferences;
  listed.SelfAnalyzed = s.SelfAnalyzed;
  listed.Combined = s.Combined;
  EXPECT_EQ(h, listed) << "version, save time, ranges and HMM parameters are not cached";
}

TEST_F(SampleFileListTest, UpdateRereadsOnlyTouchedFilesDropsGoneOnesAndAppendsNewOnes) {
  for (const char* name : {"S01", "S02", "S03"}) WriteExtracted(name, "old");
  CSampleFileList list(setting_);
  ASSERT_TRUE(list.Update(kFileListExtracted));

  // S01 changes with a new time; S02 changes but keeps its time, so its cached
  // record is kept; S03 goes; A00 is new (and sorts first in the folder).
  platform::FileStatus before;
  ASSERT_TRUE(platform::GetFileStatus(ExtractedPath("S02"), before));
  WriteExtracted("S01", "new");
  Touch(ExtractedPath("S01"), 3600);
  WriteExtracted("S02", "new");
  ASSERT_TRUE(platform::SetModificationTime(ExtractedPath("S02"), before.modificationTime));
  ASSERT_TRUE(platform::RemoveFile(ExtractedPath("S03")));
  WriteExtracted("A00", "new");

  ASSERT_TRUE(list.Update(kFileListExtracted));
  const auto records = Records(list, kFileListExtracted);
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].first, "S01.CFH");
  EXPECT_EQ(records[0].second.Attribute1, "new");
  EXPECT_EQ(records[1].first, "S02.CFH");
  EXPECT_EQ(records[1].second.Attribute1, "old");
  EXPECT_EQ(records[2].first, "A00.CFH") << "new files follow the survivors";

  // Nothing changed: the same records again.
  ASSERT_TRUE(list.Update(kFileListExtracted));
  EXPECT_EQ(Records(list, kFileListExtracted), records);
}

TEST_F(SampleFileListTest, DamagedListHealsAtTheNextUpdate) {
  for (const char* name : {"S01", "S02", "S03"}) WriteExtracted(name);
  CSampleFileList list(setting_);
  ASSERT_TRUE(list.Update(kFileListExtracted));
  const std::string listPath = list.GetListFileName(kFileListExtracted);
  std::string bytes;
  ASSERT_TRUE(platform::ReadWholeFile(listPath, bytes));
  // Cut the list inside its second record.
  ASSERT_TRUE(platform::WriteWholeFile(listPath, bytes.substr(0, bytes.size() / 2)));

  EXPECT_EQ(Names(list, kFileListExtracted), std::vector<std::string>{"S01.CFH"})
      << "reading stops quietly at the damage";
  ASSERT_TRUE(list.Update(kFileListExtracted));
  EXPECT_EQ(Names(list, kFileListExtracted), (std::vector<std::string>{"S01.CFH", "S02.CFH", "S03.CFH"}));

  ASSERT_TRUE(platform::WriteWholeFile(listPath, "garbage"));
  ASSERT_TRUE(list.Update(kFileListExtracted));
  EXPECT_EQ(Names(list, kFileListExtracted).size(), 3u);
}

TEST_F(SampleFileListTest, UnreadableSampleFilesAreLeftOut) {
  WriteExtracted("S01");
  ASSERT_TRUE(platform::WriteWholeFile(ExtractedPath("broken"), "not a sample"));
  std::string bytes;
  ASSERT_TRUE(platform::ReadWholeFile(ExtractedPath("S01"), bytes));
  ASSERT_TRUE(platform::WriteWholeFile(ExtractedPath("cut"), bytes.substr(0, 20)));
  CSampleFileList list(setting_);
  EXPECT_TRUE(list.Rebuild(kFileListExtracted));
  EXPECT_EQ(Names(list, kFileListExtracted), std::vector<std::string>{"S01.CFH"});

  // A listed file that turns unreadable drops out at the next update.
  ASSERT_TRUE(platform::WriteWholeFile(ExtractedPath("S01"), "damaged now"));
  Touch(ExtractedPath("S01"), 60);
  WriteExtracted("S02");
  ASSERT_TRUE(list.Update(kFileListExtracted));
  EXPECT_EQ(Names(list, kFileListExtracted), std::vector<std::string>{"S02.CFH"});
}

TEST_F(SampleFileListTest, FailedWritesAreReportedAndMissingListsCannotBeOpened) {
  CSampleFileList list(setting_);
  EXPECT_FALSE(list.Open(kFileListExtracted));
  SampleHeader header;
  std::string name;
  EXPECT_FALSE(list.ReadNext(header, name));

  setting_.DefaultArrayDataFolder = Path("no such folder/");
  EXPECT_FALSE(list.Update(kFileListExtracted));
  EXPECT_FALSE(list.Rebuild(kFileListExtracted));
  EXPECT_FALSE(list.Rebuild(kFileListAllKinds)) << "one kind at a time";
}

}  // namespace
