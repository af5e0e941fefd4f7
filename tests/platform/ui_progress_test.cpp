// The protocol of long operations: a modeless progress dialog over a
// disabled main window, a keep-going flag, and a message pump between items.
#include <gtest/gtest.h>

#include "platform/ui/App.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/Frame.h"
#include "tests/platform/ui_fixture.h"

namespace {

using namespace platform::ui;

constexpr UINT kProgressTemplate = 154;

// The progress dialog as long operations use it.
class CProgressBar : public CDialog {
 public:
  explicit CProgressBar(BOOL* keepGoing) : m_pKeepGoing(keepGoing) {
    AfxGetMainWnd()->EnableWindow(FALSE);
    Create(kProgressTemplate);
    SetWindowText("In Progress");
    SetDlgItemText(1072, "Click Cancel to cancel the operation");
    ShowWindow(SW_SHOW);
  }
  ~CProgressBar() override { Close(); }

  static BOOL PumpMessages() {
    MSG msg;
    while (::PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      if (!AfxGetApp()->PumpMessage()) {
        ::PostQuitMessage(0);
        return FALSE;
      }
    }
    LONG idle = 0;
    while (AfxGetApp()->OnIdle(idle++)) {
    }
    return TRUE;
  }

  void OnCancel() override {
    *m_pKeepGoing = FALSE;
    Close();
  }

 private:
  void Close() {
    if (!m_hWnd) return;
    AfxGetMainWnd()->EnableWindow(TRUE);
    DestroyWindow();
  }
  BOOL* m_pKeepGoing;
};

class ProgressTest : public qova::test::UiTest {
 protected:
  ProgressTest() {
    Res().AddDialog({kProgressTemplate, "Progress", {340, 140}, DS_MODALFRAME | WS_POPUP | WS_CAPTION, "MS Shell Dlg", 8,
                     {Progress(1071, {7, 60, 326, 14}), Static(1072, "", {7, 80, 326, 20}),
                      Animation(1073, {150, 7, 40, 40}), Hidden(DefPushButton(IDOK, "OK", {220, 119, 50, 14})),
                      PushButton(IDCANCEL, "Cancel", {283, 119, 50, 14})}});
    frame_ = new CFrameWnd;
    EXPECT_TRUE(frame_->LoadFrame(128));
    app_.m_pMainWnd = frame_;
  }

  // A loop of `count` items as the long operations run it; returns the items done.
  std::vector<int> RunItems(int count, std::vector<bool>* mainEnabledAfterPump = nullptr,
                            std::vector<BOOL>* pumpResults = nullptr) {
    std::vector<int> done;
    BOOL keepGoing = TRUE;
    CProgressBar progress(&keepGoing);
    EXPECT_FALSE(frame_->IsWindowEnabled());
    for (int item = 1; item <= count; ++item) {
      if (!keepGoing) break;
      done.push_back(item);
      if (progress.GetSafeHwnd()) {
        progress.SetDlgItemText(1072, "Reading item " + std::to_string(item));
        static_cast<CProgressCtrl*>(progress.GetDlgItem(1071))->SetPos(item * 100 / count);
      }
      BOOL pumped = CProgressBar::PumpMessages();
      if (pumpResults) pumpResults->push_back(pumped);
      if (mainEnabledAfterPump) mainEnabledAfterPump->push_back(frame_->IsWindowEnabled() != FALSE);
    }
    return done;
  }

  CWinApp app_;
  CFrameWnd* frame_;
};

TEST_F(ProgressTest, CancelDuringTheFirstItemStopsBeforeTheSecond) {
  int progressShown = 0;
  Ui().OnModeless(kProgressTemplate, [&](DialogDriver& d) {
    ++progressShown;
    // The user presses Cancel while the first item is being worked on.
    d.Post([](DialogDriver& p) { p.Click(IDCANCEL); });
  });
  std::vector<bool> mainEnabled;
  EXPECT_EQ(RunItems(5, &mainEnabled), std::vector<int>{1});
  EXPECT_EQ(progressShown, 1);
  EXPECT_EQ(mainEnabled, std::vector<bool>{true});  // at once, not at the end
}

TEST_F(ProgressTest, CompletionClosesTheDialogAndEnablesTheMainWindow) {
  std::vector<bool> mainEnabled;
  EXPECT_EQ(RunItems(5, &mainEnabled), (std::vector<int>{1, 2, 3, 4, 5}));
  EXPECT_EQ(mainEnabled, std::vector<bool>(5, false));
  EXPECT_TRUE(frame_->IsWindowEnabled());
}

TEST_F(ProgressTest, QuitDuringThePumpReturnsFalseAndStaysQueued) {
  PostQuitMessage(0);
  std::vector<BOOL> results;
  RunItems(2, nullptr, &results);
  EXPECT_EQ(results, (std::vector<BOOL>{FALSE, FALSE}));
  MSG msg;
  ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(msg.message, WM_QUIT);
  EXPECT_EQ(app_.Run(), 0);
  EXPECT_TRUE(MessageQueueEmpty());
}

TEST_F(ProgressTest, ControlsShowTheStatusAndTheHiddenOkCannotBePressed) {
  BOOL keepGoing = TRUE;
  CProgressBar progress(&keepGoing);
  DialogDriver d(progress);
  EXPECT_EQ(d.Caption(), "In Progress");
  EXPECT_EQ(d.Text(1072), "Click Cancel to cancel the operation");
  EXPECT_THROW(d.Click(IDOK), ScriptError);
  auto* animation = static_cast<CAnimateCtrl*>(progress.GetDlgItem(1073));
  EXPECT_FALSE(animation->Open("c:\\data\\no-such.avi"));  // a missing file leaves it empty
  EXPECT_FALSE(animation->Play(0, 0xFFFF, UINT(-1)));
}

}  // namespace
