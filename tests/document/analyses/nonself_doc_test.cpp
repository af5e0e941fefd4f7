// The non-self analysis of the main document: against the references the
// sample's header lists, stored as .CFN (or .CFA with the allele-specific
// switch) before the .CFH; a failure stores nothing, logs its reason and says so.
#include "tests/document/DocumentTestSupport.h"

namespace qova::test {
namespace {

class NonSelfAnalysisTest : public DocumentTest {};

struct ModeCase {
  int alleleSpecific;
  int autoAi;
  const char* written;
  const char* notWritten;
};

class NonSelfModeTest : public NonSelfAnalysisTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(NonSelfModeTest, WritesTheResultOfTheModeThenTheSample) {
  const ModeCase& c = GetParam();
  Setting().NONSELFALLELE = c.alleleSpecific;
  Setting().AUTOAI = c.autoAi;
  samplegen::StudySpec spec = Study(3, false);
  spec.Segments = {samplegen::CopyNumberSegment(2, 1000, 1500, 3)};
  WriteStudy(spec);
  StoreSpy spy("Test01", false);

  Doc().RunSampleAction("Test01", kActionNonSelfAnalysis);
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(spy.events, (std::vector<std::string>{"result Test01", "sample Test01"}));
  ASSERT_TRUE(Exists(ResultPath(std::string("Test01") + c.written)));
  EXPECT_FALSE(Exists(ResultPath(std::string("Test01") + c.notWritten)));
  EXPECT_FALSE(Exists(ResultPath("Test01.CFS")));

  CAnalyzedData stored;
  stored.LoadFileAllocating(ResultPath(std::string("Test01") + c.written));
  EXPECT_FALSE(stored.IsSelf);
  EXPECT_FALSE(stored.Header.SelfAnalyzed);
  EXPECT_FALSE(stored.Header.Combined);
  EXPECT_EQ(stored.Header.NonSelfReferenceCount, 3);
  int gained = 0;
  for (std::int32_t i = 1100; i <= 1400; ++i) gained += stored.CopyNumberState[i] == 3 ? 1 : 0;
  EXPECT_GT(gained, 180);
  EXPECT_TRUE(std::any_of(stored.LohLikelihood.begin(), stored.LohLikelihood.end(), [](float v) { return v != 0; }));
  if (c.alleleSpecific) {
    EXPECT_TRUE(std::any_of(stored.AlleleStateA.begin(), stored.AlleleStateA.end(), [](int s) { return s != 0; }));
  }
  EXPECT_EQ(Doc().Status, kStatusAnalysis);
  EXPECT_FALSE(Doc().AnalyzedData.IsSelf);
}

INSTANTIATE_TEST_SUITE_P(Modes, NonSelfModeTest,
                         ::testing::Values(ModeCase{0, 0, ".CFN", ".CFA"}, ModeCase{1, 0, ".CFA", ".CFN"},
                                           ModeCase{1, 1, ".CFA", ".CFN"}));

// The two-state models of the allele-specific mode add their regions to the
// stored sample only when AUTOAI is on.
TEST_F(NonSelfAnalysisTest, TheTwoStateModelsRunOnlyWithAutoAi) {
  Setting().NONSELFALLELE = 1;
  samplegen::StudySpec spec = Study(3, false);
  spec.Segments = {samplegen::CopyNeutralLohSegment(3, 1900, 2500)};
  WriteStudy(spec);
  const auto regionKinds = [&] {
    std::vector<int> kinds;
    for (const MarkerRegion& region : LoadSample("Test01").Markers) kinds.push_back(region.Kind);
    return kinds;
  };
  Setting().AUTOAI = 0;
  Doc().RunSampleAction("Test01", kActionNonSelfAnalysis);
  const std::vector<int> without = regionKinds();
  Setting().AUTOAI = 1;
  Doc().RunSampleAction("Test01", kActionNonSelfAnalysis);
  const std::vector<int> with = regionKinds();
  EXPECT_TRUE(without.empty());
  EXPECT_FALSE(with.empty());
}

TEST_F(NonSelfAnalysisTest, NoReferencesGiveNoFileALogLineAndAMessage) {
  WriteStudy(0, true);
  const std::string before = Bytes(SamplePath("Test01"));
  Doc().RunSampleAction("Test01", kActionNonSelfAnalysis);

  EXPECT_FALSE(Exists(ResultPath("Test01.CFN")));
  EXPECT_FALSE(Exists(ResultPath("Test01.CFA")));
  EXPECT_EQ(Bytes(SamplePath("Test01")), before);
  EXPECT_EQ(ErrorLogLines(), std::vector<std::string>{"The reference is not selected for test sample Test01"});
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].rfind("The non-self analysis of Test01 failed", 0), 0u) << Messages()[0];
  EXPECT_EQ(Doc().Status, kStatusClean);
  EXPECT_EQ(Doc().ArrayData.Header.SampleName, "");
}

TEST_F(NonSelfAnalysisTest, AFailureKeepsTheShownSampleAndResult) {
  WriteStudy(2, true);
  Doc().RunSampleAction("Test01", kActionNonSelfAnalysis);
  ASSERT_EQ(Doc().Status, kStatusAnalysis);
  WriteStudy(Study(0, false, "Test02"));
  Doc().RunSampleAction("Test02", kActionNonSelfAnalysis);
  EXPECT_EQ(Doc().Status, kStatusAnalysis);
  EXPECT_EQ(Doc().ArrayData.Header.SampleName, "Test01");
  EXPECT_EQ(Doc().AnalyzedData.Header.SampleName, "Test01");
}

TEST_F(NonSelfAnalysisTest, AnAnnotationTableThatIsNotLoadedIsReported) {
  samplegen::StudySpec spec = Study(1, false);
  WriteStudy(spec);
  global_.BasicData[kSmallFamily].Allocate(0, 0);
  Doc().RunSampleAction("Test01", kActionNonSelfAnalysis);
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0].find("annotation table"), std::string::npos);
  EXPECT_FALSE(Exists(ResultPath("Test01.CFN")));
}

}  // namespace
}  // namespace qova::test
