// sampledump on analysed-sample files: what the reader got, field by field,
// and one row per SNP with every array of the file's layout.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/AnalyzedData.h"
#include "platform/File.h"
#include "platform/Paths.h"
#include "tests/core/SampleBytes.h"
#include "tests/support/TempHome.h"

namespace {

class AnalyzedDumpTest : public qova::test::TempHomeTest {
 protected:
  // Runs the built tool on `name` in the temporary folder, two SNP rows at most.
  std::string Dump(const std::string& name, int& status) {
    return qova::test::RunSampleDump("'" + platform::NativePath(Path(name)) + "' --snps 2", status);
  }

  // A Mapping10K_Xba131 result of `kind` whose first two SNPs hold known values.
  void StoreSample(const std::string& name, AnalysisKind kind) {
    CAnalyzedData d(qova::test::MakeSample("Mapping10K_Xba131", "R01"), kind);
    for (std::int32_t i : {0, 1}) {
      d.LogRatio[i] = 0.25f + i;
      d.CopyNumberState[i] = 3 + i;
      d.CallTest[i] = 2;
      if (!d.LogRatioA.empty()) {
        d.LogRatioA[i] = -0.5f;
        d.LogRatioB[i] = 1.5f;
        d.AlleleStateA[i] = 4;
        d.AlleleStateB[i] = 1;
        d.CallReference[i] = 3;
      }
      if (!d.LohLikelihood.empty()) d.LohLikelihood[i] = 12.5f;
    }
    d.Markers = {{1, 1, 1, 6}};
    d.SampleSD = 0.2f;
    d.MeanState = 2.5f;
    d.StoreFile(Path(name));
  }
};

TEST_F(AnalyzedDumpTest, PrintsEachKindWithTheArraysOfItsLayout) {
  struct Case {
    const char* file;
    AnalysisKind kind;
    std::vector<std::string> lines;
  };
  const std::vector<Case> cases = {
      {"R01.CFN", AnalysisKind::NonSelf,
       {"FileKind: .CFN", "IsSelf: 0", "index\tLogRatio\tCopyNumberState\tValidFlag\tCallTest\tLohLikelihood\t"
                                      "EditedCopyNumberState",
        "0\t0.25\t3\t1\t2\t12.5\t3", "1\t1.25\t4\t1\t2\t12.5\t6"}},
      {"R01.CFA", AnalysisKind::NonSelfAllele,
       {"FileKind: .CFA", "IsSelf: 0",
        "index\tLogRatioA\tLogRatioB\tLogRatio\tCopyNumberState\tAlleleStateA\tAlleleStateB\tValidFlag\tCallTest\t"
        "CallReference\tLohLikelihood\tEditedCopyNumberState",
        "1\t-0.5\t1.5\t1.25\t4\t4\t1\t1\t2\t3\t12.5\t6"}},
      {"R01.CFS", AnalysisKind::Self,
       {"FileKind: .CFS", "IsSelf: 1",
        "index\tLogRatioA\tLogRatioB\tLogRatio\tCopyNumberState\tAlleleStateA\tAlleleStateB\tValidFlag\tCallTest\t"
        "CallReference\tEditedCopyNumberState",
        "0\t-0.5\t1.5\t0.25\t3\t4\t1\t1\t2\t3\t3"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    StoreSample(c.file, c.kind);
    int status = -1;
    const std::string out = "\n" + Dump(c.file, status);
    EXPECT_EQ(status, 0);
    std::vector<std::string> expected = {"kind: analysed sample", "Version: 1.001", "SampleName: R01",
                                         "ArrayType: Mapping10K_Xba131", "MarkerCount: 1", "0\t1\t1\t1\t6",
                                         "AnalysisArrayType: Mapping10K_Xba131", "SampleSD: 0.2",
                                         "MeanState: 2.5", "SnpRecords: 11560", "SnpRowsShown: 2"};
    expected.insert(expected.end(), c.lines.begin(), c.lines.end());
    for (const std::string& line : expected) {
      EXPECT_NE(out.find("\n" + line + "\n"), std::string::npos) << "missing: " << line << "\n" << out;
    }
    EXPECT_EQ(out.find("\n2\t"), std::string::npos) << "only two rows asked for";
  }
}

}  // namespace
