// The list of every reference sample the checked samples' non-self analyses
// used, each name once, in byte order.
#include <optional>
#include <set>
#include <string>

#include "core/AnalyzedData.h"
#include "core/GlobalData.h"
#include "core/ProgramSetting.h"
#include "document/ApplicationData.h"
#include "document/exports/DisplayExports.h"
#include "document/exports/TextExport.h"
#include "platform/MessageBox.h"

namespace qova::document::exports {

void ExportNonSelfReferences(const DisplayExportSource& source) {
  if (source.SelfMode) {
    AfxMessageBox(kNeedsNonSelfResults, MB_ICONINFORMATION);
    return;
  }
  const std::vector<std::string> names = source.CheckedSamples();
  if (names.empty()) return;
  const std::optional<std::string> path = AskTextOutputPath(source.Parent);
  if (!path) return;
  // Byte order: std::string compares its characters as unsigned bytes.
  std::set<std::string> references;
  TextExport out;
  const CProgramSetting& setting = *ApplicationData().ProgramSetting;
  for (const std::string& name : names) {
    if (!IsExportableName(name, out.Skipped())) continue;
    const std::optional<CAnalyzedData> result =
        ReadExportSample(SampleFilePath(setting, name, SampleFileRole::NonSelfResult), false, name, out.Skipped());
    if (!result) continue;
    for (std::string& reference : NonSelfReferenceNames(result->Header)) references.insert(std::move(reference));
  }
  // The file is made only once every header is read.
  if (!out.Open(*path)) return;
  for (const std::string& reference : references) out.Text(reference).EndLine();
  static_cast<void>(out.Finish());
}

}  // namespace qova::document::exports
