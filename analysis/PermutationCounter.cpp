#include "analysis/PermutationCounter.h"

#include <algorithm>
#include <bit>
#include <stdexcept>

#include "platform/ParallelFor.h"

namespace qova::analysis {

namespace {

// Counts and indexes stay well inside int.
constexpr std::size_t kMaxSamples = std::size_t{1} << 24;
constexpr std::size_t kMaxSnps = std::size_t{1} << 24;

// SNPs laid out together: their planes stay in cache while every sample's
// calls for them are read.
constexpr std::size_t kLayoutBlock = 2048;

// The planes of a SNP: samples with an A allele (AA or AB), samples AA, and
// samples without a call. a' = |A1 & m| + |A2 & m|; the no-call plane is
// mostly empty words, which the counting skips.
enum Plane : std::size_t { kHasA = 0, kHomA = 1, kNoCall = 2 };

// The bin of one table; a permutation whose chosen (or other) samples carry
// no allele of the SNP has no statistic and counts in bin 0.
[[gnu::always_inline]] inline int TableBin(std::int64_t a, std::int64_t b, std::int64_t columnA, std::int64_t columnB) {
  if (a + b == 0 || a + b == columnA + columnB) return 0;
  return ChiSquareBin(AlleleChiSquare(a, b, columnA - a, columnB - b));
}

// The counting loop; Words > 0 fixes the mask length at compile time for the
// common sample counts, 0 takes it at run time. Inlined into each of the
// dispatchers below, so it is compiled once per instruction set.
//
// The four divisions of a statistic cost more than the rest of a table, and
// within a batch one SNP meets few distinct tables: the chosen samples carry
// a' A alleles and have `missing` no calls, and missing is 0 to the SNP's
// no-call count, usually a handful. So the loop first tallies the batch's
// tables by (missing, a') and then bins each distinct one once. SNPs with
// more no calls than the tally has rows take every table's statistic.
template <int Words>
[[gnu::always_inline]] inline void CountTables(const PermutationCounter::Layout& layout, const std::uint64_t* masks,
                                               int count, std::size_t first, std::size_t last,
                                               std::int64_t* histogram) {
  const int w = Words > 0 ? Words : layout.words;
  const auto stride = static_cast<std::size_t>(3 * w);
  const int chosen = layout.chosen;
  const int width = 2 * chosen + 1;
  std::vector<std::int32_t> tally(static_cast<std::size_t>(width) * static_cast<std::size_t>(layout.tallyRows), 0);
  for (std::size_t v = first; v < last; ++v) {
    const std::uint64_t* hasA = layout.planes + v * stride;
    const std::uint64_t* homA = hasA + w;
    const std::uint64_t* noCall = homA + w;
    const std::int64_t columnA = layout.alleles[2 * v];
    const std::int64_t columnB = layout.alleles[2 * v + 1];
    const int rows = std::min(layout.noCalls[v], chosen) + 1;
    const bool tallied = rows <= layout.tallyRows;
    int lowest = width, highest = -1;
    const std::uint64_t* mask = masks;
    for (int k = 0; k < count; ++k, mask += w) {
      int a = 0, missing = 0;
      for (int j = 0; j < w; ++j) {
        a += std::popcount(hasA[j] & mask[j]) + std::popcount(homA[j] & mask[j]);
        if (noCall[j] != 0) missing += std::popcount(noCall[j] & mask[j]);
      }
      if (!tallied) {
        ++histogram[TableBin(a, 2 * (chosen - missing) - a, columnA, columnB)];
        continue;
      }
      ++tally[static_cast<std::size_t>(missing * width + a)];
      lowest = std::min(lowest, a);
      highest = std::max(highest, a);
    }
    if (!tallied) continue;
    for (int missing = 0; missing < rows; ++missing) {
      const int alleles = 2 * (chosen - missing);
      std::int32_t* row = tally.data() + static_cast<std::size_t>(missing * width);
      for (int a = lowest; a <= highest; ++a) {
        if (row[a] == 0) continue;
        histogram[TableBin(a, alleles - a, columnA, columnB)] += row[a];
        row[a] = 0;
      }
    }
  }
}

[[gnu::always_inline]] inline void CountAnyWords(const PermutationCounter::Layout& layout, const std::uint64_t* masks,
                                                 int count, std::size_t first, std::size_t last,
                                                 std::int64_t* histogram) {
  switch (layout.words) {
    case 1: CountTables<1>(layout, masks, count, first, last, histogram); break;
    case 2: CountTables<2>(layout, masks, count, first, last, histogram); break;
    case 3: CountTables<3>(layout, masks, count, first, last, histogram); break;
    case 4: CountTables<4>(layout, masks, count, first, last, histogram); break;
    default: CountTables<0>(layout, masks, count, first, last, histogram); break;
  }
}

void CountPortable(const PermutationCounter::Layout& layout, const std::uint64_t* masks, int count, std::size_t first,
                   std::size_t last, std::int64_t* histogram) {
  CountAnyWords(layout, masks, count, first, last, histogram);
}

// The baseline x86-64 instruction set has no population count, and the
// library's replacement costs a call per word; the counting is mostly
// popcounts, so on x86-64 it is compiled a second time for processors that
// have the instruction and chosen at run time. Both give the same counts.
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define QOVA_POPCNT_DISPATCH 1
[[gnu::target("popcnt")]] void CountPopcnt(const PermutationCounter::Layout& layout, const std::uint64_t* masks,
                                           int count, std::size_t first, std::size_t last, std::int64_t* histogram) {
  CountAnyWords(layout, masks, count, first, last, histogram);
}
#endif

}  // namespace

PermutationCounter::PermutationCounter(const std::vector<const std::uint8_t*>& samples,
                                       const std::vector<std::int32_t>& positions, int chosen,
                                       platform::ParallelFor& pool)
    : chosen_(chosen) {
  if (samples.size() > kMaxSamples || positions.size() > kMaxSnps || chosen < 0 ||
      static_cast<std::size_t>(chosen) > samples.size()) {
    throw std::length_error("permutation counting: too many samples or SNPs");
  }
  words_ = MaskWords(static_cast<int>(samples.size()));
  const std::size_t w = static_cast<std::size_t>(words_);
  planes_.assign(positions.size() * 3 * w, 0);
  alleles_.assign(2 * positions.size(), 0);
  noCalls_.assign(positions.size(), 0);
  pool.Run(positions.size(), [&](int, std::size_t first, std::size_t last) {
    for (std::size_t block = first; block < last; block += kLayoutBlock) {
      const std::size_t end = std::min(last, block + kLayoutBlock);
      for (std::size_t s = 0; s < samples.size(); ++s) {
        const std::uint8_t* calls = samples[s];
        const std::uint64_t bit = std::uint64_t{1} << (s % 64);
        const std::size_t word = s / 64;
        for (std::size_t v = block; v < end; ++v) {
          std::uint64_t* planes = planes_.data() + 3 * v * w + word;
          switch (calls[positions[v]]) {
            case 1:  // AA
              planes[kHasA * w] |= bit;
              planes[kHomA * w] |= bit;
              alleles_[2 * v] += 2;
              break;
            case 2:  // AB
              planes[kHasA * w] |= bit;
              ++alleles_[2 * v];
              ++alleles_[2 * v + 1];
              break;
            case 3:  // BB
              alleles_[2 * v + 1] += 2;
              break;
            default:
              planes[kNoCall * w] |= bit;
              ++noCalls_[v];
              break;
          }
        }
      }
    }
  });
  // Rows enough for the SNP with the most no calls, within the size limit.
  int rows = 1;
  for (std::int32_t missing : noCalls_) rows = std::max(rows, std::min(missing, chosen) + 1);
  const auto width = static_cast<std::size_t>(2 * chosen + 1);
  tallyRows_ = static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(rows), std::max<std::size_t>(1, tallyCells_ / width)));
}

bool PermutationCounter::popcountInstruction_ = true;
std::size_t PermutationCounter::tallyCells_ = PermutationCounter::kTallyCells;

void PermutationCounter::Count(const std::uint64_t* masks, int count, std::size_t first, std::size_t last,
                               std::int64_t* histogram) const {
  const Layout layout{planes_.data(), alleles_.data(), noCalls_.data(), words_, chosen_, tallyRows_};
#ifdef QOVA_POPCNT_DISPATCH
  static const bool hasPopcnt = __builtin_cpu_supports("popcnt");
  if (hasPopcnt && popcountInstruction_) {
    CountPopcnt(layout, masks, count, first, last, histogram);
    return;
  }
#endif
  CountPortable(layout, masks, count, first, last, histogram);
}

}  // namespace qova::analysis
