// Automation > Batch Analysis: the automatic form under the AUTO settings, on
// one worker and on several, Cancel, unreadable samples, and the superseded
// reference choice.
#include <gmock/gmock.h>

#include "tests/document/batch/batch_test_support.h"

namespace qova::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;
using Names = std::vector<std::string>;

class BatchAnalysisTest : public BatchTest {
 protected:
  BatchAnalysisTest() {
    Setting().DOSELF = 1;
    Setting().DONONSELF = 1;
    Setting().SKIPALREADY = 0;
    Setting().MAXREF = 3;
    platform::SetClock([]() -> std::int64_t { return 1200000000; });
  }
  ~BatchAnalysisTest() override { platform::SetClock(nullptr); }

  void Workers(int n) { setenv("QOVA_BATCH_WORKERS", std::to_string(n).c_str(), 1); }
};

struct StepCase {
  int doSelf, doNonSelf, skipAlready;
  bool hasSelfResult;  // T1.CFS exists before the batch
  // Checked in the dialog, which lists them by name; T1N is T1's paired
  // normal, U1 a test without one.
  Names picked;
  Names written;       // result files written by the batch
  std::string status;  // the status bar's summary
  std::string box;     // the summary box, or "" for none
};

void PrintTo(const StepCase& c, std::ostream* os) {
  *os << "self " << c.doSelf << ", non-self " << c.doNonSelf << ", skip " << c.skipAlready << ", picked "
      << ::testing::PrintToString(c.picked);
}

class BatchStepTest : public BatchAnalysisTest, public ::testing::WithParamInterface<StepCase> {};

TEST_P(BatchStepTest, WritesExactlyTheResultsTheSettingsAskForAndCountsOnlyThose) {
  const StepCase& c = GetParam();
  WriteBatchStudy(2, 4);
  samplegen::StudySpec unpaired = Study(0, false, "U1");
  unpaired.Seed = 301;
  WriteStudy(unpaired);
  Setting().DOSELF = c.doSelf;
  Setting().DONONSELF = c.doNonSelf;
  Setting().SKIPALREADY = c.skipAlready;
  if (c.hasSelfResult) {
    EXPECT_TRUE(platform::WriteWholeFile(ResultPath("T1.CFS"), "old"));
  }
  const auto before = Files();
  RunBatch(c.picked, batch_ids::kAutomaticAnalysis,
           [](DialogDriver& d) { d.Click(batch_ids::kTestAndRef).Click(batch_ids::kRefresh); });
  Names written;
  for (const auto& [path, bytes] : Files()) {
    if (path.find("Results") != std::string::npos && (!before.contains(path) || before.at(path) != bytes)) {
      written.push_back(platform::FileNameOf(path));
    }
  }
  EXPECT_EQ(written, c.written);
  EXPECT_EQ(Ui().StatusTexts(), Names{c.status});
  EXPECT_EQ(Messages(), c.box.empty() ? Names{} : Names{c.box});
  EXPECT_TRUE(ErrorLogLines().empty());
}

const Names kAllKinds = {"T1", "T1N", "Ref01", "U1"};
constexpr const char* kNoSelfForReferences =
    "\nRef01: a reference sample gets no self analysis\nT1N: a reference sample gets no self analysis";

