#include "tools/sampledump/Dump.h"

#include <algorithm>
#include <cinttypes>
#include <string>
#include <type_traits>

#include "platform/Strings.h"

namespace sampledump {

namespace {

std::string FormatTime(CTime time) {
  return platform::Format("%" PRId64 " (%s)", time.GetTime(), time.FormatGmt("%Y-%m-%d %H:%M:%S UTC").c_str());
}

template <typename Values>
std::string JoinValues(const Values& values) {
  std::string text;
  for (const auto& v : values) {
    if (!text.empty()) text += ' ';
    if constexpr (std::is_floating_point_v<std::decay_t<decltype(v)>>) {
      text += FormatFloat(v);
    } else {
      text += std::to_string(v);
    }
  }
  return text;
}

}  // namespace

std::string FormatFloat(float value) { return platform::Format("%.7g", static_cast<double>(value)); }

void PrintField(std::FILE* out, std::string_view name, std::string_view value) {
  std::fprintf(out, "%.*s: %.*s\n", static_cast<int>(name.size()), name.data(), static_cast<int>(value.size()),
               value.data());
}

void PrintField(std::FILE* out, std::string_view name, std::int64_t value) {
  PrintField(out, name, std::to_string(value));
}

void PrintHeader(std::FILE* out, const SampleHeader& h) {
  PrintField(out, "Version", h.Version);
  PrintField(out, "SampleName", h.SampleName);
  PrintField(out, "ArrayType", h.ArrayType);
  PrintField(out, "IsTest", h.IsTest);
  PrintField(out, "Attribute1", h.Attribute1);
  PrintField(out, "Attribute2", h.Attribute2);
  PrintField(out, "Attribute3", h.Attribute3);
  PrintField(out, "Attribute4", h.Attribute4);
  PrintField(out, "Attribute5", h.Attribute5);
  PrintField(out, "Sex", h.Sex);
  PrintField(out, "CreateTime", FormatTime(h.CreateTime));
  PrintField(out, "NonSelfBaseRange", JoinValues(h.NonSelfBaseRange));
  PrintField(out, "SelfBaseRange", JoinValues(h.SelfBaseRange));
  PrintField(out, "SnpCount", h.SnpCount);
  PrintField(out, "FirstSnpIndex", h.FirstSnpIndex);
  PrintField(out, "LastSnpIndex", h.LastSnpIndex);
  PrintField(out, "LastAutosomeSnpIndex", h.LastAutosomeSnpIndex);
  PrintField(out, "IsPaired", h.IsPaired);
  PrintField(out, "SelfReference", h.SelfReference);
  PrintField(out, "SaveTime", FormatTime(h.SaveTime));
  PrintField(out, "RefCandidateCount", h.RefCandidateCount);
  PrintField(out, "RefCandidates", h.RefCandidates);
  PrintField(out, "NonSelfReferenceCount", h.NonSelfReferenceCount);
  PrintField(out, "NonSelfReferences", h.NonSelfReferences);
  PrintField(out, "SelfAnalyzed", h.SelfAnalyzed ? 1 : 0);
  PrintField(out, "Combined", h.Combined ? 1 : 0);
  PrintField(out, "HmmMeans", JoinValues(h.HmmMeans));
  PrintField(out, "HmmSdFactors", JoinValues(h.HmmSdFactors));
  PrintField(out, "AlleleHmmMeans", JoinValues(h.AlleleHmmMeans));
  PrintField(out, "AlleleHmmSdFactors", JoinValues(h.AlleleHmmSdFactors));
}

void PrintMarkers(std::FILE* out, std::int32_t markerCount, const MarkerRegionList& markers) {
  PrintField(out, "MarkerCount", markerCount);
  if (markers.empty()) return;
  std::fprintf(out, "marker\tchromosome\tfirst\tlast\tkind\n");
  for (std::size_t k = 0; k < markers.size(); ++k) {
    const MarkerRegion& m = markers[k];
    std::fprintf(out, "%zu\t%d\t%d\t%d\t%d\n", k, m.Chromosome, m.FirstSnp, m.LastSnp, m.Kind);
  }
}

std::int64_t RowsToPrint(const Options& options, std::int64_t available) {
  return options.snps < 0 ? available : std::min(options.snps, available);
}

}  // namespace sampledump
