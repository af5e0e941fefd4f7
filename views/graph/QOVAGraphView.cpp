#include "views/graph/QOVAGraphView.h"

#include <algorithm>
#include <string>

#include "core/GenomeTables.h"
#include "document/ExportDialog.h"
#include "platform/File.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/Strings.h"
#include "platform/ui/Backend.h"
#include "platform/ui/CommonDialogs.h"
#include "platform/ui/EmfWriter.h"
#include "platform/ui/PictureBounds.h"
#include "resources/CommandIds.h"
#include "views/graph/GraphSetting.h"
#include "views/graph/QOVAGraphDoc.h"

namespace graph = qova::views::graph;

namespace {

namespace res = qova::resources;

constexpr int kChromosomes = 23;
constexpr int kSegmentColours = 7;  // colours 0..5 of the classes, 6 of the chromosome lines
constexpr int kNeutralColour = 2;
constexpr int kLineColour = 6;
constexpr int kGroupColourBase = 7;  // colour 7 + group names a sample
constexpr int kGroups = 6;
// The clustering trace goes where it always went, in the drive root folder.
constexpr const char* kTracePath = "C:\\out.txt";
// The screen the metafile and the clipboard picture are recorded against.
constexpr int kScreenWidth = 1920;
constexpr int kScreenHeight = 1080;
// The pixels per inch of the screen the zoom is set on.
constexpr int kScreenDpi = 96;

// Positions down the chart, in logical units.
struct ChartRows {
  const GraphLayout& l;
  [[nodiscard]] long long Origin(int c) const { return l.graphY + (c - 1) * static_cast<long long>(l.chSpace); }
  [[nodiscard]] long long Top(int c) const { return Origin(c) + ChromosomeStartTableKb[c] / l.yDiv; }
  [[nodiscard]] long long Bottom(int c) const { return Origin(c) + ChromosomeStartTableKb[c + 1] / l.yDiv; }
  [[nodiscard]] long long At(int c, int bp) const { return Origin(c) + (ChromosomeStartTableKb[c] + bp / 1000) / l.yDiv; }
  [[nodiscard]] long long Centromere(int c) const {
    return Origin(c) + (ChromosomeStartTableKb[c] + CentromerePositionsKb[c - 1]) / l.yDiv;
  }
  // The foot of the chart: the start of X after 22 spacings, plus the genome's length.
  [[nodiscard]] long long Foot() const {
    return l.graphY + 22LL * l.chSpace + ChromosomeStartTableKb[24] / l.yDiv;
  }
};

long long ColumnLeft(const GraphLayout& l, int row) { return l.graphX + static_cast<long long>(row) * l.Pitch(); }

// The chart's right and bottom edges: the lines' right end, or the last
// sample's name (written downwards, its letters left of its x) where that
// stands further right; the foot of X.
CSize ChartExtent(const GraphLayout& l, int samples) {
  const long long right = std::max(ColumnLeft(l, samples) - l.interval, static_cast<long long>(samples) * l.Pitch() + l.sampleNameX);
  const long long bottom = ChartRows{l}.Foot();
  return {LONG(std::clamp<long long>(right, 1, INT32_MAX)), LONG(std::clamp<long long>(bottom, 1, INT32_MAX))};
}

// Along one axis of the printed chart: `window` logical units fill
// `viewport` printer pixels.
struct PrintedAxis {
  int window = 100;
  int viewport = 100;
};

// The settings keep the zoom at 1 per cent or more.
PrintedAxis PrintAxis(long long zoom, int dpi, long long extent, int page) {
  const long long screenUnits = 100LL * kScreenDpi;
  const long long pixels = zoom * dpi;
  if (extent * pixels / screenUnits <= page && pixels <= INT32_MAX)
    return {int(screenUnits), int(pixels)};
  return {int(extent), page};
}

}  // namespace

IMPLEMENT_DYNCREATE(CQOVAGraphView, CView)

