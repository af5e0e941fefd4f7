#pragma once
// The probe layout of one array type as the CDF writers take it, and a
// generator of synthetic layouts for tests, demos and benchmarks.
//
// Cells are held in their logical order: the order in which a reader hands
// them out (within each list the perfect-match cell before its mismatch
// partner). The writers turn that into each form's own file order.
#include <cstdint>
#include <string>
#include <vector>

namespace arraywriters {

// Probe-set type codes as the readers store them.
enum CdfProbeSetType : std::uint16_t {
  kCdfUnknown = 0,
  kCdfExpression = 1,
  kCdfGenotyping = 2,
  kCdfResequencing = 3,
  kCdfTag = 4,
  kCdfCopyNumber = 5,
  kCdfGenotypeControl = 6,
  kCdfExpressionControl = 7,
};

struct CdfCell {
  std::uint16_t x = 0;
  std::uint16_t y = 0;
  char probeBase = 'N';
  char targetBase = 'N';
  std::int32_t listIndex = 0;  // the list (atom) the cell belongs to
  std::int32_t exposure = 0;   // carried as is; the work-file pipeline reads it as a position offset
};

struct CdfBlock {
  std::string name;
  std::uint8_t direction = 1;
  std::int32_t numLists = 0;
  std::int32_t start = 0;  // as written to the file; readers replace it by the cells' list indexes
  std::int32_t stop = 0;
  std::vector<CdfCell> cells;
};

struct CdfProbeSet {
  std::string name;
  std::uint16_t type = kCdfGenotyping;
  std::uint8_t direction = 1;
  std::int32_t number = 0;
  std::uint8_t cellsPerList = 1;
  std::vector<CdfBlock> blocks;

  [[nodiscard]] std::int32_t TotalLists() const;
  [[nodiscard]] std::int32_t TotalCells() const;
};

struct CdfQCCell {
  std::uint16_t x = 0;
  std::uint16_t y = 0;
  std::uint8_t probeLength = 25;
  std::uint8_t perfectMatch = 0;
  std::uint8_t background = 0;
};

struct CdfQCSet {
  std::uint16_t type = 0;
  std::vector<CdfQCCell> cells;
};

struct CdfLayout {
  std::string chipName = "Synthetic";
  std::uint16_t rows = 0;
  std::uint16_t cols = 0;
  std::string reference;
  std::vector<CdfProbeSet> probeSets;
  std::vector<CdfQCSet> qcSets;

  [[nodiscard]] std::int64_t TotalCells() const;
};

// What a synthetic layout holds. SNP probe sets come in file order with the
// non-SNP sets spread evenly between them, the way real library files mix
// copy-number probes and controls into the SNP units.
struct SyntheticCdfOptions {
  std::string chipName = "Synthetic";
  std::string reference = "ACGTTGCA";
  int snpSets = 40;
  // Blocks per SNP probe set, alternating allele A and allele B (2 or 4).
  int blocksPerSnp = 2;
  int listsPerBlock = 3;
  // Every list holds a perfect-match cell and its mismatch partner; without
  // them a list is one perfect-match cell.
  bool mismatchCells = true;
  int copyNumberSets = 6;  // one perfect-match cell each
  // Controls alternate between expression controls with mismatch pairs and
  // genotype controls with single cells.
  int controlSets = 4;
  int qcSets = 2;
  int cellsPerQCSet = 6;
  std::uint32_t seed = 1;
};

[[nodiscard]] CdfLayout MakeSyntheticCdfLayout(const SyntheticCdfOptions& options);

// The base that pairs with `base` (A-T, C-G, either case); other characters stay.
[[nodiscard]] char ComplementBase(char base);
// True when the cell's probe base pairs with its target base in the same case:
// the perfect-match test of the sample extraction.
[[nodiscard]] bool IsPerfectMatchCell(char probeBase, char targetBase);

}  // namespace arraywriters
