// Damaged .CFH, .CFS, .CFN and .CFA files, each broken in one place: cut at
// every field, lengths and counts of -1, 0 and 2^31-1, SNP ranges that do not
// fit the array type, marker regions outside the sample, wrong version
// strings and unknown chip types. Every case says how a whole load and a
// header-only load end, that reading wrote nothing, and that the sample list
// shows the file exactly when its header can be read.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/AnalyzedData.h"
#include "core/ArrayData.h"
#include "core/ProgramSetting.h"
#include "core/SampleFileList.h"
#include "platform/File.h"
#include "platform/Paths.h"
#include "tests/reliability/HostileFiles.h"
#include "tests/reliability/SampleCorpus.h"
#include "tests/support/TempHome.h"

namespace {

using namespace qova::reliability;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

template <class Sample>
struct SampleCase {
  std::string name;  // what the case breaks
  std::string bytes;
  Outcome whole;   // a load of header and records
  Outcome header;  // a header-only load, as the sample lists do
  std::function<void(const Sample&)> check = nullptr;  // on the whole load, when accepted
};

// The first and last rows of the corpus type, and its family's size.
constexpr std::int32_t kFirst = 57244;
constexpr std::int32_t kLast = 116203;
constexpr std::int32_t kFamilyRows = 116204;

// A file cut before each of its fields; the header is whole from `headerEnd` on.
template <class Sample>
void AddTruncations(std::vector<SampleCase<Sample>>& cases, const FieldImage& image) {
  const std::size_t headerEnd = image.Offset("MarkerCount");
  for (const auto& [field, offset] : image.Fields()) {
    const Outcome header = offset < headerEnd ? Outcome::EndOfFile : Outcome::Accepted;
    cases.push_back({offset == 0 ? "empty file" : "cut before " + field, CutBefore(image, field),
                     Outcome::EndOfFile, header});
  }
  cases.push_back({"cut inside the sample name", image.Bytes().substr(0, image.Offset("SampleName") + 2),
                   Outcome::EndOfFile, Outcome::EndOfFile});
  cases.push_back({"cut inside the last record", image.Bytes().substr(0, image.Offset("LastRecord") + 3),
                   Outcome::EndOfFile, Outcome::Accepted});
}

// Damage to the header block: every sample file refuses it in the header, so
// whole and header-only loads end alike.
template <class Sample>
void AddHeaderDamage(std::vector<SampleCase<Sample>>& cases, const FieldImage& image) {
  struct Damage {
    const char* name;
    std::string bytes;
    Outcome outcome;
  };
  const std::size_t afterName = image.Offset("ArrayType") - image.Offset("SampleName") - 1;
  const Damage damage[] = {
      // Lengths.
      {"version length -1", WithStringLength(image, "Version", kLengthMinusOne), Outcome::BadFormat},
      {"version length 2^31-1", WithStringLength(image, "Version", kInt32Max), Outcome::BadFormat},
      {"sample name length 2^31-1", WithStringLength(image, "SampleName", kInt32Max), Outcome::BadFormat},
      {"sample name longer than the rest of the file",
       WithStringLength(image, "SampleName", image.Bytes().size() - image.Offset("SampleName")),
       Outcome::EndOfFile},
      {"sample name length 0 with its text left behind", WithStringLength(image, "SampleName", 0),
       Outcome::Refused},
      {"sample name one byte longer than its text", WithStringLength(image, "SampleName", afterName + 1),
       Outcome::Refused},
      {"array type length -1", WithStringLength(image, "ArrayType", kLengthMinusOne), Outcome::BadFormat},
      {"reference candidates length -1", WithStringLength(image, "RefCandidates", kLengthMinusOne),
       Outcome::BadFormat},
      {"non-self references length 2^31-1", WithStringLength(image, "NonSelfReferences", kInt32Max),
       Outcome::BadFormat},
      // Chip types.
      {"unknown chip type", WithString(image, "ArrayType", "Mapping50K_Xba999"), Outcome::BadFormat},
      {"chip type in another case", WithString(image, "ArrayType", "mapping50k_xba240"), Outcome::BadFormat},
      {"empty chip type", WithString(image, "ArrayType", ""), Outcome::BadFormat},
      {"chip type of another family", WithString(image, "ArrayType", "Mapping250K_Nsp"), Outcome::BadFormat},
      {"chip type of the other array of the set", WithString(image, "ArrayType", "Mapping50K_Hind240"),
       Outcome::BadFormat},
      // Counts.
      {"SNP count -1", WithI32(image, "SnpCount", -1), Outcome::BadFormat},
      {"SNP count 0", WithI32(image, "SnpCount", 0), Outcome::BadFormat},
      {"SNP count 2^31-1", WithI32(image, "SnpCount", kInt32Max), Outcome::BadFormat},
      {"SNP count of the largest family", WithI32(image, "SnpCount", 534500), Outcome::BadFormat},
      {"SNP count ending before the last SNP", WithI32(image, "SnpCount", kLast), Outcome::BadFormat},
      // SNP ranges beyond the type.
      {"first SNP -1", WithI32(image, "FirstSnpIndex", -1), Outcome::BadFormat},
      {"first SNP in the other array's rows", WithI32(image, "FirstSnpIndex", kFirst - 1), Outcome::BadFormat},
      {"last SNP past the type", WithI32(image, "LastSnpIndex", kFamilyRows), Outcome::BadFormat},
      {"last SNP 2^31-1", WithI32(image, "LastSnpIndex", kInt32Max), Outcome::BadFormat},
      {"first SNP after the last", WithI32s(image, "FirstSnpIndex", {kLast, kFirst}), Outcome::BadFormat},
      {"last autosome SNP past the last SNP", WithI32(image, "LastAutosomeSnpIndex", kFamilyRows),
       Outcome::BadFormat},
      {"last autosome SNP before the first SNP", WithI32(image, "LastAutosomeSnpIndex", kFirst - 1),
       Outcome::BadFormat},
      {"non-self base range from -1", WithI32(image, "NonSelfBaseRange", -1, 0), Outcome::BadFormat},
      {"non-self base range past the SNP count", WithI32(image, "NonSelfBaseRange", kFamilyRows, 1),
       Outcome::BadFormat},
      {"self base range to 2^31-1", WithI32(image, "SelfBaseRange", kInt32Max, 1), Outcome::BadFormat},
      {"self base range from -2^31", WithI32(image, "SelfBaseRange", -kInt32Max - 1, 0), Outcome::BadFormat},
  };
  for (const Damage& d : damage) cases.push_back({d.name, d.bytes, d.outcome, d.outcome});
}

// The marker block follows the header in every sample file, so a header-only
// load never sees it.
template <class Sample>
void AddMarkerDamage(std::vector<SampleCase<Sample>>& cases, const FieldImage& image, Outcome oneMore) {
  cases.push_back({"marker count -1", WithI32(image, "MarkerCount", -1), Outcome::BadFormat, Outcome::Accepted});
  cases.push_back({"marker count 0 over two markers", WithI32(image, "MarkerCount", 0), Outcome::Refused,
                   Outcome::Accepted});
  cases.push_back({"marker count 2^31-1", WithI32(image, "MarkerCount", kInt32Max), Outcome::EndOfFile,
                   Outcome::Accepted});
  cases.push_back({"marker count one more than stored", WithI32(image, "MarkerCount", 3), oneMore,
                   Outcome::Accepted});
}

// Regions outside the sample are the sample's own business: the files keep
// them as written and every user cuts them to the sample's range.
template <class Sample>
void AddMarkersOutOfRange(std::vector<SampleCase<Sample>>& cases, const FieldImage& image,
                          const std::function<void(const Sample&, const MarkerRegion&)>& check) {
  struct Region {
    const char* name;
    MarkerRegion region;
  };
  const Region regions[] = {
      {"marker region from -1 to 2^31-1", {5, -1, kInt32Max, 3}},
      {"marker region before the sample's first SNP", {1, -5000, kFirst - 1, 3}},
      {"marker region past the family's last row", {23, kFamilyRows, kFamilyRows + 10, 3}},
      {"reversed marker region", {5, 70500, 70000, 3}},
      {"marker region on chromosome 99", {99, 70000, 70500, 3}},
      {"marker region of kind -1", {5, 70000, 70500, -1}},
      {"marker region of kind 2^31-1", {5, 70000, 70500, kInt32Max}},
  };
  for (const Region& r : regions) {
    const MarkerRegion region = r.region;
    cases.push_back({r.name,
                     WithI32s(image, "Marker0", {region.Chromosome, region.FirstSnp, region.LastSnp, region.Kind}),
                     Outcome::Accepted, Outcome::Accepted, [check, region](const Sample& s) { check(s, region); }});
  }
}

class SampleCorpusTest : public qova::test::TempHomeTest {
 protected:
  void SetUp() override {
    folder_ = Path("samples/");
    ASSERT_TRUE(platform::CreateFolders(folder_));
    setting_.DefaultArrayDataFolder = folder_;
    setting_.DefaultAnalysisResultFolder = folder_;
  }

