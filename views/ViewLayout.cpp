#include "views/ViewLayout.h"

#include <algorithm>

#include "core/GenomeTables.h"
#include "platform/ui/Constants.h"
#include "platform/ui/Wnd.h"

namespace {

// A zero extent would divide by zero; the drawing context refuses it too.
long long Scaled(long long value, int multiplier, int divisor) {
  return divisor == 0 ? value : value * multiplier / divisor;
}

}  // namespace

long long ViewMapping::ToLogicalX(long long px) const { return Scaled(px, m_nScaleX, m_nSizeX) + m_nScrollX; }
long long ViewMapping::ToLogicalY(long long py) const { return Scaled(py, m_nScaleY, m_nSizeY) + m_nScrollY; }
long long ViewMapping::ToDeviceX(long long x) const { return Scaled(x - m_nScrollX, m_nSizeX, m_nScaleX); }
long long ViewMapping::ToDeviceY(long long y) const { return Scaled(y - m_nScrollY, m_nSizeY, m_nScaleY); }
long long ViewMapping::LogicalWidth(long long pixels) const { return Scaled(pixels, m_nScaleX, m_nSizeX); }
long long ViewMapping::LogicalHeight(long long pixels) const { return Scaled(pixels, m_nScaleY, m_nSizeY); }

ChromosomeLengths LengthsOnBaseAxis() {
  ChromosomeLengths lengths{};
  for (int c = 1; c <= 23; ++c) lengths[c] = ChromosomeStartTable[c + 1] - ChromosomeStartTable[c];
  return lengths;
}

ChromosomeLengths LengthsInSnpOrder(const std::int32_t* starts) {
  ChromosomeLengths lengths{};
  if (!starts) return lengths;
  for (int c = 1; c <= 23; ++c) lengths[c] = std::max(0, starts[c + 1] - starts[c]);
  return lengths;
}

int CViewLayout::Gap(bool baseInterval, int arrayType) {
  if (baseInterval) return 500000;
  switch (arrayType) {
    case 0:
    case 1: return 10;
    case 2:
    case 3: return 100;
    case 4: return 200;
    case 7:
    case 10:
    case 12: return 1000;
    default: return 500;
  }
}

int CViewLayout::SampleRowHeight(int itemMask, bool selfReference, bool nonSelfAllele) {
  int height = kLabelBand;
  if (itemMask & (0x4 | 0x400)) height += 300;
  if (itemMask & 0x2) height += 300;
  if (itemMask & 0x10) height += 100;
  if (itemMask & 0x1) height += 100;
  if ((itemMask & (0x8 | 0x1000)) && (selfReference || nonSelfAllele)) height += 300;
  if (selfReference && (itemMask & 0x2000)) height += 300;
  if (!selfReference && (itemMask & 0x20)) height += 300;
  if (itemMask & 0x800) height += 50;
  return height;
}

void CViewLayout::ComputeGenomeLayout(const ChromosomeLengths& lengths, int gap, int rowHeight) {
  m_nRowHeight = rowHeight;
  m_nChromosomeX[0] = gap;
  m_nChromosomeY[0] = 0;
  long long widest = 0;
  for (std::size_t row = 0; row < kGenomeRows.size(); ++row) {
    long long x = gap;
    for (int c = kGenomeRows[row][0]; c <= kGenomeRows[row][1]; ++c) {
      m_nChromosomeX[c] = int(x);
      m_nChromosomeY[c] = int(row) * rowHeight;
      x += lengths[c];
      widest = std::max(widest, x + gap);
      x += gap;
    }
  }
  m_nLayoutWidth = int(widest);
}

CSize CViewLayout::PageExtent(bool oneChromosome, int chromosome, const ChromosomeLengths& lengths) const {
  if (oneChromosome) {
    const int c = std::clamp(chromosome, 1, 23);
    return {lengths[c] + 2 * m_nChromosomeX[0], m_nRowHeight + 300};
  }
  return {m_nLayoutWidth, 6 * (m_nRowHeight + 50)};
}

