#include "arrayfiles/generic/DataSetHeader.h"

namespace generic_io {

ColumnDescription::ColumnDescription(std::u16string columnName, int columnType, std::int32_t size)
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

std::int32_t DataSetHeader::GetRowSize() const {
  std::int64_t width = 0;
  for (const ColumnDescription& column : columns) width += column.GetWidth();
  return std::int32_t(width);
}

bool DataSetHeader::FindParameter(std::u16string_view wanted, GenericParameter& out) const {
  return FindParameterByName(parameters, wanted, out);
}

const GenericParameter* DataSetHeader::FindParameter(std::u16string_view wanted) const {
  for (const GenericParameter& parameter : parameters) {
    if (SameText(parameter.GetName(), wanted)) return &parameter;
  }
  return nullptr;
}

}  // namespace generic_io