  std::string ReadBack(const std::string& path) {
    std::string bytes;
    EXPECT_TRUE(platform::ReadWholeFile(path, bytes)) << path;
    return bytes;
  }

  // The names the sample list shows for `kind` after a fresh build of it.
  std::vector<std::string> Listed(int kind) {
    CSampleFileList list(setting_);
    EXPECT_TRUE(list.Rebuild(kind));
    return ListedNames(setting_, kind);
  }

  // Writes the case's bytes as "Bad<extension>" beside the good file, runs
  // `loads` (each returns its outcome), then checks what a reader must never
  // do and what the sample list makes of the file.
  template <class Sample>
  void Expect(const SampleCase<Sample>& c, const std::string& extension, int listKind,
              const std::function<void(const std::string& path, const SampleCase<Sample>&)>& loads) {
    SCOPED_TRACE(c.name);
    const std::string path = folder_ + "Bad" + extension;
    ASSERT_TRUE(platform::WriteWholeFile(path, c.bytes));
    const FolderSnapshot before = SnapshotOf(folder_);
    loads(path, c);
    EXPECT_THAT(ChangedFiles(before, SnapshotOf(folder_)), IsEmpty()) << "reading wrote to the folder";

    const std::vector<std::string> listed = Listed(listKind);
    if (c.header == Outcome::Accepted) {
      EXPECT_THAT(listed, ElementsAre("Bad" + extension, "Good" + extension));
    } else {
      EXPECT_THAT(listed, ElementsAre("Good" + extension));
    }
    CSampleFileList list(setting_);
    const std::string listFile = platform::FileNameOf(list.GetListFileName(listKind));
    EXPECT_THAT(ChangedFiles(before, SnapshotOf(folder_)), ElementsAre(listFile))
        << "the list update wrote something besides its list";
    ASSERT_TRUE(platform::RemoveFile(path));
    ASSERT_TRUE(platform::RemoveFile(list.GetListFileName(listKind)));
  }

