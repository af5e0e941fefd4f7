#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/ArrayTypes.h"
#include "core/BasicData.h"
#include "tests/core/SampleBytes.h"
#include "tests/support/TempHome.h"

namespace {

using qova::test::ArchiveErrorOf;
using qova::test::ByteWriter;

// A table of n rows whose every field differs from the others, so that a
// swapped pair of fields shows.
CBasicData MakeTable(std::int32_t n, bool extended) {
  CBasicData t;
  t.Allocate(n, extended ? 1 : 0);
  t.Name = extended ? "GenomeWideSNP_5 demo" : "demo table";
  for (std::int32_t j = 0; j < n; ++j) {
    t.Chromosome[j] = 1 + j % kNoChromosome;
    t.IndexMap[j] = n - 1 - j;
    t.SortMap[j] = (j * 7) % n;
    t.Position[j] = 1000000 + j * 31;
    t.FragmentLength[j] = 200 + j % 1800;
    t.GcContent[j] = 0.25f + static_cast<float>(j % 50) / 100.0f;
    t.AuxInt[j] = -j;
    t.Heterozygosity[j] = static_cast<float>(j % 11) / 20.0f;
    t.VendorSnpId[j] = 1600000 + j;
    t.RsNumber[j] = 3000000 + 3 * j;
    t.FragmentNumber[j] = j % 17;
    if (extended) {
      t.ExtInt1[j] = 40 + j;
      t.ExtFloat[j] = 0.5f * j;
      t.ExtInt2[j] = 90000 - j;
    }
  }
  return t;
}

std::string Stored(CBasicData& table, std::int32_t n) {
  CMemFile file;
  CArchive ar(&file, CArchive::store);
  table.SerializeTable(ar, n);
  ar.Close();
  return file.Bytes();
}

void Load(CBasicData& table, const std::string& bytes, std::int32_t n) {
  CMemFile file(bytes);
  CArchive ar(&file, CArchive::load);
  table.SerializeTable(ar, n);
}

std::string HandRow(const CBasicData& t, std::int32_t j) {
  ByteWriter w;
  w.I32(t.Chromosome[j]).I32(t.IndexMap[j]).I32(t.SortMap[j]).I32(t.Position[j]).I32(t.FragmentLength[j]);
  w.F32(t.GcContent[j]).I32(t.AuxInt[j]).F32(t.Heterozygosity[j]);
  w.I32(t.VendorSnpId[j]).I32(t.RsNumber[j]).I32(t.FragmentNumber[j]);
  if (t.IsExtended != 0) w.I32(t.ExtInt1[j]).F32(t.ExtFloat[j]).I32(t.ExtInt2[j]);
  return w.Bytes();
}

TEST(BasicDataTest, RowsAreWrittenInFileOrderNotMemoryOrder) {
  for (bool extended : {false, true}) {
    CBasicData table = MakeTable(5, extended);
    std::string expected = ByteWriter().Str(table.Name).Bytes();
    for (std::int32_t j = 0; j < 5; ++j) expected += HandRow(table, j);
    EXPECT_EQ(Stored(table, 5), expected) << "extended " << extended;
  }
}

TEST(BasicDataTest, HandBuiltRowIsReadIntoTheRightColumns) {
  ByteWriter w;
  w.Str("hand").I32(23).I32(1).I32(0).I32(152000000).I32(812).F32(0.375f).I32(-9).F32(0.5f);
  w.I32(1641234).I32(4242).I32(6).I32(11).F32(2.5f).I32(12);
  w.I32(24).I32(0).I32(1).I32(7).I32(8).F32(0.0f).I32(0).F32(0.0f).I32(0).I32(0).I32(0).I32(0).F32(0.0f).I32(0);
  CBasicData table;
  table.Allocate(2, 1);
  Load(table, w.Bytes(), 2);
  EXPECT_EQ(table.Name, "hand");
  EXPECT_EQ(table.Chromosome[0], 23);
  EXPECT_EQ(table.IndexMap[0], 1);
  EXPECT_EQ(table.SortMap[0], 0);
  EXPECT_EQ(table.Position[0], 152000000);
  EXPECT_EQ(table.FragmentLength[0], 812);
  EXPECT_EQ(table.GcContent[0], 0.375f);
  EXPECT_EQ(table.AuxInt[0], -9);
  EXPECT_EQ(table.Heterozygosity[0], 0.5f);
  EXPECT_EQ(table.VendorSnpId[0], 1641234);
  EXPECT_EQ(table.RsNumber[0], 4242);
  EXPECT_EQ(table.FragmentNumber[0], 6);
  EXPECT_EQ(table.ExtInt1[0], 11);
  EXPECT_EQ(table.ExtFloat[0], 2.5f);
  EXPECT_EQ(table.ExtInt2[0], 12);
  EXPECT_EQ(table.Chromosome[1], kNoChromosome);
  EXPECT_EQ(table.LoadedRows(), 2);
}

TEST(BasicDataTest, FamilyTablesHaveTheirRecordSizes) {
  const struct {
    int family;
    std::size_t recordBytes;
  } cases[] = {{0, 508640}, {6, 28024976}};
  for (const auto& c : cases) {
    const qova::ArrayFamilyInfo& family = qova::kArrayFamilies[c.family];
    CBasicData table = MakeTable(family.snpCount, family.extended);
    const std::string bytes = Stored(table, family.snpCount);
    EXPECT_EQ(bytes.size() - (1 + table.Name.size()), c.recordBytes) << family.annotationFile;
  }
}

TEST(BasicDataTest, ZeroRowsWriteTheNameOnly) {
  for (std::int32_t n : {0, -3}) {
    CBasicData table = MakeTable(4, false);
    EXPECT_EQ(Stored(table, n), ByteWriter().Str("demo table").Bytes());
    CBasicData loaded;
    Load(loaded, ByteWriter().Str("only a name").Bytes(), n);
    EXPECT_EQ(loaded.Name, "only a name");
  }
}

class BasicDataFileTest : public qova::test::TempHomeTest {};

TEST_F(BasicDataFileTest, SmallTableRoundTripsThroughAFile) {
  for (bool extended : {false, true}) {
    CBasicData table = MakeTable(300, extended);
    table.StoreFile(Path("BasicDataSmall.dtt"), 300);
    CBasicData loaded;
    loaded.Allocate(300, extended ? 1 : 0);
    loaded.LoadFile(Path("BasicDataSmall.dtt"), 300);
    EXPECT_EQ(loaded.Name, table.Name);
    EXPECT_EQ(loaded.Chromosome, table.Chromosome);
    EXPECT_EQ(loaded.IndexMap, table.IndexMap);
    EXPECT_EQ(loaded.SortMap, table.SortMap);
    EXPECT_EQ(loaded.Position, table.Position);
    EXPECT_EQ(loaded.FragmentLength, table.FragmentLength);
    EXPECT_EQ(loaded.GcContent, table.GcContent);
    EXPECT_EQ(loaded.AuxInt, table.AuxInt);
    EXPECT_EQ(loaded.Heterozygosity, table.Heterozygosity);
    EXPECT_EQ(loaded.VendorSnpId, table.VendorSnpId);
    EXPECT_EQ(loaded.RsNumber, table.RsNumber);
    EXPECT_EQ(loaded.FragmentNumber, table.FragmentNumber);
    EXPECT_EQ(loaded.ExtInt1, table.ExtInt1);
    EXPECT_EQ(loaded.ExtFloat, table.ExtFloat);
    EXPECT_EQ(loaded.ExtInt2, table.ExtInt2);
  }
}

TEST(BasicDataTest, ShortFileRaisesEndOfFileBeforeReadingRows) {
  CBasicData table = MakeTable(10, false);
  const std::string bytes = Stored(table, 10);
  const std::size_t rowsStart = 1 + table.Name.size();
  for (std::size_t cut : {std::size_t{0}, rowsStart, rowsStart + 43, bytes.size() - 44, bytes.size() - 1}) {
    CBasicData loaded;
    loaded.Allocate(10, 0);
    loaded.Chromosome[0] = 5;
    EXPECT_EQ(ArchiveErrorOf([&] { Load(loaded, bytes.substr(0, cut), 10); }), CArchiveException::endOfFile);
    EXPECT_EQ(loaded.Chromosome[0], 5);
    EXPECT_EQ(loaded.LoadedRows(), 0);
  }
}

TEST(BasicDataTest, ValuesThatWouldSendReadersOutOfBoundsAreRefused) {
  struct Case {
    const char* what;
    void (*damage)(CBasicData&);
  };
  const Case cases[] = {
      {"chromosome 0", [](CBasicData& t) { t.Chromosome[3] = 0; }},
      {"chromosome 25", [](CBasicData& t) { t.Chromosome[3] = 25; }},
      {"index map past the end", [](CBasicData& t) { t.IndexMap[2] = 8; }},
      {"negative index map", [](CBasicData& t) { t.IndexMap[2] = -1; }},
      {"sort map past the end", [](CBasicData& t) { t.SortMap[7] = 8; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CBasicData good = MakeTable(8, false);
    CBasicData bad = good;
    c.damage(bad);
    // Written by hand, since the writer refuses the table too.
    std::string bytes = ByteWriter().Str(bad.Name).Bytes();
    for (std::int32_t j = 0; j < 8; ++j) bytes += HandRow(bad, j);
    CBasicData loaded;
    loaded.Allocate(8, 0);
    EXPECT_EQ(ArchiveErrorOf([&] { Load(loaded, bytes, 8); }), CArchiveException::badFormat);
    EXPECT_EQ(loaded.LoadedRows(), 0);
    EXPECT_THROW(Stored(bad, 8), CDataFormatException);
  }
}

TEST(BasicDataTest, MoreRowsThanAllocatedAreRefused) {
  CBasicData table = MakeTable(4, false);
  EXPECT_THROW(Stored(table, 5), CDataFormatException);
  CBasicData other = MakeTable(6, false);
  const std::string bytes = Stored(other, 6);
  EXPECT_THROW(Load(table, bytes, 6), CDataFormatException);
  table.IsExtended = 1;  // extended rows without the extended columns
  EXPECT_THROW(Stored(table, 4), CDataFormatException);
}

}  // namespace
