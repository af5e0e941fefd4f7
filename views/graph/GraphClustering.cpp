#include "views/graph/GraphClustering.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <span>

#include "core/GenomeTables.h"
#include "platform/Strings.h"

namespace qova::views::graph {

namespace {

constexpr int kNeutralClass = 2;
constexpr int kHighestClass = 5;
constexpr int kX = 23;
constexpr float kProfileStart = 2.0f;
// Cluster3 keeps only regions this long (bp) and covered by this many segments.
constexpr long long kLongRegion = 1000000;
constexpr int kWellCovered = 3;
constexpr int kWeightPower = 10;

// A piece of a chromosome between segment starts and ends, with the number of
// segments that cover it. The included marks keep a piece that ends where
// another begins apart from it.
struct Region {
  int chromosome = 0;
  long long start = 0;
  bool startIncluded = true;
  long long end = 0;
  bool endIncluded = true;
  int count = 0;
};

// Sums of squares and the like run over tens of thousands of bins; four
// partial sums in double keep the adds independent.
template <class Term>
double SumOver(int count, Term term) {
  double s[4] = {};
  int k = 0;
  for (; k + 4 <= count; k += 4)
    for (int u = 0; u < 4; ++u) s[u] += term(k + u);
  for (; k < count; ++k) s[0] += term(k);
  return (s[0] + s[1]) + (s[2] + s[3]);
}

float SquaredDistance(std::span<const float> a, std::span<const float> b, int count) {
  if (count <= 0) return 0.0f;
  const double sum = SumOver(count, [&](int k) {
    const double d = double(a[std::size_t(k)] - b[std::size_t(k)]);
    return d * d;
  });
  return float(sum / count);
}

float WeightedDistance(std::span<const float> a, std::span<const float> b, const std::vector<float>& weights) {
  auto part = [](float x, float y) {
    const double closeness = 1.0 - std::fabs(double(x - y));
    return 1.0 - closeness * closeness;
  };
  const double sum = SumOver(kDistanceBins, [&](int k) {
    const std::size_t i = std::size_t(k);
    const double w = weights[i];
    return (part(a[i], b[i]) + part(a[i + kProfileBins], b[i + kProfileBins]) +
            part(a[i + 2 * kProfileBins], b[i + 2 * kProfileBins])) *
           w * w;
  });
  return float(sum);
}

// The pieces of every chromosome's covered stretches, in chromosome and
// position order.
std::vector<Region> CoverageRegions(const std::vector<GraphSegment>& segments) {
  std::vector<Region> regions;
  for (int c = 1; c <= kX; ++c) {
    std::vector<std::pair<long long, long long>> spans;
    for (const GraphSegment& s : segments)
      if (s.chromosome == c && s.start <= s.end) spans.emplace_back(s.start, s.end);
    if (spans.empty()) continue;
    std::vector<long long> points;
    for (const auto& [a, b] : spans) {
      points.push_back(a);
      points.push_back(b);
    }
    std::ranges::sort(points);
    points.erase(std::unique(points.begin(), points.end()), points.end());
    const std::size_t k = points.size();
    auto index = [&](long long p) { return std::size_t(std::ranges::lower_bound(points, p) - points.begin()); };
    // Atom 2i is the point i, atom 2i+1 the open stretch between points i and i+1.
    std::vector<int> cover(2 * k + 1, 0);
    std::vector<bool> startsAt(k, false), endsAt(k, false);
    for (const auto& [a, b] : spans) {
      const std::size_t i = index(a), j = index(b);
      ++cover[2 * i];
      --cover[2 * j + 1];
      startsAt[i] = true;
      endsAt[j] = true;
    }
    for (std::size_t t = 1; t < cover.size(); ++t) cover[t] += cover[t - 1];
    bool open = false;
    for (std::size_t t = 0; t + 1 < 2 * k; ++t) {
      const std::size_t i = t / 2;
      const bool point = t % 2 == 0;
      if (cover[t] == 0) {
        open = false;
        continue;
      }
      // A start at a point parts it from the stretch before; an end, from the stretch after.
      const bool joins = open && (point ? !startsAt[i] : !endsAt[i]);
      if (!joins) {
        regions.push_back({c, points[i], point, 0, true, cover[t]});
        open = true;
      }
      Region& r = regions.back();
      r.end = point ? points[i] : points[i + 1];
      r.endIncluded = point;
    }
  }
  return regions;
}

// Keeps the top region of each rise of coverage, chromosome by chromosome.
std::vector<Region> CoveragePeaks(const std::vector<Region>& regions) {
  std::vector<Region> kept;
  bool removedSinceKept = false;
  for (std::size_t i = 0; i < regions.size(); ++i) {
    const Region& r = regions[i];
    if (i == 0 || regions[i - 1].chromosome != r.chromosome) {
      kept.push_back(r);
      removedSinceKept = false;
    } else if (r.count <= regions[i - 1].count) {
      removedSinceKept = true;
    } else if (removedSinceKept) {
      kept.push_back(r);
      removedSinceKept = false;
    } else {
      kept.back() = r;
    }
  }
  return kept;
}

class Clustering {
 public:
  Clustering(const std::vector<GraphSegment>& segments, int n, ClusterMethod method)
      : segments_(segments), n_(n), method_(method), total_(2 * n - 2) {
    profiles_.resize(std::size_t(total_));
    sizes_.assign(std::size_t(total_), 0);
    members_.resize(std::size_t(total_));
    for (int i = 0; i < n_; ++i) {
      sizes_[std::size_t(i)] = 1;
      members_[std::size_t(i)] = {i};
    }
    switch (method_) {
      case ClusterMethod::Bins: BinProfiles(); break;
      case ClusterMethod::Coverage:
      case ClusterMethod::LongCoverage: RegionProfiles(); break;
      case ClusterMethod::Weighted: WeightedProfiles(); break;
    }
  }

