// The main document's menus in the real Qt window: File with the three New
// commands, the Tools menu with its three groups, enabled as their commands'
// own rules say, photographed for people to look at
// (build/artefacts/menus/main_tools.png).
#ifdef QOVA_TEST_WITH_QT
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QTest>

#include <filesystem>
#include <memory>

#include "platform/Paths.h"
#include "platform/Profile.h"
#include "platform/qt/QtBackend.h"
#include "tests/app/AppTestSupport.h"

namespace qova::test {
namespace {

QAction* ActionOf(const QList<QAction*>& actions, const QString& text) {
  for (QAction* a : actions)
    if (a->text() == text) return a;
  return nullptr;
}

class MenusOnQtTest : public TempHomeTest {
 protected:
  MenusOnQtTest() : oldStart_(platform::StartFolder()) {
    platform::AppProfile().SetStore(std::make_unique<platform::MemorySettingsStore>());
    platform::qt::InstallQtBackend();
    platform::SetStartFolder(CompleteStartFolder());
  }
  ~MenusOnQtTest() override {
    app_.reset();
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    platform::qt::UninstallQtBackend();
    platform::SetStartFolder(oldStart_);
  }

  std::unique_ptr<CQOVAApp> app_;

 private:
  std::string oldStart_;
};

TEST_F(MenusOnQtTest, ToolsMenuShowsItsGroupsAfterAutomation) {
  app_ = std::make_unique<CQOVAApp>();
  ASSERT_TRUE(app_->InitInstance());
  auto* window = qobject_cast<QMainWindow*>(platform::qt::WidgetOf(*app_->m_pMainWnd));
  ASSERT_NE(window, nullptr);
  window->resize(900, 600);
  QTest::qWait(30);
  QStringList titles;
  for (QAction* a : window->menuBar()->actions()) titles << a->text();
  EXPECT_EQ(titles, (QStringList{"&File", "&Data", "&Automation", "&Tools", "&Parameter", "&View", "&Window", "&Help"}));

  // File offers the three document types.
  QAction* fileTitle = ActionOf(window->menuBar()->actions(), "&File");
  ASSERT_NE(fileTitle, nullptr);
  QMenu* file = fileTitle->menu();
  file->popup(window->mapToGlobal(QPoint(0, 30)));
  QTest::qWait(30);
  QStringList fileItems;
  for (QAction* a : file->actions()) fileItems << a->text();
  EXPECT_EQ(fileItems.mid(0, 4), (QStringList{"&New(QOVA)", "New(&Graph)", "New(Association)", "&Open...\tCtrl+O"}));
  std::vector<QImage> shots = {file->grab().toImage()};
  file->hide();

  QAction* toolsTitle = ActionOf(window->menuBar()->actions(), "&Tools");
  ASSERT_NE(toolsTitle, nullptr);
  QMenu* tools = toolsTitle->menu();
  ASSERT_NE(tools, nullptr);
  tools->popup(window->mapToGlobal(QPoint(200, 30)));
  QTest::qWait(30);
  shots.push_back(tools->grab().toImage());
  for (const char* title : {"&Integration", "&Sample files", "&Regression pipeline"}) {
    const QString group = title;
    QAction* opener = ActionOf(tools->actions(), group);
    ASSERT_NE(opener, nullptr) << group.toStdString();
    QMenu* sub = opener->menu();
    ASSERT_NE(sub, nullptr);
    sub->popup(tools->mapToGlobal(tools->actionGeometry(opener).topRight()));
    QTest::qWait(30);
    shots.push_back(sub->grab().toImage());
    if (group == "&Integration") {
      // Nothing is integrated yet: only opening a file can be done.
      QStringList enabled;
      for (QAction* a : sub->actions())
        if (a->isEnabled()) enabled << a->text();
      EXPECT_EQ(enabled, QStringList{"&Open integration file..."});
    } else {
      for (QAction* a : sub->actions()) EXPECT_TRUE(a->isEnabled()) << a->text().toStdString();
    }
    sub->hide();
  }
  QAction* correction = ActionOf(tools->actions(), "Two-state segment &correction");
  ASSERT_NE(correction, nullptr);
  EXPECT_FALSE(correction->isEnabled());
  tools->hide();

  // File, Tools and its three groups side by side.
  int width = 0, height = 0;
  for (const QImage& shot : shots) {
    width += shot.width() + 8;
    height = std::max(height, shot.height());
  }
  QImage sheet(width, height, QImage::Format_RGB32);
  sheet.fill(Qt::white);
  QPainter painter(&sheet);
  int x = 0;
  for (const QImage& shot : shots) {
    painter.drawImage(x, 0, shot);
    x += shot.width() + 8;
  }
  painter.end();
  const std::filesystem::path folder = std::filesystem::path(BinaryDir()) / "artefacts" / "menus";
  std::filesystem::create_directories(folder);
  EXPECT_TRUE(sheet.save(QString::fromStdString((folder / "main_tools.png").string())));
}

}  // namespace
}  // namespace qova::test
#endif
