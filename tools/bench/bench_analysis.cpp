// Normalising a GenomeWideSNP_5 test sample (500,446 SNPs) against 1 and 10
// references, the way the non-self analysis does it: every reference read
// from its .CFH file, its ratios to the test formed, corrected for fragment
// length and GC, and averaged. Reported per reference and per SNP and
// reference; the target is well under 100 ms per reference on one core. The
// self normalisation and the reading of one reference file alone are measured
// beside it, to show where the time goes.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>

#include "analysis/Analysis.h"
#include "core/AnalyzedData.h"
#include "core/ArrayData.h"
#include "core/GlobalData.h"
#include "tools/datagen/DataGen.h"
#include "tools/samplegen/SampleGen.h"

namespace {

constexpr const char* kType = "GenomeWideSNP_5";
constexpr int kFamily = 6;
constexpr int kMaxReferences = 10;

// A drive root with the study written into it, made once for every benchmark.
class Workspace {
 public:
  Workspace() {
    char pattern[] = "/tmp/qova-bench-analysis-XXXXXX";
    if (mkdtemp(pattern) == nullptr) std::abort();
    root_ = pattern;
    // The engine's error log and every mapped path stay inside the workspace.
    setenv("QOVA_HOME", root_.c_str(), 1);
    folder_ = root_ + "/ArrayData/";
    annotation_ = datagen::MakeAnnotation(kFamily);
    samplegen::StudySpec spec;
    spec.ArrayType = kType;
    spec.NonSelfReferences = kMaxReferences;
    samplegen::WriteStudy(folder_, annotation_, spec);
    test_.LoadFile(folder_ + spec.TestName + ".CFH");
    selfReference_ = spec.TestName + "N";
  }
  ~Workspace() { std::filesystem::remove_all(root_); }

  const std::string& Folder() const { return folder_; }
  const CBasicData& Annotation() const { return annotation_; }
  CArrayData& Test() { return test_; }
  CGlobalData& Global() { return global_; }
  const std::string& SelfReference() const { return selfReference_; }

 private:
  std::string root_, folder_, selfReference_;
  CBasicData annotation_;
  CArrayData test_;
  CGlobalData global_;
};

Workspace& Shared() {
  static Workspace workspace;
  return workspace;
}

void ReportPerReference(benchmark::State& state, int references) {
  const double snps = static_cast<double>(qova::core::kArrayTypes[12].snpCount);
  state.counters["per_reference"] =
      benchmark::Counter(references, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.counters["per_snp_and_reference"] = benchmark::Counter(
      references * snps, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void NormalizeByReferences(benchmark::State& state, bool alleleSpecific) {
  Workspace& w = Shared();
  const int references = static_cast<int>(state.range(0));
  w.Global().ProgramSetting->NONSELFALLELE = alleleSpecific ? 1 : 0;
  CArrayData& test = w.Test();
  std::string list;
  for (int k = 1; k <= references; ++k) list += "0.000000$Ref" + std::string(k < 10 ? "0" : "") + std::to_string(k) + "$";
  test.Header.NonSelfReferences = list;
  test.Header.NonSelfReferenceCount = references;
  CAnalyzedData analyzed(test, alleleSpecific ? AnalysisKind::NonSelfAllele : AnalysisKind::NonSelf);
  for (auto _ : state) {
    CAnalysis engine(w.Global());
    engine.ArrayDataFolder = w.Folder();
    if (engine.NormalizeByReferences(test, w.Annotation(), analyzed) != 0) state.SkipWithError("normalisation failed");
    benchmark::DoNotOptimize(analyzed.LogRatio.data());
  }
  ReportPerReference(state, references);
}

void BM_NormalizeByReferences(benchmark::State& state) { NormalizeByReferences(state, false); }
BENCHMARK(BM_NormalizeByReferences)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

void BM_NormalizeByReferencesAlleleSpecific(benchmark::State& state) { NormalizeByReferences(state, true); }
BENCHMARK(BM_NormalizeByReferencesAlleleSpecific)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

void BM_NormalizeBySelfReference(benchmark::State& state) {
  Workspace& w = Shared();
  CArrayData& test = w.Test();
  test.Header.SelfReference = w.SelfReference();
  CAnalyzedData analyzed(test, AnalysisKind::Self);
  analyzed.IsSelf = true;
  for (auto _ : state) {
    CAnalysis engine(w.Global());
    engine.ArrayDataFolder = w.Folder();
    if (engine.NormalizeBySelfReference(test, w.Annotation(), analyzed) != 0) state.SkipWithError("normalisation failed");
    benchmark::DoNotOptimize(analyzed.LogRatio.data());
  }
  ReportPerReference(state, 1);
}
BENCHMARK(BM_NormalizeBySelfReference)->Unit(benchmark::kMillisecond);

// Reading one reference file: the part of each reference that is not
// arithmetic.
void BM_ReadReferenceFile(benchmark::State& state) {
  Workspace& w = Shared();
  CArrayData reference;
  for (auto _ : state) {
    reference.LoadFile(w.Folder() + "Ref01.CFH");
    benchmark::DoNotOptimize(reference.SignalA.data());
  }
}
BENCHMARK(BM_ReadReferenceFile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
