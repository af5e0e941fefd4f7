// The multiple-sample grid of the main view: the analysed samples of the
// document's list side by side, one row band each, over the whole genome or
// one chromosome. The view binds one sample after another to the painters of
// the single-sample view; the pass leaves the view bound as it found it.
#include <algorithm>
#include <cmath>
#include <string_view>

#include "core/AnalyzedData.h"
#include "core/ArrayTypes.h"
#include "core/BasicData.h"
#include "core/Cytoband.h"
#include "core/GenomeTables.h"
#include "document/QOVADoc.h"
#include "platform/Strings.h"
#include "platform/ui/Controls.h"
#include "platform/ui/DC.h"
#include "views/PrintFit.h"
#include "views/multiple/MultiViewSelect.h"
#include "views/main/QOVAView.h"

namespace {

// The progress bar of a build, a child control of the view.
constexpr UINT kProgressId = 1;
constexpr RECT kProgressRect{10, 10, 200, 30};
// Point sizes (in tenths) of the sample names and the header's title.
constexpr int kNameFont = 500;
constexpr int kHeaderTitleFont = 700;
constexpr int kHeaderHeight = 100;

// Series 1..3 and the linear ratio of each listed sample.
constexpr std::size_t kSeriesPerSample = 4;

template <typename T>
std::span<const T> Whole(const std::vector<T>& v) {
  return {v.data(), v.size()};
}

// The view's bindings and flags, put back when the grid's pass has bound one
// row's sample after another.
struct SavedBinding {
  explicit SavedBinding(CQOVAView& view)
      : view(view),
        flags(view.m_nViewFlags),
        analyzed(view.m_pAnalyzed),
        basic(view.m_pBasicData),
        family(view.m_nArrayFamily),
        type(view.m_nArrayType),
        ratio(view.m_pRatio),
        ratioA(view.m_pRatioA),
        ratioB(view.m_pRatioB),
        logRatio(view.m_pLogRatio),
        states(view.m_pCopyNumberState),
        statesA(view.m_pAlleleStateA),
        statesB(view.m_pAlleleStateB),
        callTest(view.m_pCallTest),
        callReference(view.m_pCallReference),
        valid(view.m_pValidFlag),
        indexMap(view.m_pIndexMap),
        sortMap(view.m_pSortMap),
        position(view.m_pPosition),
        fragment(view.m_pFragmentNumber),
        loh(view.m_pLohLikelihood),
        starts(view.m_pChromosomeStarts) {
    std::copy_n(view.m_fHmmLevel, 7, hmm);
    std::copy_n(view.m_fAlleleHmmLevel, 5, alleleHmm);
  }
  ~SavedBinding() {
    view.m_nViewFlags = flags;
    view.m_pAnalyzed = analyzed;
    view.m_pBasicData = basic;
    view.m_nArrayFamily = family;
    view.m_nArrayType = type;
    view.m_pRatio = ratio;
    view.m_pRatioA = ratioA;
    view.m_pRatioB = ratioB;
    view.m_pLogRatio = logRatio;
    view.m_pCopyNumberState = states;
    view.m_pAlleleStateA = statesA;
    view.m_pAlleleStateB = statesB;
    view.m_pCallTest = callTest;
    view.m_pCallReference = callReference;
    view.m_pValidFlag = valid;
    view.m_pIndexMap = indexMap;
    view.m_pSortMap = sortMap;
    view.m_pPosition = position;
    view.m_pFragmentNumber = fragment;
    view.m_pLohLikelihood = loh;
    view.m_pChromosomeStarts = starts;
    std::copy_n(hmm, 7, view.m_fHmmLevel);
    std::copy_n(alleleHmm, 5, view.m_fAlleleHmmLevel);
  }
  SavedBinding(const SavedBinding&) = delete;
  SavedBinding& operator=(const SavedBinding&) = delete;

