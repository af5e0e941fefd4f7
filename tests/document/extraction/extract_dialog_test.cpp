// The Extract Data dialog and its date picker, driven as a user would.
#include "document/Calendar.h"
#include "document/FilterDates.h"
#include "document/extraction/DataExtract.h"
#include "platform/Time.h"
#include "resources/ExtractDialogs.h"
#include "tests/document/DocumentTestSupport.h"
#include "tools/arraywriters/GenericWriter.h"

namespace qova::test {
namespace {

using platform::ui::DialogDriver;
using namespace qova::resources;
using Items = std::vector<std::string>;

// 2008-03-04 05:06:07 UTC.
constexpr std::int64_t kNow = 1204607167;

class ExtractDialogTest : public DocumentTest {
 protected:
  ExtractDialogTest() {
    platform::SetClock([]() -> std::int64_t { return kNow; });
    EXPECT_TRUE(platform::CreateFolders(DataFolder()));
  }
  ~ExtractDialogTest() override { platform::SetClock(nullptr); }

  [[nodiscard]] std::string DataFolder() const { return Root() + "Cel/"; }
  void Touch(const std::string& name) { ASSERT_TRUE(arraywriters::WriteBytes(DataFolder() + name, "x")); }

  // Runs the dialog on the folders with `script`; returns its result.
  INT_PTR Run(const std::function<void(DialogDriver&)>& script, int celMode = 0) {
    Ui().OnDialog(kDataExtractDialog, script);
    dialog_ = std::make_unique<CDataExtract>();
    dialog_->DataFolder = DataFolder();
    dialog_->ArrayDataFolder = ArrayFolder();
    dialog_->CelMode = celMode;
    return dialog_->DoModal();
  }

  // Picks `day` of March 2008 in the date picker the next "set" opens.
  void PickOnNextCalendar(int day) {
    Ui().OnDialog(kCalendarDialog, [day](DialogDriver& d) {
      SYSTEMTIME date;
      date.wYear = 2008;
      date.wMonth = 3;
      date.wDay = static_cast<WORD>(day);
      date.wHour = 17;
      date.wMinute = 30;
      d.PickDate(kCalendarMonth, date).Ok();
    });
  }

