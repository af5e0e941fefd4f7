#pragma once
// The main document: the sample the main view shows (one extracted sample and
// its analysed result), what it currently holds (its status), and every data
// command of the Data, Automation and Parameter > Analysis menus. It is never
// loaded or saved by the framework; its commands read and write sample files
// themselves.
//
// Analyses work on scratch objects and change the document only when they
// succeeded: a failed analysis leaves the sample, the result and the status
// as they were, so the views never show one sample's header beside another
// sample's result.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/AnalyzedData.h"
#include "core/ArrayData.h"
#include "core/ArrayTypes.h"
#include "core/Cytoband.h"
#include "core/SampleDocuments.h"
#include "platform/ui/DocView.h"

class CBasicData;
class CGlobalData;
class CProgramSetting;
class CAnalysis;
class IntegrationData;
namespace qova::document::analyses {
struct CandidateSnapshot;
}

// What the main document holds; the views draw by it and the update handlers
// enable commands by it. ("Integral" is a window title, never a status.)
inline constexpr const char* kStatusClean = "Clean";
inline constexpr const char* kStatusAnalysis = kDocumentStatusAnalysis;
inline constexpr const char* kStatusSingle = kDocumentStatusSingle;
inline constexpr const char* kStatusMultiple = "Multiple";
inline constexpr const char* kStatusIntegrate = "Integrate";

// The action keywords of the Sample Manager, compared exactly.
inline constexpr const char* kActionSelfAnalysis = "SelfAnalysis";
inline constexpr const char* kActionNonSelfAnalysis = "NonSelfAnalysis";
inline constexpr const char* kActionSelectNonSelfRef = "SelectNonSelfRef";
inline constexpr const char* kActionSelectNonSelfRefSameSex = "SelectNonSelfRef_samesex";
inline constexpr const char* kActionAutomaticAnalysis = "AutomaticAnalysis";
inline constexpr const char* kActionAutomaticAnalysisSameSex = "AutomaticAnalysis_samesex";
inline constexpr const char* kActionSelectSelfAsRef = "SelectSelfAsRef";
inline constexpr const char* kActionAssociationAnalysis = "AssociationAnalysis";

// The choice the association dialog hands back.
struct AssociationChoice {
  int PositiveCount = 0;
  int NegativeCount = 0;
  int Method = 0;
};
// Runs the association dialog (a dialog of the view layer, which installs it);
// false when it was cancelled. Without one the association entry does nothing.
using AssociationDialogRunner = std::function<bool(AssociationChoice& choice)>;

// Runs the "Edit integral view" dialog on an integration (a dialog of the view
// layer, which installs it); false when it was cancelled.
using EditIntegrationRunner = std::function<bool(IntegrationData& integration)>;

class ISingleViewList;
// Makes and shows the modeless single-view list over result file names;
// null when its window could not be made. The view layer installs it.
using SingleViewListFactory = std::function<std::unique_ptr<ISingleViewList>(const std::vector<std::string>& names)>;

class CQOVADoc : public CDocument, public ISampleDocument {
  DECLARE_DYNCREATE(CQOVADoc)

 public:
  // The sample objects have room for this many SNPs from the start.
  static constexpr std::int32_t kSampleCapacity = qova::core::kSampleSnpCapacity;

  // Results of the analyses and of the reference selection.
  enum : int {
    kSucceeded = 0,
    kFailed = 1,          // an analysis that stored nothing
    kSelectionCancelled = 1,  // the reference choice was cancelled: nothing changed
  };

  // With the installed application-wide data object (qova::document::ApplicationData).
  CQOVADoc();
  explicit CQOVADoc(CGlobalData& global);
  ~CQOVADoc() override;

  // Copies the five folders and the start folder of `setting`: the document
  // works in them from its next command on.
  void TakeFolders(const CProgramSetting& setting);

  BOOL OnNewDocument() override;

