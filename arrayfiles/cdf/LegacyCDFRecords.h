#pragma once
// The records the legacy CDF reader hands out: the file header, probe sets,
// their groups (blocks) and cells, and the QC units of the text form.
//
// Records handed out share their group and cell vectors with the record
// they were copied from, so a copy stays valid after the reader closes or
// reads another probe set.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace legacy_cdf_detail {
// Fills the records; only the reader's own code uses it.
struct Builder;
}

class CLegacyCDFFileHeader {
 public:
  [[nodiscard]] int GetMagic() const { return magic_; }
  [[nodiscard]] int GetVersion() const { return version_; }
  [[nodiscard]] int GetNumProbeSets() const { return numProbeSets_; }
  [[nodiscard]] int GetNumQCProbeSets() const { return numQCProbeSets_; }
  [[nodiscard]] const std::string& GetReference() const { return reference_; }
  [[nodiscard]] std::uint16_t GetCols() const { return cols_; }
  [[nodiscard]] std::uint16_t GetRows() const { return rows_; }

 private:
  friend struct legacy_cdf_detail::Builder;
  std::int32_t magic_ = 0;
  std::int32_t version_ = 0;
  std::int32_t numProbeSets_ = 0;
  std::int32_t numQCProbeSets_ = 0;
  std::string reference_;
  std::uint16_t cols_ = 0;
  std::uint16_t rows_ = 0;
};

// One cell of a group.
class CLegacyCDFProbeInformation {
 public:
  [[nodiscard]] int GetListIndex() const { return listIndex_; }
  // The exposure (index position) field; the work-file pipeline reads it as
  // the probe's position offset.
  [[nodiscard]] int GetExpos() const { return expos_; }
  [[nodiscard]] std::uint16_t GetX() const { return x_; }
  [[nodiscard]] std::uint16_t GetY() const { return y_; }
  [[nodiscard]] char GetPBase() const { return pBase_; }
  [[nodiscard]] char GetTBase() const { return tBase_; }

 private:
  friend struct legacy_cdf_detail::Builder;
  std::int32_t listIndex_ = 0;
  std::int32_t expos_ = 0;
  std::uint16_t x_ = 0;
  std::uint16_t y_ = 0;
  char pBase_ = ' ';
  char tBase_ = ' ';
};

// A cell of a probe set as a walk over every probe set needs it: the index
// of the group that holds it, its place on the array and its two bases.
struct CLegacyCDFGroupCell {
  int group = 0;
  int x = 0;
  int y = 0;
  char pBase = ' ';
  char tBase = ' ';
  friend bool operator==(const CLegacyCDFGroupCell&, const CLegacyCDFGroupCell&) = default;
};

class CLegacyCDFProbeGroupInformation {
 public:
  [[nodiscard]] int GetNumLists() const { return numLists_; }
  [[nodiscard]] int GetNumCells() const { return numCells_; }
  [[nodiscard]] int GetStart() const { return start_; }
  [[nodiscard]] int GetStop() const { return stop_; }
  [[nodiscard]] int GetProbeSetIndex() const { return probeSetIndex_; }
  [[nodiscard]] int GetGroupIndex() const { return groupIndex_; }
  [[nodiscard]] const std::string& GetName() const { return name_; }
  [[nodiscard]] std::uint8_t GetNumCellsPerList() const { return cellsPerList_; }
  [[nodiscard]] std::uint8_t GetDirection() const { return direction_; }
  // The cell at `index`; false and a default cell when there is none.
  bool GetCell(int index, CLegacyCDFProbeInformation& cell) const;

 private:
  friend struct legacy_cdf_detail::Builder;
  std::int32_t numLists_ = 0;
  std::int32_t numCells_ = 0;
  std::int32_t start_ = 0;
  std::int32_t stop_ = 0;
  std::int32_t probeSetIndex_ = 0;
  std::int32_t groupIndex_ = 0;
  std::string name_;
  std::uint8_t cellsPerList_ = 0;
  std::uint8_t direction_ = 0;
  std::shared_ptr<const std::vector<CLegacyCDFProbeInformation>> cells_;
};

// Probe-set type codes as stored.
enum CLegacyCDFProbeSetType : std::uint16_t {
  UnknownProbeSetType = 0,
  ExpressionProbeSetType = 1,
  GenotypingProbeSetType = 2,
  ResequencingProbeSetType = 3,
  TagProbeSetType = 4,
  CopyNumberProbeSetType = 5,
  GenotypeControlProbeSetType = 6,
  ExpressionControlProbeSetType = 7,
};

class CLegacyCDFProbeSetInformation {
 public:
  [[nodiscard]] int GetNumLists() const { return numLists_; }
  [[nodiscard]] int GetNumGroups() const { return numGroups_; }
  [[nodiscard]] int GetNumCells() const { return numCells_; }
  [[nodiscard]] int GetProbeSetIndex() const { return index_; }
  [[nodiscard]] int GetProbeSetNumber() const { return probeSetNumber_; }
  [[nodiscard]] std::uint16_t GetProbeSetType() const { return type_; }
  [[nodiscard]] std::uint8_t GetDirection() const { return direction_; }
  [[nodiscard]] std::uint8_t GetNumCellsPerList() const { return cellsPerList_; }
  // Copies the group's numbers and name; the copy shares the group's cells.
  // False and an empty group when there is no group at `index`.
  bool GetGroupInformation(int index, CLegacyCDFProbeGroupInformation& group) const;

 private:
  friend struct legacy_cdf_detail::Builder;
  std::int32_t numLists_ = 0;
  std::int32_t numGroups_ = 0;
  std::int32_t numCells_ = 0;
  std::int32_t index_ = 0;
  std::int32_t probeSetNumber_ = 0;
  std::uint16_t type_ = 0;
  std::uint8_t direction_ = 0;
  std::uint8_t cellsPerList_ = 0;
  std::shared_ptr<const std::vector<CLegacyCDFProbeGroupInformation>> groups_;
};

class CLegacyCDFQCProbeInformation {
 public:
  [[nodiscard]] std::uint16_t GetX() const { return x_; }
  [[nodiscard]] std::uint16_t GetY() const { return y_; }
  [[nodiscard]] std::uint8_t GetPLen() const { return probeLength_; }
  [[nodiscard]] bool IsPerfectMatchProbe() const { return perfectMatch_ != 0; }
  [[nodiscard]] bool IsBackgroundProbe() const { return background_ != 0; }

 private:
  friend struct legacy_cdf_detail::Builder;
  std::uint16_t x_ = 0;
  std::uint16_t y_ = 0;
  std::uint8_t probeLength_ = 0;
  std::uint8_t perfectMatch_ = 0;
  std::uint8_t background_ = 0;
};

class CLegacyCDFQCProbeSetInformation {
 public:
  [[nodiscard]] int GetNumCells() const { return numCells_; }
  [[nodiscard]] std::uint16_t GetQCProbeSetType() const { return type_; }
  bool GetProbeInformation(int index, CLegacyCDFQCProbeInformation& cell) const;

 private:
  friend struct legacy_cdf_detail::Builder;
  std::int32_t numCells_ = 0;
  std::uint16_t type_ = 0;
  std::shared_ptr<const std::vector<CLegacyCDFQCProbeInformation>> cells_;
};
