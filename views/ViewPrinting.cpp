// Printing of the main view through the framework's print and preview: the
// drawing fitted onto one page, or tiled over pages at the printed size the
// display settings give for the mode. Each page is the ordinary drawing pass
// under a mapping of its own; the screen's mapping is put back afterwards.
#include <algorithm>

#include "platform/ui/DC.h"
#include "platform/ui/DocView.h"
#include "views/QOVAView.h"

BOOL CQOVAView::OnPreparePrinting(CPrintInfo* info) { return DoPreparePrinting(info); }

views::PageGrid CQOVAView::PrintPages(CDC* pDC) const {
  return views::PrintPages(views::PrintPlanOf(m_pDisplaySetting->PRINT, m_nViewFlags), ComputePageLayout(), views::PrinterPage(pDC));
}

void CQOVAView::OnBeginPrinting(CDC* pDC, CPrintInfo* info) {
  info->SetMaxPage(UINT(std::min(PrintPages(pDC).Count(), views::kLastPageNumber)));
}

void CQOVAView::OnPrint(CDC* pDC, CPrintInfo* info) {
  const ViewMapping screen = *this;
  static_cast<ViewMapping&>(*this) = views::PrintPageMapping(views::PrintPlanOf(m_pDisplaySetting->PRINT, m_nViewFlags),
                                                            ComputePageLayout(), views::PrinterPage(pDC), info->m_nCurPage);
  CView::OnPrint(pDC, info);
  static_cast<ViewMapping&>(*this) = screen;
}

void CQOVAView::OnEndPrinting(CDC* pDC, CPrintInfo* info) {
  (void)pDC;
  (void)info;
  Invalidate(TRUE);
}