  // Type and family index of an array-type name (exact compare; an unknown
  // name gives 0).
  [[nodiscard]] int ArrayTypeIndex(const std::string& arrayType) const;
  [[nodiscard]] int ArrayClassIndex(const std::string& arrayType) const;

  // --- the refresh after a store (ISampleDocument) ---
  [[nodiscard]] std::string GetStatus() const override { return Status; }
  [[nodiscard]] std::string GetExtractedSampleName() const override { return ArrayData.Header.SampleName; }
  [[nodiscard]] std::string GetAnalyzedSampleName() const override { return AnalyzedData.Header.SampleName; }
  [[nodiscard]] bool GetAnalyzedIsSelf() const override { return AnalyzedData.IsSelf; }
  void RefreshSampleData(const CArrayData& stored) override;
  void SetAnalyzedData(const CAnalyzedData& stored) override;

  // --- analyses of one sample ---
  // `sample` is the sample to analyse (the document's own, or one loaded for
  // the purpose). On success the result file and then the sample's .CFH are
  // written and `sample` receives what the analysis added to it. Unless quiet,
  // the document then takes the sample and its result, the status becomes
  // "Analysis", the title the sample's name, and the views are updated; quiet,
  // the document keeps what it shows (the stores refresh it when it shows the
  // sample stored). On failure nothing is written or changed and kFailed is
  // returned.

  // Against the paired normal sample; result <name>.CFS. Without a self
  // reference: "This sample does not have self reference" (also when quiet).
  int SelfAnalysis(CArrayData* sample, BOOL quiet);
  int SelfAnalyzeCurrent();
  // Against the references the header lists; result <name>.CFN, or .CFA with
  // the allele-specific switch. A failure leaves its line in the error log and,
  // unless quiet, shows a message.
  int NonSelfAnalysis(CArrayData* sample, BOOL quiet);
  int NonSelfAnalyzeCurrent();
  // The current sample analysed again, self or non-self, taking only the SNP
  // slots that `usable` marks 1 (the analysis may leave out more of them);
  // the restriction holds for this run only.
  int AnalyzeCurrentWithin(const std::vector<std::int32_t>& usable, bool self);
  // The two halves of SelfAnalysis and NonSelfAnalysis, for work on other
  // threads. The compute half reads files but writes none, touches no member
  // of the document and tells its failures through the message boxes and the
  // error log of the calling thread; nothing when the analysis failed. The
  // commit half stores the result and then the sample, `sample` (when not
  // null) takes what the analysis added, and the document both as above.
  struct AnalysisRun {
    CArrayData Analysed;
    CAnalyzedData Result;
    AnalysisKind Kind = AnalysisKind::Self;
  };
  [[nodiscard]] std::optional<AnalysisRun> ComputeSelfAnalysis(const CArrayData& sample,
                                                               const CBasicData& basic) const;
  [[nodiscard]] std::optional<AnalysisRun> ComputeNonSelfAnalysis(const CArrayData& sample, const CBasicData& basic,
                                                                  BOOL quiet) const;
  void CommitAnalysis(CArrayData* sample, AnalysisRun& run, BOOL quiet);
  // Why `sample` cannot be analysed for want of its family's annotation table.
  [[nodiscard]] std::optional<std::string> MissingAnnotation(const CArrayData& sample) const;
  // Repeats the kind of analysis of the result shown.
  int Reanalyze();

