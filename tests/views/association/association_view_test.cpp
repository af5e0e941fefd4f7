// The association view as a user meets it: the panels of a study whose
// results are set by hand (probed on the recording canvas and, where the
// windowed interface is built, on the raster canvas), the keys and the
// context menu, a Measure drag, tiled and one-page prints that keep the axis
// labels and the ideogram's frame on the paper, and the pictures of a study
// with a planted case/control difference on chromosome 8, kept under
// <build>/artefacts/association for people to look at.
#include <algorithm>
#include <filesystem>
#include <random>

#include "core/ArrayTypes.h"
#include "core/BasicData.h"
#include "platform/Strings.h"
#include "platform/ui/DC.h"
#include "platform/ui/Headless.h"
#include "platform/ui/Paper.h"
#include "platform/ui/UserInput.h"
#include "resources/CommandIds.h"
#include "resources/FrameResources.h"
#include "resources/SettingPages.h"
#include "resources/ViewDialogs.h"
#include "tests/analysis/AssociationTestSupport.h"
#include "tests/views/ViewTestSupport.h"
#include "views/ChSelectDlg.h"
#include "views/association/QOVAAssDoc.h"
#include "views/association/QOVAAssView.h"
#ifdef QOVA_RASTER_CANVAS
#include "platform/qt/PdfPages.h"
#include "platform/qt/RasterCanvas.h"
#endif

namespace views = qova::views;

namespace qova::test {
namespace {

namespace res = qova::resources;
using platform::ui::DrawOp;
using platform::ui::DrawRecord;
using platform::ui::Headless;
using platform::ui::Picture;

constexpr int kType = 1;  // Mapping10K_Xba142
// The planted difference: these slots of chromosome 8, past its first.
constexpr int kPeakFrom = 150;
constexpr int kPeakTo = 190;

int First(int c) { return qova::core::kArrayChromosomeStarts[kType][c]; }
int End(int c) { return qova::core::kArrayChromosomeStarts[kType][c + 1]; }

class AssociationViewTest : public AssociationDataTest {
 protected:
  AssociationViewTest() {
    EXPECT_TRUE(global_.Cytoband->LoadFrom(Root() + "data/"));
    doc_ = std::make_unique<CQOVAAssDoc>(global_);
    doc_->m_bAutoDelete = FALSE;
    CChSelectDlg::ForgetOpenings();
  }
  ~AssociationViewTest() override {
    if (frame_) frame_->DestroyWindow();
    for (CView* view : std::vector<CView*>(doc_->Views())) view->DestroyWindow();
  }

  // A study of two samples whose results are set by hand: nothing valid.
  void BlankStudy() {
    const std::size_t n = static_cast<std::size_t>(qova::core::kArrayFamilies[kAssociationFamily].snpCount);
    SetCalls(doc_->m_Data, 1, {std::vector<std::uint8_t>(n, 0), std::vector<std::uint8_t>(n, 0)});
    doc_->m_strStatus = CQOVAAssDoc::kStatusAnalysis;
  }
  void SetResult(int slot, float chiSquare, float p) {
    doc_->m_Data.valid[std::size_t(slot)] = 1;
    doc_->m_Data.chiSquare[std::size_t(slot)] = chiSquare;
    doc_->m_Data.pValue[std::size_t(slot)] = p;
  }

  // Forty cases and forty controls in Hardy-Weinberg proportions, the cases'
  // B allele far more frequent on a stretch of chromosome 8; then CalcChi2.
  void PlantedStudy() {
    const std::size_t n = static_cast<std::size_t>(qova::core::kArrayFamilies[kAssociationFamily].snpCount);
    std::mt19937 random(8);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::vector<double> frequency(n);
    for (double& q : frequency) q = 0.1 + 0.4 * unit(random);
    std::vector<std::vector<std::uint8_t>> calls(80, std::vector<std::uint8_t>(n, 0));
    for (std::size_t s = 0; s < calls.size(); ++s) {
      const bool isCase = s < 40;
      for (int i = 0; i < End(23); ++i) {
        double q = frequency[std::size_t(i)];
        if (i >= First(8) + kPeakFrom && i <= First(8) + kPeakTo) q = isCase ? 0.8 : 0.2;
        const double u = unit(random);
        calls[s][std::size_t(i)] = u < q * q ? 3 : u < q * q + 2 * q * (1 - q) ? 2 : 1;
      }
    }
    SetCalls(doc_->m_Data, 40, calls);
    doc_->m_strStatus = CQOVAAssDoc::kStatusAnalysis;
    doc_->m_Data.permutationBatch = 1000;
    doc_->OnCalcChi2();
  }

