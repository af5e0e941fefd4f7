#pragma once
// Reads the headers of a generic file into a GenericData.
#include <string>

#include "arrayfiles/generic/GenericData.h"

namespace generic_io {

// What ReadHeader reads; any other value reads like AllHeaders.
enum ReadHeaderMode {
  AllHeaders = 0,             // every group header with its complete data set headers
  MinimalDataSetHeaders = 1,  // of each data set header only its positions and name
  NoDataGroupHeaders = 2      // the file header and the generic data header only
};

class GenericFileReader {
 public:
  void SetFilename(std::string path) { fileName_ = std::move(path); }
  [[nodiscard]] const std::string& GetFilename() const { return fileName_; }

  // FileNotFoundException when the file cannot be opened (`data` untouched);
  // InvalidFileTypeException for a wrong first byte or malformed headers;
  // InvalidVersionException for a wrong version byte. After a failure `data`
  // keeps what was read before it.
  void ReadHeader(GenericData& data, int mode = AllHeaders);
  void Read(GenericData& data, int mode = AllHeaders) { ReadHeader(data, mode); }

 private:
  std::string fileName_;
};

}  // namespace generic_io
