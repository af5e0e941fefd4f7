#include "views/association/QOVAAssView.h"

#include <algorithm>

#include "core/AppSettingSheet.h"
#include "core/ArrayTypes.h"
#include "core/BasicData.h"
#include "core/GenomeTables.h"
#include "core/GlobalData.h"
#include "core/SnpOrder.h"
#include "platform/Numeric.h"
#include "platform/ui/App.h"
#include "platform/ui/CmdTarget.h"
#include "platform/ui/Frame.h"
#include "platform/ui/Wnd.h"
#include "resources/CommandIds.h"
#include "views/ChSelectDlg.h"
#include "views/association/QOVAAssDoc.h"

IMPLEMENT_DYNCREATE(CQOVAAssView, CView)

namespace cmd = qova::resources;

BEGIN_MESSAGE_MAP(CQOVAAssView, CView)
  ON_COMMAND(cmd::kCmdAllGenome, &CQOVAAssView::OnViewAllGenome)
  ON_COMMAND(cmd::kCmdEachChromosome, &CQOVAAssView::OnViewEachChromosome)
  ON_COMMAND(cmd::kCmdPreviousChromosome, &CQOVAAssView::OnViewPreviousChromosome)
  ON_COMMAND(cmd::kCmdNextChromosome, &CQOVAAssView::OnViewNextChromosome)
  ON_COMMAND(cmd::kCmdSnpInterval, &CQOVAAssView::OnViewSnpInterval)
  ON_COMMAND(cmd::kCmdBaseInterval, &CQOVAAssView::OnViewBaseInterval)
  ON_COMMAND(cmd::kCmdMeasure, &CQOVAAssView::OnParameterMeasure)
  ON_COMMAND(cmd::kCmdViewSetting, &CQOVAAssView::OnViewSetting)
  ON_UPDATE_COMMAND_UI(cmd::kCmdAllGenome, &CQOVAAssView::OnUpdateViewAllGenome)
  ON_UPDATE_COMMAND_UI(cmd::kCmdEachChromosome, &CQOVAAssView::OnUpdateViewEachChromosome)
  ON_UPDATE_COMMAND_UI(cmd::kCmdPreviousChromosome, &CQOVAAssView::OnUpdateViewStepChromosome)
  ON_UPDATE_COMMAND_UI(cmd::kCmdNextChromosome, &CQOVAAssView::OnUpdateViewStepChromosome)
  ON_UPDATE_COMMAND_UI(cmd::kCmdSnpInterval, &CQOVAAssView::OnUpdateViewSnpInterval)
  ON_UPDATE_COMMAND_UI(cmd::kCmdBaseInterval, &CQOVAAssView::OnUpdateViewBaseInterval)
  ON_UPDATE_COMMAND_UI(cmd::kCmdMeasure, &CQOVAAssView::OnUpdateParameterMeasure)
  ON_UPDATE_COMMAND_UI(cmd::kCmdViewSetting, &CQOVAAssView::OnUpdateViewSetting)
  ON_UPDATE_COMMAND_UI(cmd::kCmdSampleInformation, &CQOVAAssView::OnUpdateSampleInformation)
  ON_COMMAND(ID_FILE_PRINT, &CView::OnFilePrint)
  ON_COMMAND(ID_FILE_PRINT_DIRECT, &CView::OnFilePrint)
  ON_COMMAND(ID_FILE_PRINT_PREVIEW, &CView::OnFilePrintPreview)
END_MESSAGE_MAP()

CQOVAAssView::CQOVAAssView() : m_pDisplaySetting(std::make_unique<CDisplaySetting>()) {}

CQOVAAssView::~CQOVAAssView() = default;

CQOVAAssDoc* CQOVAAssView::GetDocument() const { return dynamic_cast<CQOVAAssDoc*>(m_pDocument); }

// --- state ---

