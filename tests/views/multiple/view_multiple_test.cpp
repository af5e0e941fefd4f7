// The multiple-sample grid with the small family's results in the document's
// list: its rows for the item masks, the whole-genome painters, the bars and
// the ruler of one chromosome, the header band, Select Samples, Hide, the row
// drag with its auto-scroll, and the commands that act on the grid's samples.
#include <algorithm>
#include <cmath>

#include "analysis/Average.h"
#include "core/ArrayTypes.h"
#include "core/BasicData.h"
#include "core/Cytoband.h"
#include "core/GenomeTables.h"
#include "core/GroupsFile.h"
#include "document/ApplicationData.h"
#include "resources/FrameResources.h"
#include "views/ChildFrm.h"
#include "platform/Paths.h"
#include "platform/Strings.h"
#include "resources/CommandIds.h"
#include "resources/GroupDialogs.h"
#include "resources/ParameterDialogs.h"
#include "resources/SettingPages.h"
#include "resources/ViewDialogs.h"
#include "tests/views/PrintArtefacts.h"
#include "tests/views/multiple/MultipleViewTestSupport.h"
#include "views/ViewNavigation.h"

namespace views = qova::views;

namespace qova::test {
namespace {

namespace res = qova::resources;
using platform::ui::DialogDriver;
using platform::ui::DrawOp;
using platform::ui::Headless;

TEST_F(MultipleViewTest, RowsTakeTheHeightsOfTheirItemMasks) {
  const struct {
    bool oneChromosome;
    int mask;
    bool nonSelfAllele;
    int self, nonSelf, header;
  } cases[] = {
      {true, 0x706, false, 700, 700, 300},                                      // the default one-chromosome items
      {true, 0x1 | 0x8 | 0x10 | 0x20 | 0x40 | 0x80 | 0x800, false, 750, 850, 100},  // bars and LOH, no plots
      {true, 0x8 | 0x20, true, 400, 700, 100},                                  // the allele plot in both rows
      {false, 0x400, false, 400, 400, 100},                                     // the default whole-genome items
      {false, 0x1 | 0x8 | 0x80, false, 500, 300, 100},                          // allele plot of the self row only
      {false, 0x1 | 0x8 | 0x80, true, 500, 600, 100},
  };
  ListThree();
  CQOVAView& view = NewView();
  for (const auto& c : cases) {
    global_.ProgramSetting->NONSELFALLELE = c.nonSelfAllele ? 1 : 0;
    view.OnUpdate(nullptr, 0, nullptr);
    if (c.oneChromosome)
      view.m_nViewFlags |= VIEW_ONE_CHROMOSOME;
    else
      view.m_nViewFlags &= ~VIEW_ONE_CHROMOSOME;
    (c.oneChromosome ? view.m_pDisplaySetting->ITEMS.MULTI : view.m_pDisplaySetting->ITEMS.MULTIALL) = c.mask;
    view.LayoutMultipleView();
    SCOPED_TRACE(platform::Format("mask 0x%x", c.mask));
    EXPECT_EQ(view.m_nMultiSelfRowHeight, c.self);
    EXPECT_EQ(view.m_nMultiNonSelfRowHeight, c.nonSelf);
    EXPECT_EQ(view.m_nMultiHeaderHeight, c.header);
    EXPECT_EQ(view.m_aMultiOrder, (std::vector<int>{c.header, c.header + c.self, c.header + c.self + c.nonSelf,
                                                     c.header + 2 * c.self + c.nonSelf}));
    // Each name sits at its row's top, whatever the rows above hold.
    const platform::ui::Picture picture = Draw(view);
    for (int r = 0; r < 3; ++r) {
      const platform::ui::DrawRecord* name = picture.FindText("S" + std::to_string(r + 1));
      ASSERT_NE(name, nullptr) << r;
      EXPECT_EQ(name->y1, view.ToDeviceY(view.m_aMultiOrder[std::size_t(r)])) << r;
    }
  }
}

TEST_F(MultipleViewTest, GenomeRowsLaySnpsOutByTheGenomeRuleInTheirChromosomesColours) {
  ListThree();
  CQOVAView& view = NewView();
  ASSERT_TRUE(view.m_bDataShown);
  ASSERT_TRUE(view.BindMultipleSample(1, true));
  const int x = 1000, y = 200;
  const std::span<const std::int32_t> valid = view.m_pValidFlag;
  const auto firstValid = [&](int c) {
    int i = First(c);
    while (i < End(c) && valid[std::size_t(i)] != 1) ++i;
    return i;
  };
  const auto pixelAt = [](const platform::ui::Picture& picture, int px, COLORREF colour) {
    return std::any_of(picture.records.begin(), picture.records.end(), [&](const platform::ui::DrawRecord& r) {
      return r.op == DrawOp::Pixel && r.x1 == px && r.color == colour;
    });
  };
  for (const bool base : {true, false}) {
    view.m_nViewFlags = base ? (view.m_nViewFlags | VIEW_BASE_INTERVAL) : (view.m_nViewFlags & ~VIEW_BASE_INTERVAL);
    const int i = firstValid(2);
    EXPECT_EQ(view.GenomeSnpX(2, x, i), base ? x + 1227600 + PositionOfSlot(i) / 200 : x + (i - First(1)) / 20);
    EXPECT_EQ(view.GenomeRowWidth(), base ? ChromosomeStartTable[24] / 20 : (End(23) - First(1)) / 20);
    // The row drawn so that the chromosome's first SNP falls on x = 100 of the canvas.
    for (const auto& [c, colour] :
         {std::pair{1, RGB(0, 85, 85)}, {2, RGB(0, 170, 170)}, {9, RGB(85, 0, 0)}, {23, RGB(170, 0, 170)}}) {
      LogicalCanvas canvas;
      view.DrawGenomeCopyNumberPlot(canvas.Dc(), 100 - view.GenomeSnpX(c, 0, firstValid(c)), y);
      EXPECT_TRUE(pixelAt(canvas.Picture(), 100, colour)) << c << " " << base;
    }
  }
}

TEST_F(MultipleViewTest, ChromosomeXHasNoStateOrLohLevelBar) {
  ListThree();
  CQOVAView& view = NewView();
  ASSERT_TRUE(view.BindMultipleSample(1, true));
  const auto lines = [&](auto draw) {
    LogicalCanvas canvas;
    draw(canvas.Dc());
    std::vector<int> xs;
    for (const auto& r : canvas.Picture().records)
      if (r.op == DrawOp::Line) xs.push_back(r.x1);
    return xs;
  };
  for (const bool loh : {false, true}) {
    const auto bar = [&](int c) {
      return lines([&](CDC* dc) { loh ? view.DrawLohLevelBar(dc, c, 0, 0) : view.DrawStateBar(dc, c, 0, 0); });
    };
    EXPECT_FALSE(bar(22).empty()) << loh;
    EXPECT_TRUE(bar(23).empty()) << loh;
    // The whole-genome bar stops where X begins.
    const std::vector<int> genome = lines([&](CDC* dc) {
      loh ? view.DrawGenomeLohLevelBar(dc, 0, 0) : view.DrawGenomeStateBar(dc, 0, 0);
    });
    ASSERT_FALSE(genome.empty());
    EXPECT_LT(*std::max_element(genome.begin(), genome.end()), view.GenomeSnpX(23, 0, First(23))) << loh;
  }
}

TEST_F(MultipleViewTest, TheRulerStepsByALeadingDigitAndDrawsNoTicksOutsideTheWindow) {
  for (const auto& [range, step] : {std::pair{700LL, 100LL}, {1999LL, 200LL}, {7LL, 1LL}, {6LL, 0LL}, {0LL, 0LL}})
    EXPECT_EQ(views::RulerStep(range), step) << range;
  for (const auto& [step, next] : {std::pair{1LL, 2LL}, {9LL, 10LL}, {20LL, 30LL}, {3000000LL, 4000000LL}, {90000LL, 100000LL}})
    EXPECT_EQ(views::NextRulerStep(step), next) << step;

  ListThree();
  CQOVAView& view = NewView();
  view.m_nChromosome = 8;
  const auto texts = [&](const platform::ui::Picture& picture) {
    std::vector<std::string> out;
    for (const auto& r : picture.records)
      if (r.op == DrawOp::Text) out.emplace_back(picture.TextOf(r));
    return out;
  };
  {
    LogicalCanvas canvas;
    view.DrawRuler(canvas.Dc(), 8, view.m_nChromosomeX[0], 0);
    const std::vector<std::string> labels = texts(canvas.Picture());
    ASSERT_GE(labels.size(), 2u);
    EXPECT_EQ(labels[0], "0");
  }
  // Scrolled far beyond the chromosome's end, or with its column right of
  // the window: the base line alone.
  for (const int scroll : {INT32_MAX / 2, -INT32_MAX / 2}) {
    view.m_nScrollX = scroll;
    LogicalCanvas canvas;
    view.DrawRuler(canvas.Dc(), 8, view.m_nChromosomeX[0], 0);
    EXPECT_TRUE(texts(canvas.Picture()).empty()) << scroll;
    EXPECT_EQ(canvas.Picture().CountOf(DrawOp::Line), 1u) << scroll;
  }
}

TEST_F(MultipleViewTest, TheHeaderBandStaysAtTheTopWhileTheRowsScroll) {
  ListThree();
  CQOVAView& view = NewView(kCanvasWidth, 300);
  ASSERT_TRUE(view.m_nViewFlags & VIEW_ONE_CHROMOSOME);
  ASSERT_EQ(view.m_pDisplaySetting->ITEMS.MULTI & 0x300, 0x300);
  for (const int scroll : {0, 400}) {
    view.m_nScrollY = scroll;
    const platform::ui::Picture picture = Draw(view);
    const platform::ui::DrawRecord* title = picture.FindText("Ch1");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->y1, 0) << scroll;
    // The white band is drawn after the rows, over them.
    const auto band = std::find_if(picture.records.rbegin(), picture.records.rend(), [](const auto& r) {
      return r.op == DrawOp::FillRect && r.color == RGB(255, 255, 255);
    });
    ASSERT_NE(band, picture.records.rend());
    EXPECT_EQ(band->y1, 0);
    EXPECT_EQ(band->y2, view.ToDeviceY(scroll + view.m_nMultiHeaderHeight));
    const platform::ui::DrawRecord* first = picture.FindText("S1");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->y1, view.ToDeviceY(view.m_aMultiOrder[0])) << scroll;
    EXPECT_LT(std::distance(picture.records.data(), first), std::distance(picture.records.begin(), band.base()));
  }
}

