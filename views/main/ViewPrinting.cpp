// Printing of the main view through the framework's print and preview: the
// drawing fitted onto one page, or tiled over pages at the printed size the
// display settings give for the mode, with room before the first column for
// the axis labels. Each page is the ordinary drawing pass under a mapping of
// its own; the screen's mapping is put back afterwards.
#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "platform/ui/DC.h"
#include "platform/ui/DocView.h"
#include "views/main/CopyNumberAxes.h"
#include "views/PrintFit.h"
#include "views/main/QOVAView.h"

BOOL CQOVAView::OnPreparePrinting(CPrintInfo* info) { return DoPreparePrinting(info); }

views::PrintPlan CQOVAView::PrintPlanFor(CDC* pDC) const {
  const views::PrintPlan plan = views::PrintPlanOf(m_pDisplaySetting->PRINT, m_nViewFlags);
  // The integral view's lanes and the fragment-length plot have no axis
  // labels left of a column.
  if ((m_nViewFlags & VIEW_INTEGRATE) || FragmentPlotShown()) return plan;
  const bool log = (m_nViewFlags & VIEW_LOG_SCALE) != 0;
  std::vector<std::string> labels;
  for (const views::AxisKind kind : {views::AxisKind::CopyNumber, views::AxisKind::AlleleAnalysis,
                                     views::AxisKind::AlleleDifference}) {
    const std::array<std::string, 3> shown = views::AxisLabels(kind, log, Magnification());
    labels.insert(labels.end(), shown.begin(), shown.end());
  }
  return views::WithRoomForLabels(*pDC, plan, ComputePageLayout(), m_nChromosomeX[0], views::kAxisLabelFont, labels);
}

views::PageGrid CQOVAView::PrintPages(CDC* pDC) const {
  return views::PrintPages(PrintPlanFor(pDC), ComputePageLayout(), views::PrinterPage(pDC));
}

void CQOVAView::OnBeginPrinting(CDC* pDC, CPrintInfo* info) {
  info->SetMaxPage(UINT(std::min(PrintPages(pDC).Count(), views::kLastPageNumber)));
}

void CQOVAView::OnPrint(CDC* pDC, CPrintInfo* info) {
  const ViewMapping screen = *this;
  static_cast<ViewMapping&>(*this) =
      views::PrintPageMapping(PrintPlanFor(pDC), ComputePageLayout(), views::PrinterPage(pDC), info->m_nCurPage);
  CView::OnPrint(pDC, info);
  static_cast<ViewMapping&>(*this) = screen;
}

void CQOVAView::OnEndPrinting(CDC* pDC, CPrintInfo* info) {
  (void)pDC;
  (void)info;
  Invalidate(TRUE);
}