INSTANTIATE_TEST_SUITE_P(
    Settings, BatchStepTest,
    ::testing::Values(
        StepCase{1, 1, 0, false, {"T1", "T2"}, {"T1.CFN", "T1.CFS", "T2.CFN", "T2.CFS"}, "Analysed 2 of 2 samples", ""},
        StepCase{1, 0, 0, false, {"T1", "T2"}, {"T1.CFS", "T2.CFS"}, "Analysed 2 of 2 samples", ""},
        StepCase{0, 1, 0, false, {"T1", "T2"}, {"T1.CFN", "T2.CFN"}, "Analysed 2 of 2 samples", ""},
        StepCase{0, 0, 0, false, {"T1", "T2"}, {}, "Analysed 0 of 2 samples",
                 "0 of 2 samples were analysed.\nNot analysed:\nT1: neither analysis is chosen\n"
                 "T2: neither analysis is chosen"},
        StepCase{1, 1, 1, true, {"T1", "T2"}, {"T1.CFN", "T2.CFN", "T2.CFS"}, "Analysed 2 of 2 samples", ""},
        StepCase{1, 1, 0, true, {"T1", "T2"}, {"T1.CFN", "T1.CFS", "T2.CFN", "T2.CFS"}, "Analysed 2 of 2 samples", ""},
        StepCase{1, 0, 1, true, {"T1", "T2"}, {"T2.CFS"}, "Analysed 1 of 2 samples",
                 "1 of 2 samples were analysed.\nNot analysed:\nT1: already analysed (T1.CFS)"},
        // Self only: the references and the test without a normal get nothing.
        StepCase{1, 0, 0, false, kAllKinds, {"T1.CFS"}, "Analysed 1 of 4 samples",
                 std::string("1 of 4 samples were analysed.\nNot analysed:") + kNoSelfForReferences +
                     "\nU1: a sample without a paired normal gets no self analysis"},
        StepCase{1, 0, 0, false, {"T1N"}, {}, "Analysed 0 of 1 samples",
                 "0 of 1 samples were analysed.\nNot analysed:\nT1N: a reference sample gets no self analysis"},
        StepCase{0, 1, 0, false, kAllKinds, {"Ref01.CFN", "T1.CFN", "T1N.CFN", "U1.CFN"}, "Analysed 4 of 4 samples",
                 ""},
        StepCase{1, 1, 0, false, kAllKinds, {"Ref01.CFN", "T1.CFN", "T1.CFS", "T1N.CFN", "U1.CFN"},
                 "Analysed 4 of 4 samples", ""}));

TEST_F(BatchAnalysisTest, SkipAlreadyLooksForTheAlleleSpecificResultWhenSwitchedOn) {
  WriteBatchStudy(1, 4);
  Setting().SKIPALREADY = 1;
  Setting().DOSELF = 0;
  Setting().NONSELFALLELE = 1;
  EXPECT_TRUE(platform::WriteWholeFile(ResultPath("T1.CFN"), "old"));
  RunBatch({"T1"}, batch_ids::kAutomaticAnalysis);
  EXPECT_TRUE(Exists(ResultPath("T1.CFA")));
  EXPECT_TRUE(platform::WriteWholeFile(ResultPath("T1.CFA"), "old"));
  RunBatch({"T1"}, batch_ids::kAutomaticAnalysis);
  EXPECT_EQ(Bytes(ResultPath("T1.CFA")), "old");
}

void Transfer(DialogDriver& d) { d.SetCheck(batch_ids::kTransferDiploidRegion, true); }

TEST_F(BatchAnalysisTest, TransferCopiesOnlyTheFirstAndLastSnpOfTheSelfBaseRange) {
  WriteBatchStudy(1, 4);
  Setting().DONONSELF = 0;
  CArrayData sample = LoadSample("T1");
  sample.Header.SelfBaseRange = {10, 900, 3, 7};
  sample.Header.NonSelfBaseRange = {1, 2, 1, 2};
  sample.StoreFile(SamplePath("T1"));
  // Without a non-self step nothing stores the transferred range.
  RunBatch({"T1"}, batch_ids::kAutomaticAnalysis, Transfer);
  EXPECT_EQ(LoadSample("T1").Header.NonSelfBaseRange, (std::array<std::int32_t, 4>{1, 2, 1, 2}));
  EXPECT_EQ(Doc().GetExtractedSampleName(), "");

  Setting().DONONSELF = 1;
  RunBatch({"T1"}, batch_ids::kAutomaticAnalysis, Transfer);
  const SampleHeader stored = LoadSample("T1").Header;
  EXPECT_EQ(stored.NonSelfBaseRange[0], stored.SelfBaseRange[0]);
  EXPECT_EQ(stored.NonSelfBaseRange[1], stored.SelfBaseRange[1]);
  EXPECT_EQ(stored.NonSelfBaseRange[2], 1);
  EXPECT_EQ(stored.NonSelfBaseRange[3], 2);
}

