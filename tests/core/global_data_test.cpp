// The application-wide data object against generated data folders: what it
// loads, what a missing table does to start-up, the chromosome tables and the
// settings sheet round trip.
#include "core/GlobalData.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/File.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/Profile.h"
#include "tests/support/TempHome.h"
#include "tools/datagen/DataGen.h"

namespace core = qova::core;

namespace {

class GlobalDataTest : public qova::test::TempHomeTest {
 protected:
  void SetUp() override {
    oldStart_ = platform::StartFolder();
    platform::SetStartFolder(Root());
    platform::AppProfile().SetStore(std::make_unique<platform::MemorySettingsStore>());
  }
  void TearDown() override {
    platform::SetStartFolder(oldStart_);
    CGlobalData::SetProgramSettingSheet(nullptr);
  }
  std::string DataFolder() const { return Path("data/"); }
  void Generate(const std::vector<int>& families) { datagen::WriteDataFolder(DataFolder(), families); }
  std::string AnnotationPath(int family) const { return DataFolder() + datagen::AnnotationFileName(family); }

  platform::ScopedRecordingSink sink_;

 private:
  std::string oldStart_;
};

void ExpectConstantTablesFilled(const CGlobalData& g) {
  for (int t = 0; t < core::kArrayTypeCount; ++t) {
    EXPECT_EQ(g.ArrayChromosomeStarts[t][0], 0) << t;
    for (int c = 1; c < core::kChromosomeTableSlots; ++c) {
      EXPECT_EQ(g.ArrayChromosomeStarts[t][c], core::kArrayChromosomeStarts[t][c]) << t << " " << c;
    }
    EXPECT_EQ(g.ArrayFirstSnpIndex[t], core::kArrayTypes[t].firstSnp) << t;
    EXPECT_EQ(g.ArrayLastSnpIndex[t], core::kArrayTypes[t].lastSnp) << t;
    EXPECT_EQ(g.ArraySnpCount[t], core::kArrayTypes[t].snpCount) << t;
    EXPECT_EQ(g.ArrayLastSnpIndexX[t], g.ArrayChromosomeStarts[t][24] - 1) << t;
    EXPECT_EQ(g.ArrayLastSnpIndexAutosomes[t], g.ArrayChromosomeStarts[t][23] - 1) << t;
  }
}

TEST_F(GlobalDataTest, LoadsEveryTableOfAGeneratedFolderOnce) {
  Generate(datagen::AllFamilies());
  CGlobalData g;
  ASSERT_TRUE(g.Load());
  EXPECT_TRUE(sink_.Empty()) << sink_.Texts().front();
  EXPECT_TRUE(g.IsLoaded());
  EXPECT_EQ(g.ProgramSetting->StartFolder, Root());
  EXPECT_EQ(platform::NativePath(g.DataFolder()), platform::NativePath(DataFolder()));
  EXPECT_EQ(g.Cytoband->BandCount, 851);
  for (int f = 0; f < core::kArrayFamilyCount; ++f) {
    EXPECT_TRUE(g.HasBasicData(f)) << f;
    EXPECT_EQ(g.BasicData[f].LoadedRows(), core::kArrayFamilies[f].snpCount) << f;
  }
  EXPECT_EQ(g.BasicData[6].IsExtended, 1);
  EXPECT_EQ(g.BasicData[6].LoadedRows(), 500446);
  EXPECT_EQ(g.BasicDataOfType(ArrayTypeIndex("Mapping50K_Xba240")), &g.BasicData[2]);
  ASSERT_TRUE(g.FileList);
  EXPECT_FALSE(g.FileList->IsOpen());
  ExpectConstantTablesFilled(g);

  // A second load reads nothing: the tables stay although the files are gone.
  for (int f = 0; f < core::kArrayFamilyCount; ++f) ASSERT_TRUE(platform::RemoveFile(AnnotationPath(f)));
  ASSERT_TRUE(platform::RemoveFile(DataFolder() + "Cytoband.dtt"));
  EXPECT_TRUE(g.Load());
  EXPECT_TRUE(sink_.Empty());
  EXPECT_TRUE(g.HasBasicData(0));
  EXPECT_EQ(g.Cytoband->BandCount, 851);
}

TEST_F(GlobalDataTest, SnpsAfterXBelongToNoChromosome) {
  CGlobalData g;
  const struct {
    int type;
    std::int32_t snp;
    int chromosome;
  } cases[] = {
      {0, 0, 1},          {0, 876, 1},     {0, 877, 2},      {0, 11036, 22}, {0, 11037, 23},
      {0, 11343, 23},     {0, 11344, 0},   {0, 11559, 0},    {0, -1, 0},     {0, 11560, 0},
      {3, 57243, 0},      {3, 57244, 1},   {3, 115737, 23},  {3, 115738, 0}, {4, 112990, 23},
      {10, 500567, 23},   {12, 0, 1},      {13, 0, 0},       {-1, 0, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(g.ChromosomeOfSnp(c.type, c.snp), c.chromosome) << c.type << " " << c.snp;
  }
}

TEST_F(GlobalDataTest, MissingCytobandStopsTheLoadButLeavesTheConstantTables) {
  Generate({0});
  ASSERT_TRUE(platform::RemoveFile(DataFolder() + "Cytoband.dtt"));
  CGlobalData g;
  EXPECT_FALSE(g.Load());
  EXPECT_EQ(sink_.Texts(), std::vector<std::string>{"cytoband data cannot be loaded"});
  EXPECT_FALSE(g.IsLoaded());
  ExpectConstantTablesFilled(g);
  ASSERT_TRUE(g.FileList);
  EXPECT_FALSE(g.HasBasicData(0)) << "the annotation tables are not read after a failed cytoband";
  EXPECT_EQ(g.BasicDataOfType(0), nullptr);

  // The old text table still lets start-up go on, after its own message.
  sink_.Clear();
  ASSERT_TRUE(platform::WriteWholeFile(DataFolder() + "cytoband2.txt", "1 0 0 1 247249719 4160 4\n"));
  EXPECT_TRUE(g.Load());
  const std::vector<std::string> texts = sink_.Texts();
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts.front(), "Please use 'Cytoband.dtt'. 'cytoband2.txt' is old format");
  EXPECT_TRUE(g.HasBasicData(0));
}

TEST_F(GlobalDataTest, MissingRequiredTablesAreNamedAndTheOthersStillLoad) {
  Generate({0, 2});
  CGlobalData g;
  EXPECT_TRUE(g.Load());
  // Families 1, 3 and 4 are reported in family order; 5 and 6 are optional.
  const std::vector<std::string> expected = {"cannot load " + platform::JoinPath(g.DataFolder(), "BasicDataXba142.dtt"),
                                             "cannot load " + platform::JoinPath(g.DataFolder(), "BasicData500KMendel.dtt"),
                                             "cannot load " + platform::JoinPath(g.DataFolder(), "BasicData500K.dtt")};
  EXPECT_EQ(sink_.Texts(), expected);
  const bool loaded[core::kArrayFamilyCount] = {true, false, true, false, false, false, false};
  for (int f = 0; f < core::kArrayFamilyCount; ++f) EXPECT_EQ(g.HasBasicData(f), loaded[f]) << f;
  for (int t = 0; t < core::kArrayTypeCount; ++t) {
    EXPECT_EQ(g.BasicDataOfType(t) != nullptr, loaded[core::kArrayTypes[t].family]) << t;
  }
}

}  // namespace
