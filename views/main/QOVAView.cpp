#include "views/main/QOVAView.h"

#include <algorithm>
#include <cmath>

#include "core/AnalyzedData.h"
#include "core/ArrayData.h"
#include "core/ArrayTypes.h"
#include "core/BasicData.h"
#include "core/Cytoband.h"
#include "core/GenomeTables.h"
#include "core/GlobalData.h"
#include "core/ProgramSetting.h"
#include "core/SnpOrder.h"
#include "document/ApplicationData.h"
#include "document/QOVADoc.h"
#include "resources/CommandIds.h"

namespace views = qova::views;

IMPLEMENT_DYNCREATE(CQOVAView, CChromosomeView)

namespace cmd = qova::resources;

// The navigation commands, Measure, View Setting and printing are the
// chromosome views' (CChromosomeView's map).
BEGIN_MESSAGE_MAP(CQOVAView, CChromosomeView)
  ON_COMMAND(cmd::kCmdLogScale, &CQOVAView::OnViewLogScale)
  ON_COMMAND(cmd::kCmdLinearScale, &CQOVAView::OnViewLinearScale)
  ON_UPDATE_COMMAND_UI(cmd::kCmdLogScale, &CQOVAView::OnUpdateViewLogScale)
  ON_UPDATE_COMMAND_UI(cmd::kCmdLinearScale, &CQOVAView::OnUpdateViewLinearScale)
  ON_COMMAND(cmd::kCmdAverageMode, &CQOVAView::OnParameterAverageMode)
  ON_COMMAND(cmd::kCmdHmmTotal, &CQOVAView::OnParameterHmmTotal)
  ON_COMMAND(cmd::kCmdHmmAllele, &CQOVAView::OnParameterHmmAllele)
  ON_COMMAND(cmd::kCmdSdRange, &CQOVAView::OnParameterSdRange)
  ON_COMMAND(cmd::kCmdContaminationRate, &CQOVAView::OnParameterContaminationRate)
  ON_COMMAND(cmd::kCmdAdjustAmp, &CQOVAView::OnParameterAdjustAmp)
  ON_COMMAND(cmd::kCmdMark, &CQOVAView::OnParameterMark)
  ON_UPDATE_COMMAND_UI(cmd::kCmdAverageMode, &CQOVAView::OnUpdateParameterAverageMode)
  ON_UPDATE_COMMAND_UI(cmd::kCmdHmmTotal, &CQOVAView::OnUpdateParameterHmmTotal)
  ON_UPDATE_COMMAND_UI(cmd::kCmdHmmAllele, &CQOVAView::OnUpdateParameterHmmAllele)
  ON_UPDATE_COMMAND_UI(cmd::kCmdSdRange, &CQOVAView::OnUpdateParameterAnalysedSample)
  ON_UPDATE_COMMAND_UI(cmd::kCmdContaminationRate, &CQOVAView::OnUpdateParameterAnalysedSample)
  ON_UPDATE_COMMAND_UI(cmd::kCmdMark, &CQOVAView::OnUpdateParameterAnalysedSample)
  ON_COMMAND(cmd::kCmdFragmentLengthPlot, &CQOVAView::OnParameterFragmentLengthPlot)
  ON_COMMAND(cmd::kCmdFragmentLengthRange, &CQOVAView::OnParameterSetFragmentLengthRange)
  ON_UPDATE_COMMAND_UI(cmd::kCmdFragmentLengthPlot, &CQOVAView::OnUpdateParameterAnalysedSample)
  ON_UPDATE_COMMAND_UI(cmd::kCmdFragmentLengthRange, &CQOVAView::OnUpdateParameterAnalysedSample)
  ON_UPDATE_COMMAND_UI(cmd::kCmdAdjustAmp, &CQOVAView::OnUpdateParameterAdjustAmp)
  ON_COMMAND(cmd::kCmdEditMarker, &CQOVAView::OnParameterEditMarker)
  ON_COMMAND(cmd::kCmdSaveMarkerList, &CQOVAView::OnSaveMarkerList)
  ON_COMMAND(cmd::kCmdLoadMarkerList, &CQOVAView::OnLoadMarkerList)
  ON_UPDATE_COMMAND_UI(cmd::kCmdEditMarker, &CQOVAView::OnUpdateSingleViewCommands)
  ON_COMMAND(cmd::kCmdOutputIgbFiles, &CQOVAView::OnDataOutputIgbFiles)
  ON_UPDATE_COMMAND_UI(cmd::kCmdOutputIgbFiles, &CQOVAView::OnUpdateSingleViewCommands)
  // The document writes the raw data of the sample it holds, which in the
  // grid and the integral view is not one the user sees.
  ON_UPDATE_COMMAND_UI(cmd::kCmdOutputRawData, &CQOVAView::OnUpdateSingleViewCommands)
  ON_COMMAND(cmd::kCmdSampleInformation, &CQOVAView::OnViewSampleInformation)
  ON_UPDATE_COMMAND_UI(cmd::kCmdSampleInformation, &CQOVAView::OnUpdateSingleViewCommands)
  ON_COMMAND(cmd::kCmdChangeSelfReference, &CQOVAView::OnChangeSelfReference)
  ON_UPDATE_COMMAND_UI(cmd::kCmdChangeSelfReference, &CQOVAView::OnUpdateChangeSelfReference)
  ON_UPDATE_COMMAND_UI(cmd::kCmdSaveMarkerList, &CQOVAView::OnUpdateSaveMarkerList)
  ON_UPDATE_COMMAND_UI(cmd::kCmdLoadMarkerList, &CQOVAView::OnUpdateLoadMarkerList)
  ON_COMMAND(cmd::kCmdRerunTotalHmm, &CQOVAView::OnRerunTotalHmm)
  ON_COMMAND(cmd::kCmdEditHmmStateMeans, &CQOVAView::OnEditHmmStateMeans)
  ON_COMMAND(cmd::kCmdGainLossHmm, &CQOVAView::OnGainLossHmm)
  ON_UPDATE_COMMAND_UI(cmd::kCmdRerunTotalHmm, &CQOVAView::OnUpdateTotalHmmCommands)
  ON_UPDATE_COMMAND_UI(cmd::kCmdEditHmmStateMeans, &CQOVAView::OnUpdateTotalHmmCommands)
  ON_UPDATE_COMMAND_UI(cmd::kCmdGainLossHmm, &CQOVAView::OnUpdateGainLossHmm)
  ON_COMMAND(cmd::kCmdSelectSamples, &CQOVAView::OnViewSelectSamples)
  ON_UPDATE_COMMAND_UI(cmd::kCmdSelectSamples, &CQOVAView::OnUpdateViewSelectSamples)
