// The painters only the multiple-sample grid uses: the LOH bar, the state
// and LOH-level bars and the position ruler of one chromosome, and the
// whole-genome rows, where chromosomes 1..23 lie side by side and twenty SNPs
// (or 2,000 bases) share one logical x.
#include <algorithm>
#include <climits>
#include <string>

#include "core/AnalyzedData.h"
#include "core/GenomeTables.h"
#include "platform/Strings.h"
#include "platform/ui/DC.h"
#include "views/main/CopyNumberAxes.h"
#include "views/PrintFit.h"
#include "views/ViewNavigation.h"
#include "views/main/QOVAView.h"

using namespace qova::views::main;
namespace views = qova::views;

namespace {

// Rows of the bars inside their panels.
constexpr int kLohBarHeight = 30;
constexpr int kLevelBarHeight = 70;
constexpr int kCallBarHeight = 30;
constexpr int kSecondCallBarHeight = 29;
// A whole-genome row is the genome shrunk twentyfold.
constexpr int kGenomeShrink = 20;
// An LOH likelihood above this, at more than one copy, marks the LOH bar.
constexpr float kLohBarThreshold = 30.0f;
constexpr int kStateCount = 7;
constexpr int kLohLevels = 5;
constexpr int kMarkerPens = 8;  // markers 0..6 and the analysis' own (kind 39)

// Each chromosome of a whole-genome row has its own colour.
COLORREF ChromosomeColour(int c) { return RGB((c / 9) * 85, ((c + c / 3) % 3) * 85, (c % 3) * 85); }

// The logical x of the ruler's tick at v units into a column at x.
int TickX(int x, long long v) { return int(std::clamp<long long>(x + v, INT32_MIN, INT32_MAX)); }

// The ruler's label of the tick at v: bases on both axes.
std::string RulerLabel(long long v) { return platform::Format("%lld", v * 10); }

// The device x of logical x on the page.
long long DeviceX(const CDC& dc, int x) {
  CPoint at(x, 0);
  dc.LPtoDP(&at);
  return at.x;
}

// A printed ruler's labels keep at least a digit's width between them.
long long LabelGap(const CDC& dc) { return views::DeviceTextWidth(dc, "0"); }

// Whether every label of the ticks `step` apart over [left, right] of a
// column at x ends a gap before the next label begins.
bool LabelsStandApart(const CDC& dc, int x, long long left, long long right, long long step) {
  const long long gap = LabelGap(dc);
  const long long last = right / step * step;
  for (long long v = left / step * step; v < last; v += step)
    if (DeviceX(dc, TickX(x, v)) + views::DeviceTextWidth(dc, RulerLabel(v)) + gap > DeviceX(dc, TickX(x, v + step)))
      return false;
  return true;
}

// On paper the labels' font follows the page's height, and the ticks the
// page's width: with few rows the labels grow wider than the step the
// window's rule gives, so the step is made coarser, of the same kind, until
// they stand apart. A label that would run over the page's edge is written
// ending at the right edge where that keeps it apart from the one before,
// and otherwise left out: cut, it would read as another number. A label whose
// tick lies before the page's left edge belongs to the page before.
void DrawPrintedTicks(CDC* dc, int x, int y, long long left, long long right, long long step) {
  while (step <= right && !LabelsStandApart(*dc, x, left, right, step)) step = views::NextRulerStep(step);
  const long long page = dc->GetDeviceCaps(HORZRES), gap = LabelGap(*dc);
  long long previousEnd = LLONG_MIN;  // device x where the last label written ends
  for (long long v = left / step * step; v <= right / step * step; v += step) {
    const int tick = TickX(x, v);
    dc->MoveTo(tick, y + 40);
    dc->LineTo(tick, y + 60);
    const std::string label = RulerLabel(v);
    const long long width = views::DeviceTextWidth(*dc, label);
    long long at = DeviceX(*dc, tick);
    if (at >= 0 && at + width > page) at = page - width;
    if (at < 0 || (previousEnd != LLONG_MIN && at < previousEnd + gap)) continue;
    if (at == DeviceX(*dc, tick)) {
      dc->TextOut(tick, y, label);
    } else {
      CPoint top(tick, y);
      dc->LPtoDP(&top);
      views::TextOutAtDevice(*dc, CPoint(int(at), top.y), label);
    }
    previousEnd = at + width;
  }
}

}  // namespace

// --- one chromosome ---

