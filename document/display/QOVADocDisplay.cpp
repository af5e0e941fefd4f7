// Display Samples: the dialog's requests (the single-view list, several
// results side by side, the integral view, two halves combined), opening one
// result, the integration files, and reading the shown results again.
#include <exception>

#include "analysis/IntegrationData.h"
#include "analysis/IntegrationParameters.h"
#include "core/GlobalData.h"
#include "document/batch/CombineResults.h"
#include "document/QOVADoc.h"
#include "document/display/SelectResult.h"
#include "document/UnreadableFiles.h"
#include "document/ViewStateCopy.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/Strings.h"
#include "platform/ui/CommonDialogs.h"

namespace batch = qova::document::batch;
namespace display = qova::document::display;

namespace {

EditIntegrationRunner& InstalledEditIntegrationDialog() {
  static EditIntegrationRunner runner;
  return runner;
}

SingleViewListFactory& InstalledSingleViewListFactory() {
  static SingleViewListFactory factory;
  return factory;
}

constexpr const char* kIntegrationFilter = "Data Files (*.cfi)|*.cfi|All Files (*.*)|*.*||";

// The name up to its first '.' (all of it when there is none).
std::string StemOf(const std::string& fileName) { return fileName.substr(0, fileName.find('.')); }

}  // namespace

void CQOVADoc::SetSingleViewListFactory(SingleViewListFactory factory) {
  InstalledSingleViewListFactory() = std::move(factory);
}

void CQOVADoc::OnDisplaySamples() {
  qova::document::UnreadableFiles unreadable;
  CSelectResult dialog;
  dialog.m_strResultFolder = AnalysisResultFolder;
  if (dialog.DoModal() != IDOK) return;
  DisplayList = dialog.m_listFiles;
  const std::string& mode = dialog.m_strMode;
  if (mode == display::kDisplaySingle) {
    ShowSingleViewList();
  } else if (mode == display::kDisplayMultiple) {
    ShowMultipleResults();
  } else if (mode == display::kDisplayIntegral) {
    BuildIntegralView(dialog.m_bSelfMode);
  } else if (mode == display::kDisplayCombine) {
    CombineDisplayed(dialog.m_bSelfMode);
  }
}

void CQOVADoc::ShowSingleViewList() {
  global_.SingleViewList.reset();
  const SingleViewListFactory& factory = InstalledSingleViewListFactory();
  if (!factory) {
    AfxMessageBox("Error Creating Dialog Object");
    return;
  }
  global_.SingleViewList = factory(DisplayList);
  if (!global_.SingleViewList) AfxMessageBox("Error creating dialog");
}

void CQOVADoc::ShowMultipleResults() {
  // All or nothing: one file that cannot be read leaves the display as it was.
  std::vector<std::unique_ptr<CAnalyzedData>> loaded;
  for (const std::string& name : DisplayList) {
    auto result = std::make_unique<CAnalyzedData>();
    try {
      result->LoadFileAllocating(platform::JoinPath(AnalysisResultFolder, name));
    } catch (const std::exception& error) {
      AfxMessageBox(error.what());
      return;
    }
    loaded.push_back(std::move(result));
  }
  LoadedResults = std::move(loaded);
  Status = kStatusMultiple;
  SetTitle("Multiple");
  UpdateAllViews(nullptr);
}

bool CQOVADoc::BuildIntegralView(BOOL selfMode) {
  CIntegrationParameters parameters;
  // Only non-self results (.CFN, .CFA) hold an LOH likelihood; a self
  // result keeps its LOH in the allele states, which neither mode reads.
  parameters.HasLohLikelihood = (selfMode & 0xFF) == 0;
  const bool exists = Status == kStatusIntegrate && Integration != nullptr;
  if (exists) {
    parameters.IntegrationExists = true;
    parameters.Order = Integration->Order;
    parameters.Title = Integration->Title;
  }
  if (parameters.DoModal() != IDOK) return false;

  // Built beside the current integration, which stays unless this succeeds.
  auto built = std::make_shared<IntegrationData>(global_);
  bool ok = false;
  try {
    if (parameters.AddCurrentSet && exists) {
      *built = *Integration;
      built->Order = parameters.Order;
      built->Title = parameters.Title;
      ok = built->AddNewSamples(DisplayList);
    } else {
      built->Mode = parameters.Mode;
      built->Order = parameters.Order;
      built->Title = parameters.Title;
      built->MinRun = parameters.MinRun;
      ok = built->IntegrateSamples(DisplayList);
    }
  } catch (const std::exception& error) {
    AfxMessageBox(error.what());
    return false;
  }
  if (!ok) return false;
  Integration = std::move(built);
  Status = kStatusIntegrate;
  SetTitle("Integral");
  UpdateAllViews(nullptr);
  return true;
}

