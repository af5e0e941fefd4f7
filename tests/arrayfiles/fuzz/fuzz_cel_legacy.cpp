// libFuzzer target for the legacy CEL reader on its own: the input is read
// header-only, then whole with and without masked and outlier cells, and
// every cell, header value and parameter is touched.
#include <algorithm>
#include <cstdint>

#include "arrayfiles/cel/LegacyCELFile.h"
#include "tests/arrayfiles/fuzz/FuzzInputFile.h"

namespace {

// Cells walked per input: a header may claim a grid far larger than its table.
constexpr int kWalkLimit = 1 << 18;

volatile float sink;

void Walk(CLegacyCELFile& cel) {
  const CLegacyCELHeader& header = cel.GetHeaderData();
  const int cells = std::min(header.GetNumCells(), kWalkLimit);
  for (int i = -1; i <= cells; ++i) {
    CLegacyCELFileEntry entry;
    cel.GetEntry(i, entry);
    sink = entry.Intensity + entry.Stdv + entry.Pixels;
  }
  const int cols = header.GetCols(), rows = header.GetRows();
  for (int y : {-1, 0, rows - 1, rows}) {
    for (int x : {-1, 0, cols - 1, cols}) sink = cel.GetPixels(x, y) + cel.IsMasked(x, y) + cel.IsOutlier(x, y);
  }
  for (const char* key : {"HEADER", "cols", "GridCornerLL", "NumberMaskedCells", "AlgorithmParameters"}) {
    sink = static_cast<float>(cel.GetHeaderValue(key).size());
  }
  for (int i = 0; i <= header.GetNumberAlgorithmParameters() + 1; ++i) {
    sink = static_cast<float>(cel.GetAlgorithmParameter(cel.GetAlgorithmParameterTag(i)).size());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  if (!fuzz_support::WriteInput(bytes, size)) return 0;
  CLegacyCELFile cel;
  cel.SetFileName(fuzz_support::InputPath());
  if (cel.Read(true)) Walk(cel);
  for (bool flags : {true, false}) {
    cel.SetReadMaskedCells(flags);
    cel.SetReadOutlierCells(flags);
    if (cel.Read(false)) Walk(cel);
  }
  return 0;
}
