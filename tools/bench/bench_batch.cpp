// Automation > Batch Analysis on a GenomeWideSNP_5 study (500,446 SNPs) of 8
// test samples and 10 references: the automatic reference choice and the
// non-self analysis of every test, on W = 1, 2, 4, 8 workers (no more than
// the machine has), in samples per second. AutomaticAnalysisOne is one sample
// through the Sample Manager's "AutomaticAnalysis", the single-sample rate the
// one-worker batch is held to.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>

#include "core/BasicData.h"
#include "core/Cytoband.h"
#include "core/GlobalData.h"
#include "core/ProgramSetting.h"
#include "document/ApplicationData.h"
#include "document/DocumentCommands.h"
#include "document/QOVADoc.h"
#include "platform/MessageBox.h"
#include "platform/ParallelFor.h"
#include "platform/ui/App.h"
#include "platform/ui/Backend.h"
#include "platform/ui/Headless.h"
#include "resources/BatchDialogs.h"
#include "tools/datagen/DataGen.h"
#include "tools/samplegen/SampleGen.h"

namespace {

constexpr const char* kType = "GenomeWideSNP_5";
constexpr int kFamily = 6;
constexpr int kTests = 8;
constexpr int kReferences = 10;

// A drive root with the data folder and the study, and a main document on it,
// made once for every benchmark.
class Workspace {
 public:
  Workspace() {
    char pattern[] = "/tmp/qova-bench-batch-XXXXXX";
    if (mkdtemp(pattern) == nullptr) std::abort();
    root_ = std::string(pattern) + "/";
    setenv("QOVA_HOME", root_.c_str(), 1);
    setenv("QOVA_CONFIG_HOME", root_.c_str(), 1);
    datagen::WriteDataFolder(root_ + "data/", {kFamily});
    CProgramSetting& setting = *global_.ProgramSetting;
    setting.StartFolder = root_;
    setting.DefaultArrayDataFolder = root_ + "ArrayData/";
    setting.DefaultAnalysisResultFolder = root_ + "Results/";
    std::filesystem::create_directories(root_ + "Results");
    setting.DOSELF = 0;
    setting.DONONSELF = 1;
    setting.SKIPALREADY = 0;
    setting.MAXREF = kReferences;
    global_.Cytoband->LoadFrom(global_.DataFolder());
    const std::int32_t rows = qova::core::kArrayFamilies[kFamily].snpCount;
    global_.BasicData[kFamily].Allocate(rows, qova::core::kArrayFamilies[kFamily].extended ? 1 : 0);
    global_.BasicData[kFamily].LoadFile(global_.DataFolder() + datagen::AnnotationFileName(kFamily), rows);
    for (int k = 1; k <= kTests; ++k) {
      samplegen::StudySpec spec;
      spec.ArrayType = kType;
      spec.Seed = static_cast<std::uint64_t>(k);
      spec.TestName = "T" + std::to_string(k);
      spec.NonSelfReferences = k == 1 ? kReferences : 0;
      samplegen::WriteStudy(setting.DefaultArrayDataFolder, global_.BasicData[kFamily], spec);
    }
    application_ = std::make_unique<qova::document::ScopedApplicationData>(global_);
    platform::ui::SetBackend(nullptr);
    doc_ = std::make_unique<CQOVADoc>();
  }
  ~Workspace() {
    doc_.reset();
    application_.reset();
    std::filesystem::remove_all(root_);
  }

  CQOVADoc& Doc() { return *doc_; }

 private:
  std::string root_;
  CGlobalData global_;
  std::unique_ptr<qova::document::ScopedApplicationData> application_;
  std::unique_ptr<CQOVADoc> doc_;
  platform::ScopedRecordingSink messages_;
};

Workspace& Shared() {
  static Workspace workspace;
  return workspace;
}

void AutomaticAnalysisOne(benchmark::State& state) {
  Workspace& workspace = Shared();
  for (auto _ : state) workspace.Doc().RunSampleAction("T1", kActionAutomaticAnalysis);
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(AutomaticAnalysisOne)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

void BatchAutomatic(benchmark::State& state) {
  Workspace& workspace = Shared();
  const int workers = static_cast<int>(state.range(0));
  if (workers > platform::HardwareThreads()) {
    state.SkipWithError("more workers than the machine has hardware threads");
    return;
  }
  setenv("QOVA_BATCH_WORKERS", std::to_string(workers).c_str(), 1);
  platform::ui::Headless().OnDialog(qova::resources::kBatchSelectDialog, [](platform::ui::DialogDriver& d) {
    d.Click(qova::resources::batch::kCheckAll).Click(qova::resources::batch::kAutomaticAnalysis);
  });
  for (auto _ : state) platform::ui::DispatchCommand(workspace.Doc(), qova::document::command::kBatchAnalysis);
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kTests);
}
BENCHMARK(BatchAutomatic)->Arg(1)->Arg(2)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
