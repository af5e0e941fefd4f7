// The left mouse button of the main view with a tool armed: a band dragged
// along one chromosome selects a range of SNP slots, and its release runs the
// tool on the range: Measure reports it, Mark marks it, and the calibration
// tools (QOVAViewCalibration.cpp) analyse the sample again from it.
//
// The band is drawn by inverting it on the window outside a paint, so it
// comes and goes with two inversions and a repaint wipes it out.
#include <algorithm>

#include "core/AnalyzedData.h"
#include "core/ArrayData.h"
#include "core/MarkSet.h"
#include "document/QOVADoc.h"
#include "platform/MessageBox.h"
#include "platform/Strings.h"
#include "platform/ui/Backend.h"
#include "platform/ui/DC.h"
#include "platform/ui/Wnd.h"
#include "views/GenomeBrowser.h"
#include "views/QOVAView.h"
#include "views/ShowStat.h"

namespace {

// The band's top lies below the row's labels, its bottom on the next row's.
constexpr int kBandTopOffset = 300;
constexpr int kBandBottomOffset = 200;

void ShowCursor(int idc) { (void)::SetCursor(platform::ui::StandardCursor(idc)); }

}  // namespace

CRect CQOVAView::BandRect(int movingX) const {
  const int left = std::min(m_nDragStart, movingX);
  const int right = std::min(std::max(m_nDragStart, movingX), m_nDragLimit);
  return {left, m_nDragRow * m_nRowHeight + kBandTopOffset, right, (m_nDragRow + 1) * m_nRowHeight + kBandBottomOffset};
}

void CQOVAView::InvertBand(int movingX) {
  CClientDC dc(this);
  dc.SetMapMode(MM_ANISOTROPIC);
  dc.SetWindowOrg(m_nScrollX, m_nScrollY);
  dc.SetWindowExt(m_nScaleX, m_nScaleY);
  dc.SetViewportExt(m_nSizeX, m_nSizeY);
  const CRect band = BandRect(movingX);
  dc.InvertRect(&band);
}

void CQOVAView::OnLButtonDown(UINT flags, CPoint point) {
  const bool tool = m_bDataShown && m_nMouseMode > MOUSE_NONE &&
                    !(m_nViewFlags & (VIEW_FRAGMENT_PLOT | VIEW_MULTIPLE | VIEW_INTEGRATE));
  CPoint logical = point;
  int c = 0, slot = 0;
  if (tool && HitTest(logical, c, slot, TRUE)) {
    // A release outside the window is never seen: its band goes with the next press.
    if (m_bBandOpen) InvertBand(m_nDragEnd);
    const bool one = (m_nViewFlags & VIEW_ONE_CHROMOSOME) != 0;
    m_nDragStart = m_nDragEnd = logical.x;
    m_nDragStartSlot = slot;
    m_nDragChromosome = c;
    m_nDragRow = one || m_nRowHeight <= 0 ? 0 : m_nChromosomeY[c] / m_nRowHeight;
    m_nDragLimit = (one ? m_nChromosomeX[0] : m_nChromosomeX[c]) + ColumnWidth(c);
    m_bBandOpen = true;
    InvertBand(m_nDragEnd);
    ShowCursor(IDC_CROSS);
  }
  CView::OnLButtonDown(flags, point);
}

void CQOVAView::OnMouseMove(UINT flags, CPoint point) {
  // An update of the view in between disarms the tool and so ends the band.
  if (m_bBandOpen && m_bDataShown && m_nMouseMode > MOUSE_NONE && (flags & MK_LBUTTON)) {
    ShowCursor(IDC_CROSS);
    InvertBand(m_nDragEnd);
    m_nDragEnd = int(std::clamp<long long>(ToLogicalX(point.x), INT32_MIN, INT32_MAX));
    InvertBand(m_nDragEnd);
  }
  CView::OnMouseMove(flags, point);
}

void CQOVAView::OnLButtonUp(UINT flags, CPoint point) {
  if (m_bBandOpen && m_bDataShown && m_nMouseMode > MOUSE_NONE) {
    m_bBandOpen = false;
    ShowCursor(IDC_ARROW);
    InvertBand(m_nDragEnd);
    CPoint logical = point;
    int c = m_nDragChromosome, slot = m_nDragStartSlot;
    (void)HitTest(logical, c, slot, FALSE);
    // Past either end of the chromosome the range ends at its last or first slot.
    const int first = m_pChromosomeStarts[m_nDragChromosome];
    const int last = m_pChromosomeStarts[m_nDragChromosome + 1] - 1;
    slot = c == m_nDragChromosome ? std::clamp(slot, first, last) : m_nDragStartSlot;
    m_nDragStart = std::min(m_nDragStartSlot, slot);
    m_nDragEnd = std::max(m_nDragStartSlot, slot);
    RunTool();
  }
  CView::OnLButtonUp(flags, point);
}

// A tool that does not apply to the sample stays armed.
void CQOVAView::RunTool() {
  const bool combined = (m_nViewFlags & VIEW_COMBINED_ARRAY) != 0;
  switch (m_nMouseMode) {
    case MOUSE_SD_RANGE:
      if (!combined) return SetSdRange();
      m_nMouseMode = MOUSE_NONE;
      Invalidate(TRUE);
      return;
    case MOUSE_ADJUST_AMP:
      if (combined) AdjustAmplitude();
      return;
    case MOUSE_MEASURE: return Measure();
    case MOUSE_CONTAMINATION:
      if (!combined) DetermineContaminationRate();
      return;
    case MOUSE_MARK:
      if (!combined && !(m_nViewFlags & VIEW_NOT_ANALYSIS)) MarkRange();
      return;
    default: return;
  }
}

void CQOVAView::Measure() {
  const int c = m_nDragChromosome, lo = m_nDragStart, hi = m_nDragEnd;
  const int startPosition = PositionOf(lo), endPosition = PositionOf(hi);
  if (m_nViewFlags & VIEW_COMBINED_ARRAY) {
    // The cytoband table maps only single arrays' slots: no band labels here.
    const std::string report = views::MeasureReport(c, lo, startPosition, hi, endPosition);
    if (AfxMessageBox(report, MB_YESNO | MB_ICONINFORMATION) == IDYES)
      (void)OpenGenomeBrowser(c, this, startPosition, endPosition);
  } else {
    CShowStat dialog(this, c, lo, hi, startPosition, endPosition);
    (void)dialog.DoModal();
  }
  m_nMouseMode = MOUSE_NONE;
  Invalidate(TRUE);
}

void CQOVAView::MarkRange() {
  const int lo = m_nDragStart, hi = m_nDragEnd;
  CMarkSet dialog(m_pBasicData, ChromosomeStartRow(m_pChromosomeStarts, qova::kChromosomeTableSlots), lo, hi,
                  m_pCopyNumberState[std::size_t(lo)]);
  m_nMouseMode = MOUSE_NONE;
  if (dialog.DoModal() != IDOK) {
    Invalidate(TRUE);
    return;
  }
  m_pArrayData->Markers.push_back({dialog.Chromosome, dialog.StartSnp, dialog.EndSnp, dialog.Kind});
  CommitMarkers();
}
