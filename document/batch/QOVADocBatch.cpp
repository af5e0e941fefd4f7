// Automation > Batch Analysis: the batch dialog, then the superseded reference
// choice for every picked test sample, or the automatic analysis of every
// picked sample under the AUTO settings, on several cores.
//
// The samples are worked on in objects of their own: the document goes on
// showing the sample it showed (refreshed by the stores when the batch
// rewrote its files), never the batch's last one behind its views' backs.
//
// The automatic form splits each sample's work in two. Workers run the compute
// step: load the sample, self analysis, base-range transfer, reference choice,
// non-self analysis, writing no file and showing nothing (their message boxes
// and error-log lines are kept with the sample). The user-interface thread
// commits the samples in list order: progress, log lines, notices and stores,
// exactly as one sample after the other would. This holds because what one
// sample's analysis reads of the others (the candidates' headers, signals and
// calls, and its paired sample's) is changed by no step of a batch, and each
// store replaces its file by one rename.
#include <cstdlib>
#include <exception>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/BasicData.h"
#include "core/GlobalData.h"
#include "core/ProgramSetting.h"
#include "core/ProgressBar.h"
#include "core/SampleFileList.h"
#include "document/batch/BatchSelect.h"
#include "document/QOVADoc.h"
#include "document/analyses/ReferenceSelection.h"
#include "document/UnreadableFiles.h"
#include "platform/ErrorLog.h"
#include "platform/MessageBox.h"
#include "platform/OrderedWorkers.h"
#include "platform/Paths.h"
#include "platform/Strings.h"
#include "platform/ui/Frame.h"

namespace analyses = qova::document::analyses;

namespace {

constexpr const char* kActionSelectNonSelfRefs = "SelectNonSelfRefs";
constexpr const char* kActionAutomatic = "AutomaticAnalysis";

bool Contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

// What the dialog and the AUTO settings ask of every sample.
struct BatchPlan {
  bool DoSelf = false;
  bool DoNonSelf = false;
  bool SkipAlready = false;
  bool SameSex = false;
  bool Transfer = false;
  int ReferenceMode = 0;
  std::string NonSelfExtension;
};

// What the compute step of one sample hands to its commit.
struct SampleWork {
  std::string LoadFailure;  // the sample file could not be read
  std::optional<CQOVADoc::AnalysisRun> Self;
  std::optional<CQOVADoc::AnalysisRun> NonSelf;
  std::vector<std::string> Failed;    // "the self analysis", "the non-self analysis"
  std::vector<std::string> Messages;  // message boxes and notices, in order
  std::vector<std::string> LogLines;
  std::vector<qova::document::UnreadableFile> Unreadable;  // files the reference choice could not read
};

// The number of workers: QOVA_BATCH_WORKERS when set, else every hardware thread.
int RequestedWorkers() {
  const char* value = std::getenv("QOVA_BATCH_WORKERS");
  return value != nullptr ? std::atoi(value) : 0;
}

// For each name, the index of its latest earlier occurrence: a sample listed
// twice is analysed the second time from what the first time stored.
std::vector<std::optional<std::size_t>> EarlierOccurrences(const std::vector<std::string>& names) {
  std::vector<std::optional<std::size_t>> earlier(names.size());
  std::unordered_map<std::string, std::size_t> last;
  for (std::size_t k = 0; k < names.size(); ++k) {
    if (const auto found = last.find(names[k]); found != last.end()) earlier[k] = found->second;
    last[names[k]] = k;
  }
  return earlier;
}

class SampleComputation {
 public:
  SampleComputation(const CQOVADoc& doc, const BatchPlan& plan, const analyses::CandidateSnapshot& candidates)
      : doc_(doc), plan_(plan), candidates_(candidates) {}

  // Runs on a worker thread.
  SampleWork operator()(const std::string& name) const {
    SampleWork work;
    platform::ScopedThreadMessageCapture messages;
    platform::ScopedErrorLogCapture log;
    qova::document::UnreadableFiles unreadable;
    Compute(name, work);
    work.Unreadable = qova::document::UnreadableFiles::TakeUntoldFiles();
    work.Messages = messages.Texts();
    work.LogLines = std::move(log.Lines);
    return work;
  }