END_MESSAGE_MAP()

namespace {

// The settings record of the running program, or null in a bare test.
const CProgramSetting* Settings(const CQOVADoc* doc) {
  if (doc) return doc->Global().ProgramSetting.get();
  return qova::document::HasApplicationData() ? qova::document::ApplicationData().ProgramSetting.get() : nullptr;
}

template <typename T>
std::span<const T> Whole(const std::vector<T>& v) {
  return {v.data(), v.size()};
}

}  // namespace

CQOVADoc* CQOVAView::GetDocument() const { return dynamic_cast<CQOVADoc*>(m_pDocument); }

// --- state ---

void CQOVAView::OnInitialUpdate() {
  if (const auto* source = dynamic_cast<const CQOVAView*>(OtherViewOfDocument())) {
    TakeShownState(*source);
    m_nAverageMode = source->m_nAverageMode;
    m_nDrawMode = source->m_nDrawMode;
    m_nAverageNumber = source->m_nAverageNumber;
  } else if (const CProgramSetting* setting = Settings(GetDocument())) {
    *m_pDisplaySetting = setting->Display;
  }
  TakeModeSizes();
  m_nMultiSizeX = m_pDisplaySetting->DISP.MULTI_X;
  m_nMultiSizeY = m_pDisplaySetting->DISP.MULTI_Y;
  m_nArrayType = 0;
  CView::OnInitialUpdate();
}

void CQOVAView::CopyStateTo(CQOVAView& target) const {
  *target.m_pDisplaySetting = *m_pDisplaySetting;
  target.m_nViewFlags = m_nViewFlags;
  static_cast<ViewMapping&>(target) = *this;  // scroll, scale and the current size
  target.m_nChromosome = m_nChromosome;
  target.m_nAverageMode = m_nAverageMode;
  target.m_nDrawMode = m_nDrawMode;
  target.m_nAverageNumber = m_nAverageNumber;
  target.m_nEachSizeX = m_nEachSizeX;
  target.m_nEachSizeY = m_nEachSizeY;
  target.m_nAllSizeX = m_nAllSizeX;
  target.m_nAllSizeY = m_nAllSizeY;
  target.m_nMultiSizeX = m_nMultiSizeX;
  target.m_nMultiSizeY = m_nMultiSizeY;
  target.m_nArrayType = m_nArrayType;
}

bool CQOVAView::CopyStateTo(CView& target) const {
  auto* view = dynamic_cast<CQOVAView*>(&target);
  if (!view) return false;
  CopyStateTo(*view);
  return true;
}

