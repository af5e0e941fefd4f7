// The main view's context menu: the chromosome views' menu, with the grid's
// and the integral view's items for the sample under the mouse (a window of
// its own, hiding its row, reading the results again), and the report of the
// SNP under the mouse with its neighbours' signals.
#include <algorithm>

#include "analysis/IntegrationData.h"
#include "core/AnalyzedData.h"
#include "core/Cytoband.h"
#include "document/QOVADoc.h"
#include "platform/MessageBox.h"
#include "platform/Strings.h"
#include "platform/ui/Wnd.h"
#include "views/ChromosomeContextMenu.h"
#include "views/main/QOVAView.h"

namespace views = qova::views;

namespace {

// The ids of the items only the main view has.
constexpr UINT kItemSingleView = 140;
constexpr UINT kItemUpdate = 141;
constexpr UINT kItemHide = 142;

}  // namespace

void CQOVAView::OnRButtonDown(UINT flags, CPoint point) {
  (void)flags;
  if (!m_bDataShown) return;
  // The sample's items follow the switch of mode, before the zoom items.
  std::vector<views::PopupItem> items = views::ChromosomeContextMenu((m_nViewFlags & VIEW_ONE_CHROMOSOME) != 0);
  std::vector<views::PopupItem> sampleItems;
  // The sample under the mouse: its lane in the integral view, its row in the grid.
  std::string singleView;
  int row = -1;
  if (m_nViewFlags & VIEW_INTEGRATE) {
    const IntegrationData* integration = Integration();
    if (const int index = IntegralSampleAt(point); index >= 0) {
      singleView = integration->SampleNames[std::size_t(index)];
      sampleItems.push_back({kItemSingleView, "Single view :" + singleView});
    }
  }
  if (m_nViewFlags & VIEW_MULTIPLE) {
    row = MultiRowAt(point.y);
    if (const int sample = MultiSampleAtRow(row); sample >= 0) {
      singleView = MultiResultFile(sample);
      const auto shown = std::count_if(m_aMultiSelect.begin(), m_aMultiSelect.end(), [](unsigned p) { return p != 0; });
      if (shown >= 2) sampleItems.push_back({kItemHide, "Hide " + singleView});
      sampleItems.push_back({kItemSingleView, "Single view (" + singleView + ")"});
    }
  }
  if (m_nViewFlags & (VIEW_MULTIPLE | VIEW_INTEGRATE)) sampleItems.push_back({kItemUpdate, "Update"});
  items.insert(items.begin() + 1, sampleItems.begin(), sampleItems.end());
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
  // The grid asks which chromosome to show, as View > EachChromosome.
  if (grid && id == views::kItemEachChromosome) return OnViewEachChromosome();
  CChromosomeView::PerformMenuItem(id, point, bound);
}

void CQOVAView::InformationAt(bool ask, int c, int s) {
  if (m_nViewFlags & VIEW_INTEGRATE) return IntegralInformation(ask, c, s);
  CChromosomeView::InformationAt(ask, c, s);
}
