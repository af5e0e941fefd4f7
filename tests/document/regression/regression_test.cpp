// The regression work-file pipeline: the readers' rules and hand cases of the
// steps, and the eight commands end to end on a generated Mapping50K_Xba240
// study with a planted loss and gain.
#include <cmath>
#include <filesystem>
#include <functional>
#include <map>
#include <numeric>

#include "document/DocumentCommands.h"
#include "core/ArrayTypes.h"
#include "document/regression/RegressionWorkFiles.h"
#include "platform/File.h"
#include "platform/Strings.h"
#include "tests/arraygen/ArrayGenTestSupport.h"
#include "tests/document/DocumentTestSupport.h"
#include "tools/arraygen/ArrayGen.h"
#include "tools/arraywriters/CdfWriters.h"

namespace regression = qova::document::regression;
namespace core = qova::core;

namespace qova::test {
namespace {

using namespace qova::document::regression;
using Items = std::vector<std::string>;

TEST(RegressionWorkFileTest, ReadersSkipEmptyFieldsTakeLeadingNumbersAndRoundTripEveryLayout) {
  EXPECT_EQ(regression::Fields("\t1\t\t2\t"), (Items{"1", "2"}));
  EXPECT_EQ(regression::LeadingInt("12abc"), 12);
  EXPECT_EQ(regression::LeadingInt(""), 0);
  EXPECT_FLOAT_EQ(regression::LeadingReal("1e-3"), 0.001f);
  // A missing field shifts the ones after it.
  EXPECT_EQ(regression::ParseValues("1\t\t0.5\t0.25").Valid, 0);
  EXPECT_FLOAT_EQ(regression::ParseValues("1\t\t0.5\t0.25").A, 0.25f);

  regression::ImfLine imf;
  imf.Call = 2;
  for (int j = 0; j < regression::kProbesPerAllele; ++j) imf.A[j] = 0.5f * j, imf.B[j] = -0.25f * j;
  const ImfLine imfBack = ParseImf(Format(imf));
  EXPECT_EQ(imfBack.Call, 2);
  EXPECT_EQ(imfBack.A, imf.A);
  EXPECT_EQ(imfBack.B, imf.B);
  const std::array<float, 20> r{0.5f, -0.25f, 0.75f};
  EXPECT_EQ(regression::ParseCorrelations(regression::FormatCorrelations(r)), r);
  EXPECT_EQ(regression::FormatCorrelations(r).substr(regression::FormatCorrelations(r).size() - 2), "\t\n");
  const SnpInfoLine info{"1100000000", "0000000001", 12, 3, -7};
  EXPECT_EQ(Format(info), "1100000000\t0000000001\t12\t3\t-7\n");
  EXPECT_EQ(regression::ParseSnpInfo(Format(info)).Covariate, -7);
  EXPECT_EQ(Format(regression::ValueLine{3, 1, 0.5f, -1.5f}), "3\t1\t0.500000\t-1.500000\n");
  regression::NormalAverageLine normal;
  normal.Flag = 1;
  normal.Means[1] = std::array<float, 2>{0.5f, 0.25f};
  normal.Means[3] = std::array<float, 2>{1.0f, 2.0f};
  EXPECT_EQ(Format(normal), "1\t0\t0\t0.500000\t0.250000\t0\t0\t1.000000\t2.000000\n");
  EXPECT_EQ(regression::ReferenceOf(Format(normal), 2), (std::array<float, 2>{0.5f, 0.25f}));
  EXPECT_EQ(regression::ReferenceOf(Format(normal), 0), (std::array<float, 2>{1.0f, 2.0f}));
  EXPECT_EQ(Format(regression::CalibrationLine{}), "0\t0\t0\t0\t0\t0\t0\t0\t0\n");
  const CalibrationLine c{1, {0.9f, 0.01f, 1.5f, 0.25f}, {0.8f, 0.5f, -1.0f, 2.0f}};
  EXPECT_EQ(regression::ParseCalibration(Format(c)).B, c.B);
}

TEST(RegressionWorkFileTest, TheGcWindowReadsTheAllelesLetterSkipsTheBracketAndNothingOutside) {
  const std::string q = "TTTTT[A/C]" + std::string(24, 'G') + "TTTT";
  // Offset 5: the window starts at the bracket, so the allele's letter, then
  // the 24 G's after the five characters of "[A/C]".
  EXPECT_EQ(regression::WindowGcCount(q, 5, 5, true), 24);
  EXPECT_EQ(regression::WindowGcCount(q, 5, 5, false), 25);
  // Offset 10: five T's before, the letter, then 19 G's.
  EXPECT_EQ(regression::WindowGcCount(q, 5, 10, true), 19);
  EXPECT_EQ(regression::WindowGcCount(q, 5, 10, false), 20);
  // A sequence too short for its window reads nothing outside it.
  EXPECT_EQ(regression::WindowGcCount("[A/C]", 0, 0, false), 0);
  EXPECT_EQ(regression::WindowGcCount("GC", 40, -100, true), 0);
  EXPECT_EQ(regression::WindowGcCount("", 0, 30, true), 0);
}

// A study of Mapping50K_Xba240 as array files, and the SNP information file.
class RegressionPipelineTest : public DocumentTest {
 protected:
  static constexpr const char* kType = "Mapping50K_Xba240";

  RegressionPipelineTest() {
    datagen::WriteDataFolder(Root() + "data/", {kFamily});
    const std::int32_t rows = core::kArrayFamilies[kFamily].snpCount;
    global_.BasicData[kFamily].Allocate(rows, 0);
    global_.BasicData[kFamily].LoadFile(global_.DataFolder() + datagen::AnnotationFileName(kFamily), rows);
  }

  std::string Work(const std::string& file) const { return Root() + "QOVA/IMF/" + file; }

