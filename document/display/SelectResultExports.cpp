// The Display Samples dialog's sample list and raw data of the checked samples.
#include <optional>
#include <string>
#include <vector>

#include "core/AnalyzedData.h"
#include "core/GlobalData.h"
#include "core/ProgramSetting.h"
#include "document/ApplicationData.h"
#include "document/exports/OutputRawData.h"
#include "document/exports/OutputSampleList.h"
#include "document/exports/RawDataFiles.h"
#include "document/display/SelectResult.h"
#include "document/exports/TextExport.h"
#include "platform/Paths.h"
#include "resources/DisplaySamplesDialog.h"

namespace ids = qova::resources::display;
namespace exports = qova::document::exports;
using exports::SampleFileRole;

namespace {

const CProgramSetting& Setting() { return *qova::document::ApplicationData().ProgramSetting; }

}  // namespace

void CSelectResult::OutputSampleList() {
  const std::vector<std::string> names = exports::CheckedSamples(m_listSamples);
  if (names.empty()) return;
  COutputSampleList columns(this);
  if (columns.DoModal() != IDOK) return;
  const std::optional<std::string> path = exports::AskTextOutputPath(this);
  if (!path) return;
  exports::TextExport out;
  if (!out.Open(*path)) return;

  const bool whole = columns.NeedsWholeSamples();
  exports::WriteSampleListHeader(columns, out);
  for (const std::string& name : names) {
    if (!exports::IsExportableName(name, out.Skipped())) continue;
    // Either result may be missing: its cells then say so.
    const auto read = [&](SampleFileRole role, std::optional<CAnalyzedData>& sample) {
      const std::string file = exports::SampleFilePath(Setting(), name, role);
      if (!platform::FileExists(file)) return true;
      sample = exports::ReadExportSample(file, whole, name, out.Skipped());
      return sample.has_value();
    };
    std::optional<CAnalyzedData> self, nonSelf;
    if (!read(SampleFileRole::SelfResult, self) || !read(SampleFileRole::NonSelfResult, nonSelf)) continue;
    const bool arrayData = platform::FileExists(exports::SampleFilePath(Setting(), name, SampleFileRole::ArrayData));
    const exports::SampleListRow row{name, self ? &*self : nullptr, nonSelf ? &*nonSelf : nullptr, arrayData};
    exports::WriteSampleListRow(columns, row, out);
  }
  static_cast<void>(out.Finish());
}

void CSelectResult::OutputRawData() {
  exports::RawExportRequest request;
  // Read from the control: the export follows what the list shows.
  request.Self = IsChecked(ids::kSelfAnalysis);
  request.Names = exports::CheckedSamples(m_listSamples);
  if (request.Names.empty()) return;
  COutputRawData columns(request.Self || Setting().NONSELFALLELE != 0, this);
  if (columns.DoModal() != IDOK) return;
  request.Columns = columns.Columns();
  std::vector<exports::SkippedSample> skipped;
  if (columns.Combined != 0) {
    exports::WriteRawDataCombined(request, qova::document::ApplicationData(), skipped);
  } else {
    exports::WriteRawDataPerSample(request, qova::document::ApplicationData(), skipped);
  }
  exports::TextExport::TellSkipped(skipped);
}
