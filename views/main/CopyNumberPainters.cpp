// The 300-unit panels of total copy number: the axes they share with the
// allele panels, the dot plot with the HMM state over it, and the moving
// average.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "platform/Numeric.h"
#include "platform/Strings.h"
#include "platform/ui/DC.h"
#include "views/main/CopyNumberAxes.h"
#include "views/main/QOVAView.h"

using namespace qova::views::main;
namespace views = qova::views;

namespace {

// The axis lines lie at the centre and at these offsets from it, in order.
constexpr int kAxisOffsets[5] = {0, -100, 100, -50, 50};
// The least side of a point of the Points draw mode, in device pixels.
constexpr long long kDotPixels = 3;

// A value with at most two decimals, without trailing zeros.
std::string AxisNumber(double value) {
  const double rounded = std::round(value * 100.0) / 100.0;
  std::string text = platform::Format("%.2f", rounded == 0.0 ? 0.0 : rounded);
  while (text.back() == '0') text.pop_back();
  if (text.back() == '.') text.pop_back();
  return text;
}

}  // namespace

namespace qova::views::main {

std::array<std::string, 3> AxisLabels(AxisKind kind, bool logScale, int magnification) {
  // What the lines at the centre, 100 below and 100 above stand for: log2
  // ratios on the log scale, copies on the linear one (two for the total
  // signal's ratio 1, one for an allele's).
  const double m = magnification > 0 ? magnification : 100;
  if (logScale || kind == AxisKind::AlleleDifference)
    return {AxisNumber(0), AxisNumber(-100 / m), AxisNumber(100 / m)};
  const double copies = kind == AxisKind::CopyNumber ? 2.0 : 1.0;
  return {AxisNumber(copies), AxisNumber(copies * (m - 100) / m), AxisNumber(copies * (m + 100) / m)};
}

}  // namespace qova::views::main

void CQOVAView::DrawDots(CDC* dc, std::vector<POINT>& points, COLORREF colour) {
  // A pixel per SNP reads as a line wherever the SNPs lie closer than a
  // pixel, and is lost among the axes where they do not. A point is a small
  // square of device pixels: the pens are in logical units, so a point as
  // wide as a line would merge with its neighbours when zoomed in.
  if (points.empty()) return;
  const int side = int(kDotPixels) * std::max(1, dc->GetDeviceCaps(LOGPIXELSX) / 96);
  dc->LPtoDP(points.data(), int(points.size()));
  dc->SaveDC();
  dc->SetMapMode(MM_TEXT);
  dc->SetWindowOrg(0, 0);
  dc->SetViewportOrg(0, 0);
  for (const POINT& p : points) dc->FillSolidRect(p.x - side / 2, p.y - side / 2, side, side, colour);
  dc->RestoreDC(-1);
  points.clear();
}

