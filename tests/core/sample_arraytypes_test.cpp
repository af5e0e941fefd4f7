#include <gtest/gtest.h>

#include <string>

#include "core/ArrayTypes.h"

namespace core = qova::core;

namespace {

TEST(ArrayTypesTest, EveryNameMapsToItsTypeAndFamily) {
  const int families[core::kArrayTypeCount] = {0, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5, 6};
  for (int t = 0; t < core::kArrayTypeCount; ++t) {
    const char* name = core::kArrayTypes[t].name;
    EXPECT_EQ(ArrayTypeIndex(name), t) << name;
    EXPECT_EQ(ArrayClassIndex(name), families[t]) << name;
  }
}

TEST(ArrayTypesTest, UnknownNamesMapToZero) {
  for (const char* name : {"", "mapping10k_xba131", "GenomeWideSNP_6", "Mendel_Sty ", "Agilent"}) {
    EXPECT_EQ(ArrayTypeIndex(name), 0) << name;
    EXPECT_EQ(ArrayClassIndex(name), 0) << name;
    EXPECT_EQ(core::FindArrayType(name), nullptr) << name;
  }
}

TEST(ArrayTypesTest, TwoArraySetsSplitTheirFamilyTable) {
  // The two single arrays of a set cover the combined type's range end to end.
  const struct { int first, second, combined; } sets[] = {{2, 3, 4}, {5, 6, 7}, {8, 9, 10}};
  for (const auto& set : sets) {
    const auto& a = core::kArrayTypes[set.first];
    const auto& b = core::kArrayTypes[set.second];
    const auto& both = core::kArrayTypes[set.combined];
    EXPECT_EQ(a.firstSnp, both.firstSnp) << both.name;
    EXPECT_EQ(a.lastSnp + 1, b.firstSnp) << both.name;
    EXPECT_EQ(b.lastSnp, both.lastSnp) << both.name;
    EXPECT_EQ(both.lastSnp + 1, both.snpCount) << both.name;
  }
  EXPECT_EQ(core::kArrayTypes[6].lastSnp - core::kArrayTypes[6].firstSnp + 1, 267231);
  EXPECT_EQ(core::kArrayTypes[9].lastSnp - core::kArrayTypes[9].firstSnp + 1, 262264);
}

TEST(ArrayTypesTest, FamilyTablesFitTheSampleCapacity) {
  const std::int32_t counts[core::kArrayFamilyCount] = {11560, 10204, 116204, 534500, 500568, 236424, 500446};
  for (int f = 0; f < core::kArrayFamilyCount; ++f) {
    EXPECT_EQ(core::kArrayFamilies[f].snpCount, counts[f]);
    EXPECT_LE(counts[f], core::kSampleSnpCapacity);
    EXPECT_EQ(core::kArrayFamilies[f].extended, f == 6);
  }
}

}  // namespace
