#include "core/MarkerRegion.h"

#include <algorithm>

#include "core/ArchiveChecks.h"
#include "platform/Archive.h"

std::optional<std::pair<std::int32_t, std::int32_t>> MarkerRegion::ClampedTo(std::int32_t first,
                                                                            std::int32_t last) const {
  if (FirstSnp > LastSnp || LastSnp < first || FirstSnp > last || first > last) return std::nullopt;
  return std::pair{std::max(FirstSnp, first), std::min(LastSnp, last)};
}

void WriteMarkerRegions(CArchive& ar, const MarkerRegionList& regions) {
  ar << static_cast<std::int32_t>(regions.size());
  for (const MarkerRegion& region : regions) {
    ar << region.Chromosome << region.FirstSnp << region.LastSnp << region.Kind;
  }
}

std::int32_t ReadMarkerRegions(CArchive& ar, MarkerRegionList& regions) {
  std::int32_t count = 0;
  ar >> count;
  if (count < 0) qova::core::ThrowArchiveError(ar, CArchiveException::badFormat);
  qova::core::RequireBytesLeft(ar, static_cast<std::uint64_t>(count), MarkerRegion::kRecordSize);
  MarkerRegionList read;
  read.reserve(static_cast<std::size_t>(count));
  for (std::int32_t k = 0; k < count; ++k) {
    MarkerRegion region;
    ar >> region.Chromosome >> region.FirstSnp >> region.LastSnp >> region.Kind;
    read.push_back(region);
  }
  regions = std::move(read);
  return count;
}

void LayStateMarkersOver(const MarkerRegionList& regions, std::int32_t first, std::int32_t last,
                         std::span<std::int32_t> states) {
  first = std::max<std::int32_t>(first, 0);
  last = static_cast<std::int32_t>(std::min<std::int64_t>(last, static_cast<std::int64_t>(states.size()) - 1));
  for (const MarkerRegion& region : regions) {
    if (!region.IsStateMarker()) continue;
    if (const auto range = region.ClampedTo(first, last)) {
      std::fill(states.begin() + range->first, states.begin() + range->second + 1, region.Kind);
    }
  }
}
