#include "document/QOVADoc.h"

#include <algorithm>
#include <map>

#include "core/BasicData.h"
#include "core/GlobalData.h"
#include "core/SampleFileList.h"
#include "core/ProgramSetting.h"
#include "document/ApplicationData.h"
#include "document/DocumentCommands.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/Strings.h"

IMPLEMENT_DYNCREATE(CQOVADoc, CDocument)

namespace cmd = qova::document::command;

BEGIN_MESSAGE_MAP(CQOVADoc, CDocument)
  ON_COMMAND(cmd::kDataExtract, &CQOVADoc::OnDataExtract)
  ON_COMMAND(cmd::kSampleManager, &CQOVADoc::OnSampleManager)
  ON_COMMAND(cmd::kStoreBasicData, &CQOVADoc::OnStoreBasicData)
  ON_COMMAND(cmd::kDisplaySamples, &CQOVADoc::OnDisplaySamples)
  ON_COMMAND(cmd::kOutputRawData, &CQOVADoc::OnOutputRawData)
  ON_COMMAND(cmd::kBatchAnalysis, &CQOVADoc::OnBatchAnalysis)
  ON_COMMAND(cmd::kTransferArrangedData, &CQOVADoc::OnTransferArrangedData)
  ON_COMMAND(cmd::kManualSelection, &CQOVADoc::OnManualSelection)
  ON_UPDATE_COMMAND_UI(cmd::kManualSelection, &CQOVADoc::OnUpdateAnalysisCommands)
  ON_COMMAND(cmd::kAutomaticSelection, &CQOVADoc::OnAutomaticSelection)
  ON_COMMAND(cmd::kSelectOnlySelfRef, &CQOVADoc::OnSelectOnlySelfRef)
  ON_COMMAND(cmd::kSelfAnalysis, &CQOVADoc::OnSelfAnalysis)
  ON_UPDATE_COMMAND_UI(cmd::kAutomaticSelection, &CQOVADoc::OnUpdateAnalysisCommands)
  ON_UPDATE_COMMAND_UI(cmd::kSelectOnlySelfRef, &CQOVADoc::OnUpdateAnalysisCommands)
  ON_UPDATE_COMMAND_UI(cmd::kSelfAnalysis, &CQOVADoc::OnUpdateAnalysisCommands)
  ON_COMMAND(cmd::kOutputSampleList, &CQOVADoc::OnOutputSampleList)
  ON_COMMAND(cmd::kUpdateGenderFromChp, &CQOVADoc::OnUpdateGenderFromCHP)
  ON_COMMAND(cmd::kUpdateFilesToNewestVersion, &CQOVADoc::OnUpdateFilesToNewestVersion)
  ON_COMMAND(cmd::kAverageArrays, &CQOVADoc::OnAverageArrays)
  ON_COMMAND(cmd::kBatchCombine, &CQOVADoc::OnBatchCombine)
  ON_UPDATE_COMMAND_UI(cmd::kDataExtract, &CQOVADoc::OnUpdateAlwaysEnabled)
  ON_UPDATE_COMMAND_UI(cmd::kSampleManager, &CQOVADoc::OnUpdateAlwaysEnabled)
  ON_UPDATE_COMMAND_UI(cmd::kBatchAnalysis, &CQOVADoc::OnUpdateAlwaysEnabled)
  ON_UPDATE_COMMAND_UI(cmd::kBatchCombine, &CQOVADoc::OnUpdateAlwaysEnabled)
  ON_COMMAND(cmd::kCopyListedDataFiles, &CQOVADoc::OnCopyListedDataFiles)
  ON_COMMAND(cmd::kChangeAttributesAsListed, &CQOVADoc::OnChangeAttributesAsListed)
  ON_COMMAND(cmd::kNothing, &CQOVADoc::OnNothing)
  ON_COMMAND(cmd::kExtractImfFromList, &CQOVADoc::OnExtractIMFFromList)
  ON_COMMAND(cmd::kImfCorrelation, &CQOVADoc::OnIMFCorrelation)
  ON_COMMAND(cmd::kMakeSnpInfo, &CQOVADoc::OnMakeSNPInfo)
  ON_COMMAND(cmd::kImfToIm2, &CQOVADoc::OnIMFToIM2)
  ON_COMMAND(cmd::kMakeNormalAverage, &CQOVADoc::OnMakeNormalAverage)
  ON_COMMAND(cmd::kIm2ToIm3, &CQOVADoc::OnIM2ToIM3)
  ON_COMMAND(cmd::kMakeCnRegression, &CQOVADoc::OnMakeCNRegression)
  ON_COMMAND(cmd::kIm3ToResult, &CQOVADoc::OnIM3ToResult)
  ON_COMMAND(cmd::kConvertAllFiles, &CQOVADoc::OnConvertAllFiles)
  ON_COMMAND(cmd::kExtractWithoutChp, &CQOVADoc::OnExtractWithoutCHP)
  ON_COMMAND(cmd::kReanalysis, &CQOVADoc::OnReanalysis)
  ON_UPDATE_COMMAND_UI(cmd::kReanalysis, &CQOVADoc::OnUpdateAnalysisCommands)
  ON_COMMAND(cmd::kApplyCorrection, &CQOVADoc::OnApplyCorrection)
  ON_UPDATE_COMMAND_UI(cmd::kApplyCorrection, &CQOVADoc::OnUpdateApplyCorrection)
  ON_COMMAND(cmd::kDumpCdf, &CQOVADoc::OnDumpCDF)
  ON_COMMAND(cmd::kRefreshFileLists, &CQOVADoc::OnRefreshFileLists)
  ON_COMMAND(cmd::kOpenIntegration, &CQOVADoc::OnOpenIntegration)
  ON_COMMAND(cmd::kSaveIntegration, &CQOVADoc::OnSaveIntegration)
  ON_UPDATE_COMMAND_UI(cmd::kSaveIntegration, &CQOVADoc::OnUpdateIntegrationCommands)
  ON_COMMAND(cmd::kEditIntegration, &CQOVADoc::OnEditIntegration)
  ON_UPDATE_COMMAND_UI(cmd::kEditIntegration, &CQOVADoc::OnUpdateIntegrationCommands)
