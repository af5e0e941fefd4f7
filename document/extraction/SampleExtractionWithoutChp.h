#pragma once
// A sample extracted from its CEL file alone: the allele intensities summed
// from the perfect-match cells as Extract Data sums them, and each SNP's
// genotype called from the cells themselves instead of a CHP file.
//
// The call, per SNP probe set: its cells go to four lists, perfect match and
// mismatch of allele A and of allele B, at most kMaxQuartets each, in cell
// order; the k-th entries of the four lists are quartet k. Four Gaussian
// models of a quartet (Null: one level for all four cells; AA: PM-A above the
// rest; AB: both PM cells above both MM cells; BB: PM-B above the rest) are
// scored by their log-likelihood, and for each model the quartets' margins
// over the best other model are ranked and summed into a Wilcoxon
// signed-rank W. Its upper-tail mid-p value comes from the exact null
// distribution of W over 6 or 10 quartets; the first of AA, AB, BB with
// p < kCallThreshold gives the call, else no call.
//
// Files (the names upper-cased first):
//   CEL  DataFolder/<FILE NAME>
//   CDF  LibraryFolder/<chip type>.CDF
//   out  ArrayDataFolder/<FILE NAME with ".CEL" replaced by ".CFH">
// As Extract Data, nothing is written unless the whole sample was extracted.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "document/extraction/SampleExtraction.h"

inline constexpr int kMaxQuartets = 10;
inline constexpr double kCallThreshold = 0.25;

// Count of sign patterns of ranks 1..n turned into the mid-p table: entry W
// is 2^n (P(W' > W) + P(W' = W) / 2) for the signed-rank statistic W' of n
// ranks. Built once; n is 6 or 10.
[[nodiscard]] const std::vector<double>& SignedRankTable(int n);

// The p-value of W over n quartets: the 6-quartet table over 128 when n is
// 6, the 10-quartet table over 2048 for any other n.
[[nodiscard]] double SignedRankPValue(int w, int n);

// Whether `n` quartets can give a call at all: when all of them favour one
// model, its p-value is below kCallThreshold. True for 6 and for 8 to 10 (7
// read in the 10-quartet table fall short).
[[nodiscard]] bool QuartetsCanCall(int n);

// The call of the three models' p-values: the first of AA (1), AB (2) and
// BB (3) below kCallThreshold, else no call (0).
[[nodiscard]] int GenotypeCallOf(double pAA, double pAB, double pBB);

// One cell of a quartet: its intensity and the standard deviation the CEL
// file gives.
struct QuartetCell {
  float Intensity = 0.0f;
  float Stdv = 0.0f;
};

// The cells of one SNP probe set, in the four lists.
struct SnpCellLists {
  std::vector<QuartetCell> PerfectA, MismatchA, PerfectB, MismatchB;
};

// The genotype call (0 none, 1 A, 2 AB, 3 B) of one SNP probe set. Quartets
// are formed from the entries every list holds; a quartet for which any
// model's variance is zero, negative or not finite is left out.
[[nodiscard]] int CallFromQuartets(const SnpCellLists& cells);

// The sample name of a listed CEL file: upper case, every ".CEL" removed.
[[nodiscard]] std::string SampleNameOfCelFile(std::string_view fileName);

// Extracts one sample from its CEL file. `request.ChpFileName` is the CEL
// file as listed, `request.PartnerFileName` the partner's CEL file. Never
// throws for a bad or missing file: the result says what went wrong.
[[nodiscard]] ExtractionResult ExtractSampleWithoutChpFiles(const ExtractionRequest& request,
                                                            const ExtractionFolders& folders);
