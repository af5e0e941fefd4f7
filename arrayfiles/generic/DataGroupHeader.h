#pragma once
// The header of one data group: its name and the chain of its data sets.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "arrayfiles/generic/DataSetHeader.h"

namespace generic_io {

struct DataGroupHeader {
  std::u16string name;
  std::uint32_t dataSetPos = 0;  // the first data set header
  std::uint32_t nextGroupPos = 0;
  std::vector<DataSetHeader> dataSetHeaders;

  // The caller keeps 0 <= index < the number of data set headers.
  [[nodiscard]] DataSetHeader& GetDataSetHeader(std::size_t index) { return dataSetHeaders[index]; }
  [[nodiscard]] const DataSetHeader& GetDataSetHeader(std::size_t index) const { return dataSetHeaders[index]; }
  [[nodiscard]] int GetDataSetCount() const { return int(dataSetHeaders.size()); }
  // The first data set header of exactly that name, or null.
  [[nodiscard]] DataSetHeader* FindDataSetHeader(std::u16string_view setName);
  [[nodiscard]] const std::u16string& GetName() const { return name; }
};

}  // namespace generic_io
