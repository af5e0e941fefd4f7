// The copy-number hidden Markov models: a 7-state model on the total log2
// ratio and a 5-state model on each allele's ratio at heterozygous SNPs,
// decoded chromosome by chromosome with Kosambi transitions.
#include <algorithm>
#include <cmath>

#include "analysis/Analysis.h"
#include "analysis/AnalysisMath.h"
#include "analysis/CopyNumberEmission.h"
#include "analysis/SnpSequence.h"
#include "analysis/Viterbi.h"
#include "core/AnalyzedData.h"
#include "core/ArrayData.h"
#include "core/BasicData.h"
#include "core/ProgramSetting.h"
#include "platform/Strings.h"

using qova::analysis::CopyNumberEmission;

namespace {

// What one copy-number model reads and writes.
struct CopyNumberSeries {
  const char* Name;
  const std::vector<float>* Ratios;
  std::vector<std::int32_t>* States;
  bool HeterozygousOnly;
  int StateCount;
  const float* Means;
  const float* Factors;
};

CopyNumberSeries SeriesOf(CAnalyzedData& analyzed, int series) {
  SampleHeader& h = analyzed.Header;
  switch (series) {
    case CAnalysis::kSeriesAlleleA:
      return {"allele A", &analyzed.LogRatioA, &analyzed.AlleleStateA, true, kAlleleHmmStateCount,
              h.AlleleHmmMeans.data(), h.AlleleHmmSdFactors.data()};
    case CAnalysis::kSeriesAlleleB:
      return {"allele B", &analyzed.LogRatioB, &analyzed.AlleleStateB, true, kAlleleHmmStateCount,
              h.AlleleHmmMeans.data(), h.AlleleHmmSdFactors.data()};
    default:
      return {"total copy-number", &analyzed.LogRatio, &analyzed.CopyNumberState, false, kHmmStateCount,
              h.HmmMeans.data(), h.HmmSdFactors.data()};
  }
}

// The spread of the used SNPs' observations over the sample's base range. An
// observation that is not finite (an allele without signal) says nothing about
// the spread and is left out rather than making it infinite.
template <class Used>
float SpreadOfSeries(const std::vector<float>& x, std::int32_t first, std::int32_t last, Used&& used) {
  double n = 0, sum = 0, sumOfSquares = 0;
  for (std::int32_t i = first; i <= last; ++i) {
    if (!used(i) || !std::isfinite(x[i])) continue;
    const double y = x[i];
    n += 1;
    sum += y;
    sumOfSquares += y * y;
  }
  return static_cast<float>(qova::analysis::SampleSD(n, sum, sumOfSquares));
}

}  // namespace

int CAnalysis::RunTotalCopyNumberHMM(CAnalyzedData& analyzed, const CBasicData& basic) {
  return RunCopyNumberHMM(analyzed, basic, kSeriesTotal);
}

int CAnalysis::RunAlleleSpecificHMM(CAnalyzedData& analyzed, const CBasicData& basic, int allele) {
  return RunCopyNumberHMM(analyzed, basic, allele == 2 ? kSeriesAlleleB : kSeriesAlleleA);
}

int CAnalysis::RunCopyNumberHMM(CAnalyzedData& analyzed, const CBasicData& basic, int series) {
  const CopyNumberSeries model = SeriesOf(analyzed, series);
  const ArrayTypeRanges ranges = RangesOf(analyzed.Header.ArrayType);
  const char* sample = analyzed.Header.SampleName.c_str();
  std::string problem = SizeProblem(ranges, basic, &analyzed, nullptr);
  const auto n = static_cast<std::size_t>(ranges.SnpCount);
  if (problem.empty() && (model.Ratios->size() < n || model.States->size() < n ||
                          (model.HeterozygousOnly && analyzed.CallReference.size() < n))) {
    problem = "the sample has no room for the ratios of the model";
  }
  if (!problem.empty()) {
    LogError(platform::Format("The %s HMM is not run for sample %s: %s\n", model.Name, sample, problem.c_str()));
    return 1;
  }

  const std::vector<std::int32_t>& valid = analyzed.ValidFlag;
  const std::vector<std::int32_t>& callReference = analyzed.CallReference;
  const auto used = [&](std::int32_t i) {
    return valid[i] == 1 && (!model.HeterozygousOnly || callReference[i] == kCallAB);
  };

  std::vector<float> smoothed;
  const std::vector<float>* x = model.Ratios;
  if (Setting().MovingAverageWindow >= 2) {
    smoothed.assign(model.Ratios->begin(), model.Ratios->begin() + ranges.SnpCount);
    SmoothMovingAverage(analyzed, smoothed, series);
    x = &smoothed;
  }

  const auto [first, last] = ranges.ClampToRatios(analyzed.Header.NonSelfBaseRange);
  const float sigma = SpreadOfSeries(*x, first, last, used);
  std::string why;
  const auto emission = CopyNumberEmission::Make(model.StateCount, model.Means, model.Factors, sigma,
                                                 Setting().UseNormalDistribution != 0, &why);
  if (!emission) {
    LogError(platform::Format("The %s HMM is not run for sample %s: %s\n", model.Name, sample, why.c_str()));
    return 1;
  }

  const bool combined = analyzed.Header.Combined;
  qova::analysis::ViterbiDecoder decoder;
  qova::analysis::SnpSequence snps;
  std::vector<std::uint8_t> path;
  for (int c = 1; c <= kChromosomeX; ++c) {
    snps.Collect(basic, combined, ranges.ChromosomeBegin(c), ranges.ChromosomeEnd(c) - 1, used);
    if (snps.Empty()) continue;
    decoder.Decode(
        emission->States(), snps.Size(),
        [&](std::size_t k, double* costs) { emission->Costs((*x)[snps.Snps[k]], costs); },
        [&](std::size_t k) {
          return qova::analysis::KosambiTransition(
              static_cast<double>(qova::analysis::BasePairDistance(snps.Positions[k - 1], snps.Positions[k])));
        },
        path);
    for (std::size_t k = 0; k < path.size(); ++k) (*model.States)[snps.Snps[k]] = path[k];
  }
  return 0;
}

float CAnalysis::EmissionProbability(const SampleHeader& header, double x, int s, int flag, float sigma) const {
  const bool allele = flag != 0;
  const int states = allele ? kAlleleHmmStateCount : kHmmStateCount;
  if (s < 0 || s >= states) return 0.0f;
  const auto model =
      CopyNumberEmission::Make(states, allele ? header.AlleleHmmMeans.data() : header.HmmMeans.data(),
                               allele ? header.AlleleHmmSdFactors.data() : header.HmmSdFactors.data(), sigma,
                               Setting().UseNormalDistribution != 0);
  // A model without a usable spread has no density: nothing is likely.
  return model ? model->Density(x, s) : 0.0f;
}