  CQOVAView& view;
  std::uint32_t flags;
  CAnalyzedData* analyzed;
  CBasicData* basic;
  int family, type;
  std::span<const float> ratio, ratioA, ratioB, logRatio;
  std::span<const std::int32_t> states, statesA, statesB, callTest, callReference;
  std::span<std::int32_t> valid;
  std::span<const std::int32_t> indexMap, sortMap, position, fragment;
  std::span<const float> loh;
  const std::int32_t* starts;
  float hmm[7];
  float alleleHmm[5];
};

// Hands the row's averages and linear ratio to the painters for the row and
// takes them back: the grid keeps them, the painters read m_pAverage.
class LentSeries {
 public:
  LentSeries(CQOVAView& view, std::size_t sample) : view_(view), first_(sample * kSeriesPerSample) { Swap(); }
  ~LentSeries() { Swap(); }
  LentSeries(const LentSeries&) = delete;
  LentSeries& operator=(const LentSeries&) = delete;

 private:
  void Swap() {
    for (std::size_t k = 0; k < 3; ++k) std::swap(view_.m_pAverage[k], view_.m_aMultiSamples[first_ + k]);
    std::swap(view_.m_pLinearRatio, view_.m_aMultiSamples[first_ + 3]);
  }
  CQOVAView& view_;
  std::size_t first_;
};

// On paper a row's name stands where the window has it wherever it lies
// whole on the page. Its distance from the page's left grows with the
// printed size and can carry it past the right edge, and a row can begin
// near a page's foot or go on over the pages below: there the name is
// written nearest its place within the part of the page the row takes
// (logical rowTop to rowBottom), and left off a page that shows too little
// of the row to hold it.
void PrintRowName(CDC& dc, CPoint place, int rowTop, int rowBottom, std::string_view name) {
  CPoint at = place;
  dc.LPtoDP(&at);
  const long long width = qova::views::DeviceTextWidth(dc, name), height = qova::views::DeviceTextHeight(dc, name);
  const long long pageWidth = dc.GetDeviceCaps(HORZRES), pageHeight = dc.GetDeviceCaps(VERTRES);
  if (at.x >= 0 && at.y >= 0 && at.x + width <= pageWidth && at.y + height <= pageHeight) {
    dc.TextOut(place.x, place.y, name);
    return;
  }
  CPoint top(place.x, rowTop), bottom(place.x, rowBottom);
  dc.LPtoDP(&top);
  dc.LPtoDP(&bottom);
  const long long shownTop = std::max<long long>(0, std::min(top.y, bottom.y));
  const long long shownBottom = std::min<long long>(pageHeight, std::max(top.y, bottom.y));
  if (shownBottom - shownTop < height) return;
  qova::views::TextOutNearestWithin(dc, at, name, CRect(0, int(shownTop), int(pageWidth), int(shownBottom)));
}

}  // namespace

// --- binding ---

bool CQOVAView::BindMultipleSample(int i, bool draw) {
  CQOVADoc* doc = GetDocument();
  if (!doc || i < 0 || std::size_t(i) >= doc->LoadedResults.size() || !doc->LoadedResults[std::size_t(i)])
    return false;
  CAnalyzedData& a = *doc->LoadedResults[std::size_t(i)];
  m_pAnalyzed = &a;
  m_pCytoband = &doc->Cytoband;
  const std::string& arrayType = draw ? a.AnalysisArrayType : a.Header.ArrayType;
  m_nArrayFamily = doc->ArrayClassIndex(arrayType);
  m_nArrayType = doc->ArrayTypeIndex(arrayType);
  m_pBasicData = doc->BasicData ? &doc->BasicData[m_nArrayFamily] : nullptr;
  m_pRatio = m_pLogRatio = Whole(a.LogRatio);
  m_pRatioA = Whole(a.LogRatioA);
  m_pRatioB = Whole(a.LogRatioB);
  m_pCallTest = Whole(a.CallTest);
  m_pCallReference = Whole(a.CallReference);
  m_pValidFlag = {a.ValidFlag.data(), a.ValidFlag.size()};
  m_pLohLikelihood = Whole(a.LohLikelihood);
  m_pCopyNumberState = Whole(a.CopyNumberState);
  if (draw) {
    // The edited states were made when the file was read; a result made in
    // memory may not have them yet.
    if (a.EditedCopyNumberState.size() >= a.CopyNumberState.size()) m_pCopyNumberState = Whole(a.EditedCopyNumberState);
    m_pAlleleStateA = Whole(a.AlleleStateA);
    m_pAlleleStateB = Whole(a.AlleleStateB);
  }
  m_pChromosomeStarts = doc->ChromosomeStarts[m_nArrayType];
  if (!m_pBasicData) return false;
  m_pIndexMap = Whole(m_pBasicData->IndexMap);
  m_pSortMap = Whole(m_pBasicData->SortMap);
  m_pPosition = Whole(m_pBasicData->Position);
  m_pFragmentNumber = Whole(m_pBasicData->FragmentNumber);
  if (!IsBound()) return false;
  if (m_nCytobandType != m_nArrayType) {
    m_pCytoband->MapToSnps(m_nArrayType, m_pChromosomeStarts, *m_pBasicData);
    m_nCytobandType = m_nArrayType;
  }
  return true;
}

