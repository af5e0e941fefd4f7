// Printing of the main view through the framework's print and preview: the
// drawing fitted onto one page, or tiled over pages at the printed size the
// display settings give for the mode. Each page is the ordinary drawing pass
// under a mapping of its own; the screen's mapping is put back afterwards.
#include <algorithm>

#include "platform/ui/DC.h"
#include "platform/ui/DocView.h"
#include "views/QOVAView.h"

namespace {

// The printed size and the one-page switch of the view's mode.
struct PrintMode {
  CSize printedSize;
  bool onePage;
};

PrintMode ModeOf(const CDisplaySetting::PrintKeys& print, std::uint32_t flags) {
  if (flags & VIEW_MULTIPLE) return {{print.MULTI_X, print.MULTI_Y}, print.ONE_MULTI != 0};
  if (flags & VIEW_ONE_CHROMOSOME) return {{print.EACH_X, print.EACH_Y}, print.ONE_EACH != 0};
  return {{print.ALL_X, print.ALL_Y}, print.ONE_ALL != 0};
}

// Logical x units per printed size while printing (y: views::kPrintScaleY).
int PrintScaleX(std::uint32_t flags) {
  if (flags & VIEW_BASE_INTERVAL) return 200000;
  return (flags & VIEW_COMBINED_ARRAY) ? 400 : 200;
}

CSize PageOf(CDC* pDC) { return {pDC->GetDeviceCaps(HORZRES), pDC->GetDeviceCaps(VERTRES)}; }

// The framework stops at this page number whatever the count.
constexpr long long kLastPageNumber = 0xFFFE;

}  // namespace

BOOL CQOVAView::OnPreparePrinting(CPrintInfo* info) { return DoPreparePrinting(info); }

views::PageGrid CQOVAView::PrintPages(CDC* pDC) const {
  const PrintMode mode = ModeOf(m_pDisplaySetting->PRINT, m_nViewFlags);
  if (mode.onePage) return {};
  return views::PrintPageGrid(ComputePageLayout(), PageOf(pDC), mode.printedSize, PrintScaleX(m_nViewFlags));
}

void CQOVAView::OnBeginPrinting(CDC* pDC, CPrintInfo* info) {
  info->SetMaxPage(UINT(std::min(PrintPages(pDC).Count(), kLastPageNumber)));
}

void CQOVAView::OnPrint(CDC* pDC, CPrintInfo* info) {
  const ViewMapping screen = *this;
  const PrintMode mode = ModeOf(m_pDisplaySetting->PRINT, m_nViewFlags);
  const CSize extent = ComputePageLayout();
  const CSize page = PageOf(pDC);
  const long long scaleX = PrintScaleX(m_nViewFlags);
  m_nScaleX = int(scaleX);
  m_nScaleY = views::kPrintScaleY;
  if (mode.onePage) {
    m_nSizeX = views::ClampDisplaySize(scaleX * page.cx / std::max<long long>(1, extent.cx));
    m_nSizeY = views::ClampDisplaySize(1LL * page.cy * views::kPrintScaleY / std::max<long long>(1, extent.cy));
    m_nScrollX = m_nScrollY = 0;
  } else {
    const views::PageGrid grid = PrintPages(pDC);
    m_nSizeX = grid.printedWidth;
    m_nSizeY = grid.printedHeight;
    const long long index = std::max<long long>(0, (long long)info->m_nCurPage - 1);
    const long long column = index % grid.columns, row = index / grid.columns;
    m_nScrollX = int(std::min<long long>(column * scaleX * page.cx / grid.printedWidth, INT32_MAX));
    m_nScrollY = int(std::min<long long>(row * page.cy * views::kPrintScaleY / grid.printedHeight, INT32_MAX));
  }
  CView::OnPrint(pDC, info);
  static_cast<ViewMapping&>(*this) = screen;
}

void CQOVAView::OnEndPrinting(CDC* pDC, CPrintInfo* info) {
  (void)pDC;
  (void)info;
  Invalidate(TRUE);
}