void CQOVAAssView::OnInitialUpdate() {
  const CQOVAAssView* source = nullptr;
  if (auto* frame = dynamic_cast<CMDIFrameWnd*>(AfxGetMainWnd())) {
    CMDIChildWnd* child = frame->MDIGetActive();
    auto* active = child ? dynamic_cast<CQOVAAssView*>(child->GetActiveView()) : nullptr;
    if (active && active != this && active->m_pDocument == m_pDocument) source = active;
  }
  if (source) {
    *m_pDisplaySetting = *source->m_pDisplaySetting;
    m_nViewFlags = source->m_nViewFlags;
    static_cast<ViewMapping&>(*this) = *source;
    m_nChromosome = source->m_nChromosome;
  } else if (const CQOVAAssDoc* doc = GetDocument()) {
    *m_pDisplaySetting = doc->Global().ProgramSetting->Display;
  }
  const CDisplaySetting::DispKeys& disp = m_pDisplaySetting->DISP;
  m_nEachSizeX = disp.EACH_X;
  m_nEachSizeY = disp.EACH_Y;
  m_nAllSizeX = m_nSizeX = disp.ALL_X;
  m_nAllSizeY = m_nSizeY = disp.ALL_Y;
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
  const bool snpOrder = !(m_nViewFlags & VIEW_BASE_INTERVAL);
  if (snpOrder) m_nScrollX = platform::SaturatingCast(double(m_nScrollX) * views::ScrollCarryFactor(m_nArrayType));
  if (m_nViewFlags & VIEW_ONE_CHROMOSOME) {
    m_nEachSizeX = m_nSizeX;
    m_nEachSizeY = m_nSizeY;
  } else {
    m_nAllSizeX = m_nSizeX;
    m_nAllSizeY = m_nSizeY;
  }
  BindDocumentData();
  if (!IsBound()) {
    Invalidate(TRUE);
    return;
  }
  if (qova::core::IsCombinedArrayType(m_nArrayType))
    m_nViewFlags |= VIEW_COMBINED_ARRAY;
  else
    m_nViewFlags &= ~VIEW_COMBINED_ARRAY;
  ApplyModeScales();
  if (snpOrder) m_nScrollX /= views::ScrollCarryFactor(m_nArrayType);
  ComputeRowHeight();
  m_bDataShown = TRUE;
  UpdateLayout();
  Invalidate(TRUE);
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

// A study whose type the program does not know, or whose family table is
// not loaded, has nothing to place its SNPs by; the view stays blank.
bool CQOVAAssView::IsBound() const {
  if (!m_pBasicData || !m_pChromosomeStarts || !qova::core::FindArrayType(GetDocument()->m_Data.arrayType)) return false;
  const std::size_t end = std::size_t(std::max(0, m_pChromosomeStarts[24]));
  return m_pAssocValid.size() >= end && m_pChiSquare.size() >= end && m_pPermutationP.size() >= end;
}

int CQOVAAssView::PositionOf(int s) const {
  const std::int32_t row = AnnotationRowOfSnp(*m_pBasicData, m_nArrayType, s);
  return row < 0 ? 0 : m_pBasicData->Position[std::size_t(row)];
}

void CQOVAAssView::ApplyModeScales() {
  const bool one = (m_nViewFlags & VIEW_ONE_CHROMOSOME) != 0;
  const views::ModeScales scales =
      (m_nViewFlags & VIEW_BASE_INTERVAL) ? views::kBaseAxisScales : views::ScalesInSnpOrder(m_nArrayType);
  m_nScaleX = one ? scales.chromosomeX : scales.genomeX;
  m_nScaleY = one ? scales.chromosomeY : scales.genomeY;
}

void CQOVAAssView::SwapModeSizes(bool toOneChromosome) {
  int& leftX = toOneChromosome ? m_nAllSizeX : m_nEachSizeX;
  int& leftY = toOneChromosome ? m_nAllSizeY : m_nEachSizeY;
  leftX = m_nSizeX;
  leftY = m_nSizeY;
  m_nSizeX = toOneChromosome ? m_nEachSizeX : m_nAllSizeX;
  m_nSizeY = toOneChromosome ? m_nEachSizeY : m_nAllSizeY;
}

// --- layout ---

ChromosomeLengths CQOVAAssView::Lengths() const {
  return (m_nViewFlags & VIEW_BASE_INTERVAL) ? LengthsOnBaseAxis() : LengthsInSnpOrder(m_pChromosomeStarts);
}

int CQOVAAssView::ColumnWidth(int c) const { return Lengths()[std::size_t(c)]; }

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

void CQOVAAssView::UpdateLayout() {
  if (!m_bDataShown || !m_hWnd) return;
  CViewLayout::UpdateLayout(*this, ComputePageLayout());
}

void CQOVAAssView::Relayout() {
  UpdateLayout();
  Invalidate(TRUE);
}

CSize CQOVAAssView::ClientSize() const {
  CRect client;
  GetClientRect(&client);
  return {client.Width(), client.Height()};
}

void CQOVAAssView::OnSize(UINT type, int cx, int cy) {
  CView::OnSize(type, cx, cy);
  UpdateLayout();
}

void CQOVAAssView::OnVScroll(UINT code, UINT pos, CScrollBar* scrollBar) {
  (void)pos;
  (void)scrollBar;
  Scroll(*this, SB_VERT, code);
}

void CQOVAAssView::OnHScroll(UINT code, UINT pos, CScrollBar* scrollBar) {
  (void)pos;
  (void)scrollBar;
  Scroll(*this, SB_HORZ, code);
}

BOOL CQOVAAssView::HitTest(CPoint& p, int& c, int& result, BOOL findChromosome) const {
  HitAxis axis;
  axis.oneChromosome = (m_nViewFlags & VIEW_ONE_CHROMOSOME) != 0;
  axis.baseInterval = (m_nViewFlags & VIEW_BASE_INTERVAL) != 0;
  axis.chromosome = m_nChromosome;
  axis.starts = m_pChromosomeStarts;
  axis.positionKey = [this](int slot) { return (long long)PositionOf(slot) / 10; };
  return CViewLayout::HitTest(p, c, result, findChromosome, axis, Lengths());
}

// --- commands ---

void CQOVAAssView::OnViewAllGenome() {
  if (!m_bDataShown || !(m_nViewFlags & VIEW_ONE_CHROMOSOME)) return;
  m_nViewFlags &= ~VIEW_ONE_CHROMOSOME;
  m_nScrollX = m_nScrollY = 0;
  ApplyModeScales();
  SwapModeSizes(false);
  Relayout();
}

void CQOVAAssView::OnViewEachChromosome() {
  if (!m_bDataShown || (m_nViewFlags & VIEW_ONE_CHROMOSOME)) return;
  CChSelectDlg chooser(this);
  if (chooser.DoModal() != IDOK || chooser.Chromosome < 1 || chooser.Chromosome > 23) return;
  m_nChromosome = chooser.Chromosome;
  m_nViewFlags |= VIEW_ONE_CHROMOSOME;
  m_nScrollX = m_nScrollY = 0;
  ApplyModeScales();
  SwapModeSizes(true);
  Relayout();
}

void CQOVAAssView::OnViewPreviousChromosome() {
  if (!m_bDataShown || !(m_nViewFlags & VIEW_ONE_CHROMOSOME)) return;
  m_nChromosome = views::PreviousChromosome(m_nChromosome);
  Relayout();
}

void CQOVAAssView::OnViewNextChromosome() {
  if (!m_bDataShown || !(m_nViewFlags & VIEW_ONE_CHROMOSOME)) return;
  m_nChromosome = views::NextChromosome(m_nChromosome);
  Relayout();
}

// The gap and the lengths change units with the axis: the layout again, and
// the position carried across.
void CQOVAAssView::OnViewSnpInterval() {
  if (!m_bDataShown || !(m_nViewFlags & VIEW_BASE_INTERVAL)) return;
  m_nViewFlags &= ~VIEW_BASE_INTERVAL;
  ComputeRowHeight();
  const int scaleY = m_nScaleY;
  ApplyModeScales();
  m_nScaleY = scaleY;
  m_nScrollX /= views::BaseUnitsPerSlot(m_nArrayType);
  Relayout();
}

void CQOVAAssView::OnViewBaseInterval() {
  if (!m_bDataShown || (m_nViewFlags & VIEW_BASE_INTERVAL)) return;
  m_nViewFlags |= VIEW_BASE_INTERVAL;
  ComputeRowHeight();
  ApplyModeScales();
  m_nScrollX = platform::SaturatingCast(double(m_nScrollX) * views::BaseUnitsPerSlot(m_nArrayType));
  Relayout();
}

void CQOVAAssView::OnParameterMeasure() {
  if (m_bDataShown) m_nMouseMode = MOUSE_MEASURE;
}

// The row height follows the item mask, so OK lays the view out again.
void CQOVAAssView::OnViewSetting() {
  if (qova::core::RunViewSettingSheet(*m_pDisplaySetting) != IDOK) return;
  if (m_bDataShown) {
    ComputeRowHeight();
    UpdateLayout();
  }
  Invalidate(TRUE);
}

void CQOVAAssView::OnUpdateViewAllGenome(CCmdUI* cmdUI) {
  cmdUI->Enable(m_bDataShown && (m_nViewFlags & VIEW_ONE_CHROMOSOME));
}

void CQOVAAssView::OnUpdateViewEachChromosome(CCmdUI* cmdUI) {
  cmdUI->Enable(m_bDataShown && !(m_nViewFlags & VIEW_ONE_CHROMOSOME));
}

void CQOVAAssView::OnUpdateViewStepChromosome(CCmdUI* cmdUI) {
  cmdUI->Enable(m_bDataShown && (m_nViewFlags & VIEW_ONE_CHROMOSOME));
}

void CQOVAAssView::OnUpdateViewSnpInterval(CCmdUI* cmdUI) {
  cmdUI->Enable(m_bDataShown && (m_nViewFlags & VIEW_BASE_INTERVAL));
}

void CQOVAAssView::OnUpdateViewBaseInterval(CCmdUI* cmdUI) {
  cmdUI->Enable(m_bDataShown && !(m_nViewFlags & VIEW_BASE_INTERVAL));
}

void CQOVAAssView::OnUpdateParameterMeasure(CCmdUI* cmdUI) { cmdUI->Enable(m_bDataShown); }

void CQOVAAssView::OnUpdateViewSetting(CCmdUI* cmdUI) { cmdUI->Enable(TRUE); }

void CQOVAAssView::OnUpdateSampleInformation(CCmdUI* cmdUI) { cmdUI->Enable(FALSE); }
