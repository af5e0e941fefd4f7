// Every export's Save As in the running program opens in the Output folder
// the settings hold, also after Default Setting moved the folders to another
// study while the documents stayed open, and a bare file name lands there.
#include <functional>
#include <string>
#include <vector>

#include "core/AnalyzedData.h"
#include "core/ArrayTypes.h"
#include "core/GlobalData.h"
#include "document/ApplicationData.h"
#include "platform/File.h"
#include "platform/Paths.h"
#include "platform/ui/CommonDialogs.h"
#include "platform/ui/PropertySheet.h"
#include "resources/CommandIds.h"
#include "resources/DisplaySamplesDialog.h"
#include "resources/ExportDialogs.h"
#include "resources/SettingPages.h"
#include "tests/app/AppTestSupport.h"
#include "tests/arraygen/ArrayGenTestSupport.h"
#include "tools/arraygen/ArrayGen.h"

namespace qova::test {
namespace {

namespace res = qova::resources;
namespace ids = qova::resources::display;
namespace folders = qova::resources::settings::folders;
using platform::ui::DialogDriver;

constexpr const char* kType = "Mapping10K_Xba131";

// The five folders of a study, in the order of the Folders page's buttons.
struct StudyFolders {
  std::string Data, Library, ArrayData, Results, Output;
  explicit StudyFolders(const std::string& root)
      : Data(root + "Cel/"), Library(root + "Library/"), ArrayData(root + "ArrayData/"), Results(root + "Results/"),
        Output(root + "Output/") {}
};

// Which window's menu offers the export.
enum class Window { Main, Graph };

struct ExportRow {
  const char* what;
  Window window;
  const char* file;
  std::function<void()> choose;  // the menu choices up to the Save As
};

class ExportFolderTest : public AppTest {
 protected:
  ExportFolderTest() {
    EXPECT_TRUE(Start());
    document::ApplicationData().ProgramSetting->NONSELFALLELE = 1;
    Ui().OnDialog(res::kCNChangeDialog, [](DialogDriver& d) { d.Ok(); });
    Ui().OnDialog(res::kStatRegionDialog, [](DialogDriver& d) { d.Ok(); });
    Ui().OnDialog(res::kOutputSampleListDialog, [](DialogDriver& d) { d.Ok(); });
  }

  // A study with one sample "S1": its extracted sample, its self and
  // non-self results, and the library of its type.
  StudyFolders MakeStudy(const std::string& name) {
    const StudyFolders study(home_.Path(name) + "/");
    for (const std::string* folder : {&study.Data, &study.Library, &study.ArrayData, &study.Results, &study.Output})
      EXPECT_TRUE(platform::CreateFolders(*folder));
    CArrayData sample("S1", kType, document::ApplicationData().TypeInfo(ArrayTypeIndex(kType)), CTime(1180656000));
    sample.Header.IsTest = 1;
    sample.Header.NonSelfReferenceCount = 2;
    sample.Header.NonSelfReferences = "0.900000$R2$0.800000$R1$";
    sample.StoreFile(study.ArrayData + "S1.CFH");
    CAnalyzedData(sample, AnalysisKind::Self).StoreFile(study.Results + "S1.CFS");
    CAnalyzedData(sample, AnalysisKind::NonSelfAllele).StoreFile(study.Results + "S1.CFA");
    arraygen::ArrayDesign(kType, 3, SmallLayout(20))
        .WriteCdf(study.Library + arraygen::LibraryFileName(kType), arraygen::CdfForm::kXda);
    return study;
  }

  // Parameter > Default Setting > Folders: each of the five set through the chooser.
  void ChooseStudy(const StudyFolders& study) {
    const std::vector<std::string> chosen = {study.Data, study.Library, study.ArrayData, study.Results, study.Output};
    std::size_t browsed = 0;
    Ui().OnFolderDialog([&](platform::ui::FolderDialogRequest& request) {
      request.chosen = chosen.at(browsed++);
      request.chosen.pop_back();  // the chooser gives a folder without its separator
      return true;
    });
    Ui().OnSheet("Program Setting", [](platform::ui::SheetDriver& sheet) {
      for (unsigned button : {folders::kDataSet, folders::kLibrarySet, folders::kArrayDataSet, folders::kResultSet,
                              folders::kOutputSet})
        sheet.Page().Click(button);
      EXPECT_TRUE(sheet.Ok());
    });
    ASSERT_TRUE(Choose(res::kCmdDefaultSetting));
    ASSERT_EQ(browsed, 5u);
  }