bool CQOVAView::LohBarSnp(int i) const {
  return m_pValidFlag[std::size_t(i)] == 1 && m_pLohLikelihood[std::size_t(i)] > kLohBarThreshold &&
         m_pCopyNumberState[std::size_t(i)] > 1;
}

void CQOVAView::DrawLohBar(CDC* dc, int c, int x, int y) {
  if (m_pLohLikelihood.size() < std::size_t(std::max(0, m_pChromosomeStarts[c + 1]))) return;
  DrawSnpLines(dc, c, x, y, y + kLohBarHeight, m_pDisplaySetting->COLOR.C6, &CQOVAView::LohBarSnp);
}

void CQOVAView::DrawLevelBar(CDC* dc, int c, int x, int y, bool genome, bool lohLevels) {
  const CDisplaySetting::ColorMKeys& k = m_pDisplaySetting->COLORM;
  const int count = lohLevels ? kLohLevels : kStateCount;
  CPen pens[kStateCount];
  for (int n = 0; n < count; ++n) pens[n].CreatePen(PS_SOLID, 1, lohLevels ? k.LOH[n] : k.CN[n]);
  const float thresholds[4] = {float(k.thLOH4), float(k.thLOH3), float(k.thLOH2), float(k.thLOH1)};
  const auto level = [&](int i) {
    if (!lohLevels) return int(m_pCopyNumberState[std::size_t(i)]);
    const float likelihood = m_pLohLikelihood[std::size_t(i)];
    for (int n = 0; n < 4; ++n)
      if (likelihood > thresholds[n]) return 4 - n;
    return 0;
  };
  // X has no bar: its states and likelihoods are those of one copy in a male.
  const int from = genome ? 1 : c, to = genome ? 22 : std::min(c, 22);
  const std::size_t needed = std::size_t(std::max(0, m_pChromosomeStarts[to + 1]));
  if (lohLevels ? m_pLohLikelihood.size() < needed : m_pCopyNumberState.size() < needed) return;
  const std::int32_t* offsets = genome ? GenomeOffsetsOfSlots().data() : nullptr;
  CPen* previous = dc->GetCurrentPen();
  int selected = -1;
  for (int chromosome = from; chromosome <= to; ++chromosome) {
    for (int i = m_pChromosomeStarts[chromosome]; i < m_pChromosomeStarts[chromosome + 1]; ++i) {
      if (m_pValidFlag[std::size_t(i)] != 1) continue;
      const int n = level(i);
      if (n < 0 || n >= count) continue;
      if (n != selected) {
        dc->SelectObject(&pens[n]);
        selected = n;
      }
      const int xs = genome ? x + offsets[i] : SnpX(chromosome, x, i);
      dc->MoveTo(xs, y);
      dc->LineTo(xs, y + kLevelBarHeight);
    }
  }
  dc->SelectObject(previous);
}

void CQOVAView::DrawStateBar(CDC* dc, int c, int x, int y) { DrawLevelBar(dc, c, x, y, false, false); }

void CQOVAView::DrawLohLevelBar(CDC* dc, int c, int x, int y) { DrawLevelBar(dc, c, x, y, false, true); }

void CQOVAView::DrawRuler(CDC* dc, int c, int x, int y) {
  const int w = ColumnWidth(c);
  // What is seen of the drawing: the window's client area, or on paper the
  // page, which the print's mapping spreads the page's share over.
  CRect shown;
  if (dc->IsPrinting())
    shown.SetRect(0, 0, dc->GetDeviceCaps(HORZRES), dc->GetDeviceCaps(VERTRES));
  else
    GetClientRect(&shown);
  // The visible part of the column, in its own units.
  const long long left = std::max<long long>(0, ToLogicalX(shown.left) - x);
  const long long right = std::min<long long>(w, ToLogicalX(shown.right) - x);
  CPen pen(PS_SOLID, 1, RGB(0, 0, 0));
  CPen* previousPen = dc->SelectObject(&pen);
  CFont font;
  font.CreatePointFont((m_nViewFlags & VIEW_ONE_CHROMOSOME) ? 250 : 500, "");
  CFont* previousFont = dc->SelectObject(&font);
  // A column outside the window, or too narrow a part of it, has no ticks.
  const long long step = right > left ? views::RulerStep(right - left) : 0;
  if (step > 0 && dc->IsPrinting()) {
    DrawPrintedTicks(dc, x, y, left, right, step);
  } else if (step > 0) {
    for (long long v = left / step * step; v <= right / step * step; v += step) {
      const int tick = TickX(x, v);
      dc->MoveTo(tick, y + 40);
      dc->LineTo(tick, y + 60);
      dc->TextOut(tick, y, RulerLabel(v));
    }
  }
  dc->MoveTo(x, y + 50);
  dc->LineTo(x + w, y + 50);
  dc->SelectObject(previousFont);
  dc->SelectObject(previousPen);
}

