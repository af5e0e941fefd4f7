// The graph document and its view driven as a user would: a copy-number
// change text opened as a chart, the columns dragged, the sample order
// written, the chart exported, copied and printed.
#include <gmock/gmock.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "platform/ui/EmfWriter.h"
#include "resources/CommandIds.h"
#include "tests/views/graph/GraphTestSupport.h"
#ifdef QOVA_RASTER_CANVAS
#include "platform/qt/RasterCanvas.h"
#endif

namespace qova::test {
namespace {

namespace res = qova::resources;
using platform::ui::DrawOp;
using platform::ui::Picture;
using ::testing::HasSubstr;

[[maybe_unused]] std::string Artefact(const std::string& name) {
  const std::filesystem::path folder = std::filesystem::path(BinaryDir()) / "artefacts" / "graph";
  std::filesystem::create_directories(folder);
  return (folder / name).string();
}

class GraphDocumentTest : public GraphTest {};

TEST_F(GraphDocumentTest, ACopyNumberChangeTextOpensAsAChartOfItsSamples) {
  ASSERT_TRUE(Open(PatternChangeText(12)));
  ASSERT_EQ(Doc().m_Samples.size(), 12u);
  EXPECT_EQ(Doc().m_Segments.size(), 36u);
  EXPECT_EQ(Doc().m_Samples[4].name, "S05");
  EXPECT_EQ(Doc().m_Samples[4].alias, "S05");
  EXPECT_EQ(Doc().m_Samples[4].row, 4);
  // States become colour classes: 1 a loss, 4 a gain, 5 the highest class.
  EXPECT_EQ(Doc().m_Segments[0].colourIndex, 1);
  EXPECT_EQ(Doc().m_Segments[3].colourIndex, 4);
  EXPECT_EQ(Doc().m_Segments[6].colourIndex, 5);
  EXPECT_EQ(Doc().m_Segments[0].start, 20000000);
  EXPECT_TRUE(messages_.Empty());

  const CGraphSetting& s = *Doc().m_pSetting;
  const Picture picture = Draw();
  EXPECT_EQ(FillsOf(picture, s.m_Colour[2]), 12u * 23u);  // every cell of every column
  const std::size_t perClass[6] = {4, 8, 12 * 23, 4 + 12, 4, 4};  // the X gain of every sample is class 3
  for (int k = 0; k < 6; ++k) EXPECT_EQ(FillsOf(picture, s.m_Colour[k]), perClass[k]) << "class " << k;
  EXPECT_EQ(picture.CountOf(DrawOp::Line), 22u + 23u);
  for (const char* text : {"S01", "S12", " 1", "22", " X", "p", "q"}) EXPECT_NE(picture.FindText(text), nullptr) << text;
  // The names turn by the settings' rotation; the numbers do not.
  EXPECT_EQ(picture.FontOf(*picture.FindText("S01")).escapement, 2700);
  EXPECT_EQ(picture.FontOf(*picture.FindText("22")).escapement, 0);
  // The loss on 13 of pattern 1 in S11 (column 10) starts at
  // (start of 13 + its start in kb) / 10000 below chromosome 13's origin.
  const platform::ui::DrawRecord* cell = nullptr;
  for (const auto& r : picture.records)
    if (r.op == DrawOp::FillRect && r.color == s.m_Colour[0]) cell = &r;
  ASSERT_NE(cell, nullptr);
  EXPECT_EQ(cell->x1, 50 + 10 * 21);
  EXPECT_EQ(cell->x2, 50 + 10 * 21 + 20);
  EXPECT_EQ(cell->y1, 100 + 12 * 2 + (2076940 + (30000000 + 10 * 500000) / 1000) / 10000);

#ifdef QOVA_RASTER_CANVAS
  platform::qt::RasterCanvas canvas(400, 480);
  View().OnDraw(&canvas);
  EXPECT_TRUE(canvas.SavePng(Artefact("graph.png")));
  EXPECT_EQ(canvas.PixelAt(50 + 21 + 5, 100 + 20), s.m_Colour[4]);  // S02's gain on 1q
  EXPECT_EQ(canvas.PixelAt(50 + 5, 100 + 5), s.m_Colour[2]);
#endif
}

TEST_F(GraphDocumentTest, ALineThatDoesNotFitRefusesTheFileNamingItsLine) {
  const std::string good = "S1\t1\t3\t10\t20000000\t20\t80000000\n";
  const struct {
    std::string text;
    const char* said;
  } cases[] = {
      {"Sample\tCopyNumber\n" + good, "line 1"},
      {std::string(kChangeHeader) + good + "S1\t1\t24\t10\t2\t20\t3\n", "line 3: Chromosome 24"},
      {std::string(kChangeHeader) + good + "S1\tone\t3\t10\t2\t20\t3\n", "line 3: CopyNumber \"one\""},
      {std::string(kChangeHeader) + "S1\t1\t3\t10\t2\t20\n", "line 2: 6 cells"},
      {std::string(kChangeHeader) + "S1\t1\t3\t10\t-2\t20\t3\n", "line 2: StartPos"},
      {std::string(kChangeHeader) + "S1\t1\t3\t10\t500\t20\t300\n", "line 2: EndPos 300"},
      {"", "line 1"},
  };
  for (const auto& c : cases) {
    messages_.Clear();
    EXPECT_FALSE(Open(c.text, "bad.txt")) << c.said;
    ASSERT_EQ(messages_.Texts().size(), 1u) << c.said;
    EXPECT_THAT(messages_.Texts()[0], HasSubstr(Path("bad.txt"))) << c.said;
    EXPECT_THAT(messages_.Texts()[0], HasSubstr(c.said));
  }
  EXPECT_TRUE(Doc().m_Samples.empty());
  // With known genes the eighth cell may be empty; a blank last line is no line.
  messages_.Clear();
  std::string withGenes = kChangeHeader;
  withGenes.insert(withGenes.size() - 1, "\tKnownGenes");
  EXPECT_TRUE(Open(withGenes + "S1\t7\t3\t1\t2\t5\t9\tTP63 \r\nS2\t0\t1\t1\t2\t5\t9\t\n\r\n"));
  EXPECT_TRUE(messages_.Empty());
  ASSERT_EQ(Doc().m_Segments.size(), 2u);
  EXPECT_EQ(Doc().m_Segments[0].colourIndex, 5);  // a marker kind above 5 is the highest class
  EXPECT_EQ(Doc().m_Segments[1].sample, 1);
  // A missing file says so.
  messages_.Clear();
  EXPECT_FALSE(Doc().OnOpenDocument(Path("none.txt").c_str()));
  EXPECT_THAT(messages_.Texts().at(0), HasSubstr(Path("none.txt")));
}

class GraphDragTest : public GraphDocumentTest {
 protected:
  GraphDragTest() { EXPECT_TRUE(Open(PatternChangeText(6))); }
  // A press on the middle of `column`, a move and a release at x.
  void Drag(int column, int dropX) {
    View().OnLButtonDown(MK_LBUTTON, CPoint(50 + column * 21 + 10, 300));
    View().OnMouseMove(MK_LBUTTON, CPoint(dropX, 300));
    View().OnLButtonUp(0, CPoint(dropX, 300));
  }
};

TEST_F(GraphDragTest, AColumnDroppedOnABarTakesItsPlace) {
  const struct {
    int column, dropX;
    std::vector<int> order;
  } cases[] = {
      {2, 50 + 5 * 21, {0, 1, 3, 4, 2, 5}},        // to the bar between columns 4 and 5
      {4, 50 + 1 * 21 - 3, {0, 4, 1, 2, 3, 5}},    // to the bar before column 1
      {3, 50 + 3 * 21 + 4, {0, 1, 2, 3, 4, 5}},    // onto its own left edge
      {3, 50 + 4 * 21 - 2, {0, 1, 2, 3, 4, 5}},    // onto its own right edge
      {0, 50 + 6 * 21 + 300, {1, 2, 3, 4, 5, 0}},  // past the last column: the end
  };
  for (const auto& c : cases) {
    for (std::size_t i = 0; i < Doc().m_Samples.size(); ++i) Doc().m_Samples[i].row = int(i);
    Drag(c.column, c.dropX);
    EXPECT_EQ(Order(), c.order) << "column " << c.column << " to x " << c.dropX;
    EXPECT_EQ(View().m_nDragRow, -1);
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
  }
}

TEST_F(GraphDragTest, TheDragShowsTheColumnAndTheBarInvertedAndHoldsTheMouse) {
  View().OnLButtonDown(MK_LBUTTON, CPoint(50 + 2 * 21 + 10, 300));
  EXPECT_EQ(CWnd::GetCapture(), &View());
  const int foot = 100 + 22 * 2 + 3019080 / 10000;
  {
    const Picture& shown = Ui().ClientDrawing(View());
    ASSERT_EQ(shown.CountOf(DrawOp::Invert), 2u);
    EXPECT_EQ(shown.records[0].Rect(), CRect(50 + 42 + 2, 100, 50 + 42 + 18, foot));
    EXPECT_EQ(shown.records[1].Rect(), CRect(50 + 42 - 2, 100, 50 + 42 + 1, foot));  // slot 2, the nearer bar
  }
  View().OnMouseMove(MK_LBUTTON, CPoint(50 + 2 * 21 + 4, 300));  // the same slot: nothing more
  EXPECT_EQ(Ui().ClientDrawing(View()).CountOf(DrawOp::Invert), 2u);
  View().OnMouseMove(MK_LBUTTON, CPoint(50 + 5 * 21, 300));  // the old bar off, the new one on
  EXPECT_EQ(Ui().ClientDrawing(View()).CountOf(DrawOp::Invert), 4u);
  View().OnLButtonUp(0, CPoint(50 + 5 * 21, 300));
  EXPECT_TRUE(Ui().IsInvalidated(View()));
}

TEST_F(GraphDragTest, APressOutsideTheColumnsIsNoDrag) {
  Layout().zoomX = 200;  // the mouse is in device pixels: x / 2 in the chart
  for (int x : {0, 2 * 50 - 2, 2 * (50 + 6 * 21), 2 * (50 + 6 * 21) + 40}) {
    View().OnLButtonDown(MK_LBUTTON, CPoint(x, 300));
    EXPECT_EQ(View().m_nDragRow, -1) << x;
    View().OnMouseMove(MK_LBUTTON, CPoint(2 * 50 + 2, 300));
    View().OnLButtonUp(0, CPoint(2 * 50 + 2, 300));
    EXPECT_EQ(Order(), (std::vector<int>{0, 1, 2, 3, 4, 5})) << x;
  }
  EXPECT_EQ(CWnd::GetCapture(), nullptr);
  EXPECT_EQ(Ui().ClientDrawing(View()).CountOf(DrawOp::Invert), 0u);
  // At twice the zoom, column 1 starts at device x 2 * 71.
  View().OnLButtonDown(MK_LBUTTON, CPoint(2 * 71 + 1, 300));
  EXPECT_EQ(View().m_nDragRow, 1);
  View().OnLButtonUp(0, CPoint(2 * 71 + 1, 300));
}

TEST_F(GraphDocumentTest, TheSampleOrderFileListsTheColumnsWithAliasesAndGroups) {
  ASSERT_TRUE(Open(PatternChangeText(3)));
  Doc().m_bHasAliases = TRUE;
  Doc().m_bHasGroups = TRUE;
  Doc().m_Samples[0].alias = "first one";
  Doc().m_Samples[2].group = 3;
  const int rows[3] = {2, 0, 1};
  for (int i = 0; i < 3; ++i) Doc().m_Samples[std::size_t(i)].row = rows[i];
  AnswerFileDialog(Path("order.txt"));
  Command(res::kCmdGraphOutputSampleOrder);
  std::string written;
  ASSERT_TRUE(platform::ReadWholeFile(Path("order.txt"), written));
  EXPECT_EQ(written, "Sample_name\tAlias_name\tGroup\nS02\tS02\t0\nS03\tS03\t3\nS01\tfirst one\t0\n");
  // Without the flags only the names; a folder in the way gets a message.
  Doc().m_bHasAliases = Doc().m_bHasGroups = FALSE;
  Command(res::kCmdGraphOutputSampleOrder);
  ASSERT_TRUE(platform::ReadWholeFile(Path("order.txt"), written));
  EXPECT_EQ(written, "Sample_name\nS02\nS03\nS01\n");
  std::filesystem::create_directories(Path("taken.txt"));
  AnswerFileDialog(Path("taken.txt"));
  Command(res::kCmdGraphOutputSampleOrder);
  ASSERT_EQ(messages_.Texts().size(), 1u);
  EXPECT_THAT(messages_.Texts()[0], HasSubstr(Path("taken.txt")));
}

}  // namespace
}  // namespace qova::test
