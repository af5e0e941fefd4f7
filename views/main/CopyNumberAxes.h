#pragma once
// The labels of the copy-number and allele panels' axes: what the centre
// line and the lines 100 units below and above it stand for at the mode's
// magnification.
#include <array>
#include <string>

namespace qova::views::main {

enum class AxisKind { CopyNumber, AlleleAnalysis, AlleleDifference };

// The labels' size, in tenths of a point; they stand right-aligned left of
// their column.
inline constexpr int kAxisLabelFont = 500;

// Labels of the centre line, the line 100 below and the line 100 above. At
// magnification 100: log scale "0", "-1", "1"; linear "2", "0", "4" for copy
// number, "1", "0", "2" for an allele; the difference "0", "-1", "1" on both.
[[nodiscard]] std::array<std::string, 3> AxisLabels(AxisKind kind, bool logScale, int magnification);

}  // namespace qova::views::main
