// Integration on the results of the main road (the demo on the small
// family), read from the result folder its settings name: gains and losses of
// both tumours and the LOH of the unpaired one where they were planted and
// hardly anywhere else, a second reading that changes nothing, and the known
// genes of every segment.
#include <algorithm>
#include <map>
#include <memory>
#include <sstream>

#include "analysis/IntegrationData.h"
#include "analysis/KnownGenes.h"
#include "core/GlobalData.h"
#include "core/ProgramSetting.h"
#include "document/ApplicationData.h"
#include "document/QOVADoc.h"
#include "document/display/SelectResult.h"
#include "platform/MessageBox.h"
#include "platform/ui/App.h"
#include "platform/ui/Headless.h"
#include "resources/CommandIds.h"
#include "resources/DisplaySamplesDialog.h"
#include "resources/IntegrationDialog.h"
#include "platform/File.h"
#include "platform/Paths.h"
#include "tests/support/TempHome.h"
#include "tools/datagen/DataGen.h"
#include "tools/demo/Demo.h"

namespace qova::test {
namespace {

// A base interval [Start, End].
struct Interval {
  std::int64_t Start = 0, End = 0;
};

// Bases of `target` that `covering` covers.
std::int64_t CoveredBases(Interval target, std::vector<Interval> covering) {
  std::sort(covering.begin(), covering.end(), [](Interval a, Interval b) { return a.Start < b.Start; });
  std::int64_t covered = 0, reached = target.Start;
  for (const Interval& c : covering) {
    const std::int64_t from = std::max(c.Start, reached), to = std::min(c.End, target.End);
    if (to > from) {
      covered += to - from;
      reached = to;
    }
  }
  return covered;
}

class IntegrationRoadTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    home_ = std::make_unique<TempHome>();
    demo::DemoOptions options;
    options.Folder = home_->Path("demo/");
    options.ArrayType = "Mapping10K_Xba131";
    std::ostringstream log;
    outcome_ = std::make_unique<demo::DemoOutcome>(demo::RunDemo(options, log));
    // The program as started in the demo folder: its settings name the folders.
    global_ = std::make_unique<CGlobalData>();
    ASSERT_TRUE(global_->Load()) << log.str();
  }
  static void TearDownTestSuite() {
    global_.reset();
    outcome_.reset();
    home_.reset();
  }

  [[nodiscard]] static std::vector<std::string> ResultFiles() {
    std::vector<std::string> files;
    for (const demo::SampleOutcome& s : outcome_->Samples) files.push_back(s.ResultFile);
    return files;
  }
  [[nodiscard]] static IntegrationData Integrate(const std::string& mode) {
    IntegrationData data(*global_);
    data.Mode = mode;
    data.MinRun = 5;
    EXPECT_TRUE(data.IntegrateSamples(ResultFiles()));
    return data;
  }
  [[nodiscard]] static std::int32_t Pos(std::int32_t snp) {
    const CBasicData& table = global_->BasicData[0];
    return table.Position[std::size_t(table.IndexMap[std::size_t(snp)])];
  }
  [[nodiscard]] static Interval Bases(const samplegen::PlantedSegment& planted) {
    return {Pos(planted.FirstSnp), Pos(planted.LastSnp)};
  }
  // The segments of one sample on one chromosome, of one kind (0: any).
  [[nodiscard]] static std::vector<Interval> SegmentsOf(const IntegrationData& data, std::size_t sample, int c,
                                                        std::int32_t kind) {
    std::vector<Interval> found;
    for (const IntegrationSegment& s : data.Segments) {
      if (s.SampleIndex == std::int32_t(sample) && s.Chromosome == c && (kind == 0 || s.Kind == kind))
        found.push_back({s.Start, s.End});
    }
    return found;
  }
  // The "AddDel" kind of a planted copy number; 0 for two copies.
  static std::int32_t AddDelKind(int copies) {
    if (copies == 0) return IntegrationSegment::kHomozygousDeletion;
    if (copies == 1) return IntegrationSegment::kLoss;
    if (copies >= 5) return IntegrationSegment::kHighAmplification;
    return copies >= 3 ? IntegrationSegment::kGain : 0;
  }
  [[nodiscard]] static std::int64_t GenomeBases() {
    std::int64_t bases = 0;
    for (int c = 1; c <= kChromosomeX; ++c) {
      bases += global_->Cytoband->BandEnd[std::size_t(global_->Cytoband->ChromosomeFirstBand[c + 1] - 1)];
    }
    return bases;
  }
  // Bases of a sample's segments that lie outside everything planted in it.
  [[nodiscard]] static std::int64_t UnplantedBases(const IntegrationData& data, std::size_t sample) {
    std::int64_t away = 0;
    for (int c = 1; c <= kChromosomeX; ++c) {
      std::vector<Interval> planted;
      for (const demo::PlantedOutcome& p : outcome_->Samples[sample].Planted)
        if (p.Planted.Chromosome == c) planted.push_back(Bases(p.Planted));
      for (const Interval& segment : SegmentsOf(data, sample, c, 0))
        away += (segment.End - segment.Start) - CoveredBases(segment, planted);
    }
    return away;
  }

