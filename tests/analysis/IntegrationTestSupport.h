#pragma once
// What the integration tests share: a generated data folder (families 0 and
// 2: a small single type and a combined type) loaded into the data object,
// a result folder named in the settings, and analysed samples built by hand
// and stored with the program's own writer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/IntegrationData.h"
#include "core/AnalyzedData.h"
#include "core/ArrayData.h"
#include "core/ArrayTypes.h"
#include "core/GlobalData.h"
#include "core/MarkerRegion.h"
#include "core/ProgramSetting.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "tests/support/TempHome.h"
#include "tools/datagen/DataGen.h"

namespace qova::test {

class IntegrationTest : public TempHomeTest {
 protected:
  static constexpr const char* kSmallType = "Mapping10K_Xba131";
  static constexpr const char* kCombinedType = "Mapping50K_Hind+Xba";

  IntegrationTest() {
    datagen::WriteDataFolder(Root() + "data/", {0, 2});
    Setting().StartFolder = Root();
    Setting().DefaultAnalysisResultFolder = ResultFolder();
    EXPECT_TRUE(platform::CreateFolders(ResultFolder()));
    global_.Cytoband->LoadFrom(global_.DataFolder());
    for (int family : {0, 2}) {
      const std::int32_t rows = qova::core::kArrayFamilies[std::size_t(family)].snpCount;
      CBasicData& table = global_.BasicData[family];
      table.Allocate(rows, qova::core::kArrayFamilies[std::size_t(family)].extended ? 1 : 0);
      table.LoadFile(global_.DataFolder() + datagen::AnnotationFileName(family), rows);
    }
  }

  CProgramSetting& Setting() { return *global_.ProgramSetting; }
  [[nodiscard]] std::string ResultFolder() const { return Root() + "Results/"; }

  // A result of `type` with every SNP valid, in state 2 and without LOH.
  [[nodiscard]] CAnalyzedData NormalSample(const std::string& name, AnalysisKind kind,
                                           const char* type = kSmallType) const {
    CArrayData extracted(name, type, global_.TypeInfo(ArrayTypeIndex(type)), CTime::GetCurrentTime());
    CAnalyzedData sample(extracted, kind);
    sample.IsSelf = kind == AnalysisKind::Self;
    sample.Header.SelfAnalyzed = sample.IsSelf;
    std::fill(sample.CopyNumberState.begin(), sample.CopyNumberState.end(), 2);
    return sample;
  }

  // Stores `sample` in the result folder and returns its file name.
  [[nodiscard]] std::string Store(CAnalyzedData& sample, AnalysisKind kind) const {
    const std::string file = sample.Header.SampleName + AnalysisFileExtension(kind);
    sample.StoreFile(ResultFolder() + file);
    return file;
  }

  // SNP index k of chromosome c of `type`.
  [[nodiscard]] std::int32_t Snp(int c, std::int32_t k, const char* type = kSmallType) const {
    return global_.ArrayChromosomeStarts[ArrayTypeIndex(type)][c] + k;
  }
  [[nodiscard]] std::int32_t SnpsOf(int c, const char* type = kSmallType) const {
    return Snp(c + 1, 0, type) - Snp(c, 0, type);
  }
  static void SetStates(CAnalyzedData& sample, std::int32_t first, std::int32_t last, std::int32_t state) {
    std::fill(sample.CopyNumberState.begin() + first, sample.CopyNumberState.begin() + last + 1, state);
  }

  // Base position of SNP index i of a single type, from its annotation row.
  [[nodiscard]] std::int32_t Pos(std::int32_t i, const char* type = kSmallType) const {
    const CBasicData& table = global_.BasicData[ArrayClassIndex(type)];
    return table.Position[std::size_t(table.IndexMap[std::size_t(i)])];
  }
  [[nodiscard]] std::int32_t Mid(std::int32_t a, std::int32_t b) const {
    return static_cast<std::int32_t>((std::int64_t(Pos(a)) + Pos(b)) / 2);
  }
  // The last base of chromosome c's last band.
  [[nodiscard]] std::int32_t ChromosomeEnd(int c) const {
    return global_.Cytoband->BandEnd[std::size_t(global_.Cytoband->ChromosomeFirstBand[c + 1] - 1)];
  }

  [[nodiscard]] IntegrationData Integration(const std::string& mode, std::int32_t minRun = 5) const {
    IntegrationData data(global_);
    data.Mode = mode;
    data.Order = "ID";
    data.Title = "test";
    data.MinRun = minRun;
    return data;
  }

  CGlobalData global_;
  platform::ScopedRecordingSink messages_;
};

}  // namespace qova::test