  // --- reference selection (into `sample`'s header, in memory only) ---
  // Ranks the admissible reference samples and lets the user check them
  // (automatic FALSE) or takes them under the AUTO settings. kSelectionCancelled
  // when the user cancelled the choice (the references stay as they were);
  // kSucceeded otherwise, also when the selection found nothing.
  int SelectNonSelfReferences(CArrayData* sample, BOOL automatic, BOOL sameSex, int referenceMode,
                              BOOL keepSampleIndex);
  // The two halves of the automatic choice, for work on other threads: whether
  // the reference mode keeps the references a header names, and the choice
  // among a snapshot of the candidates, which tells its failure as a notice
  // for the caller to show (and its left-out candidates through the error log
  // of the calling thread).
  [[nodiscard]] static bool KeepsCurrentReferences(const SampleHeader& header, int referenceMode);
  [[nodiscard]] std::optional<std::string> ChooseAutomaticReferences(CArrayData& sample, BOOL sameSex,
                                                                     int referenceMode,
                                                                     const qova::document::analyses::CandidateSnapshot& candidates,
                                                                     const CBasicData& basic) const;
  // The sample's paired normal sample becomes its only non-self reference.
  // kFailed, after "This sample does not have self reference", without one.
  int SelectSelfAsReference(CArrayData* sample);
  int SelectSelfAsReference() { return SelectSelfAsReference(&ArrayData); }
  // The superseded selection: the five best candidates into the candidate
  // fields. `work` is a scratch sample for reading the candidates.
  int SelectNonSelfReferencesOld(CArrayData* work, CArrayData* sample);

  // --- the Sample Manager's actions ---
  // Loads <array-data folder><sampleName>.CFH and runs `keyword` on it (quiet
  // FALSE). A keyword outside the eight loads and changes nothing. The
  // document takes the sample only when its analysis succeeded.
  void RunSampleAction(const std::string& sampleName, const std::string& keyword);
  // The association entry on `sample`: result <name>_A.CFS, status "Single".
  // 1 when the sample has no self reference or its normalisation failed; 0
  // and nothing done when the method dialog is cancelled or none is installed.
  int AssociationAnalysis(CArrayData* sample);
  int AssociationAnalysis() { return AssociationAnalysis(&ArrayData); }
  static void SetAssociationDialog(AssociationDialogRunner runner);

  // Display Samples. OpenSingleResult shows one result file of the result
  // folder (with its extracted sample when there is one; a view passes its
  // display state to the document's views); nothing changes when it cannot
  // be read.
  int OpenSingleResult(CView* source, const std::string& fileName);
  static void SetSingleViewListFactory(SingleViewListFactory factory);
  static void SetEditIntegrationDialog(EditIntegrationRunner runner);
  // Builds (or adds to) the integration over DisplayList after the parameter
  // dialog; the current integration stays unless the new one was built.
  // True when built.
  bool BuildIntegralView(BOOL selfMode);
  // Reads the shown results again ("Multiple") or integrates again
  // ("Integrate"); otherwise nothing.
  static void RefreshDisplayedResults(CQOVADoc& doc);

  // Messages of a long command: while collecting, notices are kept and shown
  // as one summary at the end instead of one box each.
  void BeginCollectingNotices();
  void EndCollectingNotices();
  void Notify(const std::string& text);

  // --- command handlers ---
  void OnDataExtract();  // Extract Data, with ExtractSample per file
  void ExtractSample(const std::string& chpFileName, int mode, const std::string& partnerFileName);
  void OnExtractWithoutCHP();
  void ExtractSampleWithoutCHP(int mode, const std::string& celFileName, const std::string& partnerFileName);
  void OnSampleManager();
  void OnStoreBasicData();
  void OnDisplaySamples();
  void OnOutputRawData();
  void OnBatchAnalysis();
  void OnTransferArrangedData();
  void OnManualSelection();
  void OnAutomaticSelection();
  void OnSelectOnlySelfRef();
  void OnSelfAnalysis();
  void OnReanalysis();
  void OnOutputSampleList();
  void OnUpdateGenderFromCHP();
  void OnUpdateFilesToNewestVersion();
  void OnAverageArrays();
  void OnBatchCombine();
  void OnCopyListedDataFiles();
  // Copies one file; never over an existing one. FALSE with the reason in
  // `why` when nothing was copied.
  static BOOL CopyFileContents(const std::string& source, const std::string& destination, std::string& why);
  void OnChangeAttributesAsListed();
  void OnNothing();
  void OnExtractIMFFromList();
  // One sample's intensity work file; `chpFileName` as the list gives it plus
  // ".CHP". False when the sample was left out and nothing was written.
  bool ExtractIMF(const std::string& chpFileName);
  void OnIMFCorrelation();
  void OnMakeSNPInfo();
  void OnIMFToIM2();
  void OnMakeNormalAverage();
  void OnIM2ToIM3();
  void OnMakeCNRegression();
  void OnIM3ToResult();
  void OnConvertAllFiles();
  void OnApplyCorrection();
  void OnDumpCDF();
  void OnRefreshFileLists();
  void OnOpenIntegration();
  void OnSaveIntegration();
  void OnEditIntegration();