  // Test01 with `references` references, then Test02 and Test03 unless
  // `test01Only`; the library in the text form or `cdf`.
  void WriteStudy(int references = 10, bool test01Only = false, arraygen::CdfForm cdf = arraygen::CdfForm::kText) {
    const samplegen::SampleGenerator generator(kType, AnnotationOf(kType), 11);
    const auto stretch = [&](int c, double from, double to, int copies) {
      const std::int32_t b = generator.ChromosomeBegin(c), n = generator.ChromosomeEnd(c) - b;
      return samplegen::CopyNumberSegment(c, b + std::int32_t(from * n), b + std::int32_t(to * n) - 1, copies);
    };
    loss_ = stretch(4, 0.2, 0.7, 1);
    gain_ = stretch(7, 0.3, 0.9, 3);
    arraygen::ArrayStudySpec spec;
    spec.Study.ArrayType = kType;
    spec.Study.Seed = 11;
    spec.Study.TestName = "Test01";
    spec.Study.WithSelfReference = false;
    spec.Study.NonSelfReferences = references;
    spec.Study.Segments = {loss_};
    spec.Layout.PerfectMatchCellsPerAllele = 4;
    spec.Layout.MismatchCells = true;
    spec.Layout.ControlSets = 2;
    spec.Cdf = cdf;
    arraygen::WriteArrayStudy(Doc().DataFolder, Doc().LibraryFolder, AnnotationOf(kType), spec);
    if (!test01Only) {
      spec.Study.TestName = "Test02";
      spec.Study.NonSelfReferences = 0;
      spec.Study.Segments = {gain_};
      arraygen::WriteArrayStudy(Doc().DataFolder, Doc().LibraryFolder, AnnotationOf(kType), spec);
      spec.Study.TestName = "Test03";
      spec.Study.Segments.clear();
      arraygen::WriteArrayStudy(Doc().DataFolder, Doc().LibraryFolder, AnnotationOf(kType), spec);
    }
    snps_ = arraygen::ArrayDesign(kType, 11, spec.Layout).SnpProbeSets().size();
    WriteSnpInformation();
  }

  // A header line, then per SNP two ids, a sequence with "[x/y]" and an
  // integer covariate. The sequences' GC share runs from about a fifth to
  // four fifths, as real probes' do.
  void WriteSnpInformation() {
    std::string text = "Probe Set ID\tSNP ID\tSequence\tCovariate\n";
    for (std::size_t s = 0; s < snps_; ++s) {
      std::string sequence;
      const std::size_t gcInTen = 2 + (s * 7919) % 7;
      for (std::size_t k = 0; k < 60; ++k) {
        const std::size_t draw = (s * 31 + k * 17 + k * k * 3) % 10;
        sequence += draw < gcInTen ? "GC"[k % 2] : "AT"[k % 2];
      }
      sequence.insert(30, "[A/G]");
      text += "SNP\t" + std::to_string(s) + "\t" + sequence + "\t" + std::to_string(int(s % 41) - 20) + "\n";
    }
    ASSERT_TRUE(platform::CreateFolders(Root() + "QOVA/IMF/"));
    ASSERT_TRUE(platform::WriteWholeFile(Work(regression::kSnpInformationFile), text));
  }

  // Runs a list-driven step with the list of `names`.
  void RunListed(UINT command, const Items& names) {
    std::string list;
    for (const std::string& name : names) list += name + "\n";
    ASSERT_TRUE(platform::WriteWholeFile(Root() + "list.txt", list));
    Ui().OnFileDialog([this](platform::ui::FileDialogRequest& r) {
      r.chosen = {Root() + "list.txt"};
      return true;
    });
    Run(command);
  }

  // Each file of the work and result folders: its size and a digest of its bytes.
  using Digests = std::map<std::string, std::pair<std::size_t, std::size_t>>;
  static Digests::mapped_type Digest(const std::string& bytes) { return {bytes.size(), std::hash<std::string>{}(bytes)}; }
  Digests Folders() const {
    Digests files;
    for (const std::string& folder : {Work(""), ResultFolder()}) {
      for (const auto& entry : std::filesystem::directory_iterator(platform::NativePath(folder))) {
        files[entry.path().string()] = Digest(Bytes(entry.path().string()));
      }
    }
    return files;
  }

  // Steps 1 to 8 on two references: every work file and one result, the
  // library written in the binary form, which is the quicker to write and read.
  void WriteEveryFileOfTwoReferences() {
    WriteStudy(2, true, arraygen::CdfForm::kXda);
    const Items samples = {"Ref01", "Ref02"};
    for (UINT step : {command::kExtractImfFromList, command::kImfCorrelation, command::kMakeSnpInfo, command::kImfToIm2,
                      command::kMakeNormalAverage, command::kIm2ToIm3, command::kMakeCnRegression}) {
      if (step == command::kMakeSnpInfo) {
        Run(step);
      } else {
        RunListed(step, samples);
      }
    }
    RunListed(command::kIm3ToResult, {"Ref01"});
  }

  Items References() const {
    Items names;
    for (int k = 1; k <= 10; ++k) names.push_back(platform::Format("Ref%02d", k));
    return names;
  }

  // Mean total log2 ratio of the valid SNPs in position indexes [first, last].
  static double MeanRatio(const CAnalyzedData& r, std::int32_t first, std::int32_t last) {
    double sum = 0;
    int n = 0;
    for (std::int32_t i = first; i <= last; ++i) {
      if (r.ValidFlag[static_cast<std::size_t>(i)] != 1) continue;
      sum += r.LogRatio[static_cast<std::size_t>(i)];
      ++n;
    }
    return n == 0 ? NAN : sum / n;
  }

