// The legacy CHP reader on XDA files made by our own writer.
#include <gtest/gtest.h>

#include "arrayfiles/chp/LegacyCHPFile.h"
#include "tests/arrayfiles/chp_test_files.h"
#include "tools/arraywriters/LegacyChpWriters.h"

namespace {

using arraywriters::XdaChpFile;
namespace messages = legacy_chp::messages;

using LegacyChpXdaTest = chptest::LegacyChpReaderTest;

TEST_F(LegacyChpXdaTest, GenotypingHeaderComesOutFieldByField) {
  XdaChpFile file = chptest::XdaGenotyping();
  ASSERT_TRUE(ReadFile(file)) << chp.errorText;
  const legacy_chp::CLegacyCHPHeader& h = chp.header;
  EXPECT_EQ(h.magic, 65);
  EXPECT_EQ(h.version, 2);
  EXPECT_EQ(h.cols, 2560);
  EXPECT_EQ(h.rows, 2561);
  EXPECT_EQ(h.numProbeSets, 3);
  EXPECT_EQ(h.assayType, legacy_chp::kGenotyping);
  EXPECT_EQ(h.progId, "Prog.Id.1");
  EXPECT_EQ(h.parentCelFile, "C:\\data\\S01.CEL");
  EXPECT_EQ(h.chipType, "Mapping50K_Xba240");
  EXPECT_EQ(h.algorithmName, "Brlmm");
  EXPECT_EQ(h.algorithmVersion, "1.0");
  ASSERT_EQ(h.algorithmParameters.size(), 2u);
  EXPECT_EQ(h.algorithmParameters.back().Tag, "Bandwidth");
  EXPECT_EQ(h.algorithmParameters.back().Value, "0.25");
  ASSERT_EQ(h.summaryParameters.size(), 2u);
  EXPECT_EQ(h.GetSummaryParameter("CalledGender"), "F");
  EXPECT_EQ(h.GetAlgorithmParameter("Bandwidth"), "0.25");
  EXPECT_EQ(h.zoneCount, 2);
  EXPECT_FLOAT_EQ(h.smoothFactor, 100.0f);
  ASSERT_EQ(h.zones.size(), 2u);
  EXPECT_FLOAT_EQ(h.GetBackgroundZone(10.0f, 20.0f).background, 55.5f);
  EXPECT_FLOAT_EQ(h.GetBackgroundZone(1.0f, 1.0f).background, 0.0f);
}

TEST_F(LegacyChpXdaTest, GenotypeRecordSizeDecidesTheSevenValues) {
  for (std::int32_t size : {21, 13, 17}) {
    SCOPED_TRACE(size);
    XdaChpFile file = chptest::XdaGenotyping();
    file.genotypeRecordSize = size;
    ASSERT_TRUE(ReadFile(file)) << chp.errorText;
    const auto& r = At<legacy_chp::CGenotypeProbeSetResults>(1);
    EXPECT_EQ(r.call, 7);
    EXPECT_FLOAT_EQ(r.value1, 0.5f);
    EXPECT_FLOAT_EQ(r.value2, 1.5f);
    EXPECT_FLOAT_EQ(r.value3, 2.5f);
    EXPECT_FLOAT_EQ(r.value4, 1.5f);
    EXPECT_FLOAT_EQ(r.value5, 2.5f);
    EXPECT_FLOAT_EQ(r.value6, size == 21 ? 3.5f : 0.0f);
    EXPECT_FLOAT_EQ(r.value7, size == 21 ? 4.5f : 0.0f);
    EXPECT_EQ(At<legacy_chp::CGenotypeProbeSetResults>(2).call, 8);
  }
}

// The records are read a block at a time: calls and values of a file of
// several blocks come out at their own probe sets, with the calls alone too.
TEST_F(LegacyChpXdaTest, GenotypesOfSeveralReadBlocksComeOutAtTheirProbeSets) {
  for (std::int32_t size : {21, 13}) {
    for (bool callsOnly : {false, true}) {
      SCOPED_TRACE(testing::Message() << size << (callsOnly ? " calls only" : " records"));
      XdaChpFile file = chptest::XdaGenotyping();
      file.genotypeRecordSize = size;
      file.genotyping.resize(140000);
      for (std::size_t i = 0; i < file.genotyping.size(); ++i) {
        file.genotyping[i] = {static_cast<std::uint8_t>(i % 251), static_cast<float>(i), 0.5f, 0.25f, 1.0f, 2.0f};
      }
      chp.genotypeCallsOnly = callsOnly;
      ASSERT_TRUE(ReadFile(file)) << chp.errorText;
      for (std::size_t i : {std::size_t(0), std::size_t(65535), std::size_t(65536), std::size_t(131072),
                            std::size_t(139999)}) {
        if (callsOnly) {
          ASSERT_EQ(chp.genotypeCalls.size(), 140000u);
          EXPECT_EQ(chp.genotypeCalls[i], i % 251) << i;
        } else {
          EXPECT_EQ(At<legacy_chp::CGenotypeProbeSetResults>(i).call, i % 251) << i;
          EXPECT_FLOAT_EQ(At<legacy_chp::CGenotypeProbeSetResults>(i).value1, static_cast<float>(i)) << i;
        }
      }
    }
  }
}

TEST_F(LegacyChpXdaTest, VersionsUpToTwoReadAndLaterOnesFail) {
  struct Case {
    std::int32_t version;
    bool reads;
  } cases[] = {{0, true}, {1, true}, {2, true}, {3, false}, {65, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.version);
    XdaChpFile file = chptest::XdaGenotyping();
    file.version = c.version;
    EXPECT_EQ(ReadFile(file), c.reads);
    EXPECT_EQ(ReadFile(file, true), c.reads);
    if (!c.reads) {
      EXPECT_EQ(chp.errorText, messages::kUnsupportedXdaVersion);
    }
  }
}

TEST_F(LegacyChpXdaTest, UnknownAssayReadsAsHeaderButNotInFull) {
  XdaChpFile file = chptest::XdaGenotyping();
  file.assayType = 5;
  ASSERT_TRUE(ReadFile(file, true));
  EXPECT_EQ(chp.header.assayType, 5);
  EXPECT_TRUE(chp.results.empty());
  EXPECT_FALSE(ReadFile(file));
  EXPECT_EQ(chp.errorText, messages::kUnsupportedAssay);
}

TEST_F(LegacyChpXdaTest, HeaderOnlyReadLoadsNoRecords) {
  ASSERT_TRUE(ReadFile(chptest::XdaGenotyping(), true));
  EXPECT_EQ(chp.header.numProbeSets, 3);
  EXPECT_TRUE(chp.results.empty());
}

TEST_F(LegacyChpXdaTest, ExpressionKindsGiveBasicOrExtendedRecords) {
  for (std::uint8_t kind : {2, 3}) {
    SCOPED_TRACE(int(kind));
    XdaChpFile file = chptest::XdaExpression(kind);
    ASSERT_TRUE(ReadFile(file)) << chp.errorText;
    ASSERT_EQ(chp.results.size(), 2u);
    const auto& r = At<legacy_chp::CExpressionProbeSetResults>(1);
    EXPECT_EQ(r.code1, 21);
    EXPECT_FLOAT_EQ(r.value1, 11.25f);
    EXPECT_FLOAT_EQ(r.value2, 0.125f);
    EXPECT_EQ(r.count1, 40000);
    EXPECT_EQ(r.count2, 7);
    EXPECT_EQ(r.hasExtendedFields, kind == 3);
    EXPECT_EQ(r.code2, kind == 3 ? 22 : 0);
    EXPECT_FLOAT_EQ(r.value3, kind == 3 ? 3.0f : 0.0f);
    EXPECT_FLOAT_EQ(r.value6, kind == 3 ? 6.0f : 0.0f);
    EXPECT_EQ(r.count3, kind == 3 ? 65535 : 0);
  }
}

TEST_F(LegacyChpXdaTest, FailedReadClearsTheDataButKeepsNameAndError) {
  ASSERT_TRUE(ReadFile(chptest::XdaGenotyping()));
  XdaChpFile bad = chptest::XdaGenotyping();
  bad.version = 7;
  EXPECT_FALSE(ReadFile(bad));
  EXPECT_EQ(chp.header.numProbeSets, 0);
  EXPECT_EQ(chp.header.assayType, legacy_chp::kUnknown);
  EXPECT_TRUE(chp.header.chipType.empty());
  EXPECT_TRUE(chp.results.empty());
  EXPECT_EQ(chp.fileName, Path("legacy.chp"));
  EXPECT_EQ(chp.errorText, messages::kUnsupportedXdaVersion);
}

TEST_F(LegacyChpXdaTest, LyingCountsFailWithTheFormatMessage) {
  struct Case {
    const char* what;
    std::size_t offset;  // of a 32-bit field in the written file
    std::int32_t value;
    const char* where;  // what the error says after the format message
  } cases[] = {
      {"probe-set count beyond the records", 12, 1000000, "the genotyping records at offset "},
      {"negative probe-set count", 12, -1, "the probe-set count at offset 12 is -1"},
      {"program id longer than the file", 24, 0x7FFFFFF0, "the program id at offset 24 runs past the end"},
      {"negative program id length", 24, -5, "the program id at offset 24 runs past the end"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string bytes = chptest::XdaGenotyping().Bytes();
    chptest::PatchInt32(bytes, c.offset, c.value);
    EXPECT_FALSE(ReadBytes(bytes));
    EXPECT_TRUE(chp.errorText.starts_with(std::string(messages::kWrongFormat) + " CHP file: " + c.where))
        << chp.errorText;
    EXPECT_TRUE(chp.results.empty());
  }
}

TEST_F(LegacyChpXdaTest, CountsOfEveryListAreCheckedAgainstTheFileSize) {
  // Each list count of the file, in turn, claims far more entries than exist.
  for (const std::string& bytes : chptest::XdaFilesWithEachCountInflated()) {
    EXPECT_FALSE(ReadBytes(bytes));
    EXPECT_TRUE(chp.errorText.starts_with(messages::kWrongFormat)) << chp.errorText;
    EXPECT_NE(chp.errorText.find(" at offset "), std::string::npos) << chp.errorText;
  }
}

TEST_F(LegacyChpXdaTest, EveryCutShortFileFailsSayingWhereItEnds) {
  for (const XdaChpFile& file : {chptest::XdaGenotyping(), chptest::XdaExpression(3), chptest::XdaExpression(2),
                                 chptest::XdaResequencing()}) {
    ExpectEveryCutRefused(file.Bytes());
  }
}

}  // namespace
