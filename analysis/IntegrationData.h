#pragma once
// The model of the integral view: aberrations of one kind summed over many
// analysed samples. For each sample it keeps one segment per stretch of SNPs
// that shows the aberration, in base positions of its chromosome, and the
// sample's result file name; the whole can be saved as a .cfi file.
//
// The .cfi file (archive encoding):
//   version "1.000" (string; another refuses the file), mode, order, title (strings)
//   minRun, sample count m, segment count k   3 x int32
//   m sample names                            strings
//   k segments                                5 x int32 each: sampleIndex,
//                                             start, end, chromosome, kind
//
// Samples are read from the settings' analysis-result folder with the
// analysed-sample loader; positions come from the family's annotation table,
// chromosome ends from the last band of the cytoband table, the boundary rule
// from the settings' IntegralMarginMode, all through the application-wide data
// object given at construction, on every call.
#include <cstdint>
#include <string>
#include <vector>

class CGlobalData;
namespace qova::analysis {
struct IntegrationLayout;
}

struct IntegrationSegment {
  // Bytes of one segment in a .cfi file: five int32.
  static constexpr int kRecordSize = 20;
  // Kinds in mode "AddDel"; every other mode gives kind 1.
  static constexpr std::int32_t kGain = 1;
  static constexpr std::int32_t kHighAmplification = 2;
  static constexpr std::int32_t kLoss = 3;
  static constexpr std::int32_t kHomozygousDeletion = 4;

  std::int32_t SampleIndex = 0;  // position of the sample in SampleNames
  std::int32_t Start = 0;        // base position
  std::int32_t End = 0;          // base position
  std::int32_t Chromosome = 0;   // 1..23, 23 = X
  std::int32_t Kind = 1;

  friend bool operator==(const IntegrationSegment&, const IntegrationSegment&) = default;
};

class IntegrationData {
 public:
  // `global` is the application-wide data object; it must outlive this one.
  explicit IntegrationData(const CGlobalData& global) : global_(&global) {}

  // Removes every segment and every sample name.
  void Clear();
  // Clear, then Integrate each name as a new sample, in order.
  bool IntegrateSamples(const std::vector<std::string>& names);
  // Integrates, as new samples, the names not held yet; the rest stays.
  bool AddNewSamples(const std::vector<std::string>& names);
  // Exact, case-sensitive.
  [[nodiscard]] bool Contains(const std::string& name) const;
  // Reads result file `name` and appends its segments under sampleIndex; a
  // negative index appends the name as a new sample; false for an index of no
  // sample held. A file that cannot be read throws (CFileException,
  // CArchiveException) before anything changes, so the samples integrated
  // before it stay and its name is not added.
  bool Integrate(const std::string& name, std::int32_t sampleIndex);
  // Removes a sample and its segments and renumbers the samples after it;
  // false for an index that is not held.
  bool RemoveSample(std::int32_t index);
  bool RemoveSampleByName(const std::string& name);
  // Reads a sample again and replaces its segments; false for an index that
  // is not held. A file that cannot be read throws and leaves the old segments.
  bool ReintegrateSample(std::int32_t index);
  bool ReintegrateSampleByName(const std::string& name);

  // Writes the .cfi file, replacing `path` atomically; false when it cannot
  // be written (the old file stays).
  [[nodiscard]] bool Save(const std::string& path) const;
  // Reads a .cfi file; false when it cannot be opened. A damaged file throws
  // CArchiveException (CDataFormatException for counts and indexes that do
  // not fit) naming the file and what is wrong. On any failure this object
  // stays as it was.
  [[nodiscard]] bool Load(const std::string& path);

  std::string Mode;   // "AddDel", "HomDel", "HiAmp", "LOH", "AH", "Change", "AH_Mark", "UserMarker<n>"
  std::string Order;  // sample order of the view: "ID" or "Amount"
  std::string Title;  // title of the figure
  std::int32_t MinRun = 0;  // fewest consecutive valid SNPs in a segment
  std::vector<IntegrationSegment> Segments;  // by sample, then pass, chromosome, position
  std::vector<std::string> SampleNames;       // result files below the analysis-result folder

 private:
  // The positions and chromosome ends of the array types met in one call,
  // worked out once for all its samples.
  struct LayoutCache;

  bool Integrate(const std::string& name, std::int32_t sampleIndex, LayoutCache& layouts);
  // The segments of result file `name` under `sampleIndex`.
  [[nodiscard]] std::vector<IntegrationSegment> SegmentsOfSample(const std::string& name, std::int32_t sampleIndex,
                                                                 LayoutCache& layouts) const;
  // Where the SNPs of array type `type` lie; errors name `samplePath`.
  [[nodiscard]] qova::analysis::IntegrationLayout LayoutOfType(int type, const std::string& samplePath) const;

  const CGlobalData* global_;
};
