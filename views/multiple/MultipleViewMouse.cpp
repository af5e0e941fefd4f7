// The row drag of the multiple-sample grid: a press on a row picks it up, the
// insertion line follows the mouse between the rows, the grid scrolls by
// itself while the mouse is held above or below the window, and the release
// moves the row to the line. The feedback is drawn on the window outside a
// paint; a repaint wipes it out.
#include <algorithm>

#include "core/AnalyzedData.h"
#include "document/QOVADoc.h"
#include "platform/ui/DC.h"
#include "platform/ui/Wnd.h"
#include "views/main/QOVAView.h"

namespace {

// The auto-scroll timer, the only timer of the view, and its period.
constexpr UINT_PTR kAutoScrollTimer = 5;
constexpr UINT kAutoScrollPeriod = 250;
constexpr COLORREF kFeedbackGrey = RGB(128, 128, 128);
constexpr COLORREF kWhite = RGB(255, 255, 255);
// The mask ends this far above the next row; the line lies this far above its row.
constexpr int kMaskGap = 20;
constexpr int kLineLift = 10;

}  // namespace

void CQOVAView::DrawRowDragFeedback(bool eraseLine, int oldSlot) {
  if (m_aMultiOrder.empty()) return;
  const auto top = [this](int k) { return m_aMultiOrder[std::size_t(std::clamp(k, 0, int(m_aMultiOrder.size()) - 1))]; };
  CClientDC dc(this);
  dc.SetMapMode(MM_ANISOTROPIC);
  dc.SetWindowOrg(m_nScrollX, m_nScrollY);
  dc.SetWindowExt(m_nScaleX, m_nScaleY);
  dc.SetViewportExt(m_nSizeX, m_nSizeY);
  const auto line = [&](int slot, COLORREF colour) {
    CPen pen(PS_SOLID, 1, colour);
    CPen* previous = dc.SelectObject(&pen);
    dc.MoveTo(0, top(slot) - kLineLift);
    dc.LineTo(m_nLayoutWidth, top(slot) - kLineLift);
    dc.SelectObject(previous);
  };
  if (eraseLine) line(oldSlot, kWhite);
  const int previousRop = dc.SetROP2(R2_MASKPEN);
  CBrush grey(kFeedbackGrey);
  CBrush* previousBrush = dc.SelectObject(&grey);
  dc.Rectangle(0, top(m_nDragStart), m_nLayoutWidth, top(m_nDragStart + 1) - kMaskGap);
  dc.SelectObject(previousBrush);
  dc.SetROP2(previousRop);
  line(m_nDragEnd, kFeedbackGrey);
}

void CQOVAView::StartRowDrag(CPoint point) {
  const int row = MultiRowAt(point.y);
  // Only a row that shows a sample can be picked up.
  if (MultiSampleAtRow(row) < 0) return;
  m_nDragStart = row;
  m_nDragEnd = MultiInsertionSlotAt(point.y);
  m_bRowDragOpen = true;
  DrawRowDragFeedback(false, m_nDragEnd);
  SetCapture();
  m_nAutoScrollY = 0;
}

void CQOVAView::MoveRowDrag(CPoint point) {
  CRect client;
  GetClientRect(&client);
  if (point.x < client.left || point.x > client.right) {
    m_nAutoScrollY = 0;
    return;
  }
  if (point.y < 0 || point.y > client.Height()) {
    m_nAutoScrollY = point.y < 0 ? -1 : client.Height();
    SetTimer(kAutoScrollTimer, kAutoScrollPeriod);
    AutoScrollStep();
  } else {
    m_nAutoScrollY = 0;
  }
  const int old = m_nDragEnd;
  m_nDragEnd = MultiInsertionSlotAt(point.y);
  DrawRowDragFeedback(true, old);
}

void CQOVAView::OnTimer(UINT_PTR id) {
  if (id != kAutoScrollTimer) {
    CView::OnTimer(id);
    return;
  }
  AutoScrollStep();
}

void CQOVAView::AutoScrollStep() {
  if (m_nAutoScrollY == 0 || !m_bRowDragOpen) {
    m_nAutoScrollY = 0;
    KillTimer(kAutoScrollTimer);
    return;
  }
  SCROLLINFO info;
  if (GetScrollInfo(SB_VERT, &info, SIF_ALL)) {
    const long long page = info.nPage;
    long long pos = info.nPos + (m_nAutoScrollY < 0 ? -page / 10 : page / 10);
    pos = std::max<long long>(0, std::min<long long>(pos, info.nMax - page));
    if (pos != info.nPos) {
      SCROLLINFO moved;
      moved.fMask = SIF_POS;
      moved.nPos = int(pos);
      SetScrollInfo(SB_VERT, &moved, TRUE);
      m_nScrollY = int(pos);
      Invalidate(TRUE);
    }
  }
  m_nDragEnd = MultiInsertionSlotAt(m_nAutoScrollY);
  DrawRowDragFeedback(false, m_nDragEnd);
}

void CQOVAView::EndRowDrag(CPoint point) {
  m_bRowDragOpen = false;
  ReleaseCapture();
  m_nAutoScrollY = 0;
  CRect client;
  GetClientRect(&client);
  const unsigned r = unsigned(m_nDragStart), s = unsigned(m_nDragEnd);
  // Dropped on either of its own lines, or beside the window, the row stays.
  if (point.x >= client.left && point.x <= client.right && s != r && s != r + 1) {
    for (unsigned& p : m_aMultiSelect) {
      if (p == 0) continue;
      if (s < r) {
        if (p == r + 1)
          p = s + 1;
        else if (p >= s + 1 && p < r + 1)
          ++p;
      } else {
        if (p == r + 1)
          p = s;
        else if (p > r + 1 && p <= s)
          --p;
      }
    }
    RebuildMultiOrder();
  }
  Invalidate(TRUE);
}
