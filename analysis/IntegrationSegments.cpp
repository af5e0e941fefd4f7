#include "analysis/IntegrationSegments.h"

#include <algorithm>
#include <cstdlib>

#include "core/AnalyzedData.h"
#include "core/BasicData.h"
#include "core/MarkerRegion.h"

namespace qova::analysis {

namespace {

// A SNP counts as LOH above this likelihood.
constexpr float kLohThreshold = 30.0f;
// Copy-number states of the total HMM.
constexpr std::int32_t kHomozygousDeletionState = 0;
constexpr std::int32_t kLossState = 1;
constexpr std::int32_t kNormalState = 2;
constexpr std::int32_t kFirstGainState = 3;
constexpr std::int32_t kFirstHighAmplificationState = 5;
// The allele-imbalance markers of the allele-specific analysis (user markers
// 5, 6 and 7): 39 and 37 mark imbalance, 38 clears it.
constexpr std::int32_t kImbalanceMarkerLow = MarkerRegion::kUserMarkerBase + 5;
constexpr std::int32_t kImbalanceClearMarker = MarkerRegion::kUserMarkerBase + 6;
constexpr std::int32_t kImbalanceMarkerHigh = MarkerRegion::kUserMarkerBase + 7;

enum class ModeKind { AddDel, HomDel, HiAmp, Loh, AlleleImbalance, Change, MarkedImbalance, UserMarker, None };

struct ParsedMode {
  ModeKind Kind = ModeKind::None;
  std::int32_t MarkerKind = 0;  // UserMarker: 32 + its digit
};

ParsedMode ParseMode(const std::string& mode) {
  static const struct {
    const char* name;
    ModeKind kind;
  } kModes[] = {{"AddDel", ModeKind::AddDel}, {"HomDel", ModeKind::HomDel}, {"HiAmp", ModeKind::HiAmp},
                {"LOH", ModeKind::Loh},       {"AH", ModeKind::AlleleImbalance}, {"Change", ModeKind::Change},
                {"AH_Mark", ModeKind::MarkedImbalance}};
  for (const auto& entry : kModes) {
    if (mode == entry.name) return {entry.kind, 0};
  }
  const std::string userMarker = "UserMarker";
  if (mode.size() == userMarker.size() + 1 && mode.compare(0, userMarker.size(), userMarker) == 0) {
    const char digit = mode.back();
    if (digit >= '0' && digit <= '9') return {ModeKind::UserMarker, MarkerRegion::kUserMarkerBase + (digit - '0')};
  }
  return {};
}

// The "AddDel" mark set of a copy-number state, which is also the kind of
// its segments; 0 for the normal state.
std::uint8_t AddDelClass(std::int32_t state) {
  if (state == kHomozygousDeletionState) return IntegrationSegment::kHomozygousDeletion;
  if (state == kLossState) return IntegrationSegment::kLoss;
  if (state >= kFirstHighAmplificationState) return IntegrationSegment::kHighAmplification;
  if (state >= kFirstGainState) return IntegrationSegment::kGain;
  return 0;
}

class SegmentFinder {
 public:
  SegmentFinder(const CAnalyzedData& sample, const IntegrationLayout& layout, const IntegrationRule& rule,
                std::int32_t sampleIndex)
      : sample_(sample), layout_(layout), rule_(rule), mode_(ParseMode(rule.Mode)), sampleIndex_(sampleIndex),
        snpEnd_(layout.ChromosomeStarts[kNoChromosome]) {}

  std::vector<IntegrationSegment> Find() {
    MarkSnps();
    CollectValidSnps();
    const int passes = mode_.Kind == ModeKind::AddDel ? IntegrationSegment::kHomozygousDeletion : 1;
    for (int pass = 1; pass <= passes; ++pass) {
      for (int c = 1; c <= kChromosomeX; ++c) {
        if (mode_.Kind == ModeKind::Change) {
          FindStateChanges(c);
        } else if (mode_.Kind == ModeKind::MarkedImbalance) {
          FindMarkedStretches(c);
        } else {
          FindValidRuns(c, static_cast<std::uint8_t>(pass));
        }
      }
    }
    return std::move(segments_);
  }

