// "Output Data" of the Display Samples dialog: the chooser of the export
// and the sample list of the checked samples, run through the dialog with
// its chooser, column dialog and save dialog scripted, and the written file
// compared as text.
#include <cstdlib>
#include <ctime>
#include <optional>

#include "document/exports/DialogOutputData.h"
#include "platform/ui/CommonDialogs.h"
#include "resources/ExportDialogs.h"
#include "tests/document/display/display_samples_test_support.h"

namespace exports = qova::document::exports;

namespace qova::test {
namespace {

namespace ex = qova::resources;
using Items = std::vector<std::string>;

// The chooser's buttons with the kind each picks.
struct KindButton {
  unsigned id;
  int kind;
};
constexpr KindButton kKindButtons[] = {
    {ex::kOutputSampleListButton, exports::kOutputSampleList},
    {ex::kOutputRawDataButton, exports::kOutputRawData},
    {ex::kOutputCopyNumberButton, exports::kOutputCopyNumberChange},
    {ex::kOutputMarkerButton, exports::kOutputMarkers},
    {ex::kOutputRegionStatisticsButton, exports::kOutputRegionStatistics},
    {ex::kOutputLohButton, exports::kOutputLOH},
    {ex::kOutputABCalcButton, exports::kOutputABCalc},
    {ex::kOutputNonSelfReferencesButton, exports::kOutputNonSelfReferences},
};

class DisplayExportsTest : public DisplaySamplesTest {
 protected:
  // Opens Display Samples on the non-self results, checks `names`, and
  // chooses `button` of "Output Data", with `before` run just before that.
  void Export(unsigned button, const Items& names, const std::function<void()>& before = {}) {
    Ui().OnDialog(ex::kOutputDataDialog, [button](DialogDriver& d) { d.Click(button); });
    OpenDialog([&](DialogDriver& d) {
      d.SetCheck(display_ids::kUseTestOrRef, false).Click(display_ids::kNew);
      CheckLines(d, names);
      if (before) before();
      d.Click(display_ids::kOutputData);
      stillOpen_ = d.IsOpen();
    });
  }

  // The sample list of `names` with `choose` acting on the column dialog; the
  // file written, or nothing.
  std::string SampleList(const Items& names, const std::function<void(DialogDriver&)>& choose = {},
                         const std::function<void()>& before = {}) {
    const std::string out = Root() + "list.txt";
    static_cast<void>(platform::RemoveFile(out));
    Ui().OnDialog(ex::kOutputSampleListDialog, [&](DialogDriver& d) {
      if (choose) choose(d);
      d.Ok();
    });
    Ui().OnFileDialog([out](platform::ui::FileDialogRequest& r) {
      r.chosen = {out};
      return true;
    });
    Export(ex::kOutputSampleListButton, names, before);
    return Bytes(out);
  }

  static void OnlyNameAndArrayData(DialogDriver& d) {
    for (unsigned id : {ex::kListArrayType, ex::kListCreateTime, ex::kListSelf, ex::kListNonSelf, ex::kListAttribute1,
                        ex::kListAttribute1 + 1, ex::kListAttribute1 + 2, ex::kListAttribute1 + 3,
                        ex::kListAttribute1 + 4, ex::kListSex, ex::kListSelfDiploid, ex::kListNonSelfDiploid})
      d.SetCheck(id, false);
    d.SetCheck(ex::kListArrayData, true);
  }

  // A result whose header names its kind in attribute 1 and carries fixed base ranges.
  void WriteTagged(const std::string& file) {
    WriteResult(file, [&](SampleHeader& h) {
      h.Attribute1 = file.substr(file.find('.') + 1);
      h.Sex = "M";
      h.SelfReference = "Normal";
      h.SelfBaseRange = {10, 200, 1, 2};
      h.NonSelfBaseRange = {20, 300, 1, 3};
    });
  }

