// The Sample Manager's filters, New and Add, and the filter state that one
// opening leaves to the next.
#include "resources/ExtractDialogs.h"
#include "tests/document/samplemanager/manager_test_support.h"

using namespace qova::document;
using namespace qova::document::analyses;

namespace qova::test {
namespace {

using Kind = SampleFilter::Kind;
using qova::resources::kCalendarDialog;
using qova::resources::kCalendarMonth;

struct FilterCase {
  const char* what;
  std::function<void(qova::document::SampleFilter&)> filter;
  std::function<void(SampleHeader&)> header;
  bool passes;
};

class SampleFilterTest : public ::testing::TestWithParam<FilterCase> {};

TEST_P(SampleFilterTest, KeepsExactlyTheHeadersThatPassEveryCheckedFilter) {
  const FilterCase& c = GetParam();
  SampleHeader header;
  header.ArrayType = "Mapping10K_Xba131";
  header.IsTest = 1;
  header.CreateTime = CTime(1000);
  header.Attribute1 = "lung";
  if (c.header) c.header(header);
  qova::document::SampleFilter filter;
  c.filter(filter);
  EXPECT_EQ(filter.Passes(header), c.passes) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SampleFilterTest,
    ::testing::Values(
        FilterCase{"no filter", [](SampleFilter&) {}, {}, true},
        FilterCase{"created at From", [](SampleFilter& f) { f.From = CTime(1000); }, {}, true},
        FilterCase{"created before From", [](SampleFilter& f) { f.From = CTime(1001); }, {}, false},
        FilterCase{"created at To", [](SampleFilter& f) { f.To = CTime(1000); }, {}, true},
        FilterCase{"created after To", [](SampleFilter& f) { f.To = CTime(999); }, {}, false},
        FilterCase{"array type", [](SampleFilter& f) { f.ArrayType = "Mapping10K_Xba131"; }, {}, true},
        FilterCase{"array type in another case", [](SampleFilter& f) { f.ArrayType = "mapping10k_xba131"; }, {},
                   false},
        FilterCase{"self reference wanted, none", [](SampleFilter& f) { f.RequireSelfReference = true; }, {}, false},
        FilterCase{"self reference wanted, paired", [](SampleFilter& f) { f.RequireSelfReference = true; },
                   [](SampleHeader& h) { h.IsPaired = 1; }, true},
        FilterCase{"Test keeps a test", [](SampleFilter& f) { f.TestOrRef = Kind::Test; }, {}, true},
        FilterCase{"Test drops a reference", [](SampleFilter& f) { f.TestOrRef = Kind::Test; },
                   [](SampleHeader& h) { h.IsTest = 0; }, false},
        FilterCase{"Test keeps flag 2", [](SampleFilter& f) { f.TestOrRef = Kind::Test; },
                   [](SampleHeader& h) { h.IsTest = 2; }, true},
        FilterCase{"Ref drops a test", [](SampleFilter& f) { f.TestOrRef = Kind::Reference; }, {}, false},
        FilterCase{"Ref keeps a reference", [](SampleFilter& f) { f.TestOrRef = Kind::Reference; },
                   [](SampleHeader& h) { h.IsTest = 0; }, true},
        FilterCase{"Ref keeps flag 2", [](SampleFilter& f) { f.TestOrRef = Kind::Reference; },
                   [](SampleHeader& h) { h.IsTest = 2; }, true},
        FilterCase{"attribute in another case", [](SampleFilter& f) { f.Attributes[0] = "Lung"; }, {}, false},
        FilterCase{"empty attribute wanted", [](SampleFilter& f) { f.Attributes[4] = ""; }, {}, true},
        FilterCase{"one of two fails",
                   [](SampleFilter& f) {
                     f.Attributes[0] = "lung";
                     f.TestOrRef = Kind::Reference;
                   },
                   {}, false}));

// Each of the five attribute filters alone keeps the samples with its value
// and drops every other one.
TEST(SampleFilterAttributes, EachFilterAloneExcludesExactlyTheOtherValues) {
  for (int k = 0; k < qova::document::kSampleAttributeCount; ++k) {
    SCOPED_TRACE("attribute " + std::to_string(k + 1));
    qova::document::SampleFilter filter;
    filter.Attributes[std::size_t(k)] = "lung";
    for (int other = 0; other < qova::document::kSampleAttributeCount; ++other) {
      SampleHeader header;
      qova::document::AttributeOf(header, other) = "lung";
      EXPECT_EQ(filter.Passes(header), other == k) << "value in attribute " << other + 1;
    }
  }
}

class ManagerFilterTest : public ManagerTest {
 protected:
  // Four samples in scan order, two references among them.
  void WriteFour() {
    WriteListed("s1", [](SampleHeader& h) { h.Attribute1 = "a"; });
    WriteListed("s2", [](SampleHeader& h) { h.Attribute1 = "b"; h.IsTest = 0; });
    WriteListed("s3", [](SampleHeader& h) { h.Attribute1 = "a"; h.IsPaired = 1; h.SelfReference = "s2"; });
    WriteListed("s4", [](SampleHeader& h) { h.Attribute1 = "b"; h.IsTest = 0; });
  }
  // Opening again as the same run: the remembered state is restored.
  static void AsLaterOpening() { Cache().FirstOpening = false; }
};

TEST_F(ManagerFilterTest, AddWidensTheSetInCacheOrder) {
  WriteFour();
  std::vector<std::string> unfiltered, afterNew, afterAdd, afterEmptyAdd;
  OpenManager([&](DialogDriver& d) {
    d.SetCheck(ids::kUseTestOrRef, false).Click(ids::kNew);
    unfiltered = d.Items(ids::kSampleList);
    d.SetCheck(ids::kUseAttribute[0], true).Select(ids::kAttributeFilter[0], "b");
    d.Click(ids::kNew);
    afterNew = d.Items(ids::kSampleList);
    d.Select(ids::kAttributeFilter[0], "a").Click(ids::kAdd);
    afterAdd = d.Items(ids::kSampleList);
    d.Select(ids::kAttributeFilter[0], "b").SetCheck(ids::kUseTestOrRef, true).Click(ids::kTestOnly).Click(ids::kAdd);
    afterEmptyAdd = d.Items(ids::kSampleList);
  });
  EXPECT_EQ(unfiltered, (std::vector<std::string>{"s1", "s2", "s3", "s4"}));
  EXPECT_EQ(afterNew, (std::vector<std::string>{"s2", "s4"}));
  EXPECT_EQ(afterAdd, (std::vector<std::string>{"s1", "s2", "s3", "s4"}));
  // Add never takes anything away.
  EXPECT_EQ(afterEmptyAdd, afterAdd);
}

// The calendar hands back the picked day at 00:00: the rest of that day lies
// after a To date. A picked date is remembered even when the dialog is then
// cancelled; a cancelled calendar changes nothing.
TEST_F(ManagerFilterTest, APickedToDateIsMidnightAndRememberedAtOnce) {
  WriteListed("midnight", [](SampleHeader& h) { h.CreateTime = CTime(2007, 6, 1, 0, 0, 0); });
  WriteListed("morning", [](SampleHeader& h) { h.CreateTime = CTime(2007, 6, 1, 0, 0, 1); });
  std::vector<std::string> names;
  std::string shown, afterCancelledPick;
  OpenManager([&](DialogDriver& d) {
    Ui().OnDialog(kCalendarDialog, [](DialogDriver& calendar) {
      calendar.PickDate(kCalendarMonth, SYSTEMTIME{2007, 6, 5, 1, 15, 45, 10, 0}).Ok();
    });
    d.Click(ids::kSetToDate);
    shown = d.Text(ids::kToDate);
    d.SetCheck(ids::kUseToDate, true).Click(ids::kNew);
    names = d.Items(ids::kSampleList);
    Ui().OnDialog(kCalendarDialog, [](DialogDriver& calendar) {
      calendar.PickDate(kCalendarMonth, SYSTEMTIME{1999, 1, 5, 1, 0, 0, 0, 0}).Cancel();
    });
    d.Click(ids::kSetToDate);
    afterCancelledPick = d.Text(ids::kToDate);
    d.Cancel();
  });
  EXPECT_EQ(shown, "2007/ 6/ 1");
  EXPECT_EQ(afterCancelledPick, shown);
  EXPECT_EQ(names, std::vector<std::string>{"midnight"});
  const SYSTEMTIME& to = Cache().ToDate;
  EXPECT_EQ(std::vector<int>({to.wYear, to.wMonth, to.wDay, to.wHour, to.wMinute, to.wSecond}),
            std::vector<int>({2007, 6, 1, 0, 0, 0}));
  EXPECT_TRUE(Cache().UseToDate);
}

// Only the day is shown, so the From date the dialog starts with is that
// day's first moment: From today keeps what was made earlier today. To stays
// the clock reading of the opening.
TEST_F(ManagerFilterTest, FromTodayKeepsTheSamplesOfTodayWhateverTheClockRead) {
  static std::int64_t now = 0;
  now = CTime(2009, 3, 5, 14, 0, 0).GetTime();
  platform::SetClock([] { return now; });
  WriteListed("today", [](SampleHeader& h) { h.CreateTime = CTime(2009, 3, 5, 0, 0, 0); });
  WriteListed("yesterday", [](SampleHeader& h) { h.CreateTime = CTime(2009, 3, 4, 23, 59, 59); });
  WriteListed("later", [](SampleHeader& h) { h.CreateTime = CTime(2009, 3, 5, 14, 0, 1); });
  std::vector<std::string> fromToday, toNow;
  std::string shown;
  OpenManager([&](DialogDriver& d) {
    shown = d.Text(ids::kFromDate);
    d.SetCheck(ids::kUseFromDate, true).Click(ids::kNew);
    fromToday = d.Items(ids::kSampleList);
    d.SetCheck(ids::kUseFromDate, false).SetCheck(ids::kUseToDate, true).Click(ids::kNew);
    toNow = d.Items(ids::kSampleList);
  });
  platform::SetClock(nullptr);
  EXPECT_EQ(shown, "2009/ 3/ 5");
  EXPECT_EQ(fromToday, (std::vector<std::string>{"later", "today"}));
  EXPECT_EQ(toNow, (std::vector<std::string>{"today", "yesterday"}));
}

TEST_F(ManagerFilterTest, EveryWayOutRemembersTheChoices) {
  WriteFour();
  const std::vector<std::function<void(DialogDriver&)>> closings = {
      [](DialogDriver& d) { d.Cancel(); },
      [](DialogDriver& d) { Command(d, IDOK); },
      [](DialogDriver& d) { d.Select(ids::kSampleList, 0).Click(ids::kNonSelfAnalysis); },
  };
  for (std::size_t i = 0; i < closings.size(); ++i) {
    Cache().Reset();
    OpenManager([&](DialogDriver& d) {
      d.Click(ids::kRefOnly).SetCheck(ids::kUseAttribute[0], true).Select(ids::kAttributeFilter[0], "b");
      d.Click(ids::kNew);
      closings[i](d);
    });
    std::vector<std::string> names;
    bool ref = false, attribute = false;
    int selected = -1;
    OpenManager([&](DialogDriver& d) {
      names = d.Items(ids::kSampleList);
      ref = d.IsChecked(ids::kRefOnly) && !d.IsChecked(ids::kTestOnly);
      attribute = d.IsChecked(ids::kUseAttribute[0]);
      selected = d.CurSel(ids::kAttributeFilter[0]);
    });
    EXPECT_EQ(names, (std::vector<std::string>{"s2", "s4"})) << i;
    EXPECT_TRUE(ref && attribute) << i;
    EXPECT_EQ(selected, 1) << i;
  }
}

TEST_F(ManagerFilterTest, ARememberedValueSelectsTheFirstItemBeginningWithItIgnoringCase) {
  WriteListed("s10", {}, "Mapping10K_Xba131");
  WriteListed("s42", {}, "Mapping10K_Xba142");
  AsLaterOpening();
  Cache().UseTestOrRef = false;
  Cache().UseArrayType = true;
  Cache().ArrayTypeChoice = "mapping10k_xba14";
  std::vector<std::string> names;
  std::string shown;
  OpenManager([&](DialogDriver& d) {
    names = d.Items(ids::kSampleList);
    shown = d.Text(ids::kArrayTypeFilter);
  });
  EXPECT_EQ(shown, "Mapping10K_Xba142");
  EXPECT_EQ(names, std::vector<std::string>{"s42"});
}

}  // namespace
}  // namespace qova::test