  // Update handlers.
  void OnUpdateAlwaysEnabled(CCmdUI* cmdUI);
  void OnUpdateAnalysisCommands(CCmdUI* cmdUI);
  void OnUpdateApplyCorrection(CCmdUI* cmdUI);
  void OnUpdateIntegrationCommands(CCmdUI* cmdUI);

  // --- members ---
  CAnalyzedData AnalyzedData;  // the result the views show
  CArrayData ArrayData;        // the extracted sample the views show
  // The result files chosen last in Display Samples (relative to the
  // analysis-result folder), and the results of the multiple-sample grid.
  std::vector<std::string> DisplayList;
  std::vector<std::unique_ptr<CAnalyzedData>> LoadedResults;
  std::string Status = kStatusClean;
  std::shared_ptr<IntegrationData> Integration;  // the integral view's, or null
  CCytoband Cytoband;                            // the document's own copy

  // Into the application-wide data object, which outlives every document.
  CBasicData* BasicData = nullptr;  // seven tables, by family index
  const std::int32_t* ChromosomeStarts[qova::core::kArrayTypeCount] = {};
  const std::int32_t* FirstSnpIndex = nullptr;
  const std::int32_t* LastSnpIndex = nullptr;
  const std::int32_t* LastXSnpIndex = nullptr;
  const std::int32_t* LastAutosomeSnpIndex = nullptr;
  const std::int32_t* SnpCount = nullptr;

  // The folders, copied from the settings when the document is made and again
  // whenever the program settings are changed (TakeFolders). Each ends with
  // its separator; file names are appended directly.
  std::string DataFolder;
  std::string ArrayDataFolder;
  std::string LibraryFolder;
  std::string AnalysisResultFolder;
  std::string OutputFolder;
  std::string StartFolder;

  [[nodiscard]] CGlobalData& Global() const { return global_; }

 protected:
  DECLARE_MESSAGE_MAP()

 private:
  // The annotation table of `sample`'s family, or null (after a message) when
  // it is not loaded.
  CBasicData* AnnotationFor(const CArrayData& sample);
  // An engine with the document's folders.
  void PrepareEngine(CAnalysis& engine) const;
  // Copy a sample or a result into the document's own objects, whose arrays
  // keep their storage. The views have bound to those arrays and derived
  // their curves from them: a change is followed by ShowResult (or an update
  // of the views) before anything can repaint.
  void TakeSample(const CArrayData& sample);
  void TakeResult(const CAnalyzedData& result);
  // The status, the window title (the shown result's sample name) and every
  // view, from the result the document now holds.
  void ShowResult(const char* status);
  // Collected notices as one text: each distinct one once, with its count.
  [[nodiscard]] static std::string SummarizeNotices(const std::vector<std::string>& collected);
  // The two forms of the batch analysis.
  void RunSupersededSelection(const std::vector<std::string>& names);
  void RunAutomaticAnalysis(const std::vector<std::string>& names, const std::string& action, int referenceMode);
  void ShowSingleViewList();
  void ShowMultipleResults();
  void CombineDisplayed(BOOL selfMode);
  [[nodiscard]] std::string ResultFileOf(const CAnalyzedData& result) const;

  CGlobalData& global_;
  std::vector<std::int32_t> usableSnps_;  // AnalyzeCurrentWithin's, for its run
  std::optional<std::vector<std::string>> notices_;
  // Last: leaves the list of open documents before anything else goes.
  qova::core::ScopedSampleDocument registration_{this};
};

