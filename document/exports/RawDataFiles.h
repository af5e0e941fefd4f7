#pragma once
// The raw-data files of the Display Samples export, in the output folder:
// one per sample (<name>Self.txt or <name>NonSelf.txt), or one per array
// type with the samples side by side (<type name>000Self.txt ...).
//
// The side-by-side file is built in blocks of at most 20 samples, so that no
// more than 20 whole results are held at once: block b goes to <type
// name><b as three digits><suffix>, block 0 with the annotation columns at
// the left, every block with two header lines (names, column headers) and
// one line per SNP index. The blocks are then merged in one pass, reading
// every block file line by line side by side, into the 000 file; the others
// are deleted.
#include <cstdint>
#include <string>
#include <vector>

#include "document/exports/RawDataExport.h"
#include "document/exports/TextExport.h"

class CGlobalData;

namespace qova::document::exports {

struct RawExportRequest {
  std::vector<std::string> Names;  // sample names, in list order
  bool Self = false;               // self results (.CFS), else non-self ones
  RawColumnSet Columns{};
};

// Results that cannot be read or written, names that could lead out of the
// folders, and types whose file could not be made are noted in `skipped`;
// the others are written.
void WriteRawDataPerSample(const RawExportRequest& request, const CGlobalData& global,
                           std::vector<SkippedSample>& skipped);
void WriteRawDataCombined(const RawExportRequest& request, const CGlobalData& global,
                          std::vector<SkippedSample>& skipped);

// Puts the lines of `blocks` side by side into blocks[0] (line n of the
// result is line n of each block, in order) and deletes the other blocks.
// Each block must hold exactly `lines` lines; otherwise, or when a file
// fails, nothing changes and the reason is returned. Empty when merged.
[[nodiscard]] std::string MergeBlockFiles(const std::vector<std::string>& blocks, std::int64_t lines);

}  // namespace qova::document::exports
