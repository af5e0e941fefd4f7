// The text exports of the Data menu: the list of the analysed samples in the
// result folder, and the raw data of the shown sample.
#include <optional>
#include <string>

#include "core/AnalyzedData.h"
#include "core/GlobalData.h"
#include "core/ProgramSetting.h"
#include "document/exports/OutputSampleList.h"
#include "document/QOVADoc.h"
#include "document/exports/RawDataExport.h"
#include "document/exports/TextExport.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"

namespace exports = qova::document::exports;

namespace {

// Reads a result file, the header alone when that is all the columns need.
// Nothing when it cannot be read; the export names it at the end.
std::optional<CAnalyzedData> ReadResult(const std::string& path, bool whole, exports::TextExport& out) {
  return exports::ReadExportSample(path, whole, path, out.Skipped());
}

// `path` with its extension's last letter replaced: X.CFS pairs with X.CFA or X.CFN.
std::string Partner(const std::string& path, char last) { return path.substr(0, path.size() - 1) + last; }

}  // namespace

void CQOVADoc::OnOutputSampleList() {
  COutputSampleList columns;
  if (columns.DoModal() != IDOK) return;
  const std::optional<std::string> path = exports::AskTextOutputPath();
  if (!path) return;
  exports::TextExport out;
  if (!out.Open(*path)) return;

  const bool whole = columns.NeedsWholeSamples();
  const bool alleles = global_.ProgramSetting->NONSELFALLELE != 0;
  const char nonSelfLetter = alleles ? 'A' : 'N';
  const auto hasArrayData = [this](const SampleHeader& header) {
    return platform::FileExists(ArrayDataFolder + header.SampleName + ".CFH");
  };
  exports::WriteSampleListHeader(columns, out);

  for (const std::string& name : platform::FindFiles(AnalysisResultFolder, "*.CFS")) {
    const std::string selfPath = AnalysisResultFolder + name;
    const std::string partnerPath = Partner(selfPath, nonSelfLetter);
    const std::optional<CAnalyzedData> self = ReadResult(selfPath, whole, out);
    if (!self || self->Header.Combined) continue;
    std::optional<CAnalyzedData> nonSelf;
    if (platform::FileExists(partnerPath)) {
      nonSelf = ReadResult(partnerPath, whole, out);
      if (!nonSelf) continue;
    }
    exports::SampleListRow row{self->Header.SampleName, &*self, nonSelf ? &*nonSelf : nullptr, hasArrayData(self->Header)};
    exports::WriteSampleListRow(columns, row, out);
  }

  const char* nonSelfPattern = alleles ? "*.CFA" : "*.CFN";
  for (const std::string& name : platform::FindFiles(AnalysisResultFolder, nonSelfPattern)) {
    const std::string nonSelfPath = AnalysisResultFolder + name;
    if (platform::FileExists(Partner(nonSelfPath, 'S'))) continue;
    const std::optional<CAnalyzedData> nonSelf = ReadResult(nonSelfPath, whole, out);
    if (!nonSelf || nonSelf->Header.Combined) continue;
    exports::SampleListRow row{nonSelf->Header.SampleName, nullptr, &*nonSelf, hasArrayData(nonSelf->Header)};
    exports::WriteSampleListRow(columns, row, out);
  }
  static_cast<void>(out.Finish());
}

void CQOVADoc::OnOutputRawData() {
  // In the grid and the integral view the document still holds the sample
  // shown before them.
  if (Status != kStatusAnalysis && Status != kStatusSingle) return;
  const SampleHeader& header = AnalyzedData.Header;
  const bool self = header.SelfAnalyzed;
  const exports::RawColumnSet columns = exports::DocumentRawColumns(self);
  exports::RawDataSource source;
  std::string problem = exports::PrepareRawData(AnalyzedData, global_, columns, source);
  if (problem.empty() && !exports::IsPlainSampleName(header.SampleName)) problem = exports::kNotPlainName;
  if (!problem.empty()) {
    AfxMessageBox("The raw data of " + header.SampleName + " cannot be written: " + problem + ".", MB_ICONEXCLAMATION);
    return;
  }
  exports::TextExport out;
  if (!out.Open(OutputFolder + header.SampleName + (self ? "Self.txt" : "NonSelf.txt"))) return;
  exports::WriteRawFile(out, source, columns, exports::RawCellEnd::TabBetween);
  static_cast<void>(out.Finish());
}
