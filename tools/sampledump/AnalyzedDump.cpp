// .CFS, .CFN, .CFA: the header, the markers, the result's own fields, then one
// row per SNP of the sample's range with every array the file's layout fills.
#include <string>
#include <vector>

#include "core/AnalyzedData.h"
#include "tools/sampledump/Dump.h"

namespace sampledump {

namespace {

struct ArrayColumn {
  const char* name;
  const std::vector<float>* floats;
  const std::vector<std::int32_t>* ints;
};

std::vector<ArrayColumn> PresentArrays(const CAnalyzedData& d) {
  const std::vector<ArrayColumn> all = {
      {"LogRatioA", &d.LogRatioA, nullptr},
      {"LogRatioB", &d.LogRatioB, nullptr},
      {"LogRatio", &d.LogRatio, nullptr},
      {"CopyNumberState", nullptr, &d.CopyNumberState},
      {"AlleleStateA", nullptr, &d.AlleleStateA},
      {"AlleleStateB", nullptr, &d.AlleleStateB},
      {"ValidFlag", nullptr, &d.ValidFlag},
      {"CallTest", nullptr, &d.CallTest},
      {"CallReference", nullptr, &d.CallReference},
      {"LohLikelihood", &d.LohLikelihood, nullptr},
      {"EditedCopyNumberState", nullptr, &d.EditedCopyNumberState},
  };
  std::vector<ArrayColumn> present;
  for (const ArrayColumn& c : all) {
    if (c.floats ? !c.floats->empty() : !c.ints->empty()) present.push_back(c);
  }
  return present;
}

}  // namespace

void DumpAnalyzedSample(const Options& options, std::FILE* out) {
  CAnalyzedData d;
  d.LoadFileAllocating(options.path);
  const SampleHeader& h = d.Header;
  PrintField(out, "kind", "analysed sample");
  const AnalysisKind kind = AnalysisKindOfFile(options.path).value_or(AnalysisKind::NonSelf);
  PrintField(out, "FileKind", AnalysisFileExtension(kind));
  PrintHeader(out, h);
  PrintMarkers(out, static_cast<std::int32_t>(d.Markers.size()), d.Markers);
  PrintField(out, "IsSelf", d.IsSelf ? 1 : 0);
  PrintField(out, "AnalysisArrayType", d.AnalysisArrayType);
  PrintField(out, "SampleSD", FormatFloat(d.SampleSD));
  PrintField(out, "MeanState", FormatFloat(d.MeanState));

  const std::int64_t stored = std::int64_t{h.LastSnpIndex} - h.FirstSnpIndex + 1;
  const std::int64_t shown = RowsToPrint(options, stored);
  PrintField(out, "SnpRecords", stored);
  PrintField(out, "SnpRowsShown", shown);
  const std::vector<ArrayColumn> columns = PresentArrays(d);
  std::fprintf(out, "index");
  for (const ArrayColumn& c : columns) std::fprintf(out, "\t%s", c.name);
  std::fprintf(out, "\n");
  for (std::int64_t k = 0; k < shown; ++k) {
    const auto i = static_cast<std::size_t>(h.FirstSnpIndex + k);
    std::fprintf(out, "%zu", i);
    for (const ArrayColumn& c : columns) {
      if (c.floats) {
        std::fprintf(out, "\t%s", FormatFloat((*c.floats)[i]).c_str());
      } else {
        std::fprintf(out, "\t%d", (*c.ints)[i]);
      }
    }
    std::fprintf(out, "\n");
  }
}

}  // namespace sampledump