  std::unique_ptr<CDataExtract> dialog_;
};

TEST_F(ExtractDialogTest, OpeningListsTheFilesOfTheModeAndShowsTodayInBothDates) {
  for (const char* name : {"b.CHP", "A.chp", "c.CEL", "d.txt", "E.CHP.bak"}) Touch(name);
  Items found, foundCel;
  std::string from, to, caption;
  Run([&](DialogDriver& d) {
    found = d.Items(kExtractFoundFiles);
    from = d.Text(kExtractFromDate);
    to = d.Text(kExtractToDate);
    caption = d.Caption();
    d.Cancel();
  });
  EXPECT_EQ(found, (Items{"A.chp", "b.CHP"}));
  EXPECT_EQ(from, "2008/ 3/ 4");
  EXPECT_EQ(to, "2008/ 3/ 4");
  EXPECT_EQ(caption, "Extract Data");
  // Only the day is shown: From starts at its first moment, To at the clock.
  EXPECT_EQ(std::vector<int>({dialog_->FromDate.wDay, dialog_->FromDate.wHour, dialog_->FromDate.wMinute}),
            std::vector<int>({4, 0, 0}));
  EXPECT_EQ(std::vector<int>({dialog_->ToDate.wDay, dialog_->ToDate.wHour, dialog_->ToDate.wMinute}),
            std::vector<int>({4, 5, 6}));

  Run([&](DialogDriver& d) {
    foundCel = d.Items(kExtractFoundFiles);
    d.Cancel();
  }, 1);
  EXPECT_EQ(foundCel, (Items{"c.CEL"}));
  EXPECT_TRUE(Messages().empty());
}

TEST_F(ExtractDialogTest, AnEmptyFolderSaysErrorAtOpeningAndOnRefresh) {
  Touch("only.CEL");
  Items found{"not read"};
  std::string from;
  Run([&](DialogDriver& d) {
    d.Click(kExtractRefresh);
    found = d.Items(kExtractFoundFiles);
    from = d.Text(kExtractFromDate);
    d.Cancel();
  });
  EXPECT_EQ(Messages(), (Items{"error", "error"}));
  EXPECT_TRUE(found.empty());
  EXPECT_EQ(from, "");
  EXPECT_EQ(dialog_->FromDate.wYear, 2008) << "the dates a filter may use are set all the same";
}

TEST_F(ExtractDialogTest, AddMovesTheSelectionAndSingleAddsWalkDownTheList) {
  for (const char* name : {"A.CHP", "B.CHP", "C.CHP", "D.CHP", "E.CHP", "F.CHP"}) Touch(name);
  Items found, tests, references;
  std::vector<int> selectedAfterThree, selectedAfterOne;
  Run([&](DialogDriver& d) {
    d.SelectItems(kExtractFoundFiles, {4, 0, 2}).Click(kExtractAddNonPairedReference);
    selectedAfterThree = d.SelectedItems(kExtractFoundFiles);
    d.SelectItems(kExtractFoundFiles, {1}).Click(kExtractAddNonPairedTest);  // D
    selectedAfterOne = d.SelectedItems(kExtractFoundFiles);
    d.Click(kExtractAddNonPairedTest);  // F, now at index 1
    found = d.Items(kExtractFoundFiles);
    tests = d.Items(kExtractNonPairedTests);
    references = d.Items(kExtractNonPairedReferences);
    d.Ok();
  });
  EXPECT_TRUE(selectedAfterThree.empty());
  EXPECT_EQ(selectedAfterOne, std::vector<int>{1});
  EXPECT_EQ(found, (Items{"B.CHP"}));
  EXPECT_EQ(tests, (Items{"D.CHP", "F.CHP"}));
  EXPECT_EQ(references, (Items{"A.CHP", "C.CHP", "E.CHP"}));
  EXPECT_EQ(dialog_->NonPairedReferences, references);
}

TEST_F(ExtractDialogTest, PairedListsKeepTheirOrderAndOkNeedsEqualCounts) {
  for (const char* name : {"N1.CHP", "N2.CHP", "T1.CHP", "T2.CHP"}) Touch(name);
  bool stayedOpen = false;
  Items tests;
  const INT_PTR result = Run([&](DialogDriver& d) {
    d.SelectItems(kExtractFoundFiles, {3}).Click(kExtractAddPairedTest);  // T2
    d.SelectItems(kExtractFoundFiles, {2}).Click(kExtractAddPairedTest);  // T1
    d.SelectItems(kExtractFoundFiles, {0}).Click(kExtractAddPairedReference);  // N1
    d.Ok();
    stayedOpen = d.IsOpen();
    d.DragItem(kExtractPairedTests, 1, 0);
    d.SelectItems(kExtractFoundFiles, {0}).Click(kExtractAddPairedReference);  // N2
    tests = d.Items(kExtractPairedTests);
    d.Ok();
  });
  EXPECT_TRUE(stayedOpen);
  EXPECT_EQ(Messages(), Items{"Tests and References Are Not Adjusted"});
  ASSERT_EQ(result, IDOK);
  EXPECT_EQ(dialog_->PairedTests, (Items{"T1.CHP", "T2.CHP"}));
  EXPECT_EQ(dialog_->PairedReferences, (Items{"N1.CHP", "N2.CHP"}));
  EXPECT_TRUE(dialog_->NonPairedTests.empty());
}

// A file moved to a list on the right stays out of the found files whatever
// Refresh or an imported list says, so it can never be chosen twice.
TEST_F(ExtractDialogTest, AChosenFileIsNeverOfferedOrChosenAgain) {
  for (const char* name : {"A.CHP", "B.CHP", "N.CHP", "T.CHP", "E.CHP"}) Touch(name);
  ASSERT_TRUE(arraywriters::WriteBytes(Root() + "list.txt", "A\t#REF\nb\t#TEST\nT\tE\nE\tN\n"));
  Ui().OnFileDialog([&](platform::ui::FileDialogRequest& request) {
    request.chosen = {Root() + "list.txt"};
    return true;
  });
  std::vector<Items> foundAfterRefresh;
  const INT_PTR result = Run([&](DialogDriver& d) {
    d.SelectItems(kExtractFoundFiles, {0}).Click(kExtractAddNonPairedTest);       // A
    d.SelectItems(kExtractFoundFiles, {0}).Click(kExtractAddNonPairedReference);  // B
    d.SelectItems(kExtractFoundFiles, {2}).Click(kExtractAddPairedTest);          // T
    d.SelectItems(kExtractFoundFiles, {1}).Click(kExtractAddPairedReference);     // N
    for (bool unprocessed : {true, false}) {
      d.SetCheck(kExtractOnlyUnprocessed, unprocessed).Click(kExtractRefresh);
      foundAfterRefresh.push_back(d.Items(kExtractFoundFiles));
    }
    d.Click(kExtractImportSampleList);
    d.Ok();
  });
  EXPECT_EQ(foundAfterRefresh, (std::vector<Items>{{"E.CHP"}, {"E.CHP"}}));
  ASSERT_EQ(result, IDOK);
  EXPECT_EQ(dialog_->NonPairedTests, Items{"A.CHP"});
  EXPECT_EQ(dialog_->NonPairedReferences, Items{"B.CHP"});
  EXPECT_EQ(dialog_->PairedTests, Items{"T.CHP"});
  EXPECT_EQ(dialog_->PairedReferences, Items{"N.CHP"});
}

TEST_F(ExtractDialogTest, DeleteReturnsTheCurrentEntryAndMakesTheNextOneCurrent) {
  for (const char* name : {"A.CHP", "B.CHP", "C.CHP"}) Touch(name);
  Items found, tests;
  int current = -2;
  Run([&](DialogDriver& d) {
    d.SelectItems(kExtractFoundFiles, {0, 1, 2}).Click(kExtractAddNonPairedTest);
    d.Click(kExtractDeleteNonPairedTest);  // nothing current: nothing happens
    d.Select(kExtractNonPairedTests, 1).Click(kExtractDeleteNonPairedTest);
    current = d.CurSel(kExtractNonPairedTests);
    found = d.Items(kExtractFoundFiles);
    tests = d.Items(kExtractNonPairedTests);
    d.Cancel();
  });
  EXPECT_EQ(found, (Items{"B.CHP"}));
  EXPECT_EQ(tests, (Items{"A.CHP", "C.CHP"}));
  EXPECT_EQ(current, 1);
}

TEST_F(ExtractDialogTest, OnlyUnprocessedUsesTheExtractionsOwnSampleNames) {
  for (const char* name : {"S1.brlmm-p.CHP", "S2.CHP", "s3.chp", "S4.BRLMM.CHP"}) Touch(name);
  for (const char* name : {"S1.CFH", "S3.CFH", "S4.BRLMM.CFH"}) ASSERT_TRUE(arraywriters::WriteBytes(ArrayFolder() + name, "x"));
  Items found;
  Run([&](DialogDriver& d) {
    d.SetCheck(kExtractOnlyUnprocessed, true).Click(kExtractRefresh);
    found = d.Items(kExtractFoundFiles);
    d.Cancel();
  });
  EXPECT_EQ(found, (Items{"S2.CHP", "S4.BRLMM.CHP"}));

  EXPECT_EQ(SampleFileOfArrayFile("S1.brlmm-p.CHP", 0), "S1.CFH");
  EXPECT_EQ(SampleFileOfArrayFile("s1.cel", 1), "S1.CFH");
  EXPECT_EQ(SampleFileOfArrayFile("a.cel.b.CEL", 1), "A.CFH.B.CFH");
}

TEST_F(ExtractDialogTest, DateFiltersCompareCreationTimesWithThePickedDays) {
  platform::SetClock(nullptr);
  Touch("new.CHP");
  platform::SetClock([]() -> std::int64_t { return kNow; });
  struct Case {
    bool from;
    bool to;
    int day;  // of March 2008, picked for the checked limit
    bool shown;
  } const kCases[] = {
      {true, false, 4, true},    // created long after the From day
      {false, true, 4, false},   // created after the To day
      {false, false, 4, true},
  };
  for (const Case& c : kCases) {
    Items found;
    std::string shownDate;
    PickOnNextCalendar(c.day);
    Run([&](DialogDriver& d) {
      d.Click(c.from ? kExtractSetFromDate : kExtractSetToDate);
      shownDate = d.Text(c.from ? kExtractFromDate : kExtractToDate);
      d.SetCheck(kExtractUseFromDate, c.from).SetCheck(kExtractUseToDate, c.to).Click(kExtractRefresh);
      found = d.Items(kExtractFoundFiles);
      d.Cancel();
    });
    EXPECT_EQ(shownDate, "2008/ 3/ 4");
    EXPECT_EQ(found.size(), c.shown ? 1u : 0u) << c.from << c.to;
  }
  SYSTEMTIME date;
  date.wYear = 2008;
  date.wMonth = 3;
  date.wDay = 4;
  EXPECT_EQ(FilterDateLimit(date), CTime(2008, 3, 4, 0, 0, 0).GetTime());
  date.wYear = 1899;
  EXPECT_EQ(FilterDateLimit(date), 0) << "a year before 1900 sets no limit";
}

TEST_F(ExtractDialogTest, ImportFillsTheListsByTheRulesOfTheListFile) {
  for (const char* name : {"S1.CHP", "S2.CHP", "T1.CHP", "N1.CHP", "T2.CHP", "N2.CHP", "X1.CHP", "Other.CHP"}) Touch(name);
  const std::string list =
      "S1\t#TEST\n"
      "S2\t#ref extra\n"
      "s1\t#Test\n"           // already listed (the list search ignores case)
      "T1\tN1\r\n"
      "T1\tN1\n"              // the same pair again
      "t1\tN1\n"              // the test matches ignoring case: present
      "X1\tNX\n"              // the partner's file is missing
      "Missing\t#TEST\n"
      "OnlyOne\n"
      "\t\tT2\t\tN2\tignored\n"
      "Bad$Name\t#REF\n"
      "S2\tT1\n"             // both already chosen elsewhere
      "\n";
  ASSERT_TRUE(arraywriters::WriteBytes(Root() + "list.txt", list));
  Ui().OnFileDialog([&](platform::ui::FileDialogRequest& request) {
    EXPECT_TRUE(request.open);
    request.chosen = {Root() + "list.txt"};
    return true;
  });
  Items found, tests, references, pairedTests, pairedReferences;
  Run([&](DialogDriver& d) {
    d.Click(kExtractImportSampleList);
    found = d.Items(kExtractFoundFiles);
    tests = d.Items(kExtractNonPairedTests);
    references = d.Items(kExtractNonPairedReferences);
    pairedTests = d.Items(kExtractPairedTests);
    pairedReferences = d.Items(kExtractPairedReferences);
    d.Cancel();
  });
  EXPECT_EQ(tests, (Items{"S1.CHP"}));
  EXPECT_EQ(references, (Items{"S2.CHP"}));
  EXPECT_EQ(pairedTests, (Items{"T1.CHP", "T2.CHP"}));
  EXPECT_EQ(pairedReferences, (Items{"N1.CHP", "N2.CHP"}));
  EXPECT_EQ(found, (Items{"Other.CHP", "X1.CHP"}));
  // Every line that brought nothing is named, with why.
  EXPECT_EQ(Messages(), Items{"5 lines of list.txt were left out:\n"
                              "line 7 \"X1 NX\": NX.CHP is not in the data folder\n"
                              "line 8 \"Missing #TEST\": Missing.CHP is not in the data folder\n"
                              "line 9 \"OnlyOne\": no \"#TEST\", \"#REF\" or reference name after a tab\n"
                              "line 11 \"Bad$Name #REF\": a sample name cannot hold \"$\"\n"
                              "line 12 \"S2 T1\": S2.CHP is already in a list"});
}

TEST_F(ExtractDialogTest, ImportRefusesUnequalPairsAndACancelledChoiceImportsNothing) {
  for (const char* name : {"T1.CHP", "N1.CHP"}) Touch(name);
  int fileDialogs = 0;
  Ui().OnFileDialog([&](platform::ui::FileDialogRequest&) {
    ++fileDialogs;
    return false;
  });
  Items pairedTests;
  Run([&](DialogDriver& d) {
    d.Click(kExtractImportSampleList);  // cancelled
    d.SelectItems(kExtractFoundFiles, {1}).Click(kExtractAddPairedTest);
    d.Click(kExtractImportSampleList);
    pairedTests = d.Items(kExtractPairedTests);
    d.Cancel();
  });
  EXPECT_EQ(fileDialogs, 1);
  EXPECT_EQ(Messages(), Items{"Tests and References Are Not Paired"});
  EXPECT_EQ(pairedTests, Items{"T1.CHP"});
}

}  // namespace
}  // namespace qova::test
