// The order, progress and Cancel of an Extract Data run.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/extraction/SampleExtractionRun.h"

namespace {

// Records what the run shows; Cancel is pressed during the pump after the
// item numbered `cancelAfter` (counted from 1), as a user would press it
// while that item is extracted.
class RecordingProgress : public ExtractionProgress {
 public:
  explicit RecordingProgress(int cancelAfter = -1) : cancelAfter_(cancelAfter) {}
  [[nodiscard]] bool KeepGoing() const override { return keepGoing_; }
  void SetPosition(int percent) override {
    if (keepGoing_) events.push_back("pos " + std::to_string(percent));
  }
  void SetStatus(const std::string& text) override {
    if (keepGoing_) events.push_back(text);
  }
  void Pump() override {
    if (++pumps_ == cancelAfter_) keepGoing_ = false;
  }

  std::vector<std::string> events;

 private:
  int cancelAfter_;
  int pumps_ = 0;
  bool keepGoing_ = true;
};

struct Extracted {
  std::string file;
  ExtractionMode mode;
  std::string partner;
};

class ExtractRunTest : public ::testing::Test {
 protected:
  ExtractionRunResult Run(const ExtractionLists& lists, RecordingProgress& progress) {
    return RunExtraction(lists, progress, [this](const ExtractionRequest& request) {
      extracted_.push_back({request.ChpFileName, request.Mode, request.PartnerFileName});
      ExtractionResult result;
      result.Stored = request.ChpFileName.find("bad") == std::string::npos;
      if (!result.Stored) result.Message = "Cel file not found\nCel file name should not be modified";
      return result;
    });
  }

