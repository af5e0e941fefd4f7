// The main view's context menu: built for the point under the mouse, it
// switches between the genome and the clicked chromosome, zooms centred on
// the click, opens the zoom dialog, fits the drawing to the window, and
// reports the SNP under the mouse with an offer of the genome browser.
#include <algorithm>

#include "analysis/IntegrationData.h"
#include "core/AnalyzedData.h"
#include "core/Cytoband.h"
#include "document/QOVADoc.h"
#include "platform/MessageBox.h"
#include "platform/Strings.h"
#include "platform/ui/Wnd.h"
#include "views/GenomeBrowser.h"
#include "views/PopupChoice.h"
#include "views/main/QOVAView.h"
#include "views/ZoomSetting.h"

namespace {

// The menu's item ids.
constexpr UINT kItemInformation = 101;
constexpr UINT kItemGotoWeb = 102;
constexpr UINT kItemZoomIn = 104;
constexpr UINT kItemZoomOut = 105;
constexpr UINT kItemZoomSetting = 106;
constexpr UINT kItemFitToWindow = 107;
constexpr UINT kItemEachChromosome = 108;
constexpr UINT kItemAllGenome = 109;
constexpr UINT kItemHorizontalZoomIn = 110;
constexpr UINT kItemHorizontalZoomOut = 111;
constexpr UINT kItemVerticalZoomIn = 112;
constexpr UINT kItemVerticalZoomOut = 113;
constexpr UINT kItemSingleView = 140;
constexpr UINT kItemUpdate = 141;
constexpr UINT kItemHide = 142;

// The browser shows this many bases either side of a clicked position.
constexpr int kBrowserMargin = 100;

}  // namespace

void CQOVAView::OnRButtonDown(UINT flags, CPoint point) {
  (void)flags;
  if (!m_bDataShown) return;
  std::vector<views::PopupItem> items;
  if (m_nViewFlags & VIEW_ONE_CHROMOSOME)
    items.push_back({kItemAllGenome, "All Genome View"});
  else
    items.push_back({kItemEachChromosome, "Each Chromosome View"});
  // The sample under the mouse: its lane in the integral view, its row in the grid.
  std::string singleView;
  int row = -1;
  if (m_nViewFlags & VIEW_INTEGRATE) {
    const IntegrationData* integration = Integration();
    if (const int index = IntegralSampleAt(point); index >= 0) {
      singleView = integration->SampleNames[std::size_t(index)];
      items.push_back({kItemSingleView, "Single view :" + singleView});
    }
  }
  if (m_nViewFlags & VIEW_MULTIPLE) {
    row = MultiRowAt(point.y);
    if (const int sample = MultiSampleAtRow(row); sample >= 0) {
      singleView = MultiResultFile(sample);
      const auto shown = std::count_if(m_aMultiSelect.begin(), m_aMultiSelect.end(), [](unsigned p) { return p != 0; });
      if (shown >= 2) items.push_back({kItemHide, "Hide " + singleView});
      items.push_back({kItemSingleView, "Single view (" + singleView + ")"});
    }
  }
  if (m_nViewFlags & (VIEW_MULTIPLE | VIEW_INTEGRATE)) items.push_back({kItemUpdate, "Update"});
  items.insert(items.end(), {{kItemZoomIn, "Zoom In"},
                             {kItemZoomOut, "Zoom Out"},
                             {kItemHorizontalZoomIn, "Horizontal Zoom In"},
                             {kItemHorizontalZoomOut, "Horizontal Zoom Out"},
                             {kItemVerticalZoomIn, "Vertical Zoom In"},
                             {kItemVerticalZoomOut, "Vertical Zoom Out"},
                             {kItemZoomSetting, "Zoom Setting"},
                             {kItemFitToWindow, "Fit to Window"},
                             {kItemInformation, "Information"},
                             {kItemGotoWeb, "Goto Web"}});
  const UINT chosen = views::TrackPopupChoice(*this, point, items);
  switch (chosen) {
    case 0: return;
    case kItemSingleView: return OpenSingleView(singleView);
    case kItemHide: return HideMultiRow(row);
    case kItemUpdate:
      // The results are read again, or the samples integrated again.
      if (CQOVADoc* doc = GetDocument()) {
        m_bDataShown = FALSE;
        CQOVADoc::RefreshDisplayedResults(*doc);
      }
      return;
    default: return PerformMenuItem(chosen, point);
  }
}

void CQOVAView::OpenSingleView(const std::string& fileName) {
  CQOVADoc* doc = GetDocument();
  CDocTemplate* docTemplate = doc ? doc->GetDocTemplate() : nullptr;
  if (!docTemplate || fileName.empty()) return;
  if (auto* opened = dynamic_cast<CQOVADoc*>(docTemplate->OpenDocumentFile(nullptr, TRUE)))
    (void)opened->OpenSingleResult(this, fileName);
}

CSize CQOVAView::ClientSize() const {
  CRect client;
  GetClientRect(&client);
  return {client.Width(), client.Height()};
}

void CQOVAView::CentreOn(CPoint p, CSize client, bool x, bool y) {
  if (x) views::CentreX(*this, p.x, client.cx);
  if (y) views::CentreY(*this, p.y, client.cy);
}

