// The main view's Parameter commands and View Setting, run through the menu
// with scripted dialogs: averaging, the HMM means with the analysis run
// again, the mouse tools they arm, and the view's own display settings.
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <tuple>

#include "core/AnalyzedData.h"
#include "core/ArrayData.h"
#include "platform/Profile.h"
#include "platform/ui/Headless.h"
#include "platform/ui/UserInput.h"
#include "resources/CommandIds.h"
#include "resources/ParameterDialogs.h"
#include "resources/SettingPages.h"
#include "tests/views/ViewTestSupport.h"

namespace qova::test {
namespace {

namespace res = qova::resources;
using platform::ui::DialogDriver;
using platform::ui::Headless;

bool SamePicture(const platform::ui::Picture& a, const platform::ui::Picture& b) {
  auto key = [](const platform::ui::DrawRecord& r) { return std::tuple(r.op, r.x1, r.y1, r.x2, r.y2, r.color, r.fill); };
  if (a.records.size() != b.records.size() || a.texts != b.texts) return false;
  for (std::size_t i = 0; i < a.records.size(); ++i)
    if (key(a.records[i]) != key(b.records[i])) return false;
  return true;
}

std::string Bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

class ViewParameterTest : public ViewTest {
 protected:
  ~ViewParameterTest() override { platform::AppProfile().SetStore(std::make_unique<platform::MemorySettingsStore>()); }
  bool Choose(UINT id) { return platform::ui::input::ChooseCommand(Frame(), id); }

};

TEST_F(ViewParameterTest, AverageModeCancelKeepsThePictureAndOkTakesTheNewWindow) {
  Open("Tumour02", ".CFN");
  CQOVAView& view = FramedView();
  const platform::ui::Picture before = Draw(view);
  Headless().OnDialog(res::kAverageDialog, [](DialogDriver& d) { d.Type(res::kAverageNumber, "20").Cancel(); });
  ASSERT_TRUE(Choose(res::kCmdAverageMode));
  EXPECT_EQ(view.m_nAverageNumber, 10);
  EXPECT_TRUE(SamePicture(Draw(view), before));

  Headless().OnDialog(res::kAverageDialog, [](DialogDriver& d) { d.Type(res::kAverageNumber, "20").Ok(); });
  ASSERT_TRUE(Choose(res::kCmdAverageMode));
  EXPECT_EQ(view.m_nAverageNumber, 20);
  EXPECT_FALSE(SamePicture(Draw(view), before));
  // A view that starts with a window of 20 averages the same.
  CQOVAView& fresh = NewView();
  fresh.m_nAverageNumber = 20;
  fresh.OnUpdate(nullptr, 0, nullptr);
  EXPECT_EQ(view.m_pAverage[0], fresh.m_pAverage[0]);
  EXPECT_TRUE(Headless().Failures().empty());
}

TEST_F(ViewParameterTest, AverageModeReopensWithTheViewsChoiceAndOkWithoutAChangeKeepsIt) {
  Open("Tumour01", ".CFS");
  CQOVAView& view = FramedView();
  Headless().OnDialog(res::kAverageDialog, [](DialogDriver& d) {
    d.Type(res::kAverageNumber, "30").Click(res::kAverageIncludeAll).Click(res::kAveragePoints).Ok();
  });
  ASSERT_TRUE(Choose(res::kCmdAverageMode));
  ASSERT_EQ(std::tuple(view.m_nAverageNumber, view.m_nAverageMode, view.m_nDrawMode), std::tuple(30, 2, 1));
  EXPECT_NE(view.SampleTitle().find("All data included"), std::string::npos);
  const platform::ui::Picture chosen = Draw(view);

  std::string number;
  bool includeAll = false, points = false;
  Headless().OnDialog(res::kAverageDialog, [&](DialogDriver& d) {
    number = d.Text(res::kAverageNumber);
    includeAll = d.IsChecked(res::kAverageIncludeAll);
    points = d.IsChecked(res::kAveragePoints);
    d.Ok();
  });
  ASSERT_TRUE(Choose(res::kCmdAverageMode));
  EXPECT_EQ(number, "30");
  EXPECT_TRUE(includeAll);
  EXPECT_TRUE(points);
  EXPECT_EQ(std::tuple(view.m_nAverageNumber, view.m_nAverageMode, view.m_nDrawMode), std::tuple(30, 2, 1));
  EXPECT_TRUE(SamePicture(Draw(view), chosen));
  EXPECT_TRUE(Headless().Failures().empty());
}

TEST_F(ViewParameterTest, HmmMeansOkRewritesTheResultThroughTheAnalysisAndCancelChangesNothing) {
  const std::string root = OwnCopy();
  doc_->AnalyzedData.LoadFile(root + "Results/Tumour01.CFS");
  doc_->ArrayData.LoadFile(root + "ArrayData/Tumour01.CFH");
  doc_->Status = kStatusAnalysis;
  CQOVAView& view = FramedView();
  ASSERT_TRUE(view.m_nViewFlags & VIEW_SELF_REFERENCE);
  const std::string result = root + "Results/Tumour01.CFS";
  const std::string stored = Bytes(result);
  const std::vector<std::int32_t> states = doc_->AnalyzedData.CopyNumberState;

  Headless().OnDialog(res::kHmmParameterDialog, [](DialogDriver& d) { d.Type(1036, "-10").Cancel(); });
  ASSERT_TRUE(Choose(res::kCmdHmmTotal));
  EXPECT_TRUE(Bytes(result) == stored);

  // N=1 moved up close to the diploid level.
  Headless().OnDialog(res::kHmmParameterDialog, [](DialogDriver& d) {
    EXPECT_EQ(d.Text(1036), "-49");
    d.Type(1036, "-10").Ok();
  });
  ASSERT_TRUE(Choose(res::kCmdHmmTotal));
  EXPECT_TRUE(messages_.Empty()) << messages_.Texts()[0];
  EXPECT_TRUE(Bytes(result) != stored);
  CAnalyzedData rewritten;
  rewritten.LoadFile(result);
  EXPECT_NEAR(rewritten.Header.HmmMeans[1], -0.10, 1e-6);
  EXPECT_NEAR(rewritten.Header.HmmMeans[2], 0.0, 1e-6);
  EXPECT_NEAR(doc_->ArrayData.Header.HmmMeans[1], -0.10, 1e-6);
  EXPECT_NE(rewritten.CopyNumberState, states);
  // The view was updated with the new result.
  const bool log = (view.m_nViewFlags & VIEW_LOG_SCALE) != 0;
  EXPECT_NEAR(view.m_fHmmLevel[1], log ? -0.10 : std::exp2(-0.10), 1e-6);
  EXPECT_TRUE(std::equal(rewritten.CopyNumberState.begin(), rewritten.CopyNumberState.end(),
                         view.m_pCopyNumberState.begin()));
}

// A view of the document that notes, when the analysis updates it, whether
// the wait cursor shows and whether a window is still open.
class WaitProbe : public CView {
 public:
  HWND watched = nullptr;
  std::vector<std::pair<bool, bool>> seen;  // (waiting, the watched window open)
  void OnDraw(CDC*) override {}
  void OnUpdate(CView*, LPARAM, CObject*) override {
    seen.emplace_back(Headless().Waiting(), IsWindow(watched) != FALSE);
  }
};

TEST_F(ViewParameterTest, TheHmmDialogClosesBeforeTheAnalysisRunsUnderTheWaitCursor) {
  const std::string root = OwnCopy();
  doc_->AnalyzedData.LoadFile(root + "Results/Tumour01.CFS");
  doc_->ArrayData.LoadFile(root + "ArrayData/Tumour01.CFH");
  doc_->Status = kStatusAnalysis;
  FramedView();
  WaitProbe probe;
  doc_->AddView(&probe);
  for (UINT command : {res::kCmdHmmTotal, res::kCmdHmmAllele}) {
    probe.seen.clear();
    Headless().OnDialog(command == res::kCmdHmmTotal ? res::kHmmParameterDialog : res::kHmmSelfParameterDialog,
                        [&probe](DialogDriver& d) {
                          probe.watched = d.Window().m_hWnd;
                          d.Ok();
                        });
    ASSERT_TRUE(Choose(command));
    ASSERT_FALSE(probe.seen.empty()) << command;
    for (const auto& [waiting, dialogOpen] : probe.seen) {
      EXPECT_TRUE(waiting) << command;
      EXPECT_FALSE(dialogOpen) << command;
    }
    EXPECT_FALSE(Headless().Waiting());
  }
  EXPECT_EQ(Headless().WaitsBegun(), 2);
  doc_->RemoveView(&probe);
}

TEST_F(ViewParameterTest, TheAlleleMeansGoToTheSampleAsWell) {
  const std::string root = OwnCopy();
  doc_->AnalyzedData.LoadFile(root + "Results/Tumour01.CFS");
  doc_->ArrayData.LoadFile(root + "ArrayData/Tumour01.CFH");
  doc_->Status = kStatusAnalysis;
  FramedView();
  Headless().OnDialog(res::kHmmSelfParameterDialog, [](DialogDriver& d) { d.Type(1033, "180").Ok(); });
  ASSERT_TRUE(Choose(res::kCmdHmmAllele));
  CAnalyzedData rewritten;
  rewritten.LoadFile(root + "Results/Tumour01.CFS");
  EXPECT_NEAR(rewritten.Header.AlleleHmmMeans[4], 1.80, 1e-6);
}

TEST_F(ViewParameterTest, TheToolCommandsArmTheirMouseModeByTheirRules) {
  Open("Tumour01", ".CFS");
  CQOVAView& view = FramedView();
  const struct {
    UINT command;
    int mode;
  } tools[] = {{res::kCmdSdRange, 1}, {res::kCmdContaminationRate, 4}, {res::kCmdMeasure, 3}, {res::kCmdMark, 5}};
  for (const auto& t : tools) {
    view.m_nMouseMode = 0;
    ASSERT_TRUE(Choose(t.command)) << t.command;
    EXPECT_EQ(view.m_nMouseMode, t.mode) << t.command;
  }
  // AdjustAmp belongs to the combined arrays.
  EXPECT_FALSE(Frame().IsCommandEnabled(res::kCmdAdjustAmp));
  view.m_nMouseMode = 0;
  view.OnParameterAdjustAmp();
  EXPECT_EQ(view.m_nMouseMode, 0);
  // The next update disarms them.
  view.m_nMouseMode = 5;
  view.OnUpdate(nullptr, 0, nullptr);
  EXPECT_EQ(view.m_nMouseMode, 0);

  // A result without its sample: the analysis tools are off, and the SD range
  // takes only an Agilent result even when reached.
  doc_->Status = kStatusSingle;
  view.OnUpdate(nullptr, 0, nullptr);
  for (UINT id : {res::kCmdSdRange, res::kCmdContaminationRate, res::kCmdMark, res::kCmdHmmTotal, res::kCmdHmmAllele,
                  res::kCmdFragmentLengthPlot, res::kCmdFragmentLengthRange, res::kCmdLogScale})
    EXPECT_FALSE(Frame().IsCommandEnabled(id)) << id;
  EXPECT_TRUE(Frame().IsCommandEnabled(res::kCmdMeasure));
  EXPECT_TRUE(Frame().IsCommandEnabled(res::kCmdAverageMode));
  view.OnParameterSdRange();
  EXPECT_EQ(view.m_nMouseMode, 0);
  view.m_nArrayType = 11;
  view.OnParameterSdRange();
  EXPECT_EQ(view.m_nMouseMode, 1);
}

TEST_F(ViewParameterTest, ViewSettingWithoutTheCallBarRepaintsWithShorterRowsAndLeavesTheSettingsFile) {
  const std::string settings = Path("config/QOVA.ini");
  std::filesystem::create_directories(Path("config"));
  std::ofstream(settings) << "[Web]\nGenomeBrowser=https://example.org\n";
  platform::AppProfile().UseSettingsFile(settings);
  const std::string settingsBytes = Bytes(settings);
  Open("Tumour02", ".CFN");
  CQOVAView& view = FramedView();
  const int rowHeight = view.m_nRowHeight;
  const int programItems = global_.ProgramSetting->Display.ITEMS.NONSELF;
  ASSERT_TRUE(view.ItemMask() & 0x1);
  const platform::ui::Picture before = Draw(view);

  Headless().OnSheet("View Setting", [](platform::ui::SheetDriver& s) {
    ASSERT_TRUE(s.SelectPage(1));
    s.Page().Click(res::settings::items::kNonSelfCallBar);
    s.Cancel();
  });
  ASSERT_TRUE(Choose(res::kCmdViewSetting));
  EXPECT_EQ(view.m_nRowHeight, rowHeight);
  EXPECT_TRUE(SamePicture(Draw(view), before));

  Headless().OnSheet("View Setting", [](platform::ui::SheetDriver& s) {
    EXPECT_EQ(s.Tabs(), (std::vector<std::string>{"Print", "Items", "Multiple", "Color", "Color2", "Scale", "Multiple",
                                                  "Integral", "Marker"}));
    ASSERT_TRUE(s.SelectPage(1));
    s.Page().Click(res::settings::items::kNonSelfCallBar);
    EXPECT_TRUE(s.Ok());
  });
  ASSERT_TRUE(Choose(res::kCmdViewSetting));
  EXPECT_FALSE(view.ItemMask() & 0x1);
  EXPECT_EQ(view.m_nRowHeight, rowHeight - 100);
  EXPECT_EQ(view.m_nChromosomeY[3], 1 * (rowHeight - 100)) << "the layout follows at once";
  EXPECT_TRUE(Headless().IsInvalidated(view));
  const platform::ui::Picture after = Draw(view);
  EXPECT_LT(after.records.size(), before.records.size());
  EXPECT_EQ(global_.ProgramSetting->Display.ITEMS.NONSELF, programItems);
  EXPECT_TRUE(Bytes(settings) == settingsBytes);
  EXPECT_TRUE(Headless().Failures().empty());
}

}  // namespace
}  // namespace qova::test