  static constexpr int kFamily = 2;
  samplegen::PlantedSegment loss_, gain_;
  std::size_t snps_ = 0;
};

// Steps run on work files written by hand: the averages by genotype, an
// undefined correlation, and the result of the calibration lines.
TEST_F(RegressionPipelineTest, StepsOnHandWrittenWorkFiles) {
  ASSERT_TRUE(platform::CreateFolders(Root() + "QOVA/IMF/"));
  const auto write = [&](const std::string& file, const std::string& text) {
    ASSERT_TRUE(platform::WriteWholeFile(Work(file), text));
  };
  write("R1.IM2", "1\t1\t1.0\t2.0\n3\t1\t5.0\t6.0\n");
  write("R2.IM2", "2\t1\t3.0\t4.0\n2\t0\t9.0\t9.0\n");
  RunListed(command::kMakeNormalAverage, {"R1", "R2"});
  // The flag is the last sample's; groups by call, the all-valid pair last.
  EXPECT_EQ(Bytes(Work(regression::kNormalAverageFile)),
            "1\t1.000000\t2.000000\t3.000000\t4.000000\t0\t0\t2.000000\t3.000000\n"
            "0\t0\t0\t0\t0\t5.000000\t6.000000\t5.000000\t6.000000\n");

  // Every called sample AB at the first SNP: no spread of allele counts.
  const std::string probes = "\t0.5\t0.6\t0.7\t0.8\t0.9\t1\t1.1\t1.2\t1.3\t1.4";
  const std::string higher = "\t1.5\t1.6\t1.7\t1.8\t1.9\t2\t2.1\t2.2\t2.3\t2.4";
  write("S1.IMF", "2" + probes + probes + "\n1" + probes + probes + "\n");
  write("S2.IMF", "2" + probes + probes + "\n3" + higher + higher + "\n");
  RunListed(command::kImfCorrelation, {"S1", "S2"});
  const std::vector<std::string> corr = platform::SplitLines(Bytes(Work(regression::kCorrelationFile)));
  ASSERT_EQ(corr.size(), 2u);
  EXPECT_EQ(regression::ParseCorrelations(corr[0]), (std::array<float, 20>{}));

  // The result: three SNPs, found through the index map.
  const CBasicData& family = global_.BasicData[kFamily];
  const core::ArrayTypeInfo& type = *core::FindArrayType(kType);
  std::array<std::size_t, 3> at{};
  for (std::int32_t i = type.firstSnp; i <= type.lastSnp; ++i) {
    const std::int64_t s = std::int64_t(family.IndexMap[static_cast<std::size_t>(i)]) - type.firstSnp;
    if (s >= 0 && s < 3) at[static_cast<std::size_t>(s)] = static_cast<std::size_t>(i);
  }
  write("T.IM3", "2\t1\t0.5\t0.5\n1\t1\t0.5\t0.5\n3\t0\t0.5\t0.5\n");
  write(regression::kCalibrationFile, "0\t0\t0\t0\t0\t0\t0\t0\t0\n"
                          "1\t0.9\t0.5\t" + platform::Format("%f", std::log(0.2)) + "\t0\t0.9\t0\t" +
                              platform::Format("%f", std::log(4.0)) + "\t0\n"
                          "0\t0\t0\t0\t0\t0\t0\t0\t0\n");
  RunListed(command::kIm3ToResult, {"T"});
  CAnalyzedData result;
  result.LoadFileAllocating(ResultPath("VIRIVT.CFA"));
  // Nine zeros: both copy numbers exp(0) - 0 = 1, every ratio 0.
  EXPECT_EQ(result.ValidFlag[at[0]], 1);
  EXPECT_FLOAT_EQ(result.LogRatio[at[0]], 0.0f);
  EXPECT_FLOAT_EQ(result.LogRatioA[at[0]], 0.0f);
  // Allele A at 0.2 - 0.5 is raised to 0.001; the larger allele (B, 4 copies)
  // goes to LogRatioA whatever the genotype.
  EXPECT_NEAR(result.LogRatioA[at[1]], 2.0f, 1e-4);
  EXPECT_NEAR(result.LogRatioB[at[1]], std::log2(0.001f), 1e-4);
  EXPECT_NEAR(result.LogRatio[at[1]], std::log2(4.001f / 2.0f), 1e-4);
  EXPECT_EQ(result.CallTest[at[1]], 1);
  EXPECT_EQ(result.ValidFlag[at[2]], 0);
  EXPECT_FLOAT_EQ(result.LogRatio[at[2]], 0.0f);
  EXPECT_TRUE(Messages().empty());

  // The regression of .IM2 recovers a planted quadratic in GC and covariate:
  // every valid residual is the constant c4.
  std::string imf, info;
  for (int s = 0; s < 200; ++s) {
    const double g = 4 + s % 9, v = (s * 7) % 23 - 11;
    const double y = 0.02 * g * g - 0.3 * g + 0.004 * v * v + 0.05 * v + 1.5;
    imf += platform::Format("2\t%f", y) + std::string(9 * 2, '\0').replace(0, 18, "\t0\t0\t0\t0\t0\t0\t0\t0\t0") +
           platform::Format("\t%f", y) + "\t0\t0\t0\t0\t0\t0\t0\t0\t0\n";
    info += platform::Format("1000000000\t1000000000\t%d\t%d\t%d\n", int(g), int(g), int(v));
  }
  write("Q.IMF", imf);
  write(regression::kSnpInfoFile, info);
  RunListed(command::kImfToIm2, {"Q"});
  const std::vector<std::string> im2 = platform::SplitLines(Bytes(Work("Q.IM2")));
  ASSERT_EQ(im2.size(), 200u);
  for (const std::string& line : im2) {
    const ValueLine v = ParseValues(line);
    EXPECT_EQ(v.Valid, 1);
    EXPECT_NEAR(v.A, 1.5f, 2e-3) << line;
    EXPECT_NEAR(v.B, 1.5f, 2e-3) << line;
  }

  // .IM3: each SNP is fitted against the reference of its own call.
  std::string normalAverage, sample;
  for (int s = 0; s < 30; ++s) {
    const int call = s % 4;
    const float ref[4] = {0.1f * s, 1.0f + s, 2.0f + 0.5f * s, -1.0f - s};  // all, AA, AB, BB
    normalAverage += platform::Format("1\t%f\t%f\t%f\t%f\t%f\t%f\t%f\t%f\n", ref[1], ref[1], ref[2], ref[2], ref[3],
                                      ref[3], ref[0], ref[0]);
    // The sample's value is 2 (reference) + 1: the line of the reference on
    // the sample value has slope 0.5 and intercept -0.5.
    const float x = 2.0f * ref[call] + 1.0f;
    sample += platform::Format("%d\t1\t%f\t%f\n", call, x, x);
  }
  write(regression::kNormalAverageFile, normalAverage);
  write("P.IM2", sample);
  RunListed(command::kIm2ToIm3, {"P"});
  const std::vector<std::string> im3 = platform::SplitLines(Bytes(Work("P.IM3")));
  const std::vector<std::string> im2p = platform::SplitLines(sample);
  ASSERT_EQ(im3.size(), 30u);
  for (std::size_t s = 0; s < im3.size(); ++s) {
    const float x = regression::ParseValues(im2p[s]).A;
    EXPECT_NEAR(regression::ParseValues(im3[s]).A, (x + 0.5f) / 0.5f, 1e-3) << s;
  }

  // A work file longer than the pipeline's tables is left out.
  std::string longFile;
  for (std::size_t k = 0; k <= regression::kMaxSnps; ++k) longFile += "1\t1\t0.5\t0.5\n";
  write("Long.IM2", longFile);
  RunListed(command::kMakeNormalAverage, {"Long"});
  EXPECT_EQ(ErrorLogLines(), (Items{"Normal average of the work files: Long.IM2 is left out: it has 60001 lines, "
                                    "more than the 60000 SNPs the pipeline holds"}));
}

// Step 4 sums the covariate's fourth power in 64-bit integers: a SNP
// information line whose covariate is beyond that leaves its sample out,
// naming the file, the line and the field, and writes no .IM2 for it.
TEST_F(RegressionPipelineTest, ALibrarySnpWhoseNameCannotBeReadLeavesTheSampleOutInsteadOfMovingTheRowsAfterIt) {
  WriteStudy();
  // The study's library again, in the generic form, with one SNP's name given
  // a length far past its cell.
  arraygen::LayoutOptions options;
  options.PerfectMatchCellsPerAllele = 4;
  options.MismatchCells = true;
  options.ControlSets = 2;
  const arraygen::ArrayDesign design(kType, 11, options);
  const arraywriters::CdfLayout& layout = design.Layout();
  const std::int32_t snp = design.SnpProbeSets()[5];
  const std::string library = GenericCdfWithUnreadableName(layout, snp);
  ASSERT_FALSE(library.empty());
  ASSERT_TRUE(platform::WriteWholeFile(Doc().LibraryFolder + arraygen::LibraryFileName(kType), library));

  Doc().ExtractIMF("Test01.CHP");
  const Items log = ErrorLogLines();
  ASSERT_EQ(log.size(), 1u);
  const std::string libraryFile = platform::NativePath(Doc().LibraryFolder + arraygen::LibraryFileName(kType));
  EXPECT_NE(log[0].find(platform::Format("TEST01.CHP is left out: the library file %s cannot be read at its probe "
                                         "set %d: InvalidFileTypeException",
                                         libraryFile.c_str(), snp)),
            std::string::npos)
      << log[0];
  EXPECT_FALSE(Exists(Work("TEST01.IMF")));
}

TEST_F(RegressionPipelineTest, ACovariateTheRegressionCannotHoldLeavesTheSampleOut) {
  ASSERT_TRUE(platform::CreateFolders(Root() + "QOVA/IMF/"));
  const struct {
    const char* covariate;
    bool kept;
  } cases[] = {{"55000", true}, {"-55000", true}, {"55001", false}, {"250050", false}, {"-99999999999", false}};
  std::string imf;
  for (int s = 0; s < 8; ++s) imf += platform::Format("2\t%d\t0.5\t0.25\n", s);
  for (const auto& c : cases) {
    std::string info;
    for (int s = 0; s < 8; ++s) info += platform::Format("1\t1\t%d\t%d\t%d\n", s, 2 * s, s * s - 3);
    // The line of the fuzzer's finding: a flag of one probe each, GC fields
    // that read as 0, and the covariate.
    info += std::string("1\t1\t\x80\t-\t") + c.covariate + "\n";
    ASSERT_TRUE(platform::WriteWholeFile(Work(regression::kSnpInfoFile), info));
    ASSERT_TRUE(platform::WriteWholeFile(Work("C.IMF"), imf + "1\t0.75\t0.5\n"));
    static_cast<void>(platform::RemoveFile(Work("C.IM2")));
    static_cast<void>(platform::RemoveFile(Root() + "errorlog.txt"));
    messages_.Clear();
    RunListed(command::kImfToIm2, {"C"});
    EXPECT_EQ(Exists(Work("C.IM2")), c.kept) << c.covariate;
    if (c.kept) {
      EXPECT_TRUE(ErrorLogLines().empty()) << c.covariate;
      EXPECT_TRUE(Messages().empty()) << c.covariate;
    } else {
      const std::string limit = std::string(c.covariate).size() > 7 ? "-2147483648" : c.covariate;
      const std::string why = Work(regression::kSnpInfoFile) + " line 9: the covariate (field 5) " + limit +
                              " lies outside -55000 to 55000";
      EXPECT_EQ(ErrorLogLines(), (Items{"Work files .IM2: C is left out: " + why}));
      EXPECT_EQ(Messages(), Items{"This file could not be read and is left out:\n" + Work("C.IMF") + ": " + why +
                                  "\nNothing was written."});
    }
  }
}

// Every step that takes a sample list tells the samples it left out, with
// their file and why, in one message after the last sample (which adds that
// nothing was written when it left every sample out); a step that left none
// out shows nothing.
TEST_F(RegressionPipelineTest, EachStepTellsTheSamplesItLeftOutOnceOnScreen) {
  ASSERT_TRUE(platform::CreateFolders(Root() + "QOVA/IMF/"));
  using Files = std::vector<std::pair<std::string, std::string>>;
  const std::string probes = "\t0.5\t0.6\t0.7\t0.8\t0.9\t1\t1.1\t1.2\t1.3\t1.4";
  const std::string higher = "\t1.5\t1.6\t1.7\t1.8\t1.9\t2\t2.1\t2.2\t2.3\t2.4";
  const std::string imf = "2" + probes + probes + "\n1" + probes + probes + "\n";
  const std::string otherImf = "1" + higher + higher + "\n3" + higher + higher + "\n";
  const std::string im = "1\t1\t1.0\t2.0\n3\t1\t5.0\t6.0\n";
  const std::string otherIm = "3\t1\t2.0\t1.0\n1\t1\t4.0\t7.0\n";
  const std::string nothing = "\nNothing was written.";
  const std::string unreadable = ": it cannot be read";
  const std::string one = "This file could not be read and is left out:\n";
  const std::string several = "These files could not be read and are left out:\n";
  const struct {
    const char* step;
    UINT command;
    Items names;
    Files files;
    std::string told;  // empty: nothing shown
  } cases[] = {
      {"intensities", command::kExtractImfFromList, {"Ghost"}, {},
       one + Root() + "Cel/GHOST.CHP: the CEL file GHOST.CEL does not exist" + nothing},
      {"correlation", command::kImfCorrelation, {"S1", "Gone", "S2"}, {{"S1.IMF", imf}, {"S2.IMF", otherImf}},
       one + Work("Gone.IMF") + unreadable},
      // A covariate of the SNP information the regression cannot hold.
      {"regression", command::kImfToIm2, {"S1", "Gone"},
       {{"S1.IMF", imf}, {regression::kSnpInfoFile, "1\t1\t3\t4\t7\n1\t1\t\x80\t-\t250050\n"}},
       several + Work("S1.IMF") + ": " + Work(regression::kSnpInfoFile) +
           " line 2: the covariate (field 5) 250050 lies outside -55000 to 55000\n" +
           Work("Gone.IMF") + unreadable + nothing},
      // Two SNPs cannot fix the five coefficients.
      {"regression without a solution", command::kImfToIm2, {"S1"},
       {{"S1.IMF", imf}, {regression::kSnpInfoFile, "1\t1\t3\t4\t7\n1\t1\t5\t4\t-9\n"}},
       one + Work("S1.IMF") + ": the regression of allele A has no solution" + nothing},
      {"normal average", command::kMakeNormalAverage, {"R1", "Gone"}, {{"R1.IM2", im}},
       one + Work("Gone.IM2") + unreadable},
      {"normal average, every sample kept", command::kMakeNormalAverage, {"R1", "R2"},
       {{"R1.IM2", im}, {"R2.IM2", im}}, ""},
      // Every value the same: no line scales the sample to the references.
      {"scaling", command::kIm2ToIm3, {"P", "Gone"},
       {{"P.IM2", "2\t1\t0.5\t0.5\n2\t1\t0.5\t0.5\n"},
        {regression::kNormalAverageFile, "1\t1\t1\t2\t2\t3\t3\t4\t4\n1\t1\t1\t2\t2\t3\t3\t4\t4\n"}},
       several + Work("P.IM2") + ": allele A cannot be scaled to the references\n" + Work("Gone.IM2") + unreadable +
           nothing},
      {"calibration", command::kMakeCnRegression, {"R1", "Gone", "R2"}, {{"R1.IM3", im}, {"R2.IM3", otherIm}},
       one + Work("Gone.IM3") + unreadable},
      {"results", command::kIm3ToResult, {"T", "Gone"},
       {{"T.IM3", im}, {regression::kCalibrationFile, "0\t0\t0\t0\t0\t0\t0\t0\t0\n0\t0\t0\t0\t0\t0\t0\t0\t0\n"}},
       one + Work("Gone.IM3") + unreadable},
  };
  for (const auto& c : cases) {
    for (const auto& [file, text] : c.files) ASSERT_TRUE(platform::WriteWholeFile(Work(file), text));
    messages_.Clear();
    RunListed(c.command, c.names);
    EXPECT_EQ(Messages(), c.told.empty() ? Items{} : Items{c.told}) << c.step;
  }
  // The error log keeps its own line for each.
  const Items log = ErrorLogLines();
  ASSERT_EQ(log.size(), 10u) << Bytes(Root() + "errorlog.txt");
  EXPECT_EQ(log[2], "Work files .IM2: S1 is left out: " + Work(regression::kSnpInfoFile) +
                        " line 2: the covariate (field 5) 250050 lies outside -55000 to 55000");
}

// Calibration needs the references of a SNP to show two genotypes at least:
// with one, the correlation is 0/0 whatever the offset, and floating point
// must not turn its rounding noise into a line.
TEST_F(RegressionPipelineTest, ASnpWhoseReferencesShowOneGenotypeGetsTheFlagZeroLine) {
  ASSERT_TRUE(platform::CreateFolders(Root() + "QOVA/IMF/"));
  // The calls of five references at four SNPs: all AB, all AA, AB and BB,
  // and all three genotypes.
  const int calls[4][5] = {{2, 2, 2, 2, 2}, {1, 1, 1, 1, 1}, {2, 3, 2, 3, 3}, {1, 2, 3, 1, 2}};
  Items names;
  for (int r = 0; r < 5; ++r) {
    std::string text;
    for (int s = 0; s < 4; ++s) {
      const float a = 0.37f + 0.113f * float(r) + 0.05f * float(s), b = 1.91f - 0.071f * float(r * r);
      text += platform::Format("%d\t1\t%f\t%f\n", calls[s][r], a, b);
    }
    names.push_back(platform::Format("R%d", r));
    ASSERT_TRUE(platform::WriteWholeFile(Work(names.back() + ".IM3"), text));
  }
  RunListed(command::kMakeCnRegression, names);
  const Items lines = platform::SplitLines(Bytes(Work(regression::kCalibrationFile)));
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], "0\t0\t0\t0\t0\t0\t0\t0\t0") << "every reference AB";
  EXPECT_EQ(lines[1], "0\t0\t0\t0\t0\t0\t0\t0\t0") << "every reference AA";
  for (std::size_t s : {2u, 3u}) {
    const CalibrationLine c = ParseCalibration(lines[s]);
    EXPECT_EQ(c.Flag, 1) << lines[s];
    for (const auto& allele : {c.A, c.B}) {
      EXPECT_GE(allele[0], -1.0f) << lines[s];
      EXPECT_LE(allele[0], 1.0f) << lines[s];
      EXPECT_GE(allele[1], 0.01f) << lines[s];
      EXPECT_LE(allele[1], 5.0f) << lines[s];
      EXPECT_NE(allele[3], 0.0f) << lines[s];
    }
  }
}

