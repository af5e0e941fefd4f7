// The drawing pass of the main view: the mapping, the title line, and per
// chromosome its label and the stack of panels the item mask switches on.
#include "core/AnalyzedData.h"
#include "document/QOVADoc.h"
#include "platform/Strings.h"
#include "platform/ui/DC.h"
#include "views/PrintFit.h"
#include "views/main/QOVAView.h"

namespace views = qova::views;

namespace {

// The integral view's ideogram lies this far into its panel, and the base
// line of its lanes this far below the ideogram's top.
constexpr int kIdeogramTop = 15;
constexpr int kLanesBelowIdeogram = 35;

}  // namespace

std::string CQOVAView::SampleTitle() const {
  const SampleHeader& h = m_pAnalyzed->Header;
  std::string title = h.ArrayType;
  if (m_nViewFlags & VIEW_SELF_REFERENCE)
    title += platform::Format("Sample %s compared with the self reference", h.SampleName.c_str());
  else
    title += platform::Format("Sample %s compared with %d Samples", h.SampleName.c_str(), h.NonSelfReferenceCount);
  title += platform::Format(" : Display average number = %d,", m_nAverageNumber);
  title += m_nAverageMode == 1 ? "Max and Min deleted" : "All data included";
  title += platform::Format("   ploidy=%f", double(m_pAnalyzed->MeanState));
  if (!(m_nViewFlags & VIEW_ONE_CHROMOSOME)) title += platform::Format("   SD=%f", double(m_pAnalyzed->SampleSD));
  return title;
}

void CQOVAView::OnDraw(CDC* pDC) {
  const CQOVADoc* doc = GetDocument();
  if (!m_bDataShown || !doc || doc->Status == kStatusClean || !pDC) return;
  // Only a single shown sample has the plot; the grid and the integral view
  // draw themselves whatever the flag holds.
  if (FragmentPlotShown()) {
    DrawFragmentLengthPlot(pDC);
    return;
  }
  SetMapping(*pDC);
  if (m_nViewFlags & VIEW_MULTIPLE) {
    DrawMultipleView(pDC);
    return;
  }
  const bool integral = (m_nViewFlags & VIEW_INTEGRATE) != 0;

  const bool one = (m_nViewFlags & VIEW_ONE_CHROMOSOME) != 0;
  CFont font;
  // The title is written in the labels' font.
  font.CreatePointFont(LabelFontSize(), "");
  CFont* previous = pDC->SelectObject(&font);
  // The page's height sets the font's size on paper, where the line would
  // run past the page's right edge: there it is written smaller.
  views::TextOutFittingPage(*pDC, m_nScrollX, m_nScrollY, integral ? IntegralTitle() : SampleTitle());
  pDC->SelectObject(previous);

  const bool self = (m_nViewFlags & VIEW_SELF_REFERENCE) != 0;
  const int m = ItemMask();
  for (int c = 1; c <= 23; ++c) {
    if (one && c != m_nChromosome) continue;
    const CPoint origin = ColumnOrigin(c);
    const int x0 = origin.x;
    DrawChromosomeLabel(*pDC, font, c, origin);

    int y = origin.y + kPanelTop;
    if (integral) {
      y += (m_nRowHeight - 300) / 2;
      DrawCytobandPanel(pDC, c, x0, y + kIdeogramTop);
      DrawAmountPanel(pDC, c, x0, y + kIdeogramTop + kLanesBelowIdeogram);
      continue;
    }
    if (m & (0x4 | 0x400)) {
      DrawCopyNumberPlot(pDC, c, x0, y, m);
      y += 300;
    }
    if (m & 0x2) {
      DrawCopyNumberPanel(pDC, c, x0, y);
      y += 300;
    }
    if (m & 0x10) {
      DrawCytobandPanel(pDC, c, x0, y);
      y += 100;
    }
    if (m & 0x1) {
      DrawCallBar(pDC, c, x0, y);
      if (self) DrawSecondCallBar(pDC, c, x0, y + 30);
      y += 100;
    }
    if ((m & (0x8 | 0x1000)) && (self || m_bNonSelfAllele)) {
      DrawAlleleAnalysisPanel(pDC, c, x0, y);
      y += 300;
    }
    if (self && (m & 0x2000) && !m_pAverage[3].empty()) {
      DrawAlleleDifferencePanel(pDC, c, x0, y);
      y += 300;
    }
    if (!self && (m & 0x20)) {
      DrawLohPanel(pDC, c, x0, y);
      y += 300;
    }
    if (m & 0x800) DrawMarkers(pDC, c, x0, y);
  }
}
