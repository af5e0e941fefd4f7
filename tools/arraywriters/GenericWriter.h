#pragma once
// Writes files of the generic array container: a file header, a generic data
// header (typed parameters, nested parent headers), then each data group header
// followed by its data sets, each data set header followed by its element area.
// Every number is big-endian. The writer writes what it is given, unchecked, so
// tests can make malformed files as well as good ones.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace arraywriters {

// The MIME types of parameter values.
inline constexpr std::u16string_view kMimeInt8 = u"text/x-generic-integer-8";
inline constexpr std::u16string_view kMimeUInt8 = u"text/x-generic-unsigned-integer-8";
inline constexpr std::u16string_view kMimeInt16 = u"text/x-generic-integer-16";
inline constexpr std::u16string_view kMimeUInt16 = u"text/x-generic-unsigned-integer-16";
inline constexpr std::u16string_view kMimeInt32 = u"text/x-generic-integer-32";
inline constexpr std::u16string_view kMimeUInt32 = u"text/x-generic-unsigned-integer-32";
inline constexpr std::u16string_view kMimeFloat = u"text/x-generic-float";
inline constexpr std::u16string_view kMimeText = u"text/plain";
inline constexpr std::u16string_view kMimeAscii = u"text/ascii";

// Column type codes.
inline constexpr std::int8_t kColumnInt8 = 0;
inline constexpr std::int8_t kColumnUInt8 = 1;
inline constexpr std::int8_t kColumnInt16 = 2;
inline constexpr std::int8_t kColumnUInt16 = 3;
inline constexpr std::int8_t kColumnInt32 = 4;
inline constexpr std::int8_t kColumnUInt32 = 5;
inline constexpr std::int8_t kColumnFloat = 6;
inline constexpr std::int8_t kColumnText8 = 7;
inline constexpr std::int8_t kColumnText16 = 8;

struct GenericParameterSpec {
  std::u16string name;
  std::string value;  // the value bytes exactly as stored
  std::u16string mimeType;
};

// Numbers are stored as one 32-bit big-endian word whatever their width.
[[nodiscard]] GenericParameterSpec Int8Parameter(std::u16string name, std::int8_t value);
[[nodiscard]] GenericParameterSpec UInt8Parameter(std::u16string name, std::uint8_t value);
[[nodiscard]] GenericParameterSpec Int16Parameter(std::u16string name, std::int16_t value);
[[nodiscard]] GenericParameterSpec UInt16Parameter(std::u16string name, std::uint16_t value);
[[nodiscard]] GenericParameterSpec Int32Parameter(std::u16string name, std::int32_t value);
[[nodiscard]] GenericParameterSpec UInt32Parameter(std::u16string name, std::uint32_t value);
[[nodiscard]] GenericParameterSpec FloatParameter(std::u16string name, float value);
// Big-endian UTF-16 units, zero-padded to `paddedUnits` units when that is longer.
[[nodiscard]] GenericParameterSpec TextParameter(std::u16string name, std::u16string_view text,
                                                 std::size_t paddedUnits = 0);
// 8-bit characters, zero-padded to `paddedBytes` when that is longer.
[[nodiscard]] GenericParameterSpec AsciiParameter(std::u16string name, std::string_view text,
                                                  std::size_t paddedBytes = 0);

struct GenericHeaderSpec {
  std::string fileTypeId;
  std::string fileId;
  std::u16string creationTime;
  std::u16string locale = u"en-US";
  std::vector<GenericParameterSpec> parameters;
  std::vector<GenericHeaderSpec> parents;
};

struct GenericColumnSpec {
  std::u16string name;
  std::int8_t type = kColumnInt32;
  std::int32_t size = 4;  // bytes per cell as stored in the header
};

struct GenericDataSetSpec {
  std::u16string name;
  std::vector<GenericParameterSpec> parameters;
  std::vector<GenericColumnSpec> columns;
  std::int32_t rowCount = 0;
  // Rows of cells, written as given (see the Append* cell writers below).
  std::string elements;
};

struct GenericDataGroupSpec {
  std::u16string name;
  std::vector<GenericDataSetSpec> dataSets;
};

struct GenericFileSpec {
  std::uint8_t magic = 59;
  std::uint8_t version = 1;
  GenericHeaderSpec header;
  std::vector<GenericDataGroupSpec> groups;
};

// Where the writer put things, for tests that read or damage them.
struct GenericFileLayout {
  std::uint32_t firstGroupPos = 0;
  std::vector<std::uint32_t> groupPos;                   // per group
  std::vector<std::vector<std::uint32_t>> setHeaderPos;  // per group, per set
  std::vector<std::vector<std::uint32_t>> dataPos;       // per group, per set: row 0, column 0
};

[[nodiscard]] std::string GenericFileBytes(const GenericFileSpec& spec, GenericFileLayout* layout = nullptr);
// Writes the bytes to a program path; false when the file cannot be written.
bool WriteGenericFile(std::string_view path, const GenericFileSpec& spec, GenericFileLayout* layout = nullptr);
// Writes raw bytes to a program path; false when the file cannot be written.
bool WriteBytes(std::string_view path, std::string_view bytes);

// Cell writers: each appends one big-endian cell to a row.
void AppendInt8Cell(std::string& row, std::int8_t value);
void AppendInt16Cell(std::string& row, std::int16_t value);
void AppendInt32Cell(std::string& row, std::int32_t value);
void AppendFloatCell(std::string& row, float value);
// A text cell of a column of stored size `columnSize`: INT32 count, the
// characters, zero padding to the column's width.
void AppendText8Cell(std::string& row, std::string_view text, std::int32_t columnSize);
// As above with big-endian UTF-16 units; the width drops the odd byte of an
// odd columnSize - 4.
void AppendText16Cell(std::string& row, std::u16string_view text, std::int32_t columnSize);

}  // namespace arraywriters
