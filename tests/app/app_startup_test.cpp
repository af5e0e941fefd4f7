// Start-up: the settings file, the data object and its load with its
// messages, the three document templates in order, the main window from its
// resources and the command line.
#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <map>

#include "core/GlobalData.h"
#include "document/ApplicationData.h"
#include "document/QOVADoc.h"
#include "platform/File.h"
#include "platform/Paths.h"
#include "platform/Profile.h"
#include "resources/AssociationDialogs.h"
#include "resources/CommandIds.h"
#include "resources/FrameResources.h"
#include "tests/app/AppTestSupport.h"
#include "tools/datagen/DataGen.h"
#include "views/ChildFrm.h"
#include "views/MainFrm.h"
#include "views/association/QOVAAssDoc.h"
#include "views/association/QOVAAssView.h"
#include "views/graph/QOVAGraphDoc.h"
#include "views/graph/QOVAGraphView.h"
#include "views/main/QOVAView.h"

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
  // The graph document's menu offers all three New commands; a new study
  // whose set-up is cancelled leaves no document.
  int typeDialogs = 0;
  Ui().OnDialog(res::kSelectArrayTypeDialog, [&](platform::ui::DialogDriver& d) {
    ++typeDialogs;
    d.Cancel();
  });
  EXPECT_TRUE(Choose(res::kCmdNewAssociation));
  EXPECT_EQ(typeDialogs, 1);
  EXPECT_EQ(DocumentCount(2), 0);
  ASSERT_TRUE(ActiveDocument()->IsKindOf(RUNTIME_CLASS(CQOVAGraphDoc)));
  const std::string study = home_.Path("study.AAD");
  WriteAssociationFile(study);
  ASSERT_NE(App().OpenDocumentFile(study.c_str()), nullptr);
  ASSERT_TRUE(ActiveDocument()->IsKindOf(RUNTIME_CLASS(CQOVAAssDoc)));
  EXPECT_EQ(ActiveDocument()->GetTitle(), "study.AAD");
  EXPECT_TRUE(MainFrame().MDIGetActive()->GetActiveView()->IsKindOf(RUNTIME_CLASS(CQOVAAssView)));
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
  EXPECT_EQ(&document::ApplicationData(), App().m_pGlobalData);
  app_.reset();
  EXPECT_FALSE(document::HasApplicationData());
  EXPECT_EQ(fs::last_write_time(ini), written);
}

// Every key of the settings record with a value other than its default, as
// a save writes them (section, key, value).
std::vector<std::array<std::string, 3>> UnusualStoredValues() {
  struct Recorder : platform::MemorySettingsStore {
    bool Set(std::string_view section, std::string_view key, std::string_view value) override {
      writes.push_back({std::string(section), std::string(key), std::string(value)});
      return true;
    }
    std::vector<std::array<std::string, 3>> writes;
  };
  platform::Profile defaults;
  auto recorder = std::make_unique<Recorder>();
  Recorder& writes = *recorder;
  defaults.SetStore(std::move(recorder));
  CProgramSetting setting;
  setting.LoadFromProfile(defaults);
  EXPECT_TRUE(setting.SaveToProfile(defaults));
  std::vector<std::array<std::string, 3>> values = writes.writes;
  int n = 0;
  for (auto& [section, key, value] : values) {
    ++n;
    const bool number = !value.empty() && value.find_first_not_of("-0123456789") == std::string::npos;
    value = number ? std::to_string(std::stoll(value) + n) : "c:\\kept" + std::to_string(n) + "\\";
  }
  return values;
}

// The values as the loaded record saves them again.
std::map<std::string, std::string> SavedAgain(const CProgramSetting& setting) {
  platform::Profile profile;
  CProgramSetting copy(setting);
  EXPECT_TRUE(copy.SaveToProfile(profile));
  std::map<std::string, std::string> saved;
  for (const auto& [section, key, value] : UnusualStoredValues())
    saved[section + "/" + key] = profile.GetProfileString(section, key, "(absent)");
  return saved;
}

TEST_F(AppStartupTest, ADamagedSettingsFileLineIsToldOnceAndEveryOtherValueIsKept) {
  const std::vector<std::array<std::string, 3>> values = UnusualStoredValues();
  {
    platform::Profile file;
    file.UseSettingsFile();
    platform::ProfileBatch batch(file);
    for (const auto& [section, key, value] : values) ASSERT_TRUE(file.WriteProfileString(section, key, value));
    ASSERT_TRUE(batch.End());
  }
  // The mistyped header goes below the first folder, where it once cost the
  // four folders after it.
  const std::string ini = platform::DefaultSettingsPath();
  std::string text;
  ASSERT_TRUE(platform::ReadWholeFile(ini, text));
  const std::size_t section = text.find("[Default Section]\n");
  ASSERT_NE(section, std::string::npos);
  const std::size_t secondLine = text.find('\n', text.find('\n', section) + 1) + 1;
  text.insert(secondLine, "[Unclosed section\n");
  const int badLine = static_cast<int>(std::count(text.begin(), text.begin() + long(secondLine), '\n')) + 1;
  ASSERT_TRUE(platform::WriteWholeFile(ini, text));

  ASSERT_TRUE(Start());
  const std::vector<std::string> shown = messages_.Texts();
  ASSERT_EQ(shown.size(), 1u) << ::testing::PrintToString(shown);
  EXPECT_NE(shown[0].find(platform::NativePath(ini)), std::string::npos) << shown[0];
  EXPECT_NE(shown[0].find("\nline " + std::to_string(badLine) + ": [Unclosed section"), std::string::npos) << shown[0];

  const std::map<std::string, std::string> loaded = SavedAgain(*App().m_pGlobalData->ProgramSetting);
  int kept = 0;
  for (const auto& [sectionName, key, value] : values) {
    EXPECT_EQ(loaded.at(sectionName + "/" + key), value) << sectionName << "/" << key;
    kept += loaded.at(sectionName + "/" + key) == value ? 1 : 0;
  }
  EXPECT_EQ(kept, 121);

  // Told at start-up only: a new document or the settings sheet says nothing.
  messages_.Clear();
  EXPECT_TRUE(Choose(ID_FILE_NEW));
  EXPECT_TRUE(messages_.Empty()) << ::testing::PrintToString(messages_.Texts());
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
