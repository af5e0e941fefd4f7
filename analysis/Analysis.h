#pragma once
// The analysis engine. A command handler builds one on its stack, gives it the
// two folders, hands it the samples and the annotation table of the sample's
// family, asks for one or more computations and lets it go. It keeps no sample:
// only the two folders, the last fitted correction curve, the annotation values
// the fits regress on (gathered once per table) and, for a non-self analysis,
// the heterozygosity its LOH score assumes.
//
// Index spaces. The per-SNP arrays of an extracted sample (CArrayData) and of
// the annotation table (CBasicData) are in table order j; those of an analysed
// sample (CAnalyzedData) are in position order i (SNPs sorted by chromosome
// and position). The annotation's IndexMap takes i to j. Ranges come from the
// per-type chromosome tables of the sample's array type (ArrayTypeRanges).
//
// Arithmetic. Ratios are formed in float; logarithms and exponentials are
// evaluated in double and stored back as float (Log2Ratio). Per-SNP values are
// floats; long sums (fits, SDs, likelihoods, HMM costs) are kept in double.
//
// Settings and the per-type tables are read through the application-wide data
// object the engine is built with, on every call: a settings change between two
// operations takes effect in the second.
//
// The operations live in separate files by task: Normalize*.cpp (log2 ratios
// against references), Correction.cpp (fragment-length and GC fits),
// Statistics.cpp (smoothing, SD, mean state, combined copy), LohLikelihood.cpp,
// and the HMM, segment, reference-selection and association files.
#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class CAnalyzedData;
class CArrayData;
class CBasicData;
class CGlobalData;
class CProgramSetting;
struct SampleHeader;
namespace qova::analysis {
struct SampleCounts;
}

// Where the SNPs of one array type lie in position order. The chromosome row
// points into the application-wide chromosome table (not a copy).
struct ArrayTypeRanges {
  int Type = 0;                                  // type index 0..12
  const std::int32_t* ChromosomeStarts = nullptr;  // [c] first SNP of chromosome c (23 = X), [24] one past X
  std::int32_t First = 0;          // first SNP of the type
  std::int32_t Last = 0;           // last SNP of the type (inclusive)
  std::int32_t LastX = 0;          // last SNP of chromosome X (inclusive)
  std::int32_t LastAutosomes = 0;  // last SNP of chromosome 22 (inclusive)
  std::int32_t SnpCount = 0;       // length of every per-SNP array of a sample of the type

  // First SNP of chromosome c = 1..23, and one past its last.
  [[nodiscard]] std::int32_t ChromosomeBegin(int c) const { return ChromosomeStarts[c]; }
  [[nodiscard]] std::int32_t ChromosomeEnd(int c) const { return ChromosomeStarts[c + 1]; }
  // A header's base range {first, last, mode, N} cut to the SNPs that carry
  // ratios (chromosomes 1..X); empty when first > last.
  [[nodiscard]] std::pair<std::int32_t, std::int32_t> ClampToRatios(const std::array<std::int32_t, 4>& range) const {
    return {std::max(range[0], First), std::min(range[1], LastX)};
  }
};

// The six parameters of the gain/loss model, in the order of its dialog.
struct GainLossParameters {
  float GainThreshold = 0.06f;
  float LossThreshold = -0.06f;
  float NormalGivenAberration = 0.05f;  // a: P(normal | gain or loss)
  float AberrationGivenNormal = 0.05f;  // b: P(gain or loss | normal)
  float GainGivenLoss = 0.01f;          // c: P(gain | loss)
  float KosambiFactor = 1.0f;
};

// The population heterozygosity a non-self analysis assumes at every SNP when it
// scores LOH from the test sample's own calls.
inline constexpr float kNonSelfHeterozygosity = 0.3f;

class CAnalysis {
 public:
  // Which ratio series an operation reads: the total, or one allele.
  enum Series { kSeriesTotal = 0, kSeriesAlleleA = 1, kSeriesAlleleB = 2 };
  // What the correction fit regresses on.
  enum FitMode { kFitFragmentLength = 1, kFitGcContent = 2 };

  // `global` is the application-wide data object; it must outlive the engine.
  explicit CAnalysis(const CGlobalData& global);
  ~CAnalysis();
  CAnalysis(const CAnalysis&) = delete;
  CAnalysis& operator=(const CAnalysis&) = delete;

  // --- log2 ratios against references ---

