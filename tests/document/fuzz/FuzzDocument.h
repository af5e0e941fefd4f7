#pragma once
// A main document for the fuzz targets of the files its commands read: the
// fuzz folder as drive root (QOVA_HOME) and settings home, its array-data,
// result and data folders, the annotation table of one family, and a headless
// user interface whose file dialogs answer what a run chooses.
#include <cstdlib>
#include <memory>
#include <string>

#include "core/GlobalData.h"
#include "core/ProgramSetting.h"
#include "document/ApplicationData.h"
#include "document/QOVADoc.h"
#include "platform/File.h"
#include "platform/Paths.h"
#include "platform/ui/App.h"
#include "platform/ui/Backend.h"
#include "platform/ui/Headless.h"
#include "tests/core/fuzz/FuzzFolder.h"
#include "tools/datagen/DataGen.h"

namespace fuzz_support {

class FuzzDocument {
 public:
  explicit FuzzDocument(int family) {
    QuietMessages();
    // Before anything asks for a path: the drive root and the settings live here.
    setenv("QOVA_HOME", Folder().c_str(), 1);
    setenv("QOVA_CONFIG_HOME", Folder().c_str(), 1);
    datagen::WriteDataFolder(Folder() + "data/", {family});
    CProgramSetting& setting = *global_.ProgramSetting;
    setting.StartFolder = Folder();
    setting.DefaultArrayDataFolder = Folder() + "ArrayData/";
    setting.DefaultAnalysisResultFolder = Folder() + "Results/";
    setting.DefaultDataFolder = Folder() + "Cel/";
    setting.DefaultLibraryFolder = Folder() + "Library/";
    setting.DefaultOutputFolder = Folder() + "Output/";
    for (const std::string& folder : {setting.DefaultArrayDataFolder, setting.DefaultAnalysisResultFolder,
                                      setting.DefaultDataFolder, setting.DefaultLibraryFolder})
      if (!platform::CreateFolders(folder)) std::abort();
    global_.Cytoband->LoadFrom(global_.DataFolder());
    const std::int32_t rows = qova::core::kArrayFamilies[family].snpCount;
    global_.BasicData[family].Allocate(rows, 0);
    global_.BasicData[family].LoadFile(global_.DataFolder() + datagen::AnnotationFileName(family), rows);
    platform::ui::SetBackend(nullptr);
    platform::ui::Headless().Reset();
    doc_ = std::make_unique<CQOVADoc>();
  }

  CQOVADoc& Doc() { return *doc_; }
  CGlobalData& Global() { return global_; }
  const CProgramSetting& Setting() const { return *global_.ProgramSetting; }
  static platform::ui::HeadlessUi& Ui() { return platform::ui::Headless(); }

  // Sends a command as the menus do, the next file dialog answering `chosen`.
  void Run(UINT id, const std::string& chosen = {}) {
    if (!chosen.empty())
      Ui().OnFileDialog([chosen](platform::ui::FileDialogRequest& r) {
        r.chosen = {chosen};
        return true;
      });
    platform::ui::DispatchCommand(*doc_, id);
  }

  // What a run leaves behind that would grow from run to run.
  void Tidy() {
    (void)platform::RemoveFile(Folder() + "errorlog.txt");
    Ui().Reset();
  }

 private:
  CGlobalData global_;
  qova::document::ScopedApplicationData application_{global_};
  std::unique_ptr<CQOVADoc> doc_;
};

}  // namespace fuzz_support
