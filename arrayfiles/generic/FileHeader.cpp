#include "arrayfiles/generic/FileHeader.h"

namespace generic_io {

void FileHeader::Clear() {
  dataGroupHeaders.clear();
  genericHeader.Clear();
  numDataGroups = 0;
  firstDataGroupPos = 0;
}

DataGroupHeader* FileHeader::FindDataGroupHeader(std::u16string_view name) {
  for (DataGroupHeader& header : dataGroupHeaders) {
    if (header.name == name) return &header;
  }
  return nullptr;
}

}  // namespace generic_io
