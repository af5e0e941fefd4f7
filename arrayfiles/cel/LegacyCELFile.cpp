#include "arrayfiles/cel/LegacyCELFile.h"

#include <algorithm>
#include <fstream>
#include <limits>

#include "platform/ByteOrder.h"
#include "platform/Numeric.h"
#include "platform/Paths.h"
#include "platform/Strings.h"

namespace {

// First 32-bit word of an XDA file.
constexpr std::int32_t kXdaMagic = 64;
// The eight leading bytes of the magic-tagged forms.
constexpr std::string_view kBcelMagic("BCEL\r\n\x1a\n", 8);
constexpr std::string_view kCompactMagic("CCEL\r\n\n8", 8);
constexpr std::string_view kOldCompactMagic("CCEL\r\n4\n", 8);

// Bytes of one cell record in each binary form.
constexpr std::size_t kXdaCellBytes = 10;
constexpr std::size_t kBcelCellBytes = 5;
constexpr std::size_t kCompactCellBytes = 2;
// A masked or outlier coordinate: two int16 (XDA, compact) or two int32 (BCEL).
constexpr std::size_t kShortCoordBytes = 4;
constexpr std::size_t kBcelCoordBytes = 8;

// BCEL: the header block's payload holds an unused int32 and 62 bytes of
// fields; every block after it starts with a 12-byte head (an unused int32,
// the payload length, a tag).
constexpr std::int32_t kBcelHeaderFieldBytes = 66;
constexpr std::size_t kBcelHeaderPayloadStart = 20;

bool StartsWithBytes(const std::string& bytes, std::string_view magic) {
  return bytes.size() >= magic.size() && std::string_view(bytes).substr(0, magic.size()) == magic;
}

bool LooksLikeXda(const std::string& bytes) {
  return bytes.size() >= 4 && static_cast<std::int32_t>(platform::ReadLE32(bytes.data())) == kXdaMagic;
}

// Text up to its first NUL, as the forms' C strings end there.
std::string UpToNul(std::string_view bytes) {
  return std::string(bytes.substr(0, bytes.find('\0')));
}

}  // namespace

