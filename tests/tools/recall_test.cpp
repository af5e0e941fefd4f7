// The recall tool on the small family at the demo's own noise: a table for
// each analysis, and the events of 200 SNPs or more found.
#include <algorithm>
#include <regex>
#include <sstream>

#include "core/ArrayTypes.h"
#include "tests/support/TempHome.h"
#include "tools/datagen/DataGen.h"
#include "tools/recall/Recall.h"

namespace qova::test {
namespace {

class RecallTest : public TempHomeTest {};

TEST_F(RecallTest, FindsEventsOf200SnpsAtTheDemosNoiseAndPrintsATablePerAnalysis) {
  recall::RecallOptions options;
  options.Folder = Path("recall/");
  options.ArrayType = "Mapping10K_Xba131";
  options.TargetSd = {recall::SdForNoise(samplegen::kDefaultNoise)};
  std::ostringstream log;
  const std::vector<recall::LevelRecall> levels = recall::RunRecall(options, log);

  ASSERT_EQ(levels.size(), 1u);
  const recall::LevelRecall& level = levels[0];
  EXPECT_TRUE(level.Messages.empty()) << log.str();
  EXPECT_NEAR(level.Noise, samplegen::kDefaultNoise, 1e-6);
  // The calibration holds on another family within a few hundredths.
  EXPECT_NEAR(level.MeasuredSd, level.TargetSd, 0.03);
  ASSERT_EQ(level.Analyses.size(), 2u);
  int checked = 0;
  for (const recall::AnalysisRecall& analysis : level.Analyses) {
    SCOPED_TRACE(analysis.Analysis);
    EXPECT_FALSE(analysis.ResultFile.empty());
    for (const recall::EventRecall& e : analysis.Events) {
      if (!e.Planted.Placed || e.Planted.Size < 200) continue;
      EXPECT_GE(e.Recall, 0.95) << recall::kEventKinds[e.Planted.Kind].Name << ", " << e.Planted.Size << " SNPs";
      ++checked;
    }
    EXPECT_EQ(analysis.FalseSegments, 0);
    EXPECT_LT(analysis.FalseCallShare, 0.01);
  }
  EXPECT_GE(checked, 10);

  std::ostringstream table;
  recall::PrintRecall(levels, table);
  const std::string text = table.str();
  // Per analysis: a title, the size header, one row per kind on the
  // autosomes and on X with a cell per size, and the false calls.
  const std::regex row(R"(  (X )?[0-9A-Za-z -]+?( +([0-9]\.[0-9]{3}|-)){4})");
  std::istringstream lines(text);
  int rows = 0;
  for (std::string line; std::getline(lines, line);) rows += std::regex_match(line, row) ? 1 : 0;
  EXPECT_EQ(rows, 2 * 2 * static_cast<int>(std::size(recall::kEventKinds))) << text;
  EXPECT_NE(text.find("self analysis (Tumour01.CFS), log2-ratio SD target 0.14"), std::string::npos) << text;
  EXPECT_NE(text.find("non-self analysis (Tumour02.CFN)"), std::string::npos) << text;
  EXPECT_NE(text.find("false segments of 20 SNPs or more: 0"), std::string::npos) << text;
}

TEST(RecallLayoutTest, EveryEventFitsItsChromosomeWithGapsOfItsOwnSize) {
  const CBasicData annotation = datagen::MakeAnnotation(ArrayClassIndex("GenomeWideSNP_5"));
  const samplegen::SampleGenerator generator("GenomeWideSNP_5", annotation, 1);
  std::vector<recall::Event> events = recall::LayOutEvents(generator);
  std::sort(events.begin(), events.end(), [](const recall::Event& a, const recall::Event& b) {
    return a.Segment.FirstSnp < b.Segment.FirstSnp;
  });
  int autosomal = 0;
  for (std::size_t k = 0; k < events.size(); ++k) {
    const recall::Event& e = events[k];
    const samplegen::PlantedSegment& s = e.Segment;
    if (!e.OnX) {
      // The large array has room for every autosomal event.
      EXPECT_TRUE(e.Placed);
      ++autosomal;
    }
    if (!e.Placed) continue;
    EXPECT_EQ(e.OnX, s.Chromosome == kChromosomeX);
    EXPECT_EQ(s.LastSnp - s.FirstSnp + 1, e.Size);
    EXPECT_GE(s.FirstSnp - e.Size, generator.ChromosomeBegin(s.Chromosome));
    EXPECT_LE(s.LastSnp + e.Size, generator.ChromosomeEnd(s.Chromosome));
    if (k + 1 < events.size() && events[k + 1].Placed && events[k + 1].Segment.Chromosome == s.Chromosome) {
      EXPECT_GE(events[k + 1].Segment.FirstSnp - s.LastSnp, std::max(e.Size, events[k + 1].Size));
    }
    const recall::EventKind& kind = recall::kEventKinds[e.Kind];
    EXPECT_EQ(s.MajorCopies, kind.Major);
    EXPECT_EQ(s.MinorCopies, kind.Minor);
  }
  EXPECT_EQ(autosomal, static_cast<int>(std::size(recall::kEventSizes) * std::size(recall::kEventKinds)));
}

}  // namespace
}  // namespace qova::test
