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

#include "core/GlobalData.h"
#include "document/QOVADoc.h"
#include "platform/ui/Backend.h"
#include "platform/ui/Frame.h"
#include "resources/FrameResources.h"
#include "resources/ShownSampleDialogs.h"
#include "tests/app/DemoOnQt.h"
#include "tests/support/TempHome.h"
#include "views/QOVAView.h"

namespace qova::test {
namespace {

class SampleInformationWindowTest : public TempHomeTest {
 protected:
  DemoOnQt demo_{Root() + "demo/", "Mapping10K_Xba131"};
};

TEST_F(SampleInformationWindowTest, TheReportIsShownAndCopied) {
  CGlobalData global;
  ASSERT_TRUE(global.Load());
  CQOVADoc doc(global);
  doc.m_bAutoDelete = FALSE;
  const std::string demo = Root() + "demo/";
  doc.AnalyzedData.LoadFile(demo + "Results/Tumour01.CFS");
  doc.ArrayData.LoadFile(demo + "ArrayData/Tumour01.CFH");
  doc.Status = kStatusAnalysis;
  qova::resources::RegisterFrameResources();
  auto* frame = new CFrameWnd;
  CCreateContext context;
  context.m_pNewViewClass = RUNTIME_CLASS(CQOVAView);
  context.m_pCurrentDoc = &doc;
  ASSERT_TRUE(frame->LoadFrame(qova::resources::kMainFrame, WS_OVERLAPPEDWINDOW, nullptr, &context));
  auto* view = dynamic_cast<CQOVAView*>(frame->GetDlgItem(AFX_IDW_PANE_FIRST));
  ASSERT_NE(view, nullptr);
  frame->SetActiveView(view);
  view->OnInitialUpdate();
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
  frame->DestroyWindow();
}

}  // namespace
}  // namespace qova::test
#endif
