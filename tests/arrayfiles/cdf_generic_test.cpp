// The generic-format CDF data object on files of our generic CDF writer.
#include <gtest/gtest.h>

#include <tuple>

#include "arrayfiles/cdf/CDFData.h"
#include "arrayfiles/common/StringUtils.h"
#include "arrayfiles/generic/GenericExceptions.h"
#include "tests/arrayfiles/cdf_test_support.h"

namespace cdf_test {
namespace {

using generic_io::CDFData;
using generic_io::CDFFileReader;
using generic_io::CDFProbeGroupInformation;
using generic_io::CDFProbeInformation;
using generic_io::CDFProbeSetInformation;
namespace ge = generic_exceptions;

// A probe set of one block per entry of `cellsPerBlock`.
CdfProbeSet HandSet(const std::string& name, const std::vector<int>& listsPerBlock,
                    const std::vector<int>& cellsPerBlock) {
  CdfProbeSet set;
  set.name = name;
  set.type = kCdfCopyNumber;
  set.number = 7;
  set.cellsPerList = 1;
  for (std::size_t b = 0; b < cellsPerBlock.size(); ++b) {
    CdfBlock block;
    block.name = name + "-" + std::to_string(b);
    block.numLists = listsPerBlock[b];
    for (int c = 0; c < cellsPerBlock[b]; ++c) {
      CdfCell cell;
      cell.x = static_cast<std::uint16_t>(10 * b + c);
      cell.y = static_cast<std::uint16_t>(b);
      cell.probeBase = 'A';
      cell.targetBase = 'T';
      block.cells.push_back(cell);
    }
    set.blocks.push_back(block);
  }
  return set;
}

CdfLayout HandLayout(std::vector<CdfProbeSet> sets) {
  CdfLayout layout;
  layout.rows = 20;
  layout.cols = 30;
  layout.probeSets = std::move(sets);
  return layout;
}

class CdfGenericTest : public CdfFileTest {
 protected:
  void ReadImage(const std::string& bytes) { CDFFileReader().Read(WriteFile("lib.cdf", bytes), data_); }
  CDFData data_;
};

TEST_F(CdfGenericTest, WrittenLayoutReadsBackWhole) {
  const CdfLayout layout = SmallLayout();
  ReadImage(GenericCdfImage(layout));
  EXPECT_EQ(data_.GetProbeSetCount(), layout.probeSets.size());
  EXPECT_EQ(data_.GetReferenceSequence(), layout.reference);
  EXPECT_EQ(data_.GetDataGroupCount(), static_cast<int>(layout.probeSets.size()) + 1);
  EXPECT_FALSE(data_.IsControlFile());
  for (std::size_t i = 0; i < layout.probeSets.size(); ++i) {
    const CdfProbeSet& want = layout.probeSets[i];
    SCOPED_TRACE(want.name);
    EXPECT_EQ(StringUtils::WideToNarrow(data_.GetProbeSetName(static_cast<int>(i))), want.name);
    CDFProbeSetInformation set;
    data_.GetProbeSetInformation(static_cast<int>(i), set);
    EXPECT_EQ(set.GetUnitType(), want.type);
    EXPECT_EQ(set.GetDirection(), want.direction);
    EXPECT_EQ(set.GetProbeSetNumber(), static_cast<std::uint32_t>(want.number));
    EXPECT_EQ(set.GetNumCellsPerList(), want.cellsPerList);
    EXPECT_EQ(set.GetNumLists(), want.TotalLists());
    EXPECT_EQ(set.GetNumCells(), want.TotalCells());
    ASSERT_EQ(set.GetNumGroups(), static_cast<int>(want.blocks.size()));
    for (int g = 0; g < set.GetNumGroups(); ++g) {
      const CdfBlock& block = want.blocks[static_cast<std::size_t>(g)];
      CDFProbeGroupInformation group;
      ASSERT_TRUE(set.GetGroupInformation(g, group));
      EXPECT_EQ(StringUtils::WideToNarrow(group.GetName()), block.name);
      EXPECT_EQ(group.GetDirection(), block.direction);
      EXPECT_EQ(group.GetNumLists(), block.numLists);
      ASSERT_EQ(group.GetNumCells(), static_cast<int>(block.cells.size()));
      for (int c = 0; c < group.GetNumCells(); ++c) {
        const CdfCell& cell = block.cells[static_cast<std::size_t>(c)];
        CDFProbeInformation got;
        ASSERT_TRUE(group.GetCell(c, got));
        EXPECT_EQ(got.GetX(), cell.x);
        EXPECT_EQ(got.GetY(), cell.y);
        EXPECT_EQ(got.GetListIndex(), cell.listIndex);
        EXPECT_EQ(got.GetExpos(), cell.exposure);
        EXPECT_EQ(got.GetPBase(), cell.probeBase);
        EXPECT_EQ(got.GetTBase(), cell.targetBase);
      }
    }
  }
}

TEST_F(CdfGenericTest, ControlFileHasNoProbeSets) {
  ReadImage(GenericCdfImage(SmallLayout(), GenericCdfOptions{true, true, false}));
  EXPECT_TRUE(data_.IsControlFile());
  EXPECT_EQ(data_.GetProbeSetCount(), SmallLayout().qcSets.size());
  CDFProbeSetInformation set;
  EXPECT_THROW(data_.GetProbeSetInformation(0, set), ge::ProbeSetNotFoundException);
  EXPECT_EQ(data_.GetProbeSetName(1), u"QC2");
}

TEST_F(CdfGenericTest, BlockNumbersAddUpOverTheProbeSet) {
  ReadImage(GenericCdfImage(HandLayout({HandSet("two", {2, 3}, {4, 6})})));
  CDFProbeSetInformation set;
  data_.GetProbeSetInformation(0, set);
  EXPECT_EQ(set.GetNumGroups(), 2);
  EXPECT_EQ(set.GetNumLists(), 5);
  EXPECT_EQ(set.GetNumCells(), 10);
}

TEST_F(CdfGenericTest, ProbeSetWithoutBlocksHasNoGroups) {
  ReadImage(GenericCdfImage(HandLayout({HandSet("none", {}, {}), HandSet("one", {1}, {1})})));
  CDFProbeSetInformation set;
  data_.GetProbeSetInformation(0, set);
  EXPECT_EQ(set.GetNumGroups(), 0);
  EXPECT_EQ(set.GetNumCells(), 0);
  CDFProbeGroupInformation group;
  EXPECT_FALSE(set.GetGroupInformation(0, group));
  EXPECT_EQ(group.GetNumCells(), 0);
  data_.GetProbeSetInformation(1, set);
  EXPECT_EQ(set.GetNumGroups(), 1);
}

TEST_F(CdfGenericTest, CellCountIsBoundedByTheRows) {
  GenericFileSpec spec = GenericCdfSpec(HandLayout({HandSet("a", {1, 1}, {3, 3})}));
  // Block 0 claims more cells than it has rows, block 1 fewer.
  spec.groups[1].dataSets[0].parameters[5] = UInt32Parameter(u"Cells", 1000);
  spec.groups[1].dataSets[1].parameters[5] = UInt32Parameter(u"Cells", 2);
  ReadImage(GenericFileBytes(spec));
  CDFProbeSetInformation set;
  data_.GetProbeSetInformation(0, set);
  CDFProbeGroupInformation group;
  ASSERT_TRUE(set.GetGroupInformation(0, group));
  EXPECT_EQ(group.GetCellsParameter(), 1000);
  EXPECT_EQ(group.GetNumCells(), 3);
  CDFProbeInformation cell;
  EXPECT_FALSE(group.GetCell(3, cell));
  EXPECT_EQ(cell.GetX(), 0);
  ASSERT_TRUE(set.GetGroupInformation(1, group));
  EXPECT_EQ(group.GetNumCells(), 2);
  EXPECT_FALSE(group.GetCell(2, cell));
}

// The cell walk appends a plain probe set's cells after what the caller
// holds, and gives up on one whose second group it cannot take without its
// record, leaving the cells as they were.
TEST_F(CdfGenericTest, CellWalkAppendsPlainProbeSetsAndLeavesOthersToTheRecords) {
  GenericFileSpec spec = GenericCdfSpec(HandLayout({HandSet("a", {1, 1}, {2, 3}), HandSet("b", {1, 1}, {1, 2})}));
  spec.groups[2].dataSets[1].parameters[1] = UInt32Parameter(u"Direction", 1);
  ReadImage(GenericFileBytes(spec));
  const generic_io::CDFGroupCell held{9, 99, 99, 'x', 'y'};
  std::vector<generic_io::CDFGroupCell> cells{held};
  ASSERT_TRUE(data_.ReadProbeSetCells(0, cells));
  std::vector<std::tuple<int, int, int, char, char>> got;
  for (const generic_io::CDFGroupCell& c : cells) got.emplace_back(c.group, c.x, c.y, c.pBase, c.tBase);
  const std::vector<std::tuple<int, int, int, char, char>> want = {
      {9, 99, 99, 'x', 'y'}, {0, 0, 0, 'A', 'T'}, {0, 1, 0, 'A', 'T'},
      {1, 10, 1, 'A', 'T'},  {1, 11, 1, 'A', 'T'}, {1, 12, 1, 'A', 'T'}};
  EXPECT_EQ(got, want);
  cells = {held};
  EXPECT_FALSE(data_.ReadProbeSetCells(1, cells));
  ASSERT_EQ(cells.size(), 1u);
  EXPECT_EQ(cells[0].x, 99);
  EXPECT_THROW(static_cast<void>(data_.ReadProbeSetCells(2, cells)), ge::ProbeSetNotFoundException);
}

TEST_F(CdfGenericTest, MissingIndexDataSetCannotBeOpened) {
  GenericFileSpec spec = GenericCdfSpec(SmallLayout());
  spec.groups[0].dataSets.clear();
  ReadImage(GenericFileBytes(spec));
  EXPECT_THROW((void)data_.GetProbeSetName(0), ge::DataSetNotOpenException);
  // The probe sets themselves are still reached through the group chain.
  CDFProbeSetInformation set;
  data_.GetProbeSetInformation(0, set);
  EXPECT_EQ(StringUtils::WideToNarrow(set.GetName()), SmallLayout().probeSets[0].name);
}

TEST_F(CdfGenericTest, MissingOrForeignFilesRaise) {
  EXPECT_THROW(CDFFileReader().Read(Path("absent.cdf"), data_), ge::FileNotFoundException);
  EXPECT_THROW(ReadImage(TextCdfImage(SmallLayout())), ge::InvalidFileTypeException);
  // A group count that the file cannot hold.
  std::string bytes = GenericCdfImage(SmallLayout());
  bytes[2] = 0x7f;
  EXPECT_THROW(ReadImage(bytes), ge::InvalidFileTypeException);
}

}  // namespace
}  // namespace cdf_test
