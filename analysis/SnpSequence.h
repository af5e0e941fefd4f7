#pragma once
// The SNPs one decoding runs over: position-order indices of the analysed
// sample, in order, with their base-pair positions from the annotation table.
#include <cstdint>
#include <vector>

#include "core/BasicData.h"

namespace qova::analysis {

// The base-pair position of position-order SNP i. A sample combined from two
// arrays reaches its table row through the annotation's SortMap first.
[[nodiscard]] inline std::int32_t SnpPosition(const CBasicData& basic, bool combined, std::int32_t i) {
  const std::int32_t row = combined ? basic.IndexMap[basic.SortMap[i]] : basic.IndexMap[i];
  return basic.Position[row];
}

struct SnpSequence {
  std::vector<std::int32_t> Snps;
  std::vector<std::int32_t> Positions;

  // Collects the SNPs first..last (inclusive) for which use(i) holds.
  template <class Use>
  void Collect(const CBasicData& basic, bool combined, std::int32_t first, std::int32_t last, Use&& use) {
    Snps.clear();
    Positions.clear();
    // Table rows are in another order than positions: fetching the rows a
    // little ahead hides most of the cache misses of the scattered reads.
    constexpr std::int32_t kAhead = 16;
    for (std::int32_t i = first; i <= last; ++i) {
      if (i + kAhead <= last) __builtin_prefetch(&basic.Position[basic.IndexMap[i + kAhead]]);
      if (!use(i)) continue;
      Snps.push_back(i);
      Positions.push_back(SnpPosition(basic, combined, i));
    }
  }

  [[nodiscard]] std::size_t Size() const { return Snps.size(); }
  [[nodiscard]] bool Empty() const { return Snps.empty(); }
};

}  // namespace qova::analysis
