#include "views/association/QOVAAssView.h"

#include <algorithm>

#include "core/ArrayTypes.h"
#include "core/BasicData.h"
#include "core/GenomeTables.h"
#include "core/GlobalData.h"
#include "core/SnpOrder.h"
#include "platform/ui/CmdTarget.h"
#include "platform/ui/Wnd.h"
#include "resources/CommandIds.h"
#include "views/association/QOVAAssDoc.h"

IMPLEMENT_DYNCREATE(CQOVAAssView, CChromosomeView)

namespace cmd = qova::resources;

// The navigation commands, Measure, View Setting and printing are the
// chromosome views' (CChromosomeView's map).
BEGIN_MESSAGE_MAP(CQOVAAssView, CChromosomeView)
  ON_UPDATE_COMMAND_UI(cmd::kCmdSampleInformation, &CQOVAAssView::OnUpdateSampleInformation)
END_MESSAGE_MAP()

CQOVAAssDoc* CQOVAAssView::GetDocument() const { return dynamic_cast<CQOVAAssDoc*>(m_pDocument); }

// --- state ---

void CQOVAAssView::OnInitialUpdate() {
  if (const auto* source = dynamic_cast<const CQOVAAssView*>(OtherViewOfDocument()))
    TakeShownState(*source);
  else if (const CQOVAAssDoc* doc = GetDocument())
    *m_pDisplaySetting = doc->Global().ProgramSetting->Display;
  TakeModeSizes();
  m_nArrayType = 0;
  CView::OnInitialUpdate();
}

void CQOVAAssView::OnUpdate(CView* sender, LPARAM hint, CObject* hintObject) {
  (void)sender;
  (void)hint;
  (void)hintObject;
  CQOVAAssDoc* doc = GetDocument();
  if (!doc || doc->m_strStatus == CQOVAAssDoc::kStatusClean) return;
  m_bDataShown = FALSE;
  m_nMouseMode = 0;
  m_bBandOpen = false;
  CarryScrollPosition();
  KeepModeSize();
  if (!BindShownData()) return;
  SetScales();
  ShowLaidOut();
}

void CQOVAAssView::BindDocumentData() {
  CQOVAAssDoc* doc = GetDocument();
  const CGlobalData& global = doc->Global();
  const std::string& arrayType = doc->m_Data.arrayType;
  m_nArrayFamily = ArrayClassIndex(arrayType);
  m_nArrayType = ArrayTypeIndex(arrayType);
  m_pBasicData = global.HasBasicData(m_nArrayFamily) ? &global.BasicData[m_nArrayFamily] : nullptr;
  m_pChromosomeStarts = global.ArrayChromosomeStarts[m_nArrayType];
  const AssociationData& data = doc->m_Data;
  m_pAssocValid = {data.valid.data(), data.valid.size()};
  m_pChiSquare = {data.chiSquare.data(), data.chiSquare.size()};
  m_pPermutationP = {data.pValue.data(), data.pValue.size()};
  if (IsBound()) doc->m_Cytoband.MapToSnps(m_nArrayType, m_pChromosomeStarts, *m_pBasicData);
}

bool CQOVAAssView::IsBound() const {
  if (!m_pBasicData || !m_pChromosomeStarts || !qova::core::FindArrayType(GetDocument()->m_Data.arrayType)) return false;
  const std::size_t end = std::size_t(std::max(0, m_pChromosomeStarts[24]));
  return m_pAssocValid.size() >= end && m_pChiSquare.size() >= end && m_pPermutationP.size() >= end;
}

int CQOVAAssView::PositionOf(int s) const {
  const std::int32_t row = AnnotationRowOfSnp(*m_pBasicData, m_nArrayType, s);
  return row < 0 ? 0 : m_pBasicData->Position[std::size_t(row)];
}

// --- layout ---

// The study has no self reference: the row is that of a non-self sample.
void CQOVAAssView::ComputeRowHeight() {
  const CQOVAAssDoc* doc = GetDocument();
  const bool nonSelfAllele = doc && doc->Global().ProgramSetting->NONSELFALLELE != 0;
  const int height = SampleRowHeight(m_pDisplaySetting->ITEMS.NONSELF, false, nonSelfAllele);
  ComputeGenomeLayout(Lengths(), Gap((m_nViewFlags & VIEW_BASE_INTERVAL) != 0, m_nArrayType), height);
}

CSize CQOVAAssView::ComputePageLayout() const {
  return PageExtent((m_nViewFlags & VIEW_ONE_CHROMOSOME) != 0, m_nChromosome, Lengths());
}

// --- commands ---

void CQOVAAssView::OnViewAllGenome() {
  if (m_nViewFlags & VIEW_ONE_CHROMOSOME) CChromosomeView::OnViewAllGenome();
}

void CQOVAAssView::OnViewEachChromosome() {
  if (!(m_nViewFlags & VIEW_ONE_CHROMOSOME)) CChromosomeView::OnViewEachChromosome();
}

void CQOVAAssView::OnUpdateSampleInformation(CCmdUI* cmdUI) { cmdUI->Enable(FALSE); }