  static std::unique_ptr<TempHome> home_;
  static std::unique_ptr<demo::DemoOutcome> outcome_;
  static std::unique_ptr<CGlobalData> global_;
};

std::unique_ptr<TempHome> IntegrationRoadTest::home_;
std::unique_ptr<demo::DemoOutcome> IntegrationRoadTest::outcome_;
std::unique_ptr<CGlobalData> IntegrationRoadTest::global_;

TEST_F(IntegrationRoadTest, GainsAndLossesCoverWhatWasPlantedAndLittleElse) {
  ASSERT_EQ(ResultFiles(), (std::vector<std::string>{"Tumour01.CFS", "Tumour02.CFN"}));
  EXPECT_EQ(global_->ProgramSetting->DefaultAnalysisResultFolder, home_->Path("demo/Results/"));
  const IntegrationData data = Integrate("AddDel");
  int checked = 0;
  for (std::size_t k = 0; k < outcome_->Samples.size(); ++k) {
    for (const demo::PlantedOutcome& p : outcome_->Samples[k].Planted) {
      const std::int32_t kind = AddDelKind(p.Planted.TotalCopies());
      if (kind == 0) continue;
      const Interval planted = Bases(p.Planted);
      const double share = double(CoveredBases(planted, SegmentsOf(data, k, p.Planted.Chromosome, kind))) /
                           double(planted.End - planted.Start);
      EXPECT_GE(share, 0.95) << outcome_->Samples[k].Sample << " chromosome " << p.Planted.Chromosome;
      ++checked;
    }
    EXPECT_LT(double(UnplantedBases(data, k)) / double(GenomeBases()), 0.01) << outcome_->Samples[k].Sample;
  }
  EXPECT_GE(checked, 4);

  // Adding the same results again adds nothing; reading one again gives its
  // segments again, after the other sample's.
  IntegrationData again = data;
  ASSERT_TRUE(again.AddNewSamples(ResultFiles()));
  EXPECT_EQ(again.Segments, data.Segments);
  ASSERT_TRUE(again.ReintegrateSampleByName("Tumour01.CFS"));
  std::vector<IntegrationSegment> expected = data.Segments;
  std::stable_partition(expected.begin(), expected.end(), [](const IntegrationSegment& s) { return s.SampleIndex != 0; });
  EXPECT_EQ(again.Segments, expected);
}

TEST_F(IntegrationRoadTest, LohOfTheUnpairedTumourCoversItsLohAndLosses) {
  const IntegrationData data = Integrate("LOH");
  const std::size_t unpaired = 1;
  int checked = 0;
  for (const demo::PlantedOutcome& p : outcome_->Samples[unpaired].Planted) {
    if (!p.Planted.IsCopyNeutralLoh() && p.Planted.TotalCopies() != 1) continue;
    const Interval planted = Bases(p.Planted);
    const double share = double(CoveredBases(planted, SegmentsOf(data, unpaired, p.Planted.Chromosome, 1))) /
                         double(planted.End - planted.Start);
    EXPECT_GE(share, 0.9) << "chromosome " << p.Planted.Chromosome;
    ++checked;
  }
  EXPECT_GE(checked, 2);
  // The self result holds no LOH likelihood.
  EXPECT_TRUE(SegmentsOf(data, 0, 1, 0).empty());
}

