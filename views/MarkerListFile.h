#pragma once
// The marker list file: a sample's marker regions as text, one region a line,
// four decimal numbers separated by tabs and no header:
//   kind <TAB> chromosome (23 = X) <TAB> start position <TAB> end position
// Positions are in bases, the annotated positions of the region's first and
// last SNP slot, looked up through the annotation's IndexMap alone (a combined
// two-array sample too), so a list moves between samples of one array type.
// Lines end with LF; the reader takes LF and CR LF.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/MarkSet.h"
#include "core/MarkerRegion.h"

namespace views {

// The annotated position of a SNP slot, or nothing for a slot the tables do
// not hold.
using SlotPosition = std::function<std::optional<std::int32_t>(std::int32_t slot)>;

// Slot -> IndexMap row -> Position of `table`, which must outlive the result.
[[nodiscard]] SlotPosition IndexMapPositions(const CBasicData& table);

// The text of `regions`, in list order; a region whose first or last slot has
// no position is left out.
[[nodiscard]] std::string MarkerListText(const MarkerRegionList& regions, const SlotPosition& positionOf);

struct MarkerListReading {
  MarkerRegionList regions;
  int skippedLines = 0;  // lines of no chromosome 1..23, or whose range holds no SNP of it
};

// The regions of a list's text on the slots of one array type: the start
// position moves to the first SNP at or after it, the end to the last SNP at
// or before it. Fields are split at runs of tabs and read as atoi reads them
// (a missing or non-numeric field is 0).
[[nodiscard]] MarkerListReading ReadMarkerList(std::string_view text, ChromosomeStartRow chromosomeStarts,
                                               const SlotPosition& positionOf);

}  // namespace views