  CQOVAAssView& NewView(int width = kCanvasWidth, int height = kCanvasHeight) {
    auto& view = static_cast<CQOVAAssView&>(CreateView(RUNTIME_CLASS(CQOVAAssView), *doc_, width, height));
    view.OnInitialUpdate();
    return view;
  }
  CQOVAAssView& FramedView(int width = kCanvasWidth, int height = kCanvasHeight) {
    auto& view = static_cast<CQOVAAssView&>(CreateFramedView(RUNTIME_CLASS(CQOVAAssView), *doc_,
                                                             res::kAssociationDocumentType, width, height, frame_));
    view.OnInitialUpdate();
    return view;
  }
  // Printed pages kept under <build>/artefacts/association for people to
  // look at, where the windowed interface is built: a PDF and the pictures
  // poppler makes of it with `pictures` (its options).
  static void KeepPrint([[maybe_unused]] const std::vector<Picture>& pages, [[maybe_unused]] const std::string& name,
                        [[maybe_unused]] const std::string& pictures) {
#ifdef QOVA_RASTER_CANVAS
    const std::filesystem::path folder = std::filesystem::path(BinaryDir()) / "artefacts" / "association";
    std::filesystem::create_directories(folder);
    const std::string pdf = (folder / (name + ".pdf")).string();
    EXPECT_TRUE(platform::qt::WritePdf(pages, pdf, name));
    const std::string png = (folder / name).string();
    (void)std::system(("pdftoppm -png " + pictures + " '" + pdf + "' '" + png + "' 2>/dev/null").c_str());
#endif
  }
  static Picture Draw(CQOVAAssView& view) {
    platform::ui::RecordingCanvas canvas(kCanvasWidth, kCanvasHeight);
    view.OnDraw(&canvas);
    return canvas.Contents();
  }
  // One logical unit a pixel, the drawing's origin `down` pixels above the window's top.
  static void OneToOne(CQOVAAssView& view, int down = 0) {
    view.m_nSizeX = view.m_nScaleX;
    view.m_nSizeY = view.m_nScaleY;
    view.m_nScrollX = 0;
    view.m_nScrollY = down;
  }
  // The curve's line records (the W1 pen in colour C1) starting in chromosome c's column.
  static std::vector<DrawRecord> CurveIn(const Picture& picture, const CQOVAAssView& view, int c) {
    const CDisplaySetting::ColorKeys& k = view.m_pDisplaySetting->COLOR;
    const long long left = view.ToDeviceX(view.m_nChromosomeX[c]);
    const long long right = view.ToDeviceX(view.m_nChromosomeX[c] + (End(c) - First(c)));
    std::vector<DrawRecord> lines;
    for (const DrawRecord& r : picture.records)
      if (r.op == DrawOp::Line && r.color == k.C1 && r.width == k.W1 && r.x1 >= left && r.x1 <= right)
        lines.push_back(r);
    return lines;
  }
  int Position(int slot) const { return Annotation().Position[std::size_t(Annotation().IndexMap[std::size_t(slot)])]; }

