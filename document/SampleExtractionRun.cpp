#include "document/SampleExtractionRun.h"

#include <algorithm>

#include "platform/Paths.h"
#include "platform/Strings.h"

namespace {

// The message on one line of the summary.
std::string OneLine(std::string text) {
  std::replace(text.begin(), text.end(), '\n', ' ');
  return text;
}

class Run {
 public:
  Run(ExtractionProgress& progress, const ExtractOneSample& extract) : progress_(progress), extract_(extract) {}

  void NonPaired(const std::vector<std::string>& files, const char* status, ExtractionMode mode) {
    progress_.SetPosition(1);
    for (std::size_t k = 0; k < files.size(); ++k) {
      if (!progress_.KeepGoing()) return Stop();
      progress_.SetStatus(platform::Format(status, files[k].c_str()));
      progress_.SetPosition(ExtractionPercent(k, files.size()));
      Extract({files[k], mode, {}});
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
      Extract({references[k], kExtractPairedReference, tests[k]});
      Extract({tests[k], kExtractPairedTest, references[k]});
      progress_.Pump();
    }
  }

  void SetListed(int files) { result_.ListedCount = files; }
  ExtractionRunResult Take() { return std::move(result_); }

 private:
  void Extract(const ExtractionRequest& request) {
    result_.Results.push_back(extract_(request));
    result_.FileNames.push_back(request.ChpFileName);
  }
  void Stop() { result_.Cancelled = true; }

  ExtractionProgress& progress_;
  const ExtractOneSample& extract_;
  ExtractionRunResult result_;
};

}  // namespace

std::size_t ExtractionLists::ItemCount() const {
  return NonPairedTests.size() + NonPairedReferences.size() + std::min(PairedTests.size(), PairedReferences.size());
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
    if (!Results[i].Stored) text += "\n" + FileNames[i] + ": " + OneLine(Results[i].Message);
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
  if (replaced > 0) {
    text += platform::Format(", replacing %d existing sample file%s (their attributes kept)", static_cast<int>(replaced),
                             replaced == 1 ? "" : "s");
  }
  std::string calls;
  for (const ExtractionResult& r : Results) {
    if (!r.Stored || r.CalledSnps < 0) continue;
    calls += calls.empty() ? "" : "; ";
    calls += r.CalledSnps > 0 ? platform::Format("%s %d of %d", r.SampleName.c_str(), r.CalledSnps, r.SnpCount)
                              : r.SampleName + " none: " + r.NoCallReason;
  }
  if (!calls.empty()) text += ". SNPs called: " + calls;
  return text;
}

int ExtractionPercent(std::size_t k, std::size_t n) {
  if (n == 0) return 0;
  return static_cast<int>(std::clamp<std::size_t>(100 * k / n, 0, 100));
}

ExtractionRunResult RunExtraction(const ExtractionLists& lists, ExtractionProgress& progress,
                                  const ExtractOneSample& extract) {
  Run run(progress, extract);
  run.SetListed(static_cast<int>(lists.NonPairedTests.size() + lists.NonPairedReferences.size() +
                                 2 * std::min(lists.PairedTests.size(), lists.PairedReferences.size())));
  run.NonPaired(lists.NonPairedTests, kExtractingTestStatus, kExtractUnpairedTest);
  run.NonPaired(lists.NonPairedReferences, kExtractingReferenceStatus, kExtractUnpairedReference);
  run.Pairs(lists.PairedTests, lists.PairedReferences);
  return run.Take();
}