END_MESSAGE_MAP()

CQOVADoc::CQOVADoc() : CQOVADoc(qova::document::ApplicationData()) {}

void CQOVADoc::TakeFolders(const CProgramSetting& setting) {
  DataFolder = setting.DefaultDataFolder;
  ArrayDataFolder = setting.DefaultArrayDataFolder;
  LibraryFolder = setting.DefaultLibraryFolder;
  AnalysisResultFolder = setting.DefaultAnalysisResultFolder;
  OutputFolder = setting.DefaultOutputFolder;
  StartFolder = setting.StartFolder;
}

CQOVADoc::CQOVADoc(CGlobalData& global) : global_(global) {
  AnalyzedData.AllocateMax();
  ArrayData.Allocate(kSampleCapacity);

  TakeFolders(*global.ProgramSetting);

  BasicData = global.BasicData.get();
  for (int t = 0; t < qova::core::kArrayTypeCount; ++t) ChromosomeStarts[t] = global.ArrayChromosomeStarts[t];
  FirstSnpIndex = global.ArrayFirstSnpIndex;
  LastSnpIndex = global.ArrayLastSnpIndex;
  LastXSnpIndex = global.ArrayLastSnpIndexX;
  LastAutosomeSnpIndex = global.ArrayLastSnpIndexAutosomes;
  SnpCount = global.ArraySnpCount;
  Cytoband.Copy(*global.Cytoband);
}

CQOVADoc::~CQOVADoc() = default;

BOOL CQOVADoc::OnNewDocument() { return CDocument::OnNewDocument(); }

int CQOVADoc::ArrayTypeIndex(const std::string& arrayType) const { return ::ArrayTypeIndex(arrayType); }

int CQOVADoc::ArrayClassIndex(const std::string& arrayType) const { return ::ArrayClassIndex(arrayType); }

namespace {

// The first n values of `source` over `target`, when both arrays exist. The
// document's arrays are made at the full capacity and keep their storage, so
// what a view has bound to stays valid; one grows only for a sample larger
// than that.
template <typename T>
void CopyPerSnp(const std::vector<T>& source, std::vector<T>& target, std::int32_t n) {
  if (source.empty() || target.empty() || n <= 0) return;
  const auto count = std::min(static_cast<std::size_t>(n), source.size());
  if (target.size() < count) target.resize(count);
  std::copy(source.begin(), source.begin() + static_cast<std::ptrdiff_t>(count), target.begin());
}

}  // namespace

void CQOVADoc::TakeSample(const CArrayData& sample) {
  if (&sample == &ArrayData) return;
  const std::int32_t n = sample.Header.SnpCount;
  ArrayData.Header = sample.Header;
  ArrayData.MarkerCount = sample.MarkerCount;
  ArrayData.Markers = sample.Markers;
  CopyPerSnp(sample.SignalA, ArrayData.SignalA, n);
  CopyPerSnp(sample.SignalB, ArrayData.SignalB, n);
  CopyPerSnp(sample.Call, ArrayData.Call, n);
  CopyPerSnp(sample.SpareFlag, ArrayData.SpareFlag, n);
}

