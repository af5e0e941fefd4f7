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
#include <vector>

#include "core/MarkSet.h"
#include "core/MarkerRegion.h"

namespace qova::views::main {

// The annotated position of a SNP slot, or nothing for a slot the tables do
// not hold.
using SlotPosition = std::function<std::optional<std::int32_t>(std::int32_t slot)>;

// Slot -> IndexMap row -> Position of `table`, which must outlive the result.
[[nodiscard]] SlotPosition IndexMapPositions(const CBasicData& table);

// The text of `regions`, in list order; a region whose first or last slot has
// no position is left out.
[[nodiscard]] std::string MarkerListText(const MarkerRegionList& regions, const SlotPosition& positionOf);

// A line of a list that is left out, and why.
struct SkippedMarkerLine {
  int line = 0;  // counted from 1
  std::string text;
  std::string why;
};

struct MarkerListReading {
  MarkerRegionList regions;
  std::vector<SkippedMarkerLine> skipped;  // in file order
};

// The regions of a list's text on the slots of one array type: the start
// position moves to the first SNP at or after it, the end to the last SNP at
// or before it. Fields are split at runs of tabs; blank lines are passed
// over. A line is left out when it is not four whole numbers that fit an int,
// when its kind is not one the marker dialogs offer (HMM states 0..6, user
// markers 0..7), its chromosome not 1..23, its start after its end, or when
// its positions hold no SNP of its chromosome.
[[nodiscard]] MarkerListReading ReadMarkerList(std::string_view text, ChromosomeStartRow chromosomeStarts,
                                               const SlotPosition& positionOf);

// The lines left out, one a line as "line N: text (why)", the first twelve
// of them and a count of the rest.
[[nodiscard]] std::string SkippedLinesText(const std::vector<SkippedMarkerLine>& skipped);

}  // namespace qova::views::main
