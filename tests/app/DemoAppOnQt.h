#pragma once
// The program itself started on the small family's demo, on the Qt backend
// as on the screen, with message boxes recorded; and a user's hand on the
// modal windows it opens. For the tests that follow a user through windows
// and dialogs on the offscreen platform.
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Paths.h"
#include "platform/qt/QtBackend.h"
#include "platform/ui/UserInput.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/DemoOnQt.h"

namespace qova::test {

// A user's hand on the modal windows: `act` runs once on each new one, from
// the event loop, so that what it starts can run loops of its own.
class ModalHand {
 public:
  explicit ModalHand(std::function<void(QWidget*)> act) {
    timer_.setInterval(20);
    QObject::connect(&timer_, &QTimer::timeout, [this, act] {
      QWidget* modal = QApplication::activeModalWidget();
      if (!modal || modal == last_) return;
      last_ = modal;
      QMetaObject::invokeMethod(
          qApp, [act, target = QPointer<QWidget>(modal)] {
            if (target) act(target);
          },
          Qt::QueuedConnection);
    });
    timer_.start();
  }

 private:
  QTimer timer_;
  QPointer<QWidget> last_;
};

// A user's answer to a file dialog: `path` typed into its name field, then
// Return. False, and nothing done, when `modal` is another window.
inline bool TypeIntoFileDialog(QWidget* modal, const std::string& path) {
  auto* files = qobject_cast<QFileDialog*>(modal);
  auto* name = files ? files->findChild<QLineEdit*>("fileNameEdit") : nullptr;
  if (!name) return false;
  name->setText(QString::fromStdString(path));
  QTest::keyClick(name, Qt::Key_Return);
  return true;
}

// The menu bar's item of command `id`, in any menu below it.
inline QAction* MenuItemOf(const QList<QAction*>& actions, UINT id) {
  for (QAction* a : actions) {
    if (a->menu()) {
      if (QAction* found = MenuItemOf(a->menu()->actions(), id)) return found;
    } else if (!a->isSeparator() && a->data().toUInt() == id) {
      return a;
    }
  }
  return nullptr;
}

// Opens the menu of command `id` in the menu bar, as the user's click on its
// title does (the menu takes the commands' states then), and chooses it.
inline bool ChooseFromMenuBar(QMainWindow& window, UINT id) {
  for (QAction* title : window.menuBar()->actions()) {
    if (!title->menu() || !MenuItemOf(title->menu()->actions(), id)) continue;
    Q_EMIT title->menu()->aboutToShow();
    QAction* item = MenuItemOf(title->menu()->actions(), id);
    if (!item || !item->isEnabled()) return false;
    item->trigger();
    return true;
  }
  return false;
}

class DemoAppOnQtTest : public TempHomeTest {
 protected:
  DemoAppOnQtTest() : oldStart_(platform::StartFolder()) { platform::SetStartFolder(Root() + "demo/"); }
  ~DemoAppOnQtTest() override {
    app_.reset();
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    platform::SetStartFolder(oldStart_);
  }

  // Starts the program with its main window at 1200 x 900 and active; null when it did not start.
  QMainWindow* Start() {
    app_ = std::make_unique<CQOVAApp>();
    if (!app_->InitInstance()) return nullptr;
    auto* window = qobject_cast<QMainWindow*>(platform::qt::WidgetOf(Main()));
    if (!window) return nullptr;
    window->resize(1200, 900);
    window->activateWindow();
    QTest::qWait(30);
    return window;
  }
  CMDIFrameWnd& Main() { return dynamic_cast<CMDIFrameWnd&>(*app_->m_pMainWnd); }
  // A menu choice, dispatched only when the current menus offer it enabled.
  bool Choose(UINT id) { return platform::ui::input::ChooseCommand(Main(), id); }
  // Window > 1, 2 ... as the user picks it.
  bool Activate(CMDIChildWnd* child) {
    const std::vector<CMDIChildWnd*> children = Main().MDIChildren();
    const auto index = std::find(children.begin(), children.end(), child) - children.begin();
    const bool chosen = Choose(UINT(AFX_IDM_FIRST_MDICHILD + index));
    QTest::qWait(30);
    return chosen;
  }

  DemoOnQt demo_{Root() + "demo/", "Mapping10K_Xba131"};
  std::unique_ptr<CQOVAApp> app_;

 private:
  std::string oldStart_;
};

}  // namespace qova::test
