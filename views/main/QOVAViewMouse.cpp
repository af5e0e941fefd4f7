// The left mouse button of the main view with a tool armed: a band dragged
// along one chromosome (the chromosome views' band) selects a range of SNP
// slots, and its release runs the tool on the range: Measure reports it,
// Mark marks it, and the calibration tools (QOVAViewCalibration.cpp) analyse
// the sample again from it. Over the fragment-length plot the band selects
// fragment lengths; in the grid it runs over the row's sample, and without a
// tool a press drags the row.
//
// The bands are drawn by inverting them on the window outside a paint, so
// they come and go with two inversions and a repaint wipes them out.
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
#include "views/main/QOVAView.h"
#include "views/main/ShowStat.h"

namespace {

// The fragment band crosses the plot's upper panel, in client pixels; a
// client x stands for four bases from x 100 on.
constexpr int kFragmentBandTop = 100;
constexpr int kFragmentBandBottom = 300;
constexpr long long kFragmentPlotLeft = 100;
constexpr long long kBasesPerPixel = 4;

void ShowCursor(int idc) { (void)::SetCursor(platform::ui::StandardCursor(idc)); }

}  // namespace

CRect CQOVAView::BandRect(int movingX) const {
  CRect band = CChromosomeView::BandRect(movingX);
  // In the grid the band crosses every row.
  if (m_nViewFlags & VIEW_MULTIPLE) {
    band.top = 0;
    band.bottom = (m_aMultiOrder.empty() ? 0 : m_aMultiOrder.back()) + kBandBottomOffset;
  }
  return band;
}

void CQOVAView::InvertFragmentBand() {
  CClientDC dc(this);
  const CRect band(std::min(m_nDragStart, m_nDragEnd), kFragmentBandTop, std::max(m_nDragStart, m_nDragEnd),
                   kFragmentBandBottom);
  dc.InvertRect(&band);
}

// The band's lengths, its ends put in order, asked; Yes analyses them.
void CQOVAView::EndFragmentBand(int releaseX) {
  m_bFragmentBandOpen = false;
  ShowCursor(IDC_ARROW);
  m_nMouseMode = MOUSE_NONE;
  InvertFragmentBand();
  m_nDragEnd = releaseX;
  const auto bases = [](long long x, long long extra) {
    return int(std::clamp<long long>((x - kFragmentPlotLeft) * kBasesPerPixel + extra, INT32_MIN, INT32_MAX));
  };
  const int lo = bases(std::min(m_nDragStart, m_nDragEnd), 0);
  const int hi = bases(std::max(m_nDragStart, m_nDragEnd), kBasesPerPixel - 1);
  if (AfxMessageBox(platform::Format("%d - %d", lo, hi), MB_YESNO | MB_ICONINFORMATION) != IDYES) return;
  m_nViewFlags &= ~VIEW_FRAGMENT_PLOT;
  // The analysis updates the view; a refused range shows the panels itself.
  if (!AnalyseFragmentRange(lo, hi, false)) Invalidate(TRUE);
}

void CQOVAView::OnLButtonDown(UINT flags, CPoint point) {
  if (m_bDataShown && m_nMouseMode > MOUSE_NONE && FragmentPlotShown()) {
    if (m_bFragmentBandOpen) InvertFragmentBand();
    m_nDragStart = m_nDragEnd = point.x;
    m_bFragmentBandOpen = true;
    ShowCursor(IDC_CROSS);
    InvertFragmentBand();
    CView::OnLButtonDown(flags, point);
    return;
  }
  const bool grid = (m_nViewFlags & VIEW_MULTIPLE) != 0;
  if (m_bDataShown && grid && m_nMouseMode == MOUSE_NONE) {
    StartRowDrag(point);
    CView::OnLButtonDown(flags, point);
    return;
  }
  // In the grid a band runs along the one chromosome shown, over the sample
  // of the row under the mouse, whose tables the tool then reads.
  bool tool = m_bDataShown && m_nMouseMode > MOUSE_NONE && !(m_nViewFlags & VIEW_FRAGMENT_PLOT);
  if (tool && grid) {
    const int sample = MultiSampleAtRow(MultiRowAt(point.y));
    tool = (m_nViewFlags & VIEW_ONE_CHROMOSOME) && sample >= 0 && BindMultipleSample(sample, true);
    if (tool) {
      const CAnalyzedData& a = *m_pAnalyzed;
      m_nViewFlags = a.Header.Combined ? (m_nViewFlags | VIEW_COMBINED_ARRAY) : (m_nViewFlags & ~VIEW_COMBINED_ARRAY);
      m_nViewFlags = a.IsSelf ? (m_nViewFlags | VIEW_SELF_REFERENCE) : (m_nViewFlags & ~VIEW_SELF_REFERENCE);
    }
  }
  if (tool) OpenBand(point);
  CView::OnLButtonDown(flags, point);
}