  bool stillOpen_ = false;
};

TEST_F(DisplayExportsTest, EachButtonOfTheChooserPicksItsKindAndEnterPicksNothing) {
  for (const KindButton& b : kKindButtons) {
    Ui().OnDialog(ex::kOutputDataDialog, [&](DialogDriver& d) {
      EXPECT_EQ(d.Caption(), "Output Data");
      // Enter reaches the dialog as IDOK; it must not close it.
      d.Window().SendMessage(WM_COMMAND, IDOK);
      EXPECT_TRUE(d.IsOpen());
      d.Click(b.id);
    });
    CDialogOutputData chooser;
    EXPECT_EQ(chooser.DoModal(), IDOK) << b.id;
    EXPECT_EQ(chooser.m_nKind, b.kind) << b.id;
  }
  Ui().OnDialog(ex::kOutputDataDialog, [](DialogDriver& d) { d.Cancel(); });
  CDialogOutputData chooser;
  EXPECT_EQ(chooser.DoModal(), IDCANCEL);
  EXPECT_EQ(chooser.m_nKind, 0);
}

TEST_F(DisplayExportsTest, OutputDataRunsTheChosenExportAndTheDialogStaysOpen) {
  WriteResult("a.CFN");
  // Cancel in the chooser runs nothing.
  Ui().OnDialog(ex::kOutputDataDialog, [](DialogDriver& d) { d.Cancel(); });
  OpenDialog([&](DialogDriver& d) {
    d.Click(display_ids::kOutputData);
    EXPECT_TRUE(d.IsOpen());
  });
  EXPECT_EQ(Messages(), Items{});
  // Each export starts by looking for checked samples.
  for (unsigned button : {ex::kOutputSampleListButton, ex::kOutputRawDataButton}) {
    messages_.Clear();
    Export(button, {});
    EXPECT_TRUE(stillOpen_);
    EXPECT_EQ(Messages(), Items{"Select more than one sample"}) << button;
  }
  EXPECT_FALSE(ShowedDialog(ex::kOutputSampleListDialog));
  EXPECT_FALSE(ShowedDialog(ex::kOutputRawDataDialog));
}

TEST_F(DisplayExportsTest, TheSampleListTakesEachCheckedSampleWhateverResultsItHas) {
  for (const char* file : {"Both.CFS", "Both.CFN", "SelfOnly.CFS", "NonSelfOnly.CFS", "NonSelfOnly.CFN", "Neither.CFS",
                           "Unchecked.CFS"})
    WriteTagged(file);
  samplegen::SampleSpec extracted;
  extracted.Name = "Both";
  WriteSample(extracted);
  Setting().NONSELFALLELE = 0;

  const std::string out = Root() + "list.txt";
  Ui().OnDialog(ex::kOutputDataDialog, [](DialogDriver& d) { d.Click(ex::kOutputSampleListButton); });
  Ui().OnDialog(ex::kOutputSampleListDialog, [](DialogDriver& d) {
    d.SetCheck(ex::kListSelfReferenceName, true).SetCheck(ex::kListArrayData, true).Ok();
  });
  Ui().OnFileDialog([out](platform::ui::FileDialogRequest& r) {
    r.chosen = {out};
    return true;
  });
  OpenDialog([&](DialogDriver& d) {
    d.SetCheck(display_ids::kUseTestOrRef, false).Click(display_ids::kSelfAnalysis);
    CheckLines(d, {"Both", "SelfOnly", "NonSelfOnly", "Neither"});
    // Files go while the dialog is open: the export looks at what is there.
    ASSERT_TRUE(platform::RemoveFile(ResultPath("NonSelfOnly.CFS")));
    ASSERT_TRUE(platform::RemoveFile(ResultPath("Neither.CFS")));
    d.Click(display_ids::kOutputData);
    EXPECT_TRUE(d.IsOpen());
  });
  // The shared cells come from the self result, else the non-self one, else an empty header.
  EXPECT_EQ(Bytes(out),
            "Sample_name\tArray_type\tCreate_time\tself(Y/N)\tSelf-reference name\tnon-self(Y/N)\tAttribute1\tAttribute2"
            "\tAttribute3\tAttribute4\tAttribute5\tSex\tself_diploid\tnon-self_diploid\tArrayData(Y/N)\n"
            "Both\tMapping10K_Xba131\t20070601\tY\tNormal\tY\tCFS\t\t\t\t\tM\t10-200, N=2\t20-300, N=3\tY\n"
            "Neither\t\t" + CTime().Format("%Y%m%d") + "\tN\t\tN\t\t\t\t\t\t\tNotAnalyzed\tNotAnalyzed\tN\n"
            "NonSelfOnly\tMapping10K_Xba131\t20070601\tN\t\tY\tCFN\t\t\t\t\tM\tNotAnalyzed\t20-300, N=3\tN\n"
            "SelfOnly\tMapping10K_Xba131\t20070601\tY\tNormal\tN\tCFS\t\t\t\t\tM\t10-200, N=2\tNotAnalyzed\tN\n");
  EXPECT_EQ(Messages(), Items{});
}

TEST_F(DisplayExportsTest, SampleNameAndArrayDataAloneGiveTwoCells) {
  WriteResult("A.CFN");
  WriteResult("B.CFN");
  samplegen::SampleSpec extracted;
  extracted.Name = "B";
  WriteSample(extracted);
  EXPECT_EQ(SampleList({"A", "B"}, OnlyNameAndArrayData), "Sample_name\tArrayData(Y/N)\nA\tN\nB\tY\n");
}

TEST_F(DisplayExportsTest, CreationDatesAreEightDigitsOfTheLocalDay) {
  const char* saved = std::getenv("TZ");
  const std::optional<std::string> before = saved ? std::optional<std::string>(saved) : std::nullopt;
  setenv("TZ", "JST-9", 1);
  tzset();
  // 08:00 in Tokyo is the day before in UTC.
  const CTime created(2007, 6, 1, 8, 0, 0);
  WriteResult("A.CFN", [&](SampleHeader& h) { h.CreateTime = created; });
  const std::string listed = SampleList({"A"}, [](DialogDriver& d) {
    OnlyNameAndArrayData(d);
    d.SetCheck(ex::kListArrayData, false).SetCheck(ex::kListCreateTime, true);
  });
  if (before) setenv("TZ", before->c_str(), 1);
  else unsetenv("TZ");
  tzset();
  EXPECT_EQ(listed, "Sample_name\tCreate_time\nA\t20070601\n");
}

TEST_F(DisplayExportsTest, DamagedResultsAndNamesThatLeaveTheFolderAreSkippedAndNamedOnce) {
  WriteResult("A.CFN");
  WriteResult("Damaged.CFN");
  WriteResult("C.CFN");
  WriteResult("Evil.CFN", [](SampleHeader& h) { h.SampleName = "../C"; });
  // Damaged while the dialog lists it.
  const auto damage = [this] {
    const std::string bytes = Bytes(ResultPath("Damaged.CFN"));
    ASSERT_TRUE(platform::WriteWholeFile(ResultPath("Damaged.CFN"), bytes.substr(0, 40)));
  };
  EXPECT_EQ(SampleList({"A", "Damaged", "../C", "C"}, OnlyNameAndArrayData, damage),
            "Sample_name\tArrayData(Y/N)\nA\tN\nC\tN\n");
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].rfind("These samples were left out:\nDamaged: ", 0), 0u) << Messages()[0];
  EXPECT_NE(Messages()[0].find("\n../C: the name is not a plain file name"), std::string::npos) << Messages()[0];
}

TEST_F(DisplayExportsTest, AnOutputThatCannotBeCreatedIsToldAndTheDialogStaysOpen) {
  WriteResult("A.CFN");
  ASSERT_TRUE(platform::WriteWholeFile(Root() + "notafolder", "x"));
  Ui().OnDialog(ex::kOutputSampleListDialog, [](DialogDriver& d) { d.Ok(); });
  Ui().OnFileDialog([this](platform::ui::FileDialogRequest& r) {
    r.chosen = {Root() + "notafolder/list.txt"};
    return true;
  });
  Export(ex::kOutputSampleListButton, {"A"});
  EXPECT_TRUE(stillOpen_);
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0].find("cannot be created"), std::string::npos) << Messages()[0];
  EXPECT_EQ(Bytes(Root() + "notafolder"), "x");
}

}  // namespace
}  // namespace qova::test
