// libFuzzer target for CEL files through the unified object: the input is
// read as whichever form the adapters take it for, then every cell of the
// grid (up to a bound that keeps one input fast) is asked for by (x, y) and
// by index, with probes just outside the grid and every header question.
#include <algorithm>
#include <cstdint>

#include "arrayfiles/generic/GenericExceptions.h"
#include "arrayfiles/unified/UnifiedCELData.h"
#include "tests/arrayfiles/fuzz/FuzzInputFile.h"

namespace {

// Rows and columns walked per input: a header may claim a grid of billions
// of cells that hold nothing.
constexpr int kWalkLimit = 256;

volatile float sink;

void Walk(unified_io::UnifiedCELData& cel) {
  const int cols = cel.GetCols(), rows = cel.GetRows();
  unified_io::UnifiedCELFileEntry entry;
  for (int y = -1; y <= std::min(rows, kWalkLimit); ++y) {
    for (int x = -1; x <= std::min(cols, kWalkLimit); ++x) {
      cel.GetEntry(x, y, entry);
      sink = entry.Intensity + entry.Stdv + entry.Pixels + cel.IsMasked(x, y) + cel.IsOutlier(x, y);
    }
  }
  const int cells = cel.GetNumCells();
  for (int i : {-1, 0, cells - 1, cells, cells + 1}) {
    cel.GetEntry(i, entry);
    sink = cel.GetIntensity(i) + cel.GetStdv(i) + cel.GetPixels(i) + cel.IsMasked(i) + cel.IsOutlier(i) +
           cel.IndexToX(i) + cel.IndexToY(i);
  }
  sink = static_cast<float>(cel.GetChipType().size() + cel.GetDatHeader().size() + cel.GetHeader().size() +
                            cel.GetParams().size() + cel.GetAlg().size());
  sink = static_cast<float>(static_cast<long long>(cel.GetNumMasked()) + cel.GetNumOutliers() + cel.GetCellMargin() + cel.GetVersion());
  sink = cel.GetGridCorners().lowerleftx;
  unified_io::UnifiedTagValuePairList params;
  cel.GetParameters(params);
  for (int i = -1; i <= cel.GetNumberAlgorithmParameters(); ++i) sink = cel.GetAlgorithmParameterTag(i).size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  if (!fuzz_support::WriteInput(bytes, size)) return 0;
  unified_io::UnifiedCELData cel;
  cel.SetFileName(fuzz_support::InputPath());
  try {
    // The accessors must stay safe after a failed read too, so the walk runs either way.
    [[maybe_unused]] const bool read = cel.Read(true);
    Walk(cel);
  } catch (const generic_exceptions::GenericException&) {
  }
  return 0;
}
