#pragma once
// Generic container files made by our own writer for the generic_* tests.
#include <cmath>
#include <cstdint>
#include <string>

#include "platform/ByteOrder.h"
#include "tools/arraywriters/GenericWriter.h"

namespace generic_test {

using namespace arraywriters;

// Row r of the "Numbers" set: one cell of each numeric width and sign.
inline std::int8_t NumberInt8(int r) { return std::int8_t(r - 2); }
inline std::uint8_t NumberUInt8(int r) { return std::uint8_t(250 + r); }
inline std::int16_t NumberInt16(int r) { return std::int16_t(-1000 * r); }
inline std::uint16_t NumberUInt16(int r) { return std::uint16_t(60000 + r); }
inline std::int32_t NumberInt32(int r) { return -100000 * r; }
inline std::uint32_t NumberUInt32(int r) { return 3000000000u + std::uint32_t(r); }
inline float NumberFloat(int r) { return float(r) * 0.25f; }
inline constexpr int kNumberRows = 5;

inline std::string NumberText8(int r) { return "probe-" + std::to_string(r); }
inline std::u16string NumberText16(int r) { return u"w" + std::u16string(std::size_t(r + 1), u'x'); }
inline constexpr int kTextRows = 3;

inline GenericDataSetSpec NumbersSet() {
  GenericDataSetSpec set;
  set.name = u"Numbers";
  set.parameters = {Int32Parameter(u"rows", kNumberRows)};
  set.columns = {{u"c-int8", kColumnInt8, 1},     {u"c-uint8", kColumnUInt8, 1},   {u"c-int16", kColumnInt16, 2},
                 {u"c-uint16", kColumnUInt16, 2}, {u"c-int32", kColumnInt32, 4},   {u"c-uint32", kColumnUInt32, 4},
                 {u"c-float", kColumnFloat, 4}};
  set.rowCount = kNumberRows;
  for (int r = 0; r < kNumberRows; ++r) {
    AppendInt8Cell(set.elements, NumberInt8(r));
    AppendInt8Cell(set.elements, std::int8_t(NumberUInt8(r)));
    AppendInt16Cell(set.elements, NumberInt16(r));
    AppendInt16Cell(set.elements, std::int16_t(NumberUInt16(r)));
    AppendInt32Cell(set.elements, NumberInt32(r));
    AppendInt32Cell(set.elements, std::int32_t(NumberUInt32(r)));
    AppendFloatCell(set.elements, NumberFloat(r));
  }
  return set;
}

// Texts of both widths; the 16-bit column of size 9 is 8 bytes wide (2 units).
inline GenericDataSetSpec TextsSet() {
  GenericDataSetSpec set;
  set.name = u"Texts";
  set.parameters = {AsciiParameter(u"dup", "first"), AsciiParameter(u"dup", "second")};
  set.columns = {{u"name8", kColumnText8, 20}, {u"short16", kColumnText16, 9}, {u"name16", kColumnText16, 24}};
  set.rowCount = kTextRows;
  for (int r = 0; r < kTextRows; ++r) {
    AppendText8Cell(set.elements, NumberText8(r), 20);
    AppendText16Cell(set.elements, r == 0 ? u"ab" : u"c", 9);
    AppendText16Cell(set.elements, NumberText16(r), 24);
  }
  return set;
}

inline GenericDataSetSpec SingleColumn16Set(int rows) {
  GenericDataSetSpec set;
  set.name = u"Single16";
  set.columns = {{u"value", kColumnUInt16, 2}};
  set.rowCount = rows;
  for (int r = 0; r < rows; ++r) AppendInt16Cell(set.elements, std::int16_t(1000 + r));
  return set;
}

inline GenericDataSetSpec SingleColumnFloatSet(int rows) {
  GenericDataSetSpec set;
  set.name = u"SingleFloat";
  set.columns = {{u"value", kColumnFloat, 4}};
  set.rowCount = rows;
  for (int r = 0; r < rows; ++r) AppendFloatCell(set.elements, float(r) + 0.5f);
  return set;
}

// The header of the sample file: every MIME type once, "p-int32" twice (the
// second value replaces the first in its place), and a two-level parent tree.
inline GenericHeaderSpec SampleHeader() {
  GenericHeaderSpec header;
  header.fileTypeId = "qova-test-generic";
  header.fileId = "file-0001";
  header.creationTime = u"2024-01-02T03:04:05Z";
  header.locale = u"de-DE";
  header.parameters = {Int8Parameter(u"p-int8", -1),
                       UInt8Parameter(u"p-uint8", 255),
                       Int16Parameter(u"p-int16", -2),
                       UInt16Parameter(u"p-uint16", 65535),
                       Int32Parameter(u"p-int32", -123456),
                       UInt32Parameter(u"p-uint32", 4000000000u),
                       FloatParameter(u"p-float", 1.5f),
                       TextParameter(u"p-text", u"Hello", 8),
                       AsciiParameter(u"p-ascii", "XY"),
                       Int32Parameter(u"p-int32", 42)};
  GenericHeaderSpec grandparent;
  grandparent.fileTypeId = "qova-raw";
  grandparent.parameters = {TextParameter(u"origin", u"scanner")};
  GenericHeaderSpec scan;
  scan.fileTypeId = "qova-scan";
  scan.fileId = "scan-7";
  scan.parameters = {Int32Parameter(u"scan-rows", 12), TextParameter(u"scan-name", u"S01")};
  scan.parents = {grandparent};
  GenericHeaderSpec other;
  other.fileTypeId = "qova-other";
  other.parameters = {FloatParameter(u"gain", 2.0f)};
  header.parents = {scan, other};
  return header;
}

inline constexpr int kSingle16Rows = 10;
inline constexpr int kSingleFloatRows = 7;

// 2 groups x 2 sets.
inline GenericFileSpec SampleFile() {
  GenericFileSpec file;
  file.header = SampleHeader();
  file.groups = {{u"Group One", {NumbersSet(), TextsSet()}},
                 {u"Group Two", {SingleColumn16Set(kSingle16Rows), SingleColumnFloatSet(kSingleFloatRows)}}};
  return file;
}

// The offset of the 4-byte count in front of the first occurrence of `text`
// written as a WSTRING, or npos.
inline std::size_t FindWideString(const std::string& bytes, std::u16string_view text) {
  std::string encoded;
  platform::AppendBE32(encoded, std::uint32_t(text.size()));
  for (char16_t unit : text) platform::AppendBE16(encoded, unit);
  return bytes.find(encoded);
}

inline void PatchBE32(std::string& bytes, std::size_t at, std::uint32_t value) {
  platform::WriteBE32(bytes.data() + at, value);
}

}  // namespace generic_test
