// The program's group, marker and parameter dialogs as real Qt windows, each
// opened with what a user would see in it (the groups and samples of a
// generated study, a sample's marker lines, the default means) and saved as
// build/artefacts/dialogs/<template id>.png for people to look at; and "Mark
// set" driven through Qt events.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <filesystem>
#include <tuple>

#include "analysis/Average.h"
#include "analysis/AverageArray.h"
#include "analysis/BaseSet.h"
#include "analysis/Contamination.h"
#include "analysis/HMMAGLPara.h"
#include "analysis/HMMParameter.h"
#include "core/GroupManage.h"
#include "core/GroupSet.h"
#include "core/GroupsFile.h"
#include "core/MarkSet.h"
#include "core/MarkerEdit.h"
#include "core/SampleHeader.h"
#include "document/exports/OutputRawData.h"
#include "document/exports/OutputSampleList.h"
#include "platform/File.h"
#include "document/exports/DialogStatRegion.h"
#include "platform/Paths.h"
#include "platform/ui/Headless.h"
#include "resources/ExportDialogs.h"
#include "resources/GroupDialogs.h"
#include "resources/ExportDialogs.h"
#include "resources/MarkerDialogs.h"
#include "resources/OutputDialogs.h"
#include "resources/ParameterDialogs.h"
#include "tests/platform_qt/DialogLayout.h"
#include "tests/platform_qt/qt_fixture.h"
#include "tests/support/TempHome.h"
#include "tools/datagen/DataGen.h"
#include "tools/samplegen/SampleGen.h"
#include "resources/AllResources.h"
#include "resources/AssociationDialogs.h"
#include "views/association/DialogAssociation.h"
#include "views/association/DialogSelectArraytype.h"
#include "views/association/DialogSelectCHPs.h"
#include "views/graph/GraphSetting.h"
#include "views/ZoomSetting.h"
#include "views/main/OutputIGBFiles.h"

namespace {

using platform::ui::DialogDriver;
using namespace qova::resources;

constexpr const char* kType = "Mapping10K_Xba131";
const ChromosomeStartRow kStarts{qova::core::kArrayChromosomeStarts[0]};

const CBasicData& Annotation() {
  static const CBasicData table = datagen::MakeAnnotation(ArrayClassIndex(kType));
  return table;
}

class QtQovaDialogTest : public qova::test::QtUiTest {
 protected:
  QtQovaDialogTest() {
    EXPECT_TRUE(platform::CreateFolders(ArrayFolder()));
    EXPECT_TRUE(platform::CreateFolders(ResultFolder()));
  }

  [[nodiscard]] std::string ArrayFolder() const { return home_.Path("ArrayData/"); }
  [[nodiscard]] std::string ResultFolder() const { return home_.Path("Results/"); }

  samplegen::Study WriteStudy() {
    samplegen::StudySpec spec;
    spec.ArrayType = kType;
    spec.Seed = 3;
    spec.NonSelfReferences = 4;
    return samplegen::WriteStudy(ArrayFolder(), Annotation(), spec);
  }

