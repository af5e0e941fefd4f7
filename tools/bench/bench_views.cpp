// The main view at the size of the largest arrays in use: a non-self result
// of a GenomeWideSNP_5 sample (500,446 SNPs) with the default items, its
// update (binding, annotation check, displayed states, averages, dot colours,
// layout), a genome-wide redraw and a redraw of chromosome 1 on the raster
// canvas at 1600 by 1000, next to reading the result file itself; the
// multiple-sample grid of 50 non-self results of the demo family
// (Mapping250K_Nsp) already in the document: its build next to reading the 50
// files, a repaint of the whole-genome and of the one-chromosome grid, and
// the whole grid as printing draws it; and the graph's clustering of 200
// samples.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cmath>
#include <fstream>
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
#include "views/graph/GraphClustering.h"
#include "views/main/QOVAView.h"

namespace core = qova::core;
namespace graph = qova::views::graph;

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
    const std::int32_t rows = core::kArrayFamilies[kFamily].snpCount;
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
    const auto& starts = core::kArrayChromosomeStarts[kType];
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

// The grid's scene: 50 results of the demo family, each with its own noise
// and a loss on 3 and a gain on 8 of its own extent, stored as .CFN and read
// into the document as Display Samples reads them; a main view of the grid.
class GridScene {
 public:
  static constexpr int kFamily = 4;
  static constexpr int kType = 9;
  static constexpr int kSamples = 50;

  GridScene() {
    char pattern[] = "/tmp/qova-bench-grid-XXXXXX";
    if (mkdtemp(pattern) == nullptr) std::abort();
    root_ = std::string(pattern) + "/";
    setenv("QOVA_HOME", root_.c_str(), 1);
    setenv("QOVA_CONFIG_HOME", root_.c_str(), 1);
    platform::ui::SetBackend(nullptr);
    platform::ui::Headless().Reset();

    global_ = std::make_unique<CGlobalData>();
    const std::int32_t rows = core::kArrayFamilies[kFamily].snpCount;
    datagen::MakeAnnotation(kFamily).StoreFile(root_ + "family.dtt", rows);
    global_->BasicData[kFamily].Allocate(rows, 0);
    global_->BasicData[kFamily].LoadFile(root_ + "family.dtt", rows);
    const std::string shipped = datagen::ShippedCytobandPath();
    if (!global_->Cytoband->LoadFrom(shipped.substr(0, shipped.find_last_of('/') + 1))) std::abort();

    samplegen::SampleGenerator generator("Mapping250K_Nsp", global_->BasicData[kFamily], 11);
    samplegen::SampleSpec spec;
    spec.Name = "Grid";
    spec.IsTest = true;
    const CArrayData sample = generator.Make(spec);
    const auto& starts = core::kArrayChromosomeStarts[kType];
    std::mt19937 random(3);
    std::normal_distribution<float> noise(0.0f, 0.2f);
    for (int k = 0; k < kSamples; ++k) {
      CAnalyzedData result(sample, AnalysisKind::NonSelf);
      const int loss = 1000 + k * 300, gain = 3000 + k * 200;
      for (int i = starts[1]; i < starts[24]; ++i) {
        const bool lost = i >= starts[3] + loss && i < starts[3] + 2 * loss;
        const bool gained = i >= starts[8] + gain && i < starts[8] + 2 * gain;
        result.CopyNumberState[std::size_t(i)] = lost ? 1 : gained ? 3 : 2;
        result.LogRatio[std::size_t(i)] = (lost ? -0.7f : gained ? 0.45f : 0.0f) + noise(random);
        result.CallTest[std::size_t(i)] = sample.Call[std::size_t(i)];
        result.LohLikelihood[std::size_t(i)] = lost ? 250.0f : 5.0f;
      }
      result.Header.SampleName = "Grid" + std::to_string(k + 1);
      paths_.push_back(root_ + result.Header.SampleName + ".CFN");
      result.StoreFile(paths_.back());
    }

    doc_ = std::make_unique<CQOVADoc>(*global_);
    doc_->m_bAutoDelete = FALSE;
    for (const std::string& path : paths_) {
      doc_->LoadedResults.push_back(std::make_unique<CAnalyzedData>());
      doc_->LoadedResults.back()->LoadFileAllocating(path);
    }
    doc_->Status = kStatusMultiple;
    view_ = new CQOVAView;
    CCreateContext context;
    context.m_pCurrentDoc = doc_.get();
    if (!view_->Create("", "", WS_CHILD | WS_VISIBLE, CRect(0, 0, kWidth, kHeight), nullptr, AFX_IDW_PANE_FIRST,
                       &context))
      std::abort();
    view_->OnInitialUpdate();
    if (!view_->m_bDataShown || view_->m_aMultiSelect.size() != std::size_t(kSamples)) std::abort();
  }
  ~GridScene() {
    for (const std::string& path : paths_) std::remove(path.c_str());
  }

