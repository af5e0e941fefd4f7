// What arraydump prints of CEL files of every form.
#include <gtest/gtest.h>

#include "tests/arrayfiles/cel_test_files.h"
#include "tests/arrayfiles/ArrayDumpRun.h"

namespace {

using namespace arraydump_test;
using namespace cel_test;
using arraywriters::CelImage;
using arraywriters::kAllCelForms;

class CelArrayDumpTest : public CelFileTest {};

const char* FormatLine(CelForm form) {
  switch (form) {
    case CelForm::kTextV3: return "format: cel-text-3";
    case CelForm::kTextV2: return "format: cel-text-2";
    case CelForm::kXda: return "format: cel-xda";
    case CelForm::kBcel: return "format: cel-bcel";
    case CelForm::kCompact: return "format: cel-compact";
    default: return "format: cel-generic";
  }
}

TEST_F(CelArrayDumpTest, PrintsTheHeaderAndEveryCellOfEachForm) {
  const CelArray array = SmallArray();
  for (CelForm form : kAllCelForms) {
    SCOPED_TRACE(arraywriters::CelFormName(form));
    DumpResult dump = RunArrayDump(Save(form, array));
    ASSERT_EQ(dump.status, 0) << dump.output;
    const std::string& out = dump.output;
    EXPECT_TRUE(HasLine(out, FormatLine(form))) << out;
    EXPECT_TRUE(HasLine(out, "rows: 4"));
    EXPECT_TRUE(HasLine(out, "columns: 3"));
    EXPECT_TRUE(HasLine(out, "cells: 12"));
    EXPECT_TRUE(HasLine(out, "chip-type: Mapping250K_Nsp"));
    EXPECT_TRUE(HasLine(out, "cells-shown: 12"));
    // Cell (2, 1): index 5.
    const auto& cell = array.cells[5];
    const std::string row = "2\t1\t" + std::to_string(int(cell.intensity)) + "\t" +
                            std::to_string(int(ExpectedStdv(form, cell))) + "\t" +
                            std::to_string(ExpectedPixels(form, cell));
    EXPECT_TRUE(HasLine(out, row)) << row << "\n" << out;
    if (form != CelForm::kTextV2) {
      EXPECT_TRUE(HasLine(out, "algorithm: Percentile"));
      EXPECT_TRUE(HasLine(out, "grid-corners: 20 25 18000 30 17990 18010 15 18005"));
      EXPECT_TRUE(HasLine(out, "parameter: Percentile\t75"));
      // The DAT header's field separators are shown escaped.
      EXPECT_NE(out.find("dat-header: [10..46000]"), std::string::npos);
      EXPECT_NE(out.find("\\x14 Mapping250K_Nsp.1sq"), std::string::npos);
    }
    EXPECT_TRUE(HasLine(out, std::string("masked-cells: ") + (KeepsMasks(form) ? "2" : "0")));
  }
}

TEST_F(CelArrayDumpTest, CellsOptionLimitsTheRows) {
  DumpResult dump = RunArrayDump(Save(CelForm::kXda, SmallArray()), "--cells 2");
  ASSERT_EQ(dump.status, 0) << dump.output;
  EXPECT_TRUE(HasLine(dump.output, "cells-shown: 2"));
  EXPECT_TRUE(HasLine(dump.output, "1\t0\t138\t14\t2"));
  EXPECT_EQ(dump.output.find("\n2\t0\t"), std::string::npos);
}

TEST_F(CelArrayDumpTest, UnreadableFilesFail) {
  std::string xda = CelImage(CelForm::kXda, SmallArray());
  std::string text = CelImage(CelForm::kTextV3, SmallArray());
  for (const std::string& bytes : {xda.substr(0, xda.size() - 2), text.substr(0, text.find("[OUTLIERS]")),
                                   std::string("not a cel file\n")}) {
    DumpResult dump = RunArrayDump(Save(bytes));
    EXPECT_EQ(dump.status, 1) << dump.output;
  }
}

}  // namespace
