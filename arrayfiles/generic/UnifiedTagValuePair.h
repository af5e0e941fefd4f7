#pragma once
// The tag/value form in which the Unified adapters hand out header settings,
// and the converter from the legacy readers' narrow tag/value lists.
#include <list>
#include <string>

#include "arrayfiles/generic/GenericParameter.h"

namespace unified_io {

struct UnifiedTagValuePair {
  std::u16string Tag;
  std::u16string Value;
  // The parameter the pair was made from; empty for pairs made from legacy lists.
  generic_io::GenericParameter DetailedType;
};
// The other name this pair goes by in the adapter interfaces.
using WideTagValuePair = UnifiedTagValuePair;
using UnifiedTagValuePairList = std::list<UnifiedTagValuePair>;

// A tag/value setting of a legacy file, as narrow texts.
struct TagValuePair {
  std::string Tag;
  std::string Value;
};
using TagValuePairList = std::list<TagValuePair>;

// Appends one pair per legacy pair, in order, with both texts widened.
void ToWideTagValueList(const TagValuePairList& legacyList, UnifiedTagValuePairList& out);

}  // namespace unified_io
