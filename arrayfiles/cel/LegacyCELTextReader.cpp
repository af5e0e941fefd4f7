// The text forms of CLegacyCELFile: version 3 ("[CEL]" with its sections) and
// version 2 ("COLS/ROWS=" and one line per cell).
#include <algorithm>
#include <array>
#include <fstream>
#include <limits>

#include "arrayfiles/cel/CELTextScan.h"
#include "arrayfiles/cel/LegacyCELFile.h"
#include "platform/Paths.h"
#include "platform/Strings.h"

namespace {

using cel_text::Scanner;
using cel_text::StartsWith;

// Lines shorter than this end a list of cells or coordinates (a blank line,
// also one that still held its carriage return).
constexpr std::size_t kShortestListLine = 2;

// The next line without its line end (LF or CR LF); false at the end of the file.
bool NextLine(std::istream& in, std::string& line) {
  if (!std::getline(in, line)) {
    line.clear();
    return false;
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

// Passes over lines up to and including the first that begins with `prefix`.
bool SkipToLineStartingWith(std::istream& in, std::string_view prefix) {
  std::string line;
  while (NextLine(in, line)) {
    if (StartsWith(line, prefix)) return true;
  }
  return false;
}

}  // namespace

bool CLegacyCELFile::ReadTextFormat(bool headerOnly) {
  std::ifstream in(platform::NativePath(fileName_), std::ios::binary);
  if (!in) return Fail(kUnableToOpen);
  in.seekg(0, std::ios::end);
  const auto fileSize = static_cast<std::int64_t>(in.tellg());
  in.seekg(0, std::ios::beg);

  CLegacyCELHeader& h = header_;
  std::string first;
  NextLine(in, first);
  int version = 0;
  if (StartsWith(first, "[CEL]")) {
    version = 3;
    if (!ReadTextVersion3Header(in)) return false;
  } else if (StartsWith(first, "COLS/ROWS=")) {
    version = 2;
    std::string second, third;
    NextLine(in, second);
    NextLine(in, third);  // column heads
    h.header_ = first + "\n" + second + "\n";
    if (!Scanner(first).Literal("COLS/ROWS=").Int(h.cols_).Literal(" ").Int(h.rows_).Ok()) {
      return Fail(kWrongFormat);
    }
  } else {
    return Fail(kUnrecognizedText);
  }
  h.version_ = version;
  if (h.cols_ < 0 || h.rows_ < 0 || std::int64_t(h.cols_) * h.rows_ > std::numeric_limits<std::int32_t>::max()) {
    return Fail(kWrongFormat);
  }
  h.numCells_ = h.cols_ * h.rows_;

  h.ParseChipTypeFromHeaderText();
  h.ParseAlgorithmParameters(h.paramsText_);
  h.CellMarginFromParameter();
  h.ParseGridCornersFromHeaderText();
  h.GetHeader();
  if (headerOnly) return true;

  // Every cell takes a line of several bytes: a table larger than the file
  // is a lie of the header.
  if (h.numCells_ > fileSize) {
    return FailTextEnds(platform::Format("%lld bytes, too few for its %d cells", static_cast<long long>(fileSize),
                                         h.numCells_));
  }
  textCells_.assign(static_cast<std::size_t>(h.numCells_), TextCell{});
  return version == 2 ? ReadTextVersion2Cells(in) : ReadTextVersion3Cells(in);
}

bool CLegacyCELFile::ReadTextVersion3Header(std::istream& in) {
  if (!SkipToLineStartingWith(in, "[HEADER]")) return FailTextEnds("before its [HEADER] section");
  CLegacyCELHeader& h = header_;
  std::string line;
  NextLine(in, line);
  h.header_ += line + "\n";
  if (!Scanner(line).Literal("Cols=").Int(h.cols_).Ok()) return Fail(kWrongFormat);
  NextLine(in, line);
  h.header_ += line + "\n";
  if (!Scanner(line).Literal("Rows=").Int(h.rows_).Ok()) return Fail(kWrongFormat);
  while (NextLine(in, line)) {
    h.header_ += line + "\n";
    if (StartsWith(line, "DatHeader=")) {
      h.datHeader_ = line.substr(std::string_view("DatHeader=").size());
    } else if (StartsWith(line, "Algorithm=")) {
      Scanner(line).Literal("Algorithm=").Word(h.alg_);
    } else if (StartsWith(line, "AlgorithmParameters=")) {
      Scanner(line).Literal("AlgorithmParameters=").Word(h.paramsText_);
      h.ParseAlgorithmParameters(h.paramsText_);
      return true;
    }
  }
  return FailTextEnds("inside its [HEADER] section, before its AlgorithmParameters");
}

bool CLegacyCELFile::ReadTextVersion2Cells(std::istream& in) {
  std::string line;
  for (std::int32_t i = 0; i < header_.numCells_; ++i) {
    int x = 0, y = 0, pixels = 0;
    TextCell cell;
    if (!NextLine(in, line)) {
      return FailTextEnds("after " + std::to_string(i) + " of its " + std::to_string(header_.numCells_) + " cells");
    }
    Scanner scan(line);
    scan.Int(x).Literal(" ").Int(y).Literal(" ").Float(cell.intensity).Literal(" ").Float(cell.stdv);
    scan.Literal(" ").Int(pixels);
    int index = CellIndex(x, y);
    if (!scan.Ok() || index < 0) return FailTextLine(in, "a cell");
    cell.pixels = static_cast<std::int16_t>(pixels);
    textCells_[static_cast<std::size_t>(index)] = cell;
  }
  return true;
}

bool CLegacyCELFile::ReadTextVersion3Cells(std::istream& in) {
  if (!SkipToLineStartingWith(in, "[INTENSITY]")) return FailTextEnds("before its [INTENSITY] section");
  std::string line;
  NextLine(in, line);  // cell count
  NextLine(in, line);  // column heads
  while (NextLine(in, line) && line.size() >= kShortestListLine) {
    int x = 0, y = 0, pixels = 0;
    TextCell cell;
    Scanner scan(line);
    scan.Int(x).Literal("\t").Int(y).Literal("\t").Float(cell.intensity).Literal("\t").Float(cell.stdv);
    scan.Literal("\t").Int(pixels);
    int index = CellIndex(x, y);
    if (!scan.Ok() || index < 0) return FailTextLine(in, "a cell of its [INTENSITY] section");
    cell.pixels = static_cast<std::int16_t>(pixels);
    textCells_[static_cast<std::size_t>(index)] = cell;
  }
  return ReadTextCoordinateSection(in, "[MASKS]", readMasks_, header_.numMasked_, masked_) &&
         ReadTextCoordinateSection(in, "[OUTLIERS]", readOutliers_, header_.numOutliers_, outliers_);
}

bool CLegacyCELFile::ReadTextCoordinateSection(std::istream& in, const char* section, bool keep,
                                               std::uint32_t& count, std::map<int, bool>& cells) {
  if (!SkipToLineStartingWith(in, section)) return FailTextEnds(std::string("before its ") + section + " section");
  std::string line;
  NextLine(in, line);
  int declared = 0;
  if (!Scanner(line).Literal("NumberCells=").Int(declared).Ok() || declared < 0) return Fail(kWrongFormat);
  count = static_cast<std::uint32_t>(declared);
  NextLine(in, line);  // column heads
  if (!keep) {
    count = 0;
    return true;
  }
  for (std::streamoff at = in.tellg(); NextLine(in, line) && line.size() >= kShortestListLine; at = in.tellg()) {
    int x = 0, y = 0;
    if (!Scanner(line).Int(x).Literal("\t").Int(y).Ok()) return Fail(kWrongFormat);
    if (!AddCell(section, static_cast<std::uint64_t>(std::max<std::streamoff>(at, 0)), cells, x, y)) return false;
  }
  return true;
}

bool CLegacyCELFile::FailTextEnds(const std::string& what) {
  return FailAt(platform::Format("the text ends at line %zu, %s", TextLinesIn(-1), what.c_str()));
}

bool CLegacyCELFile::FailTextLine(std::istream& in, const char* what) {
  // A line read up to the end of the file left the stream at its end: the
  // file was cut inside it.
  if (in.eof()) return FailAt(platform::Format("the text ends inside line %zu, %s", TextLinesIn(-1), what));
  return FailAt(platform::Format("line %zu is not %s", TextLinesIn(in.tellg()), what));
}

std::size_t CLegacyCELFile::TextLinesIn(std::int64_t bytes) const {
  std::ifstream in(platform::NativePath(fileName_), std::ios::binary);
  std::size_t lines = 0;
  char last = '\n';
  std::array<char, 65536> block;
  for (std::int64_t left = bytes < 0 ? std::numeric_limits<std::int64_t>::max() : bytes; left > 0 && in;) {
    in.read(block.data(), static_cast<std::streamsize>(std::min<std::int64_t>(left, block.size())));
    const auto got = static_cast<std::size_t>(in.gcount());
    if (got == 0) break;
    lines += static_cast<std::size_t>(std::count(block.begin(), block.begin() + std::ptrdiff_t(got), '\n'));
    last = block[got - 1];
    left -= static_cast<std::int64_t>(got);
  }
  return lines + (last == '\n' ? 0 : 1);
}