  [[nodiscard]] const std::vector<std::string>& Paths() const { return paths_; }
  CQOVAView& View() { return *view_; }
  // Shows the whole genome (chromosome 0) or one chromosome.
  void Show(int chromosome) {
    if (chromosome == 0)
      view_->m_nViewFlags &= ~VIEW_ONE_CHROMOSOME;
    else
      view_->m_nViewFlags |= VIEW_ONE_CHROMOSOME;
    view_->m_nChromosome = std::max(1, chromosome);
    view_->m_nScrollX = view_->m_nScrollY = 0;
    view_->m_nSizeX = view_->m_nSizeY = 100;
    view_->LayoutMultipleView();
    view_->UpdateLayout();
  }

 private:
  std::string root_;
  std::vector<std::string> paths_;
  platform::ScopedRecordingSink messages_;
  std::unique_ptr<CGlobalData> global_;
  std::unique_ptr<CQOVADoc> doc_;
  CQOVAView* view_ = nullptr;
};

GridScene& TheGrid() {
  static GridScene scene;
  return scene;
}

// Resident memory of the process, in MB.
double ResidentMegabytes() {
  std::ifstream status("/proc/self/status");
  std::string key;
  while (status >> key) {
    long long kilobytes = 0;
    if (key == "VmRSS:" && status >> kilobytes) return double(kilobytes) / 1024.0;
    status.ignore(1 << 20, '\n');
  }
  return 0.0;
}

void ReadResults50(benchmark::State& state) {
  GridScene& scene = TheGrid();
  for (auto _ : state) {
    for (const std::string& path : scene.Paths()) {
      CAnalyzedData result;
      result.LoadFileAllocating(path);
      benchmark::DoNotOptimize(result.LogRatio.data());
    }
  }
}
BENCHMARK(ReadResults50)->Unit(benchmark::kMillisecond);

// The grid built again from the document's 50 samples, as every update does.
void GridBuild50(benchmark::State& state) {
  GridScene& scene = TheGrid();
  for (auto _ : state) scene.View().OnUpdate(nullptr, 0, nullptr);
  state.counters["resident_MB"] = ResidentMegabytes();
}
BENCHMARK(GridBuild50)->Unit(benchmark::kMillisecond);

// A repaint of the window: the whole-genome grid (0) or chromosome 1 (1).
void GridRepaint50(benchmark::State& state) {
  GridScene& scene = TheGrid();
  scene.Show(int(state.range(0)));
  platform::qt::RasterCanvas canvas(kWidth, kHeight);
  for (auto _ : state) scene.View().OnDraw(&canvas);
}
BENCHMARK(GridRepaint50)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// All 50 whole-genome rows on one page, as printing with ONE_MULTI draws them.
void GridWhole50(benchmark::State& state) {
  GridScene& scene = TheGrid();
  scene.Show(0);
  CQOVAView& view = scene.View();
  const CSize extent = view.ComputePageLayout();
  view.m_nSizeY = int(std::max<long long>(1, 1LL * kHeight * view.m_nScaleY / extent.cy));
  platform::qt::RasterCanvas canvas(kWidth, kHeight);
  for (auto _ : state) view.OnDraw(&canvas);
}
BENCHMARK(GridWhole50)->Unit(benchmark::kMillisecond);

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
    benchmark::DoNotOptimize(graph::ClusterSamples(segments, kSamples, graph::ClusterMethod::Bins));
}
BENCHMARK(GraphClustering)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
