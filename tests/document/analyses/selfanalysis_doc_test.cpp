// The self analysis of the main document: against the paired normal sample,
// stored as <name>.CFS before the sample's .CFH, taken into the document only
// when it succeeded.
#include "document/DocumentCommands.h"
#include "tests/document/DocumentTestSupport.h"

namespace qova::test {
namespace {

namespace cmd = qova::document::command;

class SelfAnalysisTest : public DocumentTest {
 protected:
  // Test01 with a loss on chromosome 1 (position indexes 200..600).
  void WriteStudyWithLoss(const char* testName = "Test01") {
    samplegen::StudySpec spec = Study(2, true, testName);
    spec.Segments = {samplegen::CopyNumberSegment(1, 200, 600, 1)};
    WriteStudy(spec);
  }
  // Share of the SNPs first..last whose total state is `state`.
  double ShareInState(const CAnalyzedData& result, std::int32_t first, std::int32_t last, int state) {
    int hits = 0;
    for (std::int32_t i = first; i <= last; ++i) hits += result.CopyNumberState[i] == state ? 1 : 0;
    return double(hits) / (last - first + 1);
  }
};

TEST_F(SelfAnalysisTest, StoresTheResultBeforeTheSampleWithTheSelfFlags) {
  WriteStudyWithLoss();
  StoreSpy spy("Test01", true);
  Doc().RunSampleAction("Test01", kActionSelfAnalysis);

  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(spy.events, (std::vector<std::string>{"result Test01", "sample Test01"}));
  ASSERT_TRUE(Exists(ResultPath("Test01.CFS")));
  EXPECT_FALSE(Exists(ResultPath("Test01.CFN")));
  CAnalyzedData stored;
  stored.LoadFileAllocating(ResultPath("Test01.CFS"));
  EXPECT_TRUE(stored.IsSelf);
  EXPECT_TRUE(stored.Header.SelfAnalyzed);
  EXPECT_FALSE(stored.Header.Combined);
  EXPECT_EQ(stored.Header.SampleName, "Test01");
  EXPECT_EQ(stored.AnalysisArrayType, kSmallType);
  EXPECT_GT(stored.SampleSD, 0.0f);
  // The models ran: the planted loss is called as one copy.
  EXPECT_GT(ShareInState(stored, 250, 550, 1), 0.8);
  EXPECT_GT(ShareInState(stored, 1000, 3000, 2), 0.8);

  EXPECT_EQ(Doc().Status, kStatusAnalysis);
  EXPECT_EQ(Doc().ArrayData.Header.SampleName, "Test01");
  EXPECT_TRUE(Doc().AnalyzedData.IsSelf);
  EXPECT_EQ(Doc().AnalyzedData.CopyNumberState[300], stored.CopyNumberState[300]);
  // The document's arrays keep their full capacity.
  EXPECT_EQ(Doc().AnalyzedData.LogRatio.size(), std::size_t(CQOVADoc::kSampleCapacity));
  EXPECT_EQ(Doc().ArrayData.Capacity(), CQOVADoc::kSampleCapacity);
  // The stored sample carries the regions the analysis added.
  EXPECT_EQ(LoadSample("Test01").Markers, Doc().ArrayData.Markers);
}

TEST_F(SelfAnalysisTest, ASampleWithoutSelfReferenceIsRefusedAndChangesNothing) {
  WriteStudy(2, false);
  Doc().RunSampleAction("Test01", kActionSelfAnalysis);
  EXPECT_EQ(Messages(), std::vector<std::string>{"This sample does not have self reference"});
  EXPECT_FALSE(Exists(ResultPath("Test01.CFS")));
  EXPECT_EQ(Doc().Status, kStatusClean);
  EXPECT_EQ(Doc().ArrayData.Header.SampleName, "");
}

// A failure keeps what the document showed: never a new sample beside an old
// result.
TEST_F(SelfAnalysisTest, AFailureKeepsTheShownSampleAndResult) {
  WriteStudyWithLoss();
  Doc().RunSampleAction("Test01", kActionSelfAnalysis);
  ASSERT_EQ(Doc().Status, kStatusAnalysis);
  const std::vector<float> shown(Doc().AnalyzedData.LogRatio.begin(), Doc().AnalyzedData.LogRatio.begin() + 11560);

  WriteStudyWithLoss("Test02");
  ASSERT_TRUE(platform::RemoveFile(SamplePath("Test02N")));
  const std::string before = Bytes(SamplePath("Test02"));
  Doc().RunSampleAction("Test02", kActionSelfAnalysis);

  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_FALSE(Exists(ResultPath("Test02.CFS")));
  EXPECT_EQ(Bytes(SamplePath("Test02")), before);
  EXPECT_EQ(Doc().Status, kStatusAnalysis);
  EXPECT_EQ(Doc().ArrayData.Header.SampleName, "Test01");
  EXPECT_EQ(Doc().AnalyzedData.Header.SampleName, "Test01");
  EXPECT_TRUE(std::equal(shown.begin(), shown.end(), Doc().AnalyzedData.LogRatio.begin()));
}

// Re-analysis repeats the kind of the shown result.
TEST_F(SelfAnalysisTest, ReanalysisFollowsTheSelfFlagOfTheShownResult) {
  WriteStudyWithLoss();
  Doc().RunSampleAction("Test01", kActionSelfAnalysis);
  ASSERT_TRUE(platform::RemoveFile(ResultPath("Test01.CFS")));
  Run(cmd::kReanalysis);
  EXPECT_TRUE(Exists(ResultPath("Test01.CFS")));
  EXPECT_FALSE(Exists(ResultPath("Test01.CFN")));

  Doc().RunSampleAction("Test01", kActionNonSelfAnalysis);
  ASSERT_TRUE(platform::RemoveFile(ResultPath("Test01.CFS")));
  ASSERT_TRUE(platform::RemoveFile(ResultPath("Test01.CFN")));
  Run(cmd::kReanalysis);
  EXPECT_TRUE(Exists(ResultPath("Test01.CFN")));
  EXPECT_FALSE(Exists(ResultPath("Test01.CFS")));
  EXPECT_TRUE(Messages().empty());
}

TEST_F(SelfAnalysisTest, TheSelfAnalysisCommandAnalysesTheShownSample) {
  WriteStudyWithLoss();
  Doc().RunSampleAction("Test01", kActionNonSelfAnalysis);
  ASSERT_FALSE(Exists(ResultPath("Test01.CFS")));
  Run(cmd::kSelfAnalysis);
  EXPECT_TRUE(Exists(ResultPath("Test01.CFS")));
  EXPECT_TRUE(Doc().AnalyzedData.IsSelf);
}

}  // namespace
}  // namespace qova::test