// --- build and layout ---

void CQOVAView::BuildMultipleView() {
  CQOVADoc* doc = GetDocument();
  const int n = doc ? int(doc->LoadedResults.size()) : 0;
  if (n == 0) {
    Invalidate(TRUE);
    return;
  }
  CProgressCtrl progress;
  (void)progress.Create(WS_CHILD | WS_VISIBLE, kProgressRect, this, kProgressId);
  progress.SetRange32(0, n);

  const CDisplaySetting::ScaleKeys& scale = m_pDisplaySetting->SCALE;
  int firstType = -1;
  m_bMultiSameArrayType = TRUE;
  m_aMultiSamples.assign(std::size_t(n) * kSeriesPerSample, {});
  m_aMultiSelect.clear();
  int lastBound = -1;
  for (int i = 0; i < n; ++i) {
    progress.SetPos(i);
    m_aMultiSelect.push_back(unsigned(i + 1));
    const CAnalyzedData* a = doc->LoadedResults[std::size_t(i)].get();
    const int type = a ? doc->ArrayTypeIndex(a->Header.ArrayType) : 0;
    if (firstType < 0) firstType = type;
    if (type != firstType) m_bMultiSameArrayType = FALSE;
    // A sample its type's tables cannot draw keeps an empty row.
    if (!BindMultipleSample(i, false)) continue;
    lastBound = i;
    m_nViewFlags = a->Header.Combined ? (m_nViewFlags | VIEW_COMBINED_ARRAY) : (m_nViewFlags & ~VIEW_COMBINED_ARRAY);
    CheckAnnotation();

    const std::size_t size = std::size_t(std::max(0, a->Header.SnpCount));
    const bool log = (a->IsSelf ? scale.SELF_ISLOG : scale.NONSELF_ISLOG) != 0;
    // A result without allele arrays (a .CFN shown while the allele switch
    // is on) has no allele series to average.
    const bool alleles = a->LogRatioA.size() >= size && a->LogRatioB.size() >= size && a->CallReference.size() >= size;
    const int series = (a->IsSelf || m_bNonSelfAllele) && alleles ? 3 : 1;
    for (int s = 1; s <= series; ++s) {
      std::vector<float>& average = m_pAverage[std::size_t(s - 1)];
      average.assign(size, 0.0f);
      ComputeMovingAverage(s, m_nAverageMode, log);
      m_aMultiSamples[std::size_t(i) * kSeriesPerSample + std::size_t(s - 1)] = std::move(average);
      average.clear();
    }
    if (!log) {
      std::vector<float> linear(size);
      for (std::size_t k = 0; k < size && k < a->LogRatio.size(); ++k) linear[k] = std::exp2(a->LogRatio[k]);
      m_aMultiSamples[std::size_t(i) * kSeriesPerSample + 3] = std::move(linear);
    }
  }
  for (auto& average : m_pAverage) average.clear();
  m_pLinearRatio.clear();
  // The tools and the header need one sample's tables until a row binds its own.
  if (lastBound >= 0) (void)BindMultipleSample(lastBound, true);
  LayoutMultipleView();
  m_nMouseMode = 0;
  ComputeRowHeight();
  ComputeDotColours();
  m_bDataShown = lastBound >= 0;
  UpdateLayout();
  Invalidate(TRUE);
  progress.DestroyWindow();
}

