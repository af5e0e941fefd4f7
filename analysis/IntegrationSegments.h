#pragma once
// How one analysed sample becomes integration segments: which SNPs a mode
// marks, the runs of marked SNPs among the valid ones of each chromosome, and
// where a run's segment starts and ends in bases.
#include <cstdint>
#include <string>
#include <vector>

#include "analysis/IntegrationData.h"

class CAnalyzedData;

namespace qova::analysis {

// Boundary rules for a run that does not reach its chromosome's first or
// last valid SNP.
enum class IntegrationBoundary {
  Minimum = 0,       // the run's own first and last SNPs
  Maximum = 1,       // the neighbouring SNPs outside the run
  Intermediate = 2,  // halfway to the neighbouring SNPs
};

// A settings value 0..2 as its rule; anything else counts as Minimum.
[[nodiscard]] IntegrationBoundary IntegrationBoundaryOf(int setting);

// What the finder needs beside the sample.
struct IntegrationLayout {
  // [c] first SNP index of chromosome c (1..23); [24] one past X.
  const std::int32_t* ChromosomeStarts = nullptr;
  // Base position of each SNP index below ChromosomeStarts[24].
  std::vector<std::int32_t> Positions;
  // [c] last base of chromosome c's last band, or -1 when the band table
  // lacks the chromosome (its last valid SNP's position is used then).
  std::int32_t ChromosomeEnds[25] = {};
};

struct IntegrationRule {
  std::string Mode;
  std::int32_t MinRun = 0;
  IntegrationBoundary Boundary = IntegrationBoundary::Minimum;
};

// The segments of `sample` under `sampleIndex`, in the order pass,
// chromosome, position. The sample's arrays must cover every SNP of the
// layout; an array it lacks (the LOH likelihood of a self result) marks
// nothing.
[[nodiscard]] std::vector<IntegrationSegment> FindIntegrationSegments(const CAnalyzedData& sample,
                                                                      const IntegrationLayout& layout,
                                                                      const IntegrationRule& rule,
                                                                      std::int32_t sampleIndex);

}  // namespace qova::analysis