 private:
  void Compute(const std::string& name, SampleWork& work) const {
    CArrayData sample;
    try {
      sample.LoadFile(platform::JoinPath(doc_.ArrayDataFolder, name + ".CFH"));
    } catch (const std::exception& error) {
      work.LoadFailure = error.what();
      return;
    }
    const std::string results = platform::JoinPath(doc_.AnalysisResultFolder, name);
    if (plan_.DoSelf && IsSelfAnalysable(sample.Header) && !(plan_.SkipAlready && platform::FileExists(results + ".CFS"))) {
      if (const CBasicData* basic = Annotation(sample)) {
        work.Self = doc_.ComputeSelfAnalysis(sample, *basic);
        if (work.Self) sample = work.Self->Analysed;
      }
      if (!work.Self) work.Failed.push_back("the self analysis");
      if (plan_.Transfer) {
        // Only the first and last SNP: mode and N stay the non-self analysis's own.
        sample.Header.NonSelfBaseRange[0] = sample.Header.SelfBaseRange[0];
        sample.Header.NonSelfBaseRange[1] = sample.Header.SelfBaseRange[1];
      }
    }
    if (plan_.DoNonSelf && !(plan_.SkipAlready && platform::FileExists(results + plan_.NonSelfExtension))) {
      ChooseReferences(sample);
      if (const CBasicData* basic = Annotation(sample)) {
        work.NonSelf = doc_.ComputeNonSelfAnalysis(sample, *basic, TRUE);
      }
      if (!work.NonSelf) work.Failed.push_back("the non-self analysis");
    }
  }

  void ChooseReferences(CArrayData& sample) const {
    if (CQOVADoc::KeepsCurrentReferences(sample.Header, plan_.ReferenceMode)) return;
    const CBasicData* basic = Annotation(sample);
    if (basic == nullptr) return;
    const std::optional<std::string> notice = doc_.ChooseAutomaticReferences(
        sample, plan_.SameSex ? TRUE : FALSE, plan_.ReferenceMode, candidates_, *basic);
    if (notice) AfxMessageBox(*notice);
  }

  // The family's annotation table, or null after a notice.
  const CBasicData* Annotation(const CArrayData& sample) const {
    if (const std::optional<std::string> missing = doc_.MissingAnnotation(sample)) {
      AfxMessageBox(*missing);
      return nullptr;
    }
    return &doc_.BasicData[doc_.ArrayClassIndex(sample.Header.ArrayType)];
  }

  const CQOVADoc& doc_;
  const BatchPlan& plan_;
  const analyses::CandidateSnapshot& candidates_;
};

// The one box at the end of a batch that did not go cleanly.
std::string BatchSummary(std::size_t analysed, std::size_t picked, const std::vector<std::string>& failures,
                         const std::string& notices) {
  std::string text = platform::Format("%zu of %zu samples were analysed.", analysed, picked);
  if (!failures.empty()) {
    text += "\nFailed:";
    for (const std::string& failure : failures) text += "\n" + failure;
    text += "\nThe reasons of failed analyses are written in the error log " +
            platform::NativePath(platform::kErrorLogPath) + ".";
  }
  if (!notices.empty()) text += "\n" + notices;
  return text;
}

}  // namespace

void CQOVADoc::OnBatchAnalysis() {
  // A file the list left out is told once, not again for every sample.
  qova::document::UnreadableFiles unreadable;
  CBatchSelect dialog;
  dialog.ArrayDataFolder = ArrayDataFolder;
  if (dialog.DoModal() != IDOK) return;
  const std::vector<std::string> names = dialog.SampleNames;
  if (Contains(dialog.Action, kActionSelectNonSelfRefs)) RunSupersededSelection(names);
  if (Contains(dialog.Action, kActionAutomatic)) {
    RunAutomaticAnalysis(names, dialog.Action, dialog.ReferenceMode);
  }
}

void CQOVADoc::RunSupersededSelection(const std::vector<std::string>& names) {
  // Its notice comes once per batch, with the failures, in one box.
  BeginCollectingNotices();
  CArrayData work;
  for (const std::string& name : names) {
    const std::string path = platform::JoinPath(ArrayDataFolder, name + ".CFH");
    try {
      CArrayData sample;
      sample.LoadFile(path, false);
      if (sample.Header.IsTest != 1) continue;
      sample.LoadFile(path);
      SelectNonSelfReferencesOld(&work, &sample);
      sample.StoreFile(path);
    } catch (const std::exception& error) {
      const std::string line = name + ": " + error.what();
      platform::AppendErrorLog(line);
      Notify(line);
    }
  }
  if (const std::optional<std::string> unreadable = qova::document::UnreadableFiles::TakeUntold()) Notify(*unreadable);
  EndCollectingNotices();
}

