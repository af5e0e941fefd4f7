#pragma once
// The calibrations a user makes from a range of SNPs of known copy number:
// the amplitude of the two arrays of a combined two-array sample made equal,
// and the fraction of normal cells in a tumour sample with the HMM state means
// it implies.
//
// The contamination model: a region of true copy number k in a sample whose
// share c of cells is normal shows the total ratio
//   (k(1 - c) + 2c + 1.47) / 3.47
// and, for an allele of k copies, the allele ratio
//   (k(1 - c) + c + 0.735) / 1.735
// (1.47 and 0.735 are the background the arrays add to every signal).
#include <array>
#include <optional>

namespace qova::analysis {

// Which array of a combined sample to scale, and by what.
struct AmplitudeAdjustment {
  int array = 0;  // 1 or 2
  double factor = 1.0;
};

// The array whose mean log2 ratio over the range lies nearer zero is stretched
// until it equals the other's; nothing when the means are equal, of opposite
// signs or zero.
[[nodiscard]] std::optional<AmplitudeAdjustment> ChooseAmplitudeAdjustment(double meanArray1, double meanArray2);

// The allele signal a contamination rate is measured on.
enum class ContaminationSignal { kBothAlleles = 1, kLargerAllele = 2, kSmallerAllele = 3 };

// The normal share c from the mean log2 ratio of a range of `loci` (1 or 3)
// copies of the total signal, or of one allele at the heterozygous SNPs (the
// larger allele has kept two copies, the smaller one; `loci` is not used).
// Shown as computed: below 0 or above 1 included.
[[nodiscard]] double ContaminationRate(ContaminationSignal signal, int loci, double meanLog2Ratio);

// The means of the total states 1..5 (states 0 and 6 keep theirs) at normal
// share c; nothing when one of them would be the logarithm of zero or less.
[[nodiscard]] std::optional<std::array<float, 5>> TotalMeansWithContamination(double c);
// The means of the allele states 0..3 (state 4 keeps its own); nothing as above.
[[nodiscard]] std::optional<std::array<float, 4>> AlleleMeansWithContamination(double c);

}  // namespace qova::analysis
