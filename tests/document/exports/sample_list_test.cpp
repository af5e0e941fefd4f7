// Data > Output Sample List: every analysed sample of the result folder, one
// line each, with the columns chosen in its dialog, run headlessly with the
// dialogs scripted and the written file compared as text.
#include <filesystem>
#include <functional>

#include "core/ArrayTypes.h"
#include "document/DocumentCommands.h"
#include "platform/ui/CommonDialogs.h"
#include "resources/ExportDialogs.h"
#include "tests/document/DocumentTestSupport.h"

namespace qova::test {
namespace {

namespace ids = qova::resources;
using platform::ui::DialogDriver;
using Items = std::vector<std::string>;

constexpr const char* kDefaultHeader =
    "Sample_name\tArray_type\tCreate_time\tself(Y/N)\tnon-self(Y/N)\tAttribute1\tAttribute2\tAttribute3\tAttribute4"
    "\tAttribute5\tSex\tself_diploid\tnon-self_diploid\n";

class SampleListTest : public DocumentTest {
 protected:
  // A result file `file` ("A.CFN") of the small type; its attributes name the
  // file, its base ranges and summary values are fixed.
  void WriteResult(const std::string& file, const std::function<void(CAnalyzedData&)>& edit = {}) {
    const std::string name = file.substr(0, file.find('.'));
    CArrayData sample(name, kSmallType, global_.TypeInfo(ArrayTypeIndex(kSmallType)), CTime(kCreated));
    sample.Header.IsTest = 1;
    const std::string tag = file.substr(file.find('.') + 1);
    sample.Header.Attribute1 = tag + "1";
    sample.Header.Attribute3 = tag + "3";
    sample.Header.Sex = "F";
    sample.Header.SelfReference = name + "N";
    sample.Header.SelfBaseRange = {10, 200, 1, 2};
    sample.Header.NonSelfBaseRange = {20, 300, 1, 3};
    const AnalysisKind kind = AnalysisKindOfFile(file).value();
    CAnalyzedData result(sample, kind);
    result.MeanState = 2.25f;
    result.SampleSD = 0.125f;
    if (edit) edit(result);
    result.StoreFile(ResultPath(file));
  }

  void WriteExtracted(const std::string& name) {
    samplegen::SampleSpec spec;
    spec.Name = name;
    WriteSample(spec);
  }

  // Runs the command with `choose` acting on the column dialog; the file written, or nothing.
  std::string RunList(const std::function<void(DialogDriver&)>& choose = {}) {
    const std::string out = Root() + "list.txt";
    Ui().OnDialog(ids::kOutputSampleListDialog, [&](DialogDriver& d) {
      if (choose) choose(d);
      d.Ok();
    });
    Ui().OnFileDialog([out](platform::ui::FileDialogRequest& r) {
      r.chosen = {out};
      return true;
    });
    Run(command::kOutputSampleList);
    return Bytes(out);
  }

  static void OnlyNameAndArrayData(DialogDriver& d) {
    for (unsigned id : {ids::kListArrayType, ids::kListCreateTime, ids::kListSelf, ids::kListNonSelf, ids::kListAttribute1,
                        ids::kListAttribute1 + 1, ids::kListAttribute1 + 2, ids::kListAttribute1 + 3,
                        ids::kListAttribute1 + 4, ids::kListSex, ids::kListSelfDiploid, ids::kListNonSelfDiploid})
      d.SetCheck(id, false);
    d.SetCheck(ids::kListArrayData, true);
  }

