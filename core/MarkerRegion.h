#pragma once
// A stretch of SNPs on one chromosome of a sample, marked either with an HMM
// state (which then overrides the displayed copy-number state of those SNPs)
// or as one of the user's markers. A sample keeps its regions as an ordered
// list: later regions win where they overlap.
#include <cstdint>
#include <optional>
#include <span>
#include <utility>
#include <vector>

class CArchive;

struct MarkerRegion {
  // Kinds from here on are user markers: kind = kUserMarkerBase + marker number.
  static constexpr std::int32_t kUserMarkerBase = 32;
  // Bytes of one region in a sample file: four int32.
  static constexpr int kRecordSize = 16;

  std::int32_t Chromosome = 0;  // 1..22, 23 = X
  std::int32_t FirstSnp = 0;    // first SNP index, inclusive
  std::int32_t LastSnp = 0;     // last SNP index, inclusive
  std::int32_t Kind = 0;        // 0..31 HMM state; 32 + n user marker n

  [[nodiscard]] bool IsStateMarker() const { return Kind >= 0 && Kind < kUserMarkerBase; }
  [[nodiscard]] bool IsUserMarker() const { return Kind >= kUserMarkerBase; }
  // The user marker number n of kind 32 + n; only meaningful for user markers.
  [[nodiscard]] std::int32_t UserMarkerNumber() const { return Kind - kUserMarkerBase; }

  // The region's SNP range cut to first..last, or nothing when the region is
  // reversed or lies wholly outside. Regions come from files and from editing,
  // so anyone who indexes an array with them goes through here.
  [[nodiscard]] std::optional<std::pair<std::int32_t, std::int32_t>> ClampedTo(std::int32_t first,
                                                                              std::int32_t last) const;

  friend bool operator==(const MarkerRegion&, const MarkerRegion&) = default;
};

using MarkerRegionList = std::vector<MarkerRegion>;

// Writes the kind of every HMM-state region into `states` over the region's
// slots, first to last inclusive, cut to first..last (and to the array);
// reversed regions and user markers are skipped, later regions win. The
// analysed sample's edited states and the views' displayed states both
// follow this rule.
void LayStateMarkersOver(const MarkerRegionList& regions, std::int32_t first, std::int32_t last,
                         std::span<std::int32_t> states);

// The marker block of a sample file: the count as int32, then each region.
void WriteMarkerRegions(CArchive& ar, const MarkerRegionList& regions);
// Reads a marker block. A negative count is a format error; a count the rest of
// the file cannot hold raises end-of-file before anything is allocated.
// Returns the count as the file gave it.
std::int32_t ReadMarkerRegions(CArchive& ar, MarkerRegionList& regions);
