// libFuzzer target for the legacy CDF reader on its own: the input is read as
// the form its first bytes say, then by each form's reader directly, and every
// probe set, group, cell and QC unit is touched.
#include <cstdint>
#include <string>

#include "arrayfiles/cdf/LegacyCDFFile.h"
#include "tests/arrayfiles/fuzz/FuzzInputFile.h"

namespace {

volatile int sink;

void Walk(CLegacyCDFFile& file) {
  const CLegacyCDFFileHeader header = file.GetHeader();
  sink = static_cast<long long>(header.GetRows()) + header.GetCols() + static_cast<int>(header.GetReference().size());
  for (int i = -1; i <= header.GetNumProbeSets(); ++i) {
    sink = static_cast<int>(file.GetProbeSetName(i).size());
    CLegacyCDFProbeSetInformation set;
    file.GetProbeSetInformation(i, set);
    for (int g = 0; g <= set.GetNumGroups(); ++g) {
      CLegacyCDFProbeGroupInformation group;
      set.GetGroupInformation(g, group);
      sink = static_cast<long long>(group.GetStart()) + group.GetStop() + static_cast<int>(group.GetName().size());
      for (int c = 0; c <= group.GetNumCells(); ++c) {
        CLegacyCDFProbeInformation cell;
        group.GetCell(c, cell);
        sink = static_cast<long long>(cell.GetX()) + cell.GetY() + cell.GetPBase() + cell.GetTBase() + cell.GetExpos();
      }
    }
  }
  for (int q = 0; q <= header.GetNumQCProbeSets(); ++q) {
    CLegacyCDFQCProbeSetInformation qc;
    file.GetQCProbeSetInformation(q, qc);
    for (int c = 0; c < qc.GetNumCells(); ++c) {
      CLegacyCDFQCProbeInformation cell;
      qc.GetProbeInformation(c, cell);
      sink = static_cast<long long>(cell.GetX()) + cell.GetY() + cell.GetPLen();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  if (!fuzz_support::WriteInput(bytes, size)) return 0;
  const std::string& path = fuzz_support::InputPath();

  CLegacyCDFFile file;
  file.SetFileName(path);
  if (file.Read()) Walk(file);
  if (file.ReadTextFormat()) Walk(file);
  if (file.ReadXDAFormat()) Walk(file);
  file.Close();
  return 0;
}
