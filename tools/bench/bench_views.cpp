// The main view at the size of the largest arrays in use: a non-self result
// of a GenomeWideSNP_5 sample (500,446 SNPs) with the default items, its
// update (binding, annotation check, displayed states, averages, dot colours,
// layout), a genome-wide redraw and a redraw of chromosome 1 on the raster
// canvas at 1600 by 1000, next to reading the result file itself; and the
// graph's clustering of 200 samples.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cmath>
#include <memory>
#include <random>
#include <string>

#include "core/AnalyzedData.h"
#include "core/ArrayData.h"
#include "core/ArrayTypes.h"
#include "core/GlobalData.h"
#include "document/QOVADoc.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/qt/RasterCanvas.h"
#include "platform/ui/Backend.h"
#include "platform/ui/Headless.h"
#include "tools/datagen/DataGen.h"
#include "tools/samplegen/SampleGen.h"
#include "views/GraphClustering.h"
#include "views/QOVAView.h"

namespace {

constexpr int kFamily = 6;
constexpr int kType = 12;
constexpr const char* kArrayType = "GenomeWideSNP_5";
constexpr int kWidth = 1600;
constexpr int kHeight = 1000;

// A result as a non-self analysis leaves it: log2 ratios around the planted
// copy numbers, the HMM's states, calls and LOH scores, stored once as .CFN
// in a temporary drive root; a document holding it and a main view on it.
class Scene {
 public:
  Scene() {
    char pattern[] = "/tmp/qova-bench-views-XXXXXX";
    if (mkdtemp(pattern) == nullptr) std::abort();
    root_ = std::string(pattern) + "/";
    setenv("QOVA_HOME", root_.c_str(), 1);
    setenv("QOVA_CONFIG_HOME", root_.c_str(), 1);
    platform::ui::SetBackend(nullptr);
    platform::ui::Headless().Reset();

    global_ = std::make_unique<CGlobalData>();
    const std::int32_t rows = qova::kArrayFamilies[kFamily].snpCount;
    datagen::MakeAnnotation(kFamily).StoreFile(root_ + "family.dtt", rows);
    global_->BasicData[kFamily].Allocate(rows, 1);
    global_->BasicData[kFamily].LoadFile(root_ + "family.dtt", rows);
    if (!LoadShippedCytoband()) std::abort();

    samplegen::SampleGenerator generator(kArrayType, global_->BasicData[kFamily], 5);
    samplegen::SampleSpec spec;
    spec.Name = "Bench01";
    spec.IsTest = true;
    const CArrayData sample = generator.Make(spec);
    CAnalyzedData result(sample, AnalysisKind::NonSelf);
    std::mt19937 random(7);
    std::normal_distribution<float> noise(0.0f, 0.2f);
    std::uniform_real_distribution<float> loh(0.0f, 40.0f);
    const auto& starts = qova::kArrayChromosomeStarts[kType];
    for (int i = 0; i < starts[24]; ++i) {
      const bool loss = i >= starts[3] + 2000 && i < starts[3] + 12000;
      const bool gain = i >= starts[8] + 5000 && i < starts[8] + 15000;
      result.CopyNumberState[std::size_t(i)] = loss ? 1 : gain ? 3 : 2;
      result.LogRatio[std::size_t(i)] = (loss ? -0.7f : gain ? 0.45f : 0.0f) + noise(random);
      result.CallTest[std::size_t(i)] = sample.Call[std::size_t(i)];
      result.LohLikelihood[std::size_t(i)] = loss ? 200.0f + loh(random) : loh(random);
    }
    result.Header.NonSelfReferenceCount = 10;
    resultPath_ = root_ + "Bench01.CFN";
    result.StoreFile(resultPath_);

    doc_ = std::make_unique<CQOVADoc>(*global_);
    doc_->m_bAutoDelete = FALSE;
    doc_->AnalyzedData.LoadFile(resultPath_);
    doc_->Status = kStatusSingle;
    view_ = new CQOVAView;
    CCreateContext context;
    context.m_pCurrentDoc = doc_.get();
    if (!view_->Create("", "", WS_CHILD | WS_VISIBLE, CRect(0, 0, kWidth, kHeight), nullptr, AFX_IDW_PANE_FIRST,
                       &context))
      std::abort();
    view_->OnInitialUpdate();
    if (!view_->m_bDataShown) std::abort();
  }

  [[nodiscard]] const std::string& ResultPath() const { return resultPath_; }
  CQOVADoc& Doc() { return *doc_; }
  CQOVAView& View() { return *view_; }

 private:
  bool LoadShippedCytoband() {
    const std::string shipped = datagen::ShippedCytobandPath();
    return global_->Cytoband->LoadFrom(shipped.substr(0, shipped.find_last_of('/') + 1));
  }

  std::string root_;
  std::string resultPath_;
  platform::ScopedRecordingSink messages_;
  std::unique_ptr<CGlobalData> global_;
  std::unique_ptr<CQOVADoc> doc_;
  CQOVAView* view_ = nullptr;
};

Scene& TheScene() {
  static Scene scene;
  return scene;
}

void ReadResultFile(benchmark::State& state) {
  Scene& scene = TheScene();
  CAnalyzedData result;
  result.AllocateMax();
  for (auto _ : state) {
    result.LoadFile(scene.ResultPath());
    benchmark::DoNotOptimize(result.LogRatio.data());
  }
}
BENCHMARK(ReadResultFile)->Unit(benchmark::kMillisecond);

void ViewUpdate(benchmark::State& state) {
  Scene& scene = TheScene();
  for (auto _ : state) scene.Doc().UpdateAllViews(nullptr);
}
BENCHMARK(ViewUpdate)->Unit(benchmark::kMillisecond);

// A redraw of the view as it is: genome-wide (0) or chromosome 1 alone (1).
void Redraw(benchmark::State& state) {
  Scene& scene = TheScene();
  CQOVAView& view = scene.View();
  if (state.range(0) == 1) {
    view.m_nViewFlags |= VIEW_ONE_CHROMOSOME;
    view.m_nChromosome = 1;
  } else {
    view.m_nViewFlags &= ~VIEW_ONE_CHROMOSOME;
  }
  scene.Doc().UpdateAllViews(nullptr);
  platform::qt::RasterCanvas canvas(kWidth, kHeight);
  for (auto _ : state) view.OnDraw(&canvas);
}
BENCHMARK(Redraw)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// ClusterAnalysis of 200 samples in eight patterns of ten or so segments
// each, every boundary moved a little per sample; the distances over 30,200
// bins dominate.
void GraphClustering(benchmark::State& state) {
  constexpr int kSamples = 200;
  std::mt19937 random(40);
  std::vector<GraphSegment> segments;
  for (int i = 0; i < kSamples; ++i) {
    std::mt19937 pattern(unsigned(i % 8));
    for (int k = 0; k < 10; ++k) {
      const int chromosome = int(pattern() % 22) + 1;
      const int start = int(pattern() % 100000000) + int(random() % 2000000);
      const int length = int(pattern() % 50000000) + 1000000;
      segments.push_back({i, int(pattern() % 6), chromosome, start, start + length});
    }
  }
  for (auto _ : state)
    benchmark::DoNotOptimize(qova::graph::ClusterSamples(segments, kSamples, qova::graph::ClusterMethod::Bins));
}
BENCHMARK(GraphClustering)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
