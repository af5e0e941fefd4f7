// The batch dialog: what the first opening lists, each filter, the action
// strings, and "Change attribute" with the files it rewrites.
#include <gmock/gmock.h>

#include "document/batch/ChangeAttribute.h"
#include "resources/ExtractDialogs.h"
#include "platform/Profile.h"
#include "resources/SettingPages.h"
#include "tests/document/batch/batch_test_support.h"

namespace qova::test {
namespace {

using ::testing::HasSubstr;
using Names = std::vector<std::string>;
namespace ids = qova::resources::batch;
namespace change = qova::resources::change;

// What a run of the dialog handed back.
struct Outcome {
  INT_PTR result = -1;
  Names names;
  std::string action;
  int referenceMode = -1;
};

class BatchDialogTest : public BatchTest {
 protected:
  void WriteListed(const std::string& name, const std::function<void(SampleHeader&)>& edit = {}) {
    CArrayData sample(name, kSmallType, global_.TypeInfo(ArrayTypeIndex(kSmallType)), CTime(kCreated));
    sample.Header.IsTest = 1;
    if (edit) edit(sample.Header);
    sample.StoreFile(SamplePath(name));
  }

  Outcome Open(const std::function<void(DialogDriver&)>& script) {
    Ui().OnDialog(qova::resources::kBatchSelectDialog, [&script](DialogDriver& d) {
      script(d);
      if (d.IsOpen()) d.Cancel();
    });
    CBatchSelect dialog;
    dialog.ArrayDataFolder = ArrayFolder();
    Outcome outcome;
    outcome.result = dialog.DoModal();
    outcome.names = dialog.SampleNames;
    outcome.action = dialog.Action;
    outcome.referenceMode = dialog.ReferenceMode;
    return outcome;
  }

  Names Listed(const std::function<void(DialogDriver&)>& filters) {
    Names names;
    Open([&](DialogDriver& d) {
      filters(d);
      d.Click(ids::kRefresh);
      names = d.Items(ids::kSampleList);
    });
    return names;
  }

