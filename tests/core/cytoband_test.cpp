#include "core/Cytoband.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "core/GenomeTables.h"
#include "platform/Archive.h"
#include "platform/File.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "tests/support/TempHome.h"

namespace {

// Two chromosomes' worth of bands is enough for the mapping rules.
CCytoband SmallTable() {
  CCytoband t;
  t.BandCount = 3;
  t.BandStart = {1, 1001, 1};
  t.BandEnd = {1000, 2000, 5000};
  t.BandCode = {CCytoband::EncodeBand(true, 1, 0), CCytoband::EncodeBand(false, 13, 2),
                CCytoband::EncodeBand(true, 36, 33)};
  t.BandStain = {4, 0, 5};
  t.BandFirstSnp.assign(3, 0);
  t.BandLastSnp.assign(3, 0);
  t.ChromosomeFirstBand[1] = 0;
  t.ChromosomeFirstBand[2] = 2;
  for (int c = 3; c < CCytoband::kChromosomeSlots; ++c) t.ChromosomeFirstBand[c] = 3;
  return t;
}

std::string Stored(CCytoband& table) {
  CMemFile file;
  CArchive ar(&file, CArchive::store);
  table.Serialize(ar);
  ar.Close();
  return file.Bytes();
}

class CytobandTest : public qova::test::TempHomeTest {};

TEST_F(CytobandTest, FormatsBandCodesAsArmMajorMinor) {
  const struct {
    int code;
    const char* label;
  } cases[] = {
      {CCytoband::EncodeBand(true, 1, 0), "p1"},
      {CCytoband::EncodeBand(false, 13, 2), "q13.2"},
      {CCytoband::EncodeBand(true, 36, 33), "p36.33"},
      {CCytoband::EncodeBand(false, 21, 0), "q21"},
  };
  for (const auto& c : cases) {
    std::string label;
    CCytoband::FormatBandName(label, c.code);
    EXPECT_EQ(label, c.label);
  }
}

TEST_F(CytobandTest, FileLayoutIsCountFirstBandsThenRecords) {
  CCytoband t = SmallTable();
  std::string bytes = Stored(t);
  ASSERT_EQ(bytes.size(), 4u + 25 * 4 + 3 * 16);
  CMemFile file(bytes);
  CArchive ar(&file, CArchive::load);
  CCytoband back;
  back.Serialize(ar);
  EXPECT_EQ(back.BandCount, 3);
  EXPECT_EQ(back.BandEnd, t.BandEnd);
  EXPECT_EQ(back.BandCode, t.BandCode);
  EXPECT_EQ(back.ChromosomeFirstBand[2], 2);
  EXPECT_EQ(back.ChromosomeFirstBand[24], 3);
}

TEST_F(CytobandTest, DamagedTablesAreRefused) {
  CCytoband t = SmallTable();
  const std::string good = Stored(t);
  std::vector<std::pair<const char*, std::string>> cases;
  cases.push_back({"truncated in a record", good.substr(0, good.size() - 3)});
  cases.push_back({"truncated in the chromosome table", good.substr(0, 40)});
  std::string hugeCount = good;
  hugeCount[3] = 0x7F;
  cases.push_back({"count beyond the file", hugeCount});
  std::string negative = good;
  negative[0] = negative[1] = negative[2] = negative[3] = char(0xFF);
  cases.push_back({"negative count", negative});
  std::string backwards = good;
  backwards[4 + 2 * 4] = 9;  // chromosome 2 starts after the end
  cases.push_back({"first band beyond the count", backwards});
  std::string unordered = good;
  unordered[4 + 3 * 4] = 1;  // chromosome 3 starts before chromosome 2
  cases.push_back({"chromosomes out of order", unordered});
  for (const auto& [what, bytes] : cases) {
    CMemFile file(bytes);
    CArchive ar(&file, CArchive::load);
    CCytoband back;
    EXPECT_THROW(back.Serialize(ar), CArchiveException) << what;
  }
}

TEST_F(CytobandTest, MappingGivesEachBandItsSnpsAndEmptyBandsFirstMinusOne) {
  CCytoband t = SmallTable();
  // Chromosome 1: SNPs 0..4 at 100, 900, 1500, 1900, 2500; chromosome 2: SNPs 5..6.
  const std::int64_t positions[] = {100, 900, 1500, 1900, 2500, 6000, 7000};
  int starts[CCytoband::kChromosomeSlots] = {};
  starts[1] = 0;
  starts[2] = 5;
  for (int c = 3; c < CCytoband::kChromosomeSlots; ++c) starts[c] = 7;
  t.MapToSnps(starts, [&](int s) { return positions[s]; });
  EXPECT_EQ(t.BandFirstSnp[0], 0);
  EXPECT_EQ(t.BandLastSnp[0], 1);
  EXPECT_EQ(t.BandFirstSnp[1], 2);
  EXPECT_EQ(t.BandLastSnp[1], 3);
  // Chromosome 2's only band ends before its first SNP.
  EXPECT_EQ(t.BandFirstSnp[2], 5);
  EXPECT_EQ(t.BandLastSnp[2], 4);

  std::string label;
  t.GetBandName(label, 1, 2, FALSE);
  EXPECT_EQ(label, "q13.2");
  t.GetBandName(label, 1, 4, FALSE);
  EXPECT_EQ(label, "") << "SNP 4 lies in no band";
  t.GetBandName(label, 1, 150, TRUE);
  EXPECT_EQ(label, "q13.2") << "positions are in units of 10 bases";
  t.GetBandName(label, 1, 300, TRUE);
  EXPECT_EQ(label, "");
  t.GetBandName(label, 24, 0, TRUE);
  EXPECT_EQ(label, "");
}

TEST_F(CytobandTest, ABandHoldsTheSnpsBelowItsEndAndNamesBothItsEnds) {
  CCytoband t = SmallTable();
  // Chromosome 1's bands end at 1000 and 2000: a SNP on a band's end counts
  // for the band after it.
  const std::int64_t positions[] = {100, 999, 1000, 1999, 2000, 6000};
  int starts[CCytoband::kChromosomeSlots] = {};
  starts[2] = 5;
  for (int c = 3; c < CCytoband::kChromosomeSlots; ++c) starts[c] = 6;
  t.MapToSnps(starts, [&](int s) { return positions[s]; });
  EXPECT_EQ(t.BandFirstSnp, (std::vector<std::int32_t>{0, 2, 5}));
  EXPECT_EQ(t.BandLastSnp, (std::vector<std::int32_t>{1, 3, 4}));

  const struct {
    BOOL byPosition;
    int value;
    const char* label;
  } cases[] = {
      {TRUE, 0, ""},          // before the first band's first base
      {TRUE, 1, "p1"},        // 10 bases
      {TRUE, 100, "p1"},      // the first band's last base
      {TRUE, 101, "q13.2"},
      {TRUE, 200, "q13.2"},   // the second band's last base
      {TRUE, 201, ""},
      {FALSE, 0, "p1"},
      {FALSE, 1, "p1"},       // the first band's last SNP
      {FALSE, 2, "q13.2"},
      {FALSE, 3, "q13.2"},    // the second band's last SNP
      {FALSE, 4, ""},
  };
  for (const auto& c : cases) {
    std::string label = "stale";
    t.GetBandName(label, 1, c.value, c.byPosition);
    EXPECT_EQ(label, c.label) << (c.byPosition ? "position " : "SNP ") << c.value;
  }
}

TEST_F(CytobandTest, MissingTablesAreReportedAndTheOldTextFormIsStillRead) {
  platform::ScopedRecordingSink sink;
  CCytoband t;
  const std::string data = Path("data/");
  ASSERT_TRUE(platform::CreateFolders(data));
  EXPECT_FALSE(t.LoadFrom(data));
  EXPECT_EQ(sink.Texts(), std::vector<std::string>{"cytoband data cannot be loaded"});

  sink.Clear();
  ASSERT_TRUE(platform::WriteWholeFile(data + "cytoband2.txt",
                                       "1 0 0 1 1000 4160 4\r\n1 0 0 1001 2000 834 0\n2 0 0 1 5000 6400 5\n"));
  EXPECT_TRUE(t.LoadFrom(data));
  EXPECT_EQ(sink.Texts(), std::vector<std::string>{"Please use 'Cytoband.dtt'. 'cytoband2.txt' is old format"});
  EXPECT_EQ(t.BandCount, 3);
  // The slots past the lines read stay unused.
  const auto read = [](const std::vector<std::int32_t>& v) { return std::vector<std::int32_t>(v.begin(), v.begin() + 3); };
  EXPECT_EQ(read(t.BandStart), (std::vector<std::int32_t>{1, 1001, 1}));
  EXPECT_EQ(read(t.BandEnd), (std::vector<std::int32_t>{1000, 2000, 5000}));
  EXPECT_EQ(read(t.BandCode), (std::vector<std::int32_t>{4160, 834, 6400}));
  EXPECT_EQ(read(t.BandStain), (std::vector<std::int32_t>{4, 0, 5}));
  EXPECT_EQ(t.ChromosomeFirstBand[2], 2);
  EXPECT_EQ(t.ChromosomeFirstBand[3], 3);

  sink.Clear();
  ASSERT_TRUE(platform::WriteWholeFile(data + "cytoband2.txt", "1 0 0 1 1000 4160 4\n3 0 0 1 5000 6400 5\n"));
  EXPECT_FALSE(t.LoadFrom(data)) << "a skipped chromosome";

  sink.Clear();
  ASSERT_TRUE(platform::WriteWholeFile(data + "Cytoband.dtt", std::string("\x03\x00\x00", 3)));
  EXPECT_FALSE(t.LoadFrom(data)) << "a truncated table counts as missing";
  EXPECT_EQ(sink.Texts(), std::vector<std::string>{"cytoband data cannot be loaded"});
}

TEST_F(CytobandTest, ShippedTableHoldsTheBandsOfTheGenomeTablesBuild) {
  platform::ScopedRecordingSink sink;
  CCytoband t;
  ASSERT_TRUE(t.LoadFrom(qova::test::SourceDir() + "data/"));
  EXPECT_TRUE(sink.Empty());
  EXPECT_EQ(t.BandCount, 851);
  const int lastX = t.ChromosomeFirstBand[24] - 1;
  EXPECT_EQ(t.BandEnd[lastX], 154824264);
  EXPECT_EQ(t.BandStart[0], 1);
  std::string label;
  CCytoband::FormatBandName(label, t.BandCode[0]);
  EXPECT_EQ(label, "p36.33");
  for (int c = 1; c <= 23; ++c) EXPECT_LT(t.ChromosomeFirstBand[c], t.ChromosomeFirstBand[c + 1]) << c;
  // Bands and the genome axis come from one build: each chromosome's bands
  // fill its column (the axis rounds lengths to 10 kb).
  for (int c = 1; c <= 23; ++c) {
    const long long lastEnd = t.BandEnd[t.ChromosomeFirstBand[c + 1] - 1];
    EXPECT_LE(std::llabs(lastEnd - qova::core::genome::ChromosomeLength(c)), 10000) << "chromosome " << c;
  }
}

}  // namespace
