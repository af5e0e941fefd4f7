#include "tests/app/AppTestSupport.h"

#include <filesystem>

#include "analysis/AssociationData.h"
#include "core/GlobalData.h"
#include "platform/Archive.h"
#include "platform/File.h"
#include "platform/Paths.h"
#include "platform/ui/UserInput.h"
#include "tests/support/FolderCache.h"
#include "tools/datagen/DataGen.h"

namespace qova::test {

namespace {

class GeneratedFolder {
 public:
  GeneratedFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "qova-app-start-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
    root_ = pattern + "/";
    FolderCache::ForThisProgram().CopyInto("start-folder", root_, [](const std::string& root) {
      datagen::WriteDataFolder(root + "data", datagen::AllFamilies());
    });
  }
  ~GeneratedFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  const std::string& Root() const { return root_; }

 private:
  std::string root_;
};

}  // namespace

void WriteAssociationFile(const std::string& path) {
  CGlobalData global;
  AssociationData data(global);
  data.arrayType = "Mapping10K_Xba142";
  data.caseNames = {"Case.CHP"};
  data.controlNames = {"Control.CHP"};
  const std::size_t n = static_cast<std::size_t>(data.SnpCount());
  data.calls.assign(2, std::vector<std::uint8_t>(n, 2));
  for (auto* values : {&data.chiSquare, &data.pValue, &data.reserved1, &data.reserved2}) values->assign(n, 0.0f);
  data.valid.assign(n, 0);
  CFile file;
  ASSERT_TRUE(file.Open(path, CFile::modeCreate | CFile::modeWrite));
  CArchive ar(&file, CArchive::store);
  data.Serialize(ar);
  ar.Close();
  file.Close();
}

const std::string& CompleteStartFolder() {
  static GeneratedFolder folder;
  return folder.Root();
}

AppTest::AppTest() : oldStart_(platform::StartFolder()) {}

AppTest::~AppTest() {
  app_.reset();
  platform::SetStartFolder(oldStart_);
}

BOOL AppTest::Start(const std::string& startFolder, std::vector<std::string> arguments) {
  platform::SetStartFolder(startFolder);
  app_ = std::make_unique<CQOVAApp>();
  app_->SetCommandLine(std::move(arguments));
  return app_->InitInstance();
}

CMDIFrameWnd& AppTest::MainFrame() const { return dynamic_cast<CMDIFrameWnd&>(*app_->m_pMainWnd); }

bool AppTest::Choose(UINT id) { return platform::ui::input::ChooseCommand(MainFrame(), id); }

int AppTest::DocumentCount(int index) const {
  POSITION pos = app_->GetFirstDocTemplatePosition();
  for (int i = 0; pos; ++i) {
    CDocTemplate* docTemplate = app_->GetNextDocTemplate(pos);
    if (i != index) continue;
    int count = 0;
    for (POSITION d = docTemplate->GetFirstDocPosition(); d; ++count) docTemplate->GetNextDoc(d);
    return count;
  }
  return -1;
}

}  // namespace qova::test
