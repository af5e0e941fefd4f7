// Average arrays: the chosen samples' intensities averaged, each scaled to
// the first one's total, under the header of the chosen header array.
#include "core/ArrayTypes.h"
#include "document/DocumentCommands.h"
#include "document/extraction/ExtractionParts.h"
#include "resources/ParameterDialogs.h"
#include "tests/document/DocumentTestSupport.h"

namespace core = qova::core;

namespace qova::test {
namespace {

using platform::ui::DialogDriver;
using namespace qova::resources;

class AverageArraysTest : public DocumentTest {
 protected:
  CArrayData Write(const std::string& name, std::uint64_t individual) {
    samplegen::SampleSpec spec;
    spec.Name = name;
    spec.Individual = individual;
    spec.Scale = 1000.0f + 300.0f * static_cast<float>(individual);
    return WriteSample(spec);
  }

  // The dialog answered: the small type, the samples at `chosen` (the list
  // is in file-search order), the header array and the new name; `meanwhile`
  // runs before OK.
  void Average(std::vector<int> chosen, const std::string& header, std::function<void()> meanwhile = {}) {
    Ui().OnDialog(kAverageArrayDialog, [=](DialogDriver& d) {
      d.Select(kAverageArrayType, kSmallType).SelectItems(kAverageArraySamples, chosen);
      d.Select(kAverageArrayHeaderFrom, header).Type(kAverageArrayNewName, "Mean");
      if (meanwhile) meanwhile();
      d.Ok();
    });
    Run(command::kAverageArrays);
  }

  // T: the sum of both signals over the type's rows up to the end of X, by
  // the annotation's index map.
  double Total(const CArrayData& s) const {
    const core::ArrayTypeInfo& type = *core::FindArrayType(kSmallType);
    double total = 0.0;
    for (std::int32_t j = type.firstSnp; j <= core::kArrayChromosomeStarts[type.type][kChromosomeX + 1] - 1; ++j) {
      const auto row = static_cast<std::size_t>(Annotation().IndexMap[static_cast<std::size_t>(j)]);
      total += double(s.SignalA[row]) + s.SignalB[row];
    }
    return total;
  }
};

TEST_F(AverageArraysTest, OneArrayKeepsItsSignalsUnderTheHeaderArraysHeader) {
  const CArrayData a = Write("A", 1);
  Write("H", 2);
  Average({0}, "H");
  ASSERT_TRUE(Messages().empty()) << Messages().front();
  const CArrayData mean = LoadSample("Mean"), h = LoadSample("H");
  EXPECT_EQ(mean.Header.SampleName, "Mean");
  EXPECT_EQ(mean.Header.Attribute1, h.Header.Attribute1);
  EXPECT_EQ(mean.Header.IsTest, h.Header.IsTest);
  EXPECT_EQ(mean.Header.Sex, h.Header.Sex);
  EXPECT_EQ(mean.SignalA, a.SignalA);
  EXPECT_EQ(mean.SignalB, a.SignalB);
  EXPECT_EQ(mean.Call, a.Call);
}

TEST_F(AverageArraysTest, TwoArraysAreWeightedByTheFirstTotalAndDisagreeingCallsBecomeNoCall) {
  const CArrayData a = Write("A", 1), b = Write("B", 4);
  Average({0, 1}, "A");
  ASSERT_TRUE(Messages().empty()) << Messages().front();
  const CArrayData mean = LoadSample("Mean");
  const double w = Total(a) / Total(b) / 2.0;
  ASSERT_NE(w, 0.5);
  const core::ArrayTypeInfo& type = *core::FindArrayType(kSmallType);
  int disagree = 0;
  for (std::int32_t j = type.firstSnp; j <= type.lastSnp; ++j) {
    const auto k = static_cast<std::size_t>(j);
    EXPECT_NEAR(mean.SignalA[k], a.SignalA[k] / 2.0 + b.SignalA[k] * w, 1e-3 * mean.SignalA[k]) << j;
    EXPECT_NEAR(mean.SignalB[k], a.SignalB[k] / 2.0 + b.SignalB[k] * w, 1e-3 * mean.SignalB[k]) << j;
    EXPECT_EQ(mean.Call[k], a.Call[k] == b.Call[k] ? a.Call[k] : kCallNone) << j;
    disagree += a.Call[k] != b.Call[k] ? 1 : 0;
  }
  EXPECT_GT(disagree, 100);
}

TEST_F(AverageArraysTest, AHeaderOfAnotherTypeOrAnArrayWithoutSignalIsRefusedAndNothingIsWritten) {
  Write("A", 1);
  Write("H", 2);
  const char* const other = "Mapping50K_Xba240";
  Average({0}, "H", [&] {
    // H becomes a sample of another type while the dialog is open.
    CArrayData foreign("H", other, qova::document::extraction::TypeInfoValues(*core::FindArrayType(other)), CTime(0));
    foreign.StoreFile(SamplePath("H"));
  });
  EXPECT_EQ(Messages(), std::vector<std::string>{
                            "Average arrays: the header array H is of the array type Mapping50K_Xba240, not "
                            "Mapping10K_Xba131"});
  EXPECT_FALSE(Exists(SamplePath("Mean")));

  Write("H", 2);
  CArrayData dark("Z", kSmallType, qova::document::extraction::TypeInfoValues(*core::FindArrayType(kSmallType)), CTime(0));
  dark.StoreFile(SamplePath("Z"));
  messages_.Clear();
  Average({0, 2}, "H");  // A, Z
  EXPECT_EQ(Messages(), std::vector<std::string>{"Average arrays: the array Z has no total intensity to scale by"});
  EXPECT_FALSE(Exists(SamplePath("Mean")));
}

}  // namespace
}  // namespace qova::test