  // 2007-06-01 10:00:00 in local time.
  static inline const std::int64_t kCreated = CTime(2007, 6, 1, 10, 0, 0).GetTime();
};

TEST_F(SampleListTest, EachAnalysedSampleIsListedOnceAndCombinedOrUnanalysedOnesNever) {
  WriteResult("Both.CFS");
  WriteResult("Both.CFN");
  WriteResult("Alone.CFN");
  WriteResult("Self.CFS");
  WriteResult("Other.CFA");  // the allele switch is off: not this list's kind
  WriteResult("A_AND_B.CFS", [](CAnalyzedData& r) { r.Header.Combined = true; });
  WriteResult("C_AND_D.CFN", [](CAnalyzedData& r) { r.Header.Combined = true; });
  WriteExtracted("Extracted");
  Setting().NONSELFALLELE = 0;

  EXPECT_EQ(RunList(), std::string(kDefaultHeader) +
                           "Both\tMapping10K_Xba131\t20070601\tY\tY\tCFS1\t\tCFS3\t\t\tF\t10-200, N=2\t20-300, N=3\n"
                           "Self\tMapping10K_Xba131\t20070601\tY\tN\tCFS1\t\tCFS3\t\t\tF\t10-200, N=2\tNotAnalyzed\n"
                           "Alone\tMapping10K_Xba131\t20070601\tN\tY\tCFN1\t\tCFN3\t\t\tF\tNotAnalyzed\t20-300, N=3\n");
  EXPECT_EQ(Messages(), Items{});

  // The switch turns the list to the allele-specific results.
  Setting().NONSELFALLELE = 1;
  EXPECT_EQ(RunList([](DialogDriver& d) { d.SetCheck(ids::kListSelfReferenceName, true); }),
            "Sample_name\tArray_type\tCreate_time\tself(Y/N)\tSelf-reference name\tnon-self(Y/N)\tAttribute1\tAttribute2"
            "\tAttribute3\tAttribute4\tAttribute5\tSex\tself_diploid\tnon-self_diploid\n"
            "Both\tMapping10K_Xba131\t20070601\tY\tBothN\tN\tCFS1\t\tCFS3\t\t\tF\t10-200, N=2\tNotAnalyzed\n"
            "Self\tMapping10K_Xba131\t20070601\tY\tSelfN\tN\tCFS1\t\tCFS3\t\t\tF\t10-200, N=2\tNotAnalyzed\n"
            "Other\tMapping10K_Xba131\t20070601\tN\t\tY\tCFA1\t\tCFA3\t\t\tF\tNotAnalyzed\t20-300, N=3\n");
}

TEST_F(SampleListTest, SampleNameAndArrayDataAloneGiveTwoCells) {
  WriteResult("Both.CFS");
  WriteResult("Alone.CFN");
  WriteExtracted("Alone");
  Ui().OnDialog(ids::kOutputSampleListDialog, [](DialogDriver& d) {
    // The name cannot be left out.
    EXPECT_FALSE(d.IsEnabled(ids::kListSampleName));
    EXPECT_TRUE(d.IsChecked(ids::kListSampleName));
    d.Cancel();
  });
  Run(command::kOutputSampleList);
  EXPECT_EQ(RunList(OnlyNameAndArrayData), "Sample_name\tArrayData(Y/N)\nBoth\tN\nAlone\tY\n");
}

TEST_F(SampleListTest, EachSwitchAloneGivesItsOwnColumnWithItsValue) {
  // Every value of the self and the non-self result of "Both" tells which it came from.
  WriteResult("Both.CFS", [](CAnalyzedData& r) {
    r.Header.CreateTime = CTime(2007, 6, 17, 10, 0, 0);
    r.Header.Attribute2 = "two";
    r.Header.Attribute4 = "four";
    r.Header.Attribute5 = "five";
  });
  WriteResult("Both.CFN", [](CAnalyzedData& r) {
    r.MeanState = 1.75f;
    r.SampleSD = 0.375f;
  });
  WriteExtracted("Both");
  Setting().NONSELFALLELE = 0;
  const struct {
    unsigned id;
    const char* header;
    const char* cell;
  } cases[] = {
      {ids::kListArrayType, "Array_type", "Mapping10K_Xba131"},
      {ids::kListCreateTime, "Create_time", "20070617"},
      {ids::kListSelf, "self(Y/N)", "Y"},
      {ids::kListSelfReferenceName, "Self-reference name", "BothN"},
      {ids::kListNonSelf, "non-self(Y/N)", "Y"},
      {ids::kListAttribute1, "Attribute1", "CFS1"},
      {ids::kListAttribute1 + 1, "Attribute2", "two"},
      {ids::kListAttribute1 + 2, "Attribute3", "CFS3"},
      {ids::kListAttribute1 + 3, "Attribute4", "four"},
      {ids::kListAttribute1 + 4, "Attribute5", "five"},
      {ids::kListSex, "Sex", "F"},
      {ids::kListSelfDiploid, "self_diploid", "10-200, N=2"},
      {ids::kListNonSelfDiploid, "non-self_diploid", "20-300, N=3"},
      {ids::kListSelfPloidy, "self_ploidy", "2.250000"},
      {ids::kListSelfSd, "self_SD", "0.125000"},
      {ids::kListNonSelfPloidy, "non-self_ploidy", "1.750000"},
      {ids::kListNonSelfSd, "non-self_SD", "0.375000"},
      {ids::kListArrayData, "ArrayData(Y/N)", "Y"},
  };
  for (const auto& c : cases) {
    const std::string listed = RunList([&](DialogDriver& d) {
      for (const auto& other : cases) d.SetCheck(other.id, other.id == c.id);
    });
    EXPECT_EQ(listed, std::string("Sample_name\t") + c.header + "\nBoth\t" + c.cell + "\n");
  }
  EXPECT_EQ(Messages(), Items{});
}

TEST_F(SampleListTest, PloidyAndSdColumnsReadWholeFilesAndAFileCutAfterItsHeaderIsThenNamedAsUnreadable) {
  WriteResult("Both.CFS");
  WriteResult("Both.CFN");
  WriteResult("Cut.CFS");
  std::string bytes = Bytes(ResultPath("Cut.CFS"));
  ASSERT_TRUE(platform::WriteWholeFile(ResultPath("Cut.CFS"), bytes.substr(0, bytes.size() / 2)));
  Setting().NONSELFALLELE = 0;

  // The header alone is read for the default columns.
  const std::string listed = RunList();
  EXPECT_NE(listed.find("\nCut\tMapping10K_Xba131\t20070601\tY\tN\t"), std::string::npos) << listed;
  EXPECT_EQ(Messages(), Items{});

  const auto ploidy = [](DialogDriver& d) {
    OnlyNameAndArrayData(d);
    d.SetCheck(ids::kListArrayData, false);
    for (unsigned id : {ids::kListSelfPloidy, ids::kListSelfSd, ids::kListNonSelfPloidy, ids::kListNonSelfSd}) d.SetCheck(id, true);
  };
  EXPECT_EQ(RunList(ploidy), "Sample_name\tself_ploidy\tself_SD\tnon-self_ploidy\tnon-self_SD\n"
                             "Both\t2.250000\t0.125000\t2.250000\t0.125000\n");
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].rfind("These samples were left out:\n" + ResultPath("Cut.CFS") + ": ", 0), 0u) << Messages()[0];
}

