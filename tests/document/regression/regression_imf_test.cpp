// The intensity work file (.IMF) of one sample, worked out again from the
// generated CEL, CHP and library files: each kept perfect-match cell as the
// z-score of its ln intensity against the background of its allele, the
// mismatch cells of the SNPs called for the other allele on the autosomes.
#include <cmath>

#include "document/DocumentCommands.h"
#include "document/regression/RegressionWorkFiles.h"
#include "platform/Strings.h"
#include "tests/arraygen/ArrayGenTestSupport.h"
#include "tests/document/DocumentTestSupport.h"
#include "tools/arraygen/ArrayGen.h"

namespace regression = qova::document::regression;

namespace qova::test {
namespace {

using namespace qova::document::regression;

class IntensityWorkFileTest : public DocumentTest {};

// ln I of a background: count, mean and the deviation with n - 1.
struct LogBackground {
  int n = 0;
  double sum = 0.0, squares = 0.0;
  void Add(double intensity) {
    const double v = std::log(intensity);
    ++n;
    sum += v;
    squares += v * v;
  }
  [[nodiscard]] double Mean() const { return sum / n; }
  [[nodiscard]] double Deviation() const { return std::sqrt((squares - sum * sum / n) / (n - 1)); }
};

int SampleCallOfChpCode(std::uint8_t code) {
  switch (code) {
    case arraygen::kChpCallA: return kCallA;
    case arraygen::kChpCallB: return kCallB;
    case arraygen::kChpCallAB: return kCallAB;
    default: return kCallNone;
  }
}

TEST_F(IntensityWorkFileTest, EachPerfectMatchCellIsItsZScoreAgainstTheMismatchCellsOfTheOtherAllelesCalls) {
  arraygen::LayoutOptions layout = SmallLayout(40);
  layout.PerfectMatchCellsPerAllele = 4;
  const arraygen::ArrayDesign design(kSmallType, 3, layout);
  ASSERT_TRUE(platform::CreateFolders(Doc().LibraryFolder));
  design.WriteCdf(Doc().LibraryFolder + std::string(kSmallType) + ".CDF", arraygen::CdfForm::kXda);
  const CArrayData sample = MakeSample(kSmallType, "Test01");
  (void)arraygen::WriteSampleFiles(design, Doc().DataFolder, sample);
  ASSERT_TRUE(platform::WriteWholeFile(Root() + "list.txt", "Test01\n"));
  Ui().OnFileDialog([this](platform::ui::FileDialogRequest& r) {
    r.chosen = {Root() + "list.txt"};
    return true;
  });
  Run(command::kExtractImfFromList);
  ASSERT_EQ(ErrorLogLines(), std::vector<std::string>{});

  const arraywriters::CelArray cel = design.MakeCel(sample);
  const std::vector<std::uint8_t> chp = design.ChpCalls(sample);
  const auto intensity = [&](const arraywriters::CdfCell& cell) {
    return double(cel.cells[std::size_t(cell.y) * std::size_t(cel.cols) + cell.x].intensity);
  };
  LogBackground background[2];
  for (std::size_t k = 0; k < design.SnpProbeSets().size(); ++k) {
    const std::size_t set = std::size_t(design.SnpProbeSets()[k]);
    const int call = SampleCallOfChpCode(chp[set]);
    const bool autosome = Annotation().Chromosome[std::size_t(design.FirstSnp()) + k] < 23;
    const auto& blocks = design.Layout().probeSets[set].blocks;
    for (std::size_t b = 0; b < blocks.size(); ++b) {
      const int allele = int(b % 2);
      if (!autosome || call != (allele == 0 ? kCallB : kCallA)) continue;
      for (const auto& cell : blocks[b].cells)
        if (!PairsUp(cell.probeBase, cell.targetBase)) background[allele].Add(intensity(cell));
    }
  }
  // Few enough cells that n and n - 1 part at the third decimal.
  for (const LogBackground& b : background) ASSERT_GT(b.n, 4);
  for (const LogBackground& b : background) ASSERT_LT(b.n, 400);

  std::string text;
  ASSERT_TRUE(platform::ReadWholeFile(regression::WorkPath("TEST01.IMF"), text));
  const std::vector<std::string> lines = platform::SplitLines(text);
  ASSERT_EQ(lines.size(), design.SnpProbeSets().size());
  int checked = 0;
  for (std::size_t k = 0; k < lines.size(); ++k) {
    SCOPED_TRACE(platform::Format("SNP set %zu", k));
    const std::size_t set = std::size_t(design.SnpProbeSets()[k]);
    const ImfLine line = ParseImf(lines[k]);
    EXPECT_EQ(line.Call, SampleCallOfChpCode(chp[set]));
    std::array<int, 2> kept{0, 0};
    const auto& blocks = design.Layout().probeSets[set].blocks;
    for (std::size_t b = 0; b < blocks.size(); ++b) {
      const int allele = int(b % 2);
      const LogBackground& g = background[allele];
      for (const auto& cell : blocks[b].cells) {
        if (!PairsUp(cell.probeBase, cell.targetBase) || kept[allele] == regression::kProbesPerAllele) continue;
        const float got = (allele == 0 ? line.A : line.B)[std::size_t(kept[allele]++)];
        EXPECT_NEAR(got, (std::log(intensity(cell)) - g.Mean()) / g.Deviation(), 2e-5) << "allele " << allele;
        ++checked;
      }
    }
    for (int a = 0; a < 2; ++a)
      for (int j = kept[std::size_t(a)]; j < regression::kProbesPerAllele; ++j) EXPECT_EQ((a == 0 ? line.A : line.B)[std::size_t(j)], 0.0f);
  }
  EXPECT_EQ(checked, int(lines.size()) * 2 * 4);
}

}  // namespace
}  // namespace qova::test
