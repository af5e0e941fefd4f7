#pragma once
// The records of a generic-format CDF file: a probe set (one data group of
// the file), its groups (the data sets of that data group) and their cells
// (the rows of a data set).
//
// The records share ownership of the file object they were read from, so a
// record stays readable after the CDF object that made it is cleared or gone.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "arrayfiles/generic/DataGroup.h"
#include "arrayfiles/generic/DataSet.h"
#include "arrayfiles/generic/GenericData.h"

namespace generic_io {

// One cell: a row of a group's data set.
class CDFProbeInformation {
 public:
  [[nodiscard]] std::uint16_t GetX() const { return x_; }
  [[nodiscard]] std::uint16_t GetY() const { return y_; }
  // Columns 2 and 3, carried as they are: the list (atom) of the cell and its
  // exposure (index position).
  [[nodiscard]] std::int32_t GetListIndex() const { return listIndex_; }
  [[nodiscard]] std::int32_t GetExpos() const { return expos_; }
  [[nodiscard]] char GetPBase() const { return pBase_; }
  [[nodiscard]] char GetTBase() const { return tBase_; }

 private:
  friend class CDFProbeGroupInformation;
  std::uint16_t x_ = 0;
  std::uint16_t y_ = 0;
  std::int32_t listIndex_ = 0;
  std::int32_t expos_ = 0;
  char pBase_ = 0;
  char tBase_ = 0;
};

class CDFProbeGroupInformation {
 public:
  // Takes the data set (releasing any held before), opens it and reads the
  // group's parameters from its header. ParameterMismatchException when a
  // parameter has another type than its own.
  void SetDataSet(std::unique_ptr<DataSet> dataSet, std::shared_ptr<GenericData> file);

  [[nodiscard]] std::int32_t GetUnitType() const { return unitType_; }
  [[nodiscard]] std::uint8_t GetDirection() const { return direction_; }
  [[nodiscard]] std::int32_t GetNumLists() const { return atoms_; }
  // The cells that can be read: the smaller of the "Cells" parameter and the
  // data set's rows, and none when the set could not be opened or its
  // columns do not hold cells.
  [[nodiscard]] std::int32_t GetNumCells() const;
  // The "Cells" parameter as stored.
  [[nodiscard]] std::int32_t GetCellsParameter() const { return cells_; }
  [[nodiscard]] std::int32_t GetProbeSetNumber() const { return probeSetNumber_; }
  [[nodiscard]] std::uint8_t GetNumCellsPerList() const { return cellsPerAtom_; }
  // The data set's name.
  [[nodiscard]] std::u16string GetName() const;

  // Reads the cell at `index`; false and a zero cell when there is none.
  // DataSetRemapException when the cell's bytes cannot be mapped.
  bool GetCell(std::int32_t index, CDFProbeInformation& cell);

 private:
  [[nodiscard]] bool HoldsCells() const;

  // Declared first so that it goes last: it keeps the mapping the data set reads from.
  std::shared_ptr<GenericData> file_;
  std::unique_ptr<DataSet> dataSet_;
  std::int32_t unitType_ = 0;
  std::uint8_t direction_ = 0;
  std::int32_t atoms_ = 0;
  std::int32_t cells_ = 0;
  std::int32_t probeSetNumber_ = 0;
  std::uint8_t cellsPerAtom_ = 0;
};

class CDFProbeSetInformation {
 public:
  // Keeps the probe set's data group and reads its numbers: type,
  // direction, number and cells per atom from the first data set, atoms and
  // cells summed over all of them. A data group without data sets is a probe
  // set of no groups. ParameterMismatchException as for the groups.
  void SetDataGroup(DataGroup group, std::shared_ptr<GenericData> file);

  [[nodiscard]] std::int32_t GetNumGroups() const { return numGroups_; }
  [[nodiscard]] std::int32_t GetUnitType() const { return unitType_; }
  [[nodiscard]] std::uint8_t GetDirection() const { return direction_; }
  [[nodiscard]] std::int32_t GetNumLists() const { return atoms_; }
  [[nodiscard]] std::int32_t GetNumCells() const { return cells_; }
  [[nodiscard]] std::uint32_t GetProbeSetNumber() const { return probeSetNumber_; }
  [[nodiscard]] std::uint8_t GetNumCellsPerList() const { return cellsPerAtom_; }
  // The data group's name.
  [[nodiscard]] std::u16string GetName() const;

  // Fills `group` from data set `index` of the probe set's data group; false
  // and an empty group when there is no such data set.
  bool GetGroupInformation(std::int32_t index, CDFProbeGroupInformation& group) const;

 private:
  std::shared_ptr<GenericData> file_;
  std::optional<DataGroup> dataGroup_;
  std::int32_t unitType_ = 0;
  std::uint8_t direction_ = 0;
  std::int32_t numGroups_ = 0;
  std::int32_t atoms_ = 0;
  std::int32_t cells_ = 0;
  std::uint32_t probeSetNumber_ = 0;
  std::uint8_t cellsPerAtom_ = 0;
};

}  // namespace generic_io
