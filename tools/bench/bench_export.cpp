// The raw-data export at the sizes in use: one non-self result of a
// GenomeWideSNP_5 sample (500,446 SNPs) with the default columns, next to a
// plain write of the same bytes; and 100 results of the Mapping50K_Xba240
// type written one file per sample and side by side in one file.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <memory>
#include <random>
#include <string>

#include "core/AnalyzedData.h"
#include "core/ArrayData.h"
#include "core/ArrayTypes.h"
#include "core/GlobalData.h"
#include "core/ProgramSetting.h"
#include "document/exports/RawDataFiles.h"
#include "platform/File.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "tools/datagen/DataGen.h"

namespace exports = qova::document::exports;

namespace {

constexpr int kWideFamily = 6;
constexpr const char* kWideType = "GenomeWideSNP_5";
constexpr int kSetFamily = 2;
constexpr const char* kSetType = "Mapping50K_Xba240";
constexpr int kSetSamples = 100;

// Results as a non-self analysis leaves them, in a temporary drive root, with
// the annotation tables of their families loaded.
class Scene {
 public:
  Scene() {
    char pattern[] = "/tmp/qova-bench-export-XXXXXX";
    if (mkdtemp(pattern) == nullptr) std::abort();
    root_ = std::string(pattern) + "/";
    setenv("QOVA_HOME", root_.c_str(), 1);
    setenv("QOVA_CONFIG_HOME", root_.c_str(), 1);
    global_ = std::make_unique<CGlobalData>();
    CProgramSetting& setting = *global_->ProgramSetting;
    setting.DefaultAnalysisResultFolder = root_ + "Results/";
    setting.DefaultOutputFolder = root_ + "Output/";
    setting.NONSELFALLELE = 0;
    if (!platform::CreateFolders(setting.DefaultAnalysisResultFolder) || !platform::CreateFolders(setting.DefaultOutputFolder))
      std::abort();
    for (int family : {kWideFamily, kSetFamily}) {
      const std::int32_t rows = qova::core::kArrayFamilies[static_cast<std::size_t>(family)].snpCount;
      const std::string path = root_ + "family" + std::to_string(family) + ".dtt";
      datagen::MakeAnnotation(family).StoreFile(path, rows);
      global_->BasicData[family].Allocate(rows, qova::core::kArrayFamilies[static_cast<std::size_t>(family)].extended ? 1 : 0);
      global_->BasicData[family].LoadFile(path, rows);
    }
    WriteResult("Wide01", kWideType);
    for (int k = 0; k < kSetSamples; ++k) {
      char name[16];
      std::snprintf(name, sizeof name, "Set%03d", k + 1);
      WriteResult(name, kSetType);
      setNames_.push_back(name);
    }
  }
  ~Scene() {
    global_.reset();
    std::string command = "rm -rf '" + root_ + "'";
    if (std::system(command.c_str()) != 0) std::fprintf(stderr, "could not remove %s\n", root_.c_str());
  }

  [[nodiscard]] const CGlobalData& Global() const { return *global_; }
  [[nodiscard]] const std::string& Root() const { return root_; }
  [[nodiscard]] std::string OutputFolder() const { return global_->ProgramSetting->DefaultOutputFolder; }
  [[nodiscard]] const std::vector<std::string>& SetNames() const { return setNames_; }

 private:
  void WriteResult(const std::string& name, const char* type) {
    const int index = ArrayTypeIndex(type);
    CArrayData sample(name, type, global_->TypeInfo(index), CTime(1180692000));
    CAnalyzedData result(sample, AnalysisKind::NonSelf);
    std::mt19937 random(static_cast<unsigned>(name.size() * 31 + static_cast<unsigned char>(name.back())));
    std::normal_distribution<float> noise(0.0f, 0.2f);
    std::uniform_real_distribution<float> loh(0.0f, 40.0f);
    for (std::size_t i = 0; i < result.LogRatio.size(); ++i) {
      result.LogRatio[i] = noise(random);
      result.CopyNumberState[i] = 2 + static_cast<int>(i / 40000 % 3) - 1;
      result.CallTest[i] = static_cast<int>(random() % 4);
      result.LohLikelihood[i] = loh(random);
    }
    result.StoreFile(global_->ProgramSetting->DefaultAnalysisResultFolder + name + ".CFN");
  }

  std::string root_;
  std::unique_ptr<CGlobalData> global_;
  std::vector<std::string> setNames_;
};

Scene& TheScene() {
  static Scene scene;
  return scene;
}

// The non-self defaults of the column dialog.
exports::RawColumnSet DefaultColumns() {
  exports::RawColumnSet columns{};
  for (int c : {exports::kRawColumnId, exports::kRawColumnVendorSnpId, exports::kRawColumnRsId, exports::kRawColumnChromosome,
                exports::kRawColumnPosition, exports::kRawColumnLogRatio, exports::kRawColumnStateAB, exports::kRawColumnCallTest,
                exports::kRawColumnLohLikelihood})
    columns[static_cast<std::size_t>(c)] = true;
  return columns;
}

void Export(benchmark::State& state, const std::vector<std::string>& names, bool combined) {
  const Scene& scene = TheScene();
  platform::ScopedRecordingSink messages;
  exports::RawExportRequest request;
  request.Names = names;
  request.Columns = DefaultColumns();
  for (auto _ : state) {
    std::vector<exports::SkippedSample> skipped;
    if (combined) {
      exports::WriteRawDataCombined(request, scene.Global(), skipped);
    } else {
      exports::WriteRawDataPerSample(request, scene.Global(), skipped);
    }
    if (!skipped.empty()) state.SkipWithError(skipped.front().Why.c_str());
  }
}

void RawPerSampleWide(benchmark::State& state) {
  Export(state, {"Wide01"}, false);
  platform::FileStatus status;
  if (platform::GetFileStatus(TheScene().OutputFolder() + "Wide01NonSelf.txt", status))
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(status.size));
}
BENCHMARK(RawPerSampleWide)->Unit(benchmark::kMillisecond)->UseRealTime();

// The bytes of the export above, written as they are into a replaced file.
void PlainWriteWide(benchmark::State& state) {
  const Scene& scene = TheScene();
  std::string bytes;
  if (!platform::ReadWholeFile(scene.OutputFolder() + "Wide01NonSelf.txt", bytes) || bytes.empty()) {
    state.SkipWithError("run RawPerSampleWide first");
    return;
  }
  const std::string path = scene.OutputFolder() + "plain.txt";
  constexpr std::size_t kPiece = std::size_t(1) << 20;
  for (auto _ : state) {
    platform::CAtomicFile file;
    if (!file.Open(path)) state.SkipWithError("cannot create the file");
    for (std::size_t at = 0; at < bytes.size(); at += kPiece)
      file.Write(bytes.data() + at, static_cast<UINT>(std::min(kPiece, bytes.size() - at)));
    file.Commit();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(PlainWriteWide)->Unit(benchmark::kMillisecond)->UseRealTime();

void RawSetPerSample(benchmark::State& state) { Export(state, TheScene().SetNames(), false); }
BENCHMARK(RawSetPerSample)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

void RawSetCombined(benchmark::State& state) { Export(state, TheScene().SetNames(), true); }
BENCHMARK(RawSetCombined)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
