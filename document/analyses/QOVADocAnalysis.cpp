// The analyses of one sample: self (against its paired normal sample),
// non-self (against the references its header lists), the association entry,
// and the Parameter > Analysis commands that repeat them on the shown sample.
#include "analysis/Analysis.h"
#include "analysis/AssociationMethods.h"
#include "core/BasicData.h"
#include "core/GlobalData.h"
#include "core/ProgramSetting.h"
#include "core/ProgressBar.h"
#include "document/QOVADoc.h"
#include "document/analyses/ReferenceSelection.h"
#include "platform/ErrorLog.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/Strings.h"

namespace {

constexpr const char* kNoSelfReference = "This sample does not have self reference";

AssociationDialogRunner& InstalledAssociationDialog() {
  static AssociationDialogRunner runner;
  return runner;
}

// The flags every self result carries (the association entry's too).
void MarkSelfResult(CAnalyzedData& result) {
  result.IsSelf = true;
  result.WorkFlag = false;
  result.Header.SelfAnalyzed = true;
  result.Header.Combined = false;
}

void MarkNonSelfResult(CAnalyzedData& result) {
  result.IsSelf = false;
  result.WorkFlag = false;
  result.Header.SelfAnalyzed = false;
  result.Header.Combined = false;
}

void FinishStatistics(CAnalysis& engine, CAnalyzedData& result) {
  result.SampleSD = engine.CalcSD(result);
  result.MeanState = engine.CalcMeanState(result);
  result.RebuildEditedCopyNumberState();
}

// For failures whose reason the engine has written into the error log.
void ReportFailure(const char* what, const std::string& sampleName) {
  AfxMessageBox(platform::Format("%s of %s failed; the reason is written in the error log %s.", what,
                                 sampleName.c_str(), platform::NativePath(platform::kErrorLogPath).c_str()));
}

}  // namespace

void CQOVADoc::SetAssociationDialog(AssociationDialogRunner runner) { InstalledAssociationDialog() = std::move(runner); }

std::optional<std::string> CQOVADoc::MissingAnnotation(const CArrayData& sample) const {
  if (global_.HasBasicData(ArrayClassIndex(sample.Header.ArrayType))) return std::nullopt;
  return platform::Format("The annotation table of the array type %s is not loaded: %s cannot be analysed.",
                          sample.Header.ArrayType.c_str(), sample.Header.SampleName.c_str());
}

CBasicData* CQOVADoc::AnnotationFor(const CArrayData& sample) {
  if (const std::optional<std::string> missing = MissingAnnotation(sample)) {
    Notify(*missing);
    return nullptr;
  }
  return &BasicData[ArrayClassIndex(sample.Header.ArrayType)];
}

void CQOVADoc::PrepareEngine(CAnalysis& engine) const {
  engine.ResultFolder = AnalysisResultFolder;
  engine.ArrayDataFolder = ArrayDataFolder;
  engine.UsableSnps = usableSnps_;
}

void CQOVADoc::CommitAnalysis(CArrayData* sample, AnalysisRun& run, BOOL quiet) {
  const std::string& name = run.Analysed.Header.SampleName;
  // The stores refresh this document when it shows the sample stored.
  run.Result.StoreFile(platform::JoinPath(AnalysisResultFolder, name + AnalysisFileExtension(run.Kind)));
  run.Analysed.StoreFile(platform::JoinPath(ArrayDataFolder, name + ".CFH"));
  if (sample != nullptr && sample != &ArrayData) *sample = run.Analysed;
  // A quiet analysis (a batch, a maintenance run) leaves what is shown alone:
  // taking its sample here, without the views' update, is how a view came to
  // draw one sample's header and bars over another's curves.
  if (quiet) return;
  TakeSample(run.Analysed);
  TakeResult(run.Result);
  ShowResult(kStatusAnalysis);
}

int CQOVADoc::SelfAnalysis(CArrayData* sample, BOOL quiet) {
  if (sample->Header.IsPaired == 0) {
    AfxMessageBox(kNoSelfReference);
    return kFailed;
  }
  CBasicData* basic = AnnotationFor(*sample);
  if (basic == nullptr) return kFailed;
  std::optional<AnalysisRun> run = ComputeSelfAnalysis(*sample, *basic);
  if (!run) return kFailed;
  CommitAnalysis(sample, *run, quiet);
  return kSucceeded;
}