  // Test against its paired reference (array-data folder + SelfReference +
  // ".CFH"). 0 on success; 1, after the message box, when the file is missing
  // (the analysed sample is then unchanged).
  int NormalizeBySelfReference(CArrayData& test, const CBasicData& basic, CAnalyzedData& analyzed);
  // Test against the references its header lists, by the allele-specific
  // switch. 0 on success; 1, after an error-log line, when no reference is
  // selected or a reference file is missing.
  int NormalizeByReferences(CArrayData& test, const CBasicData& basic, CAnalyzedData& analyzed);
  // Normalises the test against the first k candidates for k = 1..n and
  // returns the k whose total ratio has the smallest SD (the smaller k on ties).
  // The analysed sample is left with the ratios against all n. A candidate that
  // cannot be read ends the trial with an error-log line; an SD that cannot be
  // computed ranks nowhere; 1 when no k has one.
  int NormalizeForReferenceSelection(const CArrayData& test, CAnalyzedData& analyzed,
                                     const std::vector<std::string>& candidates, int n, const CBasicData& basic);

  // --- fragment-length and GC correction ---

  // Screens unusable annotation (ValidFlag 0), fits c0 + c1 x + c2 x^2 to the
  // total ratio over the sample's base range and returns the triple, which is
  // also the object's current curve. x is the fragment length (mode 1) or the
  // GC content (mode 2) of each SNP.
  const float* FitQuadraticCorrection(CAnalyzedData& analyzed, const CBasicData& basic, int mode);
  // The SD of the corrected total ratio of test against one candidate
  // reference over the test's non-self base range; smaller ranks better. A
  // candidate that cannot be scored gets +infinity (and an error-log line).
  float CalcCorrectedSD(const CArrayData& test, const CArrayData& reference, const CBasicData& basic);

  // --- smoothing and statistics ---

  // Moving average of a series per chromosome into `output` (one value per
  // SNP), written only at the SNPs that are centres of the series.
  void SmoothMovingAverage(const CAnalyzedData& analyzed, std::vector<float>& output, int series);
  // SD of the total ratio over the non-self base range; 0 (with an error-log
  // line) when fewer than two SNPs qualify.
  float CalcSD(const CAnalyzedData& analyzed);
  // Mean copy-number state over the autosomes; 0 when no SNP qualifies.
  float CalcMeanState(const CAnalyzedData& analyzed);
  // Reorders a source sample into a combined one through the annotation's
  // SortMap.
  void CopyToCombinedArray(const CAnalyzedData& source, const CBasicData& basic, CAnalyzedData& destination);

  // --- LOH likelihood ---

  // Scores LOH from the test calls along each chromosome into LohLikelihood.
  void AnalyzeLOHWithLD(CAnalyzedData& analyzed, const CBasicData& basic);
  // From now on the LOH likelihood assumes heterozygosity h at every SNP
  // instead of the annotation's own values (the non-self analysis uses
  // kNonSelfHeterozygosity); nothing restores the table's values.
  void SetUniformHeterozygosity(float h) { uniformHeterozygosity_ = h; }
  void UseAnnotationHeterozygosity() { uniformHeterozygosity_.reset(); }

  // --- hidden Markov models and segments ---

  // The 7-state total model on LogRatio (SNPs with ValidFlag 1) into
  // CopyNumberState, chromosome by chromosome; on the moving average when the
  // settings give a window. Only the SNPs used are written. 0, or 1 (with an
  // error-log line, nothing written) when the sample's spread or model
  // parameters give no usable density.
  int RunTotalCopyNumberHMM(CAnalyzedData& analyzed, const CBasicData& basic);
  // The 5-state model of allele 1 = A or 2 = B on LogRatioA or LogRatioB at the
  // heterozygous reference calls (CallReference AB) into AlleleStateA or
  // AlleleStateB; results as the total model's.
  int RunAlleleSpecificHMM(CAnalyzedData& analyzed, const CBasicData& basic, int allele);
  // Emission density of observation x in state s; flag 0 total, 1 allele;
  // sigma the spread of the sample. Means and spread factors come from the
  // analysed sample's header; 0 when they give no usable density.
  float EmissionProbability(const SampleHeader& header, double x, int s, int flag, float sigma) const;
  // Replaces the extracted sample's kind-39 regions by the runs of
  // heterozygous SNPs that gained one allele and lost the other.
  void ExtractAlleleStateSegments(CArrayData& extracted, const CAnalyzedData& analyzed);
  // The allelic-imbalance / LOH / UPD cascade of two-state models into the
  // extracted sample's regions of the settings' marker kinds. 0, or 1 (with an
  // error-log line, the regions unchanged) when a model's settings are not
  // probabilities.
  int RunTwoStateSegmentHMM(CArrayData& extracted, const CAnalyzedData& analyzed, const CBasicData& basic);
  // The loss / normal / gain model into the analysed sample's regions of kinds
  // 32 (loss) and 38 (gain). Parameters that make a probability negative are
  // refused with a message box and change nothing.
  void RunGainLossHMM(CAnalyzedData& analyzed, const CBasicData& basic, const GainLossParameters& parameters);