  ClusterResult Run() {
    ClusterResult result;
    const bool traced = method_ != ClusterMethod::Weighted;
    distances_.assign(std::size_t(total_) * std::size_t(total_), 0.0f);
    for (int i = 0; i < n_; ++i)
      for (int j = i + 1; j < n_; ++j) D(i, j) = Distance(i, j);
    for (int s = 0; s + 2 < n_; ++s) {
      const int m = n_ + s;
      // Ties keep the first pair in row order: the smallest i, then the smallest j.
      float best = std::numeric_limits<float>::infinity();
      int bi = -1, bj = -1;
      for (int i = 0; i < m; ++i) {
        if (sizes_[std::size_t(i)] == 0) continue;
        for (int j = i + 1; j < m; ++j) {
          if (sizes_[std::size_t(j)] == 0 || !(D(i, j) < best)) continue;
          best = D(i, j);
          bi = i;
          bj = j;
        }
      }
      if (bi < 0) {
        // Only NaN distances are left: merge the first two active clusters.
        for (int i = 0; i < m && bj < 0; ++i)
          if (sizes_[std::size_t(i)] != 0) (bi < 0 ? bi : bj) = i;
        best = D(bi, bj);
      }
      if (traced) result.trace += platform::Format("%d\t%d\t%d\t%f\n", s, bi, bj, double(best));
      Merge(bi, bj, m);
      for (int c = 0; c < m; ++c)
        if (sizes_[std::size_t(c)] != 0) D(c, m) = Distance(c, m);
    }
    for (int c = 0; c < total_; ++c)
      if (sizes_[std::size_t(c)] != 0)
        result.order.insert(result.order.end(), members_[std::size_t(c)].begin(), members_[std::size_t(c)].end());
    if (traced) {
      std::vector<int> position(static_cast<std::size_t>(n_));
      for (std::size_t k = 0; k < result.order.size(); ++k) position[std::size_t(result.order[k])] = int(k);
      for (int p : position) result.trace += std::to_string(p) + "\n";
    }
    return result;
  }

 private:
  float& D(int i, int j) { return distances_[std::size_t(i) * std::size_t(total_) + std::size_t(j)]; }

  float Distance(int a, int b) const {
    const std::vector<float>& pa = profiles_[std::size_t(a)];
    const std::vector<float>& pb = profiles_[std::size_t(b)];
    switch (method_) {
      case ClusterMethod::Bins: return SquaredDistance(pa, pb, kDistanceBins);
      case ClusterMethod::Coverage:
      case ClusterMethod::LongCoverage: return SquaredDistance(pa, pb, int(regions_.size()));
      case ClusterMethod::Weighted: return WeightedDistance(pa, pb, weights_);
    }
    return 0.0f;
  }

  void Merge(int i, int j, int m) {
    const float si = float(sizes_[std::size_t(i)]), sj = float(sizes_[std::size_t(j)]);
    const float sm = si + sj;
    const std::vector<float>& a = profiles_[std::size_t(i)];
    const std::vector<float>& b = profiles_[std::size_t(j)];
    std::vector<float>& merged = profiles_[std::size_t(m)];
    merged.resize(a.size());
    for (std::size_t k = 0; k < a.size(); ++k) merged[k] = (a[k] * si + b[k] * sj) / sm;
    sizes_[std::size_t(m)] = sizes_[std::size_t(i)] + sizes_[std::size_t(j)];
    members_[std::size_t(m)] = members_[std::size_t(i)];
    members_[std::size_t(m)].insert(members_[std::size_t(m)].end(), members_[std::size_t(j)].begin(),
                                    members_[std::size_t(j)].end());
    for (int gone : {i, j}) {
      sizes_[std::size_t(gone)] = 0;
      std::vector<float>().swap(profiles_[std::size_t(gone)]);
    }
  }

  [[nodiscard]] bool Counted(const GraphSegment& s) const { return s.sample >= 0 && s.sample < n_; }

