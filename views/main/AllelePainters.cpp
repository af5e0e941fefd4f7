// The two allele panels: the averaged allele A and B signals of the
// informative SNPs with the allele HMM states over them, and the centred
// allele difference.
#include <vector>

#include "platform/ui/DC.h"
#include "views/main/CopyNumberAxes.h"
#include "views/main/QOVAView.h"

using namespace qova::views::main;
namespace views = qova::views;

namespace {

// The allele HMM lines keep their own colours, whatever the settings say.
constexpr COLORREF kAlleleStateA = RGB(168, 0, 0);
constexpr COLORREF kAlleleStateB = RGB(0, 255, 0);

}  // namespace

void CQOVAView::DrawAlleleAnalysisPanel(CDC* dc, int c, int x, int y) {
  const bool log = (m_nViewFlags & VIEW_LOG_SCALE) != 0;
  const int m = Magnification();
  DrawAxes(dc, x, ColumnWidth(c), y, AxisLabels(AxisKind::AlleleAnalysis, log, m));
  const int yb = log ? y + 100 : y + 100 + m;
  const int mask = ItemMask();
  const CDisplaySetting::ColorKeys& k = m_pDisplaySetting->COLOR;
  CPen* previous = dc->GetCurrentPen();
  const int begin = m_pChromosomeStarts[c];
  const int end = m_pChromosomeStarts[c + 1];
  const auto& averageA = m_pAverage[1];
  const auto& averageB = m_pAverage[2];
  // A result without allele arrays (a .CFN while the allele switch is on)
  // has averages of nothing and no reference calls to pick the SNPs by.
  const std::size_t needed = std::size_t(std::max(0, end));
  if (m_pCallReference.size() < needed || m_pRatioA.size() < needed) return;
  const bool averaged = averageA.size() >= needed && averageB.size() >= averageA.size();
  if ((mask & 0x8) && averaged && begin < end) {
    if (m_nDrawMode == 1) {
      std::vector<POINT> pointsA, pointsB;
      for (int i = begin; i < end; ++i) {
        if (!QualifiesForAllele(i)) continue;
        const int xs = SnpX(c, x, i);
        pointsA.push_back({xs, ValueY(yb, averageA[std::size_t(i)], m)});
        pointsB.push_back({xs, ValueY(yb, averageB[std::size_t(i)], m)});
      }
      DrawDots(dc, pointsA, k.C2);
      DrawDots(dc, pointsB, k.C3);
    } else if (m_nDrawMode == 2) {
      CPen penA(PS_SOLID, k.W2, k.C2), penB(PS_SOLID, k.W3, k.C3);
      dc->SelectObject(&penA);
      DrawAverageCurve(dc, c, x, yb, averageA, true);
      dc->SelectObject(&penB);
      DrawAverageCurve(dc, c, x, yb, averageB, true);
      dc->SelectObject(previous);
    }
  }
  if ((mask & 0x1000) && (c < 23 || m_bHmmIncludeX)) {
    CPen penA(PS_SOLID, k.W2, kAlleleStateA), penB(PS_SOLID, k.W3, kAlleleStateB);
    dc->SelectObject(&penA);
    DrawStateLine(dc, c, x, yb, m_pAlleleStateA, m_fAlleleHmmLevel, 5, true);
    dc->SelectObject(&penB);
    DrawStateLine(dc, c, x, yb, m_pAlleleStateB, m_fAlleleHmmLevel, 5, true);
    dc->SelectObject(previous);
  }
}

void CQOVAView::DrawAlleleDifferencePanel(CDC* dc, int c, int x, int y) {
  DrawAveragePanel(dc, c, x, y, AxisKind::AlleleDifference, m_pAverage[3], true);
}