// Reads fixed-width fields and counted texts out of the mapped file. A read
// past the end fails the cursor for good and yields zero or an empty text.
class CLegacyCELFile::ByteCursor {
 public:
  ByteCursor(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  [[nodiscard]] bool Ok() const { return ok_; }
  [[nodiscard]] std::size_t Position() const { return pos_; }
  [[nodiscard]] std::size_t Remaining() const { return size_ - pos_; }
  [[nodiscard]] const std::uint8_t* Here() const { return data_ + pos_; }

  // Moves to an absolute position inside the file.
  void Seek(std::uint64_t position) {
    if (position > size_) ok_ = false;
    else pos_ = static_cast<std::size_t>(position);
  }
  void Skip(std::uint64_t count) { Seek(pos_ + count); }

  std::int32_t Int32LE() { return Take(4) ? static_cast<std::int32_t>(platform::ReadLE32(Last(4))) : 0; }
  std::uint32_t UInt32LE() { return Take(4) ? platform::ReadLE32(Last(4)) : 0; }
  std::int32_t Int32BE() { return Take(4) ? static_cast<std::int32_t>(platform::ReadBE32(Last(4))) : 0; }
  std::uint16_t UInt16BE() { return Take(2) ? platform::ReadBE16(Last(2)) : 0; }
  float FloatBE() { return Take(4) ? platform::ReadBEFloat(Last(4)) : 0.0f; }

  // `count` bytes as a text ending at the first NUL; a count that does not
  // fit the rest of the file fails.
  std::string FixedText(std::int64_t count) {
    if (count < 0 || static_cast<std::uint64_t>(count) > Remaining()) {
      ok_ = false;
      return std::string();
    }
    auto length = static_cast<std::size_t>(count);
    Take(length);
    return UpToNul(std::string_view(reinterpret_cast<const char*>(Last(length)), length));
  }
  // A little-endian int32 count followed by that many bytes.
  std::string CountedTextLE() {
    std::int32_t count = Int32LE();
    return ok_ ? FixedText(count) : std::string();
  }

 private:
  bool Take(std::size_t count) {
    if (!ok_ || count > Remaining()) {
      ok_ = false;
      return false;
    }
    pos_ += count;
    return true;
  }
  [[nodiscard]] const std::uint8_t* Last(std::size_t count) const { return data_ + pos_ - count; }

  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
  bool ok_ = true;
};

CLegacyCELFile::CLegacyCELFile() = default;

CLegacyCELFile::~CLegacyCELFile() { Close(); }

bool CLegacyCELFile::Fail(const char* message) {
  error_ = message;
  return false;
}

bool CLegacyCELFile::FailAt(const std::string& detail) {
  error_ = std::string(kWrongFormat) + " CEL file: " + detail + ".";
  return false;
}

bool CLegacyCELFile::FailCutHeader(const ByteCursor& in, const char* form) {
  return FailAt(platform::Format("the %s header field at offset %zu runs past the end of the file (%zu bytes)", form,
                                 in.Position(), in.Position() + in.Remaining()));
}

bool CLegacyCELFile::TableFits(const char* table, std::uint64_t start, std::uint64_t count, std::size_t recordBytes) {
  const std::uint64_t size = view_.Size();
  const std::uint64_t left = start < size ? size - start : 0;
  if (count <= left / recordBytes) return true;
  return FailAt(platform::Format("the %s table at offset %llu runs past the end of the file (%llu entries of %zu bytes, "
                                 "%llu bytes left)",
                                 table, static_cast<unsigned long long>(start), static_cast<unsigned long long>(count),
                                 recordBytes, static_cast<unsigned long long>(left)));
}

std::string CLegacyCELFile::LeadingBytes(std::size_t count) const {
  std::ifstream in(platform::NativePath(fileName_), std::ios::binary);
  if (!in) return std::string();
  std::string bytes(count, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(count));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return bytes;
}

bool CLegacyCELFile::IsXDACompatibleFile() const { return LooksLikeXda(LeadingBytes(4)); }
bool CLegacyCELFile::IsBCelFile() const { return StartsWithBytes(LeadingBytes(8), kBcelMagic); }
bool CLegacyCELFile::IsCompactCelFile() const { return StartsWithBytes(LeadingBytes(8), kCompactMagic); }
bool CLegacyCELFile::IsOldCompactCelFile() const { return StartsWithBytes(LeadingBytes(8), kOldCompactMagic); }

bool CLegacyCELFile::Read(bool headerOnly) {
  Close();
  error_.clear();
  const std::string lead = LeadingBytes(8);
  bool ok = false;
  if (LooksLikeXda(lead)) {
    format_ = kXdaFormat;
    ok = ReadXDAFormat(headerOnly);
  } else if (StartsWithBytes(lead, kBcelMagic)) {
    format_ = kBcelFormat;
    ok = ReadBCELFormat(headerOnly);
  } else if (StartsWithBytes(lead, kCompactMagic)) {
    format_ = kCompactFormat;
    ok = ReadCompactFormat(headerOnly);
  } else if (StartsWithBytes(lead, kOldCompactMagic)) {
    format_ = kOldCompactFormat;
    ok = Fail(kOldCompactRefused);
  } else {
    format_ = kTextFormat;
    ok = ReadTextFormat(headerOnly);
  }
  if (!ok || headerOnly) ReleaseCells();
  return ok;
}

bool CLegacyCELFile::ReadEx(const std::string& fileName, int state) {
  readState_ = state;
  fileName_ = fileName;
  readOutliers_ = (state & (kReadAll | kReadOutliers)) != 0;
  readMasks_ = (state & (kReadAll | kReadMasks)) != 0;
  if (Read(false)) return true;
  Close();
  return false;
}

void CLegacyCELFile::ReleaseCells() {
  cellData_ = nullptr;
  mappedCells_ = 0;
  view_.Reset();
  mapping_.Close();
  std::vector<TextCell>().swap(textCells_);
}

void CLegacyCELFile::Close() {
  ReleaseCells();
  header_.Clear();
  masked_.clear();
  outliers_.clear();
}

bool CLegacyCELFile::MapWholeFile() {
  if (!mapping_.Open(platform::NativePath(fileName_))) return Fail(kUnableToOpen);
  view_ = mapping_.Map(0, static_cast<std::size_t>(mapping_.Size()));
  if (!view_.IsValid()) {
    ReleaseCells();
    return Fail(kUnableToMap);
  }
  return true;
}

bool CLegacyCELFile::CheckDimensions() {
  const CLegacyCELHeader& h = header_;
  std::int64_t gridCells = std::int64_t(h.cols_) * h.rows_;
  if (h.cols_ < 0 || h.rows_ < 0 || h.numCells_ < 0 || gridCells > std::numeric_limits<std::int32_t>::max() ||
      h.numCells_ > gridCells) {
    return FailAt(platform::Format("the header's %d columns, %d rows and %d cells do not make a grid", h.cols_,
                                   h.rows_, h.numCells_));
  }
  return true;
}

int CLegacyCELFile::CellIndex(int x, int y) const {
  if (x < 0 || y < 0 || x >= header_.cols_ || y >= header_.rows_) return -1;
  std::int64_t index = std::int64_t(y) * header_.cols_ + x;
  return index > std::numeric_limits<int>::max() ? -1 : static_cast<int>(index);
}

bool CLegacyCELFile::AddCell(const char* table, std::uint64_t offset, std::map<int, bool>& cells, std::int64_t x,
                             std::int64_t y) {
  if (x < 0 || y < 0 || x >= header_.cols_ || y >= header_.rows_) {
    return FailAt(platform::Format("the %s cell (%lld, %lld) at offset %llu lies outside the grid of %d x %d", table,
                                   static_cast<long long>(x), static_cast<long long>(y),
                                   static_cast<unsigned long long>(offset), header_.cols_, header_.rows_));
  }
  cells[static_cast<int>(y * header_.cols_ + x)] = true;
  return true;
}

bool CLegacyCELFile::ReadCoordinateTable(const char* table, std::uint64_t start, std::size_t recordBytes, bool keep,
                                         std::uint32_t& count, std::map<int, bool>& cells) {
  if (!keep) {
    count = 0;
    return true;
  }
  const std::uint8_t* p = view_.Data() + start;
  for (std::uint32_t i = 0; i < count; ++i, p += recordBytes) {
    // Two little-endian int16 in the XDA and compact forms, two big-endian
    // int32 in the BCEL form.
    std::int64_t x, y;
    if (recordBytes == kBcelCoordBytes) {
      x = static_cast<std::int32_t>(platform::ReadBE32(p));
      y = static_cast<std::int32_t>(platform::ReadBE32(p + 4));
    } else {
      x = static_cast<std::int16_t>(platform::ReadLE16(p));
      y = static_cast<std::int16_t>(platform::ReadLE16(p + 2));
    }
    if (!AddCell(table, static_cast<std::uint64_t>(p - view_.Data()), cells, x, y)) return false;
  }
  return true;
}

void CLegacyCELFile::ReadLittleEndianFields(ByteCursor& in) {
  CLegacyCELHeader& h = header_;
  h.version_ = in.Int32LE();
  h.rows_ = in.Int32LE();
  h.cols_ = in.Int32LE();
  h.numCells_ = in.Int32LE();
  h.header_ = in.CountedTextLE();
  h.alg_ = in.CountedTextLE();
  h.paramsText_ = in.CountedTextLE();
  h.ParseAlgorithmParameters(h.paramsText_);
  h.SetCellMargin(in.Int32LE());
}

void CLegacyCELFile::FinishStoredHeader() {
  header_.ParseChipTypeFromHeaderText();
  header_.ParseDatHeaderFromHeaderText();
  header_.ParseAlgorithmParameters(header_.paramsText_);
  header_.ParseGridCornersFromHeaderText();
}

bool CLegacyCELFile::ReadXDAFormat(bool headerOnly) {
  if (!MapWholeFile()) return false;
  ByteCursor in(view_.Data(), view_.Size());
  CLegacyCELHeader& h = header_;
  h.magic_ = in.Int32LE();
  if (!in.Ok() || h.magic_ != kXdaMagic) return FailCutHeader(in, "XDA");
  ReadLittleEndianFields(in);
  h.numOutliers_ = in.UInt32LE();
  h.numMasked_ = in.UInt32LE();
  in.Int32LE();  // sub-grid count, not kept
  if (!in.Ok()) return FailCutHeader(in, "XDA");
  FinishStoredHeader();
  if (!CheckDimensions()) return false;

  const std::size_t cellStart = in.Position();
  const std::uint64_t masksStart = cellStart + std::uint64_t(h.numCells_) * kXdaCellBytes;
  const std::uint64_t outliersStart = masksStart + std::uint64_t(h.numMasked_) * kShortCoordBytes;
  if (!TableFits("cell", cellStart, std::uint64_t(h.numCells_), kXdaCellBytes) ||
      !TableFits("masked", masksStart, h.numMasked_, kShortCoordBytes) ||
      !TableFits("outlier", outliersStart, h.numOutliers_, kShortCoordBytes)) {
    return false;
  }
  if (headerOnly) return true;

  cellData_ = view_.Data() + cellStart;
  mappedCells_ = h.numCells_;
  return ReadCoordinateTable("masked", masksStart, kShortCoordBytes, readMasks_, h.numMasked_, masked_) &&
         ReadCoordinateTable("outlier", outliersStart, kShortCoordBytes, readOutliers_, h.numOutliers_, outliers_);
}

bool CLegacyCELFile::ReadCompactFormat(bool headerOnly) {
  if (!MapWholeFile()) return false;
  ByteCursor in(view_.Data(), view_.Size());
  CLegacyCELHeader& h = header_;
  in.Skip(kCompactMagic.size());
  ReadLittleEndianFields(in);
  h.numMasked_ = in.UInt32LE();
  in.Int32LE();  // sub-grid count, not kept
  if (!in.Ok()) return FailCutHeader(in, "compact");
  FinishStoredHeader();
  if (!CheckDimensions()) return false;

  const std::size_t cellStart = in.Position();
  const std::uint64_t masksStart = cellStart + std::uint64_t(h.numCells_) * kCompactCellBytes;
  if (!TableFits("cell", cellStart, std::uint64_t(h.numCells_), kCompactCellBytes) ||
      !TableFits("masked", masksStart, h.numMasked_, kShortCoordBytes)) {
    return false;
  }
  if (headerOnly) return true;

  cellData_ = view_.Data() + cellStart;
  mappedCells_ = h.numCells_;
  return ReadCoordinateTable("masked", masksStart, kShortCoordBytes, readMasks_, h.numMasked_, masked_);
}

bool CLegacyCELFile::ReadBCELFormat(bool headerOnly) {
  if (!MapWholeFile()) return false;
  ByteCursor in(view_.Data(), view_.Size());
  CLegacyCELHeader& h = header_;
  in.Skip(kBcelMagic.size());
  h.version_ = platform::SaturatingCast<std::int32_t>(in.FloatBE());
  const std::int32_t headerBytes = in.Int32BE();
  in.Skip(4);  // tag
  if (!in.Ok()) return FailCutHeader(in, "BCEL");
  if (headerBytes < kBcelHeaderFieldBytes) {
    return FailAt(platform::Format("the header block length at offset 12 is %d bytes, fewer than its %d bytes of fields",
                                   headerBytes, kBcelHeaderFieldBytes));
  }
  in.Skip(4);  // unused
  h.cols_ = in.Int32BE();
  h.rows_ = in.Int32BE();
  const std::uint32_t totalX = in.Int32BE(), totalY = in.Int32BE();
  const std::uint32_t offsetX = in.Int32BE(), offsetY = in.Int32BE();
  LegacyGridCoords g;
  g.upperLeftX = in.Int32BE();
  g.upperLeftY = in.Int32BE();
  g.upperRightX = in.Int32BE();
  g.upperRightY = in.Int32BE();
  g.lowerLeftX = in.Int32BE();
  g.lowerLeftY = in.Int32BE();
  g.lowerRightX = in.Int32BE();
  g.lowerRightY = in.Int32BE();
  const int axisInvertX = in.UInt16BE(), axisInvertY = in.UInt16BE(), swapXY = in.UInt16BE();
  // The blocks follow the header block, whatever fields it holds beyond ours.
  in.Seek(kBcelHeaderPayloadStart + std::uint64_t(headerBytes));

  // Each block: a 12-byte head whose second word is the payload length.
  auto blockPayload = [&](const char* block) -> std::int64_t {
    const std::size_t head = in.Position();
    in.Skip(4);
    std::int32_t length = in.Int32BE();
    in.Skip(4);
    if (!in.Ok()) {
      FailAt(platform::Format("the head of the %s block at offset %zu runs past the end of the file", block, head));
      return -1;
    }
    if (length < 0 || std::uint64_t(length) > in.Remaining()) {
      FailAt(platform::Format("the %s block at offset %zu runs past the end of the file (%d bytes, %zu bytes left)",
                              block, head, length, in.Remaining()));
      return -1;
    }
    return length;
  };
  auto textBlock = [&](const char* block, std::string& text) {
    std::int64_t length = blockPayload(block);
    if (length < 0) return false;
    text = in.FixedText(length);
    if (!text.empty() && text.back() == '\r') text.pop_back();
    return true;
  };
  if (!in.Ok()) return FailAt(platform::Format("the header block runs past the end of the file (%d bytes)", headerBytes));
  if (!textBlock("DAT header", h.datHeader_) || !textBlock("algorithm", h.alg_) ||
      !textBlock("parameter", h.paramsText_)) {
    return false;
  }

  const std::int64_t cellBytes = blockPayload("cell");
  if (cellBytes < 0) return false;
  const std::size_t cellStart = in.Position();
  in.Skip(std::uint64_t(cellBytes));
  const std::int64_t maskBytes = blockPayload("masked");
  if (maskBytes < 0) return false;
  const std::size_t masksStart = in.Position();
  in.Skip(std::uint64_t(maskBytes));
  const std::int64_t outlierBytes = blockPayload("outlier");
  if (outlierBytes < 0) return false;
  const std::size_t outliersStart = in.Position();
  h.numCells_ = static_cast<std::int32_t>(cellBytes / kBcelCellBytes);
  h.numMasked_ = static_cast<std::uint32_t>(maskBytes / kBcelCoordBytes);
  h.numOutliers_ = static_cast<std::uint32_t>(outlierBytes / kBcelCoordBytes);

  h.ParseAlgorithmParameters(h.paramsText_);
  h.header_ = platform::Format(
      "Cols=%d\nRows=%d\nTotalX=%u\nTotalY=%u\nOffsetX=%u\nOffsetY=%u\n"
      "GridCornerUL=%d %d\nGridCornerUR=%d %d\nGridCornerLR=%d %d\nGridCornerLL=%d %d\n"
      "Axis-invertX=%d\nAxisInvertY=%d\nswapXY=%d\n",
      h.cols_, h.rows_, totalX, totalY, offsetX, offsetY, g.upperLeftX, g.upperLeftY, g.upperRightX,
      g.upperRightY, g.lowerRightX, g.lowerRightY, g.lowerLeftX, g.lowerLeftY, axisInvertX, axisInvertY, swapXY);
  h.header_ += "DatHeader=" + h.datHeader_ + "\nAlgorithm=" + h.alg_ + "\nAlgorithmParameters=" + h.GetParams() + "\n";
  h.ParseChipTypeFromHeaderText();
  h.ParseAlgorithmParameters(h.paramsText_);
  h.CellMarginFromParameter();
  h.ParseGridCornersFromHeaderText();
  if (!CheckDimensions()) return false;
  if (headerOnly) return true;

  cellData_ = view_.Data() + cellStart;
  mappedCells_ = h.numCells_;
  return ReadCoordinateTable("masked", masksStart, kBcelCoordBytes, readMasks_, h.numMasked_, masked_) &&
         ReadCoordinateTable("outlier", outliersStart, kBcelCoordBytes, readOutliers_, h.numOutliers_, outliers_);
}

bool CLegacyCELFile::HasCell(int index) const {
  if (index < 0) return false;
  if (format_ == kTextFormat) return static_cast<std::size_t>(index) < textCells_.size();
  return cellData_ != nullptr && index < mappedCells_;
}

void CLegacyCELFile::GetValues(int index, float& intensity, float& stdv, std::uint16_t& pixels) const {
  intensity = 0;
  stdv = 0;
  pixels = 0;
  if (!HasCell(index)) return;
  switch (format_) {
    case kTextFormat: {
      const TextCell& cell = textCells_[static_cast<std::size_t>(index)];
      intensity = cell.intensity;
      stdv = cell.stdv;
      pixels = static_cast<std::uint16_t>(cell.pixels);
      break;
    }
    case kXdaFormat: {
      const std::uint8_t* p = cellData_ + std::size_t(index) * kXdaCellBytes;
      intensity = platform::ReadLEFloat(p);
      stdv = platform::ReadLEFloat(p + 4);
      pixels = platform::ReadLE16(p + 8);
      break;
    }
    case kBcelFormat: {
      const std::uint8_t* p = cellData_ + std::size_t(index) * kBcelCellBytes;
      intensity = platform::ReadBE16(p);
      stdv = platform::ReadBE16(p + 2);
      pixels = p[4];
      break;
    }
    case kCompactFormat:
      intensity = platform::ReadLE16(cellData_ + std::size_t(index) * kCompactCellBytes);
      break;
    default:
      break;
  }
}

float CLegacyCELFile::GetIntensity(int index) const {
  CLegacyCELFileEntry entry;
  GetEntry(index, entry);
  return entry.Intensity;
}

void CLegacyCELFile::GetIntensities(std::span<const std::int32_t> indexes, std::span<float> intensities) const {
  const std::size_t n = std::min(indexes.size(), intensities.size());
  // The form is looked at once, not per cell.
  const auto each = [&](auto intensityOf) {
    for (std::size_t i = 0; i < n; ++i) intensities[i] = HasCell(indexes[i]) ? intensityOf(indexes[i]) : 0.0f;
  };
  switch (format_) {
    case kTextFormat:
      return each([&](int index) { return textCells_[static_cast<std::size_t>(index)].intensity; });
    case kXdaFormat:
      return each([&](int index) { return platform::ReadLEFloat(cellData_ + std::size_t(index) * kXdaCellBytes); });
    case kBcelFormat:
      return each([&](int index) {
        return static_cast<float>(platform::ReadBE16(cellData_ + std::size_t(index) * kBcelCellBytes));
      });
    case kCompactFormat:
      return each([&](int index) {
        return static_cast<float>(platform::ReadLE16(cellData_ + std::size_t(index) * kCompactCellBytes));
      });
    default:
      return each([](int) { return 0.0f; });
  }
}

float CLegacyCELFile::GetStdv(int index) const {
  CLegacyCELFileEntry entry;
  GetEntry(index, entry);
  return entry.Stdv;
}

std::uint16_t CLegacyCELFile::GetPixels(int index) const {
  CLegacyCELFileEntry entry;
  GetEntry(index, entry);
  return entry.Pixels;
}

std::uint16_t CLegacyCELFile::GetPixels(int x, int y) const { return GetPixels(CellIndex(x, y)); }

bool CLegacyCELFile::IsMasked(int x, int y) const {
  int index = CellIndex(x, y);
  return index >= 0 && IsMaskedIndex(index);
}

bool CLegacyCELFile::IsOutlier(int x, int y) const {
  int index = CellIndex(x, y);
  return index >= 0 && IsOutlierIndex(index);
}
