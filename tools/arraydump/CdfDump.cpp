// arraydump of CDF library files in any form, printed through the one view
// the rest of the program uses: the header, then per probe set its name,
// type and groups, and per group its cells ("x y probe target").
#include <algorithm>
#include <fstream>
#include <stdexcept>

#include "arrayfiles/cdf/CDFData.h"
#include "arrayfiles/cdf/UnifiedCDFData.h"
#include "arrayfiles/common/LittleEndianInput.h"
#include "arrayfiles/generic/GenericExceptions.h"
#include "arrayfiles/generic/GenericFileReader.h"
#include "platform/Paths.h"
#include "platform/Strings.h"
#include "tools/arraydump/ArrayDump.h"
#include "tools/arraydump/GenericDump.h"

namespace arraydump {

namespace {

// Before the generic header tree, which takes any generic file.
constexpr int kCdfPriority = 300;
// The type id our writers give a generic library file of probe sets.
constexpr const char* kProbeSetsTypeId = "vendor-probesets";

bool StartsAsTextCdf(const std::string& path) {
  std::ifstream in(platform::NativePath(path), std::ios::binary);
  char line[16];
  LittleEndianInput::ReadTextLine(in, line, sizeof line);
  return std::string_view(line).starts_with("[CDF]");
}

// A generic file is taken as a library file by its type id, or by its name.
bool IsGenericCdf(const std::string& path) {
  if (platform::EndsWithNoCase(path, ".cdf")) return true;
  generic_io::GenericData data;
  generic_io::GenericFileReader reader;
  reader.SetFilename(path);
  try {
    reader.ReadHeader(data, generic_io::NoDataGroupHeaders);
  } catch (const generic_exceptions::GenericException&) {
    return false;
  }
  const std::string& type = data.Header().genericHeader.fileTypeId;
  return type == kProbeSetsTypeId || type == generic_io::kControlProbeSetsTypeId;
}

std::string CellRow(const unified_io::UnifiedCDFProbeInformation& cell) {
  std::string row = std::to_string(cell.GetX()) + '\t' + std::to_string(cell.GetY()) + '\t';
  row += cell.GetPBase();
  row += '\t';
  row += cell.GetTBase();
  return row;
}

void PrintProbeSet(unified_io::UnifiedCDFData& cdf, int i, std::ostream& out) {
  const std::string prefix = "probe-set[" + std::to_string(i) + "].";
  PrintField(out, prefix + "name", std::string_view(cdf.GetProbeSetName(i)));
  unified_io::UnifiedCDFProbeSetInformation set;
  cdf.GetProbeSetInformation(i, set);
  PrintField(out, prefix + "type", static_cast<long long>(set.GetProbeSetType()));
  PrintField(out, prefix + "groups", static_cast<long long>(set.GetNumGroups()));
  unified_io::UnifiedCDFProbeGroupInformation group;
  unified_io::UnifiedCDFProbeInformation cell;
  for (int g = 0; g < set.GetNumGroups(); ++g) {
    const std::string groupPrefix = prefix + "group[" + std::to_string(g) + "].";
    set.GetGroupInformation(g, group);
    PrintField(out, groupPrefix + "name", std::string_view(group.GetName()));
    PrintField(out, groupPrefix + "direction", static_cast<long long>(group.GetDirection()));
    PrintField(out, groupPrefix + "cells", static_cast<long long>(group.GetNumCells()));
    for (int c = 0; c < group.GetNumCells(); ++c) {
      group.GetCell(c, cell);
      PrintField(out, groupPrefix + "cell", std::string_view(CellRow(cell)));
    }
  }
}

bool PrintCdfFile(const std::string& path, std::ostream& out) {
  const char* format = nullptr;
  if (IsGenericFile(path)) {
    if (!IsGenericCdf(path)) return false;
    format = "cdf-generic";
  } else {
    CLegacyCDFFile probe;
    probe.SetFileName(path);
    if (probe.IsXDACompatibleFile()) {
      format = "cdf-xda";
    } else if (StartsAsTextCdf(path)) {
      format = "cdf-text";
    } else {
      return false;
    }
  }
  unified_io::UnifiedCDFData cdf;
  cdf.SetFileName(path);
  if (!cdf.Read()) throw std::runtime_error(cdf.GetError());
  const unified_io::UnifiedCDFFileHeader& header = cdf.GetHeader();
  PrintField(out, "format", std::string_view(format));
  PrintField(out, "rows", static_cast<long long>(header.GetRows()));
  PrintField(out, "columns", static_cast<long long>(header.GetCols()));
  PrintField(out, "probe-sets", static_cast<long long>(header.GetNumProbeSets()));
  PrintField(out, "qc-sets", static_cast<long long>(header.GetNumQCProbeSets()));
  PrintField(out, "reference", std::string_view(header.GetReferenceSequence()));
  long long shown = header.GetNumProbeSets();
  if (std::optional<long long> limit = NumericOption("sets"); limit && *limit >= 0) shown = std::min(shown, *limit);
  for (int i = 0; i < shown; ++i) PrintProbeSet(cdf, i, out);
  return true;
}

const PrinterRegistration kCdf{kCdfPriority, "cdf", &PrintCdfFile};

}  // namespace

}  // namespace arraydump
