// The main tool bar on screen: a picture of our own on every button, the
// button's text as its tool tip, and every button in sight at the main
// window's usual width.
#include <gtest/gtest.h>

#include <QMainWindow>
#include <QToolBar>
#include <QToolButton>

#include <set>

#include "platform/qt/QtBackend.h"
#include "platform/ui/App.h"
#include "platform/ui/Frame.h"
#include "resources/FrameResources.h"
#include "tests/platform_qt/qt_fixture.h"

namespace qova::test {
namespace {

using namespace platform::ui;

class CBarFrame : public CMDIFrameWnd {
 public:
  CToolBar toolBar;
  int OnCreate(LPCREATESTRUCT cs) override {
    if (CMDIFrameWnd::OnCreate(cs) == -1) return -1;
    return toolBar.CreateEx(this) && toolBar.LoadToolBar(resources::kMainFrame) ? 0 : -1;
  }
};

class ToolBarTest : public QtUiTest {};

TEST_F(ToolBarTest, EveryButtonShowsItsOwnPictureWithItsTextAsTheTip) {
  resources::RegisterFrameResources();
  const ToolBarTemplate* bar = Resources::Instance().ToolBar(resources::kMainFrame);
  ASSERT_NE(bar, nullptr);
  std::set<std::string> pictures;
  for (UINT command : bar->buttons) {
    if (!command) continue;
    const ButtonImage* image = Resources::Instance().ButtonImageOf(command);
    ASSERT_NE(image, nullptr) << command;
    std::string pixels;
    for (const char* row : image->rows) {
      ASSERT_EQ(std::string(row).size(), 16u) << command;
      pixels += row;
    }
    EXPECT_TRUE(pictures.insert(pixels).second) << "two buttons share the picture of " << command;
  }

  CWinApp app;
  auto* frame = new CBarFrame;
  ASSERT_TRUE(frame->LoadFrame(resources::kMainFrame));
  app.m_pMainWnd = frame;
  auto* window = qobject_cast<QMainWindow*>(platform::qt::WidgetOf(*frame));
  ASSERT_NE(window, nullptr);
  window->resize(1024, 768);
  window->show();
  QApplication::processEvents();
  auto* toolBar = window->findChild<QToolBar*>("toolbar");
  ASSERT_NE(toolBar, nullptr);
  int buttons = 0;
  for (QAction* action : toolBar->actions()) {
    if (action->isSeparator()) continue;
    ++buttons;
    EXPECT_FALSE(action->icon().isNull()) << action->text().toStdString();
    auto* button = qobject_cast<QToolButton*>(toolBar->widgetForAction(action));
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(button->isVisible()) << action->text().toStdString() << " is hidden behind the extension";
    EXPECT_EQ(button->toolButtonStyle(), Qt::ToolButtonIconOnly);
  }
  EXPECT_EQ(buttons, int(pictures.size()));
  ASSERT_GT(frame->toolBar.GetCount(), 0);
  EXPECT_EQ(toolBar->actions().front()->toolTip().toStdString(), frame->toolBar.GetToolTip(0));
  frame->DestroyWindow();
  app.m_pMainWnd = nullptr;
}

}  // namespace
}  // namespace qova::test
