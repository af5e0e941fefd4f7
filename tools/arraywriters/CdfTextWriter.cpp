#include <algorithm>
#include <cctype>
#include <sstream>

#include "tools/arraywriters/CdfWriters.h"

namespace arraywriters {

namespace {

// The unit type as the text form codes it; readers map it back to the stored type.
int TextUnitType(std::uint16_t storedType) {
  switch (storedType) {
    case kCdfExpression: return 3;
    case kCdfGenotyping: return 2;
    case kCdfResequencing: return 1;
    case kCdfTag: return 7;
    case kCdfCopyNumber: return 8;
    case kCdfGenotypeControl: return 9;
    case kCdfExpressionControl: return 10;
    default: return 4;
  }
}

// The order in which a block's cells stand in the file. Readers of the text
// form put an expression list's mismatch cell after its partner and reverse
// the cells of every other list, so the file holds the lists turned round.
std::vector<CdfCell> FileOrder(const CdfProbeSet& set, const CdfBlock& block) {
  std::vector<CdfCell> cells = block.cells;
  const std::size_t k = set.cellsPerList;
  if (k < 2) return cells;
  if (set.type == kCdfExpression && k != 2) return cells;
  for (std::size_t first = 0; first < cells.size(); first += k) {
    std::size_t last = std::min(first + k, cells.size());
    std::reverse(cells.begin() + static_cast<std::ptrdiff_t>(first), cells.begin() + static_cast<std::ptrdiff_t>(last));
  }
  return cells;
}

// A word of a cell line; the reader scans whitespace-separated words.
std::string Word(const std::string& text) {
  if (text.empty()) return "-";
  for (char c : text) {
    if (std::isspace(static_cast<unsigned char>(c))) return "-";
  }
  return text;
}

class TextOut {
 public:
  TextOut(std::ostream& out, const TextCdfOptions& options) : out_(out), options_(options) {}
  void Line(const std::string& text) {
    out_ << text << (options_.crlf ? "\r\n" : "\n");
  }
  void Value(const char* key, const std::string& value) { Line(std::string(key) + "=" + value); }
  void Value(const char* key, long long value) { Value(key, std::to_string(value)); }
  void EndSection() {
    if (options_.blankLines) Line("");
  }

 private:
  std::ostream& out_;
  const TextCdfOptions& options_;
};

void WriteQCSets(TextOut& text, const CdfLayout& layout) {
  for (std::size_t q = 0; q < layout.qcSets.size(); ++q) {
    const CdfQCSet& qc = layout.qcSets[q];
    text.Line("[QC" + std::to_string(q + 1) + "]");
    text.Value("Type", qc.type);
    text.Value("NumberCells", static_cast<long long>(qc.cells.size()));
    text.Value("CellHeader", "X\tY\tPROBE\tPLEN\tATOM\tINDEX\tPMFP\tBGP");
    for (std::size_t c = 0; c < qc.cells.size(); ++c) {
      const CdfQCCell& cell = qc.cells[c];
      std::ostringstream line;
      line << cell.x << '\t' << cell.y << "\tN\t" << int(cell.probeLength) << '\t' << c << '\t'
           << (std::int64_t(cell.y) * layout.cols + cell.x) << '\t' << int(cell.perfectMatch) << '\t'
           << int(cell.background);
      text.Value(("Cell" + std::to_string(c + 1)).c_str(), line.str());
    }
    text.EndSection();
  }
}

void WriteUnit(TextOut& text, const CdfLayout& layout, const CdfProbeSet& set, std::size_t u,
               const TextCdfOptions& options) {
  const std::string head = "Unit" + std::to_string(u + 1);
  const bool genotyping = set.type == kCdfGenotyping;
  text.Line("[" + head + "]");
  text.Value("Name", set.name);
  text.Value("Direction", set.direction);
  std::string atoms = std::to_string(set.TotalLists());
  if (options.cellsPerListInFile) atoms += " " + std::to_string(set.cellsPerList);
  text.Value("NumAtoms", atoms);
  text.Value("NumCells", set.TotalCells());
  text.Value("UnitNumber", set.number);
  text.Value("UnitType", TextUnitType(set.type));
  text.Value("NumberBlocks", static_cast<long long>(set.blocks.size()));
  if (genotyping && options.version > 1) text.Value("MutationType", 0);
  text.EndSection();
  for (std::size_t b = 0; b < set.blocks.size(); ++b) {
    const CdfBlock& block = set.blocks[b];
    text.Line("[" + head + "_Block" + std::to_string(b + 1) + "]");
    text.Value("Name", block.name);
    text.Value("BlockNumber", static_cast<long long>(b + 1));
    text.Value("NumAtoms", block.numLists);
    text.Value("NumCells", static_cast<long long>(block.cells.size()));
    text.Value("StartPosition", block.start);
    text.Value("StopPosition", block.stop);
    if (genotyping && options.version > 2) text.Value("Direction", block.direction);
    text.Value("CellHeader",
               "X\tY\tPROBE\tFEAT\tQUAL\tEXPOS\tPOS\tCBASE\tPBASE\tTBASE\tATOM\tINDEX\tCODONIND\tCODON\t"
               "REGIONTYPE\tREGION");
    const std::vector<CdfCell> cells = FileOrder(set, block);
    for (std::size_t c = 0; c < cells.size(); ++c) {
      const CdfCell& cell = cells[c];
      std::ostringstream line;
      line << cell.x << '\t' << cell.y << "\tN\tcontrol\t" << Word(block.name) << '\t' << cell.exposure
           << "\t13\t" << ComplementBase(cell.targetBase) << '\t' << cell.probeBase << '\t' << cell.targetBase
           << '\t' << cell.listIndex << '\t' << (std::int64_t(cell.y) * layout.cols + cell.x) << "\t-1\t-1\t99\t-";
      text.Value(("Cell" + std::to_string(c + 1)).c_str(), line.str());
    }
    text.EndSection();
  }
}

}  // namespace

void WriteTextCdf(std::ostream& out, const CdfLayout& layout, const TextCdfOptions& options) {
  TextOut text(out, options);
  const int version = options.version < 1 ? 1 : (options.version > 3 ? 3 : options.version);
  text.Line("[CDF]");
  text.Value("Version", "GC" + std::to_string(version) + ".0");
  text.EndSection();
  text.Line("[Chip]");
  text.Value("Name", layout.chipName);
  text.Value("Rows", layout.rows);
  text.Value("Cols", layout.cols);
  text.Value("NumberOfUnits", static_cast<long long>(layout.probeSets.size()));
  text.Value("MaxUnit", static_cast<long long>(layout.probeSets.size()));
  if (version > 1) {
    text.Value("NumQCUnits", static_cast<long long>(layout.qcSets.size()));
    text.Value("ChipReference", layout.reference);
  }
  text.EndSection();
  if (version > 1) WriteQCSets(text, layout);
  TextCdfOptions unitOptions = options;
  unitOptions.version = version;
  for (std::size_t u = 0; u < layout.probeSets.size(); ++u) {
    WriteUnit(text, layout, layout.probeSets[u], u, unitOptions);
  }
}

std::string TextCdfImage(const CdfLayout& layout, const TextCdfOptions& options) {
  std::ostringstream out;
  WriteTextCdf(out, layout, options);
  return out.str();
}

}  // namespace arraywriters
