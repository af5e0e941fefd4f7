// The Display Samples dialog: what it lists of each result kind, each filter,
// New and Add, the remembered state, the index road, the display requests and
// their refusals.
#include <gmock/gmock.h>

#include "core/GroupsFile.h"
#include "tests/document/display/display_samples_test_support.h"

namespace qova::test {
namespace {

using Names = std::vector<std::string>;
namespace ids = qova::resources::display;

class DisplayDialogTest : public DisplaySamplesTest {
 protected:
  // Non-self "A" (test), "B" (reference), "D" (.CFA, test); self "C" and "A".
  void WriteKinds() {
    WriteResult("A.CFN");
    WriteResult("B.CFN", [](SampleHeader& h) { h.IsTest = 0; });
    WriteResult("D.CFA");
    WriteResult("C.CFS");
    WriteResult("A.CFS");
  }
};

TEST_F(DisplayDialogTest, FirstOpeningListsNonSelfTestResultsAndTheRadiosSwapTheKind) {
  WriteKinds();
  OpenDialog([](DialogDriver& d) {
    EXPECT_TRUE(d.IsChecked(ids::kNonSelfAnalysis));
    EXPECT_FALSE(d.IsChecked(ids::kSelfAnalysis));
    EXPECT_TRUE(d.IsChecked(ids::kUseTestOrRef) && d.IsChecked(ids::kTestOnly));
    EXPECT_FALSE(d.IsChecked(ids::kUseFromDate) || d.IsChecked(ids::kUseToDate) || d.IsChecked(ids::kUseArrayType));
    EXPECT_EQ(d.Items(ids::kSampleList), (Names{"A"}));
    EXPECT_EQ(d.ItemCheck(ids::kSampleList, 0), 0);
    d.Click(ids::kSelfAnalysis);
    EXPECT_EQ(d.Items(ids::kSampleList), (Names{"A", "C"}));
    d.Click(ids::kNonSelfAnalysis);
    EXPECT_EQ(d.Items(ids::kSampleList), (Names{"A"}));
  });
  Setting().NONSELFALLELE = 1;
  EXPECT_EQ(Listed([](DialogDriver& d) { d.Click(ids::kNonSelfAnalysis); }), (Names{"D"}));
  EXPECT_TRUE(Messages().empty());
}

TEST_F(DisplayDialogTest, AnUnreadableResultIsLeftOutNamedAndTheOthersListed) {
  WriteResult("A.CFN");
  ASSERT_TRUE(platform::WriteWholeFile(ResultPath("broken.CFN"), "not a result"));
  EXPECT_EQ(Listed([](DialogDriver&) {}), (Names{"A"}));
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].rfind("This file could not be read and is left out:\n", 0), 0u) << Messages()[0];
  EXPECT_NE(Messages()[0].find(platform::NativePath(ResultPath("broken.CFN"))), std::string::npos) << Messages()[0];
}

TEST_F(DisplayDialogTest, FromTodayListsTheResultsOfToday) {
  static std::int64_t now = 0;
  now = CTime(2009, 3, 5, 14, 0, 0).GetTime();
  platform::SetClock([] { return now; });
  WriteResult("today.CFN", [](SampleHeader& h) { h.CreateTime = CTime(2009, 3, 5, 9, 0, 0); });
  WriteResult("yesterday.CFN", [](SampleHeader& h) { h.CreateTime = CTime(2009, 3, 4, 9, 0, 0); });
  const Names fromToday = Listed([](DialogDriver& d) { d.SetCheck(ids::kUseFromDate, true); });
  platform::SetClock(nullptr);
  EXPECT_EQ(fromToday, Names{"today"});
}

struct FilterCase {
  std::string name;
  std::function<void(DialogDriver&)> script;
  Names expected;
};

class DisplayFilterTest : public DisplayDialogTest, public ::testing::WithParamInterface<FilterCase> {};