void CQOVADoc::CombineDisplayed(BOOL selfMode) {
  if (DisplayList.size() != 2) return;
  const bool self = (selfMode & 0xFF) != 0;
  const AnalysisKind kind = self ? AnalysisKind::Self : NonSelfAnalysisKind(global_.ProgramSetting->NONSELFALLELE != 0);
  const batch::CombineOutcome outcome =
      batch::CombineResults(global_, {AnalysisResultFolder, StemOf(DisplayList[0]), StemOf(DisplayList[1]), kind});
  switch (outcome.Result) {
    case batch::CombineOutcome::kWritten:
      TakeResult(outcome.Combined);
      ShowResult(kStatusSingle);
      return;
    case batch::CombineOutcome::kDifferentArrayType:
      AfxMessageBox("Wrong combination");
      return;
    case batch::CombineOutcome::kNotFound:
      AfxMessageBox("Cannot combine: " + DisplayList[0] + " or " + DisplayList[1] + " is not in " +
                    AnalysisResultFolder);
      return;
    case batch::CombineOutcome::kFailed:
      AfxMessageBox("Cannot combine " + DisplayList[0] + " and " + DisplayList[1] + ": " + outcome.Reason);
      return;
  }
}

int CQOVADoc::OpenSingleResult(CView* source, const std::string& fileName) {
  CAnalyzedData result;
  try {
    result.LoadFileAllocating(platform::JoinPath(AnalysisResultFolder, fileName));
  } catch (const std::exception& error) {
    AfxMessageBox(error.what());
    return kFailed;
  }
  // Any result kind, in any case, leads to its extracted sample; the folder
  // lookup ignores case.
  std::optional<CArrayData> sample;
  if (AnalysisKindOfFile(fileName)) {
    const std::string samplePath =
        platform::JoinPath(ArrayDataFolder, platform::ToUpper(fileName.substr(0, fileName.rfind('.'))) + ".CFH");
    if (platform::FileExists(samplePath)) {
      try {
        sample.emplace();
        sample->LoadFile(samplePath);
      } catch (const std::exception& error) {
        AfxMessageBox(error.what());
        sample.reset();
      }
    }
  }

  TakeResult(result);
  if (sample) TakeSample(*sample);
  if (const auto* copier = dynamic_cast<const IViewStateCopy*>(source)) {
    POSITION pos = GetFirstViewPosition();
    while (pos != nullptr) {
      if (CView* view = GetNextView(pos)) copier->CopyStateTo(*view);
    }
  }
  ShowResult(sample ? kStatusAnalysis : kStatusSingle);
  return kSucceeded;
}

std::string CQOVADoc::ResultFileOf(const CAnalyzedData& result) const {
  const AnalysisKind kind =
      result.IsSelf ? AnalysisKind::Self : NonSelfAnalysisKind(global_.ProgramSetting->NONSELFALLELE != 0);
  return platform::JoinPath(AnalysisResultFolder, result.Header.SampleName + AnalysisFileExtension(kind));
}

void CQOVADoc::RefreshDisplayedResults(CQOVADoc& doc) {
  if (doc.Status == kStatusIntegrate && doc.Integration) {
    const std::vector<std::string> names = doc.Integration->SampleNames;
    try {
      (void)doc.Integration->IntegrateSamples(names);
    } catch (const std::exception& error) {
      AfxMessageBox(error.what());
    }
    doc.UpdateAllViews(nullptr);
  } else if (doc.Status == kStatusMultiple) {
    // Each result is read beside the old one; one that cannot be read keeps
    // its contents.
    std::string failed;
    for (std::unique_ptr<CAnalyzedData>& shown : doc.LoadedResults) {
      if (!shown) continue;
      auto fresh = std::make_unique<CAnalyzedData>();
      try {
        fresh->LoadFileAllocating(doc.ResultFileOf(*shown));
      } catch (const std::exception& error) {
        failed += std::string("\n") + error.what();
        continue;
      }
      shown = std::move(fresh);
    }
    if (!failed.empty()) AfxMessageBox("These results were not read again:" + failed);
    doc.UpdateAllViews(nullptr);
  }
}

void CQOVADoc::OnOpenIntegration() {
  CFileDialog dialog(TRUE, "CFI", nullptr, OFN_HIDEREADONLY, kIntegrationFilter);
  if (dialog.DoModal() != IDOK) return;
  const std::string path = dialog.GetPathName();
  // Read into a new object: a file that cannot be read leaves the shown one.
  auto opened = std::make_shared<IntegrationData>(global_);
  bool ok = false;
  try {
    ok = opened->Load(path);
  } catch (const std::exception& error) {
    AfxMessageBox(error.what());
    return;
  }
  if (!ok) {
    AfxMessageBox("Cannot open " + path);
    return;
  }
  Integration = std::move(opened);
  Status = kStatusIntegrate;
  SetTitle("Integral: " + dialog.GetFileTitle());
  UpdateAllViews(nullptr);
}

void CQOVADoc::SetEditIntegrationDialog(EditIntegrationRunner runner) {
  InstalledEditIntegrationDialog() = std::move(runner);
}

void CQOVADoc::OnEditIntegration() {
  if (!Integration || Status != kStatusIntegrate) return;
  const EditIntegrationRunner& runner = InstalledEditIntegrationDialog();
  if (!runner) return;
  // The views hold the integration while the dialog edits it; they are
  // updated whatever the dialog did.
  (void)runner(*Integration);
  UpdateAllViews(nullptr);
}

void CQOVADoc::OnSaveIntegration() {
  if (!Integration || Status != kStatusIntegrate) return;
  CFileDialog dialog(FALSE, "CFI", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, kIntegrationFilter);
  if (dialog.DoModal() != IDOK) return;
  if (!Integration->Save(dialog.GetPathName())) AfxMessageBox("Cannot write " + dialog.GetPathName());
}