TEST_F(MultipleViewTest, SelectSamplesShowsTheChosenRowsInTheirOrder) {
  ListThree();
  CQOVAView& view = FramedView();
  // The third, then the first: the second is hidden.
  Headless().OnDialog(res::kMultiViewSelectDialog, [](DialogDriver& d) {
    EXPECT_EQ(d.Items(res::kMultiViewSelected), (std::vector<std::string>{"S1", "S2", "S3"}));
    d.Select(res::kMultiViewSelected, 0).Click(res::kMultiViewRemove);
    d.Select(res::kMultiViewSelected, 0).Click(res::kMultiViewRemove);
    d.Select(res::kMultiViewSelected, 0).Click(res::kMultiViewRemove);
    EXPECT_EQ(d.Items(res::kMultiViewSelected), std::vector<std::string>{});
    d.Select(res::kMultiViewUnselected, 2).Click(res::kMultiViewInclude);
    d.Select(res::kMultiViewUnselected, 0).Click(res::kMultiViewInclude);
    d.Ok();
  });
  ASSERT_TRUE(platform::ui::input::ChooseCommand(Frame(), res::kCmdSelectSamples));
  EXPECT_EQ(view.m_aMultiSelect, (std::vector<unsigned>{2, 0, 1}));
  EXPECT_EQ(RowNames(view), (std::vector<std::string>{"S3", "S1"}));
  EXPECT_EQ(view.m_aMultiOrder[1] - view.m_aMultiOrder[0], view.m_nMultiSelfRowHeight);
  const platform::ui::Picture picture = Draw(view);
  EXPECT_EQ(picture.FindText("S2"), nullptr);
  EXPECT_LT(picture.FindText("S3")->y1, picture.FindText("S1")->y1);

  // Opened again it shows the current choice; Down, and then an empty choice
  // refused by OK and by "Set as a group".
  Headless().OnDialog(res::kMultiViewSelectDialog, [](DialogDriver& d) {
    EXPECT_EQ(d.Items(res::kMultiViewSelected), (std::vector<std::string>{"S3", "S1"}));
    EXPECT_EQ(d.Items(res::kMultiViewUnselected), std::vector<std::string>{"S2"});
    d.Select(res::kMultiViewSelected, 0).Click(res::kMultiViewDown);
    EXPECT_EQ(d.Items(res::kMultiViewSelected), (std::vector<std::string>{"S1", "S3"}));
    d.Select(res::kMultiViewSelected, 0).Click(res::kMultiViewUp);  // already first
    d.Select(res::kMultiViewSelected, 0).Click(res::kMultiViewRemove);
    d.Select(res::kMultiViewSelected, 0).Click(res::kMultiViewRemove);
    d.Click(res::kMultiViewSetGroup).Ok();
    EXPECT_TRUE(d.IsOpen());
    d.Cancel();
  });
  messages_.Clear();
  view.OnViewSelectSamples();
  EXPECT_EQ(messages_.Texts(), (std::vector<std::string>{"Select at least one sample", "Select at least one sample"}));
  EXPECT_EQ(view.m_aMultiSelect, (std::vector<unsigned>{2, 0, 1}));
}

