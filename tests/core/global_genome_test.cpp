// The views' genome tables against the shipped band table: the centromeres
// lie in the red (centromere) bands, and the genome axis gives every
// chromosome nearly its assembly length.
#include "core/GenomeTables.h"

#include <gtest/gtest.h>

#include "core/Cytoband.h"
#include "platform/MessageBox.h"
#include "tests/support/TempHome.h"

namespace {

constexpr int kCentromereStain = 5;

TEST(GenomeTablesTest, CentromeresLieInTheCentromereBands) {
  CCytoband bands;
  platform::ScopedRecordingSink sink;
  ASSERT_TRUE(bands.LoadFrom(qova::test::SourceDir() + "data/"));
  for (int c = 1; c <= 23; ++c) {
    const long long centromere = 1000LL * CentromerePositionsKb[c - 1];
    bool inside = false;
    for (int b = bands.ChromosomeFirstBand[c]; b < bands.ChromosomeFirstBand[c + 1]; ++b) {
      inside |= bands.BandStain[b] == kCentromereStain && bands.BandStart[b] <= centromere &&
                centromere <= bands.BandEnd[b];
    }
    EXPECT_TRUE(inside) << "chromosome " << c;
  }
}

TEST(GenomeTablesTest, GenomeAxisKeepsEachChromosomeNearItsAssemblyLength) {
  CCytoband bands;
  platform::ScopedRecordingSink sink;
  ASSERT_TRUE(bands.LoadFrom(qova::test::SourceDir() + "data/"));
  EXPECT_EQ(ChromosomeStartTable[0], 0);
  EXPECT_EQ(ChromosomeStartTable[1], 0);
  for (int c = 1; c <= 23; ++c) {
    const double assembly = bands.BandEnd[bands.ChromosomeFirstBand[c + 1] - 1];
    EXPECT_NEAR(qova::core::genome::ChromosomeLength(c) / assembly, 1.0, 0.02) << "chromosome " << c;
    EXPECT_LT(CentromerePositionsKb[c - 1], ChromosomeStartTableKb[c + 1] - ChromosomeStartTableKb[c]) << c;
  }
}

}  // namespace
