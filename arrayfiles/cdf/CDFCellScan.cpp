#include "arrayfiles/cdf/CDFCellScan.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <string_view>

#include "arrayfiles/generic/DataSetHeader.h"
#include "arrayfiles/generic/GenericParameter.h"
#include "platform/ByteOrder.h"

namespace generic_io {

namespace {

// A WSTRING as it lies in the file: `count` big-endian units.
struct WideText {
  const std::uint8_t* units = nullptr;
  std::uint32_t count = 0;
};

// A known text as the file stores it (big-endian units), to compare in place.
struct StoredText {
  std::array<std::uint8_t, 80> bytes{};
  std::uint32_t units = 0;
};

constexpr StoredText Stored(std::u16string_view text) {
  StoredText stored;
  stored.units = std::uint32_t(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    stored.bytes[2 * i] = std::uint8_t(text[i] >> 8);
    stored.bytes[2 * i + 1] = std::uint8_t(text[i] & 0xFF);
  }
  return stored;
}

// The text up to its first zero unit equals `expected` (which holds no zero
// unit), as the readers, which end a text there, would compare it.
bool TextEquals(WideText text, const StoredText& expected) {
  // Most names differ from a known one in their length or first unit.
  if (text.count < expected.units || (expected.units > 0 && (text.units[0] != expected.bytes[0] ||
                                                             text.units[1] != expected.bytes[1]))) {
    return false;
  }
  if (std::memcmp(text.units, expected.bytes.data(), 2 * std::size_t(expected.units)) != 0) return false;
  return text.count == expected.units || platform::ReadBE16(text.units + 2 * std::size_t(expected.units)) == 0;
}

// The parameters of a probe set's data sets that its records decode, each
// with the only type its record accepts.
struct KnownParameter {
  StoredText name;
  StoredText type;
};
constexpr std::array<KnownParameter, 6> kKnownParameters = {{
    {Stored(u"Unit Type"), Stored(kMimeUInt8)},
    {Stored(u"Direction"), Stored(kMimeUInt8)},
    {Stored(u"Probe Set Number"), Stored(kMimeUInt32)},
    {Stored(u"Cells Per Atom"), Stored(kMimeUInt8)},
    {Stored(u"Atoms"), Stored(kMimeUInt32)},
    {Stored(u"Cells"), Stored(kMimeUInt32)},
}};
constexpr std::size_t kCellsParameter = 5;

// The least bytes of a parameter, a column and a data set header, as the
// header readers bound their counts.
constexpr std::uint64_t kMinParameterBytes = 12;
constexpr std::uint64_t kMinColumnBytes = 9;
constexpr std::uint64_t kMinSetHeaderBytes = 24;

// The cells' columns and the least width each needs: x, y, the two carried
// values, probe base, target base.
constexpr std::array<std::int32_t, 6> kCellColumnWidths = {2, 2, 4, 4, 1, 1};
constexpr std::size_t kX = 0, kY = 1, kProbeBase = 4, kTargetBase = 5;

// A bounded reader over the file's bytes that fails (and stays failed) where
// the header readers would raise: a position or field past the end, a count
// that cannot fit what is left, or more header bytes in one pass than the
// file holds (a chain that loops).
class Cursor {
 public:
  explicit Cursor(std::span<const std::uint8_t> file) : file_(file), budget_(file.size()) {}

  [[nodiscard]] bool Ok() const { return ok_; }
  bool Seek(std::uint64_t position) {
    if (position > file_.size()) ok_ = false;
    if (ok_) position_ = position;
    return ok_;
  }
  const std::uint8_t* Take(std::uint64_t n) {
    if (!ok_ || n > BytesLeft() || n > budget_) {
      ok_ = false;
      return nullptr;
    }
    const std::uint8_t* at = file_.data() + position_;
    position_ += n;
    budget_ -= n;
    return at;
  }
  std::uint32_t UInt32() {
    const std::uint8_t* at = Take(4);
    return at != nullptr ? platform::ReadBE32(at) : 0;
  }
  std::int8_t Int8() {
    const std::uint8_t* at = Take(1);
    return at != nullptr ? static_cast<std::int8_t>(*at) : 0;
  }
  // An INT32 length of items of `itemBytes` each, then the items.
  const std::uint8_t* Items(std::uint64_t itemBytes, std::uint32_t& count) {
    const auto length = static_cast<std::int32_t>(UInt32());
    if (!ok_ || length < 0 || std::uint64_t(length) > BytesLeft() / itemBytes) {
      ok_ = false;
      count = 0;
      return nullptr;
    }
    count = std::uint32_t(length);
    return Take(std::uint64_t(count) * itemBytes);
  }
  WideText Text16() {
    WideText text;
    text.units = Items(2, text.count);
    return text;
  }
  // A UINT32 count of items of at least `minItemBytes` each.
  std::uint32_t Count(std::uint64_t minItemBytes) {
    const std::uint32_t count = UInt32();
    if (count > BytesLeft() / minItemBytes) ok_ = false;
    return ok_ ? count : 0;
  }

 private:
  [[nodiscard]] std::uint64_t BytesLeft() const { return file_.size() - position_; }

