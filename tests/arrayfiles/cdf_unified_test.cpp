// The one view of a CDF file over every form: the same layout written as
// text (each version), XDA and generic reads back alike, and files that lie
// or break give empty records, never an escaped exception.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "arrayfiles/cdf/UnifiedCDFData.h"
#include "platform/Strings.h"
#include "tests/arrayfiles/CdfRecordCells.h"
#include "tests/arrayfiles/cdf_test_support.h"

namespace cdf_test {
namespace {

using unified_io::UnifiedCDFData;
using unified_io::UnifiedCDFGroupCell;
using unified_io::UnifiedCDFProbeGroupInformation;
using unified_io::UnifiedCDFProbeInformation;
using unified_io::UnifiedCDFProbeSetInformation;

struct Form {
  const char* name;
  std::function<std::string(const CdfLayout&)> write;
};

std::vector<Form> Forms() {
  return {
      {"text GC1.0", [](const CdfLayout& l) { return TextCdfImage(l, TextCdfOptions{1, true, false, true}); }},
      {"text GC2.0", [](const CdfLayout& l) { return TextCdfImage(l, TextCdfOptions{2, true, true, true}); }},
      {"text GC3.0", [](const CdfLayout& l) { return TextCdfImage(l, TextCdfOptions{3, true, false, false}); }},
      {"XDA", [](const CdfLayout& l) { return XdaCdfImage(l); }},
      {"generic", [](const CdfLayout& l) { return GenericCdfImage(l); }},
      {"generic, 8-bit names", [](const CdfLayout& l) { return GenericCdfImage(l, GenericCdfOptions{false, false}); }},
  };
}

// Walks one probe set through the view, by its records and by its cell
// walk, and checks both against the layout.
void ExpectProbeSet(UnifiedCDFData& cdf, int i, const CdfProbeSet& want) {
  SCOPED_TRACE(want.name);
  EXPECT_EQ(cdf.GetProbeSetName(i), want.name);
  std::vector<UnifiedCDFGroupCell> walked;
  EXPECT_TRUE(cdf.GetProbeSetCells(i, walked));
  std::vector<UnifiedCDFGroupCell> laid;
  for (std::size_t g = 0; g < want.blocks.size(); ++g) {
    for (const CdfCell& cell : want.blocks[g].cells) {
      laid.push_back({static_cast<int>(g), cell.x, cell.y, cell.probeBase, cell.targetBase});
    }
  }
  EXPECT_EQ(walked, laid);
  UnifiedCDFProbeSetInformation set;
  cdf.GetProbeSetInformation(i, set);
  EXPECT_EQ(set.GetProbeSetType(), want.type);
  ASSERT_EQ(set.GetNumGroups(), static_cast<int>(want.blocks.size()));
  for (int g = 0; g < set.GetNumGroups(); ++g) {
    const CdfBlock& block = want.blocks[static_cast<std::size_t>(g)];
    UnifiedCDFProbeGroupInformation group;
    set.GetGroupInformation(g, group);
    EXPECT_EQ(group.GetName(), block.name);
    ASSERT_EQ(group.GetNumCells(), static_cast<int>(block.cells.size()));
    for (int c = 0; c < group.GetNumCells(); ++c) {
      const CdfCell& cell = block.cells[static_cast<std::size_t>(c)];
      UnifiedCDFProbeInformation got;
      group.GetCell(c, got);
      EXPECT_EQ(got.GetX(), cell.x) << "group " << g << " cell " << c;
      EXPECT_EQ(got.GetY(), cell.y) << "group " << g << " cell " << c;
      EXPECT_EQ(got.GetPBase(), cell.probeBase) << "group " << g << " cell " << c;
      EXPECT_EQ(got.GetTBase(), cell.targetBase) << "group " << g << " cell " << c;
      EXPECT_EQ(got.GetListIndex(), cell.listIndex) << "group " << g << " cell " << c;
    }
  }
}

class CdfUnifiedTest : public CdfFileTest {
 protected:
  bool ReadImage(const std::string& bytes) {
    cdf_.SetFileName(WriteFile("lib.cdf", bytes));
    return cdf_.Read();
  }
  UnifiedCDFData cdf_;
};

// The small layout, and SNP probe sets of four groups (both strands) whose
// lists are single perfect-match cells.
std::vector<CdfLayout> Layouts() {
  SyntheticCdfOptions fourGroups;
  fourGroups.snpSets = 6;
  fourGroups.blocksPerSnp = 4;
  fourGroups.listsPerBlock = 2;
  fourGroups.mismatchCells = false;
  fourGroups.copyNumberSets = 2;
  fourGroups.controlSets = 1;
  return {SmallLayout(), MakeSyntheticCdfLayout(fourGroups)};
}

TEST_F(CdfUnifiedTest, EveryFormReadsBackTheSameLayout) {
  for (const CdfLayout& layout : Layouts()) {
    for (const Form& form : Forms()) {
      SCOPED_TRACE(form.name);
      ASSERT_TRUE(ReadImage(form.write(layout))) << cdf_.GetError();
      ASSERT_EQ(cdf_.GetHeader().GetNumProbeSets(), static_cast<int>(layout.probeSets.size()));
      for (int i = 0; i < cdf_.GetHeader().GetNumProbeSets(); ++i) {
        ExpectProbeSet(cdf_, i, layout.probeSets[static_cast<std::size_t>(i)]);
      }
      EXPECT_EQ(cdf_.GetError(), "");
    }
  }
}

TEST_F(CdfUnifiedTest, ACopyOfAnXdaReaderWalksTheFileOnItsOwnAndOtherFormsAreNotCopied) {
  const CdfLayout layout = Layouts()[1];
  for (const Form& form : Forms()) {
    SCOPED_TRACE(form.name);
    ASSERT_TRUE(ReadImage(form.write(layout))) << cdf_.GetError();
    UnifiedCDFData copy;
    const bool xda = std::string(form.name) == "XDA";
    ASSERT_EQ(copy.ReadCopyOf(cdf_), xda);
    if (!xda) continue;
    // The two walk from opposite ends: neither moves the other's read position.
    const int sets = cdf_.GetHeader().GetNumProbeSets();
    ASSERT_EQ(copy.GetHeader().GetNumProbeSets(), sets);
    EXPECT_EQ(copy.GetHeader().GetCols(), layout.cols);
    for (int i = 0; i < sets; ++i) {
      ExpectProbeSet(copy, sets - 1 - i, layout.probeSets[static_cast<std::size_t>(sets - 1 - i)]);
      ExpectProbeSet(cdf_, i, layout.probeSets[static_cast<std::size_t>(i)]);
    }
    // The copy keeps the names and offsets it shares when the reader it was
    // made from is closed.
    cdf_.Close();
    EXPECT_EQ(cdf_.GetProbeSetName(0), "");
    for (int i = 0; i < sets; ++i) ExpectProbeSet(copy, i, layout.probeSets[static_cast<std::size_t>(i)]);
  }
  // A copy made after another library was put in the file's place reads the
  // file the reader read, not the new one with the reader's positions.
  ASSERT_TRUE(ReadImage(XdaCdfImage(layout)));
  const std::string path = cdf_.GetFileName();
  std::filesystem::rename(WriteFile("other.cdf", XdaCdfImage(SmallLayout())), path);
  UnifiedCDFData copy;
  ASSERT_TRUE(copy.ReadCopyOf(cdf_));
  for (int i = 0; i < copy.GetHeader().GetNumProbeSets(); ++i) {
    ExpectProbeSet(copy, i, layout.probeSets[static_cast<std::size_t>(i)]);
  }
  // A closed reader has nothing to copy.
  cdf_.Close();
  EXPECT_FALSE(copy.ReadCopyOf(cdf_));
  EXPECT_EQ(copy.GetHeader().GetNumProbeSets(), 0);
}

TEST_F(CdfUnifiedTest, HeaderShowsWhatEachFormCarries) {
  const CdfLayout layout = SmallLayout();
  ASSERT_TRUE(ReadImage(XdaCdfImage(layout)));
  EXPECT_EQ(cdf_.GetHeader().GetRows(), layout.rows);
  EXPECT_EQ(cdf_.GetHeader().GetCols(), layout.cols);
  EXPECT_EQ(cdf_.GetHeader().GetNumQCProbeSets(), static_cast<int>(layout.qcSets.size()));
  EXPECT_EQ(cdf_.GetHeader().GetReferenceSequence(), layout.reference);
  ASSERT_TRUE(ReadImage(GenericCdfImage(layout)));
  EXPECT_EQ(cdf_.GetHeader().GetReferenceSequence(), layout.reference);
  EXPECT_EQ(cdf_.GetHeader().GetRows(), 0);
}

TEST_F(CdfUnifiedTest, ExtractionStyleWalkSkipsAndGoesBack) {
  const CdfLayout layout = SmallLayout();
  ASSERT_TRUE(ReadImage(GenericCdfImage(layout)));
  // Only the SNP probe sets, as the sample extraction asks for them.
  int snps = 0;
  for (int i = 0; i < cdf_.GetHeader().GetNumProbeSets(); ++i) {
    if (cdf_.GetProbeSetName(i).rfind("SNP", 0) != 0) continue;
    ExpectProbeSet(cdf_, i, layout.probeSets[static_cast<std::size_t>(i)]);
    ++snps;
  }
  EXPECT_EQ(snps, 12);
  // A backward request after the walk.
  ExpectProbeSet(cdf_, 1, layout.probeSets[1]);
  ExpectProbeSet(cdf_, 0, layout.probeSets[0]);
  EXPECT_EQ(cdf_.GetError(), "");
}

// A generic image of the small layout after `change` was made to its contents.
std::string ChangedGeneric(const std::function<void(GenericFileSpec&)>& change) {
  GenericFileSpec spec = GenericCdfSpec(SmallLayout());
  change(spec);
  return GenericFileBytes(spec);
}

TEST_F(CdfUnifiedTest, LyingCountsGiveBoundedOrEmptyRecords) {
  const int sets = static_cast<int>(SmallLayout().probeSets.size());
  struct Case {
    const char* what;
    std::string bytes;
    int probeSets;
  };
  const std::vector<Case> cases = {
      {"SETS beyond the groups",
       ChangedGeneric([](GenericFileSpec& s) { s.header.parameters[1] = UInt32Parameter(u"SETS", 5000); }), sets},
      {"SETS below the groups",
       ChangedGeneric([](GenericFileSpec& s) { s.header.parameters[1] = UInt32Parameter(u"SETS", 4); }), 4},
      {"SETS of another type",
       ChangedGeneric([](GenericFileSpec& s) { s.header.parameters[1] = Int32Parameter(u"SETS", 4); }), 0},
      {"index with fewer rows",
       ChangedGeneric([](GenericFileSpec& s) { s.groups[0].dataSets[0].rowCount = 3; }), 3},
      {"index rows past the file",
       ChangedGeneric([](GenericFileSpec& s) { s.groups[0].dataSets[0].rowCount = 1 << 30; }), 0},
      {"missing index set", ChangedGeneric([](GenericFileSpec& s) { s.groups[0].dataSets.clear(); }), 0},
      {"fewer groups than SETS", ChangedGeneric([](GenericFileSpec& s) { s.groups.resize(6); }), 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(ReadImage(c.bytes)) << cdf_.GetError();
    EXPECT_EQ(cdf_.GetHeader().GetNumProbeSets(), c.probeSets);
    for (int i = 0; i < c.probeSets; ++i) ExpectProbeSet(cdf_, i, SmallLayout().probeSets[static_cast<std::size_t>(i)]);
    // Asking past the bound gives empty answers.
    UnifiedCDFProbeSetInformation set;
    cdf_.GetProbeSetInformation(sets + 1, set);
    EXPECT_EQ(set.GetNumGroups(), 0);
    EXPECT_EQ(cdf_.GetProbeSetName(sets + 1), "");
  }
}

// Probe sets that are plain, and probe sets whose headers hold what the
// records treat specially: the cell walk gives, probe set by probe set, the
// cells the records give and notes the same failures.
TEST_F(CdfUnifiedTest, CellWalkOfGenericProbeSetsGivesWhatTheRecordsGive) {
  using Change = std::function<void(GenericFileSpec&)>;
  // The first SNP probe set's groups (the first group of the file is the index).
  const auto firstSnp = [](GenericFileSpec& s) -> std::vector<GenericDataSetSpec>& { return s.groups[1].dataSets; };
  struct Case {
    const char* what;
    Change change;
  };
  const std::vector<Case> cases = {
      {"as written", [](GenericFileSpec&) {}},
      {"Cells of another type in the first group",
       [&](GenericFileSpec& s) { firstSnp(s)[0].parameters[5] = UInt16Parameter(u"Cells", 2); }},
      {"Atoms of another type in the second group",
       [&](GenericFileSpec& s) { firstSnp(s)[1].parameters[4] = Int32Parameter(u"Atoms", 2); }},
      {"Unit Type of another type in the first group",
       [&](GenericFileSpec& s) { firstSnp(s)[0].parameters[0] = UInt32Parameter(u"Unit Type", 2); }},
      {"Direction of another type in the second group only",
       [&](GenericFileSpec& s) { firstSnp(s)[1].parameters[1] = UInt32Parameter(u"Direction", 1); }},
      {"a second Cells after the first",
       [&](GenericFileSpec& s) { firstSnp(s)[0].parameters.push_back(UInt32Parameter(u"Cells", 1)); }},
      {"a second Cells of another type after the first",
       [&](GenericFileSpec& s) { firstSnp(s)[0].parameters.push_back(Int8Parameter(u"Cells", 1)); }},
      {"no Cells", [&](GenericFileSpec& s) { firstSnp(s)[1].parameters.erase(firstSnp(s)[1].parameters.begin() + 5); }},
      {"Cells below the rows", [&](GenericFileSpec& s) { firstSnp(s)[0].parameters[5] = UInt32Parameter(u"Cells", 1); }},
      {"Cells of a short value",
       [&](GenericFileSpec& s) { firstSnp(s)[0].parameters[5].value = std::string("\0\0\0", 3); }},
      {"Cells named with a zero unit after the name",
       [&](GenericFileSpec& s) {
         firstSnp(s)[0].parameters[5] = UInt32Parameter(std::u16string(u"Cells\0x", 7), 1);
       }},
      {"Cells named Cell",
       [&](GenericFileSpec& s) { firstSnp(s)[0].parameters[5] = UInt32Parameter(u"Cell", 1); }},
      {"Cells typed with a zero unit after the type",
       [&](GenericFileSpec& s) { firstSnp(s)[0].parameters[5].mimeType += std::u16string(1, u'\0'); }},
      {"Cells typed with a longer type",
       [&](GenericFileSpec& s) { firstSnp(s)[0].parameters[5].mimeType += u"2"; }},
      {"five columns", [&](GenericFileSpec& s) { firstSnp(s)[0].columns.pop_back(); }},
      {"a narrow x column", [&](GenericFileSpec& s) { firstSnp(s)[1].columns[0].size = 1; }},
      {"a wide x column", [&](GenericFileSpec& s) { firstSnp(s)[0].columns[0].size = 3; }},
      {"a 16-bit text column of odd size",
       [&](GenericFileSpec& s) { firstSnp(s)[0].columns[2] = {u"Atom", kColumnText16, 5}; }},
      {"a column ahead of the cells",
       [&](GenericFileSpec& s) { firstSnp(s)[0].columns.insert(firstSnp(s)[0].columns.begin(), {u"Z", kColumnInt8, 1}); }},
      {"a column of no width", [&](GenericFileSpec& s) { firstSnp(s)[1].columns[3].size = 0; }},
      {"cells past the end of the file", [&](GenericFileSpec& s) { firstSnp(s)[1].rowCount = 1 << 28; }},
      {"a probe set without groups", [&](GenericFileSpec& s) { firstSnp(s).clear(); }},
      {"rows without columns", [&](GenericFileSpec& s) { firstSnp(s)[1].columns.clear(); }},
  };
  for (const CdfLayout& layout : Layouts()) {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.what);
      GenericFileSpec spec = GenericCdfSpec(layout);
      c.change(spec);
      const std::string path = WriteFile("odd.cdf", GenericFileBytes(spec));
      UnifiedCDFData records;
      records.SetFileName(path);
      ASSERT_TRUE(records.Read()) << records.GetError();
      ASSERT_TRUE(ReadImage(GenericFileBytes(spec)));
      std::vector<UnifiedCDFGroupCell> walked;
      for (int i = 0; i < cdf_.GetHeader().GetNumProbeSets(); ++i) {
        // Only the first SNP is changed: a failure notes a text not seen before.
        const std::string before = cdf_.GetError();
        const bool read = cdf_.GetProbeSetCells(i, walked);
        EXPECT_EQ(read, cdf_.GetError() == before) << "probe set " << i;
        EXPECT_EQ(walked, cdf_test::RecordCells(records, i)) << "probe set " << i;
        EXPECT_EQ(cdf_.GetError(), records.GetError()) << "probe set " << i;
      }
      // The records' walk goes back to the start; the cell walk follows.
      EXPECT_EQ(cdf_.GetProbeSetCells(0, walked), cdf_.GetError().empty());
      EXPECT_EQ(walked, cdf_test::RecordCells(records, 0));
    }
  }
}

// Names of 16-bit text narrow unit by unit, as the wide names narrowed: a
// unit past 8 bits becomes '?', and a name ends at its first zero unit.
TEST_F(CdfUnifiedTest, WideProbeSetNamesNarrowAsTheWideNames) {
  const CdfLayout layout = SmallLayout();
  const std::vector<std::pair<std::u16string, std::string>> odd = {
      {u"SNP_\u0416\u00E9", "SNP_?\xE9"}, {std::u16string(u"SN\0P_x", 6), "SN"}, {u"", ""}};
  ASSERT_TRUE(ReadImage(ChangedGeneric([&](GenericFileSpec& s) {
    GenericDataSetSpec& index = s.groups[0].dataSets[0];
    index.elements.clear();
    for (std::size_t i = 0; i < layout.probeSets.size(); ++i) {
      const std::u16string name = i < odd.size() ? odd[i].first : platform::Widen(layout.probeSets[i].name);
      AppendText16Cell(index.elements, name, index.columns[0].size);
      AppendInt32Cell(index.elements, static_cast<std::int32_t>(i));
    }
  })));
  for (int i = 0; i < cdf_.GetHeader().GetNumProbeSets(); ++i) {
    const std::size_t k = static_cast<std::size_t>(i);
    EXPECT_EQ(cdf_.GetProbeSetName(i), k < odd.size() ? odd[k].second : layout.probeSets[k].name) << i;
  }
}

TEST_F(CdfUnifiedTest, LyingCellCountsAreBoundedByTheRows) {
  ASSERT_TRUE(ReadImage(ChangedGeneric([](GenericFileSpec& s) {
    s.groups[1].dataSets[0].parameters[5] = UInt32Parameter(u"Cells", 0xffffffffu);
    s.groups[1].dataSets[1].parameters[5] = UInt32Parameter(u"Cells", 1);
  })));
  UnifiedCDFProbeSetInformation set;
  UnifiedCDFProbeGroupInformation group;
  cdf_.GetProbeSetInformation(0, set);
  set.GetGroupInformation(0, group);
  EXPECT_EQ(group.GetNumCells(), static_cast<int>(SmallLayout().probeSets[0].blocks[0].cells.size()));
  set.GetGroupInformation(1, group);
  EXPECT_EQ(group.GetNumCells(), 1);
}

TEST_F(CdfUnifiedTest, UnreadableProbeSetGivesEmptyRecordAndError) {
  // The second probe set's cells claim more rows than the file holds.
  ASSERT_TRUE(ReadImage(ChangedGeneric([](GenericFileSpec& s) { s.groups[2].dataSets[0].rowCount = 1 << 28; })));
  UnifiedCDFProbeSetInformation set;
  cdf_.GetProbeSetInformation(1, set);
  EXPECT_EQ(set.GetNumGroups(), 0);
  EXPECT_EQ(cdf_.GetError(), "InvalidFileTypeException");
  // The walk goes on past it.
  ExpectProbeSet(cdf_, 2, SmallLayout().probeSets[2]);
}

// Truncations of every form: the read fails with a text, or walking every
// probe set, group and cell reports a failure; nothing crashes or throws.
TEST_F(CdfUnifiedTest, TruncatedFilesFailWithAnErrorText) {
  SyntheticCdfOptions options;
  options.snpSets = 3;
  options.copyNumberSets = 1;
  options.controlSets = 1;
  options.qcSets = 1;
  const CdfLayout layout = MakeSyntheticCdfLayout(options);
  for (const Form& form : Forms()) {
    if (std::string(form.name).rfind("text", 0) == 0) continue;  // text cuts: see the legacy text tests
    SCOPED_TRACE(form.name);
    const std::string good = form.write(layout);
    for (std::size_t size = 0; size < good.size(); size += 3) {
      SCOPED_TRACE(size);
      const bool read = ReadImage(good.substr(0, size));
      if (read) {
        std::vector<UnifiedCDFGroupCell> walked;
        bool walkFailed = false;
        for (int i = 0; i < cdf_.GetHeader().GetNumProbeSets(); ++i) {
          // Every probe set of the layout has a name: an empty one was cut.
          walkFailed = walkFailed || cdf_.GetProbeSetName(i).empty();
          // The cell walk gives what the records give, and notes the same failure.
          const std::vector<UnifiedCDFGroupCell> records = cdf_test::RecordCells(cdf_, i);
          const std::string recordError = cdf_.GetError();
          const bool cellsRead = cdf_.GetProbeSetCells(i, walked);
          EXPECT_TRUE(cellsRead || walked.empty()) << "probe set " << i;
          walkFailed = walkFailed || !cellsRead;
          EXPECT_EQ(walked, records) << "probe set " << i;
          EXPECT_EQ(cdf_.GetError(), recordError) << "probe set " << i;
        }
        // A cut the headers do not show is told by the names or the cell walk
        // (a generic file cut in its probe-set count reads as one without any).
        EXPECT_TRUE(walkFailed || cdf_.GetHeader().GetNumProbeSets() == 0);
      }
      EXPECT_NE(cdf_.GetError(), "");
    }
  }
}

}  // namespace
}  // namespace cdf_test
