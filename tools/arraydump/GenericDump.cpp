#include "tools/arraydump/GenericDump.h"

#include <fstream>

#include "arrayfiles/common/StringUtils.h"
#include "arrayfiles/generic/GenericFileReader.h"
#include "platform/Paths.h"
#include "tools/arraydump/ArrayDump.h"

namespace arraydump {

namespace {

using generic_io::GenericParameter;

void PrintParameters(std::ostream& out, const std::string& prefix, const std::vector<GenericParameter>& params) {
  PrintField(out, prefix + "parameters", static_cast<long long>(params.size()));
  for (const GenericParameter& param : params) {
    std::string row = StringUtils::WideToNarrow(param.GetName()) + '\t' +
                      StringUtils::WideToNarrow(param.GetMIMEType()) + '\t' +
                      StringUtils::WideToNarrow(param.ToString());
    PrintField(out, prefix + "parameter", std::string_view(row));
  }
}

void PrintDataHeader(std::ostream& out, const std::string& prefix, const generic_io::GenericDataHeader& header) {
  PrintField(out, prefix + "file-type-id", std::string_view(header.fileTypeId));
  PrintField(out, prefix + "file-id", std::string_view(header.fileId));
  PrintField(out, prefix + "creation-time", std::u16string_view(header.fileCreationTime));
  PrintField(out, prefix + "locale", std::u16string_view(header.locale));
  PrintParameters(out, prefix, header.parameters);
  PrintField(out, prefix + "parents", static_cast<long long>(header.parents.size()));
  for (std::size_t i = 0; i < header.parents.size(); ++i) {
    PrintDataHeader(out, prefix + "parent[" + std::to_string(i) + "].", header.parents[i]);
  }
}

void PrintDataSetHeader(std::ostream& out, const std::string& prefix, const generic_io::DataSetHeader& set) {
  PrintField(out, prefix + "name", std::u16string_view(set.name));
  PrintField(out, prefix + "header-position", static_cast<long long>(set.headerStartPos));
  PrintField(out, prefix + "data-position", static_cast<long long>(set.dataStartPos));
  PrintField(out, prefix + "rows", static_cast<long long>(set.rowCount));
  PrintField(out, prefix + "row-width", static_cast<long long>(set.GetRowSize()));
  PrintParameters(out, prefix, set.parameters);
  PrintField(out, prefix + "columns", static_cast<long long>(set.columns.size()));
  for (const generic_io::ColumnDescription& column : set.columns) {
    std::string row = StringUtils::WideToNarrow(column.name) + '\t' + std::to_string(column.type) + '\t' +
                      std::to_string(column.GetWidth());
    PrintField(out, prefix + "column", std::string_view(row));
  }
}

bool PrintGenericFile(const std::string& path, std::ostream& out) {
  if (!IsGenericFile(path)) return false;
  generic_io::GenericData data;
  generic_io::GenericFileReader reader;
  reader.SetFilename(path);
  reader.ReadHeader(data, generic_io::AllHeaders);
  PrintGenericHeaderTree(data, out);
  return true;
}

const PrinterRegistration kGenericTree{kGenericTreePriority, "generic", &PrintGenericFile};

}  // namespace

bool IsGenericFile(const std::string& path) {
  std::ifstream file(platform::NativePath(path), std::ios::in | std::ios::binary);
  char first = 0;
  return file.get(first) && std::uint8_t(first) == generic_io::kGenericFileMagic;
}

void PrintGenericHeaderTree(const generic_io::GenericData& data, std::ostream& out) {
  const generic_io::FileHeader& file = data.Header();
  PrintField(out, "format", std::string_view("generic"));
  PrintField(out, "magic", static_cast<long long>(file.magic));
  PrintField(out, "version", static_cast<long long>(file.version));
  PrintField(out, "data-groups", static_cast<long long>(file.numDataGroups));
  PrintField(out, "first-group-position", static_cast<long long>(file.firstDataGroupPos));
  PrintDataHeader(out, "header.", file.genericHeader);
  for (std::size_t g = 0; g < file.dataGroupHeaders.size(); ++g) {
    const generic_io::DataGroupHeader& group = file.dataGroupHeaders[g];
    const std::string prefix = "group[" + std::to_string(g) + "].";
    PrintField(out, prefix + "name", std::u16string_view(group.name));
    PrintField(out, prefix + "data-sets", static_cast<long long>(group.dataSetHeaders.size()));
    for (std::size_t s = 0; s < group.dataSetHeaders.size(); ++s) {
      PrintDataSetHeader(out, prefix + "set[" + std::to_string(s) + "].", group.dataSetHeaders[s]);
    }
  }
}

}  // namespace arraydump
