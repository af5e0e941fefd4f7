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

TEST(ArrayDataTest, ExtractionConstructorSetsTheNewSample) {
  const ArrayTypeInfoValues info{267269, 534499, 533623, 526850, 534500};
  const CArrayData s("S07", "Mendel_Nsp", info, CTime(1234));
  EXPECT_EQ(s.Header.SampleName, "S07");
  EXPECT_EQ(s.Header.ArrayType, "Mendel_Nsp");
  EXPECT_EQ(s.Header.CreateTime.GetTime(), 1234);
  EXPECT_EQ(s.Header.FirstSnpIndex, 267269);
  EXPECT_EQ(s.Header.LastSnpIndex, 534499);
  EXPECT_EQ(s.Header.LastXSnpIndex, 533623);
  EXPECT_EQ(s.Header.LastAutosomeSnpIndex, 526850);
  EXPECT_EQ(s.Header.SnpCount, 534500);
  const std::array<std::int32_t, 4> range{267269, 526850, 1, 2};
  EXPECT_EQ(s.Header.NonSelfBaseRange, range);
  EXPECT_EQ(s.Header.SelfBaseRange, range);
  EXPECT_EQ(s.Header.IsTest, 0);
  EXPECT_EQ(s.Header.IsPaired, 0);
  EXPECT_EQ(s.Header.AlleleHmmMeans, kDefaultAlleleHmmMeans);
  EXPECT_EQ(s.Capacity(), 534500);
  EXPECT_EQ(s.SignalA[534499], 0.0f);
  EXPECT_EQ(s.Call[0], kCallNone);
  EXPECT_EQ(s.MarkerCount, 0);
  EXPECT_TRUE(s.Markers.empty());
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

  CArrayData loaded(qova::kSampleSnpCapacity);
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
  EXPECT_EQ(loaded.Capacity(), qova::kSampleSnpCapacity);
}

