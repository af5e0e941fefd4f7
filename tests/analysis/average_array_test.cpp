// "Average Arrays" over a folder of generated samples of two array types: the
// types and samples it lists, the checks of OK in their order, and the
// question before a new sample would replace one that exists.
#include "analysis/AverageArray.h"
#include "core/ArrayData.h"
#include "resources/ParameterDialogs.h"
#include "tests/core/CoreDialogTestSupport.h"

namespace qova::test {
namespace {

using platform::ui::DialogDriver;
using namespace qova::resources;

constexpr const char* kOtherType = "Mapping10K_Xba142";

class AverageArrayTest : public CoreDialogTest {
 protected:
  AverageArrayTest() {
    const CBasicData otherAnnotation = datagen::MakeAnnotation(ArrayClassIndex(kOtherType));
    const samplegen::SampleGenerator small(kDialogSampleType, Annotation(), 5);
    const samplegen::SampleGenerator other(kOtherType, otherAnnotation, 5);
    // File-search order: Beta1, broken, Gamma1, gamma2, Kappa1.
    for (const char* name : {"Gamma1", "Kappa1", "gamma2"}) Write(small, name);
    Write(other, "Beta1");
    Write(other, "Zeta1");
    EXPECT_TRUE(platform::WriteWholeFile(ArrayFolder() + "broken.CFH", "not a sample"));
  }

  void Write(const samplegen::SampleGenerator& generator, const std::string& name) {
    samplegen::SampleSpec spec;
    spec.Name = name;
    generator.Make(spec).StoreFile(ArrayFolder() + name + ".CFH");
  }

  [[nodiscard]] std::vector<std::string> ErrorLogLines() const {
    return platform::SplitLines(Bytes(Root() + "errorlog.txt"));
  }
};

TEST_F(AverageArrayTest, TypesAreListedOnceAndAChosenTypeListsItsSamples) {
  std::vector<std::string> types, samples, headers, samplesAfterReselect;
  std::vector<int> selectedAfterReselect;
  Ui().OnDialog(kAverageArrayDialog, [&](DialogDriver& d) {
    types = d.Items(kAverageArrayType);
    d.Select(kAverageArrayType, kDialogSampleType);
    samples = d.Items(kAverageArraySamples);
    headers = d.Items(kAverageArrayHeaderFrom);
    d.SelectItems(kAverageArraySamples, {0, 2});
    d.Select(kAverageArrayType, kDialogSampleType);
    samplesAfterReselect = d.Items(kAverageArraySamples);
    selectedAfterReselect = d.SelectedItems(kAverageArraySamples);
    d.Select(kAverageArrayHeaderFrom, "gamma2").Type(kAverageArrayNewName, "Average1").Ok();
  });
  CAverageArray dialog(ArrayFolder());
  dialog.ArrayType = kDialogSampleType;  // a caller's choice does not stop the listing
  ASSERT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(types, (std::vector<std::string>{kOtherType, kDialogSampleType}));
  EXPECT_EQ(samples, (std::vector<std::string>{"Gamma1", "gamma2", "Kappa1"}));
  EXPECT_EQ(headers, samples);
  EXPECT_EQ(samplesAfterReselect, samples);
  EXPECT_EQ(selectedAfterReselect, (std::vector<int>{0, 2}));
  EXPECT_EQ(dialog.ArrayType, kDialogSampleType);
  EXPECT_EQ(dialog.SelectedSamples, (std::vector<std::string>{"Gamma1", "Kappa1"}));
  EXPECT_EQ(dialog.HeaderSample, "gamma2");
  EXPECT_EQ(dialog.NewName, "Average1");
  EXPECT_TRUE(Messages().empty());
  // Each listing leaves out the damaged file and says so.
  const std::vector<std::string> log = ErrorLogLines();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_NE(log[0].find(ArrayFolder() + "broken.CFH"), std::string::npos) << log[0];
}

TEST_F(AverageArrayTest, OkChecksHeaderThenSamplesThenName) {
  struct Case {
    const char* what;
    std::function<void(DialogDriver&)> act;
    const char* message;
  };
  const std::vector<Case> cases = {
      {"nothing chosen", [](DialogDriver&) {}, "Select header array"},
      {"only the header", [](DialogDriver& d) { d.Select(kAverageArrayHeaderFrom, 0); }, "Select arrays"},
      {"no name",
       [](DialogDriver& d) { d.Select(kAverageArrayHeaderFrom, 0).SelectItems(kAverageArraySamples, {1}); },
       "Enter new array data name"},
      {"samples and name without a header",
       [](DialogDriver& d) { d.SelectItems(kAverageArraySamples, {0, 1}).Type(kAverageArrayNewName, "New"); },
       "Select header array"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    messages_.Clear();
    bool stayedOpen = false;
    Ui().OnDialog(kAverageArrayDialog, [&](DialogDriver& d) {
      d.Select(kAverageArrayType, kOtherType);
      c.act(d);
      d.Ok();
      stayedOpen = d.IsOpen();
      d.Cancel();
    });
    CAverageArray dialog(ArrayFolder());
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(Messages(), std::vector<std::string>{c.message});
    EXPECT_TRUE(dialog.SelectedSamples.empty() && dialog.NewName.empty());
  }
}

TEST_F(AverageArrayTest, AnExistingNameAsksAndNoKeepsEveryEntry) {
  messages_.QueueAnswer(IDNO);
  messages_.QueueAnswer(IDYES);
  std::vector<int> selected;
  int header = -1;
  std::string name;
  bool openAfterNo = false;
  Ui().OnDialog(kAverageArrayDialog, [&](DialogDriver& d) {
    d.Select(kAverageArrayType, kDialogSampleType).SelectItems(kAverageArraySamples, {0, 1});
    d.Select(kAverageArrayHeaderFrom, 1).Type(kAverageArrayNewName, "kappa1").Ok();
    openAfterNo = d.IsOpen();
    selected = d.SelectedItems(kAverageArraySamples);
    header = d.CurSel(kAverageArrayHeaderFrom);
    name = d.Text(kAverageArrayNewName);
    d.Ok();
  });
  CAverageArray dialog(ArrayFolder());
  ASSERT_EQ(dialog.DoModal(), IDOK);
  EXPECT_TRUE(openAfterNo);
  EXPECT_EQ(selected, (std::vector<int>{0, 1}));
  EXPECT_EQ(header, 1);
  EXPECT_EQ(name, "kappa1");
  const std::string question = ArrayFolder() + "kappa1.CFH is already exist. Overwrite?";
  EXPECT_EQ(Messages(), (std::vector<std::string>{question, question}));
  EXPECT_EQ(dialog.NewName, "kappa1");
}

TEST_F(AverageArrayTest, AFolderWithoutSamplesSaysError) {
  const std::string empty = Root() + "Empty/";
  EXPECT_TRUE(platform::CreateFolders(empty));
  std::vector<std::string> types{"not shown"};
  Ui().OnDialog(kAverageArrayDialog, [&](DialogDriver& d) {
    types = d.Items(kAverageArrayType);
    d.Cancel();
  });
  CAverageArray dialog(empty);
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_TRUE(types.empty());
  EXPECT_EQ(Messages(), std::vector<std::string>{"error"});
}

}  // namespace
}  // namespace qova::test
