// The drawing pass of the association view and its print plan. Per chromosome:
// the label, the chi-square panel, the band ideogram in its frame and the
// -log10 P panel. Both statistic panels put v = 0 on their bottom grid line
// and v = 4 on their top one, 50 units per unit of v; larger values are
// drawn above the panel, unclipped.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "core/Cytoband.h"
#include "core/GenomeTables.h"
#include "platform/Numeric.h"
#include "platform/Strings.h"
#include "platform/ui/DC.h"
#include "views/PrintFit.h"
#include "views/association/QOVAAssDoc.h"
#include "views/association/QOVAAssView.h"

namespace views = qova::views;

namespace {

// The point size (in tenths) of the panels' axis labels.
constexpr int kAxisFont = 500;
// Tops of the panels below their row's origin: the chi-square panel is the
// first, then the ideogram and the P-value panel.
constexpr int kChiSquareTop = CViewLayout::kPanelTop;
constexpr int kIdeogramTop = kChiSquareTop + 300;
constexpr int kPValueTop = kChiSquareTop + 400;
// A panel spans v = 0..4 over this height.
constexpr int kPanelHeight = 200;
constexpr float kUnitsPerValue = 50.0f;
// -log10 of a permutation P of 0, which no permutation reached.
constexpr float kPValueOfZero = 10.0f;
// The axis labels of a panel, right-aligned left of its column: what its
// middle, bottom and top grid lines stand for.
const std::string kAxisLabels[3] = {"2", "0", "4"};

}  // namespace

float CQOVAAssView::ChiSquareValue(int slot) const { return m_pChiSquare[std::size_t(slot)]; }

float CQOVAAssView::PValueValue(int slot) const {
  const float p = m_pPermutationP[std::size_t(slot)];
  return p > 0.0f ? -std::log10(p) : kPValueOfZero;
}

CPoint CQOVAAssView::PanelPoint(int c, int x, int top, int s, float v) const {
  const int px = (m_nViewFlags & VIEW_BASE_INTERVAL) ? x + PositionOf(s) / 10 : x + (s - m_pChromosomeStarts[c]);
  const long long y = top + kPanelHeight - platform::SaturatingCast<long long>(kUnitsPerValue * v);
  return {px, int(std::clamp<long long>(y, INT32_MIN, INT32_MAX))};
}

void CQOVAAssView::DrawStatisticPanel(CDC* dc, int c, int x, int top, float (CQOVAAssView::*value)(int) const) {
  const CDisplaySetting::ColorKeys& k = m_pDisplaySetting->COLOR;
  const int w = ColumnWidth(c);
  CPen middle(k.LINETYPE9, 1, k.C9), outer(k.LINETYPE10, 1, k.C10), quarter(k.LINETYPE11, 1, k.C11);
  CPen curve(PS_SOLID, k.W1, k.C1);
  const struct {
    CPen* pen;
    int y;
  } grid[] = {{&middle, top + 100}, {&outer, top}, {&outer, top + 200}, {&quarter, top + 50}, {&quarter, top + 150}};
  CPen* previousPen = dc->GetCurrentPen();
  for (const auto& line : grid) {
    dc->SelectObject(line.pen);
    dc->MoveTo(x, line.y);
    dc->LineTo(x + w, line.y);
  }

  CFont font;
  font.CreatePointFont(kAxisFont, "");
  CFont* previousFont = dc->SelectObject(&font);
  const struct {
    const char* text;
    int y;
  } labels[] = {{kAxisLabels[0].c_str(), top + 100}, {kAxisLabels[1].c_str(), top + 200}, {kAxisLabels[2].c_str(), top}};
  for (const auto& label : labels) {
    CRect box(x - 1, label.y - 1, x, label.y + 1);
    dc->DrawText(label.text, &box, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
  }
  dc->SelectObject(previousFont);

  const int first = m_pChromosomeStarts[c];
  const int last = m_pChromosomeStarts[c + 1] - 1;
  if (last >= first) {
    dc->SelectObject(&curve);
    // The line starts at the first valid SNP; a chromosome without one only
    // moves the pen to its last slot.
    int s = first;
    while (s < last && m_pAssocValid[std::size_t(s)] == 0) ++s;
    dc->MoveTo(PanelPoint(c, x, top, s, (this->*value)(s)));
    for (s = first; s <= last; ++s) {
      if (m_pAssocValid[std::size_t(s)] != 0) dc->LineTo(PanelPoint(c, x, top, s, (this->*value)(s)));
    }
  }
  dc->SelectObject(previousPen);
}

void CQOVAAssView::DrawIdeogram(CDC* dc, int c, int x, int top) {
  const bool base = (m_nViewFlags & VIEW_BASE_INTERVAL) != 0;
  GetDocument()->m_Cytoband.Draw(dc, c, base ? x : x - m_pChromosomeStarts[c], top, base ? TRUE : FALSE);
  CPen frame(PS_SOLID, 1, RGB(0, 0, 0));
  CPen* previous = dc->SelectObject(&frame);
  const int right = x + ColumnWidth(c), bottom = top + CCytoband::kBandHeight;
  dc->MoveTo(x, top);
  dc->LineTo(right, top);
  dc->LineTo(right, bottom);
  dc->LineTo(x, bottom);
  dc->LineTo(x, top);
  dc->SelectObject(previous);
}

void CQOVAAssView::OnDraw(CDC* pDC) {
  const CQOVAAssDoc* doc = GetDocument();
  if (!m_bDataShown || !doc || doc->m_strStatus == CQOVAAssDoc::kStatusClean || !pDC) return;
  SetMapping(*pDC);
  const bool one = (m_nViewFlags & VIEW_ONE_CHROMOSOME) != 0;
  CFont font;
  font.CreatePointFont(LabelFontSize(), "");
  for (int c = 1; c <= 23; ++c) {
    if (one && c != m_nChromosome) continue;
    const CPoint origin = ColumnOrigin(c);
    DrawChromosomeLabel(*pDC, font, c, origin);
    DrawStatisticPanel(pDC, c, origin.x, origin.y + kChiSquareTop, &CQOVAAssView::ChiSquareValue);
    DrawIdeogram(pDC, c, origin.x, origin.y + kIdeogramTop);
    DrawStatisticPanel(pDC, c, origin.x, origin.y + kPValueTop, &CQOVAAssView::PValueValue);
  }
}

views::PrintPlan CQOVAAssView::PrintPlanFor(CDC* pDC) const {
  views::PrintPlan plan = views::PrintPlanOf(m_pDisplaySetting->PRINT, m_nViewFlags);
  // One chromosome of a study is a single row, a page or less at most
  // printed sizes: drawn larger to fill its pages, every size would print
  // alike. Its tiles keep Single chromosome's size.
  if (m_nViewFlags & VIEW_ONE_CHROMOSOME) plan.fillsPages = false;
  return views::WithRoomForLabels(*pDC, plan, ComputePageLayout(), m_nChromosomeX[0], kAxisFont, kAxisLabels);
}
