// Data > Extract without CHP: the signed-rank tables, the quartet call, and
// the command over the CEL and library forms, with its bad inputs.
#include <algorithm>
#include <cmath>
#include <functional>

#include "document/DocumentCommands.h"
#include "document/extraction/SampleExtractionWithoutChp.h"
#include "resources/ExtractDialogs.h"
#include "platform/Strings.h"
#include "resources/ProgressDialog.h"
#include "tests/arraygen/ArrayGenTestSupport.h"
#include "tests/document/DocumentTestSupport.h"
#include "tools/arraygen/ArrayGen.h"
#include "tools/arraywriters/CdfWriters.h"

namespace qova::test {
namespace {

using platform::ui::DialogDriver;
using namespace qova::resources;
using Items = std::vector<std::string>;

// P(W' > w) + P(W' = w) / 2 for the signed-rank statistic of n ranks, from
// its distribution built by adding one rank at a time.
double MidP(int w, int n) {
  std::vector<double> ways(1, 1.0);
  for (int rank = 1; rank <= n; ++rank) {
    std::vector<double> next(ways.size() + rank, 0.0);
    for (std::size_t s = 0; s < ways.size(); ++s) {
      next[s] += ways[s];
      next[s + rank] += ways[s];
    }
    ways = next;
  }
  double above = 0.0;
  for (std::size_t s = static_cast<std::size_t>(w) + 1; s < ways.size(); ++s) above += ways[s];
  return (above + ways[static_cast<std::size_t>(w)] / 2.0) / std::ldexp(1.0, n);
}

TEST(SignedRankTableTest, TablesAreTheUpperTailMidPOfTheSignedRankStatistic) {
  EXPECT_DOUBLE_EQ(SignedRankPValue(55, 10), 1.0 / 2048);
  EXPECT_DOUBLE_EQ(SignedRankPValue(21, 6), 1.0 / 128);
  EXPECT_DOUBLE_EQ(SignedRankPValue(0, 10), 2047.0 / 2048);
  // Any other count of quartets reads the 10-quartet table.
  EXPECT_DOUBLE_EQ(SignedRankPValue(21, 7), SignedRankTable(10)[21] / 2048);
  for (const int n : {6, 10}) {
    const std::vector<double>& table = SignedRankTable(n);
    ASSERT_EQ(table.size(), static_cast<std::size_t>(n * (n + 1) / 2 + 1));
    for (int w = 0; w < static_cast<int>(table.size()); ++w) {
      EXPECT_NEAR(SignedRankPValue(w, n), MidP(w, n), 1e-12) << "n " << n << ", W " << w;
    }
  }
}

// Quartets of one SNP: every list gets `count` cells made by `cell(list, k)`.
SnpCellLists Lists(int count, const std::function<QuartetCell(int list, int k)>& cell, int pmA = -1) {
  SnpCellLists lists;
  std::vector<QuartetCell>* all[] = {&lists.PerfectA, &lists.MismatchA, &lists.PerfectB, &lists.MismatchB};
  for (int list = 0; list < 4; ++list) {
    const int n = list == 0 && pmA >= 0 ? pmA : count;
    for (int k = 0; k < n; ++k) all[list]->push_back(cell(list, k));
  }
  return lists;
}

// Bright cells of the lists in `bright` (bit 0 PM-A, 1 MM-A, 2 PM-B, 3 MM-B)
// over a dim background, each with the noise a scanner reports.
std::function<QuartetCell(int, int)> Pattern(unsigned bright) {
  return [bright](int list, int k) {
    const float level = (bright >> list) & 1u ? 2000.0f : 200.0f;
    const float wobble = 1.0f + 0.05f * static_cast<float>((k * 7 + list * 3) % 5 - 2);
    return QuartetCell{level * wobble, level * 0.1f};
  };
}

TEST(QuartetCallTest, TheCellsDecideTheCallAndIncompleteOrDegenerateQuartetsDoNot) {
  struct Case {
    const char* what;
    SnpCellLists lists;
    int call;
  };
  const QuartetCell flat{500.0f, 0.0f};
  const Case cases[] = {
      {"PM-A above the rest in all ten quartets", Lists(10, Pattern(0b0001)), kCallA},
      {"both PM cells above both MM cells", Lists(10, Pattern(0b0101)), kCallAB},
      {"PM-B above the rest", Lists(10, Pattern(0b0100)), kCallB},
      {"no PM-A cells", Lists(10, Pattern(0b0001), 0), kCallNone},
      {"PM-A bright but only two complete quartets", Lists(2, Pattern(0b0001)), kCallNone},
      {"all cells alike", Lists(10, Pattern(0b0000)), kCallNone},
      {"zero variance everywhere", Lists(10, [&](int, int) { return flat; }), kCallNone},
      // Six usable quartets after four of zero variance: the 6-quartet table
      // calls them, where 10 would not.
      {"six usable of ten",
       Lists(10, [](int list, int k) { return k < 4 ? QuartetCell{500.0f, 0.0f} : Pattern(0b0001)(list, k); }),
       kCallA},
  };
  for (const Case& c : cases) EXPECT_EQ(CallFromQuartets(c.lists), c.call) << c.what;
  EXPECT_EQ(CallFromQuartets(Lists(6, Pattern(0b0001))), kCallA) << "six quartets read the 6-quartet table";
  // The order of the models decides when two are significant.
  EXPECT_EQ(GenotypeCallOf(0.1, 0.2, 0.9), kCallA);
  EXPECT_EQ(GenotypeCallOf(0.3, 0.2, 0.1), kCallAB);
  EXPECT_EQ(GenotypeCallOf(0.3, 0.25, 0.1), kCallB);
  EXPECT_EQ(GenotypeCallOf(0.25, 0.25, 0.25), kCallNone);
}

// Quartets whose PM-A lies a little above the rest (AA wins by a small
// margin) or whose PM-B lies far above it (AA loses by a large one), in the
// order `kinds` gives: 'a' and 'B'.
SnpCellLists SlightAOrBrightB(const std::string& kinds) {
  return Lists(int(kinds.size()), [&](int list, int k) {
    const bool brightB = kinds[std::size_t(k)] == 'B';
    float level = 200.0f;
    if (list == 0 && !brightB) level = 260.0f;
    if (list == 2 && brightB) level = 2000.0f;
    return QuartetCell{level, level * 0.1f};
  });
}

TEST(QuartetCallTest, TheRanksFollowTheSizeOfTheMarginsNotTheirSignOrOrder) {
  const struct {
    const char* what;
    const char* kinds;
    int call;
  } cases[] = {
      // AA's W = 1+...+5 = 15; BB's = 6+...+10 = 40, p 0.106.
      {"five small wins of AA, five large of BB", "BBBBBaaaaa", kCallB},
      // AA's W = 1+...+8 = 36, p 0.202.
      {"eight small wins of AA, two large losses", "aaaaaaaaBB", kCallA},
      {"the same with the losses first", "BBaaaaaaaa", kCallA},
      // AA's W = 28, p 0.480; BB's W = 8+9+10 = 27.
      {"seven small wins of AA, three large losses", "BBBaaaaaaa", kCallNone},
  };
  for (const auto& c : cases) EXPECT_EQ(CallFromQuartets(SlightAOrBrightB(c.kinds)), c.call) << c.what;
}

class ExtractWithoutChpTest : public DocumentTest {
 protected:
  static arraygen::LayoutOptions Layout(int cells, bool mismatch = true) {
    arraygen::LayoutOptions options = SmallLayout(-1);
    options.PerfectMatchCellsPerAllele = cells;
    options.MismatchCells = mismatch;
    return options;
  }

