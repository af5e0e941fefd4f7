#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/ArrayData.h"
#include "core/SampleDocuments.h"
#include "platform/Paths.h"
#include "tests/core/SampleBytes.h"
#include "tests/support/TempHome.h"

namespace {

using qova::test::ArchiveErrorOf;
using qova::test::ByteWriter;
using qova::test::HandHeaderBytes;
using qova::test::LoadFromBytes;
using qova::test::MakeSample;
using qova::test::StoreToBytes;

std::size_t HeaderSize(const CArrayData& sample) {
  SampleHeader h = sample.Header;
  CMemFile file;
  CArchive ar(&file, CArchive::store);
  WriteSampleHeader(ar, h);
  ar.Close();
  return file.Bytes().size();
}

// A .CFH of version `version` made by hand: the header block, then (only in
// "1.001") the markers, then the per-SNP records from `sample`.
std::string HandCfh(const CArrayData& sample, const std::string& version, const MarkerRegionList& markers) {
  SampleHeader h = sample.Header;
  h.Version = version;
  const bool current = version == "1.001";
  ByteWriter w;
  w.Raw(HandHeaderBytes(h, true, current));
  if (current) {
    w.I32(static_cast<std::int32_t>(markers.size()));
    for (const MarkerRegion& m : markers) w.I32(m.Chromosome).I32(m.FirstSnp).I32(m.LastSnp).I32(m.Kind);
  }
  for (std::int32_t i = h.FirstSnpIndex; i <= h.LastSnpIndex; ++i) {
    w.F32(sample.SignalA[i]).F32(sample.SignalB[i]).I32(sample.Call[i]).U8(sample.SpareFlag[i]);
  }
  return w.Bytes();
}

TEST(ArrayDataTest, MendelNspStoresExactlyItsOwnRangeOfRecords) {
  CArrayData sample = MakeSample("Mendel_Nsp");
  sample.Markers = {{1, 267300, 267400, 3}, {2, 290000, 290100, 35}};
  const std::string bytes = StoreToBytes(sample);
  const std::size_t dataStart = HeaderSize(sample) + 4 + 2 * 16;
  EXPECT_EQ(bytes.size() - dataStart, std::size_t{267231} * 13);
  // The first record is SNP 267269, the last 534499.
  EXPECT_EQ(bytes.substr(dataStart, 13), ByteWriter()
                                             .F32(sample.SignalA[267269])
                                             .F32(sample.SignalB[267269])
                                             .I32(sample.Call[267269])
                                             .U8(sample.SpareFlag[267269])
                                             .Bytes());
  EXPECT_EQ(bytes.substr(bytes.size() - 13), ByteWriter()
                                                 .F32(sample.SignalA[534499])
                                                 .F32(sample.SignalB[534499])
                                                 .I32(sample.Call[534499])
                                                 .U8(sample.SpareFlag[534499])
                                                 .Bytes());
  EXPECT_EQ(bytes, HandCfh(sample, "1.001", sample.Markers));
}

TEST(ArrayDataTest, StoreThenLoadGivesTheSameSampleAndKeepsEntriesOutsideTheRange) {
  CArrayData sample = MakeSample("Mapping50K_Xba240");
  sample.Markers = {{5, 60000, 60010, 1}};
  const std::string bytes = StoreToBytes(sample);

  CArrayData loaded(qova::core::kSampleSnpCapacity);
  loaded.SignalA[10] = 77.0f;       // before the type's range
  loaded.SignalA[116204] = 88.0f;   // after the family's table
  LoadFromBytes(loaded, bytes);
  SampleHeader expected = sample.Header;
  expected.LastXSnpIndex = 0;  // memory only: the loading object's value stays
  EXPECT_EQ(loaded.Header, expected);
  EXPECT_EQ(loaded.Markers, sample.Markers);
  EXPECT_EQ(loaded.MarkerCount, 1);
  for (std::int32_t i = 57244; i <= 116203; ++i) {
    ASSERT_EQ(loaded.SignalA[i], sample.SignalA[i]) << i;
    ASSERT_EQ(loaded.SignalB[i], sample.SignalB[i]) << i;
    ASSERT_EQ(loaded.Call[i], sample.Call[i]) << i;
    ASSERT_EQ(loaded.SpareFlag[i], sample.SpareFlag[i]) << i;
  }
  EXPECT_EQ(loaded.SignalA[10], 77.0f);
  EXPECT_EQ(loaded.SignalA[116204], 88.0f);
  EXPECT_EQ(loaded.Capacity(), qova::core::kSampleSnpCapacity);
}

TEST(ArrayDataTest, OldVersionFilesHaveNoMarkerBlockAndGetDefaultAlleleParameters) {
  for (const std::string version : {"", "1.000"}) {
    SCOPED_TRACE("version \"" + version + "\"");
    CArrayData file = MakeSample("Mapping10K_Xba142");
    file.Header.AlleleHmmMeans = {1, 1, 1, 1, 1};
    CArrayData target(11560);
    target.Markers = {{1, 1, 2, 3}};
    target.MarkerCount = 1;
    target.Header.AlleleHmmMeans = {7, 7, 7, 7, 7};
    LoadFromBytes(target, HandCfh(file, version, {}));
    EXPECT_EQ(target.Header.Version, version);
    EXPECT_EQ(target.MarkerCount, 0);
    EXPECT_TRUE(target.Markers.empty());
    EXPECT_EQ(target.Header.AlleleHmmMeans, kDefaultAlleleHmmMeans);
    EXPECT_EQ(target.SignalB[10203], file.SignalB[10203]);
  }
}

TEST(ArrayDataTest, CallsOutsideTheFourCodesReadAsNoCallAndFlagsAsZeroOrOne) {
  CArrayData sample = MakeSample("Mapping10K_Xba131");
  sample.Call[0] = 3;
  sample.Call[1] = 9;
  sample.Call[2] = -2;
  sample.SpareFlag[3] = 0x80;
  const std::string bytes = HandCfh(sample, "1.001", {});
  CArrayData target;
  LoadFromBytes(target, bytes);
  EXPECT_EQ(target.Call[0], kCallB);
  EXPECT_EQ(target.Call[1], kCallNone);
  EXPECT_EQ(target.Call[2], kCallNone);
  EXPECT_EQ(target.SpareFlag[3], 1);
}

class ArrayDataFileTest : public qova::test::TempHomeTest {};

TEST_F(ArrayDataFileTest, FailedStoreKeepsTheOldFileAndLeavesNoTemporaryFile) {
  ASSERT_TRUE(platform::CreateFolders(Path("ArrayData")));
  const std::string path = Path("ArrayData/S01.CFH");
  CArrayData sample = MakeSample("Mapping10K_Xba131");
  sample.StoreFile(path);
  std::string before;
  ASSERT_TRUE(platform::ReadWholeFile(path, before));

  sample.Header.SampleName = "changed";
  sample.Allocate(10);  // too small for the range: the store is refused
  EXPECT_THROW(sample.StoreFile(path), CDataFormatException);
  std::string after;
  ASSERT_TRUE(platform::ReadWholeFile(path, after));
  EXPECT_EQ(after, before);
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(platform::NativePath(Path("ArrayData")))) {
    names.push_back(entry.path().filename().string());
  }
  EXPECT_EQ(names, std::vector<std::string>{"S01.CFH"});
}

}  // namespace