TEST_F(BatchAnalysisTest, CurrentModesKeepTheReferencesAHeaderNames) {
  WriteBatchStudy(2, 5);
  Setting().DOSELF = 0;
  const std::string listed = LoadSample("T1").Header.NonSelfReferences;
  for (int mode : {3, 2}) {
    RunBatch({"T1", "T2"}, batch_ids::kAutomaticAnalysis,
             [mode](DialogDriver& d) { d.Select(batch_ids::kReferenceMode, mode); });
    EXPECT_EQ(LoadSample("T1").Header.NonSelfReferences, listed) << mode;
    // T2 had none and took MAXREF in mode 3, and keeps them in mode 2.
    EXPECT_EQ(LoadSample("T2").Header.NonSelfReferenceCount, 3) << mode;
  }
  RunBatch({"T1"}, batch_ids::kAutomaticAnalysis, [](DialogDriver& d) { d.Select(batch_ids::kReferenceMode, 1); });
  EXPECT_EQ(LoadSample("T1").Header.NonSelfReferenceCount, 3);
}

TEST_F(BatchAnalysisTest, ProgressShowsEachSampleAndNeverAHundred) {
  WriteBatchStudy(3, 4);
  Setting().DOSELF = 0;
  Watch(Tests(3));
  RunBatch(Tests(3), batch_ids::kAutomaticAnalysis);
  EXPECT_THAT(stores_, ElementsAre("result T1 | Automatic Analysis : processing T1 | 0",
                                   "sample T1 | Automatic Analysis : processing T1 | 0",
                                   "result T2 | Automatic Analysis : processing T2 | 33",
                                   "sample T2 | Automatic Analysis : processing T2 | 33",
                                   "result T3 | Automatic Analysis : processing T3 | 66",
                                   "sample T3 | Automatic Analysis : processing T3 | 66"));
  // The samples were worked on beside the document, which shows none of them.
  EXPECT_EQ(Doc().GetStatus(), kStatusClean);
  EXPECT_EQ(Doc().GetExtractedSampleName(), "");
  EXPECT_EQ(Doc().GetAnalyzedSampleName(), "");
}

TEST_F(BatchAnalysisTest, CancelAfterTheKthSampleLeavesKDone) {
  WriteBatchStudy(4, 4);
  Setting().DOSELF = 0;
  Watch(Tests(4));
  onStore_ = [this](const std::string& what) {
    if (what == "sample T2") CancelProgress();
  };
  RunBatch(Tests(4), batch_ids::kAutomaticAnalysis);
  EXPECT_TRUE(Exists(ResultPath("T2.CFN")));
  EXPECT_FALSE(Exists(ResultPath("T3.CFN")));
  EXPECT_FALSE(Exists(ResultPath("T4.CFN")));
  EXPECT_TRUE(Messages().empty());
  // The batch ends with a word in the status bar, not with a box to close.
  EXPECT_EQ(Ui().StatusTexts(), std::vector<std::string>{"Cancelled after 2 of 4 samples; 2 analysed"});
}

TEST_F(BatchAnalysisTest, AnUnreadableSampleIsLoggedSkippedAndNamedInTheSummary) {
  WriteBatchStudy(3, 4);
  Setting().DOSELF = 0;
  Workers(2);
  // Listed while it could be read, broken before the batch reads it.
  RunBatch({"T1", "T2", "T3"}, batch_ids::kAutomaticAnalysis,
           [this](DialogDriver&) { EXPECT_TRUE(platform::WriteWholeFile(SamplePath("T2"), std::string(40, 'x'))); });
  EXPECT_TRUE(Exists(ResultPath("T1.CFN")));
  EXPECT_FALSE(Exists(ResultPath("T2.CFN")));
  EXPECT_TRUE(Exists(ResultPath("T3.CFN")));
  // Each reference choice also names the broken file among its candidates.
  const auto log = ErrorLogLines();
  ASSERT_EQ(log.size(), 3u);
  EXPECT_THAT(log[0], HasSubstr("Reference candidate left out: "));
  EXPECT_THAT(log[1], HasSubstr("T2: "));
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_THAT(Messages()[0], HasSubstr("2 of 3 samples were analysed."));
  EXPECT_THAT(Messages()[0], HasSubstr(log[1]));
  EXPECT_EQ(Doc().GetExtractedSampleName(), "");
  EXPECT_EQ(Ui().StatusTexts(), std::vector<std::string>{"Analysed 2 of 3 samples"});
}

