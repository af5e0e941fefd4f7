#pragma once
// Reads the copy-number change text of Display Samples into the graph's
// segment and sample lists: a header line, then one line per stretch with the
// sample name, the copy-number state, the chromosome, the first SNP index and
// position, the last SNP index and position, and perhaps the known genes.
#include <string>
#include <string_view>
#include <vector>

#include "views/graph/QOVAGraphDoc.h"

namespace qova::views::graph {

struct GraphContents {
  std::vector<GraphSegment> segments;
  std::vector<GraphSample> samples;
};

// The colour class of a copy-number state: 0 and 1 losses, 3 and 4 gains,
// 5 and above the highest class (edited states can carry marker kinds).
[[nodiscard]] int ColourClassOfState(int state);

// Samples are numbered in the order they first appear, named and shown by
// their name, in group 0, rows in that order. False with `error` saying the
// line ("line 4: ...") when the text does not fit.
[[nodiscard]] bool ReadCopyNumberChanges(std::string_view text, GraphContents& contents, std::string& error);

}  // namespace qova::views::graph
