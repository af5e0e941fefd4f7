#pragma once
// Opens a data set and reads every one of its cells the way the data objects
// do: texts through GetData, numbers through FilePosition and the raw getters.
// Shared by the damaged-file tests and the fuzz target.
#include <cstdint>
#include <string>
#include <vector>

#include "arrayfiles/generic/DataSet.h"

namespace generic_test {

inline void ReadEveryCell(generic_io::DataSet& set) {
  if (!set.Open()) return;
  volatile std::uint8_t sink = 0;
  const int rows = set.Rows();
  for (int c = 0; c < set.Columns(); ++c) {
    const generic_io::ColumnDescription& column = set.Header().columns[c];
    for (int r = 0; r < rows; ++r) {
      if (column.type == generic_io::kColumnText8) {
        std::string text;
        set.GetData(r, c, text);
      } else if (column.type == generic_io::kColumnText16) {
        std::u16string text;
        set.GetData(r, c, text);
      } else {
        const std::uint8_t* cell = set.FilePosition(r, c, 2);
        for (int i = 0; i < column.GetWidth(); ++i) sink = cell[i];
      }
    }
    if (column.GetWidth() == 2) {
      std::vector<std::uint16_t> values;
      set.GetDataRaw16(c, rows - 2, 5, values);
    } else if (column.GetWidth() == 4) {
      std::vector<std::uint32_t> values;
      set.GetDataRaw32(c, rows - 2, 5, values);
    }
  }
  (void)sink;
}

}  // namespace generic_test
