#pragma once
// What the exports that walk a sample's SNPs chromosome by chromosome share:
// where each SNP lies, and the reading of a checked sample's file such that a
// file that cannot be read, or whose SNPs do not fit its array type's
// chromosome table and annotation, is left out and named at the end instead of
// being read out of bounds.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/AnalyzedData.h"
#include "document/exports/TextExport.h"

class CBasicData;
class CWnd;
struct SampleHeader;

namespace qova::document::exports {

// Chromosomes as the exports walk them: 1..22, then 23 for X.
inline constexpr int kFirstChromosome = 1;
inline constexpr int kLastChromosome = 23;

// Where the SNPs of one sample lie.
struct SnpPlaces {
  const CBasicData* Table = nullptr;     // the annotation of the sample's family
  const std::int32_t* Starts = nullptr;  // the type's chromosome starts, entries 0..24
  bool ThroughSortMap = false;           // a combined sample reaches its rows through SortMap

  [[nodiscard]] std::int32_t First(int chromosome) const { return Starts[chromosome]; }
  [[nodiscard]] std::int32_t Last(int chromosome) const { return Starts[chromosome + 1] - 1; }
  // Base pairs from the chromosome's start.
  [[nodiscard]] std::int32_t Position(std::int32_t snp) const;
};

// The places of the SNPs of a sample with `header` whose per-SNP arrays hold
// `arraySize` entries, or nothing with the reason in `why`: the type's
// annotation is not loaded, or its chromosomes reach outside the sample's
// range or arrays.
[[nodiscard]] std::optional<SnpPlaces> PlacesOf(const SampleHeader& header, std::size_t arraySize,
                                                bool throughSortMap, std::string& why);

// An analysed result with the places of its SNPs.
struct ExportedResult {
  CAnalyzedData Data;
  SnpPlaces Places;
};

// Asks for the output file and opens it; false when the user cancels or it
// cannot be created (the user has been told).
[[nodiscard]] bool OpenExportOutput(CWnd* parent, TextExport& out);

// Reads the result of sample `name` in `role` (a self or non-self result)
// whole; nothing, and the sample noted in `out` as left out, when its name
// could lead out of the result folder or the file cannot be read or placed.
[[nodiscard]] std::optional<ExportedResult> ReadExportedResult(const std::string& name, SampleFileRole role,
                                                               TextExport& out);

// An entry of one of a result's optional arrays (a non-self result without the
// allele steps has no allele ratios or reference calls): 0 when it is absent.
template <class T>
[[nodiscard]] T ValueOrZero(const std::vector<T>& values, std::int32_t snp) {
  return static_cast<std::size_t>(snp) < values.size() ? values[static_cast<std::size_t>(snp)] : T{};
}

}  // namespace qova::document::exports