  std::vector<Extracted> extracted_;
};

TEST_F(ExtractRunTest, ListsRunInOrderWithEachPairsReferenceFirst) {
  RecordingProgress progress;
  ExtractionLists lists;
  lists.NonPairedTests = {"T1.CHP", "T2.CHP"};
  lists.NonPairedReferences = {"R1.CHP"};
  lists.PairedTests = {"PT1.CHP", "PT2.CHP"};
  lists.PairedReferences = {"PR1.CHP", "PR2.CHP"};
  const ExtractionRunResult result = Run(lists, progress);

  const std::vector<std::tuple<std::string, ExtractionMode, std::string>> expected = {
      {"T1.CHP", kExtractUnpairedTest, ""},          {"T2.CHP", kExtractUnpairedTest, ""},
      {"R1.CHP", kExtractUnpairedReference, ""},     {"PR1.CHP", kExtractPairedReference, "PT1.CHP"},
      {"PT1.CHP", kExtractPairedTest, "PR1.CHP"},    {"PR2.CHP", kExtractPairedReference, "PT2.CHP"},
      {"PT2.CHP", kExtractPairedTest, "PR2.CHP"},
  };
  ASSERT_EQ(extracted_.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(extracted_[i].file, std::get<0>(expected[i]));
    EXPECT_EQ(extracted_[i].mode, std::get<1>(expected[i]));
    EXPECT_EQ(extracted_[i].partner, std::get<2>(expected[i]));
  }
  EXPECT_EQ(result.StoredCount(), 7);
  EXPECT_FALSE(result.Cancelled);
  EXPECT_EQ(lists.ItemCount(), 5u);
}

TEST_F(ExtractRunTest, ProgressShowsOneThenTheShareDoneBeforeEachItem) {
  RecordingProgress progress;
  ExtractionLists lists;
  lists.NonPairedTests = {"A.CHP", "B.CHP", "C.CHP"};
  lists.PairedTests = {"T.CHP"};
  lists.PairedReferences = {"N.CHP"};
  Run(lists, progress);
  const std::vector<std::string> expected = {
      "pos 1",  "Extracting non-paired test file A.CHP", "pos 0",
      "Extracting non-paired test file B.CHP",  "pos 33",
      "Extracting non-paired test file C.CHP",  "pos 66",
      "pos 1",  // the empty reference list
      "pos 1",  "Extracting paired files T.CHP and N.CHP", "pos 0",
  };
  EXPECT_EQ(progress.events, expected);
}

TEST_F(ExtractRunTest, CancelLetsTheCurrentItemFinishAndStartsNoOther) {
  struct Case {
    int cancelAfter;
    std::vector<std::string> files;
  } const kCases[] = {
      {1, {"T1.CHP"}},
      {2, {"T1.CHP", "R1.CHP"}},
      {3, {"T1.CHP", "R1.CHP", "PR1.CHP", "PT1.CHP"}},  // a pair is one item
      {4, {"T1.CHP", "R1.CHP", "PR1.CHP", "PT1.CHP", "PR2.CHP", "PT2.CHP"}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.cancelAfter);
    extracted_.clear();
    RecordingProgress progress(c.cancelAfter);
    ExtractionLists lists;
    lists.NonPairedTests = {"T1.CHP"};
    lists.NonPairedReferences = {"R1.CHP"};
    lists.PairedTests = {"PT1.CHP", "PT2.CHP"};
    lists.PairedReferences = {"PR1.CHP", "PR2.CHP"};
    const ExtractionRunResult result = Run(lists, progress);
    std::vector<std::string> files;
    for (const Extracted& e : extracted_) files.push_back(e.file);
    EXPECT_EQ(files, c.files);
    EXPECT_EQ(result.Cancelled, c.cancelAfter < 4);
  }
}

TEST_F(ExtractRunTest, FailuresAreCollectedIntoOneSummary) {
  RecordingProgress progress;
  ExtractionLists lists;
  lists.NonPairedTests = {"bad1.CHP", "good.CHP"};
  lists.PairedTests = {"T.CHP"};
  lists.PairedReferences = {"bad2.CHP"};
  const ExtractionRunResult result = Run(lists, progress);
  EXPECT_EQ(result.StoredCount(), 2);
  EXPECT_EQ(result.FailedCount(), 2);
  EXPECT_EQ(result.FailureSummary(),
            "2 of 4 files could not be extracted:\n"
            "bad1.CHP: Cel file not found\n    Cel file name should not be modified\n"
            "bad2.CHP: Cel file not found\n    Cel file name should not be modified");
}

// A stored sample whose calls were made from its cells: `called` of 60 SNPs.
ExtractionResult CalledSample(const std::string& name, int called, bool replaced = false) {
  ExtractionResult r;
  r.Stored = true;
  r.SampleName = name;
  r.Replaced = replaced;
  r.SnpCount = 60;
  r.CalledSnps = called;
  if (called == 0) r.NoCallReason = "no standard deviations in the CEL file (a compact CEL file keeps none)";
  return r;
}

TEST(ExtractRunSummaryTest, TheStatusBarSaysHowManyGotCallsAndTheReportGivesEachSample) {
  const std::string folder = "/home/user/qova-demo/ArrayData/";
  struct Case {
    const char* what;
    std::vector<ExtractionResult> results;
    bool cancelled;
    std::string status;  // after "... samples into <folder>"
    std::string report;
  };
  ExtractionResult failed;
  failed.Message = "Cel file not found";
  ExtractionResult fromChp;
  fromChp.Stored = true;
  fromChp.SampleName = "T1";
  std::vector<ExtractionResult> nine;
  for (int k = 0; k < 9; ++k) nine.push_back(CalledSample("Sample0" + std::to_string(k), k % 3 == 0 ? 0 : 50 + k, true));
  std::string nineReport = "SNPs called per sample:";
  for (const ExtractionResult& r : nine) {
    nineReport += "\n" + r.SampleName + (r.CalledSnps > 0 ? " " + std::to_string(r.CalledSnps) + " of 60"
                                                          : " none: " + r.NoCallReason);
  }
  const Case cases[] = {
      {"calls from a CHP file", {fromChp, failed}, false, "", ""},
      {"every sample called", {CalledSample("A", 58), CalledSample("B", 60)}, false, "; SNPs called in every sample",
       ""},
      {"one got none",
       {CalledSample("A", 58), CalledSample("REF03", 0), failed},
       false,
       "; SNPs called in 1 sample, none in REF03",
       "SNPs called per sample:\nA 58 of 60\nREF03 none: no standard deviations in the CEL file (a compact CEL file "
       "keeps none)"},
      {"two got none, one replaced",
       {CalledSample("A", 0, true), CalledSample("B", 0), CalledSample("C", 7)},
       false,
       ", 1 replaced (attributes kept); SNPs called in 1 sample, none in A and B",
       "SNPs called per sample:\nA none: no standard deviations in the CEL file (a compact CEL file keeps none)\n"
       "B none: no standard deviations in the CEL file (a compact CEL file keeps none)\nC 7 of 60"},
      {"three of nine got none, all replaced", nine, false,
       ", 9 replaced (attributes kept); SNPs called in 6 samples, none in 3", nineReport},
      {"cancelled", {CalledSample("A", 0)}, true, "; SNPs called in 0 samples, none in A",
       "SNPs called per sample:\nA none: no standard deviations in the CEL file (a compact CEL file keeps none)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ExtractionRunResult result;
    result.Results = c.results;
    result.FileNames.assign(c.results.size(), "X.CEL");
    result.ListedCount = 9;
    result.Cancelled = c.cancelled;
    const std::string stored = std::to_string(result.StoredCount());
    const std::string start = c.cancelled ? "Cancelled after " + std::to_string(c.results.size()) + " of 9 samples; " +
                                                stored + " extracted into " + folder
                                          : "Extracted " + stored + " of 9 samples into " + folder;
    const std::string status = result.StatusSummary(folder);
    EXPECT_EQ(status, start + c.status);
    // One line that the status bar shows whole at 1024 pixels, however many
    // samples got none and whatever their reasons.
    EXPECT_EQ(status.find('\n'), std::string::npos);
    EXPECT_LE(status.size() - folder.size(), 110u) << status;
    EXPECT_EQ(result.CallsReport(), c.report);
  }
}

TEST_F(ExtractRunTest, UnequalPairListsRunOnlyTheirCommonPart) {
  RecordingProgress progress;
  ExtractionLists lists;
  lists.PairedTests = {"T1.CHP", "T2.CHP"};
  lists.PairedReferences = {"N1.CHP"};
  Run(lists, progress);
  ASSERT_EQ(extracted_.size(), 2u);
  EXPECT_EQ(extracted_[0].file, "N1.CHP");
  EXPECT_EQ(extracted_[1].file, "T1.CHP");
}

}  // namespace
