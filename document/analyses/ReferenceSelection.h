#pragma once
// Choosing the non-self references of a test sample, without any dialog: which
// extracted samples may serve as references (the filter), their ranking by how
// well each matches the test (its score: smaller is better), how many the
// automatic choice takes, and the texts of the reference list and of the
// choice dialog's lines.
//
// The reference list in a sample header is, per reference in ranking order,
// the score printed with "%f", "$", the sample name, "$".
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/SampleHeader.h"
#include "document/UnreadableFiles.h"

class CArrayData;
class CProgramSetting;
class CSampleFileList;

namespace qova::document::analyses {

// How the automatic choice treats a sample (the batch dialog's "Reference
// selection" list; every other caller uses kReferenceAutomatic).
enum ReferenceMode {
  kReferenceAutomatic = 0,        // optimise the number among the best MAXREF
  kReferenceFixedNumber = 1,      // take the best MAXREF
  kReferenceCurrentOrAuto = 2,    // keep current references, else as 0
  kReferenceCurrentOrFixed = 3,   // keep current references, else as 1
};

struct RankedReference {
  float Score = 0.0f;
  std::string Name;

  friend bool operator==(const RankedReference&, const RankedReference&) = default;
};

// Candidates in ascending score; equal scores keep the order of insertion.
class ReferenceRanking {
 public:
  void Insert(float score, std::string name);
  [[nodiscard]] const std::vector<RankedReference>& Entries() const { return entries_; }
  [[nodiscard]] std::size_t Size() const { return entries_.size(); }
  [[nodiscard]] bool Empty() const { return entries_.empty(); }
  // The first `count` entries (all when there are fewer).
  [[nodiscard]] std::vector<RankedReference> Best(std::size_t count) const;

 private:
  std::vector<RankedReference> entries_;
};

// Attribute 1..4 of a header, or attribute 5 for any other number (the
// settings accept 1..5 but older ones hold 0).
[[nodiscard]] std::string LimitAttribute(const SampleHeader& header, int attribute);

// Which samples may serve as non-self references of one test sample.
struct ReferenceFilter {
  std::string ArrayType;      // the test's; compared exactly
  std::string TestName;       // never the test itself
  bool ExcludeSelf = false;   // keep the test's paired normal out
  std::string SelfReference;
  bool SameSex = false;       // the test's sex, which must be known
  std::string Sex;
  bool LimitByAttribute = false;
  int Attribute = 5;          // as LimitAttribute reads it
  std::string AttributeValue;

  // The filter the AUTO settings give for `test`.
  [[nodiscard]] static ReferenceFilter For(const SampleHeader& test, const CProgramSetting& setting, bool sameSex);
  [[nodiscard]] bool Admits(const SampleHeader& candidate) const;
};

// One reference of a header's list: "%f$<name>$".
[[nodiscard]] std::string FormatReferenceEntry(float score, std::string_view name);
// The whole list, in the given order.
[[nodiscard]] std::string FormatReferenceList(const std::vector<RankedReference>& references);
// One line of the manual choice dialog: "<name>    %f".
[[nodiscard]] std::string FormatCandidateLine(const RankedReference& candidate);

// The score of a candidate against the test; a value that is not finite means
// the candidate cannot be scored.
using ReferenceScorer = std::function<float(const CArrayData& candidate)>;

// Where the candidates are looked for.
struct CandidateSource {
  std::string ArrayDataFolder;       // with its trailing separator
  CSampleFileList* Index = nullptr;  // read the sample-file index instead of the folder
  bool RefreshIndex = true;          // bring the index up to date first
};

struct CandidateSearch {
  ReferenceRanking Ranking;
  bool NoSampleFile = false;         // the folder holds no .CFH at all
  std::vector<std::string> Skipped;  // files that could not be read or scored, with why
  std::vector<UnreadableFile> Unreadable;  // of those, the ones that could not be read
};

// The headers of every sample of a source, read once (a batch shares them
// between threads); a file whose header cannot be read keeps why.
struct CandidateEntry {
  std::string Path;
  std::optional<SampleHeader> Header;
  std::string Problem;
};
struct CandidateSnapshot {
  std::vector<CandidateEntry> Entries;
  bool NoSampleFile = false;  // the folder holds no .CFH at all
};
[[nodiscard]] CandidateSnapshot SnapshotCandidates(const CandidateSource& source);

// Reads every admissible sample of a snapshot (files are only read), scores it
// and ranks it, as FindCandidates of a source does.
[[nodiscard]] CandidateSearch FindCandidates(const ReferenceFilter& filter, const CandidateSnapshot& snapshot,
                                             const ReferenceScorer& score);

// Reads every admissible sample of the source (files are only read), scores it
// and ranks it. A file that cannot be read, or a candidate that cannot be
// scored, is skipped and named in Skipped; the search goes on.
[[nodiscard]] CandidateSearch FindCandidates(const ReferenceFilter& filter, const CandidateSource& source,
                                             const ReferenceScorer& score);

// How many of `ranked` candidates the automatic choice takes under `maxReferences`
// and `mode`: min(ranked, maxReferences), or, in modes 0 and 2 with at least one
// candidate, what `optimise` makes of that number (held to 1..that number).
[[nodiscard]] int AutomaticReferenceCount(int ranked, int maxReferences, int mode,
                                          const std::function<int(int candidates)>& optimise);

}  // namespace qova::document::analyses
