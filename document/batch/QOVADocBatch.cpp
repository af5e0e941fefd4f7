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

// A chosen step that ran and stored nothing, with what it told meanwhile.
struct StepFailure {
  std::string Step;    // "the self analysis", "the non-self analysis"
  std::string Reason;  // its boxes and error-log lines, or empty
};

// What the compute step of one sample hands to its commit.
struct SampleWork {
  std::string LoadFailure;  // the sample file could not be read
  std::optional<CQOVADoc::AnalysisRun> Self;
  std::optional<CQOVADoc::AnalysisRun> NonSelf;
  std::vector<StepFailure> Failed;
  std::vector<std::string> NotApplicable;  // why a chosen step does not apply to this sample
  std::vector<std::string> AlreadyStored;  // results a skipped step found
  std::vector<std::string> Messages;       // message boxes and notices, in order
  std::vector<std::string> LogLines;
  std::vector<qova::document::UnreadableFile> Unreadable;  // files the reference choice could not read
};

std::string Joined(const std::vector<std::string>& parts, const char* separator) {
  std::string text;
  for (const std::string& part : parts) text += (text.empty() ? "" : separator) + part;
  return text;
}

// Runs one analysis with what it tells kept apart from the rest of the
// sample's messages: when it fails, its boxes and error-log lines are its
// reason in the summary, and a box is not told again among the notices.
// The log lines are written either way.
template <class Analyse>
std::optional<CQOVADoc::AnalysisRun> Traced(const char* step, Analyse analyse, SampleWork& work) {
  std::vector<std::string> told;
  std::vector<std::string> lines;
  std::optional<CQOVADoc::AnalysisRun> run;
  {
    platform::ScopedThreadMessageCapture messages;
    platform::ScopedErrorLogCapture log;
    run = analyse();
    told = messages.Texts();
    lines = std::move(log.Lines);
  }
  if (!run) {
    std::vector<std::string> reasons = told;
    reasons.insert(reasons.end(), lines.begin(), lines.end());
    work.Failed.push_back({step, Joined(reasons, "; ")});
  } else {
    for (const std::string& text : told) AfxMessageBox(text);
  }
  for (const std::string& line : lines) platform::AppendErrorLog(line);
  return run;
}

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
    if (!plan_.DoSelf && !plan_.DoNonSelf) work.NotApplicable.push_back("neither analysis is chosen");
    if (plan_.DoSelf && !IsSelfAnalysable(sample.Header)) {
      work.NotApplicable.push_back(sample.Header.IsTest == 0
                                       ? "a reference sample gets no self analysis"
                                       : "a sample without a paired normal gets no self analysis");
    } else if (plan_.DoSelf && plan_.SkipAlready && platform::FileExists(results + ".CFS")) {
      work.AlreadyStored.push_back(name + ".CFS");
    } else if (plan_.DoSelf) {
      work.Self = Analyse("the self analysis", sample, work,
                          [&](const CBasicData& basic) { return doc_.ComputeSelfAnalysis(sample, basic); });
      if (work.Self) sample = work.Self->Analysed;
      if (plan_.Transfer) {
        // Only the first and last SNP: mode and N stay the non-self analysis's own.
        sample.Header.NonSelfBaseRange[0] = sample.Header.SelfBaseRange[0];
        sample.Header.NonSelfBaseRange[1] = sample.Header.SelfBaseRange[1];
      }
    }
    if (plan_.DoNonSelf && plan_.SkipAlready && platform::FileExists(results + plan_.NonSelfExtension)) {
      work.AlreadyStored.push_back(name + plan_.NonSelfExtension);
    } else if (plan_.DoNonSelf) {
      ChooseReferences(sample);
      work.NonSelf = Analyse("the non-self analysis", sample, work,
                             [&](const CBasicData& basic) { return doc_.ComputeNonSelfAnalysis(sample, basic, TRUE); });
    }
  }

  // One analysis of `sample` with its family's annotation table, traced.
  template <class Compute>
  std::optional<CQOVADoc::AnalysisRun> Analyse(const char* step, const CArrayData& sample, SampleWork& work,
                                               Compute compute) const {
    return Traced(step, [&]() -> std::optional<CQOVADoc::AnalysisRun> {
      const CBasicData* basic = Annotation(sample);
      if (basic == nullptr) return std::nullopt;
      return compute(*basic);
    }, work);
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

// What the commits of a batch found, for its summary.
struct BatchTally {
  std::size_t Analysed = 0;              // samples that stored a result and failed in nothing
  std::vector<std::string> Failures;     // one line per failure, with its reason
  std::vector<std::string> NotAnalysed;  // samples that stored nothing and did not fail, with why
  std::size_t LoggedLines = 0;           // lines this batch wrote to the error log

  void Log(const std::string& line) {
    if (platform::AppendErrorLog(line)) ++LoggedLines;
  }

  // One sample's outcome: `failures` are its own lines (without the name),
  // `stored` the results it stored.
  void Add(const std::string& name, std::vector<std::string> failures, const std::vector<std::string>& stored,
           const SampleWork& work) {
    if (failures.empty() && !stored.empty()) {
      ++Analysed;
    } else if (failures.empty()) {
      std::vector<std::string> why = work.NotApplicable;
      if (!work.AlreadyStored.empty()) why.push_back("already analysed (" + Joined(work.AlreadyStored, ", ") + ")");
      NotAnalysed.push_back(name + ": " + Joined(why, "; "));
    } else {
      // A half-done sample keeps what it stored: the summary says which.
      if (!stored.empty()) {
        failures.back() += "; " + Joined(stored, ", ") + (stored.size() == 1 ? " was" : " were") + " stored";
      }
      for (const std::string& failure : failures) Failures.push_back(name + ": " + failure);
    }
  }
};

// The one box at the end of a batch that did not go cleanly.
std::string BatchSummary(const BatchTally& tally, std::size_t picked, const std::string& notices) {
  std::string text = platform::Format("%zu of %zu samples were analysed.", tally.Analysed, picked);
  if (!tally.Failures.empty()) text += "\nFailed:\n" + Joined(tally.Failures, "\n");
  if (!tally.NotAnalysed.empty()) text += "\nNot analysed:\n" + Joined(tally.NotAnalysed, "\n");
  if (tally.LoggedLines > 0) {
    text += platform::Format("\nThis batch wrote %zu line%s to the error log %s.", tally.LoggedLines,
                             tally.LoggedLines == 1 ? "" : "s", platform::NativePath(platform::kErrorLogPath).c_str());
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
  BatchTally tally;
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
      for (const std::string& line : work.LogLines) tally.Log(line);
      for (const std::string& message : work.Messages) Notify(message);
      for (const qova::document::UnreadableFile& file : work.Unreadable) qova::document::UnreadableFiles::Note(file.Path, file.Why);
      std::vector<std::string> failures;
      std::vector<std::string> stored;
      if (!work.LoadFailure.empty()) {
        tally.Log(names[k] + ": " + work.LoadFailure);
        failures.push_back(work.LoadFailure);
      }
      try {
        for (std::optional<AnalysisRun>* run : {&work.Self, &work.NonSelf}) {
          if (!*run) continue;
          CommitAnalysis(nullptr, **run, TRUE);
          stored.push_back(names[k] + AnalysisFileExtension((*run)->Kind));
        }
      } catch (const std::exception& error) {
        const std::string failure = std::string("cannot be stored: ") + error.what();
        tally.Log(names[k] + ": " + failure);
        failures.push_back(failure);
      }
      for (const StepFailure& step : work.Failed) {
        failures.push_back(step.Step + " failed" + (step.Reason.empty() ? "" : ": " + step.Reason));
      }
      tally.Add(names[k], std::move(failures), stored, work);
      workers.Committed(k);
    }
    // In the summary, once, however many samples met them.
    if (const std::optional<std::string> unreadable = qova::document::UnreadableFiles::TakeUntold()) Notify(*unreadable);
    notices = std::move(*notices_);
  }
  const std::size_t analysed = tally.Analysed;
  platform::ui::ShowStatusText(reached < n ? platform::Format("Cancelled after %zu of %zu samples; %zu analysed",
                                                              reached, n, analysed)
                                           : platform::Format("Analysed %zu of %zu samples", analysed, n));
  if (!tally.Failures.empty() || !tally.NotAnalysed.empty() || !notices.empty()) {
    AfxMessageBox(BatchSummary(tally, n, SummarizeNotices(notices)));
  }
}