TEST_F(MultipleViewTest, SetAsAGroupKeepsTheSelectedSamplesInTheirOrder) {
  ListThree();
  CQOVAView& view = NewView();
  Headless().OnDialog(res::kMultiViewSelectDialog, [](DialogDriver& d) {
    d.Select(res::kMultiViewSelected, 2).Click(res::kMultiViewUp).Click(res::kMultiViewSetGroup).Cancel();
  });
  std::vector<std::string> members;
  Headless().OnDialog(res::kGroupManageDialog, [&](DialogDriver& d) {
    d.Type(res::kGroupManageNewName, "Chosen").Ok();
  });
  (void)OwnCopy();
  view.OnViewSelectSamples();
  CGrouP groups;
  ASSERT_TRUE(qova::core::LoadGroupsFile(doc_->AnalysisResultFolder, groups));
  ASSERT_EQ(groups.Groups.size(), 1u);
  EXPECT_EQ(groups.Groups[0].MemberNames, (std::vector<std::string>{"S1", "S3", "S2"}));
  EXPECT_EQ(groups.Groups[0].Kind, 1);
  EXPECT_EQ(view.m_aMultiSelect, (std::vector<unsigned>{1, 2, 3}));  // cancelled
}

TEST_F(MultipleViewTest, HideTakesTheRowUnderTheMouseAway) {
  ListThree();
  CQOVAView& view = NewView();
  const std::vector<int> tops = view.m_aMultiOrder;
  RightClick(view, {100, RowY(view, 1)}, "Hide S2.CFN");
  EXPECT_EQ(RowNames(view), (std::vector<std::string>{"S1", "S3"}));
  EXPECT_EQ(view.m_aMultiOrder, (std::vector<int>{tops[0], tops[1], tops[1] + tops[3] - tops[2]}));
  RightClick(view, {100, RowY(view, 1)}, "Hide S3.CFS");
  EXPECT_EQ(RowNames(view), std::vector<std::string>{"S1"});
  // One row left: nothing to hide, still a sample to open.
  RightClick(view, {100, RowY(view, 0)}, "");
  const std::vector<std::string> menu = LastMenu();
  EXPECT_EQ(std::count_if(menu.begin(), menu.end(), [](const std::string& t) { return t.starts_with("Hide"); }), 0);
  EXPECT_EQ(menu[1], "Single view (S1.CFS)");
  EXPECT_EQ(menu[2], "Update");
}

TEST_F(MultipleViewTest, ARowDraggedPastTheBottomScrollsEachTickAndMovesOnRelease) {
  namespace input = platform::ui::input;
  ListThree();
  CQOVAView& view = NewView(kCanvasWidth, 200);
  SCROLLINFO bar;
  ASSERT_TRUE(view.GetScrollInfo(SB_VERT, &bar, SIF_ALL));
  const int step = int(bar.nPage) / 10;
  const int bottom = bar.nMax - int(bar.nPage);
  ASSERT_GT(bottom, 3 * step);

  input::Mouse(view, WM_LBUTTONDOWN, MK_LBUTTON, {100, RowY(view, 0)});
  EXPECT_EQ(CWnd::GetCapture(), &view);
  input::Mouse(view, WM_MOUSEMOVE, MK_LBUTTON, {100, 250});
  EXPECT_EQ(view.m_nScrollY, step);  // one step at once
  EXPECT_TRUE(Headless().HasTimer(view, 5));
  Headless().AdvanceClock(249);
  EXPECT_EQ(view.m_nScrollY, step);
  Headless().AdvanceClock(1);
  EXPECT_EQ(view.m_nScrollY, 2 * step);
  Headless().AdvanceClock(500);
  EXPECT_EQ(view.m_nScrollY, 4 * step);
  Headless().AdvanceClock(250 * 30);
  EXPECT_EQ(view.m_nScrollY, bottom);  // and no further
  // Back inside, over the lowest line: the next tick ends the timer.
  input::Mouse(view, WM_MOUSEMOVE, MK_LBUTTON, {100, 190});
  EXPECT_EQ(view.m_nDragEnd, 3);
  Headless().AdvanceClock(250);
  EXPECT_FALSE(Headless().HasTimer(view, 5));
  input::Mouse(view, WM_LBUTTONUP, 0, {100, 190});
  EXPECT_EQ(CWnd::GetCapture(), nullptr);
  EXPECT_EQ(RowNames(view), (std::vector<std::string>{"S2", "S3", "S1"}));
  EXPECT_EQ(view.m_aMultiOrder[1] - view.m_aMultiOrder[0], view.m_nMultiNonSelfRowHeight);

  // Dropped on its own upper or lower line, or beside the window, a row stays.
  input::Resize(view, kCanvasWidth, kCanvasHeight);
  view.m_nScrollY = 0;
  const int top = view.m_aMultiOrder[1], end = view.m_aMultiOrder[2];
  for (const auto& [x, y] : {std::pair{100, top + 5}, {100, end - 5}, {kCanvasWidth + 10, top - 5}}) {
    input::Mouse(view, WM_LBUTTONDOWN, MK_LBUTTON, {100, RowY(view, 1)});
    input::Mouse(view, WM_MOUSEMOVE, MK_LBUTTON, {std::min(x, 100), int(view.ToDeviceY(y))});
    input::Mouse(view, WM_LBUTTONUP, 0, {x, int(view.ToDeviceY(y))});
    EXPECT_EQ(RowNames(view), (std::vector<std::string>{"S2", "S3", "S1"})) << x << "," << y;
  }

  // The document changes under a drag: the drag ends and lets the mouse go.
  input::Mouse(view, WM_LBUTTONDOWN, MK_LBUTTON, {100, RowY(view, 0)});
  input::Mouse(view, WM_MOUSEMOVE, MK_LBUTTON, {100, kCanvasHeight + 50});
  doc_->UpdateAllViews(nullptr);
  EXPECT_EQ(CWnd::GetCapture(), nullptr);
  Headless().AdvanceClock(250);
  EXPECT_FALSE(Headless().HasTimer(view, 5));
}