  std::span<const std::uint8_t> file_;
  std::uint64_t position_ = 0;
  std::uint64_t budget_;
  bool ok_ = true;
};

// What the cells of one data set need of its header.
struct CellSet {
  std::uint64_t dataStart = 0;
  std::int32_t rowCount = 0;
  std::int64_t rowWidth = 0;
  std::array<std::int64_t, kCellColumnWidths.size()> columnOffsets{};
  bool holdsCells = false;
  std::uint32_t cellsParameter = 0;  // the first "Cells" value; 0 when absent
};

// The first four value bytes, big-endian, a short value padded with zeros,
// as the parameter records decode a number.
std::uint32_t RawValue32(const std::uint8_t* value, std::uint32_t length) {
  std::uint32_t raw = 0;
  for (std::uint32_t i = 0; i < 4; ++i) raw = (raw << 8) | (i < length ? value[i] : 0u);
  return raw;
}

// The parameters of one data set header: false when a known one (its first
// occurrence) has another type than its own.
bool ScanParameters(Cursor& cursor, CellSet& set) {
  std::array<bool, kKnownParameters.size()> seen{};
  const std::uint32_t count = cursor.Count(kMinParameterBytes);
  for (std::uint32_t i = 0; i < count && cursor.Ok(); ++i) {
    const WideText name = cursor.Text16();
    std::uint32_t valueLength = 0;
    const std::uint8_t* value = cursor.Items(1, valueLength);
    const WideText type = cursor.Text16();
    if (!cursor.Ok()) return false;
    for (std::size_t k = 0; k < kKnownParameters.size(); ++k) {
      if (seen[k] || !TextEquals(name, kKnownParameters[k].name)) continue;
      seen[k] = true;
      if (!TextEquals(type, kKnownParameters[k].type)) return false;
      if (k == kCellsParameter) set.cellsParameter = RawValue32(value, valueLength);
      break;
    }
  }
  return cursor.Ok();
}

// The columns of one data set header: their offsets in a row, the row width
// and whether they hold cells. False where the header readers refuse a column.
bool ScanColumns(Cursor& cursor, CellSet& set) {
  std::array<std::int32_t, kCellColumnWidths.size()> widths{};
  const std::uint32_t count = cursor.Count(kMinColumnBytes);
  for (std::uint32_t c = 0; c < count && cursor.Ok(); ++c) {
    static_cast<void>(cursor.Text16());
    const int type = cursor.Int8();
    const auto size = static_cast<std::int32_t>(cursor.UInt32());
    const bool isText = type == kColumnText8 || type == kColumnText16;
    if (!cursor.Ok() || size <= 0 || (isText && size < 4)) return false;
    const std::int32_t width = ColumnDescription(std::u16string(), type, size).GetWidth();
    if (c < widths.size()) {
      set.columnOffsets[c] = set.rowWidth;
      widths[c] = width;
    }
    set.rowWidth += width;
    if (set.rowWidth > std::numeric_limits<std::int32_t>::max()) return false;
  }
  if (!cursor.Ok()) return false;
  set.holdsCells = count >= widths.size();
  for (std::size_t c = 0; c < widths.size(); ++c) set.holdsCells = set.holdsCells && widths[c] >= kCellColumnWidths[c];
  return true;
}

}  // namespace

bool ScanProbeSetCells(std::span<const std::uint8_t> file, std::uint64_t fileSize, std::uint32_t position,
                       std::vector<CDFGroupCell>& cells, std::uint32_t& nextGroup) {
  Cursor cursor(file);
  if (!cursor.Seek(position)) return false;
  const std::uint32_t next = cursor.UInt32();
  std::uint64_t setPosition = cursor.UInt32();
  const std::uint32_t setCount = cursor.UInt32();
  static_cast<void>(cursor.Text16());
  if (!cursor.Ok() || setCount > file.size() / kMinSetHeaderBytes) return false;

  const std::size_t start = cells.size();
  const auto giveUp = [&] {
    cells.resize(start);
    return false;
  };
  const std::uint64_t areaLimit = std::min<std::uint64_t>(fileSize, file.size());
  for (std::uint32_t g = 0; g < setCount; ++g) {
    CellSet set;
    if (!cursor.Seek(setPosition)) return giveUp();
    set.dataStart = cursor.UInt32();
    setPosition = cursor.UInt32();
    static_cast<void>(cursor.Text16());
    if (!ScanParameters(cursor, set) || !ScanColumns(cursor, set)) return giveUp();
    set.rowCount = static_cast<std::int32_t>(cursor.UInt32());
    if (!cursor.Ok() || set.rowCount < 0) return giveUp();
    const std::uint64_t areaEnd = set.dataStart + std::uint64_t(set.rowCount) * std::uint64_t(set.rowWidth);
    if (areaEnd > areaLimit) return giveUp();
    if (!set.holdsCells) continue;

    const std::int32_t cellCount = static_cast<std::int32_t>(
        std::min<std::uint64_t>(set.cellsParameter, std::uint64_t(set.rowCount)));
    const std::uint8_t* row = file.data() + set.dataStart;
    for (std::int32_t r = 0; r < cellCount; ++r, row += set.rowWidth) {
      CDFGroupCell& cell = cells.emplace_back();
      cell.group = static_cast<std::int32_t>(g);
      cell.x = platform::ReadBE16(row + set.columnOffsets[kX]);
      cell.y = platform::ReadBE16(row + set.columnOffsets[kY]);
      cell.pBase = static_cast<char>(row[set.columnOffsets[kProbeBase]]);
      cell.tBase = static_cast<char>(row[set.columnOffsets[kTargetBase]]);
    }
  }
  nextGroup = next;
  return true;
}

}  // namespace generic_io