// --- whole genome ---

int CQOVAView::GenomeSnpX(int c, int x, int i) const {
  if (!(m_nViewFlags & VIEW_BASE_INTERVAL)) return x + (i - m_pChromosomeStarts[1]) / kGenomeShrink;
  return x + ChromosomeStartTable[c] / kGenomeShrink + m_pPosition[std::size_t(RowOf(i))] / (10 * kGenomeShrink);
}

const std::vector<std::int32_t>& CQOVAView::GenomeOffsetsOfSlots() {
  GenomeOffsets& cache = m_genomeOffsets;
  const std::uint32_t axis = m_nViewFlags & (VIEW_BASE_INTERVAL | VIEW_COMBINED_ARRAY);
  const std::size_t end = std::size_t(std::max(0, m_pChromosomeStarts[24]));
  if (cache.table != m_pBasicData || cache.type != m_nArrayType || cache.axis != axis || cache.x.size() != end) {
    cache.x.assign(end, 0);
    for (int c = 1; c <= 23; ++c)
      for (int i = m_pChromosomeStarts[c]; i < m_pChromosomeStarts[c + 1]; ++i)
        cache.x[std::size_t(i)] = GenomeSnpX(c, 0, i);
    cache.table = m_pBasicData;
    cache.type = m_nArrayType;
    cache.axis = axis;
  }
  return cache.x;
}

int CQOVAView::GenomeRowWidth() const {
  if (m_nViewFlags & VIEW_BASE_INTERVAL) return ChromosomeStartTable[24] / kGenomeShrink;
  return m_pChromosomeStarts ? (m_pChromosomeStarts[24] - m_pChromosomeStarts[1]) / kGenomeShrink : 0;
}

void CQOVAView::DrawGenomeAxes(CDC* dc, int x, int y, const std::array<std::string, 3>& labels) {
  const int w = GenomeRowWidth();
  DrawAxes(dc, x, w, y, labels);
  const CDisplaySetting::ColorKeys& k = m_pDisplaySetting->COLOR;
  CPen separator(k.LINETYPE11, 1, k.C11);
  CPen* previous = dc->SelectObject(&separator);
  const int y0 = y + 100;
  for (int c = 2; c <= 23; ++c) {
    const int xc = (m_nViewFlags & VIEW_BASE_INTERVAL)
                       ? x + ChromosomeStartTable[c] / kGenomeShrink
                       : x + (m_pChromosomeStarts[c] - m_pChromosomeStarts[1]) / kGenomeShrink;
    dc->MoveTo(xc, y0 - 100);
    dc->LineTo(xc, y0 + 100);
  }
  dc->SelectObject(previous);
}

void CQOVAView::DrawGenomeCopyNumberPlot(CDC* dc, int x, int y) {
  const bool log = (m_nViewFlags & VIEW_LOG_SCALE) != 0;
  const int m = Magnification();
  DrawGenomeAxes(dc, x, y, AxisLabels(AxisKind::CopyNumber, log, m));
  const int yb = log ? y + 100 : y + 100 + m;
  if (m_pRatio.size() < std::size_t(std::max(0, m_pChromosomeStarts[24]))) return;
  const std::int32_t* offsets = GenomeOffsetsOfSlots().data();
  const std::int32_t* valid = m_pValidFlag.data();
  const float* ratio = m_pRatio.data();
  std::vector<POINT> points;
  for (int c = 1; c <= 23; ++c) {
    points.clear();
    for (int i = m_pChromosomeStarts[c]; i < m_pChromosomeStarts[c + 1]; ++i)
      if (valid[i] == 1) points.push_back({x + offsets[i], ValueY(yb, ratio[i], m)});
    m_pixels.Draw(dc, points, ChromosomeColour(c));
  }
}

void CQOVAView::DrawGenomeCopyNumberPanel(CDC* dc, int x, int y) { DrawGenomeCopyNumberPlot(dc, x, y); }