  std::string folder_;
  CProgramSetting setting_;
};

void ExpectOutcome(const char* load, Outcome want, Outcome got) {
  EXPECT_TRUE(Matches(want, got)) << load << ": want " << want << ", got " << got;
}

TEST_F(SampleCorpusTest, DamagedExtractedFilesGetTheReadersErrorAndChangeNothing) {
  CArrayData good = CorpusExtractedSample("Good");
  good.StoreFile(folder_ + "Good.CFH");
  const FieldImage image = ExtractedImage(good, ReadBack(folder_ + "Good.CFH"));
  ASSERT_FALSE(HasFailure());

  std::vector<SampleCase<CArrayData>> cases;
  AddTruncations(cases, image);
  AddHeaderDamage(cases, image);
  AddMarkerDamage(cases, image, Outcome::EndOfFile);
  AddMarkersOutOfRange<CArrayData>(cases, image, [](const CArrayData& s, const MarkerRegion& region) {
    ASSERT_EQ(s.Markers.size(), 2u);
    EXPECT_EQ(s.Markers[0], region) << "the file's region is kept as written";
  });
  // Another version names the old layout, which has neither the allele
  // model nor the marker block: the current layout read that way leaves
  // bytes after its records, and the file is refused rather than misread.
  for (const char* version : {"1.002", "1.000", ""}) {
    cases.push_back({std::string("version \"") + version + "\"", WithString(image, "Version", version),
                     Outcome::BadFormat, Outcome::Accepted});
  }
  cases.push_back({"bytes after the last record", image.Bytes() + std::string(13, '\0'), Outcome::BadFormat,
                   Outcome::Accepted});

  CArrayData previous = CorpusExtractedSample("Previous");
  previous.Header.Attribute2 = "loaded before";
  for (const auto& c : cases) {
    Expect<CArrayData>(c, ".CFH", kFileListExtracted, [&](const std::string& path, const auto& c) {
      CArrayData whole = previous;
      const Outcome got = OutcomeOf([&] { whole.LoadFile(path); });
      ExpectOutcome("whole load", c.whole, got);
      if (got == Outcome::Accepted && c.check) c.check(whole);

      CArrayData header = previous;
      const Outcome headerGot = OutcomeOf([&] { header.LoadFile(path, false); });
      ExpectOutcome("header-only load", c.header, headerGot);
      if (headerGot != Outcome::Accepted) {
        EXPECT_EQ(header.Header, previous.Header);
      }
    });
  }
}

// Runs the three analysed loads over a case: into existing arrays, into arrays
// made for the file, and the header alone. A refused load leaves the object as
// it was.
void LoadAnalysed(const std::string& path, const SampleCase<CAnalyzedData>& c, const CAnalyzedData& previous) {
  CAnalyzedData existing = previous;
  const Outcome got = OutcomeOf([&] { existing.LoadFile(path); });
  ExpectOutcome("load into existing arrays", c.whole, got);
  if (got == Outcome::Accepted && c.check) c.check(existing);
  if (got != Outcome::Accepted) {
    EXPECT_EQ(existing.Header, previous.Header);
    EXPECT_EQ(existing.LogRatio, previous.LogRatio);
    EXPECT_EQ(existing.Markers, previous.Markers);
  }

  CAnalyzedData allocating = previous;
  ExpectOutcome("allocating load", c.whole, OutcomeOf([&] { allocating.LoadFileAllocating(path); }));

  CAnalyzedData header = previous;
  const Outcome headerGot = OutcomeOf([&] { header.LoadFile(path, true); });
  ExpectOutcome("header-only load", c.header, headerGot);
  if (headerGot != Outcome::Accepted) {
    EXPECT_EQ(header.Header, previous.Header);
  }
}

// The displayed state after a load with a damaged first region: the region
// forces its state only inside the sample's range, and only when it is a
// state region that is not reversed.
void ExpectDisplayedStateCutToTheSample(const CAnalyzedData& s, const MarkerRegion& region) {
  ASSERT_EQ(s.Markers.size(), 2u);
  EXPECT_EQ(s.Markers[0], region);
  const auto cut = region.IsStateMarker() ? region.ClampedTo(kFirst, kLast) : std::nullopt;
  ASSERT_EQ(s.EditedCopyNumberState.size(), static_cast<std::size_t>(kFamilyRows));
  for (std::int32_t i = kFirst; i <= kLast; ++i) {
    const bool forced = cut && i >= cut->first && i <= cut->second;
    const std::int32_t want = forced ? region.Kind : s.CopyNumberState[i];
    if (s.EditedCopyNumberState[i] != want) {
      ADD_FAILURE() << "displayed state of SNP " << i << " is " << s.EditedCopyNumberState[i] << ", want " << want;
      return;
    }
  }
}

TEST_F(SampleCorpusTest, DamagedAnalysedFilesGetTheReadersErrorAndChangeNothing) {
  const CArrayData source = CorpusExtractedSample("Good");
  CAnalyzedData nonSelf = CorpusAnalysedSample(source, AnalysisKind::NonSelf);
  nonSelf.StoreFile(folder_ + "Good.CFN");
  const std::string nonSelfBytes = ReadBack(folder_ + "Good.CFN");
  const FieldImage image = AnalysedImage(nonSelf, AnalysisKind::NonSelf, nonSelfBytes);
  CAnalyzedData allele = CorpusAnalysedSample(source, AnalysisKind::NonSelfAllele);
  allele.StoreFile(folder_ + "Allele.CFA");
  const std::string alleleBytes = ReadBack(folder_ + "Allele.CFA");
  ASSERT_TRUE(platform::RemoveFile(folder_ + "Allele.CFA"));
  ASSERT_FALSE(HasFailure());

  std::vector<SampleCase<CAnalyzedData>> cases;
  AddTruncations(cases, image);
  AddHeaderDamage(cases, image);
  AddMarkerDamage(cases, image, Outcome::Refused);
  AddMarkersOutOfRange<CAnalyzedData>(cases, image, ExpectDisplayedStateCutToTheSample);
  // Without the self base range of the current header, an older version's
  // header is read out of step and its ranges do not fit.
  for (const char* version : {"1.002", "1.000", ""}) {
    cases.push_back({std::string("version \"") + version + "\"", WithString(image, "Version", version),
                     Outcome::BadFormat, Outcome::BadFormat});
  }
  cases.push_back({"self flag in a non-self file", WithU8(image, "IsSelf", 1), Outcome::EndOfFile, Outcome::Accepted});
  cases.push_back({"analysis array type length 2^31-1", WithStringLength(image, "AnalysisArrayType", kInt32Max),
                   Outcome::BadFormat, Outcome::Accepted});
  cases.push_back({"analysis array type longer than the rest of the file",
                   WithStringLength(image, "AnalysisArrayType", image.Bytes().size() - image.Offset("IsSelf")),
                   Outcome::EndOfFile, Outcome::Accepted});
  cases.push_back({"allele-specific records under a .CFN name", alleleBytes, Outcome::BadFormat, Outcome::Accepted});
  cases.push_back({"bytes after the summary values", image.Bytes() + "\x01", Outcome::BadFormat, Outcome::Accepted});

  CAnalyzedData previous = CorpusAnalysedSample(CorpusExtractedSample("Previous"), AnalysisKind::NonSelf);
  for (const auto& c : cases) {
    Expect<CAnalyzedData>(c, ".CFN", kFileListNonSelf, [&](const std::string& path, const auto& c) {
      LoadAnalysed(path, c, previous);
    });
  }

  // The other way round: plain non-self records under a .CFA name are too
  // short for the allele layout.
  const SampleCase<CAnalyzedData> shortRecords{"plain records under a .CFA name", nonSelfBytes, Outcome::EndOfFile,
                                               Outcome::Accepted};
  ASSERT_TRUE(platform::RenameFile(folder_ + "Good.CFN", folder_ + "Good.CFA"));
  Expect<CAnalyzedData>(shortRecords, ".CFA", kFileListNonSelfAllele, [&](const std::string& path, const auto& c) {
    LoadAnalysed(path, c, previous);
  });
}

TEST_F(SampleCorpusTest, SelfResultReadInTheWrongLayoutIsRefused) {
  const CArrayData source = CorpusExtractedSample("Good");
  CAnalyzedData self = CorpusAnalysedSample(source, AnalysisKind::Self);
  self.StoreFile(folder_ + "Good.CFS");
  const FieldImage image = AnalysedImage(self, AnalysisKind::Self, ReadBack(folder_ + "Good.CFS"));
  ASSERT_FALSE(HasFailure());

  const SampleCase<CAnalyzedData> cases[] = {
      {"self flag cleared in a self file", WithU8(image, "IsSelf", 0), Outcome::BadFormat, Outcome::Accepted},
      {"self file cut before its summary values", CutBefore(image, "SampleSD"), Outcome::EndOfFile,
       Outcome::Accepted},
  };
  const CAnalyzedData previous = CorpusAnalysedSample(CorpusExtractedSample("Previous"), AnalysisKind::Self);
  for (const auto& c : cases) {
    Expect<CAnalyzedData>(c, ".CFS", kFileListSelf, [&](const std::string& path, const auto& c) {
      LoadAnalysed(path, c, previous);
    });
  }
}

}  // namespace
