// Whole analyses in the document's call orders, on generated samples, down to
// the stored files and what sampledump reads from them.
#include <algorithm>

#include "platform/Paths.h"
#include "tests/analysis/AnalysisDriver.h"
#include "tests/analysis/AnalysisTestSupport.h"
#include "tests/core/SampleBytes.h"

namespace qova::test {
namespace {

constexpr int kFamily = 0;

class DriverTest : public AnalysisTest {
 protected:
  static std::int32_t Start(int c) { return qova::core::kArrayChromosomeStarts[kSmallTypeIndex][c]; }

  void SetUp() override {
    ASSERT_TRUE(platform::CreateFolders(ResultFolder()));
    samplegen::StudySpec spec;
    spec.ArrayType = kSmallType;
    spec.Seed = 13;
    spec.NonSelfReferences = 5;
    spec.Segments = {samplegen::CopyNeutralLohSegment(2, Start(2) + 100, Start(2) + 599),
                     samplegen::CopyNumberSegment(3, Start(3) + 200, Start(3) + 499, 1),
                     samplegen::CopyNumberSegment(5, Start(5) + 100, Start(5) + 399, 3)};
    study_ = WriteStudy(spec);
    test_ = LoadSample(study_.Test.Name);
  }

  std::string ResultFolder() const { return Root() + "Results/"; }
  AnalysisDriver Driver() const { return AnalysisDriver(global_, ArrayFolder(), ResultFolder()); }

  static std::string Dump(const std::string& path) {
    int status = -1;
    const std::string out = RunSampleDump("'" + platform::NativePath(path) + "' --snps 3", status);
    EXPECT_EQ(status, 0) << path;
    return "\n" + out;
  }
  static bool HasLine(const std::string& dump, const std::string& line) {
    return dump.find("\n" + line + "\n") != std::string::npos;
  }

  // Share of the valid SNPs of chromosome c's offsets from..to in `state`.
  double ShareInState(const CAnalyzedData& a, int c, std::int32_t from, std::int32_t to, int state) const {
    int valid = 0, in = 0;
    for (std::int32_t i = Start(c) + from; i <= Start(c) + to; ++i) {
      if (a.ValidFlag[i] == 0) continue;
      ++valid;
      in += a.CopyNumberState[i] == state;
    }
    return valid == 0 ? 0.0 : double(in) / valid;
  }

  static bool HasRegionOn(const MarkerRegionList& regions, int chromosome, std::int32_t kind) {
    return std::any_of(regions.begin(), regions.end(),
                       [&](const MarkerRegion& r) { return r.Chromosome == chromosome && r.Kind == kind; });
  }

  samplegen::Study study_;
  CArrayData test_;
};

TEST_F(DriverTest, SelfAnalysisStoresItsResultAndTheAlleleSegments) {
  const AnalysisDriver driver = Driver();
  CAnalyzedData analyzed;
  ASSERT_EQ(driver.SelfAnalysis(test_, Annotation(kFamily), analyzed), 0);
  EXPECT_GT(ShareInState(analyzed, 3, 200, 499, 1), 0.95);
  EXPECT_GT(ShareInState(analyzed, 5, 100, 399, 3), 0.95);
  EXPECT_GT(analyzed.SampleSD, 0.0f);
  EXPECT_NEAR(analyzed.MeanState, 2.0f, 0.05f);

  const std::string result = driver.ResultPath("Test01", AnalysisKind::Self);
  CAnalyzedData stored;
  stored.LoadFileAllocating(result);
  EXPECT_EQ(stored.CopyNumberState, analyzed.CopyNumberState);
  EXPECT_EQ(stored.AlleleStateB, analyzed.AlleleStateB);
  EXPECT_EQ(stored.SampleSD, analyzed.SampleSD);
  const std::string dump = Dump(result);
  for (const char* line : {"kind: analysed sample", "FileKind: .CFS", "IsSelf: 1", "SampleName: Test01",
                           "SnpRecords: 11560"}) {
    EXPECT_TRUE(HasLine(dump, line)) << line << dump;
  }

  // The LOH shows as a gain of one allele with the loss of the other.
  const CArrayData sample = LoadSample("Test01");
  EXPECT_TRUE(HasRegionOn(sample.Markers, 2, 39));
  EXPECT_TRUE(HasLine(Dump(driver.SamplePath("Test01")), "MarkerCount: " + std::to_string(sample.Markers.size())));
}

TEST_F(DriverTest, NonSelfAnalysisStoresTheTotalResultWithLohScores) {
  Setting().NONSELFALLELE = 0;
  const AnalysisDriver driver = Driver();
  CAnalyzedData analyzed;
  ASSERT_EQ(driver.NonSelfAnalysis(test_, Annotation(kFamily), analyzed), 0);
  EXPECT_GT(ShareInState(analyzed, 3, 200, 499, 1), 0.95);
  const float lohInside = *std::max_element(analyzed.LohLikelihood.begin() + Start(2) + 100,
                                            analyzed.LohLikelihood.begin() + Start(2) + 600);
  EXPECT_GT(lohInside, 10.0f);

  const std::string dump = Dump(driver.ResultPath("Test01", AnalysisKind::NonSelf));
  EXPECT_TRUE(HasLine(dump, "FileKind: .CFN")) << dump;
  EXPECT_TRUE(HasLine(dump, "IsSelf: 0")) << dump;
  EXPECT_FALSE(platform::FileExists(driver.ResultPath("Test01", AnalysisKind::NonSelfAllele)));
}

TEST_F(DriverTest, AlleleSpecificNonSelfAnalysisWithAutoAiMarksTheImbalance) {
  Setting().NONSELFALLELE = 1;
  Setting().AUTOAI = 1;
  const AnalysisDriver driver = Driver();
  CAnalyzedData analyzed;
  ASSERT_EQ(driver.NonSelfAnalysis(test_, Annotation(kFamily), analyzed), 0);
  EXPECT_GT(ShareInState(analyzed, 5, 100, 399, 3), 0.95);

  const std::string dump = Dump(driver.ResultPath("Test01", AnalysisKind::NonSelfAllele));
  EXPECT_TRUE(HasLine(dump, "FileKind: .CFA")) << dump;
  const CArrayData sample = LoadSample("Test01");
  // The planted LOH lies inside the imbalance regions.
  int covered = 0;
  for (std::int32_t i = Start(2) + 100; i <= Start(2) + 599; ++i) {
    covered += std::any_of(sample.Markers.begin(), sample.Markers.end(), [&](const MarkerRegion& r) {
      return r.Kind == 32 + Setting().MARKAI && r.FirstSnp <= i && i <= r.LastSnp;
    });
  }
  EXPECT_GT(covered, 450);
}

TEST_F(DriverTest, FailedNormalisationStoresNothing) {
  test_.Header.NonSelfReferenceCount = 0;
  const AnalysisDriver driver = Driver();
  CAnalyzedData analyzed;
  EXPECT_EQ(driver.NonSelfAnalysis(test_, Annotation(kFamily), analyzed), 1);
  EXPECT_FALSE(platform::FileExists(driver.ResultPath("Test01", AnalysisKind::NonSelf)));
  test_.Header.SelfReference = "Gone";
  EXPECT_EQ(driver.SelfAnalysis(test_, Annotation(kFamily), analyzed), 1);
  EXPECT_FALSE(platform::FileExists(driver.ResultPath("Test01", AnalysisKind::Self)));
}

}  // namespace
}  // namespace qova::test
