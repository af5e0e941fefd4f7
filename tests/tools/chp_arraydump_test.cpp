// What arraydump prints of CHP files.
#include <gtest/gtest.h>

#include "tests/arrayfiles/ArrayDumpRun.h"
#include "tests/arrayfiles/chp_test_files.h"
#include "tests/support/TempHome.h"

namespace {

using arraydump_test::HasLine;
using arraydump_test::RunArrayDump;

class ChpArrayDumpTest : public qova::test::TempHomeTest {};

TEST_F(ChpArrayDumpTest, EachFormPrintsItsHeaderAndCalls) {
  arraywriters::OlderChpFile older = chptest::OlderGenotyping(13);
  struct Case {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;
  } cases[] = {
      {"generic.chp", arraywriters::GenericChpBytes(chptest::GenericGenotyping()),
       {"format: chp-generic", "assay-type: 1", "chip-type: Mapping250K_Nsp", "algorithm: BRLMM",
        "summary-parameter: CalledGender\tF", "algorithm-parameter: Seed\t7", "background-zones: 3",
        "smooth-factor: 2", "zone: 3\t4\t31.5", "0\tSNP_A-1\tA\t0.1\t0.2\t0.3\t0.4\t0.5\t0.6\t0.7",
        "2\tSNP_A-333\tAB\t-1\t-2\t-3\t-4\t-5\t-6\t-7", "3\tCTRL-4\tNo Call\t0\t0\t0\t0\t0\t0\t0"}},
      {"xda.chp", chptest::XdaGenotyping().Bytes(),
       {"format: chp-xda", "version: 2", "chip-type: Mapping50K_Xba240", "summary-parameter: CalledGender\tF",
        "zone: 10\t20\t55.5", "1\t\tB\t0.5\t1.5\t2.5\t1.5\t2.5\t3.5\t4.5"}},
      {"older.chp", older.Bytes(),
       {"format: chp-older", "version: 13", "rows: 712", "summary-parameter: CalledGender\tM",
        "background-zones: 0", "1\t\tNo Call\t0\t0\t0\t0\t0\t0\t0"}},
      {"expression.chp", arraywriters::GenericChpBytes(chptest::GenericExpression(false)),
       {"assay: expression", "0\t1000_at\t1\t250.5\t0.004\t16\t15"}},
      {"reseq.chp", arraywriters::GenericChpBytes(chptest::GenericResequencing()),
       {"assay: resequencing", "called-bases: 3", "1\tA\t0.5", "force-calls: 1", "100\t67\t2", "-3\t65"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(arraywriters::WriteBytes(Path(c.name), c.bytes));
    arraydump_test::DumpResult result = RunArrayDump(Path(c.name));
    EXPECT_EQ(result.status, 0);
    for (const std::string& line : c.lines) EXPECT_TRUE(HasLine(result.output, line)) << line << "\n" << result.output;
  }
}

TEST_F(ChpArrayDumpTest, SetsOptionLimitsTheRows) {
  ASSERT_TRUE(arraywriters::SaveGenericChp(Path("g.chp"), chptest::GenericGenotyping()));
  arraydump_test::DumpResult result = RunArrayDump(Path("g.chp"), "--sets 1");
  EXPECT_TRUE(HasLine(result.output, "0\tSNP_A-1\tA\t0.1\t0.2\t0.3\t0.4\t0.5\t0.6\t0.7"));
  EXPECT_EQ(result.output.find("SNP_A-22"), std::string::npos);
}

TEST_F(ChpArrayDumpTest, UnreadableChpIsNotPrintedAsOne) {
  arraywriters::XdaChpFile newer = chptest::XdaGenotyping();
  newer.version = 3;
  ASSERT_TRUE(arraywriters::WriteBytes(Path("newer.chp"), newer.Bytes()));
  arraydump_test::DumpResult result = RunArrayDump(Path("newer.chp"));
  EXPECT_NE(result.status, 0);
  EXPECT_EQ(result.output.find("format: chp"), std::string::npos);
}

// A legacy file cut short is told as the reader tells it, not as a file of
// no form the tool knows.
TEST_F(ChpArrayDumpTest, ACutLegacyChpFileIsToldWithTheReadersReason) {
  const std::string older = chptest::OlderGenotyping(13).Bytes(), xda = chptest::XdaGenotyping().Bytes();
  struct Case {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"older-records.chp", older.substr(0, older.size() - 3)},
      {"older-header.chp", older.substr(0, 40)},
      {"xda-records.chp", xda.substr(0, xda.size() - 3)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(arraywriters::WriteBytes(Path(c.name), c.bytes));
    arraydump_test::DumpResult result = RunArrayDump(Path(c.name), "", arraydump_test::Errors::Kept);
    EXPECT_NE(result.status, 0);
    EXPECT_NE(result.output.find(": CHP file: "), std::string::npos) << result.output;
    EXPECT_NE(result.output.find("offset"), std::string::npos) << result.output;
    EXPECT_EQ(result.output.find("not an array file"), std::string::npos) << result.output;
  }
}

}  // namespace
