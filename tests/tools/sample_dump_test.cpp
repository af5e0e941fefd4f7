#include <gtest/gtest.h>

#include <string>

#include "core/BasicData.h"
#include "platform/Paths.h"
#include "tests/core/SampleBytes.h"
#include "tests/support/TempHome.h"

namespace {

class SampleDumpTest : public qova::test::TempHomeTest {
 protected:
  // Runs the built tool; returns its standard output and sets `status`.
  std::string Run(const std::string& arguments, int& status) { return qova::test::RunSampleDump(arguments, status); }

  static bool Has(const std::string& text, const std::string& line) {
    return text.find("\n" + line + "\n") != std::string::npos || text.starts_with(line + "\n");
  }
};

TEST_F(SampleDumpTest, PrintsAStoredSampleFieldByFieldWithMarkersAndRows) {
  CArrayData sample = qova::test::MakeSample("Mapping50K_Xba240", "T01");
  sample.Header.Sex = "M";
  sample.Markers = {{2, 61950, 62000, 35}};
  sample.SignalA[57245] = 1234.5f;
  sample.Call[57245] = kCallAB;
  const std::string path = platform::NativePath(Path("T01.CFH"));
  sample.StoreFile(path);

  int status = -1;
  const std::string out = Run("'" + path + "' --snps 3", status);
  EXPECT_EQ(status, 0);
  for (const char* line : {"Version: 1.001", "SampleName: T01", "ArrayType: Mapping50K_Xba240", "Sex: M",
                           "SnpCount: 116204", "FirstSnpIndex: 57244", "LastSnpIndex: 116203",
                           "CreateTime: 1200000000 (2008-01-10 21:20:00 UTC)", "NonSelfBaseRange: 57244 110307 1 2",
                           "HmmMeans: -1.24 -0.49 0 0.3 0.657 0.899 2.5", "MarkerCount: 1",
                           "0\t2\t61950\t62000\t35", "SnpRecords: 58960", "SnpRowsShown: 3",
                           "index\tA\tB\tcall\tbyte", "57245\t1234.5\t1755\t2\t1"}) {
    EXPECT_TRUE(Has(out, line)) << "missing: " << line << "\n" << out;
  }
  EXPECT_EQ(out.find("57247\t"), std::string::npos);
}

TEST_F(SampleDumpTest, PrintsAnAnnotationTableGivenItsFamily) {
  CBasicData table;
  table.Allocate(3, 1);
  table.Name = "demo";
  for (std::int32_t j = 0; j < 3; ++j) {
    table.Chromosome[j] = j == 2 ? kNoChromosome : 1;
    table.IndexMap[j] = j;
    table.Position[j] = 100 * (j + 1);
    table.GcContent[j] = 0.5f;
    table.ExtFloat[j] = 0.25f;
  }
  const std::string path = platform::NativePath(Path("BasicDataDemo.dtt"));
  table.StoreFile(path, 3);
  int status = -1;
  const std::string out = Run("'" + path + "' --family 6 --rows 3", status);
  EXPECT_EQ(status, 0);
  EXPECT_TRUE(Has(out, "Name: demo")) << out;
  EXPECT_TRUE(Has(out, "IsExtended: 1")) << out;
  EXPECT_TRUE(Has(out, "2\t24\t2\t0\t300\t0\t0.5\t0\t0\t0\t0\t0\t0\t0.25\t0")) << out;
}

TEST_F(SampleDumpTest, DamagedOrUnknownFilesFailWithAStatus) {
  int status = -1;
  ASSERT_TRUE(platform::WriteWholeFile(Path("bad.CFH"), std::string("\x05" "1.001", 6)));
  Run("'" + platform::NativePath(Path("bad.CFH")) + "'", status);
  EXPECT_EQ(status, 1);
  Run("'" + platform::NativePath(Path("bad.txt")) + "'", status);
  EXPECT_EQ(status, 2);
  Run("'" + platform::NativePath(Path("x.dtt")) + "'", status);  // no family given
  EXPECT_EQ(status, 2);
}

}  // namespace
