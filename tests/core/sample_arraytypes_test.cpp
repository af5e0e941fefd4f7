#include <gtest/gtest.h>

#include <string>

#include "core/ArrayTypes.h"

namespace {

TEST(ArrayTypesTest, EveryNameMapsToItsTypeAndFamily) {
  const int families[qova::kArrayTypeCount] = {0, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5, 6};
  for (int t = 0; t < qova::kArrayTypeCount; ++t) {
    const char* name = qova::kArrayTypes[t].name;
    EXPECT_EQ(ArrayTypeIndex(name), t) << name;
    EXPECT_EQ(ArrayClassIndex(name), families[t]) << name;
  }
}

TEST(ArrayTypesTest, UnknownNamesMapToZero) {
  for (const char* name : {"", "mapping10k_xba131", "GenomeWideSNP_6", "Mendel_Sty ", "Agilent"}) {
    EXPECT_EQ(ArrayTypeIndex(name), 0) << name;
    EXPECT_EQ(ArrayClassIndex(name), 0) << name;
    EXPECT_EQ(qova::FindArrayType(name), nullptr) << name;
  }
}

TEST(ArrayTypesTest, TwoArraySetsSplitTheirFamilyTable) {
  // The two single arrays of a set cover the combined type's range end to end.
  const struct { int first, second, combined; } sets[] = {{2, 3, 4}, {5, 6, 7}, {8, 9, 10}};
  for (const auto& set : sets) {
    const auto& a = qova::kArrayTypes[set.first];
    const auto& b = qova::kArrayTypes[set.second];
    const auto& both = qova::kArrayTypes[set.combined];
    EXPECT_EQ(a.firstSnp, both.firstSnp) << both.name;
    EXPECT_EQ(a.lastSnp + 1, b.firstSnp) << both.name;
    EXPECT_EQ(b.lastSnp, both.lastSnp) << both.name;
    EXPECT_EQ(both.lastSnp + 1, both.snpCount) << both.name;
  }
  EXPECT_EQ(qova::kArrayTypes[6].lastSnp - qova::kArrayTypes[6].firstSnp + 1, 267231);
  EXPECT_EQ(qova::kArrayTypes[9].lastSnp - qova::kArrayTypes[9].firstSnp + 1, 262264);
}

TEST(ArrayTypesTest, FamilyTablesFitTheSampleCapacity) {
  const std::int32_t counts[qova::kArrayFamilyCount] = {11560, 10204, 116204, 534500, 500568, 236424, 500446};
  for (int f = 0; f < qova::kArrayFamilyCount; ++f) {
    EXPECT_EQ(qova::kArrayFamilies[f].snpCount, counts[f]);
    EXPECT_LE(counts[f], qova::kSampleSnpCapacity);
    EXPECT_EQ(qova::kArrayFamilies[f].extended, f == 6);
  }
}

}  // namespace
