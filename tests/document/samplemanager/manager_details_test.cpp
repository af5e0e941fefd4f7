// The Sample Manager's property panel, the rewrite of a header by Refresh,
// what each selection enables, and the keyword each way out hands back.
#include "platform/File.h"
#include "tests/document/samplemanager/manager_test_support.h"

namespace qova::test {
namespace {

class ManagerDetailsTest : public ManagerTest {
 protected:
  // Opens the dialog on its first opening with every sample listed, selects
  // `name`, and runs `then`.
  ManagerOutcome WithSelected(const std::string& name, const std::function<void(DialogDriver&)>& then) {
    return OpenManager([&](DialogDriver& d) {
      d.SetCheck(ids::kUseTestOrRef, false).Click(ids::kNew).Select(ids::kSampleList, name);
      then(d);
    });
  }

  // The per-SNP records: everything after the header and the markers.
  [[nodiscard]] std::string SnpBytes(const std::string& name) const {
    const std::string bytes = Bytes(SamplePath(name));
    const CArrayData sample = LoadSample(name);
    const std::size_t records =
        static_cast<std::size_t>(sample.Header.LastSnpIndex - sample.Header.FirstSnpIndex + 1) *
        CArrayData::kSnpRecordSize;
    return bytes.size() < records ? std::string() : bytes.substr(bytes.size() - records);
  }
};

TEST_F(ManagerDetailsTest, ThePanelShowsTheSelectedHeader) {
  WriteListed("paired", [](SampleHeader& h) {
    h.CreateTime = CTime(2008, 2, 29, 23, 59, 0);
    h.IsPaired = 1;
    h.SelfReference = "normal";
    h.NonSelfBaseRange = {10, 900, 1, 2};
    h.SelfBaseRange = {20, 800, 1, 3};
    h.Attribute4 = "stage II";
    h.NonSelfReferenceCount = 2;
    h.NonSelfReferences = "0.120000$RefA$0.250000$RefB$9$extra$";
  });
  WriteListed("alone", [](SampleHeader& h) { h.IsTest = 0; });
  std::map<unsigned, std::string> paired, alone;
  WithSelected("paired", [&](DialogDriver& d) {
    for (unsigned id : {ids::kName, ids::kArrayType, ids::kCreationTime, ids::kTestOrRef, ids::kSelfReference,
                        ids::kNonSelfBaseRange, ids::kSelfBaseRange, ids::kReferenceScores, ids::kReferenceNames,
                        ids::kAttribute[3]})
      paired[id] = d.Text(id);
    EXPECT_TRUE(d.IsEnabled(ids::kTransferDiploidRegion));
    d.Select(ids::kSampleList, "alone");
    for (unsigned id : {ids::kTestOrRef, ids::kSelfReference, ids::kSelfBaseRange, ids::kReferenceScores,
                        ids::kAttribute[3]})
      alone[id] = d.Text(id);
    EXPECT_FALSE(d.IsEnabled(ids::kTransferDiploidRegion));
  });
  EXPECT_EQ(paired[ids::kName], "paired");
  EXPECT_EQ(paired[ids::kArrayType], kSmallType);
  EXPECT_EQ(paired[ids::kCreationTime], "2008/02/29");
  EXPECT_EQ(paired[ids::kTestOrRef], "TEST");
  EXPECT_EQ(paired[ids::kSelfReference], "normal");
  EXPECT_EQ(paired[ids::kNonSelfBaseRange], "10-900, N=2");
  EXPECT_EQ(paired[ids::kSelfBaseRange], "20-800, N=3");
  EXPECT_EQ(paired[ids::kReferenceScores], "0.120000\r\n0.250000\r\n");
  EXPECT_EQ(paired[ids::kReferenceNames], "RefA\r\nRefB\r\n");
  EXPECT_EQ(paired[ids::kAttribute[3]], "stage II");
  EXPECT_EQ(alone[ids::kTestOrRef], "REF");
  EXPECT_EQ(alone[ids::kSelfReference], "No Self Ref");
  EXPECT_EQ(alone[ids::kSelfBaseRange], "not set");
  EXPECT_EQ(alone[ids::kReferenceScores], "");
  EXPECT_EQ(alone[ids::kAttribute[3]], "");
}

// The two reference columns read the stored list as every other reader of it
// does: a list of names alone (as "Set candidate refs" copies the old
// candidate list) shows its names with no scores, and a count past the list
// shows empty lines.
TEST_F(ManagerDetailsTest, TheReferenceColumnsShowTheListAsTheAnalysisReadsIt) {
  const struct {
    const char* name;
    std::int32_t count;
    const char* list;
    const char* scores;
    const char* names;
  } cases[] = {
      {"scored", 2, "0.120000$RefA$0.250000$RefB$", "0.120000\r\n0.250000\r\n", "RefA\r\nRefB\r\n"},
      {"namesalone", 3, "R1$R2$R3$", "\r\n\r\n\r\n", "R1\r\nR2\r\nR3\r\n"},
      {"short", 3, "0.100000$RefA$", "0.100000\r\n\r\n\r\n", "RefA\r\n\r\n\r\n"},
      {"none", 0, "0.100000$RefA$", "", ""},
  };
  for (const auto& c : cases) {
    WriteListed(c.name, [&c](SampleHeader& h) {
      h.NonSelfReferenceCount = c.count;
      h.NonSelfReferences = c.list;
    });
  }
  std::map<std::string, std::pair<std::string, std::string>> shown;
  WithSelected(cases[0].name, [&](DialogDriver& d) {
    for (const auto& c : cases) {
      d.Select(ids::kSampleList, c.name);
      shown[c.name] = {d.Text(ids::kReferenceScores), d.Text(ids::kReferenceNames)};
    }
  });
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(shown[c.name].first, c.scores);
    EXPECT_EQ(shown[c.name].second, c.names);
  }
}

struct EnableCase {
  const char* what;
  int isPaired, isTest, references, candidates;
  bool alleleSpecific, selfOnly, currentSet, hiddenTestButtons, setCandidates, association;
};

class ManagerEnableTest : public ManagerDetailsTest, public ::testing::WithParamInterface<EnableCase> {};

TEST_P(ManagerEnableTest, TheSelectedHeaderEnablesItsActions) {
  const EnableCase& c = GetParam();
  WriteListed("sample", [&](SampleHeader& h) {
    h.IsPaired = c.isPaired;
    h.IsTest = c.isTest;
    h.NonSelfReferenceCount = c.references;
    h.RefCandidateCount = c.candidates;
  });
  WithSelected("sample", [&](DialogDriver& d) {
    EXPECT_EQ(d.IsEnabled(ids::kAlleleSpecificAnalysis), c.alleleSpecific);
    EXPECT_EQ(d.IsEnabled(ids::kModeSelfOnly), c.selfOnly);
    EXPECT_EQ(d.IsEnabled(ids::kModeCurrentSet), c.currentSet);
    EXPECT_EQ(d.IsEnabled(ids::kSelectNonSelfRef), c.hiddenTestButtons);
    EXPECT_EQ(d.IsEnabled(ids::kAutomaticAnalysis), c.hiddenTestButtons);
    EXPECT_EQ(d.IsEnabled(ids::kSetCandidateRefs), c.setCandidates);
    EXPECT_TRUE(d.IsEnabled(ids::kNonSelfAnalysis));
    EXPECT_TRUE(d.IsEnabled(ids::kModeAutomatic));
    EXPECT_TRUE(d.IsEnabled(ids::kModeManual));
    EXPECT_EQ(d.IsEnabled(ids::kAssociationAnalysis), c.association);
    // "Current set" starts checked; without references its check moves.
    EXPECT_EQ(d.IsChecked(ids::kModeCurrentSet), c.currentSet);
    EXPECT_EQ(d.IsChecked(ids::kModeAutomatic), !c.currentSet);
  });
}

INSTANTIATE_TEST_SUITE_P(
    Headers, ManagerEnableTest,
    ::testing::Values(EnableCase{"paired test with references", 1, 1, 3, 0, true, true, true, true, false, true},
                      EnableCase{"paired reference", 1, 0, 3, 2, false, false, true, false, true, true},
                      EnableCase{"unpaired test", 0, 1, 0, 0, false, false, false, true, false, false},
                      EnableCase{"test flag 2", 1, 2, 1, 0, false, false, true, false, false, true},
                      EnableCase{"paired flag 2", 2, 1, 1, 0, false, false, true, true, false, true}),
    [](const auto& info) {
      std::string name = info.param.what;
      for (char& ch : name) if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
      return name;
    });

TEST_F(ManagerDetailsTest, ACheckedSelfOnlyMovesToAutomaticForASampleWithoutSelfReference) {
  WriteListed("paired", [](SampleHeader& h) { h.IsPaired = 1; h.NonSelfReferenceCount = 1; });
  WriteListed("unpaired", [](SampleHeader& h) { h.NonSelfReferenceCount = 1; });
  WithSelected("paired", [](DialogDriver& d) {
    d.Click(ids::kModeSelfOnly).Select(ids::kSampleList, "unpaired");
    EXPECT_FALSE(d.IsChecked(ids::kModeSelfOnly));
    EXPECT_TRUE(d.IsChecked(ids::kModeAutomatic));
  });
}

struct KeywordCase {
  unsigned radio;
  unsigned sameSex;  // 0: leave both clear
  const char* keyword;
};

class ManagerKeywordTest : public ManagerDetailsTest, public ::testing::WithParamInterface<KeywordCase> {};

TEST_P(ManagerKeywordTest, NonSelfAnalysisHandsBackTheKeywordOfTheMode) {
  const KeywordCase& c = GetParam();
  WriteListed("T1", [](SampleHeader& h) { h.IsPaired = 1; h.NonSelfReferenceCount = 1; });
  const ManagerOutcome outcome = WithSelected("T1", [&](DialogDriver& d) {
    d.Click(c.radio);
    if (c.sameSex) d.SetCheck(c.sameSex, true);
    d.Click(ids::kNonSelfAnalysis);
  });
  EXPECT_EQ(outcome.result, IDOK);
  EXPECT_EQ(outcome.sampleName, "T1");
  EXPECT_EQ(outcome.action, c.keyword);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, ManagerKeywordTest,
    ::testing::Values(KeywordCase{ids::kModeCurrentSet, 0, "NonSelfAnalysis"},
                      KeywordCase{ids::kModeAutomatic, 0, "AutomaticAnalysis"},
                      KeywordCase{ids::kModeAutomatic, ids::kAutomaticSameSex, "AutomaticAnalysis_samesex"},
                      KeywordCase{ids::kModeManual, 0, "SelectNonSelfRef"},
                      KeywordCase{ids::kModeManual, ids::kManualSameSex, "SelectNonSelfRef_samesex"},
                      // The other mode's "same sex" box does not count.
                      KeywordCase{ids::kModeManual, ids::kAutomaticSameSex, "SelectNonSelfRef"},
                      KeywordCase{ids::kModeSelfOnly, 0, "SelectSelfAsRef"}));

// The association analysis is offered while a sample with a self reference
// is selected, and hands it back with its keyword.
TEST_F(ManagerDetailsTest, AssociationIsOfferedForASelectedSampleWithSelfReference) {
  WriteListed("Alone");
  WriteListed("Paired", [](SampleHeader& h) {
    h.IsPaired = 1;
    h.SelfReference = "PairedN";
  });
  const struct {
    const char* step;
    std::function<void(DialogDriver&)> act;
    bool offered;
  } steps[] = {
      {"opened", [](DialogDriver&) {}, false},
      {"no self reference", [](DialogDriver& d) { d.Select(ids::kSampleList, "Alone"); }, false},
      {"self reference", [](DialogDriver& d) { d.Select(ids::kSampleList, "Paired"); }, true},
      {"back to no self reference", [](DialogDriver& d) { d.Select(ids::kSampleList, "Alone"); }, false},
      {"self reference again", [](DialogDriver& d) { d.Select(ids::kSampleList, "Paired"); }, true},
      {"list made anew", [](DialogDriver& d) { d.Click(ids::kNew); }, false},
      {"self reference after New", [](DialogDriver& d) { d.Select(ids::kSampleList, "Paired"); }, true},
  };
  const ManagerOutcome outcome = OpenManager([&](DialogDriver& d) {
    d.SetCheck(ids::kUseTestOrRef, false).Click(ids::kNew);
    for (const auto& s : steps) {
      s.act(d);
      EXPECT_EQ(d.IsEnabled(ids::kAssociationAnalysis), s.offered) << s.step;
    }
    d.Click(ids::kAssociationAnalysis);
  });
  EXPECT_EQ(outcome.result, IDOK);
  EXPECT_EQ(outcome.sampleName, "Paired");
  EXPECT_EQ(outcome.action, "AssociationAnalysis");
  EXPECT_TRUE(Ui().Failures().empty());
}

TEST_F(ManagerDetailsTest, RefreshRewritesOnlyTheEditedFields) {
  WriteListed("T1", [](SampleHeader& h) {
    h.IsPaired = 1;
    h.SelfReference = "N1";
    h.Attribute1 = "old1";
    h.Attribute2 = "old2";
    h.Sex = "F";
    h.NonSelfBaseRange = {10, 900, 2, 3};
    h.SelfBaseRange = {20, 800, 1, 2};
    h.NonSelfReferenceCount = 1;
    h.NonSelfReferences = "0.1$R1$";
  });
  CArrayData before = LoadSample("T1");
  // Data of its own, so a rewrite that lost or moved a record shows.
  for (std::size_t i = 0; i < before.SignalA.size(); ++i) {
    before.SignalA[i] = float(i) * 0.5f;
    before.SignalB[i] = float(i % 17);
    before.Call[i] = static_cast<std::int32_t>(i % 4);
    before.SpareFlag[i] = static_cast<std::uint8_t>(i % 2);
  }
  before.Markers.push_back(MarkerRegion{3, 100, 200, 33});
  before.StoreFile(SamplePath("T1"));
  before = LoadSample("T1");
  const std::string snpBytes = SnpBytes("T1");
  static std::int64_t now = 0;
  now = before.Header.SaveTime.GetTime() + 3600;
  platform::SetClock([] { return now; });

  std::string nonSelfShown;
  std::vector<std::string> attributeItems;
  WithSelected("T1", [&](DialogDriver& d) {
    d.Type(ids::kAttribute[0], "").Type(ids::kAttribute[1], "new2").Type(ids::kAttribute[2], "OLD1");
    d.Click(ids::kMale).SetCheck(ids::kTransferDiploidRegion, true).Click(ids::kRefresh);
    nonSelfShown = d.Text(ids::kNonSelfBaseRange);
    attributeItems = d.Items(ids::kAttribute[1]);
  });
  platform::SetClock(nullptr);

  const CArrayData after = LoadSample("T1");
  SampleHeader expected = before.Header;
  expected.Attribute2 = "new2";
  expected.Attribute3 = "OLD1";
  expected.Sex = "M";
  expected.NonSelfBaseRange = {20, 800, 2, 3};
  expected.SaveTime = CTime(now);
  EXPECT_EQ(after.Header, expected);
  EXPECT_EQ(after.Markers, before.Markers);
  EXPECT_EQ(SnpBytes("T1"), snpBytes);
  EXPECT_EQ(nonSelfShown, "20-800, N=2");
  // The new value goes to the end of its drop-down, after the sorted ones.
  EXPECT_EQ(attributeItems, (std::vector<std::string>{"old2", "new2"}));
  // The cache carries what the file carries.
  ASSERT_EQ(Cache().Headers.size(), 1u);
  EXPECT_EQ(Cache().Headers[0].Attribute2, "new2");
  EXPECT_EQ(Cache().Headers[0].Sex, "M");
  EXPECT_EQ(Cache().Headers[0].NonSelfBaseRange, expected.NonSelfBaseRange);
  EXPECT_EQ(Cache().AttributeValues[1].count("new2"), 1u);
}

// "M", "F" and empty check Male, Female and N.D.; any other sex checks none,
// whatever the sample shown before had, and Refresh then keeps it.
TEST_F(ManagerDetailsTest, ASexNoneOfTheRadiosStandsForChecksNoneAndRefreshKeepsIt) {
  WriteListed("Female", [](SampleHeader& h) { h.Sex = "F"; });
  WriteListed("Male", [](SampleHeader& h) { h.Sex = "M"; });
  WriteListed("Unknown", [](SampleHeader& h) { h.Sex = ""; });
  WriteListed("Odd", [](SampleHeader& h) {
    h.Sex = "male";
    h.Attribute1 = "kept";
  });
  const SampleHeader odd = LoadSample("Odd").Header;
  const struct {
    const char* name;
    unsigned checked;  // 0: none
  } shown[] = {{"Female", ids::kFemale}, {"Odd", 0},   {"Male", ids::kMale},        {"Odd", 0},
               {"Unknown", ids::kSexNotDetermined}, {"Female", ids::kFemale}, {"Odd", 0}};
  std::vector<unsigned> checked;
  WithSelected("Female", [&](DialogDriver& d) {
    for (const auto& s : shown) {
      d.Select(ids::kSampleList, s.name);
      unsigned which = 0;
      for (unsigned id : {ids::kMale, ids::kFemale, ids::kSexNotDetermined}) which += d.IsChecked(id) ? id : 0;
      checked.push_back(which);
    }
    d.Click(ids::kRefresh);
  });
  std::vector<unsigned> expected;
  for (const auto& s : shown) expected.push_back(s.checked);
  EXPECT_EQ(checked, expected);
  SampleHeader after = LoadSample("Odd").Header;
  EXPECT_EQ(after.Sex, "male");
  after.SaveTime = odd.SaveTime;
  EXPECT_EQ(after, odd);
  for (const SampleHeader& cached : Cache().Headers) {
    EXPECT_EQ(cached.Sex, LoadSample(cached.SampleName).Header.Sex) << cached.SampleName;
  }
}

void FailBeforeRename(platform::AtomicStage stage, const std::string&) {
  if (stage == platform::AtomicStage::BeforeRename) throw CFileException(CFileException::diskFull, 0, "T1.CFH");
}

TEST_F(ManagerDetailsTest, AFailedRefreshKeepsTheFileAndTheCache) {
  WriteListed("T1", [](SampleHeader& h) { h.Attribute1 = "old"; });
  const std::string bytes = Bytes(SamplePath("T1"));
  std::string shownAgain;
  std::vector<std::string> items;
  WithSelected("T1", [&](DialogDriver& d) {
    d.Type(ids::kAttribute[0], "new");
    platform::SetAtomicStageHook(&FailBeforeRename);
    d.Click(ids::kRefresh);
    platform::SetAtomicStageHook(nullptr);
    EXPECT_TRUE(d.IsOpen());
    d.Select(ids::kSampleList, "T1");
    shownAgain = d.Text(ids::kAttribute[0]);
    items = d.Items(ids::kAttribute[0]);
  });
  EXPECT_EQ(Bytes(SamplePath("T1")), bytes);
  EXPECT_EQ(shownAgain, "old");
  EXPECT_EQ(items, std::vector<std::string>{"old"});
  EXPECT_EQ(Cache().Headers[0].Attribute1, "old");
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0].find("T1.CFH"), std::string::npos) << Messages()[0];
}

}  // namespace
}  // namespace qova::test
