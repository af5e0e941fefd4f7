// The mouse of the chromosome views. The right button opens the context menu
// at the click: the switch between the genome and the clicked chromosome, the
// zoom items centred on the click, Fit to Window, and the slot under the
// mouse with an offer of the genome browser. With a tool armed, the left
// button drags a band along one chromosome, whose release runs the tool on
// the range of slots it covers.
//
// The band is drawn by inverting it on the window outside a paint, so it
// comes and goes with two inversions and a repaint wipes it out.
#include <algorithm>

#include "platform/MessageBox.h"
#include "platform/ui/Backend.h"
#include "platform/ui/DC.h"
#include "platform/ui/Wnd.h"
#include "views/ChromosomeContextMenu.h"
#include "views/ChromosomeView.h"
#include "views/GenomeBrowser.h"

using namespace qova::views;

namespace {

void ShowCursor(int idc) { (void)::SetCursor(platform::ui::StandardCursor(idc)); }

}  // namespace

// --- the context menu ---

void CChromosomeView::OnRButtonDown(UINT flags, CPoint point) {
  (void)flags;
  if (!m_bDataShown) return;
  const bool one = (m_nViewFlags & VIEW_ONE_CHROMOSOME) != 0;
  if (const UINT chosen = TrackPopupChoice(*this, point, ChromosomeContextMenu(one)))
    PerformMenuItem(chosen, point, true);
}

void CChromosomeView::PerformMenuItem(UINT id, CPoint point, bool bound) {
  int c = 0, s = 0;
  const bool hit = HitTest(point, c, s, TRUE) != FALSE && bound;  // the point is logical from here on
  const CSize client = ClientSize();
  if (IsZoomItem(id)) {
    if (ApplyZoomItem(id, *this, *this, point, client)) Relayout();
    return;
  }
  switch (id) {
    case kItemFitToWindow:
      FitToWindow(*this, ComputePageLayout(), client);
      Relayout();
      return;
    case kItemEachChromosome:
      if (hit) ShowChromosomeAt(c, s, client.cx);
      return;
    case kItemAllGenome: return ShowAllGenome();
    case kItemInformation:
    case kItemGotoWeb:
      if (hit) InformationAt(id == kItemInformation, c, s);
      return;
    default: return;
  }
}

void CChromosomeView::ShowChromosomeAt(int c, int s, int clientWidth) {
  const bool base = (m_nViewFlags & VIEW_BASE_INTERVAL) != 0;
  m_nViewFlags |= VIEW_ONE_CHROMOSOME;
  m_nChromosome = c;
  m_nScaleX = base ? kBaseAxisScales.chromosomeX : ContextChromosomeScaleX(m_nArrayType);
  m_nScaleY = kBaseAxisScales.chromosomeY;
  SwapModeSizes(true);
  m_nScrollY = 0;
  CentreX(*this, HitGivesOffset() ? s : base ? PositionOf(s) / 10 : s - m_pChromosomeStarts[c], clientWidth);
  Relayout();
}

void CChromosomeView::InformationAt(bool ask, int c, int s) {
  const int position = PositionOf(s);
  if (ask && AfxMessageBox(SlotInformation(s, c), MB_YESNO | MB_ICONINFORMATION) != IDYES) return;
  (void)OpenGenomeBrowser(c, this, position - kBrowserMargin, position + kBrowserMargin);
}

// --- the band ---

bool CChromosomeView::BandArmed() const { return m_bBandOpen && m_bDataShown && m_nMouseMode > MOUSE_NONE; }

CRect CChromosomeView::BandRect(int movingX) const {
  const int left = std::min(m_nDragStart, movingX);
  const int right = std::min(std::max(m_nDragStart, movingX), m_nDragLimit);
  return {left, m_nDragRow * m_nRowHeight + kBandTopOffset, right, (m_nDragRow + 1) * m_nRowHeight + kBandBottomOffset};
}

void CChromosomeView::InvertBand(int movingX) {
  CClientDC dc(this);
  SetMapping(dc);
  const CRect band = BandRect(movingX);
  dc.InvertRect(&band);
}

void CChromosomeView::OpenBand(CPoint point) {
  int c = 0, slot = 0;
  if (!HitTest(point, c, slot, TRUE)) return;  // the point is logical from here on
  // A release outside the window is never seen: its band goes with the next press.
  if (m_bBandOpen) InvertBand(m_nDragEnd);
  const bool one = (m_nViewFlags & VIEW_ONE_CHROMOSOME) != 0;
  m_nDragStart = m_nDragEnd = point.x;
  m_nDragStartSlot = slot;
  m_nDragChromosome = c;
  m_nDragRow = one || m_nRowHeight <= 0 ? 0 : m_nChromosomeY[c] / m_nRowHeight;
  m_nDragLimit = (one ? m_nChromosomeX[0] : m_nChromosomeX[c]) + ColumnWidth(c);
  m_bBandOpen = true;
  InvertBand(m_nDragEnd);
  ShowCursor(IDC_CROSS);
}

// An update of the view in between disarms the tool and so ends the band.
void CChromosomeView::MoveBand(UINT flags, CPoint point) {
  if (!BandArmed() || !(flags & MK_LBUTTON)) return;
  ShowCursor(IDC_CROSS);
  InvertBand(m_nDragEnd);
  m_nDragEnd = int(std::clamp<long long>(ToLogicalX(point.x), INT32_MIN, INT32_MAX));
  InvertBand(m_nDragEnd);
}

CChromosomeView::BandEnd CChromosomeView::CloseBand(CPoint point) {
  m_bBandOpen = false;
  ShowCursor(IDC_ARROW);
  InvertBand(m_nDragEnd);
  BandEnd end{m_nDragChromosome, m_nDragStartSlot};
  (void)HitTest(point, end.chromosome, end.slot, FALSE);
  return end;
}

void CChromosomeView::SelectBandSlots(BandEnd end) {
  // Past either end of the chromosome the range ends at its last or first slot.
  const int first = m_pChromosomeStarts[m_nDragChromosome];
  const int last = m_pChromosomeStarts[m_nDragChromosome + 1] - 1;
  const int slot = end.chromosome == m_nDragChromosome ? std::clamp(end.slot, first, last) : m_nDragStartSlot;
  m_nDragStart = std::min(m_nDragStartSlot, slot);
  m_nDragEnd = std::max(m_nDragStartSlot, slot);
}

void CChromosomeView::OfferBandRegion() {
  const int c = m_nDragChromosome;
  const int startPosition = PositionOf(m_nDragStart), endPosition = PositionOf(m_nDragEnd);
  if (AfxMessageBox(MeasureReport(c, m_nDragStart, startPosition, m_nDragEnd, endPosition),
                    MB_YESNO | MB_ICONINFORMATION) == IDYES)
    (void)OpenGenomeBrowser(c, this, startPosition, endPosition);
}

void CChromosomeView::OnLButtonDown(UINT flags, CPoint point) {
  if (m_bDataShown && m_nMouseMode > MOUSE_NONE) OpenBand(point);
  CView::OnLButtonDown(flags, point);
}

void CChromosomeView::OnMouseMove(UINT flags, CPoint point) {
  MoveBand(flags, point);
  CView::OnMouseMove(flags, point);
}

void CChromosomeView::OnLButtonUp(UINT flags, CPoint point) {
  if (BandArmed()) {
    SelectBandSlots(CloseBand(point));
    RunTool();
  }
  CView::OnLButtonUp(flags, point);
}