void CQOVAView::LayoutMultipleView() {
  const int base = m_nMultiSampleSpace;
  int self = base, nonSelf = base;
  m_nMultiHeaderHeight = kHeaderHeight;
  const bool allele = m_bNonSelfAllele;
  if (!(m_nViewFlags & VIEW_ONE_CHROMOSOME)) {
    const int m = m_pDisplaySetting->ITEMS.MULTIALL;
    for (int* row : {&self, &nonSelf}) {
      if (m & 0x400) *row += 300;
      if (m & 0x2) *row += 300;
      if (m & 0x1) *row += 100;
      if (m & 0x40) *row += 100;
      if (m & 0x800) *row += 50;
    }
    if (m & 0x8) self += 300;
    if ((m & 0x8) && allele) nonSelf += 300;
    if (m & 0x80) nonSelf += 100;
  } else {
    const int m = m_pDisplaySetting->ITEMS.MULTI;
    for (int* row : {&self, &nonSelf}) {
      if (m & (0x4 | 0x400)) *row += 300;
      if (m & 0x2) *row += 300;
      if (m & 0x10) *row += 100;
      if (m & 0x1) *row += 100;
      if (m & 0x40) *row += 100;
      if (m & 0x800) *row += 50;
    }
    if (m & 0x8) self += 300;
    if ((m & 0x8) && allele) nonSelf += 300;
    if (m & 0x20) nonSelf += 300;
    if (m & 0x80) nonSelf += 100;
    if (m & 0x100) m_nMultiHeaderHeight = 200;
    if (m & 0x200) m_nMultiHeaderHeight += 100;
  }
  m_nMultiSelfRowHeight = self;
  m_nMultiNonSelfRowHeight = nonSelf;
  m_aMultiOrder.clear();
  RebuildMultiOrder();
}

void CQOVAView::RebuildMultiOrder() {
  const CQOVADoc* doc = GetDocument();
  const std::size_t n = doc ? doc->LoadedResults.size() : 0;
  if (m_aMultiOrder.empty()) m_aMultiOrder.resize(n + 1);
  std::fill(m_aMultiOrder.begin(), m_aMultiOrder.end(), m_nMultiHeaderHeight);
  for (std::size_t i = 0; i < n && i < m_aMultiSelect.size(); ++i) {
    const std::size_t p = m_aMultiSelect[i];
    if (p == 0 || !doc->LoadedResults[i]) continue;
    const int height = doc->LoadedResults[i]->IsSelf ? m_nMultiSelfRowHeight : m_nMultiNonSelfRowHeight;
    for (std::size_t r = p; r < m_aMultiOrder.size(); ++r) m_aMultiOrder[r] += height;
  }
}

// --- drawing ---

