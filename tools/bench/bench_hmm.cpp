// The copy-number analysis at the size of the largest arrays in use: the
// total HMM over a whole GenomeWideSNP_5 sample (500,446 SNPs) under each
// emission model, and a full non-self analysis of one such sample against
// ten references: reading the sample, normalising against each reference
// with its fragment-length and GC fits, the HMMs, the LOH score, SD and mean
// state, and storing the result and the sample.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>

#include "analysis/Analysis.h"
#include "core/AnalyzedData.h"
#include "core/ArrayData.h"
#include "core/GlobalData.h"
#include "platform/Paths.h"
#include "tests/analysis/AnalysisDriver.h"
#include "tools/datagen/DataGen.h"
#include "tools/samplegen/SampleGen.h"

namespace core = qova::core;

namespace {

constexpr int kFamily = 6;  // GenomeWideSNP_5
constexpr int kReferences = 10;

// A study of one test sample, its normal sample and ten references written
// once into a temporary drive root, with the self-normalised test in memory.
class Study {
 public:
  Study() {
    char pattern[] = "/tmp/qova-bench-hmm-XXXXXX";
    if (mkdtemp(pattern) == nullptr) std::abort();
    root_ = std::string(pattern) + "/";
    setenv("QOVA_HOME", root_.c_str(), 1);
    setenv("QOVA_CONFIG_HOME", root_.c_str(), 1);
    if (!platform::CreateFolders(ArrayFolder()) || !platform::CreateFolders(ResultFolder())) std::abort();

    annotation_ = datagen::MakeAnnotation(kFamily);
    global_ = std::make_unique<CGlobalData>();
    samplegen::StudySpec spec;
    spec.ArrayType = "GenomeWideSNP_5";
    spec.Seed = 3;
    spec.NonSelfReferences = kReferences;
    const std::int32_t chr3 = core::kArrayChromosomeStarts[12][3];
    spec.Segments = {samplegen::CopyNumberSegment(3, chr3 + 1000, chr3 + 9000, 1),
                     samplegen::CopyNeutralLohSegment(5, core::kArrayChromosomeStarts[12][5] + 2000,
                                                      core::kArrayChromosomeStarts[12][5] + 7000)};
    samplegen::WriteStudy(ArrayFolder(), annotation_, spec);

    CArrayData test;
    test.LoadFile(ArrayFolder() + "Test01.CFH");
    selfNormalized_ = CAnalyzedData(test, AnalysisKind::Self);
    selfNormalized_.IsSelf = true;
    CAnalysis engine(*global_);
    engine.ArrayDataFolder = ArrayFolder();
    if (engine.NormalizeBySelfReference(test, annotation_, selfNormalized_) != 0) std::abort();
  }
  ~Study() { std::filesystem::remove_all(root_); }

  std::string ArrayFolder() const { return root_ + "ArrayData/"; }
  std::string ResultFolder() const { return root_ + "Results/"; }
  CGlobalData& Global() { return *global_; }
  const CBasicData& Annotation() const { return annotation_; }
  const CAnalyzedData& SelfNormalized() const { return selfNormalized_; }

 private:
  std::string root_;
  CBasicData annotation_;
  std::unique_ptr<CGlobalData> global_;
  CAnalyzedData selfNormalized_;
};

Study& TheStudy() {
  static Study study;
  return study;
}

// range(0): 0 log-F, 1 normal emission.
void TotalHmm(benchmark::State& state) {
  Study& study = TheStudy();
  study.Global().ProgramSetting->UseNormalDistribution = static_cast<int>(state.range(0));
  CAnalyzedData analyzed = study.SelfNormalized();
  CAnalysis engine(study.Global());
  for (auto _ : state) {
    if (engine.RunTotalCopyNumberHMM(analyzed, study.Annotation()) != 0) state.SkipWithError("not decoded");
    benchmark::DoNotOptimize(analyzed.CopyNumberState.data());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(analyzed.LogRatio.size()));
}
BENCHMARK(TotalHmm)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// range(0): the allele-specific switch (0: .CFN with the LOH score; 1: .CFA
// with both allele HMMs and the AI/LOH/UPD cascade).
void NonSelfAnalysis(benchmark::State& state) {
  Study& study = TheStudy();
  CProgramSetting& setting = *study.Global().ProgramSetting;
  setting.UseNormalDistribution = 0;
  setting.NONSELFALLELE = static_cast<int>(state.range(0));
  setting.AUTOAI = setting.NONSELFALLELE;
  const qova::test::AnalysisDriver driver(study.Global(), study.ArrayFolder(), study.ResultFolder());
  CAnalyzedData analyzed;
  for (auto _ : state) {
    CArrayData test;
    test.LoadFile(driver.SamplePath("Test01"));
    if (driver.NonSelfAnalysis(test, study.Annotation(), analyzed) != 0) state.SkipWithError("not analysed");
  }
}
// Several runs of each: one run, as half a second allows, moves by a tenth
// from one table to the next.
BENCHMARK(NonSelfAnalysis)->Arg(0)->Arg(1)->MinTime(3.0)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