std::optional<CQOVADoc::AnalysisRun> CQOVADoc::ComputeSelfAnalysis(const CArrayData& sample,
                                                                   const CBasicData& basic) const {
  AnalysisRun run{sample, {}, AnalysisKind::Self};
  CArrayData& analysed = run.Analysed;
  CAnalyzedData& result = run.Result;
  result = CAnalyzedData(analysed, AnalysisKind::Self);
  MarkSelfResult(result);
  CAnalysis engine(global_);
  PrepareEngine(engine);
  // The engine has shown why when it fails.
  if (engine.NormalizeBySelfReference(analysed, basic, result) != 0) return std::nullopt;
  if (engine.RunTotalCopyNumberHMM(result, basic) != 0 || engine.RunAlleleSpecificHMM(result, basic, 1) != 0 ||
      engine.RunAlleleSpecificHMM(result, basic, 2) != 0) {
    ReportFailure("The self analysis", analysed.Header.SampleName);
    return std::nullopt;
  }
  engine.ExtractAlleleStateSegments(analysed, result);
  // The result file carries the regions of its own analysis, as the sample
  // file does: an integration of marked imbalance reads them from there.
  result.Markers = analysed.Markers;
  FinishStatistics(engine, result);
  return run;
}

int CQOVADoc::SelfAnalyzeCurrent() {
  SelfAnalysis(&ArrayData, FALSE);
  return 0;
}

int CQOVADoc::NonSelfAnalysis(CArrayData* sample, BOOL quiet) {
  CBasicData* basic = AnnotationFor(*sample);
  if (basic == nullptr) return kFailed;
  std::optional<AnalysisRun> run = ComputeNonSelfAnalysis(*sample, *basic, quiet);
  if (!run) return kFailed;
  CommitAnalysis(sample, *run, quiet);
  return kSucceeded;
}

std::optional<CQOVADoc::AnalysisRun> CQOVADoc::ComputeNonSelfAnalysis(const CArrayData& sample,
                                                                      const CBasicData& basic, BOOL quiet) const {
  const CProgramSetting& setting = *global_.ProgramSetting;
  // Read once: the layout of the result and the steps that fill it must agree.
  const bool alleles = setting.NONSELFALLELE != 0;
  AnalysisRun run{sample, {}, NonSelfAnalysisKind(alleles)};
  CArrayData& analysed = run.Analysed;
  CAnalyzedData& result = run.Result;
  result = CAnalyzedData(analysed, run.Kind);
  MarkNonSelfResult(result);
  CAnalysis engine(global_);
  PrepareEngine(engine);
  // The test sample's own calls stand in for the population's: its LOH score
  // assumes one heterozygosity everywhere. The shared annotation table keeps
  // its values for every other analysis.
  engine.SetUniformHeterozygosity(kNonSelfHeterozygosity);

  bool failed = engine.NormalizeByReferences(analysed, basic, result) != 0 ||
                engine.RunTotalCopyNumberHMM(result, basic) != 0;
  if (!failed && alleles) {
    failed = engine.RunAlleleSpecificHMM(result, basic, 1) != 0 || engine.RunAlleleSpecificHMM(result, basic, 2) != 0;
    if (!failed && setting.AUTOAI != 0) {
      failed = engine.RunTwoStateSegmentHMM(analysed, result, basic) != 0;
      result.Markers = analysed.Markers;
    }
  } else if (!failed) {
    engine.AnalyzeLOHWithLD(result, basic);
  }
  if (failed) {
    // The engine has written the reason into the error log.
    if (!quiet) ReportFailure("The non-self analysis", analysed.Header.SampleName);
    return std::nullopt;
  }
  FinishStatistics(engine, result);
  return run;
}

int CQOVADoc::NonSelfAnalyzeCurrent() {
  NonSelfAnalysis(&ArrayData, FALSE);
  return 0;
}

int CQOVADoc::AnalyzeCurrentWithin(const std::vector<std::int32_t>& usable, bool self) {
  usableSnps_ = usable;
  const int result = self ? SelfAnalysis(&ArrayData, FALSE) : NonSelfAnalysis(&ArrayData, FALSE);
  usableSnps_.clear();
  return result;
}

int CQOVADoc::Reanalyze() {
  return AnalyzedData.IsSelf ? SelfAnalysis(&ArrayData, FALSE) : NonSelfAnalysis(&ArrayData, FALSE);
}

