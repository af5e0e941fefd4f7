#include "core/ArrayTypes.h"

#include "platform/Strings.h"

namespace core = qova::core;

namespace qova::core {

namespace {

constexpr bool TablesAgree() {
  for (int t = 0; t < kArrayTypeCount; ++t) {
    const ArrayTypeInfo& info = kArrayTypes[t];
    if (info.type != t || info.family < 0 || info.family >= kArrayFamilyCount) return false;
    if (info.snpCount != kArrayFamilies[info.family].snpCount) return false;
    if (info.firstSnp < 0 || info.firstSnp > info.lastSnp || info.lastSnp >= info.snpCount) return false;
    if (info.snpCount > kSampleSnpCapacity) return false;
  }
  for (int f = 0; f < kArrayFamilyCount; ++f) {
    if (kArrayFamilies[f].family != f) return false;
  }
  return true;
}
static_assert(TablesAgree(), "array type and family tables disagree");

constexpr bool NameIsCombined(const char* name) {
  for (; *name != 0; ++name) {
    if (*name == '+') return true;
  }
  return false;
}

// Each type's chromosomes lie inside its rows, in order; a combined type holds
// exactly the SNPs of the two single types before it, chromosome by chromosome.
constexpr bool ChromosomeStartsAgree() {
  for (int t = 0; t < kArrayTypeCount; ++t) {
    const std::int32_t* starts = kArrayChromosomeStarts[t];
    if (starts[0] != 0 || starts[1] != kArrayTypes[t].firstSnp) return false;
    if (starts[kChromosomeTableSlots - 1] > kArrayTypes[t].lastSnp + 1) return false;
    for (int c = 1; c + 1 < kChromosomeTableSlots; ++c) {
      if (starts[c] > starts[c + 1]) return false;
    }
    if (IsCombinedArrayType(t) != NameIsCombined(kArrayTypes[t].name)) return false;
    if (!IsCombinedArrayType(t)) continue;
    const std::int32_t* first = kArrayChromosomeStarts[t - 2];
    const std::int32_t* second = kArrayChromosomeStarts[t - 1];
    for (int c = 1; c < kChromosomeTableSlots; ++c) {
      if (starts[c] != first[c] + second[c] - second[1]) return false;
    }
  }
  return true;
}
static_assert(ChromosomeStartsAgree(), "chromosome start tables disagree with the array types");

}  // namespace

std::string LibraryFileName(std::string_view chipType) {
  const std::string name(chipType);
  return name == "GenomeWideSNP_5" ? name + ".Full.cdf" : name + ".CDF";
}

const ArrayTypeInfo* FindArrayType(std::string_view name) {
  for (const ArrayTypeInfo& info : kArrayTypes) {
    if (name == info.name) return &info;
  }
  return nullptr;
}

std::string UnknownArrayType(std::string_view name) {
  return "unknown array type \"" + platform::Printable(name) + "\"";
}

}  // namespace qova::core

int ArrayTypeIndex(std::string_view name) {
  const core::ArrayTypeInfo* info = core::FindArrayType(name);
  return info ? info->type : 0;
}

int ArrayClassIndex(std::string_view name) {
  const core::ArrayTypeInfo* info = core::FindArrayType(name);
  return info ? info->family : 0;
}
