#include <gtest/gtest.h>

#include <optional>
#include <utility>
#include <vector>

#include "core/MarkerRegion.h"
#include "tests/core/SampleBytes.h"

namespace {

using qova::test::ArchiveErrorOf;
using qova::test::ByteWriter;

TEST(MarkerRegionTest, ClampedToCutsTheRegionToTheSample) {
  using Range = std::optional<std::pair<std::int32_t, std::int32_t>>;
  const struct {
    std::int32_t first, last;
    Range expected;
  } cases[] = {
      {150, 180, Range{{150, 180}}}, {50, 180, Range{{100, 180}}}, {150, 900, Range{{150, 200}}},
      {0, 99, std::nullopt},         {201, 300, std::nullopt},      {180, 150, std::nullopt},
      {-50, 2000000000, Range{{100, 200}}},
  };
  for (const auto& c : cases) {
    MarkerRegion region{1, c.first, c.last, 3};
    EXPECT_EQ(region.ClampedTo(100, 200), c.expected) << c.first << ".." << c.last;
  }
}

TEST(MarkerRegionTest, BlockRoundTripsInListOrderWithOverlaps) {
  const MarkerRegionList regions = {{1, 100, 200, 3}, {1, 150, 160, 35}, {23, 5, 5, 39}, {1, 100, 200, 0}};
  CMemFile out;
  CArchive store(&out, CArchive::store);
  WriteMarkerRegions(store, regions);
  store.Close();
  ByteWriter expected;
  expected.I32(4);
  for (const MarkerRegion& r : regions) expected.I32(r.Chromosome).I32(r.FirstSnp).I32(r.LastSnp).I32(r.Kind);
  EXPECT_EQ(out.Bytes(), expected.Bytes());

  CMemFile in(out.Bytes());
  CArchive load(&in, CArchive::load);
  MarkerRegionList read;
  EXPECT_EQ(ReadMarkerRegions(load, read), 4);
  EXPECT_EQ(read, regions);
}

TEST(MarkerRegionTest, BadCountsAreRefusedWithoutTouchingTheList) {
  const struct {
    std::int32_t count;
    int recordsPresent;
    CArchiveException::Cause cause;
  } cases[] = {{-1, 0, CArchiveException::badFormat},
               {3, 2, CArchiveException::endOfFile},
               {0x7FFFFFFF, 1, CArchiveException::endOfFile}};
  for (const auto& c : cases) {
    ByteWriter w;
    w.I32(c.count);
    for (int k = 0; k < c.recordsPresent; ++k) w.I32(1).I32(2).I32(3).I32(4);
    MarkerRegionList list = {{9, 9, 9, 9}};
    CMemFile in(w.Bytes());
    CArchive load(&in, CArchive::load);
    EXPECT_EQ(ArchiveErrorOf([&] { ReadMarkerRegions(load, list); }), c.cause) << c.count;
    EXPECT_EQ(list.size(), 1u);
  }
}

}  // namespace