TEST_F(SampleListTest, CancelAnywhereOrAnUncreatableFileWritesNothing) {
  WriteResult("Both.CFS");
  const std::string out = Root() + "list.txt";
  Ui().OnDialog(ids::kOutputSampleListDialog, [](DialogDriver& d) { d.Cancel(); });
  Run(command::kOutputSampleList);
  EXPECT_FALSE(Exists(out));

  bool asked = false;
  Ui().OnDialog(ids::kOutputSampleListDialog, [](DialogDriver& d) { d.Ok(); });
  Ui().OnFileDialog([&](platform::ui::FileDialogRequest&) {
    asked = true;
    return false;
  });
  Run(command::kOutputSampleList);
  EXPECT_TRUE(asked);
  EXPECT_FALSE(Exists(out));
  EXPECT_EQ(Messages(), Items{});

  ASSERT_TRUE(platform::WriteWholeFile(Root() + "notafolder", "x"));
  Ui().OnFileDialog([this](platform::ui::FileDialogRequest& r) {
    r.chosen = {Root() + "notafolder/list.txt"};
    return true;
  });
  Run(command::kOutputSampleList);
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0].find("cannot be created"), std::string::npos);
}

TEST_F(SampleListTest, TheDialogOpensWithItsDefaultsEachTime) {
  Ui().OnDialog(ids::kOutputSampleListDialog, [](DialogDriver& d) {
    EXPECT_EQ(d.Caption(), "Output Sample List");
    for (unsigned id : {ids::kListSampleName, ids::kListArrayType, ids::kListCreateTime, ids::kListSelf, ids::kListNonSelf,
                        ids::kListAttribute1 + 4, ids::kListSex, ids::kListSelfDiploid, ids::kListNonSelfDiploid})
      EXPECT_TRUE(d.IsChecked(id)) << id;
    for (unsigned id : {ids::kListSelfReferenceName, ids::kListSelfPloidy, ids::kListSelfSd, ids::kListNonSelfPloidy,
                        ids::kListNonSelfSd, ids::kListArrayData})
      EXPECT_FALSE(d.IsChecked(id)) << id;
    d.SetCheck(ids::kListArrayData, true);
    d.SetCheck(ids::kListSex, false);
    d.Cancel();
  });
  Run(command::kOutputSampleList);
  Run(command::kOutputSampleList);
  EXPECT_EQ(Ui().Failures(), Items{});
}

}  // namespace
}  // namespace qova::test
