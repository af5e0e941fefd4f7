// The shown sample's identity, chosen from the menus of a framed view on the
// small family's demo: View > Sample infomation (its report, the base range's
// location, Copy) and the change of self reference (the chooser scripted, the
// analysis it runs and what it stores).
#include <gmock/gmock.h>

#include <filesystem>

#include "core/AnalyzedData.h"
#include "core/ArrayData.h"
#include "core/ArrayTypes.h"
#include "core/BasicData.h"
#include "platform/Strings.h"
#include "platform/ui/Headless.h"
#include "platform/ui/UserInput.h"
#include "resources/CommandIds.h"
#include "resources/ReferenceDialogs.h"
#include "resources/ShownSampleDialogs.h"
#include "tests/views/ViewToolTestSupport.h"

namespace qova::test {
namespace {

namespace res = qova::resources;
using platform::ui::DialogDriver;
using platform::ui::Headless;

class ViewSampleTest : public ViewToolTest {
 protected:
  // The report the dialog shows; Copy pressed when `copy`.
  std::string Information(bool copy = false) {
    std::string shown = "<not shown>";
    Headless().OnDialog(res::kSampleInformationDialog, [&](DialogDriver& d) {
      shown = d.Text(res::kSampleInformationText);
      if (copy) d.Click(res::kSampleInformationCopy);
      d.Ok();
    });
    EXPECT_TRUE(platform::ui::input::ChooseCommand(Frame(), res::kCmdSampleInformation));
    return shown;
  }
  // The report's lines from "Attribute1" to the end, which both kinds share.
  [[nodiscard]] std::string SharedTail(const std::string& location) const {
    const CAnalyzedData& a = doc_->AnalyzedData;
    const SampleHeader& h = a.Header;
    const auto& range = a.IsSelf ? h.SelfBaseRange : h.NonSelfBaseRange;
    return platform::Format(
        "Attribute1\t%s\nAttribute2\t%s\nAttribute3\t%s\nAttribute4\t%s\nAttribute5\t%s\nSex\t%s\n"
        "Base Range\t%d-%d, N=%d\n%sploidy\t%f\nSD\t%f\n",
        h.Attribute1.c_str(), h.Attribute2.c_str(), h.Attribute3.c_str(), h.Attribute4.c_str(),
        h.Attribute5.c_str(), h.Sex.c_str(), range[0], range[1], range[3], location.c_str(),
        double(a.MeanState), double(a.SampleSD));
  }
  [[nodiscard]] std::string Head(const char* name) const {
    return platform::Format("Sample name\t%s\nArray type\t%s\nCreate time\t%s\n", name, kSmallType,
                            doc_->AnalyzedData.Header.CreateTime.Format("%Y/%m/%d").c_str());
  }
  // Runs the change of self reference with the chooser answered by `answer`.
  std::vector<std::string> ChangeReference(const std::function<void(DialogDriver&)>& answer) {
    std::vector<std::string> offered;
    Headless().OnDialog(res::kSelectRefDialog, [&](DialogDriver& d) {
      offered = d.Items(res::kSelectRefSampleList);
      answer(d);
    });
    EXPECT_TRUE(platform::ui::input::ChooseCommand(Frame(), res::kCmdChangeSelfReference));
    return offered;
  }
};

TEST_F(ViewSampleTest, ASelfResultReportsItsPairedReferenceAndCopiesTheReport) {
  Open("Tumour01", ".CFS");
  FramedView();
  auto& range = doc_->AnalyzedData.Header.SelfBaseRange;
  range = {First(3) + 10, First(3) + 50, 1, 2};
  const std::string location =
      platform::Format("\t(ch 3: %d-%d)\n", PositionOfSlot(First(3) + 10), PositionOfSlot(First(3) + 50));
  const std::string report = Information(true);
  EXPECT_EQ(report, Head("Tumour01") + "Analysis type\tAllele specific analysis\nreference name\tTumour01N\n" +
                        SharedTail(location));
  EXPECT_EQ(Headless().ClipboardText(), report);
}

TEST_F(ViewSampleTest, ANonSelfResultNamesEachReferenceOnceWithoutItsScore) {
  Open("Tumour02", ".CFN");
  FramedView();
  SampleHeader& h = doc_->AnalyzedData.Header;
  h.NonSelfReferenceCount = 3;
  h.NonSelfReferences = "0.125000$Ref04$0.250000$Ref01$0.500000$Ref06$";
  EXPECT_THAT(Information(), testing::HasSubstr("Analysis type\tNon-self analysis\nreference name\tRef04\n"
                                                "              \tRef01\n              \tRef06\nAttribute1\t"));
  EXPECT_EQ(Headless().ClipboardText(), std::nullopt);
}

TEST_F(ViewSampleTest, TheBaseRangeLocationHasThreeForms) {
  Open("Tumour02", ".CFN");
  FramedView();
  auto& range = doc_->AnalyzedData.Header.NonSelfBaseRange;
  const struct {
    int first, last;
    std::string line;
  } cases[] = {
      {First(7), End(7) - 1, platform::Format("\t(ch 7: %d-%d)\n", PositionOfSlot(First(7)), PositionOfSlot(End(7) - 1))},
      {First(23) + 2, End(23) - 3,
       platform::Format("\t(ch X: %d-%d)\n", PositionOfSlot(First(23) + 2), PositionOfSlot(End(23) - 3))},
      {End(3) - 5, First(4) + 5, "\t(not set)\n"},
      // A range the array type does not hold (a header from elsewhere).
      {First(1), 1 << 30, "\t(not set)\n"},
  };
  for (const auto& c : cases) {
    range = {c.first, c.last, 1, 2};
    const std::string report = Information();
    EXPECT_THAT(report, testing::EndsWith(SharedTail(c.line))) << c.line;
  }
}

// A combined sample of both arrays of the 50K set counts its slots in
// position order over both: they reach the annotation through the sort map.
TEST_F(ViewSampleTest, ACombinedResultPlacesItsBaseRangeThroughTheSortMap) {
  constexpr const char* kCombined = "Mapping50K_Hind+Xba";
  const CBasicData& table = LoadFamily(2);
  doc_->AnalyzedData = GeneratedResult(kCombined, table);
  doc_->Status = kStatusSingle;
  // As the combining of two results marks the one it stores.
  doc_->AnalyzedData.Header.Combined = true;
  const int* starts = qova::core::kArrayChromosomeStarts[qova::core::FindArrayType(kCombined)->type];
  doc_->AnalyzedData.Header.NonSelfBaseRange = {starts[6] + 10, starts[6] + 900, 1, 2};
  FramedView();
  const auto position = [&table](int i) {
    return table.Position[std::size_t(table.IndexMap[std::size_t(table.SortMap[std::size_t(i)])])];
  };
  EXPECT_THAT(Information(), testing::EndsWith(SharedTail(
                                 platform::Format("\t(ch 6: %d-%d)\n", position(starts[6] + 10), position(starts[6] + 900)))));
}

TEST_F(ViewSampleTest, AnotherPairedReferenceIsAnalysedStoredAndShown) {
  const std::string root = OwnCopy();
  OpenCopy(root, "Tumour01", ".CFS");
  CQOVAView& view = FramedView();
  const std::string before = Bytes(root + "Results/Tumour01.CFS");
  const std::vector<std::string> offered = ChangeReference([](DialogDriver& d) { d.Select(res::kSelectRefSampleList, "Ref02").Ok(); });
  // Only the reference samples of the type are offered.
  EXPECT_THAT(offered, testing::Contains("Tumour01N"));
  EXPECT_THAT(offered, testing::Not(testing::Contains("Tumour02")));
  EXPECT_NE(Bytes(root + "Results/Tumour01.CFS"), before);
  CAnalyzedData stored;
  stored.LoadFile(root + "Results/Tumour01.CFS");
  CArrayData sample;
  sample.LoadFile(root + "ArrayData/Tumour01.CFH", false);
  EXPECT_EQ(stored.Header.SelfReference, "Ref02");
  EXPECT_EQ(sample.Header.SelfReference, "Ref02");
  EXPECT_TRUE(stored.IsSelf);
  EXPECT_EQ(doc_->AnalyzedData.Header.SelfReference, "Ref02");
  EXPECT_TRUE(view.m_bDataShown);
  EXPECT_THAT(messages_.Texts(), testing::IsEmpty());
}

TEST_F(ViewSampleTest, CancelOrAReferenceThatCannotBeReadChangesNothing) {
  const std::string root = OwnCopy();
  OpenCopy(root, "Tumour01", ".CFS");
  FramedView();
  const std::string result = Bytes(root + "Results/Tumour01.CFS"), sample = Bytes(root + "ArrayData/Tumour01.CFH");
  ChangeReference([](DialogDriver& d) { d.Select(res::kSelectRefSampleList, "Ref02").Cancel(); });
  EXPECT_THAT(messages_.Texts(), testing::IsEmpty());
  // The chosen sample's file goes before OK: the analysis cannot read it.
  ChangeReference([&](DialogDriver& d) {
    d.Select(res::kSelectRefSampleList, "Ref03");
    std::filesystem::remove(root + "ArrayData/Ref03.CFH");
    d.Ok();
  });
  EXPECT_EQ(messages_.Texts().size(), 1u);
  EXPECT_EQ(Bytes(root + "Results/Tumour01.CFS"), result);
  EXPECT_EQ(Bytes(root + "ArrayData/Tumour01.CFH"), sample);
  EXPECT_EQ(doc_->ArrayData.Header.SelfReference, "Tumour01N");
}

TEST_F(ViewSampleTest, TheChangeOfReferenceIsOfferedForAShownSelfResultWithItsSampleOnly) {
  Open("Tumour01", ".CFS");
  CQOVAView& view = FramedView();
  EXPECT_TRUE(Frame().IsCommandEnabled(res::kCmdChangeSelfReference));
  EXPECT_TRUE(Frame().IsCommandEnabled(res::kCmdSampleInformation));
  view.m_nViewFlags |= VIEW_MULTIPLE;
  EXPECT_FALSE(Frame().IsCommandEnabled(res::kCmdChangeSelfReference));
  EXPECT_FALSE(Frame().IsCommandEnabled(res::kCmdSampleInformation));
  view.m_nViewFlags &= ~VIEW_MULTIPLE;
  view.m_nViewFlags |= VIEW_NOT_ANALYSIS;
  EXPECT_FALSE(Frame().IsCommandEnabled(res::kCmdChangeSelfReference));
  Open("Tumour02", ".CFN");
  doc_->UpdateAllViews(nullptr);
  EXPECT_FALSE(Frame().IsCommandEnabled(res::kCmdChangeSelfReference));
  EXPECT_TRUE(Frame().IsCommandEnabled(res::kCmdSampleInformation));
}

}  // namespace
}  // namespace qova::test
