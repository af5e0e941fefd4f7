// What arraydump prints of writer-made generic container files.
#include <gtest/gtest.h>

#include "tests/arrayfiles/ArrayDumpRun.h"
#include "tests/arrayfiles/GenericTestFiles.h"
#include "tests/support/TempHome.h"

namespace {

using namespace arraydump_test;
using namespace generic_test;

class GenericArrayDumpTest : public qova::test::TempHomeTest {};

TEST_F(GenericArrayDumpTest, PrintsTheHeaderTreeOfAGenericFile) {
  GenericFileLayout layout;
  std::string path = Path("sample.gen");
  ASSERT_TRUE(WriteGenericFile(path, SampleFile(), &layout));
  DumpResult dump = RunArrayDump(path);
  ASSERT_EQ(dump.status, 0) << dump.output;
  const std::string& out = dump.output;
  const std::string expected[] = {
      "format: generic",
      "magic: 59",
      "version: 1",
      "data-groups: 2",
      "first-group-position: " + std::to_string(layout.firstGroupPos),
      "header.file-type-id: qova-test-generic",
      "header.file-id: file-0001",
      "header.creation-time: 2024-01-02T03:04:05Z",
      "header.locale: de-DE",
      "header.parameters: 9",
      "header.parameter: p-int8\ttext/x-generic-integer-8\t-1",
      "header.parameter: p-int32\ttext/x-generic-integer-32\t42",
      "header.parameter: p-float\ttext/x-generic-float\t1.500000",
      "header.parameter: p-text\ttext/plain\tHello",
      "header.parents: 2",
      "header.parent[0].file-type-id: qova-scan",
      "header.parent[0].parameter: scan-name\ttext/plain\tS01",
      "header.parent[0].parents: 1",
      "header.parent[0].parent[0].file-type-id: qova-raw",
      "header.parent[1].file-type-id: qova-other",
      "group[0].name: Group One",
      "group[0].data-sets: 2",
      "group[0].set[0].name: Numbers",
      "group[0].set[0].data-position: " + std::to_string(layout.dataPos[0][0]),
      "group[0].set[0].rows: 5",
      "group[0].set[0].row-width: 18",
      "group[0].set[0].columns: 7",
      "group[0].set[0].column: c-float\t6\t4",
      "group[0].set[1].parameters: 2",
      "group[0].set[1].parameter: dup\ttext/ascii\tsecond",
      "group[0].set[1].column: short16\t8\t8",
      "group[1].set[1].name: SingleFloat",
      "group[1].set[1].rows: 7",
  };
  for (const std::string& line : expected) EXPECT_TRUE(HasLine(out, line)) << line << "\n---\n" << out;
  // Fields come in file order.
  EXPECT_LT(out.find("group[0].name"), out.find("group[1].name"));
  EXPECT_LT(out.find("header.parent[0].parent[0]"), out.find("header.parent[1]"));
}

TEST_F(GenericArrayDumpTest, ReportsFilesItCannotRead) {
  std::string damaged = GenericFileBytes(SampleFile());
  damaged.resize(damaged.size() / 3);
  ASSERT_TRUE(WriteBytes(Path("cut.gen"), damaged));
  ASSERT_TRUE(WriteBytes(Path("text.txt"), "plain text\n"));
  EXPECT_EQ(RunArrayDump(Path("cut.gen")).status, 1);
  EXPECT_EQ(RunArrayDump(Path("text.txt")).status, 1);
  EXPECT_EQ(RunArrayDump(Path("missing.gen")).status, 1);
}

}  // namespace
