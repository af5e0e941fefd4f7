#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "arrayfiles/cdf/UnifiedCDFData.h"
#include "arrayfiles/common/StringUtils.h"
#include "arrayfiles/unified/UnifiedCELData.h"
#include "tests/arraygen/ArrayGenTestSupport.h"
#include "tests/support/TempHome.h"

namespace core = qova::core;

namespace {

using arraygen::ArrayDesign;
using arraygen::LayoutOptions;
using qova::test::MakeSample;
using qova::test::SmallLayout;
using qova::test::AlleleSums;
using qova::test::PairsUp;
using qova::test::SumsOf;

TEST(ArrayDesignTest, SnpProbeSetsCoverTheTypeRangeInTableOrder) {
  const ArrayDesign design("Mapping50K_Xba240", 3);
  const core::ArrayTypeInfo& type = *core::FindArrayType("Mapping50K_Xba240");
  EXPECT_EQ(design.FirstSnp(), type.firstSnp);
  ASSERT_EQ(design.SnpProbeSets().size(), static_cast<std::size_t>(type.lastSnp - type.firstSnp + 1));
  EXPECT_GT(design.Layout().probeSets.size(), design.SnpProbeSets().size()) << "controls lie between the SNP sets";
  std::int32_t previous = -1;
  for (std::int32_t index : design.SnpProbeSets()) {
    EXPECT_GT(index, previous);
    EXPECT_TRUE(design.Layout().probeSets[static_cast<std::size_t>(index)].name.starts_with("SNP"));
    previous = index;
  }
}

struct LayoutCase {
  const char* name;
  LayoutOptions options;
  int cellsPerAllele;
};

class ArrayDesignCellsTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(ArrayDesignCellsTest, PerfectMatchCellsOfEachAlleleAddUpToTheRoundedSignal) {
  const ArrayDesign design("Mapping10K_Xba131", 5, GetParam().options);
  const CArrayData sample = MakeSample("Mapping10K_Xba131", "S01");
  const arraywriters::CelArray cel = design.MakeCel(sample);
  ASSERT_EQ(cel.cells.size(), static_cast<std::size_t>(cel.cols) * cel.rows);
  for (const auto& cell : cel.cells) {
    ASSERT_EQ(cell.intensity, std::round(cell.intensity)) << "whole numbers survive the 16-bit forms";
    ASSERT_GE(cell.intensity, 0.0f);
    ASSERT_LE(cell.intensity, 65535.0f);
  }
  for (std::size_t k = 0; k < design.SnpProbeSets().size(); ++k) {
    const AlleleSums sums = SumsOf(design, cel, k);
    const std::size_t row = static_cast<std::size_t>(design.FirstSnp()) + k;
    ASSERT_EQ(sums.cellsA, GetParam().cellsPerAllele);
    ASSERT_EQ(sums.cellsB, GetParam().cellsPerAllele);
    ASSERT_EQ(sums.a, std::round(sample.SignalA[row])) << "SNP " << k;
    ASSERT_EQ(sums.b, std::round(sample.SignalB[row])) << "SNP " << k;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, ArrayDesignCellsTest,
    ::testing::Values(LayoutCase{"ThreeListsWithMismatch", SmallLayout(200), 3},
                      LayoutCase{"OneCellNoMismatch", [] { auto o = SmallLayout(200); o.PerfectMatchCellsPerAllele = 1; o.MismatchCells = false; return o; }(), 1},
                      LayoutCase{"BothStrands", [] { auto o = SmallLayout(200); o.BlockPairs = 2; return o; }(), 6}),
    [](const ::testing::TestParamInfo<LayoutCase>& info) { return std::string(info.param.name); });

TEST(ArrayDesignTest, BrightSignalsAreCappedSoNoCellPassesTheSixteenBitLimit) {
  const ArrayDesign design("Mapping10K_Xba131", 5, SmallLayout(20));
  CArrayData sample = MakeSample("Mapping10K_Xba131", "Bright");
  sample.SignalA[0] = 1.0e7f;
  sample.SignalB[0] = -50.0f;
  const arraywriters::CelArray cel = design.MakeCel(sample);
  const AlleleSums sums = SumsOf(design, cel, 0);
  EXPECT_GT(sums.a, 65535.0 * 2) << "three cells share the signal up to their limits";
  EXPECT_LE(sums.a, 65535.0 * 3);
  EXPECT_EQ(sums.b, 0.0);
  for (const auto& cell : cel.cells) ASSERT_LE(cell.intensity, 65535.0f);
}

TEST(ArrayDesignTest, MismatchCellsCarryAShareOfTheirPartner) {
  const ArrayDesign design("Mapping10K_Xba131", 5, SmallLayout(50));
  const CArrayData sample = MakeSample("Mapping10K_Xba131", "S01");
  const arraywriters::CelArray cel = design.MakeCel(sample);
  int mismatches = 0;
  for (std::int32_t index : design.SnpProbeSets()) {
    for (const auto& block : design.Layout().probeSets[static_cast<std::size_t>(index)].blocks) {
      for (std::size_t c = 1; c < block.cells.size(); c += 2) {
        const auto at = [&](const arraywriters::CdfCell& cell) {
          return cel.cells[static_cast<std::size_t>(cell.y) * cel.cols + cell.x].intensity;
        };
        ASSERT_FALSE(PairsUp(block.cells[c].probeBase, block.cells[c].targetBase));
        EXPECT_GE(at(block.cells[c]), 0.3f * at(block.cells[c - 1]));
        EXPECT_LT(at(block.cells[c]), at(block.cells[c - 1]) + 200.0f);
        ++mismatches;
      }
    }
  }
  EXPECT_EQ(mismatches, 50 * 2 * 3);
}

TEST(ArrayDesignTest, CellsDependOnlyOnTheSeedAndTheSampleName) {
  const CArrayData sample = MakeSample("Mapping10K_Xba131", "S01");
  const CArrayData other = MakeSample("Mapping10K_Xba131", "S02");
  const auto intensities = [](const arraywriters::CelArray& cel) {
    std::vector<float> values;
    for (const auto& cell : cel.cells) values.push_back(cell.intensity);
    return values;
  };
  const ArrayDesign design("Mapping10K_Xba131", 5, SmallLayout(30));
  EXPECT_EQ(intensities(design.MakeCel(sample)), intensities(ArrayDesign("Mapping10K_Xba131", 5, SmallLayout(30)).MakeCel(sample)));
  EXPECT_NE(intensities(design.MakeCel(sample)), intensities(design.MakeCel(other)));
  EXPECT_NE(intensities(design.MakeCel(sample)), intensities(ArrayDesign("Mapping10K_Xba131", 6, SmallLayout(30)).MakeCel(sample)));
}

TEST(ArrayDesignTest, ChpCallsFollowTheSampleAndLeaveOtherSetsUncalled) {
  struct {
    std::int32_t call;
    std::uint8_t code;
  } const kCodes[] = {{kCallA, 6}, {kCallB, 7}, {kCallAB, 8}, {kCallNone, 11}, {9, 11}, {-1, 11}};
  for (const auto& c : kCodes) EXPECT_EQ(arraygen::ChpCallOf(c.call), c.code) << c.call;

  const ArrayDesign design("Mapping10K_Xba131", 5, SmallLayout(100));
  const CArrayData sample = MakeSample("Mapping10K_Xba131", "S01");
  const std::vector<std::uint8_t> calls = design.ChpCalls(sample);
  ASSERT_EQ(calls.size(), design.Layout().probeSets.size());
  std::set<std::int32_t> snpSets(design.SnpProbeSets().begin(), design.SnpProbeSets().end());
  std::set<std::uint8_t> seen;
  for (std::size_t i = 0; i < calls.size(); ++i) {
    if (!snpSets.contains(static_cast<std::int32_t>(i))) {
      EXPECT_EQ(calls[i], arraygen::kChpNoCall);
    }
  }
  for (std::size_t k = 0; k < design.SnpProbeSets().size(); ++k) {
    const std::uint8_t code = calls[static_cast<std::size_t>(design.SnpProbeSets()[k])];
    EXPECT_EQ(code, arraygen::ChpCallOf(sample.Call[static_cast<std::size_t>(design.FirstSnp()) + k]));
    seen.insert(code);
  }
  EXPECT_TRUE(seen.contains(6) && seen.contains(7) && seen.contains(8)) << "the sample has every genotype";
}

TEST(ArrayDesignTest, SnpSetsBeyondTheTypeRangeGetBackgroundAndNoCall) {
  const core::ArrayTypeInfo& type = *core::FindArrayType("Mapping10K_Xba131");
  const std::int32_t range = type.lastSnp - type.firstSnp + 1;
  const ArrayDesign design("Mapping10K_Xba131", 5, SmallLayout(range + 4));
  const CArrayData sample = MakeSample("Mapping10K_Xba131", "S01");
  const arraywriters::CelArray cel = design.MakeCel(sample);
  const std::vector<std::uint8_t> calls = design.ChpCalls(sample);
  for (std::int32_t k = range; k < range + 4; ++k) {
    const AlleleSums sums = SumsOf(design, cel, static_cast<std::size_t>(k));
    EXPECT_LE(sums.a, 3 * 120.0);
    EXPECT_EQ(calls[static_cast<std::size_t>(design.SnpProbeSets()[static_cast<std::size_t>(k)])], arraygen::kChpNoCall);
  }
}

TEST(ArrayDesignTest, UnknownTypesAndBadCountsAreRefused) {
  EXPECT_THROW(ArrayDesign("Mapping10K_xba131", 1), std::invalid_argument);
  LayoutOptions options;
  options.PerfectMatchCellsPerAllele = 0;
  EXPECT_THROW(ArrayDesign("Mapping10K_Xba131", 1, options), std::invalid_argument);
  options = {};
  options.BlockPairs = 3;
  EXPECT_THROW(ArrayDesign("Mapping10K_Xba131", 1, options), std::invalid_argument);
}

TEST(ArrayDesignTest, LibraryFileNameIsFullCdfOnlyForGenomeWideSNP5) {
  EXPECT_EQ(arraygen::LibraryFileName("GenomeWideSNP_5"), "GenomeWideSNP_5.Full.cdf");
  EXPECT_EQ(arraygen::LibraryFileName("genomewidesnp_5"), "genomewidesnp_5.CDF");
  EXPECT_EQ(arraygen::LibraryFileName("Mapping250K_Nsp"), "Mapping250K_Nsp.CDF");
}

TEST(ArrayDesignTest, RealisticGenomeWideLayoutHasAboutSixAndAHalfMillionCells) {
  const arraygen::LayoutOptions options = arraygen::RealisticLayout("GenomeWideSNP_5");
  const core::ArrayTypeInfo& type = *core::FindArrayType("GenomeWideSNP_5");
  const std::int64_t snps = type.lastSnp - type.firstSnp + 1;
  const std::int64_t cells = snps * 2 * options.BlockPairs * options.PerfectMatchCellsPerAllele *
                                 (options.MismatchCells ? 2 : 1) + options.CopyNumberSets;
  EXPECT_GT(cells, 6'000'000);
  EXPECT_LT(cells, 7'000'000);
}

class ArrayDesignFilesTest : public qova::test::TempHomeTest {};

TEST_F(ArrayDesignFilesTest, EveryCdfFormReadsBackWithItsSnpProbeSets) {
  const ArrayDesign design("Mapping10K_Xba131", 5, SmallLayout(40));
  for (arraygen::CdfForm form : arraygen::kAllCdfForms) {
    SCOPED_TRACE(arraygen::FormName(form));
    const std::string path = Path(std::string("lib/") + arraygen::FormName(form) + ".CDF");
    design.WriteCdf(path, form);
    unified_io::UnifiedCDFData cdf;
    cdf.SetFileName(path);
    ASSERT_TRUE(cdf.Read()) << cdf.GetError();
    ASSERT_EQ(cdf.GetHeader().GetNumProbeSets(), static_cast<int>(design.Layout().probeSets.size()));
    int snps = 0;
    for (int i = 0; i < cdf.GetHeader().GetNumProbeSets(); ++i) snps += cdf.GetProbeSetName(i).starts_with("SNP");
    EXPECT_EQ(snps, 40);
  }
}

TEST_F(ArrayDesignFilesTest, EveryCelFormNamesTheChipAndKeepsTheCells) {
  const ArrayDesign design("Mapping10K_Xba142", 5, SmallLayout(40));
  const arraywriters::CelArray cel = design.MakeCel(MakeSample("Mapping10K_Xba142", "S01"));
  ASSERT_TRUE(platform::CreateFolders(Path("data")));
  for (arraywriters::CelForm form : arraywriters::kAllCelForms) {
    SCOPED_TRACE(arraygen::FormName(form));
    const std::string path = Path(std::string("data/") + arraygen::FormName(form) + ".CEL");
    ASSERT_TRUE(arraywriters::SaveCelFile(path, form, cel));
    unified_io::UnifiedCELData reader;
    reader.SetFileName(path);
    ASSERT_TRUE(reader.Read(true));
    EXPECT_EQ(StringUtils::WideToNarrow(reader.GetChipType()), "Mapping10K_Xba142");
    for (std::size_t i = 0; i < cel.cells.size(); i += 97) {
      const int x = static_cast<int>(i % static_cast<std::size_t>(cel.cols));
      const int y = static_cast<int>(i / static_cast<std::size_t>(cel.cols));
      ASSERT_EQ(reader.GetIntensity(x, y), cel.cells[i].intensity) << x << "," << y;
    }
  }
}

TEST(ArrayGenFormsTest, FormNamesParseBack) {
  for (arraygen::CdfForm form : arraygen::kAllCdfForms) {
    arraygen::CdfForm parsed{};
    EXPECT_TRUE(arraygen::ParseForm(arraygen::FormName(form), parsed));
    EXPECT_EQ(parsed, form);
  }
  for (arraygen::ChpForm form : arraygen::kAllChpForms) {
    arraygen::ChpForm parsed{};
    EXPECT_TRUE(arraygen::ParseForm(arraygen::FormName(form), parsed));
    EXPECT_EQ(parsed, form);
  }
  for (arraywriters::CelForm form : arraywriters::kAllCelForms) {
    arraywriters::CelForm parsed{};
    EXPECT_TRUE(arraygen::ParseForm(arraygen::FormName(form), parsed));
    EXPECT_EQ(parsed, form);
  }
  arraygen::CdfForm cdf{};
  EXPECT_FALSE(arraygen::ParseForm("XDA", cdf));
}

}  // namespace
