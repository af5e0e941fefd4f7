// The Sample Manager's listing: the folder scan or the sample-file index, the
// cache that outlives one opening, and what the first opening shows.
#include <gmock/gmock.h>

#include <cstdlib>
#include <ctime>
#include <optional>

#include "core/SampleFileList.h"
#include "resources/ExtractDialogs.h"
#include "tests/document/samplemanager/manager_test_support.h"

namespace qova::test {
namespace {

class ManagerListingTest : public ManagerTest {};

TEST_F(ManagerListingTest, FirstOpeningListsTestSamplesOnlyInScanOrder) {
  WriteListed("b_test");
  WriteListed("A_ref", [](SampleHeader& h) { h.IsTest = 0; });
  WriteListed("c_test");
  std::vector<std::string> names;
  bool testOnly = false, yes = false, useTestOrRef = false, currentSet = false;
  OpenManager([&](DialogDriver& d) {
    names = d.Items(ids::kSampleList);
    testOnly = d.IsChecked(ids::kTestOnly);
    yes = d.IsChecked(ids::kSelfReferenceYes);
    useTestOrRef = d.IsChecked(ids::kUseTestOrRef);
    currentSet = d.IsChecked(ids::kModeCurrentSet);
    EXPECT_FALSE(d.IsChecked(ids::kUseSelfReference));
    EXPECT_FALSE(d.IsChecked(ids::kUseArrayType));
  });
  EXPECT_EQ(names, (std::vector<std::string>{"b_test", "c_test"}));
  EXPECT_TRUE(testOnly && yes && useTestOrRef && currentSet);
  ASSERT_EQ(Cache().Headers.size(), 3u);
  EXPECT_EQ(Cache().InCurrentSet, (std::vector<bool>{false, true, true}));
  EXPECT_FALSE(Cache().FirstOpening);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(ManagerListingTest, DropDownsShowSortedValuesAndPanelCaptions) {
  WriteListed("s1", [](SampleHeader& h) { h.Attribute1 = "lung"; h.Attribute3 = "x"; });
  WriteListed("s2", [](SampleHeader& h) { h.Attribute1 = "Colon"; });
  WriteListed("s3", [](SampleHeader& h) { h.Attribute1 = "breast"; }, "Mapping10K_Xba142");
  OpenManager([](DialogDriver& d) {
    EXPECT_EQ(d.Items(ids::kArrayTypeFilter), (std::vector<std::string>{"Mapping10K_Xba131", "Mapping10K_Xba142"}));
    // Byte order, not the combo's own case-blind sorting.
    const std::vector<std::string> first{"Colon", "breast", "lung"};
    EXPECT_EQ(d.Items(ids::kAttributeFilter[0]), first);
    EXPECT_EQ(d.Items(ids::kAttribute[0]), first);
    EXPECT_EQ(d.Items(ids::kAttributeFilter[2]), (std::vector<std::string>{"", "x"}));
    EXPECT_EQ(d.Text(ids::kNameCaption), "SampleName");
    EXPECT_EQ(d.Text(ids::kReferenceNamesCaption), "Non Self Ref Name");
    EXPECT_EQ(d.Text(ids::kAttributeCaption[4]), "Attribute5");
  });
}

// The others are listed; the user is told at the opening which files were
// left out and why, in one box.
TEST_F(ManagerListingTest, AnUnreadableFileIsSkippedAndNamedWithItsReason) {
  WriteListed("good1");
  ASSERT_TRUE(platform::WriteWholeFile(SamplePath("broken"), std::string("\x05" "1.001\x03", 7)));
  ASSERT_TRUE(platform::WriteWholeFile(SamplePath("empty"), ""));
  WriteListed("good2");
  EXPECT_EQ(ListedNames(), (std::vector<std::string>{"good1", "good2"}));
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0], "These files could not be read and are left out:\n"
                           "Unexpected end of file while reading " + platform::NativePath(SamplePath("broken")) + ".\n"
                           "Unexpected end of file while reading " + platform::NativePath(SamplePath("empty")) + ".");
}

// "error" names the folder; the dialog then works as always on an empty list.
TEST_F(ManagerListingTest, AnEmptyFolderSaysErrorAndTheDialogWorksOnAnEmptyList) {
  std::string caption, date, pickedDate;
  bool testOrRef = false, test = false, currentSet = false, newEnabled = false;
  const ManagerOutcome outcome = OpenManager([&](DialogDriver& d) {
    EXPECT_TRUE(d.Items(ids::kSampleList).empty());
    caption = d.Text(ids::kAttributeCaption[4]);
    date = d.Text(ids::kFromDate);
    testOrRef = d.IsChecked(ids::kUseTestOrRef);
    test = d.IsChecked(ids::kTestOnly);
    currentSet = d.IsChecked(ids::kModeCurrentSet);
    newEnabled = d.IsEnabled(ids::kNew) && d.IsEnabled(ids::kAdd) && d.IsEnabled(ids::kSetFromDate);
    Ui().OnDialog(qova::resources::kCalendarDialog, [](DialogDriver& calendar) {
      calendar.PickDate(qova::resources::kCalendarMonth, SYSTEMTIME{2007, 6, 5, 1, 15, 45, 10, 0}).Ok();
    });
    d.Click(ids::kSetFromDate);
    pickedDate = d.Text(ids::kFromDate);
    d.Click(ids::kRefOnly).Click(ids::kNew);
    EXPECT_TRUE(d.Items(ids::kSampleList).empty());
    d.Click(IDCANCEL);
  });
  EXPECT_EQ(outcome.result, IDCANCEL);
  EXPECT_EQ(Messages(), std::vector<std::string>{"error\nNo sample file (.CFH) in " + platform::NativePath(ArrayFolder())});
  EXPECT_EQ(caption, "Attribute5");
  EXPECT_FALSE(date.empty());
  EXPECT_EQ(pickedDate, "2007/ 6/ 1");
  EXPECT_TRUE(testOrRef && test && currentSet && newEnabled);

  // The choices made on the empty list hold at the next opening.
  WriteListed("test");
  WriteListed("ref", [](SampleHeader& h) { h.IsTest = 0; });
  EXPECT_EQ(ListedNames(), std::vector<std::string>{"ref"});
}

TEST_F(ManagerListingTest, TheIndexIsTheSourceWhenSwitchedOn) {
  WriteListed("indexed");
  WriteListed("renamed", [](SampleHeader& h) { h.SampleName = "by header"; });
  Setting().UseFileList = 1;
  EXPECT_THAT(ListedNames(), ::testing::UnorderedElementsAre("indexed", "by header"));
  // The index was brought up to date on the way.
  EXPECT_TRUE(Exists(global_.FileList->GetListFileName(kFileListExtracted)));

  // Without any sample the index path says nothing.
  ASSERT_TRUE(platform::RemoveFile(SamplePath("indexed")));
  ASSERT_TRUE(platform::RemoveFile(SamplePath("renamed")));
  EXPECT_TRUE(ListedNames().empty());
  EXPECT_TRUE(Messages().empty());
}

// Local time for the duration of a test, in a zone far from UTC.
class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const char* zone) {
    if (const char* old = std::getenv("TZ")) previous_ = old;
    setenv("TZ", zone, 1);
    tzset();
  }
  ~ScopedTimeZone() {
    if (previous_) setenv("TZ", previous_->c_str(), 1);
    else unsetenv("TZ");
    tzset();
  }

 private:
  std::optional<std::string> previous_;
};

