// The LOH likelihood from the test sample's own calls, with and without the
// linkage-disequilibrium table.
#include <cmath>

#include "tests/analysis/AnalysisTestSupport.h"

namespace core = qova::core;

namespace qova::test {
namespace {

class LohLikelihoodTest : public AnalysisTest {
 protected:
  // An analysed sample of `type` whose every call is heterozygous; tests then
  // write their pattern over it.
  CAnalyzedData Sample(int type) {
    CArrayData sample("S", core::kArrayTypes[type].name, global_.TypeInfo(type), CTime(0));
    CAnalyzedData analyzed = AnalyzedFor(sample, false);
    std::fill(analyzed.CallTest.begin(), analyzed.CallTest.end(), kCallAB);
    return analyzed;
  }
  void Calls(CAnalyzedData& analyzed, std::int32_t from, std::int32_t count, int call) {
    std::fill(analyzed.CallTest.begin() + from, analyzed.CallTest.begin() + from + count, call);
  }
  std::vector<float> Score(CAnalyzedData& analyzed, int type, float uniformH = 0.5f) {
    auto engine = Engine();
    if (uniformH > 0) engine->SetUniformHeterozygosity(uniformH);
    engine->AnalyzeLOHWithLD(analyzed, Annotation(core::kArrayTypes[type].family));
    return analyzed.LohLikelihood;
  }
  static std::int32_t Start(int type, int chromosome) { return core::kArrayChromosomeStarts[type][chromosome]; }

