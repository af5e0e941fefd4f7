// The legacy CHP reader on files of the older "BioArray Sequence File" form.
#include <gtest/gtest.h>

#include "arrayfiles/chp/LegacyCHPFile.h"
#include "tests/arrayfiles/chp_test_files.h"

namespace {

using arraywriters::OlderChpFile;
namespace messages = legacy_chp::messages;

using LegacyChpOlderTest = chptest::LegacyChpReaderTest;

TEST_F(LegacyChpOlderTest, HeaderComesOutFieldByField) {
  ASSERT_TRUE(ReadFile(chptest::OlderGenotyping(13))) << chp.errorText;
  const legacy_chp::CLegacyCHPHeader& h = chp.header;
  EXPECT_EQ(h.magic, 0);
  EXPECT_EQ(h.version, 13);
  EXPECT_EQ(h.algorithmName, "Genotyping");
  EXPECT_EQ(h.algorithmVersion, "2.0");
  EXPECT_EQ(h.rows, 712);
  EXPECT_EQ(h.cols, 713);
  EXPECT_EQ(h.numProbeSets, 3);
  EXPECT_EQ(h.assayType, legacy_chp::kGenotyping);
  EXPECT_EQ(h.chipType, "Mapping10K_Xba131");
  EXPECT_EQ(h.parentCelFile, "S02.CEL");
  EXPECT_EQ(h.progId, "Older.Prog");
  EXPECT_TRUE(h.zones.empty());
  EXPECT_EQ(h.GetSummaryParameter("CalledGender"), "M");
  EXPECT_EQ(h.GetSummaryParameter("Call"), "rate 97");
  EXPECT_EQ(h.GetAlgorithmParameter("NF"), "1.0");
}

TEST_F(LegacyChpOlderTest, VersionRulesHoldPerAssayAlsoForHeaders) {
  struct Case {
    std::int32_t version;
    std::int32_t firstType;
    bool reads;
  } cases[] = {
      {11, arraywriters::kOlderExpressionType, false},
      {12, arraywriters::kOlderExpressionType, true},
      {11, arraywriters::kOlderGenotypingType, false},
      {12, arraywriters::kOlderGenotypingType, true},
      {9, arraywriters::kOlderUniversalType, false},
      {10, arraywriters::kOlderUniversalType, true},
      {11, arraywriters::kOlderResequencingType, true},
      {3, arraywriters::kOlderResequencingType, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.version << " type " << c.firstType);
    OlderChpFile file = chptest::OlderExpression(c.version);
    file.probeSetTypes = {c.firstType};
    file.genotyping = chptest::OlderGenotyping(c.version).genotyping;
    file.universal = chptest::OlderUniversal(c.version).universal;
    file.cellCounts = {1, 1};
    file.calledBases = {'A'};
    for (bool headerOnly : {true, false}) {
      EXPECT_EQ(ReadFile(file, headerOnly), c.reads) << chp.errorText;
      if (!c.reads) {
        EXPECT_EQ(chp.errorText, messages::kUnsupportedOlderVersion);
      }
    }
  }
}

TEST_F(LegacyChpOlderTest, AssayComesFromTheFirstTypeUnlessThereAreNoProbeSets) {
  struct Case {
    std::vector<std::int32_t> types;
    std::int32_t probeSets;
    std::int32_t assay;
  } cases[] = {
      {{1}, 2, legacy_chp::kResequencing}, {{2}, 2, legacy_chp::kGenotyping},
      {{3, 2}, 2, legacy_chp::kExpression}, {{7}, 2, legacy_chp::kUniversal},
      {{4}, 2, legacy_chp::kUnknown},      {{}, 2, legacy_chp::kUnknown},
      {{2}, 0, legacy_chp::kResequencing}, {{3}, 0, legacy_chp::kResequencing},
  };
  for (const Case& c : cases) {
    OlderChpFile file = chptest::OlderHeader(13, 0);
    file.probeSetTypes = c.types;
    file.numProbeSets = c.probeSets;
    ASSERT_TRUE(ReadFile(file, true)) << chp.errorText;
    EXPECT_EQ(chp.header.assayType, c.assay);
  }
}

TEST_F(LegacyChpOlderTest, UnknownAssayFailsOnlyTheFullRead) {
  OlderChpFile file = chptest::OlderHeader(13, 5);
  file.numProbeSets = 1;
  EXPECT_TRUE(ReadFile(file, true));
  EXPECT_FALSE(ReadFile(file));
  EXPECT_EQ(chp.errorText, messages::kUnsupportedAssay);
}

TEST_F(LegacyChpOlderTest, GenotypeRecordsWithAndWithoutACall) {
  for (std::int32_t version : {12, 13}) {
    SCOPED_TRACE(version);
    ASSERT_TRUE(ReadFile(chptest::OlderGenotyping(version))) << chp.errorText;
    ASSERT_EQ(chp.results.size(), 3u);
    const auto& first = At<legacy_chp::CGenotypeProbeSetResults>(0);
    EXPECT_EQ(first.call, 6);
    EXPECT_FLOAT_EQ(first.value1, 0.25f);
    EXPECT_FLOAT_EQ(first.value2, 1.5f);
    EXPECT_FLOAT_EQ(first.value3, 2.5f);
    EXPECT_FLOAT_EQ(first.value4, 0.0f);
    const auto& uncalled = At<legacy_chp::CGenotypeProbeSetResults>(1);
    EXPECT_EQ(uncalled.call, legacy_chp::kOlderFormNoCall);
    for (float v : {uncalled.value1, uncalled.value2, uncalled.value3, uncalled.value4,
                    uncalled.value5, uncalled.value6, uncalled.value7}) {
      EXPECT_EQ(v, 0.0f);
    }
    const auto& last = At<legacy_chp::CGenotypeProbeSetResults>(2);
    EXPECT_EQ(last.call, 8);
    EXPECT_FLOAT_EQ(last.value1, -1.125f);
    EXPECT_FLOAT_EQ(last.value3, 4.0f);
  }
}

TEST_F(LegacyChpOlderTest, ExpressionRecordsOfVersionTwelveAndLater) {
  for (std::int32_t version : {12, 13}) {
    SCOPED_TRACE(version);
    ASSERT_TRUE(ReadFile(chptest::OlderExpression(version))) << chp.errorText;
    ASSERT_EQ(chp.results.size(), 2u);
    const auto& a = At<legacy_chp::CExpressionProbeSetResults>(0);
    EXPECT_EQ(a.count1, 2);
    EXPECT_EQ(a.count2, 9);
    EXPECT_FLOAT_EQ(a.value1, 1.5f);
    EXPECT_FLOAT_EQ(a.value2, 2.5f);
    EXPECT_EQ(a.code1, 3);
    EXPECT_TRUE(a.hasExtendedFields);
    EXPECT_EQ(a.count3, 4);
    EXPECT_EQ(a.code2, 5);
    EXPECT_FLOAT_EQ(a.value3, 0.125f);
    EXPECT_FLOAT_EQ(a.value4, 4.25f);
    EXPECT_FLOAT_EQ(a.value5, -5.5f);
    EXPECT_FLOAT_EQ(a.value6, 6.75f);
    const auto& b = At<legacy_chp::CExpressionProbeSetResults>(1);
    EXPECT_FALSE(b.hasExtendedFields);
    EXPECT_FLOAT_EQ(b.value2, 8.0f);
    EXPECT_EQ(b.code1, 9);
    EXPECT_EQ(b.count3, 0);
  }
}

TEST_F(LegacyChpOlderTest, WrongMagicTextIsNotTheFormat) {
  std::string bytes = chptest::OlderGenotyping(13).Bytes();
  bytes[8] = 's';
  const std::string expected = std::string(messages::kWrongFormat) +
                               " CHP file: at offset 0 the file begins with neither the XDA number 65 nor "
                               "\"BioArray Sequence File\".";
  EXPECT_FALSE(ReadBytes(bytes));
  EXPECT_EQ(chp.errorText, expected);
  for (const std::string& junk : {std::string(), std::string("BioArray"), std::string(300, 'x')}) {
    EXPECT_FALSE(ReadBytes(junk));
    EXPECT_EQ(chp.errorText, expected);
  }
}

TEST_F(LegacyChpOlderTest, LyingCountsFailSayingWhichAndWhere) {
  OlderChpFile file = chptest::OlderGenotyping(13);
  const std::size_t sizes = 22 + 4 + 4 * 4 + file.algorithmName.size() + file.algorithmVersion.size() +
                            file.algorithmParameterText.size() + file.summaryParameterText.size();
  const std::string counts = " at offset " + std::to_string(sizes + 8);
  OlderChpFile headerOnly = file;
  headerOnly.numProbeSets = 3;
  headerOnly.genotyping.clear();
  const std::size_t records = headerOnly.Bytes().size();
  struct Case {
    const char* what;
    std::size_t offset;
    std::int32_t value;
    std::string why;  // after the format message
  } cases[] = {
      {"algorithm name longer than the file", 26, 0x7FFFFFFF, "the algorithm name at offset 26 runs past the end"},
      {"negative algorithm name length", 26, -1, "the algorithm name at offset 26 runs past the end"},
      {"probe-set count beyond the file", sizes + 8, 50000000,
       "the 50000000 probe sets and 2 probe-set types" + counts + " do not fit the "},
      {"negative probe-set count", sizes + 8, -2,
       "the probe-set count -2 and probe-set type count 2" + counts + " are not counts"},
      {"type count beyond the file", sizes + 12, 50000000,
       "the 3 probe sets and 50000000 probe-set types" + counts + " do not fit the "},
      {"entries of the first record beyond the file", records, 50000000,
       "the genotyping record 0 of 3 at offset " + std::to_string(records) + " runs past the end"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string bytes = file.Bytes();
    chptest::PatchInt32(bytes, c.offset, c.value);
    EXPECT_FALSE(ReadBytes(bytes));
    EXPECT_TRUE(chp.errorText.starts_with(std::string(messages::kWrongFormat) + " CHP file: " + c.why))
        << chp.errorText;
    EXPECT_TRUE(chp.results.empty());
  }
}

TEST_F(LegacyChpOlderTest, EveryCutShortFileFailsSayingWhereItEnds) {
  for (const OlderChpFile& file :
       {chptest::OlderGenotyping(12), chptest::OlderExpression(12), chptest::OlderExpression(13),
        chptest::OlderUniversal(12), chptest::OlderResequencing(13, "xy")}) {
    ExpectEveryCutRefused(file.Bytes());
  }
}

}  // namespace
