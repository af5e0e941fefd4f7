// The Sample Manager as a user meets it on the offscreen Qt platform, driven
// by mouse and key events: the array-type drop-down opens over the controls
// below it and takes a pick, a typed attribute shows, and the reference
// boxes read from their first line; Association Analysis follows the
// selection; on a folder without sample files it still opens with its
// captions and buttons.
#ifdef QOVA_TEST_WITH_QT
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>

#include <filesystem>
#include <optional>

#include "platform/qt/QtBackend.h"
#include "tests/document/samplemanager/manager_test_support.h"

namespace qova::test {
namespace {

class ManagerWindowTest : public ManagerTest {
 protected:
  ManagerWindowTest() {
    platform::qt::InstallQtBackend();
    boxes_.emplace();  // after the backend, which brings its own message boxes
  }
  ~ManagerWindowTest() override {
    boxes_.reset();
    QApplication::processEvents();
    platform::qt::UninstallQtBackend();
  }

  template <class Widget>
  static Widget* Control(QWidget* dialog, unsigned id) {
    auto* widget = dialog->findChild<Widget*>(QString::number(id));
    EXPECT_NE(widget, nullptr) << id;
    return widget;
  }

  // Whether the user sees the widget at `point` (its own coordinates), not a sibling over it.
  static bool SeenAt(QWidget* widget, QPoint point) {
    QWidget* top = widget->window()->childAt(widget->mapTo(widget->window(), point));
    return top == widget || widget->isAncestorOf(top);
  }