BEGIN_MESSAGE_MAP(CQOVAGraphView, CView)
  ON_COMMAND(ID_FILE_PRINT, &CView::OnFilePrint)
  ON_COMMAND(ID_FILE_PRINT_DIRECT, &CView::OnFilePrint)
  ON_COMMAND(ID_FILE_PRINT_PREVIEW, &CView::OnFilePrintPreview)
  ON_COMMAND(res::kCmdExportGraph, &CQOVAGraphView::OnExportGraph)
  ON_COMMAND(ID_EDIT_COPY, &CQOVAGraphView::OnEditCopy)
  ON_COMMAND(res::kCmdClusterAnalysis, &CQOVAGraphView::OnClusterAnalysis)
  ON_COMMAND(res::kCmdCluster2, &CQOVAGraphView::OnCluster2)
  ON_COMMAND(res::kCmdCluster3, &CQOVAGraphView::OnCluster3)
  ON_COMMAND(res::kCmdCluster4, &CQOVAGraphView::OnCluster4)
END_MESSAGE_MAP()

CQOVAGraphDoc* CQOVAGraphView::GetDocument() const { return dynamic_cast<CQOVAGraphDoc*>(m_pDocument); }

void CQOVAGraphView::PrepareChart(CDC& dc, const GraphLayout& layout) const {
  dc.SetMapMode(MM_ANISOTROPIC);
  dc.SetWindowOrg(0, 0);
  dc.SetWindowExt(100, 100);
  dc.SetViewportExt(int(layout.zoomX), int(layout.zoomY));
}

void CQOVAGraphView::PreparePrintedChart(CDC& dc, const GraphLayout& layout, int samples) const {
  const CSize extent = ChartExtent(layout, samples);
  const PrintedAxis x = PrintAxis(layout.zoomX, dc.GetDeviceCaps(LOGPIXELSX), extent.cx, dc.GetDeviceCaps(HORZRES));
  const PrintedAxis y = PrintAxis(layout.zoomY, dc.GetDeviceCaps(LOGPIXELSY), extent.cy, dc.GetDeviceCaps(VERTRES));
  dc.SetMapMode(MM_ANISOTROPIC);
  dc.SetWindowOrg(0, 0);
  dc.SetWindowExt(x.window, y.window);
  dc.SetViewportExt(x.viewport, y.viewport);
}

