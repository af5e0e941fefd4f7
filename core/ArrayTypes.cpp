#include "core/ArrayTypes.h"

namespace qova {

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

}  // namespace

const ArrayTypeInfo* FindArrayType(std::string_view name) {
  for (const ArrayTypeInfo& info : kArrayTypes) {
    if (name == info.name) return &info;
  }
  return nullptr;
}

}  // namespace qova

int ArrayTypeIndex(std::string_view name) {
  const qova::ArrayTypeInfo* info = qova::FindArrayType(name);
  return info ? info->type : 0;
}

int ArrayClassIndex(std::string_view name) {
  const qova::ArrayTypeInfo* info = qova::FindArrayType(name);
  return info ? info->family : 0;
}