  // --- association ---

  // Replaces LogRatio by the per-SNP statistic `method` (0..8) with the two
  // sample counts of the association dialog. 0; 1 when a needed reference is
  // missing; kNoValidAssociationSnp when no SNP of the array type is left
  // valid, a result with nothing to show (AssociationEmptyReason says why).
  static constexpr int kNoValidAssociationSnp = 2;
  int CalcAssociationStatistic(const CArrayData& test, CAnalyzedData& analyzed, const CBasicData& basic,
                               int positiveCount, int negativeCount, int method);

  // The last fitted correction curve c0, c1, c2.
  [[nodiscard]] const std::array<float, 3>& Coefficients() const { return coefficients_; }

  // Folder of the extracted samples (.CFH), with its trailing separator; the
  // caller assigns the document's array-data folder.
  std::string ArrayDataFolder;
  // The slots an analysis may use (1) or must leave out (0); empty: every
  // slot. A normalisation starts each SNP's valid flag from it.
  std::vector<std::int32_t> UsableSnps;
  // The caller assigns the document's analysis-result folder.
  std::string ResultFolder;

 protected:
  // The settings record of the application-wide data object.
  [[nodiscard]] const CProgramSetting& Setting() const;
  [[nodiscard]] const CGlobalData& Global() const { return global_; }
  // The ranges of an array-type name (an unknown name gives type 0).
  [[nodiscard]] ArrayTypeRanges RangesOf(const std::string& arrayType) const;
  // What an operation needs of the analysed sample beyond the total ratio, the
  // valid flags and the test calls.
  enum SampleNeeds : unsigned { kNeedsTotal = 0, kNeedsAlleles = 1, kNeedsLoh = 2 };
  // Why the arrays of the samples or the annotation table are too short for
  // the type's ranges, or empty when they fit.
  [[nodiscard]] static std::string SizeProblem(const ArrayTypeRanges& ranges, const CBasicData& basic,
                                               const CAnalyzedData* analyzed, const CArrayData* extracted,
                                               unsigned needs = kNeedsTotal);

  // Appends one line to the error log (the line brings its own "\n").
  static void LogError(const std::string& line);

  // The names of the non-self references a header lists, at most
  // NonSelfReferenceCount of them.
  [[nodiscard]] static std::vector<std::string> ReferenceNames(const SampleHeader& header);
  // Loads array-data folder + name + ".CFH" as a reference of a test with
  // header `test`. False when the file is missing, cannot be read, or holds a
  // sample of another array type (its SNPs would not line up with the test's).
  bool LoadReferenceSample(const std::string& name, const SampleHeader& test, CArrayData& reference) const;

  // A correction curve as a correction subtracted it: c0 + c1 x + c2 x^2, or
  // nothing at all when every coefficient is 0.
  struct CorrectionCurve {
    std::array<float, 3> Coefficients{};
    // `value` less the curve at x, in double, rounded to float.
    [[nodiscard]] float Subtract(float value, float x) const {
      if (Coefficients[0] == 0.0f && Coefficients[1] == 0.0f && Coefficients[2] == 0.0f) return value;
      const double c0 = Coefficients[0], c1 = Coefficients[1], c2 = Coefficients[2];
      const double xd = x;
      return static_cast<float>(value - (c0 + c1 * xd + c2 * xd * xd));
    }
  };
  // The two curves of one fragment-length and GC correction, in that order.
  struct CorrectionCurves {
    CorrectionCurve FragmentLength, GcContent;
    // `value` less both curves at a SNP of that fragment length and GC
    // content, rounded to float after each, as the correction does it.
    [[nodiscard]] float Subtract(float value, float fragmentLength, float gcContent) const {
      return GcContent.Subtract(FragmentLength.Subtract(value, fragmentLength), gcContent);
    }
  };
  // Fits `mode` and subtracts the curve from the listed series over
  // first..last; returns the curve.
  CorrectionCurve CorrectSeries(CAnalyzedData& analyzed, const CBasicData& basic, int mode, std::int32_t first,
                                std::int32_t last, bool alleles);
  // Fragment-length then GC correction of the total ratio (and the allele
  // ratios when `alleles`) over first..last; returns both curves.
  CorrectionCurves CorrectFragmentLengthAndGc(CAnalyzedData& analyzed, const CBasicData& basic, std::int32_t first,
                                              std::int32_t last, bool alleles);
  // ValidFlag 0 where LogRatio is <= -100, >= 100 or not a number.
  static void InvalidateOutOfRange(CAnalyzedData& analyzed, std::int32_t first, std::int32_t last);
  // 1 when slot i may be used, by UsableSnps.
  [[nodiscard]] std::int32_t UsableFlag(std::int32_t i) const;
  // Every valid flag of first..last from UsableSnps.
  void StartValidity(CAnalyzedData& analyzed, std::int32_t first, std::int32_t last) const;