// A step that leaves every listed sample out, or finds nothing valid to
// compute, writes nothing: no file of the work and result folders changes or
// appears, and one message names the files left out and that nothing was
// written. Good names among wrong ones still write, the same bytes as before.
TEST_F(RegressionPipelineTest, AStepWithNothingToComputeKeepsEveryFileAndSaysNothingWasWritten) {
  WriteStudy(2, true, arraygen::CdfForm::kXda);
  // Before the first run no empty work file appears either.
  RunListed(command::kImfCorrelation, {"XRef01"});
  EXPECT_EQ(Messages(), Items{"This file could not be read and is left out:\n" + Work("XRef01.IMF") +
                              ": it cannot be read\nNothing was written."});
  EXPECT_FALSE(Exists(Work(kCorrelationFile)));
  messages_.Clear();
  // The two references alone keep the run short.
  WriteEveryFileOfTwoReferences();
  ASSERT_EQ(Messages(), Items{});
  const Digests before = Folders();
  ASSERT_EQ(before.size(), 12u);

  const Items wrong = {"XRef01", "XRef02"};
  // The message's list of the two wrong names' files.
  const auto wrongFiles = [&](const std::string& extension) {
    return "These files could not be read and are left out:\n" + Work("XRef01" + extension) +
           ": it cannot be read\n" + Work("XRef02" + extension) + ": it cannot be read";
  };
  const auto kept = [&](const std::string& file) { return "Nothing was written; " + Work(file) + " is kept as it was."; };
  const std::string nothing = "Nothing was written.";
  // A library of one control probe set and no SNP.
  arraywriters::CdfLayout controls;
  controls.chipName = kType;
  controls.rows = controls.cols = 2;
  arraywriters::CdfProbeSet control;
  control.name = "CONTROL-1";
  control.type = arraywriters::kCdfExpressionControl;
  control.blocks.push_back({"CONTROL-1", 1, 1, 0, 0, {{0, 0, 'A', 'T', 0, 0}}});
  controls.probeSets = {control};
  const std::string library = Doc().LibraryFolder + arraygen::LibraryFileName(kType);
  const struct {
    const char* step;
    UINT command;
    Items names;
    std::string leftOut, outcome;  // the two parts of the message, either may be empty
    std::string removed = {};                           // removed first, then written again
    std::pair<std::string, std::string> replaced = {};  // a file's bytes for this run only
  } cases[] = {
      {"intensities", command::kExtractImfFromList, wrong,
       "These files could not be read and are left out:\n" + Root() +
           "Cel/XREF01.CHP: the CEL file XREF01.CEL does not exist\n" + Root() +
           "Cel/XREF02.CHP: the CEL file XREF02.CEL does not exist",
       nothing},
      {"correlation", command::kImfCorrelation, wrong, wrongFiles(".IMF"), kept(kCorrelationFile)},
      {"correlation of one sample", command::kImfCorrelation, {"Ref01"}, "",
       "No SNP of the samples read has a correlation. " + kept(kCorrelationFile)},
      {"correlation, good names among wrong ones", command::kImfCorrelation,
       {"XRef01", "Ref01", "XRef02", "Ref02"}, wrongFiles(".IMF"), "", kCorrelationFile},
      {"SNP selection", command::kMakeSnpInfo, {}, "",
       Work(kCorrelationFile) + ": it has no lines. " + kept(kSnpInfoFile), {}, {Work(kCorrelationFile), ""}},
      {"SNP selection without SNP information", command::kMakeSnpInfo, {}, "",
       Work(kSnpInformationFile) + ": it has no line after its header. " + kept(kSnpInfoFile), {},
       {Work(kSnpInformationFile), "Probe Set ID\tSNP ID\tSequence\tCovariate\n"}},
      {"SNP selection from a library without SNPs", command::kMakeSnpInfo, {}, "",
       platform::NativePath(library) + ": it has no SNP probe sets. " + kept(kSnpInfoFile), {},
       {library, arraywriters::TextCdfImage(controls)}},
      {"regression", command::kImfToIm2, wrong, wrongFiles(".IMF"), nothing},
      {"normal average", command::kMakeNormalAverage, wrong, wrongFiles(".IM2"), kept(kNormalAverageFile)},
      {"normal average of an empty list", command::kMakeNormalAverage, {}, "",
       "The sample list " + Root() + "list.txt names no sample. " + kept(kNormalAverageFile)},
      {"normal average without a valid SNP", command::kMakeNormalAverage, {"Ref01"}, "",
       "No SNP of the samples read is valid. " + kept(kNormalAverageFile), {}, {Work("Ref01.IM2"), "2\t0\t0\t0\n"}},
      {"scaling", command::kIm2ToIm3, wrong, wrongFiles(".IM2"), nothing},
      {"scaling, a good name among wrong ones", command::kIm2ToIm3, {"XRef01", "Ref02"},
       "This file could not be read and is left out:\n" + Work("XRef01.IM2") + ": it cannot be read", "",
       "Ref02.IM3"},
      {"calibration", command::kMakeCnRegression, wrong, wrongFiles(".IM3"), kept(kCalibrationFile)},
      {"calibration of one sample", command::kMakeCnRegression, {"Ref01"}, "",
       "No SNP of the samples read can be calibrated. " + kept(kCalibrationFile)},
      {"results", command::kIm3ToResult, wrong, wrongFiles(".IM3"), nothing},
  };
  for (const auto& c : cases) {
    Digests expected = before;
    std::string saved;
    if (const auto& [file, bytes] = c.replaced; !file.empty()) {
      saved = Bytes(file);
      ASSERT_TRUE(platform::WriteWholeFile(file, bytes));
      if (const auto at = expected.find(platform::NativePath(file)); at != expected.end()) at->second = Digest(bytes);
    }
    if (!c.removed.empty()) {
      ASSERT_TRUE(platform::RemoveFile(Work(c.removed))) << c.step;
    }
    messages_.Clear();
    if (c.command == command::kMakeSnpInfo) {
      Run(c.command);
    } else {
      RunListed(c.command, c.names);
    }
    const std::string told = c.leftOut + (c.leftOut.empty() || c.outcome.empty() ? "" : "\n") + c.outcome;
    EXPECT_EQ(Messages(), Items{told}) << c.step;
    EXPECT_EQ(Folders(), expected) << c.step;
    if (!c.replaced.first.empty()) {
      ASSERT_TRUE(platform::WriteWholeFile(c.replaced.first, saved));
    }
  }
}

