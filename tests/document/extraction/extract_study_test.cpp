// A generated study extracted from its array files gives back the samples of
// the synthetic model, and the analysis of the extracted pair finds what was
// planted.
#include <gtest/gtest.h>

#include "analysis/Analysis.h"
#include "core/AnalyzedData.h"
#include "core/GlobalData.h"
#include "tests/document/extraction/extract_test_support.h"
#include "tools/arraywriters/CdfWriters.h"

namespace {

using qova::test::AnnotationOf;
using qova::test::MakeSample;
using qova::test::SmallLayout;

constexpr const char* kType = "Mapping10K_Xba131";

std::int32_t Start(int chromosome) { return qova::core::kArrayChromosomeStarts[0][chromosome]; }

class ExtractStudyTest : public qova::test::ExtractionTest {
 protected:
  // Test01 with a loss, a gain and copy-neutral LOH, its normal and one
  // unrelated reference, every SNP of the type in the library file.
  arraygen::ArrayStudy WriteStudy() {
    arraygen::ArrayStudySpec spec;
    spec.Study.ArrayType = kType;
    spec.Study.Seed = 21;
    spec.Study.NonSelfReferences = 1;
    spec.Study.Sex = "M";
    spec.Study.Segments = {samplegen::CopyNumberSegment(1, Start(1) + 100, Start(1) + 399, 1),
                           samplegen::CopyNumberSegment(2, Start(2) + 50, Start(2) + 349, 3),
                           samplegen::CopyNeutralLohSegment(3, Start(3) + 20, Start(3) + 319)};
    spec.Cdf = arraygen::CdfForm::kGeneric;
    spec.Files.Cel = arraywriters::CelForm::kGeneric;
    spec.Files.Chp = arraygen::ChpForm::kGeneric;
    spec.Files.ChpSuffix = ".brlmm-p.CHP";
    return arraygen::WriteArrayStudy(folders_.DataFolder, folders_.LibraryFolder, AnnotationOf(kType), spec);
  }
};

TEST_F(ExtractStudyTest, ExtractedSamplesAreTheModelsSamples) {
  const arraygen::ArrayStudy study = WriteStudy();
  const samplegen::SampleGenerator generator(kType, AnnotationOf(kType), 21);
  std::vector<const samplegen::GeneratedSample*> planned{&study.Study.Test};
  for (const auto& reference : study.Study.References) planned.push_back(&reference);
  for (std::size_t i = 0; i < planned.size(); ++i) {
    SCOPED_TRACE(planned[i]->Name);
    const ExtractionResult result = Extract(study.Samples[i].ChpFile);
    ASSERT_TRUE(result.Stored) << result.Message;
    const CArrayData model = generator.Make(planned[i]->Spec);
    const CArrayData stored = LoadOutput(planned[i]->Name);
    EXPECT_EQ(stored.Header.Sex, "M");
    for (std::size_t p = 0; p < model.SignalA.size(); ++p) {
      ASSERT_NEAR(stored.SignalA[p], model.SignalA[p], 0.5) << p;
      ASSERT_NEAR(stored.SignalB[p], model.SignalB[p], 0.5) << p;
      ASSERT_EQ(stored.Call[p], model.Call[p]) << p;
    }
  }
}

TEST_F(ExtractStudyTest, AnalysisOfTheExtractedPairFindsThePlantedStates) {
  const arraygen::ArrayStudy study = WriteStudy();
  ASSERT_TRUE(Extract(study.Samples[1].ChpFile, kExtractPairedReference, study.Samples[0].ChpFile).Stored);
  ASSERT_TRUE(Extract(study.Samples[0].ChpFile, kExtractPairedTest, study.Samples[1].ChpFile).Stored);
  CArrayData test = LoadOutput("Test01");
  ASSERT_EQ(test.Header.SelfReference, "Test01N");

  CGlobalData global;
  CAnalysis engine(global);
  engine.ArrayDataFolder = folders_.ArrayDataFolder;
  engine.ResultFolder = Path("Results/");
  CAnalyzedData analyzed(test, AnalysisKind::Self);
  analyzed.IsSelf = true;
  analyzed.Header.SelfAnalyzed = true;
  ASSERT_EQ(engine.NormalizeBySelfReference(test, AnnotationOf(kType), analyzed), 0);
  ASSERT_EQ(engine.RunTotalCopyNumberHMM(analyzed, AnnotationOf(kType)), 0);

  const std::vector<samplegen::PlantedSegment>& segments = study.Study.Test.Spec.Segments;
  long inside = 0, right = 0, outside = 0, moved = 0, lohHeterozygous = 0;
  for (std::int32_t i = Start(1); i < Start(23); ++i) {
    if (analyzed.ValidFlag[i] != 1) continue;
    const samplegen::PlantedSegment* s = samplegen::PlantedSegmentAt(segments, i);
    if (s == nullptr) {
      ++outside;
      moved += analyzed.CopyNumberState[i] != 2;
      continue;
    }
    ++inside;
    right += analyzed.CopyNumberState[i] == s->TotalCopies();
    if (s->IsCopyNeutralLoh()) lohHeterozygous += analyzed.CallTest[i] == kCallAB;
  }
  ASSERT_GT(inside, 800);
  EXPECT_GE(right, inside * 95 / 100);
  EXPECT_LE(moved, outside / 100);
  EXPECT_LE(lohHeterozygous, 3) << "no heterozygous calls are left where one parent's copy is lost";
}

// The library file decides which probe sets are SNPs and which cells are
// perfect matches: a lower-case "snp" name is no SNP probe set, and a cell
// whose bases pair up only across cases is a mismatch.
TEST_F(ExtractStudyTest, LowerCaseNamesAndMixedCaseBasesAreLeftOut) {
  const arraygen::ArrayDesign design(kType, 4, SmallLayout(-1));
  const CArrayData sample = MakeSample(kType, "L1");
  WriteSample(design, sample);
  arraywriters::CdfLayout layout = design.Layout();
  const std::vector<std::int32_t>& snps = design.SnpProbeSets();
  layout.probeSets[static_cast<std::size_t>(snps[0])].name = "snp_A-lower";
  // The library must still fill the chip's SNPs: the last probe set that is
  // none, between two later SNPs, is named as one and puts those after it
  // back in their places.
  std::size_t named = static_cast<std::size_t>(snps.back());
  while (named > 0 && layout.probeSets[named].name.starts_with("SNP")) --named;
  ASSERT_GT(named, static_cast<std::size_t>(snps[2]));
  layout.probeSets[named].name = "SNP_A-named";
  arraywriters::CdfCell& mixed = layout.probeSets[static_cast<std::size_t>(snps[1])].blocks[0].cells[0];
  ASSERT_EQ(mixed.targetBase, arraywriters::ComplementBase(mixed.probeBase));
  mixed.probeBase = static_cast<char>(std::tolower(mixed.probeBase));
  arraywriters::CdfCell& lower = layout.probeSets[static_cast<std::size_t>(snps[1])].blocks[1].cells[0];
  lower.probeBase = static_cast<char>(std::tolower(lower.probeBase));
  lower.targetBase = static_cast<char>(std::tolower(lower.targetBase));
  ASSERT_TRUE(arraywriters::WriteBytes(platform::JoinPath(folders_.LibraryFolder, "Mapping10K_Xba131.CDF"),
                                       arraywriters::XdaCdfImage(layout)));

  ASSERT_TRUE(Extract("L1.CHP").Stored);
  const CArrayData stored = LoadOutput("L1");
  const arraywriters::CelArray cel = design.MakeCel(sample);
  const qova::test::AlleleSums set1 = qova::test::SumsOf(design, cel, 1);
  const float mixedCell = cel.cells[static_cast<std::size_t>(mixed.y) * cel.cols + mixed.x].intensity;
  // SNP set 1 fills the first position, without its mixed-case cell.
  EXPECT_EQ(stored.SignalA[0], static_cast<float>(set1.a - mixedCell));
  EXPECT_EQ(stored.SignalB[0], static_cast<float>(set1.b));
  EXPECT_EQ(stored.Call[0], sample.Call[1]) << "calls follow the probe-set index, not the position";
  const qova::test::AlleleSums set2 = qova::test::SumsOf(design, cel, 2);
  EXPECT_EQ(stored.SignalA[1], static_cast<float>(set2.a));
  const qova::test::AlleleSums last = qova::test::SumsOf(design, cel, snps.size() - 1);
  EXPECT_EQ(stored.SignalA[snps.size() - 1], static_cast<float>(last.a));
}

}  // namespace
