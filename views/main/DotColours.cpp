// The colour of each copy-number dot: plain, or marked by how its PCR
// fragment follows the previous SNP's, or marked as an outlier of its run of
// equal states.
#include <cmath>

#include "core/AnalyzedData.h"
#include "core/ArrayTypes.h"
#include "views/main/QOVAView.h"

namespace {

// A run of equal states whose values decide its outliers.
struct StateRun {
  int first = 0;
  int state = 0;
  double sum = 0, squares = 0;
  int count = 0;
};

}  // namespace

void CQOVAView::ComputeDotColours() {
  const CDisplaySetting& d = *m_pDisplaySetting;
  m_pDotColour.clear();
  if (m_nViewFlags & VIEW_MULTIPLE) {
    m_pDotColour.assign(std::size_t(qova::core::kSampleSnpCapacity), d.COLOR.C7);
    return;
  }
  m_pDotColour.assign(std::size_t(std::max(0, m_pAnalyzed->Header.SnpCount)), d.COLOR.C7);
  const auto& c2 = d.COLOR2;
  if (c2.FRAG != 0 && !(m_nViewFlags & VIEW_COMBINED_ARRAY)) {
    for (int c = 1; c <= 23; ++c) {
      int previous = -100;
      for (int i = m_pChromosomeStarts[c]; i < m_pChromosomeStarts[c + 1]; ++i) {
        if (m_pValidFlag[std::size_t(i)] == 0) continue;
        const int f = m_pFragmentNumber[std::size_t(RowOf(i))];
        COLORREF& colour = m_pDotColour[std::size_t(i)];
        if (f == previous && c2.FRAG_SAME)
          colour = c2.SAME;
        else if (f == previous + 1 && c2.FRAG_NEXT)
          colour = c2.NEXT;
        else if (f == previous + 2 && c2.FRAG_ONE)
          colour = c2.ONE;
        previous = f;
      }
    }
    return;
  }
  if (c2.SD == 0) return;
  for (int c = 1; c <= 22; ++c) {
    const int begin = m_pChromosomeStarts[c];
    const int end = m_pChromosomeStarts[c + 1];
    if (begin >= end) continue;
    // Colours the outliers of `run`, whose slots end before `stop`.
    const auto close = [&](const StateRun& run, int stop) {
      if (run.count < 3) return;
      const double n = run.count;
      const float mean = float(run.sum / n);
      // Rounding can leave the variance of equal values a hair below zero.
      const float variance = std::max(0.0f, float((run.squares - run.sum * run.sum / n) / (n - 1)));
      const float sd = std::sqrt(variance);
      for (int i = run.first; i < stop; ++i) {
        const float v = m_pRatio[std::size_t(i)];
        if (v < mean - 2 * sd || v > mean + 2 * sd) m_pDotColour[std::size_t(i)] = c2.TWO_SD;
      }
    };
    StateRun run;
    run.first = begin;
    run.state = m_pCopyNumberState[std::size_t(begin)];
    for (int i = begin; i < end; ++i) {
      if (m_pValidFlag[std::size_t(i)] == 0) continue;
      const double v = m_pRatio[std::size_t(i)];
      if (m_pCopyNumberState[std::size_t(i)] != run.state) {
        close(run, i);
        run = StateRun{i, m_pCopyNumberState[std::size_t(i)], 0, 0, 0};
      }
      run.sum += v;
      run.squares += v * v;
      ++run.count;
    }
    close(run, end);
  }
}