TEST_F(MultipleViewTest, ARowDroppedBelowTheShownRowsBecomesTheLastOfThem) {
  namespace input = platform::ui::input;
  ListThree();
  CQOVAView& view = NewView();
  Headless().OnDialog(res::kMultiViewSelectDialog, [](DialogDriver& d) {
    d.Select(res::kMultiViewSelected, 1).Click(res::kMultiViewRemove).Ok();
  });
  view.OnViewSelectSamples();
  ASSERT_EQ(RowNames(view), (std::vector<std::string>{"S1", "S3"}));
  const int below = int(view.ToDeviceY(view.m_aMultiOrder.back() + 500));
  input::Mouse(view, WM_LBUTTONDOWN, MK_LBUTTON, {100, RowY(view, 0)});
  input::Mouse(view, WM_MOUSEMOVE, MK_LBUTTON, {100, below});
  input::Mouse(view, WM_LBUTTONUP, 0, {100, below});
  EXPECT_EQ(view.m_aMultiSelect, (std::vector<unsigned>{2, 0, 1}));
  EXPECT_EQ(RowNames(view), (std::vector<std::string>{"S3", "S1"}));
  // A press below every row picks up the last one shown.
  input::Mouse(view, WM_LBUTTONDOWN, MK_LBUTTON, {100, below});
  EXPECT_EQ(view.m_nDragStart, 1);
  input::Mouse(view, WM_LBUTTONUP, 0, {100, below});
  EXPECT_EQ(RowNames(view), (std::vector<std::string>{"S3", "S1"}));
}

TEST_F(MultipleViewTest, TheGridPrintsOnOnePageOrTiledAtItsOwnPrintedSize) {
  const platform::ui::PrinterSettings printer{"Test printer", 1240, 1754, 150, {}};
  Headless().OnPrintDialog([&](platform::ui::PrintDialogRequest& request) {
    request.printer = printer;
    return true;
  });
  List({{"Tumour01.CFS", "S1"}, {"Tumour02.CFN", "S2"}, {"Tumour01.CFS", "S3"}, {"Tumour02.CFN", "S4"},
        {"Tumour01.CFS", "S5"}, {"Tumour02.CFN", "S6"}});
  CQOVAView& view = FramedView();
  const ViewMapping screen = view;
  view.m_pDisplaySetting->PRINT.ONE_MULTI = 1;
  view.m_pDisplaySetting->PRINT.ONE_ALL = 0;
  ASSERT_TRUE(platform::ui::input::ChooseCommand(Frame(), ID_FILE_PRINT));
  ASSERT_EQ(Headless().PrintJobs().back().pages.size(), 1u);
  // Every row on the page, top to bottom, within it.
  const platform::ui::Picture& page = Headless().PrintJobs().back().pages[0];
  int previous = -1;
  for (int r = 1; r <= 6; ++r) {
    const platform::ui::DrawRecord* name = page.FindText("S" + std::to_string(r));
    ASSERT_NE(name, nullptr) << r;
    EXPECT_GT(name->y1, previous);
    EXPECT_LT(name->y1, printer.height);
    previous = name->y1;
  }
  EXPECT_EQ(page.FindText("Ch1") != nullptr, true);
  EXPECT_EQ(view.m_nScrollY, screen.m_nScrollY);
  EXPECT_EQ(view.m_nSizeY, screen.m_nSizeY);

  // Tiled at the grid's own printed size: taller rows take more pages.
  view.m_pDisplaySetting->PRINT.ONE_MULTI = 0;
  ASSERT_TRUE(platform::ui::input::ChooseCommand(Frame(), ID_FILE_PRINT));
  const std::size_t pages = Headless().PrintJobs().back().pages.size();
  view.m_pDisplaySetting->PRINT.MULTI_Y = 400;
  ASSERT_TRUE(platform::ui::input::ChooseCommand(Frame(), ID_FILE_PRINT));
  EXPECT_GT(Headless().PrintJobs().back().pages.size(), pages);
}

// The printed ruler of one chromosome, on a page: the title, the labels of
// its ticks left to right, the ticks' device x and the device x range of its
// base line. The header is drawn last, its title first; the ticks, each
// with its label unless the page leaves it out, and the base line follow.
struct PrintedRuler {
  const platform::ui::DrawRecord* title = nullptr;
  std::vector<platform::ui::DrawRecord> labels;
  std::vector<long long> ticks;
  long long lineLeft = 0, lineRight = 0;
};
PrintedRuler RulerOf(const platform::ui::Picture& page) {
  PrintedRuler ruler;
  const std::vector<platform::ui::DrawRecord>& r = page.records;
  std::size_t k = r.size();
  while (k > 0 && !(r[k - 1].op == DrawOp::Text && page.TextOf(r[k - 1]).starts_with("Ch"))) --k;
  if (k > 0) ruler.title = &r[k - 1];
  for (; k < r.size(); ++k) {
    if (r[k].op == DrawOp::Text) {
      ruler.labels.push_back(r[k]);
    } else if (r[k].op == DrawOp::Line && r[k].x1 == r[k].x2) {
      ruler.ticks.push_back(r[k].x1);
    } else {
      if (r[k].op == DrawOp::Line && r[k].y1 == r[k].y2) {
        ruler.lineLeft = std::min(r[k].x1, r[k].x2);
        ruler.lineRight = std::max(r[k].x1, r[k].x2);
      }
      break;
    }
  }
  return ruler;
}

// A step of one leading digit times a power of ten.
bool OneLeadingDigit(long long step) {
  if (step <= 0) return false;
  while (step % 10 == 0) step /= 10;
  return step < 10;
}

