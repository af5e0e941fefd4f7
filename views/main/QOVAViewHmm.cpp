// The HMM re-runs of an Agilent result shown in the main view, reachable by
// command id: the total copy-number HMM again (after editing its state means,
// if the user likes) and the gain/loss HMM with the view's own parameters.
// They change the shown result and store it under its own kind.
#include <algorithm>

#include "analysis/Analysis.h"
#include "analysis/HMMAGLPara.h"
#include "analysis/HMMParameter.h"
#include "core/AnalyzedData.h"
#include "core/ArrayTypes.h"
#include "document/QOVADoc.h"
#include "platform/ui/CmdTarget.h"
#include "views/main/QOVAView.h"

namespace {

bool ShowsAgilentResult(const CQOVAView& view) {
  const CQOVADoc* doc = view.GetDocument();
  return view.m_bDataShown && doc && view.m_pAnalyzed &&
         doc->ArrayTypeIndex(view.m_pAnalyzed->Header.ArrayType) == qova::core::kAgilentArrayType;
}

}  // namespace

void CQOVAView::OnUpdateTotalHmmCommands(CCmdUI* cmdUI) {
  cmdUI->Enable(ShowsAgilentResult(*this) && !(m_nViewFlags & (VIEW_MULTIPLE | VIEW_INTEGRATE)));
}

// The integral view binds no sample: no re-run there either.
void CQOVAView::OnUpdateGainLossHmm(CCmdUI* cmdUI) { OnUpdateTotalHmmCommands(cmdUI); }

void CQOVAView::OnRerunTotalHmm() {
  CQOVADoc* doc = GetDocument();
  if (!ShowsAgilentResult(*this) || (m_nViewFlags & (VIEW_MULTIPLE | VIEW_INTEGRATE))) return;
  m_bDataShown = FALSE;
  CAnalysis engine(doc->Global());
  (void)engine.RunTotalCopyNumberHMM(*m_pAnalyzed, *m_pBasicData);
  m_pAnalyzed->RebuildEditedCopyNumberState();
  RedisplayStates();
  (void)StoreAnalyzedResult();
  m_bDataShown = TRUE;
  Invalidate(TRUE);
}

void CQOVAView::OnEditHmmStateMeans() {
  if (!ShowsAgilentResult(*this) || (m_nViewFlags & (VIEW_MULTIPLE | VIEW_INTEGRATE))) return;
  CHMMParameter dialog(this);
  // The dialog lists the states from 6 down to 0.
  std::array<float, kHmmStateCount>& means = m_pAnalyzed->Header.HmmMeans;
  std::reverse_copy(means.begin(), means.end(), dialog.Means.begin());
  if (dialog.DoModal() != IDOK) return;
  std::reverse_copy(dialog.Means.begin(), dialog.Means.end(), means.begin());
  ComputeHmmLevels();
  OnRerunTotalHmm();
}

void CQOVAView::OnGainLossHmm() {
  CQOVADoc* doc = GetDocument();
  if (!ShowsAgilentResult(*this) || (m_nViewFlags & (VIEW_MULTIPLE | VIEW_INTEGRATE))) return;
  CHMMAGLPara dialog(&m_fGainLossParam, this);
  if (dialog.DoModal() != IDOK) return;
  m_bDataShown = FALSE;
  CAnalysis engine(doc->Global());
  engine.RunGainLossHMM(*m_pAnalyzed, *m_pBasicData, m_fGainLossParam);
  RedisplayStates();
  (void)StoreAnalyzedResult();
  m_bDataShown = TRUE;
  Invalidate(TRUE);
}
