// The integral view: per chromosome, the regions of every integrated sample
// as strokes in lanes above (gains, kinds 1 and 2) and below (losses, kinds 3
// and 4) a base line under the ideogram, one lane per sample; the sample of
// the lane under the mouse, and the report of a band dragged along a
// chromosome.
#include <algorithm>
#include <cstdlib>
#include <numeric>
#include <vector>

#include "analysis/IntegrationData.h"
#include "core/Cytoband.h"
#include "core/GenomeTables.h"
#include "document/QOVADoc.h"
#include "platform/MessageBox.h"
#include "platform/Strings.h"
#include "platform/ui/DC.h"
#include "views/GenomeBrowser.h"
#include "views/main/QOVAView.h"

namespace {

// The first lane of either side lies this far from the base line.
constexpr int kLaneOffset = 50;
// Where a row's base line lies below the row's top, less half the lanes' room.
constexpr int kBaseLineTop = 450;
constexpr int kKinds = 4;

bool Above(std::int32_t kind) { return kind == 1 || kind == 2; }
bool Below(std::int32_t kind) { return kind == 3 || kind == 4; }

// The largest sample index of the regions: re-integrating a sample appends
// its regions, so the last region need not carry it.
std::int32_t LargestSampleIndex(const IntegrationData& integration) {
  std::int32_t largest = 0;
  for (const IntegrationSegment& region : integration.Segments) largest = std::max(largest, region.SampleIndex);
  return largest;
}

// The sample indexes 0..largest by ascending total length of their regions
// on chromosome c on one side of the base line; equal totals keep index order.
std::vector<std::int32_t> OrderByAmount(const IntegrationData& integration, int c, bool above, std::int32_t largest) {
  std::vector<long long> totals(std::size_t(largest) + 1, 0);
  for (const IntegrationSegment& region : integration.Segments) {
    if (region.Chromosome != c || region.SampleIndex < 0 || (above ? !Above(region.Kind) : !Below(region.Kind)))
      continue;
    totals[std::size_t(region.SampleIndex)] += (long long)region.End - region.Start;
  }
  std::vector<std::int32_t> order(totals.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&](std::int32_t a, std::int32_t b) { return totals[std::size_t(a)] < totals[std::size_t(b)]; });
  return order;
}

}  // namespace

const IntegrationData* CQOVAView::Integration() const {
  const CQOVADoc* doc = GetDocument();
  return doc ? doc->Integration.get() : nullptr;
}

std::string CQOVAView::IntegralTitle() const {
  const IntegrationData* integration = Integration();
  if (!integration) return {};
  static constexpr std::pair<const char*, const char*> kSuffixes[] = {
      {"AddDel", ": Gains and losses"},  {"HomDel", ": Homozygous deletions"}, {"HiAmp", ": High Amplifications"},
      {"LOH", ": LOH"},                  {"AH", ": Allelic homozygosities"},   {"Change", ": Copy number changes"},
      {"AH_Mark", ": Allelic homozygosities"}};
  std::string title = integration->Title;
  for (const auto& [mode, suffix] : kSuffixes)
    if (integration->Mode == mode) title += suffix;
  return title;
}

int CQOVAView::IntegralRowHeight() const {
  const IntegrationData* integration = Integration();
  const int lanes = integration && !integration->Segments.empty() ? LargestSampleIndex(*integration) + 1 : 1;
  return int(std::min<long long>(1LL * lanes * 2 * m_pDisplaySetting->INTEGRATE.WIDTH + 300, INT32_MAX / 8));
}

