// Extraction of many samples against one reading of the library file: the
// same files and messages as samples extracted one at a time, and a library
// file replaced during a run read again.
#include <gtest/gtest.h>

#include <algorithm>

#include "document/extraction/ExtractionParts.h"
#include "arrayfiles/cdf/UnifiedCDFData.h"
#include "document/extraction/LibraryLayout.h"
#include "platform/ByteOrder.h"
#include "platform/File.h"
#include "platform/ParallelFor.h"
#include "platform/Strings.h"
#include "tests/document/extraction/extract_test_support.h"
#include "tools/arraywriters/CdfWriters.h"

namespace extraction = qova::document::extraction;

namespace {

using arraygen::ArrayDesign;
using qova::test::MakeSample;
using qova::test::LeanLayout;
using qova::test::SmallLayout;

constexpr const char* kType = "Mapping50K_Hind240";

class LibraryLayoutTest : public qova::test::ExtractionTest {
 protected:
  [[nodiscard]] std::string LibraryPath() const {
    return platform::JoinPath(folders_.LibraryFolder, arraygen::LibraryFileName(kType));
  }

  // Extracts `chpFiles` in one run sharing `libraries`: each file's result
  // message and stored bytes.
  std::vector<std::string> ExtractAll(const std::vector<std::string>& chpFiles,
                                      extraction::LibraryLayoutCache* libraries) {
    std::vector<std::string> outcomes;
    for (const std::string& chp : chpFiles) {
      const ExtractionResult result = libraries == nullptr
                                          ? ExtractSampleFiles({chp, kExtractUnpairedTest, {}}, folders_)
                                          : ExtractSampleFiles({chp, kExtractUnpairedTest, {}}, folders_, *libraries);
      outcomes.push_back(result.Stored ? BytesWithoutTimes(result.SampleName) : "failed: " + result.Message);
    }
    return outcomes;
  }
};

TEST_F(LibraryLayoutTest, ARunSharingTheLibraryWritesWhatSamplesOneAtATimeWrite) {
  const ArrayDesign design(kType, 5, LeanLayout());
  const std::vector<std::string> chpFiles{"S1.CHP", "S2.CHP", "Small.CHP", "S3.CHP"};
  for (arraygen::CdfForm cdf : arraygen::kAllCdfForms) {
    SCOPED_TRACE(arraygen::FormName(cdf));
    WriteLibrary(design, cdf);
    const arraywriters::CelForm celForms[] = {arraywriters::CelForm::kTextV3, arraywriters::CelForm::kGeneric,
                                              arraywriters::CelForm::kXda};
    for (std::size_t s = 0; s < 3; ++s) {
      arraygen::SampleFileOptions options;
      options.Cel = celForms[s];
      options.Chp = arraygen::kAllChpForms[s];
      const std::string name = "S" + std::to_string(s + 1);
      WriteSample(design, MakeSample(kType, name, 20 + s, s == 1 ? "F" : "M"), options);
    }
    // A scan smaller than the library file: its failure must not spoil the
    // samples after it.
    const CArrayData small = MakeSample(kType, "Small", 9);
    WriteSample(design, small);
    arraywriters::CelArray cel = design.MakeCel(small);
    cel.rows /= 2;
    cel.cells.resize(std::size_t(cel.rows) * std::size_t(cel.cols));
    ASSERT_TRUE(arraywriters::SaveCelFile(DataPath("Small.CEL"), arraywriters::CelForm::kGeneric, cel));

    const std::vector<std::string> alone = ExtractAll(chpFiles, nullptr);
    extraction::LibraryLayoutCache libraries;
    const std::vector<std::string> shared = ExtractAll(chpFiles, &libraries);
    EXPECT_EQ(shared, alone);
    // Only the generic form declares no grid to compare with the scan's.
    const std::string refusal = cdf == arraygen::CdfForm::kGeneric ? "names the cell (" : "is of ";
    EXPECT_TRUE(alone[2].starts_with("failed: The library file Mapping50K_Hind240.CDF " + refusal)) << alone[2];
    EXPECT_FALSE(alone[3].starts_with("failed")) << alone[3];
  }
}

TEST_F(LibraryLayoutTest, ALayoutBuiltOnSeveralThreadsIsTheLayoutBuiltOnOne) {
  const ArrayDesign design(kType, 5, SmallLayout(150));
  for (arraygen::CdfForm cdf : arraygen::kAllCdfForms) {
    SCOPED_TRACE(arraygen::FormName(cdf));
    WriteLibrary(design, cdf);
    const auto one = extraction::LibraryLayout::Read(LibraryPath());
    ASSERT_GT(one->SnpCount(), 100u);
    // Parts of a few probe sets each, and more threads than a part needs.
    for (int threads : {2, 3, 8}) {
      SCOPED_TRACE(threads);
      const auto many = extraction::LibraryLayout::Read(LibraryPath(), threads);
      EXPECT_EQ(many->ProbeSetCount(), one->ProbeSetCount());
      ASSERT_EQ(many->SnpCount(), one->SnpCount());
      for (std::size_t k = 0; k < one->SnpCount(); ++k) {
        ASSERT_EQ(many->ProbeSetIndex(k), one->ProbeSetIndex(k)) << "SNP " << k;
        ASSERT_EQ(many->SnpName(k), one->SnpName(k)) << "SNP " << k;
        ASSERT_TRUE(std::ranges::equal(many->CellsA(k), one->CellsA(k))) << "SNP " << k;
        ASSERT_TRUE(std::ranges::equal(many->CellsB(k), one->CellsB(k))) << "SNP " << k;
      }
    }
  }
}

TEST_F(LibraryLayoutTest, ALibraryFileReplacedDuringARunIsReadAgain) {
  // The replacement names every SNP's allele B cells as allele A and the
  // other way round, and differs from the first file in its size only (text
  // form) or in its modification time only (the same form).
  struct Case {
    const char* what;
    bool textForm;
    std::int64_t timeShift;
  };
  for (const Case c : {Case{"size", true, 0}, Case{"time", false, 60}}) {
    SCOPED_TRACE(c.what);
    const ArrayDesign design(kType, 3, LeanLayout());
    WriteLibrary(design, arraygen::CdfForm::kXda);
    WriteSample(design, MakeSample(kType, "A", 1));
    WriteSample(design, MakeSample(kType, "B", 2));
    const std::vector<std::string> withOld = ExtractAll({"B.CHP"}, nullptr);
    platform::FileStatus old;
    ASSERT_TRUE(platform::GetFileStatus(LibraryPath(), old));

    extraction::LibraryLayoutCache libraries;
    const auto first = libraries.Layout(LibraryPath());
    EXPECT_EQ(libraries.Layout(LibraryPath()), first) << "an unchanged library file is read once";
    ASSERT_FALSE(ExtractAll({"A.CHP"}, &libraries)[0].starts_with("failed"));

    arraywriters::CdfLayout swapped = design.Layout();
    for (std::int32_t set : design.SnpProbeSets()) {
      auto& blocks = swapped.probeSets[static_cast<std::size_t>(set)].blocks;
      std::swap(blocks[0], blocks[1]);
    }
    ASSERT_TRUE(arraywriters::WriteBytes(
        LibraryPath(), c.textForm ? arraywriters::TextCdfImage(swapped) : arraywriters::XdaCdfImage(swapped)));
    ASSERT_TRUE(platform::SetModificationTime(LibraryPath(), old.modificationTime + c.timeShift));
    platform::FileStatus now;
    ASSERT_TRUE(platform::GetFileStatus(LibraryPath(), now));
    EXPECT_EQ(now.size == old.size, c.timeShift != 0) << "the case changes one of the two only";

    const std::vector<std::string> inRun = ExtractAll({"B.CHP"}, &libraries);
    const std::vector<std::string> withNew = ExtractAll({"B.CHP"}, nullptr);
    EXPECT_EQ(inRun, withNew);
    EXPECT_NE(inRun, withOld) << "the two libraries name different cells";
    EXPECT_NE(libraries.Layout(LibraryPath()), first);
  }
}

TEST_F(LibraryLayoutTest, AnUnreadableLibraryIsNotKeptAndIsReadOnceMended) {
  const ArrayDesign design(kType, 3, LeanLayout());
  WriteSample(design, MakeSample(kType, "A", 1));
  ASSERT_TRUE(arraywriters::WriteBytes(LibraryPath(), "not a library file"));
  extraction::LibraryLayoutCache libraries;
  EXPECT_EQ(ExtractAll({"A.CHP"}, &libraries)[0], "failed: The library file Mapping50K_Hind240.CDF cannot be read");
  WriteLibrary(design);
  EXPECT_EQ(ExtractAll({"A.CHP"}, &libraries), ExtractAll({"A.CHP"}, nullptr));
  EXPECT_FALSE(ExtractAll({"A.CHP"}, &libraries)[0].starts_with("failed"));
}

TEST_F(LibraryLayoutTest, ASnpRecordThatCannotBeReadFailsTheSampleInsteadOfStoringZeroSums) {
  // The tables read; the records of two SNPs lie past the end of the file.
  // On four threads the library is walked in 16 stretches: the first bad
  // record is the last SNP of the first stretch, the second the first SNP of
  // the next one, which its thread reaches well before the first. The first
  // is told whichever thread fails first, as on one thread.
  const ArrayDesign design(kType, 3, SmallLayout(2000));
  WriteSample(design, MakeSample(kType, "A", 1));
  const arraywriters::CdfLayout& layout = design.Layout();
  const std::vector<std::int32_t>& snps = design.SnpProbeSets();
  const std::size_t stretchEnd = platform::ParallelFor::PartRange(layout.probeSets.size(), 16, 0).second;
  const auto second = std::ranges::lower_bound(snps, static_cast<std::int32_t>(stretchEnd));
  ASSERT_TRUE(second != snps.begin() && second != snps.end());
  const std::int32_t firstBad = *(second - 1);
  std::string bytes = arraywriters::XdaCdfImage(layout);
  const std::size_t setTable = 24 + layout.reference.size() + 64 * layout.probeSets.size() + 4 * layout.qcSets.size();
  for (const std::int32_t snp : {firstBad, *second}) {
    platform::WriteLE32(&bytes[setTable + 4 * static_cast<std::size_t>(snp)], 0x7ffffff0u);
  }
  ASSERT_TRUE(arraywriters::WriteBytes(LibraryPath(), bytes));

  const std::string expected =
      platform::Format("failed: The library file Mapping50K_Hind240.CDF cannot be read at its probe set %d (%s): ",
                       firstBad, layout.probeSets[static_cast<std::size_t>(firstBad)].name.c_str());
  // Which thread fails first hangs on the machine's load: on four threads the
  // walk runs several times over, so that telling the failure that came first
  // fails however the threads are scheduled.
  for (const auto& [threads, runs] : {std::pair(1, 1), std::pair(4, 20)}) {
    for (int run = 0; run < runs; ++run) {
      SCOPED_TRACE(platform::Format("%d threads, run %d", threads, run));
      extraction::LibraryLayoutCache libraries(threads);
      const std::string outcome = ExtractAll({"A.CHP"}, &libraries)[0];
      ASSERT_TRUE(outcome.starts_with(expected)) << outcome;
      ASSERT_GT(outcome.size(), expected.size()) << "the reader's reason follows";
    }
  }
  EXPECT_TRUE(ExtractAll({"A.CHP"}, nullptr)[0].starts_with(expected));
  EXPECT_FALSE(platform::FileExists(platform::JoinPath(folders_.ArrayDataFolder, "A.CFH")));
}

TEST_F(LibraryLayoutTest, ASnpNameThatCannotBeReadFailsTheSampleInsteadOfMovingEverySnpAfterIt) {
  // A generic library whose index gives one SNP's name a length far past its cell.
  const ArrayDesign design(kType, 3, SmallLayout(60));
  WriteSample(design, MakeSample(kType, "A", 1));
  const arraywriters::CdfLayout& layout = design.Layout();
  const std::int32_t snp = design.SnpProbeSets()[7];
  const std::string bytes = qova::test::GenericCdfWithUnreadableName(layout, snp);
  ASSERT_FALSE(bytes.empty());
  ASSERT_TRUE(arraywriters::WriteBytes(LibraryPath(), bytes));

  const std::string expected =
      platform::Format("failed: The library file Mapping50K_Hind240.CDF cannot be read at its probe set %d: ", snp);
  extraction::LibraryLayoutCache libraries(4);
  for (const std::string& outcome : {ExtractAll({"A.CHP"}, &libraries)[0], ExtractAll({"A.CHP"}, nullptr)[0]}) {
    EXPECT_TRUE(outcome.starts_with(expected)) << outcome.substr(0, 200);
    EXPECT_GT(outcome.size(), expected.size()) << "the reader's reason follows";
  }
  EXPECT_FALSE(platform::FileExists(platform::JoinPath(folders_.ArrayDataFolder, "A.CFH")));
}

TEST_F(LibraryLayoutTest, AGenericLibraryCutInsideItsIndexFailsTheSampleInsteadOfStoringNoSums) {
  const ArrayDesign design(kType, 3, SmallLayout(60));
  WriteSample(design, MakeSample(kType, "A", 1));
  const std::string whole = arraywriters::GenericCdfImage(design.Layout());
  // The first cut that the reader opens but whose probe sets it cannot count.
  std::size_t cut = 0;
  for (std::size_t size = 1; size < whole.size() && cut == 0; ++size) {
    ASSERT_TRUE(arraywriters::WriteBytes(LibraryPath(), whole.substr(0, size)));
    unified_io::UnifiedCDFData cdf;
    cdf.SetFileName(LibraryPath());
    if (cdf.Read() && cdf.GetHeader().GetNumProbeSets() == 0 && !cdf.GetError().empty()) cut = size;
  }
  ASSERT_GT(cut, 0u) << "no cut reads as a library without probe sets";
  ASSERT_TRUE(arraywriters::WriteBytes(LibraryPath(), whole.substr(0, cut)));
  extraction::LibraryLayoutCache libraries;
  EXPECT_EQ(ExtractAll({"A.CHP"}, &libraries)[0], "failed: The library file Mapping50K_Hind240.CDF cannot be read");
  EXPECT_FALSE(platform::FileExists(platform::JoinPath(folders_.ArrayDataFolder, "A.CFH")));
}

TEST(PerfectMatchTest, OnlyBasesThatPairInTheSameCaseAreAPerfectMatch) {
  const std::string pairs[] = {"AT", "TA", "GC", "CG", "at", "ta", "gc", "cg"};
  for (int p = 0; p < 256; ++p) {
    for (int t = 0; t < 256; ++t) {
      const std::string cell{static_cast<char>(p), static_cast<char>(t)};
      const bool expected = std::find(std::begin(pairs), std::end(pairs), cell) != std::end(pairs);
      ASSERT_EQ(extraction::IsPerfectMatch(cell[0], cell[1]), expected) << "probe " << p << ", target " << t;
    }
  }
}

}  // namespace