void CQOVAView::OnUpdate(CView* sender, LPARAM hint, CObject* hintObject) {
  (void)sender;
  (void)hint;
  (void)hintObject;
  CQOVADoc* doc = GetDocument();
  if (!doc || doc->Status == kStatusClean) return;

  m_bDataShown = FALSE;
  m_nMouseMode = 0;
  m_pLinearRatio.clear();
  for (auto& average : m_pAverage) average.clear();

  CarryScrollPosition();
  if (m_nViewFlags & VIEW_MULTIPLE) {
    m_nMultiSizeX = m_nSizeX;
    m_nMultiSizeY = m_nSizeY;
    m_nSizeX = m_nEachSizeX;
    m_nSizeY = m_nEachSizeY;
    if (m_nViewFlags & VIEW_ONE_CHROMOSOME) m_nSizeX = m_nMultiSizeX;
    m_nScrollY = 0;
  } else {
    KeepModeSize();
  }

  m_aMultiSamples.clear();
  m_aMultiSelect.clear();
  m_aMultiOrder.clear();
  // A row drag under way ends: its rows are gone.
  if (m_bRowDragOpen && CWnd::GetCapture() == this) ReleaseCapture();
  m_bRowDragOpen = false;
  m_bBandOpen = false;
  ReadSettings();
  if (doc->Status == kStatusMultiple) {
    ShowMultiple();
    return;
  }
  if (doc->Status == kStatusIntegrate) {
    ShowIntegral();
    return;
  }

  if (!BindShownData()) return;
  CheckAnnotation();
  BuildDisplayStates();

  m_nViewFlags &= ~(VIEW_MULTIPLE | VIEW_INTEGRATE);
  if (doc->Status != kStatusAnalysis)
    m_nViewFlags |= VIEW_NOT_ANALYSIS;
  else
    m_nViewFlags &= ~VIEW_NOT_ANALYSIS;
  if (m_pAnalyzed->IsSelf)
    m_nViewFlags |= VIEW_SELF_REFERENCE;
  else
    m_nViewFlags &= ~VIEW_SELF_REFERENCE;
  const CDisplaySetting::ScaleKeys& scale = m_pDisplaySetting->SCALE;
  if ((m_pAnalyzed->IsSelf ? scale.SELF_ISLOG : scale.NONSELF_ISLOG) != 0)
    m_nViewFlags |= VIEW_LOG_SCALE;
  else
    m_nViewFlags &= ~VIEW_LOG_SCALE;
  ComputeHmmLevels();
  ComputeAverages();
  SetScales();
  ComputeDotColours();
  if (m_nViewFlags & VIEW_FRAGMENT_PLOT) ComputeFragmentReference();
  m_nMouseMode = 0;
  ShowLaidOut();
}

void CQOVAView::ShowMultiple() {
  m_nViewFlags &= ~VIEW_INTEGRATE;
  m_nViewFlags |= VIEW_NOT_ANALYSIS;
  // A grid on the base axis keeps its layout; anything else starts on one
  // chromosome along the bases.
  if ((m_nViewFlags & (VIEW_MULTIPLE | VIEW_BASE_INTERVAL)) != (VIEW_MULTIPLE | VIEW_BASE_INTERVAL)) {
    m_nViewFlags |= VIEW_MULTIPLE | VIEW_BASE_INTERVAL | VIEW_ONE_CHROMOSOME;
    m_nScrollX = 0;
  }
  m_nScrollY = 0;
  m_nSizeX = m_nMultiSizeX;
  m_nSizeY = m_nMultiSizeY;
  m_nScaleX = views::kBaseAxisScales.chromosomeX;
  m_nScaleY = views::kBaseAxisScales.chromosomeY;
  BuildMultipleView();
}

void CQOVAView::ShowIntegral() {
  CQOVADoc* doc = GetDocument();
  m_nViewFlags &= ~VIEW_MULTIPLE;
  m_nViewFlags |= VIEW_INTEGRATE | VIEW_BASE_INTERVAL | VIEW_NOT_ANALYSIS;
  m_pCytoband = &doc->Cytoband;
  // Nothing integrated, nothing to show.
  if (!doc->Integration) {
    Invalidate(TRUE);
    return;
  }
  ApplyModeScales();
  ShowLaidOut();
}

void CQOVAView::ReadSettings() {
  if (const CProgramSetting* setting = Settings(GetDocument())) {
    m_bAlleleAllSnps = setting->NotLimitToHeteroSNPs != 0;
    m_bHmmIncludeX = setting->PanelDrawFlag != 0;
    m_fAlleleAmplitude = setting->AlleleAmplitude;
    m_bNonSelfAllele = setting->NONSELFALLELE != 0;
    m_nMultiSampleSpace = setting->SampleSpacing;
    m_nMultiMarginDivisor = std::max(1, setting->LeftMargin);
  }
}

