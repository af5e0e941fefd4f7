// Marker regions derived from the analysis: allele-state segments, the
// allelic-imbalance / LOH / UPD cascade of two-state models, and the
// loss / normal / gain model on the total ratio. Each operation first drops
// the regions of the kinds it produces, so running it again replaces its
// regions instead of adding a second set; regions of other kinds keep their
// places.
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "analysis/Analysis.h"
#include "analysis/SegmentModels.h"
#include "analysis/SnpSequence.h"
#include "core/AnalyzedData.h"
#include "core/ArrayData.h"
#include "core/BasicData.h"
#include "core/ProgramSetting.h"
#include "platform/MessageBox.h"
#include "platform/Strings.h"

using qova::analysis::DiscreteEmission;
using qova::analysis::SnpSequence;
using qova::analysis::StateRun;

namespace {

// Regions of the allele-state segments: user marker 7.
constexpr std::int32_t kAlleleSegmentKind = MarkerRegion::kUserMarkerBase + 7;
// Regions of the gain/loss model: user markers 0 (loss) and 6 (gain).
constexpr std::int32_t kLossKind = MarkerRegion::kUserMarkerBase + 0;
constexpr std::int32_t kGainKind = MarkerRegion::kUserMarkerBase + 6;

void RemoveKinds(MarkerRegionList& regions, std::initializer_list<std::int32_t> kinds) {
  std::erase_if(regions, [&](const MarkerRegion& r) {
    return std::find(kinds.begin(), kinds.end(), r.Kind) != kinds.end();
  });
}

// Appends a region per run of `state` in a decoded path over `snps`.
void AppendRuns(const std::vector<StateRun>& runs, int state, const SnpSequence& snps, std::int32_t chromosome,
                std::int32_t kind, MarkerRegionList& out) {
  for (const StateRun& run : runs) {
    if (run.State == state) out.push_back({chromosome, snps.Snps[run.First], snps.Snps[run.Last], kind});
  }
}

template <class Array>
bool Holds(const Array& a, std::size_t n) {
  return a.size() >= n;
}

// One model of the cascade: its settings and what makes an observation 1.
struct TwoStateStep {
  const char* Name;
  float Threshold, Alpha, Beta, Kosambi;
  int Mark;
  std::optional<DiscreteEmission> Emission;
  std::int32_t Kind = 0;
};

}  // namespace

void CAnalysis::ExtractAlleleStateSegments(CArrayData& extracted, const CAnalyzedData& analyzed) {
  const ArrayTypeRanges ranges = RangesOf(analyzed.Header.ArrayType);
  const auto n = static_cast<std::size_t>(ranges.SnpCount);
  if (!Holds(analyzed.ValidFlag, n) || !Holds(analyzed.CallReference, n) || !Holds(analyzed.AlleleStateA, n) ||
      !Holds(analyzed.AlleleStateB, n)) {
    LogError(platform::Format("The allele-state segments of sample %s are not extracted: it has no allele states\n",
                              analyzed.Header.SampleName.c_str()));
    return;
  }
  RemoveKinds(extracted.Markers, {kAlleleSegmentKind});
  std::vector<std::int32_t> heterozygous;
  std::vector<bool> flags;
  for (int c = 1; c < kChromosomeX; ++c) {
    heterozygous.clear();
    flags.clear();
    for (std::int32_t i = ranges.ChromosomeBegin(c); i < ranges.ChromosomeEnd(c); ++i) {
      if (analyzed.ValidFlag[i] != 1 || analyzed.CallReference[i] != kCallAB) continue;
      heterozygous.push_back(i);
      // One allele gained, the other lost.
      flags.push_back(analyzed.AlleleStateA[i] >= 2 && analyzed.AlleleStateB[i] == 0);
    }
    for (const StateRun& run : qova::analysis::AlleleStateSegments(flags)) {
      extracted.Markers.push_back({c, heterozygous[run.First], heterozygous[run.Last], kAlleleSegmentKind});
    }
  }
}