TEST_P(DisplayFilterTest, ListsExactlyTheResultsThatPass) {
  // Created 2007-06-01 10:00 local unless said otherwise.
  WriteResult("plain.CFN");
  WriteResult("ref.CFN", [](SampleHeader& h) { h.IsTest = 0; });
  WriteResult("midnight.CFN", [](SampleHeader& h) { h.CreateTime = CTime(2007, 6, 1, 0, 0, 0); });
  WriteResult("early.CFN", [](SampleHeader& h) { h.CreateTime = CTime(2007, 5, 31, 23, 59, 59); });
  // Names differing only in case would be one file.
  WriteResult("colon1.CFN", [](SampleHeader& h) { h.Attribute2 = "colon"; });
  WriteResult("Colon2.CFN", [](SampleHeader& h) { h.Attribute2 = "Colon"; });
  WriteResult("big.CFN", [](SampleHeader& h) { h.IsTest = 1; }, "Mapping10K_Xba142");
  WriteResult("self.CFS");
  EXPECT_EQ(Listed(GetParam().script), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Filters, DisplayFilterTest,
    ::testing::Values(
        FilterCase{"first opening", [](DialogDriver&) {},
                   {"big", "colon1", "Colon2", "early", "midnight", "plain"}},
        FilterCase{"ref", [](DialogDriver& d) { d.Click(ids::kRefOnly); }, {"ref"}},
        FilterCase{"both", [](DialogDriver& d) { d.Click(ids::kTestAndRef); },
                   {"big", "colon1", "Colon2", "early", "midnight", "plain", "ref"}},
        FilterCase{"test or ref unticked", [](DialogDriver& d) { d.SetCheck(ids::kUseTestOrRef, false); },
                   {"big", "colon1", "Colon2", "early", "midnight", "plain", "ref"}},
        FilterCase{"self", [](DialogDriver& d) { d.Click(ids::kSelfAnalysis); }, {"self"}},
        FilterCase{"array type", [](DialogDriver& d) {
                     d.SetCheck(ids::kUseArrayType, true).Select(ids::kArrayTypeFilter, "Mapping10K_Xba142");
                   }, {"big"}},
        FilterCase{"attribute 2 exact case", [](DialogDriver& d) {
                     d.SetCheck(ids::kUseAttribute[1], true).Select(ids::kAttributeFilter[1], "Colon");
                   }, {"Colon2"}},
        FilterCase{"from admits the whole day", [](DialogDriver& d) {
                     PickDate(d, ids::kSetFromDate, 2007, 6, 1);
                     d.SetCheck(ids::kUseFromDate, true);
                   }, {"big", "colon1", "Colon2", "midnight", "plain"}},
        FilterCase{"to means midnight", [](DialogDriver& d) {
                     PickDate(d, ids::kSetToDate, 2007, 6, 1);
                     d.SetCheck(ids::kUseToDate, true);
                   }, {"early", "midnight"}}),
    [](const auto& info) {
      std::string name = info.param.name;
      for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
      return name;
    });

TEST_F(DisplayDialogTest, NewReplacesTheListAndAddAppendsOnlyNewNamesKeepingTheirChecks) {
  WriteResult("t1.CFN");
  WriteResult("r1.CFN", [](SampleHeader& h) { h.IsTest = 0; });
  WriteResult("t2.CFN");
  OpenDialog([](DialogDriver& d) {
    CheckLines(d, {"t2"});
    d.Click(ids::kTestAndRef).Click(ids::kAdd);
    EXPECT_EQ(d.Items(ids::kSampleList), (Names{"t1", "t2", "r1"}));
    EXPECT_EQ(d.ItemCheck(ids::kSampleList, 1), 1);
    d.Click(ids::kAdd);
    EXPECT_EQ(d.Items(ids::kSampleList), (Names{"t1", "t2", "r1"}));
    d.Click(ids::kRefOnly).Click(ids::kNew);
    EXPECT_EQ(d.Items(ids::kSampleList), (Names{"r1"}));
    EXPECT_EQ(d.ItemCheck(ids::kSampleList, 0), 0);
  });
}

TEST_F(DisplayDialogTest, ASecondOpeningRestoresTicksRadiosCombosAndDates) {
  WriteResult("s.CFS", [](SampleHeader& h) { h.Attribute1 = "tumor"; });
  WriteResult("t.CFS", [](SampleHeader& h) { h.Attribute1 = "Tumor"; });
  WriteResult("u.CFS", [](SampleHeader& h) { h.Attribute1 = "tumorous"; });
  OpenDialog([](DialogDriver& d) {
    d.Click(ids::kSelfAnalysis).Click(ids::kTestAndRef);
    d.SetCheck(ids::kUseAttribute[0], true).Select(ids::kAttributeFilter[0], "tumor");
    PickDate(d, ids::kSetFromDate, 2007, 5, 1);
    d.SetCheck(ids::kUseFromDate, true);
    d.Cancel();
  });
  OpenDialog([](DialogDriver& d) {
    EXPECT_TRUE(d.IsChecked(ids::kSelfAnalysis));
    EXPECT_FALSE(d.IsChecked(ids::kNonSelfAnalysis));
    EXPECT_TRUE(d.IsChecked(ids::kTestAndRef));
    EXPECT_FALSE(d.IsChecked(ids::kTestOnly));
    EXPECT_TRUE(d.IsChecked(ids::kUseAttribute[0]) && d.IsChecked(ids::kUseFromDate));
    EXPECT_EQ(d.Text(ids::kAttributeFilter[0]), "tumor");
    EXPECT_EQ(d.Text(ids::kFromDate), "2007/ 5/ 1");
    EXPECT_EQ(d.Items(ids::kSampleList), (Names{"s"}));
  });
}

TEST_F(DisplayDialogTest, TheIndexRoadListsTheSameResults) {
  WriteResult("A.CFN");
  WriteResult("C.CFS");
  Setting().UseFileList = 1;
  EXPECT_EQ(Listed([](DialogDriver&) {}), (Names{"A"}));
  EXPECT_EQ(Listed([](DialogDriver& d) { d.Click(ids::kSelfAnalysis); }), (Names{"C"}));
  EXPECT_TRUE(Exists(global_.FileList->GetListFileName(kFileListSelf)));
}

TEST_F(DisplayDialogTest, ActionsHandBackTheCheckedFilesOfTheShownKind) {
  WriteResult("a.CFN");
  WriteResult("b.CFN");
  WriteResult("c.CFN");
  WriteResult("a.CFS");
  struct Case {
    unsigned button;
    const char* mode;
  };
  for (const Case& c : {Case{ids::kSingleDisplay, "SingleSample"}, Case{ids::kMultiDisplay, "MultipleSamples"},
                        Case{ids::kIntegralView, "IntegralView"}}) {
    DisplayOutcome out = OpenDialog([&](DialogDriver& d) {
      d.Click(ids::kNonSelfAnalysis);
      CheckLines(d, {"c", "a"});
      d.Click(c.button);
    });
    EXPECT_EQ(out.result, IDOK);
    EXPECT_EQ(out.mode, c.mode);
    EXPECT_EQ(out.files, (Names{"a.CFN", "c.CFN"}));
    EXPECT_EQ(out.selfMode, 0);
  }
  Setting().NONSELFALLELE = 1;
  WriteResult("a.CFA");
  DisplayOutcome allele = OpenDialog([](DialogDriver& d) {
    d.Click(ids::kNonSelfAnalysis);
    CheckLines(d, {"a"});
    d.Click(ids::kSingleDisplay);
  });
  EXPECT_EQ(allele.files, (Names{"a.CFA"}));
  DisplayOutcome self = OpenDialog([](DialogDriver& d) {
    d.Click(ids::kSelfAnalysis).Click(ids::kCheckAll).Click(ids::kIntegralView);
  });
  EXPECT_EQ(self.files, (Names{"a.CFS"}));
  EXPECT_EQ(self.selfMode, 1);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(DisplayDialogTest, RefusalsKeepTheDialogOpenAndOkThenHandsBackNoRequest) {
  WriteResult("a.CFN");
  WriteResult("b.CFN");
  for (unsigned button : {ids::kSingleDisplay, ids::kMultiDisplay, ids::kIntegralView, ids::kCombine}) {
    messages_.Clear();
    DisplayOutcome out = OpenDialog([&](DialogDriver& d) {
      if (button == ids::kCombine) CheckLines(d, {"a", "b"});
      d.Click(button);
      EXPECT_TRUE(d.IsOpen());
      d.Ok();
    });
    EXPECT_EQ(out.result, IDOK);
    EXPECT_EQ(out.mode, "");
    EXPECT_TRUE(out.files.empty());
    EXPECT_EQ(Messages(), (Names{button == ids::kCombine ? "Wrong combination" : "Select more than one sample"}));
  }
  messages_.Clear();
  OpenDialog([](DialogDriver& d) {
    CheckLines(d, {"a"});
    d.Click(ids::kCombine).Click(ids::kCheckAll).Click(ids::kUncheckAll).Click(ids::kCombine);
    EXPECT_TRUE(d.IsOpen());
  });
  EXPECT_EQ(Messages(), (Names{"Select two samples", "Select two samples"}));
}

TEST_F(DisplayDialogTest, CombineAcceptsTheSixOrderedPairsOnly) {
  const std::pair<const char*, const char*> types[] = {
      {"H", "Mapping50K_Hind240"}, {"X", "Mapping50K_Xba240"}, {"MS", "Mendel_Sty"},  {"MN", "Mendel_Nsp"},
      {"S", "Mapping250K_Sty"},    {"N", "Mapping250K_Nsp"},   {"G", "Agilent244K"}, {"H2", "Mapping50K_Hind240"},
      {"AX", "Mapping50K_Xba240"}, {"AMS", "Mendel_Sty"}, {"AS", "Mapping250K_Sty"}};
  for (const auto& [name, type] : types) WriteResult(std::string(name) + ".CFN", {}, type);
  WriteResult("orphan.CFN");
  struct Case {
    Names checked;  // list order
    bool accepted;
  };
  // Listed in folder order, so the first name is the first file.
  const Case cases[] = {{{"H", "X"}, true},   {{"AX", "H"}, true},   {{"AMS", "MN"}, true},
                        {{"MN", "MS"}, true}, {{"AS", "N"}, true},   {{"N", "S"}, true},
                        {{"H", "H2"}, false}, {{"G", "X"}, false},   {{"H", "MN"}, false},
                        {{"AX", "X"}, false}, {{"H", "orphan"}, false}};
  for (const Case& c : cases) {
    messages_.Clear();
    DisplayOutcome out = OpenDialog([&](DialogDriver& d) {
      CheckLines(d, c.checked);
      d.Click(ids::kCombine);
    });
    EXPECT_EQ(out.result == IDOK, c.accepted) << c.checked[0];
    if (c.accepted) {
      EXPECT_EQ(out.mode, "Combine");
      EXPECT_EQ(out.files, (Names{c.checked[0] + ".CFN", c.checked[1] + ".CFN"}));
      EXPECT_TRUE(Messages().empty());
    } else {
      EXPECT_EQ(Messages(), (Names{"Wrong combination"}));
    }
  }
}

TEST_F(DisplayDialogTest, AGroupMemberWithoutAHeaderMakesNoPair) {
  WriteResult("H.CFN", {}, "Mapping50K_Hind240");
  CGrouP groups;
  groups.Groups.push_back(SampleGroup{0, 2, {"H", "gone"}, "pair"});
  ASSERT_TRUE(qova::core::StoreGroupsFile(ResultFolder(), groups));
  OpenDialog([](DialogDriver& d) {
    d.Select(ids::kGroups, "pair").Click(ids::kSelectGroup).Click(ids::kCombine);
    EXPECT_TRUE(d.IsOpen());
  });
  EXPECT_EQ(Messages(), (Names{"Wrong combination"}));
}

}  // namespace
}  // namespace qova::test
