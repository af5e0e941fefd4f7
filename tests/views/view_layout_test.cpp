// The geometry of the chromosome views on its own: row heights, the genome
// layout, the pixel/logical conversions against the drawing context, the
// scroll bars and the hit test.
#include <gtest/gtest.h>

#include "core/ArrayTypes.h"
#include "platform/ui/Backend.h"
#include "platform/ui/DC.h"
#include "platform/ui/Headless.h"
#include "platform/ui/RecordingCanvas.h"
#include "platform/ui/UserInput.h"
#include "platform/ui/Wnd.h"
#include "views/ViewLayout.h"

namespace {

TEST(ViewLayoutTest, RowHeightAddsTheEnabledPanels) {
  const struct {
    int mask;
    bool self, nonSelfAllele;
    int height;
  } cases[] = {
      {0x437, false, false, 1300},         // the non-self defaults
      {0x437 | 0x800, false, false, 1350}, // with markers
      {0x1B, true, false, 1000},           // the self defaults
      {0x1B | 0x2000, true, false, 1300},  // with the allele difference
      {0x43F, false, false, 1300},         // allele panels need the allele-specific mode
      {0x43F, false, true, 1600},
      {0x20, true, false, 200},            // LOH is non-self only,
      {0x2000, false, false, 200},         // the difference self only
      {0x400, false, false, 500},
  };
  for (const auto& c : cases)
    EXPECT_EQ(CViewLayout::SampleRowHeight(c.mask, c.self, c.nonSelfAllele), c.height) << std::hex << c.mask;
}

TEST(ViewLayoutTest, GenomeLayoutPutsSixRowsWithAGapBeforeEachChromosome) {
  const ChromosomeLengths lengths = LengthsInSnpOrder(qova::core::kArrayChromosomeStarts[0]);
  CViewLayout layout;
  const int gap = CViewLayout::Gap(false, 0);
  ASSERT_EQ(gap, 10);
  layout.ComputeGenomeLayout(lengths, gap, 1300);
  EXPECT_EQ(layout.m_nChromosomeX[0], 10);
  EXPECT_EQ(layout.m_nChromosomeX[1], 10);
  EXPECT_EQ(layout.m_nChromosomeX[2], lengths[1] + 20);
  EXPECT_EQ(layout.m_nChromosomeX[3], 10);
  EXPECT_EQ(layout.m_nChromosomeY[3], 1300);
  EXPECT_EQ(layout.m_nChromosomeX[23], 10 * 6 + lengths[18] + lengths[19] + lengths[20] + lengths[21] + lengths[22]);
  EXPECT_EQ(layout.m_nChromosomeY[23], 5 * 1300);
  int widest = 0;
  for (int c = 1; c <= 23; ++c) widest = std::max(widest, layout.m_nChromosomeX[c] + lengths[c] + gap);
  EXPECT_EQ(layout.m_nLayoutWidth, widest);
  EXPECT_EQ(layout.PageExtent(false, 1, lengths), CSize(widest, 6 * 1350));
  EXPECT_EQ(layout.PageExtent(true, 7, lengths), CSize(lengths[7] + 20, 1600));

  EXPECT_EQ(CViewLayout::Gap(true, 0), 500000);
  for (const auto& [type, expected] : {std::pair{1, 10}, {3, 100}, {4, 200}, {9, 500}, {11, 500}, {10, 1000}, {12, 1000}})
    EXPECT_EQ(CViewLayout::Gap(false, type), expected) << type;
}

TEST(ViewLayoutTest, ConversionsAgreeWithTheDrawingContext) {
  // The last mapping is zoomed far in on the base axis: more pixels than
  // units, where dividing first would give no units at all.
  const ViewMapping mappings[] = {
      {0, 0, 5000, 1000, 100, 100}, {1234, 700, 2500000, 400, 100, 100}, {50, 9, 100, 400, 1000, 150},
      {3000000, 0, 250, 1000, 1000, 100}};
  for (const ViewMapping& m : mappings) {
    platform::ui::RecordingCanvas dc(1600, 1000);
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowOrg(m.m_nScrollX, m.m_nScrollY);
    dc.SetWindowExt(m.m_nScaleX, m.m_nScaleY);
    dc.SetViewportExt(m.m_nSizeX, m.m_nSizeY);
    for (const int px : {0, 1, 13, 799, 1599}) {
      POINT p{px, px % 1000};
      dc.DPtoLP(&p);
      EXPECT_EQ(m.ToLogicalX(px), p.x) << m.m_nScaleX << " " << px;
      EXPECT_EQ(m.ToLogicalY(px % 1000), p.y) << m.m_nScaleY << " " << px;
      POINT back{LONG(m.ToLogicalX(px)), 0};
      dc.LPtoDP(&back);
      EXPECT_EQ(m.ToDeviceX(m.ToLogicalX(px)), back.x);
    }
  }
  EXPECT_EQ(mappings[3].LogicalWidth(1600), 400);
}

class ViewLayoutWindowTest : public ::testing::Test {
 protected:
  ViewLayoutWindowTest() {
    platform::ui::SetBackend(nullptr);
    platform::ui::Headless().Reset();
    EXPECT_TRUE(wnd_.Create("", "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 800, 500), nullptr, 1));
  }
  ~ViewLayoutWindowTest() override { wnd_.DestroyWindow(); }
  CWnd wnd_;
  CViewLayout layout_;
};

TEST_F(ViewLayoutWindowTest, ScrollingStaysWithinTheExtentLessThePage) {
  layout_.m_nScaleX = 1000;  // 800 pixels show 8,000 units
  layout_.m_nScaleY = 200;   // 500 pixels show 1,000 units
  layout_.m_nScrollX = 50000;
  layout_.m_nScrollY = -40;
  layout_.UpdateLayout(wnd_, CSize(20000, 5000));
  EXPECT_EQ(layout_.m_nScrollX, 12000);
  EXPECT_EQ(layout_.m_nScrollY, 0);
  SCROLLINFO v;
  ASSERT_TRUE(wnd_.GetScrollInfo(SB_VERT, &v));
  EXPECT_EQ(v.nMax, 5000);
  EXPECT_EQ(v.nPage, 1000u);

  const struct {
    UINT code;
    int track;
    int expected;
  } steps[] = {
      {SB_LINEDOWN, 0, 100}, {SB_PAGEDOWN, 0, 600}, {SB_LINEUP, 0, 500},   {SB_PAGEUP, 0, 0},
      {SB_LINEUP, 0, 0},     {SB_THUMBTRACK, 2500, 2500}, {SB_THUMBPOSITION, 9000, 4000}, {SB_ENDSCROLL, 0, 4000},
      {SB_PAGEDOWN, 0, 4000},
  };
  for (const auto& s : steps) {
    platform::ui::input::Scroll(wnd_, SB_VERT, s.code, s.track);
    layout_.Scroll(wnd_, SB_VERT, s.code);
    EXPECT_EQ(layout_.m_nScrollY, s.expected) << s.code;
    EXPECT_EQ(wnd_.GetScrollPos(SB_VERT), s.expected) << s.code;
  }
  layout_.Scroll(wnd_, SB_HORZ, SB_LINEDOWN);
  EXPECT_EQ(layout_.m_nScrollX, 12000);
  layout_.Scroll(wnd_, SB_HORZ, SB_LINEUP);
  EXPECT_EQ(layout_.m_nScrollX, 11200);
}

TEST(ViewLayoutHitTest, PointsFindTheirChromosomeAndSlot) {
  // Two chromosomes of SNPs on the base axis at known positions; 3 is empty.
  std::int32_t starts[25] = {};
  const int firstOf[] = {0, 0, 4, 8, 8};
  for (int c = 0; c < 25; ++c) starts[c] = c < 5 ? firstOf[c] : 8;
  const long long keys[] = {100, 200, 300, 400, 50, 60, 70, 80};
  CViewLayout layout;
  layout.m_nScaleX = 100;
  layout.m_nSizeX = 100;
  layout.m_nScaleY = 100;
  layout.m_nSizeY = 100;
  const ChromosomeLengths snpLengths = LengthsInSnpOrder(starts);
  layout.ComputeGenomeLayout(snpLengths, 10, 1000);

  HitAxis snp;
  snp.starts = starts;
  const struct {
    int x, y;
    BOOL hit;
    int c, slot;
  } genome[] = {
      {10, 50, TRUE, 1, 0},    // above the first row's panels: row 0
      {13, 900, TRUE, 1, 3},
      {5, 300, FALSE, 0, 0},   // the gap left of chromosome 1
      {25, 300, TRUE, 2, 5},   // 10 + 4 + 10 = 24 starts chromosome 2
      {18, 300, FALSE, 0, 0},  // the gap between 1 and 2
      {10, 1300, FALSE, 0, 0}, // row 1 holds the empty chromosome 3 at x 10
  };
  for (const auto& g : genome) {
    CPoint p(g.x, g.y);
    int c = 7, slot = -1;
    EXPECT_EQ(layout.HitTest(p, c, slot, TRUE, snp, snpLengths), g.hit) << g.x << "," << g.y;
    EXPECT_EQ(c, g.c) << g.x << "," << g.y;
    if (g.hit) {
      EXPECT_EQ(slot, g.slot) << g.x << "," << g.y;
    }
  }

  // The single-chromosome mode of the empty chromosome misses instead of
  // landing on a neighbour.
  HitAxis one = snp;
  one.oneChromosome = true;
  one.chromosome = 3;
  CPoint p(15, 500);
  int c = 0, slot = -1;
  EXPECT_FALSE(layout.HitTest(p, c, slot, TRUE, one, snpLengths));
  EXPECT_EQ(c, 3);

  // Base axis: the bisection by position key.
  HitAxis base = snp;
  base.oneChromosome = true;
  base.chromosome = 1;
  base.baseInterval = true;
  base.positionKey = [&](int s) { return keys[s]; };
  ChromosomeLengths baseLengths{};
  baseLengths[1] = 1000;
  baseLengths[2] = 1000;
  const struct {
    int offset, slot;
  } bases[] = {{250, 1}, {200, 1}, {199, 0}, {300, 2}, {999, 2}, {0, 0}};
  for (const auto& b : bases) {
    CPoint q(10 + b.offset, 500);
    int cc = 0, s = -1;
    ASSERT_TRUE(layout.HitTest(q, cc, s, TRUE, base, baseLengths)) << b.offset;
    EXPECT_EQ(s, b.slot) << b.offset;
    EXPECT_EQ(q.x, 10 + b.offset);
  }
}

}  // namespace
