// Reading the headers of writer-made generic files in each header mode.
#include <gtest/gtest.h>

#include "arrayfiles/generic/GenericExceptions.h"
#include "arrayfiles/generic/GenericFileReader.h"
#include "tests/arrayfiles/GenericTestFiles.h"
#include "tests/support/TempHome.h"

namespace {

using namespace generic_io;
using namespace generic_test;

class GenericReaderTest : public qova::test::TempHomeTest {
 protected:
  std::string WriteSample(const GenericFileSpec& spec = SampleFile(), GenericFileLayout* layout = nullptr) {
    std::string path = Path("sample.gen");
    EXPECT_TRUE(WriteGenericFile(path, spec, layout));
    return path;
  }
  std::string WriteRaw(const std::string& bytes) {
    std::string path = Path("raw.gen");
    EXPECT_TRUE(WriteBytes(path, bytes));
    return path;
  }
  static void Read(const std::string& path, GenericData& data, int mode) {
    GenericFileReader reader;
    reader.SetFilename(path);
    reader.ReadHeader(data, mode);
  }
};

std::vector<std::u16string> Names(const std::vector<GenericParameter>& params) {
  std::vector<std::u16string> names;
  for (const GenericParameter& p : params) names.push_back(p.GetName());
  return names;
}

TEST_F(GenericReaderTest, GenericHeaderReadsBackWithDuplicatesReplacedInPlace) {
  std::string path = WriteSample();
  GenericData data;
  Read(path, data, AllHeaders);
  const FileHeader& file = data.Header();
  EXPECT_EQ(file.fileName, path);
  EXPECT_EQ(file.magic, 59);
  EXPECT_EQ(file.version, 1);
  EXPECT_EQ(file.numDataGroups, 2);
  const GenericDataHeader& header = file.genericHeader;
  EXPECT_EQ(header.fileTypeId, "qova-test-generic");
  EXPECT_EQ(header.GetFileId(), "file-0001");
  EXPECT_EQ(header.fileCreationTime, u"2024-01-02T03:04:05Z");
  EXPECT_EQ(header.locale, u"de-DE");
  std::vector<std::u16string> expected = {u"p-int8",   u"p-uint8", u"p-int16", u"p-uint16", u"p-int32",
                                          u"p-uint32", u"p-float", u"p-text",  u"p-ascii"};
  EXPECT_EQ(Names(header.parameters), expected);
  EXPECT_EQ(header.parameters[4].GetValueInt32(), 42);
  std::vector<std::u16string> texts;
  for (const GenericParameter& p : header.parameters) texts.push_back(p.ToString());
  std::vector<std::u16string> expectedTexts = {u"-1",         u"255",      u"-2",    u"65535", u"42",
                                               u"4000000000", u"1.500000", u"Hello", u"XY"};
  EXPECT_EQ(texts, expectedTexts);
}

TEST_F(GenericReaderTest, ParentsFormATwoLevelTreeInFileOrder) {
  GenericData data;
  Read(WriteSample(), data, AllHeaders);
  const GenericDataHeader& header = data.Header().genericHeader;
  ASSERT_EQ(header.parents.size(), 2u);
  EXPECT_EQ(header.parents[0].fileTypeId, "qova-scan");
  EXPECT_EQ(header.parents[0].fileId, "scan-7");
  EXPECT_EQ(header.parents[1].fileTypeId, "qova-other");
  ASSERT_EQ(header.parents[0].parents.size(), 1u);
  EXPECT_EQ(header.parents[0].parents[0].fileTypeId, "qova-raw");
  EXPECT_TRUE(header.parents[1].parents.empty());

  const GenericDataHeader* scan = header.FindParent("qova-scan");
  ASSERT_NE(scan, nullptr);
  GenericParameter rows;
  ASSERT_TRUE(scan->FindParameter(u"scan-rows", rows));
  EXPECT_EQ(rows.GetValueInt32(), 12);
  // Only direct parents are searched.
  EXPECT_EQ(header.FindParent("qova-raw"), nullptr);
  EXPECT_EQ(header.FindParent("qova-sca"), nullptr);
}

TEST_F(GenericReaderTest, AllHeadersModeReadsEveryGroupAndSetHeader) {
  GenericFileLayout layout;
  GenericData data;
  Read(WriteSample(SampleFile(), &layout), data, AllHeaders);
  const FileHeader& file = data.Header();
  EXPECT_EQ(file.firstDataGroupPos, layout.firstGroupPos);
  ASSERT_EQ(file.dataGroupHeaders.size(), 2u);
  const DataGroupHeader& one = file.dataGroupHeaders[0];
  EXPECT_EQ(one.name, u"Group One");
  EXPECT_EQ(one.dataSetPos, layout.setHeaderPos[0][0]);
  EXPECT_EQ(one.nextGroupPos, layout.groupPos[1]);
  ASSERT_EQ(one.dataSetHeaders.size(), 2u);

  const DataSetHeader& numbers = one.GetDataSetHeader(0);
  EXPECT_EQ(numbers.GetName(), u"Numbers");
  EXPECT_EQ(numbers.rowCount, kNumberRows);
  EXPECT_EQ(numbers.GetColumnCount(), 7);
  EXPECT_EQ(numbers.GetRowSize(), 1 + 1 + 2 + 2 + 4 + 4 + 4);
  EXPECT_EQ(numbers.headerStartPos, layout.setHeaderPos[0][0]);
  EXPECT_EQ(numbers.dataStartPos, layout.dataPos[0][0]);
  EXPECT_EQ(numbers.nextSetPos, layout.setHeaderPos[0][1]);
  EXPECT_EQ(numbers.GetColumn(6).name, u"c-float");
  EXPECT_EQ(numbers.GetColumn(6).type, arraywriters::kColumnFloat);

  // Duplicates are kept in data set headers, in file order.
  const DataSetHeader& texts = one.GetDataSetHeader(1);
  ASSERT_EQ(texts.parameters.size(), 2u);
  EXPECT_EQ(texts.parameters[0].GetValueAscii(), "first");
  EXPECT_EQ(texts.parameters[1].GetValueAscii(), "second");
  GenericParameter found;
  ASSERT_TRUE(texts.FindParameter(u"dup", found));
  EXPECT_EQ(found.GetValueAscii(), "first");
  // A 16-bit text column of stored size 9 is 8 bytes wide: count and 2 units.
  ColumnDescription shortText = texts.GetColumn(1);
  EXPECT_EQ(shortText.elementWidth, 2);
  EXPECT_EQ(shortText.elementCount, 2);
  EXPECT_EQ(shortText.overhead, 4);
  EXPECT_EQ(shortText.GetWidth(), 8);
  EXPECT_EQ(texts.GetColumn(0).GetWidth(), 20);
  EXPECT_EQ(texts.GetRowSize(), 20 + 8 + 24);

  const DataGroupHeader& two = file.dataGroupHeaders[1];
  EXPECT_EQ(two.name, u"Group Two");
  ASSERT_EQ(two.dataSetHeaders.size(), 2u);
  EXPECT_EQ(two.dataSetHeaders[0].rowCount, kSingle16Rows);
  EXPECT_EQ(two.dataSetHeaders[1].name, u"SingleFloat");
}

TEST_F(GenericReaderTest, MinimalModeKeepsOnlyPositionsAndNames) {
  GenericFileLayout layout;
  GenericData data;
  Read(WriteSample(SampleFile(), &layout), data, MinimalDataSetHeaders);
  ASSERT_EQ(data.Header().dataGroupHeaders.size(), 2u);
  for (std::size_t g = 0; g < 2; ++g) {
    const DataGroupHeader& group = data.Header().dataGroupHeaders[g];
    ASSERT_EQ(group.dataSetHeaders.size(), 2u);
    for (std::size_t s = 0; s < 2; ++s) {
      const DataSetHeader& set = group.dataSetHeaders[s];
      EXPECT_TRUE(set.IsMinimal());
      EXPECT_EQ(set.rowCount, 0);
      EXPECT_TRUE(set.columns.empty());
      EXPECT_TRUE(set.parameters.empty());
      EXPECT_EQ(set.headerStartPos, layout.setHeaderPos[g][s]);
      EXPECT_EQ(set.dataStartPos, layout.dataPos[g][s]);
    }
  }
  EXPECT_EQ(data.Header().dataGroupHeaders[0].dataSetHeaders[1].name, u"Texts");
}

TEST_F(GenericReaderTest, NoDataGroupModeStopsAfterTheGenericHeader) {
  GenericData data;
  Read(WriteSample(), data, NoDataGroupHeaders);
  EXPECT_EQ(data.Header().numDataGroups, 2);
  EXPECT_TRUE(data.Header().dataGroupHeaders.empty());
  EXPECT_EQ(data.Header().genericHeader.parents.size(), 2u);
}

TEST_F(GenericReaderTest, HeadersAreFoundByExactName) {
  GenericData data;
  Read(WriteSample(), data, AllHeaders);
  FileHeader& file = data.Header();
  ASSERT_NE(file.FindDataGroupHeader(u"Group Two"), nullptr);
  EXPECT_EQ(file.FindDataGroupHeader(u"group two"), nullptr);
  EXPECT_EQ(file.FindDataGroupHeader(u"Group Two "), nullptr);
  DataGroupHeader* one = file.FindDataGroupHeader(u"Group One");
  ASSERT_NE(one, nullptr);
  EXPECT_EQ(one->FindDataSetHeader(u"Texts"), &one->dataSetHeaders[1]);
  EXPECT_EQ(one->FindDataSetHeader(u"Text"), nullptr);
}

TEST_F(GenericReaderTest, EmptyFileRaisesInvalidFileType) {
  GenericData data;
  EXPECT_THROW(Read(WriteRaw(""), data, AllHeaders), generic_exceptions::InvalidFileTypeException);
}

TEST_F(GenericReaderTest, MagicAndVersionAreChecked) {
  struct Case {
    std::uint8_t magic, version;
    bool invalidType;  // else invalid version
  } cases[] = {{60, 1, true}, {0, 1, true}, {59, 2, false}, {59, 0, false}};
  for (const Case& c : cases) {
    GenericFileSpec spec = SampleFile();
    spec.magic = c.magic;
    spec.version = c.version;
    GenericData data;
    std::string path = WriteSample(spec);
    if (c.invalidType) {
      EXPECT_THROW(Read(path, data, AllHeaders), generic_exceptions::InvalidFileTypeException) << int(c.magic);
    } else {
      EXPECT_THROW(Read(path, data, AllHeaders), generic_exceptions::InvalidVersionException) << int(c.version);
    }
  }
}

TEST_F(GenericReaderTest, MissingFileRaisesFileNotFoundAndLeavesDataUntouched) {
  GenericData data;
  EXPECT_THROW(Read(Path("missing.gen"), data, AllHeaders), generic_exceptions::FileNotFoundException);
  EXPECT_TRUE(data.Header().fileName.empty());
  EXPECT_THROW(Read(Root(), data, AllHeaders), generic_exceptions::FileNotFoundException);
}

TEST_F(GenericReaderTest, ParentsNestUpTo64Deep) {
  for (int depth : {64, 65}) {
    GenericFileSpec spec;
    GenericHeaderSpec* level = &spec.header;
    for (int i = 0; i < depth; ++i) {
      level->parents.push_back(GenericHeaderSpec{});
      level = &level->parents.back();
      level->fileTypeId = "level-" + std::to_string(i + 1);
    }
    GenericData data;
    std::string path = WriteSample(spec);
    if (depth <= 64) {
      Read(path, data, AllHeaders);
      const GenericDataHeader* deepest = &data.Header().genericHeader;
      while (!deepest->parents.empty()) deepest = &deepest->parents[0];
      EXPECT_EQ(deepest->fileTypeId, "level-64");
    } else {
      EXPECT_THROW(Read(path, data, AllHeaders), generic_exceptions::InvalidFileTypeException);
    }
  }
}

}  // namespace