  // Runs `dialog` modally; once it is up, `prepare` fills it as a user would,
  // its layout is checked with those contents, the window is saved as
  // dialogs/<template id>.png and Escape closes it.
  static void Photograph(CDialog& dialog, const std::function<void(DialogDriver&)>& prepare = {}) {
    const std::filesystem::path folder = std::filesystem::path(qova::test::BinaryDir()) / "artefacts" / "dialogs";
    std::filesystem::create_directories(folder);
    const std::string path = (folder / (std::to_string(dialog.TemplateId()) + ".png")).string();
    std::vector<std::string> faults;
    QTimer user;
    WhileModal(user, [&](QWidget* modal) {
      if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        ADD_FAILURE() << "unexpected message: " << box->text().toStdString();
        box->button(QMessageBox::Ok)->click();
        return;
      }
      DialogDriver d(dialog);
      if (prepare) prepare(d);
      QApplication::processEvents();
      faults = qova::test::DialogLayoutFaults(dialog, path);
      QTest::keyClick(modal, Qt::Key_Escape);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(faults, std::vector<std::string>{});
    EXPECT_TRUE(std::filesystem::exists(path)) << path;
  }

  qova::test::TempHome home_;
};

TEST_F(QtQovaDialogTest, GroupDialogsShowTheGroupsOfAStudy) {
  const samplegen::Study study = WriteStudy();
  CGrouP groups;
  groups.Groups = {{0, 2, {study.Test.Name, "Ref01"}, "Tumours"},
                   {1, 1, {"Test01N"}, "Paired normals"},
                   {0, 3, {"Ref01", "Ref02", "Ref03"}, "Reference panel"}};
  ASSERT_TRUE(qova::core::StoreGroupsFile(ResultFolder(), groups));

  CGroupManage manage(ResultFolder());
  manage.MemberNames = {"Test01", "Ref02", "Ref04"};
  Photograph(manage, [](DialogDriver& d) {
    d.Type(kGroupManageNewName, "Second tumour set");
    d.Select(kGroupManageExisting, "Reference panel");
  });

  CGroupSet set;
  for (const SampleGroup& g : groups.Groups) set.ExistingNames.push_back(g.Name);
  Photograph(set, [](DialogDriver& d) { d.Type(kGroupSetNewName, "Tumours 2"); });
}

TEST_F(QtQovaDialogTest, MarkerDialogsShowARegionAndTheLinesOfAList) {
  const MarkerRegionList regions = {{1, 100, 200, 3},     {2, 900, 950, 39},    {1, 300, 350, 33},
                                    {12, 7902, 8100, 38}, {23, 11037, 11300, 32}, {7, 4994, 5200, 0}};
  CMarkSet markSet(&Annotation(), kStarts, 400, 500, 35);
  Photograph(markSet);
  CMarkerEdit edit(&Annotation(), kStarts, FALSE, nullptr, regions);
  Photograph(edit, [](DialogDriver& d) { d.Select(kMarkerEditList, 1); });
}

TEST_F(QtQovaDialogTest, ParameterDialogsShowTheDefaults) {
  CHMMParameter total;
  for (std::size_t i = 0; i < 7; ++i) total.Means[i] = kDefaultHmmMeans[6 - i];
  Photograph(total);
  CHMMParametersSM allele;
  for (std::size_t i = 0; i < 5; ++i) allele.Means[i] = kDefaultAlleleHmmMeans[4 - i];
  Photograph(allele);
  GainLossParameters parameters;
  CHMMAGLPara gainLoss(&parameters);
  Photograph(gainLoss);
  CAverage average;
  average.AveragingNumber = 5;
  Photograph(average);
  CBaseSet baseline;
  baseline.Flags = CBaseSet::kAlleleDataFlag;
  Photograph(baseline);
  CContamination contamination;
  Photograph(contamination, [](DialogDriver& d) { d.Click(kContaminationThreeLoci); });
  CContaminationSelfMode selfContamination;
  Photograph(selfContamination);
}

TEST_F(QtQovaDialogTest, AverageModeOpenedAgainShowsTheChoiceTakenBefore) {
  // The first time the user types 30 and clicks "Include All Data", "Points", OK.
  CAverage first;
  first.AveragingNumber = 10;
  first.AveragingMode = 1;
  first.DrawMode = 2;
  QTimer user;
  WhileModal(user, [&](QWidget* modal) {
    auto* number = modal->findChild<QLineEdit*>(QString::number(kAverageNumber));
    ASSERT_NE(number, nullptr);
    number->selectAll();
    QTest::keyClicks(number, "30");
    QTest::mouseClick(modal->findChild<QRadioButton*>(QString::number(kAverageIncludeAll)), Qt::LeftButton);
    QTest::mouseClick(modal->findChild<QRadioButton*>(QString::number(kAveragePoints)), Qt::LeftButton);
    QTest::mouseClick(modal->findChild<QPushButton*>(QString::number(IDOK)), Qt::LeftButton);
  });
  ASSERT_EQ(first.DoModal(), IDOK);
  user.stop();
  ASSERT_EQ(std::tuple(first.AveragingNumber, first.AveragingMode, first.DrawMode), std::tuple(30, 2, 1));

  // The view opens the next one with what it took.
  CAverage again;
  again.AveragingNumber = first.AveragingNumber;
  again.AveragingMode = first.AveragingMode;
  again.DrawMode = first.DrawMode;
  std::vector<std::string> checked;
  std::string shown;
  const std::filesystem::path folder = std::filesystem::path(qova::test::BinaryDir()) / "artefacts" / "dialogs";
  std::filesystem::create_directories(folder);
  const std::string path = (folder / "136_opened_again.png").string();
  QTimer user2;
  WhileModal(user2, [&](QWidget* modal) {
    QApplication::processEvents();
    shown = modal->findChild<QLineEdit*>(QString::number(kAverageNumber))->text().toStdString();
    for (QRadioButton* radio : modal->findChildren<QRadioButton*>())
      if (radio->isChecked()) checked.push_back(radio->text().toStdString());
    modal->grab().save(QString::fromStdString(path));
    QTest::mouseClick(modal->findChild<QPushButton*>(QString::number(IDOK)), Qt::LeftButton);
  });
  EXPECT_EQ(again.DoModal(), IDOK);
  EXPECT_EQ(shown, "30");
  EXPECT_EQ(checked, (std::vector<std::string>{"&Include All Data", "&Points"}));
  EXPECT_EQ(std::tuple(again.AveragingNumber, again.AveragingMode, again.DrawMode), std::tuple(30, 2, 1));
  EXPECT_TRUE(std::filesystem::exists(path));
}

TEST_F(QtQovaDialogTest, WhatIsTypedIntoAFreshDialogReachesItsFirstField) {
  qova::resources::RegisterAllResources();
  CZoomSetting zoom;
  CGroupSet group;
  group.ExistingNames = {"Tumours"};
  const struct {
    CDialog* dialog;
    const char* typed;
  } cases[] = {{&zoom, "250"}, {&group, "Tumours 2"}};
  for (const auto& c : cases) {
    std::vector<std::string> boxTexts;
    QTimer user;
    WhileModal(user, [&](QWidget* modal) {
      if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        boxTexts.push_back(box->text().toStdString());
        box->button(QMessageBox::Ok)->click();
        return;
      }
      if (!boxTexts.empty()) {  // refused: the user gives up
        QTest::keyClick(modal, Qt::Key_Escape);
        return;
      }
      QWidget* focus = modal->focusWidget();
      ASSERT_NE(focus, nullptr) << c.dialog->TemplateId();
      QTest::keyClicks(focus, c.typed);
      QTest::keyClick(focus, Qt::Key_Return);
    });
    EXPECT_EQ(c.dialog->DoModal(), IDOK) << c.dialog->TemplateId();
    EXPECT_EQ(boxTexts, std::vector<std::string>{}) << c.dialog->TemplateId();
  }
  EXPECT_EQ(zoom.ZoomX, 250);
  EXPECT_EQ(zoom.ZoomY, 100);
  EXPECT_EQ(group.NewName, "Tumours 2");
}

TEST_F(QtQovaDialogTest, AverageArraysListsTheSamplesOfAStudy) {
  WriteStudy();
  CAverageArray dialog(ArrayFolder());
  Photograph(dialog, [](DialogDriver& d) {
    d.Select(kAverageArrayType, kType).SelectItems(kAverageArraySamples, {1, 2, 4});
    d.Select(kAverageArrayHeaderFrom, "Ref02").Type(kAverageArrayNewName, "Reference average");
  });
}

// The export dialogs with their defaults: the raw data of non-self results
// without allele values, whose allele columns cannot be chosen.
TEST_F(QtQovaDialogTest, ExportDialogsShowTheirDefaultColumns) {
  COutputSampleList list;
  Photograph(list, [](DialogDriver& d) { d.SetCheck(kListArrayData, true); });
  COutputRawData raw(FALSE);
  Photograph(raw, [](DialogDriver& d) {
    EXPECT_FALSE(d.IsEnabled(kRawLogRatioA));
    EXPECT_TRUE(d.IsChecked(kRawLohLikelihood));
    d.SetCheck(kRawCombined, true);
  });
}

TEST_F(QtQovaDialogTest, MarkSetRefusesANumberOffItsChromosomeThenTakesAnHmmNumber) {
  CMarkSet dialog(&Annotation(), kStarts, 900, 950, 33);
  std::vector<std::string> boxTexts;
  int step = 0;
  bool hmmComboEnabled = false;
  QTimer user;
  WhileModal(user, [&](QWidget* modal) {
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      boxTexts.push_back(box->text().toStdString());
      QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
      return;
    }
    auto* start = modal->findChild<QLineEdit*>(QString::number(kMarkSetStartSnp));
    auto* hmm = modal->findChild<QRadioButton*>(QString::number(kMarkSetHmmRadio));
    auto* numbers = modal->findChild<QComboBox*>(QString::number(kMarkSetHmmNumbers));
    auto* ok = modal->findChild<QPushButton*>(QString::number(IDOK));
    ASSERT_TRUE(start && hmm && numbers && ok);
    if (step == 0) {
      step = 1;
      start->selectAll();
      QTest::keyClicks(start, "5000");
      QTest::mouseClick(ok, Qt::LeftButton);  // refused: the message box comes and goes
    } else if (step == 1) {
      step = 2;
      start->selectAll();
      QTest::keyClicks(start, "940");
      QTest::mouseClick(hmm, Qt::LeftButton);
      hmmComboEnabled = numbers->isEnabled();
      numbers->setFocus();
      for (int i = 0; i < 4; ++i) QTest::keyClick(numbers, Qt::Key_Down);
      QTest::mouseClick(ok, Qt::LeftButton);
    }
  });
  ASSERT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(boxTexts, std::vector<std::string>{"SNP number must be between 877 and 1828"});
  EXPECT_TRUE(hmmComboEnabled);
  EXPECT_EQ((MarkerRegion{dialog.Chromosome, dialog.StartSnp, dialog.EndSnp, dialog.Kind}),
            (MarkerRegion{2, 940, 950, 4}));
}