void CQOVAView::OnMouseMove(UINT flags, CPoint point) {
  if (m_bFragmentBandOpen && m_bDataShown && m_nMouseMode > MOUSE_NONE && (flags & MK_LBUTTON)) {
    InvertFragmentBand();
    m_nDragEnd = point.x;
    InvertFragmentBand();
    CView::OnMouseMove(flags, point);
    return;
  }
  if (m_bRowDragOpen) {
    if (flags & MK_LBUTTON) MoveRowDrag(point);
    CView::OnMouseMove(flags, point);
    return;
  }
  CChromosomeView::OnMouseMove(flags, point);
}

void CQOVAView::OnLButtonUp(UINT flags, CPoint point) {
  if (m_bFragmentBandOpen && m_bDataShown && m_nMouseMode > MOUSE_NONE) {
    EndFragmentBand(point.x);
    CView::OnLButtonUp(flags, point);
    return;
  }
  if (m_bRowDragOpen) {
    EndRowDrag(point);
    CView::OnLButtonUp(flags, point);
    return;
  }
  if (BandArmed()) {
    const BandEnd end = CloseBand(point);
    if (m_nViewFlags & VIEW_INTEGRATE) {
      // Whatever the tool, the band reports its positions.
      ReportIntegralRange(m_nDragChromosome, m_nDragStartSlot, end.slot);
      m_nMouseMode = MOUSE_NONE;
      Invalidate(TRUE);
      CView::OnLButtonUp(flags, point);
      return;
    }
    SelectBandSlots(end);
    RunTool();
  }
  CView::OnLButtonUp(flags, point);
}

// A tool that does not apply to the sample stays armed; in the grid only
// Measure applies, the others work on the document's own sample.
void CQOVAView::RunTool() {
  const bool combined = (m_nViewFlags & VIEW_COMBINED_ARRAY) != 0;
  if ((m_nViewFlags & VIEW_MULTIPLE) && m_nMouseMode != MOUSE_MEASURE) return;
  switch (m_nMouseMode) {
    case MOUSE_SD_RANGE:
      if (!combined) return SetSdRange();
      m_nMouseMode = MOUSE_NONE;
      Invalidate(TRUE);
      return;
    case MOUSE_ADJUST_AMP:
      if (combined) AdjustAmplitude();
      return;
    case MOUSE_MEASURE: return (m_nViewFlags & VIEW_MULTIPLE) ? MeasureInGrid() : Measure();
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
  if (m_nViewFlags & VIEW_COMBINED_ARRAY) {
    // The cytoband table maps only single arrays' slots: no band labels here.
    OfferBandRegion();
  } else {
    const int lo = m_nDragStart, hi = m_nDragEnd;
    CShowStat dialog(this, m_nDragChromosome, lo, hi, PositionOf(lo), PositionOf(hi));
    (void)dialog.DoModal();
  }
  m_nMouseMode = MOUSE_NONE;
  Invalidate(TRUE);
}

void CQOVAView::MeasureInGrid() {
  const int c = m_nDragChromosome, lo = m_nDragStart, hi = m_nDragEnd;
  const int startPosition = PositionOf(lo), endPosition = PositionOf(hi);
  const std::string name = c == 23 ? std::string("X") : std::to_string(c);
  std::string report;
  if (m_nViewFlags & VIEW_COMBINED_ARRAY) {
    report = platform::Format(
        "Chromosome: %s\nStart\tSNPnumber= %d\n\tPosition= %d\nEnd\tSNPnumber= %d\n\tPosition= %d\nLength= %d",
        name.c_str(), lo, startPosition, hi, endPosition, endPosition - startPosition);
  } else {
    std::string loBand, hiBand;
    m_pCytoband->GetBandName(loBand, c, lo, FALSE);
    m_pCytoband->GetBandName(hiBand, c, hi, FALSE);
    report = platform::Format(
        "Chromosome: %s\nStart\tSNPnumber= %d\n\tPosition= %d (%s)\nEnd\tSNPnumber= %d\n\tPosition= %d "
        "(%s)\nLength= %d",
        name.c_str(), lo, startPosition, loBand.c_str(), hi, endPosition, hiBand.c_str(), endPosition - startPosition);
  }
  report += "\n Goto Web Information?";
  if (AfxMessageBox(report, MB_YESNO | MB_ICONINFORMATION) == IDYES)
    (void)OpenGenomeBrowser(c, this, startPosition, endPosition);
  m_nMouseMode = MOUSE_NONE;
  Invalidate(TRUE);
}

void CQOVAView::MarkRange() {
  const int lo = m_nDragStart, hi = m_nDragEnd;
  CMarkSet dialog(m_pBasicData, ChromosomeStartRow(m_pChromosomeStarts, qova::core::kChromosomeTableSlots), lo, hi,
                  m_pCopyNumberState[std::size_t(lo)]);
  m_nMouseMode = MOUSE_NONE;
  if (dialog.DoModal() != IDOK) {
    Invalidate(TRUE);
    return;
  }
  m_pArrayData->Markers.push_back({dialog.Chromosome, dialog.StartSnp, dialog.EndSnp, dialog.Kind});
  CommitMarkers();
}