void CQOVAView::DrawGenomeAllelePlot(CDC* dc, int x, int y) {
  const bool log = (m_nViewFlags & VIEW_LOG_SCALE) != 0;
  const int m = Magnification();
  DrawGenomeAxes(dc, x, y, AxisLabels(AxisKind::AlleleAnalysis, log, m));
  const int yb = log ? y + 100 : y + 100 + m;
  const std::size_t needed = std::size_t(std::max(0, m_pChromosomeStarts[24]));
  const std::vector<float>& a = m_pAverage[1];
  const std::vector<float>& b = m_pAverage[2];
  if (a.size() < needed || b.size() < needed || m_pCallReference.size() < needed) return;
  const CDisplaySetting::ColorKeys& k = m_pDisplaySetting->COLOR;
  const std::int32_t* offsets = GenomeOffsetsOfSlots().data();
  for (int c = 1; c <= 23; ++c) {
    for (int i = m_pChromosomeStarts[c]; i < m_pChromosomeStarts[c + 1]; ++i) {
      if (!QualifiesForAllele(i)) continue;
      const int xs = x + offsets[i];
      dc->SetPixel(xs, ValueY(yb, a[std::size_t(i)], m), k.C2);
      dc->SetPixel(xs, ValueY(yb, b[std::size_t(i)], m), k.C3);
    }
  }
}

void CQOVAView::DrawGenomeStateBar(CDC* dc, int x, int y) { DrawLevelBar(dc, 1, x, y, true, false); }

void CQOVAView::DrawGenomeLohLevelBar(CDC* dc, int x, int y) { DrawLevelBar(dc, 1, x, y, true, true); }

void CQOVAView::DrawGenomeSnpLines(CDC* dc, int x, int top, int bottom, COLORREF colour, int lastChromosome,
                                   bool (CQOVAView::*wanted)(int) const) {
  CPen pen(PS_SOLID, 1, colour);
  CPen* previous = dc->SelectObject(&pen);
  const std::int32_t* offsets = GenomeOffsetsOfSlots().data();
  for (int c = 1; c <= lastChromosome; ++c) {
    for (int i = m_pChromosomeStarts[c]; i < m_pChromosomeStarts[c + 1]; ++i) {
      if (!(this->*wanted)(i)) continue;
      const int xs = x + offsets[i];
      dc->MoveTo(xs, top);
      dc->LineTo(xs, bottom);
    }
  }
  dc->SelectObject(previous);
}

void CQOVAView::DrawGenomeCallBar(CDC* dc, int x, int y) {
  DrawGenomeSnpLines(dc, x, y, y + kCallBarHeight, m_pDisplaySetting->COLOR.C5, 23, &CQOVAView::HeterozygousTest);
}

void CQOVAView::DrawGenomeSecondCallBar(CDC* dc, int x, int y) {
  DrawGenomeSnpLines(dc, x, y, y + kSecondCallBarHeight, m_pDisplaySetting->COLOR.C6, 23,
                     &CQOVAView::LostHeterozygosity);
}

void CQOVAView::DrawGenomeMarkers(CDC* dc, int x, int y) {
  const CDisplaySetting::MarkerKeys& keys = m_pDisplaySetting->MARKER;
  if (keys.WIDTH <= 0) return;
  CPen pens[kMarkerPens];
  for (int n = 0; n < kMarkerPens; ++n) pens[n].CreatePen(PS_SOLID, 1, keys.COL[n % 7]);
  const bool base = (m_nViewFlags & VIEW_BASE_INTERVAL) != 0;
  // Slots from a file may lie anywhere: they are kept on the annotation.
  const int lastSlot = int(m_pIndexMap.size()) - 1;
  const auto xOf = [&](int c, int s) {
    if (!base) return x + (s - m_pChromosomeStarts[1]) / kGenomeShrink;
    // Markers do not go through the sort map, also for combined samples.
    const int position = m_pPosition[std::size_t(m_pIndexMap[std::size_t(std::clamp(s, 0, lastSlot))])];
    return x + ChromosomeStartTable[c] / kGenomeShrink + position / (10 * kGenomeShrink);
  };
  CPen* previous = dc->GetCurrentPen();
  for (const MarkerRegion& marker : m_pAnalyzed->Markers) {
    if (marker.Chromosome < 1 || marker.Chromosome > 23) continue;
    if (marker.Kind < MarkerRegion::kUserMarkerBase || marker.Kind > 39) continue;
    const int n = marker.UserMarkerNumber();
    dc->SelectObject(&pens[n]);
    const int from = xOf(marker.Chromosome, marker.FirstSnp), to = xOf(marker.Chromosome, marker.LastSnp);
    for (int j = 0; j < keys.WIDTH; ++j) {
      const int row = y + keys.INTERVAL * n + j;
      dc->MoveTo(from, row);
      dc->LineTo(to, row);
    }
  }
  dc->SelectObject(previous);
}