 private:
  [[nodiscard]] std::int32_t State(std::int32_t snp) const { return sample_.EditedCopyNumberState[std::size_t(snp)]; }
  [[nodiscard]] std::int32_t Position(std::int32_t snp) const { return layout_.Positions[std::size_t(snp)]; }
  [[nodiscard]] std::int32_t Midpoint(std::int32_t a, std::int32_t b) const {
    return static_cast<std::int32_t>((std::int64_t(Position(a)) + Position(b)) / 2);
  }
  [[nodiscard]] bool HasLohLikelihood() const { return sample_.LohLikelihood.size() >= std::size_t(snpEnd_); }

  // One mark per SNP: the "AddDel" class (1..4) of its state, or 1 for a
  // SNP the other modes count.
  void MarkSnps() {
    marks_.assign(std::size_t(snpEnd_), 0);
    for (std::int32_t i = 0; i < snpEnd_; ++i) marks_[std::size_t(i)] = MarkOf(i);
    if (mode_.Kind == ModeKind::MarkedImbalance) {
      MarkRegions(kImbalanceMarkerHigh, 1);
      MarkRegions(kImbalanceMarkerLow, 1);
      MarkRegions(kImbalanceClearMarker, 0);
    } else if (mode_.Kind == ModeKind::UserMarker) {
      MarkRegions(mode_.MarkerKind, 1);
    }
  }

  [[nodiscard]] std::uint8_t MarkOf(std::int32_t i) const {
    switch (mode_.Kind) {
      case ModeKind::AddDel: return AddDelClass(State(i));
      case ModeKind::HiAmp: return State(i) >= kFirstHighAmplificationState;
      case ModeKind::HomDel: return State(i) == kHomozygousDeletionState;
      case ModeKind::Loh: return HasLohLikelihood() && sample_.LohLikelihood[std::size_t(i)] > kLohThreshold;
      case ModeKind::AlleleImbalance:
        return HasLohLikelihood() && sample_.LohLikelihood[std::size_t(i)] > kLohThreshold && State(i) >= kNormalState;
      default: return 0;
    }
  }

  // Sets the marks of the SNPs of every region of `kind`, cut to the
  // sample's SNPs, to `mark`.
  void MarkRegions(std::int32_t kind, std::uint8_t mark) {
    const std::int32_t last = std::min(sample_.Header.LastSnpIndex, snpEnd_ - 1);
    for (const MarkerRegion& region : sample_.Markers) {
      if (region.Kind != kind) continue;
      const auto range = region.ClampedTo(sample_.Header.FirstSnpIndex, last);
      if (!range) continue;
      std::fill(marks_.begin() + range->first, marks_.begin() + range->second + 1, mark);
    }
  }

  void CollectValidSnps() {
    for (int c = 1; c <= kChromosomeX; ++c) {
      std::vector<std::int32_t>& valid = valid_[c];
      for (std::int32_t i = layout_.ChromosomeStarts[c]; i < layout_.ChromosomeStarts[c + 1]; ++i) {
        if (sample_.ValidFlag[std::size_t(i)] != 0) valid.push_back(i);
      }
    }
  }

  void Append(std::int32_t start, std::int32_t end, int chromosome, std::int32_t kind) {
    segments_.push_back({sampleIndex_, start, end, chromosome, kind});
  }

  // Every pair of neighbouring valid SNPs in different states.
  void FindStateChanges(int c) {
    const std::vector<std::int32_t>& valid = valid_[c];
    for (std::size_t k = 0; k + 1 < valid.size(); ++k) {
      if (State(valid[k]) != State(valid[k + 1])) Append(Position(valid[k]), Position(valid[k + 1]), c, 1);
    }
  }

  // Every stretch of marked SNPs of the chromosome, valid or not, however short.
  void FindMarkedStretches(int c) {
    const std::int32_t begin = layout_.ChromosomeStarts[c], end = layout_.ChromosomeStarts[c + 1];
    for (std::int32_t i = begin; i < end; ++i) {
      if (marks_[std::size_t(i)] == 0) continue;
      std::int32_t last = i;
      while (last + 1 < end && marks_[std::size_t(last + 1)] != 0) ++last;
      Append(Position(i), Position(last), c, 1);
      i = last;
    }
  }

