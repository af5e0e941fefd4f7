#include "app/QtStartup.h"

#include <QApplication>
#include <QStringList>

#include <string>
#include <vector>

#include "app/lib/QOVAApp.h"
#include "platform/qt/QtBackend.h"

namespace qova::app {

int RunOnQt(int argc, char** argv, const std::function<void(CWinApp&)>& started) {
  QApplication qt(argc, argv);
  QApplication::setApplicationName("QOVA");
  platform::qt::InstallQtBackend();
  int code = 1;
  {
    CQOVAApp app;
    std::vector<std::string> arguments;
    const QStringList left = QCoreApplication::arguments();
    for (qsizetype i = 1; i < left.size(); ++i) arguments.push_back(left[i].toLocal8Bit().toStdString());
    app.SetCommandLine(std::move(arguments));
    if (app.InitInstance()) {
      if (started) started(app);
      code = app.Run();
    } else {
      app.ExitInstance();
    }
  }
  platform::qt::UninstallQtBackend();
  return code;
}

}  // namespace qova::app
