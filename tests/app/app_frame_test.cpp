// The main window's resources: the four menus, the tool bar, the status bar
// and the accelerators, the routing of their commands, Default Setting and
// the About box.
#include <set>

#include "analysis/IntegrationData.h"
#include "core/ArrayData.h"
#include "core/ArrayTypes.h"
#include "core/GlobalData.h"
#include "core/ProgramSetting.h"
#include "document/ApplicationData.h"
#include "document/DocumentCommands.h"
#include "document/QOVADoc.h"
#include "platform/Paths.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Headless.h"
#include "platform/ui/PropertySheet.h"
#include "platform/ui/UserInput.h"
#include "resources/CommandIds.h"
#include "resources/DisplaySamplesDialog.h"
#include "resources/FrameResources.h"
#include "resources/SampleManagerDialog.h"
#include "resources/SettingPages.h"
#include "tests/app/AppTestSupport.h"

namespace qova::test {
namespace {

namespace res = qova::resources;
using platform::ui::DialogDriver;
using platform::ui::MenuEntry;

std::vector<std::string> Titles(const std::vector<MenuEntry>& entries) {
  std::vector<std::string> titles;
  for (const MenuEntry& e : entries) titles.push_back(e.IsSeparator() ? "-" : e.text);
  return titles;
}

const std::vector<MenuEntry>& Popup(const std::vector<MenuEntry>& bar, std::string_view title) {
  for (const MenuEntry& e : bar)
    if (e.text == title) return e.popup;
  throw std::logic_error("no menu " + std::string(title));
}

std::vector<MenuEntry> MenuOf(UINT id) {
  CMenu menu;
  EXPECT_TRUE(menu.LoadMenu(id));
  return menu.Entries();
}

class AppFrameTest : public AppTest {
 protected:
  AppFrameTest() { EXPECT_TRUE(Start()); }
};

TEST_F(AppFrameTest, MenuBarFollowsTheActiveDocumentType) {
  const std::vector<std::string> mainDocument = {"&File", "&Data", "&Automation", "&Tools", "&Parameter",
                                                 "&View", "&Window", "&Help"};
  EXPECT_EQ(Titles(MainFrame().CurrentMenu()->Entries()), mainDocument);
  platform::ui::DispatchCommand(App(), res::kCmdNewGraph);
  EXPECT_EQ(Titles(MainFrame().CurrentMenu()->Entries()),
            (std::vector<std::string>{"&File", "&Edit", "&Analysis", "&Setting", "&Window", "&Help"}));
  const std::string study = home_.Path("study.AAD");
  WriteAssociationFile(study);
  ASSERT_NE(App().OpenDocumentFile(study.c_str()), nullptr);
  EXPECT_EQ(Titles(MainFrame().CurrentMenu()->Entries()),
            (std::vector<std::string>{"&File", "Analysis", "&Parameter", "&View", "&Window", "&Help"}));
  App().CloseAllDocuments(FALSE);
  EXPECT_EQ(MainFrame().MDIGetActive(), nullptr);
  EXPECT_EQ(Titles(MainFrame().CurrentMenu()->Entries()), (std::vector<std::string>{"&File", "&Parameter", "&Help"}));
}

TEST_F(AppFrameTest, MenusHoldTheirItemsInOrder) {
  const struct {
    UINT menu;
    const char* popup;
    std::vector<std::string> items;
  } expected[] = {
      {res::kMainFrame, "&File", {"&New(QOVA)", "&Open...\tCtrl+O", "-", "E&xit"}},
      {res::kMainFrame, "&Parameter", {"Default &Setting"}},
      {res::kMainFrame, "&Help", {"&About QOVA...", "Check for &new version"}},
      {res::kQovaDocumentType,
       "&File",
       {"&New(QOVA)", "New(&Graph)", "New(Association)", "&Open...\tCtrl+O", "&Close", "-", "&Print...\tCtrl+P",
        "Print Pre&view", "P&rint Setup...", "-", "E&xit"}},
      {res::kQovaDocumentType,
       "&Data",
       {"&Extract Data", "&Sample Manager", "&DisplaySamples", "-", "Output &Raw Data", "Output &IGB Files",
        "Output Sample &List", "-", "Extract &without CHP"}},
      {res::kQovaDocumentType, "&Automation", {"Batch &Analysis", "Batch &Combine"}},
      {res::kQovaDocumentType,
       "&Tools",
       {"&Integration", "&Sample files", "&Regression pipeline", "-", "Change &reference for self analysis...", "Two-state segment &correction",
        "Save &marker list...", "L&oad marker list...", "Total &HMM again (Agilent244K)",
        "HMM state m&eans and total HMM again (Agilent244K)...", "&Gain/loss HMM (Agilent244K)...", "-",
        "&Dump CDF file...", "&Write annotation tables"}},
      {res::kQovaDocumentType,
       "&Parameter",
       {"Default &Setting", "-", "&Average mode", "&HMM parameter (total)", "HMM parameter (a&llele)", "-",
        "Set &Range for SD Calculation", "&ContaminationRate", "A&djustAmp", "-", "&Measure", "-",
        "Fragment Length &Plot", "Set&FragmentLengthRange", "-", "Mar&k", "&EditMarker", "-", "A&nalysis"}},
      {res::kQovaDocumentType,
       "&View",
       {"&View Setting", "-", "&Toolbar", "&Status Bar", "-", "&AllGenome ", "&EachChromosome", "-",
        "&PreviousChromosome", "&NextChromosome", "-", "SNPs &Interval", "&Base Interval", "-", "Lo&g Scale",
        "Linea&r Scale", "-", "Se&lect Samples", "-", "Sample in&fomation"}},
      {res::kQovaDocumentType, "&Window", {"&New Window", "&Cascade", "&Tile", "&Arrange Icons"}},
      {res::kGraphDocumentType,
       "&File",
       {"New(&Graph)", "&New(QOVA)", "New(Association)", "&Open...\tCtrl+O", "&Close", "-", "&Print...\tCtrl+P",
        "Print Pre&view", "P&rint Setup...", "-", "E&xit"}},
      {res::kGraphDocumentType, "&Edit", {"&Copy", "&Export Graph"}},
      {res::kGraphDocumentType, "&Analysis", {"ClusterAnalysis", "Cluster2", "Cluster3", "Cluster4"}},
      {res::kGraphDocumentType, "&Setting", {"&Setting", "S&ave setting", "&Load setting", "&Output sample order"}},
      {res::kAssociationDocumentType,
       "&File",
       {"&New(QOVA)", "New(&Graph)", "New(Association)", "&Open...\tCtrl+O", "&Save", "Save &As...", "&Close", "-",
        "&Print...\tCtrl+P", "Print Pre&view", "P&rint Setup...", "-", "E&xit"}},
      {res::kAssociationDocumentType, "Analysis", {"CalcChi2"}},
      {res::kAssociationDocumentType, "&Parameter", {"Default &Setting", "-", "&Measure"}},
      {res::kAssociationDocumentType,
       "&View",
       {"&View Setting", "-", "&Toolbar", "&Status Bar", "-", "&AllGenome ", "&EachChromosome", "-",
        "&PreviousChromosome", "&NextChromosome", "-", "SNPs &Interval", "&Base Interval", "-",
        "Sample in&fomation"}},
  };
  for (const auto& e : expected)
    EXPECT_EQ(Titles(Popup(MenuOf(e.menu), e.popup)), e.items) << e.menu << " " << e.popup;
  EXPECT_EQ(Titles(Popup(Popup(MenuOf(res::kQovaDocumentType), "&Parameter"), "A&nalysis")),
            (std::vector<std::string>{"&Manual Selection", "&Automatic Selection", "Select &Only Self Ref",
                                      "&Self Analysis", "&Re-analysis"}));
  const std::vector<MenuEntry> tools = Popup(MenuOf(res::kQovaDocumentType), "&Tools");
  EXPECT_EQ(Titles(Popup(tools, "&Integration")),
            (std::vector<std::string>{"&Open integration file...", "&Save integration file...", "&Edit integration"}));
  EXPECT_EQ(Titles(Popup(tools, "&Sample files")),
            (std::vector<std::string>{"&Average arrays", "Called &gender from CHP files",
                                      "&Update all sample files to the newest version", "&Copy listed data files",
                                      "Change attributes and se&x as listed file",
                                      "&Rewrite sample files in the current format", "Re&fresh the sample-file index",
                                      "&Transfer old temporary data files"}));
  EXPECT_EQ(Titles(Popup(tools, "&Regression pipeline")),
            (std::vector<std::string>{"&1 Intensity files (.IMF) of listed samples", "&2 Probe correlations",
                                      "&3 SNP information (SNPinfo.txt)", "&4 .IMF to .IM2",
                                      "&5 Normal average (NormalAve.txt)", "&6 .IM2 to .IM3",
                                      "&7 Copy-number regression", "&8 .IM3 to results (VIRIV*.CFA)"}));
}

TEST_F(AppFrameTest, MenuItemsCarryTheCommandsTheirHandlersExpect) {
  const std::vector<MenuEntry> menu = MenuOf(res::kQovaDocumentType);
  const std::pair<const char*, UINT> items[] = {
      {"Extract Data", qova::document::command::kDataExtract},
      {"Sample Manager", qova::document::command::kSampleManager},
      {"DisplaySamples", qova::document::command::kDisplaySamples},
      {"Output Raw Data", qova::document::command::kOutputRawData},
      {"Output Sample List", qova::document::command::kOutputSampleList},
      {"Extract without CHP", qova::document::command::kExtractWithoutChp},
      {"Batch Analysis", qova::document::command::kBatchAnalysis},
      {"Batch Combine", qova::document::command::kBatchCombine},
      {"Manual Selection", qova::document::command::kManualSelection},
      {"Automatic Selection", qova::document::command::kAutomaticSelection},
      {"Select Only Self Ref", qova::document::command::kSelectOnlySelfRef},
      {"Self Analysis", qova::document::command::kSelfAnalysis},
      {"Re-analysis", qova::document::command::kReanalysis},
      {"New(QOVA)", ID_FILE_NEW},
      {"Default Setting", res::kCmdDefaultSetting},
      {"About QOVA...", ID_APP_ABOUT},
      {"Check for new version", res::kCmdCheckNewVersion},
      {"Exit", ID_APP_EXIT},
      {"Arrange Icons", ID_WINDOW_ARRANGE},
      {"New(Graph)", res::kCmdNewGraph},
      {"New(Association)", res::kCmdNewAssociation},
      {"Open integration file...", qova::document::command::kOpenIntegration},
      {"Save integration file...", qova::document::command::kSaveIntegration},
      {"Edit integration", qova::document::command::kEditIntegration},
      {"Average arrays", qova::document::command::kAverageArrays},
      {"Called gender from CHP files", qova::document::command::kUpdateGenderFromChp},
      {"Update all sample files to the newest version", qova::document::command::kUpdateFilesToNewestVersion},
      {"Copy listed data files", qova::document::command::kCopyListedDataFiles},
      {"Change attributes and sex as listed file", qova::document::command::kChangeAttributesAsListed},
      {"Rewrite sample files in the current format", qova::document::command::kConvertAllFiles},
      {"Refresh the sample-file index", qova::document::command::kRefreshFileLists},
      {"Transfer old temporary data files", qova::document::command::kTransferArrangedData},
      {"1 Intensity files (.IMF) of listed samples", qova::document::command::kExtractImfFromList},
      {"2 Probe correlations", qova::document::command::kImfCorrelation},
      {"3 SNP information (SNPinfo.txt)", qova::document::command::kMakeSnpInfo},
      {"4 .IMF to .IM2", qova::document::command::kImfToIm2},
      {"5 Normal average (NormalAve.txt)", qova::document::command::kMakeNormalAverage},
      {"6 .IM2 to .IM3", qova::document::command::kIm2ToIm3},
      {"7 Copy-number regression", qova::document::command::kMakeCnRegression},
      {"8 .IM3 to results (VIRIV*.CFA)", qova::document::command::kIm3ToResult},
      {"Two-state segment correction", qova::document::command::kApplyCorrection},
      {"Dump CDF file...", qova::document::command::kDumpCdf},
      {"Write annotation tables", qova::document::command::kStoreBasicData},
  };
  for (const auto& [text, id] : items) EXPECT_EQ(platform::ui::FindMenuItem(menu, text), id) << text;
}

// Whether the current menu bar holds the command, enabled or not.
bool InMenuBar(const std::vector<MenuEntry>& items, UINT id) {
  for (const MenuEntry& e : items) {
    if (e.popup.empty() ? e.id == id && !e.IsSeparator() : InMenuBar(e.popup, id)) return true;
  }
  return false;
}

// The program's own commands (not the framework's) that a command target and
// its bases handle.
void CollectCommands(const platform::ui::MessageMap* map, std::set<UINT>& ids) {
  for (; map != nullptr; map = map->base ? map->base() : nullptr) {
    for (const platform::ui::MessageEntry& e : map->entries) {
      if (e.code != CN_COMMAND) continue;
      for (UINT id = e.idFirst; id <= e.idLast; ++id)
        if (id >= 0x8000 && id < AFX_IDS_APP_TITLE) ids.insert(id);
    }
  }
}

// A user reaches every command of the main window from its menus: the ones
// the menus of old left out are under Tools.
TEST_F(AppFrameTest, EveryCommandOfTheMainDocumentsWindowIsInItsMenus) {
  CView* view = MainFrame().MDIGetActive()->GetActiveView();
  std::set<UINT> handled;
  for (const CCmdTarget* target : {static_cast<const CCmdTarget*>(view->GetDocument()),
                                   static_cast<const CCmdTarget*>(view), static_cast<const CCmdTarget*>(&MainFrame()),
                                   static_cast<const CCmdTarget*>(&App())})
    CollectCommands(target->GetMessageMap(), handled);
  // It does nothing at all.
  handled.erase(qova::document::command::kNothing);
  ASSERT_GT(handled.size(), 50u);
  const std::vector<MenuEntry> bar = MainFrame().MenuEntries();
  for (UINT id : handled)
    EXPECT_TRUE(InMenuBar(bar, id)) << "command " << id
                                    << " has no menu entry: a command without one of old goes under Tools "
                                       "(resources/FrameResources.cpp, ToolsMenu)";
}

// Tools offers each command under its own update rule; choosing one runs it.
TEST_F(AppFrameTest, ToolsCommandsFollowTheirOwnUpdateRules) {
  auto& doc = dynamic_cast<CQOVADoc&>(*MainFrame().GetActiveDocument());
  namespace cmd = qova::document::command;
  const UINT alwaysEnabled[] = {cmd::kOpenIntegration,        cmd::kAverageArrays,        cmd::kUpdateGenderFromChp,
                                cmd::kUpdateFilesToNewestVersion, cmd::kCopyListedDataFiles, cmd::kChangeAttributesAsListed,
                                cmd::kConvertAllFiles,        cmd::kRefreshFileLists,     cmd::kTransferArrangedData,
                                cmd::kExtractImfFromList,     cmd::kImfCorrelation,       cmd::kMakeSnpInfo,
                                cmd::kImfToIm2,               cmd::kMakeNormalAverage,    cmd::kIm2ToIm3,
                                cmd::kMakeCnRegression,       cmd::kIm3ToResult,          cmd::kDumpCdf,
                                cmd::kStoreBasicData};
  for (const char* status : {kStatusClean, kStatusAnalysis, kStatusSingle, kStatusMultiple, kStatusIntegrate}) {
    doc.Status = status;
    const bool integrate = std::string(status) == kStatusIntegrate;
    for (UINT id : alwaysEnabled) EXPECT_TRUE(MainFrame().IsCommandEnabled(id)) << status << " " << id;
    for (UINT id : {cmd::kSaveIntegration, cmd::kEditIntegration})
      EXPECT_EQ(MainFrame().IsCommandEnabled(id), integrate ? TRUE : FALSE) << status << " " << id;
  }
  // The correction needs a non-self result of the allele-specific mode on display.
  doc.Status = kStatusAnalysis;
  doc.AnalyzedData.IsSelf = false;
  qova::document::ApplicationData().ProgramSetting->NONSELFALLELE = 1;
  EXPECT_TRUE(MainFrame().IsCommandEnabled(cmd::kApplyCorrection));
  doc.AnalyzedData.IsSelf = true;
  EXPECT_FALSE(MainFrame().IsCommandEnabled(cmd::kApplyCorrection));
  EXPECT_FALSE(Choose(cmd::kApplyCorrection));

  // Tools > Integration > Open integration file... then Save, which it enables.
  doc.Status = kStatusClean;
  IntegrationData saved(qova::document::ApplicationData());
  saved.Mode = "LOH";
  saved.Title = "figure";
  ASSERT_TRUE(saved.Save(home_.Path("Set1.cfi")));
  Ui().OnFileDialog([this](platform::ui::FileDialogRequest& r) {
    r.chosen = {home_.Path("Set1.cfi")};
    return true;
  });
  EXPECT_FALSE(Choose(cmd::kSaveIntegration));
  ASSERT_TRUE(Choose(cmd::kOpenIntegration));
  EXPECT_EQ(doc.Status, kStatusIntegrate);
  ASSERT_NE(doc.Integration, nullptr);
  EXPECT_EQ(doc.Integration->Title, "figure");
  Ui().OnFileDialog([this](platform::ui::FileDialogRequest& r) {
    r.chosen = {home_.Path("Set2.cfi")};
    return true;
  });
  EXPECT_TRUE(Choose(cmd::kSaveIntegration));
  EXPECT_TRUE(platform::FileExists(home_.Path("Set2.cfi")));
  EXPECT_TRUE(messages_.Empty()) << ::testing::PrintToString(messages_.Texts());
  EXPECT_TRUE(Ui().Failures().empty());
}

TEST_F(AppFrameTest, ToolBarStatusBarAndAccelerators) {
  auto* toolBar = dynamic_cast<CToolBar*>(MainFrame().GetControlBar(AFX_IDW_TOOLBAR));
  ASSERT_NE(toolBar, nullptr);
  const std::vector<UINT> buttons = {32772, 32773, 32813, 0,     32814, 32849, 32863, 0,     57607, 0,
                                     32817, 32825, 32826, 32827, 0,     32771, 32781, 32782, 0,     32779,
                                     32783, 0,     32789, 32790, 0,     32791, 32807, 0,     32822, 32823,
                                     0,     32810, 32811, 0,     32802, 0,     32839, 0,     57664};
  std::vector<UINT> shown;
  for (int i = 0; i < toolBar->GetCount(); ++i) shown.push_back(toolBar->GetItemID(i));
  EXPECT_EQ(shown, buttons);
  EXPECT_EQ(toolBar->GetToolTip(0), "Data Extract") << "a prompt's third line is not part of the tip";

  auto* statusBar = dynamic_cast<CStatusBar*>(MainFrame().GetControlBar(AFX_IDW_STATUS_BAR));
  ASSERT_NE(statusBar, nullptr);
  ASSERT_EQ(statusBar->GetCount(), 4);
  const std::pair<UINT, const char*> panes[] = {
      {ID_SEPARATOR, "Ready"}, {ID_INDICATOR_CAPS, "CAP"}, {ID_INDICATOR_NUM, "NUM"}, {ID_INDICATOR_SCRL, "SCRL"}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(statusBar->GetItemID(i), panes[i].first);
    EXPECT_EQ(statusBar->GetPaneText(i), panes[i].second);
  }

  // Ctrl+O goes to Display Samples, not to File > Open.
  bool displayed = false;
  Ui().OnDialog(qova::resources::kDisplaySamplesDialog, [&](platform::ui::DialogDriver& d) {
    displayed = true;
    d.Cancel();
  });
  platform::ui::input::Key(MainFrame(), 'O', FCONTROL);
  EXPECT_TRUE(displayed);
  // Without a file dialog script a File > Open would have stopped the run.
  EXPECT_TRUE(Ui().Failures().empty());
  ASSERT_NE(MainFrame().m_pAccelTable, nullptr);
  const std::tuple<BYTE, WORD, WORD> ownKeys[] = {
      {FVIRTKEY, VK_F6, res::kCmdNextChromosome},
      {FVIRTKEY | FSHIFT, VK_F6, res::kCmdPreviousChromosome},
      {FVIRTKEY | FCONTROL, 'O', res::kCmdDisplaySamples},
      {FVIRTKEY | FCONTROL, 'P', ID_FILE_PRINT},
  };
  for (const auto& [flags, key, command] : ownKeys) {
    bool found = false;
    for (const platform::ui::Accelerator& a : MainFrame().m_pAccelTable->entries)
      found |= a.flags == flags && a.key == key && a.command == command;
    EXPECT_TRUE(found) << key;
  }
  EXPECT_EQ(MainFrame().m_pAccelTable->entries.size(), 12u);
}

TEST_F(AppFrameTest, DefaultSettingOpensTheProgramSettingSheetFromEveryMenu) {
  int shown = 0;
  Ui().OnSheet("Program Setting", [&](platform::ui::SheetDriver& sheet) {
    ++shown;
    EXPECT_EQ(sheet.Tabs(), (std::vector<std::string>{"Folders", "Display", "Print", "Items", "Multiple", "Color",
                                                      "Color2", "Scale", "Multiple", "Integral", "Marker",
                                                      "Automatic", "Zenkor"}));
    EXPECT_FALSE(sheet.Sheet().HasApplyButton());
    sheet.Cancel();
  });
  EXPECT_TRUE(Choose(res::kCmdDefaultSetting));
  App().CloseAllDocuments(FALSE);
  EXPECT_TRUE(Choose(res::kCmdDefaultSetting));
  EXPECT_EQ(shown, 2);
  EXPECT_TRUE(messages_.Empty());
  EXPECT_TRUE(Ui().Failures().empty());
}

// The documents of the first template, oldest first.
std::vector<CQOVADoc*> MainDocuments(CWinApp& app) {
  std::vector<CQOVADoc*> documents;
  POSITION t = app.GetFirstDocTemplatePosition();
  CDocTemplate* mainTemplate = app.GetNextDocTemplate(t);
  for (POSITION d = mainTemplate->GetFirstDocPosition(); d;)
    documents.push_back(dynamic_cast<CQOVADoc*>(mainTemplate->GetNextDoc(d)));
  return documents;
}

void WriteTestSample(const std::string& folder, const std::string& name) {
  ASSERT_TRUE(platform::CreateFolders(folder));
  const char* type = "Mapping10K_Xba131";
  CArrayData sample(name, type, document::ApplicationData().TypeInfo(ArrayTypeIndex(type)), CTime(1180656000));
  sample.Header.IsTest = 1;
  sample.StoreFile(platform::JoinPath(folder, name + ".CFH"));
}

TEST_F(AppFrameTest, FoldersChosenInProgramSettingReachEveryOpenMainDocument) {
  EXPECT_TRUE(Choose(ID_FILE_NEW));
  const std::vector<CQOVADoc*> open = MainDocuments(App());
  ASSERT_EQ(open.size(), 2u);
  const std::string before = open[0]->ArrayDataFolder;
  WriteTestSample(before, "InTheOldFolder");
  const std::string arrays = home_.Path("arrays"), results = home_.Path("results");
  WriteTestSample(arrays, "InTheNewFolder");
  ASSERT_TRUE(platform::CreateFolders(results));

  const std::string chosen[] = {arrays, results};
  int browsed = 0;
  Ui().OnFolderDialog([&](platform::ui::FolderDialogRequest& request) {
    request.chosen = chosen[browsed++];
    return true;
  });
  // Cancel first: the documents keep their folders.
  Ui().OnSheet("Program Setting", [](platform::ui::SheetDriver& sheet) {
    sheet.Page().Click(qova::resources::settings::folders::kArrayDataSet);
    sheet.Cancel();
  });
  EXPECT_TRUE(Choose(res::kCmdDefaultSetting));
  EXPECT_EQ(open[1]->ArrayDataFolder, before);

  browsed = 0;
  Ui().OnSheet("Program Setting", [](platform::ui::SheetDriver& sheet) {
    sheet.Page().Click(qova::resources::settings::folders::kArrayDataSet).Click(qova::resources::settings::folders::kResultSet);
    EXPECT_TRUE(sheet.Ok());
  });
  EXPECT_TRUE(Choose(res::kCmdDefaultSetting));
  for (const CQOVADoc* doc : open) {
    EXPECT_EQ(doc->ArrayDataFolder, arrays + "/");
    EXPECT_EQ(doc->AnalysisResultFolder, results + "/");
    EXPECT_EQ(doc->DataFolder, document::ApplicationData().ProgramSetting->DefaultDataFolder);
  }

  // The Sample Manager of a document made before the change lists the new folder.
  std::vector<std::string> listed;
  Ui().OnDialog(qova::resources::kSampleManagerDialog, [&](DialogDriver& d) {
    listed = d.Items(qova::resources::manager::kSampleList);
    d.Cancel();
  });
  EXPECT_TRUE(Choose(qova::document::command::kSampleManager));
  EXPECT_EQ(listed, std::vector<std::string>{"InTheNewFolder"});
  EXPECT_TRUE(messages_.Empty()) << ::testing::PrintToString(messages_.Texts());
  EXPECT_TRUE(Ui().Failures().empty());
}

TEST_F(AppFrameTest, AboutShowsTheVersionAndTheBuildDate) {
  int shown = 0;
  Ui().OnDialog(100, [&](DialogDriver& d) {
    ++shown;
    EXPECT_EQ(d.Caption(), "About QOVA");
    EXPECT_EQ(d.Text(1086), "2007.08.09");
    EXPECT_EQ(d.Text(IDC_STATIC), "QOVA Version 3.0");
    d.Ok();
  });
  EXPECT_TRUE(Choose(ID_APP_ABOUT));
  // The tool bar's About button does the same, with no document open too.
  App().CloseAllDocuments(FALSE);
  EXPECT_TRUE(Choose(ID_APP_ABOUT));
  EXPECT_EQ(shown, 2);
  EXPECT_TRUE(Ui().Failures().empty());
}

}  // namespace
}  // namespace qova::test
