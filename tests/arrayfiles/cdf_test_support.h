#pragma once
// Shared by the cdf_* tests: library files written by our own writers into a
// temporary folder, and what a reader should give back for a layout.
#include <gtest/gtest.h>

#include <string>

#include "arrayfiles/cdf/LegacyCDFFile.h"
#include "tests/support/TempHome.h"
#include "tools/arraywriters/CdfLayout.h"
#include "tools/arraywriters/CdfWriters.h"

namespace cdf_test {

using namespace arraywriters;

class CdfFileTest : public qova::test::TempHomeTest {
 protected:
  // Writes `bytes` under the temporary folder and returns the file's path.
  std::string WriteFile(const std::string& name, const std::string& bytes) {
    std::string path = Path(name);
    EXPECT_TRUE(WriteBytes(path, bytes)) << path;
    return path;
  }
};

// A small layout with every kind of probe set and QC sets.
inline CdfLayout SmallLayout() {
  SyntheticCdfOptions options;
  options.snpSets = 12;
  options.copyNumberSets = 4;
  options.controlSets = 3;
  options.qcSets = 2;
  options.cellsPerQCSet = 5;
  return MakeSyntheticCdfLayout(options);
}

// Replaces the first `from` after `after` in `text`; fails the test when absent.
inline std::string ReplaceOnce(std::string text, const std::string& from, const std::string& to,
                               std::size_t after = 0) {
  std::size_t at = text.find(from, after);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

// Where the n-th probe set's unit section begins in a text image.
inline std::size_t UnitSection(const std::string& text, int n) {
  return text.find("[Unit" + std::to_string(n + 1) + "]");
}

// Checks every record of `file` against the layout it was written from.
// `blockDirections`: the form keeps each block's own direction.
inline void ExpectLegacyMatchesLayout(CLegacyCDFFile& file, const CdfLayout& layout, bool blockDirections) {
  const CLegacyCDFFileHeader header = file.GetHeader();
  EXPECT_EQ(header.GetRows(), layout.rows);
  EXPECT_EQ(header.GetCols(), layout.cols);
  ASSERT_EQ(header.GetNumProbeSets(), static_cast<int>(layout.probeSets.size()));
  for (int i = 0; i < header.GetNumProbeSets(); ++i) {
    const CdfProbeSet& want = layout.probeSets[static_cast<std::size_t>(i)];
    SCOPED_TRACE(want.name);
    EXPECT_EQ(file.GetProbeSetName(i), want.name);
    CLegacyCDFProbeSetInformation set;
    ASSERT_TRUE(file.GetProbeSetInformation(i, set)) << file.GetError();
    EXPECT_EQ(set.GetProbeSetIndex(), i);
    EXPECT_EQ(set.GetProbeSetType(), want.type);
    EXPECT_EQ(set.GetDirection(), want.direction);
    EXPECT_EQ(set.GetProbeSetNumber(), want.number);
    EXPECT_EQ(set.GetNumCellsPerList(), want.cellsPerList);
    EXPECT_EQ(set.GetNumLists(), want.TotalLists());
    EXPECT_EQ(set.GetNumCells(), want.TotalCells());
    ASSERT_EQ(set.GetNumGroups(), static_cast<int>(want.blocks.size()));
    for (int g = 0; g < set.GetNumGroups(); ++g) {
      const CdfBlock& block = want.blocks[static_cast<std::size_t>(g)];
      CLegacyCDFProbeGroupInformation group;
      ASSERT_TRUE(set.GetGroupInformation(g, group));
      EXPECT_EQ(group.GetName(), block.name);
      EXPECT_EQ(group.GetGroupIndex(), g);
      EXPECT_EQ(group.GetNumLists(), block.numLists);
      EXPECT_EQ(group.GetStart(), block.start);
      EXPECT_EQ(group.GetStop(), block.stop);
      EXPECT_EQ(group.GetDirection(), blockDirections ? block.direction : want.direction);
      ASSERT_EQ(group.GetNumCells(), static_cast<int>(block.cells.size()));
      for (int c = 0; c < group.GetNumCells(); ++c) {
        const CdfCell& cell = block.cells[static_cast<std::size_t>(c)];
        CLegacyCDFProbeInformation got;
        ASSERT_TRUE(group.GetCell(c, got));
        EXPECT_EQ(got.GetX(), cell.x) << "cell " << c;
        EXPECT_EQ(got.GetY(), cell.y) << "cell " << c;
        EXPECT_EQ(got.GetPBase(), cell.probeBase) << "cell " << c;
        EXPECT_EQ(got.GetTBase(), cell.targetBase) << "cell " << c;
        EXPECT_EQ(got.GetListIndex(), cell.listIndex) << "cell " << c;
        EXPECT_EQ(got.GetExpos(), cell.exposure) << "cell " << c;
      }
    }
  }
}

}  // namespace cdf_test
