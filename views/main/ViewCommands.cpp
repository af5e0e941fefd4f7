// The View menu's navigation and scale commands of the main view: genome or
// one chromosome, stepping through the chromosomes, SNP order or base
// positions along x, log2 or linear ratios. Each does nothing without data
// shown, whatever reached it, and ends with the layout and a repaint.
#include "core/AnalyzedData.h"
#include "platform/Numeric.h"
#include "platform/ui/CmdTarget.h"
#include "platform/ui/Wnd.h"
#include "views/ChSelectDlg.h"
#include "views/main/QOVAView.h"

void CQOVAView::Relayout() {
  UpdateLayout();
  Invalidate(TRUE);
}

// Each mode keeps its own zoom: the mode left keeps the current size, the
// mode entered brings its own back.
void CQOVAView::SwapModeSizes(bool toOneChromosome) {
  int& leftX = toOneChromosome ? m_nAllSizeX : m_nEachSizeX;
  int& leftY = toOneChromosome ? m_nAllSizeY : m_nEachSizeY;
  leftX = m_nSizeX;
  leftY = m_nSizeY;
  m_nSizeX = toOneChromosome ? m_nEachSizeX : m_nAllSizeX;
  m_nSizeY = toOneChromosome ? m_nEachSizeY : m_nAllSizeY;
}

void CQOVAView::OnViewAllGenome() {
  if (!m_bDataShown) return;
  m_nViewFlags &= ~VIEW_ONE_CHROMOSOME;
  m_nScrollX = m_nScrollY = 0;
  // The grid keeps its scales and size; its rows change height.
  if (m_nViewFlags & VIEW_MULTIPLE) {
    LayoutMultipleView();
  } else {
    ApplyModeScales();
    SwapModeSizes(false);
  }
  Relayout();
}

void CQOVAView::OnViewEachChromosome() {
  if (!m_bDataShown) return;
  CChSelectDlg chooser(this);
  if (chooser.DoModal() != IDOK || chooser.Chromosome < 1 || chooser.Chromosome > 23) return;
  m_nChromosome = chooser.Chromosome;
  m_nViewFlags |= VIEW_ONE_CHROMOSOME;
  m_nScrollX = m_nScrollY = 0;
  if (m_nViewFlags & VIEW_MULTIPLE) {
    LayoutMultipleView();
  } else {
    ApplyModeScales();
    SwapModeSizes(true);
  }
  Relayout();
}

void CQOVAView::OnViewPreviousChromosome() {
  if (!m_bDataShown || !(m_nViewFlags & VIEW_ONE_CHROMOSOME)) return;
  m_nChromosome = views::PreviousChromosome(m_nChromosome);
  Relayout();
}

void CQOVAView::OnViewNextChromosome() {
  if (!m_bDataShown || !(m_nViewFlags & VIEW_ONE_CHROMOSOME)) return;
  m_nChromosome = views::NextChromosome(m_nChromosome);
  Relayout();
}

// The gap and the chromosome lengths change units with the axis, so the
// layout is computed again; the scroll position is carried across.
void CQOVAView::OnViewSnpInterval() {
  if (!m_bDataShown || !(m_nViewFlags & VIEW_BASE_INTERVAL) || (m_nViewFlags & VIEW_INTEGRATE)) return;
  if ((m_nViewFlags & VIEW_MULTIPLE) && !m_bMultiSameArrayType) return;
  m_nViewFlags &= ~VIEW_BASE_INTERVAL;
  ComputeRowHeight();
  const int scaleY = m_nScaleY;
  ApplyModeScales();
  m_nScaleY = scaleY;
  m_nScrollX /= views::BaseUnitsPerSlot(m_nArrayType);
  Relayout();
}

void CQOVAView::OnViewBaseInterval() {
  if (!m_bDataShown || (m_nViewFlags & VIEW_BASE_INTERVAL)) return;
  m_nViewFlags |= VIEW_BASE_INTERVAL;
  ComputeRowHeight();
  ApplyModeScales();
  m_nScrollX = platform::SaturatingCast(double(m_nScrollX) * views::BaseUnitsPerSlot(m_nArrayType));
  Relayout();
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

void CQOVAView::OnUpdateViewAllGenome(CCmdUI* cmdUI) {
  cmdUI->Enable(m_bDataShown && (m_nViewFlags & VIEW_ONE_CHROMOSOME));
}

void CQOVAView::OnUpdateViewEachChromosome(CCmdUI* cmdUI) {
  cmdUI->Enable(m_bDataShown && !(m_nViewFlags & VIEW_ONE_CHROMOSOME));
}

void CQOVAView::OnUpdateViewStepChromosome(CCmdUI* cmdUI) {
  cmdUI->Enable(m_bDataShown && (m_nViewFlags & VIEW_ONE_CHROMOSOME));
}

void CQOVAView::OnUpdateViewSnpInterval(CCmdUI* cmdUI) {
  // The grid's rows share one SNP axis only when their samples share one type.
  cmdUI->Enable(m_bDataShown && (m_nViewFlags & VIEW_BASE_INTERVAL) && !(m_nViewFlags & VIEW_INTEGRATE) &&
                (!(m_nViewFlags & VIEW_MULTIPLE) || m_bMultiSameArrayType));
}

void CQOVAView::OnUpdateViewBaseInterval(CCmdUI* cmdUI) {
  cmdUI->Enable(m_bDataShown && !(m_nViewFlags & VIEW_BASE_INTERVAL));
}

void CQOVAView::OnUpdateViewLogScale(CCmdUI* cmdUI) {
  cmdUI->Enable(m_bDataShown && !(m_nViewFlags & (VIEW_LOG_SCALE | VIEW_MULTIPLE | VIEW_NOT_ANALYSIS)));
}

void CQOVAView::OnUpdateViewLinearScale(CCmdUI* cmdUI) {
  cmdUI->Enable(m_bDataShown && (m_nViewFlags & VIEW_LOG_SCALE) && !(m_nViewFlags & (VIEW_MULTIPLE | VIEW_NOT_ANALYSIS)));
}
