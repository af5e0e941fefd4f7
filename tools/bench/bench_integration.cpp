// Integrating ten GenomeWideSNP_5 non-self results (500,446 SNPs each) in
// mode "AddDel", next to only loading the same ten files with the
// analysed-sample loader: the target is at most 1.5 times the loading.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "analysis/IntegrationData.h"
#include "core/AnalyzedData.h"
#include "core/ArrayData.h"
#include "core/ArrayTypes.h"
#include "core/GlobalData.h"
#include "core/ProgramSetting.h"
#include "tools/datagen/DataGen.h"

namespace {

constexpr const char* kType = "GenomeWideSNP_5";
constexpr int kSamples = 10;
// Aberrations laid into each result, and their lengths in SNPs.
constexpr int kAberrations = 60;
constexpr int kShortestAberration = 20, kLongestAberration = 20000;

// A drive root with a data folder and ten stored results, made once.
class Workspace {
 public:
  Workspace() {
    char pattern[] = "/tmp/qova-bench-integration-XXXXXX";
    if (mkdtemp(pattern) == nullptr) std::abort();
    root_ = std::string(pattern) + "/";
    setenv("QOVA_HOME", root_.c_str(), 1);
    const int type = ArrayTypeIndex(kType);
    const int family = ArrayClassIndex(kType);
    datagen::WriteDataFolder(root_ + "data/", {family});
    CProgramSetting& setting = *global_.ProgramSetting;
    setting.StartFolder = root_;
    setting.DefaultAnalysisResultFolder = root_ + "Results/";
    std::filesystem::create_directories(setting.DefaultAnalysisResultFolder);
    global_.Cytoband->LoadFrom(global_.DataFolder());
    const qova::core::ArrayFamilyInfo& info = qova::core::kArrayFamilies[std::size_t(family)];
    global_.BasicData[family].Allocate(info.snpCount, info.extended ? 1 : 0);
    global_.BasicData[family].LoadFile(global_.DataFolder() + datagen::AnnotationFileName(family), info.snpCount);

    std::mt19937 random(17);
    for (int k = 0; k < kSamples; ++k) {
      const std::string name = "Tumour" + std::to_string(k);
      CArrayData extracted(name, kType, global_.TypeInfo(type), CTime::GetCurrentTime());
      CAnalyzedData result(extracted, AnalysisKind::NonSelf);
      std::fill(result.CopyNumberState.begin(), result.CopyNumberState.end(), 2);
      const std::int32_t last = global_.ArrayLastSnpIndexX[type];
      std::uniform_int_distribution<std::int32_t> snp(0, last), length(kShortestAberration, kLongestAberration),
          state(0, 6);
      for (int a = 0; a < kAberrations; ++a) {
        const std::int32_t first = snp(random), end = std::min(last + 1, first + length(random));
        std::fill(result.CopyNumberState.begin() + first, result.CopyNumberState.begin() + end, state(random));
      }
      std::bernoulli_distribution excluded(0.05);
      for (std::int32_t i = 0; i <= last; ++i) result.ValidFlag[std::size_t(i)] = excluded(random) ? 0 : 1;
      result.StoreFile(setting.DefaultAnalysisResultFolder + name + ".CFN");
      files_.push_back(name + ".CFN");
    }
  }
  ~Workspace() { std::filesystem::remove_all(root_); }

  const CGlobalData& Global() const { return global_; }
  const std::vector<std::string>& Files() const { return files_; }
  std::string Path(const std::string& file) const { return global_.ProgramSetting->DefaultAnalysisResultFolder + file; }

 private:
  std::string root_;
  CGlobalData global_;
  std::vector<std::string> files_;
};

Workspace& Shared() {
  static Workspace workspace;
  return workspace;
}

void BM_LoadResults(benchmark::State& state) {
  Workspace& w = Shared();
  for (auto _ : state) {
    for (const std::string& file : w.Files()) {
      CAnalyzedData result;
      result.LoadFileAllocating(w.Path(file));
      benchmark::DoNotOptimize(result.CopyNumberState.data());
    }
  }
}
BENCHMARK(BM_LoadResults)->Unit(benchmark::kMillisecond);

void BM_IntegrateAddDel(benchmark::State& state) {
  Workspace& w = Shared();
  std::size_t segments = 0;
  for (auto _ : state) {
    IntegrationData data(w.Global());
    data.Mode = "AddDel";
    data.MinRun = 5;
    data.IntegrateSamples(w.Files());
    segments = data.Segments.size();
  }
  state.counters["segments"] = double(segments);
}
BENCHMARK(BM_IntegrateAddDel)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
