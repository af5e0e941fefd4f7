// Starts QOVA as the program does, waits until its main window has settled,
// prints the window's title and menu bar, saves a picture of the window to
// the PNG file given as the first argument, and closes the program. With
// --sample NAME it first puts that sample into the main document, as the
// Sample Manager's analysis does, and reports how much of the view is drawn.
//
//   qova_window_shot main_window.png [--sample Tumour01] -platform offscreen
#include <QImage>
#include <QMainWindow>
#include <QMenuBar>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstring>
#include <string>

#include "app/QtStartup.h"
#include "document/QOVADoc.h"
#include "platform/qt/QtBackend.h"
#include "platform/ui/App.h"
#include "platform/ui/Backend.h"
#include "platform/ui/Frame.h"
#include "platform/ui/Wnd.h"

namespace {

// Long enough for the window to be laid out and painted once.
constexpr int kSettleMilliseconds = 500;

// The active main document's view, or null.
CView* ActiveView(CWinApp& app) {
  auto* frame = dynamic_cast<CMDIFrameWnd*>(app.m_pMainWnd);
  CMDIChildWnd* child = frame ? frame->MDIGetActive() : nullptr;
  return child ? child->GetActiveView() : nullptr;
}

// The analysis of the Sample Manager, on the sample's extracted file.
void ShowSample(CWinApp& app, const std::string& sample) {
  CView* view = ActiveView(app);
  auto* doc = view ? dynamic_cast<CQOVADoc*>(view->GetDocument()) : nullptr;
  if (!doc) return;
  doc->RunSampleAction(sample, kActionSelfAnalysis);
  std::printf("sample: %s %s\n", sample.c_str(), doc->Status.c_str());
}

// How many pixels of the view differ from its background.
void ReportView(CWinApp& app) {
  CView* view = ActiveView(app);
  QWidget* widget = view ? platform::qt::WidgetOf(*view) : nullptr;
  if (!widget) return;
  const QImage image = widget->grab().toImage();
  const QRgb background = image.pixel(image.width() - 1, image.height() - 1);
  long long drawn = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) drawn += image.pixel(x, y) != background;
  std::printf("view drawn pixels: %lld\n", drawn);
}

void Report(CWinApp& app, const std::string& path, bool withSample) {
  QWidget* window = app.m_pMainWnd ? platform::qt::WidgetOf(*app.m_pMainWnd) : nullptr;
  if (!window) {
    std::printf("error: the main window has no widget\n");
    PostQuitMessage(2);
    return;
  }
  std::printf("title: %s\n", window->windowTitle().toStdString().c_str());
  if (auto* main = qobject_cast<QMainWindow*>(window))
    for (QAction* menu : main->menuBar()->actions()) std::printf("menu: %s\n", menu->text().toStdString().c_str());
  if (withSample) ReportView(app);
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
  // The picture's path and the sample are ours; everything after them is the
  // program's own command line.
  int ours = 1;
  std::string sample;
  if (argc >= 4 && std::strcmp(argv[2], "--sample") == 0) {
    sample = argv[3];
    ours = 3;
  }
  argv[ours] = argv[0];
  return qova::app::RunOnQt(argc - ours, argv + ours, [path, sample](CWinApp& app) {
    if (!sample.empty()) ShowSample(app, sample);
    QTimer::singleShot(kSettleMilliseconds, [&app, path, sample] { Report(app, path, !sample.empty()); });
  });
}
