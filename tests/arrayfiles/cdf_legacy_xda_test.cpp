// The legacy reader on binary (XDA) library files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "arrayfiles/cdf/LegacyCDFFile.h"
#include "platform/ByteOrder.h"
#include "tests/arrayfiles/cdf_test_support.h"

namespace cdf_test {
namespace {

class CdfLegacyXdaTest : public CdfFileTest {
 protected:
  bool ReadImage(const std::string& bytes) {
    file_.SetFileName(WriteFile("lib.cdf", bytes));
    return file_.Read();
  }
  // Reads every probe set, as records and as a cell walk; false at the
  // first one that fails, where the cell walk fails too and keeps no cells.
  bool WalkAll() {
    std::vector<CLegacyCDFGroupCell> cells;
    for (int i = 0; i < file_.GetHeader().GetNumProbeSets(); ++i) {
      CLegacyCDFProbeSetInformation set;
      const bool read = file_.GetProbeSetInformation(i, set);
      const std::string error = file_.GetError();
      EXPECT_EQ(file_.GetProbeSetCells(i, cells), read) << "probe set " << i;
      EXPECT_EQ(file_.GetError(), error) << "probe set " << i;
      if (!read) {
        EXPECT_TRUE(cells.empty()) << "probe set " << i;
        return false;
      }
    }
    return true;
  }
  CLegacyCDFFile file_;
};

// Offsets of the XDA form, from the layout that was written.
struct XdaPositions {
  std::size_t names, qcTable, setTable;
};

XdaPositions PositionsOf(const CdfLayout& layout) {
  XdaPositions p;
  p.names = 24 + layout.reference.size();
  p.qcTable = p.names + 64 * layout.probeSets.size();
  p.setTable = p.qcTable + 4 * layout.qcSets.size();
  return p;
}

std::string Patched32(std::string bytes, std::size_t at, std::uint32_t value) {
  platform::WriteLE32(&bytes[at], value);
  return bytes;
}

TEST_F(CdfLegacyXdaTest, WrittenLayoutReadsBackWhole) {
  const CdfLayout layout = SmallLayout();
  for (std::int32_t version : {0, 1}) {
    SCOPED_TRACE(version);
    ASSERT_TRUE(ReadImage(XdaCdfImage(layout, version))) << file_.GetError();
    EXPECT_TRUE(file_.IsXDACompatibleFile());
    const CLegacyCDFFileHeader header = file_.GetHeader();
    EXPECT_EQ(header.GetMagic(), 67);
    EXPECT_EQ(header.GetVersion(), version);
    EXPECT_EQ(header.GetReference(), layout.reference);
    EXPECT_EQ(header.GetNumQCProbeSets(), static_cast<int>(layout.qcSets.size()));
    ExpectLegacyMatchesLayout(file_, layout, true);
  }
}

TEST_F(CdfLegacyXdaTest, ProbeSetsReadInAnyOrder) {
  const CdfLayout layout = SmallLayout();
  ASSERT_TRUE(ReadImage(XdaCdfImage(layout)));
  for (int i : {5, 0, 18, 5, 3}) {
    CLegacyCDFProbeSetInformation set;
    ASSERT_TRUE(file_.GetProbeSetInformation(i, set));
    EXPECT_EQ(set.GetProbeSetIndex(), i);
    EXPECT_EQ(set.GetProbeSetNumber(), layout.probeSets[static_cast<std::size_t>(i)].number);
    EXPECT_EQ(file_.GetProbeSetName(i), layout.probeSets[static_cast<std::size_t>(i)].name);
  }
}

TEST_F(CdfLegacyXdaTest, VersionAboveOneIsRefused) {
  EXPECT_FALSE(ReadImage(XdaCdfImage(SmallLayout(), 2)));
  EXPECT_EQ(file_.GetError(), "The file does not appear to be the correct format.");
  EXPECT_EQ(file_.GetHeader().GetVersion(), 2);
  // The fields after the version are not read.
  EXPECT_EQ(file_.GetHeader().GetNumProbeSets(), 0);
}

TEST_F(CdfLegacyXdaTest, NameOfSixtyFourCharactersHasNoEnd) {
  CdfLayout layout = SmallLayout();
  layout.probeSets[1].name = std::string(64, 'N');
  layout.probeSets[1].blocks[0].name = std::string(63, 'B') + "E";
  ASSERT_TRUE(ReadImage(XdaCdfImage(layout)));
  EXPECT_EQ(file_.GetProbeSetName(1), std::string(64, 'N'));
  EXPECT_EQ(file_.GetProbeSetName(2), layout.probeSets[2].name);
  CLegacyCDFProbeSetInformation set;
  CLegacyCDFProbeGroupInformation group;
  ASSERT_TRUE(file_.GetProbeSetInformation(1, set));
  ASSERT_TRUE(set.GetGroupInformation(0, group));
  EXPECT_EQ(group.GetName(), layout.probeSets[1].blocks[0].name);
}

TEST_F(CdfLegacyXdaTest, LyingCountsAndOffsetsFailWithTheirText) {
  const CdfLayout layout = SmallLayout();
  const std::string good = XdaCdfImage(layout);
  const XdaPositions p = PositionsOf(layout);
  const std::size_t record0 = platform::ReadLE32(&good[p.setTable]);
  const std::size_t group0 = record0 + 20;
  struct Case {
    const char* what;
    std::string bytes;
    bool readFails;  // else the first walk over the probe sets fails
    const char* error;
    const char* where;  // what the error says of the place, after the message
  };
  const char* badCount = "A count in the file is negative or larger than the file.";
  const char* badFormat = "The file does not appear to be the correct format.";
  const char* outside = "A probe set lies outside the file.";
  const std::vector<Case> cases = {
      {"probe-set count beyond the file", Patched32(good, 12, 0x7fffffff), true, badCount,
       "the name and offset tables of 2147483647 probe sets"},
      {"negative probe-set count", Patched32(good, 12, 0xffffffff), true, badCount,
       "the header at offset 12 counts -1 probe sets"},
      {"QC count beyond the file", Patched32(good, 16, 0x01000000), true, badCount, "and 16777216 QC probe sets at offset"},
      {"negative QC count", Patched32(good, 16, 0x80000000), true, badCount, "and -2147483648 QC probe sets"},
      {"negative reference length", Patched32(good, 20, 0xfffffffb), true, badFormat, ""},
      {"reference longer than the file", Patched32(good, 20, 0x00ffffff), true, badFormat, ""},
      {"negative probe-set offset", Patched32(good, p.setTable, 0xffffffff), false, outside,
       "probe set 0 starts at offset -1, outside the file of "},
      {"probe-set offset past the end", Patched32(good, p.setTable + 4, static_cast<std::uint32_t>(good.size() - 3)),
       false, outside, "probe set 1 starts at offset "},
      {"group count beyond the file", Patched32(good, record0 + 7, 0x10000000), false, badCount,
       "probe set 0 at offset "},
      {"negative group count", Patched32(good, record0 + 7, 0xfffffffe), false, badCount, " has -2 groups of "},
      {"cell count beyond the file", Patched32(good, group0 + 4, 0x20000000), false, badCount,
       "group 0 of probe set 0 at offset "},
      {"negative cell count", Patched32(good, group0 + 4, 0xfffffff0), false, badCount, " has -16 cells of 14 bytes"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const bool read = ReadImage(c.bytes);
    EXPECT_EQ(read, !c.readFails);
    if (read) {
      EXPECT_FALSE(WalkAll());
    } else {
      // The counts the file lied about are not handed on.
      EXPECT_EQ(file_.GetHeader().GetNumProbeSets(), 0);
      EXPECT_EQ(file_.GetHeader().GetNumQCProbeSets(), 0);
    }
    const std::string error = file_.GetError();
    EXPECT_TRUE(error.starts_with(c.error)) << error;
    EXPECT_NE(error.find(c.where), std::string::npos) << error;
  }
}

// A library of 40,000 probe sets reads back whole, and one cut deep inside
// its name table fails and shows no names.
TEST_F(CdfLegacyXdaTest, ALargeLibraryReadsBackWholeAndOneCutInsideItsNameTableFails) {
  SyntheticCdfOptions options;
  options.snpSets = 20000;
  options.blocksPerSnp = 2;
  options.listsPerBlock = 1;
  options.mismatchCells = false;
  options.copyNumberSets = 20000;
  options.controlSets = 0;
  const CdfLayout layout = MakeSyntheticCdfLayout(options);
  const std::string good = XdaCdfImage(layout);
  ASSERT_TRUE(ReadImage(good)) << file_.GetError();
  ExpectLegacyMatchesLayout(file_, layout, true);

  const std::size_t insideThirdBlock = PositionsOf(layout).names + 64 * 40000 + 10;
  EXPECT_FALSE(ReadImage(good.substr(0, insideThirdBlock)));
  EXPECT_FALSE(file_.GetError().empty());
  EXPECT_EQ(file_.GetProbeSetName(0), "");
}

// The bytes of the mapping of `path` this process has resident, from
// /proc/self/smaps; 0 when the file is not mapped.
std::size_t ResidentBytesOfMapping(const std::string& path) {
  std::ifstream smaps("/proc/self/smaps");
  const std::string file = std::filesystem::canonical(path).string();
  std::size_t resident = 0;
  bool inMapping = false;
  for (std::string line; std::getline(smaps, line);) {
    if (line.find('-') < line.find(' ') && line.find(':') > line.find(' ')) {
      inMapping = line.ends_with(" " + file);
    } else if (inMapping && line.starts_with("Rss:")) {
      resident += std::stoul(line.substr(4)) * 1024;
    }
  }
  return resident;
}

// A walk over every probe set gives back the mapped pages it has passed: of
// a library of about 45 MB only a few megabytes stay resident, and the walk
// reads it all the same.
TEST_F(CdfLegacyXdaTest, AWalkOverALargeLibraryKeepsLittleOfItResident) {
  SyntheticCdfOptions options;
  options.snpSets = 60000;
  options.blocksPerSnp = 4;
  options.copyNumberSets = 1000;
  const CdfLayout layout = MakeSyntheticCdfLayout(options);
  const std::string image = XdaCdfImage(layout);
  ASSERT_GT(image.size(), std::size_t(40) << 20);
  ASSERT_TRUE(ReadImage(image)) << file_.GetError();
  ASSERT_TRUE(WalkAll());
  const std::size_t resident = ResidentBytesOfMapping(file_.GetFileName());
  EXPECT_GT(resident, 0u);
  EXPECT_LT(resident, std::size_t(20) << 20);
  ExpectLegacyMatchesLayout(file_, layout, true);
  file_.Close();
  EXPECT_EQ(ResidentBytesOfMapping(Path("lib.cdf")), 0u);
}

TEST_F(CdfLegacyXdaTest, EveryTruncationFails) {
  SyntheticCdfOptions options;
  options.snpSets = 3;
  options.copyNumberSets = 1;
  options.controlSets = 1;
  options.qcSets = 1;
  const std::string good = XdaCdfImage(MakeSyntheticCdfLayout(options));
  for (std::size_t size = 0; size < good.size(); ++size) {
    SCOPED_TRACE(size);
    const bool read = ReadImage(good.substr(0, size));
    if (read) {
      EXPECT_FALSE(WalkAll());
    }
    EXPECT_FALSE(file_.GetError().empty());
  }
}

}  // namespace
}  // namespace cdf_test
