// The main road on the small family: array files written by our own writers,
// Extract Data over the four lists, the Sample Manager's self analysis of the
// pair and non-self analysis with automatic references of the other tumour,
// and every planted segment called where it was planted.
#include <algorithm>
#include <cstdio>
#include <sstream>

#include "core/ArrayTypes.h"
#include "core/GlobalData.h"
#include "document/ApplicationData.h"
#include "document/DocumentCommands.h"
#include "document/QOVADoc.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/Strings.h"
#include "platform/ui/App.h"
#include "platform/ui/Headless.h"
#include "resources/ExtractDialogs.h"
#include "tests/support/TempHome.h"
#include "tools/demo/Demo.h"

namespace qova::test {
namespace {

class DemoRoadTest : public TempHomeTest {};

TEST_F(DemoRoadTest, PlantedSegmentsOfBothTumoursAreCalledAndNothingElse) {
  demo::DemoOptions options;
  options.Folder = Path("demo/");
  options.ArrayType = "Mapping10K_Xba131";
  std::ostringstream log;
  const demo::DemoOutcome outcome = demo::RunDemo(options, log);

  EXPECT_TRUE(outcome.Messages.empty()) << log.str();
  ASSERT_EQ(outcome.Samples.size(), 2u) << log.str();
  const char* const expected[][2] = {{"Tumour01", "Tumour01.CFS"}, {"Tumour02", "Tumour02.CFN"}};
  for (std::size_t k = 0; k < outcome.Samples.size(); ++k) {
    const demo::SampleOutcome& sample = outcome.Samples[k];
    SCOPED_TRACE(sample.Sample);
    EXPECT_EQ(sample.Sample, expected[k][0]);
    EXPECT_EQ(sample.ResultFile, expected[k][1]);
    EXPECT_EQ(sample.Planted.size(), 3u);
    for (const demo::PlantedOutcome& planted : sample.Planted) {
      EXPECT_GT(planted.ShareCalled, 0.9) << "chromosome " << planted.Planted.Chromosome;
    }
    EXPECT_TRUE(sample.Unplanted().empty());
  }
  // Every sample was extracted, and the program started in the folder finds
  // its settings there.
  for (const char* name : {"Tumour01", "Tumour01N", "Tumour02", "Ref01", "Ref06"}) {
    EXPECT_TRUE(platform::FileExists(Path("demo/ArrayData/") + name + ".CFH")) << name;
  }
  EXPECT_TRUE(platform::FileExists(Path("demo/qova/QOVA.ini")));
}

TEST_F(DemoRoadTest, ExtractWithoutChpCallsTheDemosSnpsFromTheCellsAndSaysSo) {
  demo::DemoOptions options;
  options.Folder = Path("demo/");
  options.ArrayType = "Mapping10K_Xba131";
  std::ostringstream log;
  (void)demo::RunDemo(options, log);

  // Data > Extract without CHP over every CEL file of the demo, as non-paired tests.
  platform::ScopedRecordingSink messages;
  CGlobalData global;
  ASSERT_TRUE(global.Load());
  const qova::document::ScopedApplicationData application(global);
  platform::ui::Headless().Reset();
  namespace res = qova::resources;
  platform::ui::Headless().OnDialog(res::kDataExtractDialog, [](platform::ui::DialogDriver& d) {
    std::vector<int> all(d.Items(res::kExtractFoundFiles).size());
    for (std::size_t k = 0; k < all.size(); ++k) all[k] = static_cast<int>(k);
    d.SelectItems(res::kExtractFoundFiles, all).Click(res::kExtractAddNonPairedTest).Ok();
  });
  CQOVADoc doc;
  platform::ui::DispatchCommand(doc, qova::document::command::kExtractWithoutChp);

  // Eight CEL files carry standard deviations and are called; the compact
  // one keeps none. The status bar says so on one short line; the report at
  // the end gives each sample's count, and the reason of the one without.
  ASSERT_EQ(platform::ui::Headless().StatusTexts().size(), 1u);
  const std::string status = platform::ui::Headless().StatusTexts()[0];
  const std::string folder = platform::NativePath(Path("demo/ArrayData/"));
  EXPECT_TRUE(status.starts_with("Extracted 9 of 9 samples into " + folder + ", 9 replaced (attributes kept)"))
      << status;
  const std::string calls = "; SNPs called in 8 samples, none in ";
  ASSERT_NE(status.find(calls), std::string::npos) << status;
  const std::string uncalled = status.substr(status.find(calls) + calls.size());
  EXPECT_LE(status.size() - folder.size(), 110u) << status;
  ASSERT_EQ(messages.Texts().size(), 1u);
  const std::string report = messages.Texts()[0];
  const std::string heading = "SNPs called per sample:\n";
  ASSERT_TRUE(report.starts_with(heading)) << report;
  const qova::core::ArrayTypeInfo& type = *qova::core::FindArrayType(options.ArrayType);
  const int snps = type.lastSnp - type.firstSnp + 1;
  int called = 0, none = 0;
  std::vector<std::string> samples;
  for (std::size_t from = heading.size(), to = 0; from <= report.size(); from = to + 1) {
    to = std::min(report.find('\n', from), report.size());
    samples.push_back(report.substr(from, to - from));
  }
  for (const std::string& sample : samples) {
    SCOPED_TRACE(sample);
    if (sample.find(" none: ") != std::string::npos) {
      ++none;
      EXPECT_EQ(sample, uncalled + " none: no standard deviations in the CEL file (a compact CEL file keeps none)");
      continue;
    }
    int count = 0, of = 0;
    ASSERT_EQ(std::sscanf(sample.substr(sample.find(' ')).c_str(), " %d of %d", &count, &of), 2);
    EXPECT_EQ(of, snps);
    EXPECT_GT(count, snps / 2);
    ++called;
  }
  EXPECT_EQ(called, 8);
  EXPECT_EQ(none, 1);
}

}  // namespace
}  // namespace qova::test
