#include "tools/arraywriters/GenericWriter.h"

#include <fstream>

#include "platform/ByteOrder.h"
#include "platform/Paths.h"

namespace arraywriters {

namespace {

void AppendString(std::string& out, std::string_view text) {
  platform::AppendBE32(out, std::uint32_t(text.size()));
  out.append(text);
}

void AppendWideString(std::string& out, std::u16string_view text) {
  platform::AppendBE32(out, std::uint32_t(text.size()));
  for (char16_t unit : text) platform::AppendBE16(out, unit);
}

void AppendParameters(std::string& out, const std::vector<GenericParameterSpec>& parameters) {
  platform::AppendBE32(out, std::uint32_t(parameters.size()));
  for (const GenericParameterSpec& param : parameters) {
    AppendWideString(out, param.name);
    AppendString(out, param.value);  // a BLOB has the same layout as a STRING
    AppendWideString(out, param.mimeType);
  }
}

void AppendHeader(std::string& out, const GenericHeaderSpec& header) {
  AppendString(out, header.fileTypeId);
  AppendString(out, header.fileId);
  AppendWideString(out, header.creationTime);
  AppendWideString(out, header.locale);
  AppendParameters(out, header.parameters);
  platform::AppendBE32(out, std::uint32_t(header.parents.size()));
  for (const GenericHeaderSpec& parent : header.parents) AppendHeader(out, parent);
}

void PatchPosition(std::string& out, std::size_t at, std::size_t position) {
  platform::WriteBE32(out.data() + at, std::uint32_t(position));
}

GenericParameterSpec WordParameter(std::u16string name, std::uint32_t word, std::u16string_view type) {
  std::string value;
  platform::AppendBE32(value, word);
  return {std::move(name), std::move(value), std::u16string(type)};
}

}  // namespace

GenericParameterSpec Int8Parameter(std::u16string name, std::int8_t value) {
  return WordParameter(std::move(name), std::uint32_t(std::int32_t(value)), kMimeInt8);
}
GenericParameterSpec UInt8Parameter(std::u16string name, std::uint8_t value) {
  return WordParameter(std::move(name), value, kMimeUInt8);
}
GenericParameterSpec Int16Parameter(std::u16string name, std::int16_t value) {
  return WordParameter(std::move(name), std::uint32_t(std::int32_t(value)), kMimeInt16);
}
GenericParameterSpec UInt16Parameter(std::u16string name, std::uint16_t value) {
  return WordParameter(std::move(name), value, kMimeUInt16);
}
GenericParameterSpec Int32Parameter(std::u16string name, std::int32_t value) {
  return WordParameter(std::move(name), std::uint32_t(value), kMimeInt32);
}
GenericParameterSpec UInt32Parameter(std::u16string name, std::uint32_t value) {
  return WordParameter(std::move(name), value, kMimeUInt32);
}
GenericParameterSpec FloatParameter(std::u16string name, float value) {
  std::string bytes;
  platform::AppendBEFloat(bytes, value);
  return {std::move(name), std::move(bytes), std::u16string(kMimeFloat)};
}

GenericParameterSpec TextParameter(std::u16string name, std::u16string_view text, std::size_t paddedUnits) {
  std::string bytes;
  for (char16_t unit : text) platform::AppendBE16(bytes, unit);
  if (paddedUnits * 2 > bytes.size()) bytes.resize(paddedUnits * 2, '\0');
  return {std::move(name), std::move(bytes), std::u16string(kMimeText)};
}

GenericParameterSpec AsciiParameter(std::u16string name, std::string_view text, std::size_t paddedBytes) {
  std::string bytes(text);
  if (paddedBytes > bytes.size()) bytes.resize(paddedBytes, '\0');
  return {std::move(name), std::move(bytes), std::u16string(kMimeAscii)};
}

std::string GenericFileBytes(const GenericFileSpec& spec, GenericFileLayout* layout) {
  GenericFileLayout where;
  std::string out;
  out.push_back(char(spec.magic));
  out.push_back(char(spec.version));
  platform::AppendBE32(out, std::uint32_t(spec.groups.size()));
  const std::size_t firstGroupField = out.size();
  platform::AppendBE32(out, 0);
  AppendHeader(out, spec.header);
  where.firstGroupPos = std::uint32_t(out.size());
  PatchPosition(out, firstGroupField, out.size());

  std::size_t previousNextGroupField = 0;
  for (std::size_t g = 0; g < spec.groups.size(); ++g) {
    const GenericDataGroupSpec& group = spec.groups[g];
    if (g > 0) PatchPosition(out, previousNextGroupField, out.size());
    where.groupPos.push_back(std::uint32_t(out.size()));
    previousNextGroupField = out.size();
    platform::AppendBE32(out, 0);  // next group: patched when it is written; the last stays 0
    const std::size_t firstSetField = out.size();
    platform::AppendBE32(out, 0);
    platform::AppendBE32(out, std::uint32_t(group.dataSets.size()));
    AppendWideString(out, group.name);
    PatchPosition(out, firstSetField, out.size());

    where.setHeaderPos.emplace_back();
    where.dataPos.emplace_back();
    std::size_t previousNextSetField = 0;
    for (std::size_t s = 0; s < group.dataSets.size(); ++s) {
      const GenericDataSetSpec& set = group.dataSets[s];
      if (s > 0) PatchPosition(out, previousNextSetField, out.size());
      where.setHeaderPos.back().push_back(std::uint32_t(out.size()));
      const std::size_t dataField = out.size();
      platform::AppendBE32(out, 0);
      previousNextSetField = out.size();
      platform::AppendBE32(out, 0);  // next set: patched when it is written; the last stays 0
      AppendWideString(out, set.name);
      AppendParameters(out, set.parameters);
      platform::AppendBE32(out, std::uint32_t(set.columns.size()));
      for (const GenericColumnSpec& column : set.columns) {
        AppendWideString(out, column.name);
        out.push_back(char(column.type));
        platform::AppendBE32(out, std::uint32_t(column.size));
      }
      platform::AppendBE32(out, std::uint32_t(set.rowCount));
      where.dataPos.back().push_back(std::uint32_t(out.size()));
      PatchPosition(out, dataField, out.size());
      out.append(set.elements);
    }
  }
  if (layout != nullptr) *layout = std::move(where);
  return out;
}

bool WriteBytes(std::string_view path, std::string_view bytes) {
  std::ofstream file(platform::NativePath(path), std::ios::out | std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), std::streamsize(bytes.size()));
  file.close();
  return !file.fail();
}

bool WriteGenericFile(std::string_view path, const GenericFileSpec& spec, GenericFileLayout* layout) {
  return WriteBytes(path, GenericFileBytes(spec, layout));
}

void AppendInt8Cell(std::string& row, std::int8_t value) { row.push_back(char(value)); }
void AppendInt16Cell(std::string& row, std::int16_t value) { platform::AppendBE16(row, std::uint16_t(value)); }
void AppendInt32Cell(std::string& row, std::int32_t value) { platform::AppendBE32(row, std::uint32_t(value)); }
void AppendFloatCell(std::string& row, float value) { platform::AppendBEFloat(row, value); }

void AppendText8Cell(std::string& row, std::string_view text, std::int32_t columnSize) {
  const std::size_t cellEnd = row.size() + std::size_t(columnSize);
  AppendString(row, text);
  if (row.size() < cellEnd) row.resize(cellEnd, '\0');
}

void AppendText16Cell(std::string& row, std::u16string_view text, std::int32_t columnSize) {
  const std::size_t cellEnd = row.size() + 4 + 2 * std::size_t((columnSize - 4) / 2);
  AppendWideString(row, text);
  if (row.size() < cellEnd) row.resize(cellEnd, '\0');
}

}  // namespace arraywriters
