// The shipped band table mapped onto generated annotation tables: each band
// gets the run of SNPs whose positions lie before its end, for single and
// combined array types.
#include <gtest/gtest.h>

#include <string>

#include "core/ArrayTypes.h"
#include "core/Cytoband.h"
#include "core/SnpOrder.h"
#include "platform/MessageBox.h"
#include "tests/support/TempHome.h"
#include "tools/datagen/DataGen.h"

namespace core = qova::core;

namespace {

CCytoband ShippedBands() {
  CCytoband bands;
  platform::ScopedRecordingSink sink;
  EXPECT_TRUE(bands.LoadFrom(qova::test::SourceDir() + "data/"));
  return bands;
}

std::int64_t PositionOf(const CBasicData& table, int type, int snp) {
  return table.Position[AnnotationRowOfSnp(table, type, snp)];
}

// Every SNP of every chromosome falls in exactly one band run, in order, and
// each run ends where the positions reach its band's end.
void ExpectBandRunsFollowPositions(const CCytoband& bands, const CBasicData& table, int type) {
  const std::int32_t* starts = core::kArrayChromosomeStarts[type];
  for (int c = 1; c <= 23; ++c) {
    int expectedFirst = starts[c];
    for (int b = bands.ChromosomeFirstBand[c]; b < bands.ChromosomeFirstBand[c + 1]; ++b) {
      ASSERT_EQ(bands.BandFirstSnp[b], expectedFirst) << "type " << type << " band " << b;
      ASSERT_GE(bands.BandLastSnp[b], bands.BandFirstSnp[b] - 1);
      for (int s = bands.BandFirstSnp[b]; s <= bands.BandLastSnp[b]; ++s) {
        ASSERT_LT(PositionOf(table, type, s), bands.BandEnd[b]) << "type " << type << " snp " << s;
      }
      const int next = bands.BandLastSnp[b] + 1;
      if (next < starts[c + 1]) {
        ASSERT_GE(PositionOf(table, type, next), bands.BandEnd[b]);
      }
      expectedFirst = next;
    }
    // The last band ends at the chromosome's end, beyond every SNP.
    EXPECT_EQ(expectedFirst, starts[c + 1]) << "type " << type << " chromosome " << c;
  }
}

TEST(CytobandMapTest, BandsOfSingleAndCombinedTypesHoldTheirSnps) {
  const CCytoband shipped = ShippedBands();
  const CBasicData table = datagen::MakeAnnotation(2);
  for (int type : {2, 3, 4}) {
    CCytoband bands;
    bands.Copy(shipped);
    EXPECT_TRUE(bands.MapToSnps(type, core::kArrayChromosomeStarts[type], table));
    ExpectBandRunsFollowPositions(bands, table, type);
  }
}

TEST(CytobandMapTest, CombinedTypeGoesThroughTheSortMap) {
  // Read without the SortMap, the combined type's SNPs would alternate
  // between the two arrays' position runs; through it, the band runs are
  // exactly the two single arrays' runs added together.
  const CCytoband shipped = ShippedBands();
  const CBasicData table = datagen::MakeAnnotation(4);
  CCytoband first, second, both;
  for (auto [bands, type] : {std::pair{&first, 8}, std::pair{&second, 9}, std::pair{&both, 10}}) {
    bands->Copy(shipped);
    ASSERT_TRUE(bands->MapToSnps(type, core::kArrayChromosomeStarts[type], table));
  }
  for (int b = 0; b < shipped.BandCount; ++b) {
    const int count = both.BandLastSnp[b] - both.BandFirstSnp[b] + 1;
    EXPECT_EQ(count, (first.BandLastSnp[b] - first.BandFirstSnp[b] + 1) +
                         (second.BandLastSnp[b] - second.BandFirstSnp[b] + 1))
        << "band " << b;
  }
}

}  // namespace
