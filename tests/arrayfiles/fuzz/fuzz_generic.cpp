// libFuzzer target for the generic container reader: the input is written to a
// file, its headers are read with all headers and with the generic header only,
// and every data set found is opened and every cell read.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "arrayfiles/generic/GenericExceptions.h"
#include "arrayfiles/generic/GenericFileReader.h"
#include "tests/arrayfiles/GenericCellWalk.h"

namespace {

std::string MakeInputFile() {
  char pattern[] = "/tmp/qova-fuzz-generic-XXXXXX";
  int fd = mkstemp(pattern);
  if (fd < 0) std::abort();
  close(fd);
  return pattern;
}

// The one file every input is written to, removed when the fuzzer exits.
const std::string& InputPath() {
  static const std::string path = MakeInputFile();
  static const bool removedAtExit = std::atexit([] { std::remove(InputPath().c_str()); }) == 0;
  (void)removedAtExit;
  return path;
}

void ReadAllSets(const std::string& path) {
  generic_io::GenericData data;
  generic_io::GenericFileReader reader;
  reader.SetFilename(path);
  reader.ReadHeader(data, generic_io::AllHeaders);
  const std::vector<generic_io::DataGroupHeader> groups = data.Header().dataGroupHeaders;
  for (const generic_io::DataGroupHeader& group : groups) {
    for (const generic_io::DataSetHeader& header : group.dataSetHeaders) {
      try {
        generic_test::ReadEveryCell(*data.DataSet(group.name, header.name));
      } catch (const generic_exceptions::GenericException&) {
      }
    }
  }
}

void ReadGroupsByPosition(const std::string& path) {
  generic_io::GenericData data;
  generic_io::GenericFileReader reader;
  reader.SetFilename(path);
  reader.ReadHeader(data, generic_io::NoDataGroupHeaders);
  generic_io::DataGroup group = data.DataGroup(data.Header().firstDataGroupPos);
  for (int s = 0; s < group.Header().GetDataSetCount(); ++s) {
    try {
      generic_test::ReadEveryCell(*group.DataSet(s));
    } catch (const generic_exceptions::GenericException&) {
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const std::string& path = InputPath();
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return 0;
  std::fwrite(bytes, 1, size, file);
  std::fclose(file);
  for (auto read : {ReadAllSets, ReadGroupsByPosition}) {
    try {
      read(path);
    } catch (const generic_exceptions::GenericException&) {
    }
  }
  return 0;
}
