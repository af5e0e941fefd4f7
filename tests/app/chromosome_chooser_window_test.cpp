// View > EachChromosome in the program on the offscreen Qt platform, in the
// main view of a sample and in the view of a study: the radio shown checked
// is the chromosome OK takes. The first opening of a run shows Ch1 checked
// and OK goes to chromosome 1; a later one shows none, and OK then changes
// nothing. The first opening is photographed
// (build/artefacts/dialogs/138_first_opening.png).
#ifdef QOVA_TEST_WITH_QT
#include <QPushButton>
#include <QRadioButton>

#include <filesystem>
#include <string>

#include "document/QOVADoc.h"
#include "resources/CommandIds.h"
#include "resources/ViewDialogs.h"
#include "tests/app/DemoAppOnQt.h"
#include "views/ChSelectDlg.h"
#include "views/association/QOVAAssView.h"
#include "views/main/QOVAView.h"

namespace qova::test {
namespace {

namespace res = qova::resources;

// The view's mode and chromosome.
struct Shown {
  bool oneChromosome;
  int chromosome;
  bool operator==(const Shown&) const = default;
};

template <class View>
Shown ShownBy(const View& view) {
  return {(view.m_nViewFlags & VIEW_ONE_CHROMOSOME) != 0, view.m_nChromosome};
}

Shown ShownIn(CMDIChildWnd& window) {
  CView* view = window.GetActiveView();
  if (const auto* main = dynamic_cast<const CQOVAView*>(view)) return ShownBy(*main);
  if (const auto* study = dynamic_cast<const CQOVAAssView*>(view)) return ShownBy(*study);
  ADD_FAILURE() << "not a chromosome view";
  return {};
}

class ChromosomeChooserWindowTest : public DemoAppOnQtTest {};

TEST_F(ChromosomeChooserWindowTest, TheRadioShownCheckedIsTheChromosomeOkTakes) {
  const std::string study = Path("study.AAD");
  WriteAssociationFile(study);
  ASSERT_NE(Start(), nullptr);
  auto* doc = dynamic_cast<CQOVADoc*>(Main().GetActiveDocument());
  ASSERT_NE(doc, nullptr);
  ASSERT_EQ(doc->OpenSingleResult(nullptr, "Tumour01.CFS"), CQOVADoc::kSucceeded);
  CMDIChildWnd* sample = Main().MDIGetActive();
  ASSERT_NE(app_->OpenDocumentFile(study.c_str()), nullptr);
  CMDIChildWnd* studyWindow = Main().MDIGetActive();

  const struct {
    const char* what;
    const char* click;           // the radio clicked before OK, if any
    std::vector<std::string> checked;  // the radios shown checked when the chooser opens
    Shown after;
  } openings[] = {
      {"the first opening of the run, OK as it opens", nullptr, {"Ch1"}, {true, 1}},
      {"a later opening, OK as it opens", nullptr, {}, {false, 1}},
      {"a later opening, ChX clicked", "ChX", {}, {true, 23}},
      {"a later opening, Ch1 clicked", "Ch1", {}, {true, 1}},
  };
  const std::filesystem::path picture = std::filesystem::path(BinaryDir()) / "artefacts" / "dialogs" / "138_first_opening.png";
  std::filesystem::create_directories(picture.parent_path());
  for (CMDIChildWnd* window : {sample, studyWindow}) {
    SCOPED_TRACE(window->GetWindowText());
    ASSERT_TRUE(Activate(window));
    CChSelectDlg::ForgetOpenings();  // as when the program starts
    for (const auto& opening : openings) {
      SCOPED_TRACE(opening.what);
      if (ShownIn(*window).oneChromosome) {
        ASSERT_TRUE(Choose(res::kCmdAllGenome));
      }
      std::vector<std::string> checked;
      bool answered = false;
      ModalHand hand([&](QWidget* modal) {
        for (QRadioButton* radio : modal->findChildren<QRadioButton*>())
          if (radio->isChecked()) checked.push_back(radio->text().toStdString());
        if (window == sample && !opening.checked.empty()) modal->grab().save(QString::fromStdString(picture.string()));
        if (opening.click)
          for (QRadioButton* radio : modal->findChildren<QRadioButton*>())
            if (radio->text() == opening.click) QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(6, radio->height() / 2));
        answered = true;
        QTest::mouseClick(modal->findChild<QPushButton*>(QString::number(IDOK)), Qt::LeftButton);
      });
      ASSERT_TRUE(Choose(res::kCmdEachChromosome));
      EXPECT_TRUE(answered);
      EXPECT_EQ(checked, opening.checked);
      EXPECT_EQ(ShownIn(*window), opening.after);
    }
  }
  EXPECT_TRUE(std::filesystem::exists(picture));
  EXPECT_EQ(demo_.Shown(), std::vector<std::string>{});
}

}  // namespace
}  // namespace qova::test
#endif
