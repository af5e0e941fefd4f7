// The association test on a GenomeWideSNP_5 case/control study (100 cases,
// 100 controls, 500,446 SNPs, about 100 MB of calls in the data object's own
// layout): the full permutation test (10,000 permutations, the counting
// layout built inside) on one thread and on every core, next to a plain pass
// that sums every call byte, its reference. The two regenerations of the
// random generator are measured beside it; the fast one must not be slower.
// Targets: one thread at most 2,000 plain passes, eight threads on eight
// cores at most 400, with the same P values.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "analysis/AssociationData.h"
#include "analysis/SfmtRandom.h"
#include "core/GlobalData.h"
#include "platform/ParallelFor.h"
#include "tools/arraygen/CaseControlStudy.h"

namespace {

constexpr const char* kType = "GenomeWideSNP_5";

// The study's calls, made once; a drive root so nothing leaves the workspace.
class Workspace {
 public:
  Workspace() : data_(global_) {
    char pattern[] = "/tmp/qova-bench-association-XXXXXX";
    if (mkdtemp(pattern) == nullptr) std::abort();
    root_ = pattern;
    setenv("QOVA_HOME", root_.c_str(), 1);
    setenv("QOVA_CONFIG_HOME", root_.c_str(), 1);
    arraygen::CaseControlSpec spec;
    spec.ArrayType = kType;
    spec.Threads = platform::HardwareThreads();
    arraygen::CaseControlCalls study = arraygen::MakeCaseControlCalls(spec);
    const std::size_t n = study.Calls[0].size();
    data_.arrayType = kType;
    for (int k = 0; k < spec.Cases; ++k) data_.caseNames.push_back("Case" + std::to_string(k));
    for (int k = 0; k < spec.Controls; ++k) data_.controlNames.push_back("Control" + std::to_string(k));
    data_.calls = std::move(study.Calls);
    data_.nullHistogram.assign(10001, 0);
    for (auto* values : {&data_.chiSquare, &data_.pValue, &data_.reserved1, &data_.reserved2}) values->assign(n, 0.0f);
    data_.valid.assign(n, 0);
  }
  ~Workspace() { std::filesystem::remove_all(root_); }

  AssociationData& Data() { return data_; }

 private:
  std::string root_;
  CGlobalData global_;
  AssociationData data_;
};

Workspace& Shared() {
  static Workspace workspace;
  return workspace;
}

void PlainReadCalls(benchmark::State& state) {
  const std::vector<std::vector<std::uint8_t>>& calls = Shared().Data().calls;
  std::int64_t bytes = 0;
  for (auto _ : state) {
    std::uint64_t sum = 0;
    for (const std::vector<std::uint8_t>& sample : calls) {
      for (std::uint8_t call : sample) sum += call;
    }
    benchmark::DoNotOptimize(sum);
    bytes = 0;
    for (const auto& sample : calls) bytes += static_cast<std::int64_t>(sample.size());
  }
  state.SetBytesProcessed(state.iterations() * bytes);
}
BENCHMARK(PlainReadCalls)->Unit(benchmark::kMillisecond)->UseRealTime();

// Argument: worker threads, 0 for one per core. The P values of every run
// must equal the first run's (of whatever thread count).
void PermutationTest(benchmark::State& state) {
  AssociationData& data = Shared().Data();
  data.workerThreads = static_cast<int>(state.range(0));
  static std::vector<float> firstP;
  for (auto _ : state) data.PermutationTest();
  if (firstP.empty()) {
    firstP = data.pValue;
  } else if (std::memcmp(firstP.data(), data.pValue.data(), firstP.size() * sizeof(float)) != 0) {
    state.SkipWithError("the P values differ from the first run's");
  }
  state.counters["threads"] = data.workerThreads > 0 ? data.workerThreads : platform::HardwareThreads();
}
BENCHMARK(PermutationTest)->Arg(1)->Arg(0)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// 1,000 regenerations per run; argument 0 the plain path, 1 the fast one.
void Regenerate(benchmark::State& state) {
  SfmtRandom random;
  random.UseFastPath(state.range(0) != 0);
  for (auto _ : state) {
    for (int k = 0; k < 1000; ++k) random.Regenerate();
    benchmark::DoNotOptimize(random.State()[0]);
  }
}
BENCHMARK(Regenerate)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
