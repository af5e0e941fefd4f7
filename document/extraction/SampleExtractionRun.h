#pragma once
// The run of Extract Data over the four lists of the Extract Data dialog:
// non-paired tests, non-paired references, then the pairs (each pair's
// reference first), with the progress display and Cancel between items.
#include <functional>
#include <string>
#include <vector>

#include "document/extraction/SampleExtraction.h"

// The four lists, as the Extract Data dialog hands them back: CHP file names
// without folder; paired reference k belongs to paired test k.
struct ExtractionLists {
  std::vector<std::string> NonPairedTests;
  std::vector<std::string> NonPairedReferences;
  std::vector<std::string> PairedTests;
  std::vector<std::string> PairedReferences;

  // Items of the run: one per non-paired file and one per pair.
  [[nodiscard]] std::size_t ItemCount() const;
  // Files of the run: two per pair.
  [[nodiscard]] std::size_t FileCount() const;
};

// What the run needs of the progress dialog. The position and status calls
// do nothing once the window is gone.
class ExtractionProgress {
 public:
  virtual ~ExtractionProgress() = default;
  // False once the user has pressed Cancel.
  [[nodiscard]] virtual bool KeepGoing() const = 0;
  virtual void SetPosition(int percent) = 0;
  virtual void SetStatus(const std::string& text) = 0;
  // Lets the user act between items.
  virtual void Pump() = 0;
};

// Extracts one file; the document's ExtractSample.
using ExtractOneSample = std::function<ExtractionResult(const ExtractionRequest&)>;

// A run's extraction in two steps. Prepare reads and sums one file's sample:
// with workers it runs on them, several files at once, and must touch
// nothing the user sees and write nothing. Commit stores it and tells the
// user, on the thread that runs the list, file by file in list order.
struct ExtractionSteps {
  std::function<PreparedSample(const ExtractionRequest&)> Prepare;
  std::function<ExtractionResult(PreparedSample&)> Commit;
};

struct ExtractionRunResult {
  std::vector<ExtractionResult> Results;  // one per file extracted or tried, in run order
  std::vector<std::string> FileNames;     // the listed CHP file of each result
  bool Cancelled = false;                 // Cancel stopped the run before its end
  int ListedCount = 0;                    // files the lists named, two per pair

  [[nodiscard]] int StoredCount() const;
  [[nodiscard]] int FailedCount() const;
  // What the run did, on one line for the status bar: "Extracted 9 of 9
  // samples into <folder>" or "Cancelled after 4 of 6 samples; 4 extracted
  // into <folder>", how many earlier sample files were replaced, and for
  // calls made from the cells in how many samples SNPs were called and which
  // got none ("; SNPs called in 8 samples, none in REF03"; a count instead
  // of the names when more than two got none).
  [[nodiscard]] std::string StatusSummary(const std::string& arrayDataFolder) const;
  // For calls made from the cells, when some sample got none: "SNPs called
  // per sample:" and a line per sample with its count ("S01 58 of 60") or
  // why it got none ("REF03 none: <reason>"). Empty otherwise.
  [[nodiscard]] std::string CallsReport() const;
  // "N of M files could not be extracted:" and a line per failed file with
  // its message, whose further lines follow indented; empty when nothing
  // failed.
  [[nodiscard]] std::string FailureSummary() const;
};

// Status texts of the progress dialog.
inline constexpr const char* kExtractingTestStatus = "Extracting non-paired test file %s";
inline constexpr const char* kExtractingReferenceStatus = "Extracting non-paired reference file %s";
inline constexpr const char* kExtractingPairStatus = "Extracting paired files %s and %s";

// Runs the lists in order. Each loop sets the bar to 1 before its first item
// and to 100 * k / n (integer arithmetic) for item k; the flag is tested
// before every item, so Cancel ends the run after the item under way.
// Lists of unequal pair counts run the common part only.
ExtractionRunResult RunExtraction(const ExtractionLists& lists, ExtractionProgress& progress,
                                  const ExtractOneSample& extract);

// The same with the files prepared on `workers` threads (none: every step on
// the calling thread) while the calling thread shows the progress, pumps
// messages while it waits and commits in list order, so that the files,
// the messages and the progress are those of a run on one thread. At most
// twice as many samples as workers are prepared and not yet committed. A
// sample whose library file changed on disk after it was prepared is
// prepared again before its commit, as a run on one thread would have read
// the new file.
ExtractionRunResult RunExtraction(const ExtractionLists& lists, ExtractionProgress& progress,
                                  const ExtractionSteps& steps, int workers);

// The number of workers of an Extract Data run of `samples` files:
// QOVA_EXTRACT_WORKERS when set, else the machine's hardware threads, at
// most one per file.
[[nodiscard]] int ExtractionWorkers(std::size_t samples);

// The progress of `k` of `n` items, clamped to 0..100.
[[nodiscard]] int ExtractionPercent(std::size_t k, std::size_t n);
