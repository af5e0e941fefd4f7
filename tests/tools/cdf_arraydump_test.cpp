// What arraydump prints of library files in each form.
#include <gtest/gtest.h>

#include "tests/arrayfiles/ArrayDumpRun.h"
#include "tests/arrayfiles/cdf_test_support.h"

namespace cdf_test {
namespace {

using arraydump_test::DumpResult;
using arraydump_test::HasLine;
using arraydump_test::RunArrayDump;

class CdfArrayDumpTest : public CdfFileTest {};

// The lines every form prints for the first probe set of the small layout.
std::vector<std::string> FirstProbeSetLines(const CdfLayout& layout) {
  const CdfProbeSet& set = layout.probeSets[0];
  std::vector<std::string> lines = {"probe-set[0].name: " + set.name,
                                    "probe-set[0].type: 2",
                                    "probe-set[0].groups: " + std::to_string(set.blocks.size()),
                                    "probe-set[0].group[1].name: " + set.blocks[1].name,
                                    "probe-set[0].group[1].cells: " + std::to_string(set.blocks[1].cells.size())};
  const CdfCell& cell = set.blocks[1].cells[1];
  lines.push_back("probe-set[0].group[1].cell: " + std::to_string(cell.x) + "\t" + std::to_string(cell.y) + "\t" +
                  cell.probeBase + "\t" + cell.targetBase);
  return lines;
}

TEST_F(CdfArrayDumpTest, PrintsHeaderAndLimitedProbeSetsOfEveryForm) {
  const CdfLayout layout = SmallLayout();
  struct Form {
    const char* format;
    std::string bytes;
    int rows, cols, qcSets;
    std::string reference;
  };
  const std::vector<Form> forms = {
      {"cdf-text", TextCdfImage(layout), layout.rows, layout.cols, 2, layout.reference},
      {"cdf-xda", XdaCdfImage(layout), layout.rows, layout.cols, 2, layout.reference},
      {"cdf-generic", GenericCdfImage(layout), 0, 0, 0, layout.reference},
  };
  for (const Form& form : forms) {
    SCOPED_TRACE(form.format);
    const DumpResult dump = RunArrayDump(WriteFile("lib.bin", form.bytes), "--sets 2");
    ASSERT_EQ(dump.status, 0) << dump.output;
    std::vector<std::string> lines = {std::string("format: ") + form.format,
                                      "rows: " + std::to_string(form.rows),
                                      "columns: " + std::to_string(form.cols),
                                      "probe-sets: " + std::to_string(layout.probeSets.size()),
                                      "qc-sets: " + std::to_string(form.qcSets),
                                      "reference: " + form.reference,
                                      "probe-set[1].name: " + layout.probeSets[1].name};
    for (const std::string& line : FirstProbeSetLines(layout)) lines.push_back(line);
    for (const std::string& line : lines) EXPECT_TRUE(HasLine(dump.output, line)) << line << "\n---\n" << dump.output;
    EXPECT_EQ(dump.output.find("probe-set[2]"), std::string::npos);
    EXPECT_LT(dump.output.find("probe-set[0].name"), dump.output.find("probe-set[1].name"));
  }
}

TEST_F(CdfArrayDumpTest, WithoutLimitPrintsEveryProbeSet) {
  const CdfLayout layout = SmallLayout();
  const DumpResult dump = RunArrayDump(WriteFile("lib.cdf", GenericCdfImage(layout)));
  ASSERT_EQ(dump.status, 0);
  const std::string last = std::to_string(layout.probeSets.size() - 1);
  EXPECT_TRUE(HasLine(dump.output, "probe-set[" + last + "].name: " + layout.probeSets.back().name));
}

TEST_F(CdfArrayDumpTest, BrokenFileFailsWithoutOutput) {
  std::string text = TextCdfImage(SmallLayout());
  text = ReplaceOnce(text, "Direction=", "Direction:");
  const DumpResult dump = RunArrayDump(WriteFile("broken.cdf", text));
  EXPECT_EQ(dump.status, 1);
  EXPECT_EQ(dump.output, "");
}

}  // namespace
}  // namespace cdf_test