  // Display Samples with every sample of the non-self list checked, then
  // Output Data and the kind's button.
  void OutputData(unsigned kindButton) {
    Ui().OnDialog(res::kOutputDataDialog, [kindButton](DialogDriver& d) { d.Click(kindButton); });
    Ui().OnDialog(res::kDisplaySamplesDialog, [](DialogDriver& d) {
      d.Click(ids::kNonSelfAnalysis).SetCheck(ids::kUseTestOrRef, false).Click(ids::kNew);
      for (int i = 0; i < int(d.Items(ids::kSampleList).size()); ++i) d.ToggleItemCheck(ids::kSampleList, i);
      d.Click(ids::kOutputData);
      d.Cancel();
    });
    EXPECT_TRUE(Choose(res::kCmdDisplaySamples));
  }

  // Runs `row`'s export, answering its Save As with `answer` (the open
  // dialog of Dump CDF with the library); the folder the Save As opened in.
  std::string SaveAs(const ExportRow& row, const std::string& answer, const StudyFolders& study) {
    std::string openedIn = "(no Save As)";
    Ui().OnFileDialog([&](platform::ui::FileDialogRequest& request) {
      if (request.open) {
        request.chosen = {study.Library + arraygen::LibraryFileName(kType)};
        return true;
      }
      openedIn = request.initialFolder;
      request.chosen = {answer};
      return true;
    });
    MainFrame().MDIActivate(row.window == Window::Main ? mainChild_ : graphChild_);
    row.choose();
    return openedIn;
  }

  CMDIChildWnd* mainChild_ = nullptr;
  CMDIChildWnd* graphChild_ = nullptr;
};

TEST_F(ExportFolderTest, EveryExportsSaveAsOpensInTheOutputFolderTheSettingsHoldNow) {
  const auto output = [this](unsigned kindButton) { return [this, kindButton] { OutputData(kindButton); }; };
  const auto menu = [this](unsigned command) { return [this, command] { EXPECT_TRUE(Choose(command)); }; };
  const ExportRow rows[] = {
      {"Output Data: Sample list", Window::Main, "list.txt", output(res::kOutputSampleListButton)},
      {"Output Data: Copy Number change", Window::Main, "cn.txt", output(res::kOutputCopyNumberButton)},
      {"Output Data: Marker", Window::Main, "markers.txt", output(res::kOutputMarkerButton)},
      {"Output Data: Statistics of region", Window::Main, "region.txt", output(res::kOutputRegionStatisticsButton)},
      {"Output Data: LOH", Window::Main, "loh.txt", output(res::kOutputLohButton)},
      {"Output Data: A-B calc", Window::Main, "ab.txt", output(res::kOutputABCalcButton)},
      {"Output Data: Non-self references", Window::Main, "refs.txt", output(res::kOutputNonSelfReferencesButton)},
      {"Data > Output Sample List", Window::Main, "all.txt", menu(res::kCmdOutputSampleList)},
      {"Dump CDF file", Window::Main, "cdf.txt", menu(res::kCmdDumpCdf)},
      {"Setting > Output sample order", Window::Graph, "order.txt", menu(res::kCmdGraphOutputSampleOrder)},
      {"Edit > Export Graph", Window::Graph, "graph.emf", menu(res::kCmdExportGraph)},
  };
  const StudyFolders old = MakeStudy("old"), next = MakeStudy("new");
  ChooseStudy(old);
  mainChild_ = MainFrame().MDIGetActive();
  ASSERT_TRUE(Choose(res::kCmdNewGraph));
  graphChild_ = MainFrame().MDIGetActive();
  ASSERT_NE(mainChild_, graphChild_);

  // Each export saved once into the old study's Output folder: the folder
  // the file dialog was last left in.
  for (const ExportRow& row : rows) {
    EXPECT_EQ(SaveAs(row, old.Output + row.file, old), old.Output) << row.what;
    EXPECT_NE(FileBytes(old.Output + row.file), "") << row.what;
  }

  // The folders move to the new study while both windows stay open; each
  // export is saved again under a bare name.
  ChooseStudy(next);
  for (const ExportRow& row : rows) {
    const std::string before = FileBytes(old.Output + row.file);
    EXPECT_EQ(SaveAs(row, row.file, next), next.Output) << row.what;
    EXPECT_EQ(FileBytes(next.Output + row.file), before) << row.what;
  }
  EXPECT_TRUE(messages_.Empty()) << ::testing::PrintToString(messages_.Texts());
  EXPECT_TRUE(Ui().Failures().empty()) << ::testing::PrintToString(Ui().Failures());
}

}  // namespace
}  // namespace qova::test
