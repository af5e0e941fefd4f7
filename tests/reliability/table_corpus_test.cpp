// Damaged tables and lists of the program's own: Cytoband.dtt, an annotation
// table, the sample-file index lists and the settings file, each broken in one
// place. Every case says what the reader makes of it and that reading wrote
// nothing.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/ArchiveFile.h"
#include "core/ArrayData.h"
#include "core/BasicData.h"
#include "core/Cytoband.h"
#include "core/GlobalData.h"
#include "core/ProgramSetting.h"
#include "core/SampleFileList.h"
#include "platform/File.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/Profile.h"
#include "tests/reliability/HostileFiles.h"
#include "tests/reliability/SampleCorpus.h"
#include "tests/support/TempHome.h"

namespace {

using namespace qova::reliability;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

struct TableCase {
  std::string name;  // what the case breaks
  std::string bytes;
  Outcome outcome;
};

class TableCorpusTest : public qova::test::TempHomeTest {
 protected:
  void SetUp() override {
    folder_ = Path("tables/");
    ASSERT_TRUE(platform::CreateFolders(folder_));
  }
  std::string ReadBack(const std::string& path) {
    std::string bytes;
    EXPECT_TRUE(platform::ReadWholeFile(path, bytes)) << path;
    return bytes;
  }
  std::string folder_;
};

// ---- Cytoband.dtt -------------------------------------------------------------

// Two bands on each chromosome 1..23.
CCytoband TwoBandsAChromosome() {
  CCytoband t;
  const int count = 2 * CCytoband::kLastChromosome;
  t.BandCount = count;
  for (auto* v : {&t.BandStart, &t.BandEnd, &t.BandCode, &t.BandStain, &t.BandFirstSnp, &t.BandLastSnp}) {
    v->assign(count, 0);
  }
  for (int c = 1; c <= CCytoband::kLastChromosome; ++c) {
    t.ChromosomeFirstBand[c] = 2 * (c - 1);
    for (int k = 0; k < 2; ++k) {
      const int b = 2 * (c - 1) + k;
      t.BandStart[b] = 1 + k * 50000000;
      t.BandEnd[b] = (k + 1) * 50000000;
      t.BandCode[b] = CCytoband::EncodeBand(k == 0, 1 + k, 0);
      t.BandStain[b] = k * 4;
    }
  }
  t.ChromosomeFirstBand[CCytoband::kChromosomeSlots - 1] = count;
  return t;
}

FieldImage CytobandImage(const CCytoband& t) {
  FieldImage image;
  image.Field("BandCount").I32(t.BandCount);
  for (int c = 0; c < CCytoband::kChromosomeSlots; ++c) {
    image.Field("FirstBand" + std::to_string(c)).I32(t.ChromosomeFirstBand[c]);
  }
  for (int b = 0; b < t.BandCount; ++b) {
    image.Field(b + 1 == t.BandCount ? "LastBand" : "Band" + std::to_string(b));
    image.I32(t.BandStart[b]).I32(t.BandEnd[b]).I32(t.BandCode[b]).I32(t.BandStain[b]);
  }
  return image;
}

Outcome CytobandOutcome(const std::string& bytes) {
  CMemFile file(bytes);
  CArchive ar(&file, CArchive::load);
  CCytoband table;
  return OutcomeOf([&] { table.Serialize(ar); });
}

TEST_F(TableCorpusTest, DamagedCytobandTableIsReportedAsUnloadable) {
  CCytoband good = TwoBandsAChromosome();
  qova::core::StoreArchiveFile(folder_ + "Cytoband.dtt", [&](CArchive& ar) { good.Serialize(ar); });
  const FieldImage image = CytobandImage(good);
  ASSERT_EQ(image.Bytes(), ReadBack(folder_ + "Cytoband.dtt"));
  const int count = good.BandCount;

  // The loader checks the bands' room against the whole file before it reads
  // the chromosome table, so a cut file may be refused as either error.
  std::vector<TableCase> cases;
  for (const auto& [field, offset] : image.Fields()) {
    cases.push_back({offset == 0 ? "empty file" : "cut before " + field, CutBefore(image, field), Outcome::Refused});
  }
  cases.push_back({"cut inside the last band", image.Bytes().substr(0, image.Bytes().size() - 2), Outcome::Refused});
  const TableCase values[] = {
      {"band count -1", WithI32(image, "BandCount", -1), Outcome::BadFormat},
      {"band count 0 under a filled chromosome table", WithI32(image, "BandCount", 0), Outcome::BadFormat},
      {"band count 2^31-1", WithI32(image, "BandCount", kInt32Max), Outcome::BadFormat},
      {"band count one more than the bands", WithI32(image, "BandCount", count + 1), Outcome::Refused},
      {"band count one less than the chromosome table needs", WithI32(image, "BandCount", count - 1),
       Outcome::BadFormat},
      {"first band of chromosome 12 is -1", WithI32(image, "FirstBand12", -1), Outcome::BadFormat},
      {"first band of chromosome 12 past the band count", WithI32(image, "FirstBand12", count + 1),
       Outcome::BadFormat},
      {"first band of chromosome 12 before that of 11", WithI32(image, "FirstBand12", 1), Outcome::BadFormat},
      {"end of the table 2^31-1", WithI32(image, "FirstBand24", kInt32Max), Outcome::BadFormat},
  };
  cases.insert(cases.end(), std::begin(values), std::end(values));

  for (const TableCase& c : cases) {
    SCOPED_TRACE(c.name);
    const Outcome got = CytobandOutcome(c.bytes);
    EXPECT_TRUE(Matches(c.outcome, got)) << "want " << c.outcome << ", got " << got;

    ASSERT_TRUE(platform::WriteWholeFile(folder_ + "Cytoband.dtt", c.bytes));
    const FolderSnapshot before = SnapshotOf(folder_);
    platform::ScopedRecordingSink messages;
    CCytoband loaded = TwoBandsAChromosome();
    EXPECT_FALSE(loaded.LoadFrom(folder_));
    EXPECT_THAT(messages.Texts(), ElementsAre("cytoband data cannot be loaded"));
    EXPECT_EQ(loaded.BandCount, 0) << "a damaged table leaves no bands behind";
    EXPECT_THAT(ChangedFiles(before, SnapshotOf(folder_)), IsEmpty());
  }
}

// Band positions are not indexes: extreme ones load and label nothing wrongly.
TEST_F(TableCorpusTest, CytobandWithExtremePositionsLoadsAndLabelsWithinItsBands) {
  CCytoband table = TwoBandsAChromosome();
  table.BandStart[0] = -1;
  table.BandEnd[0] = kInt32Max;
  table.BandStart[1] = kInt32Max;
  table.BandEnd[1] = -kInt32Max - 1;
  qova::core::StoreArchiveFile(folder_ + "Cytoband.dtt", [&](CArchive& ar) { table.Serialize(ar); });

  CCytoband loaded;
  ASSERT_TRUE(loaded.LoadFrom(folder_));
  std::string label;
  loaded.GetBandName(label, 1, kInt32Max, TRUE);
  EXPECT_EQ(label, "") << "2^31-1 tens of bases lie past every band";
  loaded.GetBandName(label, 1, 100, TRUE);
  EXPECT_EQ(label, "p1");
  const std::int32_t starts[CCytoband::kChromosomeSlots] = {0, 0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110,
                                                            120, 130, 140, 150, 160, 170, 180, 190, 200, 210, 220, 230};
  EXPECT_TRUE(loaded.MapToSnps(starts, [](int snp) { return std::int64_t{snp} * 1000; }));
  EXPECT_EQ(loaded.BandFirstSnp[0], 0);
  EXPECT_EQ(loaded.BandLastSnp[0], 9) << "the first band of chromosome 1 takes all its SNPs";
  EXPECT_EQ(loaded.BandFirstSnp[1], 10);
  EXPECT_EQ(loaded.BandLastSnp[1], 9) << "the second is empty";
}

// ---- annotation tables ----------------------------------------------------------

constexpr std::int32_t kTableRows = 64;

TEST_F(TableCorpusTest, DamagedAnnotationTableIsRefusedAndLeavesNoRows) {
  CBasicData good;
  good.Allocate(kTableRows, 0);
  good.Name = "small family";
  for (std::int32_t j = 0; j < kTableRows; ++j) {
    good.Chromosome[j] = 1 + j % 23;
    good.IndexMap[j] = j;
    good.SortMap[j] = kTableRows - 1 - j;
    good.Position[j] = 1000 * (j + 1);
  }
  good.StoreFile(folder_ + "BasicDataSmall.dtt", kTableRows);
  const std::string written = ReadBack(folder_ + "BasicDataSmall.dtt");
  FieldImage image;
  image.Field("Name").Str(good.Name);
  AppendRecords(image, written, kTableRows, CBasicData::kBasicRowSize);
  ASSERT_EQ(image.Bytes(), written);

  std::vector<TableCase> cases;
  for (const auto& [field, offset] : image.Fields()) {
    cases.push_back({offset == 0 ? "empty file" : "cut before " + field, CutBefore(image, field), Outcome::EndOfFile});
  }
  const TableCase values[] = {
      {"cut inside the last row", image.Bytes().substr(0, image.Bytes().size() - 1), Outcome::EndOfFile},
      {"name length -1", WithStringLength(image, "Name", kLengthMinusOne), Outcome::BadFormat},
      {"name length 2^31-1", WithStringLength(image, "Name", kInt32Max), Outcome::BadFormat},
      {"name length 0 with its text left behind", WithStringLength(image, "Name", 0), Outcome::Refused},
      {"chromosome 0 in the last row", WithI32(image, "LastRecord", 0, 0), Outcome::BadFormat},
      {"chromosome 25 in the last row", WithI32(image, "LastRecord", 25, 0), Outcome::BadFormat},
      {"index map -1 in the last row", WithI32(image, "LastRecord", -1, 1), Outcome::BadFormat},
      {"index map 2^31-1 in the last row", WithI32(image, "LastRecord", kInt32Max, 1), Outcome::BadFormat},
      {"sort map one past the rows", WithI32(image, "LastRecord", kTableRows, 2), Outcome::BadFormat},
  };
  cases.insert(cases.end(), std::begin(values), std::end(values));

  for (const TableCase& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(platform::WriteWholeFile(folder_ + "BasicDataSmall.dtt", c.bytes));
    const FolderSnapshot before = SnapshotOf(folder_);
    CBasicData loaded;
    loaded.Allocate(kTableRows, 0);
    const Outcome got = OutcomeOf([&] { loaded.LoadFile(folder_ + "BasicDataSmall.dtt", kTableRows); });
    EXPECT_TRUE(Matches(c.outcome, got)) << "want " << c.outcome << ", got " << got;
    EXPECT_EQ(loaded.LoadedRows(), 0);
    EXPECT_THAT(ChangedFiles(before, SnapshotOf(folder_)), IsEmpty());
  }
}

// ---- sample-file index lists ------------------------------------------------------

class ListCorpusTest : public qova::test::TempHomeTest {
 protected:
  void SetUp() override {
    folder_ = Path("samples/");
    ASSERT_TRUE(platform::CreateFolders(folder_));
    setting_.DefaultArrayDataFolder = folder_;
    CGlobalData tables;
    for (const char* name : {"A", "B"}) {
      CArrayData sample(name, "Mapping10K_Xba131", tables.TypeInfo(0), CTime(1170000000));
      sample.Header.Attribute3 = std::string("tissue ") + name;
      sample.Header.NonSelfReferences = "R1$R2$R3";
      sample.StoreFile(folder_ + name + ".CFH");
      samples_.push_back(sample.Header);
    }
  }

