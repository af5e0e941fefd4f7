#pragma once
// The header of one data set: a table of typed columns with a fixed row width.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "arrayfiles/generic/GenericParameter.h"

namespace generic_io {

// Column type codes that change how a column's stored size is split.
inline constexpr int kColumnText8 = 7;   // INT32 count, then 8-bit characters
inline constexpr int kColumnText16 = 8;  // INT32 count, then big-endian UTF-16 units
// The numeric codes of the writers of these files (the reader itself only
// distinguishes the two text types above).
inline constexpr int kColumnInt8 = 0;
inline constexpr int kColumnUInt8 = 1;
inline constexpr int kColumnInt16 = 2;
inline constexpr int kColumnUInt16 = 3;
inline constexpr int kColumnInt32 = 4;
inline constexpr int kColumnUInt32 = 5;
inline constexpr int kColumnFloat = 6;

struct ColumnDescription {
  ColumnDescription() = default;
  // Splits the stored size by the type: texts have a 4-byte count ahead of
  // their elements, and a 16-bit text of odd size - 4 drops its odd byte.
  // Inline: walks over a library's headers split a million columns.
  ColumnDescription(std::u16string columnName, int columnType, std::int32_t size)
      : name(std::move(columnName)), type(columnType) {
    if (type == kColumnText8) {
      elementWidth = 1;
      elementCount = size - 4;
      overhead = 4;
    } else if (type == kColumnText16) {
      elementWidth = 2;
      elementCount = (size - 4) / 2;
      overhead = 4;
    } else {
      elementWidth = size;
      elementCount = 1;
      overhead = 0;
    }
  }

  std::u16string name;
  int type = 0;
  std::int32_t elementWidth = 0;
  std::int32_t elementCount = 0;
  std::int32_t overhead = 0;

  // Bytes the cell takes in a row.
  [[nodiscard]] std::int32_t GetWidth() const { return elementWidth * elementCount + overhead; }
  [[nodiscard]] int GetType() const { return type; }
  [[nodiscard]] const std::u16string& GetName() const { return name; }
};

struct DataSetHeader {
  std::int32_t rowCount = 0;
  std::u16string name;
  std::vector<GenericParameter> parameters;  // file order, duplicates kept
  std::vector<ColumnDescription> columns;
  std::uint32_t headerStartPos = 0;  // where the header was read (to complete a minimal one)
  std::uint32_t dataStartPos = 0;    // row 0, column 0
  std::uint32_t nextSetPos = 0;

  // The sum of the column widths (the reader refuses headers where it passes INT32).
  [[nodiscard]] std::int32_t GetRowSize() const;
  [[nodiscard]] ColumnDescription GetColumn(std::size_t index) const { return columns.at(index); }
  [[nodiscard]] int GetColumnCount() const { return int(columns.size()); }
  bool FindParameter(std::u16string_view name, GenericParameter& out) const;
  // The first parameter named exactly `name`, or null; no copy is made.
  [[nodiscard]] const GenericParameter* FindParameter(std::u16string_view name) const;
  [[nodiscard]] std::u16string GetName() const { return name; }
  // Read with the minimal header mode and not yet completed.
  [[nodiscard]] bool IsMinimal() const { return rowCount == 0 && columns.empty() && parameters.empty(); }
};

}  // namespace generic_io