TEST_F(BatchAnalysisTest, AHalfDoneSampleIsNamedWithItsReasonWhatItStoredAndTheLogOnlyWhenWritten) {
  WriteBatchStudy(1, 4);
  const std::string log = platform::NativePath(Root() + "errorlog.txt");
  struct Case {
    const char* moved;  // the file taken away before the batch
    int referenceMode;
    Names stored;
    std::string box;
    Names logLines;
  };
  const Case cases[] = {
      // The self analysis tells its reason in a box, and writes no log line.
      {"T1N", 0, {"T1.CFN"},
       "0 of 1 samples were analysed.\nFailed:\nT1: the self analysis failed: The self reference file does not "
       "exist in the ArrayData folder; T1.CFN was stored",
       {}},
      // Kept references, one gone: the non-self analysis writes its reason into the log.
      {"Ref01", 3, {"T1.CFS"},
       "0 of 1 samples were analysed.\nFailed:\nT1: the non-self analysis failed: The reference file does not exist "
       "for test sample T1; T1.CFS was stored\nThis batch wrote 1 line to the error log " + log + ".",
       {"The reference file does not exist for test sample T1"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.moved);
    const std::string away = Root() + "away.CFH";
    ASSERT_TRUE(platform::RenameFile(SamplePath(c.moved), away));
    RunBatch({"T1"}, batch_ids::kAutomaticAnalysis,
             [&](DialogDriver& d) { d.Select(batch_ids::kReferenceMode, c.referenceMode); });
    EXPECT_EQ(platform::FindFiles(ResultFolder(), "*"), c.stored);
    EXPECT_EQ(Ui().StatusTexts(), Names{"Analysed 0 of 1 samples"});
    EXPECT_EQ(Messages(), Names{c.box});
    EXPECT_EQ(Exists(Root() + "errorlog.txt"), !c.logLines.empty());
    EXPECT_EQ(ErrorLogLines(), c.logLines);
    ASSERT_TRUE(platform::RenameFile(away, SamplePath(c.moved)));
    for (const std::string& name : platform::FindFiles(ResultFolder(), "*")) {
      platform::RemoveFile(ResultFolder() + name);
    }
    messages_.Clear();
    Ui().Reset();
  }
}

// What a batch leaves behind: every file, the error log, the boxes and what
// the progress dialog showed at each store.
struct BatchOutcome {
  std::map<std::string, std::string> files;
  std::vector<std::string> log;
  std::vector<std::string> messages;
  std::vector<std::string> stores;
  bool operator==(const BatchOutcome&) const = default;
};

class BatchWorkersTest : public BatchAnalysisTest {
 protected:
  BatchOutcome RunWith(int workers, const std::function<void(const std::string&)>& onStore = {}) {
    for (const auto& [path, bytes] : original_) EXPECT_TRUE(platform::WriteWholeFile(path, bytes));
    for (const std::string& name : platform::FindFiles(ResultFolder(), "*")) {
      platform::RemoveFile(ResultFolder() + name);
    }
    platform::RemoveFile(Root() + "errorlog.txt");
    messages_.Clear();
    stores_.clear();
    onStore_ = onStore;
    Workers(workers);
    RunBatch(names_, batch_ids::kAutomaticAnalysis);
    return {Files(), ErrorLogLines(), Messages(), stores_};
  }

  void SetUp() override {
    WriteBatchStudy(8, 10);
    // T5 has lost its normal: its self analysis fails with a message, the
    // others go on. An unreadable file among the candidates gives every
    // sample's reference choice a log line.
    platform::RemoveFile(SamplePath("T5N"));
    EXPECT_TRUE(platform::WriteWholeFile(SamplePath("Bad"), std::string(40, 'x')));
    original_ = Files();
    // Two files of one sample name are listed twice: the second analysis
    // starts from what the first stored.
    platform::CopyFileTo(SamplePath("T3"), SamplePath("T3copy"), false);
    names_ = Tests(8);
    Watch(Tests(8));
  }

  std::map<std::string, std::string> original_;
  Names names_;
};

TEST_F(BatchWorkersTest, FourWorkersWriteAndTellWhatOneWorkerDoes) {
  Setting().MAXREF = 4;
  // The second T3 finds the results of the first and skips both steps.
  Setting().SKIPALREADY = 1;
  const BatchOutcome one = RunWith(1);
  const BatchOutcome four = RunWith(4);
  EXPECT_EQ(one.files.size(), four.files.size());
  EXPECT_TRUE(one.files == four.files);
  EXPECT_EQ(one.log, four.log);
  EXPECT_EQ(one.messages, four.messages);
  EXPECT_EQ(one.stores, four.stores);
  // The self result's sample, the non-self result and the sample; T5 without
  // its self result (the watch sees non-self results only).
  EXPECT_EQ(one.stores.size(), 23u);
  // One "Reference candidate left out" line per reference choice: none for
  // the second T3.
  EXPECT_EQ(one.log.size(), 8u);
  // The unreadable file is told once, as the list opens; the summary does
  // not name it again for every reference choice.
  ASSERT_EQ(one.messages.size(), 2u);
  EXPECT_THAT(one.messages[0], HasSubstr("This file could not be read and is left out:\n"));
  EXPECT_THAT(one.messages[0], HasSubstr(platform::NativePath(SamplePath("Bad"))));
  // The second T3 found both results of the first and stored none.
  EXPECT_EQ(one.messages[1], "7 of 9 samples were analysed.\nFailed:\nT5: the self analysis failed: The self reference "
                             "file does not exist in the ArrayData folder; T5.CFN was stored\nNot analysed:\n"
                             "T3: already analysed (T3.CFS, T3.CFN)\nThis batch wrote 8 lines to the error log " +
                                 platform::NativePath(Root() + "errorlog.txt") + ".");
}

TEST_F(BatchWorkersTest, CancelAfterTheThirdSampleGivesTheSameFilesOnFourWorkers) {
  const auto cancelAfterThird = [this](const std::string& what) {
    if (what == "sample T3") CancelProgress();
  };
  const BatchOutcome one = RunWith(1, cancelAfterThird);
  const BatchOutcome four = RunWith(4, cancelAfterThird);
  EXPECT_TRUE(one == four);
  EXPECT_TRUE(one.files.contains(ResultPath("T3.CFN")));
  EXPECT_FALSE(one.files.contains(ResultPath("T4.CFN")));
}

TEST_F(BatchAnalysisTest, SupersededChoiceFillsTheCandidatesOfTestsOnly) {
  WriteBatchStudy(2, 6);
  const std::string refBytes = Bytes(SamplePath("Ref01"));
  RunBatch({"T1", "T2", "Ref01"}, batch_ids::kSelectNonSelfRefs,
           [](DialogDriver& d) { d.Click(batch_ids::kTestAndRef).Click(batch_ids::kRefresh); });
  EXPECT_EQ(Bytes(SamplePath("Ref01")), refBytes);
  for (const char* name : {"T1", "T2"}) EXPECT_EQ(LoadSample(name).Header.RefCandidateCount, 5) << name;
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_THAT(Messages()[0], HasSubstr("Notify the programmer if this dialogue appears"));
}

}  // namespace
}  // namespace qova::test
