// Dialogs and property sheets as real Qt windows, driven through Qt events.
#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include "platform/qt/QtBackend.h"
#include "platform/ui/DC.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/PropertySheet.h"
#include "tests/platform_qt/qt_fixture.h"

namespace {

using namespace platform::ui;

constexpr UINT kIntDialog = 9001;
constexpr UINT kValueEdit = 1000;

class CIntDialog : public CDialog {
 public:
  CIntDialog() : CDialog(kIntDialog) {}
  int m_value = 10;
  int m_mode = 0;

 protected:
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Text(pDX, kValueEdit, m_value);
    DDV_MinMaxInt(pDX, m_value, 1, 100);
    DDX_Radio(pDX, 1001, m_mode);
  }
};

DialogTemplate IntDialogTemplate() {
  return {kIntDialog,
          "Integer",
          {170, 70},
          DS_MODALFRAME | WS_CAPTION | WS_SYSMENU,
          "MS Shell Dlg",
          8,
          {Static(IDC_STATIC, "&Value (1-100):", {7, 9, 60, 8}), Edit(kValueEdit, {70, 7, 90, 14}),
           RadioButton(1001, "Self", {7, 28, 40, 10}, WS_GROUP), RadioButton(1002, "NonSelf", {50, 28, 50, 10}),
           DefPushButton(IDOK, "OK", {56, 48, 50, 14}), PushButton(IDCANCEL, "Cancel", {113, 48, 50, 14})}};
}

class QtDialogTest : public qova::test::QtUiTest {
 protected:
  QtDialogTest() { platform::ui::Resources::Instance().AddDialog(IntDialogTemplate()); }
};

TEST_F(QtDialogTest, IntegerDialogRunsAsAQtDialogDrivenByKeysAndClicks) {
  CIntDialog dialog;
  std::vector<std::string> boxTexts;
  int step = 0;
  bool saved = false;
  QTimer user;
  WhileModal(user, [&](QWidget* modal) {
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      boxTexts.push_back(box->text().toStdString());
      box->button(QMessageBox::Ok)->click();
      return;
    }
    auto* edit = modal->findChild<QLineEdit*>(QString::number(kValueEdit));
    auto* ok = modal->findChild<QPushButton*>(QString::number(IDOK));
    auto* nonSelf = modal->findChild<QRadioButton*>("1002");
    ASSERT_TRUE(edit && ok && nonSelf);
    if (step == 0) {
      step = 1;
      EXPECT_EQ(QApplication::activeModalWidget(), modal);  // it blocks the other windows
      EXPECT_EQ(edit->text(), "10");
      edit->selectAll();
      QTest::keyClicks(edit, "0");
      QTest::mouseClick(ok, Qt::LeftButton);  // refused: the message box comes and goes
    } else if (step == 1) {
      step = 2;
      edit->selectAll();
      QTest::keyClicks(edit, "50");
      QTest::mouseClick(nonSelf, Qt::LeftButton);
      saved = modal->grab().save(ArtefactPath("int_dialog.png"));
      QTest::mouseClick(ok, Qt::LeftButton);
    }
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(boxTexts, std::vector<std::string>{"Please enter an integer between 1 and 100."});
  EXPECT_EQ(dialog.m_value, 50);
  EXPECT_EQ(dialog.m_mode, 1);
  EXPECT_TRUE(saved);
}

TEST_F(QtDialogTest, EscapeIsTheDialogsCancel) {
  CIntDialog dialog;
  QTimer user;
  WhileModal(user, [&](QWidget* modal) {
    auto* edit = modal->findChild<QLineEdit*>(QString::number(kValueEdit));
    QTest::keyClicks(edit, "99");
    QTest::keyClick(modal, Qt::Key_Escape);
  });
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(dialog.m_value, 10);
}

TEST_F(QtDialogTest, ControlsArePlacedByDialogUnitsOfTheFont) {
  CIntDialog dialog;
  ASSERT_TRUE(dialog.Create(kIntDialog));
  QWidget* widget = platform::qt::WidgetOf(dialog);
  ASSERT_NE(widget, nullptr);
  CSize base = platform::ui::Backend().DialogBaseUnits("MS Shell Dlg", 8);
  auto* edit = widget->findChild<QLineEdit*>("1000");
  ASSERT_NE(edit, nullptr);
  CRect expected = DialogUnitsToPixels({70, 7, 90, 14}, base);
  EXPECT_EQ(edit->geometry(), QRect(expected.left, expected.top, expected.Width(), expected.Height()));
  EXPECT_EQ(widget->width(), DialogUnitsToPixels({0, 0, 170, 70}, base).Width());
  // The program's changes show at once.
  dialog.SetDlgItemText(kValueEdit, "33");
  dialog.GetDlgItem(IDOK)->EnableWindow(FALSE);
  EXPECT_EQ(edit->text(), "33");
  EXPECT_FALSE(widget->findChild<QPushButton*>("1")->isEnabled());
  dialog.DestroyWindow();
}

// A page that refuses to be left while its box is unchecked.
constexpr UINT kPageA = 9151;
constexpr UINT kPageB = 9152;

class CVetoPage : public CPropertyPage {
 public:
  CVetoPage() : CPropertyPage(kPageA) {}
  BOOL OnKillActive() override {
    if (!IsDlgButtonChecked(1005)) {
      AfxMessageBox("Select at least one item");
      return FALSE;
    }
    return CPropertyPage::OnKillActive();
  }
  void OnOK() override { okCalled = true; }
  bool okCalled = false;
};

class CPlainPage : public CPropertyPage {
 public:
  CPlainPage() : CPropertyPage(kPageB) {}
  void OnOK() override { okCalled = true; }
  bool okCalled = false;
};

TEST_F(QtDialogTest, PropertySheetTabsFollowTheVetoAndOkAppliesShownPages) {
  auto& res = platform::ui::Resources::Instance();
  res.AddDialog({kPageA, "Items", {200, 80}, 0, "MS Shell Dlg", 8, {CheckBox(1005, "SNP Call Bar", {10, 10, 80, 10})}});
  res.AddDialog({kPageB, "Scale", {200, 80}, 0, "MS Shell Dlg", 8, {Edit(1004, {10, 10, 60, 12})}});
  CVetoPage first;
  CPlainPage second;
  CPropertySheet sheet("View Setting");
  sheet.AddPage(&first);
  sheet.AddPage(&second);
  std::vector<std::string> boxTexts;
  std::vector<int> tabsAfterClick;
  int step = 0;
  QTimer user;
  WhileModal(user, [&](QWidget* modal) {
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      boxTexts.push_back(box->text().toStdString());
      box->button(QMessageBox::Ok)->click();
      return;
    }
    auto* tabs = modal->findChild<QTabWidget*>();
    ASSERT_NE(tabs, nullptr);
    if (step == 0) {
      step = 1;
      EXPECT_EQ(tabs->tabText(0), "Items");
      tabs->setCurrentIndex(1);  // refused: the box is unchecked
      tabsAfterClick.push_back(tabs->currentIndex());
    } else if (step == 1) {
      step = 2;
      QTest::mouseClick(modal->findChild<QWidget*>("1005"), Qt::LeftButton, {}, QPoint(5, 5));
      QTest::mouseClick(modal->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
    }
  });
  EXPECT_EQ(sheet.DoModal(), IDOK);
  EXPECT_EQ(tabsAfterClick, std::vector<int>{0});
  EXPECT_EQ(boxTexts, std::vector<std::string>{"Select at least one item"});
  EXPECT_TRUE(first.okCalled);
  EXPECT_FALSE(second.okCalled);
}

}  // namespace

