// The exports of the Display Samples dialog that walk each checked sample's
// SNPs: copy-number changes, markers, region statistics, LOH stretches, the
// A-B calc and the reference list. Results are built by hand, stored through
// the sample layer, exported with the dialogs scripted, and the files
// compared as text.
#include <functional>
#include <string>
#include <vector>

#include "core/ArrayTypes.h"
#include "document/exports/DialogStatRegion.h"
#include "document/exports/DisplayExports.h"
#include "platform/ui/CommonDialogs.h"
#include "platform/ui/DataExchange.h"
#include "resources/ExportDialogs.h"
#include "tests/document/display/display_samples_test_support.h"

namespace core = qova::core;

namespace qova::test {
namespace {

namespace ids = qova::resources;
using platform::ui::DialogDriver;
using Items = std::vector<std::string>;

// The small type's chromosome 1 and X.
constexpr std::int32_t kFirstOf1 = core::kArrayChromosomeStarts[0][1];
constexpr std::int32_t kFirstOfX = core::kArrayChromosomeStarts[0][23];
constexpr std::int32_t kLastOfX = core::kArrayChromosomeStarts[0][24] - 1;

class DisplayExportTest : public DisplaySamplesTest {
 protected:
  // A result `file` ("A.CFN") of the small type: every SNP valid, at state 2,
  // with no call; `edit` then sets what the case needs.
  void WriteResult(const std::string& file, const std::function<void(CAnalyzedData&)>& edit = {}) {
    const std::string name = file.substr(0, file.find('.'));
    CArrayData sample(name, kSmallType, global_.TypeInfo(ArrayTypeIndex(kSmallType)), CTime(kCreated));
    CAnalyzedData result(sample, AnalysisKindOfFile(file).value());
    std::fill(result.CopyNumberState.begin(), result.CopyNumberState.end(), 2);
    if (edit) edit(result);
    result.StoreFile(ResultPath(file));
  }

  // Opens Display Samples on the self or non-self results, checks `names`,
  // runs `before`, and chooses `button` of "Output Data"; the file the user
  // then picked ("out.txt" in the temporary folder unless `output` says
  // otherwise) as written, or empty.
  std::string Run(unsigned button, const Items& names, bool selfMode = false, std::string output = {},
                  const std::function<void()>& before = {}) {
    if (output.empty()) output = Root() + "out.txt";
    static_cast<void>(platform::RemoveFile(output));
    Ui().OnFileDialog([output](platform::ui::FileDialogRequest& r) {
      EXPECT_FALSE(r.open);
      r.chosen = {output};
      return true;
    });
    Ui().OnDialog(ids::kOutputDataDialog, [button](DialogDriver& d) { d.Click(button); });
    OpenDialog([&](DialogDriver& d) {
      d.SetCheck(display_ids::kUseTestOrRef, false).Click(selfMode ? display_ids::kSelfAnalysis : display_ids::kNonSelfAnalysis);
      CheckLines(d, names);
      if (before) before();
      d.Click(display_ids::kOutputData);
      // The exports leave the dialog open.
      EXPECT_TRUE(d.IsOpen());
    });
    return Bytes(output);
  }

  void OnGenesDialog(bool knownGenes) {
    Ui().OnDialog(ids::kCNChangeDialog, [knownGenes](DialogDriver& d) {
      d.SetCheck(ids::kCNChangeKnownGenes, knownGenes);
      d.Ok();
    });
  }
  void OnRegionDialog(int comboIndex, std::int32_t from, std::int32_t to) {
    Ui().OnDialog(ids::kStatRegionDialog, [=](DialogDriver& d) {
      d.Select(ids::kStatRegionChromosome, comboIndex);
      d.Type(ids::kStatRegionFrom, std::to_string(from)).Type(ids::kStatRegionTo, std::to_string(to)).Ok();
    });
  }

