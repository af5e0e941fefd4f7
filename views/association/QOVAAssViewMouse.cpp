// The association view's mouse: the context menu of the chromosome views at
// the click, and the Measure band dragged along one chromosome, whose
// release reports the region with an offer of the genome browser.
//
// The band is drawn by inverting it on the window outside a paint, so it
// comes and goes with two inversions and a repaint wipes it out.
#include <algorithm>

#include "core/Cytoband.h"
#include "platform/MessageBox.h"
#include "platform/Strings.h"
#include "platform/ui/Backend.h"
#include "platform/ui/DC.h"
#include "platform/ui/Wnd.h"
#include "views/ChromosomeContextMenu.h"
#include "views/GenomeBrowser.h"
#include "views/association/QOVAAssDoc.h"
#include "views/association/QOVAAssView.h"

using namespace views;

namespace {

// The band's top lies below the row's labels, its bottom on the next row's.
constexpr int kBandTopOffset = 300;
constexpr int kBandBottomOffset = 200;

void ShowCursor(int idc) { (void)::SetCursor(platform::ui::StandardCursor(idc)); }

}  // namespace

void CQOVAAssView::OnRButtonDown(UINT flags, CPoint point) {
  (void)flags;
  if (!m_bDataShown) return;
  const bool one = (m_nViewFlags & VIEW_ONE_CHROMOSOME) != 0;
  if (const UINT chosen = TrackPopupChoice(*this, point, ChromosomeContextMenu(one))) PerformMenuItem(chosen, point);
}

void CQOVAAssView::PerformMenuItem(UINT id, CPoint point) {
  int c = 0, s = 0;
  const bool hit = HitTest(point, c, s, TRUE) != FALSE;  // the point is logical from here on
  const CSize client = ClientSize();
  const bool base = (m_nViewFlags & VIEW_BASE_INTERVAL) != 0;
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
      if (!hit) return;
      m_nViewFlags |= VIEW_ONE_CHROMOSOME;
      m_nChromosome = c;
      m_nScaleX = base ? kBaseAxisScales.chromosomeX : ContextChromosomeScaleX(m_nArrayType);
      m_nScaleY = kBaseAxisScales.chromosomeY;
      SwapModeSizes(true);
      m_nScrollY = 0;
      CentreX(*this, base ? PositionOf(s) / 10 : s - m_pChromosomeStarts[c], client.cx);
      Relayout();
      return;
    case kItemAllGenome:
      m_nViewFlags &= ~VIEW_ONE_CHROMOSOME;
      ApplyModeScales();
      SwapModeSizes(false);
      m_nScrollX = m_nScrollY = 0;
      Relayout();
      return;
    case kItemInformation:
    case kItemGotoWeb: {
      if (!hit) return;
      const int position = PositionOf(s);
      if (id == kItemInformation) {
        std::string band;
        GetDocument()->m_Cytoband.GetBandName(band, c, s, FALSE);
        const std::string text = platform::Format("SNPnumber= %d\tChromosome= %d\tCytoband= %7s\n ", s, c, band.c_str()) +
                                 "\n Goto Web Information?";
        if (AfxMessageBox(text, MB_YESNO | MB_ICONINFORMATION) != IDYES) return;
      }
      (void)OpenGenomeBrowser(c, this, position - kBrowserMargin, position + kBrowserMargin);
      return;
    }
    default: return;
  }
}

// --- Measure ---

CRect CQOVAAssView::BandRect(int movingX) const {
  const int left = std::min(m_nDragStart, movingX);
  const int right = std::min(std::max(m_nDragStart, movingX), m_nDragLimit);
  return {left, m_nDragRow * m_nRowHeight + kBandTopOffset, right, (m_nDragRow + 1) * m_nRowHeight + kBandBottomOffset};
}

void CQOVAAssView::InvertBand(int movingX) {
  CClientDC dc(this);
  dc.SetMapMode(MM_ANISOTROPIC);
  dc.SetWindowOrg(m_nScrollX, m_nScrollY);
  dc.SetWindowExt(m_nScaleX, m_nScaleY);
  dc.SetViewportExt(m_nSizeX, m_nSizeY);
  const CRect band = BandRect(movingX);
  dc.InvertRect(&band);
}

void CQOVAAssView::OnLButtonDown(UINT flags, CPoint point) {
  CPoint logical = point;
  int c = 0, slot = 0;
  if (m_bDataShown && m_nMouseMode > MOUSE_NONE && HitTest(logical, c, slot, TRUE)) {
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

void CQOVAAssView::OnMouseMove(UINT flags, CPoint point) {
  if (m_bBandOpen && m_bDataShown && m_nMouseMode > MOUSE_NONE && (flags & MK_LBUTTON)) {
    ShowCursor(IDC_CROSS);
    InvertBand(m_nDragEnd);
    m_nDragEnd = int(std::clamp<long long>(ToLogicalX(point.x), INT32_MIN, INT32_MAX));
    InvertBand(m_nDragEnd);
  }
  CView::OnMouseMove(flags, point);
}

void CQOVAAssView::OnLButtonUp(UINT flags, CPoint point) {
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
    Measure();
  }
  CView::OnLButtonUp(flags, point);
}

// Every array type gets its report, positions through the annotation.
void CQOVAAssView::Measure() {
  const int c = m_nDragChromosome;
  const int startPosition = PositionOf(m_nDragStart), endPosition = PositionOf(m_nDragEnd);
  m_nMouseMode = MOUSE_NONE;
  if (AfxMessageBox(MeasureReport(c, m_nDragStart, startPosition, m_nDragEnd, endPosition),
                    MB_YESNO | MB_ICONINFORMATION) == IDYES)
    (void)OpenGenomeBrowser(c, this, startPosition, endPosition);
  Invalidate(TRUE);
}