TEST(ArrayDataTest, HeaderOnlyLoadReadsNoPerSnpDataAndADataPassFollowsOnTheSameArchive) {
  CArrayData sample = MakeSample("Mapping10K_Xba131");
  sample.Markers = {{2, 900, 950, 33}};
  const std::string bytes = StoreToBytes(sample);

  CArrayData target(11560);
  target.SignalA[0] = -5.0f;
  target.Markers = {{9, 9, 9, 9}};
  CMemFile file(bytes);
  CArchive ar(&file, CArchive::load);
  target.SerializeSample(ar, FALSE, TRUE);
  EXPECT_EQ(target.Header.SampleName, "S01");
  EXPECT_EQ(ar.BytesLeft(), bytes.size() - HeaderSize(sample));
  EXPECT_EQ(target.SignalA[0], -5.0f);
  EXPECT_EQ(target.Markers.size(), 1u);
  EXPECT_EQ(target.Markers[0].Chromosome, 9);

  target.SerializeSample(ar, TRUE, FALSE);
  EXPECT_EQ(target.SignalA[0], sample.SignalA[0]);
  EXPECT_EQ(target.Markers, sample.Markers);
  EXPECT_EQ(ar.BytesLeft(), 0u);
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

TEST(ArrayDataTest, CurrentFileWithoutMarkersHasACountOfZero) {
  CArrayData file = MakeSample("Mapping10K_Xba142");
  CArrayData target;
  LoadFromBytes(target, HandCfh(file, "1.001", {}));
  EXPECT_EQ(target.MarkerCount, 0);
  EXPECT_EQ(target.Capacity(), 10204);
  EXPECT_EQ(target.Call[5], file.Call[5]);
}

TEST(ArrayDataTest, TruncatedFileRaisesEndOfFileWherePerSnpDataAreMissing) {
  CArrayData sample = MakeSample("Mapping10K_Xba131");
  sample.Markers = {{1, 1, 2, 3}, {1, 4, 5, 6}};
  const std::string bytes = StoreToBytes(sample);
  const std::size_t header = HeaderSize(sample);
  for (std::size_t cut : {std::size_t{0}, header, header + 3, header + 4 + 20, bytes.size() - 13,
                          bytes.size() - 1}) {
    CArrayData target(11560);
    target.SignalA[0] = -1.0f;
    EXPECT_EQ(ArchiveErrorOf([&] { LoadFromBytes(target, bytes.substr(0, cut)); }), CArchiveException::endOfFile)
        << "cut at " << cut;
    // Nothing of the per-SNP data was taken from a file that cannot hold it.
    EXPECT_EQ(target.SignalA[0], -1.0f);
  }
}

TEST(ArrayDataTest, FileWhoseRangeExceedsItsTypeIsRefused) {
  CArrayData sample = MakeSample("Mapping10K_Xba131");
  sample.Header.Version = "1.001";
  struct Case {
    const char* what;
    std::int32_t first, last, count;
  };
  for (const Case& c : {Case{"last past the type", 0, 11560, 11561}, Case{"last past capacity", 0, 600000, 600001},
                        Case{"negative first", -5, 100, 11560}, Case{"huge count", 0, 11559, 0x7FFFFFFF}}) {
    SCOPED_TRACE(c.what);
    SampleHeader h = sample.Header;
    h.FirstSnpIndex = c.first;
    h.LastSnpIndex = c.last;
    h.SnpCount = c.count;
    const std::string bytes = ByteWriter().Raw(HandHeaderBytes(h, true, true)).I32(0).Bytes() + std::string(13, '\0');
    CArrayData target;
    EXPECT_EQ(ArchiveErrorOf([&] { LoadFromBytes(target, bytes); }), CArchiveException::badFormat);
    EXPECT_EQ(target.Capacity(), 0);
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

TEST(ArrayDataTest, StoreWithoutHeaderStillStampsVersionAndTime) {
  platform::SetClock([] { return std::int64_t{1300000000}; });
  CArrayData sample = MakeSample("Mapping10K_Xba131");
  sample.Header.Version = "1.000";
  const std::string bytes = StoreToBytes(sample, TRUE, FALSE);
  platform::SetClock(nullptr);
  EXPECT_EQ(sample.Header.Version, "1.001");
  EXPECT_EQ(sample.Header.SaveTime.GetTime(), 1300000000);
  EXPECT_EQ(bytes.size(), 4 + std::size_t{11560} * 13);
}

TEST(ArrayDataTest, StoreRefusesMisfitsBeforeWritingAnything) {
  struct Case {
    const char* what;
    void (*damage)(CArrayData&);
  };
  const Case cases[] = {
      {"range past the type", [](CArrayData& s) { s.Header.LastSnpIndex = 20000; }},
      {"arrays smaller than the range", [](CArrayData& s) { s.Allocate(100); }},
      {"default object", [](CArrayData& s) { s = CArrayData(); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CArrayData sample = MakeSample("Mapping10K_Xba131");
    c.damage(sample);
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    EXPECT_THROW(sample.SerializeSample(ar, TRUE, TRUE), CDataFormatException);
    ar.Close();
    EXPECT_TRUE(file.Bytes().empty());
  }
}

class FakeDocument : public ISampleDocument {
 public:
  FakeDocument(std::string status, std::string sample) : status_(std::move(status)), sample_(std::move(sample)) {}
  std::string GetStatus() const override { return status_; }
  std::string GetExtractedSampleName() const override { return sample_; }
  std::string GetAnalyzedSampleName() const override { return sample_; }
  bool GetAnalyzedIsSelf() const override { return false; }
  void RefreshSampleData(const CArrayData& stored) override {
    ++refreshed;
    copy = stored;
  }
  void SetAnalyzedData(const CAnalyzedData&) override { ++analyzedSet; }

  int refreshed = 0;
  int analyzedSet = 0;
  CArrayData copy;

 private:
  std::string status_, sample_;
};

TEST(ArrayDataTest, StoreWithHeaderRefreshesOnlyAnalysisDocumentsOfTheSameSample) {
  FakeDocument same("Analysis", "S01"), single("Single", "S01"), other("Analysis", "S02"), clean("Clean", "S01");
  qova::ScopedSampleDocument r1(&same), r2(&single), r3(&other), r4(&clean);
  CArrayData sample = MakeSample("Mapping10K_Xba131", "S01");
  sample.Markers = {{1, 2, 3, 4}};
  StoreToBytes(sample);
  EXPECT_EQ(same.refreshed, 1);
  EXPECT_EQ(single.refreshed, 0);
  EXPECT_EQ(other.refreshed, 0);
  EXPECT_EQ(clean.refreshed, 0);
  EXPECT_EQ(same.copy.Header.Version, "1.001");
  EXPECT_EQ(same.copy.Markers, sample.Markers);
  EXPECT_EQ(same.copy.SignalA[11559], sample.SignalA[11559]);
  EXPECT_EQ(same.analyzedSet, 0);
}

TEST(ArrayDataTest, StoreWithoutHeaderOrFailedStoreRefreshesNothing) {
  FakeDocument same("Analysis", "S01");
  qova::ScopedSampleDocument registration(&same);
  CArrayData sample = MakeSample("Mapping10K_Xba131", "S01");
  StoreToBytes(sample, TRUE, FALSE);
  EXPECT_EQ(same.refreshed, 0);
  sample.Header.LastSnpIndex = 999999;
  EXPECT_THROW(StoreToBytes(sample), CDataFormatException);
  EXPECT_EQ(same.refreshed, 0);
}

class ArrayDataFileTest : public qova::test::TempHomeTest {};

TEST_F(ArrayDataFileTest, StoreFileWritesAWholeSampleThatLoadFileReads) {
  CArrayData sample = MakeSample("Mapping250K_Nsp", "NA10851");
  sample.Markers = {{3, 280000, 280500, 38}};
  const std::string path = Path("ArrayData/NA10851.CFH");
  ASSERT_TRUE(platform::CreateFolders(Path("ArrayData")));
  sample.StoreFile(path);
  CArrayData loaded;
  loaded.LoadFile(path);
  EXPECT_EQ(loaded.Header.SaveTime, sample.Header.SaveTime);
  EXPECT_EQ(loaded.Header.NonSelfBaseRange, sample.Header.NonSelfBaseRange);
  EXPECT_EQ(loaded.Markers, sample.Markers);
  EXPECT_EQ(loaded.SignalA[500567], sample.SignalA[500567]);
  CArrayData headerOnly;
  headerOnly.LoadFile(path, false);
  EXPECT_EQ(headerOnly.Header.SampleName, "NA10851");
  EXPECT_EQ(headerOnly.Capacity(), 0);
}

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

TEST_F(ArrayDataFileTest, MissingFileRaisesAFileError) {
  CArrayData sample;
  EXPECT_THROW(sample.LoadFile(Path("nowhere.CFH")), CFileException);
}

}  // namespace