int CQOVAView::PositionOf(int i) const { return m_pPosition[std::size_t(RowOf(i))]; }

std::string CQOVAView::SlotInformation(int s, int c) const {
  std::string band;
  m_pCytoband->GetBandName(band, c, s, FALSE);
  std::string text = platform::Format("SNPnumber= %d\tChromosome= %d\tCytoband= %7s\n ", s, c, band.c_str());
  // Only the neighbours the sample has: the first and last slots have fewer.
  const int end = std::min<long long>(m_pChromosomeStarts[24], (long long)m_pRatio.size());
  for (int i = std::max(0, s - 2); i <= s + 2 && i < end; ++i)
    text += platform::Format("\n point %d: signal= %f Position= %d", i, double(m_pRatio[std::size_t(i)]), PositionOf(i));
  return text + "\n" + "\n Goto Web Information?";
}

void CQOVAView::PerformMenuItem(UINT id, CPoint point) {
  const bool grid = (m_nViewFlags & VIEW_MULTIPLE) != 0;
  const bool integral = (m_nViewFlags & VIEW_INTEGRATE) != 0;
  // In the grid the one chromosome shown is read through the row's sample;
  // the whole-genome rows have no SNP under the mouse.
  bool bound = !grid;
  if (grid && (m_nViewFlags & VIEW_ONE_CHROMOSOME)) {
    const int sample = MultiSampleAtRow(MultiRowAt(point.y));
    bound = sample >= 0 && BindMultipleSample(sample, true);
    if (bound) {
      const CAnalyzedData& a = *m_pAnalyzed;
      m_nViewFlags = a.Header.Combined ? (m_nViewFlags | VIEW_COMBINED_ARRAY) : (m_nViewFlags & ~VIEW_COMBINED_ARRAY);
    }
  }
  int c = 0, s = 0;
  const bool hit = HitTest(point, c, s, TRUE) != FALSE && bound;  // the point is logical from here on
  const CSize client = ClientSize();
  const bool base = (m_nViewFlags & VIEW_BASE_INTERVAL) != 0;
  switch (id) {
    case kItemZoomIn:
    case kItemZoomOut:
    case kItemHorizontalZoomIn:
    case kItemHorizontalZoomOut:
    case kItemVerticalZoomIn:
    case kItemVerticalZoomOut: {
      const bool in = id == kItemZoomIn || id == kItemHorizontalZoomIn || id == kItemVerticalZoomIn;
      const bool x = id != kItemVerticalZoomIn && id != kItemVerticalZoomOut;
      const bool y = id != kItemHorizontalZoomIn && id != kItemHorizontalZoomOut;
      const auto step = in ? views::ZoomInSize : views::ZoomOutSize;
      if (x) m_nSizeX = step(m_nSizeX);
      if (y) m_nSizeY = step(m_nSizeY);
      CentreOn(point, client, x, y);
      Relayout();
      return;
    }
    case kItemZoomSetting: {
      CZoomSetting dialog(this);
      dialog.ZoomX = m_nSizeX;
      dialog.ZoomY = m_nSizeY;
      if (dialog.DoModal() != IDOK) return;
      m_nSizeX = views::ClampDisplaySize(dialog.ZoomX);
      m_nSizeY = views::ClampDisplaySize(dialog.ZoomY);
      CentreOn(point, client, true, true);
      Relayout();
      return;
    }
    case kItemFitToWindow:
      views::FitToWindow(*this, ComputePageLayout(), client);
      Relayout();
      return;
    case kItemEachChromosome: {
      if (grid) return OnViewEachChromosome();
      if (!hit) return;
      m_nViewFlags |= VIEW_ONE_CHROMOSOME;
      m_nChromosome = c;
      m_nScaleX = base ? views::kBaseAxisScales.chromosomeX : views::ContextChromosomeScaleX(m_nArrayType);
      m_nScaleY = views::kBaseAxisScales.chromosomeY;
      SwapModeSizes(true);
      m_nScrollY = 0;
      // The integral view's hit is a position already.
      views::CentreX(*this, integral ? s : base ? PositionOf(s) / 10 : s - m_pChromosomeStarts[c], client.cx);
      Relayout();
      return;
    }
    case kItemAllGenome:
      m_nViewFlags &= ~VIEW_ONE_CHROMOSOME;
      if (grid) {
        m_nScrollX = m_nScrollY = 0;
        LayoutMultipleView();
        Relayout();
        return;
      }
      ApplyModeScales();
      SwapModeSizes(false);
      m_nScrollX = m_nScrollY = 0;
      Relayout();
      return;
    case kItemInformation:
    case kItemGotoWeb: {
      if (!hit) return;
      if (integral) return IntegralInformation(id == kItemInformation, c, s);
      const int position = PositionOf(s);
      if (id == kItemInformation && AfxMessageBox(SlotInformation(s, c), MB_YESNO | MB_ICONINFORMATION) != IDYES)
        return;
      OpenGenomeBrowser(c, this, position - kBrowserMargin, position + kBrowserMargin);
      return;
    }
    default: return;
  }
}