void CQOVAView::DrawAmountPanel(CDC* dc, int c, int x, int y) {
  const IntegrationData* integration = Integration();
  if (!integration || integration->Segments.empty()) return;
  const bool byId = integration->Order == "ID";
  if (!byId && integration->Order != "Amount") return;
  const CDisplaySetting::IntegrateKeys& keys = m_pDisplaySetting->INTEGRATE;
  const int w = keys.WIDTH;
  CPen pens[kKinds];
  const COLORREF colours[kKinds] = {keys.COL1, keys.COL2, keys.COL3, keys.COL4};
  for (int k = 0; k < kKinds; ++k) pens[k].CreatePen(PS_SOLID, w / 3, colours[k]);
  CPen* previous = dc->SelectObject(&pens[0]);
  const auto stroke = [&](const IntegrationSegment& region, long long lane) {
    dc->SelectObject(&pens[region.Kind - 1]);
    const int ly = int(std::clamp<long long>(lane, INT32_MIN, INT32_MAX));
    dc->MoveTo(x + region.Start / 10, ly);
    dc->LineTo(x + region.End / 10, ly);
  };

  if (byId) {
    for (const IntegrationSegment& region : integration->Segments) {
      if (region.Chromosome != c) continue;
      const long long offset = 1LL * region.SampleIndex * w + kLaneOffset;
      if (Above(region.Kind))
        stroke(region, y - offset);
      else if (Below(region.Kind))
        stroke(region, y + offset);
    }
  } else {
    const std::int32_t largest = LargestSampleIndex(*integration);
    for (const bool above : {true, false}) {
      const std::vector<std::int32_t> order = OrderByAmount(*integration, c, above, largest);
      // The smallest total lies outermost, the largest next to the base line.
      for (std::size_t place = 0; place < order.size(); ++place) {
        const long long offset = 1LL * (largest - std::int32_t(place)) * w + kLaneOffset;
        for (const IntegrationSegment& region : integration->Segments) {
          if (region.Chromosome != c || region.SampleIndex != order[place]) continue;
          if (above && Above(region.Kind)) stroke(region, y - offset);
          if (!above && Below(region.Kind)) stroke(region, y + offset);
        }
      }
    }
  }
  dc->SelectObject(previous);
}

int CQOVAView::IntegralSampleAt(CPoint p) const {
  const IntegrationData* integration = Integration();
  if (!integration || integration->Segments.empty()) return -1;
  const long long ly = ToLogicalY(p.y);
  int c = 0;
  long long inRow = ly;
  if (m_nViewFlags & VIEW_ONE_CHROMOSOME) {
    c = m_nChromosome;
  } else {
    const long long lx = ToLogicalX(p.x);
    const long long band = (ly - kLabelBand) / std::max(1, m_nRowHeight);
    const auto& row = kGenomeRows[std::size_t(std::clamp<long long>(band, 0, 5))];
    for (int k = row[0]; k <= row[1] && c == 0; ++k) {
      const long long length = ChromosomeStartTable[k + 1] - ChromosomeStartTable[k];
      if (m_nChromosomeX[k] <= lx && lx < m_nChromosomeX[k] + length) c = k;
    }
    if (c != 0) inRow = ly - m_nChromosomeY[c];
  }
  const long long d = inRow - kBaseLineTop - (m_nRowHeight - 300) / 2;
  const long long w = std::max(1, m_pDisplaySetting->INTEGRATE.WIDTH);
  const std::int32_t largest = LargestSampleIndex(*integration);
  const long long lane = std::clamp<long long>((std::llabs(d) + w / 2 - kLaneOffset) / w, 0, largest);
  std::int32_t index = std::int32_t(lane);
  if (integration->Order == "Amount") index = OrderByAmount(*integration, c, d < 0, largest)[std::size_t(largest - lane)];
  return std::size_t(index) < integration->SampleNames.size() ? index : -1;
}

void CQOVAView::ReportIntegralRange(int c, int from, int to) {
  const int lo = std::min(from, to), hi = std::max(from, to);
  std::string loBand, hiBand;
  if (m_pCytoband) {
    m_pCytoband->GetBandName(loBand, c, lo, TRUE);
    m_pCytoband->GetBandName(hiBand, c, hi, TRUE);
  }
  const long long start = 10LL * lo, end = 10LL * hi;
  const std::string chromosome = c == 23 ? std::string("X") : std::to_string(c);
  std::string report =
      platform::Format("Chromosome: %s\nStart Position= %lld (%s)\nEnd Position= %lld (%s)\nLength= %lld",
                       chromosome.c_str(), start, loBand.c_str(), end, hiBand.c_str(), end - start);
  report += "\n Goto Web Information?";
  if (AfxMessageBox(report, MB_YESNO | MB_ICONINFORMATION) == IDYES)
    (void)OpenGenomeBrowser(c, this, int(std::min<long long>(start, INT32_MAX)), int(std::min<long long>(end, INT32_MAX)));
}

void CQOVAView::IntegralInformation(bool ask, int c, int p) {
  const long long position = 10LL * p;
  if (ask) {
    std::string band;
    if (m_pCytoband) m_pCytoband->GetBandName(band, c, p, TRUE);
    const std::string text = platform::Format("Chromosome= %d\tCytoband= %7s\n Position %lld\n Goto Web Information?",
                                              c, band.c_str(), position);
    if (AfxMessageBox(text, MB_YESNO | MB_ICONINFORMATION) != IDYES) return;
  }
  (void)OpenGenomeBrowser(c, this, int(std::clamp<long long>(position - 100, INT32_MIN, INT32_MAX)),
                          int(std::clamp<long long>(position + 100, INT32_MIN, INT32_MAX)));
}
