// The main road on the small family: array files written by our own writers,
// Extract Data over the four lists, the Sample Manager's self analysis of the
// pair and non-self analysis with automatic references of the other tumour,
// and every planted segment called where it was planted.
#include <sstream>

#include "platform/Paths.h"
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

}  // namespace
}  // namespace qova::test