void CQOVAGraphView::OnDraw(CDC* pDC) {
  CQOVAGraphDoc* doc = GetDocument();
  if (!doc || doc->m_Samples.empty()) return;
  CGraphSetting& setting = *doc->m_pSetting;
  const GraphLayout& l = setting.m_Layout;
  const ChartRows rows{l};
  const int samples = int(doc->m_Samples.size());
  if (pDC->IsPrinting())
    PreparePrintedChart(*pDC, l, samples);
  else
    PrepareChart(*pDC, l);

  CBrush brushes[kSegmentColours];
  for (int k = 0; k < kSegmentColours; ++k) brushes[k].CreateSolidBrush(setting.m_Colour[k]);
  LOGFONT lf;
  setting.m_SampleNameFont.GetLogFont(&lf);
  lf.lfEscapement = l.rotation;
  CFont nameFont;
  nameFont.CreateFontIndirect(&lf);
  CFont* oldFont = pDC->SelectObject(&nameFont);
  const COLORREF oldText = pDC->GetTextColor();

  for (const GraphSample& s : doc->m_Samples) {
    const int group = s.group >= 0 && s.group < kGroups ? s.group : 0;
    pDC->SetTextColor(setting.m_Colour[kGroupColourBase + group]);
    pDC->TextOut(int((s.row + 1LL) * l.Pitch() + l.sampleNameX), int(l.sampleNameY), s.alias);
    const int left = int(ColumnLeft(l, s.row));
    for (int c = 1; c <= kChromosomes; ++c) {
      const CRect cell(left, int(rows.Top(c)), left + l.width, int(rows.Bottom(c)));
      pDC->FillRect(&cell, &brushes[kNeutralColour]);
    }
  }
  pDC->SetTextColor(oldText);

  for (const GraphSegment& g : doc->m_Segments) {
    if (g.sample < 0 || g.sample >= samples || g.chromosome < 1 || g.chromosome > kChromosomes ||
        g.colourIndex < 0 || g.colourIndex >= kSegmentColours)
      continue;
    const int left = int(ColumnLeft(l, doc->m_Samples[std::size_t(g.sample)].row));
    const CRect r(left, int(rows.At(g.chromosome, g.start)), left + l.width, int(rows.At(g.chromosome, g.end)));
    pDC->FillRect(&r, &brushes[g.colourIndex]);
  }

  CPen chromosomePen(PS_SOLID, 1, setting.m_Colour[kLineColour]);
  CPen centromerePen(PS_SOLID, 1, setting.m_Colour[kLineColour]);
  CPen* oldPen = pDC->SelectObject(&chromosomePen);
  const int right = int(ColumnLeft(l, samples) - l.interval);
  const int armX = int((l.chromosomeX + l.graphX) / 2);
  for (int c = 1; c <= kChromosomes; ++c) {
    pDC->SelectObject(&setting.m_ChromosomeFont);
    const long long middle = ((ChromosomeStartTableKb[c] + ChromosomeStartTableKb[c + 1]) / l.yDiv) / 2;
    const std::string number = c == kChromosomes ? " X" : platform::Format("%2d", c);
    pDC->TextOut(int(l.chromosomeX), int(middle + (c - 1LL) * l.chSpace + l.chromosomeY), number);
    pDC->TextOut(armX, int(rows.Top(c)), "p");
    pDC->TextOut(armX, int(rows.Centromere(c)), "q");
    if (c < kChromosomes) {
      pDC->SelectObject(&chromosomePen);
      pDC->MoveTo(int(l.chromosomeX), int(rows.Bottom(c)));
      pDC->LineTo(right, int(rows.Bottom(c)));
    }
    pDC->SelectObject(&centromerePen);
    pDC->MoveTo(armX, int(rows.Centromere(c)));
    pDC->LineTo(right, int(rows.Centromere(c)));
  }
  pDC->SelectObject(oldFont);
  pDC->SelectObject(oldPen);
}

BOOL CQOVAGraphView::OnPreparePrinting(CPrintInfo* info) {
  // The chart is drawn once, on one page.
  info->SetMaxPage(1);
  return DoPreparePrinting(info);
}

void CQOVAGraphView::OnBeginPrinting(CDC* pDC, CPrintInfo* info) {
  (void)pDC;
  (void)info;
}

void CQOVAGraphView::OnEndPrinting(CDC* pDC, CPrintInfo* info) {
  (void)pDC;
  (void)info;
}

platform::ui::Picture CQOVAGraphView::RecordChart() {
  platform::ui::RecordingCanvas canvas(kScreenWidth, kScreenHeight);
  OnDraw(&canvas);
  return canvas.Contents();
}

void CQOVAGraphView::OnExportGraph() {
  CFileDialog dialog(FALSE, "emf", nullptr, OFN_OVERWRITEPROMPT,
                     "Enhanced meta files (*.emf)|*.emf|All Files (*.*)|*.*||", this);
  qova::document::StartInOutputFolder(dialog);
  if (dialog.DoModal() != IDOK) return;
  const std::string path = dialog.GetPathName();
  if (!platform::WriteWholeFile(path, platform::ui::EnhancedMetafileOf(RecordChart())))
    AfxMessageBox("Cannot write the picture " + path, MB_ICONEXCLAMATION);
}

// The picture a program shows when it pastes the exported metafile: the
// chart's own bounds, not the screen it is recorded against.
void CQOVAGraphView::OnEditCopy() {
  (void)platform::ui::SetClipboardPicture(platform::ui::CutToDrawing(RecordChart()));
}

// Column drag.

int CQOVAGraphView::SlotAt(int x, const GraphLayout& l, int samples) const {
  const int pitch = l.Pitch();
  return int(std::clamp<long long>((x - l.graphX + pitch / 2) / pitch, 0, samples));
}

