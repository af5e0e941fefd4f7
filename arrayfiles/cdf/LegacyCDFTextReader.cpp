// The text form of a CDF library file. Each line's meaning comes from its
// position, not from its key: the reader takes the text after the first "="
// of the lines it needs and passes over the others.
#include <algorithm>
#include <cctype>
#include <limits>
#include <string_view>

#include "arrayfiles/cdf/LegacyCDFBuilder.h"
#include "arrayfiles/common/LittleEndianInput.h"

namespace legacy_cdf_detail {

namespace {

constexpr std::int32_t kLineCapacity = 4096;
// The reference sequence stands on one line of its own.
constexpr std::int32_t kReferenceLineCapacity = 65000;
// The fewest bytes a QC unit or block section, and a cell line, can take: the
// bounds of the counts the file gives for them.
constexpr std::uint64_t kMinSectionBytes = 16;
constexpr std::uint64_t kMinCellLineBytes = 16;

struct ParseError {
  const char* message;
};

bool IsSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

// Reads the conversions of a scanf pattern one at a time, with scanf's rules
// for white space, so that a line scans as the vendor's tools scan it.
class Scanner {
 public:
  explicit Scanner(std::string_view text) : p_(text.data()), end_(text.data() + text.size()) {}

  bool Int(std::int32_t& value) {
    SkipSpace();
    const char* q = p_;
    bool negative = false;
    if (q < end_ && (*q == '+' || *q == '-')) negative = *q++ == '-';
    if (q == end_ || !std::isdigit(static_cast<unsigned char>(*q))) return false;
    std::int64_t v = 0;
    for (; q < end_ && std::isdigit(static_cast<unsigned char>(*q)); ++q) {
      if (v <= std::numeric_limits<std::int32_t>::max()) v = v * 10 + (*q - '0');
    }
    if (negative) v = -v;
    value = static_cast<std::int32_t>(std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(),
                                                               std::numeric_limits<std::int32_t>::max()));
    p_ = q;
    return true;
  }
  bool Word() {
    SkipSpace();
    const char* q = p_;
    while (q < end_ && !IsSpace(*q)) ++q;
    if (q == p_) return false;
    p_ = q;
    return true;
  }
  // A pattern's blank followed by %c: white space skipped, then one character.
  bool Char(char& c) {
    SkipSpace();
    if (p_ == end_) return false;
    c = *p_++;
    return true;
  }

 private:
  void SkipSpace() {
    while (p_ < end_ && IsSpace(*p_)) ++p_;
  }
  const char* p_;
  const char* end_;
};

// The decimal integer at the start of a value (blanks and a sign allowed, 0 without digits).
std::int32_t LeadingNumber(std::string_view value) {
  std::int32_t n = 0;
  Scanner(value).Int(n);
  return n;
}

// The unit type as the text form codes it, mapped to the stored type.
std::uint16_t StoredUnitType(std::int32_t textType) {
  switch (textType) {
    case 1: return ResequencingProbeSetType;
    case 2: return GenotypingProbeSetType;
    case 3: return ExpressionProbeSetType;
    case 4: return UnknownProbeSetType;
    case 5: return ResequencingProbeSetType;
    case 6: return ResequencingProbeSetType;
    case 7: return TagProbeSetType;
    case 8: return CopyNumberProbeSetType;
    case 9: return GenotypeControlProbeSetType;
    case 10: return ExpressionControlProbeSetType;
    default: return UnknownProbeSetType;
  }
}

// Cells per list for a unit whose "NumAtoms" line does not give it.
std::int64_t DerivedCellsPerList(std::uint16_t type, std::int64_t lists, std::int64_t cells) {
  const std::int64_t quotient = lists != 0 ? cells / lists : -1;
  switch (type) {
    case GenotypingProbeSetType:
    case ResequencingProbeSetType:
    case TagProbeSetType:
      return 4;
    case UnknownProbeSetType:
      return quotient == 4 ? 4 : 1;
    case ExpressionProbeSetType:
    case CopyNumberProbeSetType:
    case GenotypeControlProbeSetType:
    case ExpressionControlProbeSetType:
      if (lists == 0) return 1;
      // Fewer cells than lists leave no cell per list, which the unit's reader refuses.
      return quotient < 0 ? 0 : (quotient < 255 ? quotient : 1);
    default:
      return 1;
  }
}

// Where the c-th cell line of a block is kept. An expression list of two
// cells keeps its perfect-match cell first and the mismatch cell (probe base
// equal to the target base) second; the cells of every other list stand in
// the file in reverse order. Expression lists of another length keep the
// file's order, so that no cell overwrites another.
std::int64_t CellSlot(std::uint16_t type, std::int64_t k, std::int64_t c, bool baseEqual) {
  if (type == ExpressionProbeSetType) {
    if (k == 2) return c - c % 2 + (baseEqual ? 1 : 0);
    return c;
  }
  return (c / k + 1) * k - c % k - 1;
}

class TextParser {
 public:
  TextParser(std::istream& in, TextContents& contents)
      : in_(in), contents_(contents), fileSize_(LittleEndianInput::BytesLeft(in)),
        buffer_(static_cast<std::size_t>(kReferenceLineCapacity)) {}