  [[nodiscard]] std::int32_t Pos(std::int32_t snp) const { return Annotation().Position[std::size_t(Annotation().IndexMap[std::size_t(snp)])]; }
  // "\t<chromosome>\t<first>\t<position>\t<last>\t<position>".
  [[nodiscard]] std::string Span(int chromosome, std::int32_t first, std::int32_t last) const {
    return "\t" + std::to_string(chromosome) + "\t" + std::to_string(first) + "\t" + std::to_string(Pos(first)) + "\t" +
           std::to_string(last) + "\t" + std::to_string(Pos(last));
  }

  static void SetStates(CAnalyzedData& r, std::int32_t first, const std::vector<int>& states) {
    for (std::size_t k = 0; k < states.size(); ++k) r.CopyNumberState[first + k] = states[k];
  }
};

constexpr const char* kChangeHeader = "Sample_name\tCopyNumber\tChromosome\tStartSNP\tStartPos\tEndSNP\tEndPos";

TEST_F(DisplayExportTest, CopyNumberChangesAreStretchesOfValidSnpsPerChromosome) {
  const std::int32_t i = kFirstOf1 + 100, j = kFirstOf1 + 300, k = core::kArrayChromosomeStarts[0][5] + 10;
  WriteResult("Gains.CFN", [&](CAnalyzedData& r) {
    // 3, 3, 1 on consecutive valid SNPs: two stretches.
    SetStates(r, i, {3, 3, 1});
    // An invalid SNP inside a stretch does not break it, and one of another
    // state starts none; the stretch still ends just before the SNP that
    // ends it, invalid or not.
    SetStates(r, j, {4, 0, 4, 5, 2});
    r.ValidFlag[j + 1] = 0;
    r.ValidFlag[j + 3] = 0;
    // An invalid SNP of another state starts nothing.
    r.CopyNumberState[k] = 6;
    r.ValidFlag[k] = 0;
    // A stretch that runs to the end of X ends at its last SNP.
    std::fill(r.CopyNumberState.begin() + kLastOfX - 4, r.CopyNumberState.begin() + kLastOfX + 1, 1);
    r.RebuildEditedCopyNumberState();
  });
  WriteResult("Normal.CFN");
  WriteResult("Marked.CFN", [&](CAnalyzedData& r) {
    // The edited states count: an HMM-state marker region stands for the HMM.
    r.Markers = {{1, i, i + 1, 0}};
  });
  OnGenesDialog(false);
  EXPECT_EQ(Run(ids::kOutputCopyNumberButton, {"Gains", "Normal", "Marked"}),
            std::string(kChangeHeader) + "\n" +                                //
                "Gains\t3" + Span(1, i, i + 1) + "\n" +                        //
                "Gains\t1" + Span(1, i + 2, i + 2) + "\n" +                    //
                "Gains\t4" + Span(1, j, j + 3) + "\n" +                        //
                "Gains\t1" + Span(23, kLastOfX - 4, kLastOfX) + "\n" +         //
                "Marked\t0" + Span(1, i, i + 1) + "\n");
  EXPECT_EQ(Messages(), Items{});
}

TEST_F(DisplayExportTest, CopyNumberChangesReadTheListedKindOfResult) {
  const std::int32_t i = kFirstOf1 + 5;
  WriteResult("S.CFS", [&](CAnalyzedData& r) { SetStates(r, i, {0}); });
  WriteResult("S.CFN", [&](CAnalyzedData& r) { SetStates(r, i, {1}); });
  WriteResult("S.CFA", [&](CAnalyzedData& r) { SetStates(r, i, {3}); });
  const struct {
    bool self;
    int allele;
    const char* state;
  } cases[] = {{true, 1, "0"}, {false, 0, "1"}, {false, 1, "3"}};
  for (const auto& c : cases) {
    Setting().NONSELFALLELE = c.allele;
    OnGenesDialog(false);
    EXPECT_EQ(Run(ids::kOutputCopyNumberButton, {"S"}, c.self),
              std::string(kChangeHeader) + "\nS\t" + c.state + Span(1, i, i) + "\n");
  }
}

TEST_F(DisplayExportTest, ACombinedResultPlacesItsSnpsThroughTheSortMap) {
  const std::int32_t i = kFirstOf1 + 40, other = kFirstOf1 + 90;
  global_.BasicData[kSmallFamily].SortMap[std::size_t(i)] = other;
  WriteResult("Plain.CFN", [&](CAnalyzedData& r) { SetStates(r, i, {3}); });
  WriteResult("Combined.CFN", [&](CAnalyzedData& r) {
    SetStates(r, i, {3});
    r.Header.Combined = true;
  });
  OnGenesDialog(false);
  const std::string p = std::to_string(Pos(i)), q = std::to_string(Pos(other));
  EXPECT_EQ(Run(ids::kOutputCopyNumberButton, {"Plain", "Combined"}),
            std::string(kChangeHeader) + "\n" + "Combined\t3\t1\t" + std::to_string(i) + "\t" + q + "\t" +
                std::to_string(i) + "\t" + q + "\n" + "Plain\t3\t1\t" + std::to_string(i) + "\t" + p + "\t" +
                std::to_string(i) + "\t" + p + "\n");
}

TEST_F(DisplayExportTest, KnownGenesFillAnEighthCellThatMayBeEmpty) {
  const std::int32_t i = kFirstOf1 + 200;
  WriteResult("G.CFN", [&](CAnalyzedData& r) {
    SetStates(r, i, {4, 4, 4});
    SetStates(r, kFirstOfX, {0});
  });
  // One gene inside the stretch, one touching its end, one past it and one on another chromosome.
  const std::int32_t from = Pos(i), to = Pos(i + 2);
  ASSERT_TRUE(platform::WriteWholeFile(
      Root() + "data/knowngenes.txt",
      "chromosome\tstart\tend\tname\n1\t" + std::to_string(from + 1) + "\t" + std::to_string(from + 2) + "\tINSIDE\n1\t" +
          std::to_string(to) + "\t" + std::to_string(to + 5000) + "\tEDGE\n1\t" + std::to_string(to + 1) + "\t" +
          std::to_string(to + 9) + "\tPAST\n2\t" + std::to_string(from) + "\t" + std::to_string(to) + "\tOTHER\n"));
  OnGenesDialog(true);
  EXPECT_EQ(Run(ids::kOutputCopyNumberButton, {"G"}), std::string(kChangeHeader) + "\tKnownGenes\n" + "G\t4" +
                                                    Span(1, i, i + 2) + "\tINSIDE EDGE \n" + "G\t0" +
                                                    Span(23, kFirstOfX, kFirstOfX) + "\t\n");
  EXPECT_EQ(Messages(), Items{});

  // Without the table the export goes on after the loader's message.
  platform::RemoveFile(Root() + "data/knowngenes.txt");
  OnGenesDialog(true);
  EXPECT_EQ(Run(ids::kOutputCopyNumberButton, {"G"}),
            std::string(kChangeHeader) + "\tKnownGenes\n" + "G\t4" + Span(1, i, i + 2) + "\t\n" + "G\t0" +
                Span(23, kFirstOfX, kFirstOfX) + "\t\n");
  EXPECT_EQ(Messages(), Items{"knowngenes data cannot be loaded"});
}

TEST_F(DisplayExportTest, MarkersAreListedFromTheExtractedSamples) {
  const std::int32_t i = kFirstOf1 + 10;
  const auto write = [&](const std::string& name, MarkerRegionList markers) {
    CArrayData sample(name, kSmallType, global_.TypeInfo(ArrayTypeIndex(kSmallType)), CTime(2007, 6, 1, 10, 0, 0));
    sample.Markers = std::move(markers);
    sample.StoreFile(SamplePath(name));
  };
  write("M", {{1, i, i + 20, 3}, {23, kFirstOfX, kLastOfX, 32}, {1, i + 5, i + 5, 39}});
  write("Empty", {});
  WriteResult("M.CFS");
  WriteResult("Empty.CFS");
  OnGenesDialog(false);
  // The self/non-self choice plays no part.
  EXPECT_EQ(Run(ids::kOutputMarkerButton, {"M", "Empty"}, true),
            "Sample_name\tMarkerNumber\tChromosome\tStartSNP\tStartPos\tEndSNP\tEndPos\n"
            "M\tHMM:3" + Span(1, i, i + 20) + "\n" + "M\tUser:0" + Span(23, kFirstOfX, kLastOfX) + "\n" +
                "M\tUser:7" + Span(1, i + 5, i + 5) + "\n");
  EXPECT_EQ(Messages(), Items{});
}

TEST_F(DisplayExportTest, MarkerRegionsOutsideTheirChromosomeAndMissingSamplesAreLeftOutAndTold) {
  const std::int32_t i = kFirstOf1 + 10;
  CArrayData sample("M", kSmallType, global_.TypeInfo(ArrayTypeIndex(kSmallType)), CTime(2007, 6, 1, 10, 0, 0));
  sample.Markers = {{1, i, core::kArrayChromosomeStarts[0][2], 33}, {2, 20000, 20001, 1}, {1, i, i, 2}, {0, i, i, 2}};
  sample.StoreFile(SamplePath("M"));
  WriteResult("M.CFN");
  WriteResult("NoCfh.CFN");
  OnGenesDialog(false);
  EXPECT_EQ(Run(ids::kOutputMarkerButton, {"M", "NoCfh"}),
            "Sample_name\tMarkerNumber\tChromosome\tStartSNP\tStartPos\tEndSNP\tEndPos\nM\tHMM:2" + Span(1, i, i) + "\n");
  ASSERT_EQ(Messages().size(), 1u);
  const std::vector<std::string> told = platform::SplitLines(Messages()[0]);
  ASSERT_EQ(told.size(), 3u) << Messages()[0];
  EXPECT_EQ(told[1], "M: 3 of its marker regions lie outside its chromosomes and were not written");
  EXPECT_EQ(told[2].rfind("NoCfh: ", 0), 0u) << told[2];
}

// The line of one sample over one region, and the header of the mode.
struct RegionCase {
  const char* what;
  const char* file;
  int allele;
  std::int32_t first, last;  // region from the position of SNP first to that of last; -1: 0 to 0
  std::function<void(CAnalyzedData&, std::int32_t)> edit;  // with the region's first SNP
  const char* line;                                         // after the name
};

TEST_F(DisplayExportTest, RegionStatisticsCountAverageAndSpreadEachGroup) {
  constexpr std::int32_t i = kFirstOf1 + 50;
  const RegionCase cases[] = {
      {"one valid SNP of ratio 1", "N.CFN", 0, i, i,
       [](CAnalyzedData& r, std::int32_t s) {
         r.LogRatio[s] = 1;
         r.CallTest[s] = kCallAB;
       },
       "\t1\t2.000000\t-\t0\t0\t1\t0"},
      {"ratios 0 and 2", "N.CFN", 0, i, i + 1, [](CAnalyzedData& r, std::int32_t s) { r.LogRatio[s + 1] = 2; },
       "\t2\t2.500000\t2.121320\t2\t0\t0\t0"},
      {"equal ratios whose radicand rounds below zero", "N.CFN", 0, i, i + 1,
       [](CAnalyzedData& r, std::int32_t s) { std::fill(&r.LogRatio[s], &r.LogRatio[s + 2], 0.02f); },
       "\t2\t1.013960\t0.000000\t2\t0\t0\t0"},
      {"the call counts ignore validity", "N.CFN", 0, i, i,
       [](CAnalyzedData& r, std::int32_t s) {
         r.ValidFlag[s] = 0;
         r.CallTest[s] = kCallB;
       },
       "\t0\t-\t-\t0\t0\t0\t1"},
      {"the region 0-0", "N.CFN", 0, -1, -1, {}, "\t0\t-\t-\t0\t0\t0\t0"},
      {"self: heterozygous by the reference, calls only there", "S.CFS", 0, i, i + 1,
       [](CAnalyzedData& r, std::int32_t s) {
         r.CallReference[s] = kCallAB;
         r.CallTest[s] = kCallA;
         r.LogRatioA[s] = 1;
         r.CallReference[s + 1] = kCallA;
         r.CallTest[s + 1] = kCallB;
       },
       "\t2\t1.000000\t0.000000\t1\t2.000000\t1.000000\t-\t-\t0\t1\t0\t0"},
      {"self: the region 0-0", "S.CFS", 0, -1, -1, {}, "\t0\t-\t-\t0\t-\t-\t-\t-\t0\t0\t0\t0"},
      {"allele: heterozygous by the test, homozygous only with a ratio", "A.CFA", 1, i, i + 2,
       [](CAnalyzedData& r, std::int32_t s) {
         r.CallTest[s] = kCallAB;
         r.CallTest[s + 1] = kCallA;
         r.CallTest[s + 2] = kCallB;
         r.LogRatioA[s + 2] = 1;
         r.LogRatioB[s + 2] = -1;
       },
       "\t3\t1.000000\t0.000000\t1\t1.000000\t1.000000\t-\t-\t1\t2.000000\t0.500000\t-\t-\t0\t1\t1\t1"},
      {"allele: each group's two means and two deviations over two or three SNPs", "A.CFA", 1, i, i + 4,
       [](CAnalyzedData& r, std::int32_t s) {
         const int calls[] = {kCallAB, kCallAB, kCallAB, kCallA, kCallB};
         const float a[] = {1, 0, -1, 0, 1};
         const float b[] = {0, 2, 1, 1, 0};
         for (int k = 0; k < 5; ++k) {
           r.CallTest[s + k] = calls[k];
           r.LogRatioA[s + k] = a[k];
           r.LogRatioB[s + k] = b[k];
         }
       },
       // Heterozygous A 2, 1, 0.5 and B 1, 4, 2; homozygous A 1, 2 and B 2, 1.
       "\t5\t1.000000\t0.000000\t3\t1.166667\t2.333333\t0.763763\t1.527525\t2\t1.500000\t1.500000\t0.707107\t0.707107"
       "\t0\t1\t3\t1"},
      {"allele: the region 0-0", "A.CFA", 1, -1, -1, {},
       "\t0\t-\t-\t0\t-\t-\t-\t-\t0\t-\t-\t-\t-\t0\t0\t0\t0"},
  };
  const std::string calls = "\tCall_No\tCall_AA\tCall_AB\tCall_BB\n";
  const std::string headers[] = {
      "Sample_name\tSNPNumber\tAverage_AB\tSD_AB" + calls,
      "Sample_name\tSNPNumber\tAverage_AB\tSD_AB\tRefHeteroSNPNumber\tAverage_A\tAverage_B\tSD_A\tSD_B" + calls,
      "Sample_name\tSNPNumber\tAverage_AB\tSD_AB\tHeteroSNPNumber\tAverage_A\tAverage_B\tSD_A\tSD_B\tHomoSNPNumber"
      "\tAverage_A_Homo\tAverage_B_Homo\tSD_A_Homo\tSD_B_Homo" + calls};
  for (const RegionCase& c : cases) {
    SCOPED_TRACE(c.what);
    WriteResult(c.file, [&](CAnalyzedData& r) {
      if (c.edit) c.edit(r, i);
    });
    // A SNP at position 0 would fall in the region 0-0.
    ASSERT_GT(Pos(kFirstOf1), 0);
    const bool self = std::string(c.file) == "S.CFS";
    Setting().NONSELFALLELE = c.allele;
    OnRegionDialog(0, c.first < 0 ? 0 : Pos(c.first), c.last < 0 ? 0 : Pos(c.last));
    const std::string name = std::string(c.file).substr(0, 1);
    EXPECT_EQ(Run(ids::kOutputRegionStatisticsButton, {name}, self), headers[self ? 1 : c.allele * 2] + name + c.line + "\n");
  }
  EXPECT_EQ(Messages(), Items{});
}

TEST_F(DisplayExportTest, TheRegionDialogPinsItsEndsAndWantsIntegers) {
  CDialogStatRegion dialog;
  Ui().OnDialog(ids::kStatRegionDialog, [](DialogDriver& d) {
    EXPECT_EQ(d.Items(ids::kStatRegionChromosome).size(), 23u);
    EXPECT_EQ(d.Text(ids::kStatRegionLength), "0 - 245520000");
    d.Click(ids::kStatRegionLast);
    EXPECT_EQ(d.Text(ids::kStatRegionTo), "245520000");
    EXPECT_FALSE(d.IsEnabled(ids::kStatRegionTo));
    // "last" follows a change of chromosome.
    d.Select(ids::kStatRegionChromosome, 1);
    EXPECT_EQ(d.Text(ids::kStatRegionLength), "0 - 243020000");
    EXPECT_EQ(d.Text(ids::kStatRegionTo), "243020000");
    d.Click(ids::kStatRegionLast);
    EXPECT_TRUE(d.IsEnabled(ids::kStatRegionTo));
    // Without "last" a position past the end comes back to the end.
    d.Type(ids::kStatRegionTo, "999999999").Select(ids::kStatRegionChromosome, "X");
    EXPECT_EQ(d.Text(ids::kStatRegionTo), "154820000");
    d.Type(ids::kStatRegionFrom, "-5").Click(ids::kStatRegionFirst);
    EXPECT_EQ(d.Text(ids::kStatRegionFrom), "0");
    EXPECT_FALSE(d.IsEnabled(ids::kStatRegionFrom));
    d.Click(ids::kStatRegionFirst).Type(ids::kStatRegionFrom, "1200x").Ok();
    EXPECT_TRUE(d.IsOpen());
    d.Type(ids::kStatRegionFrom, "1200").Ok();
  });
  ASSERT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(Messages(), Items{platform::ui::kParseIntMessage});
  EXPECT_EQ(dialog.m_nChromosome, 23);
  EXPECT_EQ(dialog.m_nFrom, 1200);
  EXPECT_EQ(dialog.m_nTo, 154820000);
}

TEST_F(DisplayExportTest, LohStretchesRunFromLikelihood25OverInvalidSnps) {
  const std::int32_t i = kFirstOf1 + 70;
  WriteResult("L.CFN", [&](CAnalyzedData& r) {
    const float run[] = {25.0f, 0.0f, 30.0f, 24.9f};
    std::copy(std::begin(run), std::end(run), &r.LohLikelihood[i]);
    r.ValidFlag[i + 1] = 0;
    // A stretch ends before the SNP that ends it, valid or not.
    r.LohLikelihood[i + 10] = 40.0f;
    r.ValidFlag[i + 11] = 0;
    r.LohLikelihood[i + 11] = 40.0f;
    std::fill(&r.LohLikelihood[kLastOfX - 2], &r.LohLikelihood[kLastOfX + 1], 26.0f);
  });
  EXPECT_EQ(Run(ids::kOutputLohButton, {"L"}), "Sample_name\tChromosome\tStartSNP\tStartPos\tEndSNP\tEndPos\n"
                                   "L" + Span(1, i, i + 2) + "\nL" + Span(1, i + 10, i + 11) + "\nL" +
                                       Span(23, kLastOfX - 2, kLastOfX) + "\n");
  EXPECT_EQ(Messages(), Items{});
}

TEST_F(DisplayExportTest, ABCalcSplitsHeterozygousSnpsAtLikelihood30) {
  const std::int32_t i = kFirstOf1 + 20;
  Setting().NONSELFALLELE = 1;
  WriteResult("AB.CFA", [&](CAnalyzedData& r) {
    const int calls[] = {kCallAB, kCallAB, kCallAB, kCallA, kCallB, kCallAB};
    const float loh[] = {30.0f, 29.9f, 10.0f, 50.0f, 50.0f, 50.0f};
    const float a[] = {1.0f, 0.0f, 2.0f, 0.0f, 0.0f, 3.0f};
    const float b[] = {0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f};
    for (int k = 0; k < 6; ++k) {
      r.CallTest[i + k] = calls[k];
      r.LohLikelihood[i + k] = loh[k];
      r.LogRatioA[i + k] = a[k];
      r.LogRatioB[i + k] = b[k];
    }
    r.ValidFlag[i + 5] = 0;
  });
  WriteResult("Flat.CFA");
  OnRegionDialog(0, Pos(i), Pos(i + 5));
  EXPECT_EQ(Run(ids::kOutputABCalcButton, {"AB", "Flat"}), "Sample_name\tLOHSNP\tLOHA-B\thomoSNP\thomoA-B\theteroSNP\theteroA-B\n"
                                               "AB\t1\t1.000000\t1\t0.000000\t2\t1.500000\n"
                                               "Flat\t0\t-\t0\t-\t0\t-\n");
  EXPECT_EQ(Messages(), Items{});
}

// A .CFN record holds no allele ratios: its A-B calc would be counts with
// means of 0 that look like data, so it is refused before any question. A
// combined .CFA result, whose allele ratios are zero, is still written.
TEST_F(DisplayExportTest, ABCalcNeedsResultsThatHoldAlleleRatios) {
  const std::int32_t i = kFirstOf1 + 20;
  const struct {
    const char* file;
    int allele;
    bool combined;
    const char* line;  // empty: refused
  } cases[] = {
      {"N.CFN", 0, false, ""},
      {"A.CFA", 1, false, "A\t0\t-\t0\t-\t2\t1.000000\n"},
      {"C.CFA", 1, true, "C\t0\t-\t0\t-\t2\t0.000000\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    Ui().Reset();
    messages_.Clear();
    Setting().NONSELFALLELE = c.allele;
    WriteResult(c.file, [&](CAnalyzedData& r) {
      r.CallTest[i] = r.CallTest[i + 1] = kCallAB;
      r.Header.Combined = c.combined;
      if (!c.combined && !r.LogRatioA.empty()) r.LogRatioA[i] = r.LogRatioA[i + 1] = 1.0f;
    });
    OnRegionDialog(0, Pos(i), Pos(i + 1));
    const bool refused = c.line[0] == '\0';
    EXPECT_EQ(Run(ids::kOutputABCalcButton, {std::string(c.file, 1)}),
              refused ? "" : std::string("Sample_name\tLOHSNP\tLOHA-B\thomoSNP\thomoA-B\theteroSNP\theteroA-B\n") + c.line);
    EXPECT_EQ(Messages(), refused ? Items{qova::document::exports::kNeedsAlleleRatios} : Items{});
    EXPECT_EQ(ShowedDialog(ids::kStatRegionDialog), !refused);
  }
}

TEST_F(DisplayExportTest, TheReferenceListHoldsEachNameOnceInByteOrder) {
  const auto write = [&](const std::string& file, int count, const std::string& list) {
    WriteResult(file, [&](CAnalyzedData& r) {
      r.Header.NonSelfReferenceCount = count;
      r.Header.NonSelfReferences = list;
    });
  };
  write("R1.CFN", 2, "0.100000$x2$0.200000$A$");
  write("R2.CFN", 3, "0.300000$x10$0.400000$x2$0.500000$a$");
  write("R3.CFN", 5, "0.100000$B$");  // promises more than it holds
  write("R4.CFN", 0, "");
  write("R5.CFN", 1, "0.100000$b$0.200000$extra$");  // names past the count do not count
  write("R6.CFN", 2, "n1$n2$");                     // names without scores, as the old candidate lists
  EXPECT_EQ(Run(ids::kOutputNonSelfReferencesButton, {"R1", "R2", "R3", "R4", "R5", "R6"}),
            "A\nB\na\nb\nn1\nn2\nx10\nx2\n");
  EXPECT_EQ(Messages(), Items{});
}

TEST_F(DisplayExportTest, ExportsOfNonSelfResultsSayWhyTheyDoNothingInSelfMode) {
  WriteResult("S.CFS");
  for (unsigned run : {ids::kOutputLohButton, ids::kOutputABCalcButton, ids::kOutputNonSelfReferencesButton}) {
    messages_.Clear();
    EXPECT_EQ(Run(run, {"S"}, true), "");
    EXPECT_EQ(Messages(), Items{qova::document::exports::kNeedsNonSelfResults});
  }
  EXPECT_FALSE(ShowedDialog(ids::kStatRegionDialog));
}

TEST_F(DisplayExportTest, NoCheckedSampleIsToldAfterTheOptionsAndWritesNothing) {
  // The A-B calc asks for samples only where the results hold allele ratios.
  Setting().NONSELFALLELE = 1;
  const struct {
    unsigned run;
    UINT dialog;
  } cases[] = {{ids::kOutputCopyNumberButton, ids::kCNChangeDialog}, {ids::kOutputMarkerButton, ids::kCNChangeDialog},
               {ids::kOutputRegionStatisticsButton, ids::kStatRegionDialog}, {ids::kOutputLohButton, 0}, {ids::kOutputABCalcButton, 0},
               {ids::kOutputNonSelfReferencesButton, 0}};
  for (const auto& c : cases) {
    Ui().Reset();
    messages_.Clear();
    if (c.dialog == ids::kCNChangeDialog) OnGenesDialog(false);
    if (c.dialog == ids::kStatRegionDialog) OnRegionDialog(0, 0, 0);
    EXPECT_EQ(Run(c.run, {}), "");
    EXPECT_EQ(Messages(), Items{"Select more than one sample"});
    EXPECT_EQ(c.dialog != 0, ShowedDialog(c.dialog));
    EXPECT_FALSE(ShowedDialog(ids::kStatRegionDialog) && c.dialog == 0);
  }
}

TEST_F(DisplayExportTest, UnreadableOrMisfitResultsAreNamedAndTheOthersWritten) {
  const std::int32_t i = kFirstOf1 + 3;
  for (const char* file : {"A.CFN", "Short.CFN", "Gone.CFN", "Odd.CFN", "Narrow.CFN", "C.CFN"}) {
    WriteResult(file, [&](CAnalyzedData& r) {
      SetStates(r, i, {3});
      // Its chromosomes reach past the SNPs it holds.
      if (std::string(file) == "Narrow.CFN") r.Header.LastSnpIndex = r.Header.LastAutosomeSnpIndex = 5000;
    });
  }
  // Damaged after the dialog listed them.
  const auto damage = [this] {
    std::string bytes = Bytes(ResultPath("Short.CFN"));
    ASSERT_TRUE(platform::WriteWholeFile(ResultPath("Short.CFN"), bytes.substr(0, bytes.size() / 2)));
    ASSERT_TRUE(platform::RemoveFile(ResultPath("Gone.CFN")));
    bytes = Bytes(ResultPath("Odd.CFN"));
    const std::size_t type = bytes.find(kSmallType);
    ASSERT_NE(type, std::string::npos);
    bytes.replace(type, 17, "Mapping10K_Odd999");
    ASSERT_TRUE(platform::WriteWholeFile(ResultPath("Odd.CFN"), bytes));
  };
  const std::string line = "\t3" + Span(1, i, i) + "\n";

  OnGenesDialog(false);
  EXPECT_EQ(Run(ids::kOutputCopyNumberButton, {"A", "Short", "Gone", "Odd", "Narrow", "C"}, false, {}, damage),
            std::string(kChangeHeader) + "\nA" + line + "C" + line);
  ASSERT_EQ(Messages().size(), 1u);
  const std::vector<std::string> told = platform::SplitLines(Messages()[0]);
  ASSERT_EQ(told.size(), 5u) << Messages()[0];
  EXPECT_EQ(told[0], "These samples were left out:");
  const char* names[] = {"Gone: ", "Narrow: ", "Odd: ", "Short: "};
  for (std::size_t k = 0; k < 4; ++k) EXPECT_EQ(told[k + 1].rfind(names[k], 0), 0u) << told[k + 1];
  EXPECT_NE(told[2].find("do not fit"), std::string::npos) << told[2];
  EXPECT_NE(told[3].find("Mapping10K_Odd999"), std::string::npos) << told[3];
}

TEST_F(DisplayExportTest, AnOutputThatCannotBeCreatedIsToldAndNothingIsWritten) {
  WriteResult("A.CFN");
  OnGenesDialog(false);
  const std::string output = Root() + "no/such/folder/out.txt";
  EXPECT_EQ(Run(ids::kOutputCopyNumberButton, {"A"}, false, output), "");
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].rfind("The output file cannot be created.", 0), 0u) << Messages()[0];
  EXPECT_FALSE(Exists(output));
}

}  // namespace
}  // namespace qova::test
