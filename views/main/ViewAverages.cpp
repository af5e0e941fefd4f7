// The moving averages the panels draw: over a window of the qualifying slots
// of one chromosome, never across its ends.
#include <algorithm>
#include <cmath>

#include "core/ArrayData.h"
#include "views/main/QOVAView.h"

namespace {

// The most values one window collects.
constexpr int kMaxWindow = 50;

}  // namespace

bool CQOVAView::QualifiesForAllele(int i) const {
  if (m_pValidFlag[std::size_t(i)] != 1) return false;
  return m_bAlleleAllSnps || m_pCallReference[std::size_t(i)] == kCallAB;
}

void CQOVAView::ComputeMovingAverage(int series, int mode, bool isLog) {
  if (series < 1 || series > 4 || !m_pChromosomeStarts) return;
  std::vector<float>& out = m_pAverage[std::size_t(series - 1)];
  const std::span<const float> first = series == 3 ? m_pRatioB : series == 1 ? m_pLogRatio : m_pRatioA;
  if (out.empty() || first.empty() || (series == 4 && m_pRatioB.empty())) return;
  const int w = std::clamp(m_nAverageNumber, 1, kMaxWindow);
  const int before = w / 2;
  const int after = w - before - 1;

  std::vector<int> slots;
  std::vector<double> values;
  for (int c = 1; c <= 23; ++c) {
    // The qualifying slots of the chromosome in order, and their values; a
    // window of slot k is then simply k - before .. k + after of this list.
    slots.clear();
    values.clear();
    for (int i = m_pChromosomeStarts[c]; i < m_pChromosomeStarts[c + 1]; ++i) {
      const bool qualifies = series == 1 ? m_pValidFlag[std::size_t(i)] == 1 : QualifiesForAllele(i);
      if (!qualifies) continue;
      double v = series == 4 ? double(m_pRatioA[std::size_t(i)]) - m_pRatioB[std::size_t(i)] : first[std::size_t(i)];
      if (!isLog) v = std::exp2(v);
      slots.push_back(i);
      values.push_back(v);
    }
    const int count = int(slots.size());
    for (int k = 0; k < count; ++k) {
      const int from = std::max(0, k - before);
      const int to = std::min(count - 1, k + after);
      const int collected = to - from + 1;
      double sum = 0, smallest = values[std::size_t(from)], largest = smallest;
      for (int j = from; j <= to; ++j) {
        sum += values[std::size_t(j)];
        smallest = std::min(smallest, values[std::size_t(j)]);
        largest = std::max(largest, values[std::size_t(j)]);
      }
      double average;
      if (collected <= 2)
        average = sum / collected;
      else if (mode == 1)
        average = (sum - smallest - largest) / (collected - 2);
      else
        average = sum / collected;
      out[std::size_t(slots[std::size_t(k)])] = float(average);
    }
  }

  if (series != 4) return;
  double sum = 0;
  long long count = 0;
  for (int i = m_pChromosomeStarts[1]; i < m_pChromosomeStarts[24]; ++i) {
    if (!QualifiesForAllele(i)) continue;
    sum += out[std::size_t(i)];
    ++count;
  }
  if (count == 0) return;
  const double mean = sum / double(count);
  const double factor = m_fAlleleAmplitude;
  for (int i = m_pChromosomeStarts[1]; i < m_pChromosomeStarts[24]; ++i) {
    if (QualifiesForAllele(i)) out[std::size_t(i)] = float((out[std::size_t(i)] - mean) * factor);
  }
}
