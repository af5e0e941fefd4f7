// The settings pages in a real Qt sheet: a picture of each of the fifteen
// over realistic settings (build/artefacts/dialogs/<template id>.png), the
// two sheets opening at their largest page with every tab in view, and the
// Print page driven by keys and clicks in "View Setting", which has no Apply.
#ifdef QOVA_TEST_WITH_QT
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Paths.h"
#include "tests/core/SettingSheetSupport.h"
#include "tests/platform_qt/qt_fixture.h"
#include "tools/datagen/DataGen.h"
#include "tools/samplegen/SampleGen.h"

namespace core = qova::core;

namespace qova::test {
namespace {

namespace ids = qova::resources::settings;

class SettingPagesQt : public QtUiTest {
 protected:
  SettingPagesQt() {
    platform::AppProfile().SetStore(std::make_unique<platform::MemorySettingsStore>());
    setting_.DefaultDataFolder = home_.Path("Cel/");
    setting_.DefaultLibraryFolder = home_.Path("Library/");
    setting_.DefaultArrayDataFolder = home_.Path("ArrayData/");
    setting_.DefaultAnalysisResultFolder = home_.Path("Results/");
    setting_.DefaultOutputFolder = home_.Path("Output/");
  }

  // Extracted samples whose second attribute the Automatic page lists.
  void WriteSamples() {
    EXPECT_TRUE(platform::CreateFolders(setting_.DefaultArrayDataFolder));
    const CBasicData annotation = datagen::MakeAnnotation(0);
    samplegen::SampleGenerator generator("Mapping10K_Xba131", annotation, 5);
    const char* tissues[] = {"tumour", "normal", "cell line", "tumour"};
    for (int k = 0; k < 4; ++k) {
      samplegen::SampleSpec spec;
      spec.Name = "Sample" + std::to_string(k + 1);
      CArrayData sample = generator.Make(spec);
      sample.Header.Attribute2 = tissues[k];
      sample.StoreFile(setting_.DefaultArrayDataFolder + spec.Name + ".CFH");
    }
  }

  static QString DialogPicture(unsigned templateId) {
    const QString folder = QString::fromStdString(BinaryDir()) + "artefacts/dialogs";
    QDir().mkpath(folder);
    return folder + QString("/%1.png").arg(templateId);
  }
  static QWidget* PageWidget(QWidget* sheet, unsigned templateId) {
    return sheet->findChild<QWidget*>(QString("page%1").arg(templateId));
  }

