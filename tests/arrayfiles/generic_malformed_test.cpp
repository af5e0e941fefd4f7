// Damaged generic files end in an exception of the family: never a crash, a
// hang or an allocation beyond the file's size.
#include <gtest/gtest.h>

#include <algorithm>

#include "arrayfiles/generic/GenericExceptions.h"
#include "arrayfiles/generic/GenericFileReader.h"
#include "tests/arrayfiles/GenericCellWalk.h"
#include "tests/arrayfiles/GenericTestFiles.h"
#include "tests/support/TempHome.h"

namespace {

using namespace generic_io;
using namespace generic_test;
namespace ex = generic_exceptions;

class GenericMalformedTest : public qova::test::TempHomeTest {
 protected:
  // Reads the headers and, when that works, every cell of every data set.
  void ReadEverything(const std::string& bytes, int mode) {
    std::string path = Path("damaged.gen");
    ASSERT_TRUE(WriteBytes(path, bytes));
    GenericData data;
    GenericFileReader reader;
    reader.SetFilename(path);
    reader.ReadHeader(data, mode);
    if (mode == NoDataGroupHeaders) {
      std::uint32_t position = data.Header().firstDataGroupPos;
      // Our own walk of the chain, capped: this mode leaves the group count unchecked.
      for (int g = 0; g < std::min(data.Header().numDataGroups, 100); ++g) {
        DataGroup group = data.DataGroup(position);
        ReadGroup(group);
        position = group.Header().nextGroupPos;
      }
      return;
    }
    std::vector<DataGroupHeader> groups = data.Header().dataGroupHeaders;
    for (const DataGroupHeader& group : groups) {
      for (const DataSetHeader& set : group.dataSetHeaders) {
        auto opened = data.DataSet(group.name, set.name);
        ReadEveryCell(*opened);
      }
    }
  }
  static void ReadGroup(const DataGroup& group) {
    for (int s = 0; s < group.Header().GetDataSetCount(); ++s) ReadEveryCell(*group.DataSet(s));
  }
  // The read must fail with an exception of the family. Damage to the group
  // count or chain goes unseen when the group headers are not read
  // (`groupDamage`); such reads must still end without a crash.
  void ExpectFamilyFailure(const std::string& bytes, const char* what, bool groupDamage = false) {
    for (int mode : {AllHeaders, MinimalDataSetHeaders, NoDataGroupHeaders}) {
      try {
        ReadEverything(bytes, mode);
        if (!groupDamage || mode != NoDataGroupHeaders) {
          ADD_FAILURE() << what << ": mode " << mode << " read a damaged file";
        }
      } catch (const ex::GenericException&) {
      }
    }
  }
};

TEST_F(GenericMalformedTest, EveryTruncationFailsInTheHeadersOrLeavesTheCutSetClosed) {
  GenericFileLayout layout;
  const std::string whole = GenericFileBytes(SampleFile(), &layout);
  const std::size_t lastData = layout.dataPos[1][1];
  for (std::size_t length = 0; length < whole.size(); ++length) {
    SCOPED_TRACE(length);
    std::string path = Path("cut.gen");
    ASSERT_TRUE(WriteBytes(path, whole.substr(0, length)));
    GenericData data;
    GenericFileReader reader;
    reader.SetFilename(path);
    if (length < lastData) {
      EXPECT_THROW(reader.ReadHeader(data, AllHeaders), ex::GenericException);
      continue;
    }
    reader.ReadHeader(data, AllHeaders);
    EXPECT_TRUE(data.DataSet(u"Group Two", u"Single16")->Open());
    EXPECT_FALSE(data.DataSet(u"Group Two", u"SingleFloat")->Open());
  }
}

TEST_F(GenericMalformedTest, EveryTruncationReadInEveryModeEndsInTheFamily) {
  const std::string whole = GenericFileBytes(SampleFile());
  for (std::size_t length = 0; length < whole.size(); length += 5) {
    for (int mode : {AllHeaders, MinimalDataSetHeaders, NoDataGroupHeaders}) {
      try {
        ReadEverything(whole.substr(0, length), mode);
      } catch (const ex::GenericException&) {
      }
    }
  }
}

TEST_F(GenericMalformedTest, BadCountsLengthsAndPositionsRaise) {
  GenericFileLayout layout;
  const std::string whole = GenericFileBytes(SampleFile(), &layout);
  const std::size_t typeId = 10;  // the file type id's count follows the file header
  const std::size_t firstParam = FindWideString(whole, u"p-int8");
  const std::size_t paramCount = firstParam - 4;
  const std::size_t blob = firstParam + 4 + 2 * 6;
  const std::size_t scanTypeId = whole.find("\x00\x00\x00\x09qova-scan", 0, 13);
  const std::size_t columnName = FindWideString(whole, u"c-int16");
  const std::size_t columnSize = columnName + 4 + 2 * 7 + 1;
  const std::size_t group0 = layout.groupPos[0];
  const std::size_t set0 = layout.setHeaderPos[0][0];
  const std::size_t textColumn = FindWideString(whole, u"short16") + 4 + 2 * 7;
  ASSERT_NE(firstParam, std::string::npos);
  ASSERT_NE(scanTypeId, std::string::npos);
  ASSERT_NE(columnName, std::string::npos);

  struct Patch {
    const char* what;
    std::size_t at;
    std::uint32_t value;
    bool groupDamage = false;
  } patches[] = {
      {"type id length negative", typeId, 0xFFFFFFFF},
      {"type id length past the end", typeId, 0x7FFFFFFF},
      {"parameter count huge", paramCount, 0xFFFFFFF0},
      {"parameter name length past the end", firstParam, 0x10000000},
      {"parameter blob length negative", blob, 0x80000000},
      {"parameter blob length past the end", blob, 0x00FFFFFF},
      {"parent count huge", scanTypeId - 4, 0x40000000},
      {"group count negative", 2, 0xFFFFFFFF, true},
      {"group count huge", 2, 0x00100000, true},
      {"first group past the end", 6, 0x7FFFFFF0},
      {"data set count huge", group0 + 8, 0x0FFFFFFF},
      {"first data set past the end", group0 + 4, 0xFFFFFFF0},
      {"next group past the end", group0, 0x7FFFFFF0},
      {"next data set past the end", set0 + 4, 0x7FFFFFF0},
      {"column size zero", columnSize, 0},
      {"column size negative", columnSize, 0xFFFFFFFE},
      {"16-bit text column below its count", textColumn + 1, 3},
  };
  for (const Patch& p : patches) {
    std::string bytes = whole;
    PatchBE32(bytes, p.at, p.value);
    ExpectFamilyFailure(bytes, p.what, p.groupDamage);
  }
}

TEST_F(GenericMalformedTest, ColumnSizeAndRowCountLimitsAreCheckedWhenTheHeaderIsRead) {
  struct Case {
    std::int8_t type;
    std::int32_t size, rows;
    bool readable;
  } cases[] = {{arraywriters::kColumnText8, 3, 1, false}, {arraywriters::kColumnText8, 4, 1, true},  {arraywriters::kColumnText16, 2, 1, false},
               {arraywriters::kColumnText16, 5, 1, true}, {arraywriters::kColumnInt32, 0, 0, false}, {arraywriters::kColumnInt32, -4, 0, false},
               {arraywriters::kColumnInt32, 4, -1, false}};
  for (const Case& c : cases) {
    GenericFileSpec spec;
    GenericDataSetSpec set;
    set.name = u"S";
    set.columns = {{u"c", c.type, c.size}};
    set.rowCount = c.rows;
    set.elements.assign(std::size_t(std::max(c.size, 0) * std::max(c.rows, 0)), '\0');
    spec.groups = {{u"G", {set}}};
    std::string bytes = GenericFileBytes(spec);
    if (c.readable) {
      ReadEverything(bytes, AllHeaders);
    } else {
      ExpectFamilyFailure(bytes, "column");
    }
  }
}

TEST_F(GenericMalformedTest, RowWidthBeyondTheIntegerRangeIsRefused) {
  GenericFileSpec spec;
  GenericDataSetSpec set;
  set.name = u"S";
  set.columns = {{u"a", arraywriters::kColumnInt32, 0x7FFFFFF0}, {u"b", arraywriters::kColumnInt32, 0x7FFFFFF0}};
  spec.groups = {{u"G", {set}}};
  ExpectFamilyFailure(GenericFileBytes(spec), "row width");
}

TEST_F(GenericMalformedTest, HugeRowCountsLeaveTheSetClosed) {
  GenericFileSpec spec;
  GenericDataSetSpec set;
  set.name = u"S";
  set.columns = {{u"a", arraywriters::kColumnInt32, 4}};
  set.rowCount = 0x7FFFFFFF;
  set.elements = "12345678";
  spec.groups = {{u"G", {set}}};
  for (bool mapped : {true, false}) {
    std::string path = Path("rows.gen");
    ASSERT_TRUE(WriteGenericFile(path, spec));
    GenericData data;
    data.UseMemoryMapping(mapped);
    data.LoadEntireDataSetHint(true);
    GenericFileReader reader;
    reader.SetFilename(path);
    reader.ReadHeader(data);
    EXPECT_FALSE(data.DataSet(u"G", u"S")->Open());
  }
}

TEST_F(GenericMalformedTest, ChainsThatLoopEndInsteadOfHanging) {
  GenericFileLayout layout;
  std::string bytes = GenericFileBytes(SampleFile(), &layout);
  // Two groups that point at each other, and a count that walks them forever.
  PatchBE32(bytes, layout.groupPos[1], layout.groupPos[0]);
  PatchBE32(bytes, 2, std::uint32_t(bytes.size() / 16));
  ExpectFamilyFailure(bytes, "group loop", true);

  bytes = GenericFileBytes(SampleFile(), &layout);
  // A data set chain pointing back at itself with a large count.
  PatchBE32(bytes, layout.setHeaderPos[1][0] + 4, layout.setHeaderPos[1][0]);
  PatchBE32(bytes, layout.groupPos[1] + 8, std::uint32_t(bytes.size() / 30));
  ExpectFamilyFailure(bytes, "set loop");
}

TEST_F(GenericMalformedTest, DataStartPastTheEndLeavesTheSetClosed) {
  GenericFileLayout layout;
  std::string bytes = GenericFileBytes(SampleFile(), &layout);
  PatchBE32(bytes, layout.setHeaderPos[0][0], 0xFFFFFF00);
  std::string path = Path("start.gen");
  ASSERT_TRUE(WriteBytes(path, bytes));
  GenericData data;
  GenericFileReader reader;
  reader.SetFilename(path);
  reader.ReadHeader(data);
  EXPECT_FALSE(data.DataSet(u"Group One", u"Numbers")->Open());
  EXPECT_TRUE(data.DataSet(u"Group One", u"Texts")->Open());
}

}  // namespace