  void Run() {
    if (Next(kLineCapacity).substr(0, 5) != "[CDF]") throw ParseError{kUnknownFormat};
    ReadHeader();
    ReadQCUnits();
    ReadUnits();
  }

 private:
  // The next line that is not empty; empty at the end of the file.
  std::string_view Next(std::int32_t capacity) {
    LittleEndianInput::ReadTextLine(in_, buffer_.data(), capacity);
    if (in_.fail() && !in_.eof()) throw ParseError{kLineTooLong};
    return std::string_view(buffer_.data());
  }
  std::string_view Require(std::int32_t capacity = kLineCapacity) {
    std::string_view line = Next(capacity);
    if (line.empty()) throw ParseError{kEndOfFile};
    return line;
  }
  void Skip() { Require(); }
  std::string_view Value(std::int32_t capacity = kLineCapacity) {
    std::string_view line = Require(capacity);
    std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) throw ParseError{kMissingEquals};
    return line.substr(eq + 1);
  }
  std::int32_t Number() { return LeadingNumber(Value()); }
  // A count of things of at least `minBytes` each that the file must hold, so
  // that what is allocated for them stays within the file's size.
  std::int32_t Count(std::uint64_t minBytes) {
    std::int32_t n = Number();
    if (n < 0 || static_cast<std::uint64_t>(n) > fileSize_ / minBytes) throw ParseError{kBadCount};
    return n;
  }

  void ReadHeader() {
    HeaderFields& h = contents_.header;
    std::string_view version = Value().substr(0, 5);
    if (version == "GC1.0") h.version = 1;
    if (version == "GC2.0") h.version = 2;
    if (version == "GC3.0") h.version = 3;
    Skip();  // the chip section's head
    Skip();  // the chip name
    h.rows = static_cast<std::uint16_t>(Number());
    h.cols = static_cast<std::uint16_t>(Number());
    // Units need not all be in the file; only those read are kept.
    h.numProbeSets = Count(1);
    Skip();  // the largest unit number
    h.numQCProbeSets = 0;
    if (h.version > 1) {
      h.numQCProbeSets = Count(kMinSectionBytes);
      h.reference = std::string(Value(kReferenceLineCapacity));
    }
  }

  void ReadQCUnits() {
    const HeaderFields& h = contents_.header;
    for (std::int32_t q = 0; q < h.numQCProbeSets; ++q) {
      Skip();  // the section head
      const auto type = static_cast<std::uint16_t>(Number());
      const std::int32_t numCells = Count(kMinCellLineBytes);
      Skip();  // the cell header
      std::vector<CLegacyCDFQCProbeInformation> cells;
      cells.reserve(static_cast<std::size_t>(numCells));
      for (std::int32_t c = 0; c < numCells; ++c) {
        Scanner scan(Value());
        std::int32_t x = 0, y = 0, length = 0;
        // "%d %d %*s %d": x, y, the probe sequence, the probe length
        if (scan.Int(x) && scan.Int(y) && scan.Word()) scan.Int(length);
        cells.push_back(Builder::QCCell(static_cast<std::uint16_t>(x), static_cast<std::uint16_t>(y),
                                        static_cast<std::uint8_t>(length)));
      }
      contents_.qcProbeSets.push_back(Builder::QCSet(type, std::move(cells)));
    }
  }

  void ReadUnits() {
    const HeaderFields& h = contents_.header;
    std::int32_t u = 0;
    for (std::string_view line = Next(kLineCapacity); !line.empty(); line = Next(kLineCapacity)) {
      const bool opensUnit = line.size() > 5 && line.substr(0, 5) == "[Unit" && line.find('_') == std::string_view::npos;
      if (!opensUnit) continue;
      if (u >= h.numProbeSets) throw ParseError{kTooManyUnits};
      ReadUnit(u++);
    }
  }

