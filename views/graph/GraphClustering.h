#pragma once
// The clustering of the graph's samples: a profile per sample built from its
// segments, distances between profiles, and the merging of the two closest
// clusters until two remain. The result is a column order that puts samples
// with similar aberrations side by side.
#include <string>
#include <vector>

#include "views/graph/QOVAGraphDoc.h"

namespace qova::views::graph {

enum class ClusterMethod {
  Bins,          // ClusterAnalysis: 100-kb bins of gains and losses
  Coverage,      // Cluster2: the most covered regions
  LongCoverage,  // Cluster3: the most covered regions of 1 Mb and three segments or more
  Weighted,      // Cluster4: losses, gains and the highest class apart, bins weighted by how often they change
};

// Bins are 100 kb on the genome axis; profiles keep 31000 of them and the
// distances read the first 30200 (the genome ends in bin 30190).
inline constexpr int kBinKb = 100;
inline constexpr int kProfileBins = 31000;
inline constexpr int kDistanceBins = 30200;

// Adds `v` to the bins that [fromKb, toKb] covers, each by the covered share
// of its 100 kb: the first bin from fromKb to its end, the last bin up to toKb.
void AddCoverage(std::vector<float>& profile, int fromKb, int toKb, float v);

// The span of a segment on the genome axis, in kb, held inside its
// chromosome; false for a segment that no profile counts (X, an unknown
// chromosome, nothing left inside the chromosome).
[[nodiscard]] bool GenomeSpanKb(const GraphSegment& segment, int& fromKb, int& toKb);

struct ClusterResult {
  std::vector<int> order;  // order[k] is the sample shown at column k
  std::string trace;       // the merges and then each sample's position; empty for Weighted
};

// Orders `sampleCount` samples by `method`. Fewer than two samples keep the
// order 0..n-1 with no trace.
[[nodiscard]] ClusterResult ClusterSamples(const std::vector<GraphSegment>& segments, int sampleCount,
                                           ClusterMethod method);

}  // namespace qova::views::graph