  // Runs of at least MinRun consecutive valid SNPs carrying `mark`.
  void FindValidRuns(int c, std::uint8_t mark) {
    const std::vector<std::int32_t>& valid = valid_[c];
    const std::size_t n = valid.size();
    auto marked = [&](std::size_t k) { return marks_[std::size_t(valid[k])] == mark; };
    std::size_t j = 0;
    while (j + 1 < n) {
      if (!marked(j) || !marked(j + 1)) {
        ++j;
        continue;
      }
      const std::size_t first = j;
      std::size_t last = j + 1;
      while (last + 1 < n && marked(last + 1)) ++last;
      j = last + 1;
      if (std::int64_t(last - first + 1) < rule_.MinRun) continue;
      const std::int32_t start = first == 0 ? 0 : Boundary(valid[first], valid[first - 1], mark);
      const std::int32_t end = last + 1 == n ? ChromosomeEnd(c, valid[last]) : Boundary(valid[last], valid[last + 1], mark);
      Append(start, end, c, mode_.Kind == ModeKind::AddDel ? mark : 1);
    }
  }

  [[nodiscard]] std::int32_t ChromosomeEnd(int c, std::int32_t lastValid) const {
    const std::int32_t end = layout_.ChromosomeEnds[c];
    return end >= 0 ? end : Position(lastValid);
  }

  // Where a run whose outermost SNP is `own` ends on the side of its
  // neighbouring valid SNP `neighbour`.
  [[nodiscard]] std::int32_t Boundary(std::int32_t own, std::int32_t neighbour, std::uint8_t mark) const {
    switch (rule_.Boundary) {
      case IntegrationBoundary::Intermediate: return Midpoint(own, neighbour);
      case IntegrationBoundary::Maximum:
        return mode_.Kind == ModeKind::AddDel ? AddDelOuterBoundary(own, neighbour, mark) : Position(neighbour);
      case IntegrationBoundary::Minimum: break;
    }
    return Position(own);
  }

  // The outer boundary in "AddDel": a gain stops at a neighbouring high
  // amplification and a loss at a neighbouring homozygous deletion (the
  // stronger change owns the gap), while the stronger one reaches over to the
  // weaker one's SNP; gaps towards changes of the other direction are split.
  [[nodiscard]] std::int32_t AddDelOuterBoundary(std::int32_t own, std::int32_t neighbour, std::uint8_t mark) const {
    const std::uint8_t other = marks_[std::size_t(neighbour)];
    if (other == 0) return Position(neighbour);
    switch (mark) {
      case IntegrationSegment::kGain:
        return other == IntegrationSegment::kHighAmplification ? Position(own) : Midpoint(own, neighbour);
      case IntegrationSegment::kHighAmplification:
        return other == IntegrationSegment::kGain ? Position(neighbour) : Midpoint(own, neighbour);
      case IntegrationSegment::kLoss:
        return other == IntegrationSegment::kHomozygousDeletion ? Position(own) : Midpoint(own, neighbour);
      default:
        return other == IntegrationSegment::kLoss ? Position(neighbour) : Midpoint(own, neighbour);
    }
  }

  const CAnalyzedData& sample_;
  const IntegrationLayout& layout_;
  const IntegrationRule& rule_;
  const ParsedMode mode_;
  const std::int32_t sampleIndex_;
  const std::int32_t snpEnd_;
  std::vector<std::uint8_t> marks_;
  std::vector<std::int32_t> valid_[kChromosomeX + 1];
  std::vector<IntegrationSegment> segments_;
};

}  // namespace

IntegrationBoundary IntegrationBoundaryOf(int setting) {
  switch (setting) {
    case 1: return IntegrationBoundary::Maximum;
    case 2: return IntegrationBoundary::Intermediate;
    default: return IntegrationBoundary::Minimum;
  }
}

std::vector<IntegrationSegment> FindIntegrationSegments(const CAnalyzedData& sample, const IntegrationLayout& layout,
                                                        const IntegrationRule& rule, std::int32_t sampleIndex) {
  return SegmentFinder(sample, layout, rule, sampleIndex).Find();
}

}  // namespace qova::analysis
