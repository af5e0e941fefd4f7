// The main view's context menu: built for the point under the mouse, it
// switches between the genome and the clicked chromosome, zooms centred on
// the click, opens the zoom dialog, fits the drawing to the window, and
// reports the SNP under the mouse with an offer of the genome browser.
#include <algorithm>

#include "core/Cytoband.h"
#include "platform/MessageBox.h"
#include "platform/Strings.h"
#include "platform/ui/Wnd.h"
#include "views/GenomeBrowser.h"
#include "views/PopupChoice.h"
#include "views/QOVAView.h"
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
  if (const UINT chosen = views::TrackPopupChoice(*this, point, items)) PerformMenuItem(chosen, point);
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
  int c = 0, s = 0;
  const bool hit = HitTest(point, c, s, TRUE) != FALSE;  // the point is logical from here on
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
      if (!hit) return;
      m_nViewFlags |= VIEW_ONE_CHROMOSOME;
      m_nChromosome = c;
      m_nScaleX = base ? views::kBaseAxisScales.chromosomeX : views::ContextChromosomeScaleX(m_nArrayType);
      m_nScaleY = views::kBaseAxisScales.chromosomeY;
      SwapModeSizes(true);
      m_nScrollY = 0;
      views::CentreX(*this, base ? PositionOf(s) / 10 : s - m_pChromosomeStarts[c], client.cx);
      Relayout();
      return;
    }
    case kItemAllGenome:
      m_nViewFlags &= ~VIEW_ONE_CHROMOSOME;
      ApplyModeScales();
      SwapModeSizes(false);
      m_nScrollX = m_nScrollY = 0;
      Relayout();
      return;
    case kItemInformation:
    case kItemGotoWeb: {
      if (!hit) return;
      const int position = PositionOf(s);
      if (id == kItemInformation && AfxMessageBox(SlotInformation(s, c), MB_YESNO | MB_ICONINFORMATION) != IDYES)
        return;
      OpenGenomeBrowser(c, this, position - kBrowserMargin, position + kBrowserMargin);
      return;
    }
    default: return;
  }
}