  // 2007-06-01 00:00:00 UTC.
  static constexpr std::int64_t kCreated = 1180656000;
};

TEST_F(BatchDialogTest, FirstOpeningListsTestSamplesUncheckedWithTheReferenceModes) {
  WriteListed("b");
  WriteListed("a_ref", [](SampleHeader& h) { h.IsTest = 0; });
  WriteListed("c");
  Open([](DialogDriver& d) {
    EXPECT_EQ(d.Items(ids::kSampleList), (Names{"b", "c"}));
    EXPECT_EQ(d.ItemCheck(ids::kSampleList, 0), 0);
    EXPECT_EQ(d.ItemCheck(ids::kSampleList, 1), 0);
    EXPECT_TRUE(d.IsChecked(ids::kUseTestOrRef) && d.IsChecked(ids::kTestOnly));
    EXPECT_FALSE(d.IsChecked(ids::kSameSex) || d.IsChecked(ids::kTransferDiploidRegion));
    EXPECT_EQ(d.Items(ids::kReferenceMode),
              (Names{"Automatic", "Fixed number", "Current (or auto)", "Current (or fixed)"}));
    EXPECT_EQ(d.CurSel(ids::kReferenceMode), 0);
    EXPECT_FALSE(d.Text(ids::kAfterDate).empty());
  });
  EXPECT_TRUE(Messages().empty());
}

TEST_F(BatchDialogTest, AFolderWithoutSamplesSaysError) {
  Ui().OnDialog(qova::resources::kBatchSelectDialog, [](DialogDriver& d) { d.Cancel(); });
  CBatchSelect dialog;
  dialog.ArrayDataFolder = ArrayFolder();
  dialog.DoModal();
  EXPECT_EQ(Messages(), (Names{"error"}));
}

struct FilterCase {
  const char* name;
  std::function<void(DialogDriver&)> filters;
  Names listed;
};

class BatchFilterTest : public BatchDialogTest, public ::testing::WithParamInterface<FilterCase> {};

TEST_P(BatchFilterTest, KeepsExactlyWhatTheCheckedFiltersAllow) {
  WriteListed("plain");
  WriteListed("ref", [](SampleHeader& h) { h.IsTest = 0; });
  WriteListed("paired", [](SampleHeader& h) { h.IsPaired = 1; h.Attribute2 = "lung"; });
  // The normal of a pair names its tumour too, but is analysed only against
  // references: its non-self result alone makes it analysed.
  WriteListed("normal", [](SampleHeader& h) { h.IsTest = 0; h.IsPaired = 1; });
  WriteListed("old", [](SampleHeader& h) { h.CreateTime = CTime(kCreated - 86400 * 30); h.Attribute2 = "colon"; });
  // plain: both results, written long ago; paired: its non-self result only.
  for (const char* file : {"plain.CFN", "paired.CFN", "old.CFA", "normal.CFN"}) EXPECT_TRUE(platform::WriteWholeFile(ResultPath(file), "r"));
  platform::SetModificationTime(ResultPath("plain.CFN"), kCreated);
  platform::SetModificationTime(ResultPath("paired.CFN"), kCreated + 86400 * 400);
  const FilterCase& c = GetParam();
  EXPECT_EQ(Listed(c.filters), c.listed) << c.name;
}

SYSTEMTIME Day(int year, int month, int day) {
  SYSTEMTIME t{};
  t.wYear = WORD(year);
  t.wMonth = WORD(month);
  t.wDay = WORD(day);
  return t;
}

void PickDate(DialogDriver& d, unsigned button, const SYSTEMTIME& date) {
  platform::ui::Headless().OnDialog("CCalendar", [date](DialogDriver& c) {
    c.PickDate(qova::resources::kCalendarMonth, date).Ok();
  });
  d.Click(button);
}

INSTANTIATE_TEST_SUITE_P(
    Filters, BatchFilterTest,
    ::testing::Values(
        FilterCase{"none", [](DialogDriver&) {}, {"old", "paired", "plain"}},
        FilterCase{"ref", [](DialogDriver& d) { d.Click(ids::kRefOnly); }, {"normal", "ref"}},
        FilterCase{"both", [](DialogDriver& d) { d.Click(ids::kTestAndRef); }, {"normal", "old", "paired", "plain", "ref"}},
        FilterCase{"self reference", [](DialogDriver& d) { d.SetCheck(ids::kUseSelfReference, true); }, {"paired"}},
        FilterCase{"attribute 2", [](DialogDriver& d) {
                     d.SetCheck(ids::kUseAttribute[1], true).Select(ids::kAttributeFilter[1], "colon");
                   }, {"old"}},
        FilterCase{"attribute without value", [](DialogDriver& d) { d.SetCheck(ids::kUseAttribute[1], true); },
                   {"old", "paired", "plain"}},
        FilterCase{"from", [](DialogDriver& d) {
                     PickDate(d, ids::kSetFromDate, Day(2007, 5, 20));
                     d.SetCheck(ids::kUseFromDate, true);
                   }, {"paired", "plain"}},
        FilterCase{"to", [](DialogDriver& d) {
                     PickDate(d, ids::kSetToDate, Day(2007, 5, 20));
                     d.SetCheck(ids::kUseToDate, true);
                   }, {"old"}},
        FilterCase{"not analyzed", [](DialogDriver& d) { d.SetCheck(ids::kUseNotAnalyzed, true); },
                   {"old", "paired"}},
        FilterCase{"not analyzed, both", [](DialogDriver& d) {
                     d.Click(ids::kTestAndRef).SetCheck(ids::kUseNotAnalyzed, true);
                   }, {"old", "paired", "ref"}},
        FilterCase{"not analyzed after", [](DialogDriver& d) {
                     PickDate(d, ids::kSetAfterDate, Day(2008, 1, 1));
                     d.SetCheck(ids::kUseNotAnalyzed, true).SetCheck(ids::kUseAfterDate, true);
                   }, {"old", "paired", "plain"}}),
    [](const auto& info) {
      std::string name = info.param.name;
      for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
      return name;
    });

// From and After start at the first moment of the day shown: From today
// lists what was extracted earlier today, and a result written earlier today
// counts as written after today.
TEST_F(BatchDialogTest, FromAndAfterTodayTakeInAllOfToday) {
  static std::int64_t now = 0;
  now = CTime(2009, 3, 5, 14, 0, 0).GetTime();
  platform::SetClock([] { return now; });
  WriteListed("today", [](SampleHeader& h) { h.CreateTime = CTime(2009, 3, 5, 9, 0, 0); });
  WriteListed("yesterday", [](SampleHeader& h) { h.CreateTime = CTime(2009, 3, 4, 9, 0, 0); });
  for (const char* name : {"today", "yesterday"}) {
    ASSERT_TRUE(platform::WriteWholeFile(ResultPath(std::string(name) + ".CFN"), "r"));
    ASSERT_TRUE(platform::SetModificationTime(ResultPath(std::string(name) + ".CFN"),
                                              CTime(2009, 3, std::string(name) == "today" ? 5 : 4, 10, 0, 0).GetTime()));
  }
  const Names fromToday = Listed([](DialogDriver& d) { d.SetCheck(ids::kUseFromDate, true); });
  const Names notAnalyzedToday = Listed([](DialogDriver& d) {
    d.SetCheck(ids::kUseNotAnalyzed, true).SetCheck(ids::kUseAfterDate, true);
  });
  platform::SetClock(nullptr);
  EXPECT_EQ(fromToday, Names{"today"});
  EXPECT_EQ(notAnalyzedToday, Names{"yesterday"});
}

TEST_F(BatchDialogTest, NotAnalyzedLooksForTheAlleleSpecificResultWhenSwitchedOn) {
  WriteListed("s");
  EXPECT_TRUE(platform::WriteWholeFile(ResultPath("s.CFA"), "r"));
  const auto notAnalyzed = [](DialogDriver& d) { d.SetCheck(ids::kUseNotAnalyzed, true); };
  EXPECT_EQ(Listed(notAnalyzed), (Names{"s"}));
  Setting().NONSELFALLELE = 1;
  EXPECT_EQ(Listed(notAnalyzed), Names{});
}

TEST_F(BatchDialogTest, ActionButtonsCloseWithTheCheckedNamesAndTheActionString) {
  WriteListed("a");
  WriteListed("b");
  WriteListed("c");
  Outcome none = Open([](DialogDriver& d) {
    d.Click(ids::kSelectNonSelfRefs).Click(ids::kAutomaticAnalysis);
    EXPECT_TRUE(d.IsOpen());
  });
  EXPECT_EQ(none.result, IDCANCEL);
  EXPECT_TRUE(none.names.empty());
  EXPECT_TRUE(Messages().empty());

  Outcome refs = Open([](DialogDriver& d) {
    d.ToggleItemCheck(ids::kSampleList, 2).ToggleItemCheck(ids::kSampleList, 0);
    d.Click(ids::kSelectNonSelfRefs);
  });
  EXPECT_EQ(refs.result, IDOK);
  EXPECT_EQ(refs.names, (Names{"a", "c"}));
  EXPECT_EQ(refs.action, "SelectNonSelfRefs_SameSexMinus_TransferMinus");

  Outcome automatic = Open([](DialogDriver& d) {
    d.Click(ids::kCheckAll).Click(ids::kUncheckAll).ToggleItemCheck(ids::kSampleList, 1);
    d.SetCheck(ids::kSameSex, true).SetCheck(ids::kTransferDiploidRegion, true).Select(ids::kReferenceMode, 3);
    d.Click(ids::kAutomaticAnalysis);
  });
  EXPECT_EQ(automatic.names, (Names{"b"}));
  EXPECT_EQ(automatic.action, "AutomaticAnalysis_SameSexPlus_TransferPlus");
  EXPECT_EQ(automatic.referenceMode, 3);
}

TEST_F(BatchDialogTest, ChangeAttributeDialogAsksForAnAttributeOnlyInItsFirstMode) {
  Ui().OnDialog(qova::resources::kChangeAttributeDialog, [](DialogDriver& d) {
    d.Ok();
    EXPECT_TRUE(d.IsOpen());
    d.Click(change::kModeTest);
    EXPECT_FALSE(d.IsEnabled(change::kAttribute) || d.IsEnabled(change::kNewValue));
    d.Click(change::kModeAttribute);
    EXPECT_TRUE(d.IsEnabled(change::kAttribute) && d.IsEnabled(change::kNewValue));
    d.Select(change::kAttribute, "Attribute4").Type(change::kNewValue, "new").Ok();
  });
  CChangeAttribute dialog;
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(Messages(), (Names{"Select Attribute"}));
  EXPECT_EQ(dialog.Mode, 0);
  EXPECT_EQ(dialog.AttributeIndex, 3);
  EXPECT_EQ(dialog.NewValue, "new");
}

class ChangeAttributeFilesTest : public BatchDialogTest {
 protected:
  // A study whose test has both results of the current kind and a stale one
  // of the other kind.
  void SetUp() override {
    WriteStudy(3);
    Doc().RunSampleAction("Test01", kActionSelfAnalysis);
    Doc().RunSampleAction("Test01", kActionNonSelfAnalysis);
    EXPECT_TRUE(platform::WriteWholeFile(ResultPath("Test01.CFA"), "other kind"));
    messages_.Clear();
  }
  Outcome ChangeTest01(const std::function<void(DialogDriver&)>& choose) {
    Ui().OnDialog(qova::resources::kChangeAttributeDialog, choose);
    return Open([](DialogDriver& d) {
      const Names listed = d.Items(ids::kSampleList);
      for (std::size_t i = 0; i < listed.size(); ++i) {
        if (listed[i] == "Test01") d.ToggleItemCheck(ids::kSampleList, int(i));
      }
      d.Click(ids::kChangeAttribute);
    });
  }
  static std::string PerSnpBytes(const std::string& path, std::size_t headerEnd) {
    return Bytes(path).substr(headerEnd);
  }
};

TEST_F(ChangeAttributeFilesTest, AttributeChangesInTheSampleAndItsResultsOfTheCurrentKind) {
  const CAnalyzedData before = [&] {
    CAnalyzedData r;
    r.LoadFileAllocating(ResultPath("Test01.CFN"));
    return r;
  }();
  const CArrayData sampleBefore = LoadSample("Test01");
  const Outcome outcome = ChangeTest01([](DialogDriver& d) {
    d.Select(change::kAttribute, "Attribute3").Type(change::kNewValue, "stage II").Ok();
  });
  EXPECT_EQ(outcome.result, IDCANCEL);
  EXPECT_TRUE(outcome.names.empty());
  const CArrayData sample = LoadSample("Test01");
  EXPECT_EQ(sample.Header.Attribute3, "stage II");
  EXPECT_EQ(sample.SignalA, sampleBefore.SignalA);
  EXPECT_EQ(sample.Call, sampleBefore.Call);
  for (const char* file : {"Test01.CFS", "Test01.CFN"}) {
    CAnalyzedData result;
    result.LoadFileAllocating(ResultPath(file));
    EXPECT_EQ(result.Header.Attribute3, "stage II") << file;
  }
  CAnalyzedData after;
  after.LoadFileAllocating(ResultPath("Test01.CFN"));
  EXPECT_EQ(after.LogRatio, before.LogRatio);
  EXPECT_EQ(after.CopyNumberState, before.CopyNumberState);
  EXPECT_EQ(after.LohLikelihood, before.LohLikelihood);
  EXPECT_EQ(Bytes(ResultPath("Test01.CFA")), "other kind");
  EXPECT_TRUE(Messages().empty());
}

TEST_F(ChangeAttributeFilesTest, SetAsRefClearsTheTestFlagInTheSampleAndItsResults) {
  ChangeTest01([](DialogDriver& d) { d.Click(change::kModeReference).Ok(); });
  EXPECT_EQ(LoadSample("Test01").Header.IsTest, 0);
  CAnalyzedData self;
  self.LoadFileAllocating(ResultPath("Test01.CFS"));
  EXPECT_EQ(self.Header.IsTest, 0);
}

TEST_F(ChangeAttributeFilesTest, AnUnreadableSampleIsReportedAndItsResultsStayAsTheyWere) {
  const std::string selfBytes = Bytes(ResultPath("Test01.CFS"));
  Ui().OnDialog(qova::resources::kChangeAttributeDialog, [](DialogDriver& d) { d.Click(change::kModeReference).Ok(); });
  Open([&](DialogDriver& d) {
    d.ToggleItemCheck(ids::kSampleList, 0);
    EXPECT_TRUE(platform::WriteWholeFile(SamplePath("Test01"), "broken"));
    d.Click(ids::kChangeAttribute);
  });
  EXPECT_EQ(Bytes(ResultPath("Test01.CFS")), selfBytes);
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_THAT(Messages()[0], HasSubstr("Test01: the sample file: "));
}

TEST_F(BatchDialogTest, OptionsSavesTheAutomaticSettingsOnOkOnly) {
  WriteListed("a");
  const std::string settings = platform::DefaultSettingsPath();
  ASSERT_TRUE(platform::CreateFolders(platform::FolderOf(settings)));
  ASSERT_TRUE(platform::WriteWholeFile(settings, "[AUTO]\nMAXREF=5\n"));
  platform::AppProfile().UseSettingsFile();
  struct BackToMemory {
    ~BackToMemory() { platform::AppProfile().SetStore(std::make_unique<platform::MemorySettingsStore>()); }
  } backToMemory;
  Ui().OnSheet("Setting", [](platform::ui::SheetDriver& sheet) {
    sheet.Page().Type(qova::resources::settings::automatic::kMaxReferences, "9");
    sheet.Cancel();
  });
  Open([](DialogDriver& d) { d.Click(ids::kOptions); });
  EXPECT_EQ(Bytes(settings), "[AUTO]\nMAXREF=5\n");
  EXPECT_NE(Setting().MAXREF, 9);

  Ui().OnSheet("Setting", [](platform::ui::SheetDriver& sheet) {
    sheet.Page().Type(qova::resources::settings::automatic::kMaxReferences, "9");
    EXPECT_TRUE(sheet.Ok());
  });
  Open([](DialogDriver& d) {
    d.Click(ids::kOptions);
    EXPECT_TRUE(d.IsOpen()) << "the batch dialog stays open";
  });
  EXPECT_EQ(Setting().MAXREF, 9);
  EXPECT_THAT(Bytes(settings), HasSubstr("MAXREF=9"));
  EXPECT_THAT(Bytes(settings), HasSubstr("DOSELF="));
}

TEST_F(BatchDialogTest, ChangeAttributeClosesEvenWithNothingChecked) {
  WriteListed("a");
  Ui().OnDialog(qova::resources::kChangeAttributeDialog, [](DialogDriver& d) { d.Click(change::kModeTest).Ok(); });
  const Outcome outcome = Open([](DialogDriver& d) { d.Click(ids::kChangeAttribute); });
  EXPECT_EQ(outcome.result, IDCANCEL);
}

}  // namespace
}  // namespace qova::test
