#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/SampleHeader.h"
#include "platform/File.h"
#include "tests/core/SampleBytes.h"

namespace {

using qova::test::ArchiveErrorOf;
using qova::test::ByteWriter;
using qova::test::HandHeaderBytes;

SampleHeader FilledHeader() {
  SampleHeader h;
  h.Version = "anything: the writer sets it";
  h.SampleName = "NA10851";
  h.ArrayType = "Mapping250K_Nsp";
  h.IsTest = 1;
  h.Attribute1 = "tumour";
  h.Attribute2 = "batch 7";
  h.Attribute5 = "last";
  h.Sex = "F";
  h.CreateTime = CTime(1199145600);
  h.NonSelfBaseRange = {238304, 492337, 1, 2};
  h.SelfBaseRange = {240000, 480000, 2, 3};
  h.IsPaired = 1;
  h.SelfReference = "NA10851N";
  h.SaveTime = CTime(1210000000);
  h.RefCandidateCount = 2;
  h.RefCandidates = "R1$R2$";
  h.NonSelfReferenceCount = 2;
  h.NonSelfReferences = "0.250000$R1$0.125000$R2$";
  h.SnpCount = 500568;
  h.FirstSnpIndex = 238304;
  h.LastSnpIndex = 500567;
  h.LastAutosomeSnpIndex = 494857;
  h.SelfAnalyzed = true;
  h.Combined = false;
  for (int k = 0; k < kHmmStateCount; ++k) {
    h.HmmMeans[k] = -1.0f + 0.25f * k;
    h.HmmSdFactors[k] = 2.0f - 0.125f * k;
  }
  for (int k = 0; k < kAlleleHmmStateCount; ++k) {
    h.AlleleHmmMeans[k] = 0.1f * k;
    h.AlleleHmmSdFactors[k] = 1.5f - 0.2f * k;
  }
  return h;
}

std::string Written(SampleHeader& h) {
  CMemFile file;
  CArchive ar(&file, CArchive::store);
  WriteSampleHeader(ar, h);
  ar.Close();
  return file.Bytes();
}

SampleHeader Read(const std::string& bytes, SampleFileKind kind, SampleHeader start = {}) {
  CMemFile file(bytes);
  CArchive ar(&file, CArchive::load);
  ReadSampleHeader(ar, start, kind);
  return start;
}

TEST(SampleHeaderTest, WrittenBlockMatchesTheLayoutByteForByte) {
  SampleHeader h = FilledHeader();
  const std::string bytes = Written(h);
  EXPECT_EQ(h.Version, "1.001");
  EXPECT_EQ(bytes, HandHeaderBytes(h, true, true));
}

// Old files: which optional items are present, and what fills the absent ones.
TEST(SampleHeaderTest, VersionRulesDecideTheOptionalItems) {
  struct Case {
    std::string version;
    SampleFileKind kind;
    bool selfRangeInFile;
    bool allelePairsInFile;
  };
  const std::vector<Case> cases = {
      {"1.001", SampleFileKind::Extracted, true, true},
      {"1.001", SampleFileKind::Analyzed, true, true},
      {"", SampleFileKind::Extracted, true, false},
      {"1.000", SampleFileKind::Extracted, true, false},
      {"1.0010", SampleFileKind::Extracted, true, false},
      {"", SampleFileKind::Analyzed, false, false},
      {"1.000", SampleFileKind::Analyzed, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("version \"" + c.version + "\"");
    SampleHeader file = FilledHeader();
    file.Version = c.version;
    // The object that loads already holds another sample's parameters.
    SampleHeader before;
    before.SelfBaseRange = {5, 6, 7, 9};
    before.AlleleHmmMeans = {9, 9, 9, 9, 9};
    before.AlleleHmmSdFactors = {8, 8, 8, 8, 8};
    const SampleHeader read =
        Read(HandHeaderBytes(file, c.selfRangeInFile, c.allelePairsInFile), c.kind, before);

    EXPECT_EQ(read.Version, c.version);
    EXPECT_EQ(read.HmmMeans, file.HmmMeans);
    if (c.allelePairsInFile) {
      EXPECT_EQ(read.AlleleHmmMeans, file.AlleleHmmMeans);
      EXPECT_EQ(read.AlleleHmmSdFactors, file.AlleleHmmSdFactors);
    } else {
      EXPECT_EQ(read.AlleleHmmMeans, kDefaultAlleleHmmMeans);
      EXPECT_EQ(read.AlleleHmmSdFactors, kDefaultAlleleHmmSdFactors);
    }
    if (c.selfRangeInFile) {
      EXPECT_EQ(read.SelfBaseRange, file.SelfBaseRange);
    } else {
      // First, last and mode from the non-self range; N stays.
      const std::array<std::int32_t, 4> expected{238304, 492337, 1, 9};
      EXPECT_EQ(read.SelfBaseRange, expected);
    }
    EXPECT_EQ(read.NonSelfReferences, file.NonSelfReferences);
    EXPECT_EQ(read.SnpCount, file.SnpCount);
  }
}

// A cut inside a string leaves a length that no file of the cut size can hold,
// which the archive reports as a bad format; every other cut is an early end.
TEST(SampleHeaderTest, TruncatedHeaderIsRefusedAndLeavesTheHeaderAsItWas) {
  SampleHeader h = FilledHeader();
  const std::string bytes = Written(h);
  for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
    SampleHeader target;
    target.SampleName = "untouched";
    CMemFile file(bytes.substr(0, cut));
    CArchive ar(&file, CArchive::load);
    const CArchiveException::Cause cause =
        ArchiveErrorOf([&] { ReadSampleHeader(ar, target, SampleFileKind::Extracted); });
    EXPECT_TRUE(cause == CArchiveException::endOfFile || cause == CArchiveException::badFormat) << "cut at " << cut;
    EXPECT_EQ(target.SampleName, "untouched");
  }
}

TEST(SampleHeaderTest, RangesThatDoNotFitTheArrayTypeAreRefusedOnReadAndWrite) {
  struct Case {
    const char* what;
    void (*damage)(SampleHeader&);
    const char* says;
  };
  const std::vector<Case> cases = {
      {"unknown type", [](SampleHeader& h) { h.ArrayType = "mapping250k_nsp"; }, "unknown array type"},
      {"empty type", [](SampleHeader& h) { h.ArrayType.clear(); }, "unknown array type"},
      // A damaged file's bytes are quoted escaped; its UTF-8 stays.
      {"damaged type", [](SampleHeader& h) { h.ArrayType = std::string("Map\0\x9F\xE6\x97\xA5\n", 9); },
       "unknown array type \"Map\\x00\\x9F\xE6\x97\xA5\\x0A\""},
      {"first before the type", [](SampleHeader& h) { h.FirstSnpIndex = 238303; }, "SNP range 238303..500567"},
      {"last past the type", [](SampleHeader& h) { h.LastSnpIndex = 500568; }, "SNP range"},
      {"last at the count", [](SampleHeader& h) { h.SnpCount = h.LastSnpIndex; }, "SNP range"},
      {"count past the family", [](SampleHeader& h) { h.SnpCount = 540000; }, "SNP count 540000"},
      {"negative count", [](SampleHeader& h) { h.SnpCount = -1; }, "SNP count -1"},
      {"reversed range", [](SampleHeader& h) { h.FirstSnpIndex = 400000, h.LastSnpIndex = 300000; }, "SNP range"},
      {"last autosome outside", [](SampleHeader& h) { h.LastAutosomeSnpIndex = 100; }, "last autosome SNP 100"},
      {"base range outside", [](SampleHeader& h) { h.NonSelfBaseRange[1] = 600000; }, "base range"},
      {"base range from the count", [](SampleHeader& h) { h.NonSelfBaseRange[0] = h.SnpCount; }, "base range"},
      {"negative base range", [](SampleHeader& h) { h.SelfBaseRange[0] = -4; }, "base range -4"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SampleHeader bad = FilledHeader();
    c.damage(bad);
    EXPECT_NE(SampleRangeProblem(bad).find(c.says), std::string::npos) << SampleRangeProblem(bad);

    CMemFile out;
    CArchive store(&out, CArchive::store);
    EXPECT_THROW(WriteSampleHeader(store, bad), CDataFormatException);
    store.Close();
    EXPECT_TRUE(out.Bytes().empty());

    bad.Version = "1.001";
    SampleHeader target;
    EXPECT_EQ(ArchiveErrorOf([&] { target = Read(HandHeaderBytes(bad, true, true), SampleFileKind::Extracted); }),
              CArchiveException::badFormat);
  }
}

}  // namespace
