// Choosing how many of the ranked candidate references to average.
#include <cmath>
#include <random>

#include "platform/Paths.h"
#include "tests/analysis/AnalysisTestSupport.h"

namespace qova::test {
namespace {

constexpr int kFamily = 0;

class ReferenceCountTest : public AnalysisTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(platform::CreateFolders(ArrayFolder()));
    generator_.emplace(kSmallType, Annotation(kFamily), 21);
    samplegen::SampleSpec spec;
    spec.Name = "T";
    spec.IsTest = true;
    spec.Individual = 1;
    spec.Noise = 0.02f;
    test_ = generator_->Make(spec);
  }

  // A candidate reference of its own individual with its own noise level.
  void MakeCandidate(const std::string& name, std::uint64_t individual, float noise) {
    samplegen::SampleSpec spec;
    spec.Name = name;
    spec.Individual = individual;
    spec.Noise = noise;
    spec.Bias = samplegen::RandomBias(21, name);
    generator_->Make(spec).StoreFile(ArrayFolder() + name + ".CFH");
  }

  // The test's own signals times e^(noise z), z standard normal per SNP.
  void MakeNoisyCopy(const std::string& name, float noise) {
    CArrayData copy = test_;
    copy.Header.SampleName = name;
    copy.Header.IsTest = 0;
    std::mt19937 random(static_cast<unsigned>(name.size() * 7919 + name[0]));
    std::normal_distribution<float> z(0.0f, noise);
    for (std::size_t j = 0; j < copy.SignalA.size(); ++j) {
      const float factor = std::exp(z(random));
      copy.SignalA[j] *= factor;
      copy.SignalB[j] *= factor;
    }
    copy.StoreFile(ArrayFolder() + name + ".CFH");
  }

  int Select(const std::vector<std::string>& names, CAnalyzedData& analyzed) {
    analyzed = AnalyzedFor(test_, false);
    return Engine()->NormalizeForReferenceSelection(test_, analyzed, names, static_cast<int>(names.size()),
                                                    Annotation(kFamily));
  }

  // The SD of the normalisation against the first k names, as the engine
  // reports it.
  float SdWith(const std::vector<std::string>& names, int k) {
    CArrayData test = test_;
    std::string list;
    for (int i = 0; i < k; ++i) list += names[i] + "$";
    test.Header.NonSelfReferences = list;
    test.Header.NonSelfReferenceCount = k;
    CAnalyzedData analyzed = AnalyzedFor(test, false);
    auto engine = Engine();
    EXPECT_EQ(engine->NormalizeByReferences(test, Annotation(kFamily), analyzed), 0);
    return engine->CalcSD(analyzed);
  }

  std::optional<samplegen::SampleGenerator> generator_;
  CArrayData test_;
};

TEST_F(ReferenceCountTest, EqualSdsKeepTheSmallerCount) {
  MakeCandidate("A", 2, 0.1f);
  ASSERT_TRUE(platform::CopyFileTo(ArrayFolder() + "A.CFH", ArrayFolder() + "A2.CFH", false));
  CAnalyzedData analyzed;
  EXPECT_EQ(Select({"A", "A2"}, analyzed), 1);
}

// A noisy second candidate raises the SD; a quiet third brings it below the
// first alone. The candidates are the test itself with noise of a known size
// on each SNP, so the SDs follow from the noise levels: about 0.12, then
// sqrt(0.12^2 + 0.28^2) / 2, then sqrt(0.12^2 + 0.28^2 + 0.01^2) / 3.
TEST_F(ReferenceCountTest, SmallestSdWinsEvenAfterARise) {
  MakeNoisyCopy("Fair", 0.12f);
  MakeNoisyCopy("Noisy", 0.28f);
  MakeNoisyCopy("Quiet", 0.01f);
  const std::vector<std::string> names = {"Fair", "Noisy", "Quiet"};
  const float sd1 = SdWith(names, 1), sd2 = SdWith(names, 2), sd3 = SdWith(names, 3);
  ASSERT_GT(sd2, sd1);
  ASSERT_LT(sd3, sd1);
  CAnalyzedData analyzed;
  EXPECT_EQ(Select(names, analyzed), 3);
}

// Each count is judged by exactly the ratios the normalisation against those
// references gives, and the last one tried stays in the analysed sample.
TEST_F(ReferenceCountTest, LeavesTheRatiosOfTheNormalisationAgainstEveryCandidate) {
  MakeCandidate("R1", 2, 0.1f);
  MakeCandidate("R2", 3, 0.15f);
  MakeCandidate("R3", 4, 0.08f);
  const std::vector<std::string> names = {"R1", "R2", "R3"};
  for (int alleles : {0, 1}) {
    SCOPED_TRACE(alleles ? "allele-specific" : "total");
    Setting().NONSELFALLELE = alleles;
    CAnalyzedData selected;
    Select(names, selected);

    CArrayData test = test_;
    test.Header.NonSelfReferences = "R1$R2$R3$";
    test.Header.NonSelfReferenceCount = 3;
    CAnalyzedData normalized = AnalyzedFor(test, false);
    ASSERT_EQ(Engine()->NormalizeByReferences(test, Annotation(kFamily), normalized), 0);
    EXPECT_EQ(selected.ValidFlag, normalized.ValidFlag);
    for (std::size_t i = 0; i < selected.LogRatio.size(); ++i) {
      if (normalized.ValidFlag[i] == 0) continue;
      ASSERT_FLOAT_EQ(selected.LogRatio[i], normalized.LogRatio[i]) << i;
      if (alleles) {
        ASSERT_FLOAT_EQ(selected.LogRatioB[i], normalized.LogRatioB[i]) << i;
      }
    }
  }
}

TEST_F(ReferenceCountTest, MissingCandidateIsLoggedAndEndsTheTrial) {
  MakeCandidate("Fair", 2, 0.3f);
  MakeCandidate("Quiet", 4, 0.01f);
  CAnalyzedData analyzed;
  EXPECT_EQ(Select({"Fair", "Gone", "Quiet"}, analyzed), 1) << "only the candidates before the gap can be chosen";
  const std::vector<std::string> log = ErrorLogLines();
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0], "The candidate reference Gone does not exist for test sample T");
}

}  // namespace
}  // namespace qova::test
