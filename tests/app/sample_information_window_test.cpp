// View > Sample infomation on the offscreen Qt platform: the dialog opens as
// a real window over the demo's self result, is photographed, copies its
// report with its Copy button and closes with OK.
#ifdef QOVA_TEST_WITH_QT
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <filesystem>

#include "platform/ui/Backend.h"
#include "resources/ShownSampleDialogs.h"
#include "tests/app/DemoViewOnQt.h"

namespace qova::test {
namespace {

class SampleInformationWindowTest : public DemoViewOnQtTest {};

TEST_F(SampleInformationWindowTest, TheReportIsShownAndCopied) {
  CQOVAView* view = ShowTumour01(false);
  ASSERT_NE(view, nullptr);
  ASSERT_TRUE(view->m_bDataShown);

  const std::string picture =
      (std::filesystem::path(BinaryDir()) / "artefacts" / "dialogs" / "181_sample_information.png").string();
  std::filesystem::create_directories(std::filesystem::path(picture).parent_path());
  std::string shown;
  QTimer user;
  user.setInterval(20);
  QObject::connect(&user, &QTimer::timeout, [&] {
    QWidget* window = QApplication::activeModalWidget();
    if (!window || !shown.empty()) return;
    auto* text = window->findChild<QLabel*>(QString::number(qova::resources::kSampleInformationText));
    if (!text) return;
    shown = text->text().toStdString();
    window->grab().save(QString::fromStdString(picture));
    QTest::mouseClick(window->findChild<QPushButton*>(QString::number(qova::resources::kSampleInformationCopy)),
                      Qt::LeftButton);
    QTest::mouseClick(window->findChild<QPushButton*>(QString::number(IDOK)), Qt::LeftButton);
  });
  user.start();
  view->OnViewSampleInformation();
  user.stop();
  EXPECT_EQ(shown.rfind("Sample name\tTumour01\nArray type\tMapping10K_Xba131\n", 0), 0u) << shown;
  EXPECT_EQ(platform::ui::GetClipboardText(), shown);
  EXPECT_TRUE(std::filesystem::exists(picture));
  EXPECT_EQ(demo_.Shown(), std::vector<std::string>{});
}

}  // namespace
}  // namespace qova::test
#endif
