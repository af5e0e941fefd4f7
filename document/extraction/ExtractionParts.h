#pragma once
// What the two extractions of a sample (with and without a CHP file) share:
// their failure, the CEL file read whole, the perfect-match test of a cell and
// the header ranges of an array type.
#include <array>
#include <exception>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "arrayfiles/unified/UnifiedCELData.h"
#include "arrayfiles/unified/UnifiedCHPData.h"
#include "core/ArrayData.h"
#include "core/ArrayTypes.h"
#include "document/extraction/SampleExtraction.h"

namespace unified_io {
class UnifiedCDFData;
}

namespace qova::document::extraction {

// A failure of one sample: the user's message, and nothing stored.
struct Failure {
  std::string message;
};

[[noreturn]] void Fail(std::string message);

// Runs one sample's extraction into a result: a Failure becomes its message,
// and anything else a reader lets out (running out of memory on a huge file,
// say) ends this sample only.
[[nodiscard]] ExtractionResult Guarded(const ExtractionRequest& request,
                                       const std::function<void(ExtractionResult&)>& extract);

// The cells of one CEL file, read whole through the unified reader, so every
// form the readers take works.
class CelCells {
 public:
  // Fails with "The CEL file <fileName> cannot be read" when no reader takes it.
  CelCells(const std::string& path, const std::string& fileName);
  ~CelCells();
  CelCells(const CelCells&) = delete;
  CelCells& operator=(const CelCells&) = delete;

  [[nodiscard]] const std::string& ChipType() const { return chipType_; }
  [[nodiscard]] int Cols() const { return cols_; }
  [[nodiscard]] int Rows() const { return rows_; }
  [[nodiscard]] bool Holds(int x, int y) const { return x >= 0 && y >= 0 && x < cols_ && y < rows_; }
  // Fails with the message of a library cell outside the file's grid.
  [[noreturn]] void FailOutside(int x, int y, const std::string& libraryFile) const;
  // Fails, naming both grids, when the library file declares a grid of
  // `cols` x `rows` cells other than this file's: its cells would be read at
  // the wrong places. A library that declares none (0 x 0) is not compared.
  void RequireGrid(int cols, int rows, const std::string& libraryFile) const;
  // Fails, naming this file, when `intensities` (those of every cell the
  // library file names) are all 0: a scan without data.
  void RequireData(std::span<const float> intensities, const std::string& libraryFile) const;
  [[noreturn]] void FailNoData(const std::string& libraryFile) const;
  // The intensities of the cells at `indexes` (y * Cols() + x), in one pass.
  void Intensities(std::span<const std::int32_t> indexes, std::span<float> intensities) {
    cel_.GetIntensities(indexes, intensities);
  }

  // The cell at (x, y); a cell outside the array fails, naming the library file.
  [[nodiscard]] const unified_io::UnifiedCELFileEntry& Entry(int x, int y, const std::string& libraryFile);
  [[nodiscard]] float Intensity(int x, int y, const std::string& libraryFile) {
    return Entry(x, y, libraryFile).Intensity;
  }

 private:
  unified_io::UnifiedCELData cel_;
  unified_io::UnifiedCELFileEntry entry_;
  std::string fileName_;
  std::string chipType_;
  int cols_ = 0;
  int rows_ = 0;
};

// The called gender a CHP file states: its summary parameter "CalledGender",
// else "Gender".
[[nodiscard]] std::string CalledGender(unified_io::UnifiedCHPLegacyData& chp);

// The sample-file call of a CHP call code: "A", "AB", "B", else no call.
[[nodiscard]] std::int32_t SampleCallOf(std::uint8_t code);

// Genotype calls and the called gender of one CHP file, read through the
// CHP registry, so every form works.
class ChpCalls {
 public:
  // Fails with "SNPs call is not performed" when the file is missing or is no
  // genotyping result the registry reads.
  explicit ChpCalls(const std::string& path);
  ~ChpCalls();
  ChpCalls(const ChpCalls&) = delete;
  ChpCalls& operator=(const ChpCalls&) = delete;

  [[nodiscard]] std::string CalledGender() { return qova::document::extraction::CalledGender(*chp_); }
  [[nodiscard]] int Count() const { return count_; }
  // The sample-file call of probe set `index` (within Count()).
  [[nodiscard]] std::int32_t CallOf(int index) const {
    const std::size_t i = static_cast<std::size_t>(index);
    return i < calls_.size() ? SampleCallOf(calls_[i]) : kCallNone;
  }

 private:
  std::unique_ptr<unified_io::UnifiedCHPData> data_;
  unified_io::UnifiedCHPLegacyData* chp_ = nullptr;
  int count_ = 0;
  // The file's call code of every probe set; none for a file without calls.
  std::vector<std::uint8_t> calls_;
};

// Carries what a user typed into an earlier sample file at `outputPath` over
// to the new `header`: the five attributes, and the sex when the array files
// gave none. True when there was an earlier file; one that cannot be read
// gives nothing.
bool KeepTypedFields(const std::string& outputPath, SampleHeader& header);

// The message of a sample file at `outputPath` that `error` kept from being
// stored, with why: a folder on its way does not exist, else the store's own words.
[[nodiscard]] std::string SampleFileNotWritten(const std::string& outputPath, const std::exception& error);

// For walks over a library's SNP probe sets, which pass over every probe set
// whose name does not start with "SNP". `library` names the file as a
// message begins with it: "The library file X.CDF".
//
// The number of probe sets; fails ("<library> cannot be read") when the
// reader opened the file but cannot count them (a generic file cut inside
// its index): the walk would find no SNP at all.
[[nodiscard]] int SnpWalkProbeSetCount(unified_io::UnifiedCDFData& cdf, const std::string& library);
// The name of probe set `i`; fails ("<library> cannot be read at its probe
// set <i>: <why>") when the reader cannot read it: passing it over would put
// every SNP after it one place early.
[[nodiscard]] std::string SnpWalkProbeSetName(unified_io::UnifiedCDFData& cdf, int i, const std::string& library);

// Probe and target base pair up in the same case. Inline: every cell of a
// library passes through it when its layout is built. A table, not a branch
// on the probe base: that branch went wrong on most cells of a real library,
// and took a third of the layout's time.
[[nodiscard]] inline bool IsPerfectMatch(char probe, char target) {
  // The base each base pairs with, in its own case; 0 for anything else.
  static constexpr auto kPair = [] {
    std::array<char, 256> pair{};
    for (const char* bases : {"at", "ta", "gc", "cg", "AT", "TA", "GC", "CG"}) {
      pair[static_cast<unsigned char>(bases[0])] = bases[1];
    }
    return pair;
  }();
  const char pair = kPair[static_cast<unsigned char>(probe)];
  return pair != 0 && pair == target;
}

// Fails, naming both counts, unless the `snpProbeSets` SNP probe sets of the
// library file fill the SNP positions of `type` one to one: they are matched
// to the positions by order, and positions left over would be stored as 0.
void RequireSnpPositions(std::size_t snpProbeSets, const qova::core::ArrayTypeInfo& type,
                         const std::string& libraryFile);

// The header ranges of an extracted sample of `type`.
[[nodiscard]] ArrayTypeInfoValues TypeInfoValues(const qova::core::ArrayTypeInfo& type);

}  // namespace qova::document::extraction
