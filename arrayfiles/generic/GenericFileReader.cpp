#include "arrayfiles/generic/GenericFileReader.h"

#include <fstream>

#include "arrayfiles/generic/HeaderReaders.h"

namespace generic_io {

void GenericFileReader::ReadHeader(GenericData& data, int mode) {
  std::ifstream file;
  std::uint64_t fileSize = OpenInputFile(fileName_, file);

  FileHeader& header = data.Header();
  header.Clear();
  header.fileName = fileName_;
  HeaderStream stream(file, fileSize);
  FileHeaderReader::Read(stream, header);
  // The count is taken as unsigned: a negative one cannot fit the file.
  std::uint32_t groupCount = std::uint32_t(header.numDataGroups);
  if (mode == MinimalDataSetHeaders) {
    DataGroupHeaderReader::ReadAllMinimal(stream, groupCount, header);
  } else if (mode != NoDataGroupHeaders) {
    DataGroupHeaderReader::ReadAll(stream, groupCount, header);
  }
}

}  // namespace generic_io