int CQOVADoc::AssociationAnalysis(CArrayData* sample) {
  if (sample->Header.IsPaired == 0) {
    AfxMessageBox(kNoSelfReference);
    return 1;
  }
  // No method dialog, no method chosen: as if it were cancelled.
  const AssociationDialogRunner& dialog = InstalledAssociationDialog();
  AssociationChoice choice;
  if (!dialog || !dialog(choice)) return 0;
  CBasicData* basic = AnnotationFor(*sample);
  if (basic == nullptr) return 1;

  CArrayData analysed = *sample;
  CAnalyzedData result(analysed, AnalysisKind::Self);
  MarkSelfResult(result);
  // Only the result's own name carries the suffix; the sample keeps its name.
  result.Header.SampleName += "_A";
  CAnalysis engine(global_);
  PrepareEngine(engine);
  if (engine.NormalizeBySelfReference(analysed, *basic, result) != 0) return 1;
  const int computed = engine.CalcAssociationStatistic(analysed, result, *basic, choice.PositiveCount,
                                                       choice.NegativeCount, choice.Method);
  if (computed == CAnalysis::kNoValidAssociationSnp) {
    // Empty panels stored as a result would look like one that is done.
    const qova::analysis::SampleCounts counts{static_cast<double>(choice.PositiveCount),
                                              static_cast<double>(choice.NegativeCount)};
    AfxMessageBox(platform::Format("The association analysis of %s leaves no valid SNP: %s. Nothing is stored.",
                                   analysed.Header.SampleName.c_str(),
                                   qova::analysis::AssociationEmptyReason(choice.Method, counts).c_str()));
    return 1;
  }
  if (computed != 0) {
    ReportFailure("The association analysis", analysed.Header.SampleName);
    return 1;
  }
  FinishStatistics(engine, result);
  result.StoreFile(platform::JoinPath(AnalysisResultFolder, analysed.Header.SampleName + "_A.CFS"));

  if (sample != &ArrayData) *sample = analysed;
  TakeSample(analysed);
  TakeResult(result);
  ShowResult(kStatusSingle);
  return 0;
}

// Parameter > Analysis. Each works on a copy of the shown sample, so that
// references chosen for an analysis that then fails do not stay behind.

void CQOVADoc::OnManualSelection() {
  CArrayData work = ArrayData;
  if (SelectNonSelfReferences(&work, FALSE, FALSE, qova::document::analyses::kReferenceAutomatic, FALSE) == kSelectionCancelled) return;
  NonSelfAnalysis(&work, FALSE);
}

void CQOVADoc::OnAutomaticSelection() {
  CArrayData work = ArrayData;
  if (SelectNonSelfReferences(&work, TRUE, FALSE, qova::document::analyses::kReferenceAutomatic, FALSE) == kSelectionCancelled) return;
  NonSelfAnalysis(&work, FALSE);
}

void CQOVADoc::OnSelectOnlySelfRef() {
  CArrayData work = ArrayData;
  if (SelectSelfAsReference(&work) != kSucceeded) return;
  NonSelfAnalysis(&work, FALSE);
}

void CQOVADoc::OnSelfAnalysis() { SelfAnalysis(&ArrayData, FALSE); }

void CQOVADoc::OnReanalysis() { Reanalyze(); }

// Brings every extracted sample to the current format and analyses the test
// samples again with what their headers hold, under the progress dialog with
// Cancel between files. A file that cannot be read or stored is named in the
// summary at the end; the others are still updated.
void CQOVADoc::OnUpdateFilesToNewestVersion() {
  const char* kWarning =
      "WARNING! This menu updates the CFH, CFS, and CFN files to the newest version\n"
      "The error log is created in C directory, and be sure that all files are updated.";
  if (AfxMessageBox(kWarning, MB_OKCANCEL | MB_DEFBUTTON2) != IDOK) return;
  const std::vector<std::string> files = platform::FindFiles(ArrayDataFolder, "*.CFH");
  BeginCollectingNotices();
  // Whatever ends the loop, later notices of this document are shown again.
  struct StopCollecting {
    std::optional<std::vector<std::string>>& notices;
    ~StopCollecting() { notices.reset(); }
  } stopCollecting{notices_};
  {
    BOOL keepGoing = TRUE;
    CProgressBar bar(&keepGoing);
    for (std::size_t k = 0; k < files.size(); ++k) {
      bar.SetStatusText(platform::Format("Updating %s", files[k].c_str()));
      bar.SetPosition(static_cast<int>(100 * k / files.size()));
      CProgressBar::PumpMessages();
      if (keepGoing == FALSE) break;
      const std::string path = platform::JoinPath(ArrayDataFolder, files[k]);
      try {
        CArrayData sample;
        sample.LoadFile(path);
        sample.Header.HmmMeans[6] = 2.5f;
        if (sample.Header.IsTest != 0) {
          if (IsSelfAnalysable(sample.Header)) SelfAnalysis(&sample, TRUE);
          NonSelfAnalysis(&sample, TRUE);
        }
        sample.StoreFile(path);
      } catch (const std::exception& error) {
        Notify(platform::Format("%s is not updated: %s", files[k].c_str(), error.what()));
      }
    }
  }
  EndCollectingNotices();
}

void CQOVADoc::OnApplyCorrection() {
  CBasicData* basic = AnnotationFor(ArrayData);
  if (basic == nullptr) return;
  CArrayData work = ArrayData;
  CAnalysis engine(global_);
  if (engine.RunTwoStateSegmentHMM(work, AnalyzedData, *basic) != 0) {
    ReportFailure("The correction", work.Header.SampleName);
    return;
  }
  work.StoreFile(platform::JoinPath(ArrayDataFolder, work.Header.SampleName + ".CFH"));
  TakeSample(work);
  UpdateAllViews(nullptr);
}
