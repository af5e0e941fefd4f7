// The Parameter commands of the main view: the averaging of the display
// curves, the HMM state means of the shown sample (followed by its analysis
// again) and the mouse tools they arm; and the grid's rows after View >
// View Setting.
#include <array>
#include <functional>
#include <span>

#include "analysis/Average.h"
#include "analysis/HMMParameter.h"
#include "core/AnalyzedData.h"
#include "core/ArrayData.h"
#include "core/ArrayTypes.h"
#include "document/QOVADoc.h"
#include "platform/ui/CmdTarget.h"
#include "views/main/QOVAView.h"

namespace {

// The means dialogs list the states from the highest down.
template <std::size_t N>
void MeansToDialog(const std::array<float, N>& header, std::array<float, N>& dialog) {
  for (std::size_t k = 0; k < N; ++k) dialog[N - 1 - k] = header[k];
}

template <std::size_t N>
void MeansFromDialog(const std::array<float, N>& dialog, std::array<float, N>& header) {
  for (std::size_t k = 0; k < N; ++k) header[k] = dialog[N - 1 - k];
}

// The document's analysis of its sample again with the edited header, not
// quietly: it stores the files and updates every view. It works on a copy, so
// that means of an analysis that failed do not stay behind in the sample shown.
// It takes seconds on a large array, with the dialog that asked for it closed
// and the wait cursor up.
void AnalyseAgain(CQOVADoc& doc, bool self, const std::function<void(SampleHeader&)>& edit) {
  CWaitCursor wait;
  CArrayData work = doc.ArrayData;
  edit(work.Header);
  if (self)
    (void)doc.SelfAnalysis(&work, FALSE);
  else
    (void)doc.NonSelfAnalysis(&work, FALSE);
}

}  // namespace

void CQOVAView::OnParameterAverageMode() {
  if (!m_bDataShown) return;
  CAverage dialog(this);
  dialog.AveragingMode = m_nAverageMode;
  dialog.DrawMode = m_nDrawMode;
  dialog.AveragingNumber = m_nAverageNumber;
  (void)dialog.DoModal();
  // Cancel hands the values back as they were.
  m_nAverageMode = dialog.AveragingMode;
  m_nDrawMode = dialog.DrawMode;
  m_nAverageNumber = dialog.AveragingNumber;
  if (m_nViewFlags & VIEW_MULTIPLE) {
    RecomputeAverages();
    return;
  }
  m_bDataShown = FALSE;
  m_pRatio = m_pLogRatio;
  ComputeAverages();
  m_bDataShown = TRUE;
  Invalidate(TRUE);
}

void CQOVAView::OnParameterHmmTotal() {
  CQOVADoc* doc = GetDocument();
  if (!m_bDataShown || !doc || (m_nViewFlags & (VIEW_COMBINED_ARRAY | VIEW_NOT_ANALYSIS))) return;
  CHMMParameter dialog(this);
  MeansToDialog(m_pAnalyzed->Header.HmmMeans, dialog.Means);
  if (dialog.DoModal() != IDOK) return;
  AnalyseAgain(*doc, (m_nViewFlags & VIEW_SELF_REFERENCE) != 0,
               [&](SampleHeader& header) { MeansFromDialog(dialog.Means, header.HmmMeans); });
}

void CQOVAView::OnParameterHmmAllele() {
  CQOVADoc* doc = GetDocument();
  if (!m_bDataShown || !doc || (m_nViewFlags & (VIEW_COMBINED_ARRAY | VIEW_NOT_ANALYSIS))) return;
  if (!(m_nViewFlags & VIEW_SELF_REFERENCE) && !m_bNonSelfAllele) return;
  CHMMParametersSM dialog(this);
  MeansToDialog(m_pAnalyzed->Header.AlleleHmmMeans, dialog.Means);
  if (dialog.DoModal() != IDOK) return;
  AnalyseAgain(*doc, (m_nViewFlags & VIEW_SELF_REFERENCE) != 0,
               [&](SampleHeader& header) { MeansFromDialog(dialog.Means, header.AlleleHmmMeans); });
}

void CQOVAView::OnParameterSdRange() {
  if (!m_bDataShown || (m_nViewFlags & VIEW_COMBINED_ARRAY)) return;
  const CQOVADoc* doc = GetDocument();
  if (doc && doc->Status == kStatusAnalysis) {
    m_nMouseMode = MOUSE_SD_RANGE;
    return;
  }
  // An Agilent result sets its SD range without the extracted sample.
  if (m_nArrayType == qova::core::kAgilentArrayType) m_nMouseMode = MOUSE_SD_RANGE;
}

void CQOVAView::OnParameterContaminationRate() { m_nMouseMode = MOUSE_CONTAMINATION; }

void CQOVAView::OnParameterMark() { m_nMouseMode = MOUSE_MARK; }

void CQOVAView::OnParameterAdjustAmp() {
  if (m_bDataShown && (m_nViewFlags & VIEW_COMBINED_ARRAY)) m_nMouseMode = MOUSE_ADJUST_AMP;
}

void CQOVAView::OnRowHeightChanged() {
  if (m_nViewFlags & VIEW_MULTIPLE) LayoutMultipleView();
}

void CQOVAView::OnUpdateParameterAverageMode(CCmdUI* cmdUI) {
  cmdUI->Enable(m_bDataShown && !(m_nViewFlags & VIEW_INTEGRATE));
}

void CQOVAView::OnUpdateParameterHmmTotal(CCmdUI* cmdUI) { OnUpdateParameterAnalysedSample(cmdUI); }

void CQOVAView::OnUpdateParameterHmmAllele(CCmdUI* cmdUI) {
  cmdUI->Enable(m_bDataShown && !(m_nViewFlags & (VIEW_COMBINED_ARRAY | VIEW_NOT_ANALYSIS)) &&
                ((m_nViewFlags & VIEW_SELF_REFERENCE) || m_bNonSelfAllele));
}

void CQOVAView::OnUpdateParameterAnalysedSample(CCmdUI* cmdUI) {
  cmdUI->Enable(m_bDataShown && !(m_nViewFlags & (VIEW_COMBINED_ARRAY | VIEW_NOT_ANALYSIS)));
}

void CQOVAView::OnUpdateParameterAdjustAmp(CCmdUI* cmdUI) {
  cmdUI->Enable(m_bDataShown && (m_nViewFlags & VIEW_COMBINED_ARRAY));
}

void CQOVAView::OnUpdateParameterMeasure(CCmdUI* cmdUI) {
  cmdUI->Enable(m_bDataShown && (!(m_nViewFlags & VIEW_MULTIPLE) || (m_nViewFlags & VIEW_ONE_CHROMOSOME)));
}
