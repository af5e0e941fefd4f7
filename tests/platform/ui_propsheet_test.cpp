// Property sheets: pages in order, kill-active vetoes, OK on the pages that
// were shown, Cancel changing nothing.
#include <gtest/gtest.h>

#include "platform/ui/DataExchange.h"
#include "platform/ui/PropertySheet.h"
#include "tests/platform/ui_fixture.h"

namespace {

using namespace platform::ui;

constexpr UINT kFoldersPage = 9102;
constexpr UINT kScalePage = 9157;

struct Settings {
  int interval = 10;
  int magnification = 100;
};

// Each page edits the sheet's copy of the settings, as the settings pages do.
class CIntervalPage : public CPropertyPage {
 public:
  explicit CIntervalPage(Settings* data) : CPropertyPage(kFoldersPage), m_pData(data) {}
  Settings* m_pData;
  std::vector<std::string> calls;
  bool vetoLeaving = false;

  BOOL OnKillActive() override {
    calls.push_back("kill");
    if (vetoLeaving) return FALSE;
    return CPropertyPage::OnKillActive();
  }
  BOOL OnSetActive() override {
    calls.push_back("set");
    return CPropertyPage::OnSetActive();
  }
  void OnOK() override { calls.push_back("ok"); }
  void OnCancel() override { calls.push_back("cancel"); }

 protected:
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Text(pDX, 1004, m_pData->interval);
    DDV_MinMaxInt(pDX, m_pData->interval, 1, 1000);
  }
};

class CScalePage : public CPropertyPage {
 public:
  explicit CScalePage(Settings* data) : CPropertyPage(kScalePage), m_pData(data) {}
  Settings* m_pData;
  std::vector<std::string> calls;
  void OnOK() override { calls.push_back("ok"); }
  void OnCancel() override { calls.push_back("cancel"); }

 protected:
  void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, 1010, m_pData->magnification); }
};

class PropertySheetTest : public qova::test::UiTest {
 protected:
  PropertySheetTest() {
    Res().AddDialog({kFoldersPage, "Multiple", {200, 100}, 0, "MS Shell Dlg", 8,
                     {Static(IDC_STATIC, "interval", {5, 5, 40, 8}), Edit(1004, {50, 5, 40, 12})}});
    Res().AddDialog({kScalePage, "Scale", {200, 100}, 0, "MS Shell Dlg", 8, {Edit(1010, {50, 5, 40, 12})}});
  }

  // The runner of a settings sheet: the pages edit a copy that OK hands back to `live`.
  int RunSheet() {
    Settings copy = live;
    first = std::make_unique<CIntervalPage>(&copy);
    second = std::make_unique<CScalePage>(&copy);
    CPropertySheet sheet("View Setting");
    sheet.AddPage(first.get());
    sheet.AddPage(second.get());
    INT_PTR result = sheet.DoModal();
    if (result == IDOK) live = copy;
    return int(result);
  }

  Settings live;
  std::unique_ptr<CIntervalPage> first;
  std::unique_ptr<CScalePage> second;
};

TEST_F(PropertySheetTest, PageThatVetoesLeavingStaysActive) {
  std::vector<int> activeAfterClick;
  Ui().OnSheet("View Setting", [&](SheetDriver& s) {
    EXPECT_EQ(s.Tabs(), (std::vector<std::string>{"Multiple", "Scale"}));
    static_cast<CIntervalPage*>(s.Sheet().GetPage(0))->vetoLeaving = true;
    EXPECT_FALSE(s.SelectPage(1));
    activeAfterClick.push_back(s.ActivePage());
    static_cast<CIntervalPage*>(s.Sheet().GetPage(0))->vetoLeaving = false;
    EXPECT_TRUE(s.SelectPage(1));
    activeAfterClick.push_back(s.ActivePage());
    s.Cancel();
  });
  RunSheet();
  EXPECT_EQ(activeAfterClick, (std::vector<int>{0, 1}));
}

TEST_F(PropertySheetTest, OkReachesOnlyThePagesThatWereShown) {
  Ui().OnSheet("View Setting", [](SheetDriver& s) {
    s.Page().Type(1004, "250");
    EXPECT_TRUE(s.Ok());
  });
  EXPECT_EQ(RunSheet(), IDOK);
  EXPECT_EQ(first->calls, (std::vector<std::string>{"set", "kill", "ok"}));
  EXPECT_TRUE(second->calls.empty());
  EXPECT_EQ(live.interval, 250);
}

TEST_F(PropertySheetTest, CancelLeavesTheDataUntouched) {
  Ui().OnSheet("View Setting", [](SheetDriver& s) {
    s.Page().Type(1004, "300");
    ASSERT_TRUE(s.SelectPage(1));
    s.Page().Type(1010, "150");
    s.Cancel();
  });
  EXPECT_EQ(RunSheet(), IDCANCEL);
  EXPECT_EQ(live.interval, 10);
  EXPECT_EQ(live.magnification, 100);
  EXPECT_EQ(first->calls.back(), "cancel");
  EXPECT_EQ(second->calls, std::vector<std::string>{"cancel"});
}

TEST_F(PropertySheetTest, InvalidFieldKeepsThePageAndShowsTheRangeMessage) {
  Ui().OnSheet("View Setting", [](SheetDriver& s) {
    s.Page().Type(1004, "1001");
    EXPECT_FALSE(s.SelectPage(1));
    EXPECT_EQ(s.ActivePage(), 0);
    EXPECT_FALSE(s.Ok());
    EXPECT_TRUE(s.IsOpen());
    s.Page().Type(1004, "1000");
    EXPECT_TRUE(s.Ok());
  });
  EXPECT_EQ(RunSheet(), IDOK);
  EXPECT_EQ(messages_.Texts(), (std::vector<std::string>{"Please enter an integer between 1 and 1000.",
                                                         "Please enter an integer between 1 and 1000."}));
  EXPECT_EQ(live.interval, 1000);
}

TEST_F(PropertySheetTest, ComingBackToAPageShowsTheDataAgain) {
  Ui().OnSheet("View Setting", [](SheetDriver& s) {
    s.Page().Type(1004, "42");
    ASSERT_TRUE(s.SelectPage(1));
    ASSERT_TRUE(s.SelectPage(0));
    EXPECT_EQ(s.Page().Text(1004), "42");
    s.Ok();
  });
  RunSheet();
  EXPECT_EQ(first->calls, (std::vector<std::string>{"set", "kill", "set", "kill", "ok"}));
  EXPECT_EQ(second->calls, std::vector<std::string>{"ok"});
}

TEST_F(PropertySheetTest, PageWindowsAreGoneAfterTheSheetCloses) {
  Ui().OnSheet("View Setting", [](SheetDriver& s) {
    s.SelectPage(1);
    s.Ok();
  });
  RunSheet();
  EXPECT_EQ(first->m_hWnd, nullptr);
  EXPECT_EQ(second->m_hWnd, nullptr);
  EXPECT_FALSE(first->WasCreated());
}

}  // namespace
