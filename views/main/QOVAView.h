#pragma once
// The main copy-number view of the main document: the genome-wide or the
// single-chromosome picture of the document's analysed sample, its panels
// stacked per chromosome. The view keeps its own copy of the display
// settings and its own derived tables (display states, moving averages, dot
// colours); the per-SNP arrays it shows stay the document's and the
// annotation table's, bound on every update.
//
// The work is split by concern: QOVAView.cpp holds the state, the binding and
// the update; CChromosomeView what it shares with the association view (the
// modes, scrolling, the View commands, the context menu's items, the band,
// printing); ViewLayout the geometry; ViewPass.cpp the drawing pass; the
// painters live in one file per group of panels.
#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "analysis/Analysis.h"
#include "core/DisplaySetting.h"
#include "platform/Numeric.h"
#include "document/ViewStateCopy.h"
#include "views/main/CopyNumberAxes.h"
#include "views/ChromosomeView.h"

class CAnalyzedData;
class CArrayData;
class CBasicData;
class CCytoband;
class CQOVADoc;
class IntegrationData;

class CQOVAView : public CChromosomeView, public IViewStateCopy {
  DECLARE_DYNCREATE(CQOVAView)
 public:
  [[nodiscard]] CQOVADoc* GetDocument() const;

  // --- state and update ---
  // Takes the state of the active main view on the same document (Window >
  // New Window), else the settings' display block; then the first update.
  void OnInitialUpdate() override;
  void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject) override;
  // Points the view at the document's samples, the annotation table and the
  // chromosome table of the sample's type, and maps the bands to its slots.
  void BindDocumentData() override;
  // Into another main view: the display block, the flags, the mapping, the
  // chromosome, the averaging, the remembered sizes and the array type.
  void CopyStateTo(CQOVAView& target) const;
  bool CopyStateTo(CView& target) const override;
  // Series 1 total, 2 allele A, 3 allele B, 4 allele difference; mode 1
  // drops the largest and smallest value of the window.
  void ComputeMovingAverage(int series, int mode, bool isLog);
  // The per-SNP states shown: the HMM's with the state markers over them.
  void BuildDisplayStates();
  void ComputeDotColours();

  // --- layout ---
  void ComputeRowHeight() override;
  [[nodiscard]] CSize ComputePageLayout() const override;

  // --- drawing ---
  void OnDraw(CDC* pDC) override;
  // The title line of a single sample.
  [[nodiscard]] std::string SampleTitle() const;
  void DrawCopyNumberPlot(CDC* dc, int c, int x, int y, int itemMask);
  void DrawCopyNumberPanel(CDC* dc, int c, int x, int y);
  void DrawCytobandPanel(CDC* dc, int c, int x, int y);
  void DrawCallBar(CDC* dc, int c, int x, int y);
  void DrawSecondCallBar(CDC* dc, int c, int x, int y);
  void DrawAlleleAnalysisPanel(CDC* dc, int c, int x, int y);
  void DrawAlleleDifferencePanel(CDC* dc, int c, int x, int y);
  void DrawLohPanel(CDC* dc, int c, int x, int y);
  void DrawMarkers(CDC* dc, int c, int x, int y);
  // The bars only the multiple-sample grid draws (MultiplePainters.cpp).
  void DrawLohBar(CDC* dc, int c, int x, int y);
  void DrawStateBar(CDC* dc, int c, int x, int y);
  void DrawLohLevelBar(CDC* dc, int c, int x, int y);
  void DrawRuler(CDC* dc, int c, int x, int y);
  // The whole-genome rows of the grid: chromosomes 1..23 side by side from x.
  void DrawGenomeCopyNumberPlot(CDC* dc, int x, int y);
  void DrawGenomeCopyNumberPanel(CDC* dc, int x, int y);
  void DrawGenomeAllelePlot(CDC* dc, int x, int y);
  void DrawGenomeStateBar(CDC* dc, int x, int y);
  void DrawGenomeLohLevelBar(CDC* dc, int x, int y);
  void DrawGenomeCallBar(CDC* dc, int x, int y);
  void DrawGenomeSecondCallBar(CDC* dc, int x, int y);
  void DrawGenomeMarkers(CDC* dc, int x, int y);
  // The x of slot i of chromosome c in a whole-genome row starting at x.
  [[nodiscard]] int GenomeSnpX(int c, int x, int i) const;
  // GenomeSnpX(c, 0, i) by slot i, for the bound sample's type and axis.
  [[nodiscard]] const std::vector<std::int32_t>& GenomeOffsetsOfSlots();
  // The width of a whole-genome row.
  [[nodiscard]] int GenomeRowWidth() const;

  // --- the multiple-sample grid (MultipleView.cpp) ---
  void BuildMultipleView();
  void LayoutMultipleView();
  void DrawMultipleView(CDC* dc);
  void RecomputeAverages();
  void OnViewSelectSamples();
  void OnUpdateViewSelectSamples(CCmdUI* cmdUI);
  // The grid's row under client y (0-based; the last row below them all) and
  // the insertion slot of client y (an index into m_aMultiOrder).
  [[nodiscard]] int MultiRowAt(int clientY) const;
  [[nodiscard]] int MultiInsertionSlotAt(int clientY) const;
  // The listed sample shown at row r, or -1.
  [[nodiscard]] int MultiSampleAtRow(int row) const;
  // The result file of a listed sample: its name with .CFS, .CFA or .CFN.
  [[nodiscard]] std::string MultiResultFile(int sample) const;
  // Hides the row: the rows below close up.
  void HideMultiRow(int row);
  // Points the view at listed sample i: its tables, its type's annotation and
  // chromosome row; `draw` also takes the edited states and the allele states.
  // False when the sample's arrays do not cover its type's slots.
  bool BindMultipleSample(int i, bool draw);
  // The auto-scroll of the row drag (timer kAutoScrollTimer).
  void OnTimer(UINT_PTR id) override;

  // --- the integral view (IntegralView.cpp) ---
  void DrawAmountPanel(CDC* dc, int c, int x, int y);
  // The title line of the integral view.
  [[nodiscard]] std::string IntegralTitle() const;
  // The row height of the integral view: two lanes per sample and the ideogram.
  [[nodiscard]] int IntegralRowHeight() const;
  // The sample whose lane lies under client point p (index into the
  // integration's names), or -1 without regions.
  [[nodiscard]] int IntegralSampleAt(CPoint p) const;

  // The x of slot i of chromosome c whose column starts at x: one unit per
  // slot in SNP order, its position / 10 on the base axis.
  [[nodiscard]] int SnpX(int c, int x, int i) const {
    if (m_nViewFlags & VIEW_BASE_INTERVAL) return x + m_pPosition[std::size_t(RowOf(i))] / 10;
    return x + (i - m_pChromosomeStarts[c]);
  }
  // The column width of chromosome c: its length on the current axis.
  [[nodiscard]] int ColumnWidth(int c) const override;
  // The item mask of the sample's mode.
  [[nodiscard]] int ItemMask() const;
  // The magnification of the sample's mode, in per cent.
  [[nodiscard]] int Magnification() const;

  // --- scale commands (ViewCommands.cpp) ---
  void OnViewLogScale();
  void OnViewLinearScale();
  void OnUpdateViewLogScale(CCmdUI* cmdUI);
  void OnUpdateViewLinearScale(CCmdUI* cmdUI);

  // --- parameter commands and View Setting (ViewParameterCommands.cpp) ---
  void OnParameterAverageMode();
  void OnParameterHmmTotal();
  void OnParameterHmmAllele();
  void OnParameterSdRange();
  void OnParameterContaminationRate();
  void OnParameterAdjustAmp();
  void OnParameterMark();
  void OnUpdateParameterAverageMode(CCmdUI* cmdUI);
  void OnUpdateParameterHmmTotal(CCmdUI* cmdUI);
  void OnUpdateParameterHmmAllele(CCmdUI* cmdUI);
  // Set Range for SD Calculation, ContaminationRate, Mark and the fragment-length commands.
  void OnUpdateParameterAnalysedSample(CCmdUI* cmdUI);
  void OnUpdateParameterAdjustAmp(CCmdUI* cmdUI);
  void OnUpdateParameterMeasure(CCmdUI* cmdUI) override;

  // --- context menu (ViewContextMenu.cpp) ---
  void OnRButtonDown(UINT flags, CPoint point) override;
  // "Single view": a new main window on result file `fileName` with this
  // view's display state.
  void OpenSingleView(const std::string& fileName);

  // --- mouse tools: the fragment band, the grid's row drag and the tools the
  // range band runs (QOVAViewMouse.cpp) ---
  void OnLButtonDown(UINT flags, CPoint point) override;
  void OnMouseMove(UINT flags, CPoint point) override;
  void OnLButtonUp(UINT flags, CPoint point) override;

  // --- markers and the stores of the shown sample (QOVAViewMarkers.cpp) ---
  void OnParameterEditMarker();
  void OnSaveMarkerList();
  void OnLoadMarkerList();
  // Data shown, neither the grid nor the integral view.
  void OnUpdateSingleViewCommands(CCmdUI* cmdUI);
  void OnUpdateSaveMarkerList(CCmdUI* cmdUI);
  void OnUpdateLoadMarkerList(CCmdUI* cmdUI);

  // --- IGB score files of the shown sample (QOVAViewIGB.cpp) ---
  void OnDataOutputIgbFiles();
  // Stores the extracted sample (.CFH), the shown result under its own kind
  // and, when it exists, the sample's other result with the same markers.
  // False, after a message naming the file, when a store failed; the files
  // already written stay and the failed one keeps its old contents.
  bool StoreSampleFiles();
  // The result file of the shown sample: .CFS for a self result, else .CFA
  // or .CFN by the allele-specific switch.
  [[nodiscard]] std::string ResultPath(bool self) const;
  // Stores the shown result under its own kind; false after a message.
  bool StoreAnalyzedResult();

  // --- the shown sample's identity (QOVAViewSample.cpp) ---
  void OnViewSampleInformation();
  // Another paired reference for a self result, and its analysis again.
  void OnChangeSelfReference();
  void OnUpdateChangeSelfReference(CCmdUI* cmdUI);
  [[nodiscard]] bool CanChangeSelfReference() const;

  // --- the fragment-length plot (FragmentLengthPlot.cpp) ---
  void OnParameterFragmentLengthPlot();
  void OnParameterSetFragmentLengthRange();
  // In place of the panels, while VIEW_FRAGMENT_PLOT is set.
  void DrawFragmentLengthPlot(CDC* dc);
  // The lower panel's values (the test's intensity against its references),
  // or the note of why there are none.
  void ComputeFragmentReference();
  // Analyses the shown sample again with only the SNPs of fragment lengths
  // lo..hi (every SNP when includeAll) whose annotation fits; false, after
  // a message, when no such SNP exists or the analysis failed.
  bool AnalyseFragmentRange(int lo, int hi, bool includeAll);
  [[nodiscard]] bool FragmentPlotShown() const;
  // Data shown with its extracted sample, not of a combined type.
  [[nodiscard]] bool AnalysedSampleShown() const;
  // The fragment length of slot i by the annotation, -1 without a row.
  [[nodiscard]] std::int32_t FragmentLengthOf(int slot) const;
  // Whether slot i of chromosome c has an annotation row on c at a position
  // the chromosome can hold.
  [[nodiscard]] bool AnnotationFits(int c, int i) const;

  // --- calibration tools on the selected range (QOVAViewCalibration.cpp) ---
  void SetSdRange();
  void AdjustAmplitude();
  void DetermineContaminationRate();

  // --- the HMM re-runs of the Agilent results (QOVAViewHmm.cpp) ---
  void OnRerunTotalHmm();
  void OnEditHmmStateMeans();
  void OnGainLossHmm();
  void OnUpdateTotalHmmCommands(CCmdUI* cmdUI);
  void OnUpdateGainLossHmm(CCmdUI* cmdUI);

  // --- printing (ViewPrinting.cpp) ---
  [[nodiscard]] qova::views::PrintPlan PrintPlanFor(CDC* pDC) const override;

  // --- members ---
  int m_nMultiSizeX = 100, m_nMultiSizeY = 100;
  int m_nAverageMode = 1;
  int m_nDrawMode = 2;
  int m_nAverageNumber = 10;
  float m_fHmmLevel[7] = {};
  float m_fAlleleHmmLevel[5] = {};

  // Owned by the view.
  std::vector<COLORREF> m_pDotColour;
  std::array<std::vector<float>, 4> m_pAverage;
  std::vector<float> m_pLinearRatio;
  std::vector<std::int32_t> m_pDisplayState;

  // Bound: the document's samples and the annotation table.
  CBasicData* m_pBasicData = nullptr;
  CAnalyzedData* m_pAnalyzed = nullptr;
  CArrayData* m_pArrayData = nullptr;
  CCytoband* m_pCytoband = nullptr;
  std::span<const float> m_pRatio, m_pRatioA, m_pRatioB;
  std::span<const float> m_pLogRatio;  // the total log2 ratio, whatever the scale
  std::span<const std::int32_t> m_pCopyNumberState, m_pAlleleStateA, m_pAlleleStateB;
  std::span<const std::int32_t> m_pCallTest, m_pCallReference;
  std::span<std::int32_t> m_pValidFlag;  // the annotation check clears entries
  std::span<const std::int32_t> m_pIndexMap, m_pSortMap, m_pPosition, m_pFragmentNumber;
  std::span<const float> m_pLohLikelihood;
  GainLossParameters m_fGainLossParam;  // kept for the view's next gain/loss run

  // The fragment band runs in client pixels from m_nDragStart to m_nDragEnd.
  bool m_bFragmentBandOpen = false;

  // The fragment plot's lower panel per slot, linear; NaN where left out.
  std::vector<float> m_fFragmentReference;
  std::string m_strFragmentNote;  // why the lower panel has no values

  // The multiple-sample grid. Per listed sample i, entries 4i..4i+3 of
  // m_aMultiSamples: the averages of series 1, 2 and 3 and the linear ratio
  // (empty where the sample has none). m_aMultiSelect: the sample's row,
  // 1 = top, 0 = hidden. m_aMultiOrder: the top of each row below the header,
  // n + 1 entries; the row at position p starts at entry p - 1.
  std::vector<std::vector<float>> m_aMultiSamples;
  std::vector<unsigned> m_aMultiSelect;
  std::vector<int> m_aMultiOrder;
  BOOL m_bMultiSameArrayType = TRUE;
  int m_nMultiSelfRowHeight = 0;
  int m_nMultiNonSelfRowHeight = 0;
  int m_nMultiHeaderHeight = 0;
  // The row drag: its auto-scroll request (0 none, -1 above the window, else
  // the client height) and whether a press started one.
  int m_nAutoScrollY = 0;
  bool m_bRowDragOpen = false;
  int m_nCytobandType = -1;  // the type the bands are mapped to
  qova::views::PixelBatch m_pixels;  // the whole-genome rows' dots
  // GenomeSnpX(c, 0, i) of every slot of one type on one axis, worked out
  // once for the rows that share them.
  struct GenomeOffsets {
    const CBasicData* table = nullptr;
    int type = -1;
    std::uint32_t axis = 0;  // the flags the rule reads
    std::vector<std::int32_t> x;
  } m_genomeOffsets;

  // The fixed switches of the settings record, read on every update.
  bool m_bAlleleAllSnps = false;  // NotLimitToHeteroSNPs
  bool m_bHmmIncludeX = true;     // PanelDrawFlag
  float m_fAlleleAmplitude = 1.0f;
  bool m_bNonSelfAllele = false;  // NONSELFALLELE
  int m_nMultiSampleSpace = 100;   // base row height of the grid
  int m_nMultiMarginDivisor = 100;  // divisor of the grid's extra left margin

 protected:
  DECLARE_MESSAGE_MAP()

  [[nodiscard]] int PositionOf(int i) const override;
  [[nodiscard]] std::string SlotInformation(int s, int c) const override;
  // A tool that does not apply to the sample stays armed.
  void RunTool() override;
  // The grid draws at the single chromosome's scales in both of its modes.
  [[nodiscard]] bool AtChromosomeScales() const override;
  // The grid keeps its scales and size; its rows change height.
  void EnterMode(bool oneChromosome) override;
  void OnRowHeightChanged() override;
  [[nodiscard]] bool SnpOrderAllowed() const override;
  [[nodiscard]] bool HitGivesOffset() const override;
  void InformationAt(bool ask, int c, int s) override;
  [[nodiscard]] CRect BandRect(int movingX) const override;

 private:
  // The annotation row of slot i.
  [[nodiscard]] std::int32_t RowOf(int i) const {
    return (m_nViewFlags & VIEW_COMBINED_ARRAY) ? m_pIndexMap[std::size_t(m_pSortMap[std::size_t(i)])]
                                                : m_pIndexMap[std::size_t(i)];
  }
  void ReadSettings();
  // The document's integration, or null.
  [[nodiscard]] const IntegrationData* Integration() const;
  // The update of the grid and of the integral view.
  void ShowMultiple();
  void ShowIntegral();
  void CheckAnnotation();
  void ComputeAverages();
  void ComputeHmmLevels();
  void SetRatioScale(bool log);
  void PerformMenuItem(UINT id, CPoint client);
  [[nodiscard]] bool IsBound() const override;
  // The y of `value` at base `yb`, magnification m.
  [[nodiscard]] static int ValueY(int yb, float value, int m) {
    const long long t = platform::SaturatingCast<long long>(double(value) * m);
    return int(std::clamp<long long>(yb - t, INT32_MIN, INT32_MAX));
  }
  // The values of the Points draw mode at `points` (logical; used up): each a
  // square a few device pixels across.
  static void DrawDots(CDC* dc, std::vector<POINT>& points, COLORREF colour);
  // The axes of a panel `width` long from x, labelled at its left end.
  void DrawAxes(CDC* dc, int x, int width, int y, const std::array<std::string, 3>& labels);
  void DrawAverageCurve(CDC* dc, int c, int x, int yb, std::span<const float> average, bool alleleSnps);
  // Axes labelled for `kind`, then `average` in the average pen.
  void DrawAveragePanel(CDC* dc, int c, int x, int y, qova::views::main::AxisKind kind, std::span<const float> average,
                        bool alleleSnps);
  void DrawStateLine(CDC* dc, int c, int x, int yb, std::span<const std::int32_t> states, const float* levels,
                     int levelCount, bool alleleSnps);
  [[nodiscard]] bool QualifiesForAllele(int i) const;
  [[nodiscard]] int FirstQualifying(int c, bool alleleSnps) const;
  void DrawSnpLines(CDC* dc, int c, int x, int top, int bottom, COLORREF colour, bool (CQOVAView::*wanted)(int) const);
  [[nodiscard]] bool HeterozygousTest(int i) const;
  [[nodiscard]] bool LostHeterozygosity(int i) const;
  // The mouse tools.
  void InvertFragmentBand();
  void EndFragmentBand(int releaseX);
  void Measure();
  // The grid's region report of the range, with band labels.
  void MeasureInGrid();
  // The integral view's report of the band from `from` to `to` (10-base units).
  void ReportIntegralRange(int c, int from, int to);
  // "Information" (ask) or "Goto Web" at position p (10-base units) of the integral view.
  void IntegralInformation(bool ask, int c, int p);
  // The row drag of the grid.
  void StartRowDrag(CPoint point);
  void MoveRowDrag(CPoint point);
  void EndRowDrag(CPoint point);
  void AutoScrollStep();
  void DrawRowDragFeedback(bool eraseLine, int oldSlot);
  // One row's panels from its top y, and the one-chromosome grid's header.
  void DrawGenomeRow(CDC* dc, int x, int y, bool self);
  void DrawChromosomeRow(CDC* dc, int c, int x, int y, bool self);
  void DrawMultipleHeader(CDC* dc, int c, int x);
  // The row tops from the positions and the row heights.
  void RebuildMultiOrder();
  [[nodiscard]] int MultiLogicalY(int clientY) const;
  // The whole-genome painters' shared loops.
  void DrawGenomeAxes(CDC* dc, int x, int y, const std::array<std::string, 3>& labels);
  void DrawGenomeSnpLines(CDC* dc, int x, int top, int bottom, COLORREF colour, int lastChromosome,
                          bool (CQOVAView::*wanted)(int) const);
  void DrawLevelBar(CDC* dc, int c, int x, int y, bool genome, bool lohLevels);
  [[nodiscard]] bool LohBarSnp(int i) const;
  void MarkRange();
  // The displayed states again, after the states or the markers changed.
  void RedisplayStates();
  // The extracted sample's markers into the result, both stored, and shown.
  void CommitMarkers();
};