namespace {

constexpr UINT kSwatchDialog = 9004;

// A dialog that paints a swatch into its frame control, as the colour pages do.
class CSwatchDialog : public CDialog {
 public:
  CSwatchDialog() : CDialog(kSwatchDialog) {}

 protected:
  void OnPaint() override {
    CPaintDC dc(this);
    CRect frame;
    GetDlgItem(1059)->GetWindowRect(&frame);
    ScreenToClient(&frame);
    dc.FillSolidRect(&frame, RGB(0, 128, 255));
    // A line swatch: a pen of the chosen width across the frame's middle.
    CPen pen(PS_SOLID, 3, RGB(200, 0, 0));
    CPen* old = dc.SelectObject(&pen);
    dc.MoveTo(frame.left, frame.bottom + 10);
    dc.LineTo(frame.right, frame.bottom + 10);
    dc.SelectObject(old);
  }
};

TEST_F(QtDialogTest, DialogPaintDrawsSwatchesBehindTheFrameControls) {
  platform::ui::Resources::Instance().AddDialog(
      {kSwatchDialog, "Color", {120, 60}, WS_CAPTION, "MS Shell Dlg", 8, {Frame(1059, {10, 10, 40, 12})}});
  CSwatchDialog dialog;
  ASSERT_TRUE(dialog.Create(kSwatchDialog));
  dialog.ShowWindow(SW_SHOW);
  QWidget* widget = platform::qt::WidgetOf(dialog);
  ASSERT_NE(widget, nullptr);
  QImage image = widget->grab().toImage();
  CRect frame = DialogUnitsToPixels({10, 10, 40, 12}, platform::ui::Backend().DialogBaseUnits("MS Shell Dlg", 8));
  EXPECT_EQ(image.pixelColor(frame.CenterPoint().x, frame.CenterPoint().y), QColor(0, 128, 255));
  EXPECT_EQ(image.pixelColor(frame.CenterPoint().x, frame.bottom + 10), QColor(200, 0, 0));
  EXPECT_NE(image.pixelColor(frame.right + 5, frame.CenterPoint().y), QColor(0, 128, 255));
  dialog.DestroyWindow();
}

}  // namespace