  std::optional<platform::ScopedRecordingSink> boxes_;
};

TEST_F(ManagerWindowTest, PickATypeTypeAnAttributeAndReadTheReferencesFromTheTop) {
  std::string references;
  for (int k = 1; k <= 12; ++k) references += "0." + std::to_string(k) + "0000$Ref" + std::to_string(k) + "$";
  WriteListed("Tumour", [&](SampleHeader& h) {
    h.NonSelfReferenceCount = 12;
    h.NonSelfReferences = references;
  });
  CDataManage dialog;
  dialog.ArrayDataFolder = ArrayFolder();
  QString picked, typed, firstScoreLine;
  bool typeSeen = false, typedSeen = false, popupBelowBox = false;
  int scoresScroll = -1, scoresScrollMax = 0;
  QTimer::singleShot(200, [&] {
    QWidget* window = QApplication::activeModalWidget();
    ASSERT_NE(window, nullptr);
    // The array type: open the drop-down and click the type.
    auto* types = Control<QComboBox>(window, ids::kArrayTypeFilter);
    QTest::mouseClick(types, Qt::LeftButton, {}, QPoint(types->width() - 8, types->height() / 2));
    QListView* popup = qobject_cast<QListView*>(types->view());
    ASSERT_TRUE(popup && popup->isVisible());
    popupBelowBox = popup->mapToGlobal(QPoint(0, 0)).y() >= types->mapToGlobal(QPoint(0, 0)).y() &&
                    popup->mapToGlobal(QPoint(0, 0)).y() < types->mapToGlobal(QPoint(0, types->height())).y() + 40;
    int row = types->findText(kSmallType);
    ASSERT_GE(row, 0);
    QTest::qWait(QApplication::doubleClickInterval() + 50);  // a release that soon after the opening is ignored
    QTest::mouseClick(popup->viewport(), Qt::LeftButton, {}, popup->visualRect(popup->model()->index(row, 0)).center());
    picked = types->currentText();
    typeSeen = SeenAt(types, QPoint(8, types->height() / 2));

    // The sample, then an attribute typed into its box.
    auto* list = Control<QListWidget>(window, ids::kSampleList);
    QList<QListWidgetItem*> rows = list->findItems("Tumour", Qt::MatchExactly);
    ASSERT_EQ(rows.size(), 1);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(rows[0]).center());
    auto* attribute = Control<QComboBox>(window, ids::kAttribute[0]);
    QTest::mouseClick(attribute->lineEdit(), Qt::LeftButton);
    QTest::keyClicks(attribute->lineEdit(), "stage II");
    typed = attribute->lineEdit()->text();
    typedSeen = SeenAt(attribute->lineEdit(), QPoint(4, attribute->lineEdit()->height() / 2));

    auto* scores = Control<QPlainTextEdit>(window, ids::kReferenceScores);
    firstScoreLine = scores->cursorForPosition(QPoint(4, 4)).block().text();
    scoresScroll = scores->verticalScrollBar()->value();
    scoresScrollMax = scores->verticalScrollBar()->maximum();
    window->grab().save(QString::fromStdString(BinaryDir() + "artefacts/sample_manager_in_use.png"));
    QTest::mouseClick(Control<QPushButton>(window, IDCANCEL), Qt::LeftButton);
  });
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(picked.toStdString(), kSmallType);
  EXPECT_TRUE(typeSeen);
  EXPECT_TRUE(popupBelowBox);
  EXPECT_EQ(typed.toStdString(), "stage II");
  EXPECT_TRUE(typedSeen);
  EXPECT_EQ(firstScoreLine.toStdString(), "0.10000");
  EXPECT_EQ(scoresScroll, 0);
  EXPECT_GT(scoresScrollMax, 0);  // more lines than the box shows
  EXPECT_EQ(boxes_->Texts(), std::vector<std::string>{});
}

// Association Analysis can be clicked while a sample with a self reference is
// selected, and closes the dialog with that sample for the analysis.
TEST_F(ManagerWindowTest, AssociationAnalysisIsClickableForASelectedSampleWithSelfReference) {
  WriteListed("Alone");
  WriteListed("Paired", [](SampleHeader& h) {
    h.IsPaired = 1;
    h.SelfReference = "PairedN";
  });
  CDataManage dialog;
  dialog.ArrayDataFolder = ArrayFolder();
  std::vector<bool> enabled;
  QTimer::singleShot(200, [&] {
    QWidget* window = QApplication::activeModalWidget();
    ASSERT_NE(window, nullptr);
    auto* button = Control<QPushButton>(window, ids::kAssociationAnalysis);
    auto* list = Control<QListWidget>(window, ids::kSampleList);
    enabled.push_back(button->isEnabled());
    for (const char* name : {"Alone", "Paired"}) {
      QList<QListWidgetItem*> rows = list->findItems(name, Qt::MatchExactly);
      ASSERT_EQ(rows.size(), 1) << name;
      QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(rows[0]).center());
      enabled.push_back(button->isEnabled());
    }
    std::filesystem::create_directories(BinaryDir() + "artefacts");
    window->grab().save(QString::fromStdString(BinaryDir() + "artefacts/sample_manager_association.png"));
    // Cancel where the button cannot be clicked, so that the dialog still closes.
    QTest::mouseClick(button->isEnabled() ? button : Control<QPushButton>(window, IDCANCEL), Qt::LeftButton);
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(enabled, (std::vector<bool>{false, false, true}));
  EXPECT_EQ(dialog.SampleName, "Paired");
  EXPECT_EQ(dialog.Action, "AssociationAnalysis");
  EXPECT_EQ(boxes_->Texts(), std::vector<std::string>{});
}

// On a folder without sample files the user is told which folder, and the
// dialog then opens as always: captions shown, dates set, buttons working.
TEST_F(ManagerWindowTest, AnEmptyFolderOpensTheDialogWithItsCaptionsAndButtons) {
  CDataManage dialog;
  dialog.ArrayDataFolder = ArrayFolder();
  QString caption, date;
  bool newEnabled = false, cancelEnabled = false;
  QTimer::singleShot(200, [&] {
    QWidget* window = QApplication::activeModalWidget();
    ASSERT_NE(window, nullptr);
    caption = Control<QLineEdit>(window, ids::kNameCaption)->text();
    date = Control<QLineEdit>(window, ids::kFromDate)->text();
    newEnabled = Control<QPushButton>(window, ids::kNew)->isEnabled();
    cancelEnabled = Control<QPushButton>(window, IDCANCEL)->isEnabled();
    window->grab().save(QString::fromStdString(BinaryDir() + "artefacts/sample_manager_empty_folder.png"));
    QTest::mouseClick(Control<QPushButton>(window, IDCANCEL), Qt::LeftButton);
  });
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(caption.toStdString(), "SampleName");
  EXPECT_FALSE(date.isEmpty());
  EXPECT_TRUE(newEnabled && cancelEnabled);
  EXPECT_EQ(boxes_->Texts(),
            std::vector<std::string>{"error\nNo sample file (.CFH) in " + platform::NativePath(ArrayFolder())});
}

}  // namespace
}  // namespace qova::test
#endif