  TempHome home_;
  CProgramSetting setting_;
};

TEST_F(SettingPagesQt, EachPageShowsWholeInARealSheet) {
  WriteSamples();
  setting_.LIMITREF = 1;
  setting_.LIMITREFATTR = 2;
  setting_.LIMITREFIDENT = 0;
  setting_.LIMITREFSTR = "tumour";
  setting_.Display.PRINT.ONE_EACH = 1;
  setting_.LOHOP = 1;
  AllPages pages(setting_);
  CPropertySheet sheet("All pages");
  sheet.m_psh.dwFlags |= PSH_NOAPPLYNOW;  // as the program's sheets
  pages.AddTo(sheet);

  std::vector<unsigned> saved;
  QColor lohSwatch, markerLine;
  QStringList values, zenkorLists;
  QTimer user;
  WhileModal(user, [&](QWidget* modal) {
    auto* tabs = modal->findChild<QTabWidget*>();
    ASSERT_NE(tabs, nullptr);
    for (int i = 0; i < tabs->count(); ++i) {
      tabs->setCurrentIndex(i);
      QApplication::processEvents();
      const unsigned id = sheet.GetPage(i)->TemplateId();
      if (modal->grab().save(DialogPicture(id))) saved.push_back(id);
      QWidget* page = PageWidget(modal, id);
      ASSERT_NE(page, nullptr) << id;
      const QImage image = page->grab().toImage();
      auto centre = [&](unsigned frame) {
        const QWidget* w = page->findChild<QWidget*>(QString::number(frame));
        return image.pixelColor(w->geometry().center());
      };
      if (id == ids::kColorMPage) lohSwatch = centre(ids::colorm::kLohSwatches[1]);
      if (id == ids::kMarkerPage) markerLine = centre(ids::marker::kSwatches[4]);
      if (id == ids::kAutoPage) {
        auto* combo = page->findChild<QComboBox*>(QString::number(ids::automatic::kValue));
        for (int k = 0; combo && k < combo->count(); ++k) values << combo->itemText(k);
      }
      if (id == ids::kZenkorPage) {
        for (unsigned list : {ids::zenkor::kLohOption, ids::zenkor::kXOption}) {
          auto* combo = page->findChild<QComboBox*>(QString::number(list));
          ASSERT_NE(combo, nullptr) << list;
          combo->showPopup();
          QApplication::processEvents();
          zenkorLists << QString("%1 of %2%3").arg(combo->currentText()).arg(combo->count())
                             .arg(combo->view()->isVisible() ? ", opens" : "");
          combo->hidePopup();
        }
      }
    }
    QTest::mouseClick(modal->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel), Qt::LeftButton);
  });
  EXPECT_EQ(sheet.DoModal(), IDCANCEL);
  EXPECT_EQ(saved.size(), 15u);
  EXPECT_EQ(values, (QStringList{"cell line", "normal", "tumour"}));
  EXPECT_EQ(zenkorLists, (QStringList{"On of 2, opens", "Off(default) of 2, opens"}));
  // LOH1 16755884 is 172, 172, 255; marker 4 is 255, 128, 128 (the offscreen
  // platform may round a channel by a few steps).
  auto near = [](const QColor& a, const QColor& b) {
    return std::abs(a.red() - b.red()) <= 4 && std::abs(a.green() - b.green()) <= 4 &&
           std::abs(a.blue() - b.blue()) <= 4;
  };
  EXPECT_TRUE(near(lohSwatch, QColor(172, 172, 255))) << lohSwatch.name().toStdString();
  EXPECT_TRUE(near(markerLine, QColor(255, 128, 128))) << markerLine.name().toStdString();
}

TEST_F(SettingPagesQt, BothSheetsOpenAtTheirLargestPageWithEveryTabInViewAndKeepTheirSize) {
  WriteSamples();
  CDisplaySetting block = setting_.Display;
  const struct {
    const char* title;
    std::function<int()> run;
  } sheets[] = {{"View Setting", [&] { return core::RunViewSettingSheet(block); }},
                {"Program Setting", [&] { return core::RunProgramSettingSheet(setting_); }}};
  for (const auto& sheet : sheets) {
    QSize opened, largest(0, 0);
    std::vector<std::string> faults;
    QTimer user;
    WhileModal(user, [&](QWidget* modal) {
      auto* tabs = modal->findChild<QTabWidget*>();
      ASSERT_NE(tabs, nullptr);
      opened = modal->size();
      modal->grab().save(QString::fromStdString(BinaryDir()) + "artefacts/dialogs/sheet_" +
                         QString(sheet.title).replace(' ', '_') + ".png");
      QTabBar* bar = tabs->tabBar();
      for (int i = 0; i < bar->count(); ++i)
        if (!bar->rect().contains(bar->tabRect(i)) || !modal->rect().contains(bar->geometry()))
          faults.push_back("tab \"" + bar->tabText(i).toStdString() + "\" is cut off");
      for (const QToolButton* arrow : bar->findChildren<QToolButton*>())
        if (arrow->isVisible()) faults.push_back("the tab bar scrolls");
      for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        QApplication::processEvents();
        const QWidget* host = tabs->widget(i);
        const QList<QWidget*> pages = host->findChildren<QWidget*>(QRegularExpression("^page"));
        if (pages.isEmpty()) continue;
        const QWidget* page = pages.front();
        largest = largest.expandedTo(page->size());
        if (page->width() > host->width() || page->height() > host->height())
          faults.push_back("page " + page->objectName().toStdString() + " is cut off");
        if (modal->size() != opened)
          faults.push_back("the sheet grows to show " + page->objectName().toStdString());
      }
      QTest::mouseClick(modal->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel), Qt::LeftButton);
    });
    EXPECT_EQ(sheet.run(), IDCANCEL) << sheet.title;
    EXPECT_EQ(faults, std::vector<std::string>{}) << sheet.title;
    EXPECT_GE(opened.width(), largest.width()) << sheet.title;
    EXPECT_GE(opened.height(), largest.height()) << sheet.title;
  }
}

TEST_F(SettingPagesQt, PrintSizesRefuseZeroAndSpinToTheirLimitInASheetWithoutApply) {
  CDisplaySetting block;
  std::vector<std::string> boxTexts;
  int step = 0;
  int tabAfterRefusal = -1;
  QString spunText;
  bool hasApply = true;
  QTimer user;
  WhileModal(user, [&](QWidget* modal) {
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      boxTexts.push_back(box->text().toStdString());
      box->button(QMessageBox::Ok)->click();
      return;
    }
    auto* tabs = modal->findChild<QTabWidget*>();
    QWidget* page = PageWidget(modal, ids::kPrintPage);
    ASSERT_TRUE(tabs && page);
    auto* allX = page->findChild<QLineEdit*>(QString::number(ids::sizes::kAllX));
    ASSERT_NE(allX, nullptr);
    if (step == 0) {
      step = 1;
      hasApply = modal->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Apply) != nullptr;
      allX->selectAll();
      QTest::keyClicks(allX, "0");
      QTabBar* bar = tabs->tabBar();
      QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(2).center());  // refused: the box comes and goes
      tabAfterRefusal = tabs->currentIndex();
    } else if (step == 1) {
      step = 2;
      allX->selectAll();
      QTest::keyClicks(allX, "9999");
      QWidget* spin = page->findChild<QWidget*>(QString::number(ids::sizes::kAllXSpin));
      auto* up = spin->findChild<QToolButton*>("up");
      for (int k = 0; k < 3; ++k) QTest::mouseClick(up, Qt::LeftButton);
      spunText = allX->text();
      QTest::mouseClick(modal->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
    }
  });
  EXPECT_EQ(core::RunViewSettingSheet(block), IDOK);
  EXPECT_FALSE(hasApply);
  EXPECT_EQ(boxTexts, std::vector<std::string>{"Please enter an integer between 1 and 10000."});
  EXPECT_EQ(tabAfterRefusal, 0) << "the Print page stays";
  EXPECT_EQ(spunText, "10000");
  EXPECT_EQ(block.PRINT.ALL_X, 10000);
}

}  // namespace
}  // namespace qova::test
#endif
