#pragma once
// Recall of planted events at a chosen noise level. For each level a study of
// one array type is generated (a tumour with its paired normal, an unpaired
// tumour carrying the same events, a normal test sample and ten unrelated
// references, all female), the main document's commands analyse it headlessly
// as a user would from the Sample Manager (the self analysis of the pair, the
// non-self analyses with automatically chosen references), and the calls are
// compared with what was planted.
//
// The events (kEventKinds at every size of kEventSizes on the autosomes, and
// at the sizes up to kLargestXEvent on X) are laid out chromosome by
// chromosome with a gap of at least their own size around each; an event that
// does not fit the type's chromosomes is reported as not placed.
//
// Noise is asked for as the SD of the corrected total log2 ratio of a normal
// sample against its references. That SD grows with the generator's
// per-allele noise n as sqrt(kSdFloor^2 + (kSdPerNoise * n)^2) (measured on
// GenomeWideSNP_5: the floor is what the references' own noise and the
// residual bias leave), so n is set from it; the SD the program itself
// reports for the normal sample's non-self analysis is printed beside.
#include <array>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "tools/samplegen/SampleGen.h"

namespace recall {

inline constexpr std::int32_t kEventSizes[] = {50, 200, 1000, 5000};
inline constexpr std::int32_t kLargestXEvent = 1000;

struct EventKind {
  const char* Name;
  int Major, Minor;  // allele copies
};
inline constexpr EventKind kEventKinds[] = {
    {"1 copy", 1, 0}, {"3 copies", 2, 1}, {"0 copies", 0, 0}, {"4 copies", 2, 2}, {"CN-LOH", 2, 0}};

inline constexpr double kSdFloor = 0.079;
inline constexpr double kSdPerNoise = 1.19;
// The generator's noise (natural-log SD per allele signal) for a target SD,
// and back.
[[nodiscard]] double NoiseForSd(double sd);
[[nodiscard]] double SdForNoise(double noise);

struct RecallOptions {
  std::string Folder;  // working folder, made when missing
  std::string ArrayType = "GenomeWideSNP_5";
  std::vector<double> TargetSd = {0.15, 0.25, 0.35};
  std::uint64_t Seed = 2024;
  // Model settings to try instead of the program's defaults (unset: keep).
  std::optional<int> MovingAverageWindow;
  std::optional<bool> NormalEmission;                   // Gaussian instead of log-F
  std::optional<std::array<float, 7>> HmmMeans;         // total model, states 0..6, in the tests' headers
};

struct Event {
  samplegen::PlantedSegment Segment;
  int Kind = 0;           // index into kEventKinds
  std::int32_t Size = 0;  // planned SNPs
  bool OnX = false;
  bool Placed = false;
};

struct EventRecall {
  Event Planted;
  double Recall = 0.0;  // share of informative planted SNPs called in the planted state
};

struct AnalysisRecall {
  std::string Analysis;   // "self" or "non-self"
  std::string ResultFile; // empty when the analysis stored nothing
  std::vector<EventRecall> Events;
  double FalseCallShare = 0.0;  // unplanted valid SNPs called other than normal
  int FalseSegments = 0;        // called segments of kMinCalledSnps or more overlapping nothing planted
};

struct LevelRecall {
  double TargetSd = 0.0;
  double Noise = 0.0;        // the generator's
  double MeasuredSd = 0.0;   // the normal sample's, as its analysis reports it
  std::vector<AnalysisRecall> Analyses;
  std::vector<std::string> Messages;  // message boxes the commands showed
};

// The events laid out on the generator's type.
[[nodiscard]] std::vector<Event> LayOutEvents(const samplegen::SampleGenerator& generator);

// Runs every level. Progress lines go to `log`. Throws std::runtime_error when
// a file cannot be written or the tables cannot be loaded.
[[nodiscard]] std::vector<LevelRecall> RunRecall(const RecallOptions& options, std::ostream& log);

// One table per analysis and level: recall by kind and size, then false calls.
void PrintRecall(const std::vector<LevelRecall>& levels, std::ostream& out);

}  // namespace recall
