// The narrow panels of a chromosome's column: the cytoband ideogram, the two
// call bars, the LOH likelihood and the user's markers. A SNP in a bar is a
// vertical line at its x.
#include <algorithm>

#include "core/AnalyzedData.h"
#include "core/ArrayData.h"
#include "core/Cytoband.h"
#include "core/GenomeTables.h"
#include "platform/Numeric.h"
#include "platform/ui/DC.h"
#include "views/main/QOVAView.h"

namespace {

// Rows of the bars inside their panels.
constexpr int kCallBarHeight = 30;
constexpr int kSecondCallBarHeight = 29;
constexpr int kMarkerPens = 8;  // markers 0..6 and the analysis' own (kind 39)

}  // namespace

bool CQOVAView::HeterozygousTest(int i) const {
  if (m_pValidFlag[std::size_t(i)] != 1 || m_pCallTest[std::size_t(i)] != kCallAB) return false;
  return !(m_nViewFlags & VIEW_SELF_REFERENCE) || m_pCallReference[std::size_t(i)] == kCallAB;
}

bool CQOVAView::LostHeterozygosity(int i) const {
  const std::int32_t test = m_pCallTest[std::size_t(i)];
  return m_pValidFlag[std::size_t(i)] == 1 && m_pCallReference[std::size_t(i)] == kCallAB &&
         (test == kCallA || test == kCallB);
}

void CQOVAView::DrawSnpLines(CDC* dc, int c, int x, int top, int bottom, COLORREF colour,
                             bool (CQOVAView::*wanted)(int) const) {
  CPen pen(PS_SOLID, 1, colour);
  CPen* previous = dc->SelectObject(&pen);
  for (int i = m_pChromosomeStarts[c]; i < m_pChromosomeStarts[c + 1]; ++i) {
    if (!(this->*wanted)(i)) continue;
    const int xs = SnpX(c, x, i);
    dc->MoveTo(xs, top);
    dc->LineTo(xs, bottom);
  }
  dc->SelectObject(previous);
}

void CQOVAView::DrawCytobandPanel(CDC* dc, int c, int x, int y) {
  const int w = ColumnWidth(c);
  if (m_nViewFlags & VIEW_BASE_INTERVAL)
    m_pCytoband->Draw(dc, c, x, y, TRUE);
  else
    m_pCytoband->Draw(dc, c, x - m_pChromosomeStarts[c], y, FALSE);
  CPen pen(PS_SOLID, 1, RGB(0, 0, 0));
  CPen* previous = dc->SelectObject(&pen);
  const int bottom = y + CCytoband::kBandHeight;
  dc->MoveTo(x, y);
  dc->LineTo(x, bottom);
  dc->MoveTo(x + w, y);
  dc->LineTo(x + w, bottom);
  dc->MoveTo(x, y);
  dc->LineTo(x + w, y);
  dc->MoveTo(x, bottom);
  dc->LineTo(x + w, bottom);
  dc->SelectObject(previous);
}

void CQOVAView::DrawCallBar(CDC* dc, int c, int x, int y) {
  DrawSnpLines(dc, c, x, y, y + kCallBarHeight, m_pDisplaySetting->COLOR.C5, &CQOVAView::HeterozygousTest);
}

void CQOVAView::DrawSecondCallBar(CDC* dc, int c, int x, int y) {
  DrawSnpLines(dc, c, x, y, y + kSecondCallBarHeight, m_pDisplaySetting->COLOR.C6, &CQOVAView::LostHeterozygosity);
}

void CQOVAView::DrawLohPanel(CDC* dc, int c, int x, int y) {
  if (m_pLohLikelihood.size() < std::size_t(std::max(0, m_pChromosomeStarts[c + 1]))) return;
  CPen pen(PS_SOLID, 1, m_pDisplaySetting->COLOR.C8);
  CPen* previous = dc->SelectObject(&pen);
  for (int i = m_pChromosomeStarts[c]; i < m_pChromosomeStarts[c + 1]; ++i) {
    if (m_pValidFlag[std::size_t(i)] != 1) continue;
    // A tenth of the likelihood, unclamped: the context clips what leaves the panel.
    const int length = platform::SaturatingCast(double(m_pLohLikelihood[std::size_t(i)])) / 10;
    const int xs = SnpX(c, x, i);
    dc->MoveTo(xs, y);
    dc->LineTo(xs, int(std::clamp<long long>((long long)y + length, INT32_MIN, INT32_MAX)));
  }
  dc->SelectObject(previous);
}

void CQOVAView::DrawMarkers(CDC* dc, int c, int x, int y) {
  const CDisplaySetting::MarkerKeys& keys = m_pDisplaySetting->MARKER;
  CPen pens[kMarkerPens];
  for (int n = 0; n < kMarkerPens; ++n) pens[n].CreatePen(PS_SOLID, keys.WIDTH, keys.COL[n % 7]);
  const bool fromSample = !(m_nViewFlags & (VIEW_NOT_ANALYSIS | VIEW_MULTIPLE));
  const MarkerRegionList& markers = fromSample ? m_pArrayData->Markers : m_pAnalyzed->Markers;
  const bool base = (m_nViewFlags & VIEW_BASE_INTERVAL) != 0;
  // Slots from a file may lie anywhere: they are kept on the annotation.
  const int lastSlot = int(m_pIndexMap.size()) - 1;
  const auto xOf = [&](int s) {
    if (!base) return x + (s - m_pChromosomeStarts[c]);
    // Markers do not go through the sort map, also for combined samples.
    return x + m_pPosition[std::size_t(m_pIndexMap[std::size_t(std::clamp(s, 0, lastSlot))])] / 10;
  };
  CPen* previous = dc->GetCurrentPen();
  for (const MarkerRegion& marker : markers) {
    if (marker.Chromosome != c || marker.Kind < MarkerRegion::kUserMarkerBase || marker.Kind > 39) continue;
    const int n = marker.UserMarkerNumber();
    dc->SelectObject(&pens[n]);
    const int row = y + keys.INTERVAL * n;
    dc->MoveTo(xOf(marker.FirstSnp), row);
    dc->LineTo(xOf(marker.LastSnp), row);
  }
  dc->SelectObject(previous);
}