// Printed from a narrow window onto larger pages, with one to five rows, on
// one page and tiled, upright and across the sheet, on both axes: on each
// page the ruler's ticks spread over the part of the column the page shows;
// its labels stand apart, a step of one leading digit times a power of ten
// between them, beneath the title, each whole within the page at its own
// tick, or ending at the page's right edge where its tick lies nearer it.
TEST_F(MultipleViewTest, TheGridsPrintedRulerSpreadsOverEachPageWithItsLabelsApartAndWhole) {
  const Listed self{"Tumour01.CFS", ""}, nonSelf{"Tumour02.CFN", ""};
  const std::vector<std::vector<Listed>> rowSets = {
      {self}, {nonSelf, nonSelf}, {self, nonSelf, self}, {self, nonSelf, self, nonSelf},
      {nonSelf, nonSelf, nonSelf, nonSelf, nonSelf}};
  const platform::ui::PrinterSettings portrait{"PDF", 4960, 7016, 600, {}}, landscape{"PDF", 7016, 4960, 600, {}};
  int pagesRead = 0, coarser = 0, movedIn = 0, leftOut = 0;
  for (const std::vector<Listed>& rows : rowSets) {
    List(rows);
    CQOVAView& view = FramedView(600, 400);
    ASSERT_TRUE(view.m_nViewFlags & VIEW_ONE_CHROMOSOME);
    ASSERT_TRUE(view.m_pDisplaySetting->ITEMS.MULTI & 0x100);
    for (const bool base : {true, false}) {
      if (bool(view.m_nViewFlags & VIEW_BASE_INTERVAL) != base) {
        ASSERT_TRUE(platform::ui::input::ChooseCommand(Frame(), base ? res::kCmdBaseInterval : res::kCmdSnpInterval));
      }
      ASSERT_EQ(bool(view.m_nViewFlags & VIEW_BASE_INTERVAL), base);
      const long long w = view.ColumnWidth(1);
      for (const bool onePage : {true, false}) {
        for (const bool upright : {true, false}) {
          const std::string name = platform::Format("grid_ruler_%zu_rows_%s_%s%s", rows.size(),
                                                    onePage ? "onepage" : "tiled", upright ? "portrait" : "landscape",
                                                    base ? "" : "_snps");
          SCOPED_TRACE(name);
          const platform::ui::PrinterSettings& printer = upright ? portrait : landscape;
          view.m_pDisplaySetting->PRINT.ONE_MULTI = onePage ? 1 : 0;
          Headless().OnPrintDialog([&printer](platform::ui::PrintDialogRequest& request) {
            request.printer = printer;
            return true;
          });
          ASSERT_TRUE(platform::ui::input::ChooseCommand(Frame(), ID_FILE_PRINT));
          const std::vector<platform::ui::Picture>& pages = Headless().PrintJobs().back().pages;
          ASSERT_FALSE(pages.empty());
          for (std::size_t p = 0; p < pages.size(); ++p) {
            SCOPED_TRACE("page " + std::to_string(p + 1));
            const PrintedRuler ruler = RulerOf(pages[p]);
            ASSERT_NE(ruler.title, nullptr);
            const long long left = std::max(0LL, ruler.lineLeft);
            const long long right = std::min<long long>(printer.width, ruler.lineRight);
            if (right - left < printer.width / 2 && ruler.labels.empty()) continue;
            ++pagesRead;
            // Where the tick of the value a label reads would lie.
            const auto tickOf = [&](const platform::ui::DrawRecord& label) {
              const long long value = std::stoll(std::string(pages[p].TextOf(label)));
              return ruler.lineLeft + (ruler.lineRight - ruler.lineLeft) * value / (10 * w);
            };
            long long step = 0;
            for (std::size_t i = 0; i < ruler.labels.size(); ++i) {
              const platform::ui::DrawRecord& label = ruler.labels[i];
              const std::string text(pages[p].TextOf(label));
              SCOPED_TRACE(text);
              ASSERT_EQ(text.find_first_not_of("0123456789"), std::string::npos);
              EXPECT_GE(label.x1, 0);
              EXPECT_LE(label.x1 + label.x2, printer.width);
              EXPECT_GE(label.y1, ruler.title->y1 + ruler.title->y2);
              // The label reads the value of a tick drawn: at the tick, or
              // moved in to end at the page's edge from a tick beyond its start.
              const long long tick = tickOf(label);
              EXPECT_TRUE(std::any_of(ruler.ticks.begin(), ruler.ticks.end(),
                                      [&](long long t) { return std::llabs(t - tick) <= 2; }));
              if (std::llabs(label.x1 - tick) > 2) {
                EXPECT_EQ(label.x1 + label.x2, printer.width);
                EXPECT_GT(tick, label.x1);
                ++movedIn;
              }
              if (i == 0) continue;
              const platform::ui::DrawRecord& before = ruler.labels[i - 1];
              EXPECT_LE(before.x1 + before.x2 + before.y2 / 4, label.x1);
              const long long difference =
                  std::stoll(text) - std::stoll(std::string(pages[p].TextOf(before)));
              if (i == 1) step = difference;
              EXPECT_EQ(difference, step);
              EXPECT_TRUE(OneLeadingDigit(difference / 10)) << difference;
            }
            std::vector<long long> shown;
            for (const long long t : ruler.ticks)
              if (t >= left && t <= right) shown.push_back(t);
            // For the table's reach: pages with a tick left bare, and pages
            // whose step is coarser than the rule's over the part shown.
            leftOut += shown.size() > ruler.labels.size();
            const long long range = (right - left) * w / std::max(1LL, ruler.lineRight - ruler.lineLeft);
            coarser += step / 10 > views::RulerStep(std::max(1LL, range));
            // Spread over the part shown: no more than a step is left bare at either end.
            if (right - left < printer.width / 2) continue;
            ASSERT_GE(shown.size(), 2u);
            const long long between = shown[1] - shown[0];
            EXPECT_LE(shown.front(), left + between + 2);
            EXPECT_GE(shown.back(), right - between - 2);
          }
          if (rows.size() != 3 && rows.size() != 4 && base) KeepPages(pages, name);
        }
      }
    }
  }
  // The table reaches the cases it is for.
  EXPECT_GE(pagesRead, 40);
  EXPECT_GE(coarser, 10);
  EXPECT_GT(movedIn, 0);
  EXPECT_GT(leftOut, 0);
}

