#pragma once
// The cells of a probe set as its group and cell records give them, to hold
// against the unified reader's cell walk. Shared by the unified CDF tests
// and the fuzz target.
#include <vector>

#include "arrayfiles/cdf/UnifiedCDFData.h"

namespace cdf_test {

inline std::vector<unified_io::UnifiedCDFGroupCell> RecordCells(unified_io::UnifiedCDFData& cdf, int i) {
  std::vector<unified_io::UnifiedCDFGroupCell> cells;
  unified_io::UnifiedCDFProbeSetInformation set;
  unified_io::UnifiedCDFProbeGroupInformation group;
  unified_io::UnifiedCDFProbeInformation cell;
  cdf.GetProbeSetInformation(i, set);
  for (int g = 0; g < set.GetNumGroups(); ++g) {
    set.GetGroupInformation(g, group);
    for (int c = 0; c < group.GetNumCells(); ++c) {
      group.GetCell(c, cell);
      cells.push_back({g, cell.GetX(), cell.GetY(), cell.GetPBase(), cell.GetTBase()});
    }
  }
  return cells;
}

}  // namespace cdf_test