// Every message of the pipeline that names a work, library, result or list
// file names it as it is on disk, whichever way the folders are given (the
// program's own defaults are Windows-style): a file that cannot be written
// because a folder stands in its place, a damaged library, a list that cannot
// be read. The other files keep their bytes and no temporary file is left.
TEST_F(RegressionPipelineTest, EveryMessageNamesItsFileAsItIsOnDisk) {
  WriteEveryFileOfTwoReferences();
  ASSERT_EQ(Messages(), Items{});
  Doc().DataFolder = "c:\\Cel\\";
  Doc().LibraryFolder = "C:\\library\\";
  Doc().AnalysisResultFolder = "c:\\Results\\";
  const Digests before = Folders();
  const std::string library = Root() + "Library/" + arraygen::LibraryFileName(kType);
  const std::string one = "This file could not be read and is left out:\n" + Root() + "Cel/Ref01.CHP: ";
  const std::string nothing = "Nothing was written.";
  const auto unwritable = [](const std::string& path) {
    return "work file " + path + " cannot be written: Access to " + path + " was denied.";
  };
  const Items both = {"Ref01", "Ref02"}, first = {"Ref01"};
  const struct {
    const char* step;
    UINT command;
    Items names;
    std::string blocked;                           // a folder stands in this file's place
    std::pair<std::string, std::string> replaced;  // a file's bytes for this run only
    Items told;
    std::string list = {};  // the list as the open dialog gives it; empty: a list of `names`
  } cases[] = {
      {"intensities", command::kExtractImfFromList, first, Work("REF01.IMF"), {},
       {one + "the " + unwritable(Work("REF01.IMF")) + "\n" + nothing}},
      {"intensities from a damaged library", command::kExtractImfFromList, first, "", {library, "not a library"},
       {one + "the library file " + library + " cannot be read\n" + nothing}},
      {"intensities without a library", command::kExtractImfFromList, first, library, {},
       {one + "the library file " + library + " does not exist\n" + nothing}},
      {"correlation", command::kImfCorrelation, both, Work(kCorrelationFile), {},
       {"The " + unwritable(Work(kCorrelationFile))}},
      {"SNP selection", command::kMakeSnpInfo, {}, Work(kSnpInfoFile), {}, {"The " + unwritable(Work(kSnpInfoFile))}},
      {"SNP selection from a damaged library", command::kMakeSnpInfo, {}, "", {library, "not a library"},
       {"The library file " + library + " cannot be read: Unknown file format."}},
      {"regression", command::kImfToIm2, first, Work("Ref01.IM2"), {},
       {"The " + unwritable(Work("Ref01.IM2")), nothing}},
      {"normal average", command::kMakeNormalAverage, both, Work(kNormalAverageFile), {},
       {"The " + unwritable(Work(kNormalAverageFile))}},
      {"scaling", command::kIm2ToIm3, first, Work("Ref01.IM3"), {}, {"The " + unwritable(Work("Ref01.IM3")), nothing}},
      {"calibration", command::kMakeCnRegression, both, Work(kCalibrationFile), {},
       {"The " + unwritable(Work(kCalibrationFile))}},
      {"results", command::kIm3ToResult, first, ResultPath("VIRIVRef01.CFA"), {},
       {"The result file " + ResultPath("VIRIVRef01.CFA") + " cannot be written: Access to " +
            ResultPath("VIRIVRef01.CFA") + " was denied.",
        nothing}},
      {"an unreadable list", command::kMakeNormalAverage, {}, Root() + "lists.txt", {},
       {"The sample list " + Root() + "lists.txt cannot be read"}, "c:\\Lists.TXT"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.step);
    Digests expected = before;
    std::string saved, savedBlocked;
    if (const auto& [file, bytes] = c.replaced; !file.empty()) {
      saved = Bytes(file);
      ASSERT_TRUE(platform::WriteWholeFile(file, bytes));
    }
    if (!c.blocked.empty()) {
      savedBlocked = Bytes(c.blocked);
      static_cast<void>(platform::RemoveFile(c.blocked));
      ASSERT_TRUE(platform::CreateFolders(c.blocked));
      if (const auto at = expected.find(c.blocked); at != expected.end()) at->second = Digest("");
    }
    messages_.Clear();
    if (c.command == command::kMakeSnpInfo) {
      Run(c.command);
    } else if (c.list.empty()) {
      RunListed(c.command, c.names);
    } else {
      Ui().OnFileDialog([&](platform::ui::FileDialogRequest& r) {
        r.chosen = {c.list};
        return true;
      });
      Run(c.command);
    }
    EXPECT_EQ(Messages(), c.told);
    EXPECT_EQ(Folders(), expected);
    if (!c.replaced.first.empty()) {
      ASSERT_TRUE(platform::WriteWholeFile(c.replaced.first, saved));
    }
    if (!c.blocked.empty()) {
      std::filesystem::remove_all(c.blocked);
      if (!savedBlocked.empty()) {
        ASSERT_TRUE(platform::WriteWholeFile(c.blocked, savedBlocked));
      }
    }
  }

  // A file standing where the work folder should be.
  std::filesystem::rename(Work(""), Root() + "QOVA/IMF.kept");
  ASSERT_TRUE(platform::WriteWholeFile(Root() + "QOVA/IMF", "a file where the work folder should be"));
  messages_.Clear();
  RunListed(command::kExtractImfFromList, first);
  EXPECT_EQ(Messages(), Items{one + "the work file " + Work("REF01.IMF") + " cannot be written: the folder " +
                              Work("") + " cannot be created\n" + nothing});
  ASSERT_TRUE(platform::RemoveFile(Root() + "QOVA/IMF"));
  std::filesystem::rename(Root() + "QOVA/IMF.kept", Work(""));
  EXPECT_EQ(Folders(), before);
}

