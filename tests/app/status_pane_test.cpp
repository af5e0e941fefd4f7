// The status bar's message pane in the running program: a command's summary
// stays there until the user chooses another command from a menu, the tool
// bar or a key; the pane then says "Ready" again unless that command writes
// its own summary.
#include <functional>
#include <string>

#include "document/QOVADoc.h"
#include "platform/Paths.h"
#include "platform/ui/UserInput.h"
#include "resources/CommandIds.h"
#include "resources/DisplaySamplesDialog.h"
#include "resources/ExtractDialogs.h"
#include "resources/SampleManagerDialog.h"
#include "tests/app/AppTestSupport.h"
#include "tests/arraygen/ArrayGenTestSupport.h"
#include "tools/arraygen/ArrayGen.h"

namespace qova::test {
namespace {

namespace res = qova::resources;
using platform::ui::DialogDriver;

constexpr const char* kType = "Mapping10K_Xba131";

class StatusPaneTest : public AppTest {
 protected:
  StatusPaneTest() { EXPECT_TRUE(Start()); }

  [[nodiscard]] std::string Pane() {
    auto* bar = dynamic_cast<CStatusBar*>(MainFrame().GetControlBar(AFX_IDW_STATUS_BAR));
    return bar ? bar->GetPaneText(0) : std::string("(no status bar)");
  }

  [[nodiscard]] CQOVADoc& Document() {
    CMDIChildWnd* child = MainFrame().MDIGetActive();
    auto* doc = child ? dynamic_cast<CQOVADoc*>(child->GetActiveDocument()) : nullptr;
    if (!doc) throw std::logic_error("no main document is active");
    return *doc;
  }

  // Two samples' array files in the document's data folder, with the library.
  void WriteArrayFiles() {
    const arraygen::ArrayDesign design(kType, 3, LeanLayout());
    CQOVADoc& doc = Document();
    ASSERT_TRUE(platform::CreateFolders(doc.DataFolder));
    ASSERT_TRUE(platform::CreateFolders(doc.LibraryFolder));
    ASSERT_TRUE(platform::CreateFolders(doc.ArrayDataFolder));
    design.WriteCdf(platform::JoinPath(doc.LibraryFolder, arraygen::LibraryFileName(kType)), arraygen::CdfForm::kXda);
    for (const char* name : {"A", "B"}) arraygen::WriteSampleFiles(design, doc.DataFolder, MakeSample(kType, name));
  }

  // Data > Extract Data with both found files as non-paired tests.
  bool ExtractBoth() {
    Ui().OnDialog(res::kDataExtractDialog, [](DialogDriver& d) {
      d.SelectItems(res::kExtractFoundFiles, {0, 1}).Click(res::kExtractAddNonPairedTest).Ok();
    });
    return Choose(res::kCmdExtractData);
  }
};

TEST_F(StatusPaneTest, ASummaryStaysUntilAnotherCommandIsChosenThenThePaneIsReadyAgain) {
  WriteArrayFiles();
  const std::string into = "Extracted 2 of 2 samples into " + platform::NativePath(Document().ArrayDataFolder);
  const struct Step {
    const char* what;
    std::function<bool()> act;
    bool chosen;
    std::string pane;
  } steps[] = {
      {"the program starts", [] { return true; }, true, "Ready"},
      {"Data > Extract Data", [&] { return ExtractBoth(); }, true, into},
      // A command that is disabled is not chosen, by its key either: the summary stays.
      {"F6 (Next Chromosome) with no sample shown",
       [&] {
         platform::ui::input::Key(MainFrame(), VK_F6);
         return MainFrame().IsCommandEnabled(res::kCmdNextChromosome) != FALSE;
       },
       false, into},
      {"Data > Sample Manager, closed",
       [&] {
         Ui().OnDialog(res::kSampleManagerDialog, [](DialogDriver& d) { d.Cancel(); });
         return Choose(res::kCmdSampleManager);
       },
       true, "Ready"},
      {"Data > Extract Data again", [&] { return ExtractBoth(); }, true, into + ", 2 replaced (attributes kept)"},
      {"Ctrl+O: Display Samples, closed",
       [&] {
         bool shown = false;
         Ui().OnDialog(res::kDisplaySamplesDialog, [&](DialogDriver& d) {
           shown = true;
           d.Cancel();
         });
         platform::ui::input::Key(MainFrame(), 'O', FCONTROL);
         return shown;
       },
       true, "Ready"},
      {"Data > Extract Data, cancelled", [&] {
         Ui().OnDialog(res::kDataExtractDialog, [](DialogDriver& d) { d.Cancel(); });
         return Choose(res::kCmdExtractData);
       },
       true, "Ready"},
      {"Data > Extract Data a third time", [&] { return ExtractBoth(); }, true, into + ", 2 replaced (attributes kept)"},
      {"View > Toolbar", [&] { return Choose(ID_VIEW_TOOLBAR); }, true, "Ready"},
  };
  for (const Step& step : steps) {
    EXPECT_EQ(step.act(), step.chosen) << step.what;
    EXPECT_EQ(Pane(), step.pane) << step.what;
  }
  EXPECT_TRUE(messages_.Empty()) << ::testing::PrintToString(messages_.Texts());
  EXPECT_TRUE(Ui().Failures().empty());
}

}  // namespace
}  // namespace qova::test