TEST_F(MultipleViewTest, AResultWithoutAlleleArraysDrawsNoAlleleDotsWhileTheAlleleSwitchIsOn) {
  // A .CFN result holds no allele ratios and no reference calls.
  global_.ProgramSetting->NONSELFALLELE = 1;
  ListThree();
  ASSERT_TRUE(doc_->LoadedResults[1]->CallReference.empty());
  CQOVAView& view = NewView();
  view.m_pDisplaySetting->ITEMS.NONSELF |= 0x8 | 0x1000;
  for (const bool one : {true, false}) {
    view.m_nViewFlags = one ? (view.m_nViewFlags | VIEW_ONE_CHROMOSOME) : (view.m_nViewFlags & ~VIEW_ONE_CHROMOSOME);
    (one ? view.m_pDisplaySetting->ITEMS.MULTI : view.m_pDisplaySetting->ITEMS.MULTIALL) = 0x8;
    view.OnUpdate(nullptr, 0, nullptr);
    EXPECT_TRUE(view.m_aMultiSamples[4 + 1].empty());
    EXPECT_FALSE(view.m_aMultiSamples[1].empty());
    const platform::ui::Picture picture = Draw(view);
    // The self rows' allele A: a line over one chromosome, dots over the genome.
    EXPECT_GT(CountOf(picture, one ? DrawOp::Line : DrawOp::Pixel, view.m_pDisplaySetting->COLOR.C2), 0u) << one;
  }
  // The single view of the same result.
  Open("Tumour02", ".CFN", kStatusSingle);
  doc_->Status = kStatusSingle;
  view.OnUpdate(nullptr, 0, nullptr);
  ASSERT_TRUE(view.m_bDataShown);
  EXPECT_NE(Draw(view).FindText("Ch1"), nullptr);
}

TEST_F(MultipleViewTest, SnpsIntervalNeedsOneArrayTypeForAllRows) {
  LoadFamily(1);
  ListThree();
  CQOVAView& view = FramedView();
  ASSERT_TRUE(view.m_bMultiSameArrayType);
  EXPECT_TRUE(Frame().IsCommandEnabled(res::kCmdSnpInterval));
  for (const char* type : {"Mapping10K_Xba142"}) {
    doc_->LoadedResults[1]->Header.ArrayType = type;
    doc_->LoadedResults[1]->AnalysisArrayType = type;
  }
  doc_->UpdateAllViews(nullptr);
  ASSERT_TRUE(view.m_bDataShown);
  EXPECT_FALSE(view.m_bMultiSameArrayType);
  EXPECT_FALSE(Frame().IsCommandEnabled(res::kCmdSnpInterval));
  view.OnViewSnpInterval();
  EXPECT_TRUE(view.m_nViewFlags & VIEW_BASE_INTERVAL);
  // Every row is still drawn, each by its own type's tables.
  const platform::ui::Picture picture = Draw(view);
  for (const char* name : {"S1", "S2", "S3"}) EXPECT_NE(picture.FindText(name), nullptr) << name;
}

// The mode switches of the View menu and of the context menu leave the grid
// its own size and one chromosome's scales, and lay its rows out for the
// mode's items; Measure applies to one chromosome only, and the menu's Each
// Chromosome View asks which, as the View command does.
TEST_F(MultipleViewTest, ModeSwitchesKeepTheGridsSizeAndScalesAndLayItsRowsOut) {
  namespace input = platform::ui::input;
  ListThree();
  CQOVAView& view = FramedView();
  ASSERT_TRUE(view.m_nViewFlags & VIEW_ONE_CHROMOSOME);
  view.m_nSizeX = 137;
  view.m_nSizeY = 77;
  const std::pair each(view.m_nEachSizeX, view.m_nEachSizeY), all(view.m_nAllSizeX, view.m_nAllSizeY);
  const auto sizes = [&view] {
    return std::tuple(std::pair(view.m_nSizeX, view.m_nSizeY), std::pair(view.m_nEachSizeX, view.m_nEachSizeY),
                      std::pair(view.m_nAllSizeX, view.m_nAllSizeY));
  };
  const std::pair chromosomeScales(views::kBaseAxisScales.chromosomeX, views::kBaseAxisScales.chromosomeY);
  const auto scales = [&view] { return std::pair(view.m_nScaleX, view.m_nScaleY); };

  ASSERT_TRUE(input::ChooseCommand(Frame(), res::kCmdAllGenome));
  EXPECT_FALSE(view.m_nViewFlags & VIEW_ONE_CHROMOSOME);
  EXPECT_EQ(sizes(), std::tuple(std::pair(137, 77), each, all));
  EXPECT_EQ(scales(), chromosomeScales);
  EXPECT_EQ(view.m_nMultiHeaderHeight, 100) << "the whole-genome items' rows";
  EXPECT_FALSE(Frame().IsCommandEnabled(res::kCmdMeasure));

  ASSERT_TRUE(input::ChooseCommand(Frame(), res::kCmdSnpInterval));
  EXPECT_EQ(view.m_nScaleX, views::ScalesInSnpOrder(0).chromosomeX);
  ASSERT_TRUE(input::ChooseCommand(Frame(), res::kCmdBaseInterval));
  EXPECT_EQ(scales(), chromosomeScales);

  Headless().OnDialog(res::kChromosomeSelectDialog, [](DialogDriver& d) { d.Click(res::kChromosomeRadios[4]).Ok(); });
  RightClick(view, {100, RowY(view, 1)}, "Each Chromosome View");
  EXPECT_TRUE(view.m_nViewFlags & VIEW_ONE_CHROMOSOME);
  EXPECT_EQ(view.m_nChromosome, 5);
  EXPECT_EQ(sizes(), std::tuple(std::pair(137, 77), each, all));
  EXPECT_EQ(scales(), chromosomeScales);
  EXPECT_EQ(view.m_nMultiHeaderHeight, 300) << "the one-chromosome items' rows";
  EXPECT_TRUE(Frame().IsCommandEnabled(res::kCmdMeasure));
  EXPECT_EQ(Headless().ShownDialogs().size(), 1u);
  EXPECT_TRUE(Headless().Failures().empty());
}

TEST_F(MultipleViewTest, ViewSettingClosedWithOkLaysTheRowsOutForTheNewItems) {
  ListThree();
  CQOVAView& view = NewView();
  ASSERT_TRUE(view.m_nViewFlags & VIEW_ONE_CHROMOSOME);
  const int self = view.m_nMultiSelfRowHeight, header = view.m_nMultiHeaderHeight;
  Headless().OnSheet("View Setting", [](platform::ui::SheetDriver& s) {
    ASSERT_TRUE(s.SelectPage(2));
    s.Page().Click(res::settings::itemmulti::kCallBar);
    EXPECT_TRUE(s.Ok());
  });
  view.OnViewSetting();
  EXPECT_EQ(view.m_nMultiSelfRowHeight, self + 100);
  EXPECT_EQ(view.m_aMultiOrder[1], header + self + 100) << "the rows below move at once";
}