void CQOVAView::ComputeAverages() {
  const bool alleleNonSelf = m_bNonSelfAllele;
  const bool log = (m_nViewFlags & VIEW_LOG_SCALE) != 0;
  const std::size_t n = std::size_t(std::max(0, m_pAnalyzed->Header.SnpCount));
  const bool self = (m_nViewFlags & VIEW_SELF_REFERENCE) != 0;
  const int series = !self && !alleleNonSelf ? 1 : (m_pDisplaySetting->ITEMS.SELF & 0x2000) ? 4 : 3;
  for (int s = 1; s <= series; ++s) {
    m_pAverage[s - 1].assign(n, 0.0f);
    ComputeMovingAverage(s, m_nAverageMode, log);
  }
  if (!log) {
    m_pLinearRatio.resize(n);
    for (std::size_t i = 0; i < n && i < m_pLogRatio.size(); ++i) m_pLinearRatio[i] = std::exp2(m_pLogRatio[i]);
    m_pRatio = Whole(m_pLinearRatio);
  }
}

void CQOVAView::ComputeHmmLevels() {
  const bool log = (m_nViewFlags & VIEW_LOG_SCALE) != 0;
  const SampleHeader& header = m_pAnalyzed->Header;
  for (int k = 0; k < kHmmStateCount; ++k)
    m_fHmmLevel[k] = log ? header.HmmMeans[k] : std::exp2(header.HmmMeans[k]);
  for (int k = 0; k < kAlleleHmmStateCount; ++k)
    m_fAlleleHmmLevel[k] = log ? header.AlleleHmmMeans[k] : std::exp2(header.AlleleHmmMeans[k]);
}

bool CQOVAView::AtChromosomeScales() const { return (m_nViewFlags & (VIEW_ONE_CHROMOSOME | VIEW_MULTIPLE)) != 0; }

// --- binding ---

void CQOVAView::BindDocumentData() {
  CQOVADoc* doc = GetDocument();
  if (!doc) return;
  m_pAnalyzed = &doc->AnalyzedData;
  m_pArrayData = &doc->ArrayData;
  m_pCytoband = &doc->Cytoband;
  const std::string& arrayType = m_pAnalyzed->Header.ArrayType;
  m_nArrayFamily = doc->ArrayClassIndex(arrayType);
  m_nArrayType = doc->ArrayTypeIndex(arrayType);
  m_pBasicData = doc->BasicData ? &doc->BasicData[m_nArrayFamily] : nullptr;
  const CAnalyzedData& a = *m_pAnalyzed;
  m_pRatio = m_pLogRatio = Whole(a.LogRatio);
  m_pRatioA = Whole(a.LogRatioA);
  m_pRatioB = Whole(a.LogRatioB);
  m_pCopyNumberState = Whole(a.CopyNumberState);
  m_pAlleleStateA = Whole(a.AlleleStateA);
  m_pAlleleStateB = Whole(a.AlleleStateB);
  m_pCallTest = Whole(a.CallTest);
  m_pCallReference = Whole(a.CallReference);
  m_pValidFlag = {m_pAnalyzed->ValidFlag.data(), m_pAnalyzed->ValidFlag.size()};
  m_pLohLikelihood = Whole(a.LohLikelihood);
  m_pChromosomeStarts = doc->ChromosomeStarts[m_nArrayType];
  if (m_pBasicData) {
    m_pIndexMap = Whole(m_pBasicData->IndexMap);
    m_pSortMap = Whole(m_pBasicData->SortMap);
    m_pPosition = Whole(m_pBasicData->Position);
    m_pFragmentNumber = Whole(m_pBasicData->FragmentNumber);
    if (IsBound()) m_pCytoband->MapToSnps(m_nArrayType, m_pChromosomeStarts, *m_pBasicData);
  }
}

bool CQOVAView::IsBound() const {
  if (!m_pAnalyzed || !m_pBasicData || !m_pChromosomeStarts) return false;
  // Every slot of the type must reach a row of a loaded table, and every
  // per-SNP array the panels read must cover the slots.
  const std::size_t end = std::size_t(std::max(0, m_pChromosomeStarts[24]));
  if (m_pBasicData->LoadedRows() < qova::core::kArrayFamilies[m_nArrayFamily].snpCount) return false;
  for (const std::size_t size : {m_pLogRatio.size(), m_pCopyNumberState.size(), m_pValidFlag.size(),
                                 m_pCallTest.size(), std::size_t(std::max(0, m_pAnalyzed->Header.SnpCount))}) {
    if (size < end) return false;
  }
  return true;
}