void CQOVADoc::RunAutomaticAnalysis(const std::vector<std::string>& names, const std::string& action,
                                    int referenceMode) {
  const CProgramSetting& setting = *global_.ProgramSetting;
  BatchPlan plan;
  plan.DoSelf = setting.DOSELF != 0;
  plan.DoNonSelf = setting.DONONSELF != 0;
  plan.SkipAlready = setting.SKIPALREADY != 0;
  plan.SameSex = Contains(action, "SameSexPlus");
  plan.Transfer = Contains(action, "TransferPlus");
  plan.ReferenceMode = referenceMode;
  plan.NonSelfExtension = AnalysisFileExtension(NonSelfAnalysisKind(setting.NONSELFALLELE != 0));

  // The candidates' headers are read once, here: the index is not shared
  // with the workers.
  analyses::CandidateSource source;
  source.ArrayDataFolder = ArrayDataFolder;
  if (setting.UseFileList != 0) {
    global_.FileList->Update(kFileListExtracted);
    source.Index = global_.FileList.get();
    source.RefreshIndex = false;
  }
  const analyses::CandidateSnapshot candidates =
      plan.DoNonSelf ? analyses::SnapshotCandidates(source) : analyses::CandidateSnapshot{};

  const std::size_t n = names.size();
  std::size_t analysed = 0;
  std::vector<std::string> failures;
  // The notices go into the summary, also when the batch ends by an exception.
  BeginCollectingNotices();
  struct StopCollecting {
    std::optional<std::vector<std::string>>& notices;
    ~StopCollecting() { notices.reset(); }
  } stopCollecting{notices_};
  std::vector<std::string> notices;
  std::size_t reached = 0;  // samples taken before the end or a Cancel
  {
    BOOL keepGoing = TRUE;
    // Closes, and gives the main window back, however the batch ends.
    CProgressBar bar(&keepGoing);
    const std::vector<std::optional<std::size_t>> earlier = EarlierOccurrences(names);
    const SampleComputation compute(*this, plan, candidates);
    platform::OrderedWorkers<SampleWork> workers(
        n, platform::WorkerCount(n, RequestedWorkers()), [&](std::size_t k) { return compute(names[k]); },
        [&](std::size_t k) { return earlier[k]; });
    for (std::size_t k = 0; k < n; ++k) {
      bar.SetStatusText(platform::Format("Automatic Analysis : processing %s", names[k].c_str()));
      bar.SetPosition(static_cast<int>(100 * k / n));
      CProgressBar::PumpMessages();
      if (keepGoing == FALSE) break;
      reached = k + 1;
      SampleWork work = workers.Take(k, [] { CProgressBar::PumpMessages(); });
      for (const std::string& line : work.LogLines) platform::AppendErrorLog(line);
      for (const std::string& message : work.Messages) Notify(message);
      for (const qova::document::UnreadableFile& file : work.Unreadable) qova::document::UnreadableFiles::Note(file.Path, file.Why);
      if (!work.LoadFailure.empty()) {
        const std::string line = names[k] + ": " + work.LoadFailure;
        platform::AppendErrorLog(line);
        failures.push_back(line);
      }
      try {
        if (work.Self) CommitAnalysis(nullptr, *work.Self, TRUE);
        if (work.NonSelf) CommitAnalysis(nullptr, *work.NonSelf, TRUE);
      } catch (const std::exception& error) {
        const std::string line = names[k] + ": cannot be stored: " + error.what();
        platform::AppendErrorLog(line);
        failures.push_back(line);
        work.LoadFailure = line;
      }
      for (const std::string& step : work.Failed) failures.push_back(names[k] + ": " + step + " failed");
      if (work.LoadFailure.empty() && work.Failed.empty()) ++analysed;
      workers.Committed(k);
    }
    // In the summary, once, however many samples met them.
    if (const std::optional<std::string> unreadable = qova::document::UnreadableFiles::TakeUntold()) Notify(*unreadable);
    notices = std::move(*notices_);
  }
  platform::ui::ShowStatusText(reached < n ? platform::Format("Cancelled after %zu of %zu samples; %zu analysed",
                                                              reached, n, analysed)
                                           : platform::Format("Analysed %zu of %zu samples", analysed, n));
  if (!failures.empty() || !notices.empty()) {
    AfxMessageBox(BatchSummary(analysed, n, failures, SummarizeNotices(notices)));
  }
}
