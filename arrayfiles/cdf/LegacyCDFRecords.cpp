#include "arrayfiles/cdf/LegacyCDFRecords.h"

namespace {

// The element at `index` of a shared vector, or false when there is none.
template <typename T>
bool ElementAt(const std::shared_ptr<const std::vector<T>>& items, int index, T& out) {
  if (!items || index < 0 || static_cast<std::size_t>(index) >= items->size()) {
    out = T();
    return false;
  }
  out = (*items)[static_cast<std::size_t>(index)];
  return true;
}

}  // namespace

bool CLegacyCDFProbeGroupInformation::GetCell(int index, CLegacyCDFProbeInformation& cell) const {
  return ElementAt(cells_, index, cell);
}

bool CLegacyCDFProbeSetInformation::GetGroupInformation(int index, CLegacyCDFProbeGroupInformation& group) const {
  return ElementAt(groups_, index, group);
}

bool CLegacyCDFQCProbeSetInformation::GetProbeInformation(int index, CLegacyCDFQCProbeInformation& cell) const {
  return ElementAt(cells_, index, cell);
}
