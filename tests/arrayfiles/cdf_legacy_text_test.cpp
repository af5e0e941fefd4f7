// The legacy reader on text library files: what our writer writes comes back
// whole, the small hand-written files show the reader's ordering rules, and
// broken files fail with the reader's own text.
#include <gtest/gtest.h>

#include "arrayfiles/cdf/LegacyCDFFile.h"
#include "tests/arrayfiles/cdf_test_support.h"

namespace cdf_test {
namespace {

class CdfLegacyTextTest : public CdfFileTest {
 protected:
  // Reads a text image through the full Read; the reader stays open for checks.
  bool ReadText(const std::string& text) {
    file_.SetFileName(WriteFile("lib.cdf", text));
    return file_.Read();
  }
  CLegacyCDFFile file_;
};

struct TextForm {
  int version;
  bool crlf;
  bool blankLines;
};

class CdfLegacyTextFormTest : public CdfLegacyTextTest, public ::testing::WithParamInterface<TextForm> {};

TEST_P(CdfLegacyTextFormTest, WrittenLayoutReadsBackWhole) {
  const CdfLayout layout = SmallLayout();
  TextCdfOptions options;
  options.version = GetParam().version;
  options.crlf = GetParam().crlf;
  options.blankLines = GetParam().blankLines;
  ASSERT_TRUE(ReadText(TextCdfImage(layout, options))) << file_.GetError();
  EXPECT_FALSE(file_.IsXDACompatibleFile());
  const CLegacyCDFFileHeader header = file_.GetHeader();
  EXPECT_EQ(header.GetVersion(), options.version);
  ExpectLegacyMatchesLayout(file_, layout, options.version > 2);
  if (options.version == 1) {
    // The first version has neither QC units nor a reference sequence.
    EXPECT_EQ(header.GetNumQCProbeSets(), 0);
    EXPECT_EQ(header.GetReference(), "");
    return;
  }
  EXPECT_EQ(header.GetReference(), layout.reference);
  ASSERT_EQ(header.GetNumQCProbeSets(), static_cast<int>(layout.qcSets.size()));
  for (int q = 0; q < header.GetNumQCProbeSets(); ++q) {
    const CdfQCSet& want = layout.qcSets[static_cast<std::size_t>(q)];
    CLegacyCDFQCProbeSetInformation qc;
    ASSERT_TRUE(file_.GetQCProbeSetInformation(q, qc));
    EXPECT_EQ(qc.GetQCProbeSetType(), want.type);
    ASSERT_EQ(qc.GetNumCells(), static_cast<int>(want.cells.size()));
    for (int c = 0; c < qc.GetNumCells(); ++c) {
      CLegacyCDFQCProbeInformation cell;
      ASSERT_TRUE(qc.GetProbeInformation(c, cell));
      EXPECT_EQ(cell.GetX(), want.cells[static_cast<std::size_t>(c)].x);
      EXPECT_EQ(cell.GetY(), want.cells[static_cast<std::size_t>(c)].y);
      EXPECT_EQ(cell.GetPLen(), want.cells[static_cast<std::size_t>(c)].probeLength);
      // The text form does not carry the flags.
      EXPECT_FALSE(cell.IsPerfectMatchProbe());
      EXPECT_FALSE(cell.IsBackgroundProbe());
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Versions, CdfLegacyTextFormTest,
                         ::testing::Values(TextForm{1, false, true}, TextForm{2, false, true},
                                           TextForm{3, false, true}, TextForm{3, true, true},
                                           TextForm{2, true, false}, TextForm{1, false, false}));

// The file head of hand-written files; `units` is the number of probe sets.
std::string Head(const char* version, int units, const std::string& qcAndReference = "NumQCUnits=0\nChipReference=\n") {
  return std::string("[CDF]\nVersion=") + version + "\n\n[Chip]\nName=Hand\nRows=10\nCols=12\nNumberOfUnits=" +
         std::to_string(units) + "\nMaxUnit=" + std::to_string(units) + "\n" + qcAndReference + "\n";
}

// One unit of one block; `cells` are the cell lines' values.
std::string Unit(int n, const std::string& name, int textType, const std::string& atoms, int cells,
                 const std::vector<std::string>& cellLines, const std::string& extraUnitLine = "",
                 const std::string& blockDirection = "") {
  std::string u = "[Unit" + std::to_string(n) + "]\nName=" + name + "\nDirection=1\nNumAtoms=" + atoms +
                  "\nNumCells=" + std::to_string(cells) + "\nUnitNumber=" + std::to_string(n) +
                  "\nUnitType=" + std::to_string(textType) + "\nNumberBlocks=1\n" + extraUnitLine;
  u += "\n[Unit" + std::to_string(n) + "_Block1]\nName=" + name + "-block\nBlockNumber=1\nNumAtoms=" +
       std::to_string(cellLines.size()) + "\nNumCells=" + std::to_string(cellLines.size()) +
       "\nStartPosition=0\nStopPosition=9\n" + blockDirection + "CellHeader=X\tY\t...\n";
  for (std::size_t c = 0; c < cellLines.size(); ++c) u += "Cell" + std::to_string(c + 1) + "=" + cellLines[c] + "\n";
  return u + "\n";
}

// A cell line with position (x, y), probe and target base and list index.
std::string CellLine(int x, int y, char probe, char target, int list, int exposure = 0) {
  return std::to_string(x) + "\t" + std::to_string(y) + "\tN\tcontrol\tq\t" + std::to_string(exposure) + "\t13\tN\t" +
         probe + "\t" + target + "\t" + std::to_string(list) + "\t0\t-1\t-1\t99\t";
}

std::vector<int> CellXs(const CLegacyCDFProbeSetInformation& set) {
  std::vector<int> xs;
  CLegacyCDFProbeGroupInformation group;
  if (!set.GetGroupInformation(0, group)) return xs;
  for (int c = 0; c < group.GetNumCells(); ++c) {
    CLegacyCDFProbeInformation cell;
    group.GetCell(c, cell);
    xs.push_back(cell.GetX());
  }
  return xs;
}

TEST_F(CdfLegacyTextTest, NonExpressionListsAreStoredReversed) {
  // Four cells per list: file cells 0, 1, 2, 3 go to slots 3, 2, 1, 0, and so on per list.
  std::vector<std::string> cells;
  for (int c = 0; c < 8; ++c) cells.push_back(CellLine(c, 0, 'A', 'T', c / 4));
  ASSERT_TRUE(ReadText(Head("GC1.0", 1, "") + Unit(1, "SNP_1", 2, "2 4", 8, cells))) << file_.GetError();
  CLegacyCDFProbeSetInformation set;
  ASSERT_TRUE(file_.GetProbeSetInformation(0, set));
  EXPECT_EQ(CellXs(set), (std::vector<int>{3, 2, 1, 0, 7, 6, 5, 4}));
}

TEST_F(CdfLegacyTextTest, ExpressionMismatchCellFollowsItsPartner) {
  // Two cells per list: the cell whose probe base equals its target base goes second.
  const std::vector<std::string> cells = {CellLine(0, 0, 'A', 'A', 0), CellLine(1, 0, 'T', 'A', 0),
                                          CellLine(2, 0, 'C', 'G', 1), CellLine(3, 0, 'G', 'G', 1)};
  ASSERT_TRUE(ReadText(Head("GC2.0", 1) + Unit(1, "NONE", 3, "2 2", 4, cells))) << file_.GetError();
  CLegacyCDFProbeSetInformation set;
  ASSERT_TRUE(file_.GetProbeSetInformation(0, set));
  EXPECT_EQ(CellXs(set), (std::vector<int>{1, 0, 2, 3}));
  // An expression unit takes the name of its (last) block.
  EXPECT_EQ(file_.GetProbeSetName(0), "NONE-block");
}

TEST_F(CdfLegacyTextTest, GroupStartAndStopComeFromFirstAndLastCellLine) {
  ASSERT_TRUE(ReadText(Head("GC2.0", 2) + Unit(1, "ONE", 8, "1 1", 1, {CellLine(4, 5, 'A', 'T', 7)}) +
                       Unit(2, "TWO", 8, "2 1", 2, {CellLine(4, 6, 'A', 'T', 3), CellLine(4, 7, 'A', 'T', 4)})))
      << file_.GetError();
  CLegacyCDFProbeSetInformation set;
  CLegacyCDFProbeGroupInformation group;
  ASSERT_TRUE(file_.GetProbeSetInformation(0, set));
  ASSERT_TRUE(set.GetGroupInformation(0, group));
  // One cell: its list index is the start, the stop stays as written.
  EXPECT_EQ(group.GetStart(), 7);
  EXPECT_EQ(group.GetStop(), 9);
  ASSERT_TRUE(file_.GetProbeSetInformation(1, set));
  ASSERT_TRUE(set.GetGroupInformation(0, group));
  EXPECT_EQ(group.GetStart(), 3);
  EXPECT_EQ(group.GetStop(), 4);
}

TEST_F(CdfLegacyTextTest, GenotypingUnitsTakeExtraLinesByVersion) {
  const std::vector<std::string> cells = {CellLine(1, 1, 'A', 'T', 0)};
  // Version 3: a line after the number of blocks and a direction line per block.
  ASSERT_TRUE(ReadText(Head("GC3.0", 1) + Unit(1, "SNP_X", 2, "1 1", 1, cells, "MutationType=0\n", "Direction=2\n")))
      << file_.GetError();
  CLegacyCDFProbeSetInformation set;
  CLegacyCDFProbeGroupInformation group;
  ASSERT_TRUE(file_.GetProbeSetInformation(0, set));
  ASSERT_TRUE(set.GetGroupInformation(0, group));
  EXPECT_EQ(group.GetDirection(), 2);
  EXPECT_EQ(CellXs(set), std::vector<int>{1});
  // Version 2: only the line after the number of blocks; the block takes the unit's direction.
  ASSERT_TRUE(ReadText(Head("GC2.0", 1) + Unit(1, "SNP_X", 2, "1 1", 1, cells, "MutationType=0\n"))) << file_.GetError();
  ASSERT_TRUE(file_.GetProbeSetInformation(0, set));
  ASSERT_TRUE(set.GetGroupInformation(0, group));
  EXPECT_EQ(group.GetDirection(), 1);
  EXPECT_EQ(CellXs(set), std::vector<int>{1});
}

TEST_F(CdfLegacyTextTest, UnitTypesMapToStoredTypes) {
  // text type -> stored type
  const std::vector<std::pair<int, int>> table = {{1, 3}, {2, 2}, {3, 1}, {4, 0}, {5, 3}, {6, 3},
                                                  {7, 4}, {8, 5}, {9, 6}, {10, 7}, {11, 0}, {0, 0}};
  std::string text = Head("GC1.0", static_cast<int>(table.size()), "");
  for (std::size_t i = 0; i < table.size(); ++i) {
    // Four cells in one list suit every type's cells per list.
    std::vector<std::string> cells;
    for (int c = 0; c < 4; ++c) cells.push_back(CellLine(c, static_cast<int>(i), 'A', c % 2 ? 'A' : 'T', 0));
    text += Unit(static_cast<int>(i) + 1, "U" + std::to_string(i), table[i].first, "1 4", 4, cells);
  }
  ASSERT_TRUE(ReadText(text)) << file_.GetError();
  for (std::size_t i = 0; i < table.size(); ++i) {
    CLegacyCDFProbeSetInformation set;
    ASSERT_TRUE(file_.GetProbeSetInformation(static_cast<int>(i), set));
    EXPECT_EQ(set.GetProbeSetType(), table[i].second) << "text type " << table[i].first;
  }
}

TEST_F(CdfLegacyTextTest, CellsPerListIsDerivedFromTypeListsAndCells) {
  struct Case {
    int textType;
    int lists;
    int cells;
    int expected;
  };
  const std::vector<Case> cases = {
      {2, 3, 6, 4},    // genotyping: always 4
      {1, 1, 4, 4},    // resequencing
      {7, 5, 5, 4},    // tag
      {4, 2, 8, 4},    // unknown with four cells a list
      {4, 2, 6, 1},    // unknown otherwise
      {4, 0, 6, 1},
      {3, 2, 4, 2},    // expression: cells / lists
      {8, 3, 3, 1},    // copy number
      {9, 2, 6, 3},    // genotype control
      {10, 1, 254, 254},
      {10, 1, 255, 1},  // a quotient of 255 or more gives 1
      {3, 0, 4, 1},     // no lists
  };
  std::string text = Head("GC1.0", static_cast<int>(cases.size()), "");
  for (std::size_t i = 0; i < cases.size(); ++i) {
    // Blocks without cells: only the unit's numbers decide.
    text += Unit(static_cast<int>(i) + 1, "U", cases[i].textType, std::to_string(cases[i].lists),
                 cases[i].cells, {});
  }
  ASSERT_TRUE(ReadText(text)) << file_.GetError();
  for (std::size_t i = 0; i < cases.size(); ++i) {
    CLegacyCDFProbeSetInformation set;
    ASSERT_TRUE(file_.GetProbeSetInformation(static_cast<int>(i), set));
    EXPECT_EQ(set.GetNumCellsPerList(), cases[i].expected) << "case " << i;
  }
}

TEST_F(CdfLegacyTextTest, IndexesOutsideTheFileGiveEmptyRecords) {
  ASSERT_TRUE(ReadText(Head("GC2.0", 1) + Unit(1, "ONLY", 8, "1 1", 1, {CellLine(1, 1, 'A', 'T', 0)})));
  CLegacyCDFProbeSetInformation set;
  EXPECT_FALSE(file_.GetProbeSetInformation(-1, set));
  EXPECT_FALSE(file_.GetProbeSetInformation(1, set));
  EXPECT_EQ(file_.GetProbeSetName(-1), "");
  EXPECT_EQ(file_.GetProbeSetName(1), "");
  ASSERT_TRUE(file_.GetProbeSetInformation(0, set));
  CLegacyCDFProbeGroupInformation group;
  EXPECT_FALSE(set.GetGroupInformation(1, group));
  ASSERT_TRUE(set.GetGroupInformation(0, group));
  CLegacyCDFProbeInformation cell;
  EXPECT_FALSE(group.GetCell(1, cell));
  EXPECT_FALSE(group.GetCell(-1, cell));
  // A default cell has blank bases.
  EXPECT_EQ(cell.GetPBase(), ' ');
  EXPECT_EQ(cell.GetTBase(), ' ');
}

// ---- broken files ----

struct BrokenText {
  const char* what;
  std::string text;
  const char* error;
};

std::vector<BrokenText> BrokenTexts() {
  const std::string good = TextCdfImage(SmallLayout());
  const std::size_t unit2 = UnitSection(good, 1);
  std::vector<BrokenText> cases = {
      {"empty file", "", "Unknown file format."},
      {"wrong first line", "[CDX]\n" + good.substr(6), "Unknown file format."},
      {"only the first line", "[CDF]\n", "The file ends before its last section."},
      {"header cut short", good.substr(0, good.find("NumberOfUnits")), "The file ends before its last section."},
      {"negative unit count", ReplaceOnce(good, "NumberOfUnits=", "NumberOfUnits=-"),
       "A count in the file is negative or larger than the file."},
      {"unit count beyond the file", ReplaceOnce(good, "NumberOfUnits=", "NumberOfUnits=99999999"),
       "A count in the file is negative or larger than the file."},
      {"QC cell count beyond the file", ReplaceOnce(good, "NumberCells=", "NumberCells=99999999"),
       "A count in the file is negative or larger than the file."},
      {"block cell count beyond the file", ReplaceOnce(good, "NumCells=", "NumCells=2000000000", good.find("_Block")),
       "A count in the file is negative or larger than the file."},
      {"block cell count of more lines than the file can hold",
       ReplaceOnce(good, "NumCells=", "NumCells=" + std::to_string(good.size() / 4) + "\nX=", good.find("_Block")),
       "A count in the file is negative or larger than the file."},
      {"negative block count", ReplaceOnce(good, "NumberBlocks=", "NumberBlocks=-"),
       "A count in the file is negative or larger than the file."},
      {"more units than probe sets", ReplaceOnce(good, "NumberOfUnits=" + std::to_string(SmallLayout().probeSets.size()), "NumberOfUnits=1"),
       "The file holds more units than its number of probe sets."},
      {"line without =", ReplaceOnce(good, "Direction=", "Direction:"), "A line of the file has no \"=\"."},
      {"cell line without =", ReplaceOnce(good, "Cell1=", "Cell1 "), "A line of the file has no \"=\"."},
      {"line too long", ReplaceOnce(good, "Name=", "Name=" + std::string(5000, 'x'), unit2),
       "A line of the file is too long."},
      {"cell line of nine fields", ReplaceOnce(good, "\tcontrol\t", "\t", unit2), "Didn't get 10 entries in scan."},
      {"unit cut in its blocks", good.substr(0, good.find("BlockNumber", unit2)),
       "The file ends before its last section."},
      {"unit cut in its cells", good.substr(0, good.find("Cell3=", unit2)), "The file ends before its last section."},
  };
  return cases;
}

TEST_F(CdfLegacyTextTest, BrokenFilesFailWithTheirText) {
  for (const BrokenText& broken : BrokenTexts()) {
    SCOPED_TRACE(broken.what);
    EXPECT_FALSE(ReadText(broken.text));
    EXPECT_EQ(file_.GetError(), broken.error);
    // A failed read leaves no records behind and counts none.
    EXPECT_EQ(file_.GetProbeSetName(0), "");
    EXPECT_EQ(file_.GetHeader().GetNumProbeSets(), 0);
    EXPECT_EQ(file_.GetHeader().GetNumQCProbeSets(), 0);
  }
}

TEST_F(CdfLegacyTextTest, CellsPerListThatDoesNotFitFails) {
  const std::vector<std::string> two = {CellLine(0, 0, 'A', 'T', 0), CellLine(1, 0, 'A', 'T', 0)};
  // An expression unit with fewer cells than lists has no cells per list.
  EXPECT_FALSE(ReadText(Head("GC1.0", 1, "") + Unit(1, "E", 3, "5", 2, two)));
  EXPECT_EQ(file_.GetError(), "A unit has no cells per list.");
  // Four cells per list over a block of two cells puts a cell past the block.
  EXPECT_FALSE(ReadText(Head("GC1.0", 1, "") + Unit(1, "G", 2, "1 4", 2, two)));
  EXPECT_EQ(file_.GetError(), "A cell lies outside its block.");
  // A cells-per-list field of 256 is 0 in its byte; the derived 4 does not fit either.
  EXPECT_FALSE(ReadText(Head("GC1.0", 1, "") + Unit(1, "G", 2, "1 256", 2, two)));
  EXPECT_EQ(file_.GetError(), "A cell lies outside its block.");
}

TEST_F(CdfLegacyTextTest, CutsBetweenUnitsReadAndCutsInsideFail) {
  // Cut the file at every line end: only cuts before a unit's head (or at
  // the end) leave a file that reads; every other cut fails with a text.
  const std::string good = TextCdfImage(SmallLayout(), TextCdfOptions{2, true, false, false});
  const std::size_t firstUnit = UnitSection(good, 0);
  for (std::size_t at = good.find('\n', firstUnit); at != std::string::npos; at = good.find('\n', at + 1)) {
    const std::string cut = good.substr(0, at + 1);
    const bool atUnitHead = at + 1 == good.size() || (good.compare(at + 1, 5, "[Unit") == 0 &&
                                                          good.find('_', at + 1) > good.find('\n', at + 1));
    SCOPED_TRACE(at);
    EXPECT_EQ(ReadText(cut), atUnitHead) << file_.GetError();
    if (!atUnitHead) {
      EXPECT_FALSE(file_.GetError().empty());
    }
  }
}

}  // namespace
}  // namespace cdf_test