  // The running state of a non-self normalisation: the test's signals (after
  // the leakage compensation when it is on) and the per-SNP sums over the
  // references added so far, in position order. Reference selection reuses it
  // to normalise against the first k candidates.
  struct NonSelfSums {
    bool Alleles = false;               // the allele-specific steps
    std::vector<float> TestA, TestB;    // position order, like the sums
    std::vector<float> TestTotal;       // TestA + TestB
    int References = 0;
    std::vector<double> Total;          // switch off: sum of 2^(corrected log2 reference/test)
    // Switch on: the references called heterozygous, with the sums of both
    // allele ratios in linear scale, and those called homozygous like the
    // test, with the sum of that allele's ratio. Only the test's own
    // homozygous genotype is ever asked for, so the other one is not kept.
    std::vector<std::int32_t> CountAB, CountSame;
    std::vector<double> SumABA, SumABB, SumSame;
    // Switch on: the reference added last, gathered into position order in a
    // loop of its own (after the leakage compensation when it is on), and the
    // curves its correction subtracted. The index map scatters the table rows
    // over the whole sample; walking it once, with nothing else in the loop,
    // lets the reads overlap instead of stalling the arithmetic that follows.
    std::vector<float> ReferenceA, ReferenceB;
    std::vector<std::int32_t> ReferenceCall;
    CorrectionCurves ReferenceCurves;
  };
  // Starts a non-self normalisation of `test` into `analyzed`: every SNP of the
  // type valid again, CallTest filled, and for the allele steps the LOH
  // likelihood computed (it decides which SNPs count as heterozygous).
  void StartNonSelf(const CArrayData& test, const CBasicData& basic, CAnalyzedData& analyzed, bool alleles,
                    NonSelfSums& sums);
  // Adds one reference: its ratios to the test, corrected for fragment length
  // and GC, go into the sums.
  void AddNonSelfReference(const CArrayData& reference, const CBasicData& basic, CAnalyzedData& analyzed,
                           NonSelfSums& sums);
  // Turns the sums into the final ratios, the baseline and the validity.
  void FinishNonSelf(const CArrayData& test, const CBasicData& basic, CAnalyzedData& analyzed,
                     const NonSelfSums& sums);

  // Decodes one copy-number model (series 0 total, 1 and 2 the alleles) into
  // its state array. 0, or 1 (with an error-log line) when the sample cannot be
  // decoded: arrays too short, or a spread or model parameter that gives no
  // usable density.
  int RunCopyNumberHMM(CAnalyzedData& analyzed, const CBasicData& basic, int series);
  // The "modeling" association statistic into statistic[i] (NaN where it is
  // not determined). False, after an error-log line, when a reference cannot
  // be read.
  bool ModelAlleleFractions(const CArrayData& test, const CArrayData& self, const std::vector<std::string>& references,
                            const CBasicData& basic, const qova::analysis::SampleCounts& counts,
                            std::vector<double>& statistic);

 private:
  // The annotation values the fits regress on, gathered into position order
  // once per table: a non-self normalisation fits twice per reference. The
  // tables do not change while an engine lives (one command).
  struct Regressors {
    const CBasicData* Basic = nullptr;
    int Type = -1;
    std::vector<float> FragmentLength;  // as float, position order
    std::vector<float> GcContent;
    std::vector<std::uint8_t> Usable;   // 1: both values usable by the fits
  };
  const Regressors& RegressorsOf(const CBasicData& basic, const ArrayTypeRanges& ranges);

  const CGlobalData& global_;
  Regressors regressors_;
  std::array<float, 3> coefficients_{};
  std::vector<std::int32_t> fitSnps_;  // scratch of the fits: the SNPs they use
  std::optional<float> uniformHeterozygosity_;
};