TEST_F(QtQovaDialogTest, OutputIgbFilesShowsTheSampleNamesAndDisablesAnUncheckedRow) {
  COutputIGBFiles igb("Tumour02", FALSE, home_.Path("Output/"));
  Photograph(igb, [](DialogDriver& d) { d.Click(kIgbHmmCheck).SetCheck(kIgbSkipExcluded, true); });
}

TEST_F(QtQovaDialogTest, GraphSettingShowsItsColoursAndNumbers) {
  CGraphSetting setting;
  setting.m_Colour[8] = RGB(200, 30, 30);
  Photograph(setting, [](DialogDriver& d) { EXPECT_EQ(d.Text(kGraphVerticalDivisor), "10000"); });
}

TEST_F(QtQovaDialogTest, AssociationDialogsShowTheirChoices) {
  CDialogAssociation method;
  Photograph(method, [](DialogDriver& d) { d.Type(kAssociationNegative, "8").Type(kAssociationPositive, "12"); });
  CDialogSelectArraytype type;
  Photograph(type, [](DialogDriver& d) { d.Select(kSelectArrayTypeList, 7).SetCheck(kSelectArrayTypeSkipCheck, true); });

  const std::string folder = home_.Path("Chp/");
  ASSERT_TRUE(platform::CreateFolders(folder));
  for (const char* name : {"Tumour01.CHP", "Tumour02.CHP", "Tumour03.CHP", "Normal01.CHP", "Normal02.CHP", "Normal03.CHP"})
    ASSERT_TRUE(platform::WriteWholeFile(folder + name, "x"));
  CDialogSelectCHPs samples;
  samples.m_strArrayType = "Mapping250K_Nsp";
  samples.m_bSkipTypeCheck = 1;
  samples.m_strDataFolder = folder;
  Photograph(samples, [](DialogDriver& d) {
    d.SelectItems(kSelectChpsFound, {3, 4}).Click(kSelectChpsAddCase);
    d.SelectItems(kSelectChpsFound, {0}).Click(kSelectChpsAddControl).SetCheck(kSelectChpsUseFrom, true);
  });
}

TEST_F(QtQovaDialogTest, StatisticsOfRegionShowsTheLengthOfXAndItsPinnedEnd) {
  CDialogStatRegion region;
  Photograph(region, [](DialogDriver& d) {
    d.Select(kStatRegionChromosome, "X").Type(kStatRegionFrom, "2500000").Click(kStatRegionLast);
    EXPECT_EQ(d.Text(kStatRegionLength), "0 - 154820000");
  });
}

}  // namespace
