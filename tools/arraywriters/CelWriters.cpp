#include "tools/arraywriters/CelWriters.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <sstream>

#include "platform/ByteOrder.h"
#include "platform/Paths.h"
#include "platform/Strings.h"

namespace arraywriters {
namespace {

constexpr char kDatSeparator = '\x14';

// Version numbers the forms carry.
constexpr std::int32_t kXdaVersion = 4;
constexpr std::int32_t kCompactVersion = 1;
constexpr float kBcelVersion = 1.0f;

// The shortest text that reads back as the same float.
std::string FloatText(float value) {
  char buffer[32];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

// A float as the 16-bit forms keep it: rounded half up, clamped to 0..65535.
std::uint16_t ToUInt16(float value) {
  if (!(value > 0.0f)) return 0;
  if (value >= 65535.0f) return 65535;
  float whole = std::floor(value);
  return static_cast<std::uint16_t>(whole + (value - whole >= 0.5f ? 1.0f : 0.0f));
}

// Builds the file in memory piece by piece and hands it on in large chunks,
// so that writing a realistic array stays fast.
class Sink {
 public:
  explicit Sink(std::ostream& out) : out_(out) {}
  ~Sink() { Flush(); }
  Sink(const Sink&) = delete;
  Sink& operator=(const Sink&) = delete;

  void Text(std::string_view text) { buffer_.append(text); }
  void LE16(std::uint16_t v) { platform::AppendLE16(buffer_, v); }
  void LE32(std::uint32_t v) { platform::AppendLE32(buffer_, v); }
  void LEFloat(float v) { platform::AppendLEFloat(buffer_, v); }
  void BE16(std::uint16_t v) { platform::AppendBE16(buffer_, v); }
  void BE32(std::uint32_t v) { platform::AppendBE32(buffer_, v); }
  void BEFloat(float v) { platform::AppendBEFloat(buffer_, v); }
  void Byte(std::uint8_t v) { buffer_.push_back(static_cast<char>(v)); }
  // A little-endian int32 count and the text's bytes.
  void CountedLE(const std::string& text) {
    LE32(static_cast<std::uint32_t>(text.size()));
    Text(text);
  }
  void MaybeFlush() {
    if (buffer_.size() >= (1u << 20)) Flush();
  }
  void Flush() {
    out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    buffer_.clear();
  }

 private:
  std::ostream& out_;
  std::string buffer_;
};

const CelCell& CellAt(const CelArray& array, std::size_t index) {
  static const CelCell kEmpty{};
  return index < array.cells.size() ? array.cells[index] : kEmpty;
}

std::size_t CellCount(const CelArray& array) { return std::size_t(array.cols) * std::size_t(array.rows); }

void WriteTextCoordinateSection(Sink& sink, const char* section, const std::vector<CelCoord>& coords) {
  sink.Text(platform::Format("\n%s\nNumberCells=%zu\nCellHeader=X\tY\n", section, coords.size()));
  for (const CelCoord& c : coords) sink.Text(platform::Format("%d\t%d\n", c.x, c.y));
}

// Header, algorithm and parameter texts, then the fixed fields after them,
// as the XDA and compact forms share them.
void WriteCountedTexts(Sink& sink, const CelArray& array) {
  sink.CountedLE(CelHeaderText(array));
  sink.CountedLE(array.algorithm);
  sink.CountedLE(array.algorithmParameters);
  sink.LE32(static_cast<std::uint32_t>(array.cellMargin));
}

void WriteShortCoords(Sink& sink, const std::vector<CelCoord>& coords) {
  for (const CelCoord& c : coords) {
    sink.LE16(static_cast<std::uint16_t>(c.x));
    sink.LE16(static_cast<std::uint16_t>(c.y));
  }
}

void WriteCompactBody(Sink& sink, const CelArray& array) {
  sink.LE32(kCompactVersion);
  sink.LE32(static_cast<std::uint32_t>(array.rows));
  sink.LE32(static_cast<std::uint32_t>(array.cols));
  sink.LE32(static_cast<std::uint32_t>(CellCount(array)));
  WriteCountedTexts(sink, array);
  sink.LE32(static_cast<std::uint32_t>(array.masked.size()));
  sink.LE32(0);  // sub-grids
  for (std::size_t i = 0; i < CellCount(array); ++i) {
    sink.LE16(ToUInt16(CellAt(array, i).intensity));
    sink.MaybeFlush();
  }
  WriteShortCoords(sink, array.masked);
}

}  // namespace

const char* CelFormName(CelForm form) {
  switch (form) {
    case CelForm::kTextV3: return "text version 3";
    case CelForm::kTextV2: return "text version 2";
    case CelForm::kXda: return "XDA";
    case CelForm::kBcel: return "BCEL";
    case CelForm::kCompact: return "compact";
    case CelForm::kGeneric: return "generic";
  }
  return "unknown";
}

std::string MakeDatHeader(const std::string& chipType, int cols, int rows) {
  const char s = kDatSeparator;
  return platform::Format(
      "[10..46000]  QOVA:CLS=%d RWS=%d XIN=3  YIN=3  VE=17        2.0 01/15/07 10:48:40 50101230  M10   "
      "%c  %c %s.1sq %c  %c  %c  %c  %c  %c  %c  %c  %c 6",
      cols, rows, s, s, chipType.c_str(), s, s, s, s, s, s, s, s, s);
}

CelArray MakeSyntheticCelArray(int cols, int rows, const std::string& chipType) {
  CelArray array;
  array.cols = cols;
  array.rows = rows;
  array.chipType = chipType;
  array.datHeader = MakeDatHeader(chipType, cols, rows);
  array.algorithmParameters =
      "Percentile:75;CellMargin:2;OutlierHigh:1.500;OutlierLow:1.004;AlgVersion:6.0;FixedCellSize:TRUE";
  array.cellMargin = 2;
  array.grid = CelGridCorners{20, 25, 18000, 30, 17990, 18010, 15, 18005};
  const std::size_t count = CellCount(array);
  array.cells.resize(count);
  for (std::size_t i = 0; i < count; ++i) {
    // Whole numbers below 65536 stay exact in every form; neighbours differ.
    array.cells[i].intensity = static_cast<float>((i * 37 + 101) % 65521);
    array.cells[i].stdv = static_cast<float>((i * 11 + 3) % 4093);
    array.cells[i].pixels = static_cast<int>(i % 250) + 1;
  }
  if (cols > 2 && rows > 1) {
    array.masked = {{1, 0}, {cols - 1, rows - 1}};
    array.outliers = {{2, 1}, {0, rows - 1}};
  }
  return array;
}

std::string CelHeaderText(const CelArray& array) {
  const CelGridCorners& g = array.grid;
  return platform::Format(
             "Cols=%d\nRows=%d\nTotalX=%d\nTotalY=%d\nOffsetX=0\nOffsetY=0\n"
             "GridCornerUL=%d %d\nGridCornerUR=%d %d\nGridCornerLR=%d %d\nGridCornerLL=%d %d\n"
             "Axis-invertX=0\nAxisInvertY=0\nswapXY=0\n",
             array.cols, array.rows, array.cols, array.rows, g.upperLeftX, g.upperLeftY, g.upperRightX,
             g.upperRightY, g.lowerRightX, g.lowerRightY, g.lowerLeftX, g.lowerLeftY) +
         "DatHeader=" + array.datHeader + "\nAlgorithm=" + array.algorithm +
         "\nAlgorithmParameters=" + array.algorithmParameters + "\n";
}

void WriteTextV3Cel(std::ostream& out, const CelArray& array) {
  Sink sink(out);
  sink.Text("[CEL]\nVersion=3\n\n[HEADER]\n");
  sink.Text(CelHeaderText(array));
  sink.Text(platform::Format("\n[INTENSITY]\nNumberCells=%zu\nCellHeader=X\tY\tMEAN\tSTDV\tNPIXELS\n", CellCount(array)));
  for (std::size_t i = 0; i < CellCount(array); ++i) {
    const CelCell& cell = CellAt(array, i);
    sink.Text(platform::Format("%3d\t%3d\t%s\t%s\t%3d\n", static_cast<int>(i % array.cols),
                               static_cast<int>(i / array.cols), FloatText(cell.intensity).c_str(),
                               FloatText(cell.stdv).c_str(), cell.pixels));
    sink.MaybeFlush();
  }
  WriteTextCoordinateSection(sink, "[MASKS]", array.masked);
  WriteTextCoordinateSection(sink, "[OUTLIERS]", array.outliers);
  sink.Text("\n[MODIFIED]\nNumberCells=0\nCellHeader=X\tY\tORIGMEAN\n");
}

void WriteTextV2Cel(std::ostream& out, const CelArray& array) {
  Sink sink(out);
  sink.Text(platform::Format("COLS/ROWS=%d %d\n", array.cols, array.rows));
  sink.Text("DatHeader=" + array.datHeader + "\n");
  sink.Text("X Y MEAN STDV NPIXELS\n");
  for (std::size_t i = 0; i < CellCount(array); ++i) {
    const CelCell& cell = CellAt(array, i);
    sink.Text(platform::Format("%d %d %s %s %d\n", static_cast<int>(i % array.cols), static_cast<int>(i / array.cols),
                               FloatText(cell.intensity).c_str(), FloatText(cell.stdv).c_str(), cell.pixels));
    sink.MaybeFlush();
  }
}

void WriteXdaCel(std::ostream& out, const CelArray& array) {
  Sink sink(out);
  sink.LE32(64);  // magic
  sink.LE32(kXdaVersion);
  sink.LE32(static_cast<std::uint32_t>(array.rows));
  sink.LE32(static_cast<std::uint32_t>(array.cols));
  sink.LE32(static_cast<std::uint32_t>(CellCount(array)));
  WriteCountedTexts(sink, array);
  sink.LE32(static_cast<std::uint32_t>(array.outliers.size()));
  sink.LE32(static_cast<std::uint32_t>(array.masked.size()));
  sink.LE32(0);  // sub-grids
  for (std::size_t i = 0; i < CellCount(array); ++i) {
    const CelCell& cell = CellAt(array, i);
    sink.LEFloat(cell.intensity);
    sink.LEFloat(cell.stdv);
    sink.LE16(static_cast<std::uint16_t>(cell.pixels));
    sink.MaybeFlush();
  }
  WriteShortCoords(sink, array.masked);
  WriteShortCoords(sink, array.outliers);
}

void WriteBcelCel(std::ostream& out, const CelArray& array) {
  Sink sink(out);
  const CelGridCorners& g = array.grid;
  sink.Text(std::string_view("BCEL\r\n\x1a\n", 8));
  sink.BEFloat(kBcelVersion);
  // The header block: its payload length, a tag, then an unused word and the
  // fields (2 + 4 + 8 int32 and 3 uint16 = 62 bytes).
  sink.BE32(66);
  sink.Text("HEAD");
  sink.BE32(0);
  for (int v : {array.cols, array.rows, array.cols, array.rows, 0, 0, g.upperLeftX, g.upperLeftY, g.upperRightX,
                g.upperRightY, g.lowerLeftX, g.lowerLeftY, g.lowerRightX, g.lowerRightY}) {
    sink.BE32(static_cast<std::uint32_t>(v));
  }
  for (int i = 0; i < 3; ++i) sink.BE16(0);  // axis inversion and swap
  auto blockHead = [&sink](std::size_t payload, const char* tag) {
    sink.BE32(0);
    sink.BE32(static_cast<std::uint32_t>(payload));
    sink.Text(std::string_view(tag, 4));
  };
  for (const std::string* text : {&array.datHeader, &array.algorithm, &array.algorithmParameters}) {
    blockHead(text->size(), "TEXT");
    sink.Text(*text);
  }
  blockHead(CellCount(array) * 5, "CELL");
  for (std::size_t i = 0; i < CellCount(array); ++i) {
    const CelCell& cell = CellAt(array, i);
    sink.BE16(ToUInt16(cell.intensity));
    sink.BE16(ToUInt16(cell.stdv));
    sink.Byte(static_cast<std::uint8_t>(cell.pixels));
    sink.MaybeFlush();
  }
  for (const auto* coords : {&array.masked, &array.outliers}) {
    blockHead(coords->size() * 8, coords == &array.masked ? "MASK" : "OUTL");
    for (const CelCoord& c : *coords) {
      sink.BE32(static_cast<std::uint32_t>(c.x));
      sink.BE32(static_cast<std::uint32_t>(c.y));
    }
  }
}

void WriteCompactCel(std::ostream& out, const CelArray& array) {
  Sink sink(out);
  sink.Text(std::string_view("CCEL\r\n\n8", 8));
  WriteCompactBody(sink, array);
}

void WriteOldCompactCel(std::ostream& out, const CelArray& array) {
  Sink sink(out);
  sink.Text(std::string_view("CCEL\r\n4\n", 8));
  WriteCompactBody(sink, array);
}

void WriteCel(std::ostream& out, CelForm form, const CelArray& array) {
  switch (form) {
    case CelForm::kTextV3: WriteTextV3Cel(out, array); break;
    case CelForm::kTextV2: WriteTextV2Cel(out, array); break;
    case CelForm::kXda: WriteXdaCel(out, array); break;
    case CelForm::kBcel: WriteBcelCel(out, array); break;
    case CelForm::kCompact: WriteCompactCel(out, array); break;
    case CelForm::kGeneric: WriteGenericCel(out, array); break;
  }
}

std::string CelImage(CelForm form, const CelArray& array) {
  std::ostringstream out;
  WriteCel(out, form, array);
  return std::move(out).str();
}

bool SaveCelFile(const std::string& path, CelForm form, const CelArray& array) {
  std::ofstream out(platform::NativePath(path), std::ios::binary | std::ios::trunc);
  if (!out) return false;
  WriteCel(out, form, array);
  out.close();
  return !out.fail();
}

}  // namespace arraywriters
