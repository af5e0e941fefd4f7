// Feeds arbitrary text to the list files of the maintenance commands and of
// Extract Data's import. The first byte chooses the command: copying the
// listed samples' files, changing attributes as listed, or importing a
// sample list into the Extract Data dialog; the rest is the list. The samples
// are a small study our own writers made; whatever the list says, nothing is
// written outside the fuzz folder.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>

#include "document/extraction/DataExtract.h"
#include "document/DocumentCommands.h"
#include "resources/ExtractDialogs.h"
#include "resources/MaintenanceDialogs.h"
#include "tests/document/fuzz/FuzzDocument.h"
#include "tools/samplegen/SampleGen.h"

namespace {

namespace res = qova::resources;
using platform::ui::DialogDriver;

constexpr int kFamily = 0;
constexpr const char* kType = "Mapping10K_Xba131";

fuzz_support::FuzzDocument& Document() {
  static fuzz_support::FuzzDocument document(kFamily);
  return document;
}

std::string ListPath() { return fuzz_support::Folder() + "list.txt"; }
std::string CopyFolder() { return fuzz_support::Folder() + "copy/"; }

// Test01 with its normal Test01N and two references; CHP files to import.
void WriteStudy() {
  static const bool written = [] {
    fuzz_support::FuzzDocument& document = Document();
    samplegen::StudySpec spec;
    spec.ArrayType = kType;
    spec.Seed = 7;
    spec.NonSelfReferences = 2;
    (void)samplegen::WriteStudy(document.Setting().DefaultArrayDataFolder, document.Global().BasicData[kFamily], spec);
    for (const char* name : {"Test01.CHP", "Test01N.CHP", "Ref01.CHP", "Ref02.CHP"})
      if (!platform::WriteWholeFile(document.Setting().DefaultDataFolder + name, "")) std::abort();
    return true;
  }();
  (void)written;
}

void CopyListed() {
  auto& ui = fuzz_support::FuzzDocument::Ui();
  ui.OnFileDialog([](platform::ui::FileDialogRequest& r) {
    r.chosen = {ListPath()};
    return true;
  });
  ui.OnFolderDialog([](platform::ui::FolderDialogRequest& r) {
    r.chosen = CopyFolder();
    return true;
  });
  ui.OnDialog(res::kCopyListedFilesDialog, [](DialogDriver& d) {
    d.Click(res::kCopyListBrowse).Click(res::kCopyDestinationBrowse);
    d.SetCheck(res::kCopyNonSelfReferences, true).SetCheck(res::kCopyCfs, true).Ok();
  });
  std::error_code ignored;
  std::filesystem::remove_all(CopyFolder(), ignored);
  std::filesystem::create_directories(CopyFolder());
  Document().Run(qova::document::command::kCopyListedDataFiles);
}

void ImportIntoExtractData() {
  auto& ui = fuzz_support::FuzzDocument::Ui();
  ui.OnFileDialog([](platform::ui::FileDialogRequest& r) {
    r.chosen = {ListPath()};
    return true;
  });
  CDataExtract dialog;
  dialog.DataFolder = Document().Setting().DefaultDataFolder;
  dialog.ArrayDataFolder = Document().Setting().DefaultArrayDataFolder;
  ui.OnDialog(res::kDataExtractDialog, [](DialogDriver& d) { d.Click(res::kExtractImportSampleList).Ok().Cancel(); });
  (void)dialog.DoModal();
}

void WriteSeeds(const std::string& folder) {
  fuzz_support::WriteSeed(folder, "copy", std::string(1, '\0') + "Test01\nRef01\textra\n\n\tRef02\n");
  fuzz_support::WriteSeed(folder, "attributes",
                          std::string(1, '\1') + "Sample_name\tAttribute1\tSex\tAttribute5\nTest01\tTumour\tMale\tx\n"
                                                 "Ref01\tNormal\nGhost\tx\ty\tz\n");
  fuzz_support::WriteSeed(folder, "import", std::string(1, '\2') + "Test01\tTest01N\nRef01\t#REF\nRef02\t#TEST\n");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_support::WriteSeedsWhenAsked(WriteSeeds);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  WriteStudy();
  fuzz_support::WriteInput("list.txt", data + 1, size - 1);
  switch (data[0] % 3) {
    case 0:
      CopyListed();
      break;
    case 1:
      fuzz_support::FuzzDocument::Ui().OnFileDialog([](platform::ui::FileDialogRequest& r) {
        r.chosen = {ListPath()};
        return true;
      });
      Document().Run(qova::document::command::kChangeAttributesAsListed);
      break;
    default:
      ImportIntoExtractData();
      break;
  }
  Document().Tidy();
  return 0;
}
