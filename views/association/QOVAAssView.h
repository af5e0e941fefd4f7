#pragma once
// The view of the association document: for every chromosome, one under the
// other, its label, a panel of each SNP's chi-square statistic, the band
// ideogram and a panel of -log10 of each SNP's permutation P value, genome
// wide in the six rows of the chromosome views or one chromosome at a time.
// It lays out, scrolls, zooms, hit-tests and prints by the rules the main
// view uses (ViewLayout, ViewNavigation, ChromosomeContextMenu) and reports a
// dragged region with an offer of the genome browser.
//
// QOVAAssView.cpp holds the state, the binding and the commands;
// QOVAAssViewDraw.cpp the drawing pass and printing; QOVAAssViewMouse.cpp the
// context menu and the Measure drag.
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "core/DisplaySetting.h"
#include "platform/ui/DocView.h"
#include "views/ViewLayout.h"
#include "views/ViewNavigation.h"

class CBasicData;
class CQOVAAssDoc;

class CQOVAAssView : public CView, public CViewLayout {
  DECLARE_DYNCREATE(CQOVAAssView)
 public:
  CQOVAAssView();
  ~CQOVAAssView() override;

  [[nodiscard]] CQOVAAssDoc* GetDocument() const;

  // Takes the state of the active association view on the same document
  // (Window > New Window), else the settings' display block; then the first
  // update.
  void OnInitialUpdate() override;
  // Binds the document's study again, keeping the position across array
  // types, and lays the view out.
  void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject) override;
  void OnDraw(CDC* pDC) override;

  // --- layout ---
  void ComputeRowHeight();
  [[nodiscard]] CSize ComputePageLayout() const;
  void UpdateLayout();
  void OnSize(UINT type, int cx, int cy) override;
  void OnVScroll(UINT code, UINT pos, CScrollBar* scrollBar) override;
  void OnHScroll(UINT code, UINT pos, CScrollBar* scrollBar) override;
  BOOL HitTest(CPoint& p, int& c, int& result, BOOL findChromosome) const;
  [[nodiscard]] ChromosomeLengths Lengths() const;
  // The column width of chromosome c on the current axis.
  [[nodiscard]] int ColumnWidth(int c) const;

  // --- the panels (QOVAAssViewDraw.cpp) ---
  // A statistic panel of chromosome c with its top at `top`: the grid of
  // v = 0..4, its labels, and the curve through the valid SNPs' values.
  void DrawStatisticPanel(CDC* dc, int c, int x, int top, float (CQOVAAssView::*value)(int slot) const);
  // The bands of chromosome c at `top` in a black frame.
  void DrawIdeogram(CDC* dc, int c, int x, int top);
  [[nodiscard]] float ChiSquareValue(int slot) const;
  // -log10 of the permutation P value; 10 for a P of 0.
  [[nodiscard]] float PValueValue(int slot) const;
  // The point of slot s of chromosome c (column at x) at value v of a panel
  // whose top is `top`.
  [[nodiscard]] CPoint PanelPoint(int c, int x, int top, int s, float v) const;

  // --- commands ---
  void OnViewAllGenome();
  void OnViewEachChromosome();
  void OnViewPreviousChromosome();
  void OnViewNextChromosome();
  void OnViewSnpInterval();
  void OnViewBaseInterval();
  void OnParameterMeasure();
  void OnViewSetting();
  void OnUpdateViewAllGenome(CCmdUI* cmdUI);
  void OnUpdateViewEachChromosome(CCmdUI* cmdUI);
  void OnUpdateViewStepChromosome(CCmdUI* cmdUI);
  void OnUpdateViewSnpInterval(CCmdUI* cmdUI);
  void OnUpdateViewBaseInterval(CCmdUI* cmdUI);
  void OnUpdateParameterMeasure(CCmdUI* cmdUI);
  void OnUpdateViewSetting(CCmdUI* cmdUI);
  // Sample information has nothing to show for a study.
  void OnUpdateSampleInformation(CCmdUI* cmdUI);

  // --- context menu and Measure (QOVAAssViewMouse.cpp) ---
  void OnRButtonDown(UINT flags, CPoint point) override;
  void OnLButtonDown(UINT flags, CPoint point) override;
  void OnMouseMove(UINT flags, CPoint point) override;
  void OnLButtonUp(UINT flags, CPoint point) override;

  // --- printing (QOVAAssViewDraw.cpp) ---
  BOOL OnPreparePrinting(CPrintInfo* info) override;
  void OnBeginPrinting(CDC* pDC, CPrintInfo* info) override;
  void OnPrint(CDC* pDC, CPrintInfo* info) override;
  void OnEndPrinting(CDC* pDC, CPrintInfo* info) override;
  // The print plan of the mode on the printer of `pDC`, with room left of
  // the drawing for the panels' axis labels.
  [[nodiscard]] views::PrintPlan PrintPlanFor(CDC* pDC) const;
  [[nodiscard]] views::PageGrid PrintPages(CDC* pDC) const;

  // --- members ---
  BOOL m_bDataShown = FALSE;
  std::uint32_t m_nViewFlags = 0;  // VIEW_ONE_CHROMOSOME, VIEW_COMBINED_ARRAY, VIEW_BASE_INTERVAL
  std::unique_ptr<CDisplaySetting> m_pDisplaySetting;
  int m_nEachSizeX = 100, m_nEachSizeY = 100;
  int m_nAllSizeX = 100, m_nAllSizeY = 100;
  int m_nMouseMode = 0;  // 0 plain, MOUSE_MEASURE
  // The Measure band: while it is open the press's logical x and slot, the
  // moving edge's logical x, the layout row, the chromosome and the logical
  // x of its right end; after a release the selected slots, smaller first.
  int m_nDragStart = 0;
  int m_nDragStartSlot = 0;
  int m_nDragEnd = 0;
  int m_nDragRow = 0;
  int m_nChromosome = 1;
  int m_nDragChromosome = 0;
  int m_nDragLimit = 0;
  bool m_bBandOpen = false;
  int m_nArrayFamily = 0;
  int m_nArrayType = 0;

  // Bound on every update: the annotation table of the study's family, the
  // type's row of the chromosome start table, and the study's results.
  const CBasicData* m_pBasicData = nullptr;
  const std::int32_t* m_pChromosomeStarts = nullptr;
  std::span<const std::int32_t> m_pAssocValid;
  std::span<const float> m_pChiSquare, m_pPermutationP;

 protected:
  DECLARE_MESSAGE_MAP()

 private:
  void BindDocumentData();
  [[nodiscard]] bool IsBound() const;
  // The position in bases of slot s, by its annotation row (0 for a slot
  // that reaches none).
  [[nodiscard]] int PositionOf(int s) const;
  // The default scales of the current mode and axis.
  void ApplyModeScales();
  // Keeps the current size for the mode left and takes the entered mode's.
  void SwapModeSizes(bool toOneChromosome);
  void Relayout();
  [[nodiscard]] CSize ClientSize() const;
  void PerformMenuItem(UINT id, CPoint point);
  [[nodiscard]] CRect BandRect(int movingX) const;
  void InvertBand(int movingX);
  void Measure();
};
