// A message box that lists failures, on screens of several widths and in
// two styles: every line is read whole (kept on one line or wrapped inside
// the box), and its text can be selected and copied. Qt decides a box's widest from the screen
// it opens on, which a running program cannot change: each screen is a run of
// this test program of its own on an offscreen screen that wide.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyleFactory>
#include <QTest>

#include <cstdlib>
#include <string>

#include "platform/MessageBox.h"
#include "tests/platform_qt/qt_fixture.h"
#include "tests/support/TempHome.h"

namespace qova::test {
namespace {

constexpr const char* kScreenVariable = "QOVA_TEST_SCREEN_WIDTH";

// What Extract Data tells of CHP files cut short among whole ones.
constexpr const char* kFailures =
    "2 of 4 files could not be extracted:\n"
    "C.CHP: SNPs call is not performed\n"
    "    The CHP file C.CHP cannot be read: the genotyping record 2114 of 58960 at offset 42365 runs past the end "
    "of the file (42380 bytes).\n"
    "F.CHP: SNPs call is not performed\n"
    "    The CHP file F.CHP cannot be read: the 58960 probe sets and 2 probe-set types at offset 85 do not fit the "
    "4903 bytes left.";

struct Shown {
  int boxWidth = 0;
  QRect label;
  bool wraps = false;
  int heightNeeded = 0;  // at the label's width
  QStringList lines;
  std::vector<int> lineWidths;
  bool selectable = false;
  QString copied;
};

class QtMessageBoxTest : public QtUiTest {
 protected:
  // Shows the list in a box as a command does; what the user sees of it,
  // and what Ctrl+C puts on the clipboard once the text is selected.
  Shown ShowFailures(const QString& picture) {
    Shown shown;
    QTimer user;
    WhileMessageBox(user, [&](QMessageBox& box, QLabel& label) {
      shown.boxWidth = box.width();
      shown.label = label.geometry();
      shown.wraps = label.wordWrap();
      shown.heightNeeded = shown.wraps ? label.heightForWidth(label.width()) : label.sizeHint().height();
      shown.lines = label.text().split('\n');
      for (const QString& line : shown.lines) shown.lineWidths.push_back(label.fontMetrics().horizontalAdvance(line));
      shown.selectable = label.textInteractionFlags() & Qt::TextSelectableByMouse;
      box.grab().save(ArtefactPath(picture));
      QGuiApplication::clipboard()->clear();
      // A click in the text, then Ctrl+A and Ctrl+C.
      QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(2, 2));
      QTest::keyClick(&label, Qt::Key_A, Qt::ControlModifier);
      QTest::keyClick(&label, Qt::Key_C, Qt::ControlModifier);
      shown.copied = QGuiApplication::clipboard()->text();
      box.button(QMessageBox::Ok)->click();
    });
    AfxMessageBox(kFailures, MB_OK | MB_ICONEXCLAMATION);
    return shown;
  }
};

TEST_F(QtMessageBoxTest, AListOfFailuresIsReadWholeOnEveryScreenAndItsTextCanBeCopied) {
  if (const char* width = std::getenv(kScreenVariable)) {
    const int screen = QGuiApplication::primaryScreen()->availableGeometry().width();
    ASSERT_EQ(screen, std::atoi(width));
    const Shown shown = ShowFailures(QString("message_box_failures_%1.png").arg(screen));
    ASSERT_EQ(shown.lines.size(), 5);
    // The label lies inside the box and has the height its lines need at its width.
    EXPECT_LE(shown.label.right(), shown.boxWidth);
    EXPECT_LE(shown.boxWidth, screen);
    EXPECT_GE(shown.label.height(), shown.heightNeeded);
    // A line wider than the label is wrapped, never cut.
    for (size_t i = 0; i < shown.lineWidths.size() && !shown.wraps; ++i)
      EXPECT_LE(shown.lineWidths[i], shown.label.width()) << shown.lines[qsizetype(i)].toStdString();
    EXPECT_TRUE(shown.selectable);
    EXPECT_EQ(shown.copied.toStdString(), kFailures);
    return;
  }
  // The parent run: one run of this test for each screen, from a small one,
  // where a box may take the whole width, to one where it stops at 1000; in
  // the style most desktops give and in one that leaves a box's text alone.
  TempHome home;
  // The style the program starts with, and Qt's other base style, a plain
  // one that lets no label's text be selected unless asked.
  const QString standard = QApplication::style()->name();
  QString plain;
  for (const QString& key : QStyleFactory::keys())
    if (key.compare(standard, Qt::CaseInsensitive) != 0 && plain.isEmpty()) plain = key;
  ASSERT_FALSE(plain.isEmpty());
  const struct {
    int screen;
    QString style;
  } cases[] = {{800, standard}, {1280, standard}, {1440, plain}, {1920, plain}};
  for (const auto& [screen, style] : cases) {
    SCOPED_TRACE(std::to_string(screen) + " " + style.toStdString());
    RunOnScreen(QSize(screen, 1024), QString::fromStdString(home.Path("screen.json")),
                "QtMessageBoxTest.AListOfFailuresIsReadWholeOnEveryScreenAndItsTextCanBeCopied",
                {{kScreenVariable, QString::number(screen)}, {"QT_STYLE_OVERRIDE", style}});
  }
}

}  // namespace
}  // namespace qova::test