void CQOVAGraphView::InvertColumn(CDC& dc, const GraphLayout& l, int row) const {
  const long long left = ColumnLeft(l, row);
  const CRect r(int(left + 2), int(l.graphY), int(left + l.width - 2), int(ChartRows{l}.Foot()));
  dc.InvertRect(&r);
}

void CQOVAGraphView::InvertBar(CDC& dc, const GraphLayout& l, int slot) const {
  const long long at = ColumnLeft(l, slot);
  const CRect r(int(at - l.interval - 1), int(l.graphY), int(at + 1), int(ChartRows{l}.Foot()));
  dc.InvertRect(&r);
}

void CQOVAGraphView::OnLButtonDown(UINT flags, CPoint point) {
  (void)flags;
  CQOVAGraphDoc* doc = GetDocument();
  if (!doc || doc->m_Samples.empty()) return;
  const GraphLayout& l = doc->m_pSetting->m_Layout;
  const int samples = int(doc->m_Samples.size());
  const long long x = point.x * 100LL / l.zoomX;
  // Left of the first column is as far outside the chart as right of the last.
  const long long offset = x - l.graphX;
  const long long row = offset < 0 ? -1 : offset / l.Pitch();
  if (row < 0 || row >= samples) {
    m_nDragRow = -1;
    return;
  }
  m_nDragRow = int(row);
  m_nDropSlot = SlotAt(int(x), l, samples);
  CClientDC dc(this);
  PrepareChart(dc, l);
  InvertColumn(dc, l, m_nDragRow);
  InvertBar(dc, l, m_nDropSlot);
  SetCapture();
}

void CQOVAGraphView::OnMouseMove(UINT flags, CPoint point) {
  CQOVAGraphDoc* doc = GetDocument();
  if (m_nDragRow < 0 || !(flags & MK_LBUTTON) || !doc) return;
  const GraphLayout& l = doc->m_pSetting->m_Layout;
  const int slot = SlotAt(int(point.x * 100LL / l.zoomX), l, int(doc->m_Samples.size()));
  if (slot == m_nDropSlot) return;
  CClientDC dc(this);
  PrepareChart(dc, l);
  if (m_nDropSlot >= 0) InvertBar(dc, l, m_nDropSlot);
  m_nDropSlot = slot;
  InvertBar(dc, l, m_nDropSlot);
}

void CQOVAGraphView::OnLButtonUp(UINT flags, CPoint point) {
  (void)flags;
  (void)point;
  if (m_nDragRow < 0) return;
  ReleaseCapture();
  if (m_nDropSlot >= 0 && m_nDropSlot != m_nDragRow && m_nDropSlot != m_nDragRow + 1) MoveRow(m_nDragRow, m_nDropSlot);
  m_nDragRow = -1;
  m_nDropSlot = -1;
  if (CQOVAGraphDoc* doc = GetDocument()) doc->UpdateAllViews(nullptr, 0, nullptr);
}

void CQOVAGraphView::MoveRow(int row, int slot) {
  CQOVAGraphDoc* doc = GetDocument();
  for (GraphSample& s : doc->m_Samples) {
    if (s.row == row)
      s.row = slot < row ? slot : slot - 1;
    else if (slot < row && s.row >= slot && s.row < row)
      ++s.row;
    else if (slot > row + 1 && s.row > row && s.row < slot)
      --s.row;
  }
}

// Clustering.

void CQOVAGraphView::Cluster(graph::ClusterMethod method) {
  CQOVAGraphDoc* doc = GetDocument();
  if (!doc || doc->m_Samples.size() < 2) return;
  const graph::ClusterResult result =
      graph::ClusterSamples(doc->m_Segments, int(doc->m_Samples.size()), method);
  if (method != graph::ClusterMethod::Weighted && !platform::WriteWholeFile(kTracePath, result.trace))
    AfxMessageBox("Cannot write the clustering trace " + platform::NativePath(kTracePath), MB_ICONEXCLAMATION);
  for (std::size_t k = 0; k < result.order.size(); ++k) doc->m_Samples[std::size_t(result.order[k])].row = int(k);
  doc->UpdateAllViews(nullptr, 0, nullptr);
}
