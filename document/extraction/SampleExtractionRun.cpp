#include "document/extraction/SampleExtractionRun.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

#include "platform/OrderedWorkers.h"

#include "platform/Paths.h"
#include "platform/Strings.h"

namespace {

// A message under its file's name in the summary: its first line beside the
// name, each further line (the reader's reason, say) indented on a line of
// its own beneath it.
std::string UnderFileName(const std::string& text) {
  std::string indented;
  for (const char c : text) {
    indented += c;
    if (c == '\n') indented += "    ";
  }
  return indented;
}

// The files of the lists in the order the run commits them.
std::vector<ExtractionRequest> RunOrder(const ExtractionLists& lists) {
  std::vector<ExtractionRequest> requests;
  for (const std::string& file : lists.NonPairedTests) requests.push_back({file, kExtractUnpairedTest, {}});
  for (const std::string& file : lists.NonPairedReferences) requests.push_back({file, kExtractUnpairedReference, {}});
  const std::size_t pairs = std::min(lists.PairedTests.size(), lists.PairedReferences.size());
  for (std::size_t k = 0; k < pairs; ++k) {
    requests.push_back({lists.PairedReferences[k], kExtractPairedReference, lists.PairedTests[k]});
    requests.push_back({lists.PairedTests[k], kExtractPairedTest, lists.PairedReferences[k]});
  }
  return requests;
}

// The prepared samples in run order: from the workers, or prepared on the
// calling thread when there are none.
class PreparedSamples {
 public:
  PreparedSamples(std::vector<ExtractionRequest> requests, const ExtractionSteps& steps, int workers,
                  ExtractionProgress& progress)
      : requests_(std::move(requests)), steps_(steps), progress_(progress) {
    if (workers > 0) {
      workers_.emplace(requests_.size(), workers, [this](std::size_t k) { return steps_.Prepare(requests_[k]); });
    }
  }

  // Sample `k`, the next one; the user can act while it is waited for.
  PreparedSample Take(std::size_t k) {
    if (!workers_) return steps_.Prepare(requests_[k]);
    try {
      return workers_->Take(k, [this] { progress_.Pump(); });
    } catch (const std::exception& e) {
      // Prepare keeps its failures to itself; whatever slips out still ends
      // this sample only.
      PreparedSample failed;
      failed.Request = requests_[k];
      failed.Result.Message = platform::Format("The files of %s cannot be extracted: %s",
                                               requests_[k].ChpFileName.c_str(), e.what());
      return failed;
    }
  }

  void Committed(std::size_t k) {
    if (workers_) workers_->Committed(k);
  }

 private:
  std::vector<ExtractionRequest> requests_;
  const ExtractionSteps& steps_;
  ExtractionProgress& progress_;
  std::optional<platform::OrderedWorkers<PreparedSample>> workers_;
};

class Run {
 public:
  Run(ExtractionProgress& progress, const ExtractionSteps& steps, PreparedSamples& samples)
      : progress_(progress), steps_(steps), samples_(samples) {}

  void NonPaired(const std::vector<std::string>& files, const char* status) {
    progress_.SetPosition(1);
    for (std::size_t k = 0; k < files.size(); ++k) {
      if (!progress_.KeepGoing()) return Stop();
      progress_.SetStatus(platform::Format(status, files[k].c_str()));
      progress_.SetPosition(ExtractionPercent(k, files.size()));
      CommitNext();
      progress_.Pump();
    }
  }

  void Pairs(const std::vector<std::string>& tests, const std::vector<std::string>& references) {
    const std::size_t n = std::min(tests.size(), references.size());
    progress_.SetPosition(1);
    for (std::size_t k = 0; k < n; ++k) {
      if (!progress_.KeepGoing()) return Stop();
      progress_.SetStatus(platform::Format(kExtractingPairStatus, tests[k].c_str(), references[k].c_str()));
      progress_.SetPosition(ExtractionPercent(k, n));
      CommitNext();  // the reference
      CommitNext();  // the test
      progress_.Pump();
    }
  }

  void SetListed(int files) { result_.ListedCount = files; }
  ExtractionRunResult Take() { return std::move(result_); }

 private:
  void CommitNext() {
    PreparedSample prepared = samples_.Take(next_);
    // On one thread this sample would have been read after the change.
    if (LibraryChangedSince(prepared)) prepared = steps_.Prepare(prepared.Request);
    result_.FileNames.push_back(prepared.Request.ChpFileName);
    result_.Results.push_back(steps_.Commit(prepared));
    samples_.Committed(next_++);
  }
  void Stop() { result_.Cancelled = true; }

  ExtractionProgress& progress_;
  const ExtractionSteps& steps_;
  PreparedSamples& samples_;
  std::size_t next_ = 0;
  ExtractionRunResult result_;
};

}  // namespace

