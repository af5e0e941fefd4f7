#pragma once
// Synthetic extracted samples (.CFH) for tests, benchmarks and the demo: a test
// sample, its paired normal sample and unrelated reference samples of any
// array family, with chosen copy-number segments, copy-neutral LOH, a planted
// fragment-length and GC bias, and genotype calls consistent with all of it.
// Everything depends only on the seed and the names: the same call always
// gives the same bytes.
//
// The model, per SNP row j of the annotation table and per allele X (A or B):
//
//   Signal_X = Scale * Affinity_X(j) * 2^Bias(j) * Response(copies_X(j)) * e^(Noise * z)
//
//  - Affinity_X(j): the probes' own brightness, log-normal: a part shared by
//    both alleles of the SNP (natural-log SD kAffinitySd) and a smaller part
//    of each allele's own (kAlleleAffinitySd); the same for every sample made
//    with one seed, so it cancels in the ratios of equal genotypes as real
//    probe effects do.
//  - Bias(j), in log2 units: a quadratic in the fragment length and one in the
//    GC content of the SNP (SampleBias), different per sample.
//  - Response(c): the signal of c copies of an allele relative to one copy,
//    kAlleleResponse. It is compressed the way array signals are, and chosen
//    so that the total log2 ratio of a region with N copies against a normal
//    sample lies near the default total HMM mean of state N (-1.24, -0.49, 0,
//    0.3, 0.657 for N = 0..4). Zero copies still give cross-hybridisation
//    signal, so no ratio is infinite.
//  - z: a standard normal draw per sample, SNP and allele; Noise is the
//    sample's noise level (natural-log SD of each allele signal).
//
// Genotypes: every individual draws a genotype per SNP from the annotation's
// heterozygosity h (AB with chance h, else AA or BB alike). A test sample and
// its paired normal sample are one individual; each unrelated reference is
// another. Inside a segment with allele copies (major, minor) a heterozygous
// SNP gets `major` copies of one allele and `minor` of the other (which allele
// is chosen per SNP, as the phase of real haplotypes is unknown); a
// homozygous SNP gets major + minor copies of its allele. Calls follow the
// copies: both alleles present AB, one present A or B, none "no call"; a small
// share kNoCallRate of calls is dropped to "no call" at random. Males carry
// one copy of X.
#include <cstdint>
#include <string>
#include <vector>

#include "core/ArrayData.h"
#include "core/BasicData.h"

namespace samplegen {

// Relative signal of 0..4 copies of one allele (one copy = 1).
inline constexpr float kAlleleResponse[5] = {0.423f, 1.0f, 1.52f, 2.0f, 2.4f};
inline constexpr int kMaxAlleleCopies = 4;
// Natural-log SDs of the probe affinity: shared by the SNP's two alleles, and
// each allele's own.
inline constexpr float kAffinitySd = 0.5f;
inline constexpr float kAlleleAffinitySd = 0.15f;
// Share of calls dropped to "no call".
inline constexpr float kNoCallRate = 0.002f;
// A realistic noise level: the corrected total log2 ratio of a test then has
// an SD near 0.16 against its paired normal and near 0.19 against one
// unrelated reference (genotypes differ there).
inline constexpr float kDefaultNoise = 0.1f;
// Where the bias quadratics are centred, and their units: the fragment
// length in kilobases from 1000 bp, the GC content in tenths from 0.45.
inline constexpr float kBiasFragmentCentre = 1000.0f;
inline constexpr float kBiasFragmentUnit = 1000.0f;
inline constexpr float kBiasGcCentre = 0.45f;
inline constexpr float kBiasGcUnit = 0.1f;

// A planted copy-number event on one chromosome, over position indexes
// FirstSnp..LastSnp (inclusive) of the sample's array type: the order of an
// analysed sample's arrays. Allele copies are given as the larger and the
// smaller count: (0,0) homozygous deletion, (1,0) loss, (2,0) copy-neutral
// LOH, (2,1) three copies, (2,2) or (3,1) four copies.
struct PlantedSegment {
  int Chromosome = 1;          // 1..22, 23 = X
  std::int32_t FirstSnp = 0;   // position index, inclusive
  std::int32_t LastSnp = 0;    // position index, inclusive
  int MajorCopies = 2;
  int MinorCopies = 0;

  [[nodiscard]] int TotalCopies() const { return MajorCopies + MinorCopies; }
  [[nodiscard]] bool IsCopyNeutralLoh() const { return MajorCopies == 2 && MinorCopies == 0; }
  [[nodiscard]] bool Contains(std::int32_t snp) const { return snp >= FirstSnp && snp <= LastSnp; }

