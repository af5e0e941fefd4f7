// The shown sample's identity: View > Sample infomation reports it, and the
// change of self reference analyses a self result again against another
// paired normal sample of its array type.
#include "core/AnalyzedData.h"
#include "core/ArrayData.h"
#include "document/QOVADoc.h"
#include "document/analyses/SelectRef.h"
#include "views/main/QOVAView.h"
#include "views/main/SampleInformation.h"

void CQOVAView::OnViewSampleInformation() {
  if (!m_bDataShown || (m_nViewFlags & (VIEW_MULTIPLE | VIEW_INTEGRATE)) || !m_pAnalyzed) return;
  CSampleInformation dialog(m_pAnalyzed, m_pBasicData, m_pChromosomeStarts, this);
  (void)dialog.DoModal();
}

bool CQOVAView::CanChangeSelfReference() const {
  // The analysis runs on the document's extracted sample: a result shown
  // without its own (VIEW_NOT_ANALYSIS) would analyse whatever that holds.
  return m_bDataShown && (m_nViewFlags & VIEW_SELF_REFERENCE) &&
         !(m_nViewFlags & (VIEW_MULTIPLE | VIEW_INTEGRATE | VIEW_NOT_ANALYSIS));
}

void CQOVAView::OnUpdateChangeSelfReference(CCmdUI* cmdUI) { cmdUI->Enable(CanChangeSelfReference()); }

void CQOVAView::OnChangeSelfReference() {
  CQOVADoc* doc = GetDocument();
  if (!doc || !CanChangeSelfReference()) return;
  CSelectRef chooser(doc->ArrayDataFolder, this);
  chooser.ArrayType = m_pAnalyzed->Header.ArrayType;
  if (chooser.DoModal() != IDOK) return;
  CArrayData& sample = doc->ArrayData;
  const std::string previous = sample.Header.SelfReference;
  sample.SetSelfReference(chooser.ChosenName);
  // A failed analysis stored nothing: the sample keeps the reference its
  // files and the shown result were made with.
  if (doc->SelfAnalysis(&sample, FALSE) != CQOVADoc::kSucceeded) sample.SetSelfReference(previous);
}
