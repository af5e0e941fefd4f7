#pragma once
// Internal to the legacy CDF reader: the two format readers gather plain
// fields and turn them into the reader's records here.
#include <istream>
#include <utility>

#include "arrayfiles/cdf/LegacyCDFRecords.h"

namespace legacy_cdf_detail {

struct HeaderFields {
  std::int32_t magic = 0;
  std::int32_t version = 0;
  std::int32_t numProbeSets = 0;
  std::int32_t numQCProbeSets = 0;
  std::string reference;
  std::uint16_t cols = 0;
  std::uint16_t rows = 0;
};

struct CellFields {
  std::int32_t listIndex = 0;
  std::int32_t expos = 0;
  std::uint16_t x = 0;
  std::uint16_t y = 0;
  char pBase = ' ';
  char tBase = ' ';
};

struct GroupFields {
  std::int32_t numLists = 0;
  std::int32_t numCells = 0;
  std::int32_t start = 0;
  std::int32_t stop = 0;
  std::int32_t probeSetIndex = 0;
  std::int32_t groupIndex = 0;
  std::string name;
  std::uint8_t cellsPerList = 0;
  std::uint8_t direction = 0;
};

struct ProbeSetFields {
  std::int32_t numLists = 0;
  std::int32_t numGroups = 0;
  std::int32_t numCells = 0;
  std::int32_t index = 0;
  std::int32_t probeSetNumber = 0;
  std::uint16_t type = 0;
  std::uint8_t direction = 0;
  std::uint8_t cellsPerList = 0;
};

struct Builder {
  static CLegacyCDFFileHeader Header(const HeaderFields& f) {
    CLegacyCDFFileHeader h;
    h.magic_ = f.magic;
    h.version_ = f.version;
    h.numProbeSets_ = f.numProbeSets;
    h.numQCProbeSets_ = f.numQCProbeSets;
    h.reference_ = f.reference;
    h.cols_ = f.cols;
    h.rows_ = f.rows;
    return h;
  }

  // After a failed read the header keeps what was read but counts no probe
  // sets: callers loop over the count, which the broken file may have lied about.
  static void ForgetCounts(CLegacyCDFFileHeader& h) {
    h.numProbeSets_ = 0;
    h.numQCProbeSets_ = 0;
  }

  static CLegacyCDFProbeInformation Cell(const CellFields& f) {
    CLegacyCDFProbeInformation c;
    c.listIndex_ = f.listIndex;
    c.expos_ = f.expos;
    c.x_ = f.x;
    c.y_ = f.y;
    c.pBase_ = f.pBase;
    c.tBase_ = f.tBase;
    return c;
  }

  static CLegacyCDFProbeGroupInformation Group(const GroupFields& f, std::vector<CLegacyCDFProbeInformation> cells) {
    CLegacyCDFProbeGroupInformation g;
    g.numLists_ = f.numLists;
    g.numCells_ = f.numCells;
    g.start_ = f.start;
    g.stop_ = f.stop;
    g.probeSetIndex_ = f.probeSetIndex;
    g.groupIndex_ = f.groupIndex;
    g.name_ = f.name;
    g.cellsPerList_ = f.cellsPerList;
    g.direction_ = f.direction;
    g.cells_ = std::make_shared<const std::vector<CLegacyCDFProbeInformation>>(std::move(cells));
    return g;
  }

  static CLegacyCDFProbeSetInformation ProbeSet(const ProbeSetFields& f,
                                                std::vector<CLegacyCDFProbeGroupInformation> groups) {
    CLegacyCDFProbeSetInformation s;
    s.numLists_ = f.numLists;
    s.numGroups_ = f.numGroups;
    s.numCells_ = f.numCells;
    s.index_ = f.index;
    s.probeSetNumber_ = f.probeSetNumber;
    s.type_ = f.type;
    s.direction_ = f.direction;
    s.cellsPerList_ = f.cellsPerList;
    s.groups_ = std::make_shared<const std::vector<CLegacyCDFProbeGroupInformation>>(std::move(groups));
    return s;
  }

  static CLegacyCDFQCProbeInformation QCCell(std::uint16_t x, std::uint16_t y, std::uint8_t probeLength) {
    CLegacyCDFQCProbeInformation c;
    c.x_ = x;
    c.y_ = y;
    c.probeLength_ = probeLength;
    return c;
  }

  static CLegacyCDFQCProbeSetInformation QCSet(std::uint16_t type, std::vector<CLegacyCDFQCProbeInformation> cells) {
    CLegacyCDFQCProbeSetInformation q;
    q.numCells_ = static_cast<std::int32_t>(cells.size());
    q.type_ = type;
    q.cells_ = std::make_shared<const std::vector<CLegacyCDFQCProbeInformation>>(std::move(cells));
    return q;
  }
};

// The failure texts of the reader.
inline constexpr const char* kUnableToOpen = "Unable to open the file.";
inline constexpr const char* kUnableToMap = "Unable to map the file into memory.";
inline constexpr const char* kWrongFormat = "The file does not appear to be the correct format.";
inline constexpr const char* kUnknownFormat = "Unknown file format.";
inline constexpr const char* kScanFailed = "Didn't get 10 entries in scan.";
inline constexpr const char* kEndOfFile = "The file ends before its last section.";
inline constexpr const char* kLineTooLong = "A line of the file is too long.";
inline constexpr const char* kMissingEquals = "A line of the file has no \"=\".";
inline constexpr const char* kBadCount = "A count in the file is negative or larger than the file.";
inline constexpr const char* kBadCellsPerList = "A unit has no cells per list.";
inline constexpr const char* kCellOutsideBlock = "A cell lies outside its block.";
inline constexpr const char* kTooManyUnits = "The file holds more units than its number of probe sets.";
inline constexpr const char* kBadOffset = "A probe set lies outside the file.";

// What the text form holds, read whole. Names and probe sets are those of
// the unit sections read, in file order: the file may end before the last
// probe set its header counts.
struct TextContents {
  HeaderFields header;
  std::vector<std::string> names;
  std::vector<CLegacyCDFProbeSetInformation> probeSets;
  std::vector<CLegacyCDFQCProbeSetInformation> qcProbeSets;
};

// Reads the text form from its first line; false with `error` set on
// failure, when `contents.header` keeps what was read before it.
bool ReadTextContents(std::istream& in, TextContents& contents, std::string& error);

}  // namespace legacy_cdf_detail