  // The records of the list as the index wrote them, field by field.
  FieldImage ListImage() {
    FieldImage image;
    for (std::size_t k = 0; k < samples_.size(); ++k) {
      const SampleHeader& h = samples_[k];
      const std::string r = "record" + std::to_string(k) + ".";
      platform::FileStatus status;
      EXPECT_TRUE(platform::GetFileStatus(folder_ + h.SampleName + ".CFH", status));
      image.Field(r + "FileName").Str(h.SampleName + ".CFH");
      image.Field(r + "FileTime").Time(CTime(status.modificationTime));
      image.Field(r + "SampleName").Str(h.SampleName);
      image.Field(r + "ArrayType").Str(h.ArrayType);
      image.Field(r + "IsTest").I32(h.IsTest);
      image.Field(r + "Attribute1").Str(h.Attribute1);
      image.Field(r + "Attribute2").Str(h.Attribute2);
      image.Field(r + "Attribute3").Str(h.Attribute3);
      image.Field(r + "Attribute4").Str(h.Attribute4);
      image.Field(r + "Attribute5").Str(h.Attribute5);
      image.Field(r + "Sex").Str(h.Sex);
      image.Field(r + "CreateTime").Time(h.CreateTime);
      image.Field(r + "BaseRanges");
      for (std::int32_t v : h.NonSelfBaseRange) image.I32(v);
      for (std::int32_t v : h.SelfBaseRange) image.I32(v);
      image.Field(r + "IsPaired").I32(h.IsPaired);
      image.Field(r + "SelfReference").Str(h.SelfReference);
      image.Field(r + "NonSelfReferenceCount").I32(h.NonSelfReferenceCount);
      image.Field(r + "NonSelfReferences").Str(h.NonSelfReferences);
      image.Field(r + "Flags").U8(h.SelfAnalyzed ? 1 : 0).U8(h.Combined ? 1 : 0);
    }
    return image;
  }

