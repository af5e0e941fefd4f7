#pragma once
// The cells of one probe set of a generic CDF file read straight from the
// file's bytes: its data group header and the headers of its data sets are
// scanned in place, parameter names and types compared where they lie, so a
// walk over a library of a million data sets makes no string, record or data
// set object per set.
//
// The scan answers only for a plain probe set. Anything the records would
// refuse or treat specially (a header that runs off the file or loops, a
// parameter of another type than its own, a cell area past the end of the
// file) makes it give up, and the caller reads the probe set through its
// records, whose exceptions say what is wrong.
#include <cstdint>
#include <span>
#include <vector>

namespace generic_io {

// A cell of a probe set with the index of the group (data set) holding it.
struct CDFGroupCell {
  std::int32_t group = 0;
  std::uint16_t x = 0;
  std::uint16_t y = 0;
  char pBase = 0;
  char tBase = 0;
};

// Scans the data group whose header is at `position` of `file` (the whole
// file). On success appends to `cells`, group after group, exactly the cells
// that CDFProbeSetInformation and CDFProbeGroupInformation would give through
// GetNumCells and GetCell, sets `nextGroup` to the group's next position and
// returns true. Returns false, with `cells` as it was, when the probe set is
// not plain. `fileSize` is the size the reader took the file to have: cell
// areas must end within it as within `file`.
[[nodiscard]] bool ScanProbeSetCells(std::span<const std::uint8_t> file, std::uint64_t fileSize,
                                     std::uint32_t position, std::vector<CDFGroupCell>& cells,
                                     std::uint32_t& nextGroup);

}  // namespace generic_io
