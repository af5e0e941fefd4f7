#include "arrayfiles/generic/DataGroupHeader.h"

namespace generic_io {

DataSetHeader* DataGroupHeader::FindDataSetHeader(std::u16string_view setName) {
  for (DataSetHeader& header : dataSetHeaders) {
    if (header.name == setName) return &header;
  }
  return nullptr;
}

}  // namespace generic_io
