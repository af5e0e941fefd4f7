// .CFH: the header, the markers, then one row per SNP of the sample's range.
#include "core/ArrayData.h"
#include "tools/sampledump/Dump.h"

namespace sampledump {

void DumpExtractedSample(const Options& options, std::FILE* out) {
  CArrayData sample;
  sample.LoadFile(options.path);
  const SampleHeader& h = sample.Header;
  PrintField(out, "kind", "extracted sample");
  PrintHeader(out, h);
  PrintMarkers(out, sample.MarkerCount, sample.Markers);
  const std::int64_t stored = std::int64_t{h.LastSnpIndex} - h.FirstSnpIndex + 1;
  const std::int64_t shown = RowsToPrint(options, stored);
  PrintField(out, "SnpRecords", stored);
  PrintField(out, "SnpRowsShown", shown);
  std::fprintf(out, "index\tA\tB\tcall\tbyte\n");
  for (std::int64_t k = 0; k < shown; ++k) {
    const auto i = static_cast<std::size_t>(h.FirstSnpIndex + k);
    std::fprintf(out, "%zu\t%s\t%s\t%d\t%d\n", i, FormatFloat(sample.SignalA[i]).c_str(),
                 FormatFloat(sample.SignalB[i]).c_str(), sample.Call[i], sample.SpareFlag[i]);
  }
}

}  // namespace sampledump
