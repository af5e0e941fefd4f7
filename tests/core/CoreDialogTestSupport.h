#pragma once
// What the tests of the core dialogs share: a temporary drive root with an
// array-data folder of a generated study and an empty result folder, the
// generated annotation of the small family, a clean headless user interface
// and a recording message sink.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/ArrayTypes.h"
#include "core/BasicData.h"
#include "platform/File.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/ui/Backend.h"
#include "platform/ui/Headless.h"
#include "platform/ui/Resources.h"
#include "tests/support/TempHome.h"
#include "tools/datagen/DataGen.h"
#include "tools/samplegen/SampleGen.h"

namespace qova::test {

inline constexpr const char* kDialogSampleType = "Mapping10K_Xba131";

class CoreDialogTest : public TempHomeTest {
 protected:
  CoreDialogTest() {
    platform::ui::SetBackend(nullptr);
    platform::ui::Headless().Reset();
    platform::ui::ClearMessageQueue();
    platform::ui::Resources::Instance().Clear();
    EXPECT_TRUE(platform::CreateFolders(ArrayFolder()));
    EXPECT_TRUE(platform::CreateFolders(ResultFolder()));
  }
  ~CoreDialogTest() override {
    platform::ui::Headless().Reset();
    platform::ui::ClearMessageQueue();
    platform::ui::Resources::Instance().Clear();
  }

  [[nodiscard]] std::string ArrayFolder() const { return Root() + "ArrayData/"; }
  [[nodiscard]] std::string ResultFolder() const { return Root() + "Results/"; }
  platform::ui::HeadlessUi& Ui() { return platform::ui::Headless(); }
  [[nodiscard]] std::vector<std::string> Messages() const { return messages_.Texts(); }

  // The generated annotation of the small family, made once per test run.
  static const CBasicData& Annotation() {
    static const CBasicData table = datagen::MakeAnnotation(ArrayClassIndex(kDialogSampleType));
    return table;
  }

  // A study of the small type in the array-data folder: "Test01", its normal
  // "Test01N" and `references` unrelated references.
  samplegen::Study WriteStudy(int references = 3) {
    samplegen::StudySpec spec;
    spec.ArrayType = kDialogSampleType;
    spec.Seed = 11;
    spec.NonSelfReferences = references;
    return samplegen::WriteStudy(ArrayFolder(), Annotation(), spec);
  }

  [[nodiscard]] static std::string Bytes(const std::string& path) {
    std::string bytes;
    // A file that is not there reads as empty.
    static_cast<void>(platform::ReadWholeFile(path, bytes));
    return bytes;
  }

  platform::ScopedRecordingSink messages_;
};

}  // namespace qova::test
