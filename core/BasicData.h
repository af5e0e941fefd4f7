#pragma once
// The SNP annotation of one array family: per table row its chromosome,
// position, fragment length, GC content, heterozygosity and identifiers, and
// the two order maps between position order and table order.
//
// BasicData*.dtt (archive encoding): the Name string, then one record per row,
// fields in this order (not the order of the columns in memory):
//   Chromosome, IndexMap, SortMap, Position, FragmentLength    5 x int32
//   GcContent float, AuxInt int32, Heterozygosity float
//   VendorSnpId, RsNumber, FragmentNumber                     3 x int32   = 44 bytes
//   extended tables only: ExtInt1 int32, ExtFloat float, ExtInt2 int32   = 56 bytes
// The file does not hold the row count: the family gives it.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Archive.h"

inline constexpr std::int32_t kChromosomeX = 23;
// The chromosome of the rows after the end of X (up to the family's last row):
// they belong to no chromosome 1..23. It is one past X, so it also names the
// end entry of the per-type chromosome start tables; a consumer that draws or
// counts per chromosome skips it.
inline constexpr std::int32_t kNoChromosome = 24;

class CBasicData {
 public:
  static constexpr int kBasicRowSize = 44;
  static constexpr int kExtendedRowSize = 56;

  CBasicData() = default;

  // Columns for n rows, all zero; the three extended ones only when
  // `extended` is non-zero.
  void Allocate(std::int32_t n, std::int32_t extended);
  // Rows the columns have room for.
  [[nodiscard]] std::int32_t Capacity() const { return static_cast<std::int32_t>(Chromosome.size()); }
  // Rows filled by the last load that succeeded; 0 before, and after a failed one.
  [[nodiscard]] std::int32_t LoadedRows() const { return loadedRows_; }
  [[nodiscard]] int RowSize() const { return IsExtended != 0 ? kExtendedRowSize : kBasicRowSize; }

  // Stores or loads Name and n rows in the layout IsExtended selects; with
  // n <= 0 only Name. n must not exceed Capacity(). Both directions check that
  // every Chromosome is 1..24 and both maps point at rows 0..n-1, so no table
  // that would send a reader out of bounds is written or accepted
  // (CDataFormatException). A file shorter than n rows raises end-of-file
  // before any row is read.
  void SerializeTable(CArchive& ar, std::int32_t n);

  // The table to and from a file; the store replaces the file atomically.
  void StoreFile(const std::string& path, std::int32_t n);
  void LoadFile(const std::string& path, std::int32_t n);

  std::int32_t IsExtended = 0;
  std::string Name;
  std::vector<std::int32_t> Chromosome;      // 1..22, 23 = X, kNoChromosome after X
  std::vector<std::int32_t> Position;        // base pairs on the chromosome
  std::vector<std::int32_t> FragmentLength;  // PCR fragment length, base pairs
  std::vector<float> GcContent;              // fraction
  std::vector<std::int32_t> IndexMap;        // position index i -> table row
  std::vector<std::int32_t> SortMap;         // combined types: row = IndexMap[SortMap[i]]
  std::vector<std::int32_t> AuxInt;          // carried unchanged
  std::vector<float> Heterozygosity;         // population heterozygosity, 0..1
  std::vector<std::int32_t> VendorSnpId;     // shown as "SNP_A-%d"
  std::vector<std::int32_t> RsNumber;        // shown as "rs%d"
  std::vector<std::int32_t> FragmentNumber;  // a code the main view can colour by
  std::vector<std::int32_t> ExtInt1;         // extended tables only; carried unchanged
  std::vector<float> ExtFloat;
  std::vector<std::int32_t> ExtInt2;

 private:
  // Why n rows do not fit the columns, or empty.
  [[nodiscard]] std::string CapacityProblem(std::int32_t n) const;
  // Why the values of rows 0..n-1 cannot be used, or empty.
  [[nodiscard]] std::string RowProblem(std::int32_t n) const;
  void WriteRows(CArchive& ar, std::int32_t n) const;
  void ReadRows(CArchive& ar, std::int32_t n);

  std::int32_t loadedRows_ = 0;
};