  // Terms at h = 0.5 for a call error e.
  static double Homozygous(double e) { return std::log(1 - e) - std::log(0.5); }
};

constexpr int k10K = 0, k50KHind = 2, k50KXba = 3, k50KCombined = 4, kAgilent = 11;

TEST_F(LohLikelihoodTest, HomozygousRunScoresLinearlyUpToItsLastSnp) {
  CAnalyzedData analyzed = Sample(k50KHind);
  Calls(analyzed, 0, 10, kCallA);
  const std::vector<float> score = Score(analyzed, k50KHind);
  const double expected = 10 * Homozygous(0.001);
  EXPECT_NEAR(Homozygous(0.001), 0.692, 5e-4);
  for (int i = 0; i < 10; ++i) EXPECT_NEAR(score[i], expected, 1e-4) << i;
  EXPECT_EQ(score[10], 0.0f);
  EXPECT_EQ(score[11], 0.0f);
}

TEST_F(LohLikelihoodTest, DenseArraysScoreOneFifth) {
  CAnalyzedData analyzed = Sample(kAgilent);
  Calls(analyzed, 0, 10, kCallB);
  const std::vector<float> score = Score(analyzed, kAgilent);
  for (int i = 0; i < 10; ++i) EXPECT_NEAR(score[i], 10 * Homozygous(0.003) / 5, 1e-4) << i;
}

// hom x 20, het, het, hom x 20: the second heterozygous call follows the
// first directly and counts six times, which ends the first stretch; counted
// once, the stretch would run on through the second run.
TEST_F(LohLikelihoodTest, NeighbouringHeterozygousCallCountsSixTimes) {
  for (int type : {k10K, k50KHind}) {
    SCOPED_TRACE(type);
    CAnalyzedData analyzed = Sample(type);
    Calls(analyzed, 0, 20, kCallA);
    Calls(analyzed, 22, 20, kCallB);
    const std::vector<float> score = Score(analyzed, type);
    const double run = 20 * Homozygous(0.001);
    EXPECT_NEAR(score[0], run, 1e-3);
    EXPECT_NEAR(score[19], run, 1e-3);
    EXPECT_EQ(score[20], 0.0f);
    EXPECT_EQ(score[21], 0.0f);
    EXPECT_NEAR(score[22], run, 1e-3);
    EXPECT_NEAR(score[41], run, 1e-3);
  }
}

TEST_F(LohLikelihoodTest, StretchesStopAtTheEndOfTheirChromosome) {
  CAnalyzedData analyzed = Sample(k50KHind);
  const std::int32_t chr2 = Start(k50KHind, 2);
  Calls(analyzed, chr2 - 5, 10, kCallA);
  const std::vector<float> score = Score(analyzed, k50KHind);
  EXPECT_NEAR(score[chr2 - 5], 5 * Homozygous(0.001), 1e-4);
  EXPECT_NEAR(score[chr2], 5 * Homozygous(0.001), 1e-4);
}

// Without a uniform value the heterozygosity comes from the annotation, for
// the combined types through the sort order.
TEST_F(LohLikelihoodTest, HeterozygosityIsReadFromTheAnnotationRowOfTheSnp) {
  const CBasicData& basic = Annotation(2);
  // A SNP whose row differs between the plain and the sorted reading.
  std::int32_t snp = 1;
  while (basic.IndexMap[basic.SortMap[snp]] == basic.IndexMap[snp]) ++snp;
  ASSERT_LT(snp, Start(k50KHind, 2));
  for (int type : {k50KHind, k50KCombined}) {
    SCOPED_TRACE(type);
    CAnalyzedData analyzed = Sample(type);
    Calls(analyzed, snp, 1, kCallA);
    const std::vector<float> score = Score(analyzed, type, 0.0f);
    const std::int32_t row = type == k50KCombined ? basic.IndexMap[basic.SortMap[snp]] : basic.IndexMap[snp];
    const double h = basic.Heterozygosity[row];
    const double e = 0.001;
    EXPECT_NEAR(score[snp], std::log(1 - e) - std::log(1 - h - e + 2 * h * e), 1e-5);
  }
}

// SNPs that add exactly nothing (population heterozygosity 0) still extend the
// stretch: a tie with the best sum moves its end forward.
TEST_F(LohLikelihoodTest, ZeroTermsAfterTheBestSumJoinTheStretch) {
  CBasicData basic = Annotation(2);
  for (std::int32_t i = 0; i < 7; ++i) basic.Heterozygosity[basic.IndexMap[i]] = i < 5 ? 0.5f : 0.0f;
  CAnalyzedData analyzed = Sample(k50KHind);
  Calls(analyzed, 0, 7, kCallA);
  Engine()->AnalyzeLOHWithLD(analyzed, basic);
  for (std::int32_t i = 0; i < 7; ++i) EXPECT_NEAR(analyzed.LohLikelihood[i], 5 * Homozygous(0.001), 1e-4) << i;
  EXPECT_EQ(analyzed.LohLikelihood[7], 0.0f);
}

class LdLohLikelihoodTest : public LohLikelihoodTest {
 protected:
  void SetUp() override { Setting().UseLDForLOH = 1; }
  std::int32_t SnpsOfType() const { return Start(k50KXba, 24) - Start(k50KXba, 1); }
  void WriteLdTable(std::int32_t lines) {
    std::string text;
    for (std::int32_t k = 0; k < lines; ++k) text += "0.4\t0.2\t0.7\n";
    ASSERT_TRUE(platform::CreateFolders(Root() + "QOVA/LOHLH"));
    ASSERT_TRUE(platform::WriteWholeFile(Root() + "QOVA/LOHLH/LDdata.txt", text));
  }
};

TEST_F(LdLohLikelihoodTest, LinkageTableCarriesTheHeterozygousChanceAlongTheStretch) {
  WriteLdTable(SnpsOfType());
  CAnalyzedData analyzed = Sample(k50KXba);
  const std::int32_t first = Start(k50KXba, 1);
  Calls(analyzed, first, 2, kCallA);
  const std::vector<float> score = Score(analyzed, k50KXba, 0.0f);

  // Two homozygous calls, then a heterozygous one that ends the stretch.
  double prior = 0.4;
  double sum = 0;
  for (int k = 0; k < 2; ++k) {
    const double evidence = prior * 0.001 + (1 - prior) * 0.999;
    sum += std::log(0.999) - std::log(evidence);
    const double q = prior * 0.001 / evidence;
    prior = 0.2 * (1 - q) + 0.7 * q;
  }
  EXPECT_NEAR(score[first], sum, 1e-5);
  EXPECT_NEAR(score[first + 1], sum, 1e-5);
  EXPECT_EQ(score[first + 2], 0.0f);
  EXPECT_TRUE(ErrorLogLines().empty());
}

TEST_F(LdLohLikelihoodTest, MissingOrShortTableFallsBackToTheStandardScoreWithALogLine) {
  for (std::int32_t lines : {-1, 10}) {
    SCOPED_TRACE(lines);
    platform::RemoveFile(Root() + "errorlog.txt");
    if (lines >= 0) WriteLdTable(lines);
    CAnalyzedData analyzed = Sample(k50KXba);
    const std::int32_t first = Start(k50KXba, 1);
    Calls(analyzed, first, 10, kCallA);
    const std::vector<float> score = Score(analyzed, k50KXba);
    EXPECT_NEAR(score[first], 10 * Homozygous(0.001), 1e-4);
    ASSERT_EQ(ErrorLogLines().size(), 1u);
    EXPECT_NE(ErrorLogLines()[0].find("LDdata.txt"), std::string::npos);
  }
}

}  // namespace
}  // namespace qova::test
