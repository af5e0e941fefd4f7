#pragma once
// The work files of the regression pipeline: eight commands that turn the
// CHP and CEL files of a set of samples of Mapping50K_Xba240 into calibrated
// copy-number results by way of tab-separated text files in one work folder.
//
// Line k of every per-SNP work file belongs to the k-th SNP probe set of the
// library file; files are joined line by line. Readers split a line at tabs
// with empty fields skipped (a missing field shifts the ones after it) and
// take integers and reals from the leading number of a field (none gives 0).
// Writers use printf's "%d" and "%f" and end every line with "\n".
//
// Layouts (fields tab-separated):
//   .IMF          call, 10 allele-A then 10 allele-B standardised log intensities
//   corr.txt      20 correlations, each followed by a tab
//   SNPinfo.txt   10 flag characters, 10 flag characters, GC count A, GC count B, covariate
//   .IM2 / .IM3   call, valid flag, allele-A value, allele-B value
//   NormalAve.txt flag, then mean A and mean B of AA, AB, BB and all valid ("0" "0" when none)
//   CNReg.txt     flag, then r, t, intercept, slope of allele A and of allele B
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class CQOVADoc;

namespace qova::document::regression {

// "C:\QOVA\IMF\": below the drive root.
inline constexpr const char* kWorkFolder = "C:\\QOVA\\IMF\\";
inline constexpr const char* kCorrelationFile = "corr.txt";
inline constexpr const char* kSnpInfoFile = "SNPinfo.txt";
inline constexpr const char* kNormalAverageFile = "NormalAve.txt";
inline constexpr const char* kCalibrationFile = "CNReg.txt";
inline constexpr const char* kSnpInformationFile = "Mapping100K_Xba snp info.txt";
inline constexpr const char* kPipelineType = "Mapping50K_Xba240";
inline constexpr const char* kResultPrefix = "VIRIV";
// The per-SNP tables hold this many SNPs; longer files are refused.
inline constexpr std::size_t kMaxSnps = 60000;
inline constexpr int kProbesPerAllele = 10;
// The regression of step 4 sums the covariate's fourth power in 64-bit
// integers; a covariate beyond this cannot be held and is refused.
inline constexpr int kCovariateLimit = 55000;

[[nodiscard]] std::string WorkPath(const std::string& fileName);

// The fields of a line, split at tabs with empty fields skipped.
[[nodiscard]] std::vector<std::string> Fields(const std::string& line);
// The leading integer or real of a text; 0 when it has none. An integer
// beyond the range of int is held at its limit.
[[nodiscard]] int LeadingInt(const std::string& text);
[[nodiscard]] float LeadingReal(const std::string& text);
// Field k (0-based) as a number; 0 when the line has fewer fields.
[[nodiscard]] int IntField(const std::vector<std::string>& fields, std::size_t k);
[[nodiscard]] float RealField(const std::vector<std::string>& fields, std::size_t k);

struct ImfLine {
  int Call = 0;
  std::array<float, kProbesPerAllele> A{}, B{};
};
struct SnpInfoLine {
  std::string FlagsA, FlagsB;  // ten characters each
  int GcA = 0, GcB = 0, Covariate = 0;
};
// .IM2 and .IM3 share one layout.
struct ValueLine {
  int Call = 0, Valid = 0;
  float A = 0.0f, B = 0.0f;
};
struct NormalAverageLine {
  int Flag = 0;
  std::array<std::optional<std::array<float, 2>>, 4> Means;  // AA, AB, BB, all valid
};
struct CalibrationLine {
  int Flag = 0;
  std::array<float, 4> A{}, B{};  // r, t, intercept, slope
};

[[nodiscard]] std::string Format(const ImfLine& line);
[[nodiscard]] std::string FormatCorrelations(const std::array<float, 2 * kProbesPerAllele>& r);
[[nodiscard]] std::string Format(const SnpInfoLine& line);
[[nodiscard]] std::string Format(const ValueLine& line);
[[nodiscard]] std::string Format(const NormalAverageLine& line);
[[nodiscard]] std::string Format(const CalibrationLine& line);

[[nodiscard]] ImfLine ParseImf(const std::string& line);
[[nodiscard]] std::array<float, 2 * kProbesPerAllele> ParseCorrelations(const std::string& line);
[[nodiscard]] SnpInfoLine ParseSnpInfo(const std::string& line);
[[nodiscard]] ValueLine ParseValues(const std::string& line);
// The reference pair of NormalAve.txt for a sample called `call`: AA, AB or
// BB means for calls 1 to 3, the all-valid means for any other call.
[[nodiscard]] std::array<float, 2> ReferenceOf(const std::string& normalAverageLine, int call);
[[nodiscard]] CalibrationLine ParseCalibration(const std::string& line);

// The lines of a work file, or nothing when it cannot be read, has no line
// or is longer than kMaxSnps lines (its reason in `why`).
[[nodiscard]] std::optional<std::vector<std::string>> ReadWorkLines(const std::string& path, std::string& why);

// Writes a work file whole, making the work folder first. False when it
// cannot, with `failure` saying so for a sentence to begin: "work file F
// cannot be written: " and why, F named as it is on disk.
[[nodiscard]] bool WriteWorkFile(const std::string& path, const std::string& text, std::string& failure);

// Why a covariate read from field `field` of line `line` (counted from 1) of
// `file` is refused, or empty when the regression can hold it.
[[nodiscard]] std::string CovariateRefusal(int covariate, const std::string& file, std::size_t line, int field);

// The list-driven frame of the steps: the open dialog for the sample list,
// then `work` for each of its lines in order, true when it used the sample
// (wrote its file, or took its file into the sums), then `finish` when one
// sample at least was used. `finish` writes the step's file, or returns why
// there is nothing valid to write. `kept` is the file a step of sums would
// replace, empty for a step that writes one file per sample.
//
// An empty result is a failure: when the list names no sample, when every
// sample is left out or when `finish` refuses, the step has written nothing,
// and one message tells the samples left out and that nothing was written.
// Otherwise the samples left out are told in one message after the last.
void ForEachListedSample(CQOVADoc& doc, const std::string& kept,
                         const std::function<bool(const std::string& name)>& work,
                         const std::function<std::string()>& finish = {});

// "Nothing was written", and that `kept` keeps its bytes where it exists.
[[nodiscard]] std::string NothingWritten(const std::string& kept);

// GC bases of a probe's 25-base window in a SNP's sequence: position
// p = bracket + 5 - offset + d for d = 0..24, the allele's own letter where p
// is the bracket ("[" + A or B two places further), positions after it shifted
// past the five characters "[x/y]"; positions outside the sequence count
// nothing.
[[nodiscard]] int WindowGcCount(const std::string& sequence, int bracket, int offset, bool alleleA);

// A sample the step leaves out: one error-log line naming `what`, and
// `file` (the sample's file the step reads) with `why` in the one message of
// the command's files left out.
void LeaveOut(const std::string& step, const std::string& what, const std::string& file, const std::string& why);

}  // namespace qova::document::regression
