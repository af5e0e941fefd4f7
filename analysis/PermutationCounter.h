#pragma once
// Counting the permuted 2 x 2 allele tables of the association test fast.
//
// A permutation chooses n1 of the S samples as "cases". Its table for one SNP
// needs only the A and B alleles among the chosen samples, which three bit
// planes over the samples give with AND and popcount: for the chosen-sample
// mask m, a' = |(AA or AB) & m| + |AA & m|, and b' = 2 (n1 - |none & m|) - a'
// with "none" the samples without a call. The other cells follow from the
// SNP's allele totals. Within a batch of masks the SNP loop is
// the outer one, so each SNP's planes are read once per batch.
//
// The statistic and its bin are the same inline functions for the observed
// and the permuted tables, so both sides of a P value are formed alike.
#include <cstdint>
#include <vector>

namespace platform {
class ParallelFor;
}

namespace qova::analysis {

// Bins of the null histogram: bin k holds the statistics whose 100 chi^2
// truncates to k; the last bin also takes every larger value.
inline constexpr int kNullBins = 10001;
inline constexpr int kTopBin = kNullBins - 1;

// Pearson's chi-square of the allele table (a b / c d), without continuity
// correction: T D^2 / (a+b) / (c+d) / (a+c) / (b+d) with D = ad - bc, the
// numerator in double, divided in that order, rounded to single precision.
// Only for tables without an empty row or column.
[[nodiscard]] inline float AlleleChiSquare(std::int64_t a, std::int64_t b, std::int64_t c, std::int64_t d) {
  const std::int64_t D = a * d - b * c;
  const double numerator = static_cast<double>(a + b + c + d) * static_cast<double>(D) * static_cast<double>(D);
  return static_cast<float>(numerator / static_cast<double>(a + b) / static_cast<double>(c + d) /
                            static_cast<double>(a + c) / static_cast<double>(b + d));
}

// The bin of a statistic: 100 chi^2 formed in double from the float (exact,
// so observed and permuted values bin alike), truncated, at most the top bin.
[[nodiscard]] inline int ChiSquareBin(float chiSquare) {
  const double x = 100.0 * static_cast<double>(chiSquare);
  return x >= static_cast<double>(kTopBin) ? kTopBin : static_cast<int>(x);
}

// The 64-bit words of a mask over `samples` samples.
[[nodiscard]] constexpr int MaskWords(int samples) { return (samples + 63) / 64; }

class PermutationCounter {
 public:
  // Lays out the calls (0 none, 1 AA, 2 AB, 3 BB; other codes count as none)
  // of `samples` at the positions listed, on the pool's workers, for masks
  // that choose `chosen` samples each. Throws std::length_error beyond 2^24
  // samples or SNPs.
  PermutationCounter(const std::vector<const std::uint8_t*>& samples, const std::vector<std::int32_t>& positions,
                     int chosen, platform::ParallelFor& pool);

  [[nodiscard]] int Words() const { return words_; }
  [[nodiscard]] std::size_t Snps() const { return alleles_.size() / 2; }

  // Adds one count per mask and SNP to histogram[bin] for the SNPs
  // [first, last) (indexes into the positions), `masks` holding `count`
  // masks of Words() words each, every one with `chosen` bits set. A table
  // with an empty row counts in bin 0.
  void Count(const std::uint64_t* masks, int count, std::size_t first, std::size_t last,
             std::int64_t* histogram) const;

  // Where the processor has a population-count instruction it is used; tests
  // and benchmarks switch it off (before counting starts) to compare.
  static void UsePopcountInstruction(bool use) { popcountInstruction_ = use; }
  // The largest tally of distinct tables a worker keeps (int32 cells); SNPs
  // with more no calls than it has room for take the slower path. Tests
  // lower it (before counting starts) to reach that path.
  static constexpr std::size_t kTallyCells = std::size_t{1} << 20;
  static void SetTallyCells(std::size_t cells) { tallyCells_ = cells; }

  // What the counting loop reads.
  struct Layout {
    const std::uint64_t* planes;   // per SNP: AA or AB, AA, no call; words each
    const std::int32_t* alleles;   // per SNP: A and B alleles over all samples
    const std::int32_t* noCalls;   // per SNP: samples without a call
    int words;
    int chosen;
    int tallyRows;                 // see the counting loop
  };

 private:
  int words_ = 0;
  int chosen_ = 0;
  int tallyRows_ = 0;
  std::vector<std::uint64_t> planes_;
  std::vector<std::int32_t> alleles_;
  std::vector<std::int32_t> noCalls_;

  static bool popcountInstruction_;
  static std::size_t tallyCells_;
};

}  // namespace qova::analysis
