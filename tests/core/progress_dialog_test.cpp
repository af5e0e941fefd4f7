// The progress dialog of long operations: a modeless dialog over a disabled
// main window, the caller's keep-going flag, and the pump between items.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "core/ProgressBar.h"
#include "platform/Paths.h"
#include "platform/ui/App.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Frame.h"
#include "platform/ui/Headless.h"
#include "resources/ProgressDialog.h"
#include "tests/platform/ui_fixture.h"
#include "tests/support/TempHome.h"

namespace {

using namespace platform::ui;
namespace res = qova::resources;

// An application that records its idle calls.
class IdleCountingApp : public CWinApp {
 public:
  BOOL OnIdle(LONG count) override {
    idleCalls.push_back(count);
    return count < 2 ? TRUE : FALSE;
  }
  std::vector<LONG> idleCalls;
};

class ProgressDialogTest : public qova::test::UiTest {
 protected:
  ProgressDialogTest() {
    frame_ = new CFrameWnd;
    EXPECT_TRUE(frame_->LoadFrame(128));
    app_.m_pMainWnd = frame_;
  }

  // A loop of `count` items as the long operations run it; returns the items
  // done and, after each pump, whether the main window was enabled.
  std::vector<int> RunItems(int count, std::vector<bool>* mainEnabled = nullptr, std::vector<BOOL>* pumped = nullptr) {
    std::vector<int> done;
    BOOL keepGoing = TRUE;
    CProgressBar progress(&keepGoing);
    EXPECT_FALSE(frame_->IsWindowEnabled());
    for (int item = 1; item <= count; ++item) {
      if (!keepGoing) break;
      done.push_back(item);
      progress.SetStatusText("Reading item " + std::to_string(item));
      progress.SetPosition(item * 100 / count);
      BOOL result = CProgressBar::PumpMessages();
      if (pumped) pumped->push_back(result);
      if (mainEnabled) mainEnabled->push_back(frame_->IsWindowEnabled() != FALSE);
    }
    return done;
  }

