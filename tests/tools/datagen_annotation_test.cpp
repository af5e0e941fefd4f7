// Generated annotation tables must hold together the way the program relies
// on: every array type's chromosome ranges, positions ascending inside real
// chromosome lengths, order maps that are permutations, plausible values.
#include "tools/datagen/DataGen.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/ArrayTypes.h"
#include "core/Cytoband.h"
#include "core/GenomeTables.h"
#include "core/SnpOrder.h"
#include "platform/File.h"
#include "platform/Paths.h"
#include "platform/MessageBox.h"
#include "tests/support/TempHome.h"

namespace core = qova::core;

namespace {

// Checks one type's view of the table: each chromosome's SNPs in position
// order sit on that chromosome, ascending, within its usable length; the
// single types stay in their own rows.
void ExpectTypeIsConsistent(const CBasicData& table, int type) {
  const core::ArrayTypeInfo& info = core::kArrayTypes[type];
  const std::int32_t* starts = core::kArrayChromosomeStarts[type];
  for (int c = 1; c <= 24; ++c) {
    const std::int32_t first = c == 24 ? starts[24] : starts[c];
    const std::int32_t end = c == 24 ? info.lastSnp + 1 : starts[c + 1];
    std::int32_t previous = 0;
    for (std::int32_t s = first; s < end; ++s) {
      const std::int32_t row = AnnotationRowOfSnp(table, type, s);
      ASSERT_GE(row, info.firstSnp) << info.name << " snp " << s;
      ASSERT_LE(row, info.lastSnp) << info.name << " snp " << s;
      ASSERT_EQ(table.Chromosome[row], c) << info.name << " snp " << s;
      ASSERT_GT(table.Position[row], previous) << info.name << " snp " << s;
      ASSERT_LE(table.Position[row], datagen::UsableChromosomeLength(c)) << info.name << " snp " << s;
      previous = table.Position[row];
    }
  }
}

void ExpectPermutation(const std::vector<std::int32_t>& map, const char* what) {
  std::vector<bool> seen(map.size());
  for (std::int32_t v : map) {
    ASSERT_GE(v, 0) << what;
    ASSERT_LT(static_cast<std::size_t>(v), map.size()) << what;
    ASSERT_FALSE(seen[v]) << what << " repeats " << v;
    seen[v] = true;
  }
}

TEST(DatagenTest, EveryFamilyFitsEveryTypesChromosomeTable) {
  for (int family : datagen::AllFamilies()) {
    SCOPED_TRACE(family);
    const CBasicData table = datagen::MakeAnnotation(family);
    const core::ArrayFamilyInfo& info = core::kArrayFamilies[family];
    ASSERT_EQ(table.Capacity(), info.snpCount);
    EXPECT_EQ(table.IsExtended, info.extended ? 1 : 0);
    ExpectPermutation(table.IndexMap, "IndexMap");
    ExpectPermutation(table.SortMap, "SortMap");
    int moved = 0;
    for (std::int32_t s = 0; s < table.Capacity(); ++s) moved += table.IndexMap[s] != s;
    EXPECT_GT(moved, table.Capacity() / 2) << "table order differs from position order";
    for (const core::ArrayTypeInfo& type : core::kArrayTypes) {
      if (type.family == family) ExpectTypeIsConsistent(table, type.type);
    }
  }
}

TEST(DatagenTest, ValuesArePlausibleAndIdsUnique) {
  const CBasicData table = datagen::MakeAnnotation(2);
  std::set<std::int32_t> vendorIds, rsNumbers;
  for (std::int32_t row = 0; row < table.Capacity(); ++row) {
    ASSERT_GE(table.FragmentLength[row], 200);
    ASSERT_LE(table.FragmentLength[row], 2000);
    ASSERT_GE(table.GcContent[row], 0.3f);
    ASSERT_LE(table.GcContent[row], 0.6f);
    ASSERT_GT(table.Heterozygosity[row], 0.0f);
    ASSERT_LE(table.Heterozygosity[row], 0.5f);
    ASSERT_GT(table.VendorSnpId[row], 0);
    ASSERT_GT(table.RsNumber[row], 0);
    vendorIds.insert(table.VendorSnpId[row]);
    rsNumbers.insert(table.RsNumber[row]);
  }
  EXPECT_EQ(vendorIds.size(), static_cast<std::size_t>(table.Capacity()));
  EXPECT_EQ(rsNumbers.size(), static_cast<std::size_t>(table.Capacity()));
}

TEST(DatagenTest, UsableLengthIsTheShorterOfAssemblyAndGenomeAxis) {
  EXPECT_EQ(datagen::UsableChromosomeLength(1), 245520000);
  EXPECT_EQ(datagen::UsableChromosomeLength(2), 243018229);
  EXPECT_EQ(datagen::UsableChromosomeLength(23), 154820000);
  EXPECT_EQ(datagen::UsableChromosomeLength(24), 57701691);
  EXPECT_EQ(datagen::UsableChromosomeLength(0), 0);
  for (int c = 1; c <= 23; ++c) {
    EXPECT_LE(datagen::UsableChromosomeLength(c), datagen::kHg17ChromosomeLength[c]) << c;
    EXPECT_LE(datagen::UsableChromosomeLength(c), core::genome::ChromosomeLength(c)) << c;
  }
}

TEST(DatagenTest, AssemblyLengthsMatchTheKaryotypeAndTheBandTable) {
  std::ifstream karyotype(qova::test::SourceDir() + "tools/mkcytoband/karyotype-hg17.txt");
  ASSERT_TRUE(karyotype);
  std::string line;
  int found = 0;
  while (std::getline(karyotype, line)) {
    std::istringstream fields(line);
    std::string kind, dash, id, label;
    long start = 0, length = 0;
    if (!(fields >> kind >> dash >> id >> label >> start >> length) || kind != "chr") continue;
    const int c = id == "hsX" || id == "hsx" ? 23 : id == "hsY" ? 24 : std::atoi(id.c_str() + 2);
    EXPECT_EQ(datagen::kHg17ChromosomeLength[c], length) << id;
    ++found;
  }
  EXPECT_EQ(found, 24);

  CCytoband bands;
  platform::ScopedRecordingSink sink;
  ASSERT_TRUE(bands.LoadFrom(qova::test::SourceDir() + "data/"));
  for (int c = 1; c <= 23; ++c) {
    EXPECT_EQ(bands.BandEnd[bands.ChromosomeFirstBand[c + 1] - 1], datagen::kHg17ChromosomeLength[c]) << c;
  }
}

class DatagenFolderTest : public qova::test::TempHomeTest {
 protected:
  std::string Bytes(const std::string& path) {
    std::string bytes;
    EXPECT_TRUE(platform::ReadWholeFile(path, bytes)) << path;
    return bytes;
  }
};

TEST_F(DatagenFolderTest, FolderHoldsLoadableTablesAndTheBands) {
  const std::string folder = Path("start/data/");
  datagen::WriteDataFolder(folder, {0});
  CBasicData table;
  table.Allocate(11560, 0);
  table.LoadFile(folder + "BasicDataXba131.dtt", 11560);
  EXPECT_EQ(table.LoadedRows(), 11560);
  EXPECT_EQ(Bytes(folder + "BasicDataXba131.dtt").size(), 1 + 17 + 11560u * 44);
  EXPECT_EQ(Bytes(folder + "Cytoband.dtt"), Bytes(datagen::ShippedCytobandPath()));
  EXPECT_EQ(Bytes(folder + "knowngenes.txt"), Bytes(datagen::ShippedKnownGenesPath()));
  EXPECT_FALSE(platform::FileExists(folder + "BasicDataXba142.dtt"));
}

TEST_F(DatagenFolderTest, SameSeedSameFilesWhateverElseIsGenerated) {
  datagen::WriteDataFolder(Path("a/"), {0}, 7);
  datagen::WriteDataFolder(Path("b/"), {1, 0}, 7);
  datagen::WriteDataFolder(Path("c/"), {0}, 8);
  const std::string a = Bytes(Path("a/BasicDataXba131.dtt"));
  EXPECT_EQ(a, Bytes(Path("b/BasicDataXba131.dtt")));
  EXPECT_NE(a, Bytes(Path("c/BasicDataXba131.dtt")));
}

TEST_F(DatagenFolderTest, CommandLineWritesTheAskedFamiliesAndRefusesBadArguments) {
  const std::string tool = QOVA_DATAGEN;
  auto run = [&](const std::string& args) {
    const int status = std::system((tool + " " + args + " 2>/dev/null").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  };
  EXPECT_EQ(run("--family 0 --family 1 --seed 7 --out " + Path("cli")), 0);
  datagen::WriteDataFolder(Path("lib/"), {0}, 7);
  EXPECT_EQ(Bytes(Path("cli/BasicDataXba131.dtt")), Bytes(Path("lib/BasicDataXba131.dtt")));
  EXPECT_TRUE(platform::FileExists(Path("cli/BasicDataXba142.dtt")));
  EXPECT_TRUE(platform::FileExists(Path("cli/Cytoband.dtt")));

  for (const char* bad : {"", "--family 7 --out x", "--family -1 --out x", "--family 0", "--all --out",
                          "--family 0 --out x --seed ten", "--unknown"}) {
    EXPECT_EQ(run(bad), 2) << bad;
  }
  EXPECT_EQ(run("--family 0 --out " + Path("d") + " --cytoband " + Path("missing.dtt")), 1);
}

}  // namespace
