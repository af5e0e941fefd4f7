// The main view on the demo while the commands that replace or re-read the
// document's samples run in the orders users run them: whatever came last,
// every window draws one result, its title, header line, panels and kind
// all from that result, as a window opened afresh on the document does.
#include <filesystem>
#include <functional>
#include <sstream>

#include "core/GlobalData.h"
#include "core/ProgramSetting.h"
#include "document/ApplicationData.h"
#include "document/batch/BatchSelect.h"
#include "document/QOVADoc.h"
#include "document/display/SelectResult.h"
#include "platform/File.h"
#include "platform/ui/Headless.h"
#include "platform/ui/RecordingCanvas.h"
#include "resources/BatchDialogs.h"
#include "resources/CommandIds.h"
#include "resources/DisplaySamplesDialog.h"
#include "resources/ParameterDialogs.h"
#include "resources/SampleManagerDialog.h"
#include "resources/ViewDialogs.h"
#include "tests/app/AppTestSupport.h"
#include "tests/support/demo/DemoCopy.h"
#include "views/main/QOVAView.h"
#ifdef QOVA_TEST_WITH_QT
#include "platform/qt/RasterCanvas.h"
#endif

namespace qova::test {
namespace {

using platform::ui::DialogDriver;
namespace res = qova::resources;
namespace display = qova::resources::display;

constexpr int kWidth = 1600;
constexpr int kHeight = 1000;

// The same calls with the same texts, fonts and clips.
bool SamePicture(const platform::ui::Picture& a, const platform::ui::Picture& b) {
  return a.records == b.records && a.texts == b.texts && a.fonts.size() == b.fonts.size() && a.clips == b.clips;
}

platform::ui::Picture Draw(CQOVAView& view) {
  platform::ui::RecordingCanvas canvas(kWidth, kHeight);
  view.OnDraw(&canvas);
  return canvas.Contents();
}

class ShownSampleTest : public AppTest {
 protected:
  ShownSampleTest() {
    CSelectResult::Reset();
    CBatchSelect::Reset();
    demo::DemoOptions options;
    options.Folder = home_.Path("demo/");
    options.ArrayType = "Mapping10K_Xba131";
    std::ostringstream log;
    EXPECT_TRUE(MakeDemo(options, log).empty()) << log.str();
    EXPECT_TRUE(Start(home_.Path("demo/")));
    CProgramSetting& setting = *qova::document::ApplicationData().ProgramSetting;
    setting.DOSELF = 1;
    setting.DONONSELF = 1;
    setting.SKIPALREADY = 0;
  }
  ~ShownSampleTest() override {
    CSelectResult::Reset();
    CBatchSelect::Reset();
  }

  CQOVAView* ActiveView() {
    CMDIChildWnd* child = MainFrame().MDIGetActive();
    return child ? dynamic_cast<CQOVAView*>(child->GetActiveView()) : nullptr;
  }

  // Data > DisplaySamples, the result kind, one sample ticked, Single display,
  // then the sample picked in the single-view list.
  void ShowSingle(const std::string& sample, bool self) {
    Ui().OnDialog(res::kDisplaySamplesDialog, [=](DialogDriver& d) {
      d.Click(self ? display::kSelfAnalysis : display::kNonSelfAnalysis).Click(display::kUncheckAll);
      const std::vector<std::string> listed = d.Items(display::kSampleList);
      for (std::size_t i = 0; i < listed.size(); ++i)
        if (listed[i] == sample) d.ToggleItemCheck(display::kSampleList, int(i));
      d.Click(display::kSingleDisplay);
    });
    ASSERT_TRUE(Choose(res::kCmdDisplaySamples));
    auto* list = dynamic_cast<CWnd*>(qova::document::ApplicationData().SingleViewList.get());
    ASSERT_NE(list, nullptr);
    DialogDriver(*list).Select(res::single_view::kNames, 0);
  }

  // Automation > Batch Analysis, every sample checked, then `action`.
  void Batch(unsigned action) {
    Ui().OnDialog(res::kBatchSelectDialog, [=](DialogDriver& d) {
      const std::size_t n = d.Items(res::batch::kSampleList).size();
      for (std::size_t i = 0; i < n; ++i)
        if (d.ItemCheck(res::batch::kSampleList, int(i)) == 0) d.ToggleItemCheck(res::batch::kSampleList, int(i));
      d.Click(action);
    });
    ASSERT_TRUE(Choose(res::kCmdBatchAnalysis));
  }

  // Automation > Batch Combine over a list pairing the two tumours.
  void BatchCombine() {
    const std::string list = home_.Path("pairs.txt");
    ASSERT_TRUE(platform::WriteWholeFile(list, "Tumour01\tTumour02\n"));
    Ui().OnFileDialog([list](platform::ui::FileDialogRequest& request) {
      request.chosen = {list};
      return true;
    });
    ASSERT_TRUE(Choose(res::kCmdBatchCombine));
  }

  // Parameter > HMM parameter (total), N=1 moved, OK.
  void HmmTotal() {
    Ui().OnDialog(res::kHmmParameterDialog, [](DialogDriver& d) { d.Type(1036, "-40").Ok(); });
    ASSERT_TRUE(Choose(res::kCmdHmmTotal));
  }

  // Data > Sample Manager: the sample's non-self analysis with automatic references.
  void ManagerNonSelf(const std::string& sample) {
    namespace ids = qova::resources::manager;
    Ui().OnDialog(res::kSampleManagerDialog, [sample](DialogDriver& d) {
      d.Select(ids::kSampleList, sample);
      d.Click(ids::kModeAutomatic).Click(ids::kNonSelfAnalysis);
    });
    ASSERT_TRUE(Choose(res::kCmdSampleManager));
  }