  void BinProfiles() {
    for (int i = 0; i < n_; ++i) profiles_[std::size_t(i)].assign(kProfileBins, kProfileStart);
    for (const GraphSegment& s : segments_) {
      int from = 0, to = 0;
      if (!Counted(s) || !GenomeSpanKb(s, from, to)) continue;
      const float v = s.colourIndex > kNeutralClass ? 1.0f : s.colourIndex < kNeutralClass ? -1.0f : 0.0f;
      if (v != 0.0f) AddCoverage(profiles_[std::size_t(s.sample)], from, to, v);
    }
  }

  void RegionProfiles() {
    for (const Region& r : CoveragePeaks(CoverageRegions(segments_))) {
      if (r.chromosome == kX) continue;
      if (method_ == ClusterMethod::LongCoverage && (r.count < kWellCovered || r.end - r.start < kLongRegion))
        continue;
      regions_.push_back(r);
    }
    for (int i = 0; i < n_; ++i) profiles_[std::size_t(i)].assign(regions_.size(), kProfileStart);
    for (const GraphSegment& s : segments_) {
      // A neutral segment leaves the profile as it is.
      if (!Counted(s) || s.colourIndex == kNeutralClass) continue;
      const float v = s.colourIndex > kNeutralClass ? 1.0f : -1.0f;
      for (std::size_t k = 0; k < regions_.size(); ++k) {
        const Region& r = regions_[k];
        if (r.chromosome != s.chromosome) continue;
        const bool hit = method_ == ClusterMethod::LongCoverage ? s.start <= r.start && r.end <= s.end
                                                               : r.start < s.end && s.start < r.end;
        if (hit) profiles_[std::size_t(s.sample)][k] = v;
      }
    }
  }

  void WeightedProfiles() {
    for (int i = 0; i < n_; ++i) profiles_[std::size_t(i)].assign(3 * std::size_t(kProfileBins), 0.0f);
    for (const GraphSegment& s : segments_) {
      int from = 0, to = 0;
      if (!Counted(s) || s.colourIndex == kNeutralClass || !GenomeSpanKb(s, from, to)) continue;
      const int set = s.colourIndex < kNeutralClass ? 0 : s.colourIndex == kHighestClass ? 2 : 1;
      std::vector<float>& p = profiles_[std::size_t(s.sample)];
      std::vector<float> part(kProfileBins, 0.0f);
      AddCoverage(part, from, to, 1.0f);
      const std::size_t offset = std::size_t(set) * kProfileBins;
      for (std::size_t k = 0; k < part.size(); ++k) p[offset + k] += part[k];
    }
    weights_.assign(kProfileBins, 0.0f);
    for (std::size_t k = 0; k < std::size_t(kProfileBins); ++k) {
      double sum = 0.0;
      for (int i = 0; i < n_; ++i) {
        const std::vector<float>& p = profiles_[std::size_t(i)];
        const double changed = std::min(1.0, double(p[k]) + p[k + kProfileBins] + p[k + 2 * kProfileBins]);
        sum += std::pow(changed, kWeightPower);
      }
      weights_[k] = float(sum / n_);
    }
  }

  const std::vector<GraphSegment>& segments_;
  int n_;
  ClusterMethod method_;
  int total_;
  std::vector<std::vector<float>> profiles_;
  std::vector<int> sizes_;
  std::vector<std::vector<int>> members_;
  std::vector<float> distances_;
  std::vector<Region> regions_;
  std::vector<float> weights_;
};

}  // namespace

void AddCoverage(std::vector<float>& profile, int fromKb, int toKb, float v) {
  if (fromKb < 0 || toKb < fromKb || std::size_t(toKb / kBinKb) >= profile.size()) return;
  const int b0 = fromKb / kBinKb, b1 = toKb / kBinKb;
  profile[std::size_t(b0)] += float(((b0 + 1) * kBinKb - fromKb) * v * 0.01);
  profile[std::size_t(b1)] += float((toKb % kBinKb) * v * 0.01);
  for (int b = b0 + 1; b < b1; ++b) profile[std::size_t(b)] += v;
}

bool GenomeSpanKb(const GraphSegment& segment, int& fromKb, int& toKb) {
  const int c = segment.chromosome;
  if (c < 1 || c >= kX) return false;
  const int first = ChromosomeStartTableKb[c], last = ChromosomeStartTableKb[c + 1];
  fromKb = std::clamp(first + segment.start / 1000, first, last);
  toKb = std::clamp(first + segment.end / 1000, first, last);
  return fromKb <= toKb;
}

ClusterResult ClusterSamples(const std::vector<GraphSegment>& segments, int sampleCount, ClusterMethod method) {
  if (sampleCount < 2) {
    ClusterResult result;
    for (int i = 0; i < sampleCount; ++i) result.order.push_back(i);
    return result;
  }
  return Clustering(segments, sampleCount, method).Run();
}

}  // namespace qova::views::graph