  // The library file under the name this command reads, "<chip>.CDF".
  void WriteLibrary(const arraygen::ArrayDesign& design, arraygen::CdfForm form) {
    design.WriteCdf(Doc().LibraryFolder + std::string(kSmallType) + ".CDF", form);
  }

  // A sample's CEL file in `form`, named `celFile`; returns the sample.
  CArrayData WriteCel(const arraygen::ArrayDesign& design, const std::string& name, const std::string& celFile,
                      arraywriters::CelForm form = arraywriters::CelForm::kXda) {
    // Cells as bright as a scanner gives them: ten perfect-match cells of an
    // allele share its signal.
    samplegen::SampleSpec spec;
    spec.Name = name;
    spec.Individual = 31 + name.size() * 7 + static_cast<unsigned char>(name.back());
    spec.Bias = samplegen::RandomBias(7, name);
    spec.Scale = 20000.0f;
    const CArrayData sample = samplegen::SampleGenerator(kSmallType, AnnotationOf(kSmallType), 7).Make(spec);
    EXPECT_TRUE(platform::CreateFolders(Doc().DataFolder));
    EXPECT_TRUE(arraywriters::SaveCelFile(Doc().DataFolder + celFile, form, design.MakeCel(sample)));
    return sample;
  }

  // Answers the dialog (CEL files listed, sorted): each list gets the found
  // files at the given indexes.
  void Choose(std::vector<std::pair<UINT, std::vector<int>>> moves) {
    Ui().OnDialog(kDataExtractDialog, [moves](DialogDriver& d) {
      for (const auto& [button, indexes] : moves) d.SelectItems(kExtractFoundFiles, indexes).Click(button);
      d.Ok();
    });
  }

