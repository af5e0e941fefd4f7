#include "tests/app/AppTestSupport.h"

#include <filesystem>

#include "platform/Paths.h"
#include "platform/ui/UserInput.h"
#include "tools/datagen/DataGen.h"

namespace qova::test {

namespace {

class GeneratedFolder {
 public:
  GeneratedFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "qova-app-start-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
    root_ = pattern + "/";
    datagen::WriteDataFolder(root_ + "data", datagen::AllFamilies());
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
