// Data > Extract without CHP over the demo's CEL files on the offscreen Qt
// platform, in a main window 1024 pixels wide: the status bar's summary is
// read whole, and the window is photographed.
#ifdef QOVA_TEST_WITH_QT
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <filesystem>

#include "core/GlobalData.h"
#include "document/DocumentCommands.h"
#include "document/QOVADoc.h"
#include "platform/qt/QtBackend.h"
#include "platform/ui/App.h"
#include "resources/ExtractDialogs.h"
#include "resources/FrameResources.h"
#include "tests/app/DemoOnQt.h"
#include "tests/support/TempHome.h"
#include "views/MainFrm.h"

namespace qova::test {
namespace {

class ExtractStatusWindowTest : public TempHomeTest {
 protected:
  ~ExtractStatusWindowTest() override {
    if (frame_) frame_->DestroyWindow();
    app_.m_pMainWnd = nullptr;
  }

  DemoOnQt demo_{Root() + "demo/", "Mapping10K_Xba131"};
  CGlobalData global_;
  CWinApp app_;
  CMainFrame* frame_ = nullptr;  // goes with its window
};

TEST_F(ExtractStatusWindowTest, TheSummaryOfExtractWithoutChpFitsTheStatusBarOfA1024PixelWindow) {
  ASSERT_TRUE(global_.Load());
  qova::resources::RegisterFrameResources();
  frame_ = new CMainFrame;
  ASSERT_TRUE(frame_->LoadFrame(qova::resources::kMainFrame));
  app_.m_pMainWnd = frame_;
  frame_->ShowWindow(SW_SHOW);
  QWidget* window = platform::qt::WidgetOf(*frame_);
  ASSERT_NE(window, nullptr);
  window->resize(1024, 768);
  CQOVADoc doc(global_);
  doc.m_bAutoDelete = FALSE;
  const std::string demo = Root() + "demo/";
  doc.DataFolder = demo + "Cel/";
  doc.LibraryFolder = demo + "Library/";
  doc.ArrayDataFolder = demo + "ArrayData/";

  // The user takes every CEL file listed as a non-paired test.
  namespace res = qova::resources;
  int listed = 0;
  QTimer user;
  user.setInterval(20);
  QObject::connect(&user, &QTimer::timeout, [&] {
    QWidget* dialog = QApplication::activeModalWidget();
    auto* found = dialog ? dialog->findChild<QListWidget*>(QString::number(res::kExtractFoundFiles)) : nullptr;
    if (!found || listed > 0) return;
    listed = found->count();
    found->selectAll();
    QTest::mouseClick(dialog->findChild<QPushButton*>(QString::number(res::kExtractAddNonPairedTest)), Qt::LeftButton);
    QTest::mouseClick(dialog->findChild<QPushButton*>(QString::number(IDOK)), Qt::LeftButton);
  });
  user.start();
  platform::ui::DispatchCommand(doc, qova::document::command::kExtractWithoutChp);
  user.stop();
  QApplication::processEvents();
  ASSERT_EQ(listed, 9);

  auto* pane = window->findChild<QLabel*>("pane0");
  auto* lastIndicator = window->findChild<QLabel*>("pane3");
  ASSERT_NE(pane, nullptr);
  ASSERT_NE(lastIndicator, nullptr);
  const std::string text = pane->text().toStdString();
  EXPECT_TRUE(text.starts_with("Extracted 9 of 9 samples into ")) << text;
  EXPECT_NE(text.find("; SNPs called in 8 samples, none in "), std::string::npos) << text;
  // The text ends inside its pane, and the indicators after it stay inside
  // the window.
  const int textEnd = pane->contentsRect().left() + pane->fontMetrics().horizontalAdvance(pane->text());
  EXPECT_LE(textEnd, pane->contentsRect().right()) << text;
  EXPECT_LE(lastIndicator->mapTo(window, QPoint(lastIndicator->width(), 0)).x(), window->width());
  // The counts of every sample, and the reason of the one without calls,
  // come in one box at the end.
  ASSERT_EQ(demo_.Shown().size(), 1u);
  const std::string report = demo_.Shown()[0];
  EXPECT_TRUE(report.starts_with("SNPs called per sample:\n")) << report;
  EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 9) << report;

  const std::filesystem::path artefacts = std::filesystem::path(BinaryDir()) / "artefacts";
  std::filesystem::create_directories(artefacts);
  window->grab().save(QString::fromStdString((artefacts / "extract_without_chp_status_1024.png").string()));
}

}  // namespace
}  // namespace qova::test
#endif
