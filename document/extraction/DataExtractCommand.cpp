// Data > Extract Data and Data > Extract without CHP: the Extract Data
// dialog (listing CHP or CEL files), then one extraction per file chosen,
// under the progress dialog.
#include <functional>

#include "core/ProgressBar.h"
#include "document/extraction/DataExtract.h"
#include "document/extraction/LibraryLayout.h"
#include "document/QOVADoc.h"
#include "document/extraction/SampleExtraction.h"
#include "document/extraction/SampleExtractionRun.h"
#include "document/extraction/SampleExtractionWithoutChp.h"
#include "platform/MessageBox.h"
#include "platform/ui/Frame.h"

namespace {

ExtractionFolders FoldersOf(const CQOVADoc& doc) { return {doc.DataFolder, doc.LibraryFolder, doc.ArrayDataFolder}; }

// The run's view of the progress dialog and the keep-going flag it clears.
class ProgressDisplay : public ExtractionProgress {
 public:
  ProgressDisplay(CProgressBar& bar, const BOOL& keepGoing) : bar_(bar), keepGoing_(keepGoing) {}
  [[nodiscard]] bool KeepGoing() const override { return keepGoing_ != FALSE; }
  void SetPosition(int percent) override { bar_.SetPosition(percent); }
  void SetStatus(const std::string& text) override { bar_.SetStatusText(text); }
  void Pump() override { CProgressBar::PumpMessages(); }

 private:
  CProgressBar& bar_;
  const BOOL& keepGoing_;
};

using ExtractFiles = std::function<ExtractionResult(const ExtractionRequest&, const ExtractionFolders&)>;

// How a run extracts the files of `folders`: on workers, each library file
// read once for the run, else one file after the other with `extractFiles`.
struct RunSteps {
  ExtractFiles extractFiles;
  bool onWorkers = false;
};

// The dialog in CHP or CEL mode, then the run over its lists.
void RunExtractData(const CQOVADoc& doc, int celMode, const RunSteps& how) {
  CDataExtract dialog;
  dialog.CelMode = celMode;
  dialog.DataFolder = doc.DataFolder;
  dialog.ArrayDataFolder = doc.ArrayDataFolder;
  if (dialog.DoModal() != IDOK) return;

  const ExtractionLists lists{dialog.NonPairedTests, dialog.NonPairedReferences, dialog.PairedTests,
                              dialog.PairedReferences};
  // A run of several items goes on without anyone at the screen: its
  // failures wait for one summary at the end instead of stopping it at
  // every file.
  const bool unattended = lists.ItemCount() > 1;
  const ExtractionFolders folders = FoldersOf(doc);
  ExtractionRunResult result;
  {
    BOOL keepGoing = TRUE;
    // Closes, and gives the main window back, however the run ends.
    CProgressBar bar(&keepGoing);
    ProgressDisplay progress(bar, keepGoing);
    const auto tell = [unattended](ExtractionResult one) {
      if (!one.Stored && !unattended) AfxMessageBox(one.Message);
      return one;
    };
    if (how.onWorkers) {
      const int workers = ExtractionWorkers(lists.FileCount());
      qova::document::extraction::LibraryLayoutCache libraries(workers);
      const ExtractionSteps steps{
          [&](const ExtractionRequest& request) { return PrepareSampleFiles(request, folders, libraries); },
          [&](PreparedSample& prepared) { return tell(StorePreparedSample(prepared)); }};
      result = RunExtraction(lists, progress, steps, workers);
    } else {
      result = RunExtraction(lists, progress,
                             [&](const ExtractionRequest& request) { return tell(how.extractFiles(request, folders)); });
    }
  }
  platform::ui::ShowStatusText(result.StatusSummary(folders.ArrayDataFolder));
  // One box at the end: the failures of an unattended run, and the calls of
  // each sample when some got none.
  std::string report = unattended ? result.FailureSummary() : std::string();
  if (const std::string calls = result.CallsReport(); !calls.empty()) {
    report += (report.empty() ? "" : "\n\n") + calls;
  }
  if (!report.empty()) AfxMessageBox(report);
}

}  // namespace

void CQOVADoc::ExtractSample(const std::string& chpFileName, int mode, const std::string& partnerFileName) {
  const ExtractionResult result =
      ExtractSampleFiles({chpFileName, static_cast<ExtractionMode>(mode), partnerFileName}, FoldersOf(*this));
  if (!result.Stored) Notify(result.Message);
}

void CQOVADoc::OnDataExtract() {
  // Every sample of the run is summed against one reading of its library
  // file, and the samples are read on every core.
  RunExtractData(*this, 0, {{}, true});
}

void CQOVADoc::ExtractSampleWithoutCHP(int mode, const std::string& celFileName, const std::string& partnerFileName) {
  const ExtractionResult result = ExtractSampleWithoutChpFiles(
      {celFileName, static_cast<ExtractionMode>(mode), partnerFileName}, FoldersOf(*this));
  if (!result.Stored) Notify(result.Message);
}

void CQOVADoc::OnExtractWithoutCHP() { RunExtractData(*this, 1, {ExtractSampleWithoutChpFiles, false}); }