int CAnalysis::RunTwoStateSegmentHMM(CArrayData& extracted, const CAnalyzedData& analyzed, const CBasicData& basic) {
  const CProgramSetting& s = Setting();
  const char* sample = analyzed.Header.SampleName.c_str();
  TwoStateStep steps[3] = {
      {"allelic-imbalance", s.THRESHOLD, s.ALPHA, s.BETA, s.KOSAMBI, s.MARKAI, {}},
      {"LOH", s.THRESHOLDS, s.ALPHAS, s.BETAS, s.KOSAMBIS, s.MARKLOH, {}},
      {"UPD", s.THRESHOLDL, s.ALPHAL, s.BETAL, s.KOSAMBIL, s.MARKUPD, {}},
  };
  for (TwoStateStep& step : steps) {
    std::string why;
    step.Emission = qova::analysis::TwoStateEmission(step.Alpha, step.Beta, &why);
    if (step.Emission && !(std::isfinite(step.Kosambi) && step.Kosambi >= 0.0f)) why = "the Kosambi factor is negative";
    // A negative marker number would make the regions HMM-state markers,
    // which override the copy-number states.
    if (step.Emission && (step.Mark < 0 || step.Mark > std::numeric_limits<std::int32_t>::max() - 32)) {
      why = platform::Format("the marker number %d is not a user marker", step.Mark);
    }
    if (!step.Emission || !why.empty()) {
      LogError(platform::Format("The %s model is not run for sample %s: %s\n", step.Name, sample, why.c_str()));
      return 1;
    }
    step.Kind = MarkerRegion::kUserMarkerBase + step.Mark;
  }

  const ArrayTypeRanges ranges = RangesOf(analyzed.Header.ArrayType);
  const auto n = static_cast<std::size_t>(ranges.SnpCount);
  std::string problem = SizeProblem(ranges, basic, nullptr, nullptr);
  if (problem.empty() &&
      (!Holds(analyzed.LogRatioA, n) || !Holds(analyzed.LogRatioB, n) || !Holds(analyzed.CallReference, n))) {
    problem = "it has no allele ratios";
  }
  if (!problem.empty()) {
    LogError(platform::Format("The allelic-imbalance model is not run for sample %s: %s\n", sample, problem.c_str()));
    return 1;
  }

  const bool combined = analyzed.Header.Combined;
  const auto& ratioA = analyzed.LogRatioA;
  const auto& ratioB = analyzed.LogRatioB;
  const auto heterozygous = [&](std::int32_t i) { return analyzed.CallReference[i] == kCallAB; };
  qova::analysis::ViterbiDecoder decoder;
  SnpSequence snps;
  std::vector<std::uint8_t> symbols, path;

  // Decodes the heterozygous SNPs first..last of chromosome c with one step's
  // model and returns its event regions.
  const auto decode = [&](const TwoStateStep& step, std::int32_t c, std::int32_t first, std::int32_t last,
                          auto&& observation) {
    MarkerRegionList found;
    snps.Collect(basic, combined, first, last, heterozygous);
    if (snps.Empty()) return found;
    symbols.resize(snps.Size());
    for (std::size_t k = 0; k < snps.Size(); ++k) symbols[k] = observation(snps.Snps[k]) ? 1 : 0;
    qova::analysis::DecodeSymbols(decoder, *step.Emission, symbols, snps.Positions, step.Kosambi, path);
    AppendRuns(qova::analysis::StateRuns(path), 1, snps, c, step.Kind, found);
    return found;
  };
  // Each later step looks only inside the regions of the step before it.
  const auto within = [&](const TwoStateStep& step, const MarkerRegionList& outer, auto&& observation) {
    MarkerRegionList found;
    for (const MarkerRegion& region : outer) {
      const MarkerRegionList inner = decode(step, region.Chromosome, region.FirstSnp, region.LastSnp, observation);
      found.insert(found.end(), inner.begin(), inner.end());
    }
    return found;
  };

  const TwoStateStep& ai = steps[0];
  const TwoStateStep& loh = steps[1];
  const TwoStateStep& upd = steps[2];
  RemoveKinds(extracted.Markers, {ai.Kind});
  MarkerRegionList aiRegions;
  for (int c = 1; c <= kChromosomeX; ++c) {
    const MarkerRegionList found = decode(ai, c, ranges.ChromosomeBegin(c), ranges.ChromosomeEnd(c) - 1,
                                          [&](std::int32_t i) { return ratioA[i] - ratioB[i] >= ai.Threshold; });
    aiRegions.insert(aiRegions.end(), found.begin(), found.end());
  }
  extracted.Markers.insert(extracted.Markers.end(), aiRegions.begin(), aiRegions.end());

  RemoveKinds(extracted.Markers, {loh.Kind, upd.Kind});
  const MarkerRegionList lohRegions =
      within(loh, aiRegions, [&](std::int32_t i) { return ratioB[i] < loh.Threshold; });
  extracted.Markers.insert(extracted.Markers.end(), lohRegions.begin(), lohRegions.end());
  const MarkerRegionList updRegions =
      within(upd, lohRegions, [&](std::int32_t i) { return ratioA[i] > upd.Threshold; });
  extracted.Markers.insert(extracted.Markers.end(), updRegions.begin(), updRegions.end());
  return 0;
}

void CAnalysis::RunGainLossHMM(CAnalyzedData& analyzed, const CBasicData& basic,
                               const GainLossParameters& parameters) {
  std::string why;
  const auto emission = qova::analysis::GainLossEmission(parameters, &why);
  if (!emission) {
    AfxMessageBox(why);
    return;
  }
  const ArrayTypeRanges ranges = RangesOf(analyzed.Header.ArrayType);
  const std::string problem = SizeProblem(ranges, basic, &analyzed, nullptr);
  if (!problem.empty()) {
    LogError(platform::Format("The gain/loss model is not run for sample %s: %s\n",
                              analyzed.Header.SampleName.c_str(), problem.c_str()));
    return;
  }

  RemoveKinds(analyzed.Markers, {kLossKind, kGainKind});
  qova::analysis::ViterbiDecoder decoder;
  SnpSequence snps;
  std::vector<std::uint8_t> symbols, path;
  for (int c = 1; c <= kChromosomeX; ++c) {
    snps.Collect(basic, analyzed.Header.Combined, ranges.ChromosomeBegin(c), ranges.ChromosomeEnd(c) - 1,
                 [&](std::int32_t i) { return analyzed.ValidFlag[i] != 0; });
    if (snps.Empty()) continue;
    symbols.resize(snps.Size());
    for (std::size_t k = 0; k < snps.Size(); ++k) {
      symbols[k] = qova::analysis::GainLossSymbol(analyzed.LogRatio[snps.Snps[k]], parameters);
    }
    qova::analysis::DecodeSymbols(decoder, *emission, symbols, snps.Positions, parameters.KosambiFactor, path);
    for (const StateRun& run : qova::analysis::StateRuns(path)) {
      if (run.State == 1) continue;
      analyzed.Markers.push_back(
          {c, snps.Snps[run.First], snps.Snps[run.Last], run.State == 0 ? kLossKind : kGainKind});
    }
  }
}
