// Help > Check for new version against a server that accepts the connection
// and never answers, on the offscreen Qt platform: the window keeps handling
// its timers and painting while the request waits on its worker thread, the
// progress dialog offers Cancel after a second, and the main window is
// enabled again at the end. The test runs under ThreadSanitizer too.
#ifdef QOVA_TEST_WITH_QT
#include <QApplication>
#include <QPushButton>
#include <QTest>

#include <chrono>
#include <memory>

#include "app/lib/VersionCheck.h"
#include "platform/MessageBox.h"
#include "platform/Profile.h"
#include "platform/ui/App.h"
#include "platform/ui/DC.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/Frame.h"
#include "resources/FrameResources.h"
#include "resources/ProgressDialog.h"
#include "tests/app/LocalHttpServer.h"
#include "tests/platform_qt/qt_fixture.h"
#include "tests/support/TempHome.h"

using namespace qova::app;

namespace qova::test {
namespace {

using namespace platform::ui;
using Clock = std::chrono::steady_clock;

constexpr UINT kTickerDialog = 9401;

// A window with a timer that repaints it: what the user sees move.
class CTicker : public CDialog {
 public:
  CTicker() : CDialog(kTickerDialog) {}
  int ticks = 0;
  int paints = 0;
  std::function<void()> onTick;

 protected:
  void OnTimer(UINT_PTR) override {
    ++ticks;
    Invalidate();
    if (onTick) onTick();
  }
  void OnPaint() override {
    CPaintDC dc(this);
    ++paints;
  }
};

QWidget* ShownProgressDialog() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->isVisible() && w->objectName() == QString("dialog%1").arg(resources::kProgressDialog)) return w;
  return nullptr;
}

class VersionCheckWaitTest : public QtUiTest {
 protected:
  VersionCheckWaitTest() {
    platform::AppProfile().SetStore(std::make_unique<platform::MemorySettingsStore>());
    platform::AppProfile().WriteProfileString(kWebSection, kVersionServerKey, server_.BaseUrl());
    resources::RegisterFrameResources();
    Resources::Instance().AddDialog({kTickerDialog, "Ticker", {100, 40}, WS_CAPTION, "MS Shell Dlg", 8, {}});
    frame_ = new CFrameWnd;
    EXPECT_TRUE(frame_->LoadFrame(resources::kMainFrame));
    app_.m_pMainWnd = frame_;
    EXPECT_TRUE(ticker_.Create(kTickerDialog));
    ticker_.ShowWindow(SW_SHOW);
    ticker_.SetTimer(1, 20);
  }
  ~VersionCheckWaitTest() override {
    ticker_.DestroyWindow();
    frame_->DestroyWindow();
    app_.m_pMainWnd = nullptr;
  }

  TempHome home_;
  SilentServer server_;
  CWinApp app_;
  CFrameWnd* frame_ = nullptr;
  CTicker ticker_;
  platform::ScopedRecordingSink messages_;
};

TEST_F(VersionCheckWaitTest, TheWindowStaysAliveUntilTheTimeLimit) {
  bool progressShown = false;
  bool mainDisabled = false;
  ticker_.onTick = [&] {
    progressShown |= ShownProgressDialog() != nullptr;
    mainDisabled |= !frame_->IsWindowEnabled();
  };
  const auto started = Clock::now();
  CheckForNewVersion(2);
  const auto waited = Clock::now() - started;
  EXPECT_GE(waited, std::chrono::milliseconds(1900));
  EXPECT_LT(waited, std::chrono::seconds(10));
  EXPECT_EQ(messages_.Texts(), std::vector<std::string>{kMessageConnectionError});
  EXPECT_GT(ticker_.ticks, 10);
  EXPECT_GT(ticker_.paints, 2);
  EXPECT_TRUE(progressShown);
  EXPECT_TRUE(mainDisabled);
  EXPECT_TRUE(frame_->IsWindowEnabled());
  EXPECT_EQ(ShownProgressDialog(), nullptr);
}

TEST_F(VersionCheckWaitTest, CancelEndsTheWaitWithoutAMessage) {
  ticker_.onTick = [&] {
    QWidget* progress = ShownProgressDialog();
    QPushButton* cancel = progress ? progress->findChild<QPushButton*>(QString::number(IDCANCEL)) : nullptr;
    if (cancel) QTest::mouseClick(cancel, Qt::LeftButton);
  };
  const auto started = Clock::now();
  CheckForNewVersion(20);
  EXPECT_LT(Clock::now() - started, std::chrono::seconds(5));
  EXPECT_EQ(messages_.Texts(), std::vector<std::string>{});
  EXPECT_TRUE(frame_->IsWindowEnabled());
}

}  // namespace
}  // namespace qova::test
#endif