// The dates start at the local clock reading of the first opening and are
// then kept for the run; the filters read them as local time too.
TEST_F(ManagerListingTest, DatesStartAtTheFirstOpeningsLocalDay) {
  ScopedTimeZone zone("JST-9");
  WriteListed("s");
  static std::int64_t now = 0;
  // 17:30 UTC of the 4th is the 5th in this zone.
  now = CTime(2009, 3, 5, 2, 30, 0).GetTime();
  platform::SetClock([] { return now; });
  std::string from, to;
  OpenManager([&](DialogDriver& d) {
    from = d.Text(ids::kFromDate);
    to = d.Text(ids::kToDate);
  });
  now += 3 * 24 * 3600;
  std::string later;
  OpenManager([&](DialogDriver& d) { later = d.Text(ids::kToDate); });
  platform::SetClock(nullptr);
  EXPECT_EQ(from, "2009/ 3/ 5");
  EXPECT_EQ(to, "2009/ 3/ 5");
  EXPECT_EQ(later, "2009/ 3/ 5");
  EXPECT_EQ(Cache().ToDate.wDay, 5);
  EXPECT_EQ(Cache().ToDate.wHour, 2);
  EXPECT_EQ(Cache().ToDate.wMinute, 30);
}

}  // namespace
}  // namespace qova::test