void CQOVAView::DrawAxes(CDC* dc, int x, int w, int y, const std::array<std::string, 3>& labels) {
  const CDisplaySetting::ColorKeys& k = m_pDisplaySetting->COLOR;
  const int y0 = y + 100;
  CPen centre(k.LINETYPE9, 1, k.C9), outer(k.LINETYPE10, 1, k.C10), middle(k.LINETYPE11, 1, k.C11);
  CPen* pens[5] = {&centre, &outer, &outer, &middle, &middle};
  CPen* previousPen = dc->GetCurrentPen();
  for (int n = 0; n < 5; ++n) {
    dc->SelectObject(pens[n]);
    dc->MoveTo(x, y0 + kAxisOffsets[n]);
    dc->LineTo(x + w, y0 + kAxisOffsets[n]);
  }
  dc->SelectObject(previousPen);

  CFont font;
  font.CreatePointFont(kAxisLabelFont, "");
  CFont* previousFont = dc->SelectObject(&font);
  // Centre, 100 below, 100 above.
  const int lines[3] = {y0, y0 + 100, y0 - 100};
  for (int n = 0; n < 3; ++n) {
    CRect box(x - 1, lines[n] - 1, x, lines[n] + 1);
    dc->DrawText(labels[n], &box, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
  }
  dc->SelectObject(previousFont);
}

int CQOVAView::FirstQualifying(int c, bool alleleSnps) const {
  const int begin = m_pChromosomeStarts[c];
  const int last = m_pChromosomeStarts[c + 1] - 1;
  for (int i = begin; i < last; ++i) {
    if (alleleSnps ? QualifiesForAllele(i) : m_pValidFlag[std::size_t(i)] == 1) return i;
  }
  return last;
}

void CQOVAView::DrawAverageCurve(CDC* dc, int c, int x, int yb, std::span<const float> average, bool alleleSnps) {
  const int begin = m_pChromosomeStarts[c];
  const int end = m_pChromosomeStarts[c + 1];
  if (average.size() < std::size_t(std::max(0, end)) || begin >= end) return;
  const int m = Magnification();
  const COLORREF colour = dc->GetCurrentPen()->m_color;
  const auto qualifies = [&](int i) { return alleleSnps ? QualifiesForAllele(i) : m_pValidFlag[std::size_t(i)] == 1; };
  if (m_nDrawMode == 1) {
    std::vector<POINT> points;
    for (int i = begin; i < end; ++i)
      if (qualifies(i)) points.push_back({SnpX(c, x, i), ValueY(yb, average[std::size_t(i)], m)});
    DrawDots(dc, points, colour);
  } else if (m_nDrawMode == 2) {
    const int first = FirstQualifying(c, alleleSnps);
    dc->MoveTo(SnpX(c, x, first), ValueY(yb, average[std::size_t(first)], m));
    for (int i = begin; i < end; ++i)
      if (qualifies(i)) dc->LineTo(SnpX(c, x, i), ValueY(yb, average[std::size_t(i)], m));
  }
}

void CQOVAView::DrawStateLine(CDC* dc, int c, int x, int yb, std::span<const std::int32_t> states, const float* levels,
                              int levelCount, bool alleleSnps) {
  const int begin = m_pChromosomeStarts[c];
  const int end = m_pChromosomeStarts[c + 1];
  if (states.size() < std::size_t(std::max(0, end)) || begin >= end) return;
  const int m = Magnification();
  // A state outside the level table (a marker's kind 7..31, a negative state)
  // is drawn at level 0.0.
  const auto levelY = [&](std::int32_t state) {
    return ValueY(yb, state >= 0 && state < levelCount ? levels[state] : 0.0f, m);
  };
  const auto qualifies = [&](int i) { return alleleSnps ? QualifiesForAllele(i) : m_pValidFlag[std::size_t(i)] == 1; };
  if (m_pDisplaySetting->ITEMS.HMMHONLY == 0) {
    const int first = FirstQualifying(c, alleleSnps);
    dc->MoveTo(SnpX(c, x, first), levelY(states[std::size_t(first)]));
    for (int i = begin; i < end; ++i)
      if (qualifies(i)) dc->LineTo(SnpX(c, x, i), levelY(states[std::size_t(i)]));
    return;
  }
  std::int32_t previous = -1;
  for (int i = begin; i < end; ++i) {
    if (!qualifies(i)) continue;
    const std::int32_t state = states[std::size_t(i)];
    if (state == previous) {
      dc->LineTo(SnpX(c, x, i), levelY(state));
    } else {
      dc->MoveTo(SnpX(c, x, i), levelY(state));
      previous = state;
    }
  }
}

void CQOVAView::DrawCopyNumberPlot(CDC* dc, int c, int x, int y, int itemMask) {
  const bool log = (m_nViewFlags & VIEW_LOG_SCALE) != 0;
  const int m = Magnification();
  DrawAxes(dc, x, ColumnWidth(c), y, AxisLabels(AxisKind::CopyNumber, log, m));
  const CDisplaySetting::ColorKeys& k = m_pDisplaySetting->COLOR;
  CPen hmm(PS_SOLID, k.W4, k.C4);
  CPen* previous = dc->SelectObject(&hmm);
  const int yb = log ? y + 100 : y + 100 + m;
  if (itemMask & 0x400) {
    for (int i = m_pChromosomeStarts[c]; i < m_pChromosomeStarts[c + 1]; ++i) {
      if (m_pValidFlag[std::size_t(i)] != 1) continue;
      dc->SetPixel(SnpX(c, x, i), ValueY(yb, m_pRatio[std::size_t(i)], m), m_pDotColour[std::size_t(i)]);
    }
  }
  if ((itemMask & 0x4) && (c < 23 || m_bHmmIncludeX))
    DrawStateLine(dc, c, x, yb, m_pCopyNumberState, m_fHmmLevel, 7, false);
  dc->SelectObject(previous);
}

void CQOVAView::DrawAveragePanel(CDC* dc, int c, int x, int y, AxisKind kind, std::span<const float> average,
                                 bool alleleSnps) {
  const bool log = (m_nViewFlags & VIEW_LOG_SCALE) != 0;
  const int m = Magnification();
  DrawAxes(dc, x, ColumnWidth(c), y, AxisLabels(kind, log, m));
  const CDisplaySetting::ColorKeys& k = m_pDisplaySetting->COLOR;
  CPen pen(PS_SOLID, k.W1, k.C1);
  CPen* previous = dc->SelectObject(&pen);
  DrawAverageCurve(dc, c, x, log ? y + 100 : y + 100 + m, average, alleleSnps);
  dc->SelectObject(previous);
}

void CQOVAView::DrawCopyNumberPanel(CDC* dc, int c, int x, int y) {
  DrawAveragePanel(dc, c, x, y, AxisKind::CopyNumber, m_pAverage[0], false);
}
