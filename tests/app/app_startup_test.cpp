// Start-up: the settings file, the data object and its load with its
// messages, the three document templates in order, the main window from its
// resources and the command line.
#include <filesystem>
#include <fstream>

#include "core/GlobalData.h"
#include "document/ApplicationData.h"
#include "document/QOVADoc.h"
#include "platform/Paths.h"
#include "platform/Profile.h"
#include "resources/CommandIds.h"
#include "resources/FrameResources.h"
#include "tests/app/AppTestSupport.h"
#include "tools/datagen/DataGen.h"
#include "views/ChildFrm.h"
#include "views/MainFrm.h"
#include "views/QOVAAssDoc.h"
#include "views/QOVAAssView.h"
#include "views/QOVAGraphDoc.h"
#include "views/QOVAGraphView.h"
#include "views/QOVAView.h"

namespace qova::test {
namespace {

namespace res = qova::resources;
namespace fs = std::filesystem;

class AppStartupTest : public AppTest {
 protected:
  // A start folder in the test's home whose data folder holds the given files.
  std::string StartFolderWith(bool cytoband, bool annotations) {
    std::string root = home_.Path("start/");
    fs::create_directories(root + "data");
    if (cytoband) fs::copy_file(datagen::ShippedCytobandPath(), root + "data/Cytoband.dtt");
    if (annotations) {
      for (int family : datagen::AllFamilies())
        fs::copy_file(CompleteStartFolder() + "data/" + datagen::AnnotationFileName(family),
                      root + "data/" + datagen::AnnotationFileName(family));
    }
    return root;
  }

