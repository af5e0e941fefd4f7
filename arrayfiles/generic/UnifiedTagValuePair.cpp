#include "arrayfiles/generic/UnifiedTagValuePair.h"

#include "arrayfiles/common/StringUtils.h"

namespace unified_io {

void ToWideTagValueList(const TagValuePairList& legacyList, UnifiedTagValuePairList& out) {
  for (const TagValuePair& pair : legacyList) {
    out.push_back({StringUtils::NarrowToWide(pair.Tag), StringUtils::NarrowToWide(pair.Value), {}});
  }
}

}  // namespace unified_io
