#include "arrayfiles/generic/DataSetHeader.h"

namespace generic_io {

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