// Data > DisplaySamples > Integral View over each kind of the demo's results:
// every LOH or imbalance mode the integration dialog offers marks the planted
// copy-neutral LOH of that result. The marked imbalance of the non-self
// result marks nothing: only a user's markers could mark it.
TEST_F(IntegrationRoadTest, EveryLohModeTheDialogOffersMarksThePlantedLoh) {
  namespace res = qova::resources;
  platform::ScopedRecordingSink boxes;
  CSelectResult::Reset();
  qova::document::SetApplicationData(global_.get());
  struct Uninstall {
    ~Uninstall() {
      qova::document::SetApplicationData(nullptr);
      CSelectResult::Reset();
    }
  } uninstall;
  CQOVADoc doc(*global_);
  const std::pair<unsigned, const char*> lohModes[] = {{res::kIntegrationLoh, "LOH"},
                                                       {res::kIntegrationAllelicImbalance, "AH"},
                                                       {res::kIntegrationMarkedImbalance, "AH_Mark"}};
  struct Kind {
    bool self;
    std::size_t sample;
    std::vector<std::string> offered;
    std::vector<std::string> unmarked;
  } kinds[] = {{true, 0, {"AH_Mark"}, {}}, {false, 1, {"LOH", "AH", "AH_Mark"}, {"AH_Mark"}}};
  for (const Kind& kind : kinds) {
    const demo::SampleOutcome& outcome = outcome_->Samples[kind.sample];
    SCOPED_TRACE(outcome.ResultFile);
    std::vector<std::string> offered;
    for (const auto& [radioId, mode] : lohModes) {
      const auto radio = radioId;  // lambdas capture variables, not bindings
      bool enabled = false;
      platform::ui::Headless().OnDialog(res::kDisplaySamplesDialog, [&](platform::ui::DialogDriver& d) {
        d.Click(kind.self ? res::display::kSelfAnalysis : res::display::kNonSelfAnalysis);
        d.Click(res::display::kCheckAll).Click(res::display::kIntegralView);
        if (d.IsOpen()) d.Cancel();
      });
      platform::ui::Headless().OnDialog(res::kIntegrationDialog, [&](platform::ui::DialogDriver& d) {
        enabled = d.IsEnabled(radio);
        if (enabled) {
          d.Click(radio).Ok();
        } else {
          d.Cancel();
        }
      });
      doc.Status = kStatusClean;
      platform::ui::DispatchCommand(doc, res::kCmdDisplaySamples);
      if (!enabled) continue;
      offered.push_back(mode);
      ASSERT_EQ(doc.Status, kStatusIntegrate) << mode;
      ASSERT_EQ(doc.Integration->SampleNames, std::vector<std::string>{outcome.ResultFile}) << mode;
      if (std::find(kind.unmarked.begin(), kind.unmarked.end(), mode) != kind.unmarked.end()) {
        EXPECT_TRUE(doc.Integration->Segments.empty()) << mode;
        continue;
      }
      int checked = 0;
      for (const demo::PlantedOutcome& p : outcome.Planted) {
        if (!p.Planted.IsCopyNeutralLoh()) continue;
        const Interval planted = Bases(p.Planted);
        const double share = double(CoveredBases(planted, SegmentsOf(*doc.Integration, 0, p.Planted.Chromosome, 1))) /
                             double(planted.End - planted.Start);
        EXPECT_GE(share, 0.9) << mode << " chromosome " << p.Planted.Chromosome;
        ++checked;
      }
      EXPECT_EQ(checked, 1) << mode;
    }
    EXPECT_EQ(offered, kind.offered);
  }
  EXPECT_TRUE(boxes.Texts().empty()) << ::testing::PrintToString(boxes.Texts());
  EXPECT_TRUE(platform::ui::Headless().Failures().empty());
}

TEST_F(IntegrationRoadTest, KnownGenesOfEverySegmentAreThoseAScanOfTheFileFinds) {
  std::string text;
  ASSERT_TRUE(platform::ReadWholeFile(global_->DataFolder() + "knowngenes.txt", text));
  struct Row {
    int c;
    std::int64_t start, end;
    std::string name;
  };
  std::vector<Row> rows;
  const std::vector<std::string> lines = platform::SplitLines(text);
  for (std::size_t n = 1; n < lines.size(); ++n) {
    std::istringstream fields(lines[n]);
    std::string c;
    Row row;
    if (!(fields >> c >> row.start >> row.end >> row.name)) continue;
    row.c = c == "X" ? 23 : std::stoi(c);
    rows.push_back(row);
  }
  KnownGenes genes;
  ASSERT_TRUE(genes.Load(global_->DataFolder() + "knowngenes.txt"));
  const IntegrationData data = Integrate("AddDel");
  ASSERT_FALSE(data.Segments.empty());
  int named = 0;
  for (const IntegrationSegment& s : data.Segments) {
    std::string scanned;
    for (const Row& row : rows)
      if (row.c == s.Chromosome && s.Start <= row.end && s.End >= row.start) scanned += row.name + " ";
    EXPECT_EQ(genes.GenesInRange(s.Chromosome, s.Start, s.End), scanned) << s.Chromosome << ":" << s.Start;
    named += scanned.empty() ? 0 : 1;
  }
  EXPECT_GT(named, 0);
}

}  // namespace
}  // namespace qova::test
