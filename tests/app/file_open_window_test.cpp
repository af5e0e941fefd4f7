// File > Open on the offscreen Qt platform, through the file dialog as a user
// types a name into it: a result file or a file of random bytes is refused
// with one message naming it, and no window comes up; a study opens as before.
#ifdef QOVA_TEST_WITH_QT
#include <QMdiArea>
#include <QMdiSubWindow>

#include <random>
#include <string>
#include <vector>

#include "platform/File.h"
#include "tests/app/DemoAppOnQt.h"

namespace qova::test {
namespace {

class FileOpenWindowTest : public DemoAppOnQtTest {
 protected:
  // File > Open with `path` typed into the dialog's name field and Return.
  void OpenThroughTheDialog(const std::string& path) {
    bool typed = false;
    ModalHand hand([path, &typed](QWidget* modal) { typed = TypeIntoFileDialog(modal, path) || typed; });
    ASSERT_TRUE(Choose(ID_FILE_OPEN));
    QTest::qWait(50);
    EXPECT_TRUE(typed);
  }
};

std::string RandomBytes(std::size_t n) {
  std::mt19937 random(7);
  std::string bytes(n, '\0');
  for (char& byte : bytes) byte = static_cast<char>(random() & 0xFF);
  return bytes;
}

TEST_F(FileOpenWindowTest, AFileNoDocumentReadsIsRefusedWithOneMessageAndNoWindow) {
  struct Case {
    std::string path;
    bool opens;  // a study: its window comes up, titled with its name
  };
  const std::string result = Root() + "demo/Results/Tumour02.CFN";
  ASSERT_TRUE(platform::FileExists(result));
  const std::string garbage = Path("garbage.dat"), study = Path("study.AAD");
  ASSERT_TRUE(platform::WriteWholeFile(garbage, RandomBytes(4096)));
  WriteAssociationFile(study);

  QMainWindow* window = Start();
  ASSERT_NE(window, nullptr);
  auto* area = window->findChild<QMdiArea*>("mdi");
  ASSERT_NE(area, nullptr);
  const std::size_t windowsAtStart = Main().MDIChildren().size();
  std::size_t shown = demo_.Shown().size();
  for (const Case& c : {Case{result, false}, Case{garbage, false}, Case{study, true}, Case{result, false}}) {
    SCOPED_TRACE(c.path);
    const std::size_t children = Main().MDIChildren().size();
    const auto subWindows = area->subWindowList().size();
    const auto topLevels = QApplication::topLevelWidgets().size();
    const std::string title = window->windowTitle().toStdString();
    OpenThroughTheDialog(c.path);

    const std::vector<std::string> boxes = demo_.Shown();
    const std::vector<std::string> told(boxes.begin() + std::ptrdiff_t(shown), boxes.end());
    shown = boxes.size();
    const std::size_t added = c.opens ? 1 : 0;
    EXPECT_EQ(Main().MDIChildren().size(), children + added);
    EXPECT_EQ(area->subWindowList().size(), subWindows + qsizetype(added));
    if (c.opens) {
      EXPECT_EQ(told, std::vector<std::string>{});
      EXPECT_EQ(window->windowTitle().toStdString(), "QOVA - study.AAD");
    } else {
      // Not even a window made and hidden again.
      EXPECT_EQ(QApplication::topLevelWidgets().size(), topLevels);
      EXPECT_EQ(told, std::vector<std::string>{c.path + " cannot be opened: File > Open opens graph texts (*.txt) and "
                                                         "association studies (*.AAD). Results are shown through Data > "
                                                         "DisplaySamples."});
      EXPECT_EQ(window->windowTitle().toStdString(), title);
    }
  }
  EXPECT_EQ(Main().MDIChildren().size(), windowsAtStart + 1);
}

}  // namespace
}  // namespace qova::test

#endif  // QOVA_TEST_WITH_QT
