#pragma once
// The view of the association document: for every chromosome, one under the
// other, its label, a panel of each SNP's chi-square statistic, the band
// ideogram and a panel of -log10 of each SNP's permutation P value, genome
// wide in the six rows of the chromosome views or one chromosome at a time.
// It lays out, scrolls, zooms, hit-tests, switches modes and prints as the
// main view does (CChromosomeView) and reports a dragged region with an offer
// of the genome browser.
//
// QOVAAssView.cpp holds the state, the binding and the commands;
// QOVAAssViewDraw.cpp the drawing pass and the print plan;
// QOVAAssViewMouse.cpp the report at a slot and the Measure tool.
#include <cstdint>
#include <span>
#include <string>

#include "views/ChromosomeView.h"

class CBasicData;
class CQOVAAssDoc;

class CQOVAAssView : public CChromosomeView {
  DECLARE_DYNCREATE(CQOVAAssView)
 public:
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
  void ComputeRowHeight() override;
  [[nodiscard]] CSize ComputePageLayout() const override;

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
  // Each acts only from the other mode, whatever reached it.
  void OnViewAllGenome() override;
  void OnViewEachChromosome() override;
  // Sample information has nothing to show for a study.
  void OnUpdateSampleInformation(CCmdUI* cmdUI);

  // --- printing (QOVAAssViewDraw.cpp) ---
  [[nodiscard]] qova::views::PrintPlan PrintPlanFor(CDC* pDC) const override;

  // --- members ---
  // Of m_nViewFlags the view reads VIEW_ONE_CHROMOSOME, VIEW_COMBINED_ARRAY
  // and VIEW_BASE_INTERVAL; m_nMouseMode is 0 or MOUSE_MEASURE.
  // Bound on every update: the annotation table of the study's family and
  // the study's results.
  const CBasicData* m_pBasicData = nullptr;
  std::span<const std::int32_t> m_pAssocValid;
  std::span<const float> m_pChiSquare, m_pPermutationP;

 protected:
  DECLARE_MESSAGE_MAP()

  // The position in bases of slot s, by its annotation row (0 for a slot
  // that reaches none).
  [[nodiscard]] int PositionOf(int s) const override;
  [[nodiscard]] std::string SlotInformation(int s, int c) const override;
  // Measure, the one tool: every array type gets its report.
  void RunTool() override;

  void BindDocumentData() override;
  // A study whose type the program does not know, or whose family table is
  // not loaded, has nothing to place its SNPs by; the view stays blank.
  [[nodiscard]] bool IsBound() const override;
};
