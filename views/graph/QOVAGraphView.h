#pragma once
// The view of the graph document: one column per sample over chromosomes 1
// to 22 and X from top to bottom, segments painted in the colour of their
// class, with chromosome numbers, p and q arm labels, chromosome and
// centromere lines. Columns are reordered by dragging or by the clustering
// commands; the picture is exported as an enhanced metafile, copied to the
// clipboard and printed. The view does not scroll: the settings' zoom fits
// the chart to the window.
#include "platform/ui/DocView.h"
#include "platform/ui/RecordingCanvas.h"
#include "views/graph/GraphClustering.h"

class CQOVAGraphDoc;
struct GraphLayout;

class CQOVAGraphView : public CView {
  DECLARE_DYNCREATE(CQOVAGraphView)
 public:
  CQOVAGraphView() = default;
  ~CQOVAGraphView() override = default;

  [[nodiscard]] CQOVAGraphDoc* GetDocument() const;
  void OnDraw(CDC* pDC) override;
  BOOL OnPreparePrinting(CPrintInfo* info) override;
  void OnBeginPrinting(CDC* pDC, CPrintInfo* info) override;
  void OnEndPrinting(CDC* pDC, CPrintInfo* info) override;

  void OnLButtonDown(UINT flags, CPoint point) override;
  void OnMouseMove(UINT flags, CPoint point) override;
  void OnLButtonUp(UINT flags, CPoint point) override;

  void OnExportGraph();
  void OnEditCopy();
  void OnClusterAnalysis() { Cluster(qova::views::graph::ClusterMethod::Bins); }
  void OnCluster2() { Cluster(qova::views::graph::ClusterMethod::Coverage); }
  void OnCluster3() { Cluster(qova::views::graph::ClusterMethod::LongCoverage); }
  void OnCluster4() { Cluster(qova::views::graph::ClusterMethod::Weighted); }

  // The chart drawn on a recording canvas the size of the screen, as the
  // export and the clipboard take it.
  [[nodiscard]] platform::ui::Picture RecordChart();

  // The row being dragged and the slot before which it would drop (0..n);
  // both -1 outside a drag.
  int m_nDragRow = -1;
  int m_nDropSlot = -1;

 protected:
  DECLARE_MESSAGE_MAP()

 private:
  void Cluster(qova::views::graph::ClusterMethod method);
  // The drawing's mapping on `dc`: the screen's, the metafile's and the
  // clipboard's.
  void PrepareChart(CDC& dc, const GraphLayout& layout) const;
  // The mapping on a printer: the chart at the size it has on the screen,
  // the printer's pixels counted against the screen's, and along an axis
  // where that is larger than the page, as large as the page.
  void PreparePrintedChart(CDC& dc, const GraphLayout& layout, int samples) const;
  [[nodiscard]] int SlotAt(int x, const GraphLayout& layout, int samples) const;
  void InvertColumn(CDC& dc, const GraphLayout& layout, int row) const;
  void InvertBar(CDC& dc, const GraphLayout& layout, int slot) const;
  // The dragged row takes the place before `slot`; the rows between shift by one.
  void MoveRow(int row, int slot);
};