// Also: a listed sample without array files, and a sample whose .IM2 file
// goes missing between the steps, are left out with log lines, and each step
// that left one out names it on screen.
TEST_F(RegressionPipelineTest, TheEightStepsFindThePlantedLossAndGainAndLeaveOutWhatIsMissing) {
  WriteStudy();
  Items all = References();
  all.insert(all.begin(), {"Test01", "Test02", "Test03", "Ghost"});
  RunListed(command::kExtractImfFromList, all);
  RunListed(command::kImfCorrelation, all);
  Run(command::kMakeSnpInfo);
  RunListed(command::kImfToIm2, all);
  ASSERT_TRUE(platform::RemoveFile(Work("Test03.IM2")));
  RunListed(command::kMakeNormalAverage, References());
  RunListed(command::kIm2ToIm3, all);
  RunListed(command::kMakeCnRegression, References());
  RunListed(command::kIm3ToResult, {"Test01", "Test02", "Test03"});
  const std::string single = "This file could not be read and is left out:\n";
  const std::string unreadable = ": it cannot be read";
  EXPECT_EQ(Messages(), (Items{single + Root() + "Cel/GHOST.CHP: the CEL file GHOST.CEL does not exist",
                               single + Work("Ghost.IMF") + unreadable, single + Work("Ghost.IMF") + unreadable,
                               "These files could not be read and are left out:\n" + Work("Test03.IM2") + unreadable +
                                   "\n" + Work("Ghost.IM2") + unreadable,
                               single + Work("Test03.IM3") + unreadable}));
  messages_.Clear();
  const Items log = ErrorLogLines();
  ASSERT_EQ(log.size(), 6u) << Bytes(Root() + "errorlog.txt");
  EXPECT_EQ(log[0], "Intensity work files: GHOST.CHP is left out: the CEL file GHOST.CEL does not exist");
  EXPECT_NE(log[1].find("Work-file correlation: Ghost.IMF is left out"), std::string::npos) << log[1];
  EXPECT_NE(log[3].find("Work files .IM3: Test03 is left out"), std::string::npos) << log[3];
  EXPECT_NE(log[5].find("Results of the work files: Test03 is left out"), std::string::npos) << log[5];
  EXPECT_FALSE(Exists(Work("Test03.IM3")));
  EXPECT_FALSE(Exists(ResultPath("VIRIVTest03.CFA")));
  for (const char* file : {"corr.txt", "SNPinfo.txt", "NormalAve.txt", "CNReg.txt", "TEST01.IMF", "Test01.IM2",
                           "Test02.IM3", "REF10.IMF"}) {
    EXPECT_TRUE(Exists(Work(file))) << file;
  }
  CAnalyzedData one, two;
  one.LoadFileAllocating(ResultPath("VIRIVTest01.CFA"));
  two.LoadFileAllocating(ResultPath("VIRIVTest02.CFA"));
  EXPECT_EQ(one.Header.SampleName, "VIRIVTest01");
  EXPECT_EQ(one.Header.ArrayType, kType);
  EXPECT_FLOAT_EQ(one.Header.HmmMeans[6], 2.5f);
  const double lossMean = MeanRatio(one, loss_.FirstSnp, loss_.LastSnp);
  const double gainMean = MeanRatio(two, gain_.FirstSnp, gain_.LastSnp);
  const double elsewhere = MeanRatio(one, 57244, loss_.FirstSnp - 1);
  EXPECT_LT(lossMean, -0.4);
  EXPECT_GT(gainMean, 0.2);
  EXPECT_NEAR(elsewhere, 0.0, 0.1);

  // A SNP information file whose covariate the regression cannot hold is
  // refused with its line, and SNPinfo.txt stays as it was.
  const std::string info = Bytes(Work(regression::kSnpInfoFile));
  std::vector<std::string> information = platform::SplitLines(Bytes(Work(regression::kSnpInformationFile)));
  information[3] = information[3].substr(0, information[3].rfind('\t')) + "\t60000";
  std::string text;
  for (const std::string& line : information) text += line + "\n";
  ASSERT_TRUE(platform::WriteWholeFile(Work(regression::kSnpInformationFile), text));
  Run(command::kMakeSnpInfo);
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0], Work(regression::kSnpInformationFile) + " line 4: the covariate (field 4) 60000 lies outside -55000 to 55000");
  EXPECT_EQ(Bytes(Work(regression::kSnpInfoFile)), info);
}

}  // namespace
}  // namespace qova::test