  CDocument* ActiveDocument() const { return MainFrame().GetActiveDocument(); }
};

TEST_F(AppStartupTest, EmptyCommandLineOpensExactlyOneMainDocumentInAShownMainWindow) {
  ASSERT_TRUE(Start());
  EXPECT_TRUE(messages_.Empty()) << ::testing::PrintToString(messages_.Texts());
  EXPECT_EQ(DocumentCount(0), 1);
  EXPECT_EQ(DocumentCount(1), 0);
  EXPECT_EQ(DocumentCount(2), 0);
  ASSERT_NE(ActiveDocument(), nullptr);
  EXPECT_TRUE(ActiveDocument()->IsKindOf(RUNTIME_CLASS(CQOVADoc)));
  EXPECT_EQ(ActiveDocument()->GetTitle(), "QOVA1");
  EXPECT_TRUE(MainFrame().IsKindOf(RUNTIME_CLASS(CMainFrame)));
  EXPECT_TRUE(MainFrame().IsWindowVisible());
  EXPECT_EQ(MainFrame().GetWindowText(), "QOVA - QOVA1");
  EXPECT_EQ(App().m_strAppTitle, "QOVA");
  CMDIChildWnd* child = MainFrame().MDIGetActive();
  ASSERT_NE(child, nullptr);
  EXPECT_TRUE(child->IsKindOf(RUNTIME_CLASS(CChildFrame)));
  EXPECT_TRUE(child->GetActiveView()->IsKindOf(RUNTIME_CLASS(CQOVAView)));
  EXPECT_EQ(static_cast<CQOVAView*>(child->GetActiveView())->GetDocument(), ActiveDocument());
}

TEST_F(AppStartupTest, TemplatesAreRegisteredInOrderWithTheirStringsAndClasses) {
  ASSERT_TRUE(Start());
  struct Expected {
    UINT resource;
    const CRuntimeClass* document;
    const CRuntimeClass* view;
    const char* docName;
    const char* filterExt;
  };
  const Expected expected[] = {
      {res::kQovaDocumentType, RUNTIME_CLASS(CQOVADoc), RUNTIME_CLASS(CQOVAView), "QOVA", ""},
      {res::kGraphDocumentType, RUNTIME_CLASS(CQOVAGraphDoc), RUNTIME_CLASS(CQOVAGraphView), "Graph", ".txt"},
      {res::kAssociationDocumentType, RUNTIME_CLASS(CQOVAAssDoc), RUNTIME_CLASS(CQOVAAssView), "Association", ".AAD"},
  };
  POSITION pos = App().GetFirstDocTemplatePosition();
  for (const Expected& e : expected) {
    ASSERT_NE(pos, nullptr);
    CDocTemplate* t = App().GetNextDocTemplate(pos);
    EXPECT_EQ(t->m_nIDResource, e.resource);
    EXPECT_EQ(t->m_pDocClass, e.document);
    EXPECT_EQ(t->m_pViewClass, e.view);
    EXPECT_EQ(t->m_pFrameClass, RUNTIME_CLASS(CChildFrame));
    std::string text;
    t->GetDocString(text, CDocTemplate::docName);
    EXPECT_EQ(text, e.docName);
    t->GetDocString(text, CDocTemplate::filterExt);
    EXPECT_EQ(text, e.filterExt);
  }
  EXPECT_EQ(pos, nullptr);
}

TEST_F(AppStartupTest, NewGraphAndNewAssociationOpenTheSecondAndThirdTypes) {
  ASSERT_TRUE(Start());
  // The main document's File menu offers them after New(QOVA).
  EXPECT_TRUE(Choose(res::kCmdNewGraph));
  EXPECT_EQ(DocumentCount(1), 1);
  ASSERT_TRUE(ActiveDocument()->IsKindOf(RUNTIME_CLASS(CQOVAGraphDoc)));
  EXPECT_TRUE(MainFrame().MDIGetActive()->GetActiveView()->IsKindOf(RUNTIME_CLASS(CQOVAGraphView)));
  // The graph document's menu offers all three New commands.
  EXPECT_TRUE(Choose(res::kCmdNewAssociation));
  EXPECT_EQ(DocumentCount(2), 1);
  ASSERT_TRUE(ActiveDocument()->IsKindOf(RUNTIME_CLASS(CQOVAAssDoc)));
  EXPECT_EQ(ActiveDocument()->GetTitle(), "Association1");
  EXPECT_TRUE(Choose(res::kCmdNewGraph));
  EXPECT_EQ(ActiveDocument()->GetTitle(), "Graph2");
  EXPECT_TRUE(Choose(ID_FILE_NEW));
  EXPECT_EQ(ActiveDocument()->GetTitle(), "QOVA2");
  EXPECT_EQ(DocumentCount(0), 2);
  EXPECT_EQ(DocumentCount(1), 2);
  EXPECT_EQ(DocumentCount(2), 1);
  EXPECT_TRUE(messages_.Empty());
}

TEST_F(AppStartupTest, StartsWithTheMessageWhenTheCytobandTableIsMissing) {
  for (bool annotations : {true, false}) {
    SCOPED_TRACE(annotations ? "annotations present" : "data folder empty");
    messages_.Clear();
    fs::remove_all(home_.Path("start"));
    ASSERT_TRUE(Start(StartFolderWith(false, annotations)));
    EXPECT_EQ(messages_.Texts(), std::vector<std::string>{"cytoband data cannot be loaded"});
    EXPECT_FALSE(App().m_pGlobalData->IsLoaded());
    EXPECT_EQ(DocumentCount(0), 1);
    EXPECT_TRUE(MainFrame().IsWindowVisible());
    app_.reset();
  }
}

TEST_F(AppStartupTest, StartsWhenTheStartFolderHasNoDataFolderAtAll) {
  ASSERT_TRUE(Start(home_.Path("nowhere/")));
  EXPECT_EQ(messages_.Texts(), std::vector<std::string>{"cytoband data cannot be loaded"});
  EXPECT_EQ(DocumentCount(0), 1);
}

TEST_F(AppStartupTest, EachMissingRequiredAnnotationTableIsReportedOnce) {
  ASSERT_TRUE(Start(StartFolderWith(true, false)));
  std::vector<std::string> texts = messages_.Texts();
  ASSERT_EQ(texts.size(), 5u) << ::testing::PrintToString(texts);
  for (int family = 0; family < 5; ++family) {
    EXPECT_EQ(texts[size_t(family)].rfind("cannot load ", 0), 0u) << texts[size_t(family)];
    EXPECT_NE(texts[size_t(family)].find(datagen::AnnotationFileName(family)), std::string::npos);
  }
  EXPECT_EQ(DocumentCount(0), 1);
}

TEST_F(AppStartupTest, SettingsComeFromTheSettingsFileAndAreNotWrittenAtExit) {
  const std::string ini = platform::DefaultSettingsPath();
  fs::create_directories(fs::path(ini).parent_path());
  std::ofstream(ini) << "[Default Section]\nDefaultArrayDataFolder=c:\\arrays\\\n";
  const auto written = fs::last_write_time(ini);
  ASSERT_TRUE(Start());
  EXPECT_EQ(platform::AppProfile().RegistryKey(), "Local AppWizard-Generated Applications");
  EXPECT_EQ(App().m_pGlobalData->ProgramSetting->DefaultArrayDataFolder, "c:\\arrays\\");
  EXPECT_EQ(App().m_pGlobalData->ProgramSetting->StartFolder, CompleteStartFolder());
  EXPECT_EQ(&ApplicationData(), App().m_pGlobalData);
  app_.reset();
  EXPECT_FALSE(HasApplicationData());
  EXPECT_EQ(fs::last_write_time(ini), written);
}

TEST_F(AppStartupTest, QuitEndsTheMessageLoopAndClosingTheMainWindowClosesItsDocuments) {
  ASSERT_TRUE(Start());
  EXPECT_TRUE(Choose(ID_APP_EXIT));
  EXPECT_EQ(App().m_pMainWnd, nullptr);
  EXPECT_EQ(DocumentCount(0), 0);
  EXPECT_EQ(App().Run(), 0);
}

}  // namespace
}  // namespace qova::test
