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
#include "platform/File.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "tests/support/TempHome.h"
#include "tools/datagen/DataGen.h"
#include "tools/samplegen/SampleGen.h"

namespace qova::test {

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
    platform::CreateFolders(ArrayFolder());
    platform::CreateFolders(ResultFolder());
    global_.Cytoband->LoadFrom(global_.DataFolder());
    const std::int32_t rows = qova::kArrayFamilies[kSmallFamily].snpCount;
    global_.BasicData[kSmallFamily].Allocate(rows, 0);
    global_.BasicData[kSmallFamily].LoadFile(global_.DataFolder() + datagen::AnnotationFileName(kSmallFamily), rows);
  }

  CProgramSetting& Setting() { return *global_.ProgramSetting; }
  [[nodiscard]] std::string ArrayFolder() const { return Root() + "ArrayData/"; }
  [[nodiscard]] std::string ResultFolder() const { return Root() + "Results/"; }
  [[nodiscard]] std::string SamplePath(const std::string& name) const { return ArrayFolder() + name + ".CFH"; }
  [[nodiscard]] std::string ResultPath(const std::string& file) const { return ResultFolder() + file; }
  const CBasicData& Annotation() const { return global_.BasicData[kSmallFamily]; }

  // A study of the small type: test "Test01", its normal "Test01N" when
  // `withSelf`, and `references` unrelated references "Ref01", ...
  samplegen::Study WriteStudy(int references, bool withSelf = true, std::uint64_t seed = 7,
                              std::vector<samplegen::PlantedSegment> segments = {}) {
    samplegen::StudySpec spec;
    spec.ArrayType = kSmallType;
    spec.Seed = seed;
    spec.WithSelfReference = withSelf;
    spec.NonSelfReferences = references;
    spec.Segments = std::move(segments);
    return samplegen::WriteStudy(ArrayFolder(), Annotation(), spec);
  }

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
    platform::ReadWholeFile(path, bytes);
    return bytes;
  }

  CGlobalData global_;
  platform::ScopedRecordingSink messages_;
};

}  // namespace qova::test
