#include "document/exports/ExportedResult.h"

#include <utility>

#include "core/ArrayTypes.h"
#include "core/BasicData.h"
#include "core/GlobalData.h"
#include "core/ProgramSetting.h"
#include "core/SampleHeader.h"
#include "document/ApplicationData.h"
#include "document/exports/TextExport.h"
#include "platform/Strings.h"

namespace qova::document::exports {

std::int32_t SnpPlaces::Position(std::int32_t snp) const {
  const auto at = [](const std::vector<std::int32_t>& column, std::int32_t i) {
    return column[static_cast<std::size_t>(i)];
  };
  const std::int32_t row = at(Table->IndexMap, ThroughSortMap ? at(Table->SortMap, snp) : snp);
  return at(Table->Position, row);
}

std::optional<SnpPlaces> PlacesOf(const SampleHeader& header, std::size_t arraySize, bool throughSortMap,
                                  std::string& why) {
  const core::ArrayTypeInfo* type = core::FindArrayType(header.ArrayType);
  if (type == nullptr) {
    why = core::UnknownArrayType(header.ArrayType);
    return std::nullopt;
  }
  const CGlobalData& global = ApplicationData();
  SnpPlaces places{global.BasicDataOfType(type->type), global.ArrayChromosomeStarts[type->type], throughSortMap};
  if (places.Table == nullptr) {
    why = platform::Format("the annotation table of %s is not loaded", type->name);
    return std::nullopt;
  }
  const std::int32_t first = places.First(kFirstChromosome);
  const std::int32_t end = places.Starts[kLastChromosome + 1];
  // The maps of a loaded table were checked to point at its rows, so rows
  // below `end` are all that is needed of it.
  const bool fits = first >= header.FirstSnpIndex && end - 1 <= header.LastSnpIndex && first <= end &&
                    static_cast<std::size_t>(end) <= arraySize && end <= places.Table->LoadedRows();
  if (!fits) {
    why = platform::Format("the chromosomes of %s (SNPs %d..%d) do not fit the sample's SNPs %d..%d", type->name,
                           first, end - 1, header.FirstSnpIndex, header.LastSnpIndex);
    return std::nullopt;
  }
  return places;
}

bool OpenExportOutput(CWnd* parent, TextExport& out) {
  const std::optional<std::string> path = AskTextOutputPath(parent);
  return path && out.Open(*path);
}

std::optional<ExportedResult> ReadExportedResult(const std::string& name, SampleFileRole role, TextExport& out) {
  if (!IsExportableName(name, out.Skipped())) return std::nullopt;
  const std::string path = SampleFilePath(*ApplicationData().ProgramSetting, name, role);
  std::optional<CAnalyzedData> data = ReadExportSample(path, true, name, out.Skipped());
  if (!data) return std::nullopt;
  std::string why;
  const std::optional<SnpPlaces> places = PlacesOf(data->Header, data->ValidFlag.size(), data->Header.Combined, why);
  if (!places) {
    out.Skip(name, path + ": " + why);
    return std::nullopt;
  }
  return ExportedResult{std::move(*data), *places};
}

}  // namespace qova::document::exports
