#pragma once
// What the document's tests share: a temporary drive root with a generated
// family-0 data folder (annotation table and cytoband table), array-data and
// result folders, an application-wide data object loaded from them, and
// studies of synthetic samples written by the sample generator.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/AnalyzedData.h"
#include "core/ArrayData.h"
#include "core/GlobalData.h"
#include "core/ProgramSetting.h"
#include "core/SampleDocuments.h"
#include "document/ApplicationData.h"
#include "document/DocumentCommands.h"
#include "document/QOVADoc.h"
#include "platform/File.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/ui/App.h"
#include "platform/ui/Backend.h"
#include "platform/ui/Headless.h"
#include "tests/support/TempHome.h"
#include "tools/datagen/DataGen.h"
#include "tools/samplegen/SampleGen.h"

namespace qova::test {

// The document's command ids, as the tests send them.
namespace command = qova::document::command;

// Family 0 keeps the studies small and fast.
inline constexpr const char* kSmallType = "Mapping10K_Xba131";
inline constexpr int kSmallFamily = 0;

class SampleFolderTest : public TempHomeTest {
 protected:
  SampleFolderTest() {
    datagen::WriteDataFolder(Root() + "data/", {kSmallFamily});
    CProgramSetting& setting = Setting();
    setting.StartFolder = Root();
    setting.DefaultArrayDataFolder = ArrayFolder();
    setting.DefaultAnalysisResultFolder = ResultFolder();
    setting.DefaultDataFolder = Root() + "Cel/";
    setting.DefaultLibraryFolder = Root() + "Library/";
    setting.DefaultOutputFolder = Root() + "Output/";
    EXPECT_TRUE(platform::CreateFolders(ArrayFolder()));
    EXPECT_TRUE(platform::CreateFolders(ResultFolder()));
    global_.Cytoband->LoadFrom(global_.DataFolder());
    const std::int32_t rows = qova::core::kArrayFamilies[kSmallFamily].snpCount;
    global_.BasicData[kSmallFamily].Allocate(rows, 0);
    global_.BasicData[kSmallFamily].LoadFile(global_.DataFolder() + datagen::AnnotationFileName(kSmallFamily), rows);
  }

  CProgramSetting& Setting() { return *global_.ProgramSetting; }
  [[nodiscard]] std::string ArrayFolder() const { return Root() + "ArrayData/"; }
  [[nodiscard]] std::string ResultFolder() const { return Root() + "Results/"; }
  [[nodiscard]] std::string SamplePath(const std::string& name) const { return ArrayFolder() + name + ".CFH"; }
  [[nodiscard]] std::string ResultPath(const std::string& file) const { return ResultFolder() + file; }
  const CBasicData& Annotation() const { return global_.BasicData[kSmallFamily]; }

  // A study of the small type: test `testName` ("Test01"), its normal
  // "<testName>N" when `withSelf`, and `references` unrelated references
  // "Ref01", ... which the test's header lists.
  static samplegen::StudySpec Study(int references, bool withSelf = true, const char* testName = "Test01") {
    samplegen::StudySpec spec;
    spec.ArrayType = kSmallType;
    spec.Seed = 7;
    spec.TestName = testName;
    spec.WithSelfReference = withSelf;
    spec.NonSelfReferences = references;
    return spec;
  }
  samplegen::Study WriteStudy(const samplegen::StudySpec& spec) {
    return samplegen::WriteStudy(ArrayFolder(), Annotation(), spec);
  }
  samplegen::Study WriteStudy(int references, bool withSelf = true) { return WriteStudy(Study(references, withSelf)); }

  // One more sample of the small type, written as <name>.CFH.
  CArrayData WriteSample(const samplegen::SampleSpec& spec, std::uint64_t seed = 7) {
    samplegen::SampleGenerator generator(kSmallType, Annotation(), seed);
    CArrayData sample = generator.Make(spec);
    sample.StoreFile(SamplePath(spec.Name));
    return sample;
  }

  [[nodiscard]] CArrayData LoadSample(const std::string& name) const {
    CArrayData sample;
    sample.LoadFile(SamplePath(name));
    return sample;
  }

  [[nodiscard]] static bool Exists(const std::string& path) { return platform::FileExists(path); }

  // The lines of the error log ("c:\errorlog.txt" under the drive root).
  [[nodiscard]] std::vector<std::string> ErrorLogLines() const {
    std::string bytes;
    if (!platform::ReadWholeFile(Root() + "errorlog.txt", bytes)) return {};
    return platform::SplitLines(bytes);
  }

  [[nodiscard]] static std::string Bytes(const std::string& path) {
    std::string bytes;
    // A file that is not there reads as empty.
    static_cast<void>(platform::ReadWholeFile(path, bytes));
    return bytes;
  }

  CGlobalData global_;
  platform::ScopedRecordingSink messages_;
};

// Records the refreshes that stores send to a document showing one sample,
// in the order of the stores.
class StoreSpy : public ISampleDocument {
 public:
  StoreSpy(std::string name, bool isSelf, std::string status = kDocumentStatusAnalysis)
      : name_(std::move(name)), isSelf_(isSelf), status_(std::move(status)) {}

  [[nodiscard]] std::string GetStatus() const override { return status_; }
  [[nodiscard]] std::string GetExtractedSampleName() const override { return name_; }
  [[nodiscard]] std::string GetAnalyzedSampleName() const override { return name_; }
  [[nodiscard]] bool GetAnalyzedIsSelf() const override { return isSelf_; }
  void RefreshSampleData(const CArrayData& stored) override { events.push_back("sample " + stored.Header.SampleName); }
  void SetAnalyzedData(const CAnalyzedData& stored) override {
    events.push_back("result " + stored.Header.SampleName);
  }

  std::vector<std::string> events;

 private:
  std::string name_;
  bool isSelf_;
  std::string status_;
  qova::core::ScopedSampleDocument registration_{this};
};

// A main document on the generated folders, with a headless user interface.
class DocumentTest : public SampleFolderTest {
 protected:
  DocumentTest() : application_(global_) {
    platform::ui::SetBackend(nullptr);
    platform::ui::Headless().Reset();
    platform::ui::ClearMessageQueue();
    doc_ = std::make_unique<CQOVADoc>();
  }
  ~DocumentTest() override {
    doc_.reset();
    platform::ui::Headless().Reset();
    platform::ui::ClearMessageQueue();
  }

  CQOVADoc& Doc() { return *doc_; }
  platform::ui::HeadlessUi& Ui() { return platform::ui::Headless(); }
  // Sends a command to the document as the menus do.
  void Run(UINT id) { platform::ui::DispatchCommand(*doc_, id); }
  [[nodiscard]] bool Enabled(UINT id) {
    CCmdUI update(id);
    update.DoUpdate(doc_.get(), TRUE);
    return update.m_bEnabled != FALSE;
  }
  [[nodiscard]] std::vector<std::string> Messages() const { return messages_.Texts(); }
  [[nodiscard]] bool ShowedDialog(UINT templateId) const {
    for (const auto& shown : platform::ui::Headless().ShownDialogs()) {
      if (shown.templateId == templateId) return true;
    }
    return false;
  }

  qova::document::ScopedApplicationData application_;
  std::unique_ptr<CQOVADoc> doc_;
};

}  // namespace qova::test
