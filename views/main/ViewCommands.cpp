// The View menu of the main view where it goes beyond the chromosome views'
// navigation: the grid lays its rows out on a switch of mode, the integral
// view and a grid of several array types stay on the base axis, and the
// ratios switch between log2 and linear. Each does nothing without data
// shown, whatever reached it.
#include "core/AnalyzedData.h"
#include "platform/ui/CmdTarget.h"
#include "platform/ui/Wnd.h"
#include "views/main/QOVAView.h"

void CQOVAView::EnterMode(bool oneChromosome) {
  if (m_nViewFlags & VIEW_MULTIPLE)
    LayoutMultipleView();
  else
    CChromosomeView::EnterMode(oneChromosome);
}

// The grid's rows share one SNP axis only when their samples share one type.
bool CQOVAView::SnpOrderAllowed() const {
  return !(m_nViewFlags & VIEW_INTEGRATE) && (!(m_nViewFlags & VIEW_MULTIPLE) || m_bMultiSameArrayType);
}

void CQOVAView::OnViewLogScale() { SetRatioScale(true); }

void CQOVAView::OnViewLinearScale() { SetRatioScale(false); }

// The averages and the HMM levels follow the scale; the layout does not change.
void CQOVAView::SetRatioScale(bool log) {
  if (!m_bDataShown) return;
  if (log)
    m_nViewFlags |= VIEW_LOG_SCALE;
  else
    m_nViewFlags &= ~VIEW_LOG_SCALE;
  m_bDataShown = FALSE;
  m_pRatio = m_pLogRatio;
  m_pLinearRatio.clear();
  ComputeAverages();  // in linear scale it points m_pRatio at the linear copy
  ComputeHmmLevels();
  m_bDataShown = TRUE;
  Invalidate(TRUE);
}

void CQOVAView::OnUpdateViewLogScale(CCmdUI* cmdUI) {
  cmdUI->Enable(m_bDataShown && !(m_nViewFlags & (VIEW_LOG_SCALE | VIEW_MULTIPLE | VIEW_NOT_ANALYSIS)));
}

void CQOVAView::OnUpdateViewLinearScale(CCmdUI* cmdUI) {
  cmdUI->Enable(m_bDataShown && (m_nViewFlags & VIEW_LOG_SCALE) && !(m_nViewFlags & (VIEW_MULTIPLE | VIEW_NOT_ANALYSIS)));
}