void CQOVAView::DrawMultipleView(CDC* dc) {
  CQOVADoc* doc = GetDocument();
  if (!doc) return;
  const bool one = (m_nViewFlags & VIEW_ONE_CHROMOSOME) != 0;
  const CDisplaySetting& setting = *m_pDisplaySetting;
  const CDisplaySetting::ScaleKeys& scale = setting.SCALE;
  const int x = m_nChromosomeX[0];
  const int c = std::clamp(m_nChromosome, 1, 23);

  // Rows wholly outside the page or the window are left out.
  CRect area(0, 0, dc->GetDeviceCaps(HORZRES), dc->GetDeviceCaps(VERTRES));
  dc->DPtoLP(&area);
  const long long areaTop = std::min(area.top, area.bottom), areaBottom = std::max(area.top, area.bottom);

  {
    const SavedBinding saved(*this);
    for (std::size_t i = 0; i < m_aMultiSelect.size() && i < doc->LoadedResults.size(); ++i) {
      const std::size_t p = m_aMultiSelect[i];
      if (p == 0 || p > m_aMultiOrder.size()) continue;
      const int rowTop = m_nChromosomeY[0] + m_aMultiOrder[p - 1];
      const long long height = std::max(m_nMultiSelfRowHeight, m_nMultiNonSelfRowHeight);
      if (rowTop + setting.MultiTopMargin + height + kHeaderHeight < areaTop ||
          rowTop - kHeaderHeight > areaBottom)
        continue;
      if (!BindMultipleSample(int(i), true)) continue;
      const CAnalyzedData& a = *m_pAnalyzed;
      const bool self = a.IsSelf;
      const LentSeries lent(*this, i);
      m_nViewFlags = a.Header.Combined ? (m_nViewFlags | VIEW_COMBINED_ARRAY) : (m_nViewFlags & ~VIEW_COMBINED_ARRAY);
      m_nViewFlags = self ? (m_nViewFlags | VIEW_SELF_REFERENCE) : (m_nViewFlags & ~VIEW_SELF_REFERENCE);
      const bool log = (self ? scale.SELF_ISLOG : scale.NONSELF_ISLOG) != 0;
      m_nViewFlags = log ? (m_nViewFlags | VIEW_LOG_SCALE) : (m_nViewFlags & ~VIEW_LOG_SCALE);
      if (!log && m_pLinearRatio.size() >= m_pLogRatio.size()) m_pRatio = Whole(m_pLinearRatio);
      ComputeHmmLevels();

      const int y = setting.MultiTopMargin + rowTop;
      if (one)
        DrawChromosomeRow(dc, c, x, y, self);
      else
        DrawGenomeRow(dc, x, y, self);

      CFont font;
      font.CreatePointFont(kNameFont, "");
      CFont* previous = dc->SelectObject(&font);
      const long long nameX = 1LL * setting.MultiNameX * x / std::max(1, setting.MultiGapPercent) +
                              (setting.MultiNameScrolls == 0 ? m_nScrollX : 0);
      const CPoint place(int(std::clamp<long long>(nameX, INT32_MIN, INT32_MAX)), setting.MultiNameY + rowTop);
      if (dc->IsPrinting())
        PrintRowName(*dc, place, rowTop, rowTop + (self ? m_nMultiSelfRowHeight : m_nMultiNonSelfRowHeight),
                     a.Header.SampleName);
      else
        dc->TextOut(place.x, place.y, a.Header.SampleName);
      dc->SelectObject(previous);
    }
  }
  // On paper the header is printed once, at the top of the drawing: a page
  // further down holds rows where the header would go, and a white band over
  // them would lose them.
  if (one && (!dc->IsPrinting() || m_nScrollY <= 0)) DrawMultipleHeader(dc, c, x);
}

void CQOVAView::DrawGenomeRow(CDC* dc, int x, int y, bool self) {
  const bool allele = self || m_bNonSelfAllele;
  const int m = m_pDisplaySetting->ITEMS.MULTIALL;
  if (m & 0x400) {
    DrawGenomeCopyNumberPlot(dc, x, y);
    y += 300;
  }
  if (m & 0x2) {
    DrawGenomeCopyNumberPanel(dc, x, y);
    y += 300;
  }
  if (m & 0x1) {
    DrawGenomeCallBar(dc, x, y);
    y += 30;
    if (self) DrawGenomeSecondCallBar(dc, x, y);
    y += 70;
  }
  if ((m & 0x8) && allele) {
    DrawGenomeAllelePlot(dc, x, y);
    y += 300;
  }
  if (m & 0x40) {
    DrawGenomeStateBar(dc, x, y);
    y += 100;
  }
  if ((m & 0x80) && !self) {
    DrawGenomeLohLevelBar(dc, x, y);
    y += 100;
  }
  if (m & 0x800) DrawGenomeMarkers(dc, x, y);
}

