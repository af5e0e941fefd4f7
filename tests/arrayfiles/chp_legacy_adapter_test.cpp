// The unified CHP adapters over legacy files.
#include <gtest/gtest.h>

#include "arrayfiles/unified/LegacyCHPDataAdapter.h"
#include "tests/arrayfiles/chp_test_files.h"
#include "tests/support/TempHome.h"

namespace {

using unified_io::LegacyCHPDataAdapter;

class LegacyChpAdapterTest : public qova::test::TempHomeTest {
 protected:
  // Writes the file and reads it through a fresh adapter.
  bool Load(const std::string& bytes) {
    EXPECT_TRUE(arraywriters::WriteBytes(Path("legacy.chp"), bytes));
    adapter.SetFileName(Path("legacy.chp"));
    return adapter.Read();
  }
  unified_io::IUnifiedCHPHeaderAdapter& Header() { return *adapter.GetHeader(); }

  LegacyCHPDataAdapter adapter;
};

TEST_F(LegacyChpAdapterTest, GenotypingResultsAreCopiedInOrder) {
  ASSERT_TRUE(Load(chptest::XdaGenotyping().Bytes()));
  unified_io::UnifiedGenotypeProbeSetResults r;
  ASSERT_TRUE(adapter.GetGenotypingResults(1, r));
  EXPECT_EQ(r.alleleCall, 7);
  EXPECT_EQ(r.GetAssignmentCallString(), "B");
  std::vector<float> values = {r.value1, r.value2, r.value3, r.value4, r.value5, r.value6, r.value7};
  EXPECT_EQ(values, (std::vector<float>{0.5f, 1.5f, 2.5f, 1.5f, 2.5f, 3.5f, 4.5f}));
  const char* calls[] = {"A", "B", "AB"};
  for (int i = 0; i < 3; ++i) {
    unified_io::UnifiedGenotypeProbeSetResults each;
    ASSERT_TRUE(adapter.GetGenotypingResults(i, each));
    EXPECT_EQ(each.GetAssignmentCallString(), calls[i]);
  }
}

TEST_F(LegacyChpAdapterTest, WrongKindOrIndexLeavesTheRecordUntouched) {
  ASSERT_TRUE(Load(chptest::XdaGenotyping().Bytes()));
  unified_io::UnifiedExpressionProbeSetResults expression;
  expression.value1 = 42.0f;
  EXPECT_FALSE(adapter.GetExpressionResults(0, expression));
  EXPECT_EQ(expression.value1, 42.0f);
  unified_io::UnifiedUniversalProbeSetResults universal;
  EXPECT_FALSE(adapter.GetUniversalResults(0, universal));
  unified_io::UnifiedResequencingResults reseq;
  EXPECT_FALSE(adapter.GetResequencingResults(reseq));
  for (int index : {-1, 3, 1000000}) {
    unified_io::UnifiedGenotypeProbeSetResults r;
    r.alleleCall = 99;
    r.value7 = -1.0f;
    EXPECT_FALSE(adapter.GetGenotypingResults(index, r));
    EXPECT_EQ(r.alleleCall, 99);
    EXPECT_EQ(r.value7, -1.0f);
  }
}

TEST_F(LegacyChpAdapterTest, HeaderIsWidenedFromTheLegacyHeader) {
  ASSERT_TRUE(Load(chptest::XdaGenotyping().Bytes()));
  EXPECT_EQ(Header().GetCols(), 2560);
  EXPECT_EQ(Header().GetRows(), 2561);
  EXPECT_EQ(Header().GetNumProbeSets(), 3);
  EXPECT_EQ(Header().GetAssayType(), unified_io::kAssayGenotyping);
  EXPECT_EQ(Header().GetChipType(), u"Mapping50K_Xba240");
  EXPECT_EQ(Header().GetAlgName(), u"Brlmm");
  EXPECT_EQ(Header().GetAlgVersion(), u"1.0");
  EXPECT_EQ(Header().GetParentCellFile(), u"C:\\data\\S01.CEL");
  EXPECT_EQ(Header().GetProgID(), u"Prog.Id.1");
  EXPECT_EQ(Header().GetMagic(), 65);
  EXPECT_EQ(Header().GetVersion(), 2);
  EXPECT_EQ(Header().GetNumAlgorithmParameters(), 2);
  EXPECT_EQ(Header().GetNumSummaryParameters(), 2);
  EXPECT_EQ(Header().GetAlgorithmParameter(u"Threshold"), u"0.5");
  EXPECT_EQ(Header().GetSummaryParameter(u"CalledGender"), u"F");
  EXPECT_EQ(Header().GetSummaryParameter(u"Gender"), u"");
  EXPECT_EQ(adapter.GetProbeSetName(0), "");
  EXPECT_EQ(adapter.GetFileId(), "");
  EXPECT_EQ(adapter.GetGenericData(), nullptr);
  EXPECT_EQ(adapter.GetFileName(), Path("legacy.chp"));
}

TEST_F(LegacyChpAdapterTest, ExpressionUniversalAndResequencingResults) {
  ASSERT_TRUE(Load(chptest::XdaExpression(3).Bytes()));
  unified_io::UnifiedExpressionProbeSetResults e;
  ASSERT_TRUE(adapter.GetExpressionResults(1, e));
  EXPECT_FLOAT_EQ(e.value1, 11.25f);
  EXPECT_EQ(e.count1, 40000);
  EXPECT_TRUE(e.hasExtendedFields);
  EXPECT_EQ(e.count3, 65535);
  EXPECT_EQ(e.code2, 22);

  arraywriters::XdaChpFile universal = chptest::XdaHeader();
  universal.assayType = arraywriters::kChpUniversal;
  universal.universal = {7.5f};
  ASSERT_TRUE(Load(universal.Bytes()));
  unified_io::UnifiedUniversalProbeSetResults u;
  ASSERT_TRUE(adapter.GetUniversalResults(0, u));
  EXPECT_FLOAT_EQ(u.value, 7.5f);

  ASSERT_TRUE(Load(chptest::XdaResequencing().Bytes()));
  unified_io::UnifiedResequencingResults r;
  ASSERT_TRUE(adapter.GetResequencingResults(r));
  ASSERT_TRUE(adapter.GetResequencingResults(r));
  EXPECT_EQ(r.calledBases.size(), 10u);
  EXPECT_EQ(r.scores.size(), 10u);
  ASSERT_EQ(r.forceCalls.size(), 4u);
  EXPECT_EQ(r.forceCalls[1].position, -7);
  ASSERT_EQ(r.origCalls.size(), 2u);
  EXPECT_EQ(r.origCalls[0].call, 'T');
}

TEST_F(LegacyChpAdapterTest, FailedReadLeavesTheAdapterClearedWithItsReason) {
  ASSERT_TRUE(Load(chptest::XdaGenotyping().Bytes()));
  arraywriters::XdaChpFile bad = chptest::XdaGenotyping();
  bad.version = 3;
  EXPECT_FALSE(Load(bad.Bytes()));
  EXPECT_EQ(Header().GetNumProbeSets(), 0);
  EXPECT_EQ(adapter.GetError(), legacy_chp::messages::kUnsupportedXdaVersion);
  EXPECT_FALSE(adapter.ReadHeader());
  arraywriters::XdaChpFile unknown = chptest::XdaGenotyping();
  unknown.assayType = 5;
  ASSERT_TRUE(arraywriters::WriteBytes(Path("legacy.chp"), unknown.Bytes()));
  EXPECT_TRUE(adapter.ReadHeader());
  EXPECT_EQ(Header().GetAssayType(), 5);
  EXPECT_FALSE(adapter.Read());
}

TEST(UnifiedGenotypeCallTest, OnlySixSevenAndEightAreCalls) {
  for (int code = 0; code < 256; ++code) {
    unified_io::UnifiedGenotypeProbeSetResults r;
    r.alleleCall = std::uint8_t(code);
    std::string expected = code == 6 ? "A" : code == 7 ? "B" : code == 8 ? "AB" : "No Call";
    EXPECT_EQ(r.GetAssignmentCallString(), expected) << code;
  }
  EXPECT_EQ(unified_io::UnifiedGenotypeProbeSetResults().GetAssignmentCallString(), "No Call");
}

}  // namespace
