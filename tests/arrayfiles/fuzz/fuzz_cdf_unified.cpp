// libFuzzer target for the one view of CDF files: the input is written to a
// file, read through UnifiedCDFData (generic, XDA or text by its first bytes),
// and walked whole: every probe set's name, groups and cells; then the SNP
// probe sets alone, as the sample extraction asks for them, and one probe set
// asked for again after the walk. Then the cell walk of a second view must
// match the records of a third, probe set by probe set.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "arrayfiles/cdf/UnifiedCDFData.h"
#include "tests/arrayfiles/CdfRecordCells.h"
#include "tests/arrayfiles/fuzz/FuzzInputFile.h"

namespace {

volatile int sink;

void WalkProbeSet(unified_io::UnifiedCDFData& cdf, int i) {
  unified_io::UnifiedCDFProbeSetInformation set;
  unified_io::UnifiedCDFProbeGroupInformation group;
  unified_io::UnifiedCDFProbeInformation cell;
  cdf.GetProbeSetInformation(i, set);
  for (int g = 0; g <= set.GetNumGroups(); ++g) {
    set.GetGroupInformation(g, group);
    sink = static_cast<long long>(group.GetDirection()) + static_cast<int>(group.GetName().size());
    for (int c = 0; c <= group.GetNumCells(); ++c) {
      group.GetCell(c, cell);
      sink = static_cast<long long>(cell.GetX()) + cell.GetY() + cell.GetPBase() + cell.GetTBase() + cell.GetListIndex();
    }
  }
}

// The cell walk of one view must give, probe set by probe set, what the
// records of another view of the same file give, and note the same failures.
void CompareCellWalk(const std::string& path, int count) {
  unified_io::UnifiedCDFData walked;
  unified_io::UnifiedCDFData records;
  walked.SetFileName(path);
  records.SetFileName(path);
  if (walked.Read() != records.Read()) std::abort();
  std::vector<unified_io::UnifiedCDFGroupCell> cells;
  for (int i = -1; i <= count; ++i) {
    const bool read = walked.GetProbeSetCells(i, cells);
    if (!read && !cells.empty()) std::abort();
    if (cells != cdf_test::RecordCells(records, i) || walked.GetError() != records.GetError()) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  if (!fuzz_support::WriteInput(bytes, size)) return 0;
  const std::string& path = fuzz_support::InputPath();

  unified_io::UnifiedCDFData cdf;
  cdf.SetFileName(path);
  // The accessors must stay safe after a failed read too, so the walk runs either way.
  [[maybe_unused]] const bool read = cdf.Read();
  const unified_io::UnifiedCDFFileHeader& header = cdf.GetHeader();
  const int count = header.GetNumProbeSets();
  sink = static_cast<long long>(header.GetRows()) + header.GetCols() + header.GetNumQCProbeSets() +
         static_cast<int>(header.GetReferenceSequence().size());
  for (int i = -1; i <= count; ++i) {
    sink = static_cast<int>(cdf.GetProbeSetName(i).size());
    WalkProbeSet(cdf, i);
  }
  for (int i = 0; i < count; ++i) {
    if (cdf.GetProbeSetName(i).rfind("SNP", 0) == 0) WalkProbeSet(cdf, i);
  }
  if (count > 0) WalkProbeSet(cdf, 0);
  cdf.Close();
  CompareCellWalk(path, count);
  sink = cdf.GetHeader().GetNumProbeSets();
  return 0;
}
