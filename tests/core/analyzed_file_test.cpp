// The analysed-sample files: record layouts, sizes, the kind given by the
// caller, old versions, and files that are short or do not fit.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/AnalyzedData.h"
#include "core/ArrayTypes.h"
#include "platform/Archive.h"
#include "platform/File.h"
#include "platform/Paths.h"
#include "tests/core/SampleBytes.h"
#include "tests/support/TempHome.h"

namespace {

using qova::test::ArchiveErrorOf;
using qova::test::ByteWriter;
using qova::test::HandHeaderBytes;

// An analysed sample of `typeName` as an analysis of `kind` leaves it, every
// per-SNP value set from its index, with two markers.
CAnalyzedData MakeAnalyzed(const std::string& typeName, AnalysisKind kind, const std::string& name = "S01") {
  CAnalyzedData d(qova::test::MakeSample(typeName, name), kind);
  for (std::int32_t i = d.Header.FirstSnpIndex; i <= d.Header.LastSnpIndex; ++i) {
    const float x = static_cast<float>(i);
    d.LogRatio[i] = x * 0.5f;
    d.CopyNumberState[i] = i % 7;
    d.ValidFlag[i] = i % 3 != 0;
    d.CallTest[i] = i % 4;
    if (!d.LogRatioA.empty()) {
      d.LogRatioA[i] = x * 0.001f;
      d.LogRatioB[i] = -x * 0.002f;
      d.AlleleStateA[i] = i % 5;
      d.AlleleStateB[i] = (i + 1) % 5;
      d.CallReference[i] = (i + 2) % 4;
    }
    if (!d.LohLikelihood.empty()) d.LohLikelihood[i] = x * 0.25f;
  }
  d.SampleSD = 0.125f;
  d.MeanState = 2.03f;
  d.Markers = {{1, d.Header.FirstSnpIndex + 10, d.Header.FirstSnpIndex + 20, 4},
               {2, d.Header.FirstSnpIndex + 30, d.Header.FirstSnpIndex + 40, 35}};
  return d;
}

std::string StoreToBytes(CAnalyzedData& d, AnalysisKind kind) {
  CMemFile file;
  CArchive ar(&file, CArchive::store);
  d.SerializeSample(ar, kind, FALSE);
  ar.Close();
  return file.Bytes();
}

void LoadFromBytes(CAnalyzedData& d, const std::string& bytes, AnalysisKind kind, BOOL headerOnly = FALSE) {
  CMemFile file(bytes);
  CArchive ar(&file, CArchive::load);
  d.SerializeSample(ar, kind, headerOnly);
}

void SerializeFromBytes(CAnalyzedData& d, const std::string& bytes, AnalysisKind kind) {
  CMemFile file(bytes);
  CArchive ar(&file, CArchive::load);
  d.Serialize(ar, kind);
}

// Bytes before the records: header block, marker block, IsSelf, type name.
std::size_t PrefixBytes(const CAnalyzedData& d) {
  SampleHeader h = d.Header;
  h.Version = "1.001";
  return HandHeaderBytes(h, true, true).size() + 4 + 16 * d.Markers.size() + 1 + 1 + d.AnalysisArrayType.size();
}

struct KindCase {
  AnalysisKind kind;
  std::size_t recordBytes;
};
const KindCase kKinds[] = {
    {AnalysisKind::Self, 36}, {AnalysisKind::NonSelf, 20}, {AnalysisKind::NonSelfAllele, 40}};

std::size_t RecordBytes(AnalysisKind kind) {
  for (const KindCase& c : kKinds) {
    if (c.kind == kind) return c.recordBytes;
  }
  return 0;
}

// The record of SNP i written field by field in the order of its layout.
std::string HandRecord(const CAnalyzedData& d, AnalysisKind kind, std::int32_t i) {
  ByteWriter w;
  if (kind == AnalysisKind::NonSelf) {
    w.F32(d.LogRatio[i]).I32(d.CopyNumberState[i]).I32(d.ValidFlag[i]).I32(d.CallTest[i]).F32(d.LohLikelihood[i]);
    return w.Bytes();
  }
  w.F32(d.LogRatioA[i]).F32(d.LogRatioB[i]).F32(d.LogRatio[i]);
  w.I32(d.CopyNumberState[i]).I32(d.AlleleStateA[i]).I32(d.AlleleStateB[i]);
  w.I32(d.ValidFlag[i]).I32(d.CallTest[i]).I32(d.CallReference[i]);
  if (kind == AnalysisKind::NonSelfAllele) w.F32(d.LohLikelihood[i]);
  return w.Bytes();
}

TEST(AnalyzedFile, RecordsHaveTheSizeAndFieldOrderOfTheirLayout) {
  for (const KindCase& c : kKinds) {
    SCOPED_TRACE(AnalysisFileExtension(c.kind));
    CAnalyzedData d = MakeAnalyzed("Mapping50K_Xba240", c.kind);
    const std::string bytes = StoreToBytes(d, c.kind);
    const std::size_t prefix = PrefixBytes(d);
    ASSERT_EQ(bytes.size(), prefix + 58960 * c.recordBytes + 8);
    ASSERT_EQ(bytes.substr(prefix - 18, 18), "\x11Mapping50K_Xba240");
    const std::int32_t first = 57244, last = 116203;
    for (std::int32_t i : {first, first + 1, first + 4097, last}) {
      const std::size_t at = prefix + static_cast<std::size_t>(i - first) * c.recordBytes;
      EXPECT_EQ(bytes.substr(at, c.recordBytes), HandRecord(d, c.kind, i)) << "SNP " << i;
    }
    EXPECT_EQ(bytes.substr(bytes.size() - 8), ByteWriter().F32(0.125f).F32(2.03f).Bytes());
  }
}

// An older file lacks the self base range, the allele parameters and the
// markers; both readers treat it alike and carry nothing over from the sample
// the object held before.
TEST(AnalyzedFile, OldVersionFilesCarryNothingFromThePreviousSample) {
  for (const char* version : {"", "1.000"}) {
    for (bool allocating : {false, true}) {
      SCOPED_TRACE(std::string("version \"") + version + (allocating ? "\" Serialize" : "\" SerializeSample"));
      SampleHeader h = MakeAnalyzed("Mapping10K_Xba131", AnalysisKind::NonSelf).Header;
      h.Version = version;
      h.NonSelfBaseRange = {3, 9000, 2, 4};
      ByteWriter w;
      w.Raw(HandHeaderBytes(h, false, false)).U8(0).Str("Mapping10K_Xba131");
      for (std::int32_t i = 0; i <= 11559; ++i) w.F32(0.5f).I32(3).I32(1).I32(2).F32(1.5f);
      w.F32(0.2f).F32(2.5f);

      CAnalyzedData previous = MakeAnalyzed("Mapping10K_Xba131", AnalysisKind::NonSelfAllele, "PREV");
      previous.Header.SelfBaseRange = {100, 200, 3, 7};
      previous.Header.AlleleHmmMeans = {9, 9, 9, 9, 9};
      previous.Markers = {{1, 0, 50, 5}};
      if (allocating) {
        SerializeFromBytes(previous, w.Bytes(), AnalysisKind::NonSelf);
      } else {
        LoadFromBytes(previous, w.Bytes(), AnalysisKind::NonSelf);
      }
      EXPECT_EQ(previous.Header.SelfBaseRange, (std::array<std::int32_t, 4>{3, 9000, 2, 7}));
      EXPECT_EQ(previous.Header.AlleleHmmMeans, kDefaultAlleleHmmMeans);
      EXPECT_EQ(previous.Header.AlleleHmmSdFactors, kDefaultAlleleHmmSdFactors);
      EXPECT_TRUE(previous.Markers.empty());
      EXPECT_EQ(previous.EditedCopyNumberState[20], 3) << "no marker of the old sample applies";
      EXPECT_EQ(previous.LohLikelihood[11559], 1.5f);
      EXPECT_EQ(previous.MeanState, 2.5f);
    }
  }
}

// A file that ends anywhere before its last byte raises end-of-file and
// leaves the object as it was.
TEST(AnalyzedFile, TruncatedFileRaisesEndOfFileAndChangesNothing) {
  CAnalyzedData stored = MakeAnalyzed("Mapping10K_Xba131", AnalysisKind::NonSelfAllele, "NEW");
  const std::string bytes = StoreToBytes(stored, AnalysisKind::NonSelfAllele);
  const std::size_t prefix = PrefixBytes(stored);
  for (std::size_t cut : {std::size_t{0}, std::size_t{60}, prefix - 20, prefix - 2, prefix + 1000,
                          bytes.size() - 8, bytes.size() - 1}) {
    SCOPED_TRACE(cut);
    CAnalyzedData loaded = MakeAnalyzed("Mapping10K_Xba131", AnalysisKind::NonSelfAllele, "OLD");
    const CAnalyzedData before = loaded;
    EXPECT_EQ(ArchiveErrorOf([&] { LoadFromBytes(loaded, bytes.substr(0, cut), AnalysisKind::NonSelfAllele); }),
              CArchiveException::endOfFile);
    EXPECT_EQ(ArchiveErrorOf([&] { SerializeFromBytes(loaded, bytes.substr(0, cut), AnalysisKind::NonSelfAllele); }),
              CArchiveException::endOfFile);
    EXPECT_EQ(loaded.Header, before.Header);
    EXPECT_EQ(loaded.Markers, before.Markers);
    EXPECT_EQ(loaded.LogRatioA, before.LogRatioA);
    EXPECT_EQ(loaded.LohLikelihood, before.LohLikelihood);
  }
}

// Ranges that do not fit the array type are refused before any allocation.
TEST(AnalyzedFile, MisfitHeaderIsRefusedBeforeAllocating) {
  struct Case {
    const char* what;
    void (*edit)(SampleHeader&);
  };
  const Case cases[] = {
      {"SNP count beyond the capacity", [](SampleHeader& h) { h.SnpCount = 2000000000; }},
      {"range beyond the type", [](SampleHeader& h) { h.LastSnpIndex = 11560; }},
      {"reversed range", [](SampleHeader& h) { h.FirstSnpIndex = 500; h.LastSnpIndex = 400; }},
      {"unknown array type", [](SampleHeader& h) { h.ArrayType = "Mapping1M"; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SampleHeader h = MakeAnalyzed("Mapping10K_Xba131", AnalysisKind::NonSelf).Header;
    h.Version = "1.001";
    c.edit(h);
    ByteWriter w;
    w.Raw(HandHeaderBytes(h, true, true)).I32(0).U8(0).Str("Mapping10K_Xba131");
    w.Raw(std::string(11560 * 20 + 8, '\0'));

    CAnalyzedData loaded;
    EXPECT_EQ(ArchiveErrorOf([&] { SerializeFromBytes(loaded, w.Bytes(), AnalysisKind::NonSelf); }),
              CArchiveException::badFormat);
    EXPECT_TRUE(loaded.LogRatio.empty());
    EXPECT_TRUE(loaded.Header.ArrayType.empty());
  }
}

TEST(AnalyzedFile, StoreRefusesArraysTheLayoutNeedsButLacks) {
  CAnalyzedData d = MakeAnalyzed("Mapping10K_Xba131", AnalysisKind::NonSelf);
  CMemFile file;
  CArchive ar(&file, CArchive::store);
  EXPECT_EQ(ArchiveErrorOf([&] { d.SerializeSample(ar, AnalysisKind::NonSelfAllele, FALSE); }),
            CArchiveException::badFormat);
  ar.Close();
  EXPECT_TRUE(file.Bytes().empty()) << "nothing written before the refusal";
}

class AnalyzedFileOnDisk : public qova::test::TempHomeTest {};

TEST_F(AnalyzedFileOnDisk, ExtensionGivesTheLayoutOnStoreAndLoad) {
  for (const char* name : {"S01.CFN", "S01.cfa", "S01.CFS"}) {
    SCOPED_TRACE(name);
    const AnalysisKind kind = *AnalysisKindOfFile(name);
    CAnalyzedData stored = MakeAnalyzed("Mapping10K_Xba131", kind);
    const std::string path = Path(name);
    stored.StoreFile(path);

    platform::FileStatus status;
    ASSERT_TRUE(platform::GetFileStatus(path, status));
    EXPECT_EQ(status.size, PrefixBytes(stored) + 11560u * RecordBytes(kind) + 8u);

    CAnalyzedData loaded;
    loaded.LoadFileAllocating(path);
    EXPECT_EQ(loaded.LogRatio, stored.LogRatio);
    EXPECT_EQ(loaded.LohLikelihood, stored.LohLikelihood);
    EXPECT_EQ(loaded.AlleleStateB, stored.AlleleStateB);
  }
}

TEST_F(AnalyzedFileOnDisk, RefusedStoreKeepsTheOldFile) {
  CAnalyzedData good = MakeAnalyzed("Mapping10K_Xba131", AnalysisKind::NonSelf);
  const std::string path = Path("S01.CFA");
  good.StoreFile(Path("S01.CFN"));
  ASSERT_TRUE(platform::CopyFileTo(Path("S01.CFN"), path, true));
  std::string before;
  ASSERT_TRUE(platform::ReadWholeFile(path, before));

  // A .CFA needs the allele arrays this sample lacks.
  EXPECT_THROW(good.StoreFile(path), CArchiveException);
  std::string after;
  ASSERT_TRUE(platform::ReadWholeFile(path, after));
  EXPECT_EQ(after, before);
}

}  // namespace