bool CQOVAView::AnnotationFits(int c, int i) const {
  const CBasicData& table = *m_pBasicData;
  const long long longest = 10LL * (ChromosomeStartTable[c + 1] - ChromosomeStartTable[c] + 1);
  const std::int32_t r = AnnotationRowOfSnp(table, m_nArrayType, i);
  return r >= 0 && table.Chromosome[std::size_t(r)] == c && table.Position[std::size_t(r)] >= 0 &&
         table.Position[std::size_t(r)] <= longest;
}

void CQOVAView::CheckAnnotation() {
  for (int c = 1; c <= 23; ++c) {
    for (int i = m_pChromosomeStarts[c]; i < m_pChromosomeStarts[c + 1]; ++i)
      if (!AnnotationFits(c, i)) m_pValidFlag[std::size_t(i)] = 0;
  }
}

void CQOVAView::BuildDisplayStates() {
  const std::size_t n = std::size_t(std::max(0, m_pAnalyzed->Header.SnpCount));
  m_pDisplayState.assign(n, 0);
  std::copy_n(m_pAnalyzed->CopyNumberState.begin(), std::min(n, m_pAnalyzed->CopyNumberState.size()),
              m_pDisplayState.begin());
  const CQOVADoc* doc = GetDocument();
  const MarkerRegionList& markers =
      doc && doc->Status == kStatusAnalysis ? m_pArrayData->Markers : m_pAnalyzed->Markers;
  LayStateMarkersOver(markers, m_pAnalyzed->Header.FirstSnpIndex, m_pAnalyzed->Header.LastSnpIndex,
                      m_pDisplayState);
  m_pCopyNumberState = Whole(m_pDisplayState);
}

// --- layout ---

int CQOVAView::ItemMask() const {
  return (m_nViewFlags & VIEW_SELF_REFERENCE) ? m_pDisplaySetting->ITEMS.SELF : m_pDisplaySetting->ITEMS.NONSELF;
}

int CQOVAView::Magnification() const {
  return (m_nViewFlags & VIEW_SELF_REFERENCE) ? m_pDisplaySetting->SCALE.MAG_SELF : m_pDisplaySetting->SCALE.MAG_NONSELF;
}

void CQOVAView::ComputeRowHeight() {
  const bool self = (m_nViewFlags & VIEW_SELF_REFERENCE) != 0;
  const int height =
      (m_nViewFlags & VIEW_INTEGRATE) ? IntegralRowHeight() : SampleRowHeight(ItemMask(), self, m_bNonSelfAllele);
  const int gap = Gap((m_nViewFlags & VIEW_BASE_INTERVAL) != 0, m_nArrayType);
  ComputeGenomeLayout(Lengths(), gap, height);
  if (m_nViewFlags & VIEW_MULTIPLE)
    m_nChromosomeX[0] = int(1LL * gap * m_pDisplaySetting->MultiGapPercent / 100);
}

CSize CQOVAView::ComputePageLayout() const {
  if (!(m_nViewFlags & VIEW_MULTIPLE))
    return PageExtent((m_nViewFlags & VIEW_ONE_CHROMOSOME) != 0, m_nChromosome, Lengths());
  // The grid: its rows below the header, as wide as one column or the
  // shrunk genome with the margins.
  const long long gap = Gap((m_nViewFlags & VIEW_BASE_INTERVAL) != 0, m_nArrayType);
  const long long width = (m_nViewFlags & VIEW_ONE_CHROMOSOME)
                              ? Lengths()[std::size_t(std::clamp(m_nChromosome, 1, 23))]
                              : GenomeRowWidth();
  const long long height = (m_aMultiOrder.empty() ? 0 : m_aMultiOrder.back()) + m_pDisplaySetting->MultiTopMargin;
  return {LONG(std::min<long long>(width + gap * 100 / m_nMultiMarginDivisor + gap, INT32_MAX)),
          LONG(std::min<long long>(height, INT32_MAX))};
}

// The integral view's hits are positions on the base axis.
bool CQOVAView::HitGivesOffset() const { return (m_nViewFlags & VIEW_INTEGRATE) != 0; }

int CQOVAView::ColumnWidth(int c) const {
  if (m_nViewFlags & VIEW_BASE_INTERVAL) return ChromosomeStartTable[c + 1] - ChromosomeStartTable[c];
  return m_pChromosomeStarts[c + 1] - m_pChromosomeStarts[c];
}
