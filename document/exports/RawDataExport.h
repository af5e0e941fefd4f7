#pragma once
// The raw data of analysed samples as tab-separated text: per SNP index of
// the sample's array type, from the type's first SNP to the last SNP of X,
// chosen annotation columns (from the family's table) and chosen data
// columns (from the sample). Used by the document's Output Raw Data and by
// the Display Samples export, one file per sample or the samples of one
// array type side by side.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

class CAnalyzedData;
class CBasicData;
class CGlobalData;

namespace qova::document::exports {

class TextExport;

// The columns in the order they are written; the first five come from the
// annotation table, the others from the sample.
enum RawColumn : int {
  kRawColumnId,
  kRawColumnVendorSnpId,
  kRawColumnRsId,
  kRawColumnChromosome,
  kRawColumnPosition,
  kRawColumnLogRatio,
  kRawColumnLogRatioA,
  kRawColumnLogRatioB,
  kRawColumnStateAB,
  kRawColumnStateA,
  kRawColumnStateB,
  kRawColumnCallTest,
  kRawColumnCallReference,
  kRawColumnLohLikelihood,
  kRawColumnCount,
};
inline constexpr int kRawAnnotationColumns = 5;
using RawColumnSet = std::array<bool, kRawColumnCount>;

// The header cell of a column ("log2ratio_AB").
[[nodiscard]] const char* RawColumnHeader(int column);

// Where each cell ends: the Display Samples export follows every cell with a
// tab, the document's export puts tabs between cells.
enum class RawCellEnd { TabAfterEach, TabBetween };

// What the rows of one sample are read from.
struct RawDataSource {
  const CAnalyzedData* Sample = nullptr;
  const CBasicData* Annotation = nullptr;
  int Type = 0;
  std::int32_t First = 0;  // the type's first SNP index
  std::int32_t LastX = 0;  // the type's last SNP index of X
  [[nodiscard]] std::int32_t Rows() const { return LastX - First + 1; }
};

// Fills `source` for writing `columns` of `sample`; empty when it can be
// written, else why not: an array type none of the thirteen, a range the
// sample's arrays do not hold, or, when a column of the annotation table is
// chosen, a table that is not loaded or an annotation row outside it. A data column whose array the sample's kind of
// result does not have (the LOH likelihood of a self result) writes zeros.
[[nodiscard]] std::string PrepareRawData(const CAnalyzedData& sample, const CGlobalData& global,
                                         const RawColumnSet& columns, RawDataSource& source);

// The header cells of the chosen columns in [from, to).
void WriteRawHeader(TextExport& out, const RawColumnSet& columns, int from, int to, RawCellEnd end);
// The cells of the chosen columns in [from, to) at SNP index `snp`.
void WriteRawCells(TextExport& out, const RawDataSource& source, const RawColumnSet& columns, int from, int to,
                   std::int32_t snp, RawCellEnd end);
// A whole file of one sample: the header line, then one line per SNP index.
void WriteRawFile(TextExport& out, const RawDataSource& source, const RawColumnSet& columns, RawCellEnd end);

// The document's fixed layouts: a self result with the allele columns, a
// non-self result with the LOH likelihood.
[[nodiscard]] RawColumnSet DocumentRawColumns(bool self);

}  // namespace qova::document::exports