std::size_t ExtractionLists::ItemCount() const {
  return NonPairedTests.size() + NonPairedReferences.size() + std::min(PairedTests.size(), PairedReferences.size());
}

std::size_t ExtractionLists::FileCount() const {
  return NonPairedTests.size() + NonPairedReferences.size() + 2 * std::min(PairedTests.size(), PairedReferences.size());
}

int ExtractionRunResult::StoredCount() const {
  return static_cast<int>(std::count_if(Results.begin(), Results.end(), [](const auto& r) { return r.Stored; }));
}

int ExtractionRunResult::FailedCount() const { return static_cast<int>(Results.size()) - StoredCount(); }

std::string ExtractionRunResult::FailureSummary() const {
  if (FailedCount() == 0) return {};
  std::string text = platform::Format("%d of %d files could not be extracted:", FailedCount(),
                                      static_cast<int>(Results.size()));
  for (std::size_t i = 0; i < Results.size(); ++i) {
    if (!Results[i].Stored) text += "\n" + FileNames[i] + ": " + UnderFileName(Results[i].Message);
  }
  return text;
}

std::string ExtractionRunResult::StatusSummary(const std::string& arrayDataFolder) const {
  const std::string folder = platform::NativePath(arrayDataFolder);
  std::string text = Cancelled ? platform::Format("Cancelled after %d of %d samples; %d extracted into %s",
                                                  static_cast<int>(Results.size()), ListedCount, StoredCount(),
                                                  folder.c_str())
                               : platform::Format("Extracted %d of %d samples into %s", StoredCount(), ListedCount,
                                                  folder.c_str());
  const auto replaced = std::count_if(Results.begin(), Results.end(), [](const auto& r) { return r.Stored && r.Replaced; });
  if (replaced > 0) text += platform::Format(", %d replaced (attributes kept)", static_cast<int>(replaced));
  // The counts and reasons of each sample wait for the report at the end:
  // the status bar takes one line.
  int withCalls = 0;
  std::vector<std::string> none;
  for (const ExtractionResult& r : Results) {
    if (!r.Stored || r.CalledSnps < 0) continue;
    if (r.CalledSnps > 0) {
      ++withCalls;
    } else {
      none.push_back(r.SampleName);
    }
  }
  if (withCalls == 0 && none.empty()) return text;
  text += none.empty() ? std::string("; SNPs called in every sample")
                       : platform::Format("; SNPs called in %d sample%s", withCalls, withCalls == 1 ? "" : "s");
  constexpr std::size_t kNamesShown = 2;
  if (none.size() > kNamesShown) {
    text += platform::Format(", none in %d", static_cast<int>(none.size()));
  } else if (!none.empty()) {
    text += ", none in " + none.front() + (none.size() > 1 ? " and " + none.back() : "");
  }
  return text;
}

std::string ExtractionRunResult::CallsReport() const {
  const auto uncalled = [](const ExtractionResult& r) { return r.Stored && r.CalledSnps == 0; };
  if (std::none_of(Results.begin(), Results.end(), uncalled)) return {};
  std::string text = "SNPs called per sample:";
  for (const ExtractionResult& r : Results) {
    if (!r.Stored || r.CalledSnps < 0) continue;
    text += "\n" + (r.CalledSnps > 0 ? platform::Format("%s %d of %d", r.SampleName.c_str(), r.CalledSnps, r.SnpCount)
                                     : r.SampleName + " none: " + r.NoCallReason);
  }
  return text;
}

int ExtractionPercent(std::size_t k, std::size_t n) {
  if (n == 0) return 0;
  return static_cast<int>(std::clamp<std::size_t>(100 * k / n, 0, 100));
}

ExtractionRunResult RunExtraction(const ExtractionLists& lists, ExtractionProgress& progress,
                                  const ExtractOneSample& extract) {
  const ExtractionSteps steps{[](const ExtractionRequest& request) {
                                PreparedSample prepared;
                                prepared.Request = request;
                                return prepared;
                              },
                              [&extract](PreparedSample& prepared) { return extract(prepared.Request); }};
  return RunExtraction(lists, progress, steps, 0);
}

ExtractionRunResult RunExtraction(const ExtractionLists& lists, ExtractionProgress& progress,
                                  const ExtractionSteps& steps, int workers) {
  PreparedSamples samples(RunOrder(lists), steps, workers, progress);
  Run run(progress, steps, samples);
  run.SetListed(static_cast<int>(lists.FileCount()));
  run.NonPaired(lists.NonPairedTests, kExtractingTestStatus);
  run.NonPaired(lists.NonPairedReferences, kExtractingReferenceStatus);
  run.Pairs(lists.PairedTests, lists.PairedReferences);
  return run.Take();
}

int ExtractionWorkers(std::size_t samples) {
  const char* value = std::getenv("QOVA_EXTRACT_WORKERS");
  return platform::WorkerCount(samples, value != nullptr ? std::atoi(value) : 0);
}