void CViewLayout::UpdateLayout(CWnd& wnd, CSize extent) {
  CRect client;
  wnd.GetClientRect(&client);
  const long long visibleHeight = LogicalHeight(client.Height());
  const long long visibleWidth = LogicalWidth(client.Width());
  m_nScrollY = int(std::max<long long>(0, std::min<long long>(m_nScrollY, extent.cy - visibleHeight)));
  m_nScrollX = int(std::max<long long>(0, std::min<long long>(m_nScrollX, extent.cx - visibleWidth)));
  const auto setBar = [&wnd](int bar, long long range, long long page, int pos) {
    SCROLLINFO info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = int(range);
    info.nPage = UINT(std::clamp<long long>(page, 0, INT32_MAX));
    info.nPos = pos;
    wnd.SetScrollInfo(bar, &info, TRUE);
  };
  setBar(SB_VERT, extent.cy, visibleHeight, m_nScrollY);
  setBar(SB_HORZ, extent.cx, visibleWidth, m_nScrollX);
}

bool CViewLayout::Scroll(CWnd& wnd, int bar, UINT code) {
  SCROLLINFO info;
  if (!wnd.GetScrollInfo(bar, &info, SIF_ALL)) return false;
  const long long page = info.nPage;
  long long pos = info.nPos;
  switch (code) {
    case SB_LINEUP: pos -= page / 10; break;
    case SB_LINEDOWN: pos += page / 10; break;
    case SB_PAGEUP: pos -= page / 2; break;
    case SB_PAGEDOWN: pos += page / 2; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: pos = info.nTrackPos; break;
    default: break;
  }
  pos = std::max<long long>(0, std::min<long long>(pos, info.nMax - page));
  if (pos == info.nPos) return false;
  SCROLLINFO moved;
  moved.fMask = SIF_POS;
  moved.nPos = int(pos);
  wnd.SetScrollInfo(bar, &moved, TRUE);
  (bar == SB_VERT ? m_nScrollY : m_nScrollX) = int(pos);
  wnd.Invalidate(TRUE);
  return true;
}

BOOL CViewLayout::HitTest(CPoint& p, int& c, int& result, BOOL findChromosome, const HitAxis& axis,
                          const ChromosomeLengths& lengths) const {
  const long long x = ToLogicalX(p.x);
  const long long y = ToLogicalY(p.y);
  p.x = LONG(std::clamp<long long>(x, INT32_MIN, INT32_MAX));
  p.y = LONG(std::clamp<long long>(y, INT32_MIN, INT32_MAX));

  long long offset = 0;
  if (axis.oneChromosome) {
    if (findChromosome) c = axis.chromosome;
    offset = x - m_nChromosomeX[0];
  } else if (!findChromosome) {
    offset = x - m_nChromosomeX[std::clamp(c, 0, 23)];
  } else {
    const long long band = (y - kLabelBand) / std::max(1, m_nRowHeight);
    const auto& row = kGenomeRows[std::size_t(std::clamp<long long>(band, 0, 5))];
    int found = 0;
    for (int k = row[0]; k <= row[1] && !found; ++k) {
      if (x >= m_nChromosomeX[k] && x < m_nChromosomeX[k] + static_cast<long long>(lengths[k])) found = k;
    }
    c = found;
    if (!found) return FALSE;
    offset = x - m_nChromosomeX[c];
  }
  if (c < 1 || c > 23) return FALSE;

  // A column without slots has nothing to land on; clamping into [0, -1]
  // would land on a neighbouring chromosome.
  const bool hasSlots = axis.starts && axis.starts[c + 1] > axis.starts[c];
  if (axis.integral) {
    result = int(std::clamp<long long>(offset, 0, std::max(0, lengths[c] - 1)));
    return TRUE;
  }
  if (!hasSlots || lengths[c] <= 0) return FALSE;
  offset = std::clamp<long long>(offset, 0, lengths[c] - 1);
  if (!axis.baseInterval) {
    result = int(axis.starts[c] + offset);
    return TRUE;
  }
  int lo = axis.starts[c];
  int hi = axis.starts[c + 1] - 1;
  while (lo < hi - 1) {
    const int mid = lo + (hi - lo) / 2;
    if (offset < axis.positionKey(mid))
      hi = mid;
    else
      lo = mid;
  }
  result = lo + (hi - lo) / 2;
  return TRUE;
}
