#pragma once
// The fixture of the windowed backend's tests: the Qt implementation
// installed, a clean set of resources, and a folder for the screenshots that
// the tests leave in the build folder for people to look at.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
#include <QProcess>
#include <QSize>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>
#include <functional>
#include <string>
#include <utility>

#include "platform/qt/QtBackend.h"
#include "platform/ui/Backend.h"
#include "platform/ui/Resources.h"
#include "tests/support/TempHome.h"

namespace qova::test {

class QtUiTest : public ::testing::Test {
 protected:
  QtUiTest() {
    platform::qt::InstallQtBackend();
    platform::ui::ClearMessageQueue();
    platform::ui::Resources::Instance().Clear();
  }
  ~QtUiTest() override {
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    platform::qt::UninstallQtBackend();
    platform::ui::ClearMessageQueue();
    platform::ui::Resources::Instance().Clear();
  }

  // The folder for test artefacts: <build>/artefacts, wherever the test is
  // run from, so a test run by hand never writes into the source tree.
  static QString ArtefactPath(const QString& name) {
    QString folder = QString::fromStdString(BinaryDir()) + "artefacts";
    QDir().mkpath(folder);
    return folder + "/" + name;
  }

  // Runs the test `filter` of this program again, in a process of its own, on
  // an offscreen screen of `size` described in the file `config`, with the
  // environment's `variables` added; fails with the run's output when it does.
  static void RunOnScreen(QSize size, const QString& config, const QString& filter,
                          const std::vector<std::pair<QString, QString>>& variables) {
    QFile file(config);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QString(R"({"screens": [{"name": "screen", "x": 0, "y": 0, "width": %1, "height": %2}]})")
                   .arg(size.width())
                   .arg(size.height())
                   .toUtf8());
    file.close();
    QProcess run;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen:configfile=" + config);
    for (const auto& [name, value] : variables) environment.insert(name, value);
    run.setProcessEnvironment(environment);
    run.setProcessChannelMode(QProcess::MergedChannels);
    run.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=" + filter});
    ASSERT_TRUE(run.waitForFinished(60000));
    EXPECT_EQ(run.exitCode(), 0) << run.readAll().toStdString();
  }

  // The modal window on top: a message box over its dialog, else the dialog.
  static QWidget* TopModal() {
    QWidget* top = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (!w->isVisible() || !w->isModal()) continue;
      if (!top || w->parentWidget() == top || w->inherits("QMessageBox")) top = w;
    }
    return top;
  }

  // Calls `act` with the modal window on top every few milliseconds (a
  // user's hand on whatever dialog is up). A window is not acted on again
  // while an action on it is still running, so a message box that the
  // action brings up gets its own turn.
  static void WhileModal(QTimer& timer, std::function<void(QWidget*)> act) {
    timer.setInterval(15);
    auto acting = std::make_shared<std::vector<QWidget*>>();
    QObject::connect(&timer, &QTimer::timeout, [act, acting] {
      QWidget* modal = TopModal();
      if (!modal || std::find(acting->begin(), acting->end(), modal) != acting->end()) return;
      // Run outside the timer's own call, so that nested loops keep the timer going.
      QMetaObject::invokeMethod(
          qApp,
          [act, acting, target = QPointer<QWidget>(modal)] {
            if (!target || std::find(acting->begin(), acting->end(), target.data()) != acting->end()) return;
            acting->push_back(target);
            act(target);
            acting->erase(std::find(acting->begin(), acting->end(), target.data()));
          },
          Qt::QueuedConnection);
    });
    timer.start();
  }

  // Calls `act` with each message box that comes up and the label of its text.
  static void WhileMessageBox(QTimer& timer, std::function<void(QMessageBox&, QLabel&)> act) {
    WhileModal(timer, [act](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      if (!box) return;
      auto* label = box->findChild<QLabel*>("qt_msgbox_label");
      ASSERT_NE(label, nullptr);
      act(*box, *label);
    });
  }
};

}  // namespace qova::test