  IdleCountingApp app_;
  CFrameWnd* frame_;
};

TEST_F(ProgressDialogTest, OpensWithItsCaptionStatusAndOnlyCancel) {
  BOOL keepGoing = TRUE;
  CProgressBar progress(&keepGoing);
  DialogDriver d(progress);
  EXPECT_EQ(d.Caption(), "In Progress");
  EXPECT_EQ(d.Text(res::kProgressStatus), "Click Cancel to cancel the operation");
  EXPECT_TRUE(progress.IsWindowVisible());
  EXPECT_TRUE(d.IsVisible(IDCANCEL));
  EXPECT_FALSE(d.IsVisible(IDOK));
  EXPECT_THROW(d.Click(IDOK), ScriptError);
  // Without a system menu there is no close box.
  EXPECT_EQ(progress.GetStyle() & WS_SYSMENU, 0u);
  int low = -1, high = -1;
  static_cast<CProgressCtrl*>(progress.GetDlgItem(res::kProgressBar))->GetRange(low, high);
  EXPECT_EQ(low, 0);
  EXPECT_EQ(high, 100);
  EXPECT_FALSE(frame_->IsWindowEnabled());
}

TEST_F(ProgressDialogTest, CancelDuringTheFirstItemStopsBeforeTheSecondAndEnablesAtOnce) {
  int shown = 0;
  Ui().OnModeless(res::kProgressDialog, [&](DialogDriver& d) {
    ++shown;
    d.Post([](DialogDriver& p) { p.Click(IDCANCEL); });
  });
  std::vector<bool> mainEnabled;
  EXPECT_EQ(RunItems(5, &mainEnabled), std::vector<int>{1});
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(mainEnabled, std::vector<bool>{true});
}

TEST_F(ProgressDialogTest, CompletionClosesTheDialogInTheDestructor) {
  std::vector<bool> mainEnabled;
  EXPECT_EQ(RunItems(4, &mainEnabled), (std::vector<int>{1, 2, 3, 4}));
  EXPECT_EQ(mainEnabled, std::vector<bool>(4, false));
  EXPECT_TRUE(frame_->IsWindowEnabled());
}

TEST_F(ProgressDialogTest, QuitDuringThePumpReturnsFalseAndIsPostedAgain) {
  PostQuitMessage(0);
  std::vector<BOOL> results;
  RunItems(2, nullptr, &results);
  EXPECT_EQ(results, (std::vector<BOOL>{FALSE, FALSE}));
  MSG msg;
  ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(msg.message, WM_QUIT);
  // The application's own loop still ends on it.
  EXPECT_EQ(app_.Run(), 0);
  EXPECT_TRUE(MessageQueueEmpty());
}

TEST_F(ProgressDialogTest, PumpRunsWaitingMessagesThenIdleWorkUntilItAsksForNoMore) {
  std::vector<std::string> order;
  PostTask([&] { order.push_back("first"); });
  PostTask([&] {
    order.push_back("second");
    // A message posted while pumping is taken in the same pump.
    PostTask([&] { order.push_back("third"); });
  });
  EXPECT_TRUE(CProgressBar::PumpMessages());
  EXPECT_EQ(order, (std::vector<std::string>{"first", "second", "third"}));
  EXPECT_EQ(app_.idleCalls, (std::vector<LONG>{0, 1, 2}));
  EXPECT_TRUE(MessageQueueEmpty());
}

TEST_F(ProgressDialogTest, BarIsClampedAndUpdatesAfterCancelAreHarmless) {
  BOOL keepGoing = TRUE;
  CProgressBar progress(&keepGoing);
  auto* bar = static_cast<CProgressCtrl*>(progress.GetDlgItem(res::kProgressBar));
  for (auto [asked, shown] : std::vector<std::pair<int, int>>{{40, 40}, {-5, 0}, {250, 100}, {100, 100}}) {
    progress.SetPosition(asked);
    EXPECT_EQ(bar->GetPos(), shown) << asked;
  }
  DialogDriver(progress).Click(IDCANCEL);
  EXPECT_FALSE(keepGoing);
  EXPECT_EQ(progress.GetSafeHwnd(), nullptr);
  EXPECT_TRUE(frame_->IsWindowEnabled());
  progress.SetPosition(50);
  progress.SetStatusText("late");
  // A second Cancel (a queued click) changes nothing more.
  progress.OnCancel();
  EXPECT_TRUE(frame_->IsWindowEnabled());
}

TEST_F(ProgressDialogTest, WorksWithoutAMainWindow) {
  app_.m_pMainWnd = nullptr;
  BOOL keepGoing = TRUE;
  {
    CProgressBar progress(&keepGoing);
    EXPECT_TRUE(progress.IsWindowVisible());
    EXPECT_TRUE(CProgressBar::PumpMessages());
  }
  EXPECT_TRUE(keepGoing);
  app_.m_pMainWnd = frame_;
}

class ProgressAnimationTest : public ProgressDialogTest {
 protected:
  ProgressAnimationTest() : oldStart_(platform::StartFolder()) { platform::SetStartFolder(home_.Root()); }
  ~ProgressAnimationTest() override { platform::SetStartFolder(oldStart_); }

  bool AnimationPlays() {
    BOOL keepGoing = TRUE;
    CProgressBar progress(&keepGoing);
    return static_cast<CAnimateCtrl*>(progress.GetDlgItem(res::kProgressAnimation))->IsPlaying() != FALSE;
  }

  qova::test::TempHome home_;
  std::string oldStart_;
};

TEST_F(ProgressAnimationTest, PlaysTheStartFoldersAnimationWhenItExists) {
  EXPECT_EQ(platform::NativePath(CProgressBar::AnimationPath()), home_.Path("data/sampleAVI1.avi"));
  EXPECT_FALSE(AnimationPlays());
  ASSERT_TRUE(platform::CreateFolders(home_.Path("data")));
  std::ofstream(home_.Path("data/sampleAVI1.avi")) << "RIFF";
  EXPECT_TRUE(AnimationPlays());
}

}  // namespace
