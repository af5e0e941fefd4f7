// Data > DisplaySamples in the running program: "Single display" opens the
// single-view list, one at a time; a pick shows that result in the active
// main view's document, and Close lets the list go.
#include "core/ArrayTypes.h"
#include "core/GlobalData.h"
#include "document/ApplicationData.h"
#include "document/QOVADoc.h"
#include "document/display/SelectResult.h"
#include "platform/Paths.h"
#include "resources/CommandIds.h"
#include "resources/DisplaySamplesDialog.h"
#include "tests/app/AppTestSupport.h"
#include "views/main/QOVAView.h"

namespace qova::test {
namespace {

using platform::ui::DialogDriver;
using Names = std::vector<std::string>;
namespace ids = qova::resources::display;

class AppDisplaySamplesTest : public AppTest {
 protected:
  AppDisplaySamplesTest() {
    CSelectResult::Reset();
    EXPECT_TRUE(Start());
    const CProgramSetting& setting = *qova::document::ApplicationData().ProgramSetting;
    EXPECT_TRUE(platform::CreateFolders(setting.DefaultAnalysisResultFolder));
    EXPECT_TRUE(platform::CreateFolders(setting.DefaultArrayDataFolder));
    // "a" with its extracted sample, "b" without.
    for (const char* name : {"a", "b"}) {
      const char* type = "Mapping10K_Xba131";
      CArrayData sample(name, type, qova::document::ApplicationData().TypeInfo(ArrayTypeIndex(type)), CTime(1180656000));
      sample.Header.IsTest = 1;
      if (std::string(name) == "a") sample.StoreFile(setting.DefaultArrayDataFolder + "A.CFH");
      CAnalyzedData(sample, AnalysisKind::Self).StoreFile(setting.DefaultAnalysisResultFolder + name + ".CFS");
    }
  }
  ~AppDisplaySamplesTest() override { CSelectResult::Reset(); }

  void DisplaySingle(const Names& checked) {
    Ui().OnDialog(qova::resources::kDisplaySamplesDialog, [=](DialogDriver& d) {
      d.Click(ids::kSelfAnalysis);
      const Names listed = d.Items(ids::kSampleList);
      for (std::size_t i = 0; i < listed.size(); ++i) {
        if (std::find(checked.begin(), checked.end(), listed[i]) != checked.end()) {
          d.ToggleItemCheck(ids::kSampleList, int(i));
        }
      }
      d.Click(ids::kSingleDisplay);
    });
    ASSERT_TRUE(Choose(qova::resources::kCmdDisplaySamples));
  }

  CQOVADoc* ActiveDocument() {
    CMDIChildWnd* child = MainFrame().MDIGetActive();
    auto* view = child ? dynamic_cast<CQOVAView*>(child->GetActiveView()) : nullptr;
    return view ? view->GetDocument() : nullptr;
  }
};

TEST_F(AppDisplaySamplesTest, OneSingleViewListAtATimeAndAPickShowsTheResult) {
  std::vector<HWND> lists;
  Ui().OnModeless(qova::resources::kSingleViewListDialog,
                  [&](DialogDriver& d) { lists.push_back(d.Window().GetSafeHwnd()); });
  DisplaySingle({"a", "b"});
  DisplaySingle({"b"});
  ASSERT_EQ(lists.size(), 2u);
  EXPECT_FALSE(::IsWindow(lists[0]));
  ASSERT_TRUE(::IsWindow(lists[1]));
  auto* list = dynamic_cast<CWnd*>(qova::document::ApplicationData().SingleViewList.get());
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->GetSafeHwnd(), lists[1]);
  DialogDriver driver(*list);
  EXPECT_EQ(driver.Items(qova::resources::single_view::kNames), (Names{"b.CFS"}));

  CQOVADoc* doc = ActiveDocument();
  ASSERT_NE(doc, nullptr);
  driver.Select(qova::resources::single_view::kNames, 0);
  EXPECT_EQ(doc->Status, kStatusSingle);
  EXPECT_EQ(doc->GetTitle(), "b");

  DisplaySingle({"a"});
  list = dynamic_cast<CWnd*>(qova::document::ApplicationData().SingleViewList.get());
  ASSERT_NE(list, nullptr);
  DialogDriver(*list).Select(qova::resources::single_view::kNames, 0);
  EXPECT_EQ(doc->Status, kStatusAnalysis);
  EXPECT_EQ(doc->ArrayData.Header.SampleName, "a");

  DialogDriver(*list).Click(IDOK);
  EXPECT_EQ(qova::document::ApplicationData().SingleViewList, nullptr);
}

TEST_F(AppDisplaySamplesTest, APickWithAGraphWindowActiveChangesNoDocument) {
  DisplaySingle({"a", "b"});
  CQOVADoc* doc = ActiveDocument();
  ASSERT_NE(doc, nullptr);
  const std::string status = doc->Status;
  ASSERT_TRUE(Choose(qova::resources::kCmdNewGraph));
  ASSERT_EQ(ActiveDocument(), nullptr);
  auto* list = dynamic_cast<CWnd*>(qova::document::ApplicationData().SingleViewList.get());
  ASSERT_NE(list, nullptr);
  DialogDriver(*list).Select(qova::resources::single_view::kNames, 1);
  EXPECT_EQ(doc->Status, status);
  EXPECT_NE(doc->GetTitle(), "b");
  DialogDriver(*list).Click(IDOK);
  EXPECT_EQ(qova::document::ApplicationData().SingleViewList, nullptr);
}

}  // namespace
}  // namespace qova::test