void CQOVAView::DrawChromosomeRow(CDC* dc, int c, int x, int y, bool self) {
  const bool allele = self || m_bNonSelfAllele;
  const int m = m_pDisplaySetting->ITEMS.MULTI;
  if (m & (0x4 | 0x400)) {
    DrawCopyNumberPlot(dc, c, x, y, m);
    y += 300;
  }
  if (m & 0x2) {
    DrawCopyNumberPanel(dc, c, x, y);
    y += 300;
  }
  if (m & 0x10) {
    DrawCytobandPanel(dc, c, x, y);
    y += 100;
  }
  if (m & 0x1) {
    DrawCallBar(dc, c, x, y);
    y += 30;
    if (self)
      DrawSecondCallBar(dc, c, x, y);
    else
      DrawLohBar(dc, c, x, y);
    y += 70;
  }
  if ((m & 0x8) && allele) {
    DrawAlleleAnalysisPanel(dc, c, x, y);
    y += 300;
  }
  if (m & 0x40) {
    DrawStateBar(dc, c, x, y);
    y += 100;
  }
  if (!self && (m & 0x80)) {
    DrawLohLevelBar(dc, c, x, y);
    y += 100;
  }
  if (!self && (m & 0x20)) {
    DrawLohPanel(dc, c, x, y);
    y += 300;
  }
  if (m & 0x800) DrawMarkers(dc, c, x, y);
}

// The header stays at the top of the window while the rows scroll beneath it.
void CQOVAView::DrawMultipleHeader(CDC* dc, int c, int x) {
  if (!dc->IsPrinting()) dc->FillSolidRect(0, m_nScrollY, m_nLayoutWidth, m_nMultiHeaderHeight, RGB(255, 255, 255));
  CFont font;
  font.CreatePointFont(kHeaderTitleFont, "");
  CFont* previous = dc->SelectObject(&font);
  // On paper the title's line ends above the ruler beneath it.
  qova::views::TextOutFittingAbove(*dc, m_nScrollX, m_nScrollY, c < 23 ? platform::Format("Ch%d", c) : std::string("ChX"),
                             m_nScrollY + kHeaderHeight);
  dc->SelectObject(previous);
  int y = m_nScrollY + kHeaderHeight;
  const int m = m_pDisplaySetting->ITEMS.MULTI;
  if (m & 0x100) {
    DrawRuler(dc, c, x, y);
    y += 100;
  }
  if ((m & 0x200) && m_pCytoband) {
    if (!(m_nViewFlags & VIEW_BASE_INTERVAL) && m_pChromosomeStarts && m_pBasicData && m_nCytobandType != m_nArrayType) {
      m_pCytoband->MapToSnps(m_nArrayType, m_pChromosomeStarts, *m_pBasicData);
      m_nCytobandType = m_nArrayType;
    }
    if ((m_nViewFlags & VIEW_BASE_INTERVAL) || m_pChromosomeStarts) DrawCytobandPanel(dc, c, x, y);
  }
}

void CQOVAView::RecomputeAverages() {
  CQOVADoc* doc = GetDocument();
  const int n = doc ? int(doc->LoadedResults.size()) : 0;
  m_bDataShown = FALSE;
  CProgressCtrl progress;
  (void)progress.Create(WS_CHILD | WS_VISIBLE, kProgressRect, this, kProgressId);
  progress.SetRange32(0, n);
  const CDisplaySetting::ScaleKeys& scale = m_pDisplaySetting->SCALE;
  {
    const SavedBinding saved(*this);
    for (int i = 0; i < n && std::size_t(i) * kSeriesPerSample < m_aMultiSamples.size(); ++i) {
      progress.SetPos(i);
      if (!BindMultipleSample(i, false)) continue;
      const bool self = m_pAnalyzed->IsSelf;
      const bool log = (self ? scale.SELF_ISLOG : scale.NONSELF_ISLOG) != 0;
      const LentSeries lent(*this, std::size_t(i));
      // Every series the sample has, the allele series of a non-self sample too.
      for (int s = 1; s <= 3; ++s) {
        if (m_pAverage[std::size_t(s - 1)].size() < std::size_t(std::max(0, m_pAnalyzed->Header.SnpCount))) continue;
        ComputeMovingAverage(s, m_nAverageMode, log);
      }
    }
  }
  m_bDataShown = TRUE;
  Invalidate(TRUE);
  progress.DestroyWindow();
}