  // The extracted sample's sums against the generator's cells, and its calls
  // against the generator's genotypes; returns the share of SNPs called.
  double CheckExtracted(const arraygen::ArrayDesign& design, const CArrayData& made, const std::string& name) {
    SCOPED_TRACE(name);
    const CArrayData got = LoadSample(name);
    const arraywriters::CelArray cel = design.MakeCel(made);
    int called = 0, agree = 0;
    const std::size_t sets = design.SnpProbeSets().size();
    for (std::size_t k = 0; k < sets; ++k) {
      const std::size_t j = static_cast<std::size_t>(design.FirstSnp()) + k;
      const AlleleSums sums = SumsOf(design, cel, k);
      EXPECT_FLOAT_EQ(got.SignalA[j], static_cast<float>(sums.a)) << k;
      EXPECT_FLOAT_EQ(got.SignalB[j], static_cast<float>(sums.b)) << k;
      if (got.Call[j] == kCallNone) continue;
      ++called;
      agree += got.Call[j] == made.Call[j] ? 1 : 0;
    }
    EXPECT_EQ(got.Header.Sex, "");
    EXPECT_GE(agree, 0.95 * called) << agree << " of " << called;
    return double(called) / double(sets);
  }
};

TEST_F(ExtractWithoutChpTest, EveryCelAndLibraryFormGivesThePerfectMatchSumsAndCallsThatAgree) {
  const arraygen::ArrayDesign design(kSmallType, 5, Layout(10));
  using arraywriters::CelForm;
  const CelForm forms[] = {CelForm::kTextV3, CelForm::kTextV2, CelForm::kXda,
                           CelForm::kBcel,   CelForm::kCompact, CelForm::kGeneric};
  std::vector<CArrayData> made;
  for (std::size_t k = 0; k < std::size(forms); ++k) {
    made.push_back(WriteCel(design, "S" + std::to_string(k), "S" + std::to_string(k) + ".CEL", forms[k]));
  }
  for (const arraygen::CdfForm library : arraygen::kAllCdfForms) {
    SCOPED_TRACE(arraygen::FormName(library));
    WriteLibrary(design, library);
    messages_.Clear();
    Choose({{kExtractAddNonPairedTest, {0, 1, 2, 3, 4, 5}}});
    Run(command::kExtractWithoutChp);
    // The status bar says in how many samples SNPs were called and which got
    // none; the report at the end gives each sample's count, and why none
    // where none.
    std::string calls = "SNPs called per sample:";
    for (std::size_t k = 0; k < made.size(); ++k) {
      const std::string name = "S" + std::to_string(k);
      const CArrayData got = LoadSample(name);
      const auto called = std::count_if(got.Call.begin(), got.Call.end(), [](std::int32_t c) { return c != 0; });
      calls += "\n" + (called > 0 ? name + " " + std::to_string(called) + " of " + std::to_string(design.SnpProbeSets().size())
                                  : name + " none: no standard deviations in the CEL file (a compact CEL file keeps none)");
    }
    EXPECT_EQ(Messages(), Items{calls});
    const std::string replaced = library == arraygen::kAllCdfForms[0] ? "" : ", 6 replaced (attributes kept)";
    EXPECT_EQ(Ui().StatusTexts().back(), "Extracted 6 of 6 samples into " + platform::NativePath(ArrayFolder()) +
                                             replaced + "; SNPs called in 5 samples, none in S4");
    for (std::size_t k = 0; k < made.size(); ++k) {
      const double share = CheckExtracted(design, made[k], "S" + std::to_string(k));
      // The compact form keeps no standard deviations, and a cell without
      // one gives no model a usable variance: nothing is called.
      if (forms[k] == CelForm::kCompact) {
        EXPECT_EQ(share, 0.0);
      } else {
        EXPECT_GT(share, 0.9);
      }
      EXPECT_EQ(LoadSample("S" + std::to_string(k)).Header.IsTest, 1);
    }
  }
}

TEST_F(ExtractWithoutChpTest, APairTakesUpperCaseNamesAndNamesItsPartnerAsExtracted) {
  const arraygen::ArrayDesign design(kSmallType, 5, Layout(10));
  WriteLibrary(design, arraygen::CdfForm::kXda);
  WriteCel(design, "s01", "s01.cel");
  WriteCel(design, "s01n", "s01n.cel");
  WriteCel(design, "r1", "r1.cel");
  // Found, sorted: r1.cel, s01.cel, s01n.cel.
  Choose({{kExtractAddNonPairedReference, {0}}, {kExtractAddPairedTest, {0}}, {kExtractAddPairedReference, {0}}});
  Run(command::kExtractWithoutChp);
  EXPECT_TRUE(Messages().empty()) << Messages().front();
  const CArrayData test = LoadSample("S01"), normal = LoadSample("S01N"), reference = LoadSample("R1");
  EXPECT_EQ(test.Header.SampleName, "S01");
  EXPECT_EQ(test.Header.IsTest, 1);
  EXPECT_EQ(test.Header.SelfReference, "S01N");
  EXPECT_EQ(normal.Header.IsTest, 0);
  EXPECT_EQ(normal.Header.SelfReference, "S01");
  EXPECT_EQ(reference.Header.IsTest, 0);
  EXPECT_EQ(reference.Header.IsPaired, 0);
}

TEST_F(ExtractWithoutChpTest, SixCellsPerAlleleCallAndALayoutWithoutMismatchCellsCallsNothing) {
  {
    const arraygen::ArrayDesign six(kSmallType, 5, Layout(6));
    WriteLibrary(six, arraygen::CdfForm::kText);
    const CArrayData made = WriteCel(six, "A", "A.CEL");
    Doc().ExtractSampleWithoutCHP(kExtractUnpairedTest, "A.CEL", "");
    // Six quartets reach p = 1/128 only through the 6-quartet table.
    EXPECT_GT(CheckExtracted(six, made, "A"), 0.5);
  }
  const arraygen::ArrayDesign bare(kSmallType, 5, Layout(10, false));
  WriteLibrary(bare, arraygen::CdfForm::kXda);
  const CArrayData made = WriteCel(bare, "B", "B.CEL");
  Doc().ExtractSampleWithoutCHP(kExtractUnpairedReference, "B.CEL", "");
  EXPECT_EQ(CheckExtracted(bare, made, "B"), 0.0);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(ExtractWithoutChpTest, ALibraryWithTooFewQuartetsCallsNothingAndTheReportSaysWhy) {
  const arraygen::ArrayDesign three(kSmallType, 5, Layout(3));
  WriteLibrary(three, arraygen::CdfForm::kXda);
  WriteCel(three, "A", "A.CEL");
  Choose({{kExtractAddNonPairedTest, {0}}});
  Run(command::kExtractWithoutChp);
  EXPECT_EQ(Messages(), Items{std::string("SNPs called per sample:\nA none: too few quartets per allele: the library "
                                          "file ") +
                              kSmallType + ".CDF gives at most 3 per SNP, and a call needs 6, or 8 to 10"});
  EXPECT_EQ(Ui().StatusTexts(), Items{"Extracted 1 of 1 samples into " + platform::NativePath(ArrayFolder()) +
                                      "; SNPs called in 0 samples, none in A"});
  // With a file that fails beside it: the failures, then the calls, in one box.
  ASSERT_TRUE(arraywriters::WriteBytes(Doc().DataFolder + "C.CEL", "not a CEL file"));
  messages_.Clear();
  Choose({{kExtractAddNonPairedTest, {0, 1}}});  // A.CEL, C.CEL
  Run(command::kExtractWithoutChp);
  EXPECT_EQ(Messages(), Items{std::string("1 of 2 files could not be extracted:\nC.CEL: The CEL file C.CEL cannot be "
                                          "read: it is in no CEL form this program reads\n\nSNPs called per sample:\nA none: too few quartets per allele: the "
                                          "library file ") +
                              kSmallType + ".CDF gives at most 3 per SNP, and a call needs 6, or 8 to 10"});
  // Seven quartets fall short of the 10-quartet table too; six and eight reach it.
  EXPECT_FALSE(QuartetsCanCall(0));
  EXPECT_FALSE(QuartetsCanCall(5));
  EXPECT_TRUE(QuartetsCanCall(6));
  EXPECT_FALSE(QuartetsCanCall(7));
  EXPECT_TRUE(QuartetsCanCall(8));
  EXPECT_TRUE(QuartetsCanCall(10));
}

TEST_F(ExtractWithoutChpTest, BadInputsAreToldAndWriteNothing) {
  const arraygen::ArrayDesign design(kSmallType, 5, Layout(10));
  WriteCel(design, "A", "A.CEL");
  // No library file: nothing written.
  Doc().ExtractSampleWithoutCHP(kExtractUnpairedTest, "A.CEL", "");
  EXPECT_EQ(Messages(), Items{"Indicate the folder that contains Library files"});
  EXPECT_FALSE(Exists(SamplePath("A")));

  // A chip this program does not know.
  WriteLibrary(design, arraygen::CdfForm::kXda);
  arraywriters::CelArray foreign = design.MakeCel(MakeSample(kSmallType, "F"));
  foreign.chipType = "HuGeneFL";
  foreign.datHeader = arraywriters::MakeDatHeader("HuGeneFL", foreign.cols, foreign.rows);
  ASSERT_TRUE(arraywriters::SaveCelFile(Doc().DataFolder + "F.CEL", arraywriters::CelForm::kXda, foreign));
  messages_.Clear();
  Doc().ExtractSampleWithoutCHP(kExtractUnpairedTest, "F.CEL", "");
  EXPECT_EQ(Messages(), Items{"The chip type \"HuGeneFL\" of F.CEL is not one this program knows"});
  EXPECT_FALSE(Exists(SamplePath("F")));

  // An unreadable CEL file in a run: named in the summary, the others done.
  ASSERT_TRUE(arraywriters::WriteBytes(Doc().DataFolder + "C.CEL", "not a CEL file"));
  platform::RemoveFile(Doc().DataFolder + "F.CEL");
  messages_.Clear();
  Choose({{kExtractAddNonPairedTest, {0, 1}}});  // A.CEL, C.CEL
  Run(command::kExtractWithoutChp);
  EXPECT_EQ(Messages(), Items{"1 of 2 files could not be extracted:\nC.CEL: The CEL file C.CEL cannot be read: it is in no CEL "
                              "form this program reads"});
  EXPECT_TRUE(Exists(SamplePath("A")));
  EXPECT_FALSE(Exists(SamplePath("C")));

  // A generic library whose index gives a SNP's name a length far past its
  // cell: failed there, not passed over.
  const std::int32_t snp = design.SnpProbeSets()[3];
  const std::string library = GenericCdfWithUnreadableName(design.Layout(), snp);
  ASSERT_FALSE(library.empty());
  ASSERT_TRUE(arraywriters::WriteBytes(Doc().LibraryFolder + std::string(kSmallType) + ".CDF", library));
  platform::RemoveFile(SamplePath("A"));
  messages_.Clear();
  Doc().ExtractSampleWithoutCHP(kExtractUnpairedTest, "A.CEL", "");
  EXPECT_EQ(Messages(), Items{platform::Format("The library file %s.CDF cannot be read at its probe set %d: "
                                               "InvalidFileTypeException",
                                               kSmallType, snp)});
  EXPECT_FALSE(Exists(SamplePath("A")));

  // An array-data folder that is not there is the reason given.
  WriteLibrary(design, arraygen::CdfForm::kXda);
  Doc().ArrayDataFolder = Root() + "Gone/";
  messages_.Clear();
  Doc().ExtractSampleWithoutCHP(kExtractUnpairedTest, "A.CEL", "");
  EXPECT_EQ(Messages(), Items{"The sample file A.CFH cannot be written: the folder " +
                              platform::NativePath(Root() + "Gone/") + " does not exist"});
  EXPECT_FALSE(platform::FolderExists(Root() + "Gone/"));
}

}  // namespace
}  // namespace qova::test
