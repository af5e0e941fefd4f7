#pragma once
// What the engine's tests share: a temporary drive root with an array-data
// folder, an application-wide data object whose settings a test may change,
// generated annotation tables, and samples made by the sample generator.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "analysis/Analysis.h"
#include "core/AnalyzedData.h"
#include "core/ArrayData.h"
#include "core/BasicData.h"
#include "core/GlobalData.h"
#include "platform/File.h"
#include "platform/Paths.h"
#include "tests/support/TempHome.h"
#include "tools/datagen/DataGen.h"
#include "tools/samplegen/SampleGen.h"

namespace qova::test {

// Small array types keep most tests fast: 10K Xba131 (family 0) and the
// 50K pair (family 2).
inline constexpr const char* kSmallType = "Mapping10K_Xba131";
inline constexpr int kSmallTypeIndex = 0;

// The generated annotation table of a family, made once per test run.
inline const CBasicData& Annotation(int family) {
  static std::map<int, CBasicData> tables;
  auto it = tables.find(family);
  if (it == tables.end()) it = tables.emplace(family, datagen::MakeAnnotation(family)).first;
  return it->second;
}

class AnalysisTest : public TempHomeTest {
 protected:
  CProgramSetting& Setting() { return *global_.ProgramSetting; }
  [[nodiscard]] std::string ArrayFolder() const { return Root() + "ArrayData/"; }

  // An engine with the array-data folder set, as the document builds one.
  [[nodiscard]] std::unique_ptr<CAnalysis> Engine() {
    auto engine = std::make_unique<CAnalysis>(global_);
    engine->ArrayDataFolder = ArrayFolder();
    engine->ResultFolder = Root() + "Results/";
    return engine;
  }

  // The analysed sample a command makes from an extracted one before it
  // normalises: header copied, every array there, every SNP valid.
  static CAnalyzedData AnalyzedFor(const CArrayData& test, bool self) {
    CAnalyzedData analyzed(test, self ? AnalysisKind::Self : AnalysisKind::NonSelfAllele);
    analyzed.IsSelf = self;
    analyzed.Header.SelfAnalyzed = self;
    return analyzed;
  }

  // Writes `spec`'s samples into the array-data folder.
  samplegen::Study WriteStudy(const samplegen::StudySpec& spec) {
    return samplegen::WriteStudy(ArrayFolder(), Annotation(ArrayClassIndex(spec.ArrayType)), spec);
  }

  static CArrayData Load(const std::string& path) {
    CArrayData sample;
    sample.LoadFile(path);
    return sample;
  }
  [[nodiscard]] CArrayData LoadSample(const std::string& name) const { return Load(ArrayFolder() + name + ".CFH"); }

  // The lines of the mapped error log, "c:\errorlog.txt".
  [[nodiscard]] std::vector<std::string> ErrorLogLines() const {
    std::string bytes;
    if (!platform::ReadWholeFile(Root() + "errorlog.txt", bytes)) return {};
    return platform::SplitLines(bytes);
  }

  CGlobalData global_;
};

// log2 of a double ratio, for expected values.
inline double Log2(double v) { return std::log2(v); }

}  // namespace qova::test
