// arraydump of CEL files in every form, printed through the one view the rest
// of the program uses: the form the unified object chose, the header, the
// algorithm parameters, then one row per cell ("x y intensity stdev pixels";
// "--cells N" prints the first N).
#include <algorithm>
#include <stdexcept>

#include "arrayfiles/common/StringUtils.h"
#include "arrayfiles/generic/GenericExceptions.h"
#include "arrayfiles/unified/LegacyCELDataAdapter.h"
#include "arrayfiles/unified/UnifiedCELData.h"
#include "platform/Strings.h"
#include "tools/arraydump/ArrayDump.h"

namespace arraydump {

namespace {

// Before the CDF printer and the generic header tree: a CEL file is told by
// its adapters, which refuse every other kind of file.
constexpr int kCelPriority = 200;

std::string FormName(unified_io::UnifiedCELData& cel) {
  if (cel.GetGenericData() != nullptr) return "cel-generic";
  const auto& legacy = dynamic_cast<unified_io::LegacyCELDataAdapter&>(cel.Adapter()).LegacyFile();
  switch (legacy.GetFileFormat()) {
    case CLegacyCELFile::kTextFormat: return cel.GetVersion() == 2 ? "cel-text-2" : "cel-text-3";
    case CLegacyCELFile::kXdaFormat: return "cel-xda";
    case CLegacyCELFile::kBcelFormat: return "cel-bcel";
    case CLegacyCELFile::kCompactFormat: return "cel-compact";
    default: return "cel-unknown";
  }
}

void PrintHeader(unified_io::UnifiedCELData& cel, std::ostream& out) {
  PrintField(out, "format", std::string_view(FormName(cel)));
  PrintField(out, "file-id", std::string_view(cel.GetFileId()));
  PrintField(out, "version", static_cast<long long>(cel.GetVersion()));
  PrintField(out, "rows", static_cast<long long>(cel.GetRows()));
  PrintField(out, "columns", static_cast<long long>(cel.GetCols()));
  PrintField(out, "cells", static_cast<long long>(cel.GetNumCells()));
  PrintField(out, "chip-type", std::string_view(Printable(cel.GetChipType())));
  PrintField(out, "dat-header", std::string_view(Printable(cel.GetDatHeader())));
  PrintField(out, "master-file", std::string_view(Printable(cel.GetMasterFileName())));
  PrintField(out, "library-package", std::string_view(Printable(cel.GetLibraryPackageName())));
  PrintField(out, "algorithm", std::string_view(Printable(cel.GetAlg())));
  PrintField(out, "cell-margin", static_cast<long long>(cel.GetCellMargin()));
  PrintField(out, "masked-cells", static_cast<long long>(cel.GetNumMasked()));
  PrintField(out, "outlier-cells", static_cast<long long>(cel.GetNumOutliers()));
  const unified_io::UnifiedGridCoords g = cel.GetGridCorners();
  std::string corners;
  for (float v : {g.upperleftx, g.upperlefty, g.upperrightx, g.upperrighty, g.lowerrightx, g.lowerrighty,
                  g.lowerleftx, g.lowerlefty}) {
    corners += (corners.empty() ? "" : " ") + FloatText(v);
  }
  PrintField(out, "grid-corners", std::string_view(corners));
  unified_io::UnifiedTagValuePairList params;
  cel.GetParameters(params);
  PrintField(out, "parameters", static_cast<long long>(params.size()));
  for (const unified_io::UnifiedTagValuePair& param : params) {
    PrintField(out, "parameter", std::string_view(Printable(param.Tag) + '\t' + Printable(param.Value)));
  }
}

bool PrintCelFile(const std::string& path, std::ostream& out) {
  unified_io::UnifiedCELData cel;
  cel.SetFileName(path);
  try {
    cel.CreateAdapter();
  } catch (const generic_exceptions::UnableToOpenFileException&) {
    return false;
  }
  if (!cel.Read(true)) {
    const std::string error = StringUtils::WideToNarrow(cel.GetError());
    throw std::runtime_error(error.empty() ? "the CEL file cannot be read" : error);
  }
  PrintHeader(cel, out);
  const int cols = std::max(cel.GetCols(), 0);
  long long shown = static_cast<long long>(cols) * std::max(cel.GetRows(), 0);
  if (std::optional<long long> limit = NumericOption("cells"); limit && *limit >= 0) shown = std::min(shown, *limit);
  PrintField(out, "cells-shown", shown);
  unified_io::UnifiedCELFileEntry entry;
  for (long long i = 0; i < shown; ++i) {
    const int x = static_cast<int>(i % cols), y = static_cast<int>(i / cols);
    cel.GetEntry(x, y, entry);
    out << x << '\t' << y << '\t' << FloatText(entry.Intensity) << '\t' << FloatText(entry.Stdv) << '\t'
        << entry.Pixels << '\n';
  }
  return true;
}

const PrinterRegistration kCel{kCelPriority, "cel", &PrintCelFile};

}  // namespace

}  // namespace arraydump
