// The print plan of the main view: the chromosome views' printing (one page
// or tiles at the mode's printed size) with room before the first column for
// the axis labels of the panels; the fragment-length plot on one page.
#include <array>
#include <string>
#include <vector>

#include "platform/ui/DC.h"
#include "views/main/CopyNumberAxes.h"
#include "views/PrintFit.h"
#include "views/main/QOVAView.h"

using namespace qova::views::main;
namespace views = qova::views;

views::PrintPlan CQOVAView::PrintPlanFor(CDC* pDC) const {
  views::PrintPlan plan = views::PrintPlanOf(m_pDisplaySetting->PRINT, m_nViewFlags);
  // The fragment-length plot is drawn whole on its page, in its own mapping.
  if (FragmentPlotShown()) {
    plan.onePage = true;
    return plan;
  }
  // The integral view's lanes have no axis labels left of a column.
  if (m_nViewFlags & VIEW_INTEGRATE) return plan;
  const bool log = (m_nViewFlags & VIEW_LOG_SCALE) != 0;
  std::vector<std::string> labels;
  for (const AxisKind kind : {AxisKind::CopyNumber, AxisKind::AlleleAnalysis,
                                     AxisKind::AlleleDifference}) {
    const std::array<std::string, 3> shown = AxisLabels(kind, log, Magnification());
    labels.insert(labels.end(), shown.begin(), shown.end());
  }
  return views::WithRoomForLabels(*pDC, plan, ComputePageLayout(), m_nChromosomeX[0], kAxisLabelFont, labels);
}
