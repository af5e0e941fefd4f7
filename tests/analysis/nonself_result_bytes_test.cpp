// The stored results of whole non-self analyses, byte for byte: the .CFA or
// .CFN file and the sample file stored with it, against fingerprints of the
// files that an earlier, plainer form of the engine wrote for the same
// generated study. Any change of the engine's arithmetic, of its order of
// operations or of which SNPs a step reads shows up here, also where the
// value-level tests' tolerances would let it pass. A deliberate change of the
// results has to make new fingerprints (the failure prints them).
#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/File.h"
#include "platform/Paths.h"
#include "platform/Time.h"
#include "tests/analysis/AnalysisDriver.h"
#include "tests/analysis/AnalysisTestSupport.h"

namespace qova::test {
namespace {

// 64-bit FNV-1a of a file's bytes, as 16 hex digits ("missing" when it cannot
// be read).
std::string Fingerprint(const std::string& path) {
  std::string bytes;
  if (!platform::ReadWholeFile(path, bytes)) return "missing";
  std::uint64_t hash = 0xcbf29ce484222325ull;
  for (const char c : bytes) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 0x100000001b3ull;
  }
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
  return text;
}

struct ResultCase {
  const char* Name;
  const char* ArrayType;
  bool Alleles;
  bool AutoAi;
  float LeakageRate;        // 0: no allele-leakage compensation
  int RegressionMode;
  int BaselineCopies;       // the test's non-self base range: 2 leaves the ratios, else mode 1 shifts them
  bool DamagedReference;    // Ref02 with zero signals and dropped calls at some SNPs
  const char* Result;       // fingerprint of the .CFA or .CFN file
  const char* Sample;       // and of the .CFH stored after it
};

// The 50K Xba type starts at row 57,244 of its family's table, so a step that
// mixes up row and position indexes reads the wrong SNPs there.
const ResultCase kCases[] = {
    {"AlleleSpecific10K", "Mapping10K_Xba131", true, true, 0.0f, 0, 2, false, "7d8be424e3dd1a00",
     "af1e970264f97a88"},
    {"AlleleSpecificOffsetRows", "Mapping50K_Xba240", true, true, 0.0f, 0, 2, false, "8d7bddd49f4ba7d0",
     "9489045a85f2e1c8"},
    {"AlleleSpecificLeakageMeanOnly", "Mapping50K_Xba240", true, false, 0.08f, 3, 3, false, "04f97fe7223795d5",
     "0278e8a330faaf8e"},
    {"AlleleSpecificDamagedReference", "Mapping10K_Xba131", true, true, 0.0f, 1, 2, true, "46f16f7e3677e10a",
     "37393f57b7c7da72"},
    {"Total10K", "Mapping10K_Xba131", false, false, 0.0f, 0, 2, true, "b542fbc69f7f027c",
     "b0db01ffa1a0b71b"},
    {"TotalOffsetRows", "Mapping50K_Xba240", false, false, 0.0f, 0, 3, false, "0dd0cbf6b6a32539",
     "0278e8a330faaf8e"},
};

class NonSelfBytesTest : public AnalysisTest {
 protected:
  // The stores stamp their save time into the headers.
  NonSelfBytesTest() { platform::SetClock([]() -> std::int64_t { return 1200000000; }); }
  ~NonSelfBytesTest() override { platform::SetClock(nullptr); }

  std::string ResultFolder() const { return Root() + "Results/"; }

  // Zero signals of either allele and no-calls at every 97th row, so that
  // infinite ratios and SNPs without a reference call run through every step.
  void DamageReference(const std::string& name) {
    CArrayData reference = LoadSample(name);
    for (std::size_t j = 0; j < reference.Call.size(); j += 97) {
      switch ((j / 97) % 3) {
        case 0: reference.SignalA[j] = 0.0f; break;
        case 1: reference.SignalB[j] = 0.0f; break;
        default: reference.Call[j] = kCallNone; break;
      }
    }
    reference.StoreFile(ArrayFolder() + name + ".CFH");
  }

  // A test sample with a copy-neutral LOH and a gain, and five references.
  samplegen::Study WriteFiveReferenceStudy(const char* arrayType) {
    const int type = ArrayTypeIndex(arrayType);
    const std::int32_t chr2 = qova::core::kArrayChromosomeStarts[type][2], chr4 = qova::core::kArrayChromosomeStarts[type][4];
    samplegen::StudySpec spec;
    spec.ArrayType = arrayType;
    spec.Seed = 29;
    spec.WithSelfReference = false;
    spec.NonSelfReferences = 5;
    spec.Segments = {samplegen::CopyNeutralLohSegment(2, chr2 + 150, chr2 + 700),
                     samplegen::CopyNumberSegment(4, chr4 + 100, chr4 + 450, 3)};
    return WriteStudy(spec);
  }
};

class NonSelfResultBytesTest : public NonSelfBytesTest, public ::testing::WithParamInterface<ResultCase> {};

TEST_P(NonSelfResultBytesTest, StoredFilesKeepTheirBytes) {
  const ResultCase& c = GetParam();
  ASSERT_TRUE(platform::CreateFolders(ResultFolder()));
  const samplegen::Study study = WriteFiveReferenceStudy(c.ArrayType);
  if (c.DamagedReference) DamageReference("Ref02");

  CProgramSetting& setting = Setting();
  setting.NONSELFALLELE = c.Alleles ? 1 : 0;
  setting.AUTOAI = c.AutoAi ? 1 : 0;
  setting.MorekomiCompensation = c.LeakageRate != 0.0f ? 1 : 0;
  setting.MorekomiRate = c.LeakageRate;
  setting.RegressionMode = c.RegressionMode;
  CArrayData test = LoadSample(study.Test.Name);
  test.Header.NonSelfBaseRange[kBaseMode] = 1;
  test.Header.NonSelfBaseRange[kBaseCopyNumber] = c.BaselineCopies;

  const AnalysisDriver driver(global_, ArrayFolder(), ResultFolder());
  CAnalyzedData analyzed;
  ASSERT_EQ(driver.NonSelfAnalysis(test, Annotation(ArrayClassIndex(c.ArrayType)), analyzed), 0);
  const AnalysisKind kind = c.Alleles ? AnalysisKind::NonSelfAllele : AnalysisKind::NonSelf;
  EXPECT_EQ(Fingerprint(driver.ResultPath(study.Test.Name, kind)), c.Result);
  EXPECT_EQ(Fingerprint(driver.SamplePath(study.Test.Name)), c.Sample);
}

// The trial of the reference count reuses the non-self steps with a result
// after every candidate: its choice and the ratios it leaves behind.
TEST_F(NonSelfBytesTest, ReferenceCountTrialKeepsItsChoiceAndRatios) {
  const samplegen::Study study = WriteFiveReferenceStudy("Mapping10K_Xba131");
  DamageReference("Ref03");
  Setting().NONSELFALLELE = 1;
  CArrayData test = LoadSample(study.Test.Name);
  CAnalyzedData analyzed = AnalyzedFor(test, false);
  EXPECT_EQ(Engine()->NormalizeForReferenceSelection(test, analyzed, study.NonSelfReferenceNames(), 5, Annotation(0)),
            5);
  const std::string path = Root() + "trial.CFA";
  analyzed.StoreFile(path);
  EXPECT_EQ(Fingerprint(path), "12c1fba76c7f7847");
}

void PrintTo(const ResultCase& c, std::ostream* out) { *out << c.Name; }

INSTANTIATE_TEST_SUITE_P(Studies, NonSelfResultBytesTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<ResultCase>& info) { return info.param.Name; });

}  // namespace
}  // namespace qova::test