TEST_F(MultipleViewTest, TheMeasureBandCrossesEveryRow) {
  namespace input = platform::ui::input;
  ListThree();
  CQOVAView& view = NewView();
  view.OnParameterMeasure();
  const int x = int(view.ToDeviceX(view.m_nChromosomeX[0] + 3000000)), y = RowY(view, 1);
  input::Mouse(view, WM_LBUTTONDOWN, MK_LBUTTON, {x, y});
  input::Mouse(view, WM_MOUSEMOVE, MK_LBUTTON, {x + 50, y});
  const platform::ui::DrawRecord* band = nullptr;
  for (const auto& r : Headless().ClientDrawing(view).records)
    if (r.op == DrawOp::Invert) band = &r;
  ASSERT_NE(band, nullptr);
  EXPECT_NEAR(band->Rect().left, x, 1);
  EXPECT_NEAR(band->Rect().right, x + 50, 1);
  EXPECT_NEAR(band->Rect().top, view.ToDeviceY(0), 1);
  EXPECT_NEAR(band->Rect().bottom, view.ToDeviceY(view.m_aMultiOrder.back() + 200), 1);
}

TEST_F(MultipleViewTest, AverageModeAveragesEverySeriesOfEverySampleAgain) {
  global_.ProgramSetting->NONSELFALLELE = 1;
  List({{"Tumour01.CFS", "S1"}, {"Tumour01.CFS", "S2"}});
  // The second row as a non-self result with allele series.
  doc_->LoadedResults[1]->IsSelf = false;
  CQOVAView& view = NewView();
  ASSERT_FALSE(view.m_aMultiSamples[4 + 1].empty());
  Headless().OnDialog(res::kAverageDialog, [](DialogDriver& d) { d.Type(res::kAverageNumber, "1").Ok(); });
  view.OnParameterAverageMode();
  ASSERT_EQ(view.m_nAverageNumber, 1);
  // A window of one is the value itself: linear for the self row, log for the other.
  const CAnalyzedData& a = *doc_->LoadedResults[0];
  int i = First(5) + 20;
  while (i < End(5) && (a.ValidFlag[std::size_t(i)] != 1 || a.CallReference[std::size_t(i)] != kCallAB)) ++i;
  ASSERT_LT(i, End(5));
  EXPECT_FLOAT_EQ(view.m_aMultiSamples[0][std::size_t(i)], std::exp2(a.LogRatio[std::size_t(i)]));
  EXPECT_FLOAT_EQ(view.m_aMultiSamples[2][std::size_t(i)], std::exp2(a.LogRatioB[std::size_t(i)]));
  EXPECT_FLOAT_EQ(view.m_aMultiSamples[4][std::size_t(i)], a.LogRatio[std::size_t(i)]);
  EXPECT_FLOAT_EQ(view.m_aMultiSamples[5][std::size_t(i)], a.LogRatioA[std::size_t(i)]);
  EXPECT_FLOAT_EQ(view.m_aMultiSamples[6][std::size_t(i)], a.LogRatioB[std::size_t(i)]);
  EXPECT_TRUE(view.m_bDataShown);
}

TEST_F(MultipleViewTest, UpdateReadsTheShownResultsAgain) {
  const std::string root = OwnCopy();
  List({{"Tumour02.CFN", ""}, {"Tumour01.CFS", ""}});
  CQOVAView& view = NewView();
  // Another analysis rewrites one result: its states change on disk.
  CAnalyzedData changed;
  changed.LoadFileAllocating(root + "Results/Tumour02.CFN");
  const int i = First(3) + 5;
  changed.LogRatio[std::size_t(i)] = 1.5f;
  changed.StoreFile(root + "Results/Tumour02.CFN");
  RightClick(view, {100, RowY(view, 1)}, "Update");
  EXPECT_TRUE(view.m_bDataShown);
  EXPECT_FLOAT_EQ(doc_->LoadedResults[0]->LogRatio[std::size_t(i)], 1.5f);
  EXPECT_EQ(view.m_aMultiSelect, (std::vector<unsigned>{1, 2}));
  EXPECT_EQ(messages_.Texts(), std::vector<std::string>{});
}

TEST_F(MultipleViewTest, SingleViewOpensTheSampleUnderTheMouseInANewWindow) {
  List({{"Tumour02.CFN", ""}, {"Tumour01.CFS", ""}});
  CQOVAView& view = NewView();
  qova::document::SetApplicationData(&global_);
  CMultiDocTemplate docTemplate(qova::resources::kQovaDocumentType, RUNTIME_CLASS(CQOVADoc), RUNTIME_CLASS(CChildFrame),
                                RUNTIME_CLASS(CQOVAView));
  docTemplate.AddDocument(doc_.get());
  RightClick(view, {100, RowY(view, 1)}, "Single view (Tumour01.CFS)");
  std::vector<CQOVADoc*> docs;
  for (POSITION pos = docTemplate.GetFirstDocPosition(); pos != nullptr;)
    docs.push_back(dynamic_cast<CQOVADoc*>(docTemplate.GetNextDoc(pos)));
  ASSERT_EQ(docs.size(), 2u);
  CQOVADoc* opened = docs[1];
  ASSERT_NE(opened, nullptr);
  EXPECT_EQ(opened->AnalyzedData.Header.SampleName, "Tumour01");
  EXPECT_TRUE(opened->AnalyzedData.IsSelf);
  EXPECT_EQ(opened->Status, kStatusAnalysis);
  for (CView* shown : std::vector<CView*>(opened->Views())) shown->GetParentFrame()->DestroyWindow();
  docTemplate.RemoveDocument(doc_.get());
  qova::document::SetApplicationData(nullptr);
}