// --- Select Samples ---

void CQOVAView::OnViewSelectSamples() {
  CQOVADoc* doc = GetDocument();
  if (!(m_nViewFlags & VIEW_MULTIPLE) || !doc || m_aMultiSelect.size() != doc->LoadedResults.size()) return;
  CMultiViewSelect dialog(this);
  dialog.m_pSelect = &m_aMultiSelect;
  dialog.m_pSamples = &doc->LoadedResults;
  dialog.m_strResultFolder = doc->AnalysisResultFolder;
  if (dialog.DoModal() != IDOK) return;
  LayoutMultipleView();
  UpdateLayout();
  Invalidate(TRUE);
}

void CQOVAView::OnUpdateViewSelectSamples(CCmdUI* cmdUI) { cmdUI->Enable((m_nViewFlags & VIEW_MULTIPLE) != 0); }

// --- rows under the mouse ---

int CQOVAView::MultiLogicalY(int clientY) const {
  return int(std::clamp<long long>(std::max<long long>(ToLogicalY(clientY), m_nMultiHeaderHeight), INT32_MIN, INT32_MAX));
}

namespace {

// Rows shown: positions run 1..k without gaps.
int ShownRows(const std::vector<unsigned>& select) {
  return int(std::count_if(select.begin(), select.end(), [](unsigned p) { return p != 0; }));
}

}  // namespace

int CQOVAView::MultiRowAt(int clientY) const {
  const int ly = MultiLogicalY(clientY);
  const int e = int(m_aMultiOrder.size());
  for (int r = 0; r + 1 < e; ++r)
    if (m_aMultiOrder[std::size_t(r)] <= ly && ly < m_aMultiOrder[std::size_t(r + 1)]) return r;
  // Below every row: the last one shown.
  return std::max(0, std::min(e - 2, ShownRows(m_aMultiSelect) - 1));
}

int CQOVAView::MultiInsertionSlotAt(int clientY) const {
  const int ly = MultiLogicalY(clientY);
  const int e = int(m_aMultiOrder.size());
  // No slot beyond the rows shown: a row dropped there would leave a gap in
  // the positions.
  const int last = std::min(e - 1, ShownRows(m_aMultiSelect));
  for (int s = 0; s + 1 < e && s < last; ++s)
    if (ly < (m_aMultiOrder[std::size_t(s)] + m_aMultiOrder[std::size_t(s + 1)]) / 2) return s;
  return std::max(0, last);
}

int CQOVAView::MultiSampleAtRow(int row) const {
  const CQOVADoc* doc = GetDocument();
  if (!doc || row < 0) return -1;
  for (std::size_t i = 0; i < m_aMultiSelect.size() && i < doc->LoadedResults.size(); ++i)
    if (m_aMultiSelect[i] == unsigned(row + 1) && doc->LoadedResults[i]) return int(i);
  return -1;
}

std::string CQOVAView::MultiResultFile(int sample) const {
  const CAnalyzedData& a = *GetDocument()->LoadedResults[std::size_t(sample)];
  const AnalysisKind kind = a.IsSelf ? AnalysisKind::Self : NonSelfAnalysisKind(m_bNonSelfAllele);
  return a.Header.SampleName + AnalysisFileExtension(kind);
}

void CQOVAView::HideMultiRow(int row) {
  const int sample = MultiSampleAtRow(row);
  const int e = int(m_aMultiOrder.size());
  if (sample < 0 || row + 1 >= e) return;
  const int h = m_aMultiOrder[std::size_t(row + 1)] - m_aMultiOrder[std::size_t(row)];
  for (int k = row + 1; k + 1 < e; ++k) m_aMultiOrder[std::size_t(k)] = m_aMultiOrder[std::size_t(k + 1)] - h;
  m_aMultiOrder.pop_back();
  m_aMultiSelect[std::size_t(sample)] = 0;
  for (unsigned& p : m_aMultiSelect)
    if (p > unsigned(row)) --p;
  UpdateLayout();
  Invalidate(TRUE);
}
