#pragma once
// What the chromosome views (the main view and the association view) share:
// the mode and the remembered sizes of both modes, the layout's scroll bars,
// scrolling and hit testing, the View menu's navigation commands, Measure and
// View Setting, the context menu's items, the band a tool drags along one
// chromosome, and printing through the framework.
//
// A view derived from it says what differs: its row height, its extent, the
// position of a slot, its report at a slot, its tool and its print plan; and,
// where the main view's grid and integral view act otherwise, a hook. The
// message map below chains to the views' own maps, so a command handled here
// reaches a derived view's override.
//
// ChromosomeView.cpp holds the state, the layout, the commands and printing;
// ChromosomeViewMouse.cpp the context menu and the band.
#include <cstdint>
#include <memory>
#include <string>

#include "core/DisplaySetting.h"
#include "platform/ui/DocView.h"
#include "views/ViewLayout.h"
#include "views/ViewNavigation.h"

class CDC;
class CFont;

class CChromosomeView : public CView, public CViewLayout {
  DECLARE_DYNAMIC(CChromosomeView)
 public:
  CChromosomeView();
  ~CChromosomeView() override;

  // --- layout ---
  virtual void ComputeRowHeight() = 0;
  [[nodiscard]] virtual CSize ComputePageLayout() const = 0;
  // The scroll bars over the extent, with data shown and a window.
  void UpdateLayout();
  void OnSize(UINT type, int cx, int cy) override;
  void OnVScroll(UINT code, UINT pos, CScrollBar* scrollBar) override;
  void OnHScroll(UINT code, UINT pos, CScrollBar* scrollBar) override;
  BOOL HitTest(CPoint& p, int& c, int& result, BOOL findChromosome) const;
  // The chromosome lengths of the current axis.
  [[nodiscard]] ChromosomeLengths Lengths() const;
  // The column width of chromosome c on the current axis.
  [[nodiscard]] virtual int ColumnWidth(int c) const;

  // --- navigation commands, Measure and View Setting ---
  virtual void OnViewAllGenome();
  virtual void OnViewEachChromosome();
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
  virtual void OnUpdateParameterMeasure(CCmdUI* cmdUI);
  void OnUpdateViewSetting(CCmdUI* cmdUI);

  // --- the context menu and the band of the armed tool (ChromosomeViewMouse.cpp) ---
  void OnRButtonDown(UINT flags, CPoint point) override;
  void OnLButtonDown(UINT flags, CPoint point) override;
  void OnMouseMove(UINT flags, CPoint point) override;
  void OnLButtonUp(UINT flags, CPoint point) override;

  // --- printing ---
  BOOL OnPreparePrinting(CPrintInfo* info) override;
  void OnBeginPrinting(CDC* pDC, CPrintInfo* info) override;
  void OnPrint(CDC* pDC, CPrintInfo* info) override;
  void OnEndPrinting(CDC* pDC, CPrintInfo* info) override;
  // The print plan of the mode on the printer of `pDC`, with room left of
  // the drawing for the panels' axis labels.
  [[nodiscard]] virtual qova::views::PrintPlan PrintPlanFor(CDC* pDC) const = 0;
  // The pages of the drawing on the printer of `pDC` (one with the mode's
  // one-page switch).
  [[nodiscard]] qova::views::PageGrid PrintPages(CDC* pDC) const;

  // --- members ---
  BOOL m_bDataShown = FALSE;
  std::uint32_t m_nViewFlags = 0;
  std::unique_ptr<CDisplaySetting> m_pDisplaySetting;
  int m_nEachSizeX = 100, m_nEachSizeY = 100;
  int m_nAllSizeX = 100, m_nAllSizeY = 100;
  int m_nMouseMode = 0;
  int m_nChromosome = 1;
  int m_nArrayFamily = 0;
  int m_nArrayType = 0;
  // The type's row of the chromosome start table.
  const std::int32_t* m_pChromosomeStarts = nullptr;

  // The band of the mouse tools. While it is open: the press's logical x and
  // slot, the moving edge's logical x, the layout row, the chromosome and the
  // logical x of the chromosome's right end; after a release the selected
  // slots, smaller first, in m_nDragStart and m_nDragEnd.
  int m_nDragStart = 0;
  int m_nDragStartSlot = 0;
  int m_nDragEnd = 0;
  int m_nDragRow = 0;
  int m_nDragChromosome = 0;
  int m_nDragLimit = 0;
  bool m_bBandOpen = false;  // a press hit a chromosome and no release came yet

 protected:
  DECLARE_MESSAGE_MAP()

  // The band's top lies below the row's labels, its bottom on the next row's.
  static constexpr int kBandTopOffset = 300;
  static constexpr int kBandBottomOffset = 200;