  std::vector<std::string> Listed() { return ListedNames(setting_, kFileListExtracted); }

  std::string folder_;
  CProgramSetting setting_;
  std::vector<SampleHeader> samples_;
};

struct ListCase {
  std::string name;  // what the case breaks
  std::string bytes;
  std::vector<std::string> read;  // the names reading the list gives, in order
};

TEST_F(ListCorpusTest, DamagedListGivesItsGoodRecordsWritesNothingAndHealsOnUpdate) {
  CSampleFileList index(setting_);
  ASSERT_TRUE(index.Rebuild(kFileListExtracted));
  const std::string listPath = index.GetListFileName(kFileListExtracted);
  std::string written;
  ASSERT_TRUE(platform::ReadWholeFile(listPath, written));
  const FieldImage image = ListImage();
  ASSERT_EQ(image.Bytes(), written);

  std::vector<ListCase> cases;
  const std::size_t secondRecord = image.Offset("record1.FileName");
  for (const auto& [field, offset] : image.Fields()) {
    cases.push_back({offset == 0 ? "empty list" : "cut before " + field, CutBefore(image, field),
                     offset >= secondRecord ? std::vector<std::string>{"A.CFH"} : std::vector<std::string>{}});
  }
  const ListCase values[] = {
      {"cut inside the last record", image.Bytes().substr(0, image.Bytes().size() - 1), {"A.CFH"}},
      {"file name length -1", WithStringLength(image, "record1.FileName", kLengthMinusOne), {"A.CFH"}},
      {"sample name length 2^31-1", WithStringLength(image, "record1.SampleName", kInt32Max), {"A.CFH"}},
      {"references length 2^31-1 in the first record",
       WithStringLength(image, "record0.NonSelfReferences", kInt32Max), {}},
      {"reference text longer than the rest of the list",
       WithStringLength(image, "record0.NonSelfReferences",
                        image.Bytes().size() - image.Offset("record0.NonSelfReferences")),
       {}},
      {"a record naming a file outside the folder", WithString(image, "record1.FileName", "../B.CFH"),
       {"A.CFH", "../B.CFH"}},
  };
  cases.insert(cases.end(), std::begin(values), std::end(values));

  for (const ListCase& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(platform::WriteWholeFile(listPath, c.bytes));
    const FolderSnapshot before = SnapshotOf(folder_);
    EXPECT_THAT(Listed(), ElementsAreArray(c.read));
    EXPECT_THAT(ChangedFiles(before, SnapshotOf(folder_)), IsEmpty()) << "reading the list wrote something";

    // The next update lists exactly the samples in the folder again and
    // touches nothing but its list.
    CSampleFileList update(setting_);
    EXPECT_TRUE(update.Update(kFileListExtracted));
    EXPECT_THAT(Listed(), ElementsAre("A.CFH", "B.CFH"));
    EXPECT_THAT(ChangedFiles(before, SnapshotOf(folder_)), ElementsAre("filelist_CFH.lst"));
  }
}

// ---- the settings file --------------------------------------------------------------

struct SettingsCase {
  std::string name;  // what the case breaks
  std::string text;
  std::function<void(const CProgramSetting&)> check;
};

void ExpectDefaults(const CProgramSetting& s) {
  const CProgramSetting defaults;
  EXPECT_EQ(s.MAXREF, defaults.MAXREF);
  EXPECT_EQ(s.DOSELF, defaults.DOSELF);
  EXPECT_FLOAT_EQ(s.THRESHOLD, defaults.THRESHOLD);
  EXPECT_EQ(s.DefaultDataFolder, defaults.DefaultDataFolder);
  EXPECT_EQ(s.LIMITREFSTR, defaults.LIMITREFSTR);
}

std::function<void(const CProgramSetting&)> MaxRefIs(int value) {
  return [value](const CProgramSetting& s) { EXPECT_EQ(s.MAXREF, value); };
}

class SettingsCorpusTest : public qova::test::TempHomeTest {};

TEST_F(SettingsCorpusTest, HostileSettingsFilesGiveDefaultsForWhatCannotBeReadAndStillSave) {
  const std::string ini = platform::DefaultSettingsPath();
  const std::string folder = platform::FolderOf(ini);
  ASSERT_TRUE(platform::CreateFolders(folder));
  const int kDefaultMaxRef = CProgramSetting().MAXREF;

  const SettingsCase cases[] = {
      {"empty file", "", ExpectDefaults},
      {"binary bytes with NULs", std::string("\0\x01\xFF[\0]\n=\x80\x81\n[AUTO\0]\nMAXREF\0=3\n", 30),
       ExpectDefaults},
      {"number past 32 bits", "[AUTO]\nMAXREF=99999999999\n", MaxRefIs(kDefaultMaxRef)},
      {"number below -2^31", "[AUTO]\nMAXREF=-2147483649\n", MaxRefIs(kDefaultMaxRef)},
      {"number 2^31-1", "[AUTO]\nMAXREF=2147483647\n", MaxRefIs(kInt32Max)},
      {"unsigned form of -1", "[AUTO]\nMAXREF=4294967295\n", MaxRefIs(-1)},
      {"hexadecimal number", "[AUTO]\nMAXREF=0x20\n", MaxRefIs(kDefaultMaxRef)},
      {"empty value", "[AUTO]\nMAXREF=\n", MaxRefIs(kDefaultMaxRef)},
      {"number with spaces around it", "[AUTO]\nMAXREF=  12 \n", MaxRefIs(12)},
      {"sign without digits", "[AUTO]\nMAXREF=-\n", MaxRefIs(kDefaultMaxRef)},
      {"section header without its bracket", "[AUTO\nMAXREF=5\n", MaxRefIs(kDefaultMaxRef)},
      {"key before any section", "MAXREF=5\n[AUTO]\n", MaxRefIs(kDefaultMaxRef)},
      {"lines ended by CR alone", "[AUTO]\rMAXREF=5\r", MaxRefIs(kDefaultMaxRef)},
      {"lines ended by CR LF without a last line end", "[AUTO]\r\nMAXREF=7", MaxRefIs(7)},
      {"section repeated in another case", "[auto]\nMAXREF=5\n[AUTO]\nDOSELF=0\n",
       [](const CProgramSetting& s) {
         EXPECT_EQ(s.MAXREF, 5);
         EXPECT_EQ(s.DOSELF, 0);
       }},
      {"key repeated", "[AUTO]\nMAXREF=5\nmaxref=6\n", MaxRefIs(6)},
      {"byte-order mark before the first section", "\xEF\xBB\xBF[AUTO]\nMAXREF=5\n", MaxRefIs(5)},
      {"float setting past the integer range", "[ASCN]\nTHRESHOLD=99999999999\n",
       [](const CProgramSetting& s) { EXPECT_FLOAT_EQ(s.THRESHOLD, CProgramSetting().THRESHOLD); }},
      {"one-megabyte value", "[AUTO]\nLIMITREFSTR=" + std::string(1 << 20, 'x') + "\n",
       [](const CProgramSetting& s) { EXPECT_EQ(s.LIMITREFSTR.size(), std::size_t(1) << 20); }},
      {"folder value with a separator of each kind", "[Default Section]\nDefaultDataFolder=c:\\a/b\\\n",
       [](const CProgramSetting& s) { EXPECT_EQ(s.DefaultDataFolder, "c:\\a/b\\"); }},
  };

  for (const SettingsCase& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(platform::WriteWholeFile(ini, c.text));
    const FolderSnapshot before = SnapshotOf(folder);
    platform::Profile profile;
    profile.UseSettingsFile();
    CProgramSetting loaded;
    loaded.LoadFromProfile(profile);
    c.check(loaded);
    EXPECT_THAT(ChangedFiles(before, SnapshotOf(folder)), IsEmpty()) << "loading wrote the settings file";

    // What was loaded saves, and a fresh process reads the same values back.
    ASSERT_TRUE(loaded.SaveToProfile(profile));
    platform::Profile again;
    again.UseSettingsFile();
    CProgramSetting reread;
    reread.LoadFromProfile(again);
    c.check(reread);
    EXPECT_THAT(ChangedFiles({}, SnapshotOf(folder)), ElementsAre("QOVA.ini")) << "a save left a stray file";
  }
}

}  // namespace