void CQOVADoc::TakeResult(const CAnalyzedData& result) {
  if (&result == &AnalyzedData) return;
  const std::int32_t n = result.Header.SnpCount;
  AnalyzedData.Header = result.Header;
  AnalyzedData.AnalysisArrayType = result.AnalysisArrayType;
  AnalyzedData.SampleSD = result.SampleSD;
  AnalyzedData.MeanState = result.MeanState;
  AnalyzedData.IsSelf = result.IsSelf;
  AnalyzedData.WorkFlag = result.WorkFlag;
  AnalyzedData.Markers = result.Markers;
  CopyPerSnp(result.LogRatioA, AnalyzedData.LogRatioA, n);
  CopyPerSnp(result.LogRatioB, AnalyzedData.LogRatioB, n);
  CopyPerSnp(result.LogRatio, AnalyzedData.LogRatio, n);
  CopyPerSnp(result.CopyNumberState, AnalyzedData.CopyNumberState, n);
  CopyPerSnp(result.AlleleStateA, AnalyzedData.AlleleStateA, n);
  CopyPerSnp(result.AlleleStateB, AnalyzedData.AlleleStateB, n);
  CopyPerSnp(result.ValidFlag, AnalyzedData.ValidFlag, n);
  CopyPerSnp(result.CallTest, AnalyzedData.CallTest, n);
  CopyPerSnp(result.CallReference, AnalyzedData.CallReference, n);
  CopyPerSnp(result.LohLikelihood, AnalyzedData.LohLikelihood, n);
  CopyPerSnp(result.EditedCopyNumberState, AnalyzedData.EditedCopyNumberState, n);
}

void CQOVADoc::ShowResult(const char* status) {
  Status = status;
  SetTitle(AnalyzedData.Header.SampleName);
  UpdateAllViews(nullptr);
}

void CQOVADoc::RefreshSampleData(const CArrayData& stored) {
  TakeSample(stored);
  UpdateAllViews(nullptr);
}

void CQOVADoc::SetAnalyzedData(const CAnalyzedData& stored) {
  TakeResult(stored);
  UpdateAllViews(nullptr);
}

// Notices.

void CQOVADoc::BeginCollectingNotices() { notices_.emplace(); }

void CQOVADoc::EndCollectingNotices() {
  if (!notices_) return;
  std::vector<std::string> collected = std::move(*notices_);
  notices_.reset();
  if (collected.empty()) return;
  AfxMessageBox(SummarizeNotices(collected));
}

std::string CQOVADoc::SummarizeNotices(const std::vector<std::string>& collected) {
  // One line per distinct text, in the order first seen, with its count.
  std::vector<std::string> order;
  std::map<std::string, int> counts;
  for (const std::string& text : collected) {
    if (counts[text]++ == 0) order.push_back(text);
  }
  std::string summary;
  for (const std::string& text : order) {
    if (!summary.empty()) summary += "\n";
    summary += text;
    if (counts[text] > 1) summary += platform::Format(" (%d times)", counts[text]);
  }
  return summary;
}

void CQOVADoc::Notify(const std::string& text) {
  if (notices_) {
    notices_->push_back(text);
  } else {
    AfxMessageBox(text);
  }
}

// Hidden command 32774: the annotation tables back to the folder they are
// read from at start-up, in the current table format.

namespace {

struct AnnotationFileToWrite {
  int family;
  int type;  // whose SNP count the table is written with
};

// Families 5 and 6 are never written: their tables are optional.
constexpr AnnotationFileToWrite kAnnotationFilesToWrite[] = {{0, 0}, {1, 1}, {2, 2}, {3, 5}, {4, 8}};

}  // namespace

void CQOVADoc::OnStoreBasicData() {
  const std::string folder = global_.DataFolder();
  const std::string question =
      "Write the annotation tables (BasicData*.dtt) of the array families 0 to 4 into\n" + folder +
      "\nreplacing the tables there?";
  if (AfxMessageBox(question, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) return;

  if (!platform::CreateFolders(folder)) {
    AfxMessageBox("The folder " + folder + " cannot be created; no annotation table was written.", MB_ICONEXCLAMATION);
    return;
  }
  std::vector<std::string> notLoaded;
  for (const AnnotationFileToWrite& file : kAnnotationFilesToWrite) {
    const char* name = qova::core::kArrayFamilies[file.family].annotationFile;
    // An empty table would replace a good file by one that cannot be read.
    if (!global_.HasBasicData(file.family)) {
      notLoaded.push_back(name);
      continue;
    }
    BasicData[file.family].StoreFile(platform::JoinPath(folder, name), SnpCount[file.type]);
  }
  if (!notLoaded.empty()) {
    std::string text = "These annotation tables are not loaded and were not written:";
    for (const std::string& name : notLoaded) text += "\n" + name;
    AfxMessageBox(text, MB_ICONEXCLAMATION);
  }
}

// Update handlers.

void CQOVADoc::OnUpdateAlwaysEnabled(CCmdUI* cmdUI) { (void)cmdUI; }

void CQOVADoc::OnUpdateAnalysisCommands(CCmdUI* cmdUI) { cmdUI->Enable(Status == kStatusAnalysis); }

void CQOVADoc::OnUpdateApplyCorrection(CCmdUI* cmdUI) {
  cmdUI->Enable(Status == kStatusAnalysis && global_.ProgramSetting->NONSELFALLELE != 0 && !AnalyzedData.IsSelf);
}

void CQOVADoc::OnUpdateIntegrationCommands(CCmdUI* cmdUI) { cmdUI->Enable(Status == kStatusIntegrate); }

void CQOVADoc::OnNothing() {}

void CQOVADoc::OnRefreshFileLists() {
  if (!global_.FileList->Update(kFileListAllKinds)) {
    AfxMessageBox("The sample-file index could not be written.", MB_ICONEXCLAMATION);
  }
}
