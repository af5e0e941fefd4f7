// The Measure tool on the offscreen Qt platform: a band dragged over the
// demo's planted loss opens the Statistics dialog as a real window, which is
// photographed and closed with its OK button.
#ifdef QOVA_TEST_WITH_QT
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <filesystem>

#include "core/ArrayTypes.h"
#include "platform/qt/QtBackend.h"
#include "platform/ui/UserInput.h"
#include "resources/StatisticsDialog.h"
#include "tests/app/DemoViewOnQt.h"

namespace qova::test {
namespace {

class StatisticsWindowTest : public DemoViewOnQtTest {};

TEST_F(StatisticsWindowTest, AMeasureDragShowsTheStatisticsOfTheLoss) {
  // In a frame, as on the screen, so that the view has a window to draw the band on.
  CQOVAView* view = ShowTumour01(true);
  ASSERT_NE(view, nullptr);
  ASSERT_TRUE(view->m_bDataShown);

  // Over 15 % to 40 % of chromosome 3, inside the planted loss.
  const int* starts = qova::core::kArrayChromosomeStarts[0];
  const int length = starts[4] - starts[3];
  const auto over = [view](int k) {
    return CPoint(LONG(view->ToDeviceX(view->m_nChromosomeX[3] + k)), LONG(view->ToDeviceY(view->m_nChromosomeY[3] + 500)));
  };
  const std::string picture =
      (std::filesystem::path(BinaryDir()) / "artefacts" / "dialogs" / "168_statistics.png").string();
  std::filesystem::create_directories(std::filesystem::path(picture).parent_path());
  std::string shown;
  QTimer user;
  user.setInterval(20);
  QObject::connect(&user, &QTimer::timeout, [&] {
    QWidget* window = QApplication::activeModalWidget();
    if (!window || !shown.empty()) return;
    auto* text = window->findChild<QLabel*>(QString::number(qova::resources::kShowStatText));
    if (!text) return;
    shown = text->text().toStdString();
    window->grab().save(QString::fromStdString(picture));
    QTest::mouseClick(window->findChild<QPushButton*>(QString::number(IDOK)), Qt::LeftButton);
  });
  user.start();
  view->OnParameterMeasure();
  namespace input = platform::ui::input;
  input::Mouse(*view, WM_LBUTTONDOWN, MK_LBUTTON, over(length * 15 / 100));
  input::Mouse(*view, WM_MOUSEMOVE, MK_LBUTTON, over(length * 30 / 100));
  // The band on the window while the button is held.
  QApplication::processEvents();
  const std::string band = (std::filesystem::path(BinaryDir()) / "artefacts" / "views" / "measure_band.png").string();
  std::filesystem::create_directories(std::filesystem::path(band).parent_path());
  QWidget* window = platform::qt::WidgetOf(*frame_);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->grab().save(QString::fromStdString(band)));
  input::Mouse(*view, WM_LBUTTONUP, 0, over(length * 40 / 100));
  user.stop();
  EXPECT_EQ(shown.rfind("Chromosome: 3\n", 0), 0u) << shown;
  EXPECT_NE(shown.find("\nHeteroCall Number: "), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(picture));
  EXPECT_EQ(demo_.Shown(), std::vector<std::string>{});
}

}  // namespace
}  // namespace qova::test
#endif
