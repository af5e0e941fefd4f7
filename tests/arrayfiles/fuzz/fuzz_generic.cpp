// libFuzzer target for the generic container reader: the input is written to a
// file, its headers are read with each header mode, and every data set is opened
// with its first and last rows and every text cell touched.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "arrayfiles/generic/GenericExceptions.h"
#include "arrayfiles/generic/GenericFileReader.h"

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

volatile std::uint8_t sink;

void TouchCells(generic_io::DataSet& set) {
  if (!set.Open()) return;
  const int rows = set.Rows();
  for (int c = 0; c < set.Columns(); ++c) {
    const int type = set.Header().columns[c].type;
    for (int r = 0; r < rows; ++r) {
      if (type == generic_io::kColumnText8) {
        std::string text;
        set.GetData(r, c, text);
      } else if (type == generic_io::kColumnText16) {
        std::u16string text;
        set.GetData(r, c, text);
      } else if (r == 0 || r == rows - 1) {
        const std::uint8_t* cell = set.FilePosition(r, c, 2);
        const int width = set.Header().columns[c].GetWidth();
        for (int i = 0; i < width; ++i) sink = cell[i];
      }
    }
  }
  if (set.Columns() > 0 && set.Header().columns[0].GetWidth() == 4) {
    std::vector<std::uint32_t> values;
    set.GetDataRaw32(0, rows - 2, 5, values);
  }
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
        TouchCells(*data.DataSet(group.name, header.name));
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
      TouchCells(*group.DataSet(s));
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
