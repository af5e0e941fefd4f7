// Reading cells of writer-made data sets: by name and index, through the
// sliding window, the text and raw getters, and the stream modes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "arrayfiles/generic/GenericExceptions.h"
#include "arrayfiles/generic/GenericFileReader.h"
#include "tests/arrayfiles/GenericTestFiles.h"
#include "tests/support/TempHome.h"

namespace {

using namespace generic_io;
using namespace generic_test;
namespace ex = generic_exceptions;

class GenericDataSetTest : public qova::test::TempHomeTest {
 protected:
  void ReadSample(GenericData& data, int mode = AllHeaders, const GenericFileSpec& spec = SampleFile()) {
    std::string path = Path("sample.gen");
    ASSERT_TRUE(WriteGenericFile(path, spec, &layout_));
    GenericFileReader reader;
    reader.SetFilename(path);
    reader.ReadHeader(data, mode);
  }
  GenericFileLayout layout_;
};

// Opens the "Numbers" and "Texts" sets of the sample file and checks every cell.
void ExpectSampleCells(GenericData& data) {
  auto numbersSet = data.DataSet(u"Group One", u"Numbers");
  auto textsSet = data.DataSet(u"Group One", u"Texts");
  ASSERT_TRUE(numbersSet->Open());
  ASSERT_TRUE(textsSet->Open());
  DataSet& numbers = *numbersSet;
  DataSet& texts = *textsSet;
  for (int r = 0; r < kNumberRows; ++r) {
    SCOPED_TRACE(r);
    EXPECT_EQ(std::int8_t(*numbers.FilePosition(r, 0)), NumberInt8(r));
    EXPECT_EQ(*numbers.FilePosition(r, 1), NumberUInt8(r));
    EXPECT_EQ(std::int16_t(platform::ReadBE16(numbers.FilePosition(r, 2))), NumberInt16(r));
    EXPECT_EQ(platform::ReadBE16(numbers.FilePosition(r, 3)), NumberUInt16(r));
    EXPECT_EQ(std::int32_t(platform::ReadBE32(numbers.FilePosition(r, 4))), NumberInt32(r));
    EXPECT_EQ(platform::ReadBE32(numbers.FilePosition(r, 5)), NumberUInt32(r));
    EXPECT_EQ(platform::ReadBEFloat(numbers.FilePosition(r, 6)), NumberFloat(r));
  }
  for (int r = 0; r < kTextRows; ++r) {
    SCOPED_TRACE(r);
    std::string narrow;
    texts.GetData(r, 0, narrow);
    EXPECT_EQ(narrow, NumberText8(r));
    std::u16string wide;
    texts.GetData(r, 1, wide);
    EXPECT_EQ(wide, r == 0 ? u"ab" : u"c");
    texts.GetData(r, 2, wide);
    EXPECT_EQ(wide, NumberText16(r));
  }
}

TEST_F(GenericDataSetTest, CellsOfEveryColumnTypeReadBack) {
  GenericData data;
  ReadSample(data);
  ExpectSampleCells(data);
}

TEST_F(GenericDataSetTest, StreamModesReadTheSameCells) {
  for (bool hint : {false, true}) {
    SCOPED_TRACE(hint);
    GenericData data;
    data.UseMemoryMapping(false);
    data.LoadEntireDataSetHint(hint);
    ReadSample(data);
    ExpectSampleCells(data);
    std::vector<float> floats;
    auto single = data.DataSet(u"Group Two", u"SingleFloat");
    ASSERT_TRUE(single->Open());
    single->GetDataFloat(0, 0, 100, floats);
    ASSERT_EQ(floats.size(), std::size_t(kSingleFloatRows));
    EXPECT_EQ(floats.back(), float(kSingleFloatRows - 1) + 0.5f);
    EXPECT_FALSE(data.IsMapped());
  }
}

TEST_F(GenericDataSetTest, DataSetsAreFoundByNameAndIndex) {
  GenericData data;
  ReadSample(data);
  EXPECT_THROW((void)data.DataSet(u"Group One", u"Nothing"), ex::DataSetNotFoundException);
  EXPECT_THROW((void)data.DataSet(u"Group Three", u"Numbers"), ex::DataGroupNotFoundException);
  EXPECT_THROW((void)data.DataSet(u"group one", u"Numbers"), ex::DataGroupNotFoundException);

  DataGroup group = data.DataGroup(layout_.groupPos[1]);
  EXPECT_EQ(group.Header().name, u"Group Two");
  ASSERT_EQ(group.Header().GetDataSetCount(), 2);
  EXPECT_EQ(group.Header().GetDataSetHeader(1).rowCount, kSingleFloatRows);
  auto byIndex = group.DataSet(1);
  EXPECT_EQ(byIndex->Header().name, u"SingleFloat");
  ASSERT_TRUE(byIndex->Open());
  EXPECT_EQ(platform::ReadBEFloat(byIndex->FilePosition(2, 0)), 2.5f);
  EXPECT_THROW((void)group.DataSet(2), ex::DataSetNotFoundException);
  EXPECT_THROW((void)group.DataSet(-1), ex::DataSetNotFoundException);
  // Groups opened by position are not added to the file's header.
  EXPECT_EQ(data.Header().dataGroupHeaders.size(), 2u);
}

TEST_F(GenericDataSetTest, RawGettersClampTheirRangeToTheRows) {
  GenericData data;
  ReadSample(data);
  auto single = data.DataSet(u"Group Two", u"Single16");
  ASSERT_TRUE(single->Open());
  std::vector<std::uint16_t> values;
  struct Case {
    int start, count;
    std::vector<std::uint16_t> expected;
  } cases[] = {{0, 1, {1000}},         {8, 5, {1008, 1009}}, {9, 1, {1009}}, {10, 1, {}},
               {3, 0, {}},             {3, -4, {}},          {-2, 3, {1000}}, {7, 2147483647, {1007, 1008, 1009}},
               {2147483647, 1, {}}};
  for (const Case& c : cases) {
    single->GetDataRaw16(0, c.start, c.count, values);
    EXPECT_EQ(values, c.expected) << c.start << "," << c.count;
  }
}

TEST_F(GenericDataSetTest, CellsOutsideTheSetOrBeforeOpenRaise) {
  GenericData data;
  ReadSample(data);
  auto numbers = data.DataSet(u"Group One", u"Numbers");
  EXPECT_THROW((void)numbers->FilePosition(0, 0), ex::DataSetNotOpenException);
  std::vector<std::uint16_t> values;
  EXPECT_THROW(numbers->GetDataRaw16(3, 0, 1, values), ex::DataSetNotOpenException);
  ASSERT_TRUE(numbers->Open());
  struct Cell {
    int row, column;
  } outside[] = {{kNumberRows, 0}, {-1, 0}, {0, 7}, {0, -1}, {2147483647, 2}};
  for (const Cell& c : outside) {
    EXPECT_THROW((void)numbers->FilePosition(c.row, c.column), ex::DataSetRemapException) << c.row << "," << c.column;
  }
  std::string text;
  EXPECT_THROW(numbers->GetData(kNumberRows, 0, text), ex::DataSetRemapException);
  // After Close the mapping is forgotten: the window cannot move any more.
  numbers->Close();
  EXPECT_THROW((void)numbers->FilePosition(0, 0), ex::DataSetRemapException);
}

TEST_F(GenericDataSetTest, SetsWithoutRowsOpenAndSetsWithoutColumnsDoNot) {
  GenericFileSpec spec;
  GenericDataSetSpec empty;
  empty.name = u"Empty";
  empty.columns = {{u"x", arraywriters::kColumnInt16, 2}};
  GenericDataSetSpec noColumns;
  noColumns.name = u"NoColumns";
  noColumns.rowCount = 3;
  noColumns.elements = "abc";
  spec.groups = {{u"G", {empty, noColumns}}};
  GenericData data;
  ReadSample(data, AllHeaders, spec);
  auto emptySet = data.DataSet(u"G", u"Empty");
  EXPECT_TRUE(emptySet->Open());
  EXPECT_EQ(emptySet->Rows(), 0);
  std::vector<std::uint16_t> values{1, 2};
  emptySet->GetDataRaw16(0, 0, 10, values);
  EXPECT_TRUE(values.empty());
  EXPECT_THROW((void)emptySet->FilePosition(0, 0), ex::DataSetRemapException);
  EXPECT_FALSE(data.DataSet(u"G", u"NoColumns")->Open());
}

TEST_F(GenericDataSetTest, ASetRunningPastTheEndOfTheFileDoesNotOpen) {
  GenericFileSpec spec = SampleFile();
  spec.groups[1].dataSets[1].rowCount += 1;  // one row more than written
  for (bool mapped : {true, false}) {
    GenericData data;
    data.UseMemoryMapping(mapped);
    ReadSample(data, AllHeaders, spec);
    const auto cut = data.DataSet(u"Group Two", u"SingleFloat");
    EXPECT_FALSE(cut->Open()) << mapped;
    // The reader says which set and where, for the user's message.
    EXPECT_TRUE(cut->OpenProblem().starts_with("the data set \"SingleFloat\" at offset ")) << cut->OpenProblem();
    EXPECT_NE(cut->OpenProblem().find(" runs past the end of the file ("), std::string::npos) << cut->OpenProblem();
    const auto whole = data.DataSet(u"Group Two", u"Single16");
    EXPECT_TRUE(whole->Open()) << mapped;
    EXPECT_EQ(whole->OpenProblem(), "");
  }
}

TEST_F(GenericDataSetTest, TextCellsAreBoundedByTheirColumn) {
  GenericFileSpec spec;
  GenericDataSetSpec set;
  set.name = u"T";
  set.columns = {{u"t8", arraywriters::kColumnText8, 8}, {u"t16", arraywriters::kColumnText16, 8}};
  set.rowCount = 2;
  AppendText8Cell(set.elements, "abcd", 8);     // fills the cell exactly
  AppendText16Cell(set.elements, u"ab", 8);
  AppendText8Cell(set.elements, "abcde", 8);    // one byte too long for its cell
  AppendText16Cell(set.elements, u"abc", 8);    // one unit too long
  set.elements.resize(std::size_t(2 * 16));
  spec.groups = {{u"G", {set}}};
  GenericData data;
  ReadSample(data, AllHeaders, spec);
  auto texts = data.DataSet(u"G", u"T");
  ASSERT_TRUE(texts->Open());
  std::string narrow;
  std::u16string wide;
  texts->GetData(0, 0, narrow);
  EXPECT_EQ(narrow, "abcd");
  texts->GetData(0, 1, wide);
  EXPECT_EQ(wide, u"ab");
  EXPECT_THROW(texts->GetData(1, 0, narrow), ex::InvalidFileTypeException);
  EXPECT_THROW(texts->GetData(1, 1, wide), ex::InvalidFileTypeException);
}

// A set of 100 rows of 6 bytes (an INT32 and a UINT16 column): row widths that
// do not divide the window, so window ends fall inside cells.
GenericFileSpec WindowFile() {
  GenericFileSpec spec;
  GenericDataSetSpec set;
  set.name = u"Rows";
  set.columns = {{u"a", arraywriters::kColumnInt32, 4}, {u"b", arraywriters::kColumnUInt16, 2}};
  set.rowCount = 100;
  for (int r = 0; r < 100; ++r) {
    AppendInt32Cell(set.elements, 7 * r);
    AppendInt16Cell(set.elements, std::int16_t(r));
  }
  spec.groups = {{u"G", {set}}};
  return spec;
}

TEST_F(GenericDataSetTest, WindowMovesForwardAndBackWithASmallLimit) {
  GenericData data;
  ReadSample(data, AllHeaders, WindowFile());
  const std::uint64_t start = layout_.dataPos[0][0];
  auto set = data.DataSet(u"G", u"Rows");
  set->SetMaxWindowBytes(64);
  ASSERT_TRUE(set->Open());
  EXPECT_EQ(set->WindowStart(), start);
  EXPECT_EQ(set->WindowLength(), 64u);

  // Forward: the window starts at the requested cell.
  EXPECT_EQ(platform::ReadBE32(set->FilePosition(50, 0)), 350u);
  EXPECT_EQ(set->WindowStart(), start + 50 * 6);
  // Inside the window: no move.
  EXPECT_EQ(platform::ReadBE16(set->FilePosition(52, 1)), 52u);
  EXPECT_EQ(set->WindowStart(), start + 50 * 6);
  // Backward: the window ends at or after the requested cell.
  EXPECT_EQ(platform::ReadBE16(set->FilePosition(40, 1)), 40u);
  EXPECT_EQ(set->WindowStart(), start + 40 * 6 + 6 - 64);
  EXPECT_GE(set->WindowStart() + set->WindowLength(), start + 40 * 6 + 6);
  // Backward near the start: never before the first element.
  EXPECT_EQ(platform::ReadBE32(set->FilePosition(1, 0)), 7u);
  EXPECT_EQ(set->WindowStart(), start);
  // Near the end the window is cut at the end of the set.
  EXPECT_EQ(platform::ReadBE16(set->FilePosition(99, 1)), 99u);
  EXPECT_EQ(set->WindowStart(), start + 99 * 6 + 4);
  EXPECT_EQ(set->WindowLength(), 2u);
  // Back again asking for more rows than the window holds: the requested cell
  // still lies in the window.
  EXPECT_EQ(platform::ReadBE32(set->FilePosition(2, 0, 100)), 14u);
  EXPECT_EQ(set->WindowStart(), start + 2 * 6);
  EXPECT_EQ(platform::ReadBE16(set->FilePosition(99, 1)), 99u);

  // Whole columns read right across many window moves.
  std::vector<std::uint32_t> a;
  std::vector<std::uint16_t> b;
  set->GetDataRaw32(0, 0, 100, a);
  set->GetDataRaw16(1, 3, 100, b);
  ASSERT_EQ(a.size(), 100u);
  ASSERT_EQ(b.size(), 97u);
  for (int r = 0; r < 100; ++r) EXPECT_EQ(a[r], std::uint32_t(7 * r));
  for (int r = 3; r < 100; ++r) EXPECT_EQ(b[r - 3], r);
}

TEST_F(GenericDataSetTest, LargeSetIsWalkedWithTheRealWindow) {
  // 80 million 4-byte rows: 320,000,000 bytes, more than one window. The file
  // is sparse: only the rows written below take space.
  constexpr std::int32_t kRows = 80000000;
  GenericFileSpec spec;
  GenericDataSetSpec set;
  set.name = u"Big";
  set.columns = {{u"v", arraywriters::kColumnUInt32, 4}};
  set.rowCount = kRows;
  spec.groups = {{u"G", {set}}};
  std::string path = Path("big.gen");
  ASSERT_TRUE(WriteGenericFile(path, spec, &layout_));
  const std::uint64_t start = layout_.dataPos[0][0];
  std::filesystem::resize_file(path, start + std::uint64_t(kRows) * 4);
  const std::int32_t boundaryRow = std::int32_t(DataSet::MaxWindowBytes / 4);
  {
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    for (std::int32_t row : {0, boundaryRow - 1, boundaryRow, kRows - 1}) {
      std::string cell;
      platform::AppendBE32(cell, std::uint32_t(row) + 1);
      file.seekp(std::streamoff(start + std::uint64_t(row) * 4));
      file.write(cell.data(), 4);
    }
  }
  GenericData data;
  GenericFileReader reader;
  reader.SetFilename(path);
  reader.ReadHeader(data);
  auto big = data.DataSet(u"G", u"Big");
  ASSERT_TRUE(big->Open());
  EXPECT_EQ(big->WindowLength(), DataSet::MaxWindowBytes);
  EXPECT_EQ(platform::ReadBE32(big->FilePosition(kRows - 1, 0)), std::uint32_t(kRows));
  EXPECT_EQ(big->WindowStart(), start + std::uint64_t(kRows - 1) * 4);
  EXPECT_EQ(platform::ReadBE32(big->FilePosition(0, 0)), 1u);
  EXPECT_EQ(big->WindowStart(), start);
  std::vector<std::uint32_t> values;
  big->GetDataRaw32(0, boundaryRow - 1, 2, values);
  EXPECT_EQ(values, (std::vector<std::uint32_t>{std::uint32_t(boundaryRow), std::uint32_t(boundaryRow) + 1}));
}

}  // namespace
