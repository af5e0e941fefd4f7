// Starts QOVA as the program does, waits until its main window has settled,
// prints the window's title and menu bar, saves a picture of the window to
// the PNG file given as the first argument, and closes the program.
//
//   qova_window_shot main_window.png -platform offscreen
#include <QMainWindow>
#include <QMenuBar>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <string>

#include "app/QtStartup.h"
#include "platform/qt/QtBackend.h"
#include "platform/ui/App.h"
#include "platform/ui/Backend.h"
#include "platform/ui/Wnd.h"

namespace {

// Long enough for the window to be laid out and painted once.
constexpr int kSettleMilliseconds = 500;

void Report(CWinApp& app, const std::string& path) {
  QWidget* window = app.m_pMainWnd ? platform::qt::WidgetOf(*app.m_pMainWnd) : nullptr;
  if (!window) {
    std::printf("error: the main window has no widget\n");
    PostQuitMessage(2);
    return;
  }
  std::printf("title: %s\n", window->windowTitle().toStdString().c_str());
  if (auto* main = qobject_cast<QMainWindow*>(window))
    for (QAction* menu : main->menuBar()->actions()) std::printf("menu: %s\n", menu->text().toStdString().c_str());
  bool saved = window->grab().save(QString::fromStdString(path), "PNG");
  std::printf("screenshot: %s %s\n", path.c_str(), saved ? "saved" : "not saved");
  std::fflush(stdout);
  app.OnAppExit();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: qova_window_shot OUTPUT.png [Qt options]\n");
    return 2;
  }
  const std::string path = argv[1];
  // The picture's path is ours; everything after it is the program's own command line.
  argv[1] = argv[0];
  return qova::app::RunOnQt(argc - 1, argv + 1, [path](CWinApp& app) {
    QTimer::singleShot(kSettleMilliseconds, [&app, path] { Report(app, path); });
  });
}
