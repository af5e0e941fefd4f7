// The progress dialog of long operations: a modeless dialog over a disabled
// main window, the caller's keep-going flag, and the pump between items.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/ProgressBar.h"
#include "platform/ui/App.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Frame.h"
#include "platform/ui/Headless.h"
#include "resources/ProgressDialog.h"
#include "tests/platform/ui_fixture.h"

namespace {

using namespace platform::ui;
namespace res = qova::resources;

class ProgressDialogTest : public qova::test::UiTest {
 protected:
  ProgressDialogTest() {
    frame_ = new CFrameWnd;
    EXPECT_TRUE(frame_->LoadFrame(128));
    app_.m_pMainWnd = frame_;
  }

  // A loop of `count` items as the long operations run it; returns the items
  // done and, after each pump, whether the main window was enabled.
  std::vector<int> RunItems(int count, std::vector<bool>* mainEnabled) {
    std::vector<int> done;
    BOOL keepGoing = TRUE;
    CProgressBar progress(&keepGoing);
    EXPECT_FALSE(frame_->IsWindowEnabled());
    for (int item = 1; item <= count; ++item) {
      if (!keepGoing) break;
      done.push_back(item);
      progress.SetStatusText("Reading item " + std::to_string(item));
      progress.SetPosition(item * 100 / count);
      CProgressBar::PumpMessages();
      mainEnabled->push_back(frame_->IsWindowEnabled() != FALSE);
    }
    return done;
  }

  CWinApp app_;
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

}  // namespace