  // --- what each view has of its own ---
  // Points the view at the document's data and the tables of its type.
  virtual void BindDocumentData() = 0;
  // Whether the bound data covers the slots of its type.
  [[nodiscard]] virtual bool IsBound() const = 0;
  // The position of slot s in bases, by the annotation.
  [[nodiscard]] virtual int PositionOf(int s) const = 0;
  // The report of "Information" at slot s of chromosome c.
  [[nodiscard]] virtual std::string SlotInformation(int s, int c) const = 0;
  // Runs the armed tool on the band's selected slots.
  virtual void RunTool() = 0;

  // --- hooks where the main view's grid and integral view act otherwise ---
  // Whether the mode draws at the single chromosome's scales.
  [[nodiscard]] virtual bool AtChromosomeScales() const;
  // The scales and the remembered size of the mode entered by a View command.
  virtual void EnterMode(bool oneChromosome);
  // After View Setting changed the rows' height.
  virtual void OnRowHeightChanged() {}
  // Whether the x axis may go to SNP order.
  [[nodiscard]] virtual bool SnpOrderAllowed() const { return true; }
  // Whether a hit test gives the offset on the axis itself, not a slot.
  [[nodiscard]] virtual bool HitGivesOffset() const { return false; }
  // "Information" (ask) or "Goto Web" at slot s of chromosome c.
  virtual void InformationAt(bool ask, int c, int s);
  // The band from the press to logical x `movingX`, clamped to the chromosome.
  [[nodiscard]] virtual CRect BandRect(int movingX) const;

  // --- the shared steps ---
  // Binds the document's data and flags a combined type; false, after a
  // repaint that leaves the window blank, when the data does not cover its
  // type.
  [[nodiscard]] bool BindShownData();
  // The end of an update that shows data: the rows laid out, the data shown,
  // the scroll bars over it and a repaint with erasing.
  void ShowLaidOut();
  // The active view of the frame when it is another view on this view's
  // document (a second window), else null.
  [[nodiscard]] const CView* OtherViewOfDocument() const;
  // A second window starts as `source` shows: its display block, flags,
  // scroll position, scales and chromosome.
  void TakeShownState(const CChromosomeView& source);
  // The remembered sizes of both modes from the display block; the genome's
  // is the current one.
  void TakeModeSizes();
  // The current size is remembered as the current mode's.
  void KeepModeSize();
  // In SNP order a scroll position is carried across array types: it is
  // multiplied here by the factor of the type left, and divided by the
  // factor of the type taken by SetScales.
  void CarryScrollPosition();
  // The default scales of the mode and axis, with the carried position.
  void SetScales();
  // The default scales of the current mode and axis.
  void ApplyModeScales();
  // Keeps the current size for the mode left and takes the entered mode's.
  void SwapModeSizes(bool toOneChromosome);
  // The layout's scroll bars again, and a repaint with erasing.
  void Relayout();
  [[nodiscard]] CSize ClientSize() const;
  // Genome mode from the scroll origin.
  void ShowAllGenome();
  // Acts on context-menu item `id` at client point `point`; without `bound`
  // no slot counts as hit.
  void PerformMenuItem(UINT id, CPoint point, bool bound);
  // The mapping of the drawing on `dc`: logical units m_nScaleX wide fill
  // m_nSizeX pixels from the scroll position.
  void SetMapping(CDC& dc) const;
  // The point size (tenths) of the chromosome labels.
  [[nodiscard]] int LabelFontSize() const;
  // The origin of chromosome c's column: its place in the genome rows, or
  // the single chromosome's column.
  [[nodiscard]] CPoint ColumnOrigin(int c) const;
  // Chromosome c's label in `font` over its column at `origin`.
  void DrawChromosomeLabel(CDC& dc, CFont& font, int c, CPoint origin) const;

  // The band: opened by a press on a chromosome, moved with the button held,
  // and closed at a release, which gives the chromosome and slot under it.
  struct BandEnd {
    int chromosome;
    int slot;
  };
  [[nodiscard]] bool BandArmed() const;
  void InvertBand(int movingX);
  void OpenBand(CPoint point);
  void MoveBand(UINT flags, CPoint point);
  [[nodiscard]] BandEnd CloseBand(CPoint point);
  // The band's slots, in order, into m_nDragStart and m_nDragEnd.
  void SelectBandSlots(BandEnd end);
  // The band's region in a Yes/No box; Yes opens the genome browser on it.
  void OfferBandRegion();

 private:
  // One chromosome, entered by the context menu at slot s of chromosome c.
  void ShowChromosomeAt(int c, int s, int clientWidth);
};
