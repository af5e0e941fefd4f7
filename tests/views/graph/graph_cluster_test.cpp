// The four clustering commands of the graph view: the profiles they build,
// their tie rule, what they ignore, the order they give and their trace.
#include <gmock/gmock.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "core/GenomeTables.h"
#include "resources/CommandIds.h"
#include "tests/views/graph/GraphTestSupport.h"
#include "views/graph/GraphClustering.h"

namespace graph = qova::views::graph;

namespace qova::test {
namespace {

namespace res = qova::resources;
using graph::ClusterMethod;

constexpr UINT kCommands[] = {res::kCmdClusterAnalysis, res::kCmdCluster2, res::kCmdCluster3, res::kCmdCluster4};
constexpr ClusterMethod kMethods[] = {ClusterMethod::Bins, ClusterMethod::Coverage, ClusterMethod::LongCoverage,
                                      ClusterMethod::Weighted};

class GraphClusterTest : public GraphTest {};

TEST(GraphProfileTest, ALossCoversItsBinsByTheShareItCovers) {
  std::vector<float> profile(graph::kProfileBins, 2.0f);
  graph::AddCoverage(profile, 1050, 1300, -1.0f);
  EXPECT_FLOAT_EQ(profile[9], 2.0f);
  EXPECT_FLOAT_EQ(profile[10], 1.5f);
  EXPECT_FLOAT_EQ(profile[11], 1.0f);
  EXPECT_FLOAT_EQ(profile[12], 1.0f);
  EXPECT_FLOAT_EQ(profile[13], 2.0f);
  // A segment is held inside its chromosome; X and unknown chromosomes count nowhere.
  int from = 0, to = 0;
  ASSERT_TRUE(graph::GenomeSpanKb({0, 1, 22, 40000000, 2000000000}, from, to));
  EXPECT_EQ(from, ChromosomeStartTableKb[22] + 40000);
  EXPECT_EQ(to, ChromosomeStartTableKb[23]);
  EXPECT_FALSE(graph::GenomeSpanKb({0, 1, 23, 1000, 2000}, from, to));
  EXPECT_FALSE(graph::GenomeSpanKb({0, 1, 31, 1000, 2000}, from, to));
  EXPECT_FALSE(graph::GenomeSpanKb({0, 1, 0, 1000, 2000}, from, to));
}

TEST(GraphMergeTest, EqualDistancesMergeTheSmallerIndexesFirst) {
  // Samples 1 and 3 share a loss over chromosome 1, 0 and 2 have nothing: two
  // pairs at distance 0, and the pair with the smaller first index goes first.
  const std::vector<GraphSegment> losses = {{1, 1, 1, 0, 200000000}, {3, 1, 1, 0, 200000000}};
  for (ClusterMethod m : kMethods) {
    const graph::ClusterResult r = graph::ClusterSamples(losses, 4, m);
    if (m == ClusterMethod::LongCoverage) {
      // Two segments are too few for a region: every distance is 0, so 0+1, then 2+3.
      EXPECT_EQ(r.order, (std::vector<int>{0, 1, 2, 3}));
      continue;
    }
    EXPECT_EQ(r.order, (std::vector<int>{0, 2, 1, 3})) << int(m);
    if (m != ClusterMethod::Weighted) {
      EXPECT_EQ(r.trace, "0\t0\t2\t0.000000\n1\t1\t3\t0.000000\n0\n2\n1\n3\n") << int(m);
    }
  }
  // Two samples are never merged; one keeps its place.
  EXPECT_EQ(graph::ClusterSamples({{1, 0, 3, 0, 90000000}}, 2, ClusterMethod::Bins).order,
            (std::vector<int>{0, 1}));
  EXPECT_EQ(graph::ClusterSamples({}, 1, ClusterMethod::Bins).order, std::vector<int>{0});
}

TEST(GraphMergeTest, AMergedClusterWeighsItsProfilesByTheirSizes) {
  // Losses over whole 100-kb bins of chromosome 1: C over the first 100 bins,
  // D over the first 400, E over 2,000 bins of chromosome 2; A and B have
  // none. A and B merge first, then {A, B} with C: its profile is -1/3 over
  // C's bins, two samples against one, not the -1/2 of the two profiles'
  // plain mean. Its distance to D is then (2/3)^2 x 100 + 300 bins over the
  // 30,200 that count.
  const std::vector<GraphSegment> losses = {
      {2, 1, 1, 0, 10000000}, {3, 1, 1, 0, 40000000}, {4, 1, 2, 0, 200000000}};
  const graph::ClusterResult r = graph::ClusterSamples(losses, 5, ClusterMethod::Bins);
  const double third = (4.0 / 9.0 * 100 + 300) / graph::kDistanceBins;
  EXPECT_EQ(r.trace, platform::Format("0\t0\t1\t0.000000\n1\t2\t5\t%f\n2\t3\t6\t%f\n", 100.0 / graph::kDistanceBins,
                                      third) +
                         "3\n4\n2\n1\n0\n");
  EXPECT_EQ(r.order, (std::vector<int>{4, 3, 2, 0, 1}));
}

TEST_F(GraphClusterTest, EachCommandStandsTheSamplesGroupedByPattern) {
  ASSERT_TRUE(Open(PatternChangeText(12)));
  for (UINT command : kCommands) {
    for (std::size_t i = 0; i < 12; ++i) Doc().m_Samples[i].row = int(11 - i);  // the result must not depend on it
    Command(command);
    const std::vector<int> order = Order();
    std::set<int> seen(order.begin(), order.end());
    ASSERT_EQ(seen.size(), 12u);
    // Four neighbours share a pattern.
    for (int block = 0; block < 3; ++block)
      for (int k = 1; k < 4; ++k)
        EXPECT_EQ(order[std::size_t(block * 4 + k)] % 3, order[std::size_t(block * 4)] % 3)
            << "command " << command << " column " << block * 4 + k;
  }
  EXPECT_TRUE(messages_.Empty());
}

TEST_F(GraphClusterTest, SegmentsOnXOrPastTheirChromosomeChangeNothing) {
  ASSERT_TRUE(Open(PatternChangeText(9)));
  std::vector<GraphSegment> withoutX;
  for (const GraphSegment& s : Doc().m_Segments)
    if (s.chromosome != 23) withoutX.push_back(s);
  std::vector<GraphSegment> wild = withoutX;
  wild.push_back({4, 0, 31, 1000, 2000});           // no such chromosome
  wild.push_back({4, 5, 23, 0, 150000000});         // a gain over all of X
  for (ClusterMethod m : kMethods) {
    const auto plain = graph::ClusterSamples(withoutX, 9, m);
    EXPECT_EQ(graph::ClusterSamples(Doc().m_Segments, 9, m).order, plain.order) << int(m);
    EXPECT_EQ(graph::ClusterSamples(wild, 9, m).order, plain.order) << int(m);
  }
  // Far past the end of 22: held to the chromosome, no write outside the profiles.
  wild.push_back({2, 4, 22, 1000, 2140000000});
  for (ClusterMethod m : kMethods) EXPECT_EQ(graph::ClusterSamples(wild, 9, m).order.size(), 9u);
}

TEST_F(GraphClusterTest, TheTraceOfThreeSamplesHasOneMergeAndThreePositions) {
  ASSERT_TRUE(Open(PatternChangeText(3)));
  Command(res::kCmdClusterAnalysis);
  std::string trace;
  ASSERT_TRUE(platform::ReadWholeFile(Path("out.txt"), trace));
  const std::vector<std::string> lines = platform::SplitLines(trace);
  ASSERT_EQ(lines.size(), 4u) << trace;
  EXPECT_THAT(lines[0], ::testing::MatchesRegex("0\t[0-9]\t[0-9]\t[0-9]+\\.[0-9]{6}"));
  std::vector<std::string> positions(lines.begin() + 1, lines.end());
  std::ranges::sort(positions);
  EXPECT_EQ(positions, (std::vector<std::string>{"0", "1", "2"}));
  EXPECT_EQ(trace.find('\r'), std::string::npos);
  // Cluster4 writes none; a trace that cannot be written is reported, the order still changes.
  std::filesystem::remove(Path("out.txt"));
  Command(res::kCmdCluster4);
  EXPECT_FALSE(std::filesystem::exists(Path("out.txt")));
  std::filesystem::create_directories(Path("out.txt"));
  Command(res::kCmdCluster2);
  ASSERT_EQ(messages_.Texts().size(), 1u);
  EXPECT_THAT(messages_.Texts()[0], ::testing::HasSubstr(Path("out.txt")));
}

}  // namespace
}  // namespace qova::test