  std::unique_ptr<CQOVAAssDoc> doc_;
  CFrameWnd* frame_ = nullptr;  // goes with its window
};

// Chromosome 1: P = 1 (chi-square 0), then P = 0 (chi-square 4), then a
// chi-square of 6 past the panel's top; chromosome 2 has no valid SNP.
TEST_F(AssociationViewTest, PanelsPlaceTheValuesOfTheValidSnpsAndBridgeTheOthers) {
  BlankStudy();
  const int a = First(1) + 10, b = First(1) + 20, c = First(1) + 30;
  SetResult(a, 0.0f, 1.0f);
  SetResult(b, 4.0f, 0.0f);
  SetResult(c, 6.0f, 0.01f);
  CQOVAAssView& view = NewView();
  ASSERT_TRUE(view.m_bDataShown);
  OneToOne(view);
  const Picture picture = Draw(view);

  const int x = view.m_nChromosomeX[1];
  const int y = view.m_nChromosomeY[1];
  struct Segment {
    int x1, y1, x2, y2;
    bool operator==(const Segment&) const = default;
  };
  std::vector<Segment> curve;
  for (const DrawRecord& r : CurveIn(picture, view, 1))
    if (r.x1 != r.x2 || r.y1 != r.y2) curve.push_back({r.x1, r.y1, r.x2, r.y2});
  const int chiTop = y + 400, pTop = y + 800;
  EXPECT_EQ(curve, (std::vector<Segment>{
                       {x + 10, chiTop + 200, x + 20, chiTop},         // 0 on the bottom line, 4 on the top one
                       {x + 20, chiTop, x + 30, chiTop - 100},         // 6 above the panel
                       {x + 10, pTop + 200, x + 20, pTop - 300},       // P 1 at v = 0, P 0 at v = 10
                       {x + 20, pTop - 300, x + 30, pTop + 200 - 100},  // P 0.01 at v = 2
                   }));
  EXPECT_TRUE(CurveIn(picture, view, 2).empty());
  // The labels and the ideogram's frame.
  for (const char* label : {"Ch1", "ChX", "0", "2", "4"}) EXPECT_NE(picture.FindText(label), nullptr) << label;
  std::size_t frameLines = 0;
  for (const DrawRecord& r : picture.records)
    frameLines += r.op == DrawOp::Line && r.color == RGB(0, 0, 0) && r.y1 == y + 700 && r.y2 == y + 700 && r.x1 == x;
  EXPECT_EQ(frameLines, 1u);
}

#ifdef QOVA_RASTER_CANVAS
TEST_F(AssociationViewTest, OnTheRasterTheCurveReachesTheZeroLineAndTheTopOfZeroP) {
  BlankStudy();
  const int a = First(1) + 10, b = First(1) + 20;
  SetResult(a, 0.0f, 1.0f);
  SetResult(b, 4.0f, 0.0f);
  CQOVAAssView& view = NewView();
  OneToOne(view, 100);
  platform::qt::RasterCanvas canvas(kCanvasWidth, kCanvasHeight);
  view.OnDraw(&canvas);
  const COLORREF curve = view.m_pDisplaySetting->COLOR.C1;
  const int x = view.m_nChromosomeX[1];
  const int pTop = view.m_nChromosomeY[1] + 800 - 100;
  EXPECT_EQ(canvas.PixelAt(x + 10, pTop + 200), curve);  // P = 1
  EXPECT_EQ(canvas.PixelAt(x + 20, pTop - 300), curve);  // P = 0
  EXPECT_EQ(canvas.PixelAt(x + 15, pTop - 50), curve);   // on the way between them
  EXPECT_NE(canvas.PixelAt(x + 25, pTop - 300), curve);  // the curve ends at the last valid SNP
}
#endif

TEST_F(AssociationViewTest, F6AndShiftF6StepRoundTheChromosomesAndSampleInformationIsDisabled) {
  BlankStudy();
  CQOVAAssView& view = FramedView();
  const auto key = [this](BYTE modifiers) { platform::ui::input::Key(*frame_, VK_F6, modifiers); };
  key(0);
  EXPECT_FALSE(view.m_nViewFlags & VIEW_ONE_CHROMOSOME);
  EXPECT_FALSE(frame_->IsCommandEnabled(res::kCmdSampleInformation));
  EXPECT_TRUE(frame_->IsCommandEnabled(res::kCmdViewSetting));
  Headless().OnDialog(res::kChromosomeSelectDialog, [](platform::ui::DialogDriver& d) {
    d.Click(res::kChromosomeRadios[22]).Ok();
  });
  ASSERT_TRUE(platform::ui::input::ChooseCommand(*frame_, res::kCmdEachChromosome));
  ASSERT_EQ(view.m_nChromosome, 23);
  EXPECT_EQ(std::pair(view.m_nScaleX, view.m_nScaleY), std::pair(100, 400));
  key(0);
  EXPECT_EQ(view.m_nChromosome, 1);
  key(FSHIFT);
  key(FSHIFT);
  EXPECT_EQ(view.m_nChromosome, 22);
  // The label follows the chromosome.
  EXPECT_NE(Draw(view).FindText("Ch22"), nullptr);
  EXPECT_EQ(Draw(view).FindText("Ch1"), nullptr);
  EXPECT_TRUE(Headless().Failures().empty());
}

TEST_F(AssociationViewTest, InformationAnsweredYesOpensTheBrowserAtTheClickedSnp) {
  BlankStudy();
  CQOVAAssView& view = NewView();
  OneToOne(view, view.m_nChromosomeY[8]);
  const int k = (End(8) - First(8)) / 3, s = First(8) + k;
  const CPoint click(LONG(view.ToDeviceX(view.m_nChromosomeX[8] + k)), LONG(view.ToDeviceY(view.m_nChromosomeY[8] + 500)));
  std::string band;
  doc_->m_Cytoband.GetBandName(band, 8, s, FALSE);
  ASSERT_FALSE(band.empty());
  Headless().OnPopupMenu([](const platform::ui::PopupMenuRequest& request) {
    return platform::ui::FindMenuItem(request.items, "Information");
  });
  messages_.QueueAnswer(IDYES);
  platform::ui::input::Mouse(view, WM_RBUTTONDOWN, MK_RBUTTON, click);
  ASSERT_EQ(messages_.AllShown().size(), 1u);
  EXPECT_EQ(messages_.AllShown()[0].text,
            platform::Format("SNPnumber= %d\tChromosome= 8\tCytoband= %7s\n \n Goto Web Information?", s, band.c_str()));
  ASSERT_EQ(Headless().OpenedUrls().size(), 1u);
  EXPECT_EQ(Headless().OpenedUrls()[0],
            platform::Format("https://genome.ucsc.edu/cgi-bin/hgTracks?db=hg17&position=chr8%%3A%d-%d",
                             Position(s) - 100, Position(s) + 100));
  // No: the report only.
  messages_.QueueAnswer(IDNO);
  platform::ui::input::Mouse(view, WM_RBUTTONDOWN, MK_RBUTTON, click);
  EXPECT_EQ(messages_.AllShown().size(), 2u);
  EXPECT_EQ(Headless().OpenedUrls().size(), 1u);
}

TEST_F(AssociationViewTest, AMeasureDragReportsTheRegionOfASingleArrayType) {
  BlankStudy();
  CQOVAAssView& view = NewView();
  OneToOne(view, view.m_nChromosomeY[23]);
  view.OnParameterMeasure();
  ASSERT_EQ(view.m_nMouseMode, MOUSE_MEASURE);
  const auto at = [&](int c, int k) {
    return CPoint(LONG(view.ToDeviceX(view.m_nChromosomeX[c] + k)), LONG(view.ToDeviceY(view.m_nChromosomeY[c] + 900)));
  };
  // Right to left along chromosome X.
  const int from = 200, to = 40;
  messages_.QueueAnswer(IDNO);
  platform::ui::input::Mouse(view, WM_LBUTTONDOWN, MK_LBUTTON, at(23, from));
  platform::ui::input::Mouse(view, WM_MOUSEMOVE, MK_LBUTTON, at(23, 100));
  platform::ui::input::Mouse(view, WM_LBUTTONUP, 0, at(23, to));
  const int first = First(23) + to, last = First(23) + from;
  ASSERT_EQ(messages_.AllShown().size(), 1u);
  EXPECT_EQ(messages_.AllShown()[0].text,
            platform::Format("Chromosome: X\nStart\tSNPnumber= %d\n\tPosition= %d\nEnd\tSNPnumber= %d\n\tPosition= "
                             "%d\nLength= %d\n Goto Web Information?",
                             first, Position(first), last, Position(last), Position(last) - Position(first)));
  EXPECT_EQ(view.m_nMouseMode, 0);
  EXPECT_TRUE(Headless().OpenedUrls().empty());
  // Disarmed: a second drag reports nothing.
  platform::ui::input::Mouse(view, WM_LBUTTONDOWN, MK_LBUTTON, at(23, from));
  platform::ui::input::Mouse(view, WM_LBUTTONUP, 0, at(23, to));
  EXPECT_EQ(messages_.AllShown().size(), 1u);
}

TEST_F(AssociationViewTest, ATiledPrintCountsItsPagesAndGivesTheScreenItsMappingBack) {
  BlankStudy();
  const platform::ui::PrinterSettings printer{"Test printer", 1240, 1754, 150, {}};
  Headless().OnPrintDialog([&](platform::ui::PrintDialogRequest& request) {
    request.printer = printer;
    return true;
  });
  CQOVAAssView& view = FramedView();
  view.m_pDisplaySetting->PRINT.ALL_X = 300;
  view.m_pDisplaySetting->PRINT.ALL_Y = 60;
  const ViewMapping screen = view;
  const views::PageGrid grid =
      views::PrintPageGrid(view.ComputePageLayout(), {printer.width, printer.height}, {300, 60}, 200);
  ASSERT_GT(grid.Count(), 1);
  platform::ui::RecordingSurface surface({printer.width, printer.height, printer.dpi, printer.dpi, true});
  CDC dc(&surface);
  CPrintInfo info;
  view.OnBeginPrinting(&dc, &info);
  EXPECT_EQ(info.GetMaxPage(), UINT(grid.Count()));
  ASSERT_TRUE(platform::ui::input::ChooseCommand(*frame_, ID_FILE_PRINT));
  ASSERT_EQ(Headless().PrintJobs().size(), 1u);
  const std::vector<Picture>& pages = Headless().PrintJobs()[0].pages;
  ASSERT_EQ(pages.size(), std::size_t(grid.Count()));
  // Every label is printed on exactly one page.
  for (const char* label : {"Ch1", "Ch12", "ChX"}) {
    int on = 0;
    for (const Picture& page : pages) {
      const DrawRecord* r = page.FindText(label);
      on += r && r->x1 >= 0 && r->x1 < printer.width && r->y1 >= 0 && r->y1 < printer.height;
    }
    EXPECT_EQ(on, 1) << label;
  }
  EXPECT_EQ(view.m_nSizeX, screen.m_nSizeX);
  EXPECT_EQ(view.m_nScaleX, screen.m_nScaleX);
}

// On paper the fonts follow the page's height while the columns share its
// width: a chromosome fitted to the page left its axis labels too little room
// before its column. Printed one page or tiled, in one chromosome or the
// genome, on either axis and on sheets of several resolutions, the labels of
// the first column of pages begin on the page and each edge of every
// ideogram's frame is on exactly one page.
TEST_F(AssociationViewTest, PrintedPagesKeepTheAxisLabelsAndTheIdeogramFramesOnThePaper) {
  PlantedStudy();
  const platform::ui::PrinterSettings a4At1200{"PDF", 9917, 14033, 1200, {}};
  const platform::ui::PrinterSettings a4At1200InMargins{"PDF", 9583, 13699, 1200, {}};
  const platform::ui::PrinterSettings a4At600{"PDF", 4960, 7016, 600, {}};
  const platform::ui::PrinterSettings a4At150{"PDF", 1240, 1754, 150, {}};
  struct Case {
    const char* name;
    int chromosome;  // 0: the genome
    bool baseAxis;
    bool onePage;
    platform::ui::PrinterSettings printer;
  };
  const Case cases[] = {
      {"print_ch5_base_1200", 5, true, false, a4At1200},
      {"print_ch5_base_1200_margins", 5, true, false, a4At1200InMargins},
      {"print_ch5_base_600", 5, true, false, a4At600},
      {"print_ch5_snp_onepage_150", 5, false, true, a4At150},
      {"print_genome_base_onepage_600", 0, true, true, a4At600},
      {"print_genome_snp_150", 0, false, false, a4At150},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    CQOVAAssView& view = FramedView(1200, 700);
    ASSERT_TRUE(view.m_bDataShown);
    if (k.baseAxis) {
      ASSERT_TRUE(platform::ui::input::ChooseCommand(*frame_, res::kCmdBaseInterval));
    }
    if (k.chromosome) {
      Headless().OnDialog(res::kChromosomeSelectDialog, [&k](platform::ui::DialogDriver& d) {
        d.Click(res::kChromosomeRadios[k.chromosome - 1]).Ok();
      });
      ASSERT_TRUE(platform::ui::input::ChooseCommand(*frame_, res::kCmdEachChromosome));
      ASSERT_EQ(view.m_nChromosome, k.chromosome);
    }
    Headless().OnPopupMenu([](const platform::ui::PopupMenuRequest& request) {
      return platform::ui::FindMenuItem(request.items, "Fit to Window");
    });
    platform::ui::input::Mouse(view, WM_RBUTTONDOWN, MK_RBUTTON, {100, 100});
    view.m_pDisplaySetting->PRINT.ONE_ALL = view.m_pDisplaySetting->PRINT.ONE_EACH = k.onePage ? 1 : 0;
    Headless().OnPrintDialog([&k](platform::ui::PrintDialogRequest& request) {
      request.printer = k.printer;
      return true;
    });
    const std::size_t jobs = Headless().PrintJobs().size();
    ASSERT_TRUE(platform::ui::input::ChooseCommand(*frame_, ID_FILE_PRINT));
    ASSERT_EQ(Headless().PrintJobs().size(), jobs + 1);
    const std::vector<Picture>& pages = Headless().PrintJobs().back().pages;
    platform::ui::RecordingSurface surface(platform::ui::PrinterCaps(k.printer));
    CDC dc(&surface);
    const views::PageGrid grid = view.PrintPages(&dc);
    ASSERT_EQ(pages.size(), std::size_t(grid.Count()));
    const int width = k.printer.width, height = k.printer.height;
    const auto onPage = [&](int x, int y) { return x >= 0 && x < width && y >= 0 && y < height; };
    EXPECT_GE(ExpectFirstColumnLabelsOnPaper(pages, grid.columns, "024"), 6 * (k.chromosome ? 1 : 6))
        << "two panels' labels of each row's first column at least";
    // The frames are the only upright black lines; each starts at one end of an edge.
    int edges = 0;
    for (const Picture& page : pages)
      for (const DrawRecord& r : page.records)
        edges += r.op == DrawOp::Line && r.color == RGB(0, 0, 0) && r.x1 == r.x2 && onPage(r.x1, r.y1);
    EXPECT_EQ(edges, 2 * (k.chromosome ? 1 : 23));
    KeepPrint(pages, k.name, "-r 60 -f 1 -l 1 -singlefile");
    frame_->DestroyWindow();
    frame_ = nullptr;
  }
}

// One chromosome prints at View Setting's Single chromosome size, tiled over
// the pages it needs, or fitted to one page with its switch: on an A4 sheet
// at 1200 dpi its ideogram is three times as wide at 300 by 300 as at 100 by
// 100, and at 3000 by 300 it runs on from the first page onto a second.
TEST_F(AssociationViewTest, OneChromosomePrintsAtTheSingleChromosomeSize) {
  PlantedStudy();
  const platform::ui::PrinterSettings printer{"PDF", 9583, 13699, 1200, {}};
  const struct {
    const char* name;
    int sizeX, sizeY;
    bool onePage;
    std::size_t pages;
  } cases[] = {{"print_ch4_100", 100, 100, false, 1},
               {"print_ch4_300", 300, 300, false, 1},
               {"print_ch4_300_onepage", 300, 300, true, 1},
               {"print_ch4_3000x300", 3000, 300, false, 2}};
  for (const auto& k : cases) {
    SCOPED_TRACE(k.name);
    CQOVAAssView& view = FramedView(1200, 700);
    Headless().OnDialog(res::kChromosomeSelectDialog, [](platform::ui::DialogDriver& d) {
      d.Click(res::kChromosomeRadios[3]).Ok();
    });
    ASSERT_TRUE(platform::ui::input::ChooseCommand(*frame_, res::kCmdEachChromosome));
    ASSERT_EQ(view.m_nChromosome, 4);
    Headless().OnSheet("View Setting", [&k](platform::ui::SheetDriver& s) {
      const std::vector<std::string> tabs = s.Tabs();
      ASSERT_TRUE(s.SelectPage(int(std::find(tabs.begin(), tabs.end(), "Print") - tabs.begin())));
      namespace sizes = res::settings::sizes;
      s.Page().Type(sizes::kEachX, std::to_string(k.sizeX)).Type(sizes::kEachY, std::to_string(k.sizeY));
      s.Page().SetCheck(sizes::kOnePageEach, k.onePage);
      EXPECT_TRUE(s.Ok());
    });
    ASSERT_TRUE(platform::ui::input::ChooseCommand(*frame_, res::kCmdViewSetting));
    Headless().OnPrintDialog([&printer](platform::ui::PrintDialogRequest& request) {
      request.printer = printer;
      return true;
    });
    const std::size_t jobs = Headless().PrintJobs().size();
    ASSERT_TRUE(platform::ui::input::ChooseCommand(*frame_, ID_FILE_PRINT));
    ASSERT_EQ(Headless().PrintJobs().size(), jobs + 1);
    const std::vector<Picture>& pages = Headless().PrintJobs().back().pages;
    ASSERT_EQ(pages.size(), k.pages);
    // The ideogram frame's upright edges, black, on the pages side by side.
    int left = INT32_MAX, right = INT32_MIN;
    for (std::size_t p = 0; p < pages.size(); ++p)
      for (const DrawRecord& r : pages[p].records)
        if (r.op == DrawOp::Line && r.color == RGB(0, 0, 0) && r.x1 == r.x2 && r.x1 >= 0 && r.x1 < printer.width) {
          left = std::min(left, r.x1 + int(p) * printer.width);
          right = std::max(right, r.x1 + int(p) * printer.width);
        }
    ASSERT_LT(left, right);
    if (k.onePage)
      EXPECT_GT(right - left, printer.width * 8 / 10) << "fitted to the page";
    else
      // A page starts at a whole unit: the next may repeat part of one.
      EXPECT_NEAR(right - left, double(End(4) - First(4)) * k.sizeX / 200, k.sizeX / 200.0 + 1);
    KeepPrint(pages, k.name, "-r 30");
    frame_->DestroyWindow();
    frame_ = nullptr;
  }
}

// The row's height follows the item mask: OK lays the view out again at once,
// Cancel changes nothing.
TEST_F(AssociationViewTest, ViewSettingClosedWithOkLaysTheViewOutAgain) {
  BlankStudy();
  CQOVAAssView& view = FramedView();
  const int rowHeight = view.m_nRowHeight;
  ASSERT_TRUE(view.m_pDisplaySetting->ITEMS.NONSELF & 0x1);
  for (const bool ok : {false, true}) {
    Headless().OnSheet("View Setting", [ok](platform::ui::SheetDriver& s) {
      ASSERT_TRUE(s.SelectPage(1));
      s.Page().Click(res::settings::items::kNonSelfCallBar);
      if (ok)
        EXPECT_TRUE(s.Ok());
      else
        s.Cancel();
    });
    ASSERT_TRUE(platform::ui::input::ChooseCommand(*frame_, res::kCmdViewSetting));
    EXPECT_EQ(view.m_nRowHeight, ok ? rowHeight - 100 : rowHeight);
    EXPECT_EQ(view.m_nChromosomeY[3], ok ? rowHeight - 100 : rowHeight) << "the layout follows at once";
  }
  // The settings of the program stay as they were.
  EXPECT_TRUE(global_.ProgramSetting->Display.ITEMS.NONSELF & 0x1);
}

// Reached as they may be (a key, a call), All Genome in the genome and Each
// Chromosome in one chromosome change nothing: no chooser, no sizes swapped.
TEST_F(AssociationViewTest, TheModeCommandsActOnlyFromTheOtherMode) {
  BlankStudy();
  CQOVAAssView& view = NewView();
  view.m_nSizeX = 137;
  const int each = view.m_nEachSizeX;
  view.OnViewAllGenome();
  EXPECT_EQ(std::pair(view.m_nSizeX, view.m_nEachSizeX), std::pair(137, each));
  Headless().OnDialog(res::kChromosomeSelectDialog, [](platform::ui::DialogDriver& d) {
    d.Click(res::kChromosomeRadios[2]).Ok();
  });
  view.OnViewEachChromosome();
  ASSERT_TRUE(view.m_nViewFlags & VIEW_ONE_CHROMOSOME);
  ASSERT_EQ(view.m_nChromosome, 3);
  EXPECT_EQ(std::pair(view.m_nSizeX, view.m_nAllSizeX), std::pair(each, 137));
  view.m_nSizeX = 88;
  view.OnViewEachChromosome();
  EXPECT_EQ(Headless().ShownDialogs().size(), 1u);
  EXPECT_EQ(std::pair(view.m_nSizeX, view.m_nAllSizeX), std::pair(88, 137));
  EXPECT_TRUE(Headless().Failures().empty());
}

// The menu's Each Chromosome View puts the clicked SNP in the middle of the
// window, by its slot in SNP order and by its position on the base axis.
TEST_F(AssociationViewTest, EachChromosomeViewFromTheMenuCentresTheClickedSnpOnEitherAxis) {
  BlankStudy();
  for (const bool base : {false, true}) {
    SCOPED_TRACE(base ? "base axis" : "SNP order");
    CQOVAAssView& view = NewView(400, 300);
    if (base) view.OnViewBaseInterval();
    ASSERT_EQ(bool(view.m_nViewFlags & VIEW_BASE_INTERVAL), base);
    const int s = (First(8) + End(8)) / 2;
    const int offset = base ? Position(s) / 10 : s - First(8);
    CPoint click(LONG(view.ToDeviceX(view.m_nChromosomeX[8] + offset)), LONG(view.ToDeviceY(view.m_nChromosomeY[8] + 500)));
    CPoint logical = click;
    int c = 0, hit = 0;
    ASSERT_TRUE(view.HitTest(logical, c, hit, TRUE));
    ASSERT_EQ(c, 8);
    Headless().OnPopupMenu([](const platform::ui::PopupMenuRequest& request) {
      return platform::ui::FindMenuItem(request.items, "Each Chromosome View");
    });
    platform::ui::input::Mouse(view, WM_RBUTTONDOWN, MK_RBUTTON, click);
    EXPECT_EQ(view.m_nChromosome, 8);
    EXPECT_EQ(std::pair(view.m_nScaleX, view.m_nScaleY), base ? std::pair(2500000, 400) : std::pair(50, 400));
    // Within the logical width of a pixel.
    EXPECT_NEAR(double(view.ToLogicalX(200)), base ? Position(hit) / 10 : hit - First(8),
                double(view.m_nScaleX) / view.m_nSizeX + 1);
  }
}

// Released over the next column of its row, or the one before, the band ends
// at its own chromosome's last or first slot.
TEST_F(AssociationViewTest, AMeasureBandReleasedOverAnotherChromosomeEndsAtItsOwnEnd) {
  BlankStudy();
  CQOVAAssView& view = NewView();
  OneToOne(view, view.m_nChromosomeY[7]);
  const auto at = [&](int c, int k) {
    return CPoint(LONG(view.ToDeviceX(view.m_nChromosomeX[c] + k)), LONG(view.ToDeviceY(view.m_nChromosomeY[c] + 900)));
  };
  const struct {
    int releaseOver;
    int first, last;
  } cases[] = {{8, First(7) + 100, End(7) - 1}, {6, First(7), First(7) + 100}};
  for (const auto& c : cases) {
    view.OnParameterMeasure();
    messages_.QueueAnswer(IDNO);
    platform::ui::input::Mouse(view, WM_LBUTTONDOWN, MK_LBUTTON, at(7, 100));
    platform::ui::input::Mouse(view, WM_LBUTTONUP, 0, at(c.releaseOver, 50));
    EXPECT_EQ(std::pair(view.m_nDragStart, view.m_nDragEnd), std::pair(c.first, c.last)) << c.releaseOver;
  }
  EXPECT_EQ(messages_.AllShown().size(), 2u);
}

// An update of the study keeps the window where it was along the SNPs.
TEST_F(AssociationViewTest, AnUpdateKeepsTheScrollPositionInSnpOrder) {
  BlankStudy();
  CQOVAAssView& view = NewView();
  view.m_nSizeX = 1000;
  view.UpdateLayout();
  view.m_nScrollX = 1000;
  view.UpdateLayout();
  ASSERT_EQ(view.m_nScrollX, 1000);
  view.OnUpdate(nullptr, 0, nullptr);
  EXPECT_EQ(view.m_nScrollX, 1000);
}

#ifdef QOVA_RASTER_CANVAS
TEST_F(AssociationViewTest, PicturesOfAPlantedDifferenceShowItsPeakOnChromosome8) {
  PlantedStudy();
  const AssociationData& data = doc_->m_Data;
  ASSERT_EQ(data.valid[std::size_t(First(8) + kPeakFrom + 5)], 1);
  ASSERT_LT(data.pValue[std::size_t(First(8) + kPeakFrom + 5)], 1e-4f);
  const std::filesystem::path folder = std::filesystem::path(BinaryDir()) / "artefacts" / "association";
  std::filesystem::create_directories(folder);
  CQOVAAssView& view = NewView();
  // Between the chi-square panel and the ideogram only a P curve that rises
  // past v = 6 draws: over the peak, and nowhere else.
  const auto peakPixels = [&](const platform::qt::RasterCanvas& canvas, int c, int from, int to) {
    const COLORREF curve = view.m_pDisplaySetting->COLOR.C1;
    const long long top = view.ToDeviceY(view.m_nChromosomeY[c] + 620);
    const long long bottom = view.ToDeviceY(view.m_nChromosomeY[c] + 680);
    int n = 0;
    for (long long px = view.ToDeviceX(view.m_nChromosomeX[c] + from); px <= view.ToDeviceX(view.m_nChromosomeX[c] + to); ++px)
      for (long long py = top; py <= bottom; ++py) n += canvas.PixelAt(int(px), int(py)) == curve;
    return n;
  };
  platform::qt::RasterCanvas genome(kCanvasWidth, kCanvasHeight);
  view.OnDraw(&genome);
  EXPECT_TRUE(genome.SavePng((folder / "genome.png").string()));
  EXPECT_GT(peakPixels(genome, 8, kPeakFrom, kPeakTo), 0);
  EXPECT_EQ(peakPixels(genome, 7, 0, End(7) - First(7) - 1), 0);

  view.m_nViewFlags |= VIEW_ONE_CHROMOSOME;
  view.m_nChromosome = 8;
  view.OnUpdate(nullptr, 0, nullptr);
  platform::qt::RasterCanvas chromosome(kCanvasWidth, kCanvasHeight);
  view.OnDraw(&chromosome);
  EXPECT_TRUE(chromosome.SavePng((folder / "chr8.png").string()));
}
#endif

}  // namespace
}  // namespace qova::test
