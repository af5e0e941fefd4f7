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

class BasicDataFileTest : public qova::test::TempHomeTest {};

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