  // What every window of the active document shows, against what it holds.
  void ExpectEveryWindowShows(const std::string& name, bool self) {
    CQOVAView* view = ActiveView();
    ASSERT_NE(view, nullptr);
    CQOVADoc* doc = view->GetDocument();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->AnalyzedData.Header.SampleName, name);
    EXPECT_EQ(doc->AnalyzedData.IsSelf, self);
    EXPECT_EQ(doc->GetTitle(), name);
    if (doc->Status == kStatusAnalysis) {
      EXPECT_EQ(doc->ArrayData.Header.SampleName, name);
    }

    // A window opened now binds the document afresh: each old one must draw
    // exactly as it does.
    std::vector<CQOVAView*> old;
    for (CView* v : doc->Views())
      if (auto* q = dynamic_cast<CQOVAView*>(v)) old.push_back(q);
    ASSERT_TRUE(Choose(ID_WINDOW_NEW));
    CQOVAView* fresh = ActiveView();
    ASSERT_NE(fresh, nullptr);
    const platform::ui::Picture expected = Draw(*fresh);
    const std::string kind = self ? "Sample " + name + " compared with the self reference"
                                  : "Sample " + name + " compared with";
    EXPECT_NE(fresh->SampleTitle().find(kind), std::string::npos) << fresh->SampleTitle();
    for (CQOVAView* v : old) {
      SCOPED_TRACE(v->GetParentFrame()->GetWindowText());
      EXPECT_EQ(v->GetParentFrame()->GetWindowText().rfind(name, 0), 0u);
      EXPECT_EQ((v->m_nViewFlags & VIEW_SELF_REFERENCE) != 0, self);
      EXPECT_EQ(v->SampleTitle(), fresh->SampleTitle());
      EXPECT_TRUE(SamePicture(Draw(*v), expected));
    }
    fresh->GetParentFrame()->DestroyWindow();
  }
};

TEST_F(ShownSampleTest, EveryWindowDrawsTheOneResultItsDocumentHoldsAfterEachCommandOrder) {
  using Step = std::function<void()>;
  const Step automatic = [this] { Batch(res::batch::kAutomaticAnalysis); };
  const Step superseded = [this] { Batch(res::batch::kSelectNonSelfRefs); };
  const Step combine = [this] { BatchCombine(); };
  const Step reanalysis = [this] { ASSERT_TRUE(Choose(res::kCmdReanalysis)); };
  const Step hmm = [this] { HmmTotal(); };
  const Step tumour02 = [this] { ShowSingle("Tumour02", false); };
  const Step manager02 = [this] { ManagerNonSelf("Tumour02"); };
  // View > EachChromosome and back: the view rebuilds its layout and repaints.
  const Step relayout = [this] {
    Ui().OnDialog(res::kChromosomeSelectDialog, [](DialogDriver& d) { d.Click(res::kChromosomeRadios[7]).Ok(); });
    ASSERT_TRUE(Choose(res::kCmdEachChromosome));
    ASSERT_TRUE(Choose(res::kCmdAllGenome));
  };
  struct Case {
    const char* what;
    std::vector<Step> steps;  // after Tumour01's self result is shown
    const char* shown;
    bool self;
  };
  const std::vector<Case> cases = {
      {"batch", {automatic, relayout}, "Tumour01", true},
      {"superseded reference choice", {superseded}, "Tumour01", true},
      {"batch combine", {combine}, "Tumour01", true},
      {"re-analysis, then batch", {reanalysis, automatic}, "Tumour01", true},
      {"batch, then re-analysis", {automatic, reanalysis}, "Tumour01", true},
      {"batch, then HMM means", {automatic, hmm}, "Tumour01", true},
      {"HMM means, then batch", {hmm, automatic}, "Tumour01", true},
      {"Display Samples, then batch", {tumour02, automatic}, "Tumour02", false},
      {"batch, then Display Samples", {automatic, tumour02}, "Tumour02", false},
      {"Sample Manager on another sample, then batch", {manager02, automatic}, "Tumour02", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ShowSingle("Tumour01", true);
    CQOVAView* view = ActiveView();
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(view->GetDocument()->GetTitle(), "Tumour01");
    // A second window on the document, as Window > New Window opens it.
    ASSERT_TRUE(Choose(ID_WINDOW_NEW));
    for (const Step& step : c.steps) step();
    ExpectEveryWindowShows(c.shown, c.self);
    EXPECT_TRUE(Ui().Failures().empty()) << Ui().Failures()[0];
    messages_.Clear();
  }
}

#ifdef QOVA_TEST_WITH_QT
TEST_F(ShownSampleTest, TheViewAfterTheBatchIsPhotographed) {
  ShowSingle("Tumour01", true);
  Batch(res::batch::kAutomaticAnalysis);
  CQOVAView* view = ActiveView();
  ASSERT_NE(view, nullptr);
  platform::qt::RasterCanvas canvas(kWidth, kHeight);
  view->OnDraw(&canvas);
  const std::filesystem::path folder = std::filesystem::path(BinaryDir()) / "artefacts" / "views";
  std::filesystem::create_directories(folder);
  EXPECT_TRUE(canvas.SavePng((folder / "Tumour01_after_batch.png").string()));
  EXPECT_EQ(view->GetDocument()->GetTitle(), "Tumour01");
}
#endif

}  // namespace
}  // namespace qova::test