TEST_F(MultipleViewTest, MeasureReportsThePositionsOfTheSampleUnderTheMouse) {
  LoadFamily(1);
  List({{"Tumour02.CFN", "Other"}, {"Tumour01.CFS", "S1"}});
  doc_->LoadedResults[0]->Header.ArrayType = "Mapping10K_Xba142";
  doc_->LoadedResults[0]->AnalysisArrayType = "Mapping10K_Xba142";
  CQOVAView& view = NewView();
  view.m_nChromosome = 4;
  view.OnUpdate(nullptr, 0, nullptr);
  // With the lower row hidden the upper row's sample is the last drawn; a
  // paint binds one row's sample after another and then the view's own again.
  RightClick(view, {100, RowY(view, 1)}, "Hide S1.CFS");
  ASSERT_EQ(RowNames(view), std::vector<std::string>{"Other"});
  const CAnalyzedData* bound = view.m_pAnalyzed;
  ASSERT_EQ(bound, doc_->LoadedResults[1].get());
  const std::uint32_t flags = view.m_nViewFlags;
  (void)Draw(view);
  EXPECT_EQ(view.m_pAnalyzed, bound);
  EXPECT_EQ(view.m_nViewFlags, flags);
  view.OnParameterMeasure();
  ASSERT_EQ(view.m_nMouseMode, MOUSE_MEASURE);
  const int y = RowY(view, 0);
  Drag(view, {int(view.ToDeviceX(view.m_nChromosomeX[0] + 3000000)), y},
       {int(view.ToDeviceX(view.m_nChromosomeX[0] + 9000000)), y});
  ASSERT_EQ(messages_.Texts().size(), 1u);
  const std::string report = messages_.Texts()[0];
  // The slots and positions are those of the first row's type.
  const CBasicData& table = global_.BasicData[1];
  const int lo = view.m_nDragStart, hi = view.m_nDragEnd;
  EXPECT_GE(lo, qova::core::kArrayChromosomeStarts[1][4]);
  EXPECT_LT(hi, qova::core::kArrayChromosomeStarts[1][5]);
  const auto position = [&](int s) { return table.Position[std::size_t(table.IndexMap[std::size_t(s)])]; };
  // Each end with the band of the row's type that holds it.
  CCytoband bands;
  bands.Copy(*global_.Cytoband);
  (void)bands.MapToSnps(1, qova::core::kArrayChromosomeStarts[1], table);
  std::string loBand, hiBand;
  bands.GetBandName(loBand, 4, lo, FALSE);
  bands.GetBandName(hiBand, 4, hi, FALSE);
  ASSERT_NE(loBand, hiBand);
  EXPECT_EQ(report, platform::Format("Chromosome: 4\nStart\tSNPnumber= %d\n\tPosition= %d (%s)\nEnd\tSNPnumber= %d\n\t"
                                     "Position= %d (%s)\nLength= %d\n Goto Web Information?",
                                     lo, position(lo), loBand.c_str(), hi, position(hi), hiBand.c_str(),
                                     position(hi) - position(lo)));
  EXPECT_EQ(view.m_nMouseMode, MOUSE_NONE);
}

TEST_F(MultipleViewTest, MeasureOverACombinedRowPlacesItsSlotsThroughTheSortMapWithoutBands) {
  const CBasicData& table = LoadFamily(2);
  // The combined row above a single one, which the view binds last.
  List({{"Tumour01.CFS", "S1"}});
  CArrayData both("Both", "Mapping50K_Hind+Xba", global_.TypeInfo(4), CTime());
  auto combined = std::make_unique<CAnalyzedData>(both, AnalysisKind::NonSelf);
  combined->Header.Combined = true;
  combined->AnalysisArrayType = "Mapping50K_Hind+Xba";
  doc_->LoadedResults.insert(doc_->LoadedResults.begin(), std::move(combined));
  doc_->DisplayList.insert(doc_->DisplayList.begin(), "Both.CFN");
  CQOVAView& view = NewView();
  view.m_nChromosome = 4;
  view.OnUpdate(nullptr, 0, nullptr);
  ASSERT_FALSE(view.m_nViewFlags & VIEW_COMBINED_ARRAY);
  view.OnParameterMeasure();
  const int y = RowY(view, 0);
  Drag(view, {int(view.ToDeviceX(view.m_nChromosomeX[0] + 3000000)), y},
       {int(view.ToDeviceX(view.m_nChromosomeX[0] + 9000000)), y});
  ASSERT_EQ(messages_.Texts().size(), 1u);
  const int lo = view.m_nDragStart, hi = view.m_nDragEnd;
  EXPECT_GE(lo, qova::core::kArrayChromosomeStarts[4][4]);
  EXPECT_LT(hi, qova::core::kArrayChromosomeStarts[4][5]);
  ASSERT_LT(lo, hi);
  const auto position = [&](int s) {
    return table.Position[std::size_t(table.IndexMap[std::size_t(table.SortMap[std::size_t(s)])])];
  };
  EXPECT_EQ(messages_.Texts()[0],
            platform::Format("Chromosome: 4\nStart\tSNPnumber= %d\n\tPosition= %d\nEnd\tSNPnumber= %d\n\tPosition= %d\n"
                             "Length= %d\n Goto Web Information?",
                             lo, position(lo), hi, position(hi), position(hi) - position(lo)));
}

// The grid's rows are other samples than the document's own: a band there
// runs Measure alone, and only over one chromosome.
TEST_F(MultipleViewTest, InTheGridEveryToolButMeasureStaysArmedAndChangesNothing) {
  const std::string root = OwnCopy();
  ListThree();
  CQOVAView& view = NewView();
  view.m_nChromosome = 4;
  view.OnUpdate(nullptr, 0, nullptr);
  ASSERT_TRUE(view.m_nViewFlags & VIEW_ONE_CHROMOSOME);
  const std::string result = Bytes(root + "Results/Tumour01.CFS"), sample = Bytes(root + "ArrayData/Tumour01.CFH");
  const auto drag = [&](int row) {
    const int y = RowY(view, row);
    Drag(view, {int(view.ToDeviceX(view.m_nChromosomeX[0] + 3000000)), y},
         {int(view.ToDeviceX(view.m_nChromosomeX[0] + 9000000)), y});
  };
  for (const int tool : {MOUSE_SD_RANGE, MOUSE_ADJUST_AMP, MOUSE_CONTAMINATION, MOUSE_MARK}) {
    for (const int row : {0, 1}) {
      view.m_nMouseMode = tool;
      drag(row);
      EXPECT_EQ(view.m_nMouseMode, tool) << tool << " " << row;
    }
  }
  EXPECT_EQ(messages_.Texts(), std::vector<std::string>{});
  EXPECT_TRUE(Headless().ShownDialogs().empty());
  EXPECT_EQ(Bytes(root + "Results/Tumour01.CFS"), result);
  EXPECT_EQ(Bytes(root + "ArrayData/Tumour01.CFH"), sample);

  // Measure, armed before the switch to the whole genome, reports nothing
  // there, and the press moves no row.
  RightClick(view, {100, RowY(view, 0)}, "All Genome View");
  ASSERT_FALSE(view.m_nViewFlags & VIEW_ONE_CHROMOSOME);
  view.m_nMouseMode = MOUSE_MEASURE;
  const std::vector<unsigned> order = view.m_aMultiSelect;
  Drag(view, {200, RowY(view, 0)}, {400, RowY(view, 2)});
  EXPECT_EQ(messages_.Texts(), std::vector<std::string>{});
  EXPECT_EQ(view.m_aMultiSelect, order);
  EXPECT_EQ(view.m_nMouseMode, MOUSE_MEASURE);
}

}  // namespace
}  // namespace qova::test
