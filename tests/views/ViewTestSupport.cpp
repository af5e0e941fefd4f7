#include "tests/views/ViewTestSupport.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/ArrayTypes.h"
#include "platform/Paths.h"
#include "platform/Profile.h"
#include "platform/ui/Backend.h"
#include "platform/ui/Headless.h"
#include "platform/ui/UserInput.h"
#include "resources/FrameResources.h"
#include "tools/datagen/DataGen.h"
#include "tests/support/demo/DemoCopy.h"

namespace qova::test {

namespace {

// A folder of its own for the demo, removed when the test program ends.
struct DemoFolder {
  std::string root;
  DemoFolder() {
    std::string pattern = std::filesystem::temp_directory_path().string() + "/qova-views-XXXXXX";
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
    root = pattern + "/";
    // The demo points the drive root and the settings at its folder; the
    // test that runs first keeps its own.
    const std::string home = std::getenv("QOVA_HOME") ? std::getenv("QOVA_HOME") : "";
    const std::string config = std::getenv("QOVA_CONFIG_HOME") ? std::getenv("QOVA_CONFIG_HOME") : "";
    demo::DemoOptions options;
    options.Folder = root;
    options.ArrayType = kSmallType;
    std::ostringstream log;
    const std::vector<std::string> messages = MakeDemo(options, log);
    ::setenv("QOVA_HOME", home.c_str(), 1);
    ::setenv("QOVA_CONFIG_HOME", config.c_str(), 1);
    platform::AppProfile().SetStore(std::make_unique<platform::MemorySettingsStore>());
    if (!messages.empty()) throw std::runtime_error("the demo failed:\n" + log.str());
  }
  ~DemoFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
  }
};

}  // namespace

const std::string& SmallDemoFolder() {
  static const DemoFolder folder;
  return folder.root;
}

ViewTest::ViewTest() {
  const std::string& demo = SmallDemoFolder();
  platform::ui::SetBackend(nullptr);
  platform::ui::Headless().Reset();
  CProgramSetting& setting = *global_.ProgramSetting;
  setting.StartFolder = demo;
  setting.DefaultArrayDataFolder = demo + "ArrayData/";
  setting.DefaultAnalysisResultFolder = demo + "Results/";
  EXPECT_TRUE(global_.Cytoband->LoadFrom(demo + "data/"));
  const std::int32_t rows = qova::core::kArrayFamilies[0].snpCount;
  global_.BasicData[0].Allocate(rows, 0);
  global_.BasicData[0].LoadFile(demo + "data/" + datagen::AnnotationFileName(0), rows);
  doc_ = std::make_unique<CQOVADoc>(global_);
  doc_->m_bAutoDelete = FALSE;  // the fixture owns it
}

ViewTest::~ViewTest() {
  if (frame_) frame_->DestroyWindow();
  // Views go with their windows, before the document.
  for (CView* view : std::vector<CView*>(doc_->Views())) view->DestroyWindow();
  platform::ui::Headless().Reset();
}

void ViewTest::Open(const std::string& name, const char* extension, const char* status) {
  const std::string& demo = SmallDemoFolder();
  doc_->AnalyzedData.LoadFile(demo + "Results/" + name + extension);
  if (std::string(status) == kStatusAnalysis) doc_->ArrayData.LoadFile(demo + "ArrayData/" + name + ".CFH");
  doc_->Status = status;
}

CView& CreateView(const CRuntimeClass* viewClass, CDocument& doc, int width, int height) {
  auto* view = dynamic_cast<CView*>(viewClass->CreateObject());
  CCreateContext context;
  context.m_pCurrentDoc = &doc;
  if (!view || !view->Create("", "", WS_CHILD | WS_VISIBLE, CRect(0, 0, width, height), nullptr, AFX_IDW_PANE_FIRST,
                             &context))
    throw std::runtime_error("cannot create the view");
  return *view;
}

CView& CreateFramedView(const CRuntimeClass* viewClass, CDocument& doc, UINT menu, int width, int height,
                        CFrameWnd*& frame) {
  qova::resources::RegisterFrameResources();
  frame = new CFrameWnd;
  CCreateContext context;
  context.m_pNewViewClass = viewClass;
  context.m_pCurrentDoc = &doc;
  if (!frame->LoadFrame(qova::resources::kMainFrame, WS_OVERLAPPEDWINDOW, nullptr, &context))
    throw std::runtime_error("cannot create the frame");
  frame->m_menu.LoadMenu(menu);
  auto* view = dynamic_cast<CView*>(frame->GetDlgItem(AFX_IDW_PANE_FIRST));
  if (!view) throw std::runtime_error("the frame has no view");
  frame->SetActiveView(view);
  platform::ui::input::Resize(*view, width, height);
  return *view;
}

CQOVAView& ViewTest::NewView(int width, int height) {
  auto& view = static_cast<CQOVAView&>(CreateView(RUNTIME_CLASS(CQOVAView), *doc_, width, height));
  view.OnInitialUpdate();
  return view;
}

CQOVAView& ViewTest::FramedView(int width, int height) {
  auto& view = static_cast<CQOVAView&>(
      CreateFramedView(RUNTIME_CLASS(CQOVAView), *doc_, qova::resources::kQovaDocumentType, width, height, frame_));
  view.OnInitialUpdate();
  return view;
}

platform::ui::Picture ViewTest::Draw(CQOVAView& view) {
  platform::ui::RecordingCanvas canvas(kCanvasWidth, kCanvasHeight);
  view.OnDraw(&canvas);
  return canvas.Contents();
}

int ViewTest::First(int c) const { return qova::core::kArrayChromosomeStarts[0][c]; }
int ViewTest::End(int c) const { return qova::core::kArrayChromosomeStarts[0][c + 1]; }

std::size_t CountOf(const platform::ui::Picture& picture, platform::ui::DrawOp op, COLORREF colour) {
  std::size_t n = 0;
  for (const platform::ui::DrawRecord& r : picture.records) n += r.op == op && r.color == colour ? 1 : 0;
  return n;
}

int ExpectFirstColumnLabelsOnPaper(const std::vector<platform::ui::Picture>& pages, long long columns,
                                   std::string_view labels) {
  int shown = 0;
  for (std::size_t p = 0; p < pages.size(); p += std::size_t(std::max(1LL, columns))) {
    const platform::ui::DeviceCaps& page = pages[p].caps;
    for (const platform::ui::DrawRecord& r : pages[p].records) {
      const std::string_view text = pages[p].TextOf(r);
      if (r.op != platform::ui::DrawOp::Text || text.size() != 1 || labels.find(text[0]) == std::string_view::npos ||
          r.y1 < 0 || r.y1 >= page.height || r.x1 >= page.width || r.x1 + r.x2 <= 0)
        continue;
      EXPECT_GE(r.x1, 0) << "label " << text << " at y " << r.y1 << " on page " << p + 1;
      ++shown;
    }
  }
  return shown;
}

std::string ViewTest::OwnCopy() {
  const std::string root = Path("demo/");
  std::filesystem::copy(SmallDemoFolder(), root, std::filesystem::copy_options::recursive);
  global_.ProgramSetting->DefaultArrayDataFolder = root + "ArrayData/";
  global_.ProgramSetting->DefaultAnalysisResultFolder = root + "Results/";
  doc_->ArrayDataFolder = root + "ArrayData/";
  doc_->AnalysisResultFolder = root + "Results/";
  return root;
}

}  // namespace qova::test