  void ReadUnit(std::int32_t u) {
    const std::int32_t version = contents_.header.version;
    ProbeSetFields set;
    set.index = u;
    contents_.names.emplace_back(Value());
    set.direction = static_cast<std::uint8_t>(Number());
    {
      Scanner scan(Value());
      std::int32_t cellsPerList = 0;
      // "%d %d": the number of lists and, when given, the cells per list
      if (scan.Int(set.numLists) && scan.Int(cellsPerList)) set.cellsPerList = static_cast<std::uint8_t>(cellsPerList);
    }
    set.numCells = Number();
    set.probeSetNumber = Number();
    set.type = StoredUnitType(Number());
    set.numGroups = Count(kMinSectionBytes);
    if (set.cellsPerList == 0) {
      const std::int64_t derived = DerivedCellsPerList(set.type, set.numLists, set.numCells);
      if (derived <= 0) throw ParseError{kBadCellsPerList};
      set.cellsPerList = static_cast<std::uint8_t>(derived);
    }
    const bool genotyping = set.type == GenotypingProbeSetType;
    if (genotyping && version > 1) Skip();  // the mutation type

    std::vector<CLegacyCDFProbeGroupInformation> groups;
    for (std::int32_t g = 0; g < set.numGroups; ++g) {
      GroupFields group;
      group.groupIndex = g;
      group.probeSetIndex = u;
      Skip();  // the block's section head
      group.name = std::string(Value());
      if (set.type == ExpressionProbeSetType) contents_.names.back() = group.name;
      Skip();  // the block number
      group.numLists = Number();
      group.numCells = Count(kMinCellLineBytes);
      group.start = Number();
      group.stop = Number();
      group.cellsPerList = set.cellsPerList;
      group.direction = (genotyping && version > 2) ? static_cast<std::uint8_t>(Number()) : set.direction;
      Skip();  // the cell header
      std::vector<CLegacyCDFProbeInformation> cells = ReadCells(set, group);
      groups.push_back(Builder::Group(group, std::move(cells)));
    }
    contents_.probeSets.push_back(Builder::ProbeSet(set, std::move(groups)));
  }

  std::vector<CLegacyCDFProbeInformation> ReadCells(const ProbeSetFields& set, GroupFields& group) {
    std::vector<CLegacyCDFProbeInformation> cells(static_cast<std::size_t>(group.numCells));
    const std::int64_t k = set.cellsPerList;
    for (std::int32_t c = 0; c < group.numCells; ++c) {
      CellFields cell;
      // "%d %d %s %s %s %d %d %*c %c %c %d": x, y, probe sequence, feature,
      // qualifier, exposure, position, the cell's base, probe base, target base, list
      Scanner scan(Value());
      std::int32_t x = 0, y = 0, position = 0;
      char skipped = 0;
      int assigned = 0;
      auto converted = [&assigned](bool done) { return done && ++assigned > 0; };
      (void)(converted(scan.Int(x)) && converted(scan.Int(y)) && converted(scan.Word()) && converted(scan.Word()) &&
          converted(scan.Word()) && converted(scan.Int(cell.expos)) && converted(scan.Int(position)) &&
          scan.Char(skipped) && converted(scan.Char(cell.pBase)) && converted(scan.Char(cell.tBase)) &&
          converted(scan.Int(cell.listIndex)));
      if (assigned < 10) throw ParseError{kScanFailed};
      cell.x = static_cast<std::uint16_t>(x);
      cell.y = static_cast<std::uint16_t>(y);
      const std::int64_t slot = CellSlot(set.type, k, c, cell.pBase == cell.tBase);
      if (slot < 0 || slot >= group.numCells) throw ParseError{kCellOutsideBlock};
      cells[static_cast<std::size_t>(slot)] = Builder::Cell(cell);
      if (c == 0) group.start = cell.listIndex;
      else if (c == group.numCells - 1) group.stop = cell.listIndex;
    }
    return cells;
  }

  std::istream& in_;
  TextContents& contents_;
  std::uint64_t fileSize_;
  std::vector<char> buffer_;
};

}  // namespace

bool ReadTextContents(std::istream& in, TextContents& contents, std::string& error) {
  try {
    TextParser(in, contents).Run();
    return true;
  } catch (const ParseError& e) {
    error = e.message;
    return false;
  }
}

}  // namespace legacy_cdf_detail