  friend bool operator==(const PlantedSegment&, const PlantedSegment&) = default;
};

// Total copies of two alleles: a segment of `total` copies (0..4) with the
// usual allele split (0,0), (1,0), (1,1), (2,1), (2,2).
[[nodiscard]] PlantedSegment CopyNumberSegment(int chromosome, std::int32_t firstSnp, std::int32_t lastSnp, int total);
// Two copies of one parent's allele: LOH without a change of copy number.
[[nodiscard]] PlantedSegment CopyNeutralLohSegment(int chromosome, std::int32_t firstSnp, std::int32_t lastSnp);

// The planted log2 bias of one sample: Fragment1 * f + Fragment2 * f^2 +
// Gc1 * g + Gc2 * g^2 with f = (length - 1000) / 1000, g = (GC - 0.45) / 0.1.
struct SampleBias {
  float Fragment1 = 0.0f, Fragment2 = 0.0f;
  float Gc1 = 0.0f, Gc2 = 0.0f;

  // The bias at one SNP, in log2 units.
  [[nodiscard]] double At(std::int32_t fragmentLength, float gcContent) const;
  friend bool operator==(const SampleBias&, const SampleBias&) = default;
};

// A random bias whose four coefficients lie in [-amplitude, amplitude].
[[nodiscard]] SampleBias RandomBias(std::uint64_t seed, const std::string& sampleName, float amplitude = 0.15f);

// One sample to make.
struct SampleSpec {
  std::string Name;                       // the sample name (file name without .CFH)
  bool IsTest = false;
  std::string Sex = "F";                  // "F" or "M"
  std::uint64_t Individual = 0;           // whose genotypes: a test and its normal share it
  std::vector<PlantedSegment> Segments;   // events of this sample
  SampleBias Bias;
  float Noise = kDefaultNoise;
  float Scale = 2000.0f;                  // overall brightness
};

// Makes samples of one array type from one annotation table. The annotation
// must hold every row of the type's family (datagen::MakeAnnotation makes one).
class SampleGenerator {
 public:
  // Throws std::invalid_argument for an unknown type or an annotation that
  // does not fit it.
  SampleGenerator(std::string arrayType, const CBasicData& annotation, std::uint64_t seed);

  [[nodiscard]] const std::string& ArrayType() const { return arrayType_; }
  [[nodiscard]] int Type() const { return type_; }

  // The extracted sample of `spec`: header as the extraction writes it (both
  // base ranges over the autosomes, mode 1, N 2), IsTest, Sex, and per SNP the
  // two signals and the call. Segments that leave the type's range or their
  // chromosome throw std::invalid_argument.
  [[nodiscard]] CArrayData Make(const SampleSpec& spec) const;

  // Position index of every SNP's annotation row for this type, and back.
  [[nodiscard]] std::int32_t RowOfSnp(std::int32_t snp) const;
  // First and one past the last position index of chromosome c (1..23).
  [[nodiscard]] std::int32_t ChromosomeBegin(int chromosome) const;
  [[nodiscard]] std::int32_t ChromosomeEnd(int chromosome) const;

 private:
  std::string arrayType_;
  int type_ = 0;
  const CBasicData& annotation_;
  std::uint64_t seed_;
};

// A test sample with its references, and what was planted in each.
struct StudySpec {
  std::string ArrayType = "GenomeWideSNP_5";
  std::uint64_t Seed = 1;
  std::string TestName = "Test01";
  std::string Sex = "F";
  std::vector<PlantedSegment> Segments;   // planted in the test only
  bool WithSelfReference = true;          // the test's paired normal, "<TestName>N"
  int NonSelfReferences = 3;              // unrelated references "Ref01", "Ref02", ...
  float Noise = kDefaultNoise;
  float BiasAmplitude = 0.15f;            // 0 plants no bias
};

struct GeneratedSample {
  std::string Name;
  SampleSpec Spec;        // everything planted: segments, bias, noise, individual
};

struct Study {
  GeneratedSample Test;
  std::vector<GeneratedSample> References;  // the self reference first when there is one
  [[nodiscard]] std::vector<std::string> NonSelfReferenceNames() const;
};

// The specs of a study, without making anything.
[[nodiscard]] Study PlanStudy(const StudySpec& spec);

// Makes and writes every sample of the study as <folder><name>.CFH. The test's
// header names its paired normal (SelfReference, IsPaired) and lists the
// unrelated references as the reference selection writes them
// ("score$name$...", with NonSelfReferenceCount). Throws what the stores throw.
Study WriteStudy(const std::string& arrayDataFolder, const CBasicData& annotation, const StudySpec& spec);

// Planted total copies at position index `snp` (`normal` outside every segment).
[[nodiscard]] int PlantedTotalCopies(const std::vector<PlantedSegment>& segments, std::int32_t snp, int normal = 2);
// The planted segment that covers `snp`, or nullptr.
[[nodiscard]] const PlantedSegment* PlantedSegmentAt(const std::vector<PlantedSegment>& segments, std::int32_t snp);

}  // namespace samplegen
